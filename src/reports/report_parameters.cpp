#include "reports/report_parameters.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/open_routine.h"
#include "data/tables.h"
#include "data/warnings.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::reports {

namespace {

using ui::qs;

// Every category of the Categories table, in alphabetical order.
std::vector<std::string> categoryNames(Prompter& prompter) {
    store::Table table(data::Categories::schema());
    data::TableUse use(table, prompter);
    std::vector<std::string> names;
    table.setStart(data::keys::Categories::KEYCATEGORY);
    int code;
    while ((code = table.next()) == store::kNoError)
        names.push_back(table.rec<data::Categories>().CATEGORY.str());
    if (code != store::kRecordNotAvailable)
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, table.name());
    return names;
}

QDate toQDate(Date date) {
    if (date == 0) return QDate::currentDate();
    return QDate(yearOf(date), monthOf(date), dayOf(date));
}

Date fromQDate(const QDate& date) { return makeDate(date.month(), date.day(), date.year()); }

QDateEdit* dateEdit(QWidget* parent, Date date, const QString& name, const QString& tip) {
    auto* edit = new QDateEdit(toQDate(date), parent);
    edit->setCalendarPopup(true);
    edit->setAccessibleName(name);
    edit->setToolTip(tip);
    return edit;
}

// "All" and "Selected" side by side, with `selected` enabling what it selects.
std::pair<QRadioButton*, QRadioButton*> allOrSelected(QWidget* parent, QBoxLayout* layout, bool selected,
                                                      const QString& subject, const QString& allText,
                                                      const QString& selectedText) {
    auto* all = new QRadioButton(allText, parent);
    auto* chosen = new QRadioButton(selectedText, parent);
    all->setAccessibleName(subject + " " + QObject::tr("All"));
    chosen->setAccessibleName(subject + " " + QObject::tr("Selected"));
    (selected ? chosen : all)->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(all);
    row->addWidget(chosen);
    row->addStretch();
    layout->addLayout(row);
    return {all, chosen};
}

}  // namespace

ReportParameters::ReportParameters(const ReportCriteria& criteria, Prompter& prompter, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Report Criteria"));
    auto* layout = new QVBoxLayout(this);

    auto* dates = new QGroupBox(tr("Date Range"), this);
    auto* datesLayout = new QVBoxLayout(dates);
    std::tie(allDates_, selectedDates_) = allOrSelected(dates, datesLayout, criteria.selectedDates,
                                                        tr("Date Range"), tr("&All"), tr("&Selected"));
    auto* range = new QFormLayout;
    from_ = dateEdit(dates, criteria.dateFrom, tr("From"), tr("Select \"From\" Date"));
    to_ = dateEdit(dates, criteria.dateTo, tr("To"), tr("Select \"To\" Date"));
    range->addRow(tr("&From:"), from_);
    range->addRow(tr("&To:"), to_);
    datesLayout->addLayout(range);
    layout->addWidget(dates);

    auto* categories = new QGroupBox(tr("Category"), this);
    auto* categoriesLayout = new QVBoxLayout(categories);
    std::tie(allCategories_, selectedCategory_) = allOrSelected(
        categories, categoriesLayout, criteria.selectedCategory, tr("Category"), tr("A&ll"), tr("S&elected"));
    category_ = new QComboBox(categories);
    category_->setAccessibleName(tr("Category"));
    for (const std::string& name : categoryNames(prompter)) category_->addItem(qs(name));
    if (const int at = category_->findText(qs(criteria.category), Qt::MatchFixedString); at >= 0)
        category_->setCurrentIndex(at);
    categoriesLayout->addWidget(category_);
    layout->addWidget(categories);

    auto* orderRow = new QFormLayout;
    order_ = new QComboBox(this);
    order_->setAccessibleName(tr("Order"));
    for (const std::string_view order : reportOrders()) order_->addItem(qs(order));
    order_->setCurrentIndex(std::max(0, order_->findText(qs(criteria.order))));
    orderRow->addRow(tr("&Order:"), order_);
    layout->addLayout(orderRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto follow = [this] {
        from_->setEnabled(selectedDates_->isChecked());
        to_->setEnabled(selectedDates_->isChecked());
        category_->setEnabled(selectedCategory_->isChecked() && category_->count() > 0);
    };
    connect(selectedDates_, &QRadioButton::toggled, this, follow);
    connect(selectedCategory_, &QRadioButton::toggled, this, follow);
    follow();
    ui::rememberPosition(*this, "ReportParameters");
}

ReportCriteria ReportParameters::criteria() const {
    ReportCriteria out;
    out.selectedDates = selectedDates_->isChecked();
    out.dateFrom = fromQDate(from_->date());
    out.dateTo = fromQDate(to_->date());
    out.selectedCategory = selectedCategory_->isChecked() && category_->count() > 0;
    out.category = category_->currentText().toStdString();
    out.order = order_->currentText().toStdString();
    return out;
}

std::optional<ReportCriteria> askReportCriteria(Prompter& prompter, QWidget* parent) {
    ReportParameters window(lastCriteria(), prompter, parent);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    lastCriteria() = window.criteria();
    return lastCriteria();
}

}  // namespace plorix::reports
