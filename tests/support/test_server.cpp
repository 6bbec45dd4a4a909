#include "support/test_server.h"

#include <libpq-fe.h>

#include <cctype>
#include <functional>
#include <stdexcept>

namespace plorix::test {

namespace {

// Lower-case letters, digits and underscores, at most 63 bytes: a name
// PostgreSQL keeps as written.
std::string schemaName(const std::string& testName) {
    std::string name = "t_";
    for (const char c : testName) {
        const auto u = static_cast<unsigned char>(c);
        name += std::isalnum(u) ? static_cast<char>(std::tolower(u)) : '_';
    }
    if (name.size() > 63) {
        const std::string hash = std::to_string(std::hash<std::string>{}(testName) % 100000000);
        name = name.substr(0, 62 - hash.size()) + "_" + hash;
    }
    return name;
}

}  // namespace

std::string testServerUrl() { return std::string("postgresql:///plorix?host=") + PLORIX_TEST_SERVER_DIR; }

store::ServerAddress freshSchema(const std::string& testName) {
    store::ServerAddress address{testServerUrl(), schemaName(testName)};
    PGconn* conn = PQconnectdb(address.url.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("no test server (the CTest fixture postgres starts it): " + message);
    }
    PGresult* result = PQexec(
        conn, ("SET client_min_messages = warning; DROP SCHEMA IF EXISTS \"" + address.schema + "\" CASCADE")
                  .c_str());
    const bool dropped = PQresultStatus(result) == PGRES_COMMAND_OK;
    const std::string message = PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    if (!dropped) throw std::runtime_error("cannot drop schema " + address.schema + ": " + message);
    return address;
}

}  // namespace plorix::test
