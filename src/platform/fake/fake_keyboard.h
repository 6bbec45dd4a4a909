#pragma once
// A keyboard that records what it was asked to type and press.

#include <string>
#include <vector>

#include "platform/keyboard.h"

namespace plorix::platform {

class FakeKeyboard final : public Keyboard {
public:
    struct Event {
        bool isKey = false;
        std::string text;  // for typed text
        int code = 0;      // for keys
        friend bool operator==(const Event&, const Event&) = default;
    };
    static Event typed(std::string text) { return {false, std::move(text), 0}; }
    static Event key(int code) { return {true, {}, code}; }

    const std::vector<Event>& events() const { return events_; }
    // Everything typed, keys left out.
    std::string typedText() const;
    void clear() { events_.clear(); }
    // When false, every request fails (as with no display).
    bool accepting = true;

    bool typeText(std::string_view text) override;
    bool pressKey(int code) override;

private:
    std::vector<Event> events_;
};

}  // namespace plorix::platform
