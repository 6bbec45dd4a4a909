// The to-do list and its item form, driven by keyboard: an item added and
// completed carries its completion moment, which a toggle back keeps; a
// priority outside 1 to 10 is refused and nothing is written.

#include <QPushButton>
#include <QTableView>

#include "data/tables/todo.h"
#include "kit_rig.h"
#include "ui/browses/view_todo.h"
#include "ui/forms/update_todo.h"
#include "ui/kit/record_table_model.h"

namespace plorix::ui {
namespace {

using data::Todo;
using test::named;

class TodoWindowsTest : public test::WindowTest {
protected:
    std::unique_ptr<store::Table> todo = table(Todo::schema(), prompter);

    Todo first() {
        todo->setStart(data::keys::Todo::KEYTODO);
        EXPECT_EQ(todo->next(), store::kNoError);
        return todo->rec<Todo>();
    }
    void inForm(ViewTodo& list, Qt::Key key, const std::function<void(UpdateTodo&)>& fill) {
        WindowTest::inForm<UpdateTodo>(list.view(), key, fill);
    }
};

TEST_F(TodoWindowsTest, AnItemAddedByKeyboardIsCompletedWithItsMoment) {
    auto* list = new ViewTodo(clock, prompter, nullptr);
    list->show();
    EXPECT_EQ(list->windowTitle(), "To Do List");
    inForm(*list, Qt::Key_Insert, [&](UpdateTodo& form) {
        EXPECT_EQ(form.windowTitle(), "Adding a To Do Item");
        EXPECT_EQ(form.binder().editor("TDO:PRIORITY")->text(), "5");
        typeInto(named(&form, "To Do"), "Call the plumber");
        QTest::keyClick(&form, Qt::Key_Return);
    });
    Todo added = first();
    EXPECT_EQ(added.TODO, "Call the plumber");
    EXPECT_EQ(added.PRIORITY, 5);
    EXPECT_EQ(added.DONE, 0);
    EXPECT_EQ(added.COMPLETIONDATE, 0);
    EXPECT_EQ(added.ORIGINALID, 0);  // counted before the add
    ASSERT_EQ(list->model().rowCount(), 1);

    clock.set({makeDate(5, 12, 2027), makeTime(14, 30)});
    inForm(*list, Qt::Key_Return, [&](UpdateTodo& form) {
        EXPECT_EQ(form.windowTitle(), "Changing a To Do Item");
        QWidget* done = named(&form, "Done");
        done->setFocus();
        QTest::keyClick(done, Qt::Key_Space);
        EXPECT_EQ(form.binder().editor("TDO:COMPLETIONTIME")->text(), "2:30PM");
        QTest::keyClick(&form, Qt::Key_Return);
    });
    const Todo done = first();
    EXPECT_EQ(done.DONE, 1);
    EXPECT_EQ(done.COMPLETIONDATE, makeDate(5, 12, 2027));
    EXPECT_EQ(done.COMPLETIONTIME, makeTime(14, 30));
    EXPECT_EQ(done.ORIGINALID, 1);  // given at its next save
    EXPECT_EQ(list->model().data(list->model().index(0, 0), Qt::AccessibleTextRole).toString(), "Done");

    // Toggled back the stamp stays; done again it is stamped anew.
    clock.set({makeDate(5, 13, 2027), makeTime(8, 0)});
    named<QPushButton>(list, "Toggle Done Status")->click();
    EXPECT_EQ(first().DONE, 0);
    EXPECT_EQ(first().COMPLETIONDATE, makeDate(5, 12, 2027));
    named<QPushButton>(list, "Toggle Done Status")->click();
    EXPECT_EQ(first().COMPLETIONDATE, makeDate(5, 13, 2027));
    EXPECT_EQ(list->model().rowCount(), 1);
    list->close();
}

TEST_F(TodoWindowsTest, APriorityOutsideOneToTenIsRefusedAndNothingWritten) {
    auto* list = new ViewTodo(clock, prompter, nullptr);
    list->show();
    bool stayedOpen = false;
    inForm(*list, Qt::Key_Insert, [&](UpdateTodo& form) {
        typeInto(named(&form, "To Do"), "Renew the lease");
        typeInto(named(&form, "Priority"), "11");
        QTest::keyClick(&form, Qt::Key_Return);
        stayedOpen = form.isVisible();
        EXPECT_EQ(form.focusWidget(), form.binder().editor("TDO:PRIORITY")->control());
        named<QPushButton>(&form, "Cancel")->click();
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Range Error");
    EXPECT_EQ(prompter.shown()[0].text, "The value of TDO:Priority must be between 1 and 10.");
    EXPECT_EQ(todo->records(), 0);
    EXPECT_EQ(list->model().rowCount(), 0);
    list->close();
}

TEST_F(TodoWindowsTest, ADigitTypedOnThePriorityTabGoesToThatPriority) {
    for (int priority : {2, 7, 9}) {
        store::clearRecord(Todo::schema(), todo->buffer());
        todo->rec<Todo>().PRIORITY = static_cast<std::uint8_t>(priority);
        todo->rec<Todo>().TODO = "Item " + std::to_string(priority);
        ASSERT_EQ(todo->add(), store::kNoError);
    }
    auto* list = new ViewTodo(clock, prompter, nullptr);
    list->show();
    list->setTab(ViewTodo::PriorityTab);
    QTest::keyClicks(&list->view(), "5");
    ASSERT_TRUE(list->hasSelection());
    EXPECT_EQ(static_cast<const Todo*>(list->selected())->TODO, "Item 7");
    list->close();
}

}  // namespace
}  // namespace plorix::ui
