#pragma once
// A raw libpq connection working in one schema, for the PostgreSQL
// baselines the benchmarks measure beside the store.

#include <libpq-fe.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "store/table_sql.h"

namespace plorix::bench {

class RawPg {
public:
    RawPg(const std::string& url, const std::string& schema) : connection_(PQconnectdb(url.c_str())) {
        if (PQstatus(connection_) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(connection_));
        exec("SET search_path = " + store::sql::quote(schema));
    }
    ~RawPg() { PQfinish(connection_); }
    RawPg(const RawPg&) = delete;
    RawPg& operator=(const RawPg&) = delete;

    void exec(const std::string& text) { PQclear(check(PQexec(connection_, text.c_str()), text)); }
    // Prepared once on the server; the name to run it by.
    std::string prepare(const std::string& text) {
        const std::string name = "s" + std::to_string(prepared_++);
        PQclear(check(PQprepare(connection_, name.c_str(), text.c_str(), 0, nullptr), text));
        return name;
    }
    // Runs a prepared statement with text parameters (nullptr: NULL); the
    // caller clears the result.
    PGresult* run(const std::string& name, const std::vector<const char*>& parameters) {
        return check(PQexecPrepared(connection_, name.c_str(), static_cast<int>(parameters.size()),
                                    parameters.data(), nullptr, nullptr, 0),
                     name);
    }

private:
    PGresult* check(PGresult* result, const std::string& what) {
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
        const std::string message = PQerrorMessage(connection_);
        PQclear(result);
        throw std::runtime_error(what + ": " + message);
    }
    PGconn* connection_;
    int prepared_ = 0;
};

}  // namespace plorix::bench
