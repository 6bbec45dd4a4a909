#pragma once
// Report pages: the bands laid out on pages of the program's printer, as
// lists of texts placed in points (1/72 inch) from the top left of the
// printable area, so that one page paints alike on the screen, into a PDF
// file and on paper.

#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "reports/rows/report_band.h"
#include "reports/rows/report_defs.h"

class QPainter;
class QPagedPaintDevice;
class QPageLayout;

namespace plorix::reports {

enum class TextStyle { Title, Header, Group, Body, Label, Footer };

struct PageText {
    QRectF rect;
    QString text;
    TextStyle style = TextStyle::Body;
    int flags = 0;  // Qt::Alignment and text flags
};

struct ReportPage {
    std::vector<PageText> texts;
    std::vector<QLineF> rules;
};

// "Page 3" under the own preview, "Page 3 of 7" under the library's.
enum class Numbering { PageN, PageXOfY };

QFont reportFont(TextStyle style);

// Lays bands out on pages of `area` (points) under the report's title.
class PageBuilder {
public:
    PageBuilder(const ReportDef& def, QString title, QSizeF area);
    void add(const Band& band);
    bool empty() const { return pages_.empty(); }
    // The pages so far, each with its footer.
    std::vector<ReportPage> pages(Numbering numbering) const;

private:
    void newPage();
    void ensureRoom(qreal height);
    void addRow(const Band& band);
    void addBlock(const Band& band);
    void addGroup(const Band& band);
    qreal placeText(qreal x, qreal width, const QString& text, TextStyle style, int flags, bool wrap);

    const ReportDef& def_;
    QString title_;
    QSizeF area_;
    std::vector<ReportPage> pages_;
    std::vector<qreal> columnX_;
    std::vector<qreal> columnWidth_;
    qreal y_ = 0;
    qreal bottom_ = 0;
};

// Paints one page; the painter's origin is the printable area's top left, in points.
void paintPage(QPainter& painter, const ReportPage& page);
// Prints the pages with the given indices (from 0) on a printer or PDF
// writer, one sheet each; false when the device cannot be started.
bool printPages(QPagedPaintDevice& device, const std::vector<ReportPage>& pages,
                const std::vector<int>& which);
// Every index, for printing all pages.
std::vector<int> allPages(const std::vector<ReportPage>& pages);

}  // namespace plorix::reports
