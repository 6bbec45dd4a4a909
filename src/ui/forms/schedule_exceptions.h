#pragma once
// SCHEDULEEXCEPTIONS ("Exceptions"): the exception fields of an entry,
// edited in place and written to no file.

#include <QDialog>
#include <functional>

#include "data/tables/schedule.h"
#include "ui/kit/record_binder.h"

namespace plorix::ui {

class ScheduleExceptions final : public QDialog {
public:
    // `holidays` opens the holidays ("Define Holidays..."); empty: disabled.
    ScheduleExceptions(data::Schedule& entry, std::function<void(QWidget*)> holidays,
                       QWidget* parent = nullptr);
    FieldEditor* editor(std::string_view field) const { return binder_.editor(field); }
    void done(int result) override;

private:
    void applyRules();
    void sideChecked(std::string_view checked, std::string_view other);

    data::Schedule& entry_;
    RecordBinder binder_;
};

}  // namespace plorix::ui
