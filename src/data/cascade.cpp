#include "data/cascade.h"

#include <string>
#include <vector>

#include "data/cascade_relations.h"
#include "data/open_routine.h"
#include "data/warnings.h"
#include "store/transaction.h"

namespace plorix::data {

namespace {

constexpr std::string_view kDelete = "Delete";
constexpr std::string_view kUpdate = "Update";
constexpr std::string_view kChangedByAnother = "Record Changed by Another Station";

// After a rolled-back write the stored record is the old one again while the
// buffer holds the user's entries: read the stored one (so that the next
// write is not taken for another station's) and put the entries back.
void keepEntriesOverStored(store::Table& table, std::int64_t position) {
    const std::shared_ptr<void> entries = keepOriginal(table);
    // Gone meanwhile, there is no stored record to read: the entries are
    // put back all the same.
    [[maybe_unused]] const int reread = table.reget(position);
    store::copyRecord(table.schema(), entries.get(), table.buffer());
}

// One routine call: the table, its child tables opened for the call, and
// the transaction framed over every file among them.
class Work {
public:
    Work(store::Table& table, Prompter& prompter, const std::vector<BoundRelation>& links)
        : table_(table), prompter_(prompter) {
        children_.reserve(links.size());
        for (const BoundRelation& link : links) {
            children_.push_back(std::make_unique<store::Table>(*link.child));
            openTable(*children_.back(), prompter);
        }
        framed_.push_back(&table);
        for (auto& child : children_) {
            bool known = false;
            for (store::Table* t : framed_) known = known || t->database() == child->database();
            if (!known) framed_.push_back(child.get());
        }
    }

    store::Table& child(std::size_t i) { return *children_[i]; }

    // Begins on every file; the error of the one that could not (those
    // already begun are rolled back).
    bool begin(store::ErrorState& error) {
        for (store::Table* t : framed_) {
            transactions_.emplace_back(*t);
            if (!transactions_.back().ok()) {
                error = transactions_.back().error();
                transactions_.clear();
                return false;
            }
        }
        return true;
    }

    // A failed commit leaves the rest of the frame begun, for failed() to
    // roll back.
    bool commit(store::ErrorState& error) {
        for (store::Transaction& t : transactions_) {
            if (t.commit() != store::kNoError) {
                error = t.error();
                return false;
            }
        }
        transactions_.clear();
        return true;
    }

    // Rolls back; once the table's record was written, the buffer keeps the
    // user's entries over the stored record read again.
    void rollback() {
        if (transactions_.empty()) return;
        // Inner files first, the opposite order of begin.
        while (!transactions_.empty()) transactions_.pop_back();
        if (written_) keepEntriesOverStored(table_, position_);
    }

    void wrote(std::int64_t position) {
        written_ = true;
        position_ = position;
    }

    // A failure of the store: saved as the warning's error text, the
    // transaction rolled back, the warning shown.
    int failed(const store::ErrorState& error, Warning warning, std::string_view subject,
               std::string_view detail = {}) {
        setSavedError(error);
        rollback();
        return warn(warning, subject, detail);
    }

    // A refusal by a relation: no store error to report.
    int refused(Warning warning, std::string_view subject) {
        rollback();
        return warn(warning, subject, {});
    }

    int warn(Warning warning, std::string_view subject, std::string_view detail) {
        standardWarning(prompter_, warning, subject, detail);
        // A warning whose text names no error leaves the saved one behind;
        // it must not turn up in a later, unrelated warning.
        clearSavedError();
        return 1;
    }

