#include "platform/fake/fake_keyboard.h"

namespace plorix::platform {

std::string FakeKeyboard::typedText() const {
    std::string all;
    for (const Event& e : events_)
        if (!e.isKey) all += e.text;
    return all;
}

bool FakeKeyboard::typeText(std::string_view text) {
    if (!accepting) return false;
    events_.push_back(typed(std::string(text)));
    return true;
}

bool FakeKeyboard::pressKey(int code) {
    if (!accepting) return false;
    events_.push_back(key(code));
    return true;
}

}  // namespace plorix::platform
