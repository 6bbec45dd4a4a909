#pragma once
// The parts the import and export windows share: a column of buttons
// beside the list, the first-line check box and the run and close buttons.

#include <QBoxLayout>
#include <QCheckBox>
#include <functional>
#include <initializer_list>

namespace plorix::ui {

struct SideButton {
    const char* text;
    const char* tip;
    std::function<void()> run;
};

// The buttons top-down, the room below them empty.
QVBoxLayout* sideButtons(QWidget* owner, std::initializer_list<SideButton> buttons);
// A check box, checked at first, added to `layout`.
QCheckBox* firstLineCheck(QWidget* owner, QBoxLayout* layout, const QString& text);
// The run button (the default) and Close, at the right of a new row.
void runAndClose(QWidget* owner, QBoxLayout* layout, const QString& runText, std::function<void()> run);

}  // namespace plorix::ui
