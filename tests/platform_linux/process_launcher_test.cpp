// Starting programs without a shell, watching them end, window modes,
// opening documents through the desktop's opener, and ending programs by
// executable name, with real processes.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "desktop_rig.h"
#include "platform/linux/desktop_linux.h"
#include "platform/linux/process_launcher.h"
#include "runtime/prompter.h"
#include "script/command_line.h"
#include "script/program_actions.h"
#include "support/temp_dir.h"

// Last: Xlib's macros clash with the test framework and the prompter.
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"
#include <X11/Xatom.h>

namespace plorix::platform {
namespace {

namespace fs = std::filesystem;
using test::waitUntil;

class ProcessTest : public ::testing::Test {
protected:
    // Polls until the child has ended; its last status.
    ProcessStatus ended(int pid) {
        ProcessStatus status;
        waitUntil([&] {
            status = processes.poll(pid);
            return status.state != ProcessState::Running;
        });
        return status;
    }
    // A copy of a program under a name no other process has.
    std::string copyOf(const std::string& program, const std::string& stem) {
        const fs::path copy = folder / (stem + "-" + std::to_string(::getpid()));
        fs::copy_file(*findProgram(program), copy);
        return copy.string();
    }

    test::TempDir folder{false};
    LinuxProcesses processes{script::splitCommandLine};
};

TEST(FindProgram, FindsTheProgramsCompanionsBesideItWhenNotOnThePath) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string previous = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);
    const auto found = findProgram(self.filename().string());
    const auto missing = findProgram("no-such-companion-program");
    setenv("PATH", previous.c_str(), 1);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(fs::path(*found), self);
    EXPECT_FALSE(missing.has_value());
}

TEST_F(ProcessTest, StartsArgumentsAsGivenWithoutAShellInTheStartInFolder) {
    const std::string name = "$(echo no) `x` ;|*";
    const StartResult started = processes.spawn({{"touch", name}, folder.path().string()});
    ASSERT_TRUE(started.started());
    EXPECT_EQ(ended(started.pid).state, ProcessState::Ended);
    EXPECT_TRUE(fs::exists(folder / name)) << "the name reached the program unchanged";
    EXPECT_EQ(processes.poll(started.pid).state, ProcessState::Unknown) << "collected once reported";
}

TEST_F(ProcessTest, ExitStatusAndSignalsTellHowAProgramEnded) {
    const StartResult fails = processes.spawn({{"sh", "-c", "exit 3"}});
    const StartResult killed = processes.spawn({{"sh", "-c", "kill -TERM $$"}});
    const StartResult fine = processes.spawn({{"true"}});
    const ProcessStatus a = ended(fails.pid), b = ended(killed.pid), c = ended(fine.pid);
    EXPECT_EQ(a.state, ProcessState::EndedWithError);
    EXPECT_EQ(a.exitCode, 3);
    EXPECT_EQ(b.state, ProcessState::EndedWithError);
    EXPECT_EQ(b.exitCode, 128 + 15);
    EXPECT_EQ(c.state, ProcessState::Ended);
    EXPECT_EQ(processes.poll(static_cast<int>(::getppid())).state, ProcessState::Unknown)
        << "not a child of ours";
}

TEST_F(ProcessTest, OwnProcessGroupAndLowPriority) {
    const StartResult started = processes.spawn({{"sleep", "5"}, "", Priority::Low});
    ASSERT_TRUE(started.started());
    EXPECT_EQ(::getpgid(started.pid), started.pid);
    errno = 0;
    EXPECT_EQ(::getpriority(PRIO_PROCESS, static_cast<id_t>(started.pid)), 19);
    ::kill(started.pid, SIGKILL);
    EXPECT_EQ(ended(started.pid).exitCode, 128 + 9);
}

TEST_F(ProcessTest, MissingProgramsAndProgramsThatCannotRunAreTold) {
    const StartResult missing = processes.spawn({{"plorix-no-such-program"}});
    EXPECT_EQ(missing.outcome, StartOutcome::NotFound);
    EXPECT_EQ(processes.spawn({{(folder / "absent").string()}}).outcome, StartOutcome::NotFound);

    folder.write("not-executable", "#!/bin/sh\n");
    const StartResult refused = processes.spawn({{(folder / "not-executable").string()}});
    EXPECT_EQ(refused.outcome, StartOutcome::CouldNotStart);
    EXPECT_EQ(refused.errorNumber, EACCES);

    folder.write("bad-interpreter", "#!/nonexistent/interpreter\n");
    fs::permissions(folder / "bad-interpreter", fs::perms::owner_all);
    EXPECT_EQ(processes.spawn({{(folder / "bad-interpreter").string()}}).outcome,
              StartOutcome::CouldNotStart);
    EXPECT_EQ(processes.spawn({{"true"}, (folder / "no-folder").string()}).outcome,
              StartOutcome::CouldNotStart);
}

