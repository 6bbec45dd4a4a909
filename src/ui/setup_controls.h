#pragma once
// The controls of the SETUP window, one per declared setting that SETUP
// shows, made from the declaration table: a check box for a flag, a number
// box for a number, a text field for a text, the list of date formats for
// DateFormat. They edit a copy of the settings; nothing is stored until OK.

#include <string_view>
#include <vector>

#include "settings/setting_table.h"
#include "settings/settings.h"

class QFormLayout;
class QWidget;

namespace plorix::ui {

class SetupControls {
public:
    // Something shown on the same row as a setting's control (the Info
    // button beside TranslateFilenames).
    struct Beside {
        std::string_view key;
        QWidget* widget;
    };

    // Adds the controls of `tab` to `form` in declaration order.
    void addTab(std::string_view tab, QFormLayout& form, Beside beside = {});

    void show(const settings::Settings& s);     // values into the controls
    void collect(settings::Settings& s) const;  // controls into the values

    // The control that edits `key`, or nullptr; its object name is the key.
    QWidget* control(std::string_view key) const;

private:
    struct Binding {
        const settings::SettingDecl* decl;
        QWidget* widget;
    };
    std::vector<Binding> bindings_;
};

}  // namespace plorix::ui
