// The import and export windows: the fields chosen, ordered and pictured
// in the export window reach the file; an import through the window with
// its columns assigned by name keeps the good lines and tells the bad
// ones; the picture window refuses a picture without "@".

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTreeWidget>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables.h"
#include "qt_test_app.h"
#include "support/temp_dir.h"
#include "ui/exchange/ask_picture.h"
#include "ui/exchange/export_window.h"
#include "ui/exchange/import_window.h"

namespace plorix::ui {
namespace {

class ExchangeWindowsTest : public ::testing::Test {
protected:
    void TearDown() override { data::resetProcessTables(); }
    store::Table& todo() {
        store::Table& table = data::processTable<data::Todo>();
        if (!table.isOpen()) data::openTable(table, prompter);
        return table;
    }
    void addTodo(int priority, const char* text) {
        auto& r = todo().rec<data::Todo>();
        store::clearRecord(data::Todo::schema(), &r);
        r.PRIORITY = static_cast<std::uint8_t>(priority);
        r.CATEGORY = "Work";
        r.TODO = text;
        ASSERT_EQ(todo().add(), store::kNoError);
    }
    std::vector<std::string> todoTexts() {
        std::vector<std::string> out;
        todo().setStart(data::keys::Todo::KEYPRIORITY);
        while (todo().next() == store::kNoError) out.push_back(todo().rec<data::Todo>().TODO.str());
        return out;
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
};

TEST_F(ExchangeWindowsTest, ExportWritesTheChosenFieldsInTheirOrder) {
    addTodo(2, "Say \"hello\"");
    addTodo(1, "Renew the domain");
    ExportTodo window(prompter);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* fields = window.findChild<QTreeWidget*>();
    ASSERT_EQ(fields->topLevelItemCount(), 8);
    // Only the item and its priority, the item first.
    for (int i = 0; i < fields->topLevelItemCount(); ++i) {
        const QString name = fields->topLevelItem(i)->text(0);
        fields->topLevelItem(i)->setCheckState(
            0, name == "TDO:ToDo" || name == "TDO:Priority" ? Qt::Checked : Qt::Unchecked);
    }
    QTreeWidgetItem* item = fields->findItems("TDO:ToDo", Qt::MatchExactly).first();
    fields->setCurrentItem(item);
    const int at = fields->indexOfTopLevelItem(item);
    // Move it to the top through the window's own button.
    QPushButton* up = nullptr;
    for (QPushButton* b : window.findChildren<QPushButton*>())
        if (b->accessibleName() == "Move Up") up = b;
    ASSERT_NE(up, nullptr);
    for (int i = 0; i < at; ++i) up->click();
    ASSERT_TRUE(window.exportTo((dir / "todo.csv").string()));
    ASSERT_TRUE(plorix::test::waitUntil([&] { return !window.running(); }, 10000));
    EXPECT_EQ(window.outcome(), io::SteppedJob::State::Completed);
    EXPECT_EQ(window.written(), 2u);
    EXPECT_EQ(prompter.progressTitles, std::vector<std::string>{"Exporting Records"});
    // Category order, then priority.
    EXPECT_EQ(dir.read("todo.csv"),
              "\"TDO:ToDo\",\"TDO:Priority\"\r\n\"Renew the domain\",1\r\n\"Say \"\"hello\"\"\",2\r\n");
}

TEST_F(ExchangeWindowsTest, ImportAssignedByNameKeepsGoodLinesAndTellsBadOnes) {
    dir.write("in.csv",
              "\"TDO:Priority\",\"Notes\",\"TDO:ToDo\"\r\n"
              "3,\"ignored\",\"Call the plumber\"\r\n"
              "x,\"ignored\",\"Not a priority\"\r\n"
              "1,\"ignored\",\"Pay the rent\"\r\n");
    ImportTodo window(prompter);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    ASSERT_TRUE(window.load((dir / "in.csv").string()));
    window.assignByName();
    io::ImportPlan plan = window.plan();
    ASSERT_EQ(plan.columns.size(), 3u);
    EXPECT_EQ(plan.columns[0].picture, "@N30.9");
    EXPECT_EQ(plan.columns[1].target, -1);
    ASSERT_TRUE(window.startImport());
    ASSERT_TRUE(plorix::test::waitUntil([&] { return !window.running(); }, 10000));
    EXPECT_EQ(window.outcome(), io::SteppedJob::State::Completed);
    EXPECT_EQ(window.added(), 2u);
    EXPECT_EQ(todoTexts(), (std::vector<std::string>{"Pay the rent", "Call the plumber"}));
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Lines Not Imported"});
    EXPECT_NE(prompter.shown()[0].text.find("line 3"), std::string::npos) << prompter.shown()[0].text;
}

TEST_F(ExchangeWindowsTest, PictureWindowRefusesAPictureWithoutTheMark) {
    ImportExportAskPicture window("@s20", prompter);
    window.setPicture("s20");
    window.accept();
    EXPECT_NE(window.result(), QDialog::Accepted);
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Invalid Picture!"});
    EXPECT_EQ(prompter.shown()[0].text, "Pictures must begin with \"@\"");
    window.setPicture("@d6b");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.picture(), "@d6b");
}

}  // namespace
}  // namespace plorix::ui
