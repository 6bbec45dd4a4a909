// The synchronisation window: a send and a receive through it (the
// receive on a worker thread, its progress and Cancel shown here), and
// what the run did told at the end.

#include <gtest/gtest.h>

#include <QPointer>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables.h"
#include "qt_test_app.h"
#include "support/temp_dir.h"
#include "support/transfer_maker.h"
#include "ui/exchange/synchronize_window.h"

namespace plorix::ui {
namespace {

class SynchronizeWindowTest : public ::testing::Test {
protected:
    void TearDown() override { data::resetProcessTables(); }
    store::Table& schedule() {
        store::Table& table = data::processTable<data::Schedule>();
        if (!table.isOpen()) data::openTable(table, prompter);
        return table;
    }
    void addTask(int id, const char* description) {
        auto& r = schedule().rec<data::Schedule>();
        store::clearRecord(data::Schedule::schema(), &r);
        r.ID = id;
        r.DESCRIPTION = description;
        r.CATEGORY = "Work";
        ASSERT_EQ(schedule().add(), store::kNoError);
    }
    // Runs the window to its end; whether it completed.
    bool run(bool receive, const std::string& file) {
        auto* window = new Synchronize(prompter);
        QPointer<QWidget> alive(window);
        window->show();
        const bool started = receive ? window->receiveFrom(file) : window->sendTo(file);
        // The window closes itself once the run has ended.
        EXPECT_TRUE(plorix::test::waitUntil([&] { return alive.isNull(); }, 20000));
        return started;
    }

    plorix::test::TempDir desk;
    RecordingPrompter prompter;
};

TEST_F(SynchronizeWindowTest, SendsAndReceives) {
    for (int i = 1; i <= 30; ++i) addTask(i, ("Task " + std::to_string(i)).c_str());
    const std::string file = (desk / "SyncSch.syn").string();
    ASSERT_TRUE(run(false, file));
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Synchronize"});
    EXPECT_EQ(prompter.shown()[0].text, "Sent 30 tasks, 0 script items and 0 to-do items.");
    data::resetProcessTables();

    plorix::test::TempDir laptop;
    prompter.clear();
    addTask(1, "Task 7");  // same name and category, older: replaced
    ASSERT_TRUE(run(true, file));
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Synchronize"});
    EXPECT_EQ(
        prompter.shown()[0].text,
        "Received 30 tasks (1 replaced, 0 left for a newer local copy), 0 script items and 0 to-do items.");
    EXPECT_EQ(schedule().records(), 30);
}

TEST_F(SynchronizeWindowTest, ACancelledReceiveChangesNothing) {
    // Long enough a merge for Cancel to reach the worker half-way.
    const std::string file = (desk / "Laptop.syn").string();
    plorix::test::writeTransferFile(file, 3000);
    addTask(1, "Mine");
    prompter.cancelProgressAfter = 1;
    ASSERT_TRUE(run(true, file));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(prompter.progressTitles, std::vector<std::string>{"Processing Records"});
    EXPECT_EQ(prompter.progressesFinished, 1);
    EXPECT_LT(prompter.progressPercents.at(0), 100);
    EXPECT_EQ(schedule().records(), 1);
}

TEST_F(SynchronizeWindowTest, AFileNotOursIsToldFromTheWorkerAndChangesNothing) {
    addTask(1, "Mine");
    desk.write("notes.syn", "not a transfer file");
    ASSERT_TRUE(run(true, (desk / "notes.syn").string()));
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Synchronize"});
    EXPECT_NE(prompter.shown()[0].text.find("Nothing was received."), std::string::npos)
        << prompter.shown()[0].text;
    EXPECT_EQ(schedule().records(), 1);
}

}  // namespace
}  // namespace plorix::ui
