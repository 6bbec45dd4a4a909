// Transfer files that cannot be received, and failures half-way: a clear
// message, and the local tables exactly as they were.

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include "data/data_file.h"
#include "store/file_key.h"
#include "sync/sync_receive.h"
#include "sync/sync_send.h"
#include "sync/sync_support.h"

namespace plorix::sync {
namespace {

class ReceiveRefusal : public test::Installations {
protected:
    void SetUp() override {
        Installations::SetUp();
        for (int i = 0; i < 40; ++i) addTask("Task " + std::to_string(i), "Sent", {80000, 1}, 2);
        addTodo("Sent item", {80000, 1});
        ASSERT_TRUE(syncSend(transfer(), prompter));
        enter("laptop");
        addTask("Task 7", "Sent", {70000, 1}, 1);  // would be replaced
        addTask("Mine", "Local", {70000, 1}, 1);
        addTodo("Sent item", {70000, 1});
        before = tasks();
        beforeItems = items();
        beforeTodos = todos();
        prompter.clear();
    }
    // Receives `file` and expects a refusal that names `words` and changes nothing.
    void expectRefused(const std::string& file, const std::string& words) {
        SyncReceiveJob job(file, prompter);
        EXPECT_FALSE(job.run());
        EXPECT_EQ(job.state(), io::SteppedJob::State::Failed);
        EXPECT_NE(job.failure().find(words), std::string::npos) << job.failure();
        ASSERT_FALSE(prompter.shown().empty());
        EXPECT_EQ(prompter.shown().back().title, "Synchronize");
        EXPECT_EQ(tasks(), before);
        EXPECT_EQ(items(), beforeItems);
        EXPECT_EQ(todos(), beforeTodos);
    }
    void keyedFile(const std::string& path, const std::string& key, const std::string& sql) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_exec(db, ("PRAGMA key = '" + key + "'; PRAGMA cipher_page_size = 4096;" + sql).c_str(),
                     nullptr, nullptr, nullptr);
        sqlite3_close_v2(db);
    }

    std::vector<std::string> before, beforeItems, beforeTodos;
};

TEST_F(ReceiveRefusal, FilesThatAreNoTransferFiles) {
    expectRefused(transfer("absent.syn"), "there is no such file");
    root.write("notes.syn", "just some text, long enough to be taken for a header of sorts\n");
    expectRefused(transfer("notes.syn"),
                  "is damaged, is not a transfer file, or was written with another key");
    keyedFile(transfer("other.syn"), "another key", "CREATE TABLE s (a);");
    expectRefused(transfer("other.syn"),
                  "is damaged, is not a transfer file, or was written with another key");
    keyedFile(transfer("ours.syn"), std::string(data::kOwnerPassword), "CREATE TABLE unrelated (a);");
    expectRefused(transfer("ours.syn"), "not a transfer file");
    expectRefused("Px97.TPS", "is the data file");
}

TEST_F(ReceiveRefusal, AFileCutShortIsRefusedWhole) {
    const auto size = std::filesystem::file_size(transfer());
    std::filesystem::copy_file(transfer(), transfer("cut.syn"));
    std::filesystem::resize_file(transfer("cut.syn"), size / 2);
    expectRefused(transfer("cut.syn"), "cut.syn");
}

TEST_F(ReceiveRefusal, AFailureHalfWayUndoesTheWholeMerge) {
    // The store refuses the script items of the 30th received task.
    sqlite3* db = nullptr;
    sqlite3_open_v2("Px97.TPS", &db, SQLITE_OPEN_READWRITE, nullptr);
    store::keyConnection(db, data::kOwnerPassword);
    sqlite3_exec(db,
                 "CREATE TRIGGER refuse BEFORE INSERT ON Script "
                 "WHEN NEW.KEYSTROKES = 'Task 30 item 1' BEGIN SELECT RAISE(ABORT, 'refused'); END;",
                 nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    expectRefused(transfer(), "Nothing was received");
}

}  // namespace
}  // namespace plorix::sync
