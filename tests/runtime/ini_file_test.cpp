#include "runtime/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "runtime/file_names.h"
#include "support/temp_dir.h"

namespace plorix {
namespace {

const std::string kFile =
    "; settings of the test station\r\n"
    "[Settings]\r\n"
    "LogEvents = 1 \r\n"
    "this line is garbage\r\n"
    "Debug=0\r\n"
    "\r\n"
    "[Warning]\r\n"
    "Shown=yes\r\n"
    "[settings]\r\n"
    "LogEvents=2\r\n"
    "Extra=only in the duplicate\r\n";

TEST(IniFile, ReadsIgnoringCaseFirstDuplicateWins) {
    test::TempDir dir;
    dir.write("px98.INI", kFile);
    IniFile ini("px98.INI");
    EXPECT_EQ(ini.getString("SETTINGS", "logevents"), "1");
    EXPECT_EQ(ini.getInt("Settings", "LogEvents", 7), 1);
    EXPECT_EQ(ini.getString("Settings", "Extra", "none"), "none");
    EXPECT_EQ(ini.getString("Settings", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.getString("Nowhere", "Debug", "dflt"), "dflt");
    EXPECT_EQ(ini.getInt("Warning", "Shown", 7), 7);  // not a number
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Settings", "Warning"}));
    EXPECT_EQ(ini.keys("settings"), (std::vector<std::string>{"LogEvents", "Debug"}));
}

TEST(IniFile, WritingChangesOnlyTheLineConcerned) {
    test::TempDir dir;
    dir.write("px98.INI", kFile);
    IniFile ini("PX98.ini");  // found whatever the case
    ASSERT_TRUE(ini.putString("settings", "LOGEVENTS", "0"));
    ASSERT_TRUE(ini.putString("Settings", "New", "value"));
    ASSERT_TRUE(ini.putString("Fresh", "Key", "v"));
    EXPECT_EQ(dir.read("px98.INI"),
              "; settings of the test station\r\n"
              "[Settings]\r\n"
              "LogEvents =0\r\n"
              "this line is garbage\r\n"
              "Debug=0\r\n"
              "New=value\r\n"
              "\r\n"
              "[Warning]\r\n"
              "Shown=yes\r\n"
              "[settings]\r\n"
              "LogEvents=2\r\n"
              "Extra=only in the duplicate\r\n"
              "\r\n"
              "[Fresh]\r\n"
              "Key=v\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "PX98.ini"));
    ASSERT_TRUE(ini.removeKey("Settings", "debug"));
    ASSERT_TRUE(ini.removeSection("warning"));
    EXPECT_EQ(ini.getString("Settings", "Debug", "gone"), "gone");
    EXPECT_EQ(ini.getString("Warning", "Shown", "gone"), "gone");
    EXPECT_EQ(ini.getString("Settings", "LogEvents"), "0");
}

TEST(IniFile, LineEndingsOfTheFileAreKept) {
    test::TempDir dir;
    dir.write("unix.ini", "[A]\nx=1\n# note\n");
    IniFile unix("unix.ini");
    ASSERT_TRUE(unix.putString("A", "y", "2"));
    EXPECT_EQ(dir.read("unix.ini"), "[A]\nx=1\n# note\ny=2\n");

    dir.write("open.ini", "[A]\r\nx=1");  // last line without an ending
    ASSERT_TRUE(IniFile("open.ini").putString("A", "y", "2"));
    EXPECT_EQ(dir.read("open.ini"), "[A]\r\nx=1\r\ny=2\r\n");

    dir.write("cut.ini", "[A]\nx=1\r");  // cut off between CR and LF
    EXPECT_EQ(IniFile("cut.ini").getString("A", "x"), "1");
    ASSERT_TRUE(IniFile("cut.ini").putString("A", "y", "2"));
    EXPECT_EQ(dir.read("cut.ini"), "[A]\nx=1\ny=2\n");
    dir.write("crcr.ini", "[A]\nx=1\r\r");  // stray CRs are no part of a value
    ASSERT_TRUE(IniFile("crcr.ini").putString("A", "y", "2"));
    EXPECT_EQ(IniFile("crcr.ini").getString("A", "x"), "1");

    ASSERT_TRUE(IniFile("new.ini").putString("Main", "XPosit", "10"));
    EXPECT_EQ(dir.read("new.ini"), "[Main]\r\nXPosit=10\r\n");
}

TEST(IniFile, MissingFileReadsEmptyAndOddInputIsSafe) {
    test::TempDir dir;
    IniFile ini("absent.ini");
    EXPECT_EQ(ini.getString("Settings", "Debug", "d"), "d");
    EXPECT_TRUE(ini.sections().empty());
    EXPECT_TRUE(ini.removeKey("Settings", "Debug"));
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.ini"));

    EXPECT_FALSE(ini.putString("", "k", "v"));
    EXPECT_FALSE(ini.putString("Bad]", "k", "v"));
    EXPECT_FALSE(ini.putString("S", "k=x", "v"));
    EXPECT_FALSE(ini.putString("S", "[k", "v"));
    ASSERT_TRUE(ini.putString("S", "k", "two\r\nlines"));
    EXPECT_EQ(ini.getString("S", "k"), "two  lines");
    EXPECT_EQ(ini.keys("S").size(), 1u);

    const std::string longValue(100000, 'x');
    ASSERT_TRUE(ini.putString("S", "long", longValue));
    EXPECT_EQ(ini.getString("S", "long"), longValue);

    dir.write("bom.ini", "\xEF\xBB\xBF[S]\nk=v\n");
    EXPECT_EQ(IniFile("bom.ini").getString("S", "k"), "v");
}

TEST(IniFile, ReplacingKeepsPermissionsAndLeavesNoTemporaryFiles) {
    test::TempDir dir;
    dir.write("keep.ini", "[S]\r\nk=1\r\n");
    ::chmod((dir / "keep.ini").c_str(), 0640);
    ASSERT_TRUE(IniFile("keep.ini").putString("S", "k", "2"));
    EXPECT_EQ(std::filesystem::status(dir / "keep.ini").permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0640));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);

    std::filesystem::create_directory(dir / "locked");
    IniFile locked((dir / "locked" / "x.ini").string());
    ::chmod((dir / "locked").c_str(), 0500);
    if (::geteuid() != 0) {
        EXPECT_FALSE(locked.putString("S", "k", "v"));
    }
}

TEST(IniFile, WinIniLivesInTheConfigFolder) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(winIniPath(), "/tmp/cfg/plorix/WIN.INI");
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(winIniPath(), std::string(std::getenv("HOME")) + "/.config/plorix/WIN.INI");
    if (saved)
        ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST(FileNames, FoundIgnoringCaseFolderByFolder) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "Data");
    dir.write("Data/Px97.TPS", "");
    dir.write("POSITION.INI", "");
    EXPECT_EQ(findFileNoCase(".\\position.ini"), "./POSITION.INI");
    EXPECT_EQ(findFileNoCase("data\\PX97.tps"), "Data/Px97.TPS");
    EXPECT_EQ(findFileNoCase((dir.path() / "DATA/px97.tps").string()),
              (dir.path() / "Data/Px97.TPS").string());
    EXPECT_EQ(findFileNoCase("data\\new.TPS"), "data/new.TPS");  // missing: kept as written
    EXPECT_EQ(findFileNoCase("POSITION.INI"), "POSITION.INI");
    dir.write("position.ini", "");
    EXPECT_EQ(findFileNoCase("Position.ini"), "POSITION.INI");  // several: the first in sorted order
    EXPECT_EQ(findFileNoCase("position.ini"), "position.ini");  // exact spelling wins
    EXPECT_EQ(normaliseSeparators("a\\b/c"), "a/b/c");
}

}  // namespace
}  // namespace plorix
