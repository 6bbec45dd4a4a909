// plorix-cli export, import and sync through the real binary and real data
// folders.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/served_run.h"

namespace plorix::test {
namespace {

class CliExchange : public ::testing::Test {
protected:
    ProcessResult cli(const std::string& folder, std::vector<std::string> args) {
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", (dir / folder).string()});
        return runProcess(args);
    }
    std::string ok(const std::string& folder, std::vector<std::string> args) {
        auto r = cli(folder, std::move(args));
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
    // An export or import: its count on standard error, nothing on standard output.
    std::string counted(const std::string& folder, std::vector<std::string> args) {
        auto r = cli(folder, std::move(args));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        return r.err;
    }
    std::string refused(const std::string& folder, std::vector<std::string> args) {
        auto r = cli(folder, std::move(args));
        EXPECT_EQ(r.status, 2) << r.out;
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
        return r.err;
    }
    void SetUp() override {
        std::filesystem::create_directories(dir / "desktop");
        std::filesystem::create_directories(dir / "laptop");
    }
    TempDir dir{false};
};

TEST_F(CliExchange, ExportedTasksImportBackByNameOrByColumn) {
    PLORIX_FILE_RUN_ONLY("two data folders: the programs a test starts share its one served data set");
    ok("desktop", {"add", "Schedule", "SCH:DESCRIPTION=Backup, \"daily\"", "SCH:CATEGORY=Home",
                   "SCH:DATE=2025-10-31", "SCH:TIME=17:30", "SCH:FRIDAY=1"});
    const std::string file = (dir / "tasks.csv").string();
    EXPECT_EQ(counted("desktop", {"export", "Schedule", file}), "1 records exported\n");
    EXPECT_EQ(counted("laptop", {"import", "schedule", file}), "1 records imported\n");
    const std::string listed = ok("laptop", {"list", "Schedule"});
    EXPECT_NE(listed.find("\"Backup, \"\"daily\"\"\""), std::string::npos) << listed;
    EXPECT_NE(listed.find("\"2025-10-31\",\"17:30:00\""), std::string::npos) << listed;

    ok("desktop", {"export", "Schedule", file, "--fields", "sch:date,SCH:Description", "--no-header"});
    EXPECT_EQ(dir.read("tasks.csv"), "\"Backup, \"\"daily\"\"\",\"31/10/2025\"\r\n");
    dir.write("mapped.csv", "\"2025/12/24\",\"Gifts\"\r\n");
    EXPECT_EQ(counted("laptop", {"import", "Schedule", (dir / "mapped.csv").string(), "--no-names", "--map",
                                 "2=SCH:Description,Field_1=SCH:LastRunDate@d10"}),
              "1 records imported\n");
    EXPECT_NE(ok("laptop", {"list", "Schedule"}).find("\"Gifts\""), std::string::npos);
}

TEST_F(CliExchange, LinesLeftOutAreToldOneEachAndTheRestImported) {
    dir.write("todo.csv", "\"TDO:ToDo\",\"TDO:Priority\"\r\n\"a\",1\r\n\"b\",x\r\n\"c\"\r\n\"d\",4\r\n");
    auto r = cli("laptop", {"import", "Todo", (dir / "todo.csv").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    const auto err = lines(r.err);
    ASSERT_EQ(err.size(), 3u) << r.err;
    EXPECT_EQ(err[2], "2 records imported");
    EXPECT_NE(err[0].find("line 3: column 2 (TDO:Priority): 'x' is not a number"), std::string::npos)
        << err[0];
    EXPECT_NE(err[1].find("line 4: has 1 fields where the first line has 2"), std::string::npos) << err[1];
}

TEST_F(CliExchange, RefusalsAreOneLine) {
    PLORIX_FILE_RUN_ONLY("two data folders: the programs a test starts share its one served data set");
    const std::string file = (dir / "x.csv").string();
    EXPECT_NE(refused("laptop", {"export", "Todo", file}).find("no data file in"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "laptop" / "Px97.TPS"));  // a read creates nothing
    cli("laptop", {"tables"});
    EXPECT_NE(refused("laptop", {"export", "Categories", file}).find("cannot exchange table"),
              std::string::npos);
    EXPECT_NE(refused("laptop", {"export", "Todo", file, "--fields", "TDO:Nope"}).find("TDO:Nope"),
              std::string::npos);
    EXPECT_NE(refused("laptop", {"export", "Todo", (dir / "no/such/x.csv").string()}).find("Cannot CREATE"),
              std::string::npos);
    EXPECT_NE(refused("laptop", {"import", "Todo", file}).find("Cannot OPEN"), std::string::npos);
    dir.write("x.csv", "");
    EXPECT_NE(refused("laptop", {"import", "Todo", file}).find("That file is empty!"), std::string::npos);
    dir.write("x.csv", "\"Other\",\"Names\"\r\n\"a\",\"b\"\r\n");
    EXPECT_NE(
        refused("laptop", {"import", "Todo", file}).find("You must select one or more fields to import."),
        std::string::npos);
    EXPECT_NE(refused("laptop", {"import", "Todo", file, "--map", "3=TDO:ToDo"}).find("no column '3'"),
              std::string::npos);
    EXPECT_NE(refused("laptop", {"import", "Todo", file, "--map", "other=TDO:CompletionDate@x9"})
                  .find("not a picture"),
              std::string::npos);
    EXPECT_NE(
        refused("laptop", {"export", "Contact", (dir / "laptop" / "Px97.TPS").string()}).find("data file"),
        std::string::npos);
    EXPECT_TRUE(std::filesystem::file_size(dir / "laptop" / "Px97.TPS") > 0);
}

TEST_F(CliExchange, SyncSendAndReceiveBetweenTwoFolders) {
    PLORIX_FILE_RUN_ONLY("two data folders: the programs a test starts share its one served data set");
    ok("desktop", {"add", "Schedule", "SCH:DESCRIPTION=Backup", "SCH:CATEGORY=Home"});
    ok("desktop", {"add", "Scripting", "SCR:ID=1", "SCR:KEYSTROKES=hello"});
    ok("desktop", {"add", "Todo", "TDO:TODO=Buy milk"});
    const std::string transfer = (dir / "SyncSch.syn").string();
    EXPECT_EQ(counted("desktop", {"sync", "send", transfer}),
              "sent 1 tasks, 1 script items, 1 to-do items\n");
    ok("laptop", {"add", "Schedule", "SCH:DESCRIPTION=Mine"});
    EXPECT_EQ(counted("laptop", {"sync", "receive", transfer}),
              "received 1 tasks (0 local replaced, 0 left out for a newer local copy), 1 script items, "
              "1 to-do items (0 local replaced, 0 left out)\n");
    const std::string items = ok("laptop", {"list", "Scripting"});
    EXPECT_NE(items.find("\n2,1,\"Send Keystrokes\",\"hello\""), std::string::npos) << items;

    dir.write("bad.syn", "not a transfer file at all");
    EXPECT_NE(refused("laptop", {"sync", "receive", (dir / "bad.syn").string()}).find("Synchronize: "),
              std::string::npos);
    refused("laptop", {"sync", "fetch", transfer});
}

}  // namespace
}  // namespace plorix::test
