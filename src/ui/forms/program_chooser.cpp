#include "ui/forms/program_chooser.h"

#include <QFileDialog>

namespace plorix::ui {

namespace {

const QString kAllFiles = QStringLiteral("All Files (*)");
const QString kPrograms = QStringLiteral("Programs (*)");

}  // namespace

QString chooseProgram(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Choose a Program to Start"), folder);
    // The desktop's own dialog cannot filter by the execute bit.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({kAllFiles, kPrograms, QStringLiteral("Scripts (*.sh)"),
                           QStringLiteral("Desktop entries (*.desktop)")});
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        QDir::Filters shown = QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot;
        if (filter == kPrograms) shown |= QDir::Executable;
        dialog.setFilter(shown);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace plorix::ui
