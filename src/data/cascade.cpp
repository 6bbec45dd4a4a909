#include "data/cascade.h"

#include <string>
#include <vector>

#include "data/cascade_relations.h"
#include "data/open_routine.h"
#include "data/warnings.h"

namespace plorix::data {

namespace {

constexpr std::string_view kDelete = "Delete";
constexpr std::string_view kUpdate = "Update";
constexpr std::string_view kChangedByAnother = "Record Changed by Another Station";

// After a rolled-back write the stored record is the old one again while the
// buffer holds the user's entries: read the stored one (so that the next
// write is not taken for another station's) and put the entries back.
void keepEntriesOverStored(Table& table, std::int64_t position) {
    const std::shared_ptr<void> entries = keepOriginal(table);
    table.reget(position);
    copyRecord(table.schema(), entries.get(), table.buffer());
}

// One routine call: the table, its child tables opened for the call, and
// the transaction framed over every file among them.
class Work {
public:
    Work(Table& table, Prompter& prompter, const std::vector<BoundRelation>& links)
        : table_(table), prompter_(prompter) {
        children_.reserve(links.size());
        for (const BoundRelation& link : links) {
            children_.push_back(std::make_unique<Table>(*link.child));
            openTable(*children_.back(), prompter);
        }
        framed_.push_back(&table);
        for (auto& child : children_) {
            bool known = false;
            for (Table* t : framed_) known = known || t->database() == child->database();
            if (!known) framed_.push_back(child.get());
        }
    }

    Table& child(std::size_t i) { return *children_[i]; }

    // Begins on every file; the error of the one that could not.
    bool begin(ErrorState& error) {
        for (std::size_t i = 0; i < framed_.size(); ++i) {
            if (framed_[i]->begin() != kNoError) {
                error = framed_[i]->error();
                for (std::size_t j = 0; j < i; ++j) framed_[j]->rollback();
                return false;
            }
        }
        begun_ = true;
        return true;
    }

    // A failed commit leaves the frame begun, for failed() to roll back.
    bool commit(ErrorState& error) {
        for (Table* t : framed_) {
            if (t->commit() != kNoError) {
                error = t->error();
                return false;
            }
        }
        begun_ = false;
        return true;
    }

    // Rolls back; once the table's record was written, the buffer keeps the
    // user's entries over the stored record read again.
    void rollback() {
        if (!begun_) return;
        begun_ = false;
        for (Table* t : framed_) t->rollback();
        if (written_) keepEntriesOverStored(table_, position_);
    }

    void wrote(std::int64_t position) {
        written_ = true;
        position_ = position;
    }

    // A failure of the store: saved as the warning's error text, the
    // transaction rolled back, the warning shown.
    int failed(const ErrorState& error, int warning, std::string_view subject,
               std::string_view detail = {}) {
        setSavedError(error);
        rollback();
        return warn(warning, subject, detail);
    }

    // A refusal by a relation: no store error to report.
    int refused(int warning, std::string_view subject) {
        rollback();
        return warn(warning, subject, {});
    }

    int warn(int warning, std::string_view subject, std::string_view detail) {
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
    Table& table_;
    Prompter& prompter_;
    std::vector<std::unique_ptr<Table>> children_;
    std::vector<Table*> framed_;  // one table per file
    bool begun_ = false;
    bool written_ = false;
    std::int64_t position_ = 0;
};

// The positions of the child records that refer to the parent record's
// value, found through the child key the relation names.
int findChildren(Table& child, const BoundRelation& link, const void* parent,
                 std::vector<std::int64_t>& positions) {
    positions.clear();
    if (linksNothing(*link.parentField, parent)) return kNoError;
    clearRecord(child.schema(), child.buffer());
    setKeyToLowest(child.schema(), link.childKey, child.buffer());
    copyLink(link, parent, child.buffer());
    child.setAt(link.childKey);
    int code;
    while ((code = child.next()) == kNoError && refersTo(link, child.buffer(), parent)) {
        positions.push_back(child.position());
    }
    return code == kRecordNotAvailable ? kNoError : code;
}

std::string probableCause(const ErrorState& error, const std::string& label) {
    return error.code == kDuplicateKey && !error.keyName.empty() ? error.keyName : label;
}

}  // namespace

std::shared_ptr<void> keepOriginal(const Table& table) {
    std::shared_ptr<void> copy = table.schema().makeRecord();
    copyRecord(table.schema(), table.buffer(), copy.get());
    return copy;
}

int deleteRecord(Table& table, Prompter& prompter) {
    const std::string& label = table.schema().label;
    const std::int64_t position = table.position();
    const std::vector<BoundRelation> links = relationsOf(table.schema());
    Work work(table, prompter, links);
    ErrorState error;
    if (!work.begin(error)) return work.failed(error, 34, kDelete, label);
    // The stored version is the one deleted, whoever wrote it last.
    if (table.reget(position) != kNoError) return work.failed(table.error(), 35, label);

    std::vector<std::int64_t> positions;
    for (std::size_t i = 0; i < links.size(); ++i) {
        Table& child = work.child(i);
        const std::string& childLabel = child.schema().label;
        if (findChildren(child, links[i], table.buffer(), positions) != kNoError) {
            return work.failed(child.error(), 35, childLabel);
        }
        if (positions.empty()) continue;
        if (links[i].relation->onDelete == OnParent::Restrict) return work.refused(13, childLabel);
        for (std::int64_t at : positions) {
            if (child.reget(at) != kNoError || child.erase() != kNoError) {
                return work.failed(child.error(), 17, childLabel);
            }
        }
    }
    if (table.erase() != kNoError) return work.failed(table.error(), 17, label);
    if (!work.commit(error)) return work.failed(error, 17, label);
    return kDeleted;
}

int changeRecord(Table& table, Prompter& prompter, const void* original, bool canRecall) {
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
    ErrorState error;
    if (!work.begin(error)) return work.failed(error, 34, kUpdate, label);

    const std::int64_t position = table.position();
    if (table.put() != kNoError) {
        error = table.error();
        if (error.code != kRecordChanged) return work.failed(error, 15, probableCause(error, label));
        setSavedError(error);
        work.rollback();
        // Show the other station's version; gone altogether, there is none.
        if (table.reget(position) != kNoError) return work.warn(15, kChangedByAnother, {});
        if (canRecall) {
            work.warn(38, {}, {});
        } else {
            work.warn(15, kChangedByAnother, {});
        }
        return kChangedElsewhere;
    }

    work.wrote(position);

    std::vector<std::int64_t> positions;
    for (std::size_t i = 0; i < links.size(); ++i) {
        Table& child = work.child(i);
        const std::string& childLabel = child.schema().label;
        if (findChildren(child, links[i], original, positions) != kNoError) {
            return work.failed(child.error(), 35, childLabel);
        }
        if (positions.empty()) continue;
        if (links[i].relation->onChange == OnParent::Restrict) {
            work.rollback();
            restoreLink(links[i], original, table.buffer());
            return work.refused(12, childLabel);
        }
        for (std::int64_t at : positions) {
            if (child.reget(at) == kNoError) {
                copyLink(links[i], table.buffer(), child.buffer());
                child.put();
            }
            if (child.errorCode() != kNoError) return work.failed(child.error(), 15, childLabel);
        }
    }
    if (!work.commit(error)) return work.failed(error, 15, label);
    return kWritten;
}

}  // namespace plorix::data
