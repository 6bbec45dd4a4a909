#pragma once
// The program chooser of the entry form and the wizards: a file dialog
// titled "Choose a Program to Start" that can show only programs (files
// with the execute bit), scripts or desktop entries.

#include <QString>

class QWidget;

namespace plorix::ui {

// The file chosen, empty when none. Opens in `folder` when it is set.
QString chooseProgram(QWidget* parent, const QString& folder);

}  // namespace plorix::ui
