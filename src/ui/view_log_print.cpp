#include "ui/view_log_print.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace plorix::ui {

namespace {
constexpr int kPointSize = 9;
}

int printRows(const std::vector<std::string>& rows, QPrinter& printer) {
    if (rows.empty()) return 0;
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kPointSize);
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int lineHeight = metrics.lineSpacing();
    const int perPage = std::max(1, page.height() / lineHeight);

    int pages = 1;
    int onPage = 0;
    for (const std::string& row : rows) {
        if (onPage == perPage) {
            printer.newPage();
            ++pages;
            onPage = 0;
        }
        const int y = onPage * lineHeight + metrics.ascent();
        painter.drawText(0, y, QString::fromStdString(row));
        ++onPage;
    }
    painter.end();
    return pages;
}

}  // namespace plorix::ui
