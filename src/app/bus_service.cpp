#include "app/bus_service.h"

#include <QCryptographicHash>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QFile>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "app/notices.h"
#include "app/task_requests.h"
#include "runtime/clock.h"
#include "runtime/data_folder.h"
#include "scheduler/simulate.h"
#include "ui/qt_text.h"

namespace plorix::app {
struct TaskEntry {
    std::int32_t id = 0;
    QString description, due, scheduleType;
};
struct RunEntry {
    std::int32_t id = 0;
    QString due, description;
};
}  // namespace plorix::app
Q_DECLARE_METATYPE(plorix::app::TaskEntry)
Q_DECLARE_METATYPE(plorix::app::RunEntry)

namespace plorix::app {

QDBusArgument& operator<<(QDBusArgument& out, const TaskEntry& e) {
    out.beginStructure();
    out << e.id << e.description << e.due << e.scheduleType;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, TaskEntry& e) {
    in.beginStructure();
    in >> e.id >> e.description >> e.due >> e.scheduleType;
    in.endStructure();
    return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const RunEntry& e) {
    out.beginStructure();
    out << e.id << e.due << e.description;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, RunEntry& e) {
    in.beginStructure();
    in >> e.id >> e.due >> e.description;
    in.endStructure();
    return in;
}

namespace {

using ui::qs;

const QString kRefused = QStringLiteral("org.plorix.Plorix1.Error.Refused");
const QString kBadArguments = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");

std::string canonical(const std::string& folder) {
    std::error_code error;
    auto path = std::filesystem::weakly_canonical(std::filesystem::absolute(folder), error);
    if (error) return folder;
    // "/srv/plorix/" and "/srv/plorix" are one folder.
    if (!path.has_filename() && path.has_parent_path()) path = path.parent_path();
    return path.string();
}

// The values of an a{sv} as field texts; a flag is 1 or 0.
TaskFields taskFields(const QVariant& argument) {
    const QVariantMap map = qdbus_cast<QVariantMap>(argument);
    TaskFields fields;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const QVariant& value = it.value();
        if (value.metaType() == QMetaType::fromType<QDBusArgument>())
            throw RequestRefused("the value of " + it.key().toStdString() + " is not a plain value");
        const QString text = value.metaType() == QMetaType::fromType<bool>()
                                 ? QString::number(value.toBool() ? 1 : 0)
                                 : value.toString();
        fields.emplace_back(it.key().toStdString(), text.toStdString());
    }
    return fields;
}

Moment forecastStart(const QString& from) {
    if (from.isEmpty()) return processClock().current();
    const auto moment = scheduler::parseIsoMoment(from.toStdString());
    if (!moment)
        throw RequestRefused("'" + from.toStdString() + "' is not a moment (YYYY-MM-DD[THH:MM[:SS]])");
    return *moment;
}

bool argumentsAre(const QDBusMessage& message, const char* signature) {
    return message.signature() == QLatin1String(signature);
}

}  // namespace

QString instanceBusName(const std::string& folder, const std::string& defaultFolder) {
    const std::string path = canonical(folder);
    if (path == canonical(defaultFolder)) return QStringLiteral("org.plorix.Plorix");
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(path), QCryptographicHash::Sha256);
    return QStringLiteral("org.plorix.Plorix.F") + QString::fromLatin1(digest.toHex());
}

int claimOrHandOver(BusService& service, const std::string& folder, bool headless) {
    const QString name = instanceBusName(folder, defaultDataFolder());
    if (service.claim(name) != BusService::Claim::AlreadyRunning) return -1;
    if (headless) {
        std::cerr << "plorix: the scheduler of " << folder << " is already running\n";
        return 0;
    }
    const std::string why = BusService::activateRunning(name);
    if (why.empty()) return 0;
    std::cerr << "plorix: the scheduler of " << folder << " is already running: " << why << '\n';
    return 1;
}

BusService::BusService(BusHost host) : host_(std::move(host)) {
    qDBusRegisterMetaType<TaskEntry>();
    qDBusRegisterMetaType<QList<TaskEntry>>();
    qDBusRegisterMetaType<RunEntry>();
    qDBusRegisterMetaType<QList<RunEntry>>();
}

BusService::~BusService() {
    if (name_.isEmpty()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QLatin1String(kBusPath));
    bus.unregisterService(name_);
}

