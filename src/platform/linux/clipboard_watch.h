#pragma once
// Hears when another program takes the desktop's clipboard: the X server
// reports each new owner of the CLIPBOARD selection on a connection of its
// own, so an idle frame need not poll the clipboard to notice a copy.

#include <QSocketNotifier>
#include <functional>
#include <memory>

struct _XDisplay;

namespace plorix::platform {

class ClipboardWatch final {
public:
    explicit ClipboardWatch(std::function<void()> changed);
    ~ClipboardWatch();
    ClipboardWatch(const ClipboardWatch&) = delete;
    ClipboardWatch& operator=(const ClipboardWatch&) = delete;

    // False without an X display or without the server's fixes extension:
    // then no change is ever told.
    bool usable() const { return display_ != nullptr; }

private:
    void readable();

    std::function<void()> changed_;
    _XDisplay* display_ = nullptr;
    int eventBase_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace plorix::platform
