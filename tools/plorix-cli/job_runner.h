#pragma once
// Runs an import, export or synchronisation job to its end for a command:
// the messages the job would show become the command's one line of refusal.

#include <string>

#include "io/exchange_files.h"
#include "io/stepped_job.h"
#include "runtime/prompter.h"

namespace plorix::cli {

// Keeps the last message instead of printing it, answers with the default
// button, shows progress on standard error when that is a terminal.
class CapturingPrompter final : public Prompter {
public:
    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override;
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override;
    // "title: text" of the last message, on one line; empty when none was shown.
    const std::string& last() const { return last_; }

private:
    std::string last_;
};

// Runs the job; throws UsageError with the job's message when it cannot
// start, WorkFailure when it fails after starting.
void runJob(io::SteppedJob& job, const CapturingPrompter& prompter);

// Refuses (UsageError) a file name that would replace a file of the program
// the job must not replace, before the job starts.
void refuseProtected(const std::string& file, io::Replacement by);

}  // namespace plorix::cli
