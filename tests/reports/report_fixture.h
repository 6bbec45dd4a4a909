#pragma once
// A data folder with tasks, to-do items and categories for the report
// tests, and a PDF file's text through pdftotext.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables.h"
#include "store/transaction.h"
#include "runtime/prompter.h"
#include "support/temp_dir.h"

namespace plorix::reports::test {

class ReportFixture : public ::testing::Test {
protected:
    void TearDown() override { data::resetProcessTables(); }

    template <typename Record, typename Fill>
    void add(Fill fill) {
        store::Table& table = data::processTable<Record>();
        if (!table.isOpen()) data::openTable(table, prompter);
        auto& r = table.rec<Record>();
        store::clearRecord(Record::schema(), &r);
        fill(r);
        ASSERT_EQ(table.add(), store::kNoError);
    }
    void addTask(int id, const char* category, const char* description, Date date, const char* message = "") {
        add<data::Schedule>([&](data::Schedule& r) {
            r.ID = id;
            r.CATEGORY = category;
            r.DESCRIPTION = description;
            r.DATE = date;
            r.TIME = makeTime(9, 30);
            r.TASKTYPE = "Display Message";
            r.MESSAGE = message;
            r.MONDAY = 1;
            r.ALARM = 1;
            r.LASTRUNDATE = date - 7;
        });
    }
    void addTodo(int priority, const char* category, const char* text) {
        add<data::Todo>([&](data::Todo& r) {
            r.PRIORITY = static_cast<std::uint8_t>(priority);
            r.CATEGORY = category;
            r.TODO = text;
        });
    }

    // Many adds in one transaction (one sync of the file, not one each).
    template <typename Record, typename Adds>
    void batch(Adds adds) {
        store::Table& table = data::processTable<Record>();
        if (!table.isOpen()) data::openTable(table, prompter);
        store::Transaction transaction(table);
        ASSERT_TRUE(transaction.ok());
        adds();
        ASSERT_EQ(transaction.commit(), store::kNoError);
    }

    // The text of a PDF file, page breaks as form feeds.
    static std::string pdfText(const std::string& path) {
        std::string out;
        if (FILE* pipe = popen(("pdftotext -layout '" + path + "' -").c_str(), "r")) {
            char buffer[4096];
            std::size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
            pclose(pipe);
        }
        return out;
    }
    static int pdfPages(const std::string& text) {
        int pages = 0;
        for (char c : text) pages += c == '\f';
        return pages;
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
};

}  // namespace plorix::reports::test
