#pragma once
// SETUP: the preferences window, "Plorix Setup (Preferences)". Opened from
// the frame's menu and run on the frame's thread as a modal dialog; its
// controls edit a copy of the settings, which OK writes back in one batch.

#include <QDialog>
#include <functional>
#include <string_view>

#include "runtime/prompter.h"
#include "settings/settings.h"
#include "ui/setup_controls.h"

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace plorix::ui {

struct SetupHooks {
    // Empties the frame's script queue ("Clear current script queue");
    // without it the button is disabled.
    std::function<void()> emptyScriptQueue;
};

class Setup final : public QDialog {
    Q_OBJECT
public:
    // `live` are the settings OK replaces; `prompter` answers for every
    // message the window shows.
    Setup(settings::Settings& live, Prompter& prompter, SetupHooks hooks = {}, QWidget* parent = nullptr);

    const SetupControls& controls() const { return controls_; }
    QTabWidget* tabs() const { return tabs_; }
    // "Start Plorix when I log in": kept per user, outside the settings.
    QCheckBox* loginStart() const { return loginStart_; }
    // The button labelled `text` (as shown, "&" included), or nullptr.
    QPushButton* button(std::string_view text) const;

    // OK: stores every setting and closes.
    void accept() override;

private:
    QWidget* makeHousekeepingTab();
    void clearDisabledTasks();
    void clearCompletedTasks();
    void clearTodoList();
    void resetWindowSettings();
    void clearScriptQueue();

    settings::Settings& live_;
    settings::Settings edited_;
    Prompter& prompter_;
    SetupHooks hooks_;
    SetupControls controls_;
    QTabWidget* tabs_ = nullptr;
    QCheckBox* loginStart_ = nullptr;
};

// SETUP as the frame opens it: refused (with its warning) when the program
// was started with "/I", else shown modally. True when OK stored settings.
bool runSetup(QWidget* parent, SetupHooks hooks = {}, settings::Settings& live = settings::settings());

}  // namespace plorix::ui
