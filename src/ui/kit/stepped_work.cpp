#include "ui/kit/stepped_work.h"

#include <QEventLoop>
#include <QTimer>

namespace plorix::ui {

void runSteps(const std::function<bool()>& step) {
    QEventLoop loop;
    QTimer timer;
    // Single-shot and restarted after each step: a step that shows a
    // question must not have the next step run inside it.
    timer.setSingleShot(true);
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (step())
            timer.start();
        else
            loop.quit();
    });
    timer.start();
    loop.exec();
}

std::int32_t countTagsInSteps(Prompter& prompter, data::TagTable table) {
    data::TagCount counting(prompter, table);
    runSteps([&] { return counting.step(); });
    return counting.count();
}

void clearTagsInSteps(Prompter& prompter, data::TagTable table) {
    data::TagClear clearing(prompter, table);
    runSteps([&] { return clearing.step(); });
}

}  // namespace plorix::ui
