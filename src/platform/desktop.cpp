#include "platform/desktop.h"

#include <unistd.h>

#include <cerrno>

namespace plorix::platform {

namespace {

// The inert desktop: what code below the windows sees before the program has
// installed a real one (plorix-cli without a display, unit tests that do not
// care). It finds no windows, types nothing and starts nothing.
class InertWindows final : public Windows {
public:
    std::vector<WindowInfo> topLevelWindows() override { return {}; }
    std::vector<ChildControl> children(WindowId) override { return {}; }
    WindowId foreground() override { return kNoWindow; }
    std::string focusedWindowText() override { return {}; }
    int processId(WindowId) override { return 0; }
    bool activate(WindowId) override { return false; }
    bool restore(WindowId) override { return false; }
    bool close(WindowId) override { return false; }
};

class InertKeyboard final : public Keyboard {
public:
    bool typeText(std::string_view) override { return false; }
    bool pressKey(int) override { return false; }
};

class InertProcesses final : public Processes {
public:
    StartResult spawn(const SpawnRequest&) override { return {StartOutcome::CouldNotStart, 0, ENOSYS}; }
    ProcessStatus poll(int) override { return {}; }
    OpenResult open(std::string_view, std::string_view, std::string_view, std::string_view,
                    WindowMode) override {
        return {kOpenNoAssociation};
    }
    bool killByName(std::string_view) override { return false; }
    int ownProcessId() override { return static_cast<int>(::getpid()); }
};

class InertClipboard final : public Clipboard {
public:
    std::optional<std::string> text() override { return std::nullopt; }
    bool setText(std::string_view) override { return false; }
};

class InertSound final : public Sound {
public:
    bool playFile(std::string_view) override { return false; }
    void bell() override {}
};

class InertUser final : public User {
public:
    std::string loginName() override { return {}; }
};

class InertDde final : public Dde {
public:
    DdeResult execute(std::string_view, std::string_view, std::string_view) override {
        return {DdeOutcome::NoService, "no desktop connection"};
    }
};

Desktop inertDesktop() {
    static InertWindows windows;
    static InertKeyboard keyboard;
    static InertProcesses processes;
    static InertClipboard clipboard;
    static InertSound sound;
    static InertUser user;
    static InertDde dde;
    return {&windows, &keyboard, &processes, &clipboard, &sound, &user, &dde};
}

Desktop& current() {
    static Desktop set = inertDesktop();
    return set;
}

template <typename T>
T* orInert(T* given, T* inert) {
    return given != nullptr ? given : inert;
}

}  // namespace

const Desktop& desktop() { return current(); }

void setDesktop(const Desktop& set) {
    const Desktop inert = inertDesktop();
    current() = Desktop{
        orInert(set.windows, inert.windows),
        orInert(set.keyboard, inert.keyboard),
        orInert(set.processes, inert.processes),
        orInert(set.clipboard, inert.clipboard),
        orInert(set.sound, inert.sound),
        orInert(set.user, inert.user),
        orInert(set.dde, inert.dde),
    };
}

void resetDesktop() { current() = inertDesktop(); }

ScopedDesktop::ScopedDesktop(const Desktop& set) : previous_(current()) { setDesktop(set); }
ScopedDesktop::~ScopedDesktop() { current() = previous_; }

}  // namespace plorix::platform
