// The script editor driven as a user drives it: items written through the
// item form land with the fields of their action only; moves renumber the
// list; a script survives a trip through a script file, and a bad file is
// taken item by item; a script another station changed is read again, not
// overwritten; "Send Email" takes the message picked; a cancelled new task
// takes the items written for it along; the key list finds and hands back
// a key name.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "data/tables/messages.h"
#include "data/tables/scripting.h"
#include "kit_rig.h"
#include "ui/browses/browse_messages.h"
#include "ui/forms/update_schedule.h"
#include "ui/kit/record_table_model.h"
#include "ui/script/browse_script.h"
#include "ui/script/scripting_dialogs.h"
#include "ui/script/update_scripting.h"
#include "ui/script/view_script_keys.h"

namespace plorix::ui {
namespace {

using data::Scripting;
using test::named;

constexpr std::int32_t kTask = 7;

class ScriptEditorTest : public test::WindowTest {
protected:
    std::unique_ptr<store::Table> items = table(Scripting::schema(), prompter);
    ScriptEditorServices editor{prompter, clock, {}, {}};

    void add(std::int32_t sequence, const char* action, const char* keystrokes = "") {
        store::clearRecord(items->schema(), items->buffer());
        Scripting& r = items->rec<Scripting>();
        r.ID = kTask;
        r.SEQUENCE = sequence;
        r.ACTION = action;
        r.KEYSTROKES = keystrokes;
        ASSERT_EQ(items->add(), store::kNoError);
    }
    Scripting stored(std::int32_t sequence, std::int32_t task = kTask) {
        store::clearRecord(items->schema(), items->buffer());
        items->rec<Scripting>().ID = task;
        items->rec<Scripting>().SEQUENCE = sequence;
        EXPECT_EQ(items->get(data::keys::Scripting::KEYID), store::kNoError) << sequence;
        return items->rec<Scripting>();
    }
    // "1 Send Keystrokes a" for each row of the list.
    static QStringList rows(BrowseScript& list) {
        QStringList out;
        for (int row = 0; row < list.model().rowCount(); ++row) {
            const auto* item = static_cast<const Scripting*>(list.model().record(row));
            out << QString::number(item->SEQUENCE) + " " + list.model().text(row, 0) + " " +
                       list.model().data(list.model().index(row, 1), Qt::DisplayRole).toString();
        }
        return out;
    }
    // Presses the button shown under `name` (hidden pages have their own).
    static void press(QWidget& window, const QString& name) {
        QPushButton* button = nullptr;
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (b->accessibleName() == name && (!button || b->isVisibleTo(&window))) button = b;
        ASSERT_NE(button, nullptr) << name.toStdString();
        ASSERT_TRUE(button->isEnabled()) << name.toStdString();
        button->click();
    }
};

TEST_F(ScriptEditorTest, AnItemTypedIntoTheFormKeepsOnlyItsActionsFieldsAndCancelTakesANewOneBack) {
    auto* list = new BrowseScript(editor, kTask, nullptr);
    list->show();
    EXPECT_EQ(list->model().rowCount(), 0);
    EXPECT_FALSE(named<QPushButton>(list, "Export")->isEnabled());  // nothing to export yet

    inForm<UpdateScripting>(list->view(), Qt::Key_Insert, [&](UpdateScripting& form) {
        EXPECT_EQ(form.windowTitle(), "Update the Scripting File");
        EXPECT_EQ(form.action(), "Send Keystrokes");  // a new item starts as keystrokes
        // A blank keystroke text is refused and the form stays open.
        press(form, "OK");
        EXPECT_EQ(prompter.titles().back(), "Incomplete Entry");
        ASSERT_TRUE(form.isVisible());
        named<QRadioButton>(&form, "Start Program")->click();
        EXPECT_EQ(form.page().name, "Start");
        EXPECT_TRUE(form.helpText().startsWith("Enter the program"));
        typeInto(named(&form, "Command"), "/usr/bin/true --quiet");
        QTest::keyClick(named(&form, "Command"), Qt::Key_Tab);
        // The options dialog sets what the page does not show.
        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<StartProgramAdvanced*>(modal);
            ASSERT_NE(dialog, nullptr);
            named<QComboBox>(dialog, "Window Mode")->setCurrentIndex(2);  // maximised
            named<QComboBox>(dialog, "Start Type")->setCurrentIndex(2);   // Print
            press(*dialog, "Ok");
        });
        press(form, "Advanced");
        press(form, "OK");
    });
    Scripting saved = stored(1);
    EXPECT_EQ(saved.ACTION, "Start Program");
    EXPECT_EQ(saved.COMMAND, "/usr/bin/true --quiet");
    EXPECT_EQ(saved.DDEAPPLICATIONNAME, "023");
    EXPECT_EQ(saved.DDEAPPLICATIONTOPIC, "Print");
    EXPECT_EQ(saved.ORIGINALID, kTask);
    EXPECT_EQ(saved.LASTCHANGEDATE, clock.current().date);
    EXPECT_EQ(rows(*list), QStringList{"1 Start Program /usr/bin/true --quiet"});

