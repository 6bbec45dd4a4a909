#include "runtime/prompter.h"

#include "runtime/installed_slot.h"

namespace plorix {
namespace {

// The answer when nobody can choose: the default button, or the first button
// offered when the caller named none (a lone OK box answers OK).
int unattendedAnswer(ButtonSet buttons, int defaultButton) {
    if (defaultButton != kNoButton) return defaultButton;
    for (int bit = kOk; bit <= kCancel; bit <<= 1)
        if (buttons & bit) return bit;
    return kOk;
}

class SilentProgress final : public Progress {
public:
    void setPercent(int) override {}
    void setText(std::string_view) override {}
    bool cancelled() override { return false; }
    void finish() override {}
};

}  // namespace

int SilentPrompter::message(std::string_view, std::string_view, Icon, ButtonSet buttons, int defaultButton) {
    return unattendedAnswer(buttons, defaultButton);
}

std::unique_ptr<Progress> makeSilentProgress() { return std::make_unique<SilentProgress>(); }

std::unique_ptr<Progress> SilentPrompter::progress(std::string_view, std::string_view) {
    return makeSilentProgress();
}

// A progress window of the recording prompter: writes what it is shown into
// the prompter's lists at its own index.
class RecordingPrompter::RecordedProgress final : public Progress {
public:
    RecordedProgress(RecordingPrompter& owner, std::size_t index) : owner_(owner), index_(index) {}
    void setPercent(int percent) override {
        owner_.progressPercents[index_] = percent;
        ++updates_;
    }
    void setText(std::string_view text) override { owner_.progressTexts[index_] = std::string(text); }
    bool cancelled() override {
        return owner_.cancelProgressAfter >= 0 && updates_ >= owner_.cancelProgressAfter;
    }
    void finish() override { ++owner_.progressesFinished; }

private:
    RecordingPrompter& owner_;
    std::size_t index_;
    int updates_ = 0;
};

int RecordingPrompter::message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                               int defaultButton) {
    const int answer = next_ < script_.size() ? script_[next_++] : unattendedAnswer(buttons, defaultButton);
    shown_.push_back(Shown{std::string(title), std::string(text), icon, buttons, defaultButton, answer});
    return answer;
}

std::unique_ptr<Progress> RecordingPrompter::progress(std::string_view title, std::string_view heading) {
    progressTitles.emplace_back(title);
    progressPercents.push_back(0);
    progressTexts.emplace_back(heading);
    return std::make_unique<RecordedProgress>(*this, progressTitles.size() - 1);
}

std::vector<std::string> RecordingPrompter::titles() const {
    std::vector<std::string> result;
    result.reserve(shown_.size());
    for (const Shown& s : shown_) result.push_back(s.title);
    return result;
}

namespace {
InstalledSlot<Prompter, SilentPrompter> installedPrompter;
}

Prompter& processPrompter() { return installedPrompter.get(); }

void setProcessPrompter(Prompter* prompter) { installedPrompter.set(prompter); }

}  // namespace plorix
