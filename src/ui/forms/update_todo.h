#pragma once
// UPDATETODO ("Update To Do Item"): one to-do item on three tabs (the item,
// its notes, its resolution). The priority runs from 1 to 10; ticking
// "&Done" on an item that was open stamps the moment it was completed.

#include <QString>
#include <cstdint>

#include "runtime/clock.h"
#include "ui/kit/update_form.h"

namespace plorix::ui {

class UpdateTodo final : public UpdateForm {
    Q_OBJECT
public:
    // Edits `todo`'s buffer, which holds the item.
    UpdateTodo(store::Table& todo, data::FormAction action, const Clock& clock, Prompter& prompter,
               QWidget* parent = nullptr);

protected:
    bool prepareSave() override;
    int save() override;

private:
    void doneToggled();

    const Clock& clock_;
    bool wasDone_ = false;
};

// Adds an item (priority 5, in `category`) or changes the one stored at
// `position`; whether it was saved.
bool updateTodo(data::FormAction action, std::int64_t position, const QString& category, const Clock& clock,
                Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
