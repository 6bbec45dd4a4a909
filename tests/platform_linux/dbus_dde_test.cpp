// The DDE action over D-Bus against a real service on a private bus that the
// test starts itself, so nothing depends on the session the tests run in.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QThread>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/dbus_dde.h"

extern char** environ;

namespace plorix::platform {
namespace {

constexpr const char* kService = "org.plorix.TestService";
constexpr const char* kPath = "/org/plorix/Test";

// What the service was asked.
struct Received {
    std::string interface, member;
    std::vector<std::string> arguments;
};

// A service object that records every call and answers it; a member named
// "Fail" answers with an error.
class RecordingObject final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        Received call{message.interface().toStdString(), message.member().toStdString(), {}};
        for (const QVariant& argument : message.arguments())
            call.arguments.push_back(argument.toString().toStdString());
        {
            QMutexLocker lock(&mutex_);
            calls_.push_back(call);
        }
        connection.send(message.member() == QStringLiteral("Fail")
                            ? message.createErrorReply(QStringLiteral("org.plorix.Error.Refused"),
                                                       QStringLiteral("not today"))
                            : message.createReply());
        return true;
    }
    std::vector<Received> calls() const {
        QMutexLocker lock(&mutex_);
        return calls_;
    }

private:
    mutable QMutex mutex_;
    std::vector<Received> calls_;
};

// A dbus-daemon of the test's own, and a service on it whose object answers
// on a thread of its own while the test's thread blocks in its calls.
class DBusDdeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "platform_linux_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) app_ = new QCoreApplication(argc, argv);
    }

    void SetUp() override {
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        // Its complaints about resource limits are no concern of the test.
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        char* args[] = {const_cast<char*>("dbus-daemon"),       const_cast<char*>("--session"),
                        const_cast<char*>("--nofork"),          const_cast<char*>("--nopidfile"),
                        const_cast<char*>("--print-address=1"), nullptr};
        ASSERT_EQ(posix_spawnp(&daemon_, "dbus-daemon", &actions, nullptr, args, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') address_ += c;
        close(out[0]);
        ASSERT_FALSE(address_.empty()) << "dbus-daemon printed no address";

        thread_ = std::make_unique<QThread>();
        thread_->start();
        object_ = std::make_unique<RecordingObject>();
        object_->moveToThread(thread_.get());
        QDBusConnection service =
            QDBusConnection::connectToBus(QString::fromStdString(address_), QStringLiteral("test-service"));
        ASSERT_TRUE(service.isConnected());
        ASSERT_TRUE(service.registerVirtualObject(QString::fromLatin1(kPath), object_.get()));
        ASSERT_TRUE(service.registerService(QString::fromLatin1(kService)));
        dde_ = std::make_unique<DBusDde>(address_);
    }

    void TearDown() override {
        dde_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("test-service"));
        thread_->quit();
        thread_->wait();
        object_.reset();
        if (daemon_ > 0) {
            kill(daemon_, SIGTERM);
            waitpid(daemon_, nullptr, 0);
        }
    }

    static QCoreApplication* app_;
    pid_t daemon_ = 0;
    std::string address_;
    std::unique_ptr<QThread> thread_;
    std::unique_ptr<RecordingObject> object_;
    std::unique_ptr<DBusDde> dde_;
};

QCoreApplication* DBusDdeTest::app_ = nullptr;

TEST_F(DBusDdeTest, CommandWithArgumentsReachesTheRunningService) {
    const DdeResult result = dde_->execute(kService, kPath, R"x(org.plorix.Test.Open("a b, (c)", Größe ,))x");
    ASSERT_TRUE(result.ok()) << result.errorText;
    const auto calls = object_->calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].interface, "org.plorix.Test");
    EXPECT_EQ(calls[0].member, "Open");
    EXPECT_EQ(calls[0].arguments, (std::vector<std::string>{"a b, (c)", "Größe", ""}));

    ASSERT_TRUE(dde_->execute(kService, kPath, "org.plorix.Test.Refresh").ok());
    EXPECT_TRUE(object_->calls().back().arguments.empty());
}

TEST_F(DBusDdeTest, ServiceThatIsNotRunningIsNotStarted) {
    const DdeResult result = dde_->execute("org.plorix.Nobody", kPath, "org.plorix.Test.Open");
    EXPECT_EQ(result.outcome, DdeOutcome::NoService);
    const DdeResult badName = dde_->execute("not a bus name", kPath, "org.plorix.Test.Open");
    EXPECT_EQ(badName.outcome, DdeOutcome::NoService);
    EXPECT_TRUE(object_->calls().empty());
}

TEST_F(DBusDdeTest, MalformedCommandsNeverReachTheBus) {
    for (const char* command : {"Open", "org.plorix.Test.Open(\"unclosed)", "org.plorix.Test.Open(a) b",
                                "org.plorix.Test.9Open", ""}) {
        EXPECT_EQ(dde_->execute(kService, kPath, command).outcome, DdeOutcome::BadCommand) << command;
    }
    EXPECT_TRUE(object_->calls().empty());
}

TEST_F(DBusDdeTest, ErrorAnswerAndUnknownObjectCountAsFailed) {
    const DdeResult refused = dde_->execute(kService, kPath, "org.plorix.Test.Fail(x)");
    EXPECT_EQ(refused.outcome, DdeOutcome::Failed);
    EXPECT_NE(refused.errorText.find("org.plorix.Error.Refused"), std::string::npos) << refused.errorText;

    const DdeResult noObject = dde_->execute(kService, "/org/plorix/Elsewhere", "org.plorix.Test.Open");
    EXPECT_EQ(noObject.outcome, DdeOutcome::Failed) << noObject.errorText;
}

}  // namespace
}  // namespace plorix::platform
