#include "data/qbe_match.h"

#include <array>
#include <optional>

#include "runtime/date_time.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix::data {

namespace {

// clang-format off
constexpr std::array<MatchTypeInfo, 18> kMatchTypes{{
    {kIgnoreField,      "Ignore this field",                "",        0x00},
    {kEquals,           "Equals this",                      "=",       0x3D},
    {kNotEquals,        "Does not equal this",              "\u2260", 0xB9},
    {kMoreThan,         "More than this",                   ">",       0x3E},
    {kLessThan,         "Less than this",                   "<",       0x3C},
    {kAtLeast,          "More than or equal to this",       "\u2265", 0xB3},
    {kAtMost,           "Less than or equal to this",       "\u2264", 0xA3},
    {kInsideRange,      "Inside range starting with this",  "\u2194", 0xAB},
    {kOutsideRange,     "Outside range starting with this", "\u25CA", 0xE0},
    {kBeginsWith,       "Begins with this",                 "\u2192", 0xAE},
    {kEndsWith,         "Ends with this",                   "\u2190", 0xAC},
    {kContains,         "Contains this",                    "\u2227", 0xD9},
    {kNotContains,      "Does not contain this",            "\u2228", 0xDA},
    {kSameMonth,        "In this month of each year",       "m",       0x6D},
    {kSameDayOfMonth,   "On this day of each month",        "d",       0x64},
    {kSameYear,         "In this year",                     "y",       0x79},
    {kSameMonthAndDay,  "On this month + day",              "M",       0x4D},
    {kSameYearAndMonth, "In this year + month",             "Y",       0x59},
}};
// clang-format on

std::vector<MatchType> range(int first, int last) {
    std::vector<MatchType> types;
    for (int t = first; t <= last; ++t) types.push_back(static_cast<MatchType>(t));
    return types;
}

std::vector<MatchType> join(std::vector<MatchType> a, const std::vector<MatchType>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The first `n` characters of a text.
std::string head(std::string_view text, std::size_t n) { return cutToWidth(text, n); }

// The last `n` characters of a text (UTF-8 aware).
std::string tail(std::string_view text, std::size_t n) {
    const std::size_t count = characterCount(text);
    if (n >= count) return std::string(text);
    std::size_t skip = count - n;
    std::size_t i = 0;
    while (skip > 0 && i < text.size()) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
        --skip;
    }
    return std::string(text.substr(i));
}

std::string leftAligned(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

bool endsWith(std::string_view text, std::string_view suffix) {
    const std::string wanted = clip(suffix);
    return equalBlankPadded(tail(clip(text), characterCount(wanted)), wanted);
}

std::string numberText(std::int64_t value, std::string_view picture) {
    if (picture.empty()) return std::to_string(value);
    return trim(formatPicture(static_cast<double>(value), picture));
}

std::optional<double> numberIn(std::string_view text) {
    const std::string t = trim(text);
    if (t.empty()) return std::nullopt;
    return parseNumber(t);
}

}  // namespace

const MatchTypeInfo* matchTypeInfo(int type) {
    if (type < 0 || type >= static_cast<int>(kMatchTypes.size())) return nullptr;
    return &kMatchTypes[static_cast<std::size_t>(type)];
}

std::string_view kindName(QbeKind kind) {
    switch (kind) {
    case QbeKind::String: return "STRING";
    case QbeKind::Number: return "NUMBER";
    case QbeKind::Picture: return "PICTURE";
    case QbeKind::Date: return "DATE";
    case QbeKind::Text: return "TEXT";
    case QbeKind::Check: return "CHECK";
    case QbeKind::Option: return "OPTION";
    }
    return {};
}

std::string matchTypeWindowTitle(QbeKind kind) {
    return "Match Type for " + std::string(kindName(kind)) + " Field";
}

const std::vector<MatchType>& offeredMatchTypes(QbeKind kind) {
    static const std::vector<MatchType> string = range(0, 12);
    static const std::vector<MatchType> number = range(0, 8);
    static const std::vector<MatchType> picture = range(0, 10);
    static const std::vector<MatchType> date = join(range(0, 8), range(13, 17));
    static const std::vector<MatchType> text = join(range(0, 2), range(9, 12));
    static const std::vector<MatchType> choice = range(0, 2);
    switch (kind) {
    case QbeKind::String: return string;
    case QbeKind::Number: return number;
    case QbeKind::Picture: return picture;
    case QbeKind::Date: return date;
    case QbeKind::Text: return text;
    case QbeKind::Check:
    case QbeKind::Option: return choice;
    }
    return choice;
}

bool offers(QbeKind kind, int type) {
    for (MatchType t : offeredMatchTypes(kind))
        if (t == type) return true;
    return false;
}

bool testString(int type, std::string_view value, std::string_view query, std::string_view upper) {
    const std::string v = toUpper(value);
    const std::string q = clip(query);
    const std::string r = clip(upper);
    // The record's first characters, as many as the query (or the upper limit) has.
    const std::string left = leftAligned(v);
    const std::string firstQ = head(left, characterCount(q));
    const std::string firstR = head(left, characterCount(r));
    switch (type) {
    case kEquals: return equalBlankPadded(left, q);
    // The opposite of "equals": a value with leading blanks cannot pass both.
    case kNotEquals: return !equalBlankPadded(left, q);
    case kMoreThan: return compareBlankPadded(v, q) > 0;
    case kLessThan: return compareBlankPadded(v, q) < 0;
    case kAtLeast: return compareBlankPadded(v, q) >= 0;
    case kAtMost: return compareBlankPadded(v, q) <= 0;
    case kInsideRange: return compareBlankPadded(firstQ, q) >= 0 && compareBlankPadded(firstR, r) <= 0;
    case kOutsideRange: return compareBlankPadded(firstQ, q) < 0 || compareBlankPadded(firstR, r) > 0;
    case kBeginsWith: return equalBlankPadded(firstQ, q);
    case kEndsWith: return endsWith(v, q);
    case kContains: return v.find(q) != std::string::npos;
    case kNotContains: return v.find(q) == std::string::npos;
    default: return true;
    }
}

bool testText(int type, std::string_view value, std::string_view query, std::string_view upper) {
    const std::string v = toUpper(value);
    const std::string q = clip(query);
    switch (type) {
    case kEquals: return equalBlankPadded(v, q);
    case kNotEquals: return !equalBlankPadded(v, q);
    case kBeginsWith: return equalBlankPadded(head(v, characterCount(q)), q);
    // Offered for long texts too; it tests as it does for short ones.
    case kEndsWith: return testString(type, value, query, upper);
    case kContains: return v.find(q) != std::string::npos;
    case kNotContains: return v.find(q) == std::string::npos;
    default: return true;
    }
}

bool testNumber(int type, std::int64_t value, std::int64_t query, std::int64_t upper,
                std::string_view picture) {
    const std::int64_t p = value;
    const std::int64_t q = query;
    const std::int64_t r = upper;
    switch (type) {
    case kEquals: return p == q;
    case kNotEquals: return p != q;
    case kMoreThan: return p > q;
    case kLessThan: return p < q;
    case kAtLeast: return p >= q;
    case kAtMost: return p <= q;
    case kInsideRange: return q <= p && p <= r;
    case kOutsideRange: return p < q || p > r;
    case kBeginsWith: {
        // With a divisor, p and q fall in the same run of r numbers;
        // without one (the window asks for none) p's text begins with q's.
        if (r != 0) return p / r == q / r;
        const std::string wanted = numberText(q, picture);
        return numberText(p, picture).compare(0, wanted.size(), wanted) == 0;
    }
    case kEndsWith: return endsWith(numberText(p, picture), numberText(q, picture));
    case kSameMonth: return monthOf(static_cast<Date>(p)) == monthOf(static_cast<Date>(q));
    case kSameDayOfMonth: return dayOf(static_cast<Date>(p)) == dayOf(static_cast<Date>(q));
    case kSameYear: return yearOf(static_cast<Date>(p)) == yearOf(static_cast<Date>(q));
    case kSameMonthAndDay:
        return monthOf(static_cast<Date>(p)) == monthOf(static_cast<Date>(q)) &&
               dayOf(static_cast<Date>(p)) == dayOf(static_cast<Date>(q));
    case kSameYearAndMonth:
        return yearOf(static_cast<Date>(p)) == yearOf(static_cast<Date>(q)) &&
               monthOf(static_cast<Date>(p)) == monthOf(static_cast<Date>(q));
    default: return true;
    }
}

std::string settleUpperLimit(std::string_view lower, std::string_view upper) {
    const auto low = numberIn(lower);
    const auto high = numberIn(upper);
    if (low && high && *high < *low) return std::string(lower);
    return std::string(upper);
}

bool rangeAccepted(std::string_view lower, std::string_view upper) {
    const auto low = numberIn(lower);
    const auto high = numberIn(upper);
    if (low && high) return *high > *low;
    return compareBlankPadded(upper, lower) > 0;
}

}  // namespace plorix::data
