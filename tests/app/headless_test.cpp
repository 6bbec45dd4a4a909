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
        addEntries({reminderEntry("Stand-up", normalise({now.date, now.time + 200}),
                                  "Time for the\nstand-up & <coffee>")});
        data::resetProcessTables();
    }
    plorix::test::TempDir dir;
};

TEST_F(Headless, PrintsADueReminderOnStandardOutputWithoutADesktop) {
    ProgramChild plorix({PLORIX_PATH, "--headless", "-d", dir.path().string()},
                        {{"DISPLAY", ""}, {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent"}});
    EXPECT_EQ(plorix.lineWith("Stand-up", 15s), "Stand-up: Time for the stand-up & <coffee>")
        << plorix.output();
    // SIGTERM ends it as closing the frame does.
    EXPECT_EQ(plorix.terminate(), 0);
}

// Stands in for the desktop's notification service on the session bus.
class FakeNotifications final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == QLatin1String("GetCapabilities")) {
            connection.send(message.createReply(capabilities));
            return true;
        }
        if (message.member() == QLatin1String("CloseNotification")) {
            closed << message.arguments().at(0).toUInt();
            return true;
        }
        if (message.member() != QLatin1String("Notify") || message.arguments().size() != 8) return false;
        appNames << message.arguments().at(0).toString();
        summaries << message.arguments().at(3).toString();
        bodies << message.arguments().at(4).toString();
        actions = message.arguments().at(5).toStringList();
        hints = qdbus_cast<QVariantMap>(message.arguments().at(6));
        connection.send(message.createReply(QVariant::fromValue(static_cast<uint>(summaries.size()))));
        return true;
    }
    QStringList capabilities{"actions", "body"};
    QStringList appNames, summaries, bodies, actions;
    QVariantMap hints;
    QList<uint> closed;
};

// The stand-in on the test desktop's session bus for as long as it lives.
class NotificationServer {
public:
    NotificationServer() {
        testApplication();
        if (!bus.isConnected() || bus.interface()->isServiceRegistered(kService).value()) return;
        running = bus.registerVirtualObject(kPath, &fake) && bus.registerService(kService);
    }
    ~NotificationServer() {
        bus.unregisterService(kService);
        bus.unregisterObject(kPath);
    }
    void invoke(uint id, const QString& action) {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
        signal << id << action;
        bus.send(signal);
    }
    const QString kService = QStringLiteral("org.freedesktop.Notifications");
    const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakeNotifications fake;
    bool running = false;
};

TEST_F(Headless, SendsRemindersToTheNotificationServiceWhenOneRuns) {
    NotificationServer server;
    if (!server.running) GTEST_SKIP() << "no session bus, or a notification service runs here";

    ProgramChild plorix({PLORIX_PATH, "--headless", "-d", dir.path().string()}, {{"DISPLAY", ""}});
    EXPECT_TRUE(processUntil([&] { return !server.fake.summaries.isEmpty(); }, 15));
    EXPECT_EQ(plorix.terminate(), 0);
    EXPECT_EQ(server.fake.summaries, QStringList{"Stand-up"});
    // A server without body markup gets the text as written.
    EXPECT_EQ(server.fake.bodies, QStringList{"Time for the\nstand-up & <coffee>"});
    EXPECT_EQ(plorix.output().find("Stand-up"), std::string::npos) << plorix.output();
}

TEST_F(Headless, ANotificationNamesPlorixAndItsSnoozeWritesTheSnoozeEntry) {
    NotificationServer server;
    if (!server.running) GTEST_SKIP() << "no session bus, or a notification service runs here";
    server.fake.capabilities << "body-markup";

    ProgramChild plorix({PLORIX_PATH, "--headless", "-d", dir.path().string()}, {{"DISPLAY", ""}});
    ASSERT_TRUE(processUntil([&] { return server.fake.summaries.contains("Stand-up"); }, 15));
    EXPECT_EQ(server.fake.appNames.last(), "Plorix");
    EXPECT_EQ(server.fake.hints.value("desktop-entry").toString(), "plorix");
    EXPECT_EQ(server.fake.actions, (QStringList{"snooze", "Snooze", "close", "Close"}));
    EXPECT_EQ(server.fake.bodies, QStringList{"Time for the\nstand-up &amp; &lt;coffee&gt;"});

    const uint id = 1;
    server.invoke(id, "snooze");
    EXPECT_TRUE(processUntil([&] { return server.fake.closed.contains(id); }, 15));
    EXPECT_EQ(plorix.terminate(), 0);

    int snoozed = 0;
    store::Table& table = data::processTable<data::Schedule>();
    SilentPrompter prompter;
    data::TableUse use(table, prompter);
    table.setStart(data::keys::Schedule::KEYID);
    while (table.next() == store::kNoError) {
        const auto& entry = table.rec<data::Schedule>();
        if (entry.CATEGORY.str() == "Snooze" && entry.DESCRIPTION.str() == "Stand-up") ++snoozed;
    }
    EXPECT_EQ(snoozed, 1);
}

}  // namespace
}  // namespace plorix::app::test
