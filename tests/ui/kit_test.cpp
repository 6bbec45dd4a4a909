// The window kit, one test per class: a browse pages and locates without
// reading the whole table and keeps its column widths; editors refuse what
// does not fit; an update form saves all or nothing and its ditto key
// recalls the last saved values; the calendar asks before a past day.

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "data/cascade.h"
#include "data/holiday_category_rules.h"
#include "data/tables/categories.h"
#include "data/tables/holidays.h"
#include "data/tables/schedule.h"
#include "kit_rig.h"
#include "runtime/ini_file.h"
#include "ui/calendar/calendar.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/record_table_model.h"
#include "ui/kit/update_form.h"

namespace plorix::ui {
namespace {

using test::named;

class KitTest : public test::WindowTest {
protected:
    void addCategories(int count) {
        auto categories = table(data::Categories::schema(), prompter);
        for (int i = 0; i < count; ++i) {
            categories->rec<data::Categories>().CATEGORY = "Cat " + std::to_string(100 + i);
            ASSERT_EQ(categories->add(), store::kNoError);
        }
    }
    static BrowseSpec categorySpec() {
        return {.schema = &data::Categories::schema(),
                .title = "Kit Browse",
                .section = "KitBrowse",
                .tabs = {{"Category", data::keys::Categories::KEYCATEGORY}},
                .columns = {{"", "", "Mark", 3}, {"CAT:CATEGORY", "", "Category", 20}},
                .emptyText = "Nothing here yet."};
    }
    static QString firstShown(BrowseWindow& w) { return w.model().text(0, 1); }
    static QString currentShown(BrowseWindow& w) { return w.model().text(w.view().currentIndex().row(), 1); }
};

TEST_F(KitTest, BrowsePagesLocatesAndKeepsItsColumnWidths) {
    addCategories(60);
    auto* window = new BrowseWindow(categorySpec(), prompter);
    window->start();
    window->show();
    ASSERT_TRUE(plorix::test::waitUntil([&] { return window->page().pageSize() > 3; }));
    const int page = window->page().pageSize();
    ASSERT_GT(page, 3);
    ASSERT_LT(page, 60);
    EXPECT_EQ(window->model().rowCount(), page);  // one page read, not the table
    QTableView& view = window->view();
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(currentShown(*window), "Cat 159");
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(currentShown(*window), "Cat 100");
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(firstShown(*window), QString("Cat %1").arg(100 + page));
    // Down on the last row moves the page by one.
    view.selectRow(page - 1);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(firstShown(*window), QString("Cat %1").arg(101 + page));
    EXPECT_EQ(currentShown(*window), QString("Cat %1").arg(100 + 2 * page));
    // The locator jumps by the key, ignoring case.
    QTest::keyClicks(named<QLineEdit>(window, "Locate"), "cat 14");
    EXPECT_EQ(currentShown(*window), "Cat 140");

    view.setColumnWidth(0, 123);
    window->close();
    plorix::test::runEvents();
    EXPECT_EQ(IniFile(".\\POSITION.INI").getString("KitBrowse", "SRCF?Browse:1").substr(0, 4), "123,");
    BrowseWindow again(categorySpec(), prompter);
    again.start();
    EXPECT_EQ(again.view().columnWidth(0), 123);
}

TEST_F(KitTest, AnEmptyBrowseSaysSoAndItsButtonsFollowTheSelection) {
    BrowseWindow window(categorySpec(), prompter);
    bool pressed = false;
    window.setButtons({{"&Edit", "Edit", [&] { pressed = true; }, [&] { return window.hasSelection(); }}});
    window.start();
    window.show();
    auto* empty = named<QLabel>(&window, "Nothing here yet.");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_FALSE(named<QPushButton>(&window, "Edit")->isEnabled());
    addCategories(1);
    window.refresh();
    EXPECT_FALSE(empty->isVisible());
    EXPECT_TRUE(named<QPushButton>(&window, "Edit")->isEnabled());
}

TEST_F(KitTest, EditorsRefuseWhatDoesNotFitAndKeepWhatThePictureHides) {
    settings::settings().DateFormat = "d2";
    QWidget form;
    RecordBinder binder(data::Schedule::schema());
    FieldEditor* date = binder.bind("SCH:DATE", EditorKind::Date, "&Date:", &form);
    FieldEditor* time = binder.bind("SCH:TIME", EditorKind::Time, "&Time:", &form);
    FieldEditor* every = binder.bind("SCH:EVERY", EditorKind::Number, "Every:", &form);
    FieldEditor* unit = binder.bind("SCH:EVERYTYPE", EditorKind::Option, "Every Type", &form);
    unit->setChoices({"minute(s)", "hour(s)"});
    data::Schedule entry;
    entry.DATE = makeDate(1, 31, 2027);
    entry.TIME = makeTime(1, 30, 1);
    entry.EVERYTYPE = "HOUR(S)";
    binder.show(&entry);
    EXPECT_EQ(date->text(), "01/31/2027");
    EXPECT_EQ(time->text(), "1:30AM");
    EXPECT_EQ(unit->text(), "hour(s)");

    date->setText("02/30/2027");  // no such day: refused, not carried into March
    EXPECT_EQ(binder.collect(&entry), date);
    EXPECT_EQ(entry.DATE, makeDate(1, 31, 2027));
    date->setText("2/28/2027");
    every->setText("1.5");
    EXPECT_EQ(binder.collect(&entry), every);
    every->setText("12");
    EXPECT_EQ(binder.collect(&entry), nullptr);
    EXPECT_EQ(entry.DATE, makeDate(2, 28, 2027));
    EXPECT_EQ(entry.TIME, makeTime(1, 30, 1));  // untouched: the second the picture hides stays
    EXPECT_EQ(entry.EVERY, 12);
    EXPECT_EQ(std::string(entry.EVERYTYPE), "hour(s)");
    time->setText("2:05PM");
    EXPECT_EQ(binder.collect(&entry), nullptr);
    EXPECT_EQ(entry.TIME, makeTime(14, 5));
}

class HolidayForm final : public UpdateForm {
public:
    HolidayForm(store::Table& table, data::FormAction action, Prompter& prompter)
        : UpdateForm(table, action, "Holiday", "UpdateHolidays", prompter) {
        setRules(&data::holidayForm());
        for (auto [field, kind] :
             {std::pair{"HOL:HOLIDAYDATE", EditorKind::Date}, {"HOL:HOLIDAY", EditorKind::Text}})
            body().addWidget(binder().bind(field, kind, field, this));
        showRecord();
    }
};

TEST_F(KitTest, UpdateFormSavesInOneGoAndDittoRecallsTheLastSavedValues) {
    auto holidays = table(data::Holidays::schema(), prompter);
    auto& h = holidays->rec<data::Holidays>();
    h.HOLIDAYDATE = makeDate(12, 25, 2027);
    h.HOLIDAY = "Christmas";
    HolidayForm first(*holidays, data::FormAction::Adding, prompter);
    first.accept();
    EXPECT_EQ(first.result(), QDialog::Accepted);
    EXPECT_EQ(holidays->records(), 1);

    store::clearRecord(holidays->schema(), holidays->buffer());
    HolidayForm second(*holidays, data::FormAction::Adding, prompter);
    second.show();
    QWidget* name = second.binder().editor("HOL:HOLIDAY")->control();
    name->setFocus();
    ASSERT_TRUE(plorix::test::waitUntil([&] { return name->hasFocus(); }));
    QTest::keyClick(name, Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(second.binder().editor("HOL:HOLIDAY")->text(), "Christmas");
    EXPECT_EQ(second.binder().editor("HOL:HOLIDAYDATE")->text(), "");  // only the focused field
    second.reject();

    // Another station renames the holiday while this form has it open.
    holidays->rec<data::Holidays>().HOLIDAYDATE = makeDate(12, 25, 2027);
    ASSERT_EQ(holidays->get(0), store::kNoError);
    HolidayForm change(*holidays, data::FormAction::Changing, prompter);
    auto station = table(data::Holidays::schema(), prompter);
    station->rec<data::Holidays>().HOLIDAYDATE = makeDate(12, 25, 2027);
    ASSERT_EQ(station->get(0), store::kNoError);
    station->rec<data::Holidays>().HOLIDAY = "Xmas";
    ASSERT_EQ(station->put(), store::kNoError);
    change.binder().editor("HOL:HOLIDAY")->setText("Christmas Day");
    change.accept();
    EXPECT_NE(change.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.titles().back(), "Record Was Not Updated");
    EXPECT_EQ(change.binder().editor("HOL:HOLIDAY")->text(), "Xmas");
    change.show();
    change.binder().editor("HOL:HOLIDAY")->control()->setFocus();
    ASSERT_TRUE(plorix::test::waitUntil([&] { return change.binder().focused() != nullptr; }));
    change.ditto();
    EXPECT_EQ(change.binder().editor("HOL:HOLIDAY")->text(), "Christmas Day");
    change.accept();  // a second save writes over the other station's version
    EXPECT_EQ(change.result(), QDialog::Accepted);
    ASSERT_EQ(station->get(0), store::kNoError);
    EXPECT_EQ(std::string(station->rec<data::Holidays>().HOLIDAY), "Christmas Day");
}

TEST_F(KitTest, CalendarAsksBeforeAPastDayAndRefusesYearsOutsideItsRange) {
    data::Schedule mondays;
    mondays.SCHEDULETYPE = "Day of Week";
    mondays.MONDAY = 1;
    Calendar calendar({.start = makeDate(5, 20, 2027), .entry = &mondays}, prompter, clock);
    calendar.show();
    // A task that runs on Mondays only: the other days cannot be picked.
    EXPECT_TRUE(calendar.dayButton(3)->isEnabled());
    EXPECT_FALSE(calendar.dayButton(4)->isEnabled());
    EXPECT_TRUE(calendar.dayButton(31)->isEnabled());

    prompter.answerNext(kNo);
    QTest::mouseClick(calendar.dayButton(3), Qt::LeftButton);  // Monday 3 May, before today
    EXPECT_EQ(prompter.titles().back(), "Confirm");
    EXPECT_TRUE(calendar.isVisible());
    EXPECT_EQ(calendar.chosen(), makeDate(5, 20, 2027));
    prompter.answerNext(kYes);
    QTest::mouseClick(calendar.dayButton(3), Qt::LeftButton);
    EXPECT_FALSE(calendar.isVisible());
    EXPECT_EQ(calendar.chosen(), makeDate(5, 3, 2027));

    Calendar years({}, prompter, clock);
    years.show();
    years.yearSpin().setValue(2150);
    emit years.yearSpin().editingFinished();
    EXPECT_EQ(prompter.shown().back().text, "Year should be between 1801 to 2099");
    EXPECT_EQ(prompter.titles().back(), "Error Message");
}

}  // namespace
}  // namespace plorix::ui
