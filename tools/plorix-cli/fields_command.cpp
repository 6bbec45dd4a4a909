// fields TABLE: what a table holds, for people and for shell completion:
// name, type, width, the keys the field is part of, the values it allows.

#include <iostream>
#include <string>

#include "cli.h"
#include "data/field_choices.h"

namespace plorix::cli {

namespace {

std::string_view typeName(store::FieldKind kind) {
    switch (kind) {
    case store::FieldKind::Int32: return "long";
    case store::FieldKind::Int16: return "short";
    case store::FieldKind::Byte: return "byte";
    case store::FieldKind::Date: return "date";
    case store::FieldKind::Time: return "time";
    case store::FieldKind::String: return "string";
    case store::FieldKind::CString: return "cstring";
    case store::FieldKind::Memo: return "memo";
    }
    return "?";
}

}  // namespace

int cmdFields(const Args& args, Prompter&) {
    if (args.size() != 1) throw UsageError("usage: fields TABLE");
    const store::TableSchema& schema = tableArgument(args[0]);
    for (std::size_t i = 0; i < schema.fields.size(); ++i) {
        const store::FieldDesc& field = schema.fields[i];
        std::string keys;
        for (const store::KeyDesc& key : schema.keys) {
            for (int component : key.components) {
                if (component != static_cast<int>(i)) continue;
                keys += (keys.empty() ? "" : ",") + key.name;
                break;
            }
        }
        std::cout << field.name << '\t' << typeName(field.kind) << '\t' << field.width << '\t' << keys << '\t'
                  << data::describeAllowed(field.name) << '\n';
    }
    return 0;
}

}  // namespace plorix::cli
