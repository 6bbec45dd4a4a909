#include "ui/exchange/job_runner.h"

#include <QTimer>
#include <exception>
#include <thread>

#include "ui/worker_prompter.h"

namespace plorix::ui {

namespace {

class WorkerRun final : public QObject {
public:
    WorkerRun(Prompter& prompter, QObject* context,
              const std::function<std::unique_ptr<io::SteppedJob>(Prompter&)>& make, JobDone done)
        : QObject(context), prompter_(prompter), job_(make(prompter_)), done_(std::move(done)) {
        worker_ = std::thread([this] { work(); });
    }
    ~WorkerRun() override {
        prompter_.abandon();
        if (worker_.joinable()) worker_.join();
    }
    WorkerRun(const WorkerRun&) = delete;
    WorkerRun& operator=(const WorkerRun&) = delete;

private:
    void work() {
        try {
            job_->run();
        } catch (const std::exception&) {
            // The data file could not be opened: its warning has been shown.
            threw_ = true;
        }
        QMetaObject::invokeMethod(
            this, [this] { ended(); }, Qt::QueuedConnection);
    }
    void ended() {
        worker_.join();
        done_(threw_ ? io::SteppedJob::State::Failed : job_->state(), *job_);
        job_.reset();
        deleteLater();
    }

    WorkerPrompter prompter_;  // outlives the job and its progress windows
    std::unique_ptr<io::SteppedJob> job_;
    JobDone done_;
    std::thread worker_;
    bool threw_ = false;  // written by the worker, read after it ended
};

}  // namespace

bool runJob(std::unique_ptr<io::SteppedJob> job, QObject* context, JobDone done) {
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

void runJobOnWorker(Prompter& prompter, QObject* context,
                    const std::function<std::unique_ptr<io::SteppedJob>(Prompter&)>& make, JobDone done) {
    new WorkerRun(prompter, context, make, std::move(done));
}

}  // namespace plorix::ui
