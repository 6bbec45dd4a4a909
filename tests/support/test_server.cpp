#include "support/test_server.h"

#include <libpq-fe.h>
#include <poll.h>

#include <cctype>
#include <chrono>
#include <fstream>
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

PGconn* connectTo(const std::string& url) {
    PGconn* conn = PQconnectdb(url.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("no test server (the CTest fixture postgres starts it): " + message);
    }
    return conn;
}

}  // namespace

std::string testServerUrl() {
    // scripts/pg-cluster keeps the cluster elsewhere when the build folder
    // will not do (see "elsewhere" there).
    std::string host = PLORIX_TEST_SERVER_DIR;
    std::ifstream elsewhere(host + "/elsewhere");
    std::string moved;
    if (elsewhere && std::getline(elsewhere, moved) && !moved.empty()) host = moved;
    return "postgresql:///plorix?host=" + host;
}

namespace {

// Empty when `schema` is gone, else why not.
std::string dropSchemaFrom(const std::string& url, const std::string& schema, const std::string& settings) {
    PGconn* conn = connectTo(url);
    PGresult* result = PQexec(conn, ("SET client_min_messages = warning; " + settings +
                                     "DROP SCHEMA IF EXISTS \"" + schema + "\" CASCADE")
                                        .c_str());
    const bool dropped = PQresultStatus(result) == PGRES_COMMAND_OK;
    const std::string message = dropped ? std::string() : PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    return message;
}

}  // namespace

store::ServerAddress freshSchema(const std::string& testName) {
    store::ServerAddress address{testServerUrl(), schemaName(testName)};
    if (const std::string why = dropSchemaFrom(address.url, address.schema, ""); !why.empty())
        throw std::runtime_error("cannot drop schema " + address.schema + ": " + why);
    return address;
}

void dropSchema(const std::string& schema) {
    dropSchemaFrom(testServerUrl(), schema, "SET lock_timeout = '2s'; ");
}

std::vector<std::string> queryServerColumn(const store::ServerAddress& server, const std::string& sql) {
    PGconn* conn = connectTo(server.url);
    PQclear(PQexec(conn, ("SET search_path = \"" + server.schema + "\"").c_str()));
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    std::vector<std::string> values;
    for (int row = 0; status == PGRES_TUPLES_OK && row < PQntuples(result); ++row)
        values.emplace_back(PQgetvalue(result, row, 0));
    const std::string message = PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw std::runtime_error(sql + ": " + message);
    return values;
}

std::string queryServer(const store::ServerAddress& server, const std::string& sql) {
    const std::vector<std::string> values = queryServerColumn(server, sql);
    return values.empty() ? std::string() : values.front();
}

ServerListener::ServerListener(const store::ServerAddress& server, const std::string& channel)
    : conn_(connectTo(server.url)) {
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    PQclear(PQexec(conn_, ("LISTEN \"" + channel + "\"").c_str()));
}

ServerListener::~ServerListener() { PQfinish(conn_); }

std::vector<std::string> ServerListener::payloads(int waitMs) {
    std::vector<std::string> out;
    pollfd socket{PQsocket(conn_), POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < end) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        poll(&socket, 1, static_cast<int>(left.count()));
        PQconsumeInput(conn_);
        while (PGnotify* note = PQnotifies(conn_)) {
            out.emplace_back(note->extra);
            PQfreemem(note);
        }
    }
    return out;
}

}  // namespace plorix::test
