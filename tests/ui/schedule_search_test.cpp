// Finding tasks: the task picker, the search window with its match types,
// the "Selected" tab the tags feed, and the category's own task list.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "data/schedule_search.h"
#include "kit_rig.h"
#include "store/transaction.h"
#include "ui/browses/browse_schedule.h"
#include "ui/browses/browse_schedule_category.h"
#include "ui/forms/search_schedule.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/record_table_model.h"
#include "ui/pickers/select_schedule.h"
#include "ui/qt_prompter.h"

namespace plorix::ui {
namespace {

using data::Schedule;
using test::named;

constexpr int kDescriptionColumn = 4;

class ScheduleSearchTest : public test::WindowTest {
protected:
    std::unique_ptr<store::Table> schedule = table(Schedule::schema(), prompter);

    ~ScheduleSearchTest() override { data::resetTagState(); }

    void add(std::int32_t id, const char* category, const std::string& description, Date date,
             int every = 0) {
        Schedule& e = schedule->rec<Schedule>();
        store::clearRecord(Schedule::schema(), &e);
        e.ID = id;
        e.CATEGORY = category;
        e.DESCRIPTION = description;
        e.TASKTYPE = "Display Message";
        e.SCHEDULETYPE = "Once";
        e.DATE = date;
        e.TIME = makeTime(17, 0);
        e.EVERY = every;
        ASSERT_EQ(schedule->add(), store::kNoError);
    }
    static std::vector<QString> column(BrowseWindow& browse, int column) {
        std::vector<QString> texts;
        for (int row = 0; row < browse.model().rowCount(); ++row)
            texts.push_back(browse.model().text(row, column));
        return texts;
    }
    static void click(QWidget* root, const QString& button) {
        auto* b = named<QPushButton>(root, button);
        ASSERT_NE(b, nullptr) << button.toStdString();
        b->click();
    }
    // In the search window: the match type of `field` chosen through
    // "Search Type"; `range` then acts in "Enter Upper Limit".
    static void chooseMatch(SearchSchedule& search, std::string_view field, const QString& type,
                            const std::function<void(QWidget*)>& range = {}) {
        search.control(field)->setFocus();
        whenModal([&](QWidget* dialog) {
            auto* choice = named<QRadioButton>(dialog, type);
            ASSERT_NE(choice, nullptr);
            choice->click();
            if (range) whenModal(range);
            click(dialog, "OK");
        });
        click(&search, "Search Type");
    }
    // Opens the search from the browse, lets `fill` enter the query, then
    // begins the search with `step` ("Select", "Unselect"); `running` acts
    // in the progress window.
    void search(BrowseSchedule& browse, const QString& step, const std::function<void(SearchSchedule&)>& fill,
                const std::function<void(QWidget*)>& running = {}) {
        bool seen = false;
        whenModal([&](QWidget* modal) {
            auto* window = dynamic_cast<SearchSchedule*>(modal);
            ASSERT_NE(window, nullptr);
            seen = true;
            fill(*window);
            whenModal([&](QWidget* next) {
                if (running) whenModal(running);
                click(next, step);
            });
            click(window, "Begin Search");
            if (window->isVisible()) window->reject();
        });
        click(&browse, "Search");
        EXPECT_TRUE(seen);
    }
    const Date monday = makeDate(5, 10, 2027);
};

TEST_F(ScheduleSearchTest, TheTaskPickerListsByCategoryAndDateAndReturnsTheChosenId) {
    add(1, "Work", "Report", monday + 1);
    add(2, "Home", "Plants", monday + 2);
    add(3, "Home", "Bins", monday);
    std::vector<QString> listed;
    whenModal([&](QWidget* modal) {
        auto* picker = dynamic_cast<SelectSchedule*>(modal);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->windowTitle(), "Select Task");
        listed = column(picker->browse(), 3);
        QTest::keyClick(&picker->browse().view(), Qt::Key_Down);
        QTest::keyClick(&picker->browse().view(), Qt::Key_Return);
    });
    EXPECT_EQ(selectSchedule(prompter), std::optional<std::int32_t>(2));
    EXPECT_EQ(listed, (std::vector<QString>{"Bins", "Plants", "Report"}));

    whenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(selectSchedule(prompter), std::nullopt);
}

TEST_F(ScheduleSearchTest, ContainsSelectsExactlyTheMatchesUnselectTakesThemOutAndSelectAsksToClearTheOld) {
    add(1, "Work", "Monthly report", monday + 3);
    add(2, "Work", "REPORTS due", monday + 1);
    add(3, "Home", "Water the plants", monday + 2);
    add(4, "Home", "Reprint", monday);
    auto browse = std::make_unique<BrowseSchedule>(services, nullptr);
    browse->show();

    // No field to give a match type, or nothing entered: said so.
    {
        SearchSchedule window(services);
        window.show();
        window.setFocus();
        click(&window, "Search Type");
        click(&window, "Begin Search");
    }
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].text, "You must select a data field first!");
    EXPECT_EQ(prompter.shown()[1].text, "You must specify at least one search field!");

    search(*browse, "Select", [&](SearchSchedule& window) {
        test::WindowTest::typeInto(window.control("SCH:DESCRIPTION"), "report");
        EXPECT_EQ(window.matchOf("SCH:DESCRIPTION"), data::kEquals);
        chooseMatch(window, "SCH:DESCRIPTION", "Contains this");
        EXPECT_EQ(window.matchOf("SCH:DESCRIPTION"), data::kContains);
    });
    EXPECT_EQ(browse->tab(), BrowseSchedule::SelectedTab);
    EXPECT_EQ(column(*browse, kDescriptionColumn), (std::vector<QString>{"REPORTS due", "Monthly report"}));
    EXPECT_EQ(prompter.progressTitles.back(), "Searching for Matching Records");
    EXPECT_EQ(prompter.progressTexts.back(), "Records found: 2");

    search(*browse, "Unselect", [&](SearchSchedule& window) {
        test::WindowTest::typeInto(window.control("SCH:DESCRIPTION"), "monthly");
        chooseMatch(window, "SCH:DESCRIPTION", "Begins with this");
    });
    EXPECT_EQ(column(*browse, kDescriptionColumn), (std::vector<QString>{"REPORTS due"}));
    EXPECT_EQ(data::countTags(prompter, data::kScheduleTags), 1);

    // Selecting again asks whether the old selection goes first.
    const auto selectCategory = [&](const char* category, int answer) {
        prompter.answerNext(answer);
        search(*browse, "Select", [&](SearchSchedule& window) {
            test::WindowTest::typeInto(window.control("SCH:CATEGORY"), category);
        });
        EXPECT_EQ(prompter.shown().back().text, "Clear old selections first?");
    };
    selectCategory("home", kNo);
    EXPECT_EQ(column(*browse, kDescriptionColumn),
              (std::vector<QString>{"Reprint", "REPORTS due", "Water the plants"}));
    selectCategory("home", kYes);
    EXPECT_EQ(column(*browse, kDescriptionColumn), (std::vector<QString>{"Reprint", "Water the plants"}));
}

TEST_F(ScheduleSearchTest, ARangeTakesItsUpperLimitAndRefusesOneBelowTheLower) {
    for (int every : {1, 5, 10, 20}) add(every, "Work", "Every " + std::to_string(every), monday, every);
    auto browse = std::make_unique<BrowseSchedule>(services, nullptr);
    browse->show();
    QString lowerShown;
    bool refused = false;
    search(*browse, "Select", [&](SearchSchedule& window) {
        test::WindowTest::typeInto(window.control("SCH:EVERY"), "4");
        chooseMatch(window, "SCH:EVERY", "Inside range starting with this", [&](QWidget* limits) {
            EXPECT_EQ(limits->windowTitle(), "Enter Upper Limit");
            lowerShown = named<QLineEdit>(limits, "Lower Limit")->text();
            test::WindowTest::typeInto(named(limits, "Upper Limit"), "2");
            click(limits, "OK");
            refused = limits->isVisible();
            test::WindowTest::typeInto(named(limits, "Upper Limit"), "12");
            click(limits, "OK");
        });
        EXPECT_EQ(window.matchOf("SCH:EVERY"), data::kInsideRange);
    });
    EXPECT_EQ(lowerShown, "4");
    EXPECT_TRUE(refused);
    EXPECT_EQ(column(*browse, kDescriptionColumn), (std::vector<QString>{"Every 5", "Every 10"}));
}