BusService::Claim BusService::claim(const QString& busName) {
    if (!sessionBusNamed()) return Claim::NoBus;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return Claim::NoBus;
    if (!bus.registerVirtualObject(QLatin1String(kBusPath), this)) return Claim::NoBus;
    const auto reply = bus.interface()->registerService(busName, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QLatin1String(kBusPath));
        return reply.isValid() ? Claim::AlreadyRunning : Claim::NoBus;
    }
    name_ = busName;
    return Claim::Owned;
}

std::string BusService::activateRunning(const QString& busName) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        busName, QLatin1String(kBusPath), QLatin1String(kBusInterface), QStringLiteral("ShowWindow"));
    call << QString();
    call.setAutoStartService(false);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage().toStdString() : std::string();
}

void BusService::taskFired(std::int32_t id, const std::string& description) {
    emitSignal(QStringLiteral("TaskFired"), {id, qs(description)});
}

void BusService::tasksChanged() { emitSignal(QStringLiteral("TasksChanged"), {}); }

void BusService::emitSignal(const QString& name, const QVariantList& arguments) {
    if (name_.isEmpty()) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(kBusPath), QLatin1String(kBusInterface), name);
    signal.setArguments(arguments);
    QDBusConnection::sessionBus().send(signal);
}

QString BusService::introspect(const QString&) const {
    QFile xml(QStringLiteral(":/dbus/org.plorix.Plorix1.xml"));
    if (!xml.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(xml.readAll());
    // The object's part of the document, without its <node> wrapper.
    const qsizetype begin = text.indexOf(QLatin1String("<interface"));
    const qsizetype end = text.lastIndexOf(QLatin1String("</interface>"));
    return begin < 0 || end < 0 ? QString() : text.mid(begin, end - begin + 12);
}

bool BusService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage ||
        message.interface() != QLatin1String(kBusInterface))
        return false;
    connection.send(answer(message));
    return true;
}

QDBusMessage BusService::answer(const QDBusMessage& message) {
    const QString method = message.member();
    const QVariantList args = message.arguments();
    try {
        if (method == QLatin1String("AddTask") && argumentsAre(message, "a{sv}")) {
            const std::int32_t id = addTask(taskFields(args.at(0)));
            // TasksChanged follows from the next tick, as for any change.
            if (host_.tasksAdded) host_.tasksAdded();
            return message.createReply(id);
        }
        if (method == QLatin1String("ListTasks") && argumentsAre(message, "")) {
            QList<TaskEntry> rows;
            for (const TaskRow& row : listTasks())
                rows.append({row.id, qs(row.description), qs(row.due), qs(row.scheduleType)});
            return message.createReply(QVariant::fromValue(rows));
        }
        if (method == QLatin1String("Forecast") && argumentsAre(message, "si")) {
            QList<RunEntry> rows;
            for (const ForecastRow& row :
                 forecastRuns(forecastStart(args.at(0).toString()), args.at(1).toInt()))
                rows.append({row.id, qs(row.due), qs(row.description)});
            return message.createReply(QVariant::fromValue(rows));
        }
        if (method == QLatin1String("RunNow") && argumentsAre(message, "i")) {
            const data::Schedule entry = findTask(args.at(0).toInt());
            // Run once the caller has its answer: the run may show windows.
            QTimer::singleShot(0, this, [run = host_.runNow, entry] { run(entry); });
            return message.createReply();
        }
        if (method == QLatin1String("ShowWindow") && argumentsAre(message, "s")) {
            if (!host_.showWindow) throw RequestRefused("this scheduler runs without windows");
            const std::string why = host_.showWindow(args.at(0).toString().toStdString());
            if (!why.empty()) throw RequestRefused(why);
            return message.createReply();
        }
        if (method == QLatin1String("Quit") && argumentsAre(message, "")) {
            QTimer::singleShot(0, this, [quit = host_.quit] { quit(); });
            return message.createReply();
        }
    } catch (const RequestRefused& refused) {
        return message.createErrorReply(kRefused, QString::fromStdString(refused.what()));
    }
    return message.createErrorReply(kBadArguments,
                                    QStringLiteral("no method %1(%2) in %3")
                                        .arg(method, message.signature(), QLatin1String(kBusInterface)));
}

}  // namespace plorix::app
