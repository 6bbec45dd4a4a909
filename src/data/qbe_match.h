#pragma once
// Query by example, field by field: the match types a search offers for
// each kind of field, and the test of one value against one of them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plorix::data {

enum MatchType : int {
    kIgnoreField = 0,
    kEquals = 1,
    kNotEquals = 2,
    kMoreThan = 3,
    kLessThan = 4,
    kAtLeast = 5,
    kAtMost = 6,
    kInsideRange = 7,
    kOutsideRange = 8,
    kBeginsWith = 9,
    kEndsWith = 10,
    kContains = 11,
    kNotContains = 12,
    kSameMonth = 13,
    kSameDayOfMonth = 14,
    kSameYear = 15,
    kSameMonthAndDay = 16,
    kSameYearAndMonth = 17,
};

struct MatchTypeInfo {
    MatchType type;
    std::string_view text;         // as the match-type window lists it
    std::string_view symbol;       // drawn beside the field (UTF-8); empty for none
    unsigned char symbolFontCode;  // the same symbol's byte in the Symbol typeface; 0 for none
};

// Rows 0..17; nullptr for a number outside them.
const MatchTypeInfo* matchTypeInfo(int type);

// How a field is entered in the search window, which decides the match
// types it offers.
enum class QbeKind { String, Number, Picture, Date, Text, Check, Option };

std::string_view kindName(QbeKind kind);         // "STRING" ...
std::string matchTypeWindowTitle(QbeKind kind);  // "Match Type for STRING Field"
const std::vector<MatchType>& offeredMatchTypes(QbeKind kind);
bool offers(QbeKind kind, int type);

// The tests. `value` is the record's value; `query` and `upper` the query
// value and the upper limit of a range, compared as given (a search enters
// them in capitals: the record's text is compared in capitals).
//
// Short texts: the record's text in capitals, trailing blanks ignored.
bool testString(int type, std::string_view value, std::string_view query, std::string_view upper);
// Long texts (memos), compared the same way.
bool testText(int type, std::string_view value, std::string_view query, std::string_view upper);
// Numbers and dates. The texts "begins with" and "ends with" compare are
// the numbers shown by `picture` (plain decimal without one).
bool testNumber(int type, std::int64_t value, std::int64_t query, std::int64_t upper,
                std::string_view picture = {});

// The "Enter Upper Limit" window's rules. When both limits are numbers an
// upper limit below the lower one is raised to it; a range is confirmed
// only when its upper limit compares greater than the lower one (as
// numbers when both are, otherwise as text).
std::string settleUpperLimit(std::string_view lower, std::string_view upper);
bool rangeAccepted(std::string_view lower, std::string_view upper);

}  // namespace plorix::data
