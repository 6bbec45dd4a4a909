#pragma once
// A data file with tasks, script items, links, contacts, messages and
// categories for the tests of the delete and change routines.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/open_routine.h"
#include "data/raw_data_file.h"
#include "data/tables.h"
#include "data/warnings.h"
#include "store/served_files.h"
#include "support/temp_dir.h"
#include "support/test_server.h"

namespace plorix::data::test {

class CascadeFile : public ::testing::Test {
protected:
    void SetUp() override {
        for (store::Table* t :
             {&schedule, &scripting, &link, &contact, &contactCategories, &categories, &messages, &holidays})
            openTable(*t, prompter);
    }
    void TearDown() override { clearSavedError(); }

    void addTask(int id, const char* category = "") {
        store::clearRecord(schedule.schema(), schedule.buffer());
        schedule.rec<Schedule>().ID = id;
        schedule.rec<Schedule>().CATEGORY = category;
        schedule.rec<Schedule>().DESCRIPTION = "task " + std::to_string(id);
        ASSERT_EQ(schedule.add(), store::kNoError);
    }
    void addItem(int task, int sequence, int message = 0) {
        store::clearRecord(scripting.schema(), scripting.buffer());
        scripting.rec<Scripting>().ID = task;
        scripting.rec<Scripting>().SEQUENCE = sequence;
        scripting.rec<Scripting>().EMAILID = message;
        ASSERT_EQ(scripting.add(), store::kNoError);
    }
    void addLink(int task, int client) {
        link.rec<Link>().ID = task;
        link.rec<Link>().CLIENTID = client;
        ASSERT_EQ(link.add(), store::kNoError);
    }
    void addContact(int id, const char* category = "") {
        store::clearRecord(contact.schema(), contact.buffer());
        contact.rec<Contact>().CLIENTID = id;
        contact.rec<Contact>().CONTACTCATEGORY = category;
        ASSERT_EQ(contact.add(), store::kNoError);
    }
    void addNamed(store::Table& table, const char* name) {
        store::setFieldText(table.schema().fields[0], table.buffer(), name);
        ASSERT_EQ(table.add(), store::kNoError);
    }
    void addMessage(int id) {
        store::clearRecord(messages.schema(), messages.buffer());
        messages.rec<Messages>().EMAILID = id;
        ASSERT_EQ(messages.add(), store::kNoError);
    }

    // Tasks 1 and 2 with script items 1/1, 1/2, 2/1 and links 1/7, 2/7.
    void twoTasksWithChildren() {
        addTask(1);
        addTask(2);
        addItem(1, 1);
        addItem(1, 2);
        addItem(2, 1);
        addLink(1, 7);
        addLink(2, 7);
    }

    // One parent of each restricting relation, each with one child that
    // refers to it: category Work, contact category Family, message 3.
    void referToEachRestrictingParent(const char* taskCategory, const char* contactCategory) {
        addNamed(categories, "Work");
        addTask(1, taskCategory);
        addNamed(contactCategories, "Family");
        addContact(7, contactCategory);
        addMessage(3);
        addItem(1, 1, 3);
    }

    // Reads a record by its first key into the table's buffer.
    int loadById(store::Table& table, int id) {
        store::clearRecord(table.schema(), table.buffer());
        store::setFieldInt(table.schema().fields[table.schema().primaryKey()->components[0]], table.buffer(),
                           id);
        return table.get(static_cast<int>(table.schema().primaryKey() - table.schema().keys.data()));
    }
    int loadByName(store::Table& table, const char* name) {
        store::setFieldText(table.schema().fields[0], table.buffer(), name);
        return table.get(0);
    }

    // What the data file holds, read through a connection of its own (on the
    // server in the served run): names quoted as stored.
    std::vector<std::string> stored(const std::string& sql) {
        const std::string file = (dir / std::string(kDataFileName)).string();
        if (const auto server = store::servedFrom(file)) return plorix::test::queryServerColumn(*server, sql);
        if (!raw) raw = std::make_unique<plorix::test::RawDataFile>(file);
        return raw->column(sql);
    }
    std::vector<std::string> items() {
        return stored(R"(SELECT "ID" || '/' || "SEQUENCE" FROM "Script" ORDER BY "ID", "SEQUENCE")");
    }
    std::vector<std::string> links() {
        return stored(R"(SELECT "ID" || '/' || "CLIENTID" FROM "Link" ORDER BY "ID", "CLIENTID")");
    }
    std::vector<std::string> tasks() { return stored(R"(SELECT "ID" FROM "s" ORDER BY "ID")"); }

    std::string lastTitle() const { return prompter.shown().empty() ? "" : prompter.shown().back().title; }
    std::string lastText() const { return prompter.shown().empty() ? "" : prompter.shown().back().text; }

    plorix::test::TempDir dir;
    std::unique_ptr<plorix::test::RawDataFile> raw;  // opened on first use (a key derivation)
    RecordingPrompter prompter;
    store::Table schedule{Schedule::schema()};
    store::Table scripting{Scripting::schema()};
    store::Table link{Link::schema()};
    store::Table contact{Contact::schema()};
    store::Table contactCategories{ContactCategories::schema()};
    store::Table categories{Categories::schema()};
    store::Table messages{Messages::schema()};
    store::Table holidays{Holidays::schema()};
};

using Strings = std::vector<std::string>;

}  // namespace plorix::data::test
