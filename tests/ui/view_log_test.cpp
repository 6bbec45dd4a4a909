// VIEWLOG: the log read in steps between other events with a progress
// window, a cancel that asks first, searching with wrap-around, printing
// and the window's position.

#include "ui/view_log_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QFile>
#include <QListView>
#include <QPrinter>
#include <QRegularExpression>

#include "qt_test_app.h"
#include "settings/window_positions.h"
#include "runtime/ini_file.h"
#include "support/temp_dir.h"
#include "ui/view_log_print.h"

namespace plorix::ui {
namespace {

// `count` lines of a hundred characters; line 5 names the dentist.
std::string logOf(int count) {
    std::string content;
    for (int i = 0; i < count; ++i) {
        std::string line = "10/31/59    10:00:00  Message                       ";
        line += i == 5 ? "Dentist bell.wav" : "Task " + std::to_string(i);
        line.resize(100, ' ');
        content += line + "\r\n";
    }
    return content;
}

class ViewLogTest : public ::testing::Test {
protected:
    std::unique_ptr<ViewLog> openLoaded(int lines) {
        dir.write("PX98Evnt.LOG", logOf(lines));
        auto window = std::make_unique<ViewLog>(&prompter);
        window->show();
        EXPECT_TRUE(test::waitUntil([&] { return !window->loading(); }, 20000));
        return window;
    }

    test::TempDir dir;
    RecordingPrompter prompter;
};

TEST_F(ViewLogTest, ReadsInStepsWhileOtherEventsGoOn) {
    dir.write("PX98Evnt.LOG", logOf(3000));  // 306,000 bytes: sixteen steps
    ViewLog window(&prompter);
    window.show();
    // A timer of the frame's keeps running between the steps.
    int ticks = 0;
    QTimer frameTimer;
    QObject::connect(&frameTimer, &QTimer::timeout, [&] { ++ticks; });
    frameTimer.start(0);
    ASSERT_TRUE(test::waitUntil([&] { return !window.loading(); }, 20000));
    EXPECT_GT(ticks, 10);

    ASSERT_EQ(window.rows().size(), 3000u);
    EXPECT_EQ(window.findChild<QListView*>()->model()->rowCount(), 3000);
    EXPECT_EQ(prompter.progressTitles, std::vector<std::string>{"View Log"});
    EXPECT_EQ(prompter.progressPercents.back(), 100);
    EXPECT_EQ(prompter.progressesFinished, 1);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(ViewLogTest, CancelAsksAndStopsReading) {
    prompter.cancelProgressAfter = 3;
    prompter.answerNext(kOk);
    auto window = openLoaded(3000);
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Cancel Request"});
    EXPECT_GT(window->rows().size(), 0u);
    EXPECT_LT(window->rows().size(), 3000u);
    EXPECT_EQ(window->findChild<QListView*>()->model()->rowCount(), static_cast<int>(window->rows().size()));
}

TEST_F(ViewLogTest, EmptyLogSaysSoAndListsNothing) {
    dir.write("px98EVNT.LOG", "");
    ViewLog window(&prompter);
    window.show();
    ASSERT_TRUE(test::waitUntil([&] { return !prompter.shown().empty(); }));
    EXPECT_EQ(prompter.titles(), std::vector<std::string>{"File Load Error"});
    EXPECT_FALSE(window.loading());
    EXPECT_TRUE(window.rows().empty());
}

TEST_F(ViewLogTest, FindWrapsAroundWhenTheUserAgrees) {
    auto window = openLoaded(300);
    window->setCurrentRow(200);
    prompter.answerNext(kYes);
    EXPECT_TRUE(window->find("DENTIST", log::SearchDirection::Down));
    EXPECT_EQ(window->currentRow(), 5);
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"End of File Error"});

    // Nothing above row 5: going on from the end is declined, the selection stays.
    prompter.answerNext(kNo);
    EXPECT_FALSE(window->find("dentist", log::SearchDirection::Up));
    EXPECT_EQ(window->currentRow(), 5);
    EXPECT_EQ(prompter.titles().back(), "Beginning of File Error");

    EXPECT_TRUE(window->find("Task 250", log::SearchDirection::Down));
    EXPECT_EQ(window->currentRow(), 250);
    EXPECT_EQ(prompter.shown().size(), 2u);
}

TEST_F(ViewLogTest, PrintsEveryLineOnAsManyPagesAsNeeded) {
    auto pagesIn = [](const QString& pdf) {
        QFile file(pdf);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return static_cast<int>(
            QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")));
    };
    auto printTo = [&](const std::vector<std::string>& rows, const QString& pdf) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return printRows(rows, printer);
    };
    const QString one = QString::fromStdString((dir / "one.pdf").string());
    const QString many = QString::fromStdString((dir / "many.pdf").string());
    EXPECT_EQ(printTo({"a single line"}, one), 1);
    EXPECT_EQ(pagesIn(one), 1);

    const std::vector<std::string> rows(400, std::string(100, 'x'));
    const int pages = printTo(rows, many);
    EXPECT_GT(pages, 2);
    EXPECT_EQ(pagesIn(many), pages);
    EXPECT_EQ(printTo({}, one), 0);
}

TEST_F(ViewLogTest, RemembersItsPlace) {
    auto window = openLoaded(40);
    window->setCurrentRow(5);
    window->setGeometry(150, 160, 700, 400);
    window->close();
    const IniFile positions(std::string(settings::kPositionIni));
    EXPECT_EQ(positions.getInt("ViewLog", "XPosit"), 150);
    EXPECT_EQ(positions.getInt("ViewLog", "Width"), 700);

    ViewLog again(&prompter);
    EXPECT_EQ(again.geometry(), QRect(150, 160, 700, 400));
}

}  // namespace
}  // namespace plorix::ui
