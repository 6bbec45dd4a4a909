#pragma once
// The small dialogs of the script item form: the options of "Start Program"
// (SCRIPTINGSTARTPROGRAMADVANCED) and the text a window must show to be the
// one meant (UPDATESCRIPTINGGETCHILD, UPDATESCRIPTINGGETCHILDFOCUS).

#include <QDialog>

#include "data/tables/scripting.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace plorix::ui {

class StartProgramAdvanced final : public QDialog {
    Q_OBJECT
public:
    // Shows the options of `item` (its option characters, time-out and verb).
    StartProgramAdvanced(const data::Scripting& item, QWidget* parent = nullptr);
    // Writes the choices back into `item`.
    void store(data::Scripting& item) const;

private:
    QCheckBox* wait_ = nullptr;
    QLineEdit* timeout_ = nullptr;
    QComboBox* priority_ = nullptr;
    QComboBox* mode_ = nullptr;
    QComboBox* verb_ = nullptr;
};

class ChildTextDialog final : public QDialog {
    Q_OBJECT
public:
    // `section` keeps the place ("UpdateScriptingGetChild" or
    // "UpdateScriptingGetChildFocus"); `windowTitle` is the pattern whose
    // window's controls "Pick" offers.
    ChildTextDialog(const QString& text, const QString& windowTitle, std::string section,
                    QWidget* parent = nullptr);
    QString text() const;

private:
    QLineEdit* text_ = nullptr;
};

}  // namespace plorix::ui
