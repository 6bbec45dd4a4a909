#pragma once
// Work on a PostgreSQL server beside the store's own: whether a server
// answers, copying and dropping schemas, whether a schema holds records, and
// the scratch schemas a simulation works in.

#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

struct pg_conn;

namespace plorix::store::postgres {

// The server a URL names, for messages: user, host (or socket folder), port
// and database as given; never the password.
std::string describeServer(const std::string& url);

// One connection for administration, closed with the object. Every failure
// leaves its one-line reason in error().
class AdminConnection {
public:
    explicit AdminConnection(const std::string& url);
    ~AdminConnection();
    AdminConnection(const AdminConnection&) = delete;
    AdminConnection& operator=(const AdminConnection&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // Runs a statement without parameters; the first column of every row.
    std::optional<std::vector<std::string>> query(const std::string& sql,
                                                  const std::vector<std::string>& parameters = {});
    bool exec(const std::string& sql) { return query(sql).has_value(); }
    std::string quote(const std::string& identifier);
    // Hands the open connection over to the caller, who closes it (PQfinish).
    pg_conn* release();

private:
    pg_conn* connection_ = nullptr;
    std::string server_;
    std::string error_;
};

// Empty when `url` is a connection URI and the server answers; otherwise why
// not, in one line naming the server.
std::string checkServer(const std::string& url);

// Copies every table of schema `from` (layout, keys, records, identity
// counters) into a new schema `to`, in one transaction on a snapshot of
// `from`. Empty on success, otherwise why not.
std::string copySchema(const std::string& url, const std::string& from, const std::string& to);
std::string dropSchema(const std::string& url, const std::string& schema);

// Whether any of `tables` (names in any letter case) in `schema` holds a
// record (false when the schema or the tables do not exist); nullopt with
// `error` set when that cannot be told.
std::optional<bool> schemaHoldsData(const std::string& url, const std::string& schema,
                                    const std::vector<std::string>& tables, std::string& error);

// A copy of a schema for one process's scratch work, named after the process
// and held by a session-level advisory lock for as long as it lives. The
// copy is dropped with the object; a copy whose process died (the lock free)
// is dropped by the next ScratchSchema made on the same server.
class ScratchSchema {
public:
    ScratchSchema(const std::string& url, const std::string& from);
    ~ScratchSchema();
    ScratchSchema(const ScratchSchema&) = delete;
    ScratchSchema& operator=(const ScratchSchema&) = delete;

    // Empty once the copy is made; otherwise why it could not be.
    const std::string& error() const { return error_; }
    const std::string& name() const { return name_; }
    // Drops the copy now (the destructor's work, for callers that report it).
    void drop();

private:
    std::string url_;
    std::string name_;
    std::string error_;
    std::unique_ptr<AdminConnection> holder_;  // holds the lock
};

// The prefix of every scratch schema's name.
inline constexpr std::string_view kScratchPrefix = "plorix_sim_";

// Drops the scratch schemas whose process no longer holds their lock; how
// many it dropped.
int sweepScratchSchemas(AdminConnection& connection);

}  // namespace plorix::store::postgres
