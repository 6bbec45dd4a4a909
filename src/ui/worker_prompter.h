#pragma once
// The prompter of work that runs on a worker thread. Windows live on the
// window thread, so every message and progress window of the work is shown
// there by the program's own prompter: a message is handed over and the
// worker waits for its answer; progress goes over as queued calls, in
// order, and Cancel comes back as a flag the worker reads.
//
// Made and destroyed on the window thread; message() and progress() are
// called on the worker, and the progress windows it gives out end before it
// does.

#include <QObject>
#include <memory>

#include "runtime/prompter.h"

namespace plorix::ui {

class WorkerPrompter final : public Prompter {
public:
    explicit WorkerPrompter(Prompter& shown);
    ~WorkerPrompter() override;
    WorkerPrompter(const WorkerPrompter&) = delete;
    WorkerPrompter& operator=(const WorkerPrompter&) = delete;

    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override;
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override;

    // For the window thread when the work must end without a user (its
    // window is going): every question waiting and to come takes its
    // default answer, and every progress window reports Cancel.
    void abandon();

    struct Channel;
    class Desk;

private:
    Prompter& shown_;
    std::shared_ptr<Channel> channel_;
    std::unique_ptr<Desk> desk_;  // the progress windows shown
    // On the window thread: the calls handed over run in its name, and go
    // with it (before the desk they use).
    QObject relay_;
    int nextProgress_ = 0;  // worker side
};

}  // namespace plorix::ui
