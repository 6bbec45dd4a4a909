#include "data/cascade_relations.h"
#include "data/tables.h"

#include <limits>
#include <stdexcept>
#include <string>

#include "runtime/fixed_text.h"

namespace plorix::data {

namespace {

using enum OnParent;

bool equalValues(const store::FieldDesc& a, const void* recordA, const store::FieldDesc& b,
                 const void* recordB, bool nocase) {
    if (store::isText(a.kind) != store::isText(b.kind)) return false;
    if (!store::isText(a.kind)) return store::fieldInt(a, recordA) == store::fieldInt(b, recordB);
    const std::string_view x = store::fieldText(a, recordA);
    const std::string_view y = store::fieldText(b, recordB);
    return nocase ? equalNoCase(x, y) : equalBlankPadded(x, y);
}

void copyValue(const store::FieldDesc& from, const void* source, const store::FieldDesc& to, void* target) {
    if (store::isText(to.kind)) {
        store::setFieldText(to, target, store::fieldText(from, source).str());
    } else {
        store::setFieldInt(to, target, store::fieldInt(from, source));
    }
}

const store::FieldDesc& field(const store::TableSchema& schema, std::string_view name) {
    const int index = schema.fieldIndex(name);
    if (index < 0) throw std::logic_error(schema.label + " has no field " + std::string(name));
    return schema.fields[static_cast<std::size_t>(index)];
}

}  // namespace

const std::vector<Relation>& relations() {
    // clang-format off
    static const std::vector<Relation> rows{
        {"Schedule",          "Link",      "SCH:ID",               "L:ID",                 keys::Link::KEYSCHEDULE,         Cascade,  Cascade},
        {"Schedule",          "Scripting", "SCH:ID",               "SCR:ID",               keys::Scripting::KEYID,          Cascade,  Cascade},
        {"Contact",           "Link",      "C_:CLIENTID",          "L:CLIENTID",           keys::Link::KEYCLIENT,           Cascade,  Cascade},
        {"Messages",          "Scripting", "M_:EMAILID",           "SCR:EMAILID",          keys::Scripting::KEYEMAIL,       Restrict, Restrict},
        {"ContactCategories", "Contact",   "CC:CONTACTCATEGORY",   "C_:CONTACTCATEGORY",   keys::Contact::KEYCATEGORY,      Restrict, Restrict},
        {"Categories",        "Schedule",  "CAT:CATEGORY",         "SCH:CATEGORY",         keys::Schedule::KEYCATEGORY,     Restrict, Restrict},
    };
    // clang-format on
    return rows;
}

std::vector<BoundRelation> relationsOf(const store::TableSchema& parent) {
    std::vector<BoundRelation> bound;
    for (const Relation& r : relations()) {
        if (!equalNoCase(r.parent, parent.label)) continue;
        const store::TableSchema* child = schemaByLabel(r.child);
        if (!child) throw std::logic_error("no table " + std::string(r.child));
        const store::FieldDesc& childField = field(*child, r.childField);
        const int key = r.childKey;
        if (key < 0 || static_cast<std::size_t>(key) >= child->keys.size())
            throw std::logic_error(child->label + " has no key " + std::to_string(key));
        const store::KeyDesc& k = child->keys[static_cast<std::size_t>(key)];
        if (&child->fields[static_cast<std::size_t>(k.components.front())] != &childField) {
            throw std::logic_error(k.name + " is not led by " + childField.name);
        }
        bound.push_back(
            BoundRelation{&r, child, &field(parent, r.parentField), &childField, key, k.nocase()});
    }
    return bound;
}

bool linksNothing(const store::FieldDesc& field, const void* record) {
    return store::fieldIsBlank(field, record);
}

bool sameLink(const BoundRelation& relation, const void* a, const void* b) {
    return equalValues(*relation.parentField, a, *relation.parentField, b, relation.nocase);
}

bool refersTo(const BoundRelation& relation, const void* child, const void* parent) {
    return equalValues(*relation.childField, child, *relation.parentField, parent, relation.nocase);
}

void copyLink(const BoundRelation& relation, const void* parent, void* child) {
    copyValue(*relation.parentField, parent, *relation.childField, child);
}

void setKeyToLowest(const store::TableSchema& schema, int key, void* record) {
    for (int component : schema.keys[static_cast<std::size_t>(key)].components) {
        const store::FieldDesc& f = schema.fields[static_cast<std::size_t>(component)];
        switch (f.kind) {
        case store::FieldKind::Int16:
            store::setFieldInt(f, record, std::numeric_limits<std::int16_t>::min());
            break;
        case store::FieldKind::Int32:
        case store::FieldKind::Date:
        case store::FieldKind::Time:
            store::setFieldInt(f, record, std::numeric_limits<std::int32_t>::min());
            break;
        case store::FieldKind::Byte: store::setFieldInt(f, record, 0); break;
        default: store::setFieldText(f, record, {}); break;
        }
    }
}

void restoreLink(const BoundRelation& relation, const void* from, void* to) {
    copyValue(*relation.parentField, from, *relation.parentField, to);
}

}  // namespace plorix::data
