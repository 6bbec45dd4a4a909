#pragma once
// UPDATELINK ("Update the Link File"): relates one task to a contact. The
// task is chosen with "&Relate Task to Contact" (SELECTSCHEDULE); its date,
// time and description show what was chosen. A task related twice to the
// same contact is refused.

#include <cstdint>

#include "data/tables/link.h"
#include "ui/kit/update_form.h"

class QLineEdit;

namespace plorix::ui {

class UpdateLink final : public UpdateForm {
    Q_OBJECT
public:
    // Edits `links`' buffer, which holds the link.
    UpdateLink(store::Table& links, data::FormAction action, Prompter& prompter, QWidget* parent = nullptr);

    data::Link& link() { return table().rec<data::Link>(); }
    // Relates the task `id` (SCH:ID) and shows it.
    void relate(std::int32_t id);

protected:
    bool prepareSave() override;
    int save() override;

private:
    void showTask();

    QLineEdit* date_ = nullptr;
    QLineEdit* time_ = nullptr;
    QLineEdit* description_ = nullptr;
};

// Relates a new task to contact `clientId`, or changes the link stored at
// `position`; whether it was saved.
bool updateLink(data::FormAction action, std::int64_t position, std::int32_t clientId, Prompter& prompter,
                QWidget* parent);

// The date, time and description of task `id` as lists show them; empty
// texts when there is no such task.
struct TaskTexts {
    QString date;
    QString time;
    QString description;
};
TaskTexts taskTexts(std::int32_t id, Prompter& prompter);

}  // namespace plorix::ui
