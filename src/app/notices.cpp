#include "app/notices.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>
#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "ui/qt_text.h"

namespace plorix::app {

namespace {

using ui::qs;

// A notification that is not answered within this time is told on the output.
constexpr int kNotifyTimeoutMs = 3000;

bool serviceAvailable(QDBusConnection& bus, const QString& name) {
    QDBusConnectionInterface* bus_interface = bus.interface();
    if (!bus_interface) return false;
    if (bus_interface->isServiceRegistered(name).value()) return true;
    // A service the bus starts on first use counts as running.
    return bus_interface->activatableServiceNames().value().contains(name);
}

std::string_view buttonName(int button) {
    switch (button) {
    case kYes: return "Yes";
    case kNo: return "No";
    case kCancel: return "Cancel";
    case kRetry: return "Retry";
    case kAbort: return "Abort";
    case kIgnore: return "Ignore";
    default: return "OK";
    }
}

}  // namespace

bool sessionBusNamed() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    return address && *address;
}

std::string noticeLine(std::string_view title, std::string_view text) {
    std::string line(title);
    line += ": ";
    for (char c : text) line += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

Notices::Notices(std::ostream& out) : out_(out) {}

Notices::Shown Notices::tell(std::string_view title, std::string_view text) {
    if (notify(title, text) != 0) return Shown::AsNotification;
    out_ << noticeLine(title, text) << std::endl;
    return Shown::OnOutput;
}

unsigned Notices::notify(std::string_view title, std::string_view text, const QStringList& actions) {
    if (!sessionBusNamed()) return 0;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = qs(kNotificationService);
    if (!bus.isConnected() || !serviceAvailable(bus, service)) return 0;
    const QString path = qs(kNotificationPath);
    const QDBusMessage capabilities =
        bus.call(QDBusMessage::createMethodCall(service, path, service, QStringLiteral("GetCapabilities")),
                 QDBus::Block, kNotifyTimeoutMs);
    const bool markup = capabilities.type() == QDBusMessage::ReplyMessage &&
                        !capabilities.arguments().isEmpty() &&
                        capabilities.arguments().at(0).toStringList().contains(QStringLiteral("body-markup"));
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, service, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("plorix")}};
    call << qs(kNotifyingName) << 0u << QStringLiteral("plorix") << qs(title)
         << (markup ? qs(text).toHtmlEscaped() : qs(text)) << actions << hints << -1;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kNotifyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return 0;
    // A service that answers 0 has still shown it.
    return std::max(1u, reply.arguments().at(0).toUInt());
}

void Notices::withdraw(unsigned id) {
    const QString service = qs(kNotificationService);
    QDBusMessage call = QDBusMessage::createMethodCall(service, qs(kNotificationPath), service,
                                                       QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().send(call);
}

int NoticePrompter::message(std::string_view title, std::string_view text, Icon, ButtonSet buttons,
                            int defaultButton) {
    const int answer = defaultButton == kNoButton ? kOk : defaultButton;
    std::string told(text);
    // A question shows the answer nobody was there to give otherwise.
    if (buttons & ~kOk) told += std::string(" -> ") + std::string(buttonName(answer));
    notices_.tell(title, told);
    return answer;
}

std::unique_ptr<Progress> NoticePrompter::progress(std::string_view, std::string_view) {
    return makeSilentProgress();
}

}  // namespace plorix::app
