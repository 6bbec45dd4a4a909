#pragma once
// The stored name of a record member ("SCR:KEYSTROKES" for
// &Scripting::KEYSTROKES), found through the record's schema: code names a
// field by a member the compiler checks instead of by a text.

#include <stdexcept>
#include <string>
#include <variant>

#include "store/schema.h"

namespace plorix::store {

template <typename Record, typename Member>
const std::string& fieldNameOf(Member Record::*member) {
    Record sample;
    const void* wanted = &(sample.*member);
    for (const FieldDesc& field : Record::schema().fields) {
        const void* at = std::visit([](auto* value) -> const void* { return value; }, field.ref(&sample));
        if (at == wanted) return field.name;
    }
    throw std::logic_error("a member that is not a stored field");
}

}  // namespace plorix::store
