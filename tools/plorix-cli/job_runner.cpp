#include "job_runner.h"

#include <algorithm>

#include "cli.h"

namespace plorix::cli {

int CapturingPrompter::message(std::string_view title, std::string_view text, Icon, ButtonSet,
                               int defaultButton) {
    last_ = std::string(title) + ": " + std::string(text);
    std::replace_if(
        last_.begin(), last_.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return defaultButton == kNoButton ? kOk : defaultButton;
}

std::unique_ptr<Progress> CapturingPrompter::progress(std::string_view, std::string_view) {
    return makeSilentProgress();
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
