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
std::optional<std::int64_t> readNumber(const FieldDesc& field, const std::string& text,
                                       const std::string& picture, void* scratch) {
    if (trim(text).empty()) return 0;
    if (numericPicture(picture)) {
        const auto value = parsePicture(text, picture);
        if (!value) return std::nullopt;
        return static_cast<std::int64_t>(std::llround(*value));
    }
    if (!fieldFromText(field, scratch, text)) return std::nullopt;
    return fieldInt(field, scratch);
}

bool startsAtValue(int match) {
    return match == kEquals || match == kMoreThan || match == kAtLeast || match == kInsideRange ||
           match == kBeginsWith;
}

}  // namespace

QbeKind defaultKind(FieldKind kind) {
    switch (kind) {
        case FieldKind::String:
        case FieldKind::CString: return QbeKind::String;
        case FieldKind::Memo: return QbeKind::Text;
        case FieldKind::Date: return QbeKind::Date;
        case FieldKind::Byte: return QbeKind::Check;
        default: return QbeKind::Number;
    }
}

std::optional<Query> Query::build(const TableSchema& schema, const std::vector<Criterion>& criteria,
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
        Entry e{&schema.fields[static_cast<std::size_t>(index)], c.kind.value_or(QbeKind::String), c.match,
                {}, {}, 0, 0, c.picture};
        if (!c.kind) e.kind = defaultKind(e.field->kind);
        if (!offers(e.kind, c.match)) {
            return refuse(std::string(kindName(e.kind)) + " field " + e.field->name + " offers no match type " +
                          std::to_string(c.match));
        }
        if (isText(e.field->kind)) {
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
    if (!isText(e.field->kind)) {
        return testNumber(e.match, fieldInt(*e.field, record), e.number, e.upperNumber, e.picture);
    }
    const std::string_view value = fieldText(*e.field, record);
    if (e.kind == QbeKind::Text) return testText(e.match, value, e.text, e.upperText);
    return testString(e.match, value, e.text, e.upperText);
}

bool Query::passes(const void* record) const {
    for (const Entry& e : entries_) {
        if (!passes(e, record)) return false;
    }
    return true;
}

void Query::startScan(Table& table, int key) const {
    const KeyDesc& k = schema_->keys[static_cast<std::size_t>(key)];
    const FieldDesc* leading = &schema_->fields[static_cast<std::size_t>(k.components.front())];
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
    clearRecord(*schema_, table.buffer());
    setKeyToLowest(*schema_, key, table.buffer());
    if (isText(leading->kind)) {
        setFieldText(*leading, table.buffer(), e.text);
    } else {
        setFieldInt(*leading, table.buffer(), from);
    }
    table.setAt(key);
}

QueryTagging::QueryTagging(Prompter& prompter, const Table& like, int key, const Query& query, TagTable tags,
                           std::string_view idField, bool select)
    : prompter_(prompter),
      table_(std::make_unique<Table>(like.schema())),
      query_(query),
      tags_(tags),
      id_(&like.schema().fields.at(static_cast<std::size_t>(like.schema().fieldIndex(idField)))),
      select_(select) {
    table_->setName(like.name());
    openTable(*table_, prompter);
    query.startScan(*table_, key);
}

QueryTagging::~QueryTagging() = default;

bool QueryTagging::step() {
    if (!table_) return false;
    TableUse hold(tagFile(), prompter_, tagFileOptions());
    for (int i = 0; i < kRecordsPerStep; ++i) {
        const int code = table_->next();
        if (code != kNoError) {
            error_ = code == kRecordNotAvailable ? kNoError : code;
            table_.reset();
            return false;
        }
        if (!query_.passes(table_->buffer())) continue;
        ++matched_;
        const auto record = static_cast<TaggedRecord>(fieldInt(*id_, table_->buffer()));
        if (select_) {
            setTag(prompter_, tags_, record);
        } else {
            clearTag(prompter_, tags_, record);
        }
    }
    return true;
}

}  // namespace plorix::data
