#include "script/script_items.h"

#include <gtest/gtest.h>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/scripting.h"
#include "script/script_file.h"
#include "support/temp_dir.h"

namespace plorix::script {
namespace {

using data::Scripting;

class ScriptItemsTest : public ::testing::Test {
protected:
    void TearDown() override {
        use.reset();
        data::resetProcessTables();
        data::resetUseCounts();
    }

    store::Table& table() { return data::processTable<Scripting>(); }

    // Adds items to a task, numbered 1, 2, ... and described by their keystrokes.
    void addItems(std::int32_t taskId, std::initializer_list<const char*> keys,
                  std::int32_t firstNumber = 1) {
        std::int32_t number = firstNumber;
        for (const char* k : keys) {
            Scripting& rec = table().rec<Scripting>();
            rec = Scripting{};
            rec.ID = taskId;
            rec.SEQUENCE = number++;
            rec.ACTION = "Send Keystrokes";
            rec.KEYSTROKES = k;
            ASSERT_EQ(table().add(), store::kNoError);
        }
    }

    // "sequence:keystrokes" of every item of a task, in key order.
    std::vector<std::string> script(std::int32_t taskId) {
        std::vector<std::string> items;
        Scripting& rec = table().rec<Scripting>();
        rec.ID = taskId;
        rec.SEQUENCE = 0;
        table().setAt(data::keys::Scripting::KEYID);
        while (table().next() == store::kNoError && rec.ID == taskId)
            items.push_back(std::to_string(rec.SEQUENCE) + ":" + rec.KEYSTROKES.str());
        return items;
    }

