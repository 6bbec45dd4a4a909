#include "reports/report_pages.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <numeric>

#include "ui/qt_text.h"

namespace plorix::reports {

namespace {

using ui::qs;

constexpr qreal kFooterHeight = 24;
constexpr qreal kBlockGap = 8;
constexpr qreal kLabelWidth = 100;

qreal lineHeight(TextStyle style) { return QFontMetricsF(reportFont(style)).lineSpacing(); }

}  // namespace

QFont reportFont(TextStyle style) {
    // Sizes in points of the page (the painter works in points), never in
    // the screen's pixels: a page looks alike on every device.
    QFont font(QStringLiteral("Sans Serif"));
    font.setHintingPreference(QFont::PreferNoHinting);
    switch (style) {
    case TextStyle::Title:
        font.setPixelSize(16);
        font.setBold(true);
        break;
    case TextStyle::Group:
        font.setPixelSize(12);
        font.setBold(true);
        break;
    case TextStyle::Header:
    case TextStyle::Label:
        font.setPixelSize(9);
        font.setBold(true);
        break;
    case TextStyle::Body: font.setPixelSize(9); break;
    case TextStyle::Footer: font.setPixelSize(8); break;
    }
    return font;
}

PageBuilder::PageBuilder(const ReportDef& def, QString title, QSizeF area)
    : def_(def), title_(std::move(title)), area_(area), bottom_(area.height() - kFooterHeight) {
    const int total = std::accumulate(def_.columns.begin(), def_.columns.end(), 0,
                                      [](int sum, const ReportColumn& c) { return sum + c.width; });
    qreal x = 0;
    for (const ReportColumn& column : def_.columns) {
        const qreal width = area_.width() * column.width / std::max(total, 1);
        columnX_.push_back(x);
        columnWidth_.push_back(width);
        x += width;
    }
}

qreal PageBuilder::placeText(qreal x, qreal width, const QString& text, TextStyle style, int flags,
                             bool wrap) {
    const QFontMetricsF metrics(reportFont(style));
    const qreal pad = 3;
    QString shown = text;
    qreal height = metrics.lineSpacing();
    if (wrap) {
        height =
            metrics.boundingRect(QRectF(0, 0, width - pad, 10000), Qt::TextWordWrap | flags, text).height();
        flags |= Qt::TextWordWrap;
    } else {
        shown = metrics.elidedText(text, Qt::ElideRight, width - pad);
    }
    pages_.back().texts.push_back({QRectF(x, y_, width - pad, height), shown, style, flags | Qt::AlignTop});
    return std::max(height, metrics.lineSpacing());
}

void PageBuilder::newPage() {
    pages_.emplace_back();
    y_ = 0;
    y_ += placeText(0, area_.width(), title_, TextStyle::Title, Qt::AlignHCenter, false) + 6;
    if (!def_.columns.empty()) {
        qreal height = 0;
        for (std::size_t i = 0; i < def_.columns.size(); ++i) {
            const int align = def_.columns[i].align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
            height = std::max(height, placeText(columnX_[i], columnWidth_[i], qs(def_.columns[i].header),
                                                TextStyle::Header, align, false));
        }
        y_ += height + 2;
        pages_.back().rules.push_back(QLineF(0, y_, area_.width(), y_));
        y_ += 3;
    }
}

void PageBuilder::ensureRoom(qreal height) {
    if (pages_.empty() ||
        (y_ + height > bottom_ && !pages_.back().texts.empty() && y_ > lineHeight(TextStyle::Title) * 3))
        newPage();
}

void PageBuilder::add(const Band& band) {
    switch (band.kind) {
    case BandKind::Group: addGroup(band); break;
    case BandKind::Row: addRow(band); break;
    case BandKind::Block: addBlock(band); break;
    }
}

void PageBuilder::addGroup(const Band& band) {
    ensureRoom(lineHeight(TextStyle::Group) + 2 * lineHeight(TextStyle::Body));
    y_ += 4;
    y_ += placeText(0, area_.width(), qs(band.cells.empty() ? "" : band.cells[0]), TextStyle::Group,
                    Qt::AlignLeft, false) +
          2;
}

void PageBuilder::addRow(const Band& band) {
    ensureRoom(lineHeight(TextStyle::Body));
    qreal height = 0;
    for (std::size_t i = 0; i < band.cells.size() && i < columnX_.size(); ++i) {
        const int align = def_.columns[i].align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
        height = std::max(height, placeText(columnX_[i], columnWidth_[i], qs(band.cells[i]), TextStyle::Body,
                                            align, false));
    }
    y_ += height;
}

void PageBuilder::addBlock(const Band& band) {
    // Short values two to a line, long ones (a command, a message) on a
    // line of their own; empty ones are left out.
    struct Line {
        std::vector<const LabelledValue*> values;
        bool wide = false;
    };
    std::vector<Line> lines;
    for (const LabelledValue& value : band.values) {
        if (value.value.empty()) continue;
        if (value.wide || lines.empty() || lines.back().wide || lines.back().values.size() == 2)
            lines.push_back({{}, value.wide});
        lines.back().values.push_back(&value);
    }
    const qreal half = area_.width() / 2;
    auto measure = [&](const Line& line) {
        if (!line.wide) return lineHeight(TextStyle::Body);
        const QFontMetricsF metrics(reportFont(TextStyle::Body));
        return std::max(metrics.lineSpacing(),
                        metrics
                            .boundingRect(QRectF(0, 0, area_.width() - kLabelWidth - 3, 10000),
                                          Qt::TextWordWrap, qs(line.values[0]->value))
                            .height());
    };
    qreal height = kBlockGap;
    for (const Line& line : lines) height += measure(line);
    ensureRoom(std::min(height, bottom_ / 2));
    for (const Line& line : lines) {
        ensureRoom(measure(line));
        qreal lineHeightUsed = 0;
        for (std::size_t i = 0; i < line.values.size(); ++i) {
            const qreal x = i * half;
            const qreal width = line.wide ? area_.width() : half;
            placeText(x, kLabelWidth, qs(line.values[i]->label), TextStyle::Label, Qt::AlignLeft, false);
            lineHeightUsed = std::max(
                lineHeightUsed, placeText(x + kLabelWidth, width - kLabelWidth, qs(line.values[i]->value),
                                          TextStyle::Body, Qt::AlignLeft, line.wide));
        }
        y_ += lineHeightUsed;
    }
    y_ += kBlockGap / 2;
    pages_.back().rules.push_back(QLineF(0, y_, area_.width(), y_));
    y_ += kBlockGap / 2;
}

std::vector<ReportPage> PageBuilder::pages(Numbering numbering) const {
    std::vector<ReportPage> out = pages_;
    const int count = static_cast<int>(out.size());
    for (int i = 0; i < count; ++i) {
        const QString text = numbering == Numbering::PageN
                                 ? QStringLiteral("Page %1").arg(i + 1)
                                 : QStringLiteral("Page %1 of %2").arg(i + 1).arg(count);
        out[static_cast<std::size_t>(i)].texts.push_back(
            {QRectF(0, area_.height() - kFooterHeight + 8, area_.width(), kFooterHeight - 8), text,
             TextStyle::Footer, Qt::AlignHCenter | Qt::AlignBottom});
    }
    return out;
}

void paintPage(QPainter& painter, const ReportPage& page) {
    painter.setPen(QPen(Qt::black, 0.5));
    for (const QLineF& rule : page.rules) painter.drawLine(rule);
    for (const PageText& text : page.texts) {
        painter.setFont(reportFont(text.style));
        painter.drawText(text.rect, text.flags, text.text);
    }
}

bool printPages(QPagedPaintDevice& device, const std::vector<ReportPage>& pages,
                const std::vector<int>& which) {
    if (which.empty()) return false;
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const qreal scale = device.logicalDpiX() / 72.0;
    bool first = true;
    for (const int index : which) {
        if (index < 0 || index >= static_cast<int>(pages.size())) continue;
        if (!first) device.newPage();
        first = false;
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, pages[static_cast<std::size_t>(index)]);
        painter.restore();
    }
    painter.end();
    return !first;
}

std::vector<int> allPages(const std::vector<ReportPage>& pages) {
    std::vector<int> all(pages.size());
    std::iota(all.begin(), all.end(), 0);
    return all;
}

}  // namespace plorix::reports
