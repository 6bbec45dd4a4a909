#pragma once
// SYNCHRONIZE: a short explanation and the choice to receive a transfer
// file into this installation or to send this installation's tasks and
// to-do items into one. Each run shows its progress, then what it did;
// after either the window closes.
//
// A receive merges all or nothing, in one transaction on the data file.
// While it runs the frame's ticks are held back, so that no tick writes
// inside the merge (and is rolled back with a cancelled one); a task due
// meanwhile fires on the first tick after it.

#include <QWidget>
#include <functional>
#include <string>

#include "io/stepped_job.h"
#include "runtime/prompter.h"

namespace plorix::ui {

class Synchronize final : public QWidget {
public:
    // `holdTicks(true)` stops the frame's ticks, `holdTicks(false)` lets them go on.
    Synchronize(Prompter& prompter, std::function<void(bool)> holdTicks, QWidget* parent = nullptr);

    // The runs, once the file is chosen; false when they could not start.
    bool sendTo(const std::string& file);
    bool receiveFrom(const std::string& file);
    bool running() const { return running_; }
    io::SteppedJob::State outcome() const { return outcome_; }

private:
    void askSend();
    void askReceive();
    void ended(io::SteppedJob::State state, const std::string& report);

    Prompter& prompter_;
    std::function<void(bool)> holdTicks_;
    bool running_ = false;
    io::SteppedJob::State outcome_ = io::SteppedJob::State::Ready;
};

}  // namespace plorix::ui
