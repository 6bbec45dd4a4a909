// Report rows below the windows: key order, filters, group headings,
// steps of 25 with their percentage, and a failed read that stops a report.

#include <sqlcipher/sqlite3.h>

#include "data/data_file.h"
#include "store/file_key.h"
#include "report_fixture.h"
#include "reports/rows/report_reader.h"
#include "support/served_run.h"

namespace plorix::reports {
namespace {

using test::ReportFixture;
using ReportRowsTest = ReportFixture;

std::vector<std::string> firstCells(const std::vector<Band>& bands) {
    std::vector<std::string> out;
    for (const Band& band : bands)
        out.push_back((band.kind == BandKind::Group ? "# " : "") + (band.cells.empty() ? "" : band.cells[0]));
    return out;
}

TEST_F(ReportRowsTest, ToDoByCategoryHeadsEachCategoryOnce) {
    addTodo(2, "work", "Write minutes");
    addTodo(1, "Home", "Fix the tap");
    addTodo(1, "WORK", "Book the room");
    ReportReader reader(requestFor(ReportId::TodoByCategory), prompter);
    std::vector<Band> bands;
    ASSERT_EQ(reader.readAll(bands), ReportReader::Status::End);
    // Categories compare without letter case, as the key orders them.
    EXPECT_EQ(firstCells(bands), (std::vector<std::string>{"# Home", "1", "# WORK", "1", "2"}));
    EXPECT_EQ(bands[3].cells[2], "Book the room");
}

TEST_F(ReportRowsTest, BriefScheduleKeepsTheCriteriaAndTheirOrder) {
    addTask(1, "Work", "Zebra", makeDate(3, 10, 2026));
    addTask(2, "Home", "Apple", makeDate(3, 11, 2026));
    addTask(3, "work", "Mango", makeDate(3, 12, 2026));
    addTask(4, "Work", "Kiwi", makeDate(5, 1, 2026));
    ReportCriteria criteria;
    criteria.selectedCategory = true;
    criteria.category = "WORK";
    criteria.selectedDates = true;
    criteria.dateFrom = makeDate(3, 1, 2026);
    criteria.dateTo = makeDate(3, 31, 2026);
    criteria.order = "Description";
    ReportReader reader(briefRequest(criteria), prompter);
    std::vector<Band> bands;
    ASSERT_EQ(reader.readAll(bands), ReportReader::Status::End);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].cells, (std::vector<std::string>{"03/12/2026", "9:30AM", "work", "Mango", ""}));
    EXPECT_EQ(bands[1].cells[3], "Zebra");
    EXPECT_EQ(orderKey("Adv. Warn"), data::keys::Schedule::KEYADVANCED);
    EXPECT_EQ(orderKey("anything"), data::keys::Schedule::KEYDATE);
}

TEST_F(ReportRowsTest, ReadsTwentyFiveRecordsAStepWithTheirPercentage) {
    batch<data::Todo>([&] {
        for (int i = 0; i < 60; ++i) addTodo(i % 5, "Work", ("Item " + std::to_string(100 + i)).c_str());
    });
    ReportReader reader(requestFor(ReportId::TodoByPriority), prompter);
    std::vector<Band> bands;
    EXPECT_EQ(reader.read(kRecordsPerStep, bands), ReportReader::Status::More);
    EXPECT_EQ(bands.size(), 25u);
    EXPECT_EQ(reader.percent(), 41);
    EXPECT_EQ(reader.read(kRecordsPerStep, bands), ReportReader::Status::More);
    EXPECT_EQ(reader.read(kRecordsPerStep, bands), ReportReader::Status::End);
    EXPECT_EQ(bands.size(), 60u);
    EXPECT_EQ(reader.percent(), 100);
    EXPECT_EQ(bands.front().cells[0], "0");
    EXPECT_EQ(bands.back().cells[0], "4");
}

TEST_F(ReportRowsTest, AFailedReadStopsTheReportInsteadOfEndingIt) {
    PLORIX_FILE_RUN_ONLY("drops a table from the file");
    batch<data::Todo>([&] {
        for (int i = 0; i < 400; ++i) addTodo(1, "Work", ("Item " + std::to_string(1000 + i)).c_str());
    });
    ReportReader reader(requestFor(ReportId::TodoByPriority), prompter);
    std::vector<Band> bands;
    ASSERT_EQ(reader.read(kRecordsPerStep, bands), ReportReader::Status::More);
    // Another program takes the table away between two steps.
    sqlite3* db = nullptr;
    sqlite3_open_v2(data::kDataFileName.data(), &db, SQLITE_OPEN_READWRITE, nullptr);
    ASSERT_EQ(store::keyConnection(db, data::kOwnerPassword), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE \"ToDo\";", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close_v2(db);
    // Rows read ahead before may still come; the read after them fails.
    EXPECT_EQ(reader.readAll(bands), ReportReader::Status::Failed);
    EXPECT_NE(reader.errorCode(), 0);
    EXPECT_LT(bands.size(), 400u);
    EXPECT_EQ(reader.read(kRecordsPerStep, bands), ReportReader::Status::Failed);
}

}  // namespace
}  // namespace plorix::reports