    test::TempDir dir;
    RecordingPrompter prompter;
    std::optional<data::TableUse> use{std::in_place, table(), prompter};
};

using Items = std::vector<std::string>;

TEST_F(ScriptItemsTest, OneStepMovesSwapTwoNumbers) {
    addItems(7, {"a", "b", "c", "d"});
    addItems(8, {"other"});
    EXPECT_TRUE(moveScriptItem(7, 3, MoveDirection::Up, prompter));
    EXPECT_EQ(script(7), (Items{"1:a", "2:c", "3:b", "4:d"}));
    EXPECT_TRUE(moveScriptItem(7, 3, MoveDirection::Down, prompter));
    EXPECT_EQ(script(7), (Items{"1:a", "2:c", "3:d", "4:b"}));
    EXPECT_EQ(script(8), (Items{"1:other"}));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(ScriptItemsTest, MovesToTheEndsShiftThePassedItems) {
    addItems(7, {"a", "b", "c", "d"});
    EXPECT_TRUE(moveScriptItem(7, 2, MoveDirection::Bottom, prompter));
    EXPECT_EQ(script(7), (Items{"1:a", "2:c", "3:d", "4:b"}));
    EXPECT_TRUE(moveScriptItem(7, 3, MoveDirection::Top, prompter));
    EXPECT_EQ(script(7), (Items{"1:d", "2:a", "3:c", "4:b"}));
}

TEST_F(ScriptItemsTest, MovesPastTheEndsDoNothing) {
    addItems(7, {"a", "b", "c"});
    addItems(6, {"before"});
    addItems(9, {"after"});
    EXPECT_FALSE(moveScriptItem(7, 1, MoveDirection::Up, prompter));
    EXPECT_FALSE(moveScriptItem(7, 1, MoveDirection::Top, prompter));
    EXPECT_FALSE(moveScriptItem(7, 3, MoveDirection::Bottom, prompter));
    EXPECT_FALSE(moveScriptItem(7, 3, MoveDirection::Down, prompter));
    EXPECT_FALSE(moveScriptItem(7, 42, MoveDirection::Down, prompter));
    EXPECT_EQ(script(7), (Items{"1:a", "2:b", "3:c"}));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(ScriptItemsTest, GapsInTheNumberingAreKeptByMoves) {
    addItems(7, {"a"}, 2);
    addItems(7, {"b"}, 5);
    addItems(7, {"c"}, 9);
    EXPECT_TRUE(moveScriptItem(7, 9, MoveDirection::Top, prompter));
    EXPECT_EQ(script(7), (Items{"2:c", "5:a", "9:b"}));
}

TEST_F(ScriptItemsTest, DeletingAnItemRenumbersTheRest) {
    addItems(7, {"a", "b", "c", "d"});
    EXPECT_TRUE(deleteScriptItem(7, 2, prompter));
    EXPECT_EQ(script(7), (Items{"1:a", "2:c", "3:d"}));
    EXPECT_TRUE(deleteScriptItem(7, 3, prompter));
    EXPECT_EQ(script(7), (Items{"1:a", "2:c"}));
}

TEST_F(ScriptItemsTest, DeletingAMissingItemReportsASwapError) {
    addItems(7, {"a"});
    EXPECT_FALSE(deleteScriptItem(7, 5, prompter));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Error!");
    const std::string& text = prompter.shown()[0].text;
    EXPECT_EQ(text.rfind("Record swap error: \r", 0), 0u);
    EXPECT_NE(text.find("\rScripting, SCR:KeyID\rKey Field SCR:ID = 7\rKey Field SCR:Sequence = 5\r"
                        "Section = "),
              std::string::npos);
    EXPECT_EQ(script(7), (Items{"1:a"}));
}

TEST_F(ScriptItemsTest, DeleteAndCopyWholeScripts) {
    addItems(3, {"x", "y"});
    addItems(7, {"a", "b", "c"});
    addItems(9, {"z"});
    EXPECT_EQ(copyScript(7, 4, prompter), 3);
    EXPECT_EQ(script(4), (Items{"1:a", "2:b", "3:c"}));
    // Items whose number the target already uses are passed over silently.
    addItems(5, {"keep"}, 2);
    EXPECT_EQ(copyScript(7, 5, prompter), 2);
    EXPECT_EQ(script(5), (Items{"1:a", "2:keep", "3:c"}));
    EXPECT_TRUE(prompter.shown().empty());

    EXPECT_EQ(deleteScript(7, prompter), 3);
    EXPECT_TRUE(script(7).empty());
    EXPECT_EQ(script(3), (Items{"1:x", "2:y"}));
    EXPECT_EQ(script(9), (Items{"1:z"}));
    EXPECT_EQ(prompter.progressTitles, (std::vector<std::string>(3, "Processing Records")));
    EXPECT_EQ(prompter.progressesFinished, 3);
}

TEST_F(ScriptItemsTest, ExportThenImportReproducesTheScript) {
    Scripting& rec = table().rec<Scripting>();
    auto add = [&](std::int32_t seq, auto fill) {
        rec = Scripting{};
        rec.ID = 7;
        rec.SEQUENCE = seq;
        fill(rec);
        ASSERT_EQ(table().add(), store::kNoError);
    };
    add(1, [](Scripting& r) {
        r.ACTION = "Start Program";
        r.COMMAND = "gedit \"my notes.txt\"";
        r.PATH = "/home/me";
        r.DDEAPPLICATIONNAME = "112";
        r.DDEAPPLICATIONTOPIC = "Edit";
        r.TIMEELAPSED = 30;
    });
    add(2, [](Scripting& r) {
        r.ACTION = "Send Keystrokes";
        r.KEYSTROKES = std::string(70, 'k') + "[ENTER]" + std::string(20, 'z');
    });
    add(3, [](Scripting& r) { r.ACTION = "Wait for Program End"; });  // never exported
    add(4, [](Scripting& r) {
        r.ACTION = "If Window...";
        r.WINDOWEXISTANCE = "Window Doesn't Exist";
        r.WINDOWTITLETOCHECKFOR = "*Save";
        r.FOCUSONWINDOW = "OK";
    });
    add(5, [](Scripting& r) { r.ACTION = "...End If"; });

    EXPECT_EQ(exportScript(7, "out.pxs", prompter), 4);
    EXPECT_EQ(importScript(8, "out.pxs", prompter), 4);
    EXPECT_TRUE(prompter.shown().empty());

    std::vector<Scripting> copies;
    rec.ID = 8;
    rec.SEQUENCE = 0;
    table().setAt(data::keys::Scripting::KEYID);
    while (table().next() == store::kNoError && rec.ID == 8) copies.push_back(rec);
    ASSERT_EQ(copies.size(), 4u);
    EXPECT_EQ(copies[0].SEQUENCE, 1);
    EXPECT_EQ(copies[0].COMMAND, "gedit \"my notes.txt\"");
    EXPECT_EQ(copies[0].PATH, "/home/me");
    EXPECT_EQ(copies[0].DDEAPPLICATIONNAME, "112");
    EXPECT_EQ(copies[0].TIMEELAPSED, 30);
    EXPECT_EQ(copies[0].DDEAPPLICATIONTOPIC, "");                               // the verb stays behind
    EXPECT_EQ(copies[1].KEYSTROKES, std::string(70, 'k') + "[ENTER]" + "zzz");  // cut to 80
    EXPECT_EQ(copies[2].ACTION, "If Window...");
    EXPECT_EQ(copies[2].WINDOWEXISTANCE, "Window Doesn't Exist");
    EXPECT_EQ(copies[2].WINDOWTITLETOCHECKFOR, "*Save");
    EXPECT_EQ(copies[2].FOCUSONWINDOW, "OK");
    EXPECT_EQ(copies[3].ACTION, "...End If");
    EXPECT_EQ(copies[3].SEQUENCE, 4);
}

TEST_F(ScriptItemsTest, ImportNumbersAfterTheLastItemAndReportsUnknownActions) {
    addItems(7, {"a", "b", "c", "d", "e"});
    dir.write("in.pxs",
              "\"Send Keystrokes\",\"f\"\r\n"
              "\"Wait for Program End\",\"\"\r\n"
              "\"Send Keystrokes\",\"g\"\r\n"
              "\"Send Keystrokes\",\"h\"\r\n");
    EXPECT_EQ(importScript(7, "in.pxs", prompter), 3);
    EXPECT_EQ(script(7), (Items{"1:a", "2:b", "3:c", "4:d", "5:e", "6:f", "7:g", "8:h"}));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Import Error");
    EXPECT_EQ(prompter.shown()[0].text, "Unrecognized script action: Wait for Program End");
}

TEST_F(ScriptItemsTest, ADamagedFileImportsWhatComesBeforeTheDamage) {
    dir.write("bad.pxs",
              "\"Send Keystrokes\",\"a\"\r\n"
              "\"Send Keystrokes\",\"broken\r\n"
              "\"Send Keystrokes\",\"c\"\r\n");
    EXPECT_EQ(importScript(7, "bad.pxs", prompter), 1);
    EXPECT_EQ(script(7), (Items{"1:a"}));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Record Retrieval Error");

    prompter.clear();
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
    dir.write("garbage.pxs", garbage);
    importScript(9, "garbage.pxs", prompter);
    EXPECT_FALSE(prompter.shown().empty());

    prompter.clear();
    EXPECT_EQ(importScript(7, "missing.pxs", prompter), 0);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "View Open Error");
}

}  // namespace
}  // namespace plorix::script
