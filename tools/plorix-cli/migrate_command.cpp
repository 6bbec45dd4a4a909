// migrate: the data file's twelve tables from the data folder to a
// PostgreSQL server (--to URL) or from the server into a new data file
// (--from URL). The target is written in one transaction, read back and
// checked against the source (records and checksum per table) before it is
// committed; a target that holds records already is refused untouched.

#include <filesystem>
#include <iostream>

#include "cli.h"
#include "data/data_file.h"
#include "data/open_routine.h"
#include "data/served_data.h"
#include "runtime/fixed_text.h"
#include "store/postgres/server_admin.h"
#include "store/transaction.h"
#include "table_checksum.h"

namespace plorix::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsage = "usage: migrate --to URL | --from URL";

// The server's side of the copy is the data file of a folder that does not
// exist, served from the URL, so that both sides can be open at once.
constexpr std::string_view kServerSide = ".server";

struct Side {
    std::string file;
    std::vector<std::unique_ptr<store::Table>> tables;  // in dataFileSchemas() order
};

void openSide(Side& side, Prompter& prompter) {
    for (const auto* schema : dataFileSchemas()) {
        auto table = std::make_unique<store::Table>(*schema);
        table->setName(side.file + "\\!" + store::splitStoredName(schema->storedName, *schema).table);
        data::openTable(*table, prompter);
        side.tables.push_back(std::move(table));
    }
}

std::int64_t recordsIn(Side& side) {
    std::int64_t total = 0;
    for (auto& table : side.tables) {
        const std::int64_t count = table->records();
        if (count < 0)
            throw WorkFailure("counting " + table->schema().label + ": " + table->error().describe());
        total += count;
    }
    return total;
}

std::vector<std::string> storedTableNames() {
    std::vector<std::string> names;
    for (const auto* schema : dataFileSchemas())
        names.push_back(store::splitStoredName(schema->storedName, *schema).table);
    return names;
}

// Copies one table in record order and checks the copy; the line it prints.
std::string copyTable(store::Table& from, store::Table& to) {
    const std::string& label = from.schema().label;
    TableChecksum source;
    if (to.stream() != store::kNoError) throw WorkFailure("writing " + label + ": " + to.error().describe());
    from.setStart(-1);
    while (from.next() == store::kNoError) {
        source.add(from);
        store::copyRecord(from.schema(), from.buffer(), to.buffer());
        if (to.add() != store::kNoError) throw WorkFailure("writing " + label + ": " + to.error().describe());
    }
    if (from.errorCode() != store::kRecordNotAvailable)
        throw WorkFailure("reading " + label + ": " + from.error().describe());
    if (to.flush() != store::kNoError) throw WorkFailure("writing " + label + ": " + to.error().describe());
    const TableChecksum copy = checksumOf(to);
    if (copy.records() != source.records() || copy.value() != source.value()) {
        throw WorkFailure(label + ": the copy does not match (" + std::to_string(copy.records()) +
                          " records, checksum " + copy.hex() + "; expected " +
                          std::to_string(source.records()) + ", " + source.hex() + "); nothing was written");
    }
    return label + ": " + std::to_string(copy.records()) + " records, checksum " + copy.hex() + " verified";
}

void copyAll(Side& from, Side& to) {
    // The source is held still for the copy; the target is all or nothing.
    store::Transaction reading(*from.tables.front());
    if (!reading.ok()) throw WorkFailure("reading the source: " + reading.error().describe());
    store::Transaction writing(*to.tables.front());
    if (!writing.ok()) throw WorkFailure("writing the target: " + writing.error().describe());
    for (std::size_t i = 0; i < from.tables.size(); ++i)
        std::cerr << copyTable(*from.tables[i], *to.tables[i]) << '\n';
    if (writing.commit() != store::kNoError)
        throw WorkFailure("committing the copy: " + writing.error().describe() + "; nothing was written");
}

}  // namespace

int cmdMigrate(const Args& args, Prompter& prompter) {
    if (args.size() != 2 || (args[0] != "--to" && args[0] != "--from")) throw UsageError(std::string(kUsage));
    const bool toServer = args[0] == "--to";
    if (!store::isServerUrl(args[1]))
        throw UsageError(args[0] + " takes a PostgreSQL connection URI (postgresql://...)");
    const store::ServerAddress server = data::serverAddressOf(args[1]);
    const std::string& url = server.url;
    if (const std::string why = store::postgres::checkServer(url); !why.empty()) throw UsageError(why);
    const std::string where = "schema " + server.schema + " on " + store::postgres::describeServer(url);

    const std::string local = store::absoluteFileName(store::resolveFileName(data::kDataFileName));
    const std::string remote = (fs::path(local).parent_path() / kServerSide / data::kDataFileName).string();
    std::error_code error;
    const bool localExisted = fs::exists(local, error);
    if (toServer) {
        if (!localExisted) throw UsageError("no data file in this folder");
        std::string why;
        const std::optional<bool> full =
            store::postgres::schemaHoldsData(url, server.schema, storedTableNames(), why);
        if (!full) throw WorkFailure(why);
        if (*full) throw UsageError("the " + where + " already holds records; nothing was written");
    }
    store::serveFile(remote, server);
    Side fileSide{local, {}};
    Side serverSide{remote, {}};
    Side& source = toServer ? fileSide : serverSide;
    Side& target = toServer ? serverSide : fileSide;
    try {
        openSide(source, prompter);
        openSide(target, prompter);
        if (!toServer && recordsIn(target) > 0)
            throw UsageError(local + " already holds records; move it away first. Nothing was written");
        copyAll(source, target);
    } catch (...) {
        fileSide.tables.clear();
        serverSide.tables.clear();
        // A data file this command made goes again.
        if (!toServer && !localExisted) fs::remove(local, error);
        throw;
    }
    std::cerr << "copied to " << (toServer ? "the " + where : local) << '\n';
    return 0;
}

}  // namespace plorix::cli
