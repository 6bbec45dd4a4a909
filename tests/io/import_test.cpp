#include "io/import_job.h"

#include <gtest/gtest.h>

#include "io/exchange_support.h"
#include "io/export_job.h"
#include "support/temp_dir.h"

namespace plorix::io {
namespace {

using data::Schedule;
using data::Todo;
using test::column;

class ImportTest : public ::testing::Test {
protected:
    ImportPlan planFor(ExchangeTable table, const std::string& content, bool byName = true) {
        dir.write("in.csv", content);
        ImportPlan plan;
        plan.table = table;
        plan.file = "in.csv";
        ImportProblem problem;
        EXPECT_TRUE(readImportColumns(plan, problem)) << problem.text;
        if (byName) plan.assignByName();
        return plan;
    }
    ImportJob& run(ImportPlan plan, ImportOptions options = {}) {
        job = std::make_unique<ImportJob>(std::move(plan), prompter, options);
        job->run();
        return *job;
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
    std::unique_ptr<ImportJob> job;
};

TEST_F(ImportTest, ColumnsComeFromTheFirstLineAndBareValuesOfTheSecondAreNumbers) {
    auto plan = planFor(ExchangeTable::Schedule,
                        "\"SCH:Description\",\"SCH:Date\",Every,\"sch:time\",\"Unknown\"\r\n"
                        "\"Backup\",\"31/10/2025\",5,\"5:30PM\",\"x\"\r\n");
    ASSERT_EQ(plan.columns.size(), 5u);
    EXPECT_EQ(plan.columns[0].name, "Field_1");
    EXPECT_EQ(plan.columns[2].sample, "Every");
    EXPECT_EQ(plan.columns[2].picture, "@N30.9");
    EXPECT_EQ(columnTypeText(plan.columns[2].picture), "Numeric");
    EXPECT_EQ(columnTypeText(plan.columns[4].picture), "Alpha-num");
    // By name: dates and times of the schedule take @d6 and @t3.
    const auto& targets = exchangeTable(ExchangeTable::Schedule).importTargets;
    EXPECT_EQ(targets[0].name, "SCH:User");
    EXPECT_EQ(targets[static_cast<std::size_t>(plan.columns[0].target)].name, "SCH:Description");
    EXPECT_EQ(plan.columns[1].picture, "@d6");
    EXPECT_EQ(plan.columns[3].picture, "@t3");
    EXPECT_EQ(columnTypeText(plan.columns[3].picture), "@t3");
    EXPECT_EQ(plan.columns[2].target, -1);
    EXPECT_EQ(plan.columns[4].target, -1);
    EXPECT_EQ(exchangeTable(ExchangeTable::Contact).importTargets[1].name, "C_:User");
}

TEST_F(ImportTest, ExportedTasksImportBackEachWithItsOwnNumber) {
    {
        store::Table schedule(Schedule::schema());
        data::openTable(schedule, prompter);
        auto& r = schedule.rec<Schedule>();
        r.ID = 40;
        r.DESCRIPTION = "Say \"hi\", then go";
        r.CATEGORY = "Home";
        r.DATE = 82000;
        r.TIME = makeTime(17, 30);
        r.FRIDAY = 1;
        r.EVERY = 15;
        r.ALARMFILE = "/usr/share/sounds/bell.oga";
        r.EXCEPTIONLINK = -3;
        ASSERT_EQ(schedule.add(), store::kNoError);
    }
    ExportPlan out = ExportPlan::defaults(ExchangeTable::Schedule);
    out.file = "tasks.csv";
    ASSERT_TRUE(ExportJob(out, prompter).run());

    for (int round = 0; round < 2; ++round) {
        ImportPlan plan;
        plan.file = "tasks.csv";
        ImportProblem problem;
        ASSERT_TRUE(readImportColumns(plan, problem));
        plan.assignByName();
        EXPECT_EQ(run(plan).added(), 1u) << job->failure();
        EXPECT_TRUE(job->lineErrors().empty());
    }
    EXPECT_EQ(column(Schedule::schema(), "SCH:ID"), (std::vector<std::string>{"40", "41", "42"}));
    EXPECT_EQ(column(Schedule::schema(), "SCH:DESCRIPTION")[2], "Say \"hi\", then go");
    EXPECT_EQ(column(Schedule::schema(), "SCH:DATE")[2], column(Schedule::schema(), "SCH:DATE")[0]);
    EXPECT_EQ(column(Schedule::schema(), "SCH:TIME")[2], "17:30:00");
    EXPECT_EQ(column(Schedule::schema(), "SCH:FRIDAY")[2], "1");
    EXPECT_EQ(column(Schedule::schema(), "SCH:EVERY")[2], "15");
    EXPECT_EQ(column(Schedule::schema(), "SCH:ALARMFILE")[2], "/usr/share/sounds/bell.oga");
    EXPECT_EQ(column(Schedule::schema(), "SCH:EXCEPTIONLINK")[2], "-3");
    EXPECT_EQ(prompter.progressTitles.back(), "Importing Records");
    EXPECT_EQ(prompter.progressPercents.back(), 100);
}

TEST_F(ImportTest, NumbersFollowTheLastTaskInEveryBatchEvenWhenAnotherAddCameBetween) {
    store::Table schedule(Schedule::schema());
    data::openTable(schedule, prompter);
    const auto addTask = [&](std::int32_t id) {
        store::clearRecord(Schedule::schema(), schedule.buffer());
        schedule.rec<Schedule>().ID = id;
        schedule.rec<Schedule>().DESCRIPTION = "by hand";
        ASSERT_EQ(schedule.add(), store::kNoError);
    };
    addTask(40);
    job = std::make_unique<ImportJob>(
        planFor(ExchangeTable::Schedule, "\"SCH:Description\"\r\na\r\nb\r\nc\r\nd\r\ne\r\n"), prompter,
        ImportOptions{2, true});
    ASSERT_TRUE(job->start());
    job->step(3);  // a and b committed as one batch; c's batch stays open
    addTask(100);  // another table of the program adds inside that batch
    while (job->step()) {}
    EXPECT_EQ(job->state(), SteppedJob::State::Completed) << job->failure();
    EXPECT_EQ(column(Schedule::schema(), "SCH:ID"),
              (std::vector<std::string>{"40", "41", "42", "43", "100", "101", "102"}));
    EXPECT_EQ(column(Schedule::schema(), "SCH:DESCRIPTION")[6], "e");
}

TEST_F(ImportTest, BadLinesAreLeftOutWholeAndToldByNumber) {
    const std::string content =
        "\"TDO:ToDo\",\"TDO:Priority\",\"TDO:CompletionDate\"\r\n"
        "\"one\",1,\"OCT 31,2025\"\r\n"
        "\"bad date\",2,\"OCT 32,2025\"\r\n"
        "\"too few\",3\r\n"
        "\"too\",4,\"\",\"many\"\r\n" +
        std::string("\"nul\0\",5,\"\"\r\n", 13) +
        "\"priority\",300,\"\"\r\n"
        "\r\n"
        "\"two\",6,,\r\n"
        "\"three\",7,\r\n";
    ImportJob& j = run(planFor(ExchangeTable::Todo, content));
    EXPECT_EQ(j.state(), SteppedJob::State::Completed);
    EXPECT_EQ(j.added(), 2u);
    EXPECT_EQ(column(Todo::schema(), "TDO:TODO"), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(column(Todo::schema(), "TDO:COMPLETIONDATE")[0], "2025-10-31");
    const std::vector<std::string> expected = {
        "line 3: column 3 (TDO:CompletionDate): 'OCT 32,2025' is not a date of picture @d3",
        "line 4: has 2 fields where the first line has 3",
        "line 5: has 4 fields where the first line has 3",
        "line 6: holds a NUL byte",
        "line 7: column 2 (TDO:Priority): '300' is out of range for TDO:PRIORITY",
        "line 9: has 4 fields where the first line has 3",
    };
    EXPECT_EQ(j.lineErrors(), expected);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Lines Not Imported");
    EXPECT_EQ(prompter.shown()[0].text.rfind("6 lines were not imported:\nline 3: ", 0), 0u);
}

TEST_F(ImportTest, ColumnsAssignedByHandWithTheirPicturesAndNoNamesLine) {
    auto plan = planFor(ExchangeTable::Schedule, "\"Weekly report\",\"2025-10-31\",\"1730\"\r\n", false);
    const auto& targets = exchangeTable(ExchangeTable::Schedule).importTargets;
    plan.firstLineHasNames = false;
    plan.columns[0].target = findExchangeField(targets, "SCH:Description");
    plan.columns[1].target = findExchangeField(targets, "SCH:LastRunDate");
    plan.columns[1].picture = "@d10";
    plan.columns[2].target = findExchangeField(targets, "SCH:LastRunTime");  // "@S1000": read as a time
    EXPECT_EQ(run(plan).added(), 1u) << job->failure();
    EXPECT_EQ(column(Schedule::schema(), "SCH:LASTRUNDATE"), std::vector<std::string>{"2025-10-31"});
    EXPECT_EQ(column(Schedule::schema(), "SCH:LASTRUNTIME"), std::vector<std::string>{"17:30:00"});
}

TEST_F(ImportTest, RefusalsBeforeAnythingIsRead) {
    dir.write("empty.csv", "");
    ImportPlan plan;
    plan.file = "empty.csv";
    ImportProblem problem;
    EXPECT_FALSE(readImportColumns(plan, problem));
    EXPECT_TRUE(problem.emptyFile);
    EXPECT_EQ(problem.title, "Attention!");
    EXPECT_EQ(problem.text, "That file is empty!  Please pick another file.");

    plan.file = "absent.csv";
    EXPECT_FALSE(readImportColumns(plan, problem));
    EXPECT_EQ(problem.title, "Cannot OPEN absent.csv");

    EXPECT_FALSE(run(planFor(ExchangeTable::Contact, "\"nothing\",\"known\"\r\n")).run());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "No Fields Selected for Import!");
    EXPECT_EQ(prompter.shown()[0].text, "You must select one or more fields to import.");
}

TEST_F(ImportTest, AFailedAddKeepsTheLinesBeforeItInItsBatch) {
    {
        store::Table schedule(Schedule::schema());
        data::openTable(schedule, prompter);
    }
    test::refuseInsert("s", "DESCRIPTION", "boom");
    ImportJob& j = run(planFor(ExchangeTable::Schedule,
                               "\"SCH:Description\"\r\n\"a\"\r\n\"b\"\r\n\"boom\"\r\n\"after\"\r\n"));
    EXPECT_EQ(j.state(), SteppedJob::State::Failed);
    // The numbering's failed attempts undid only themselves; a and b stayed
    // in the batch, and the import ended at the refused line.
    EXPECT_EQ(column(Schedule::schema(), "SCH:DESCRIPTION"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(j.added(), 2u);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown()[0].title, "Auto Increment Error") << prompter.shown()[0].text;
}

TEST_F(ImportTest, AFailedAddOfAToDoEndsTheImportWithTheStoreError) {
    {
        store::Table todo(Todo::schema());
        data::openTable(todo, prompter);
    }
    test::refuseInsert("ToDo", "TODO", "boom");
    ImportJob& j = run(planFor(ExchangeTable::Todo, "\"TDO:ToDo\"\r\n\"a\"\r\n\"boom\"\r\n\"after\"\r\n"),
                       ImportOptions{1000, true});
    EXPECT_EQ(j.state(), SteppedJob::State::Failed);
    EXPECT_EQ(column(Todo::schema(), "TDO:TODO"), std::vector<std::string>{"a"});
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Cannot ADD to Todo!");
    EXPECT_EQ(prompter.shown()[0].text.rfind("Error #", 0), 0u);
}

}  // namespace
}  // namespace plorix::io
