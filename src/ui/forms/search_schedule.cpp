#include "ui/forms/search_schedule.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/tables/categories.h"
#include "scheduler/fire_context.h"
#include "scheduler/schedule_kinds.h"
#include "settings/settings.h"
#include "ui/forms/qbe_dialogs.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

using data::QbeKind;

constexpr const char* kTitle = "Enter Search Criteria";
constexpr const char* kHeading =
    "This process allows you to select/unselect\n"
    "schedule items based on certain criteria.\n"
    "Select whichever field(s) you want to search,\n"
    "enter the information you want to search for,\n"
    "and press the \"Search Type\" button for more options.";
constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";

// Where the window places the fields: the task's own in the left column,
// its times and options in the right, the pattern checks below both.
constexpr std::string_view kRightColumnFrom = "SCH:DATE";
constexpr std::string_view kPatternFrom = "SCH:EVERY1ST";
constexpr int kPatternColumns = 4;

template <typename Names>
QStringList namesOf(const Names& names) {
    QStringList texts;
    for (const auto& name : names) texts << qs(name.text);
    return texts;
}

// The choices of a field entered by choosing; empty for a typed one.
QStringList choicesOf(const data::SearchField& field, Prompter& prompter) {
    if (field.kind == QbeKind::Check) return {QString(), kYes, kNo};
    if (field.field == "SCH:TASKTYPE")
        return {QString(), qs(scheduler::kRunProgram), qs(scheduler::kDisplayMessage), qs(scheduler::kBoth),
                QStringLiteral("None")};
    if (field.field == "SCH:SCHEDULETYPE")
        return QStringList{QString()} + namesOf(scheduler::kScheduleTypeNames);
    if (field.field == "SCH:EVERYTYPE") return QStringList{QString()} + namesOf(scheduler::kEveryUnitNames);
    if (field.field == "SCH:CATEGORY") {
        QStringList categories{QString()};
        auto table = ownTable(data::Categories::schema(), prompter);
        table->setStart(data::keys::Categories::KEYCATEGORY);
        while (table->next() == store::kNoError) categories << qs(table->rec<data::Categories>().CATEGORY);
        return categories;
    }
    return {};
}

std::string pictureOf(const data::SearchField& field) {
    if (field.kind == QbeKind::Date) return settings::settings().DateFormat;
    if (field.field == "SCH:TIME" || field.field == "SCH:ADVANCEWARNTIME") return "@t3";
    return {};
}

}  // namespace

SearchSchedule::SearchSchedule(const ScheduleServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setWindowTitle(QString::fromLatin1(kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(kHeading), this));

    auto* columns = new QHBoxLayout;
    auto* left = new QGridLayout;
    auto* right = new QGridLayout;
    auto* patternBox = new QGroupBox(QStringLiteral("Pattern"), this);
    auto* pattern = new QGridLayout(patternBox);
    columns->addLayout(left);
    columns->addSpacing(12);
    columns->addLayout(right);
    layout->addLayout(columns);
    layout->addWidget(patternBox);

    QGridLayout* grid = left;
    int row = 0;
    rows_.reserve(data::scheduleSearchFields().size());
    for (const data::SearchField& field : data::scheduleSearchFields()) {
        if (field.field == kRightColumnFrom) grid = right, row = 0;
        if (field.field == kPatternFrom) grid = pattern, row = 0;
        QWidget* control = makeControl(field);
        auto* label = new QLabel(qs(field.label), this);
        label->setBuddy(control);
        auto* symbol = new QLabel(this);
        symbol->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MM")));
        symbol->setAlignment(Qt::AlignCenter);
        symbol->setAccessibleName(qs(field.label).remove('&').remove(':') + " match type");
        control->setAccessibleName(qs(field.label).remove('&').remove(':'));
        // The pattern checks sit in a grid of their own, several to a row.
        const int cell = grid == pattern ? (row % kPatternColumns) * 3 : 0;
        const int line = grid == pattern ? row / kPatternColumns : row;
        grid->addWidget(label, line, cell);
        grid->addWidget(symbol, line, cell + 1);
        grid->addWidget(control, line, cell + 2);
        rows_.push_back({&field, control, symbol});
        ++row;
    }
    left->setRowStretch(left->rowCount(), 1);
    right->setRowStretch(right->rowCount(), 1);

    auto* buttons = new QHBoxLayout;
    auto* searchType = new QPushButton(QStringLiteral("Search T&ype"), this);
    searchType->setToolTip(QStringLiteral("Choose how the field last entered is compared"));
    auto* begin = new QPushButton(QStringLiteral("&Begin Search"), this);
    begin->setToolTip(QStringLiteral("Find the tasks that match every field entered"));
    begin->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Cl&ose"), this);
    for (auto* b : {searchType, begin, close}) b->setAccessibleName(b->text().remove('&'));
    connect(searchType, &QPushButton::clicked, this, &SearchSchedule::chooseMatchType);
    connect(begin, &QPushButton::clicked, this, &SearchSchedule::beginSearch);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(searchType);
    buttons->addStretch();
    buttons->addWidget(begin);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    // "Search Type" works on the field the user was in last; a click on it
    // leaves the focus there.
    searchType->setFocusPolicy(Qt::TabFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { noteFocus(now); });
    rememberPosition(*this, "SearchSchedule");
}

