#include "settings/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/raw_data_file.h"
#include "data/tables.h"
#include "runtime/ini_file.h"
#include "settings/configuration.h"
#include "settings/setting_table.h"
#include "settings/setup.h"
#include "support/temp_dir.h"

namespace plorix::settings {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        setProcessPrompter(&prompter);
        use.emplace(configurationTable(), prompter);
    }
    void TearDown() override {
        use.reset();
        setProcessPrompter(nullptr);
        data::resetProcessTables();
        data::resetUseCounts();
    }
    // Every Configuration record as key=value, in key order.
    std::vector<std::string> stored() {
        std::vector<std::string> out;
        store::Table& t = configurationTable();
        t.setStart(data::keys::Configuration::KEYDATATYPE);
        while (t.next() == store::kNoError) {
            const auto& r = t.rec<data::Configuration>();
            out.push_back(r.DATATYPE.str() + "=" + r.DATAVALUE.str());
        }
        return out;
    }

    test::TempDir dir;
    RecordingPrompter prompter;
    std::optional<data::TableUse> use;
};

TEST_F(SettingsTest, FirstStartTakesAValueFromTheIniFileIntoTheTable) {
    dir.write("PX98.ini", "[Settings]\r\nLogEvents=1\r\nScriptingDelay=\r\n");
    Settings s;
    loadSettings(s);
    EXPECT_TRUE(s.LogEvents);
    EXPECT_EQ(stored(), std::vector<std::string>{"LogEvents=1"});  // absent keys stay absent
    // Defaults of absent keys.
    EXPECT_TRUE(s.StartUpSchedule);
    EXPECT_TRUE(s.StartUpActive);
    EXPECT_EQ(s.DateFormat, "d3");
    EXPECT_EQ(s.ScriptingDelay, 50);
    EXPECT_EQ(s.BurstSize, 7);
    EXPECT_EQ(s.MaxClipboardEntries, 50);
    EXPECT_TRUE(prompter.shown().empty());

    // The table now answers, whatever the INI file says.
    dir.write("PX98.ini", "[Settings]\r\nLogEvents=0\r\n");
    Settings again;
    loadSettings(again);
    EXPECT_TRUE(again.LogEvents);
}

TEST_F(SettingsTest, GetSettingFallsBackWithTheCallersDefault) {
    EXPECT_EQ(getSetting("LastNewsgroup", "comp.misc"), "comp.misc");
    EXPECT_EQ(getSetting("LastMassMailing", "Friends", kSettingsIni, true), "");
    EXPECT_EQ(stored(), std::vector<std::string>{"LastNewsgroup=comp.misc"});

    IniFile(winIniPath()).putString("Settings", "Host", "mail.example.org");
    EXPECT_EQ(getSetting("Host", "", kSettingsIni, false, true), "mail.example.org");
    EXPECT_EQ(getSetting("Host"), "mail.example.org");
}

TEST_F(SettingsTest, ALookUpThatFailsIsReportedAndReadsAsBlank) {
    putSetting("MaxClipboardEntries", "20");
    test::RawDataFile otherStation((dir / "Px97.TPS").string());
    otherStation.exec("BEGIN EXCLUSIVE");
    Settings s;
    loadSetting("MaxClipboardEntries", s);
    otherStation.exec("ROLLBACK");
    EXPECT_EQ(s.MaxClipboardEntries, 0);  // not the default of 50
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Error!");
    EXPECT_EQ(prompter.shown()[0].text,
              "Error retrieving configuration information code "
              "MaxClipboardEntries                      - File Is Locked");
}

TEST_F(SettingsTest, MinimumsAndInversionsApplyOnLoad) {
    putSetting("ScriptingDelay", 10);
    putSetting("BurstSize", 0);
    putSetting("StartUpSchedule", "1");
    putSetting("StartUpActive", "0");
    putSetting("MaxClipboardEntries", "0");
    putSetting("DateFormat", "d17");
    Settings s;
    loadSettings(s);
    EXPECT_EQ(s.ScriptingDelay, 50);
    EXPECT_EQ(s.BurstSize, 7);
    EXPECT_FALSE(s.StartUpSchedule);
    EXPECT_TRUE(s.StartUpActive);
    EXPECT_EQ(s.MaxClipboardEntries, 0);
    EXPECT_EQ(s.DateFormat, "d17");

    putSetting("ScriptingDelay", 75);
    putSetting("BurstSize", 3);
    putSetting("StartUpSchedule", "0");
    loadSettings(s);
    EXPECT_EQ(s.ScriptingDelay, 75);
    EXPECT_EQ(s.BurstSize, 3);
    EXPECT_TRUE(s.StartUpSchedule);
}

