#pragma once
// The only way code below the windows reaches the user: message boxes,
// questions and progress. The desktop program shows Qt dialogs, plorix-cli
// prints and takes the default, tests script the answers.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plorix {

// Button values as the standard warnings return them; a set of buttons is
// their bitwise or.
enum Button : int {
    kNoButton = 0,
    kOk = 1,
    kYes = 2,
    kNo = 4,
    kAbort = 8,
    kRetry = 16,
    kIgnore = 32,
    kCancel = 64,
};
using ButtonSet = int;

enum class Icon { None, Information, Warning, Question, Error };

// A progress window for long record loops.
class Progress {
public:
    virtual ~Progress() = default;
    // Percent done, 0..100; shown as "N% Completed".
    virtual void setPercent(int percent) = 0;
    virtual void setText(std::string_view text) = 0;
    // True once the user asked to stop.
    virtual bool cancelled() = 0;
    // Shows "Process Completed" and closes.
    virtual void finish() = 0;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows a message and returns the button pressed (the default button when
    // nobody can answer). With a single OK button the result is kOk.
    virtual int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                        int defaultButton) = 0;
    virtual std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) = 0;
};

// A progress window nobody sees; never reports cancelled. For prompters that
// have no progress display of their own.
std::unique_ptr<Progress> makeSilentProgress();

// Answers every question with its default button and records nothing; for
// code that must run where no user is present.
class SilentPrompter final : public Prompter {
public:
    int message(std::string_view, std::string_view, Icon, ButtonSet, int defaultButton) override;
    std::unique_ptr<Progress> progress(std::string_view, std::string_view) override;
};

// Records every message and answers from a script of buttons (then with the
// default button once the script is used up). Used by tests and simulations.
class RecordingPrompter final : public Prompter {
public:
    struct Shown {
        std::string title;
        std::string text;
        Icon icon;
        ButtonSet buttons;
        int defaultButton;
        int answer;
    };
    void answerNext(int button) { script_.push_back(button); }
    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override;
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override;

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> titles() const;
    void clear() { shown_.clear(); }
    // Titles of progress windows opened, and their last percentages and texts
    // (the heading until setText changes it); how many were finished.
    std::vector<std::string> progressTitles;
    std::vector<int> progressPercents;
    std::vector<std::string> progressTexts;
    int progressesFinished = 0;
    // When set, every progress window reports cancelled after this many updates.
    int cancelProgressAfter = -1;

private:
    class RecordedProgress;
    std::vector<int> script_;
    std::size_t next_ = 0;
    std::vector<Shown> shown_;
};

// The process-wide prompter (silent until the program installs its own).
Prompter& processPrompter();
void setProcessPrompter(Prompter* prompter);  // nullptr restores the silent one

}  // namespace plorix
