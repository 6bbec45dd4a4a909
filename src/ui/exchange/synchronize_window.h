#pragma once
// SYNCHRONIZE: a short explanation and the choice to receive a transfer
// file into this installation or to send this installation's tasks and
// to-do items into one. Each run shows its progress, then what it did;
// after either the window closes.
//
// A receive merges all or nothing, in one transaction on the data file,
// on a worker thread with a connection of its own: the frame keeps ticking
// meanwhile, and a tick that finds the file busy tries again on its next
// one, so a task due during the merge fires once, after it. The window
// stays open until its run has ended.

#include <QWidget>
#include <string>

#include "io/stepped_job.h"
#include "runtime/prompter.h"

namespace plorix::ui {

class Synchronize final : public QWidget {
public:
    explicit Synchronize(Prompter& prompter, QWidget* parent = nullptr);

    // The runs, once the file is chosen; false when one runs already or a
    // send could not start (a receive starts on its worker and tells there).
    bool sendTo(const std::string& file);
    bool receiveFrom(const std::string& file);
    bool running() const { return running_; }
    io::SteppedJob::State outcome() const { return outcome_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void askSend();
    void askReceive();
    void ended(io::SteppedJob::State state, const std::string& report);

    Prompter& prompter_;
    bool running_ = false;
    io::SteppedJob::State outcome_ = io::SteppedJob::State::Ready;
};

}  // namespace plorix::ui