TEST_F(SettingsTest, InactiveSwitchOverridesStartUpActiveAndRefusesSetup) {
    putSetting("StartUpActive", "0");
    Settings s;
    s.inactivated = isInactiveSwitch("/i");
    loadSettings(s);
    EXPECT_FALSE(s.StartUpActive);
    EXPECT_TRUE(setupRefused(prompter, s));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Warning");
    EXPECT_EQ(prompter.shown()[0].text, "Configuration cannot be changed in \"inactivated\" mode.");
    EXPECT_FALSE(setupRefused(prompter, Settings{}));
}

TEST_F(SettingsTest, StartUpReadsWinIniWritesVersionAndAnnouncesDebugging) {
    IniFile(winIniPath()).putString("Plorix", "Monitor Windows", "1");
    IniFile(winIniPath()).putString("Plorix", "MaxWindows", "0");
    dir.write("px98.INI", "[Settings]\r\nDebug=1\r\n");
    Settings s;
    startUpSettings(prompter, s);
    EXPECT_TRUE(s.monitorWindows);
    EXPECT_EQ(s.maxWindows, 100);
    EXPECT_TRUE(s.debugIni);
    EXPECT_EQ(getSetting("Version"), "1.7a");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Debug");
    EXPECT_EQ(prompter.shown()[0].text, "Debugging Active");
}

TEST_F(SettingsTest, MultiUserIdentity) {
    putSetting("MultiUser", "1");
    Settings s;
    loadSettings(s);
    EXPECT_FALSE(s.UserID.empty());
    EXPECT_EQ(s.UserID, networkUserName().substr(0, 30));
    EXPECT_EQ(ownerValue(s), s.UserID);

    putSetting("UserID", "frontdesk");
    loadSettings(s);
    EXPECT_EQ(s.UserID, "frontdesk");
    s.MultiUser = false;
    EXPECT_EQ(ownerValue(s), "");
}

TEST_F(SettingsTest, OkWritesEveryKeyInItsOrderAndAdjustsValues) {
    Settings live;
    loadSettings(live);
    Settings edited = beginSetup(live);
    edited.RepeatAlarmInterval = 3;
    edited.ScriptingDelay = 20;
    edited.BurstSize = 0;
    edited.StartUpSchedule = false;
    applySetup(prompter, edited, live);

    EXPECT_EQ(getSetting("RepeatAlarmInterval"), "5");
    EXPECT_EQ(live.RepeatAlarmInterval, 5);
    EXPECT_EQ(getSetting("ScriptingDelay"), "20");
    EXPECT_EQ(live.ScriptingDelay, 50);
    EXPECT_EQ(live.BurstSize, 7);
    EXPECT_EQ(getSetting("StartUpSchedule"), "1");
    EXPECT_TRUE(prompter.shown().empty());  // the date format did not change

    std::vector<std::string> expected;
    for (std::string_view key : setupWriteOrder())
        if (std::find(expected.begin(), expected.end(), key) == expected.end()) expected.emplace_back(key);
    test::RawDataFile raw((dir / "Px97.TPS").string());
    EXPECT_EQ(raw.column("SELECT DATATYPE FROM CF ORDER BY _pos"), expected);

    edited = beginSetup(live);
    edited.RepeatAlarmInterval = 0;
    applySetup(prompter, edited, live);
    EXPECT_EQ(getSetting("RepeatAlarmInterval"), "0");
}

TEST_F(SettingsTest, ChangingTheDateFormatIsStoredAfterANotice) {
    Settings live;
    loadSettings(live);
    Settings edited = beginSetup(live);
    edited.DateFormat = std::string(dateFormatPicture("31 OCT 1959"));
    applySetup(prompter, edited, live);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Information");
    EXPECT_EQ(prompter.shown()[0].text,
              "Date format changes will not affect currently open windows.  You can close and "
              "re-open windows, or exit and restart Plorix to view information using the new "
              "date format.");
    EXPECT_EQ(getSetting("DateFormat"), "d8");
    EXPECT_EQ(live.DateFormat, "d8");
}

TEST(SettingTableTest, DateFormatListAndStoredText) {
    EXPECT_EQ(dateFormatText("D4"), "October 31, 1959");
    EXPECT_EQ(dateFormatText("@d3"), "OCT 31,1959");
    EXPECT_EQ(dateFormatText("n4b"), "Year Only");
    EXPECT_EQ(dateFormatText("d9"), "");
    EXPECT_EQ(dateFormatPicture("Windows Default 2"), "d18");

    Settings s;
    s.StartUpActive = false;
    EXPECT_EQ(toStored(*findSetting("StartUpActive"), s), "1");
    fromStored(*findSetting("BurstSize"), "256", s);  // a byte wraps; 0 becomes 7
    EXPECT_EQ(s.BurstSize, 7);
    fromStored(*findSetting("HistoryExpires"), "-1", s);
    EXPECT_EQ(s.HistoryExpires, -1);
    fromStored(*findSetting("UserID"), std::string(40, 'x'), s);
    EXPECT_EQ(s.UserID.size(), 30u);
    EXPECT_EQ(translateFilenamesInfo().size(), 483u);
}

}  // namespace
}  // namespace plorix::settings
