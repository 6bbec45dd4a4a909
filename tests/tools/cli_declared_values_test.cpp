// Values plorix-cli takes only as their declarations allow: option fields
// the texts their windows offer, settings their known keys, types and ranges.

#include <filesystem>

#include "cli_fixture.h"

namespace plorix::test {
namespace {

TEST_F(Cli, OptionFieldsTakeTheOfferedTextsInAnyCaseAndStoreTheirSpelling) {
    // Refused in a folder that did not exist: the folder is not left behind.
    const auto fresh = dir.path() / "new";
    const ProcessResult r =
        runProcess({PLORIX_CLI_PATH, "-d", fresh.string(), "add", "Schedule", "SCH:TASKTYPE=Banana"});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_FALSE(std::filesystem::exists(fresh));

    ok({"tables"});
    const std::string before = dir.read("Px97.TPS");
    refusedNaming({"add", "Schedule", "SCH:SCHEDULETYPE=Weekly"}, "SCH:SCHEDULETYPE", "Weekly");
    refusedNaming({"add", "Schedule", "SCH:TASKTYPE=Banana"}, "SCH:TASKTYPE", "Banana");
    refusedNaming({"add", "Todo", "TDO:TODO=x", "TDO:PRIORITY=11"}, "TDO:PRIORITY", "11");
    refusedNaming({"add", "Messages", "M_:MAILTYPE=Fax"}, "M_:MAILTYPE", "Fax");
    EXPECT_EQ(dir.read("Px97.TPS"), before);  // nothing written

    EXPECT_EQ(ok({"add", "Schedule", "SCH:SCHEDULETYPE=day of WEEK", "SCH:TASKTYPE=display message",
                  "SCH:EVERYTYPE=HOUR(S)", "SCH:SHIFTTYPE=next day"}),
              "1\n");
    const std::string listed = ok({"list", "Schedule"});
    for (const char* stored : {"\"Day of Week\"", "\"Display Message\"", "\"hour(s)\"", "\"Next Day\""})
        EXPECT_NE(listed.find(stored), std::string::npos) << stored << '\n' << listed;
    refusedNaming({"set", "Schedule", "1", "SCH:SHIFTTYPE=Sideways"}, "SCH:SHIFTTYPE", "Sideways");
    EXPECT_EQ(ok({"list", "Schedule"}), listed);

    // A script field holds a list only for the action that offers it.
    EXPECT_EQ(ok({"add", "Scripting", "SCR:ID=1", "SCR:ACTION=file actions", "SCR:DDETYPE=get file size"}),
              "1\n");
    refusedNaming({"add", "Scripting", "SCR:ID=1", "SCR:ACTION=File Actions", "SCR:DDETYPE=Shred"},
                  "SCR:DDETYPE", "Shred");
    refusedNaming({"set", "Scripting", "1,1", "SCR:DDETYPE=Shred"}, "SCR:DDETYPE", "Shred");
    EXPECT_EQ(ok({"add", "Scripting", "SCR:ID=1", "SCR:ACTION=Start Program", "SCR:PATH=/usr/bin"}), "2\n");
    const std::string items = ok({"list", "Scripting"});
    EXPECT_NE(items.find("\"File Actions\""), std::string::npos) << items;
    EXPECT_NE(items.find("\"Get File Size\""), std::string::npos) << items;

    const std::string fields = ok({"fields", "Schedule"});
    EXPECT_NE(
        fields.find("SCH:SHIFTTYPE\tstring\t20\t\tSkip (to Next Valid Day)|Previous Day|Next Day|(blank)\n"),
        std::string::npos)
        << fields;
}

TEST_F(Cli, SettingsTakeKnownKeysAndValuesInTheMeaningSetupShows) {
    // Refused before anything is created.
    refusedNaming({"settings", "NoSuchKey", "5"}, "setting", "NoSuchKey");
    refusedNaming({"settings", "LogEvents", "yes"}, "LogEvents", "yes");
    EXPECT_FALSE(std::filesystem::exists(dir / "Px97.TPS"));

    ok({"tables"});
    // Both are ticked in SETUP on a fresh file, though stored inverted.
    EXPECT_EQ(ok({"settings", "StartUpSchedule"}), "1\n");
    EXPECT_EQ(ok({"settings", "startupactive"}), "1\n");
    ok({"settings", "StartUpActive", "0"});
    EXPECT_EQ(ok({"settings", "StartUpActive"}), "0\n");
    EXPECT_NE(ok({"list", "Configuration"}).find("\"StartUpActive\",\"1\""), std::string::npos);
    EXPECT_NE(ok({"settings"}).find("\nStartUpActive=0\n"), std::string::npos);

    refusedNaming({"settings", "ScriptingDelay", "10000000"}, "ScriptingDelay", "10000000");
    refusedNaming({"settings", "BurstSize", "256"}, "BurstSize", "256");
    refusedNaming({"settings", "DateFormat", "d99"}, "DateFormat", "d99");
    ok({"settings", "DateFormat", "31/10/1959"});
    EXPECT_EQ(ok({"settings", "DateFormat"}), "d6\n");
}

}  // namespace
}  // namespace plorix::test