    // Another action on the same item: the fields of the first stay as stored,
    // the new page's are taken.
    inForm<UpdateScripting>(list->view(), Qt::Key_Return, [&](UpdateScripting& form) {
        EXPECT_EQ(form.windowTitle(), "Update the Scripting File");
        named<QRadioButton>(&form, "Wait")->click();
        typeInto(named(&form, "Wait For Window"), "Untitled - *");
        named<QRadioButton>(&form, "Or")->click();
        press(form, "OK");
    });
    saved = stored(1);
    EXPECT_EQ(saved.ACTION, "Wait");
    EXPECT_EQ(saved.WAITFORWINDOW, "Untitled - *");
    EXPECT_EQ(saved.DDEAPPLICATIONNAME, "Or");
    EXPECT_EQ(saved.COMMAND, "/usr/bin/true --quiet");

    inForm<UpdateScripting>(list->view(), Qt::Key_Insert, [&](UpdateScripting& form) {
        EXPECT_EQ(items->records(), 2);  // stored at once while the form is open ...
        press(form, "Cancel");
    });
    EXPECT_EQ(items->records(), 1);  // ... and taken back on Cancel
    list->close();
}

TEST_F(ScriptEditorTest, CopyAddsTheHighlightedItemAtTheEndAndAnItemWithoutActionMustBeChosenAgain) {
    add(1, "Send Keystrokes", "a");
    add(2, "");  // written by an older station, without an action
    auto* list = new BrowseScript(editor, kTask, nullptr);
    list->show();
    list->view().selectRow(0);
    whenModal([&](QWidget* modal) {
        auto& form = *qobject_cast<UpdateScripting*>(modal);
        EXPECT_EQ(form.action(), "Send Keystrokes");
        EXPECT_EQ(form.binder().editor("SCR:KEYSTROKES")->text(), "a");
        press(form, "OK");
    });
    press(*list, "Copy");
    EXPECT_EQ(rows(*list).back(), "3 Send Keystrokes a");

    list->view().selectRow(1);
    inForm<UpdateScripting>(list->view(), Qt::Key_Return, [&](UpdateScripting& form) {
        EXPECT_EQ(form.page().name, "Other");
        press(form, "OK");
        ASSERT_FALSE(prompter.shown().empty());
        EXPECT_EQ(prompter.shown().back().title, "Error");
        EXPECT_EQ(prompter.shown().back().text, "\"Other\" script item not recorded correctly.  Re-enter.");
        named<QRadioButton>(&form, "Exit Script")->click();
        press(form, "OK");
    });
    EXPECT_EQ(stored(2).ACTION, "Exit Script");
    list->close();
}

