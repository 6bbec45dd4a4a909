#pragma once
// Generates record buffers from a table's field list.
//
// A field list is a macro taking F and calling F(MEMBER, KIND, WIDTH) once per
// field in stored order, memos last; KIND is one of the FieldKind names and
// WIDTH the declared width in bytes. Example:
//
//   #define PLORIX_CATEGORIES_FIELDS(F) F(CATEGORY, String, 20)
//   PLORIX_RECORD(Categories, PLORIX_CATEGORIES_FIELDS)
//
// The matching descriptor is built in the table's .cpp with
// PLORIX_FIELD_DESCS(Categories, "CAT", PLORIX_CATEGORIES_FIELDS).

#include <cstdint>
#include <memory>

#include "store/schema.h"
#include "store/text.h"

#define PLORIX_MEMBER_Int32(name, width) std::int32_t name = 0;
#define PLORIX_MEMBER_Int16(name, width) std::int16_t name = 0;
#define PLORIX_MEMBER_Byte(name, width) std::uint8_t name = 0;
#define PLORIX_MEMBER_Date(name, width) std::int32_t name = 0;
#define PLORIX_MEMBER_Time(name, width) std::int32_t name = 0;
#define PLORIX_MEMBER_String(name, width) ::plorix::store::Text<(width)> name;
#define PLORIX_MEMBER_CString(name, width) ::plorix::store::Text<(width)-1> name;
#define PLORIX_MEMBER_Memo(name, width) ::plorix::store::Text<(width)> name;
#define PLORIX_FIELD_MEMBER(name, kind, width) PLORIX_MEMBER_##kind(name, width)

#define PLORIX_RECORD(Label, FIELDS)                         \
    struct Label {                                           \
        FIELDS(PLORIX_FIELD_MEMBER)                          \
        static const ::plorix::store::TableSchema& schema(); \
    };

// Builds the std::vector<FieldDesc> of a record type; member names map to
// field names with '_' read as ':' (MAIL_SERVER -> "M_:MAIL:SERVER").
#define PLORIX_FIELD_DESC(name, kind, width)                      \
    ::plorix::store::detail::makeField(                           \
        prefix, #name, ::plorix::store::FieldKind::kind, (width), \
        [](void* r) -> ::plorix::store::FieldRef { return &static_cast<Rec*>(r)->name; }),

#define PLORIX_FIELD_DESCS(Label, PREFIX, FIELDS)                                  \
    [] {                                                                           \
        using Rec = Label;                                                         \
        const char* prefix = PREFIX;                                               \
        return std::vector<::plorix::store::FieldDesc>{FIELDS(PLORIX_FIELD_DESC)}; \
    }()

// Typed key constants from a table's key list: a list calls
// K(NAME, FLAGS, COMPONENTS...) once per key in declared order, and
// PLORIX_KEYS(Label, KEYS) declares keys::Label::NAME as that key's index,
// so a key is named in code by a constant the compiler checks.
#define PLORIX_KEY_CONSTANT(name, ...) name,
#define PLORIX_KEY_NAME(name, ...) #name,
#define PLORIX_KEYS(Label, KEYS)                                         \
    namespace keys {                                                     \
    struct Label {                                                       \
        enum Key : int { KEYS(PLORIX_KEY_CONSTANT) };                    \
        static constexpr const char* kNames[] = {KEYS(PLORIX_KEY_NAME)}; \
    };                                                                   \
    }

namespace plorix::store::detail {
FieldDesc makeField(const char* prefix, const char* member, FieldKind kind, int width,
                    FieldRef (*ref)(void*));
}  // namespace plorix::store::detail
