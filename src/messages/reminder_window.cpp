#include "messages/reminder_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "messages/message_texts.h"
#include "ui/window_geometry.h"
#include "ui/qt_text.h"

namespace plorix::messages {
namespace {

using ui::qs;

using scheduler::ReminderDisplay;

// How each of the three windows differs.
struct KindRule {
    ReminderWindowKind kind;
    ReminderDisplay display;
    std::string_view todoText;
    bool hasReply;
    bool modal;
    std::string_view positionSection;  // empty: opens where the desktop puts it
};

constexpr std::array<KindRule, 3> kRules = {{
    {ReminderWindowKind::ShowMessage, ReminderDisplay::Window, "&Add to To Do List", false, false,
     "ShowMessage"},
    {ReminderWindowKind::ShowModalMessage, ReminderDisplay::OnTop, "&Add to To Do List", false, true, ""},
    {ReminderWindowKind::ShowMessageWithReplyPath, ReminderDisplay::OnTop, "&To Do", true, false, ""},
}};

constexpr std::string_view kCloseText = "Cl&ose";
constexpr std::string_view kSnoozeText = "&Snooze";
constexpr std::string_view kReplyText = "&Reply";
constexpr std::string_view kMessageAreaName = "Message to display";
constexpr int kTitleWidth = 40;
constexpr int kTimerMilliseconds = 1000;

const KindRule& ruleOf(ReminderWindowKind kind) {
    for (const KindRule& r : kRules)
        if (r.kind == kind) return r;
    return kRules.front();
}

Qt::WindowFlags flagsOf(const KindRule& rule) {
    Qt::WindowFlags flags = Qt::Window;
    if (rule.display == ReminderDisplay::OnTop) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

}  // namespace

ReminderWindow::ReminderWindow(const scheduler::ReminderHandOver& handOver, ReminderWindowKind kind,
                               const ReminderContext& context)
    : QWidget(context.frame, flagsOf(ruleOf(kind))), kind_(kind), context_(context) {
    const KindRule& rule = ruleOf(kind);
    reminder_ = std::make_unique<scheduler::Reminder>(handOver, rule.display, *context_.services);
    setAttribute(Qt::WA_DeleteOnClose);
    if (rule.modal) setWindowModality(Qt::ApplicationModal);
    setWindowTitle(qs(kMessageTitle));
    const QIcon clock(":/messages/icons/clock.svg");
    setWindowIcon(clock);

    auto* title = new QLineEdit(QString::fromStdString(reminder_->title()), this);
    title->setObjectName("Title");
    title->setReadOnly(true);
    title->setMaxLength(kTitleWidth);
    auto* text = new QPlainTextEdit(QString::fromStdString(reminder_->text()), this);
    text->setObjectName("Text");
    text->setReadOnly(true);
    text->setAccessibleName(qs(kMessageAreaName));

    auto* buttons = new QHBoxLayout;
    auto addButton = [&](std::string_view label, auto run) {
        auto* b = new QPushButton(qs(label), this);
        connect(b, &QPushButton::clicked, this, run);
        buttons->addWidget(b);
        return b;
    };
    addButton(kCloseText, &QWidget::close)->setDefault(true);
    addButton(kSnoozeText, &ReminderWindow::snooze);
    addButton(rule.todoText, &ReminderWindow::addToTodo);
    if (rule.hasReply)
        addButton(kReplyText, &ReminderWindow::reply)->setEnabled(static_cast<bool>(context_.fastAdd));

    auto* heading = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(clock.pixmap(32, 32));
    heading->addWidget(icon);
    heading->addWidget(title, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(text, 1);
    layout->addLayout(buttons);
    resize(420, 260);

    if (!rule.positionSection.empty()) {
        ui::rememberPosition(*this, std::string(rule.positionSection));
        stepAsideFromOthers();
    }

    timer_ = new QTimer(this);
    timer_->setInterval(kTimerMilliseconds);
    connect(timer_, &QTimer::timeout, this, &ReminderWindow::timerStep);
    timer_->start();
}

ReminderWindow::~ReminderWindow() = default;

// Every ordinary reminder opens at the one remembered place; a reminder that
// would land exactly on an open one steps down and right, so none hides another.
void ReminderWindow::stepAsideFromOthers() {
    if (!testAttribute(Qt::WA_Moved)) return;  // the desktop places it
    constexpr int kStep = 24;
    const auto others = QApplication::topLevelWidgets();
    for (bool clash = true; clash;) {
        clash = false;
        for (QWidget* w : others) {
            auto* other = qobject_cast<ReminderWindow*>(w);
            // Client-area places, as positions are remembered.
            if (other && other != this && other->isVisible() &&
                other->geometry().topLeft() == geometry().topLeft()) {
                setGeometry(geometry().translated(kStep, kStep));
                clash = true;
            }
        }
    }
}

QPushButton* ReminderWindow::button(std::string_view text) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == qs(text)) return b;
    return nullptr;
}

void ReminderWindow::timerStep() { reminder_->timer(); }

void ReminderWindow::snooze() {
    // A snooze that could not be stored keeps the reminder open, so it is not lost.
    if (reminder_->snooze() != 0) close();
}

void ReminderWindow::addToTodo() { reminder_->addToTodo(); }

void ReminderWindow::reply() {
    if (!context_.fastAdd) return;
    if (!context_.fastAdd(this, reminder_->replyAddress())) {
        context_.services->prompter.message(
            kMessageTitle, "The reply folder " + reminder_->replyAddress() + " cannot be opened.",
            Icon::Warning, kOk, kOk);
    }
    update();
}

}  // namespace plorix::messages