TEST_F(ScriptEditorTest, SendEmailTakesTheMessageChosenInTheMessagePicker) {
    auto messages = table(data::Messages::schema(), prompter);
    messages->rec<data::Messages>().EMAILID = 4;
    messages->rec<data::Messages>().EMAILTO = "ada@example.org";
    messages->rec<data::Messages>().SUBJECT = "Weekly figures";
    ASSERT_EQ(messages->add(), store::kNoError);
    auto* list = new BrowseScript(editor, kTask, nullptr);
    list->show();
    inForm<UpdateScripting>(list->view(), Qt::Key_Insert, [&](UpdateScripting& form) {
        named<QRadioButton>(&form, "Send Email")->click();
        whenModal([](QWidget* picker) {
            auto* browse = picker->findChild<BrowseMessages*>();
            ASSERT_NE(browse, nullptr);
            QTest::keyClick(&browse->view(), Qt::Key_Return);
        });
        press(form, "Select Message");
        EXPECT_EQ(named<QLabel>(&form, "Send to")->text(), "ada@example.org");
        EXPECT_EQ(named<QLabel>(&form, "Subject")->text(), "Weekly figures");
        press(form, "OK");
    });
    EXPECT_EQ(stored(1).EMAILID, 4);
    EXPECT_EQ(list->model().text(0, 0), "Send Email");
    list->close();
}

TEST_F(ScriptEditorTest, ScriptingOfACancelledNewTaskLeavesNoItemsForTheNextTaskOfThatNumber) {
    services.scripting = [this](QWidget* parent, std::int32_t id) { browseScript(editor, id, parent); };
    whenModal([&](QWidget* modal) {
        auto* form = qobject_cast<UpdateSchedule*>(modal);
        ASSERT_NE(form, nullptr);
        whenModal([&](QWidget* window) {
            auto* list = qobject_cast<BrowseScript*>(window);
            ASSERT_NE(list, nullptr);
            inForm<UpdateScripting>(list->view(), Qt::Key_Insert, [&](UpdateScripting& item) {
                typeInto(named(&item, "Keystrokes"), "abc");
                press(item, "OK");
            });
            EXPECT_EQ(list->itemCount(), 1);
            list->close();
        });
        press(*form, "Scripting");
        press(*form, "Cancel");
    });
    EXPECT_FALSE(updateSchedule(nullptr, services, ScheduleRequest::Add, nullptr));
    EXPECT_EQ(items->records(), 0);
}

TEST_F(ScriptEditorTest, MovesRenumberTheListAndTheButtonsFollowThePlace) {
    add(1, "Send Keystrokes", "a");
    add(2, "Send Keystrokes", "b");
    add(3, "Send Keystrokes", "c");
    auto* list = new BrowseScript(editor, kTask, nullptr);
    list->show();
    list->view().selectRow(0);
    list->updateButtons();
    EXPECT_FALSE(named<QPushButton>(list, "Up")->isEnabled());
    EXPECT_FALSE(named<QPushButton>(list, "Top")->isEnabled());
    list->view().selectRow(2);
    press(*list, "Top");
    EXPECT_EQ(rows(*list),
              (QStringList{"1 Send Keystrokes c", "2 Send Keystrokes a", "3 Send Keystrokes b"}));
    EXPECT_EQ(stored(1).KEYSTROKES, "c");
    // The moved item stays highlighted: down one swaps it with the next.
    press(*list, "Down");
    EXPECT_EQ(rows(*list),
              (QStringList{"1 Send Keystrokes a", "2 Send Keystrokes c", "3 Send Keystrokes b"}));
    press(*list, "Bottom");
    EXPECT_EQ(rows(*list).back(), "3 Send Keystrokes c");
    EXPECT_FALSE(named<QPushButton>(list, "Down")->isEnabled());

    prompter.answerNext(kOk);
    press(*list, "Delete");
    EXPECT_EQ(rows(*list), (QStringList{"1 Send Keystrokes a", "2 Send Keystrokes b"}));
    prompter.answerNext(kYes);
    press(*list, "Clear");
    EXPECT_EQ(prompter.titles().back(), "Clear All");
    EXPECT_EQ(items->records(), 0);
    list->close();
}

