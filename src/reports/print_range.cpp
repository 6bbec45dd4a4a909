#include "reports/print_range.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace plorix::reports {

std::vector<int> pagesInRange(PrintRange range, const std::vector<bool>& marked, int from, int to) {
    std::vector<int> pages;
    const int count = static_cast<int>(marked.size());
    if (from > to) std::swap(from, to);
    for (int i = 0; i < count; ++i) {
        const bool mark = marked[static_cast<std::size_t>(i)];
        const bool wanted = range == PrintRange::All || (range == PrintRange::Marked && mark) ||
                            (range == PrintRange::Unmarked && !mark) ||
                            (range == PrintRange::Range && i + 1 >= from && i + 1 <= to);
        if (wanted) pages.push_back(i);
    }
    return pages;
}

PrintRangeWindow::PrintRangeWindow(int pageCount, int currentPage, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Print Range"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("Print"), this);
    auto* choices = new QVBoxLayout(group);
    const char* texts[] = {"&All Pages", "&Marked Pages Only", "&Unmarked Pages Only", "&Range of Pages"};
    for (int i = 0; i < 4; ++i) {
        choices_[i] = new QRadioButton(tr(texts[i]), group);
        choices_[i]->setAccessibleName(choices_[i]->text().remove('&'));
        choices->addWidget(choices_[i]);
    }
    choices_[0]->setChecked(true);
    auto* range = new QFormLayout;
    from_ = new QSpinBox(group);
    to_ = new QSpinBox(group);
    for (QSpinBox* box : {from_, to_}) {
        box->setRange(1, std::max(pageCount, 1));
        box->setValue(std::clamp(currentPage, 1, std::max(pageCount, 1)));
    }
    to_->setValue(std::max(pageCount, 1));
    from_->setAccessibleName(tr("From"));
    to_->setAccessibleName(tr("To"));
    range->addRow(tr("&From:"), from_);
    range->addRow(tr("&To:"), to_);
    choices->addLayout(range);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The page numbers count only for a range.
    auto follow = [this] {
        from_->setEnabled(choices_[3]->isChecked());
        to_->setEnabled(choices_[3]->isChecked());
    };
    connect(choices_[3], &QRadioButton::toggled, this, follow);
    follow();
}

PrintRange PrintRangeWindow::range() const {
    for (int i = 0; i < 4; ++i)
        if (choices_[i]->isChecked()) return static_cast<PrintRange>(i);
    return PrintRange::All;
}

int PrintRangeWindow::from() const { return from_->value(); }
int PrintRangeWindow::to() const { return to_->value(); }
void PrintRangeWindow::choose(PrintRange range) { choices_[static_cast<int>(range)]->setChecked(true); }
void PrintRangeWindow::setRange(int from, int to) {
    from_->setValue(from);
    to_->setValue(to);
}

}  // namespace plorix::reports
