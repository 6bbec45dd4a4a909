#pragma once
// Fakes of every desktop interface, for tests: a clipboard, a sound log, a
// fixed user name and a recording DDE, plus the windows, keyboard and
// process table of their own headers. FakeDesktop bundles one of each and
// installs them as the process's desktop while it lives.

#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/fake/fake_keyboard.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_windows.h"

namespace plorix::platform {

class FakeClipboard final : public Clipboard {
public:
    std::optional<std::string> content;
    bool secret = false;  // the content is marked secret
    int reads = 0;
    std::optional<std::string> text() override {
        ++reads;
        return content;
    }
    std::optional<ClipboardText> read() override {
        ++reads;
        if (!content) return std::nullopt;
        return ClipboardText{*content, secret};
    }
    bool setText(std::string_view text) override {
        content = std::string(text);
        return true;
    }
};

class FakeSound final : public Sound {
public:
    std::vector<std::string> played;  // files, in order
    int bells = 0;
    bool canPlay = true;
    bool playFile(std::string_view path) override {
        if (!canPlay) return false;
        played.emplace_back(path);
        return true;
    }
    void bell() override { ++bells; }
};

class FakeUser final : public User {
public:
    std::string name = "tester";
    std::string loginName() override { return name; }
};

class FakeDde final : public Dde {
public:
    struct Call {
        std::string service, topic, command;
        friend bool operator==(const Call&, const Call&) = default;
    };
    std::vector<Call> calls;
    DdeResult answer{DdeOutcome::Done, {}};  // what every call answers
    DdeResult execute(std::string_view service, std::string_view topic, std::string_view command) override {
        calls.push_back({std::string(service), std::string(topic), std::string(command)});
        return answer;
    }
};

class FakeDesktop {
public:
    FakeDesktop() : scope_(Desktop{&windows, &keyboard, &processes, &clipboard, &sound, &user, &dde}) {}

    FakeWindows windows;
    FakeKeyboard keyboard;
    FakeProcesses processes;
    FakeClipboard clipboard;
    FakeSound sound;
    FakeUser user;
    FakeDde dde;

private:
    ScopedDesktop scope_;  // declared last: installed once the members exist
};

}  // namespace plorix::platform
