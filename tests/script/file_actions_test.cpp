// "File Actions" on real files in a temporary folder.

#include "script/file_actions.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>

#include "support/temp_dir.h"

namespace plorix::script {
namespace {

namespace fs = std::filesystem;

class FileActions : public ::testing::Test {
protected:
    std::int64_t run(std::string_view action, std::string_view p1, std::string_view p2 = {}) {
        return runFileAction(action, p1, p2, values).result;
    }
    std::string errorCode() const { return values.get("ERRORCODE"); }
    bool exists(const std::string& name) const { return fs::exists(dir / name); }

    // Runs `body` where permissions count: as the unprivileged user "nobody"
    // when the tests run as root (root passes every permission check), in a
    // child process so the test's own rights stay. Returns the body's result.
    static int withoutPrivileges(const std::function<int()>& body) {
        if (geteuid() != 0) return body();
        const pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
            _exit(body());
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    plorix::test::TempDir dir;
    ValueStore values;
};

TEST_F(FileActions, CopyIntoAFolderNamedWithoutADot) {
    dir.write("report.txt", "first");
    fs::create_directory(dir / "backup");
    EXPECT_EQ(run("Copy", "report.txt", "backup"), 1);
    EXPECT_EQ(dir.read("backup/report.txt"), "first");
    EXPECT_EQ(values.get("FILECOPY"), "1");
    EXPECT_EQ(errorCode(), "0");

    // Either separator, and an existing target is overwritten.
    dir.write("report.txt", "second");
    EXPECT_EQ(run("Copy", dir.path().string() + "\\report.txt  ", "backup\\"), 1);
    EXPECT_EQ(dir.read("backup/report.txt"), "second");
    EXPECT_EQ(run("Copy", "report.txt", "backup/renamed.old"), 1);
    EXPECT_EQ(dir.read("backup/renamed.old"), "second");
    // A target without a dot that exists as a file is that file.
    dir.write("README", "old");
    EXPECT_EQ(run("Copy", "report.txt", "README"), 1);
    EXPECT_EQ(dir.read("README"), "second");
}

TEST_F(FileActions, CopyFailuresSetZeroAndTheSystemError) {
    EXPECT_EQ(run("Copy", "missing.txt", "copy.txt"), 0);
    EXPECT_EQ(values.get("FILECOPY"), "0");
    EXPECT_EQ(errorCode(), std::to_string(ENOENT));
    dir.write("a.txt", "a");
    EXPECT_EQ(run("Copy", "a.txt", "no-such-folder"), 0);  // taken as a folder that is not there
    EXPECT_FALSE(exists("no-such-folder"));
    EXPECT_EQ(run("Copy", "a.txt", "   "), 0);
    EXPECT_EQ(run("Copy", "", "b.txt"), 0);
    EXPECT_EQ(run("Copy", "a.txt", "a.txt"), 0);  // onto itself
    EXPECT_EQ(dir.read("a.txt"), "a");
}

TEST_F(FileActions, MoveRenamesButNeverReplaces) {
    dir.write("a.txt", "a");
    dir.write("b.txt", "b");
    EXPECT_EQ(run("Move", "a.txt", "b.txt"), 0);
    EXPECT_EQ(errorCode(), std::to_string(EEXIST));
    EXPECT_EQ(dir.read("a.txt"), "a");
    EXPECT_EQ(dir.read("b.txt"), "b");
    EXPECT_EQ(run("Move", "a.txt", "c.txt"), 1);
    EXPECT_EQ(values.get("FILEMOVE"), "1");
    EXPECT_FALSE(exists("a.txt"));
    EXPECT_EQ(dir.read("c.txt"), "a");
    fs::create_directory(dir / "archive");
    EXPECT_EQ(run("Move", "c.txt", "archive"), 1);
    EXPECT_EQ(dir.read("archive/c.txt"), "a");
    EXPECT_EQ(run("Move", "c.txt", "d.txt"), 0);
    EXPECT_EQ(values.get("FILEMOVE"), "0");
}

TEST_F(FileActions, DeleteTakesFilesOnly) {
    dir.write("old.log", "x");
    fs::create_directory(dir / "keep");
    EXPECT_EQ(run("Delete", "old.log"), 1);
    EXPECT_FALSE(exists("old.log"));
    EXPECT_EQ(run("Delete", "old.log"), 0);
    EXPECT_EQ(errorCode(), std::to_string(ENOENT));
    EXPECT_EQ(run("Delete", "keep"), 0);
    EXPECT_EQ(values.get("FILEDELETE"), "0");
    EXPECT_TRUE(exists("keep"));
}

TEST_F(FileActions, FoldersAreMadeAndRemoved) {
    EXPECT_EQ(run("Make Directory", "a\\b/c"), 1);
    EXPECT_TRUE(fs::is_directory(dir / "a/b/c"));
    EXPECT_EQ(run("Make Directory", "a/b/c"), 1);  // it exists afterwards
    EXPECT_EQ(values.get("DIRCREATE"), "1");
    dir.write("plain", "x");
    EXPECT_EQ(run("Make Directory", "plain"), 0);

    EXPECT_EQ(run("Remove Directory", "a/b"), 0);  // not empty
    EXPECT_EQ(errorCode(), std::to_string(ENOTEMPTY));
    EXPECT_EQ(run("Remove Directory", "a/b/c"), 1);
    EXPECT_FALSE(exists("a/b/c"));
    EXPECT_EQ(run("Remove Directory", "never/was"), 1);  // not there afterwards
    EXPECT_EQ(run("Remove Directory", "  "), 0);
    EXPECT_EQ(run("Remove Directory", "plain"), 0);  // a file is no folder and stays
    EXPECT_TRUE(exists("plain"));
    EXPECT_EQ(values.get("DIRREMOVE"), "0");
}

TEST_F(FileActions, DateTimeAndSizeOfAFile) {
    dir.write("data.bin", std::string(1024, 'z'));
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 1;
    local.tm_mday = 29;
    local.tm_hour = 13;
    local.tm_min = 14;
    local.tm_sec = 15;
    local.tm_isdst = -1;
    const auto written = std::chrono::system_clock::from_time_t(std::mktime(&local));
    fs::last_write_time(dir / "data.bin", std::chrono::file_clock::from_sys(written));

    EXPECT_EQ(run("Get File Date", "data.bin"), makeDate(2, 29, 2024));
    EXPECT_EQ(values.get("FILEDATE"), "20240229");
    EXPECT_EQ(run("Get File Time", "data.bin"), makeTime(13, 14, 15));
    EXPECT_EQ(values.get("FILETIME"), "131415");
    EXPECT_EQ(run("Get File Size", "data.bin"), 1024);
    EXPECT_EQ(values.substitute("It holds [FILESIZE] bytes"), "It holds 1024 bytes");
    EXPECT_EQ(run("If File Exists", "data.bin"), 1);
    EXPECT_EQ(values.get("FILEEXISTS"), "1");
}

TEST_F(FileActions, MissingFilesAndFoldersGiveTheEmptyAnswers) {
    fs::create_directory(dir / "folder");
    for (const char* path : {"missing.txt", "folder", ""}) {
        EXPECT_EQ(run("Get File Date", path), 0);
        EXPECT_EQ(values.get("FILEDATE"), "18001228");
        EXPECT_EQ(run("Get File Time", path), 0);
        EXPECT_EQ(values.get("FILETIME"), "");
        EXPECT_EQ(run("Get File Size", path), 0);
        EXPECT_EQ(values.get("FILESIZE"), "0");
        EXPECT_FALSE(values.compare("FILESIZE", ">", "0"));
    }
    EXPECT_EQ(run("If File Exists", "missing.txt"), 0);
    EXPECT_EQ(values.get("FILEEXISTS"), "0");
    EXPECT_EQ(run("If File Exists", "folder"), 1);
}

TEST_F(FileActions, NamesWithBlanksNonAsciiLettersAndValues) {
    fs::create_directories(dir / "Mein Ordner");
    dir.write("Mein Ordner/Grüße über alles.txt", "ü");
    values.set("SOURCE", "Mein Ordner\\Grüße über alles.txt");
    values.set("TARGET", "Zielordner für Kopien");
    EXPECT_EQ(run("Make Directory", "[TARGET]"), 1);
    EXPECT_EQ(run("Copy", "[SOURCE]", "[TARGET]"), 1);
    EXPECT_EQ(dir.read("Zielordner für Kopien/Grüße über alles.txt"), "ü");
    EXPECT_EQ(run("Get File Size", "[TARGET]/Grüße über alles.txt   "), 2);
    // File names keep their letter case.
    EXPECT_EQ(run("If File Exists", "[TARGET]/GRÜSSE ÜBER ALLES.TXT"), 0);
}

TEST_F(FileActions, FoldersWithoutPermissionRefuseChanges) {
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    dir.write("source.txt", "s");
    fs::create_directory(dir / "locked");
    dir.write("locked/inside.txt", "i");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    const std::string locked = (dir / "locked").string();
    const std::string source = (dir / "source.txt").string();
    auto refused = [&](std::string_view action, const std::string& p1, const std::string& p2) {
        return withoutPrivileges([&] {
            ValueStore own;
            const auto result = runFileAction(action, p1, p2, own);
            return result.result == 0 && own.get("ERRORCODE") == std::to_string(EACCES) ? 0 : 1;
        });
    };
    EXPECT_EQ(refused("Copy", source, locked), 0);
    EXPECT_EQ(refused("Delete", locked + "/inside.txt", ""), 0);
    EXPECT_EQ(refused("Make Directory", locked + "/sub", ""), 0);
    EXPECT_EQ(refused("Move", locked + "/inside.txt", source + ".moved"), 0);
    EXPECT_TRUE(exists("locked/inside.txt"));
    EXPECT_FALSE(exists("locked/source.txt"));
}

TEST_F(FileActions, UnknownActionsAndDryRunsChangeNothing) {
    dir.write("a.txt", "a");
    const FileActionResult unknown = runFileAction("Shred", "a.txt", "", values);
    EXPECT_FALSE(unknown.known);
    EXPECT_EQ(unknown.result, 0);
    EXPECT_TRUE(values.entries().empty());

    const FileActionResult skipped = runFileAction("Delete", "a.txt", "", values, true);
    EXPECT_TRUE(skipped.known);
    EXPECT_FALSE(skipped.performed);
    EXPECT_TRUE(exists("a.txt"));
    EXPECT_TRUE(values.entries().empty());
    // Looking at a file changes nothing, so a dry run still does it.
    EXPECT_EQ(runFileAction("Get File Size", "a.txt", "", values, true).result, 1);
    EXPECT_EQ(values.get("FILESIZE"), "1");
}

}  // namespace
}  // namespace plorix::script
