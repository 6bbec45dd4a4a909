#include "data/cascade_relations.h"

#include <limits>
#include <stdexcept>
#include <string>

#include "runtime/fixed_text.h"

namespace plorix::data {

namespace {

using enum OnParent;

bool equalValues(const FieldDesc& a, const void* recordA, const FieldDesc& b, const void* recordB,
                 bool nocase) {
    if (isText(a.kind) != isText(b.kind)) return false;
    if (!isText(a.kind)) return fieldInt(a, recordA) == fieldInt(b, recordB);
    const std::string_view x = fieldText(a, recordA);
    const std::string_view y = fieldText(b, recordB);
    return nocase ? equalNoCase(x, y) : equalBlankPadded(x, y);
}

void copyValue(const FieldDesc& from, const void* source, const FieldDesc& to, void* target) {
    if (isText(to.kind)) {
        setFieldText(to, target, fieldText(from, source).str());
    } else {
        setFieldInt(to, target, fieldInt(from, source));
    }
}

const FieldDesc& field(const TableSchema& schema, std::string_view name) {
    const int index = schema.fieldIndex(name);
    if (index < 0) throw std::logic_error(schema.label + " has no field " + std::string(name));
    return schema.fields[static_cast<std::size_t>(index)];
}

}  // namespace

const std::vector<Relation>& relations() {
    // clang-format off
    static const std::vector<Relation> rows{
        {"Schedule",          "Link",      "SCH:ID",               "L:ID",                 "L:KEYSCHEDULE",  Cascade,  Cascade},
        {"Schedule",          "Scripting", "SCH:ID",               "SCR:ID",               "SCR:KEYID",      Cascade,  Cascade},
        {"Contact",           "Link",      "C_:CLIENTID",          "L:CLIENTID",           "L:KEYCLIENT",    Cascade,  Cascade},
        {"Messages",          "Scripting", "M_:EMAILID",           "SCR:EMAILID",          "SCR:KEYEMAIL",   Restrict, Restrict},
        {"ContactCategories", "Contact",   "CC:CONTACTCATEGORY",   "C_:CONTACTCATEGORY",   "C_:KEYCATEGORY", Restrict, Restrict},
        {"Categories",        "Schedule",  "CAT:CATEGORY",         "SCH:CATEGORY",         "SCH:KEYCATEGORY", Restrict, Restrict},
    };
    // clang-format on
    return rows;
}

std::vector<BoundRelation> relationsOf(const TableSchema& parent) {
    std::vector<BoundRelation> bound;
    for (const Relation& r : relations()) {
        if (!equalNoCase(r.parent, parent.label)) continue;
        const TableSchema* child = schemaByLabel(r.child);
        if (!child) throw std::logic_error("no table " + std::string(r.child));
        const FieldDesc& childField = field(*child, r.childField);
        const int key = child->keyIndex(r.childKey);
        if (key < 0) throw std::logic_error(child->label + " has no key " + std::string(r.childKey));
        const KeyDesc& k = child->keys[static_cast<std::size_t>(key)];
        if (&child->fields[static_cast<std::size_t>(k.components.front())] != &childField) {
            throw std::logic_error(k.name + " is not led by " + childField.name);
        }
        bound.push_back(BoundRelation{&r, child, &field(parent, r.parentField), &childField, key, k.nocase()});
    }
    return bound;
}

bool linksNothing(const FieldDesc& field, const void* record) { return fieldIsBlank(field, record); }

bool sameLink(const BoundRelation& relation, const void* a, const void* b) {
    return equalValues(*relation.parentField, a, *relation.parentField, b, relation.nocase);
}

bool refersTo(const BoundRelation& relation, const void* child, const void* parent) {
    return equalValues(*relation.childField, child, *relation.parentField, parent, relation.nocase);
}

void copyLink(const BoundRelation& relation, const void* parent, void* child) {
    copyValue(*relation.parentField, parent, *relation.childField, child);
}

void setKeyToLowest(const TableSchema& schema, int key, void* record) {
    for (int component : schema.keys[static_cast<std::size_t>(key)].components) {
        const FieldDesc& f = schema.fields[static_cast<std::size_t>(component)];
        switch (f.kind) {
            case FieldKind::Int16: setFieldInt(f, record, std::numeric_limits<std::int16_t>::min()); break;
            case FieldKind::Int32:
            case FieldKind::Date:
            case FieldKind::Time: setFieldInt(f, record, std::numeric_limits<std::int32_t>::min()); break;
            case FieldKind::Byte: setFieldInt(f, record, 0); break;
            default: setFieldText(f, record, {}); break;
        }
    }
}

void restoreLink(const BoundRelation& relation, const void* from, void* to) {
    copyValue(*relation.parentField, from, *relation.parentField, to);
}

}  // namespace plorix::data
