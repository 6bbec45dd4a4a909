#include "runtime/fixed_text.h"

#include <gtest/gtest.h>

namespace plorix {
namespace {

TEST(FixedText, ClipTrimAndPad) {
    EXPECT_EQ(clip("Started   "), "Started");
    EXPECT_EQ(clip("  a b  "), "  a b");
    EXPECT_EQ(trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(padRight("Run Program", 15), "Run Program    ");
    EXPECT_EQ(padRight("abcdef", 3), "abc");
    EXPECT_EQ(padLeft("42", 5), "   42");
}

TEST(FixedText, WidthsCountCharactersNotBytes) {
    const std::string text = "Zürich→東京";  // 9 characters, 15 bytes
    EXPECT_EQ(characterCount(text), 9u);
    EXPECT_EQ(cutToWidth(text, 2), "Zü");
    EXPECT_EQ(cutToWidth(text, 7), "Zürich→");
    EXPECT_EQ(cutToWidth(text, 100), text);
    EXPECT_EQ(padRight("Zü", 4), "Zü  ");
    EXPECT_EQ(characterCount(padRight(text, 30)), 30u);
}

TEST(FixedText, InvalidUtf8CountsBytesAndNeverCrashes) {
    const std::string broken =
        "a\xC3"
        "b\xE2\x86"
        "c\xFF\x80";
    EXPECT_EQ(characterCount(broken), 8u);
    EXPECT_EQ(cutToWidth(broken, 2), "a\xC3");
    EXPECT_EQ(cutToWidth("\xE2\x86", 1), "\xE2");  // truncated sequence at the end
    EXPECT_EQ(cutToWidth("\xF0\x9F\x98\x80x", 1), "\xF0\x9F\x98\x80");
}

TEST(FixedText, ComparisonsIgnoreTrailingBlanksAndOptionallyCase) {
    EXPECT_TRUE(equalBlankPadded("Main   ", "Main"));
    EXPECT_FALSE(equalBlankPadded("Main", "main"));
    EXPECT_FALSE(equalBlankPadded(" Main", "Main"));
    EXPECT_TRUE(equalNoCase("BrowseSchedule ", "BROWSESCHEDULE"));
    EXPECT_LT(compareNoCase("apple", "Banana"), 0);
    EXPECT_GT(compareBlankPadded("apple", "Banana"), 0);  // bytes: 'a' after 'B'
    EXPECT_LT(compareNoCase("abc", "abcd"), 0);
    EXPECT_EQ(compareNoCase("ÄBC", "ÄBC"), 0);
    EXPECT_NE(compareNoCase("ä", "Ä"), 0);  // ASCII folding only, as the store's NOCASE
    EXPECT_EQ(toUpper("Px98.ini ü"), "PX98.INI ü");
    EXPECT_EQ(toLower("PX98.INI"), "px98.ini");
}

TEST(FixedText, SearchesIgnoringCase) {
    EXPECT_TRUE(startsWithNoCase("If Time Elapsed...", "if t"));
    EXPECT_FALSE(startsWithNoCase("If", "if t"));
    EXPECT_TRUE(endsWithNoCase("script.PXS", ".pxs"));
    EXPECT_TRUE(containsNoCase("Untitled - Notepad", "NOTEPAD"));
    EXPECT_EQ(findNoCase("abcABC", "abc", 1), 3u);
    EXPECT_EQ(findNoCase("abc", "abcd"), std::string_view::npos);
    EXPECT_EQ(findNoCase("abc", "", 3), 3u);
    EXPECT_EQ(findNoCase("abc", "a", 4), std::string_view::npos);
}

}  // namespace
}  // namespace plorix