TEST_F(ProcessTest, OpeningRunsProgramsWithTheirParametersAndTellsWhatIsMissing) {
    const OpenResult run =
        processes.open("touch", "'made by open' second", "open", folder.path().string(), WindowMode::Normal);
    EXPECT_TRUE(run.ok());
    EXPECT_TRUE(
        waitUntil([&] { return fs::exists(folder / "made by open") && fs::exists(folder / "second"); }));

    EXPECT_EQ(processes.open("touch", "'unbalanced", "open", "", WindowMode::Normal).code, kOpenFailed);
    EXPECT_EQ(processes.open("absent.txt", "", "open", folder.path().string(), WindowMode::Normal).code,
              kOpenFileNotFound);
    EXPECT_EQ(processes.open("x.txt", "", "open", (folder / "nowhere").string(), WindowMode::Normal).code,
              kOpenPathNotFound);
    EXPECT_EQ(
        processes.open((folder / "nowhere" / "x.txt").string(), "", "open", "", WindowMode::Normal).code,
        kOpenPathNotFound);
    folder.write("notes.txt", "hello");
    EXPECT_EQ(processes.open("notes.txt", "", "frobnicate", folder.path().string(), WindowMode::Normal).code,
              kOpenNoAssociation);
}

TEST_F(ProcessTest, DocumentsOpenInTheDesktopsDefaultApplication) {
    PLORIX_NEED_DISPLAY();
    if (!findProgram("xdg-open") && !findProgram("gio")) GTEST_SKIP() << "no desktop opener";
    // A private association: plain text opens in our test window, titled
    // after the file.
    const fs::path data = folder / "data", config = folder / "config";
    fs::create_directories(data / "applications");
    fs::create_directories(config);
    std::ofstream(data / "applications" / "plorix-viewer.desktop")
        << "[Desktop Entry]\nType=Application\nName=Plorix Viewer\nMimeType=text/plain;\nExec="
        << test::testAppPath() << " --title %f\n";
    std::ofstream(config / "mimeapps.list") << "[Default Applications]\ntext/plain=plorix-viewer.desktop\n";
    struct Env {
        std::string name;
        std::string old;
        bool had;
        Env(const char* n, const std::string& value) : name(n), had(std::getenv(n) != nullptr) {
            if (had) old = std::getenv(n);
            ::setenv(n, value.c_str(), 1);
        }
        ~Env() { had ? ::setenv(name.c_str(), old.c_str(), 1) : ::unsetenv(name.c_str()); }
    } dataHome("XDG_DATA_HOME", data.string()), configHome("XDG_CONFIG_HOME", config.string());

    folder.write("report.txt", "quarterly figures");
    EXPECT_EQ(processes.open("report.txt", "", "Open", folder.path().string(), WindowMode::Normal).code,
              kOpenSucceeded);
    X11Connection connection;
    X11Windows windows(connection);
    const std::string title = fs::canonical(folder / "report.txt").string();
    const WindowId viewer = test::waitForWindow(windows, title);
    ASSERT_NE(viewer, kNoWindow) << "the viewer shows the file";
    windows.close(viewer);
}

TEST_F(ProcessTest, WindowModeIsGivenToTheFirstWindow) {
    PLORIX_NEED_DISPLAY();
    X11Connection connection;
    X11Windows windows(connection);
    const std::string big = test::uniqueTitle("Started Maximized");
    const StartResult a = processes.spawn({test::testApp(big), "", Priority::Normal, WindowMode::Maximized});
    const std::string small = test::uniqueTitle("Started Minimized");
    const StartResult b =
        processes.spawn({test::testApp(small), "", Priority::Normal, WindowMode::Minimized});
    const WindowId bigId = test::waitForWindow(windows, big);
    const WindowId smallId = test::waitForWindow(windows, small);
    ASSERT_NE(bigId, kNoWindow);
    ASSERT_NE(smallId, kNoWindow);

    Display* d = connection.display();
    const Atom maxV = XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    const Atom hidden = XInternAtom(d, "_NET_WM_STATE_HIDDEN", False);
    auto hasState = [&](WindowId w, Atom wanted) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        bool found = false;
        if (XGetWindowProperty(d, static_cast<::Window>(w), XInternAtom(d, "_NET_WM_STATE", False), 0, 64,
                               False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
            data != nullptr) {
            for (unsigned long i = 0; i < count; ++i)
                found = found || reinterpret_cast<Atom*>(data)[i] == wanted;
            XFree(data);
        }
        return found;
    };
    EXPECT_TRUE(waitUntil([&] { return hasState(bigId, maxV); }));
    EXPECT_TRUE(waitUntil([&] { return hasState(smallId, hidden); }));
    EXPECT_FALSE(hasState(bigId, hidden));
    for (int pid : {a.pid, b.pid}) ::kill(pid, SIGTERM);
}

