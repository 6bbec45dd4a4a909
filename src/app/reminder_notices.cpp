#include "app/reminder_notices.h"

#include <QDBusConnection>

#include "app/notices.h"
#include "ui/qt_text.h"

namespace plorix::app {

namespace {

using ui::qs;

bool listen(const char* signal, QObject* receiver, const char* slot) {
    return QDBusConnection::sessionBus().connect(qs(kNotificationService), qs(kNotificationPath),
                                                 qs(kNotificationService), QString::fromLatin1(signal),
                                                 receiver, slot);
}

}  // namespace

ReminderNotices::ReminderNotices(scheduler::ReminderServices& services, QObject* parent)
    : QObject(parent), services_(services) {
    if (!sessionBusNamed()) return;
    listen("ActionInvoked", this, SLOT(actionInvoked(uint, QString)));
    listen("NotificationClosed", this, SLOT(notificationClosed(uint, uint)));
}

ReminderNotices::~ReminderNotices() = default;

bool ReminderNotices::show(const scheduler::ReminderHandOver& handOver) {
    // Not counted among the reminder windows: nothing stands open in the frame.
    auto reminder =
        std::make_unique<scheduler::Reminder>(handOver, scheduler::ReminderDisplay::OnTop, services_);
    const unsigned id =
        Notices::notify(reminder->title(), reminder->text(),
                        {kSnoozeAction, QStringLiteral("Snooze"), kCloseAction, QStringLiteral("Close")});
    if (id == 0) return false;
    open_[id] = std::move(reminder);
    return true;
}

void ReminderNotices::actionInvoked(uint id, const QString& action) {
    const auto found = open_.find(id);
    if (found == open_.end()) return;
    if (action == QLatin1String(kSnoozeAction)) found->second->snooze();
    open_.erase(found);
    Notices::withdraw(id);
}

void ReminderNotices::notificationClosed(uint id, uint) { open_.erase(id); }

}  // namespace plorix::app
