#include "data/served_data.h"

#include <cstdlib>
#include <filesystem>

#include "data/data_file.h"
#include "store/postgres/server_admin.h"
#include "store/store.h"

namespace plorix::data {

DatabaseChoice chosenDatabase(const std::string& option) {
    if (!option.empty()) return {option, "--database"};
    const char* variable = std::getenv(std::string(kDatabaseVariable).c_str());
    if (variable && *variable) return {variable, std::string(kDatabaseVariable)};
    return {};
}

namespace {

constexpr std::string_view kSchemaParameter = "schema=";

}  // namespace

store::ServerAddress serverAddressOf(const std::string& url) {
    store::ServerAddress address;
    const auto query = url.find('?');
    if (query == std::string::npos) {
        address.url = url;
        return address;
    }
    std::string kept;
    std::string_view parameters = std::string_view(url).substr(query + 1);
    while (!parameters.empty()) {
        const auto end = parameters.find('&');
        const std::string_view parameter = parameters.substr(0, end);
        if (!parameter.starts_with(kSchemaParameter)) {
            kept += (kept.empty() ? "" : "&") + std::string(parameter);
        } else if (parameter.size() > kSchemaParameter.size()) {
            address.schema = parameter.substr(kSchemaParameter.size());
        }
        parameters = end == std::string_view::npos ? std::string_view() : parameters.substr(end + 1);
    }
    address.url = url.substr(0, query) + (kept.empty() ? "" : "?" + kept);
    return address;
}

std::string serveDataFile(const DatabaseChoice& choice) {
    if (choice.url.empty()) return {};
    if (!store::isServerUrl(choice.url))
        return choice.source + " takes a PostgreSQL connection URI (postgresql://...)";
    const store::ServerAddress server = serverAddressOf(choice.url);
    if (std::string why = store::postgres::checkServer(server.url); !why.empty()) return why;
    store::serveFile(store::resolveFileName(kDataFileName), server);
    return {};
}

std::optional<store::ServerAddress> dataFileServer() {
    return store::servedFrom(store::resolveFileName(kDataFileName));
}

bool hasDataFile() {
    std::error_code error;
    return dataFileServer() || std::filesystem::exists(store::resolveFileName(kDataFileName), error);
}

}  // namespace plorix::data
