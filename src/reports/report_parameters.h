#pragma once
// REPORTPARAMETERS, the window "Report Criteria" of the brief schedule:
// a date range, a category and the order the tasks print in.

#include <QDialog>

#include "reports/rows/report_criteria.h"
#include "runtime/prompter.h"

class QComboBox;
class QDateEdit;
class QRadioButton;

namespace plorix::reports {

class ReportParameters final : public QDialog {
public:
    ReportParameters(const ReportCriteria& criteria, Prompter& prompter, QWidget* parent = nullptr);
    // What the window shows now.
    ReportCriteria criteria() const;

private:
    QRadioButton* allDates_ = nullptr;
    QRadioButton* selectedDates_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QRadioButton* allCategories_ = nullptr;
    QRadioButton* selectedCategory_ = nullptr;
    QComboBox* category_ = nullptr;
    QComboBox* order_ = nullptr;
};

// Asks for the criteria (opening with the last ones); on Ok they become
// the last ones and are returned, on Cancel nothing.
std::optional<ReportCriteria> askReportCriteria(Prompter& prompter, QWidget* parent);

}  // namespace plorix::reports
