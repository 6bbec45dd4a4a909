// Figures of the schedule browse for bench/run-browse:
//   bench_browse fill DIR TASKS
//       a data folder with TASKS tasks in a thousand categories ("Cat 000"
//       to "Cat 999"), the browse set to open on "All by Date";
//   bench_browse measure DIR
//       in this process, on the desktop: milliseconds to open "View
//       Schedule" and show its first page, then the median milliseconds of a
//       page down and of a locator jump to "Cat 990" on "All by Category".

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/open_routine.h"
#include "data/tables.h"
#include "runtime/clock.h"
#include "runtime/ini_file.h"
#include "ui/browses/browse_schedule.h"
#include "ui/kit/record_table_model.h"

namespace {

using namespace plorix;

int fill(int tasks) {
    SilentPrompter prompter;
    store::Table schedule(data::Schedule::schema());
    data::openTable(schedule, prompter);
    const Moment now = SystemClock().current();
    if (schedule.stream() != 0) return 1;
    auto& t = schedule.rec<data::Schedule>();
    for (int i = 1; i <= tasks; ++i) {
        store::clearRecord(schedule.schema(), &t);
        char category[16];
        std::snprintf(category, sizeof category, "Cat %03d", i % 1000);
        t.ID = i;
        t.TASKTYPE = "Display Message";
        t.SCHEDULETYPE = "Once";
        t.CATEGORY = category;
        t.DESCRIPTION = "Task number " + std::to_string(i);
        const Moment when = normalise({now.date + 1, 1 + static_cast<Time>(i) * 6000});
        t.DATE = when.date;
        t.TIME = when.time;
        if (schedule.add() != 0) return 1;
    }
    if (schedule.flush() != 0) return 1;
    IniFile(".\\POSITION.INI").putInt("BrowseSchedule", "Tab", ui::BrowseSchedule::DateTab);
    return 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int measure(int argc, char** argv) {
    QApplication app(argc, argv);
    SilentPrompter prompter;
    ui::ScheduleServices services{
        .prompter = prompter, .clock = processClock(), .runNow = {}, .scripting = {}, .holidays = {}};
    QElapsedTimer timer;
    timer.start();
    auto* browse = new ui::BrowseSchedule(services, nullptr);
    browse->show();
    QApplication::processEvents();
    const double open = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (browse->model().rowCount() == 0) return 1;

    std::vector<double> pages;
    for (int i = 0; i < 30; ++i) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        timer.restart();
        QApplication::sendEvent(&browse->view(), &down);
        QApplication::processEvents();
        pages.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    browse->setTab(ui::BrowseSchedule::CategoryTab);
    auto* locator = browse->findChild<QLineEdit*>();
    std::vector<double> jumps;
    for (int i = 0; i < 30; ++i) {
        locator->clear();
        timer.restart();
        locator->setText(QStringLiteral("Cat 99%1").arg(i % 10));
        emit locator->textEdited(locator->text());
        QApplication::processEvents();
        jumps.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const QString first = browse->model().text(0, 3);
    std::printf("%.1f %.2f %.2f %s\n", open, median(pages), median(jumps), first.toUtf8().constData());
    return first.isEmpty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || chdir(argv[2]) != 0) {
        std::fprintf(stderr, "usage: bench_browse fill DIR TASKS | measure DIR\n");
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "fill" && argc > 3) return fill(std::atoi(argv[3]));
    if (mode == "measure") return measure(argc, argv);
    return 2;
}