QWidget* SearchSchedule::makeControl(const data::SearchField& field) {
    const QStringList choices = choicesOf(field, services_.prompter);
    const std::size_t index = rows_.size();
    if (choices.isEmpty()) {
        auto* edit = new QLineEdit(this);
        connect(edit, &QLineEdit::textEdited, this, [this, index] { valueEdited(rows_[index]); });
        return edit;
    }
    auto* combo = new QComboBox(this);
    combo->addItems(choices);
    combo->setEditable(field.field == "SCH:CATEGORY");
    connect(combo, &QComboBox::currentTextChanged, this, [this, index] { valueEdited(rows_[index]); });
    return combo;
}

QString SearchSchedule::valueOf(const Row& row) const {
    if (auto* edit = qobject_cast<QLineEdit*>(row.control)) return edit->text();
    const QString text = static_cast<QComboBox*>(row.control)->currentText();
    if (row.field->kind == QbeKind::Check && !text.isEmpty()) return text == kYes ? "1" : "0";
    return text;
}

QWidget* SearchSchedule::control(std::string_view field) const {
    const Row* row = rowOf(field);
    return row ? row->control : nullptr;
}

int SearchSchedule::matchOf(std::string_view field) const {
    const Row* row = rowOf(field);
    return row ? row->match : data::kIgnoreField;
}

SearchSchedule::Row* SearchSchedule::rowOf(std::string_view field) {
    for (Row& r : rows_)
        if (r.field->field == field) return &r;
    return nullptr;
}

const SearchSchedule::Row* SearchSchedule::rowOf(std::string_view field) const {
    return const_cast<SearchSchedule*>(this)->rowOf(field);
}

// A field filled in is searched for what it equals until another match
// type is chosen; a field emptied is left out again.
void SearchSchedule::valueEdited(Row& row) {
    const bool filled = !valueOf(row).isEmpty();
    if (filled && row.match == data::kIgnoreField) showMatch(row, data::kEquals);
    if (!filled && row.match == data::kEquals) showMatch(row, data::kIgnoreField);
}

void SearchSchedule::showMatch(Row& row, int match) {
    row.match = match;
    const data::MatchTypeInfo* info = data::matchTypeInfo(match);
    row.symbol->setText(qs(info->symbol));
    QString tip = qs(info->text);
    if (match == data::kInsideRange || match == data::kOutsideRange) tip += " (up to " + row.upper + ")";
    row.symbol->setToolTip(match == data::kIgnoreField ? QString() : tip);
}

void SearchSchedule::noteFocus(QWidget* now) {
    for (Row& r : rows_)
        if (now && (now == r.control || r.control->isAncestorOf(now))) current_ = &r;
}

void SearchSchedule::chooseMatchType() {
    noteFocus(focusWidget());
    if (!current_) {
        services_.prompter.message(kTitle, "You must select a data field first!", Icon::Warning, kOk, kOk);
        return;
    }
    Row& row = *current_;
    const std::optional<int> chosen = askMatchType(this, row.field->kind, row.match);
    if (!chosen) return;
    if (*chosen == data::kInsideRange || *chosen == data::kOutsideRange) {
        const std::optional<QString> upper = askUpperLimit(this, valueOf(row), row.upper);
        if (!upper) return;
        row.upper = *upper;
    }
    showMatch(row, *chosen);
    row.control->setFocus();
}

std::optional<data::Query> SearchSchedule::buildQuery(int& key) {
    std::vector<data::Criterion> criteria;
    for (Row& row : rows_) {
        if (row.match == data::kIgnoreField) continue;
        if (auto* edit = qobject_cast<QLineEdit*>(row.control); edit && row.field->capitals)
            edit->setText(edit->text().toUpper());
        criteria.push_back({.field = std::string(row.field->field),
                            .match = row.match,
                            .value = valueOf(row).toStdString(),
                            .upper = row.upper.toStdString(),
                            .kind = row.field->kind,
                            .picture = pictureOf(*row.field)});
    }
    if (criteria.empty()) {
        services_.prompter.message(kTitle, "You must specify at least one search field!", Icon::Warning, kOk,
                                   kOk);
        return std::nullopt;
    }
    std::string problem;
    std::optional<data::Query> query = data::Query::build(data::Schedule::schema(), criteria, &problem);
    if (!query) services_.prompter.message(kTitle, problem, Icon::Warning, kOk, kOk);
    key = data::scheduleSearchKey(criteria);
    return query;
}

void SearchSchedule::beginSearch() {
    int key = 0;
    const std::optional<data::Query> query = buildQuery(key);
    if (!query) return;
    const NextStep step = askNextStep(this);
    if (step == NextStep::Edit) editMatches(*query, key);
    if (step == NextStep::Select || step == NextStep::Unselect) {
        // The window closes on the tasks it selected, shown in "Selected".
        if (tagMatches(*query, key, step == NextStep::Select)) accept();
    }
}

bool searchSchedule(const ScheduleServices& services, QWidget* parent) {
    SearchSchedule search(services, parent);
    search.exec();
    return search.selectionChanged();
}

}  // namespace plorix::ui
