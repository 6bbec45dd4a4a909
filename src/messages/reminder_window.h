#pragma once
// The reminder windows: SHOWMESSAGE, the ordinary reminder; SHOWMODALMESSAGE,
// the same reminder kept on top and to be acknowledged before the program
// is used further; SHOWMESSAGEWITHREPLYPATH, the on-top reminder with a
// Reply button. Each shows the task's description and message, repeats the
// alarm while open, and offers Close, Snooze and To Do.

#include <QWidget>
#include <functional>
#include <memory>

#include "scheduler/reminder.h"

class QPushButton;
class QTimer;

namespace plorix::messages {

enum class ReminderWindowKind { ShowMessage, ShowModalMessage, ShowMessageWithReplyPath };

// What a reminder window works with besides its hand-over; the services
// must outlive every window opened with them.
struct ReminderContext {
    scheduler::ReminderServices* services = nullptr;
    // Reminders are windows of their own kept with the frame.
    QWidget* frame = nullptr;
    // The quick message entry that Reply opens on the data file of the reply
    // folder (the program's own folder stays its working directory); false
    // when that file cannot be opened. Without it Reply is disabled.
    std::function<bool(QWidget* parent, const std::string& folder)> fastAdd;
    // Shows an ordinary reminder some other way (a desktop notification)
    // instead of in a window; false when it did not.
    std::function<bool(const scheduler::ReminderHandOver&)> showElsewhere;
};

class ReminderWindow final : public QWidget {
    Q_OBJECT
public:
    ReminderWindow(const scheduler::ReminderHandOver& handOver, ReminderWindowKind kind,
                   const ReminderContext& context);
    ~ReminderWindow() override;

    ReminderWindowKind kind() const { return kind_; }
    const scheduler::Reminder& reminder() const { return *reminder_; }
    // The button whose label is `text` ("&" included), or nullptr.
    QPushButton* button(std::string_view text) const;

    // The buttons' work, callable directly.
    void snooze();
    void addToTodo();
    void reply();
    // The window's timer event: repeats the alarm when due.
    void timerStep();

private:
    void stepAsideFromOthers();

    ReminderWindowKind kind_;
    ReminderContext context_;
    std::unique_ptr<scheduler::Reminder> reminder_;
    QTimer* timer_ = nullptr;
};

}  // namespace plorix::messages
