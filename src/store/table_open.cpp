// Table: opening, creating, closing and the upkeep of the stored layout.

#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>

#include "store/sql_error.h"
#include "store/store_impl.h"
#include "store/table_layout.h"
#include "store/table_sql.h"
#include "runtime/fixed_text.h"

namespace plorix::store {

namespace {

// The last error of this thread's operations.
ErrorState& processError() {
    thread_local ErrorState error;
    return error;
}

// Runs `work` in a write transaction on the file of a table, whether or not
// the table is open.
ErrorState maintain(const std::string& storedName, const std::string& password, const TableSchema& schema,
                    bool create, const std::function<int(Database&, const std::string&, ErrorState&)>& work) {
    const StoredName where = splitStoredName(storedName, schema);
    Database::Options options;
    options.create = create;
    ErrorState error;
    auto db = Database::acquire(where.file, password, options, error);
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

// Whether a line of SQLite's integrity check names the table or one of its
// keys (whose indexes are named "<table>.<key>").
bool concerns(const std::string& line, const std::string& table) {
    for (const std::string& name :
         {"\"" + table + "\"", " " + table + " ", " " + table + ".", "(" + table + ")"}) {
        if (line.find(name) != std::string::npos) return true;
    }
    return line.size() >= table.size() && line.compare(line.size() - table.size(), table.size(), table) == 0;
}

}  // namespace

const ErrorState& lastError() { return processError(); }

LockWait::LockWait(Table& table, int milliseconds) : db_(table.database()) {
    if (db_) previous_ = db_->setBusyTimeout(milliseconds);
}

LockWait::~LockWait() {
    if (db_) db_->setBusyTimeout(previous_);
}

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
    auto db = Database::acquire(where.file, password_, options, error);
    if (!db) return report(error);
    StoredLayout layout;
    if (readLayout(*db, where.table, layout, error) != kNoError ||
        checkLayout(db->dialect(), *schema_, layout.name, layout, error) != kNoError) {
        return report(error);
    }
    db_ = std::move(db);
    impl_->table = layout.name;
    impl_->readOnly = options.readOnly;
    impl_->cursor = Impl::Cursor::None;
    impl_->forgetReadAhead();
    currentRow_ = 0;
    return report(kNoError);
}

int Table::create() {
    return report(maintain(name_, password_, *schema_, true,
                           [this](Database& db, const std::string& table, ErrorState& error) -> int {
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
    return report(maintain(name_, password_, *schema_, false,
                           [this](Database& db, const std::string& table, ErrorState& error) -> int {
                               StoredLayout layout;
                               if (readLayout(db, table, layout, error) != kNoError) return error.code;
                               const std::string& stored = layout.name;
                               const int state = checkLayout(db.dialect(), *schema_, stored, layout, error);
                               if (state == kNoError) return kNoError;
                               if (state == kKeyMustBeRebuilt)
                                   return rebuildStoredKeys(db, *schema_, stored, layout, error);
                               return convertStoredTable(db, *schema_, stored, layout, error);
                           }));
}

int Table::buildKeys(SetAside* aside) {
    return report(maintain(name_, password_, *schema_, false,
                           [&](Database& db, const std::string& table, ErrorState& error) -> int {
                               StoredLayout layout;
                               if (readLayout(db, table, layout, error) != kNoError) return error.code;
                               const std::string& stored = layout.name;
                               const int state = checkLayout(db.dialect(), *schema_, stored, layout, error);
                               if (state != kNoError && state != kKeyMustBeRebuilt)
                                   return state;  // not ours, or not this layout
                               if (aside && setAsideDuplicates(db, *schema_, stored, password_, *aside,
                                                               error) != kNoError)
                                   return error.code;
                               return rebuildStoredKeys(db, *schema_, stored, layout, error);
                           }));
}

void Table::sendOption(std::string_view option) {
    const auto equals = option.find('=');
    const std::string name = toUpper(trim(option.substr(0, equals)));
    const std::string value =
        equals == std::string_view::npos ? std::string() : trim(option.substr(equals + 1));
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
        db = Database::acquire(where.file, password_, options, error);
        if (!db) return report(error);
    }
    StoredLayout layout;
    if (readLayout(*db, where.table, layout, error) != kNoError) return report(error);
    const std::string& table = layout.name;
    if (checkLayout(db->dialect(), *schema_, table, layout, error) != kNoError) {
        std::string problem = schema_->label + ": " + error.describe();
        if (!error.keyName.empty()) problem += " " + error.keyName;
        problems.push_back(problem);
        if (error.code != kKeyMustBeRebuilt) return report(kNoError);  // nothing of ours to read
    }
    // Every record read in every order: a damaged page of the table or of
    // one of its keys is met on the way.
    for (int key = -1; key < static_cast<int>(schema_->keys.size()); ++key) {
        const KeyDesc* k = key >= 0 ? &schema_->keys[static_cast<std::size_t>(key)] : nullptr;
        if (k && layout.indexes.find(sql::indexName(table, *k)) == layout.indexes.end()) continue;
        Statement* scan = db->prepare(
            sql::selectFromEnd(db->dialect(), *schema_, table, k, sql::Direction::Forward), error);
        if (!scan) {
            problems.push_back(std::string(k ? k->name : "record order") + ": " + error.describe());
            continue;
        }
        StatementUse use(*scan);
        scan->bind(1, std::numeric_limits<std::int64_t>::max());
        int rc;
        while ((rc = scan->step()) == kStepRow) {}
        if (rc != kStepDone)
            problems.push_back("reading in " + std::string(k ? k->name : "record") +
                               " order: " + db->lastError(rc).describe());
    }
    // The backend's own check of the file, the lines that concern this
    // table (a server checks its pages itself).
    const std::string_view integrity = db->dialect().integrityCheck;
    if (Statement* check = integrity.empty() ? nullptr : db->prepare(std::string(integrity), error)) {
        StatementUse use(*check);
        while (check->step() == kStepRow) {
            const std::string line(check->text(0));
            if (line != "ok" && concerns(line, table)) problems.push_back(line);
        }
    }
    return report(kNoError);
}

}  // namespace plorix::store
