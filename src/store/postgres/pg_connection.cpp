// The tables of a served data file on a PostgreSQL server. The file's
// behaviour is the reference; how the server is made to keep it:
//
// - Order. Texts are `COLLATE "C"` (byte order, as the file compares). A
//   nocase key component is indexed and compared as translate(column,
//   'A..Z', 'a..z'): the file's NOCASE folds A-Z alone, so neither lower()
//   nor a locale collation would do ("_" sorts before "a", "ä" after "z").
// - Insertion order. "_pos" is an identity column; ties of a key are broken
//   by it as the file breaks them by rowid. A copy that keeps positions
//   (conversion) moves the identity past them.
// - Writers take turns. Every write transaction begins with
//   pg_advisory_xact_lock on the schema under `SET LOCAL lock_timeout` = the
//   busy timeout (2 s, shorter under LockWait): the file's BEGIN IMMEDIATE.
//   A lock not had in time is 32. A write outside a transaction gets one of
//   its own, so it queues the same way.
// - A failed statement ends a PostgreSQL transaction, where the file's
//   survives: so a duplicate never fails. Inserts skip it (ON CONFLICT DO
//   NOTHING RETURNING "_pos": no row back means a duplicate) and updates
//   skip a record whose new values another record's unique key holds (NOT
//   EXISTS, reliable because writers take turns); the table then tells the
//   duplicate (40) from a change by another station (89).
// - Any other failed statement leaves the server's transaction failed until
//   the level it happened in is undone: an inner level (a savepoint) is
//   rolled back to its savepoint as a whole, also when the caller commits
//   it, and the levels around it go on; a failure at the outermost level
//   ends the transaction. Either way nothing of a failed level is kept.
// - Texts must be UTF-8 on the server. A record holding other bytes is
//   refused (90, "text is not valid UTF-8") before anything is sent: the
//   transaction goes on and nothing of the record is written.
// - Keys. PostgreSQL rewrites index definitions, so the definition we wrote
//   is kept in plorix_keys beside each index, with the server's text of it
//   at the time. An index that no longer reads as it did shows the
//   server's text, never equal to ours: the key must be rebuilt (46).
// - Lost connections. A failure that leaves the connection bad answers 90,
//   "connection lost: ...". The next operation connects again (once, or
//   not at all while the server's back-off lasts: server_reach.h) and
//   prepares its statements again as they are used; a transaction that was
//   open fails at every level until its outermost one ends.
// - Unknown commits. Every commit that wrote also sets this connection's row
//   in plorix_commits (a random token and a count of commits), counts one
//   more in plorix_writes (whose total tells a watcher that someone wrote)
//   and sends NOTIFY plorix_changes_<schema> with our process id. When the
//   answer to COMMIT never comes, the row tells on a new connection, once
//   the old session has ended, whether it was committed, so the caller
//   never writes the same thing twice. A
//   commit whose writes changed no record (a skipped duplicate, an inner
//   level undone) is a plain COMMIT and tells no one.

#include "store/postgres/pg_connection.h"
#include "store/postgres/change_listener.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "store/postgres/server_reach.h"
#include "store/sql_error.h"
#include "store/table_sql.h"