TEST_F(ProcessTest, KillProcEndsEveryProcessOfAnExecutableAndKillsTheStubborn) {
    const std::string sleeper = copyOf("sleep", "plorix-sleeper");
    const StartResult one = processes.spawn({{sleeper, "30"}});
    const StartResult two = processes.spawn({{sleeper, "30"}});
    ASSERT_TRUE(one.started() && two.started());
    test::Child killProc({PLORIX_KILLPROC, fs::path(sleeper).filename().string()});
    EXPECT_EQ(killProc.wait(), 0);
    EXPECT_EQ(ended(one.pid).exitCode, 128 + 15);
    EXPECT_EQ(ended(two.pid).exitCode, 128 + 15);
    test::Child none({PLORIX_KILLPROC, fs::path(sleeper).filename().string()});
    EXPECT_EQ(none.wait(), 1) << "nothing left to end";

    if (!test::displaySet()) return;  // the stubborn one is our Qt program
    const std::string stubborn = copyOf(test::testAppPath(), "plorix-stubborn");
    const StartResult three =
        processes.spawn({{stubborn, "--ignore-term", "--title", test::uniqueTitle("Stubborn")}});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // past its start-up
    test::Child killer({PLORIX_KILLPROC, "-g", "0.3", stubborn});
    EXPECT_EQ(killer.wait(), 0);
    EXPECT_EQ(ended(three.pid).exitCode, 128 + 9) << "killed after the grace period";
}

TEST_F(ProcessTest, CloseProgramByNameDoesNotWait) {
    const std::string sleeper = copyOf("sleep", "plorix-napper");
    const StartResult started = processes.spawn({{sleeper, "30"}});
    ASSERT_TRUE(started.started());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(processes.killByName(fs::path(sleeper).filename().string()));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
    EXPECT_EQ(ended(started.pid).exitCode, 128 + 15);
    EXPECT_TRUE(processes.killByName("plorix-nothing-of-that-name"));
}

TEST_F(ProcessTest, ScriptItemsStartThroughTheDesktopAndWaitForTheEnd) {
    LinuxDesktop desktop(script::splitCommandLine);
    SilentPrompter prompter;
    script::ProgramActions actions;
    script::ProgramStart start;
    start.command = "sh -c 'sleep 0.3; exit 4'";
    start.direct = true;
    const auto result = actions.startProgram(start, prompter);
    ASSERT_TRUE(result.processCreated);
    data::Scripting item{};
    ManualClock clock;
    EXPECT_EQ(actions.checkProgramEnd(item, clock), script::ProgramWait::Running);
    EXPECT_TRUE(
        waitUntil([&] { return actions.checkProgramEnd(item, clock) != script::ProgramWait::Running; }));

    // A command line with a quote left open is no argument vector: the
    // direct start is not tried and the opener finds no such file.
    start.command = "\"/bin/true -x";
    const auto unbalanced = actions.startProgram(start, prompter);
    EXPECT_FALSE(unbalanced.processCreated);
    EXPECT_FALSE(unbalanced.started());
    start.command = "plorix-no-such-program --now";
    EXPECT_FALSE(actions.startProgram(start, prompter).started());
    EXPECT_EQ(actions.lastProcessId(), 0);

    // A schedule entry's program that does not exist is reported.
    RecordingPrompter told;
    start.direct = false;
    start.reportFailure = true;
    EXPECT_FALSE(actions.startProgram(start, told).started());
    ASSERT_EQ(told.shown().size(), 1u);
    EXPECT_EQ(told.shown()[0].title, "Error Code 2");
    EXPECT_EQ(told.shown()[0].text, "Could not start plorix-no-such-program --now.");
}

}  // namespace
}  // namespace plorix::platform
