#include "reports/report_preview.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/frame_printer.h"
#include "ui/window_geometry.h"

namespace plorix::reports {

namespace {

constexpr int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300};
const QString kPageWidth = QStringLiteral("Page Width");
const QString kWholePage = QStringLiteral("Whole Page");

QPushButton* button(QWidget* parent, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setAccessibleName(QString(text).remove('&').remove(QStringLiteral("..")));
    return b;
}

}  // namespace

ReportPreview::ReportPreview(std::vector<ReportPage> pages, QPageLayout layout, QString title,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), pages_(std::move(pages)), marks_(pages_.size(), false), layout_(layout) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title.isEmpty() ? tr("Report Preview") : tr("Report Preview") + " - " + title);
    build();
    resize(720, 820);
    ui::rememberPosition(*this, "ReportPreview");
    showPage(0);
}

void ReportPreview::build() {
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    const struct {
        const char* text;
        const char* tip;
        int target;  // -2 first, -1 previous, 1 next, 2 last
    } moves[] = {
        {"|<", "First Page", -2}, {"<", "Previous Page", -1}, {">", "Next Page", 1}, {">|", "Last Page", 2}};
    for (const auto& move : moves) {
        QPushButton* b = button(this, tr(move.text), tr(move.tip));
        b->setAccessibleName(tr(move.tip));
        connect(b, &QPushButton::clicked, this, [this, target = move.target] {
            const int last = pageCount() - 1;
            showPage(target == -2 ? 0 : target == 2 ? last : current_ + target);
        });
        moves_.push_back(b);
        bar->addWidget(b);
    }
    indicator_ = new QLabel(this);
    indicator_->setAccessibleName(tr("Page"));
    indicator_->setMinimumWidth(
        indicator_->fontMetrics().horizontalAdvance(QStringLiteral("Page 9999 of 9999")));
    bar->addWidget(indicator_);
    QPushButton* goTo = button(this, tr("&Go To Page.."), tr("Go to a page by its number"));
    connect(goTo, &QPushButton::clicked, this, &ReportPreview::askGoToPage);
    bar->addWidget(goTo);
    bar->addSpacing(12);
    QPushButton* zoomOut = button(this, tr("-"), tr("Zoom Out"));
    zoomOut->setAccessibleName(tr("Zoom Out"));
    QPushButton* zoomIn = button(this, tr("+"), tr("Zoom In"));
    zoomIn->setAccessibleName(tr("Zoom In"));
    zoomChoice_ = new QComboBox(this);
    zoomChoice_->setAccessibleName(tr("Zoom"));
    zoomChoice_->setToolTip(tr("Zoom size"));
    for (const int step : kZoomSteps) zoomChoice_->addItem(QStringLiteral("%1%").arg(step), step);
    zoomChoice_->addItem(kPageWidth, -1);
    zoomChoice_->addItem(kWholePage, -2);
    zoomChoice_->setCurrentIndex(zoomChoice_->findData(100));
    connect(zoomOut, &QPushButton::clicked, this, [this] { zoomStep(-1); });
    connect(zoomIn, &QPushButton::clicked, this, [this] { zoomStep(1); });
    connect(zoomChoice_, &QComboBox::activated, this, &ReportPreview::applyZoomChoice);
    bar->addWidget(zoomOut);
    bar->addWidget(zoomChoice_);
    bar->addWidget(zoomIn);
    bar->addStretch();
    layout->addLayout(bar);

    auto* actions = new QHBoxLayout;
    mark_ = button(this, tr("&Mark This Page"), tr("Mark the page shown, to print marked or unmarked pages"));
    mark_->setCheckable(true);
    connect(mark_, &QPushButton::clicked, this, &ReportPreview::toggleMark);
    QPushButton* pdf = button(this, tr("Save as &PDF.."), tr("Save every page in a PDF file"));
    connect(pdf, &QPushButton::clicked, this, &ReportPreview::askSavePdf);
    QPushButton* print = button(this, tr("P&rint.."), tr("Print all pages or some of them"));
    connect(print, &QPushButton::clicked, this, &ReportPreview::askPrint);
    QPushButton* close = button(this, tr("&Close"), tr("Close the preview"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    actions->addWidget(mark_);
    actions->addStretch();
    actions->addWidget(pdf);
    actions->addWidget(print);
    actions->addWidget(close);
    layout->addLayout(actions);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    picture_ = new QLabel(scroll_);
    picture_->setAccessibleName(tr("Page"));
    scroll_->setWidget(picture_);
    layout->addWidget(scroll_, 1);
}

void ReportPreview::showPage(int index) {
    const int count = pageCount();
    current_ = count == 0 ? 0 : std::clamp(index, 0, count - 1);
    indicator_->setText(indicator());
    for (std::size_t i = 0; i < moves_.size(); ++i)
        moves_[i]->setEnabled(count > 0 && (i < 2 ? current_ > 0 : current_ < count - 1));
    mark_->setEnabled(count > 0);
    mark_->setChecked(count > 0 && marks_[static_cast<std::size_t>(current_)]);
    if (count == 0) {
        picture_->setText(tr("Nothing to Preview."));
        picture_->adjustSize();
        return;
    }
    const qreal scale = zoom_ / 100.0 * logicalDpiX() / 72.0;
    const QRectF full = layout_.fullRect(QPageLayout::Point);
    const QRectF paint = layout_.paintRect(QPageLayout::Point);
    QImage image((full.size() * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    painter.translate(paint.topLeft());
    paintPage(painter, pages_[static_cast<std::size_t>(current_)]);
    painter.end();
    picture_->setPixmap(QPixmap::fromImage(image));
    picture_->adjustSize();
}

QString ReportPreview::indicator() const {
    return tr("Page %1 of %2").arg(pageCount() == 0 ? 0 : current_ + 1).arg(pageCount());
}

void ReportPreview::goToPage(int page) { showPage(page - 1); }

void ReportPreview::toggleMark() {
    if (pages_.empty()) return;
    const auto index = static_cast<std::size_t>(current_);
    marks_[index] = !marks_[index];
    showPage(current_);
}

bool ReportPreview::marked(int page) const {
    return page >= 1 && page <= pageCount() && marks_[static_cast<std::size_t>(page - 1)];
}

void ReportPreview::setZoomPercent(int percent) {
    zoom_ = std::clamp(percent, kZoomSteps[0], kZoomSteps[std::size(kZoomSteps) - 1]);
    const int index = zoomChoice_->findData(zoom_);
    if (index >= 0) zoomChoice_->setCurrentIndex(index);
    showPage(current_);
}

void ReportPreview::zoomStep(int direction) {
    const int* begin = std::begin(kZoomSteps);
    const int* end = std::end(kZoomSteps);
    if (direction > 0) {
        const int* next = std::upper_bound(begin, end, zoom_);
        setZoomPercent(next == end ? zoom_ : *next);
    } else {
        const int* below = std::lower_bound(begin, end, zoom_);
        setZoomPercent(below == begin ? zoom_ : *(below - 1));
    }
}

int ReportPreview::fitZoom(bool wholePage) const {
    const QRectF full = layout_.fullRect(QPageLayout::Point);
    const QSize room = scroll_->viewport()->size() - QSize(4, 4);
    const qreal perPoint = logicalDpiX() / 72.0;
    qreal fit = room.width() / (full.width() * perPoint);
    if (wholePage) fit = std::min(fit, room.height() / (full.height() * perPoint));
    return std::max(10, static_cast<int>(fit * 100));
}

void ReportPreview::applyZoomChoice(int index) {
    const int data = zoomChoice_->itemData(index).toInt();
    if (data > 0) {
        setZoomPercent(data);
    } else {
        zoom_ = fitZoom(data == -2);
        showPage(current_);
    }
}

void ReportPreview::askGoToPage() {
    if (pages_.empty()) return;
    bool ok = false;
    const int page =
        QInputDialog::getInt(this, tr("Go to Page"), tr("Page:"), current_ + 1, 1, pageCount(), 1, &ok);
    if (ok) goToPage(page);
}

bool ReportPreview::saveAsPdf(const QString& path) const {
    QPdfWriter writer(path);
    writer.setPageLayout(layout_);
    writer.setCreator(QStringLiteral("Plorix"));
    return printPages(writer, pages_, allPages(pages_));
}

void ReportPreview::askSavePdf() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Save as PDF"), QStringLiteral("Report.pdf"),
                                                      tr("PDF Files (*.pdf);;All Files (*)"));
    if (!path.isEmpty()) saveAsPdf(path);
}

int ReportPreview::printRange(QPagedPaintDevice& device, PrintRange range, int from, int to) const {
    const std::vector<int> which = pagesInRange(range, marks_, from, to);
    return printPages(device, pages_, which) ? static_cast<int>(which.size()) : 0;
}

void ReportPreview::askPrint() {
    PrintRangeWindow window(pageCount(), current_ + 1, this);
    if (window.exec() != QDialog::Accepted) return;
    if (pagesInRange(window.range(), marks_, window.from(), window.to()).empty()) {
        QMessageBox::information(this, QStringLiteral("NOTE..."), QStringLiteral("Nothing to Print."));
        return;
    }
    printRange(ui::programPrinter(), window.range(), window.from(), window.to());
}

}  // namespace plorix::reports