    ~Work() { rollback(); }
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;

private:
    store::Table& table_;
    Prompter& prompter_;
    std::vector<std::unique_ptr<store::Table>> children_;
    std::vector<store::Table*> framed_;             // one table per file
    std::vector<store::Transaction> transactions_;  // over framed_, while begun
    bool written_ = false;
    std::int64_t position_ = 0;
};

// The positions of the child records that refer to the parent record's
// value, found through the child key the relation names.
int findChildren(store::Table& child, const BoundRelation& link, const void* parent,
                 std::vector<std::int64_t>& positions) {
    positions.clear();
    if (linksNothing(*link.parentField, parent)) return store::kNoError;
    store::clearRecord(child.schema(), child.buffer());
    setKeyToLowest(child.schema(), link.childKey, child.buffer());
    copyLink(link, parent, child.buffer());
    child.setAt(link.childKey);
    int code;
    while ((code = child.next()) == store::kNoError && refersTo(link, child.buffer(), parent)) {
        positions.push_back(child.position());
    }
    return code == store::kRecordNotAvailable ? store::kNoError : code;
}

std::string probableCause(const store::ErrorState& error, const std::string& label) {
    return error.code == store::kDuplicateKey && !error.keyName.empty() ? error.keyName : label;
}

}  // namespace

std::shared_ptr<void> keepOriginal(const store::Table& table) {
    std::shared_ptr<void> copy = table.schema().makeRecord();
    store::copyRecord(table.schema(), table.buffer(), copy.get());
    return copy;
}

int deleteRecord(store::Table& table, Prompter& prompter) {
    const std::string& label = table.schema().label;
    const std::int64_t position = table.position();
    const std::vector<BoundRelation> links = relationsOf(table.schema());
    Work work(table, prompter, links);
    store::ErrorState error;
    if (!work.begin(error)) return work.failed(error, Warning::TransactionFramingError, kDelete, label);
    // The stored version is the one deleted, whoever wrote it last.
    if (table.reget(position) != store::kNoError)
        return work.failed(table.error(), Warning::RecordRetrievalError, label);

    std::vector<std::int64_t> positions;
    for (std::size_t i = 0; i < links.size(); ++i) {
        store::Table& child = work.child(i);
        const std::string& childLabel = child.schema().label;
        if (findChildren(child, links[i], table.buffer(), positions) != store::kNoError) {
            return work.failed(child.error(), Warning::RecordRetrievalError, childLabel);
        }
        if (positions.empty()) continue;
        if (links[i].relation->onDelete == OnParent::Restrict)
            return work.refused(Warning::ReferencedOnDelete, childLabel);
        for (std::int64_t at : positions) {
            if (child.reget(at) != store::kNoError || child.erase() != store::kNoError) {
                return work.failed(child.error(), Warning::DeleteOperationError, childLabel);
            }
        }
    }
    if (table.erase() != store::kNoError)
        return work.failed(table.error(), Warning::DeleteOperationError, label);
    if (!work.commit(error)) return work.failed(error, Warning::DeleteOperationError, label);
    return kDeleted;
}

int changeRecord(store::Table& table, Prompter& prompter, const void* original, bool canRecall) {
    const std::string& label = table.schema().label;
    // Only the relations whose linking value the user changed need their
    // children looked at.
    std::vector<BoundRelation> links;
    if (original) {
        for (const BoundRelation& link : relationsOf(table.schema())) {
            if (!sameLink(link, original, table.buffer())) links.push_back(link);
        }
    }
    Work work(table, prompter, links);
    store::ErrorState error;
    if (!work.begin(error)) return work.failed(error, Warning::TransactionFramingError, kUpdate, label);

    const std::int64_t position = table.position();
    if (table.put() != store::kNoError) {
        error = table.error();
        if (error.code != store::kRecordChanged)
            return work.failed(error, Warning::UpdateOperationError, probableCause(error, label));
        setSavedError(error);
        work.rollback();
        // Show the other station's version; gone altogether, there is none.
        if (table.reget(position) != store::kNoError)
            return work.warn(Warning::UpdateOperationError, kChangedByAnother, {});
        if (canRecall) {
            work.warn(Warning::RecordNotUpdated, {}, {});
        } else {
            work.warn(Warning::UpdateOperationError, kChangedByAnother, {});
        }
        return kChangedElsewhere;
    }

    work.wrote(position);

    std::vector<std::int64_t> positions;
    for (std::size_t i = 0; i < links.size(); ++i) {
        store::Table& child = work.child(i);
        const std::string& childLabel = child.schema().label;
        if (findChildren(child, links[i], original, positions) != store::kNoError) {
            return work.failed(child.error(), Warning::RecordRetrievalError, childLabel);
        }
        if (positions.empty()) continue;
        if (links[i].relation->onChange == OnParent::Restrict) {
            work.rollback();
            restoreLink(links[i], original, table.buffer());
            return work.refused(Warning::ReferencedOnChange, childLabel);
        }
        for (std::int64_t at : positions) {
            int code = child.reget(at);
            if (code == store::kNoError) {
                copyLink(links[i], table.buffer(), child.buffer());
                code = child.put();
            }
            if (code != store::kNoError)
                return work.failed(child.error(), Warning::UpdateOperationError, childLabel);
        }
    }
    if (!work.commit(error)) return work.failed(error, Warning::UpdateOperationError, label);
    return kWritten;
}

}  // namespace plorix::data
