#pragma once
// A script interpreter on a clock the test moves, a fake desktop, a
// recording prompter and its own settings and values; every event-log line
// is collected as "label|text".

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "log/event_log.h"
#include "platform/fake/fake_desktop.h"
#include "script/action_names.h"
#include "script/stepper.h"

namespace plorix::script::test {

// An item of the given action, the rest filled by `fill`.
inline data::Scripting item(std::string_view action, const std::function<void(data::Scripting&)>& fill = {}) {
    data::Scripting i;
    i.ACTION = action;
    if (fill) fill(i);
    return i;
}

inline data::Scripting setValue(std::string_view name, std::string_view text) {
    return item(kSetValue, [&](data::Scripting& i) {
        i.PATH = name;
        i.COMMAND = text;
    });
}

inline data::Scripting ifValue(std::string_view name, std::string_view op, std::string_view to) {
    return item(kIfValue, [&](data::Scripting& i) {
        i.COMMAND = name;
        i.WINDOWTITLETOCHECKFOR = op;
        i.WAITFORWINDOW = to;
    });
}

inline data::Scripting wait(int seconds, std::string_view window = {}, std::string_view andOr = "And") {
    return item(kWait, [&](data::Scripting& i) {
        i.SECONDSTOWAIT = seconds;
        i.WAITFORWINDOW = window;
        i.DDEAPPLICATIONNAME = andOr;
    });
}

inline data::Scripting endIf() { return item(kEndIf); }

// A mail sender that records what it was asked to send and succeeds.
class FakeMail final : public MailSender {
public:
    std::vector<std::int32_t> sent;
    int sendFromScript(std::int32_t emailId) override {
        sent.push_back(emailId);
        return 0;
    }
};

class ScriptRig {
public:
    static constexpr std::int32_t kDelay = 50;

    ScriptRig() {
        settings.ScriptingDelay = kDelay;
        log::eventLog().setHook([this](const log::LogEntry& e) { logged.push_back(e.label + "|" + e.text); });
        stepper.onExecute([this](const QueueItem& i) { executed.push_back(i.ACTION.str()); });
    }
    ~ScriptRig() { log::eventLog().setHook({}); }

    ScriptServices services() {
        ScriptServices s;
        s.clock = &clock;
        s.prompter = &prompter;
        s.settings = &settings;
        s.values = &values;
        s.programs = &programs;
        s.waitYielding = [this](std::int64_t hundredths) { clock.advance(hundredths); };
        return s;
    }

    // One timer tick: half a second passes, then the stepper runs.
    void tick() {
        clock.advance(50);
        stepper.step();
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) tick();
    }
    // Ticks until the queue is empty (at most `limit` ticks); the number taken.
    int runToEnd(int limit = 1000) {
        int n = 0;
        while (!queue.empty() && n < limit) {
            tick();
            ++n;
        }
        return n;
    }
    std::int64_t now() const { return clock.steadyHundredths(); }
    // The values of the names, in order ("" for those not set).
    std::vector<std::string> valuesOf(std::initializer_list<std::string_view> names) const {
        std::vector<std::string> out;
        for (std::string_view name : names) out.push_back(values.get(name));
        return out;
    }
    std::vector<std::string> queuedActions() const {
        std::vector<std::string> out;
        for (const QueueItem& i : queue.items()) out.push_back(i.ACTION.str());
        return out;
    }

    ManualClock clock{Moment{makeDate(3, 1, 2026), makeTime(10, 0)}};
    RecordingPrompter prompter;
    settings::Settings settings;
    ValueStore values{SystemValueSources{&clock, &settings, {}}};
    ProgramActions programs;
    platform::FakeDesktop desktop;
    ScriptQueue queue;
    ScriptStepper stepper{queue, services()};
    std::vector<std::string> logged;
    std::vector<std::string> executed;
};

}  // namespace plorix::script::test
