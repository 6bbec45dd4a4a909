// plorix-cli as a user runs it: a real data folder, the real binary.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"
#include "support/served_run.h"

namespace plorix::test {
namespace {

TEST_F(Cli, TablesOnAnEmptyFolderCreatesTheDataFileWithTwelveEmptyTables) {
    PLORIX_FILE_RUN_ONLY("the file made on first use");
    auto out = lines(ok({"tables"}));
    ASSERT_EQ(out.size(), 12u);
    EXPECT_TRUE(std::filesystem::exists(dir / "Px97.TPS"));
    for (const auto& line : out) EXPECT_EQ(line.substr(line.rfind('\t')), "\t0") << line;
    EXPECT_NE(out[0].find("Categories\tPX97\\!Categories\t2"), std::string::npos) << out[0];
}

TEST_F(Cli, AddNumbersTasksAndListShowsThemWithFullFieldNames) {
    EXPECT_EQ(ok({"add", "Schedule", "SCH:DESCRIPTION=Backup \"daily\"", "sch:date=2026-12-24",
                  "SCH:TIME=18:00", "SCH:MESSAGE=Time to back up"}),
              "1\n");
    EXPECT_EQ(ok({"add", "schedule", "SCH:DESCRIPTION=Second"}), "2\n");

    auto out = lines(ok({"list", "Schedule", "--key", "SCH:KEYID"}));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].rfind("\"SCH:USER\",\"SCH:ID\",\"SCH:TASKTYPE\"", 0), 0u) << out[0];
    EXPECT_NE(out[0].find("\"SCH:MESSAGE\""), std::string::npos);
    EXPECT_NE(out[1].find(",1,"), std::string::npos) << out[1];
    EXPECT_NE(out[1].find("\"Backup \"\"daily\"\"\""), std::string::npos) << out[1];
    EXPECT_NE(out[1].find("\"2026-12-24\",\"18:00:00\""), std::string::npos) << out[1];
    EXPECT_NE(out[1].find("\"Time to back up\""), std::string::npos) << out[1];
    // Dates and times of 0 are blank.
    EXPECT_NE(out[2].find("\"Second\""), std::string::npos);
    EXPECT_EQ(out[2].find("1800"), std::string::npos) << out[2];
}

TEST_F(Cli, ScriptItemsAreNumberedWithinTheirTask) {
    ok({"add", "Schedule", "SCH:DESCRIPTION=a"});
    EXPECT_EQ(ok({"add", "Scripting", "SCR:ID=1"}), "1\n");
    EXPECT_EQ(ok({"add", "Scripting", "SCR:ID=1", "SCR:ACTION=Wait"}), "2\n");
    EXPECT_EQ(ok({"add", "Scripting", "SCR:ID=7"}), "1\n");
    auto out = ok({"list", "Scripting"});
    // A new item is primed with its defaults.
    EXPECT_NE(out.find("\"Send Keystrokes\""), std::string::npos) << out;
    EXPECT_NE(out.find("86400"), std::string::npos) << out;
}

TEST_F(Cli, BadInputIsRefusedWithOneLineAndNothingWritten) {
    ok({"tables"});
    EXPECT_NE(refused({"add", "Nosuch", "X=1"}).find("unknown table"), std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "SCH:NOSUCH=1"}).find("SCH:NOSUCH"), std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "CAT:CATEGORY=x"}).find("CAT:CATEGORY"), std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "SCH:DATE=2026-02-30"}).find("SCH:DATE"), std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "SCH:TIME=25:00"}).find("SCH:TIME"), std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "SCH:EVERY=abc"}).find("SCH:EVERY"), std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "SCH:ALARM=300"}).find("SCH:ALARM"), std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "SCH:DESCRIPTION=" + std::string(41, 'x')}).find("SCH:DESCRIPTION"),
              std::string::npos);
    EXPECT_NE(refused({"add", "Schedule", "novalue"}).find("FIELD=VALUE"), std::string::npos);
    refused({"frobnicate"});
    EXPECT_EQ(recordCount("Schedule"), 0u);
}

TEST_F(Cli, DuplicateKeysAreRefusedNamingTheKey) {
    ok({"add", "Categories", "CAT:CATEGORY=Work"});
    EXPECT_NE(refused({"add", "Categories", "CAT:CATEGORY=WORK"}).find("CAT:KEYCATEGORY"), std::string::npos);
    ok({"add", "Schedule", "SCH:DESCRIPTION=a"});
    EXPECT_NE(refused({"add", "Schedule", "SCH:ID=1"}).find("SCH:KEYID"), std::string::npos);
    EXPECT_EQ(recordCount("Categories"), 1u);
    EXPECT_EQ(recordCount("Schedule"), 1u);
}

