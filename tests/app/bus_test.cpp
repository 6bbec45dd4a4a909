// The program on the session bus: one instance per data folder, and the
// org.plorix.Plorix1 interface driven with gdbus as a user's script would.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/bus_service.h"
#include "app/frame_bus.h"
#include "frame_rig.h"
#include "program_child.h"
#include "runtime/data_folder.h"
#include "scheduler/simulate.h"
#include "support/temp_dir.h"

namespace plorix::app::test {
namespace {

using namespace std::chrono_literals;

struct Answer {
    int status = -1;
    std::string out;
    std::string err;
};

// One gdbus command, with this process's events served while it runs.
Answer gdbus(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("gdbus"), arguments);
    processUntil([&] { return process.state() == QProcess::NotRunning; }, 20);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

Answer call(const QString& name, const QString& method, const QStringList& arguments = {}) {
    return gdbus(QStringList{"call", "--session", "--dest", name, "--object-path", kBusPath, "--method",
                             QStringLiteral("org.plorix.Plorix1.") + method} +
                 arguments);
}

bool owned(const QString& name) {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value();
}

QString busNameOf(const plorix::test::TempDir& dir) {
    return instanceBusName(std::filesystem::canonical(dir.path()).string(), defaultDataFolder());
}

bool sessionBus() {
    testApplication();
    return std::getenv("DBUS_SESSION_BUS_ADDRESS") && QDBusConnection::sessionBus().isConnected();
}

// The program on a folder of its own, with `gdbus monitor` listening to
// what it sends.
struct ListenedProgram {
    ListenedProgram() : name(busNameOf(dir)), plorix({PLORIX_PATH, "-d", dir.path().string()}) {
        started = processUntil([&] { return owned(name); }, 30);
        monitor.start("gdbus", {"monitor", "--session", "--dest", name});
    }
    // All the monitor printed so far.
    const QByteArray& heard() {
        heard_ += monitor.readAllStandardOutput();
        return heard_;
    }
    // Ends the program over the bus: its exit status.
    int quit() {
        EXPECT_EQ(call(name, "Quit").status, 0);
        const int status = plorix.wait(std::chrono::seconds(15));
        monitor.kill();
        monitor.waitForFinished();
        return status;
    }

    plorix::test::TempDir dir;
    QString name;
    ProgramChild plorix;
    QProcess monitor;
    bool started = false;

private:
    QByteArray heard_;
};

TEST(InstanceName, IsTheDefaultNameForTheDefaultFolderAndADigestOtherwise) {
    EXPECT_EQ(instanceBusName(defaultDataFolder(), defaultDataFolder()), "org.plorix.Plorix");
    const QString other = instanceBusName("/srv/shared/plorix", defaultDataFolder());
    EXPECT_TRUE(other.startsWith("org.plorix.Plorix.F")) << other.toStdString();
    EXPECT_EQ(other.size(), 19 + 64);
    // One folder, however it is spelled.
    EXPECT_EQ(instanceBusName("/srv/shared/../shared/plorix/", defaultDataFolder()), other);
    EXPECT_NE(instanceBusName("/srv/shared/plorix2", defaultDataFolder()), other);
}

class BusFrame : public FrameTest {};

TEST_F(BusFrame, ASecondStartOnTheFolderRaisesTheFirstAndAnotherFolderRunsItsOwn) {
    if (!sessionBus()) GTEST_SKIP() << "no session bus";
    BusService service;
    ASSERT_EQ(service.claim(busNameOf(dir)), BusService::Claim::Owned);
    service.setHost(frameBusHost(frame()));
    frame().show();
    frame().showMinimized();
    ASSERT_TRUE(processUntil([&] { return frame().isMinimized(); }));

    ProgramChild second({PLORIX_PATH, "-d", dir.path().string()});
    EXPECT_TRUE(processUntil([&] { return !frame().isMinimized(); }, 30));
    // The frame answers the second start from this process's event loop.
    EXPECT_EQ(second.wait(20s, [] { QCoreApplication::processEvents(); }), 0) << second.output();

    plorix::test::TempDir otherDir;
    ProgramChild other({PLORIX_PATH, "-d", otherDir.path().string()});
    EXPECT_TRUE(processUntil([&] { return owned(busNameOf(otherDir)); }, 30));
    EXPECT_EQ(call(busNameOf(otherDir), "Quit").status, 0);
    EXPECT_EQ(other.wait(15s), 0);
}

TEST(Bus, AnswersEveryMethodOfTheRunningProgram) {
    if (!sessionBus()) GTEST_SKIP() << "no session bus";
    ListenedProgram program;
    ASSERT_TRUE(program.started) << program.plorix.output();
    const QString& name = program.name;

    const Moment now = SystemClock().current();
    const std::string tomorrow = scheduler::isoMoment({now.date + 1, 900 * 100 * 36}).substr(0, 10);
    const Answer later = call(name, "AddTask",
                              {QString::fromStdString("{'DESCRIPTION': <'Later'>, 'SCHEDULETYPE': <'Once'>, "
                                                      "'DATE': <'" +
                                                      tomorrow + "'>, 'TIME': <'09:00'>}")});
    EXPECT_EQ(later.out, "(1,)\n") << later.err;
    const Answer refused = call(name, "AddTask", {"{'NOSUCH': <'x'>}"});
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("a task has no field 'NOSUCH'"), std::string::npos) << refused.err;

