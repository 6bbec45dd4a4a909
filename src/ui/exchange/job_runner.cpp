#include "ui/exchange/job_runner.h"

#include <QTimer>

namespace plorix::ui {

bool runJob(std::unique_ptr<io::SteppedJob> job, QObject* context,
            std::function<void(io::SteppedJob::State, io::SteppedJob&)> done) {
    if (!job->start()) {
        done(job->state(), *job);
        return false;
    }
    auto* timer = new QTimer(context);
    timer->setInterval(0);
    std::shared_ptr<io::SteppedJob> shared(std::move(job));
    QObject::connect(timer, &QTimer::timeout, timer, [timer, shared, done] {
        if (shared->step()) return;
        timer->stop();
        done(shared->state(), *shared);
        timer->deleteLater();
    });
    timer->start();
    return true;
}

}  // namespace plorix::ui
