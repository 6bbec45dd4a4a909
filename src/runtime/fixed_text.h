#pragma once
// Blank-padded text as the tables and the event log keep it: clipping,
// cutting to a width in characters (UTF-8 aware), padding, and comparisons
// that ignore trailing blanks and, for keys, letter case. Case folding is
// ASCII only, like the store's NOCASE collation; other characters pass through.

#include <cstddef>
#include <string>
#include <string_view>

namespace plorix {

// Text without its trailing blanks.
std::string clip(std::string_view text);
// Text without leading and trailing blanks, tabs, CRs and LFs.
std::string trim(std::string_view text);
// The same, as a view into `text`.
std::string_view trimmedView(std::string_view text);
// A number with at least two digits, "07" (as printf's %02d shows it).
std::string twoDigits(int n);

// Number of characters in UTF-8 text; each byte of an invalid sequence counts as one.
std::size_t characterCount(std::string_view text);
// The first `width` characters; never splits a multi-byte character.
std::string cutToWidth(std::string_view text, std::size_t width);
// Cut to `width` characters, then blanks appended up to `width`.
std::string padRight(std::string_view text, std::size_t width);
// Cut to `width` characters, then blanks put in front up to `width`.
std::string padLeft(std::string_view text, std::size_t width);

// ASCII letters changed to capitals / small letters.
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);

// Three-way byte comparison ignoring trailing blanks (<0, 0, >0).
int compareBlankPadded(std::string_view a, std::string_view b);
bool equalBlankPadded(std::string_view a, std::string_view b);
// As compareBlankPadded, but ASCII letter case is ignored too.
int compareNoCase(std::string_view a, std::string_view b);
bool equalNoCase(std::string_view a, std::string_view b);

// Prefix, suffix and substring tests ignoring ASCII letter case (trailing blanks count).
bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
bool containsNoCase(std::string_view text, std::string_view needle);
// Position of `needle` in `text` at or after `from`, ignoring case; npos if absent.
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);

}  // namespace plorix
