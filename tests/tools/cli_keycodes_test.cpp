// plorix-cli keycodes: the key list the keystroke help shows.

#include <gtest/gtest.h>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::test {
namespace {

TEST(CliKeycodes, ListsTheKeyNamesAndWritesTheFileTheHelpShows) {
    TempDir dir(false);
    const auto printed = runProcess({PLORIX_CLI_PATH, "keycodes"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    for (const char* name : {"ENTER", "AltF4", "PAUSE"})
        EXPECT_NE(printed.out.find(name), std::string::npos) << name;

    const std::string file = (dir / "KEYCODES.TXT").string();
    ASSERT_EQ(runProcess({PLORIX_CLI_PATH, "keycodes", file}).status, 0);
    EXPECT_EQ(dir.read("KEYCODES.TXT"), printed.out);
    EXPECT_EQ(runProcess({PLORIX_CLI_PATH, "keycodes", (dir / "no/such/folder/K.TXT").string()}).status, 2);
}

}  // namespace
}  // namespace plorix::test