namespace plorix::store {

namespace {

using postgres::firstLine;
using sql::quote;
using sql::quoteLiteral;

std::atomic<CommitLoss> commitLoss{CommitLoss::None};

// The advisory lock of the writers of one schema.
std::string writerLock(const std::string& schema) {
    return "pg_advisory_xact_lock(1349278808, hashtext(" + quoteLiteral(schema) + "))";
}

std::string lockTimeout(int milliseconds) {
    // 0 would wait for ever: the shortest wait is "do not wait".
    return "SET LOCAL lock_timeout = " + std::to_string(std::max(milliseconds, 1));
}

std::string randomToken() {
    std::random_device device;
    std::string token;
    for (int i = 0; i < 4; ++i) token += std::to_string(device());
    return token;
}

bool startsWith(std::string_view text, std::string_view word) {
    return text.size() >= word.size() &&
           std::equal(word.begin(), word.end(), text.begin(),
                      [](char a, char b) { return (a & ~0x20) == (b & ~0x20); });
}

// Whether a statement changes data or layout (savepoints and reads do not).
bool changesData(std::string_view sql) {
    for (std::string_view word : {"INSERT", "UPDATE", "DELETE", "CREATE", "DROP", "ALTER"})
        if (startsWith(sql, word)) return true;
    return false;
}

void quiet(void*, const char*) {}

int lost(const std::string& what, ErrorState& error) {
    error = storeError(kFileSystemError);
    error.driverText = std::string(kConnectionLost) + what;
    return error.code;
}

}  // namespace

void loseNextCommit(CommitLoss loss) { commitLoss.store(loss); }

std::unique_ptr<Connection> openServer(const ServerAddress& server, const ConnectionOptions& options,
                                       ErrorState& error) {
    auto connection = std::make_unique<PgConnection>(server, options);
    if (connection->connect(error) != kNoError) return nullptr;
    return connection;
}

PgConnection::PgConnection(ServerAddress server, const ConnectionOptions& options)
    : server_(std::move(server)), options_(options), token_(randomToken()) {}

PgConnection::~PgConnection() { release(); }

void PgConnection::release() {
    if (!conn_) return;
    // A child process must not end its parent's session: it only lets go
    // of its copy of the socket (the rest goes with the process).
    if (owner_ != getpid()) {
        close(PQsocket(conn_));
    } else {
        PQfinish(conn_);
    }
    conn_ = nullptr;
}

bool PgConnection::connected() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

int PgConnection::connect(ErrorState& error) {
    release();
    // A server gone from the network holds a window for one connect
    // time-out at most, and then not again until its back-off is over.
    std::string why;
    conn_ = postgres::connectServer(server_.url, "plorix", why);
    owner_ = getpid();
    ++session_;
    inTransaction_ = false;
    wrote_ = false;
    if (!conn_) return lost(hidePassword(why, server_.url), error);
    PQsetNoticeProcessor(conn_, quiet, nullptr);
    backend_ = PQbackendPID(conn_);
    // A session without its schema must not serve the next operation (it
    // would look for the tables elsewhere): that one connects anew.
    const auto setupFailed = [this, &error](PGresult* result) {
        fail(result, error);
        release();
        if (error.code == kFileSystemError && !connectionLost(error))
            error.driverText = std::string(kConnectionLost) + error.driverText;
        return error.code;
    };
    const std::string schema = quote(server_.schema);
    const std::string session =
        "SET client_encoding = 'UTF8'; SET client_min_messages = warning; SET application_name = " +
        quoteLiteral("plorix:" + server_.schema) + "; SET search_path = " + schema +
        "; SELECT to_regclass('plorix_catalogue') IS NOT NULL AND to_regclass('plorix_keys') IS NOT NULL"
        " AND to_regclass('plorix_commits') IS NOT NULL AND to_regclass('plorix_writes') IS NOT NULL";
    PGresult* result = PQexec(conn_, session.c_str());
    if (PQresultStatus(result) != PGRES_TUPLES_OK) return setupFailed(result);
    const bool ready = PQgetvalue(result, 0, 0)[0] == 't';
    PQclear(result);
    // A schema still to be made is made by one station at a time; one that
    // is ready does not wait for the station writing now.
    const std::string forgetOldCommits =
        "DELETE FROM plorix_commits WHERE \"at\" < now() - interval '7 days'";
    const std::string setup =
        ready
            ? forgetOldCommits
            : "BEGIN; " + lockTimeout(options_.busyTimeoutMs) + "; SELECT " + writerLock(server_.schema) +
                  "; CREATE SCHEMA IF NOT EXISTS " + schema + "; SET search_path = " + schema +
                  "; CREATE TABLE IF NOT EXISTS " + quote(sql::kCatalogue) + " (" +
                  std::string(dialect().catalogueColumns) +
                  "); CREATE TABLE IF NOT EXISTS plorix_keys (\"name\" TEXT PRIMARY KEY, \"definition\" TEXT"
                  " NOT NULL, \"server_definition\" TEXT)"
                  "; CREATE TABLE IF NOT EXISTS plorix_commits (\"token\" TEXT PRIMARY KEY, \"count\" BIGINT"
                  " NOT NULL, \"at\" TIMESTAMPTZ NOT NULL DEFAULT now())"
                  "; CREATE TABLE IF NOT EXISTS plorix_writes (\"total\" BIGINT NOT NULL)"
                  "; INSERT INTO plorix_writes SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM plorix_writes); " +
                  forgetOldCommits + "; COMMIT";
    result = PQexec(conn_, setup.c_str());
    if (PQresultStatus(result) != PGRES_COMMAND_OK) return setupFailed(result);
    PQclear(result);
    error = storeError(kNoError);
    return kNoError;
}

int PgConnection::ensureSession(ErrorState& error) {
    if (connected()) return kNoError;
    // The transaction went with the connection: its levels fail until the
    // outermost one ends, and only then is it safe to connect again.
    if (inTransaction_) return lost("the transaction was rolled back", error);
    return connect(error);
}

// libpq quotes the URL, or the part of it it could not read, in some of its
// messages: a password in it never reaches an error text.
std::string PgConnection::driverMessage(const PGresult* result) const {
    return hidePassword(firstLine(result ? PQresultErrorMessage(result) : PQerrorMessage(conn_)),
                        server_.url);
}

int PgConnection::fail(PGresult* result, ErrorState& error) {
    const std::string message = driverMessage(result);
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string code = state ? state : "";
    PQclear(result);
    if (!connected() || code.starts_with("08") || code == "57P01") {
        lost(message.empty() ? driverMessage(nullptr) : message, error);
        postgres::connectionBroke(server_.url, error.driverText.substr(kConnectionLost.size()));
        return error.code;
    }
    if (code == "23505") return (error = storeError(kDuplicateKey)).code;
    if (code == "55P03" || code == "40P01" || code == "40001") return (error = storeError(kFileLocked)).code;
    error = storeError(kFileSystemError);
    error.driverText = message + " (" + code + ")";
    return error.code;
}

std::unique_ptr<Statement> PgConnection::prepare(const std::string& sql, ErrorState& error) {
    auto statement = std::make_unique<PgStatement>(*this, sql, "s" + std::to_string(++statements_));
    if (ensureSession(error) != kNoError || ensurePrepared(*statement, error) != kNoError) return nullptr;
    return statement;
}

int PgConnection::ensurePrepared(PgStatement& statement, ErrorState& error) {
    if (statement.preparedIn_ == session_) return kNoError;
    PGresult* result = PQprepare(conn_, statement.name_.c_str(), statement.sql_.c_str(),
                                 static_cast<int>(statement.types_.size()), statement.types_.data());
    if (PQresultStatus(result) != PGRES_COMMAND_OK) return fail(result, error);
    PQclear(result);
    statement.preparedIn_ = session_;
    return kNoError;
}

int PgConnection::exec(const std::string& sql, ErrorState& error) {
    if (ensureSession(error) != kNoError) return error.code;
    PGresult* result = PQexec(conn_, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) return fail(result, error);
    PQclear(result);
    if (inTransaction_ && changesData(sql)) wrote_ = true;
    error = storeError(kNoError);
    return kNoError;
}

int PgConnection::run(PgStatement& statement) {
    ErrorState& error = lastError_;
    if (statement.invalidText_) {
        error = storeError(kFileSystemError);
        error.driverText = "text is not valid UTF-8";
        return error.code;
    }
    if (ensureSession(error) != kNoError) return error.code;
    if (!statement.writes_ || inTransaction_) return execute(statement, error);
    if (beginWrite(error) != kNoError) return error.code;
    if (execute(statement, error) != kNoError) {
        ErrorState ignored;
        rollbackWrite(ignored);
        return error.code;
    }
    return commitWrite(error);
}

int PgConnection::execute(PgStatement& statement, ErrorState& error) {
    if (ensurePrepared(statement, error) != kNoError) return error.code;
    std::vector<const char*> values(statement.values_.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = statement.bound_[i] ? statement.values_[i].c_str() : nullptr;
    PGresult* result = PQexecPrepared(conn_, statement.name_.c_str(), static_cast<int>(values.size()),
                                      values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_COMMAND_OK) {
        changes_ = std::atoll(PQcmdTuples(result));
        PQclear(result);
    } else if (status == PGRES_TUPLES_OK && statement.returnsPosition_) {
        changes_ = PQntuples(result);
        lastInsertId_ = changes_ > 0 ? std::atoll(PQgetvalue(result, 0, 0)) : 0;
        PQclear(result);
    } else if (status == PGRES_TUPLES_OK) {
        statement.result_ = result;
        statement.rows_ = PQntuples(result);
    } else {
        return fail(result, error);
    }
    if (statement.writes_ && changes_ > 0) wrote_ = true;
    error = storeError(kNoError);
    return kNoError;
}

int PgConnection::beginWrite(ErrorState& error) {
    if (ensureSession(error) != kNoError) return error.code;
    const std::string begin =
        "BEGIN; " + lockTimeout(busyTimeoutMs_) + "; SELECT " + writerLock(server_.schema);
    PGresult* result = PQexec(conn_, begin.c_str());
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        fail(result, error);
        if (connected()) PQclear(PQexec(conn_, "ROLLBACK"));
        return error.code;
    }
    PQclear(result);
    inTransaction_ = true;
    wrote_ = false;
    wroteBefore_.clear();
    error = storeError(kNoError);
    return kNoError;
}

bool PgConnection::transactionOpen() const {
    return inTransaction_ && connected() && PQtransactionStatus(conn_) == PQTRANS_INTRANS;
}

bool PgConnection::levelFailed() const {
    return inTransaction_ && connected() && PQtransactionStatus(conn_) == PQTRANS_INERROR;
}

// Whether the transaction wrote is kept per level: a commit after an inner
// level that wrote was undone writes nothing, and tells no one.
int PgConnection::beginLevel(int level, ErrorState& error) {
    if (Connection::beginLevel(level, error) != kNoError) return error.code;
    wroteBefore_.resize(static_cast<std::size_t>(level));
    wroteBefore_.back() = wrote_;
    return kNoError;
}

int PgConnection::releaseLevel(int level, ErrorState& error) {
    if (Connection::releaseLevel(level, error) != kNoError) return error.code;
    wroteBefore_.resize(std::min(wroteBefore_.size(), static_cast<std::size_t>(level - 1)));
    return kNoError;
}

int PgConnection::undoLevel(int level, ErrorState& error) {
    if (Connection::undoLevel(level, error) != kNoError) return error.code;
    const auto index = static_cast<std::size_t>(level - 1);
    if (index < wroteBefore_.size()) {
        wrote_ = wroteBefore_[index];
        wroteBefore_.resize(index);
    }
    return kNoError;
}

ErrorState PgConnection::transactionEnded() const {
    ErrorState error;
    if (!connected()) {
        lost("the transaction was rolled back", error);
        return error;
    }
    error = storeError(kFileSystemError);
    error.driverText = "the transaction was rolled back";
    return error;
}

int PgConnection::commitWrite(ErrorState& error) {
    error = storeError(kNoError);
    if (!inTransaction_) return kNoError;
    if (!connected()) {
        inTransaction_ = false;
        return lost("the transaction was rolled back", error);
    }
    if (!wrote_) {
        inTransaction_ = false;
        PGresult* result = PQexec(conn_, "COMMIT");
        if (PQresultStatus(result) != PGRES_COMMAND_OK) return fail(result, error);
        PQclear(result);
        return kNoError;
    }
    return sendCommit(error);
}

int PgConnection::sendCommit(ErrorState& error) {
    ++commits_;
    const std::string commit =
        "INSERT INTO plorix_commits VALUES (" + quoteLiteral(token_) + ", " + std::to_string(commits_) +
        ") ON CONFLICT (\"token\") DO UPDATE SET \"count\" = EXCLUDED.\"count\", \"at\" = now()"
        "; UPDATE plorix_writes SET \"total\" = \"total\" + 1; NOTIFY " +
        quote(postgres::changeChannel(server_.schema)) + ", " + quoteLiteral(std::to_string(getpid())) +
        "; COMMIT";
    const CommitLoss loss = commitLoss.exchange(CommitLoss::None);
    if (loss != CommitLoss::None) {
        // The connection breaks before the server has the commit, or after
        // it committed and before its answer arrived.
        if (loss == CommitLoss::Unanswered) PQclear(PQexec(conn_, commit.c_str()));
        shutdown(PQsocket(conn_), SHUT_RDWR);
        PQclear(PQexec(conn_, "SELECT 1"));
        return lookUpCommit(error);
    }
    PGresult* result = PQexec(conn_, commit.c_str());
    if (PQresultStatus(result) == PGRES_COMMAND_OK) {
        PQclear(result);
        inTransaction_ = false;
        ++committed_;
        return kNoError;
    }
    if (!connected()) {
        PQclear(result);
        return lookUpCommit(error);
    }
    inTransaction_ = false;
    fail(result, error);
    PQclear(PQexec(conn_, "ROLLBACK"));
    return error.code;
}

// The answer to COMMIT never came: whether it was committed is read from
// this connection's row of plorix_commits on a new connection, once the old
// session's transaction has ended either way (its backend gone or idle).
// Waiting for the writers' lock instead would also wait for the station
// that was queued for it and took it the moment the old session let go.
int PgConnection::lookUpCommit(ErrorState& error) {
    inTransaction_ = false;
    const int oldBackend = backend_;
    const auto unknown = [&error](const std::string& why) {
        return lost("the outcome of the commit is unknown (" + why + ")", error);
    };
    ErrorState reconnect;
    if (connect(reconnect) != kNoError) return unknown(reconnect.driverText);
    const std::string ended =
        "SELECT NOT EXISTS (SELECT 1 FROM pg_stat_activity WHERE pid = " + std::to_string(oldBackend) +
        " AND state IS DISTINCT FROM 'idle')";
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(busyTimeoutMs_, 100));
    for (;;) {
        PGresult* result = PQexec(conn_, ended.c_str());
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            fail(result, error);
            return unknown(error.describe());
        }
        const bool over = PQgetvalue(result, 0, 0)[0] == 't';
        PQclear(result);
        if (over) break;
        if (std::chrono::steady_clock::now() >= deadline) return unknown("the old session is still at work");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Read after the old session was seen to end: a commit it made shows.
    const std::string query =
        "SELECT \"count\" FROM plorix_commits WHERE \"token\" = " + quoteLiteral(token_);
    PGresult* result = PQexec(conn_, query.c_str());
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        fail(result, error);
        return unknown(error.describe());
    }
    const bool committed = PQntuples(result) == 1 && std::atoll(PQgetvalue(result, 0, 0)) == commits_;
    PQclear(result);
    if (committed) {
        ++committed_;
        return (error = storeError(kNoError)).code;
    }
    return lost("the transaction was rolled back", error);
}

int PgConnection::rollbackWrite(ErrorState& error) {
    error = storeError(kNoError);
    const bool wasOpen = inTransaction_;
    inTransaction_ = false;
    wrote_ = false;
    if (!connected() || (!wasOpen && PQtransactionStatus(conn_) == PQTRANS_IDLE)) return kNoError;
    PGresult* result = PQexec(conn_, "ROLLBACK");
    if (PQresultStatus(result) != PGRES_COMMAND_OK) return fail(result, error);
    PQclear(result);
    return kNoError;
}

}  // namespace plorix::store
