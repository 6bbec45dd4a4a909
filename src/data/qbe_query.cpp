#include "data/qbe_query.h"

#include <cmath>

#include "data/cascade_relations.h"
#include "data/open_routine.h"
#include "runtime/date_time.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix::data {

namespace {

constexpr int kRecordsPerStep = 25;

bool numericPicture(std::string_view picture) {
    const PictureKind kind = pictureKind(picture);
    return kind == PictureKind::Date || kind == PictureKind::Time || kind == PictureKind::Number;
}

// Reads an entered value as a number of the field's type: by the field's
// picture when it has a numeric one, else in the field's own text form
// (on `scratch`, a record of the field's table).
std::optional<std::int64_t> readNumber(const store::FieldDesc& field, const std::string& text,
                                       const std::string& picture, void* scratch) {
    if (trim(text).empty()) return 0;
    if (numericPicture(picture)) {
        const auto value = parsePicture(text, picture);
        if (!value) return std::nullopt;
        return static_cast<std::int64_t>(std::llround(*value));
    }
    if (!store::fieldFromText(field, scratch, text)) return std::nullopt;
    return store::fieldInt(field, scratch);
}

bool startsAtValue(int match) {
    return match == kEquals || match == kMoreThan || match == kAtLeast || match == kInsideRange ||
           match == kBeginsWith;
}

}  // namespace

QbeKind defaultKind(store::FieldKind kind) {
    switch (kind) {
    case store::FieldKind::String:
    case store::FieldKind::CString: return QbeKind::String;
    case store::FieldKind::Memo: return QbeKind::Text;
    case store::FieldKind::Date: return QbeKind::Date;
    case store::FieldKind::Byte: return QbeKind::Check;
    default: return QbeKind::Number;
    }
}

std::optional<Query> Query::build(const store::TableSchema& schema, const std::vector<Criterion>& criteria,
                                  std::string* problem) {
    auto refuse = [problem](std::string why) -> std::optional<Query> {
        if (problem) *problem = std::move(why);
        return std::nullopt;
    };
    const std::shared_ptr<void> scratch = schema.makeRecord();
    Query query;
    query.schema_ = &schema;
    for (const Criterion& c : criteria) {
        const int index = schema.fieldIndex(c.field);
        if (index < 0) return refuse(schema.label + " has no field " + c.field);
        Entry e{&schema.fields[static_cast<std::size_t>(index)],
                c.kind.value_or(QbeKind::String),
                c.match,
                {},
                {},
                0,
                0,
                c.picture};
        if (!c.kind) e.kind = defaultKind(e.field->kind);
        if (!offers(e.kind, c.match)) {
            return refuse(std::string(kindName(e.kind)) + " field " + e.field->name +
                          " offers no match type " + std::to_string(c.match));
        }
        if (store::isText(e.field->kind)) {
            e.text = toUpper(c.value);
            e.upperText = toUpper(c.upper);
        } else {
            const auto value = readNumber(*e.field, c.value, c.picture, scratch.get());
            const auto upper = readNumber(*e.field, c.upper, c.picture, scratch.get());
            if (!value) return refuse("'" + c.value + "' is not a value of " + e.field->name);
            if (!upper) return refuse("'" + c.upper + "' is not a value of " + e.field->name);
            e.number = *value;
            e.upperNumber = *upper;
        }
        query.entries_.push_back(std::move(e));
    }
    return query;
}

bool Query::passes(const Entry& e, const void* record) const {
    if (!store::isText(e.field->kind)) {
        return testNumber(e.match, store::fieldInt(*e.field, record), e.number, e.upperNumber, e.picture);
    }
    const std::string_view value = store::fieldText(*e.field, record);
    if (e.kind == QbeKind::Text) return testText(e.match, value, e.text, e.upperText);
    return testString(e.match, value, e.text, e.upperText);
}

bool Query::passes(const void* record) const {
    for (const Entry& e : entries_) {
        if (!passes(e, record)) return false;
    }
    return true;
}

void Query::startScan(store::Table& table, int key) const {
    const store::KeyDesc& k = schema_->keys[static_cast<std::size_t>(key)];
    const store::FieldDesc* leading = &schema_->fields[static_cast<std::size_t>(k.components.front())];
    if (entries_.empty() || entries_.front().field != leading) {
        table.setStart(key);
        return;
    }
    const Entry& e = entries_.front();
    std::int64_t from = e.number;
    if (e.match == kSameYear) {
        from = makeDate(1, 1, yearOf(static_cast<Date>(e.number)));
    } else if (e.match == kSameYearAndMonth) {
        from = makeDate(monthOf(static_cast<Date>(e.number)), 1, yearOf(static_cast<Date>(e.number)));
    } else if (!startsAtValue(e.match)) {
        table.setStart(key);
        return;
    }
    store::clearRecord(*schema_, table.buffer());
    setKeyToLowest(*schema_, key, table.buffer());
    if (store::isText(leading->kind)) {
        store::setFieldText(*leading, table.buffer(), e.text);
    } else {
        store::setFieldInt(*leading, table.buffer(), from);
    }
    table.setAt(key);
}

QueryScan::QueryScan(Prompter& prompter, const store::Table& like, int key, const Query& query)
    : table_(std::make_unique<store::Table>(like.schema())), query_(query) {
    table_->setName(like.name());
    openTable(*table_, prompter);
    query.startScan(*table_, key);
}

QueryScan::~QueryScan() = default;

QueryScan::Step QueryScan::next(int budget) {
    if (!table_ || error_ != 0) return Step::Ended;
    for (int i = 0; i < budget; ++i) {
        const int code = table_->next();
        if (code != store::kNoError) {
            if (code != store::kRecordNotAvailable) error_ = code;
            return Step::Ended;
        }
        ++read_;
        if (query_.passes(table_->buffer())) return Step::Matched;
    }
    return Step::Going;
}

QueryTagging::QueryTagging(Prompter& prompter, const store::Table& like, int key, const Query& query,
                           TagTable tags, std::string_view idField, bool select)
    : prompter_(prompter),
      scan_(prompter, like, key, query),
      tags_(tags),
      id_(&like.schema().fields.at(static_cast<std::size_t>(like.schema().fieldIndex(idField)))),
      select_(select) {}

bool QueryTagging::step() {
    if (ended_) return false;
    TagBatch batch(prompter_);
    const std::int64_t stop = scan_.read() + kRecordsPerStep;
    while (scan_.read() < stop) {
        const QueryScan::Step step = scan_.next(static_cast<int>(stop - scan_.read()));
        if (step == QueryScan::Step::Ended) {
            batch.commit();
            ended_ = true;
            return false;
        }
        if (step == QueryScan::Step::Going) break;
        ++matched_;
        const auto record = static_cast<TaggedRecord>(store::fieldInt(*id_, scan_.record()));
        if (select_) {
            setTag(prompter_, tags_, record);
        } else {
            clearTag(prompter_, tags_, record);
        }
    }
    batch.commit();
    return true;
}

}  // namespace plorix::data
