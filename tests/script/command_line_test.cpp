#include "script/command_line.h"

#include <gtest/gtest.h>

namespace plorix::script {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineSplit, QuotesGroupAndBackslashesStay) {
    EXPECT_EQ(splitCommandLine("xterm -title 'My Term' -e top"),
              (Args{"xterm", "-title", "My Term", "-e", "top"}));
    EXPECT_EQ(splitCommandLine("\"/opt/my app/run\"   --file=\"a b\"c"),
              (Args{"/opt/my app/run", "--file=a bc"}));
    EXPECT_EQ(splitCommandLine("C:\\Tools\\run.exe \\\\server\\share"),
              (Args{"C:\\Tools\\run.exe", "\\\\server\\share"}));
    EXPECT_EQ(splitCommandLine("echo \"it's\" '\"quoted\"'"), (Args{"echo", "it's", "\"quoted\""}));
    EXPECT_EQ(splitCommandLine("prog \"\" ''"), (Args{"prog", "", ""}));
    EXPECT_EQ(splitCommandLine("\ta\t b  "), (Args{"a", "b"}));
    EXPECT_EQ(splitCommandLine("   "), Args{});
}

TEST(CommandLineSplit, AnOpenQuoteIsRefused) {
    EXPECT_EQ(splitCommandLine("prog \"unclosed arg"), std::nullopt);
    EXPECT_EQ(splitCommandLine("prog 'x"), std::nullopt);
    EXPECT_EQ(splitCommandLine("\""), std::nullopt);
}

TEST(CommandRetrySplits, FirstSplitHonoursALeadingQuote) {
    EXPECT_EQ(firstSplit("\"/opt/my app/run\" -v  x "), (CommandSplit{"/opt/my app/run", "-v  x"}));
    EXPECT_EQ(firstSplit("\"/opt/my app/run\""), (CommandSplit{"/opt/my app/run", ""}));
    EXPECT_EQ(firstSplit("\"/opt/unclosed -v"), std::nullopt);
    EXPECT_EQ(firstSplit("/usr/bin/run  -v"), (CommandSplit{"/usr/bin/run", "-v"}));
    EXPECT_EQ(firstSplit("/usr/bin/run"), std::nullopt);
    EXPECT_EQ(firstSplit("run "), std::nullopt);  // a blank at the end is no split point
}

TEST(CommandRetrySplits, FromTheRightAtEveryBlank) {
    EXPECT_EQ(
        splitsFromTheRight("/opt/My Tools/run file.txt"),
        (std::vector<CommandSplit>{{"/opt/My Tools/run", "file.txt"}, {"/opt/My", "Tools/run file.txt"}}));
    // Blanks in the first two and the last place are never split points.
    EXPECT_TRUE(splitsFromTheRight("a b").empty());
    EXPECT_EQ(splitsFromTheRight("ab c d"), (std::vector<CommandSplit>{{"ab c", "d"}, {"ab", "c d"}}));
    EXPECT_TRUE(splitsFromTheRight("").empty());
    EXPECT_TRUE(splitsFromTheRight("x").empty());
}

}  // namespace
}  // namespace plorix::script
