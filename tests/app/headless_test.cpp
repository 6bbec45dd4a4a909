// plorix --headless: the scheduler without windows, on a data folder with
// a reminder about to come due.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <gtest/gtest.h>

#include "data/process_tables.h"
#include "frame_rig.h"
#include "program_child.h"
#include "support/temp_dir.h"

namespace plorix::app::test {
namespace {

using namespace std::chrono_literals;

// A reminder due two seconds from now in a fresh data folder.
class Headless : public ::testing::Test {
protected:
    Headless() {
        const Moment now = SystemClock().current();
        addEntries(
            {reminderEntry("Stand-up", normalise({now.date, now.time + 200}), "Time for the\nstand-up")});
        data::resetProcessTables();
    }
    plorix::test::TempDir dir;
};

TEST_F(Headless, PrintsADueReminderOnStandardOutputWithoutADesktop) {
    ProgramChild plorix({PLORIX_PATH, "--headless", "-d", dir.path().string()},
                        {{"DISPLAY", ""}, {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent"}});
    EXPECT_EQ(plorix.lineWith("Stand-up", 15s), "Stand-up: Time for the stand-up") << plorix.output();
    // SIGTERM ends it as closing the frame does.
    EXPECT_EQ(plorix.terminate(), 0);
}

// Stands in for the desktop's notification service on the session bus.
class FakeNotifications final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Notify") || message.arguments().size() != 8) return false;
        summaries << message.arguments().at(3).toString();
        bodies << message.arguments().at(4).toString();
        connection.send(message.createReply(QVariant::fromValue(static_cast<uint>(summaries.size()))));
        return true;
    }
    QStringList summaries;
    QStringList bodies;
};

TEST_F(Headless, SendsRemindersToTheNotificationServiceWhenOneRuns) {
    testApplication();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) GTEST_SKIP() << "no session bus";
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    if (bus.interface()->isServiceRegistered(service).value())
        GTEST_SKIP() << "a notification service runs here";
    FakeNotifications fake;
    ASSERT_TRUE(bus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &fake));
    ASSERT_TRUE(bus.registerService(service));

    ProgramChild plorix({PLORIX_PATH, "--headless", "-d", dir.path().string()}, {{"DISPLAY", ""}});
    EXPECT_TRUE(processUntil([&] { return !fake.summaries.isEmpty(); }, 15));
    EXPECT_EQ(plorix.terminate(), 0);
    EXPECT_EQ(fake.summaries, QStringList{"Stand-up"});
    EXPECT_EQ(fake.bodies, QStringList{"Time for the\nstand-up"});
    EXPECT_EQ(plorix.output().find("Stand-up"), std::string::npos) << plorix.output();
    bus.unregisterService(service);
    bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
}

}  // namespace
}  // namespace plorix::app::test
