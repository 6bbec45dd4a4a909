#pragma once
// REPORTPREVIEW: the program's own preview of a report's pages. Zoom in
// and out or choose a zoom size, page First/Previous/Next/Last or "Go To
// Page..", "Page N of M", "Save as PDF..", "Mark This Page" and "Print.."
// with a print range. The pages live as long as the window.

#include <QPageLayout>
#include <QWidget>
#include <vector>

#include "reports/print_range.h"
#include "reports/report_pages.h"

class QComboBox;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QScrollArea;

namespace plorix::reports {

class ReportPreview final : public QWidget {
public:
    ReportPreview(std::vector<ReportPage> pages, QPageLayout layout, QString title,
                  QWidget* parent = nullptr);

    int pageCount() const { return static_cast<int>(pages_.size()); }
    int currentPage() const { return current_ + 1; }  // from 1; 0 without pages
    void goToPage(int page);                          // from 1, kept inside the report
    void toggleMark();
    bool marked(int page) const;  // from 1
    QString indicator() const;    // "Page N of M"
    int zoomPercent() const { return zoom_; }
    void setZoomPercent(int percent);
    // Writes every page into a PDF file; false when it cannot be written.
    bool saveAsPdf(const QString& path) const;
    // Prints the pages a range selects on `device`; the number printed.
    int printRange(QPagedPaintDevice& device, PrintRange range, int from = 1, int to = 1) const;

private:
    void build();
    void showPage(int index);
    void askGoToPage();
    void askSavePdf();
    void askPrint();
    void zoomStep(int direction);
    void applyZoomChoice(int index);
    int fitZoom(bool wholePage) const;

    std::vector<ReportPage> pages_;
    std::vector<bool> marks_;
    QPageLayout layout_;
    int current_ = 0;
    int zoom_ = 100;
    QLabel* picture_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QLabel* indicator_ = nullptr;
    QComboBox* zoomChoice_ = nullptr;
    QPushButton* mark_ = nullptr;
    std::vector<QPushButton*> moves_;
};

}  // namespace plorix::reports
