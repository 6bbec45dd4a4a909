#include "ui/calendar/calendar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "runtime/pictures.h"
#include "scheduler/recurrence.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

constexpr int kFirstYear = 1801;
constexpr int kLastYear = 2099;
constexpr std::string_view kPastDateText =
    "You have selected a date earlier than today.  Do you wish to use this date?";

// Shows a month by its name, and reads a name or a number back.
class MonthSpin final : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int value) const override { return qs(monthName(value)); }
    int valueFromText(const QString& text) const override {
        for (int m = 1; m <= 12; ++m)
            if (qs(monthName(m)).startsWith(text, Qt::CaseInsensitive)) return m;
        return text.toInt();
    }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
};

}  // namespace

Calendar::Calendar(CalendarRequest request, Prompter& prompter, const Clock& clock, QWidget* parent)
    : QDialog(parent), request_(std::move(request)), prompter_(prompter), today_(clock.current().date) {
    chosen_ = request_.start;
    const Date shown = request_.start ? request_.start : today_;
    setWindowTitle(request_.title);
    auto* layout = new QVBoxLayout(this);
    auto* spins = new QHBoxLayout;
    month_ = new MonthSpin(this);
    month_->setRange(1, 12);
    month_->setWrapping(true);
    month_->setAccessibleName(QStringLiteral("Month"));
    year_ = new QSpinBox(this);
    year_->setRange(1, 9999);  // a year outside the calendar is refused in words
    year_->setKeyboardTracking(false);
    year_->setAccessibleName(QStringLiteral("Year"));
    auto* monthLabel = new QLabel(QStringLiteral("&Month:"), this);
    monthLabel->setBuddy(month_);
    auto* yearLabel = new QLabel(QStringLiteral("&Year:"), this);
    yearLabel->setBuddy(year_);
    for (QWidget* w : {static_cast<QWidget*>(monthLabel), static_cast<QWidget*>(month_),
                       static_cast<QWidget*>(yearLabel), static_cast<QWidget*>(year_)})
        spins->addWidget(w);
    spins->addStretch();
    layout->addLayout(spins);

    auto* grid = new QGridLayout;
    for (int weekday = 0; weekday < 7; ++weekday) {
        auto* head = new QLabel(qs(weekdayName(weekday).substr(0, 3)), this);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, weekday);
    }
    for (int cell = 0; cell < 42; ++cell) {
        auto* day = new QPushButton(this);
        day->setAutoDefault(false);
        connect(day, &QPushButton::clicked, this, [this, cell] { pick(firstShown_ + cell); });
        grid->addWidget(day, 1 + cell / 7, cell % 7);
        days_.push_back(day);
    }
    layout->addLayout(grid);
    auto* close = new QPushButton(QStringLiteral("Cl&ose"), this);
    close->setAccessibleName(QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(close, 0, Qt::AlignRight);

    showMonth(monthOf(shown), yearOf(shown));
    connect(month_, &QSpinBox::valueChanged, this, [this](int m) { showMonth(m, year_->value()); });
    connect(year_, &QSpinBox::editingFinished, this, &Calendar::yearEntered);
    connect(year_, &QSpinBox::valueChanged, this, [this](int y) {
        if (y >= kFirstYear && y <= kLastYear) showMonth(month_->value(), y);
    });
    rememberPosition(*this, "Calendar");
}

void Calendar::showMonth(int month, int year) {
    const QSignalBlocker blockMonth(month_), blockYear(year_);
    month_->setValue(month);
    year_->setValue(year);
    const Date first = makeDate(month, 1, year);
    firstShown_ = first - weekdayOf(first);
    const int length = daysInMonth(month, year);
    for (int cell = 0; cell < 42; ++cell) {
        QPushButton* button = days_[static_cast<std::size_t>(cell)];
        const Date date = firstShown_ + cell;
        const int day = date - first + 1;
        const bool inMonth = day >= 1 && day <= length;
        button->setVisible(inMonth);
        if (!inMonth) continue;
        button->setText(QString::number(day));
        button->setEnabled(!request_.entry || scheduler::dateMatches(*request_.entry, date));
        const bool holiday = request_.holidays && request_.holidays->isHoliday(date);
        const bool runs = std::find(request_.runs.begin(), request_.runs.end(), date) != request_.runs.end();
        QStringList notes;
        if (date == today_) notes << QStringLiteral("today");
        if (holiday) notes << QStringLiteral("holiday");
        if (runs) notes << QStringLiteral("the task runs");
        button->setToolTip(notes.join(", "));
        QFont font = button->font();
        font.setBold(runs || date == today_);
        font.setItalic(holiday);
        button->setFont(font);
        button->setAccessibleName(qs(formatDate(date, "d4")) +
                                  (notes.isEmpty() ? "" : " (" + notes.join(", ") + ")"));
    }
}

QPushButton* Calendar::dayButton(int day) const {
    const Date first = makeDate(month_->value(), 1, year_->value());
    return days_[static_cast<std::size_t>(first - firstShown_ + day - 1)];
}

void Calendar::yearEntered() {
    const int year = year_->value();
    if (year >= kFirstYear && year <= kLastYear) return;
    prompter_.message(
        "Error Message",
        "Year should be between " + std::to_string(kFirstYear) + " to " + std::to_string(kLastYear),
        Icon::Warning, kOk, kOk);
    year_->setFocus();
    year_->selectAll();
}

void Calendar::pick(Date date) {
    if (date < today_ && prompter_.message("Confirm", kPastDateText, Icon::Question, kYes | kNo, kNo) != kYes)
        return;
    chosen_ = date;
    accept();
}

Date pickDate(QWidget* parent, Prompter& prompter, const Clock& clock, CalendarRequest request) {
    Calendar calendar(std::move(request), prompter, clock, parent);
    calendar.exec();
    return calendar.chosen();
}

}  // namespace plorix::ui
