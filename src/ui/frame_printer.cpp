#include "ui/frame_printer.h"

#include <QPageSetupDialog>

namespace plorix::ui {

QPrinter& programPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool showPrintSetup(QWidget* parent) {
    QPageSetupDialog dialog(&programPrinter(), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace plorix::ui
