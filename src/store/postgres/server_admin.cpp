#include "store/postgres/server_admin.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <strings.h>

#include <cstdio>
#include <random>

#include "store/postgres/server_reach.h"

namespace plorix::store::postgres {
namespace {

// The advisory-lock class of scratch schemas (its own key space, apart from
// the single 64-bit keys the store's writers take).
constexpr std::string_view kScratchLockClass = "1347179352";

}  // namespace

std::string describeServer(const std::string& url) {
    char* failure = nullptr;
    PQconninfoOption* options = PQconninfoParse(url.c_str(), &failure);
    if (!options) {
        PQfreemem(failure);
        return "(not a connection URI)";
    }
    std::string user, host, port, database;
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        if (!o->val) continue;
        const std::string_view keyword = o->keyword;
        if (keyword == "user") user = o->val;
        if (keyword == "host") host = o->val;
        if (keyword == "port") port = o->val;
        if (keyword == "dbname") database = o->val;
    }
    PQconninfoFree(options);
    std::string text = user.empty() ? std::string() : user + "@";
    text += host.empty() ? "localhost" : host.front() == '/' ? "socket " + host : host;
    if (!port.empty()) text += ":" + port;
    return text + "/" + (database.empty() ? "(default database)" : database);
}

AdminConnection::AdminConnection(const std::string& url) : server_(describeServer(url)) {
    char* failure = nullptr;
    PQconninfoOption* options = PQconninfoParse(url.c_str(), &failure);
    if (!options) {
        error_ = "not a PostgreSQL connection URI: " + firstLine(failure);
        PQfreemem(failure);
        return;
    }
    PQconninfoFree(options);
    std::string why;
    connection_ = connectServer(url, "plorix", why);
    if (!connection_) {
        error_ = "cannot reach the database server " + server_ + ": " + why;
        return;
    }
    // The server's notices ("drop cascades to ...") are not ours to print.
    PQsetNoticeProcessor(
        connection_, [](void*, const char*) {}, nullptr);
}

AdminConnection::~AdminConnection() { PQfinish(connection_); }

pg_conn* AdminConnection::release() {
    pg_conn* connection = connection_;
    connection_ = nullptr;
    return connection;
}

std::optional<std::vector<std::string>> AdminConnection::query(const std::string& sql,
                                                               const std::vector<std::string>& parameters) {
    if (!connection_ || PQstatus(connection_) != CONNECTION_OK) {
        if (error_.empty()) error_ = "the connection to " + server_ + " is lost";
        return std::nullopt;
    }
    std::vector<const char*> values;
    for (const auto& p : parameters) values.push_back(p.c_str());
    PGresult* result = PQexecParams(connection_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                    values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        error_ = server_ + ": " + firstLine(PQerrorMessage(connection_));
        PQclear(result);
        return std::nullopt;
    }
    std::vector<std::string> rows;
    for (int row = 0; row < PQntuples(result); ++row)
        rows.emplace_back(PQnfields(result) > 0 ? PQgetvalue(result, row, 0) : "");
    PQclear(result);
    return rows;
}

