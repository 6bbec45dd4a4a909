// The conventions every program keeps: --version and --help without a
// display, unknown options refused, one data folder for the menu-started
// program and the command line, file names taken from the caller.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/served_run.h"

namespace plorix::test {
namespace {

namespace fs = std::filesystem;

TEST(Conventions, EveryProgramAnswersVersionAndHelpWithoutADisplayAndRefusesUnknownOptions) {
    const std::map<std::string, std::string> noDisplay{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    for (const std::string program : {PLORIX_CLI_PATH, PLORIX_PATH, KILLPROC_PATH, PXMSG_PATH}) {
        const std::string name = fs::path(program).filename().string();
        const ProcessResult version = runProcess({program, "--version"}, {}, noDisplay);
        EXPECT_EQ(version.status, 0) << name << version.err;
        EXPECT_EQ(version.out, name + " " PLORIX_VERSION "\n");
        const ProcessResult help = runProcess({program, "--help"}, {}, noDisplay);
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.out.rfind("usage: " + name, 0), 0u) << name << ": " << help.out;
    }
    for (const std::string program : {PLORIX_CLI_PATH, PLORIX_PATH}) {
        const ProcessResult refused = runProcess({program, "--no-such-option"}, {}, noDisplay);
        EXPECT_EQ(refused.status, 2) << program;
        EXPECT_NE(refused.err.find("unknown option --no-such-option"), std::string::npos) << refused.err;
    }
}

TEST(Conventions, TheDefaultDataFolderIsSharedAndReadsCreateNothing) {
    PLORIX_FILE_RUN_ONLY("the file made on first use");
    TempDir home(false);
    const std::map<std::string, std::string> env{{"HOME", home.path().string()}, {"XDG_DATA_HOME", ""}};
    const fs::path folder = home / ".local/share/plorix";

    const ProcessResult missing = runProcess({PLORIX_CLI_PATH, "list", "Todo"}, home.path().string(), env);
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "plorix-cli: no data file in " + folder.string() + "\n");
    EXPECT_FALSE(fs::exists(folder));

    EXPECT_EQ(
        runProcess({PLORIX_CLI_PATH, "add", "Todo", "TDO:TODO=Renew"}, home.path().string(), env).status, 0);
    EXPECT_TRUE(fs::exists(folder / "Px97.TPS"));
    // From anywhere else the same folder is found, and a file name is the
    // caller's: the export lands where the user stands.
    fs::create_directories(home / "work");
    const ProcessResult exported =
        runProcess({PLORIX_CLI_PATH, "export", "Todo", "todo.csv"}, (home / "work").string(), env);
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(fs::exists(home / "work/todo.csv"));
    EXPECT_FALSE(fs::exists(folder / "todo.csv"));

    // XDG_DATA_HOME wins over HOME, and a relative -d is the caller's too.
    const ProcessResult xdg =
        runProcess({PLORIX_CLI_PATH, "tables"}, home.path().string(),
                   {{"HOME", home.path().string()}, {"XDG_DATA_HOME", (home / "xdg").string()}});
    EXPECT_EQ(xdg.status, 0);
    EXPECT_TRUE(fs::exists(home / "xdg/plorix/Px97.TPS"));
    EXPECT_EQ(runProcess({PLORIX_CLI_PATH, "-d", "mine", "tables"}, home.path().string(), env).status, 0);
    EXPECT_TRUE(fs::exists(home / "mine/Px97.TPS"));
}

TEST(Conventions, FieldsListsTypesWidthsAndKeys) {
    const ProcessResult r = runProcess({PLORIX_CLI_PATH, "fields", "todo"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("TDO:PRIORITY\tbyte\t1\tTDO:KEYDONE,TDO:KEYPRIORITY,TDO:KEYCATEGORY\t1..10\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(runProcess({PLORIX_CLI_PATH, "fields", "Nothing"}).status, 2);
}

}  // namespace
}  // namespace plorix::test
