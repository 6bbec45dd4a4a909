#pragma once
// VIEWTODO ("To Do List"): the to-do items by done status, priority, text
// or one category, with the done status toggled in place, and UPDATETODO
// for adding and changing them.

#include <QString>

#include "runtime/clock.h"
#include "data/form_save.h"
#include "scheduler/frame_state.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/category_tab.h"

namespace plorix::ui {

class ViewTodo final : public BrowseWindow {
    Q_OBJECT
public:
    enum Tab { DoneTab, PriorityTab, TodoTab, CategoryTab };

    // `lists` is the frame's list of open to-do lists, told when an item is
    // added from elsewhere (may be null).
    ViewTodo(const Clock& clock, Prompter& prompter, scheduler::BrowseRegistry* lists,
             QWidget* parent = nullptr);
    ~ViewTodo() override;

    // The category the category tab lists.
    void setCategory(const QString& category) { category_.set(category); }
    // Flips the highlighted item's done status, stamping the moment when it
    // becomes done, and writes it at once.
    void toggleDone();

protected:
    void preparePage(int tab) override;
    // A digit typed on the list goes to the first item of that done status
    // or priority, as a letter does on the text tab.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool edit(data::FormAction action);

    const Clock& clock_;
    scheduler::BrowseRegistry* lists_;
    int registration_ = 0;
    ui::CategoryTab category_{*this, CategoryTab, "TDO:CATEGORY"};
};

ViewTodo* openViewTodo(const Clock& clock, Prompter& prompter, scheduler::BrowseRegistry* lists,
                       QWidget* parent);

}  // namespace plorix::ui
