// plorix-cli run-script: a script file run by the real binary in a real
// folder, on the real clock.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "mail/servers/test_servers.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::test {
namespace {

class RunScript : public ::testing::Test {
protected:
    // The script file is named as a user in the data folder names it: the
    // name is the caller's, so the test passes it with its folder.
    ProcessResult run(std::vector<std::string> args) {
        if (!args.empty()) args[0] = (dir / args[0]).string();
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", dir.path().string(), "run-script"});
        return runProcess(args);
    }
    // The printed lines with the time of day replaced by "T".
    static std::vector<std::string> withoutTimes(const std::string& out) {
        static const std::regex time("^[0-9]{2}:[0-9]{2}:[0-9]{2}\t");
        std::vector<std::string> result;
        for (const std::string& line : lines(out)) result.push_back(std::regex_replace(line, time, "T\t"));
        return result;
    }
    TempDir dir{false};
};

// A script that computes, copies a file, tests and branches.
const char* const kScript =
    "\"Set Value\",\"BASE\",\"7\",\"\",\"\",\"\"\r\n"
    "\"Set Value\",\"COUNT\",\"=(2+4)*[BASE]\",\"\",\"\",\"\"\r\n"
    "\"File Actions\",\"Copy\",\"notes.txt\",\"Backup Folder\",\"\",\"\"\r\n"
    "\"If Value...\",\"FILECOPY\",\"=\",\"1\",\"\",\"\"\r\n"
    "\"Display Message\",\"Copied [COUNT]\",\"Done\",\"\",\"\",\"\"\r\n"
    "\"...End If\",\"\",\"\",\"\",\"\",\"\"\r\n"
    "\"If Window...\",\"Window Exists\",\"*run-script test: no such window\",\"\",\"\",\"\"\r\n"
    "\"Set Value\",\"SEEN\",\"a window\",\"\",\"\",\"\"\r\n"
    "\"...End If\",\"\",\"\",\"\",\"\",\"\"\r\n";

TEST_F(RunScript, RunsEveryItemAndPrintsItsValues) {
    dir.write("job.pxs", kScript);
    dir.write("notes.txt", "n");
    std::filesystem::create_directory(dir / "Backup Folder");
    const ProcessResult r = run({"job.pxs"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(withoutTimes(r.out), (std::vector<std::string>{
                                       "T\tSet Value\tBASE = 7",
                                       "value BASE=7",
                                       "T\tSet Value\tCOUNT = =(2+4)*[BASE]",
                                       "value COUNT=42",
                                       "T\tFile Actions\tCopy ( notes.txt , Backup Folder )",
                                       "value FILECOPY=1",
                                       "value ERRORCODE=0",
                                       "T\tIf Value...\tFILECOPY = 1",
                                       "T\tDisplay Message\tCopied [COUNT] Done",
                                       "T\t...End If\t",
                                       // No such window: the test fails and its
                                       // block, "...End If" included, is skipped.
                                       "T\tIf Window...\t*run-script test: no such window - Window Exists",
                                   }));
    EXPECT_EQ(dir.read("Backup Folder/notes.txt"), "n");
    EXPECT_NE(r.err.find("Done: Copied 42"), std::string::npos) << r.err;
    // No data file is made for running a script.
    EXPECT_FALSE(std::filesystem::exists(dir / "Px97.TPS"));
}

TEST_F(RunScript, DryRunChangesNoFiles) {
    dir.write("job.pxs", kScript);
    dir.write("notes.txt", "n");
    std::filesystem::create_directory(dir / "Backup Folder");
    const ProcessResult r = run({"job.pxs", "--dry-run"});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto out = withoutTimes(r.out);
    ASSERT_GE(out.size(), 7u) << r.out;
    EXPECT_EQ(out[4], "T\tFile Actions\tCopy ( notes.txt , Backup Folder )");
    EXPECT_EQ(out[5], "T\tIf Value...\tFILECOPY = 1");  // nothing was stored: skipped
    EXPECT_EQ(out[6], "T\tIf Window...\t*run-script test: no such window - Window Exists");
    EXPECT_FALSE(std::filesystem::exists(dir / "Backup Folder/notes.txt"));
}

// On a real desktop (the test suite's Xvfb): a program is started, its
// window waited for and typed into until it closes, and waited out again.
TEST_F(RunScript, DrivesARealWindowOnTheDesktop) {
    if (!std::getenv("DISPLAY") || !std::filesystem::exists("/usr/bin/xterm"))
        GTEST_SKIP() << "needs an X display and xterm";
    const std::string title = "run-script probe " + std::to_string(getpid());
    dir.write("desktop.pxs", "\"Start Program\",\"/usr/bin/xterm -title '" + title +
                                 "'\",\"\",\"022\",\"0\",\"\"\r\n"
                                 "\"Wait\",\"10\",\"" +
                                 title +
                                 "\",\"Or\",\"\",\"\"\r\n"
                                 "\"Set Value\",\"SEEN\",\"[FOCUS]\",\"\",\"\",\"\"\r\n"
                                 "\"Send Keystrokes\",\"exit[ENTER]\",\"\",\"\",\"\",\"\"\r\n"
                                 "\"Wait\",\"10\",\"~" +
                                 title +
                                 "\",\"Or\",\"\",\"\"\r\n"
                                 "\"If Window...\",\"Window Doesn't Exist\",\"" +
                                 title +
                                 "\",\"\",\"\",\"\"\r\n"
                                 "\"Set Value\",\"GONE\",\"yes\",\"\",\"\",\"\"\r\n"
                                 "\"...End If\",\"\",\"\",\"\",\"\",\"\"\r\n");
    const ProcessResult r = run({"desktop.pxs"});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    EXPECT_NE(std::find(out.begin(), out.end(), "value SEEN=" + title), out.end()) << r.out;
    EXPECT_NE(std::find(out.begin(), out.end(), "value GONE=yes"), out.end()) << r.out;
}

TEST_F(RunScript, AFileThatCannotBeReadFailsAndBadArgumentsAreRefused) {
    const ProcessResult missing = run({"nowhere.pxs"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.empty()) << missing.out;
    EXPECT_NE(missing.err.find("View Open Error"), std::string::npos) << missing.err;

    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"a.pxs", "b.pxs"}).status, 2);
    EXPECT_EQ(run({"a.pxs", "--fast"}).status, 2);
}

TEST_F(RunScript, TheIniDebugSwitchShowsTheDebuggingMessages) {
    dir.write("test.pxs",
              "\"If Value...\",\"NOSUCH\",\"=\",\"x\",\"\",\"\"\r\n"
              "\"...End If\",\"\",\"\",\"\",\"\",\"\"\r\n");
    const ProcessResult quiet = run({"test.pxs", "--dry-run"});
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.err.find("Test failed"), std::string::npos) << quiet.err;