TEST_F(ScriptEditorTest, AScriptChangedAtAnotherStationIsReadAgainNotMovedOver) {
    add(1, "Send Keystrokes", "a");
    add(2, "Send Keystrokes", "b");
    auto* list = new BrowseScript(editor, kTask, nullptr);
    list->show();
    list->view().selectRow(1);
    // Another station deletes the first item and renumbers the second.
    stored(1);
    ASSERT_EQ(items->erase(), store::kNoError);
    stored(2);
    items->rec<Scripting>().SEQUENCE = 1;
    ASSERT_EQ(items->put(), store::kNoError);
    press(*list, "Top");  // on the list as it was: nothing may move
    EXPECT_EQ(rows(*list), QStringList{"1 Send Keystrokes b"});
    EXPECT_EQ(stored(1).KEYSTROKES, "b");
    list->close();
}

TEST_F(ScriptEditorTest, ExportAndImportCarryAScriptThroughAFileAndABadFileItemByItem) {
    add(1, "Send Keystrokes", "hello[ENTER]");
    store::clearRecord(items->schema(), items->buffer());
    Scripting& wait = items->rec<Scripting>();
    wait.ID = kTask;
    wait.SEQUENCE = 2;
    wait.ACTION = "Wait";
    wait.SECONDSTOWAIT = 5;
    wait.WAITFORWINDOW = "Editor*";
    wait.DDEAPPLICATIONNAME = "Or";
    ASSERT_EQ(items->add(), store::kNoError);
    const std::string file = (dir / "script.pxs").string();
    {
        BrowseScript list(editor, kTask, nullptr);
        list.exportItems(QString::fromStdString(file));
    }
    BrowseScript other(editor, kTask + 1, nullptr);
    other.show();
    other.importItems(QString::fromStdString(file));
    EXPECT_EQ(rows(other), (QStringList{"1 Send Keystrokes hello[ENTER]", "2 Wait 5 seconds Or Editor*"}));
    const Scripting copied = stored(2, kTask + 1);
    EXPECT_EQ(copied.WAITFORWINDOW, "Editor*");
    EXPECT_EQ(copied.SECONDSTOWAIT, 5);
    EXPECT_NE(std::find(prompter.progressTitles.begin(), prompter.progressTitles.end(), "Processing Records"),
              prompter.progressTitles.end());

    // A file with an action no script knows and a line that is no record.
    dir.write("bad.pxs",
              "\"Wait for Program End\",\"x\",\"\",\"\",\"\",\"\"\r\n"
              "\"Send Keystrokes\",\"after\",\"\",\"\",\"\",\"\"\r\n"
              "\"Send Keystrokes\",\"unclosed,\"\"\r\n");
    prompter.clear();
    other.importItems(QString::fromStdString((dir / "bad.pxs").string()));
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown().front().title, "Import Error");
    EXPECT_EQ(prompter.shown().front().text, "Unrecognized script action: Wait for Program End");
    EXPECT_EQ(other.itemCount(), 3);  // the good line came in, numbered after the others
    EXPECT_EQ(stored(3, kTask + 1).KEYSTROKES, "after");
}

TEST_F(ScriptEditorTest, TheKeyListFindsAndHandsBackAKeyName) {
    ViewScriptKeys keys(prompter);
    EXPECT_EQ(keys.windowTitle(), "List of Key Abbreviations");
    ASSERT_GT(keys.list().count(), 50);
    // The notes above the names mention [ENTER] first; the next find is the name.
    EXPECT_TRUE(keys.find({.text = "enter", .wholeWord = true}));
    EXPECT_EQ(keys.chosenName(), "");
    EXPECT_TRUE(keys.findNext());
    EXPECT_EQ(keys.chosenName(), "[ENTER]");
    EXPECT_FALSE(keys.find({.text = "no such key name"}));
    // The search leaves only the lines that hold its text.
    keys.search().setText("altf4");
    int shown = 0;
    for (int row = 0; row < keys.list().count(); ++row) shown += keys.list().item(row)->isHidden() ? 0 : 1;
    EXPECT_GE(shown, 1);
    EXPECT_LT(shown, 5);
}

}  // namespace
}  // namespace plorix::ui
