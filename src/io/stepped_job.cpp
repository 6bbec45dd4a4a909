#include "io/stepped_job.h"

#include <algorithm>

namespace plorix::io {

ProgressMeter::ProgressMeter(std::unique_ptr<Progress> progress) : progress_(std::move(progress)) {
    update(0, 0);
}

void ProgressMeter::update(std::uint64_t done, std::uint64_t total) {
    const int percent = total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(100, done * 100 / total));
    if (percent == percent_) return;
    percent_ = percent;
    if (progress_) progress_->setPercent(percent);
}

bool ProgressMeter::cancelled() { return progress_ && progress_->cancelled(); }

void ProgressMeter::finish() {
    if (progress_) progress_->finish();
    progress_.reset();
}

bool SteppedJob::start() {
    if (state_ != State::Ready) return state_ == State::Running;
    state_ = State::Running;
    if (!prepare()) {
        if (state_ == State::Running) state_ = State::Failed;
        end(state_);
        return false;
    }
    return state_ == State::Running;
}

bool SteppedJob::step(int count) {
    if (state_ != State::Running) return false;
    if (meter_.cancelled()) {
        end(State::Cancelled);
        return false;
    }
    if (work(std::max(count, 1))) {
        if (state_ == State::Running) return true;
    } else if (state_ == State::Running) {
        state_ = State::Completed;
    }
    end(state_);
    return false;
}

bool SteppedJob::run() {
    if (!start()) return false;
    while (step()) {}
    return state_ == State::Completed;
}

void SteppedJob::fail(std::string_view title, std::string_view text) {
    prompter_.message(title, text, Icon::Warning, kOk, kOk);
    failQuietly(text);
}

void SteppedJob::failQuietly(std::string_view text) {
    failure_ = text;
    state_ = State::Failed;
}

void SteppedJob::openProgress(std::string_view title, std::string_view heading) {
    meter_ = ProgressMeter(prompter_.progress(title, heading));
}

void SteppedJob::abandon() {
    if (state_ == State::Running) end(State::Cancelled);
}

void SteppedJob::end(State state) {
    state_ = state;
    finish(state);
    meter_.finish();
}

}  // namespace plorix::io
