#include "io/export_job.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "io/exchange_support.h"
#include "data/field_pictures.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::io {
namespace {

using data::Schedule;

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        data::openTable(schedule, prompter);
        addTask("Zeta", "Say \"hi\"", *parseDate("31/10/2025", "d6"), makeTime(17, 30));
        addTask("Alpha", "First", 0, 0);
    }
    void addTask(const char* category, const char* description, Date date, Time time) {
        auto& r = schedule.rec<Schedule>();
        store::clearRecord(Schedule::schema(), &r);
        r.ID = static_cast<std::int32_t>(schedule.records() + 1);
        r.CATEGORY = category;
        r.DESCRIPTION = description;
        r.DATE = date;
        r.TIME = time;
        r.MONDAY = 1;
        r.EXCEPTIONLINK = -7;
        ASSERT_EQ(schedule.add(), store::kNoError);
    }
    ExportPlan plan(std::string file = "out.csv") {
        ExportPlan p = ExportPlan::defaults(ExchangeTable::Schedule);
        p.file = std::move(file);
        return p;
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
    store::Table schedule{Schedule::schema()};
};

TEST_F(ExportTest, WritesTheHeaderAndOneLinePerRecordInExportOrder) {
    ExportJob job(plan(), prompter);
    ASSERT_TRUE(job.run()) << job.failure();
    EXPECT_EQ(job.written(), 2u);

    const std::string content = dir.read("out.csv");
    auto lines = plorix::test::lines(content);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
    EXPECT_EQ(lines[0].rfind("\"SCH:TaskType\",\"SCH:Category\",\"SCH:Description\",", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(",\"SCH:LastDayofMonth\","), std::string::npos);
    // By category and date: Alpha before Zeta.
    EXPECT_EQ(lines[1].rfind("\"\",\"Alpha\",\"First\",", 0), 0u) << lines[1];
    EXPECT_NE(lines[2].find("\"Say \"\"hi\"\"\""), std::string::npos) << lines[2];
    // Numbers bare (the weekday flags), dates and times quoted in their picture.
    EXPECT_NE(lines[2].find(",0,1,0,0,0,0,0,"), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find(",\"31/10/2025\",\"5:30PM\","), std::string::npos) << lines[2];
    EXPECT_NE(lines[1].find(",\"\",\"\","), std::string::npos) << "blank date and time: " << lines[1];
    EXPECT_EQ(lines[2].substr(lines[2].size() - 3), ",-7");

    EXPECT_EQ(prompter.progressTitles, std::vector<std::string>{"Exporting Records"});
    EXPECT_EQ(prompter.progressPercents.back(), 100);
    EXPECT_EQ(prompter.progressesFinished, 1);
}

TEST_F(ExportTest, ChosenFieldsAndPicturesWithoutHeader) {
    addTask("", "No category nor date", 0, 0);  // outside the export key, exported all the same
    ExportPlan p = plan();
    p.header = false;
    for (auto& choice : p.fields)
        choice.selected = choice.field.name == "SCH:Date" || choice.field.name == "SCH:Description";
    p.fields[static_cast<std::size_t>(
                 findExchangeField(exchangeTable(ExchangeTable::Schedule).exportFields, "sch:date"))]
        .picture = "@d10";
    ExportJob job(p, prompter);
    ASSERT_TRUE(job.run());
    EXPECT_EQ(dir.read("out.csv"),
              "\"First\",\"\"\r\n\"Say \"\"hi\"\"\",\"2025/10/31\"\r\n\"No category nor date\",\"\"\r\n");
}

TEST_F(ExportTest, RefusalsAreToldAndLeaveNoFileBehind) {
    ExportPlan none = plan();
    for (auto& choice : none.fields) choice.selected = false;
    ExportJob noFields(none, prompter);
    EXPECT_FALSE(noFields.run());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "No Fields Selected for Export!");
    EXPECT_EQ(prompter.shown()[0].text, "You must select one or more fields to export.");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.csv"));

    ExportJob noFolder(plan("missing/out.csv"), prompter);
    EXPECT_FALSE(noFolder.run());
    EXPECT_EQ(prompter.shown().back().title, "Cannot CREATE missing/out.csv");
    EXPECT_EQ(prompter.shown().back().text, "Error #2 - No such file or directory");

    // The data file is never overwritten, whatever its spelling.
    ExportJob dataFile(plan("./px97.tps"), prompter);
    EXPECT_FALSE(dataFile.run());
    EXPECT_EQ(schedule.records(), 2);
}

TEST_F(ExportTest, AWriteFailureOffersRetryAndAbortLeavesTheDeviceAlone) {
    prompter.answerNext(kRetry);  // then Abort, the default
    ExportJob job(plan("/dev/full"), prompter);
    EXPECT_FALSE(job.run());
    EXPECT_EQ(job.state(), SteppedJob::State::Failed);
    ASSERT_EQ(prompter.shown().size(), 2u);
    for (const auto& shown : prompter.shown()) {
        EXPECT_EQ(shown.title, "Cannot ADD to /dev/full");
        EXPECT_EQ(shown.text, "Error #28 - No space left on device");
        EXPECT_EQ(shown.buttons, kRetry | kAbort);
        EXPECT_EQ(shown.defaultButton, kAbort);
    }
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(ExportTest, CancelStopsBetweenStepsAndKeepsWhatWasWritten) {
    for (int i = 0; i < 60; ++i) addTask("Bulk", "task", 0, 0);
    prompter.cancelProgressAfter = 2;  // the opening 0% and the first step
    ExportJob job(plan(), prompter);
    EXPECT_FALSE(job.run());
    EXPECT_EQ(job.state(), SteppedJob::State::Cancelled);
    EXPECT_EQ(job.written(), 25u);
    EXPECT_EQ(plorix::test::lines(dir.read("out.csv")).size(), 26u);
    EXPECT_EQ(prompter.progressesFinished, 1);
}

}  // namespace
}  // namespace plorix::io

namespace plorix::io {
namespace {

// The shortcut for whole numbers writes what the picture would show, without
// the alignment blanks.
TEST(ExportColumn, WholeNumbersAsThePictureShowsThem) {
    const auto& schema = data::Schedule::schema();
    const auto& every = schema.fields[static_cast<std::size_t>(schema.fieldIndex("SCH:EVERY"))];
    data::Schedule record;
    for (const char* picture : {"@n3", "@n3b", "@n-13", "@n1", "@n6.2", "@d6b", "@s2"}) {
        const data::ExportColumn column(every, picture);
        for (std::int32_t value : {0, 7, -7, 300, 123456}) {
            record.EVERY = value;
            EXPECT_EQ(trim(column.text(&record)), trim(data::formatFieldValue(every, &record, picture)))
                << picture << " " << value;
        }
    }
}

}  // namespace
}  // namespace plorix::io
