#pragma once
// IMPORTEXPORT_ASKPICTURE: a field's display picture, changed in a small
// window that refuses one not beginning with "@".

#include <QDialog>
#include <string>

#include "runtime/prompter.h"

class QLineEdit;

namespace plorix::ui {

class ImportExportAskPicture final : public QDialog {
public:
    ImportExportAskPicture(const std::string& picture, Prompter& prompter, QWidget* parent = nullptr);
    std::string picture() const;
    void setPicture(const QString& picture);
    void accept() override;

private:
    Prompter& prompter_;
    QLineEdit* picture_ = nullptr;
};

// The new picture, or "Error #" when the user cancels.
std::string askPicture(const std::string& picture, Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
