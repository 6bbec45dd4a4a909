#include "messages/show_reminder.h"

#include <QCoreApplication>
#include <QTimer>

namespace plorix::messages {

ReminderWindow* showReminder(const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind,
                             const ReminderContext& context) {
    scheduler::ReminderServices& services = *context.services;
    ReminderWindowKind window = ReminderWindowKind::ShowMessageWithReplyPath;
    if (kind == scheduler::ReminderKind::WithReplyPath) {
        scheduler::showMessageWithReplyPath(handOver, services);
    } else {
        switch (scheduler::showMessage(handOver, services)) {
        case scheduler::ReminderDisplay::PlainBox:
        case scheduler::ReminderDisplay::External: return nullptr;
        case scheduler::ReminderDisplay::OnTop: window = ReminderWindowKind::ShowModalMessage; break;
        case scheduler::ReminderDisplay::Window:
            if (context.showElsewhere && context.showElsewhere(handOver)) return nullptr;
            window = ReminderWindowKind::ShowMessage;
            break;
        }
    }
    auto* shown = new ReminderWindow(handOver, window, context);
    shown->show();
    return shown;
}

void postReminder(const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind,
                  const ReminderContext& context) {
    QObject* receiver = context.frame ? static_cast<QObject*>(context.frame) : qApp;
    QTimer::singleShot(0, receiver, [handOver, kind, context] { showReminder(handOver, kind, context); });
}

}  // namespace plorix::messages
