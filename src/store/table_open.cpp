// Table: opening, creating, closing and the upkeep of the stored layout.

#include <algorithm>
#include <charconv>
#include <functional>

#include "store/sql_error.h"
#include "store/store_impl.h"
#include "store/table_layout.h"
#include "runtime/fixed_text.h"

namespace plorix::store {

namespace {

ErrorState& processError() {
    static ErrorState error;
    return error;
}

// Runs `work` in a write transaction on the file of a table, whether or not
// the table is open.
ErrorState maintain(const std::string& storedName, const std::string& password, const TableSchema& schema,
                    bool create,
                    const std::function<int(Database&, const std::string&, ErrorState&)>& work) {
    const StoredName where = splitStoredName(storedName, schema);
    Database::Options options;
    options.create = create;
    ErrorState error;
    auto db = Database::acquire(resolveFileName(where.file), password, options, error);
    if (!db) return error;
    if (db->begin(error) != kNoError) return error;
    if (work(*db, where.table, error) != kNoError) {
        ErrorState ignored;
        db->rollback(ignored);
        return error;
    }
    db->changed();
    db->commit(error);
    return error;
}

}  // namespace

const ErrorState& lastError() { return processError(); }

Table::Table(const TableSchema& schema)
    : schema_(&schema),
      buffer_(schema.makeRecord()),
      name_(schema.storedName),
      password_(schema.password),
      impl_(std::make_unique<Impl>()) {}

Table::~Table() { close(); }

void Table::setName(std::string storedName) { name_ = std::move(storedName); }

bool Table::isOpen() const { return db_ != nullptr; }

int Table::report(const ErrorState& error) {
    error_ = error;
    if (error_.text.empty()) error_.text = errorText(error_.code);
    processError() = error_;
    return error_.code;
}

int Table::report(int code) { return report(storeError(code)); }

int Table::ready(bool write) {
    if (!db_) return report(kFileNotFound);
    if (write && impl_->readOnly) return report(kAccessDenied);
    return kNoError;
}

int Table::open(int mode) {
    if (isOpen()) return report(kFileAlreadyOpen);
    const StoredName where = splitStoredName(name_, *schema_);
    Database::Options options;
    // The low nibble is the access (0 read, 2 read/write); the sharing bits
    // need nothing here, every file is shared.
    options.readOnly = (mode & 0x0F) == 0;
    if (impl_->recoverSeconds > 0) options.busyTimeoutMs = impl_->recoverSeconds * 1000;
    impl_->recoverSeconds = 0;
    ErrorState error;
    auto db = Database::acquire(resolveFileName(where.file), password_, options, error);
    if (!db) return report(error);
    StoredLayout layout;
    if (readLayout(*db, where.table, layout, error) != kNoError ||
        checkLayout(*schema_, where.table, layout, error) != kNoError) {
        return report(error);
    }
    db_ = std::move(db);
    impl_->table = where.table;
    impl_->readOnly = options.readOnly;
    impl_->cursor = Impl::Cursor::None;
    impl_->forgetReadAhead();
    currentRow_ = 0;
    return report(kNoError);
}

int Table::create() {
    return report(maintain(name_, password_, *schema_, true, [this](Database& db, const std::string& table,
                                                                    ErrorState& error) -> int {
        StoredLayout layout;
        if (readLayout(db, table, layout, error) != kNoError) return error.code;
        // An existing table is left as it is: creating never empties one.
        if (layout.exists) return kNoError;
        return createStoredTable(db, *schema_, table, error);
    }));
}

void Table::close() {
    if (!db_) return;
    ErrorState ignored;
    // A batch still open when its table closes is written, not lost.
    while (impl_->streams > 0) {
        --impl_->streams;
        db_->commit(ignored);
    }
    impl_->statements.clear();
    impl_->forgetReadAhead();
    impl_->rows.clear();
    impl_->cursor = Impl::Cursor::None;
    impl_->cursorRecord.reset();
    db_.reset();
    currentRow_ = 0;
}

int Table::upgrade() {
    return report(maintain(name_, password_, *schema_, false, [this](Database& db, const std::string& table,
                                                                     ErrorState& error) -> int {
        StoredLayout layout;
        if (readLayout(db, table, layout, error) != kNoError) return error.code;
        const int state = checkLayout(*schema_, table, layout, error);
        if (state == kNoError) return kNoError;
        if (state == kKeyMustBeRebuilt) return rebuildStoredKeys(db, *schema_, table, layout, error);
        return convertStoredTable(db, *schema_, table, layout, error);
    }));
}

int Table::buildKeys() {
    return report(maintain(name_, password_, *schema_, false, [this](Database& db, const std::string& table,
                                                                     ErrorState& error) -> int {
        StoredLayout layout;
        if (readLayout(db, table, layout, error) != kNoError) return error.code;
        return rebuildStoredKeys(db, *schema_, table, layout, error);
    }));
}

void Table::sendOption(std::string_view option) {
    const auto equals = option.find('=');
    const std::string name = toUpper(trim(option.substr(0, equals)));
    const std::string value = equals == std::string_view::npos ? std::string() : trim(option.substr(equals + 1));
    if (name == "RECOVER") {
        int seconds = 0;
        std::from_chars(value.data(), value.data() + value.size(), seconds);
        impl_->recoverSeconds = std::clamp(seconds, 0, 3600);
    }
    // QUICKSCAN and other hints of the original driver need nothing here.
}

int Table::checkIntegrity(std::vector<std::string>& problems) {
    std::shared_ptr<Database> db = db_;
    const StoredName where = splitStoredName(name_, *schema_);
    ErrorState error;
    if (!db) {
        Database::Options options;
        options.readOnly = true;
        db = Database::acquire(resolveFileName(where.file), password_, options, error);
        if (!db) return report(error);
    }
    Statement* check = db->prepare("PRAGMA integrity_check", error);
    if (!check) return report(error);
    {
        StatementUse use(*check);
        int rc;
        while ((rc = check->step()) == SQLITE_ROW) {
            if (check->text(0) != "ok") problems.emplace_back(check->text(0));
        }
        if (rc != SQLITE_DONE) return report(db->lastError(rc));
    }
    StoredLayout layout;
    if (readLayout(*db, where.table, layout, error) != kNoError) return report(error);
    if (checkLayout(*schema_, where.table, layout, error) != kNoError) {
        std::string problem = schema_->label + ": " + error.describe();
        if (!error.keyName.empty()) problem += " " + error.keyName;
        problems.push_back(problem);
    }
    return report(kNoError);
}

}  // namespace plorix::store
