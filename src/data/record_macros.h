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

#include "data/schema.h"
#include "data/text.h"

#define PLORIX_MEMBER_Int32(name, width) std::int32_t name = 0;
#define PLORIX_MEMBER_Int16(name, width) std::int16_t name = 0;
#define PLORIX_MEMBER_Byte(name, width) std::uint8_t name = 0;
#define PLORIX_MEMBER_Date(name, width) std::int32_t name = 0;
#define PLORIX_MEMBER_Time(name, width) std::int32_t name = 0;
#define PLORIX_MEMBER_String(name, width) ::plorix::data::Text<(width)> name;
#define PLORIX_MEMBER_CString(name, width) ::plorix::data::Text<(width) - 1> name;
#define PLORIX_MEMBER_Memo(name, width) ::plorix::data::Text<(width)> name;
#define PLORIX_FIELD_MEMBER(name, kind, width) PLORIX_MEMBER_##kind(name, width)

#define PLORIX_RECORD(Label, FIELDS)                            \
    struct Label {                                              \
        FIELDS(PLORIX_FIELD_MEMBER)                             \
        static const ::plorix::data::TableSchema& schema();     \
    };

// Builds the std::vector<FieldDesc> of a record type; member names map to
// field names with '_' read as ':' (MAIL_SERVER -> "M_:MAIL:SERVER").
#define PLORIX_FIELD_DESC(name, kind, width)                                            \
    ::plorix::data::detail::makeField(                                                  \
        prefix, #name, ::plorix::data::FieldKind::kind, (width),                        \
        [](void* r) -> ::plorix::data::FieldRef { return &static_cast<Rec*>(r)->name; }),

#define PLORIX_FIELD_DESCS(Label, PREFIX, FIELDS)                       \
    [] {                                                                \
        using Rec = Label;                                              \
        const char* prefix = PREFIX;                                    \
        return std::vector<::plorix::data::FieldDesc>{FIELDS(PLORIX_FIELD_DESC)}; \
    }()

namespace plorix::data::detail {
FieldDesc makeField(const char* prefix, const char* member, FieldKind kind, int width,
                    FieldRef (*ref)(void*));
}  // namespace plorix::data::detail
