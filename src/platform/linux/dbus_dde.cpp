#include "platform/linux/dbus_dde.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>
#include <atomic>
#include <cstdlib>

#include "platform/dde_command.h"

namespace plorix::platform {
namespace {

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string errorText(const QDBusError& error) {
    return (error.name() + QStringLiteral(": ") + error.message()).toStdString();
}

// Each connection to an address needs a name of its own within the process.
QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("plorix-dde-%1").arg(++counter);
}

}  // namespace

struct DBusDde::Connection {
    QDBusConnection bus;
    QString name;  // empty for the shared session bus
};

DBusDde::DBusDde() = default;

DBusDde::DBusDde(std::string busAddress) : address_(std::move(busAddress)) {}

DBusDde::~DBusDde() {
    if (connection_ && !connection_->name.isEmpty()) QDBusConnection::disconnectFromBus(connection_->name);
}

DBusDde::Connection* DBusDde::connect() {
    if (connection_) return connection_.get();
    if (address_.empty()) {
        // Asking for the session bus without one would make the bus library
        // launch a daemon that outlives this program.
        const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        if (!session || !*session) return nullptr;
        connection_ = std::make_unique<Connection>(Connection{QDBusConnection::sessionBus(), {}});
    } else {
        const QString name = nextConnectionName();
        connection_ = std::make_unique<Connection>(
            Connection{QDBusConnection::connectToBus(QString::fromStdString(address_), name), name});
    }
    return connection_.get();
}

DdeResult DBusDde::execute(std::string_view service, std::string_view topic, std::string_view command) {
    const auto call = parseDdeCommand(command);
    if (!call)
        return {DdeOutcome::BadCommand, "not \"interface.Method(arguments)\": " + std::string(command)};
    if (!isBusName(service) || !isObjectPath(topic)) {
        return {DdeOutcome::NoService,
                "no such service or object: " + std::string(service) + " " + std::string(topic)};
    }
    Connection* connection = connect();
    if (!connection) return {DdeOutcome::NoService, "no session bus"};
    QDBusConnection& bus = connection->bus;
    if (!bus.isConnected()) return {DdeOutcome::NoService, errorText(bus.lastError())};
    const QString serviceName = qtext(service);
    const auto registered = bus.interface()->isServiceRegistered(serviceName);
    if (!registered.isValid() || !registered.value())
        return {DdeOutcome::NoService, "no application owns " + std::string(service)};

    QDBusMessage message =
        QDBusMessage::createMethodCall(serviceName, qtext(topic), QString::fromStdString(call->interface),
                                       QString::fromStdString(call->method));
    message.setAutoStartService(false);
    QVariantList arguments;
    for (const std::string& argument : call->arguments) arguments << QString::fromStdString(argument);
    message.setArguments(arguments);

    const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ErrorMessage) return {DdeOutcome::Done, {}};
    const QDBusError error(reply);
    // The application left between the check and the call.
    const bool gone = error.type() == QDBusError::ServiceUnknown ||
                      error.name() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
    return {gone ? DdeOutcome::NoService : DdeOutcome::Failed, errorText(error)};
}

}  // namespace plorix::platform
