#include "ui/worker_prompter.h"

#include <QTimer>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace plorix::ui {

// What both threads share: the answers waited for and the Cancel flags.
struct WorkerPrompter::Channel {
    std::mutex mutex;
    std::condition_variable answered;
    bool abandoned = false;
    std::set<int> cancelled;  // progress windows whose Cancel was pressed

    bool isCancelled(int id) {
        std::lock_guard lock(mutex);
        return abandoned || cancelled.count(id) > 0;
    }
};

namespace {

// How often the window thread looks at the Cancel of the progress windows.
constexpr int kCancelPollMs = 100;

}  // namespace

// The window-thread side: the progress windows shown for the worker.
class WorkerPrompter::Desk {
public:
    Desk(Prompter& shown, std::shared_ptr<WorkerPrompter::Channel> channel)
        : shown_(shown), channel_(std::move(channel)) {
        poll_.setInterval(kCancelPollMs);
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { pollCancel(); });
    }
    void open(int id, const std::string& title, const std::string& heading) {
        windows_[id] = shown_.progress(title, heading);
        poll_.start();
    }
    template <typename Call>
    void call(int id, Call&& call) {
        if (auto it = windows_.find(id); it != windows_.end()) call(*it->second);
    }
    void close(int id) {
        windows_.erase(id);
        if (windows_.empty()) poll_.stop();
    }

    // Passes on the Cancel pressed in any of the windows.
    void pollCancel() {
        std::vector<int> ids;
        for (const auto& [id, window] : windows_) ids.push_back(id);
        // Asking may handle events, a close among them: each is looked up anew.
        for (const int id : ids) {
            bool pressed = false;
            call(id, [&](Progress& window) { pressed = window.cancelled(); });
            if (!pressed) continue;
            std::lock_guard lock(channel_->mutex);
            channel_->cancelled.insert(id);
        }
    }

private:
    Prompter& shown_;
    std::shared_ptr<WorkerPrompter::Channel> channel_;
    std::map<int, std::unique_ptr<Progress>> windows_;
    QTimer poll_;
};

namespace {

using Desk = WorkerPrompter::Desk;

// The worker's handle on one progress window: every call is handed to the
// window thread, in order.
class WorkerProgress final : public Progress {
public:
    WorkerProgress(QObject& relay, Desk& desk, std::shared_ptr<WorkerPrompter::Channel> channel, int id)
        : relay_(relay), desk_(desk), channel_(std::move(channel)), id_(id) {}
    ~WorkerProgress() override {
        QMetaObject::invokeMethod(
            &relay_, [desk = &desk_, id = id_] { desk->close(id); }, Qt::QueuedConnection);
    }
    void setPercent(int percent) override {
        post([percent](Progress& window) { window.setPercent(percent); });
        QMetaObject::invokeMethod(
            &relay_, [desk = &desk_] { desk->pollCancel(); }, Qt::QueuedConnection);
    }
    void setText(std::string_view text) override {
        post([text = std::string(text)](Progress& window) { window.setText(text); });
    }
    bool cancelled() override { return channel_->isCancelled(id_); }
    void finish() override {
        post([](Progress& window) { window.finish(); });
    }

private:
    template <typename Call>
    void post(Call call) {
        QMetaObject::invokeMethod(
            &relay_, [desk = &desk_, id = id_, call] { desk->call(id, call); }, Qt::QueuedConnection);
    }

    QObject& relay_;
    Desk& desk_;
    std::shared_ptr<WorkerPrompter::Channel> channel_;
    int id_;
};

}  // namespace

WorkerPrompter::WorkerPrompter(Prompter& shown)
    : shown_(shown), channel_(std::make_shared<Channel>()), desk_(std::make_unique<Desk>(shown, channel_)) {}

WorkerPrompter::~WorkerPrompter() { abandon(); }

void WorkerPrompter::abandon() {
    {
        std::lock_guard lock(channel_->mutex);
        channel_->abandoned = true;
    }
    channel_->answered.notify_all();
}

int WorkerPrompter::message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                            int defaultButton) {
    auto answer = std::make_shared<std::optional<int>>();
    {
        std::lock_guard lock(channel_->mutex);
        if (channel_->abandoned) return defaultButton;
    }
    QMetaObject::invokeMethod(
        &relay_,
        [shown = &shown_, channel = channel_, answer, title = std::string(title), text = std::string(text),
         icon, buttons, defaultButton] {
            const int pressed = shown->message(title, text, icon, buttons, defaultButton);
            {
                std::lock_guard lock(channel->mutex);
                *answer = pressed;
            }
            channel->answered.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(channel_->mutex);
    channel_->answered.wait(lock, [&] { return answer->has_value() || channel_->abandoned; });
    return answer->has_value() ? **answer : defaultButton;
}

std::unique_ptr<Progress> WorkerPrompter::progress(std::string_view title, std::string_view heading) {
    const int id = nextProgress_++;
    QMetaObject::invokeMethod(
        &relay_,
        [desk = desk_.get(), id, title = std::string(title), heading = std::string(heading)] {
            desk->open(id, title, heading);
        },
        Qt::QueuedConnection);
    return std::make_unique<WorkerProgress>(relay_, *desk_, channel_, id);
}

}  // namespace plorix::ui