TEST_F(ScheduleSearchTest, CancelStopsASearchOfTwentyThousandTasksAndKeepsWhatItTagged) {
    constexpr int kTasks = 20000;
    {
        store::Transaction transaction(*schedule);
        for (int id = 1; id <= kTasks; ++id) add(id, "Work", "Task " + std::to_string(id), monday + id % 300);
        ASSERT_EQ(transaction.commit(), store::kNoError);
    }
    // The desktop's own progress window, whose Cancel is pressed once it shows.
    QtPrompter desktop;
    ScheduleServices onDesktop{.prompter = desktop, .clock = clock};
    auto browse = std::make_unique<BrowseSchedule>(onDesktop, nullptr);
    browse->show();
    std::int32_t taggedAtCancel = -1;
    QString progressTitle;
    // Looks for the progress window from the event loop, so the search goes
    // on meanwhile, and presses its Cancel once the first tasks are tagged.
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!progress || !progress->isVisible()) return;
        taggedAtCancel = data::countTags(prompter, data::kScheduleTags);
        if (taggedAtCancel == 0) return;
        canceller.stop();
        progressTitle = progress->windowTitle();
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    search(
        *browse, "Select",
        [&](SearchSchedule& window) {
            test::WindowTest::typeInto(window.control("SCH:DESCRIPTION"), "task");
            chooseMatch(window, "SCH:DESCRIPTION", "Begins with this");
        },
        [&](QWidget*) { canceller.start(10); });
    canceller.stop();
    EXPECT_EQ(progressTitle, "Searching for Matching Records");
    const std::int32_t tagged = data::countTags(prompter, data::kScheduleTags);
    EXPECT_GT(tagged, 0);
    EXPECT_LT(tagged, kTasks / 2);
    EXPECT_EQ(tagged, taggedAtCancel);  // not one more after Cancel
    // The "Selected" tab lists tagged tasks only.
    ASSERT_EQ(browse->tab(), BrowseSchedule::SelectedTab);
    ASSERT_GT(browse->model().rowCount(), 0);
    for (int row = 0; row < browse->model().rowCount(); ++row) {
        browse->view().selectRow(row);
        EXPECT_TRUE(data::isTagged(prompter, data::kScheduleTags,
                                   static_cast<const Schedule*>(browse->selected())->ID));
    }
}

TEST_F(ScheduleSearchTest, EditStepsThroughTheMatchesOneByOneUntilThereAreNoMore) {
    add(1, "Work", "Pay rent", monday + 1);
    add(2, "Home", "Water the plants", monday);
    add(3, "Work", "Pay taxes", monday + 2);
    std::vector<QString> shown;
    bool edited = false;
    SearchSchedule window(services);
    window.show();
    test::WindowTest::typeInto(window.control("SCH:CATEGORY"), "work");
    // Each match shows in turn; "Edit This" opens its entry form and comes
    // back to the same match.
    std::function<void(QWidget*)> step = [&](QWidget* match) {
        shown.push_back(named<QLabel>(match, "Description")->text());
        if (shown.size() == 1) {
            whenModal([&](QWidget* form) {
                edited = form->windowTitle() == "Changing a Schedule Task";
                form->close();
            });
            click(match, "Edit This");
        } else {
            click(match, "Find Next");
        }
        if (shown.size() < 3) whenModal(step);
    };
    whenModal([&](QWidget* next) {
        whenModal(step);
        click(next, "Edit");
    });
    click(&window, "Begin Search");
    EXPECT_EQ(shown, (std::vector<QString>{"Pay rent", "Pay rent", "Pay taxes"}));
    EXPECT_TRUE(edited);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown().back().text, "There are no more matching records!");
    EXPECT_FALSE(window.selectionChanged());
}

TEST_F(ScheduleSearchTest, TheCategorysTaskListHoldsItsTasksByDescriptionIgnoringCase) {
    add(1, "Work", "Report", monday);
    add(2, "HOME", "Plants", monday);
    add(3, "home", "Bins", monday + 1);
    auto browse = std::make_unique<BrowseScheduleCategory>(services, nullptr, "Home");
    browse->show();
    EXPECT_EQ(browse->windowTitle(), "Browse Schedule by Category");
    EXPECT_EQ(column(*browse, 0), (std::vector<QString>{"Bins", "Plants"}));
}

}  // namespace
}  // namespace plorix::ui
