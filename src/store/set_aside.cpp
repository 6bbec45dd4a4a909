// Records that would break a unique key, moved out of the way of its rebuild.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "store/record_io.h"
#include "store/sql_error.h"
#include "store/table_layout.h"
#include "store/table_sql.h"

namespace plorix::store {

namespace {

std::string csvLine(const TableSchema& schema, const void* record) {
    std::string line;
    for (const auto& field : schema.fields) {
        if (!line.empty()) line += ',';
        // A comma-separated field is quoted as SQL quotes a name.
        line += sql::quote(record ? fieldToText(field, record) : field.name);
    }
    return line + "\r\n";
}

// The file is new and the user's own.
int writePrivate(const std::string& path, const std::string& text, ErrorState& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) written = ::close(fd) == 0 && written;
    if (written) return kNoError;
    error = storeError(kFileSystemError);
    error.driverCode = errno;
    error.driverText = "cannot write " + path;
    return error.code;
}

// Every later duplicate of every unique key, and a key one of them broke.
int findDuplicates(Database& db, const TableSchema& schema, std::string_view table,
                   std::set<std::int64_t>& found, std::string& keyName, ErrorState& error) {
    for (const auto& key : schema.keys) {
        if (!key.unique()) continue;
        Statement* s = db.prepare(sql::laterDuplicates(db.dialect(), schema, table, key), error);
        if (!s) return error.code;
        StatementUse use(*s);
        int rc;
        while ((rc = s->step()) == kStepRow) {
            found.insert(s->integer(0));
            if (keyName.empty()) keyName = key.name;
        }
        if (rc != kStepDone) return (error = db.lastError(rc)).code;
    }
    return kNoError;
}

// Copies the records into a new table of the target file (keys last, as far
// as the copies allow) and gives their comma-separated lines.
int copyRecords(Database& from, Database& to, const TableSchema& schema, std::string_view table,
                const std::set<std::int64_t>& positions, std::string& csv, ErrorState& error) {
    Statement* read = from.prepare(sql::selectByPosition(from.dialect(), schema, table), error);
    if (!read) return error.code;
    if (to.exec(sql::createTable(to.dialect(), schema, table), error) != kNoError) return error.code;
    Statement* insert = to.prepare(sql::insertRecord(to.dialect(), schema, table), error);
    if (!insert) return error.code;
    std::shared_ptr<void> record = schema.makeRecord();
    csv = csvLine(schema, nullptr);
    for (const std::int64_t position : positions) {
        {
            StatementUse use(*read);
            read->bind(1, position);
            const int rc = read->step();
            if (rc != kStepRow)
                return (error = rc == kStepDone ? storeError(kInvalidDataFile) : from.lastError(rc)).code;
            readFields(*read, schema, record.get(), 2);
        }
        StatementUse use(*insert);
        bindFields(*insert, schema, record.get());
        if (const int rc = insert->step(); rc != kStepDone) return (error = to.lastError(rc)).code;
        csv += csvLine(schema, record.get());
    }
    // Copies that duplicate each other leave the file's keys to be rebuilt
    // when it is opened; the records are what matters here.
    if (createKeys(to, schema, table, error) != kNoError && error.code != kDuplicateKey) return error.code;
    return recordVersion(to, schema, table, error);
}

}  // namespace

int setAsideDuplicates(Database& db, const TableSchema& schema, std::string_view table,
                       const std::string& password, SetAside& aside, ErrorState& error) {
    std::set<std::int64_t> positions;
    if (findDuplicates(db, schema, table, positions, aside.keyName, error) != kNoError) return error.code;
    if (positions.empty()) return (error = storeError(kNoError)).code;

    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(aside.file).parent_path(), ec);
    Database::Options options;
    options.create = true;
    auto target = Database::acquire(aside.file, password, options, error);
    if (!target) return error.code;
    std::string csv;
    if (target->begin(error) != kNoError) return error.code;
    if (copyRecords(db, *target, schema, table, positions, csv, error) != kNoError) {
        ErrorState ignored;
        target->rollback(ignored);
        return error.code;
    }
    if (target->commit(error) != kNoError) return error.code;
    if (writePrivate(aside.csv, csv, error) != kNoError) return error.code;

    std::string list;
    for (const std::int64_t position : positions)
        list += (list.empty() ? "" : ", ") + std::to_string(position);
    if (db.exec("DELETE FROM " + sql::quote(table) + " WHERE " + sql::quote(sql::kPosition) + " IN (" + list +
                    ")",
                error) != kNoError)
        return error.code;
    db.changed();
    aside.moved = static_cast<std::int64_t>(positions.size());
    return kNoError;
}

}  // namespace plorix::store
