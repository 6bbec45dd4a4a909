#pragma once
// SEARCHSCHEDULE ("Enter Search Criteria"): tasks found by example, field
// by field, each field with a match type of its own ("Search T&ype"). The
// matches can be stepped through and edited, or tagged and untagged for
// the "Selected" tab of View Schedule.

#include <QDialog>
#include <optional>
#include <vector>

#include "data/qbe_query.h"
#include "data/schedule_search.h"
#include "ui/forms/schedule_request.h"

class QLabel;
class QComboBox;

namespace plorix::ui {

class SearchSchedule final : public QDialog {
    Q_OBJECT
public:
    explicit SearchSchedule(const ScheduleServices& services, QWidget* parent = nullptr);

    // The control that takes the value of `field` ("SCH:DESCRIPTION").
    QWidget* control(std::string_view field) const;
    int matchOf(std::string_view field) const;
    // Whether a search selected or unselected tasks since the window opened.
    bool selectionChanged() const { return selectionChanged_; }

    // "Search T&ype": the match type of the field last entered.
    void chooseMatchType();
    // "&Begin Search".
    void beginSearch();

private:
    struct Row {
        const data::SearchField* field;
        QWidget* control;
        QLabel* symbol;
        int match = data::kIgnoreField;
        QString upper;
    };
    QWidget* makeControl(const data::SearchField& field);
    QString valueOf(const Row& row) const;
    void valueEdited(Row& row);
    void noteFocus(QWidget* now);
    void showMatch(Row& row, int match);
    Row* rowOf(std::string_view field);
    const Row* rowOf(std::string_view field) const;
    std::optional<data::Query> buildQuery(int& key);
    // The runs of a search (search_schedule_run.cpp).
    void editMatches(const data::Query& query, int key);
    bool tagMatches(const data::Query& query, int key, bool select);

    const ScheduleServices& services_;
    std::vector<Row> rows_;
    Row* current_ = nullptr;
    bool selectionChanged_ = false;
};

// Opens the search; whether it selected or unselected tasks.
bool searchSchedule(const ScheduleServices& services, QWidget* parent);

}  // namespace plorix::ui
