// The clipboard history and the window-title log, driven as a user would:
// an entry put back on the clipboard, run, viewed, kept and deleted (a kept
// one only after a question); each user seeing their own entries; a title
// added by hand stamped now, and a title already logged refused.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "data/tables/clipboard.h"
#include "data/tables/window_lookup.h"
#include "kit_rig.h"
#include "platform/fake/fake_desktop.h"
#include "ui/browses/browse_clipboard.h"
#include "ui/browses/browse_window_lookup.h"
#include "ui/forms/update_clipboard.h"
#include "ui/kit/record_table_model.h"
#include "ui/kit/update_form.h"

namespace plorix::ui {
namespace {

using data::Clipboard;
using data::WindowLookup;
using test::named;

class OrganiserLogsTest : public test::WindowTest {
protected:
    void clip(const std::string& text, std::uint8_t kept = 0, const std::string& user = "") {
        store::clearRecord(Clipboard::schema(), clips->buffer());
        auto& entry = clips->rec<Clipboard>();
        entry.CLIPCONTENTS = text;
        entry.CLIPHASHKEY = text;  // distinct per entry is all the key needs
        entry.CLIPKEEP = kept;
        entry.USER = user;
        entry.CLIPDATE = makeDate(5, 10, 2027);
        entry.CLIPTIME = makeTime(8, 15);
        ASSERT_EQ(clips->add(), store::kNoError);
    }
    // Selects the row and presses the button.
    void press(BrowseWindow& browse, int row, const QString& button) {
        browse.view().selectRow(row);
        named<QPushButton>(&browse, button)->click();
    }

    platform::FakeDesktop desktop;
    std::unique_ptr<store::Table> clips = table(Clipboard::schema(), prompter);
};

TEST_F(OrganiserLogsTest, AnEntryIsPutBackRunViewedKeptAndDeleted) {
    clip("see http://example.org/page and more");
    clip("a plain note");
    auto* history = new BrowseClipboard(prompter, nullptr);
    history->show();
    EXPECT_EQ(history->windowTitle(), "Browse Clipboard Saver");
    ASSERT_EQ(history->model().rowCount(), 2);
    RecordTableModel& rows = history->model();
    EXPECT_EQ(rows.data(rows.index(0, 1), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_FALSE(rows.data(rows.index(1, 1), Qt::ForegroundRole).isValid());

    press(*history, 1, "Copy to Clipboard");
    EXPECT_EQ(desktop.clipboard.content, "a plain note");
    EXPECT_FALSE(named<QPushButton>(history, "Run")->isEnabled()) << "nothing to run in a plain note";
    desktop.processes.addOpenable("http://example.org/page");
    press(*history, 0, "Run");
    ASSERT_EQ(desktop.processes.opened().size(), 1u);
    EXPECT_EQ(desktop.processes.opened()[0].file, "http://example.org/page");

    bool viewed = false;
    whenModal([&](QWidget* modal) {
        auto* viewer = qobject_cast<UpdateClipboard*>(modal);
        ASSERT_NE(viewer, nullptr);
        viewed = true;
        EXPECT_EQ(viewer->windowTitle(), "Clipboard Record");
        EXPECT_EQ(named<QLineEdit>(viewer, "Time")->text(), "8:15AM");
        EXPECT_FALSE(viewer->findChild<QCheckBox*>()->isEnabled());
        EXPECT_FALSE(named<QPushButton>(viewer, "Ok")->isEnabled());
        named<QPushButton>(viewer, "Close")->click();
    });
    press(*history, 0, "View");
    EXPECT_TRUE(viewed);

    // Kept, it moves after the unkept in capture order and asks before going.
    press(*history, 0, "Toggle Save");
    clips->setStart(data::keys::Clipboard::KEYCLIPHASH);
    ASSERT_EQ(clips->next(), store::kNoError);
    EXPECT_EQ(clips->rec<Clipboard>().CLIPKEEP, 0);  // "a plain note" sorts first
    ASSERT_EQ(clips->next(), store::kNoError);
    EXPECT_EQ(clips->rec<Clipboard>().CLIPKEEP, 1);
    EXPECT_EQ(rows.data(rows.index(1, 0), Qt::AccessibleTextRole).toString(), "Saved");
    prompter.answerNext(kNo);
    press(*history, 1, "Delete");
    EXPECT_EQ(clips->records(), 2);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Delete Record");
    EXPECT_EQ(prompter.shown()[0].defaultButton, kNo);
    // Unkept, it goes at once.
    press(*history, 0, "Delete");
    EXPECT_EQ(clips->records(), 1);
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(rows.rowCount(), 1);
    history->close();
}

TEST_F(OrganiserLogsTest, EachUserSeesTheirOwnEntries) {
    settings::settings().MultiUser = true;
    settings::settings().UserID = "Ann";
    clip("Ann's text", 0, "Ann");
    clip("Bob's text", 0, "Bob");
    auto* history = new BrowseClipboard(prompter, nullptr);
    history->show();
    EXPECT_EQ(history->windowTitle(), "Browse Clipboard Saver - Ann");
    for (int tab : {BrowseClipboard::DateTab, BrowseClipboard::ContentTab}) {
        history->setTab(tab);
        ASSERT_EQ(history->model().rowCount(), 1);
        EXPECT_EQ(history->model().text(0, 1), "Ann's text");
    }
    history->close();
}

TEST_F(OrganiserLogsTest, ATitleAddedByHandIsStampedNowAndALoggedTitleRefused) {
    auto* log = new BrowseWindowLookup(clock, prompter, nullptr);
    log->show();
    EXPECT_EQ(log->windowTitle(), "Browse the Window Lookup File");
    auto add = [&](const QString& title) {
        bool stayedOpen = false;
        inForm<UpdateForm>(log->view(), Qt::Key_Insert, [&](UpdateForm& form) {
            EXPECT_EQ(form.windowTitle(), "Update the WindowLookup File");
            typeInto(named(&form, "Title"), title);
            QTest::keyClick(&form, Qt::Key_Return);
            stayedOpen = form.isVisible();
            if (stayedOpen) named<QPushButton>(&form, "Cancel")->click();
        });
        return !stayedOpen;
    };
    EXPECT_TRUE(add("Untitled - Notepad"));
    EXPECT_TRUE(prompter.shown().empty()) << "a save that went well says nothing";
    auto logged = table(WindowLookup::schema(), prompter);
    logged->setStart(data::keys::WindowLookup::KEYTITLE);
    ASSERT_EQ(logged->next(), store::kNoError);
    EXPECT_EQ(logged->rec<WindowLookup>().DATE, makeDate(5, 10, 2027));
    EXPECT_EQ(logged->rec<WindowLookup>().TIME, makeTime(9, 0));

    EXPECT_FALSE(add("Untitled - Notepad"));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_NE(prompter.shown()[0].text.find("WL:KeyTitle"), std::string::npos) << prompter.shown()[0].text;
    EXPECT_EQ(logged->records(), 1);
    EXPECT_EQ(log->model().rowCount(), 1);
    log->close();
}

}  // namespace
}  // namespace plorix::ui
