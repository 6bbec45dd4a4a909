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

std::string serveDataFile(const DatabaseChoice& choice) {
    if (choice.url.empty()) return {};
    if (!store::isServerUrl(choice.url))
        return choice.source + " takes a PostgreSQL connection URI (postgresql://...)";
    if (std::string why = store::postgres::checkServer(choice.url); !why.empty()) return why;
    store::serveFile(store::resolveFileName(kDataFileName), {choice.url});
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
