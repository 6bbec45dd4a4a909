// Reports through their runs into PDF files: titles, rows, group headings
// and page footers as pdftotext reads them, marked pages printed alone,
// the library's "Page x of y", and the run's questions and notes.

#include <QPdfWriter>
#include <QPrinter>

#include "report_fixture.h"
#include "reports/report_preview.h"
#include "reports/report_run.h"
#include "ui/frame_printer.h"
#include "ui/qt_test_app.h"

namespace plorix::reports {
namespace {

using test::ReportFixture;

class ReportPagesTest : public ReportFixture {
protected:
    // Runs a report to its end; the preview it opened, if any.
    ReportPreview* run(ReportRequest request, ReportRun::Outcome expected) {
        ReportRun::Outcome outcome = ReportRun::Outcome::Running;
        QPointer<QWidget> preview;
        ReportRun* report = new ReportRun(std::move(request), prompter, nullptr);
        report->onEnded([&, report](ReportRun::Outcome o) {
            outcome = o;
            preview = report->preview();
        });
        report->start();
        EXPECT_TRUE(plorix::test::waitUntil([&] { return outcome != ReportRun::Outcome::Running; }, 20000));
        EXPECT_EQ(outcome, expected);
        opened.reset(dynamic_cast<ReportPreview*>(preview.data()));
        return opened.get();
    }
    std::string path(const char* name) { return (dir / name).string(); }

