#include "script/window_pattern.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"

namespace plorix::script {
namespace {

TEST(TitlePattern, TheThreeFormsIgnoreLetterCase) {
    const std::string_view title = "Untitled - Notepad";
    EXPECT_TRUE(titleMatches("UNTITLED - NOTEPAD", title));
    EXPECT_TRUE(titleMatches("untitled - notepad   ", title));  // trailing blanks ignored
    EXPECT_TRUE(titleMatches("uNTITLED - *", title));
    EXPECT_TRUE(titleMatches("*notepad", title));
    EXPECT_TRUE(titleMatches("*D - N", title));
    EXPECT_FALSE(titleMatches("Untitled", title));  // no star: whole title only
    EXPECT_FALSE(titleMatches("Notepad*", title));
    EXPECT_FALSE(titleMatches("* Notepad2", title));
}

TEST(TitlePattern, StarsAndTildesOutsideTheFrontEdge) {
    // A star further on compares the text before it as a prefix; what follows is ignored.
    EXPECT_TRUE(titleMatches("Untitled*Word", "Untitled - Notepad"));
    // Only the rest after a leading star counts, trailing blanks removed,
    // leading blanks kept.
    EXPECT_TRUE(titleMatches("*pad   ", "Untitled - Notepad"));
    EXPECT_FALSE(titleMatches("* Untitled", "Untitled - Notepad"));
    // A lone star matches every title.
    EXPECT_TRUE(titleMatches("*", "anything"));
    // A prefix longer than the title compares as if the title were padded.
    EXPECT_TRUE(titleMatches("Run   *", "Run"));
    EXPECT_FALSE(titleMatches("Running*", "Run"));
    // The reversing tilde is no part of the pattern.
    EXPECT_TRUE(titleMatches("~untitled*", "Untitled - Notepad"));
    EXPECT_TRUE(isDisappearancePattern("~Notepad"));
    EXPECT_EQ(withoutDisappearanceMark("~Notepad"), "Notepad");
    EXPECT_FALSE(isDisappearancePattern(" ~Notepad"));
}

TEST(WindowSearch, ChildTextSkipsATitleMatchWithoutIt) {
    platform::FakeDesktop desktop;
    desktop.windows.add("");  // untitled windows are never listed
    const auto first = desktop.windows.add("Save As", {{"Button", "OK"}, {"Edit", "<>"}});
    const auto second = desktop.windows.add("Save As", {{"Static", "x"}, {"Button", "&Cancel"}});
    EXPECT_EQ(findWindow("save as", ""), first);
    EXPECT_EQ(findWindow("save as", "cancel  "), second);
    EXPECT_EQ(findWindow("Save*", "Apply"), platform::kNoWindow);
    EXPECT_EQ(findWindow("Open", ""), platform::kNoWindow);
    // Each search takes the window list afresh.
    const int before = desktop.windows.listings();
    desktop.windows.remove(first);
    EXPECT_EQ(findWindow("save as", ""), second);
    EXPECT_EQ(desktop.windows.listings(), before + 1);
}

TEST(WindowSearch, AQueryTakesAsManyMatchesAsItsLimitAllows) {
    platform::FakeWindows windows;
    const auto a = windows.add("Terminal 1");
    windows.add("Editor");
    const auto b = windows.add("Terminal 2");
    const auto c = windows.add("terminal 3");
    EXPECT_EQ(findWindows(windows, {"term*", "", 0}), (std::vector{a, b, c}));
    EXPECT_EQ(findWindows(windows, {"term*", "", 2}), (std::vector{a, b}));
    EXPECT_TRUE(findWindows(windows, {"*vim", "", 0}).empty());
}

}  // namespace
}  // namespace plorix::script