    EXPECT_EQ(call(name, "ListTasks").out, "([(1, 'Later', '" + tomorrow + " 09:00:00', 'Once')],)\n");
    EXPECT_EQ(call(name, "Forecast", {"", "5"}).out, "([(1, '" + tomorrow + " 09:00:00', 'Later')],)\n");

    // A task added over the bus fires as one added in the window does.
    const std::string soon = scheduler::isoMoment(normalise({now.date, now.time + 400}));
    EXPECT_EQ(call(name, "AddTask",
                   {QString::fromStdString("{'DESCRIPTION': <'Stand-up'>, 'SCHEDULETYPE': <'Once'>, "
                                           "'TASKTYPE': <'Display Message'>, 'DATE': <'" +
                                           soon.substr(0, 10) + "'>, 'TIME': <'" + soon.substr(11) + "'>}")})
                  .out,
              "(2,)\n");
    EXPECT_TRUE(processUntil([&] { return program.heard().contains("TaskFired (2, 'Stand-up')"); }, 30))
        << program.heard().toStdString();
    EXPECT_TRUE(program.heard().contains("org.plorix.Plorix1.TasksChanged")) << program.heard().toStdString();

    EXPECT_NE(call(name, "RunNow", {"99"}).err.find("there is no task 99"), std::string::npos);
    EXPECT_EQ(call(name, "RunNow", {"1"}).status, 0);
    EXPECT_EQ(call(name, "ShowWindow", {"View Schedule"}).status, 0);
    EXPECT_NE(call(name, "ShowWindow", {"Nowhere"}).err.find("there is no window \"Nowhere\""),
              std::string::npos);
    const Answer introspection =
        gdbus({"introspect", "--session", "--dest", name, "--object-path", kBusPath});
    EXPECT_NE(introspection.out.find("AddTask(in  a{sv} fields"), std::string::npos) << introspection.out;

    EXPECT_EQ(program.quit(), 0) << program.plorix.output();
}

TEST(Bus, TasksChangedComesOnceForEachBatchOfChangesWhoeverMadeItAndNotForOtherTables) {
    if (!sessionBus()) GTEST_SKIP() << "no session bus";
    ListenedProgram program;
    ASSERT_TRUE(program.started) << program.plorix.output();
    const QString& name = program.name;
    const auto told = [&] { return program.heard().count("org.plorix.Plorix1.TasksChanged"); };
    ASSERT_TRUE(processUntil([&] { return program.heard().contains("Monitoring"); }, 10));
    const auto cli = [&](const std::string& command) {
        return std::system(("'" + std::string(PLORIX_CLI_PATH) + "' -d '" + program.dir.path().string() +
                            "' " + command + " >/dev/null 2>&1")
                               .c_str());
    };
    const auto quietFor = [](double seconds) { processUntil([] { return false; }, seconds); };

    // The frame is up once the bus is answered from its event loop.
    ASSERT_EQ(call(name, "ListTasks").out, "(@a(isss) [],)\n");
    // Another program writes the file: the running one hears of it.
    ASSERT_EQ(cli("add Schedule SCH:DESCRIPTION=Theirs"), 0);
    EXPECT_TRUE(processUntil([&] { return told() >= 1; }, 10)) << program.heard().toStdString();
    quietFor(2.5);
    const auto before = told();
    // Three tasks in one transaction: one signal.
    program.dir.write("three.csv", "\"SCH:Description\"\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n");
    ASSERT_EQ(cli("import Schedule '" + (program.dir / "three.csv").string() + "'"), 0);
    EXPECT_TRUE(processUntil([&] { return told() > before; }, 10)) << program.heard().toStdString();
    // A to-do item is no task.
    ASSERT_EQ(cli("add Todo TDO:TODO=Shopping"), 0);
    quietFor(2.5);
    EXPECT_EQ(told(), before + 1) << program.heard().toStdString();

    EXPECT_EQ(program.quit(), 0) << program.plorix.output();
}

}  // namespace
}  // namespace plorix::app::test