std::string AdminConnection::quote(const std::string& identifier) {
    std::string quoted = "\"";
    for (char c : identifier) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string checkServer(const std::string& url) { return AdminConnection(url).error(); }

namespace {

// The statements that give `table` of `to` the keys and constraints the
// table of `from` has, under their own names (the store finds its keys by
// name), naming the table without its schema: they are run with `to` on the
// search path.
std::optional<std::vector<std::string>> keysOf(AdminConnection& c, const std::string& from,
                                               const std::string& table) {
    const std::string relation = c.quote(from) + "." + c.quote(table);
    auto keys = c.query(
        "SELECT pg_get_indexdef(i.indexrelid) FROM pg_index i WHERE i.indrelid = $1::regclass"
        " AND NOT EXISTS (SELECT 1 FROM pg_constraint k WHERE k.conindid = i.indexrelid)",
        {relation});
    const auto constraints = c.query(
        "SELECT format('ALTER TABLE %I ADD CONSTRAINT %I %s', $2::text, conname, pg_get_constraintdef(oid))"
        " FROM pg_constraint WHERE conrelid = $1::regclass AND contype IN ('p', 'u', 'x')",
        {relation, table});
    // The index definitions name the table with its schema, whatever the path.
    const auto printed = c.query("SELECT quote_ident($1)", {from});
    if (!keys || !constraints || !printed || printed->empty()) return std::nullopt;
    const std::string on = " ON " + printed->front() + ".";
    for (std::string& key : *keys)
        if (const auto at = key.find(on); at != std::string::npos) key.replace(at, on.size(), " ON ");
    keys->insert(keys->begin(), constraints->begin(), constraints->end());
    return keys;
}

// The store keeps beside each key the server's own text of its index,
// which names the schema: a key that was as recorded in `from` is as
// recorded in `to` too.
std::string rehomeKeys(AdminConnection& c, const std::string& from, const std::string& to) {
    const std::string keys = c.quote(to) + ".plorix_keys";
    const auto present = c.query("SELECT to_regclass($1) IS NOT NULL", {keys});
    if (!present) return c.error();
    if (present->empty() || present->front() != "t") return {};
    const bool ok =
        c.query("UPDATE " + keys +
                    " k SET server_definition = pg_get_indexdef(ci.oid) FROM pg_class ci, pg_class fi"
                    " WHERE ci.relkind = 'i' AND ci.relname = k.name AND ci.relnamespace = $2::regnamespace"
                    " AND fi.relkind = 'i' AND fi.relname = k.name AND fi.relnamespace = $1::regnamespace"
                    " AND k.server_definition = pg_get_indexdef(fi.oid)",
                {c.quote(from), c.quote(to)})
            .has_value();
    return ok ? std::string() : c.error();
}

std::string copyOn(AdminConnection& c, const std::string& from, const std::string& to) {
    const auto tables = c.query("SELECT tablename FROM pg_tables WHERE schemaname = $1 ORDER BY 1", {from});
    if (!tables) return c.error();
    for (const std::string& table : *tables) {
        const std::string source = c.quote(from) + "." + c.quote(table);
        const std::string target = c.quote(to) + "." + c.quote(table);
        const auto keys = keysOf(c, from, table);
        if (!keys || !c.exec("SET LOCAL search_path = " + c.quote(to)) ||
            !c.exec("CREATE TABLE " + target + " (LIKE " + source + " INCLUDING ALL EXCLUDING INDEXES)") ||
            !c.exec("INSERT INTO " + target + " OVERRIDING SYSTEM VALUE SELECT * FROM " + source))
            return c.error();
        for (const std::string& key : *keys)
            if (!c.exec(key)) return c.error();
        // The copy's identity counters go on from where the original's stand.
        const auto identities = c.query(
            "SELECT attname FROM pg_attribute WHERE attrelid = $1::regclass AND attidentity <> ''", {target});
        if (!identities) return c.error();
        for (const std::string& column : *identities) {
            if (!c.query("SELECT setval(pg_get_serial_sequence($1, $2), coalesce((SELECT max(" +
                             c.quote(column) + ") FROM " + target + "), 0) + 1, false)",
                         {target, column}))
                return c.error();
        }
    }
    return rehomeKeys(c, from, to);
}

}  // namespace

std::string copySchema(const std::string& url, const std::string& from, const std::string& to) {
    AdminConnection c(url);
    if (!c.ok()) return c.error();
    // A snapshot of the original: stations writing meanwhile change nothing
    // of the copy.
    if (!c.exec("BEGIN ISOLATION LEVEL REPEATABLE READ") || !c.exec("CREATE SCHEMA " + c.quote(to)))
        return c.error();
    if (std::string why = copyOn(c, from, to); !why.empty()) return why;
    return c.exec("COMMIT") ? std::string() : c.error();
}

std::string dropSchema(const std::string& url, const std::string& schema) {
    AdminConnection c(url);
    if (c.ok()) c.exec("DROP SCHEMA IF EXISTS " + c.quote(schema) + " CASCADE");
    return c.error();
}

std::optional<bool> schemaHoldsData(const std::string& url, const std::string& schema,
                                    const std::vector<std::string>& tables, std::string& error) {
    AdminConnection c(url);
    const auto present = c.query("SELECT tablename FROM pg_tables WHERE schemaname = $1", {schema});
    if (!present) {
        error = c.error();
        return std::nullopt;
    }
    for (const std::string& table : *present) {
        bool ours = false;
        for (const std::string& wanted : tables)
            ours = ours || strcasecmp(wanted.c_str(), table.c_str()) == 0;
        if (!ours) continue;
        const auto any = c.query("SELECT 1 FROM " + c.quote(schema) + "." + c.quote(table) + " LIMIT 1");
        if (!any) {
            error = c.error();
            return std::nullopt;
        }
        if (!any->empty()) return true;
    }
    return false;
}

int sweepScratchSchemas(AdminConnection& c) {
    const auto schemas = c.query("SELECT nspname FROM pg_namespace WHERE starts_with(nspname, $1)",
                                 {std::string(kScratchPrefix)});
    if (!schemas) return 0;
    int dropped = 0;
    const std::string lockKey = std::string(kScratchLockClass) + ", hashtext($1)";
    for (const std::string& schema : *schemas) {
        const auto free = c.query("SELECT pg_try_advisory_lock(" + lockKey + ")", {schema});
        if (!free || free->empty() || free->front() != "t") continue;
        if (c.exec("DROP SCHEMA IF EXISTS " + c.quote(schema) + " CASCADE")) ++dropped;
        c.query("SELECT pg_advisory_unlock(" + lockKey + ")", {schema});
    }
    return dropped;
}

ScratchSchema::ScratchSchema(const std::string& url, const std::string& from)
    : url_(url), holder_(std::make_unique<AdminConnection>(url)) {
    if (!holder_->ok()) {
        error_ = holder_->error();
        return;
    }
    sweepScratchSchemas(*holder_);
    std::random_device random;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%08x", static_cast<unsigned>(random()));
    const std::string name = std::string(kScratchPrefix) + std::to_string(getpid()) + suffix;
    // The lock comes before the schema, so a sweep never sees it unheld.
    const auto locked = holder_->query(
        "SELECT pg_try_advisory_lock(" + std::string(kScratchLockClass) + ", hashtext($1))", {name});
    if (!locked || locked->empty() || locked->front() != "t") {
        error_ = locked ? "the scratch schema " + name + " is in use" : holder_->error();
        return;
    }
    name_ = name;
    error_ = copySchema(url_, from, name_);
}

ScratchSchema::~ScratchSchema() { drop(); }

void ScratchSchema::drop() {
    if (name_.empty()) return;
    // Over the holder when it still stands (a server restarted meanwhile
    // ended it, and with it the lock).
    if (!holder_->exec("DROP SCHEMA IF EXISTS " + holder_->quote(name_) + " CASCADE"))
        dropSchema(url_, name_);
    name_.clear();
    holder_.reset();
}

}  // namespace plorix::store::postgres
