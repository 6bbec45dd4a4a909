#include "ui/browses/view_todo.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QStyle>

#include "data/tables/todo.h"
#include "ui/forms/update_todo.h"
#include "ui/kit/record_form.h"
#include "ui/kit/record_table_model.h"
#include "ui/pickers/select_categories.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Todo;
namespace keys = data::keys;

constexpr int kDoneColumn = 0;

BrowseSpec todoSpec() {
    return {.schema = &Todo::schema(),
            .title = "To Do List",
            .section = "ViewToDo",
            .tabs = {{"Do&ne", keys::Todo::KEYDONE},
                     {"&Priority", keys::Todo::KEYPRIORITY},
                     {"To Do", keys::Todo::KEYTODO},
                     {"Cate&gory", keys::Todo::KEYCATEGORY}},
            .columns = {{"", "", "Done", 6},
                        {"TDO:PRIORITY", "@n2", "Priority", 8},
                        {"TDO:TODO", "@s80", "To Do", 40},
                        {"TDO:CATEGORY", "@s20", "Category", 16},
                        {"TDO:COMPLETIONDATE", "", "Completion Date", 16},
                        {"TDO:COMPLETIONTIME", "@t3", "Completion Time", 16}},
            .emptyText = "There is nothing on the to-do list. Press Add to enter an item."};
}

}  // namespace

ViewTodo::ViewTodo(const Clock& clock, Prompter& prompter, scheduler::BrowseRegistry* lists, QWidget* parent)
    : BrowseWindow(todoSpec(), prompter, parent), clock_(clock), lists_(lists) {
    model().setDecoration([this](const void* r, int column, int role) -> QVariant {
        if (column != kDoneColumn) return {};
        const bool done = static_cast<const Todo*>(r)->DONE != 0;
        if (role == Qt::DecorationRole)
            return done ? style()->standardIcon(QStyle::SP_DialogApplyButton) : QIcon();
        if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
            return done ? QStringLiteral("Done") : QStringLiteral("Not done");
        return {};
    });
    auto chosen = [this] { return hasSelection(); };
    setActions({.add = [this] { return edit(data::FormAction::Adding); },
                .edit = [this](const void*) { return edit(data::FormAction::Changing); },
                .remove =
                    [this](const void*) {
                        return deleteRecordAt(Todo::schema(), selectedPosition(), this->prompter());
                    }});
    std::vector<BrowseButton> buttons = standardButtons(*this);
    setMenu(buttons);
    buttons.push_back({"&Toggle Done Status", "Mark the highlighted item done, or not done again",
                       [this] { toggleDone(); }, chosen});
    buttons.push_back({"&Pick", "Select the category whose items the tab lists",
                       [this] {
                           if (auto category = selectCategory(this->prompter(), this)) setCategory(*category);
                       },
                       [this] { return tab() == CategoryTab; }});
    setButtons(std::move(buttons));
    if (lists_) registration_ = lists_->add([this] { refresh(); });
    start();
    setWindowTitle(userTitle(declaration().title));
}

ViewTodo::~ViewTodo() {
    if (lists_) lists_->remove(registration_);
}

void ViewTodo::preparePage(int tab) { category_.prepare(tab); }

bool ViewTodo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &view() && event->type() == QEvent::KeyPress &&
        (tab() == DoneTab || tab() == PriorityTab)) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.size() == 1 && typed[0].isDigit()) {
            const auto digit = static_cast<std::uint8_t>(typed[0].digitValue());
            auto leading = [this](const Todo& item) { return tab() == DoneTab ? item.DONE : item.PRIORITY; };
            Todo probe;
            (tab() == DoneTab ? probe.DONE : probe.PRIORITY) = digit;
            showRecord(&probe, 0);
            // A short list fills the page from its start: the item sought may
            // be further down it.
            for (int row = 0; row < model().rowCount(); ++row) {
                if (leading(*static_cast<const Todo*>(model().record(row))) < digit) continue;
                view().selectRow(row);
                break;
            }
            return true;
        }
    }
    return BrowseWindow::eventFilter(watched, event);
}

bool ViewTodo::edit(data::FormAction action) {
    // A new item joins the category the browse is looking at.
    QString category = category_.category();
    if (tab() != CategoryTab || category.isEmpty())
        category = hasSelection() ? qs(static_cast<const Todo*>(selected())->CATEGORY) : QString();
    return updateTodo(action, selectedPosition(), category, clock_, prompter(), this);
}

void ViewTodo::toggleDone() {
    rewriteSelected([this](void* record) {
        auto& item = *static_cast<Todo*>(record);
        item.DONE = item.DONE ? 0 : 1;
        if (item.DONE) {
            const Moment now = clock_.current();
            item.COMPLETIONDATE = now.date;
            item.COMPLETIONTIME = now.time;
        }
    });
}

ViewTodo* openViewTodo(const Clock& clock, Prompter& prompter, scheduler::BrowseRegistry* lists,
                       QWidget* parent) {
    if (auto* open = bringForwardOpen<ViewTodo>(parent)) return open;
    auto* window = new ViewTodo(clock, prompter, lists, parent);
    window->show();
    return window;
}

}  // namespace plorix::ui