TEST_F(Cli, SetAndDeleteByPrimaryKeyOrPosition) {
    ok({"add", "Schedule", "SCH:DESCRIPTION=first"});
    ok({"add", "Schedule", "SCH:DESCRIPTION=second"});
    ok({"set", "Schedule", "2", "SCH:DESCRIPTION=changed", "SCH:DISABLED=1"});
    auto out = ok({"list", "Schedule"});
    EXPECT_NE(out.find("\"changed\""), std::string::npos);
    EXPECT_EQ(out.find("\"second\""), std::string::npos);

    refused({"set", "Schedule", "9", "SCH:DESCRIPTION=x"});
    refused({"set", "Schedule", "2", "SCH:DESCRIPTION=" + std::string(50, 'y')});
    ok({"delete", "Schedule", "1"});
    refused({"delete", "Schedule", "1"});
    EXPECT_EQ(recordCount("Schedule"), 1u);

    // Tables without a primary key are addressed by position.
    ok({"add", "Todo", "TDO:TODO=Buy milk"});
    auto todo = lines(ok({"list", "Todo", "--positions"}));
    ASSERT_EQ(todo.size(), 2u);
    const std::string pos = todo[1].substr(1, todo[1].find('"', 1) - 1);
    ASSERT_EQ(pos.front(), '#') << todo[1];
    EXPECT_NE(refused({"delete", "Todo", "1"}).find("position"), std::string::npos);
    ok({"set", "Todo", pos, "TDO:DONE=1"});
    ok({"delete", "Todo", pos});
    EXPECT_EQ(recordCount("Todo"), 0u);
}

TEST_F(Cli, DeletingATaskTakesItsScriptItemsAndLinks) {
    ok({"add", "Schedule", "SCH:DESCRIPTION=first"});
    ok({"add", "Schedule", "SCH:DESCRIPTION=second"});
    ok({"add", "Scripting", "SCR:ID=1"});
    ok({"add", "Scripting", "SCR:ID=1"});
    ok({"add", "Scripting", "SCR:ID=2"});
    ok({"add", "Link", "L:ID=1", "L:CLIENTID=4"});
    ok({"add", "Link", "L:ID=2", "L:CLIENTID=4"});
    ok({"delete", "Schedule", "1"});
    EXPECT_EQ(recordCount("Schedule"), 1u);
    EXPECT_EQ(recordCount("Scripting"), 1u);
    EXPECT_EQ(recordCount("Link"), 1u);
    EXPECT_NE(ok({"list", "Link"}).find("\n2,4\n"), std::string::npos);
}

TEST_F(Cli, ACategoryStillUsedIsNeitherDeletedNorRenamed) {
    ok({"add", "Categories", "CAT:CATEGORY=Work"});
    ok({"add", "Schedule", "SCH:DESCRIPTION=report", "SCH:CATEGORY=Work"});
    const auto listed = lines(ok({"list", "Categories", "--positions"}));
    ASSERT_EQ(listed.size(), 2u);
    const std::string work = listed[1].substr(1, listed[1].find('"', 1) - 1);
    EXPECT_EQ(refused({"delete", "Categories", work}),
              "plorix-cli: Referential Integrity Delete Error: This record is referenced from the file "
              "Schedule.  This record cannot be deleted while these references exist.\n");
    EXPECT_NE(
        refused({"set", "Categories", work, "CAT:CATEGORY=Job"}).find("Referential Integrity Update Error"),
        std::string::npos);
    EXPECT_NE(ok({"list", "Categories"}).find("\"Work\""), std::string::npos);
    ok({"delete", "Schedule", "1"});
    ok({"delete", "Categories", work});
    EXPECT_EQ(recordCount("Categories"), 0u);
}

TEST_F(Cli, SettingsAreWrittenToTheTableAndReadBack) {
    ok({"settings", "LogEvents", "1"});
    EXPECT_EQ(ok({"settings", "logevents"}), "1\n");
    auto all = ok({"settings"});
    EXPECT_NE(all.find("LogEvents=1\n"), std::string::npos) << all;
    EXPECT_NE(all.find("ScriptingDelay=50\n"), std::string::npos) << all;
    refused({"settings", "Host", std::string(81, 'h')});
}

TEST_F(Cli, CheckPassesOnAFreshFileAndLogPrintsNothingYet) {
    ok({"tables"});
    auto out = lines(ok({"check"}));
    EXPECT_EQ(out.size(), 12u);
    for (const auto& line : out) EXPECT_EQ(line.substr(line.find('\t')), "\tok");
    EXPECT_EQ(ok({"log"}), "");
}

}  // namespace
}  // namespace plorix::test
