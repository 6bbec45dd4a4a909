#include "job_runner.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "cli.h"

namespace plorix::cli {

int CapturingPrompter::message(std::string_view title, std::string_view text, Icon, ButtonSet,
                               int defaultButton) {
    last_ = std::string(title) + ": " + std::string(text);
    std::replace_if(
        last_.begin(), last_.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return defaultButton == kNoButton ? kOk : defaultButton;
}

namespace {

// "Importing...: 42% Completed" on a terminal's standard error, rewritten in
// place; nothing when standard error is a file or a pipe, whose reader
// wants the counts, not a hundred progress lines.
class TerminalProgress final : public Progress {
public:
    explicit TerminalProgress(std::string_view title) : title_(title) {}
    ~TerminalProgress() override { endLine(); }
    void setPercent(int percent) override {
        std::cerr << '\r' << title_ << ": " << percent << "% Completed" << std::flush;
        shown_ = true;
    }
    void setText(std::string_view) override {}
    bool cancelled() override { return false; }
    void finish() override { endLine(); }

private:
    void endLine() {
        if (shown_) std::cerr << '\n';
        shown_ = false;
    }
    std::string title_;
    bool shown_ = false;
};

}  // namespace

std::unique_ptr<Progress> CapturingPrompter::progress(std::string_view title, std::string_view) {
    if (!::isatty(STDERR_FILENO)) return makeSilentProgress();
    return std::make_unique<TerminalProgress>(title);
}

void runJob(io::SteppedJob& job, const CapturingPrompter& prompter) {
    const auto why = [&] { return prompter.last().empty() ? job.failure() : prompter.last(); };
    // A job that cannot start has written nothing: its input is refused.
    if (!job.start()) throw UsageError(why());
    while (job.step()) {}
    if (job.state() == io::SteppedJob::State::Failed) throw WorkFailure(why());
}

void refuseProtected(const std::string& file, io::Replacement by) {
    if (const std::string why = io::protectedFile(file, by); !why.empty()) throw UsageError(why);
}

}  // namespace plorix::cli
