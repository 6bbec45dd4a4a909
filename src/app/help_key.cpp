#include "app/help_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>
#include <array>

#include "app/help_window.h"
#include "ui/browses/browse_schedule.h"
#include "ui/browses/browse_schedule_category.h"
#include "ui/forms/schedule_exceptions.h"
#include "ui/forms/search_schedule.h"
#include "ui/forms/update_schedule.h"
#include "ui/script/browse_script.h"
#include "ui/script/scripting_dialogs.h"
#include "ui/script/update_scripting.h"
#include "ui/script/view_script_keys.h"
#include "ui/setup_window.h"

namespace plorix::app {

namespace {

template <typename Window>
bool is(const QWidget* window) {
    return dynamic_cast<const Window*>(window) != nullptr;
}

// The part of the settings page about Setup's tab in front: its title in
// lower case, spaces as dashes ("start-up"), the names the page's anchors have.
QString setupSection(const QWidget* window) {
    const QTabWidget* tabs = static_cast<const ui::Setup*>(window)->tabs();
    QString title = tabs->tabText(tabs->currentIndex()).remove(QLatin1Char('&')).toLower();
    return title.replace(QLatin1Char(' '), QLatin1Char('-'));
}

struct HelpTopic {
    bool (*about)(const QWidget*);
    const char* page;
    QString (*section)(const QWidget*) = nullptr;  // an anchor on the page
};

constexpr std::array kTopics = {
    HelpTopic{is<ui::Setup>, "settings.html", setupSection},
    HelpTopic{is<ui::BrowseSchedule>, "scheduling.html"},
    HelpTopic{is<ui::BrowseScheduleCategory>, "scheduling.html"},
    HelpTopic{is<ui::UpdateSchedule>, "scheduling.html"},
    HelpTopic{is<ui::ScheduleExceptions>, "scheduling.html"},
    HelpTopic{is<ui::SearchSchedule>, "scheduling.html"},
    HelpTopic{is<ui::ViewScriptKeys>, "keystrokes.html"},
    HelpTopic{is<ui::BrowseScript>, "scripts.html"},
    HelpTopic{is<ui::UpdateScripting>, "scripts.html"},
    HelpTopic{is<ui::StartProgramAdvanced>, "scripts.html"},
    HelpTopic{is<ui::ChildTextDialog>, "scripts.html"},
};

}  // namespace

QString helpPageFor(const QWidget* window) {
    for (const HelpTopic& topic : kTopics) {
        if (!window || !topic.about(window)) continue;
        QString page = QString::fromLatin1(topic.page);
        if (topic.section) page += QLatin1Char('#') + topic.section(window);
        return page;
    }
    return QString::fromLatin1(kHelpContents);
}

HelpKey::HelpKey(std::function<void(const QString&)> show, QObject* parent)
    : QObject(parent), show_(std::move(show)) {}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
        static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    // The window the key was pressed in, not the one under the mouse.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    show_(helpPageFor(widget ? widget->window() : QApplication::activeWindow()));
    return true;
}

}  // namespace plorix::app
