#include "platform/fake/fake_windows.h"

#include <algorithm>

#include "runtime/fixed_text.h"

namespace plorix::platform {

WindowId FakeWindows::add(std::string title, std::vector<ChildControl> children, int pid) {
    const WindowId id = nextId_++;
    windows_.push_back({id, std::move(title), std::move(children), pid, false});
    return id;
}

void FakeWindows::remove(WindowId window) {
    std::erase_if(windows_, [window](const FakeWindow& w) { return w.id == window; });
    if (foreground_ == window) foreground_ = kNoWindow;
}

void FakeWindows::setTitle(WindowId window, std::string title) {
    if (FakeWindow* w = findMutable(window)) w->title = std::move(title);
}

void FakeWindows::setMinimized(WindowId window, bool minimized) {
    if (FakeWindow* w = findMutable(window)) w->minimized = minimized;
}

const FakeWindow* FakeWindows::find(WindowId window) const {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [window](const FakeWindow& w) { return w.id == window; });
    return it == windows_.end() ? nullptr : &*it;
}

FakeWindow* FakeWindows::findMutable(WindowId window) { return const_cast<FakeWindow*>(find(window)); }

std::vector<WindowInfo> FakeWindows::topLevelWindows() {
    ++listings_;
    std::vector<WindowInfo> list;
    for (const FakeWindow& w : windows_)
        if (!w.title.empty()) list.push_back({w.id, cutToWidth(w.title, kMaxWindowText)});
    return list;
}

std::vector<ChildControl> FakeWindows::children(WindowId window) {
    const FakeWindow* w = find(window);
    return w != nullptr ? w->children : std::vector<ChildControl>{};
}

std::string FakeWindows::focusedWindowText() {
    const FakeWindow* w = find(foreground_);
    return w != nullptr ? w->title : std::string();
}

int FakeWindows::processId(WindowId window) {
    const FakeWindow* w = find(window);
    return w != nullptr ? w->pid : 0;
}

bool FakeWindows::activate(WindowId window) {
    requests_.push_back({"activate", window});
    FakeWindow* w = findMutable(window);
    if (w == nullptr) return false;
    w->minimized = false;
    foreground_ = window;
    return true;
}

bool FakeWindows::restore(WindowId window) {
    requests_.push_back({"restore", window});
    FakeWindow* w = findMutable(window);
    if (w == nullptr) return false;
    w->minimized = false;
    return true;
}

bool FakeWindows::close(WindowId window) {
    requests_.push_back({"close", window});
    if (find(window) == nullptr) return false;
    if (closeRemoves) remove(window);
    return true;
}

}  // namespace plorix::platform