    dir.write("PX98.ini", "[Settings]\r\nDebug=1\r\n");
    const ProcessResult debugging = run({"test.pxs", "--dry-run"});
    EXPECT_EQ(debugging.status, 0) << debugging.err;
    EXPECT_NE(debugging.err.find("Test failed: Removing task items."), std::string::npos) << debugging.err;
}

TEST_F(RunScript, MailGoesOutAndFailedItemsEndWithStatusOne) {
    mail::test::SinkServer server("smtp_sink.py");
    const auto cli = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", dir.path().string()});
        EXPECT_EQ(runProcess(args).status, 0);
    };
    cli({"settings", "Host", server.address()});
    cli({"settings", "Sender", "me@example.org"});
    cli({"add", "Messages", "M_:EMAILID=1", "M_:EMAILTO=ann@example.org", "M_:SUBJECT=Report"});
    // A line break smuggling a second recipient past the first.
    cli({"add", "Messages", "M_:EMAILID=2", "M_:EMAILTO=ok@example.com\r\nRCPT TO:<other@example.org>",
         "M_:SUBJECT=Sneaky"});
    dir.write("mail.pxs",
              "\"Send Email\",\"1\",\"\",\"\",\"\",\"\"\r\n"
              "\"Send Email\",\"2\",\"\",\"\",\"\",\"\"\r\n"
              "\"Juggle Chainsaws\",\"\",\"\",\"\",\"\",\"\"\r\n"
              "\"Start Program\",\"/nonexistent/plorix-test-program\",\"\",\"\",\"\",\"\"\r\n"
              "\"Set Value\",\"DONE\",\"yes\",\"\",\"\",\"\"\r\n");
    const ProcessResult r = run({"mail.pxs"});
    EXPECT_EQ(r.status, 1) << r.err;
    // The rest ran as in the program; each failure is named.
    EXPECT_NE(r.out.find("value DONE=yes"), std::string::npos) << r.out;
    for (const char* told : {"Send Email: message 2 was not sent", "(15)", "Juggle Chainsaws: no such action",
                             "could not start /nonexistent/plorix-test-program", "3 item(s) failed"})
        EXPECT_NE(r.err.find(told), std::string::npos) << told << "\n" << r.err;
    ASSERT_TRUE(server.waitFor(1));
    EXPECT_EQ(server.message(1).recipients(), std::vector<std::string>{"ann@example.org"});
    EXPECT_EQ(server.count(), 1);
}

}  // namespace
}  // namespace plorix::test