    std::unique_ptr<ReportPreview> opened;
};

TEST_F(ReportPagesTest, ScheduleInCategoryOrderPrintsBlocksUnderCategoryHeadings) {
    batch<data::Schedule>([&] {
        for (int i = 1; i <= 40; ++i)
            addTask(i, i % 2 ? "Work" : "Home", ("Task number " + std::to_string(i)).c_str(),
                    makeDate(3, i % 28 + 1, 2026), i == 3 ? "Bring the signed contract" : "");
    });
    ReportPreview* preview = run(requestFor(ReportId::ScheduleByCategory), ReportRun::Outcome::Previewed);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(prompter.progressTitles, std::vector<std::string>{"Progress..."});
    EXPECT_EQ(prompter.progressTexts, std::vector<std::string>{"Generating Report"});
    ASSERT_GT(preview->pageCount(), 2);
    EXPECT_EQ(preview->indicator().toStdString(), "Page 1 of " + std::to_string(preview->pageCount()));

    ASSERT_TRUE(preview->saveAsPdf(QString::fromStdString(path("schedule.pdf"))));
    const std::string text = pdfText(path("schedule.pdf"));
    EXPECT_EQ(pdfPages(text), preview->pageCount());
    EXPECT_NE(text.find("Schedule"), std::string::npos);
    // Home before Work, each heading once, the blocks under them.
    const auto home = text.find("Home\n");
    const auto work = text.find("Work\n");
    ASSERT_NE(home, std::string::npos);
    ASSERT_NE(work, std::string::npos);
    EXPECT_LT(home, work);
    EXPECT_LT(home, text.find("Task number 2"));
    EXPECT_LT(work, text.find("Task number 1 "));
    for (const char* label :
         {"Task Type", "Display Message", "Last Run:", "Monday", "Alarm", "Bring the signed contract"})
        EXPECT_NE(text.find(label), std::string::npos) << label;
    EXPECT_NE(text.find("Page 1\n"), std::string::npos);
    EXPECT_NE(text.find("Page " + std::to_string(preview->pageCount())), std::string::npos);
    EXPECT_EQ(text.find(" of "), std::string::npos);
}

TEST_F(ReportPagesTest, MarkedPagesPrintAloneAndUnmarkedOnesWithout) {
    batch<data::Schedule>([&] {
        for (int i = 1; i <= 30; ++i)
            addTask(i, "Work", ("Task " + std::to_string(i)).c_str(), makeDate(3, 1, 2026));
    });
    ReportPreview* preview = run(requestFor(ReportId::ScheduleByDate), ReportRun::Outcome::Previewed);
    ASSERT_NE(preview, nullptr);
    ASSERT_GE(preview->pageCount(), 3);
    preview->goToPage(2);
    preview->toggleMark();
    EXPECT_TRUE(preview->marked(2));
    EXPECT_FALSE(preview->marked(1));
    {
        QPdfWriter marked(QString::fromStdString(path("marked.pdf")));
        EXPECT_EQ(preview->printRange(marked, PrintRange::Marked), 1);
    }
    const std::string text = pdfText(path("marked.pdf"));
    EXPECT_EQ(pdfPages(text), 1);
    EXPECT_NE(text.find("Page 2"), std::string::npos);
    {
        QPdfWriter unmarked(QString::fromStdString(path("unmarked.pdf")));
        EXPECT_EQ(preview->printRange(unmarked, PrintRange::Unmarked), preview->pageCount() - 1);
    }
    EXPECT_EQ(pdfText(path("unmarked.pdf")).find("Page 2\n"), std::string::npos);
    EXPECT_EQ(pagesInRange(PrintRange::Range, {false, false, false, false}, 4, 2),
              (std::vector<int>{1, 2, 3}));
    preview->goToPage(99);
    EXPECT_EQ(preview->currentPage(), preview->pageCount());
}

TEST_F(ReportPagesTest, LibraryReportPrintedWithoutPreviewNumbersPagesOfAll) {
    addTodo(2, "Work", "Write minutes");
    addTodo(1, "Home", "Fix the tap");
    ui::programPrinter().setOutputFormat(QPrinter::PdfFormat);
    ui::programPrinter().setOutputFileName(QString::fromStdString(path("todo.pdf")));
    prompter.answerNext(kNo);  // no preview: print at once
    ReportRequest request = requestFor(ReportId::TodoByPriority);
    setTitle(request, "Chores");
    run(std::move(request), ReportRun::Outcome::Printed);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown()[0].text, "Do you wish to PREVIEW this Report?");
    EXPECT_EQ(prompter.progressTexts, std::vector<std::string>{"Printing Report"});
    const std::string text = pdfText(path("todo.pdf"));
    EXPECT_NE(text.find("Chores"), std::string::npos);
    EXPECT_LT(text.find("Fix the tap"), text.find("Write minutes"));
    EXPECT_NE(text.find("Page 1 of 1"), std::string::npos);
}

TEST_F(ReportPagesTest, AnEmptyTableHasNothingToPreview) {
    run(requestFor(ReportId::CategoryList), ReportRun::Outcome::Nothing);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "NOTE...");
    EXPECT_EQ(prompter.shown()[0].text, "Nothing to Preview.");
}

TEST_F(ReportPagesTest, CancelAsksAndMayPreviewThePagesMadeSoFar) {
    batch<data::Schedule>([&] {
        for (int i = 1; i <= 200; ++i)
            addTask(i, "Work", ("Task " + std::to_string(i)).c_str(), makeDate(3, 1, 2026));
    });
    prompter.cancelProgressAfter = 2;
    prompter.answerNext(kYes);  // cancel the report
    prompter.answerNext(kYes);  // preview what there is
    ReportPreview* preview = run(requestFor(ReportId::ScheduleByDate), ReportRun::Outcome::Previewed);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].text, "Are you sure you want to CANCEL this Report?");
    EXPECT_EQ(prompter.shown()[1].text, "Report Cancellation Requested!\n\nPreview Report generated so far?");
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->saveAsPdf(QString::fromStdString(path("part.pdf"))));
    const std::string text = pdfText(path("part.pdf"));
    EXPECT_NE(text.find("Task 1\n"), std::string::npos);
    EXPECT_EQ(text.find("Task 200"), std::string::npos);
}

}  // namespace
}  // namespace plorix::reports
