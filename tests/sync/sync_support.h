#pragma once
// Two installations for the synchronisation tests: data folders of their
// own, switched between by changing the working directory, with helpers
// that fill and list their tables.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/numbering.h"
#include "data/open_routine.h"
#include "data/tables.h"
#include "runtime/date_time.h"
#include "support/temp_dir.h"

namespace plorix::sync::test {

namespace fs = std::filesystem;

struct Change {
    Date date = 0;
    Time time = 0;
};

class Installations : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root.path() / "desktop");
        fs::create_directories(root.path() / "laptop");
        enter("desktop");
    }
    void enter(const std::string& name) {
        anchor_.reset();
        fs::current_path(root.path() / name);
        // Held open so that the helpers below share one connection (keying
        // a file anew costs a key derivation every time).
        anchor_ = std::make_unique<store::Table>(data::Configuration::schema());
        data::openTable(*anchor_, prompter);
    }
    void TearDown() override { anchor_.reset(); }
    std::string transfer(const std::string& name = "SyncSch.syn") const {
        return (root.path() / name).string();
    }

    // Adds a task with `items` script items; returns its identifier.
    std::int32_t addTask(const std::string& description, const std::string& category, Change change,
                         int items = 0, const std::string& message = {}) {
        store::Table schedule(data::Schedule::schema());
        data::openTable(schedule, prompter);
        const std::int32_t id = data::addNumbered(schedule, prompter, [&](void* r) {
            auto& task = *static_cast<data::Schedule*>(r);
            task.DESCRIPTION = description;
            task.CATEGORY = category;
            task.LASTCHANGEDATE = change.date;
            task.LASTCHANGETIME = change.time;
            task.MESSAGE = message;
            task.DISABLED = 1;
        });
        store::Table scripting(data::Scripting::schema());
        data::openTable(scripting, prompter);
        for (int i = 1; i <= items; ++i) {
            data::addNumbered(
                scripting, prompter,
                [&](void* r) {
                    static_cast<data::Scripting*>(r)->KEYSTROKES = description + " item " + std::to_string(i);
                },
                id);
        }
        return id;
    }
    void addTodo(const std::string& text, Change change, const std::string& notes = {}) {
        store::Table todo(data::Todo::schema());
        data::openTable(todo, prompter);
        auto& r = todo.rec<data::Todo>();
        store::clearRecord(todo.schema(), &r);
        r.TODO = text;
        r.LASTCHANGEDATE = change.date;
        r.LASTCHANGETIME = change.time;
        r.NOTES = notes;
        ASSERT_EQ(todo.add(), store::kNoError);
    }

    // "ID description/category" of every task, by identifier.
    std::vector<std::string> tasks() {
        return listing(data::Schedule::schema(), "SCH:KEYID", [](const void* r) {
            const auto& t = *static_cast<const data::Schedule*>(r);
            return std::to_string(t.ID) + " " + t.DESCRIPTION.str() + "/" + t.CATEGORY.str();
        });
    }
    // "ID:SEQUENCE keystrokes" of every script item, by task and sequence.
    std::vector<std::string> items() {
        return listing(data::Scripting::schema(), "SCR:KEYID", [](const void* r) {
            const auto& s = *static_cast<const data::Scripting*>(r);
            return std::to_string(s.ID) + ":" + std::to_string(s.SEQUENCE) + " " + s.KEYSTROKES.str();
        });
    }
    // "text date notes" of every to-do item, in record order.
    std::vector<std::string> todos() {
        return listing(data::Todo::schema(), "", [](const void* r) {
            const auto& t = *static_cast<const data::Todo*>(r);
            return t.TODO.str() + " " + std::to_string(t.LASTCHANGEDATE) + " " + t.NOTES.str();
        });
    }

    plorix::test::TempDir root;
    RecordingPrompter prompter;

private:
    std::unique_ptr<store::Table> anchor_;
    template <typename Show>
    std::vector<std::string> listing(const store::TableSchema& schema, const std::string& key, Show show) {
        store::Table table(schema);
        data::openTable(table, prompter);
        std::vector<std::string> out;
        table.setStart(key.empty() ? -1 : schema.keyIndex(key));
        while (table.next() == store::kNoError) out.push_back(show(table.buffer()));
        return out;
    }
};

}  // namespace plorix::sync::test
