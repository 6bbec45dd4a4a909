#pragma once
// Reminders shown as desktop notifications, with the reminder window's
// Snooze and Close as the notification's actions. Each notification keeps
// its reminder until the user answers or the notification goes.

#include <QObject>
#include <map>
#include <memory>

#include "scheduler/reminder.h"

namespace plorix::app {

inline constexpr const char* kSnoozeAction = "snooze";
inline constexpr const char* kCloseAction = "close";

class ReminderNotices final : public QObject {
    Q_OBJECT
public:
    // `services` must outlive this.
    explicit ReminderNotices(scheduler::ReminderServices& services, QObject* parent = nullptr);
    ~ReminderNotices() override;

    // Shows the reminder; false when no notification service took it.
    bool show(const scheduler::ReminderHandOver& handOver);
    // Notifications still waiting for an answer.
    std::size_t waiting() const { return open_.size(); }

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    scheduler::ReminderServices& services_;
    std::map<uint, std::unique_ptr<scheduler::Reminder>> open_;
};

}  // namespace plorix::app
