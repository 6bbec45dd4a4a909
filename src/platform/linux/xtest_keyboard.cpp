#include "platform/linux/xtest_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <map>
#include <thread>
#include <vector>

#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_text.h"
#include "platform/linux/xtest_keys.h"

namespace plorix::platform {

namespace {

// Where a keysym sits on the keyboard: its key and whether Shift picks it.
struct KeyPlace {
    KeyCode code = 0;
    bool shift = false;
};

// The keyboard map as it stands: the keys of every keysym on the first two
// levels of the first group, and the keys that carry no keysym at all.
class KeyboardMap {
public:
    explicit KeyboardMap(Display* d) {
        XDisplayKeycodes(d, &min_, &max_);
        int perCode = 0;
        KeySym* syms = XGetKeyboardMapping(d, static_cast<KeyCode>(min_), max_ - min_ + 1, &perCode);
        if (syms == nullptr) return;
        for (int code = max_; code >= min_; --code) {
            const KeySym* row = syms + (code - min_) * perCode;
            bool empty = true;
            for (int level = 0; level < perCode; ++level) empty = empty && row[level] == NoSymbol;
            if (empty) spare_.push_back(static_cast<KeyCode>(code));
            for (int level = std::min(perCode, 2) - 1; level >= 0; --level)
                if (row[level] != NoSymbol) places_[row[level]] = {static_cast<KeyCode>(code), level == 1};
        }
        XFree(syms);
    }
    const KeyPlace* find(KeySym sym) const {
        auto it = places_.find(sym);
        return it == places_.end() ? nullptr : &it->second;
    }
    const std::vector<KeyCode>& spare() const { return spare_; }

private:
    int min_ = 8, max_ = 255;
    std::map<KeySym, KeyPlace> places_;
    std::vector<KeyCode> spare_;
};

void tap(Display* d, KeyCode code) {
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
}

// Presses the modifier keys, runs `action`, and lets them go again.
template <typename Action>
void withModifiers(Display* d, const std::vector<KeySym>& modifiers, Action action) {
    std::vector<KeyCode> held;
    for (KeySym m : modifiers)
        if (KeyCode code = XKeysymToKeycode(d, m)) {
            XTestFakeKeyEvent(d, code, True, CurrentTime);
            held.push_back(code);
        }
    action();
    for (auto it = held.rbegin(); it != held.rend(); ++it) XTestFakeKeyEvent(d, *it, False, CurrentTime);
}

void typePlace(Display* d, const KeyPlace& place) {
    if (place.shift)
        withModifiers(d, {XK_Shift_L}, [&] { tap(d, place.code); });
    else
        tap(d, place.code);
}

void setKeysym(Display* d, KeyCode code, KeySym sym) {
    KeySym both[2] = {sym, sym};  // either level types it, whatever is held
    XChangeKeyboardMapping(d, code, 2, both, 1);
}

// X mouse buttons for the mouse codes 1 (left), 2 (right) and 3 (centre).
unsigned int xButton(int base) {
    switch (base) {
    case kMouseRight:
    case kMouseRightDouble: return 3;
    case kMouseCentre:
    case kMouseCentreDouble: return 2;
    default: return 1;
    }
}

}  // namespace

XTestKeyboard::XTestKeyboard(X11Connection& connection) : x_(connection) {}

bool XTestKeyboard::ready() {
    Display* d = x_.display();
    if (d == nullptr) return false;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(d, &event, &error, &major, &minor)) return false;
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus != 0;  // None: nothing would receive the keys
}

bool XTestKeyboard::typeText(std::string_view text) {
    if (!ready()) return false;
    Display* d = x_.current();
    XErrorTrap trap(d);
    const KeyboardMap map(d);
    std::vector<KeySym> syms;
    for (char32_t c : decodeUtf8(text))
        if (KeySym sym = keysymForCharacter(c); sym != NoSymbol) syms.push_back(sym);

    bool all = true;
    std::size_t pos = 0;
    while (pos < syms.size()) {
        // Run as far as the spare keys can carry the missing keysyms, so
        // that a text of unusual characters costs one pause, not one each.
        std::map<KeySym, KeyCode> borrowed;
        std::size_t end = pos;
        for (; end < syms.size(); ++end) {
            if (map.find(syms[end]) || borrowed.count(syms[end])) continue;
            if (borrowed.size() == map.spare().size()) break;
            const KeyCode code = map.spare()[borrowed.size()];
            borrowed[syms[end]] = code;
            setKeysym(d, code, syms[end]);
        }
        if (end == pos) {  // no spare key at all: the character cannot be typed
            all = false;
            ++pos;
            continue;
        }
        if (!borrowed.empty()) {
            XSync(d, False);
            std::this_thread::sleep_for(kRemapSettle);
        }
        for (std::size_t i = pos; i < end; ++i) {
            if (const KeyPlace* place = map.find(syms[i]))
                typePlace(d, *place);
            else
                tap(d, borrowed.at(syms[i]));
        }
        XSync(d, False);
        if (!borrowed.empty()) {
            std::this_thread::sleep_for(kRemapSettle);
            for (const auto& [sym, code] : borrowed) setKeysym(d, code, NoSymbol);
            XSync(d, False);
            // Programs (the window manager's key bindings among them) catch
            // up with the restored map before the next key.
            std::this_thread::sleep_for(kRemapSettle);
        }
        pos = end;
    }
    return all && !trap.failed();
}

bool XTestKeyboard::pressKey(int code) {
    if (!ready()) return false;
    Display* d = x_.current();
    XErrorTrap trap(d);
    std::vector<KeySym> modifiers;
    if (code & kCtrlBit) modifiers.push_back(XK_Control_L);
    if (code & kShiftBit) modifiers.push_back(XK_Shift_L);
    if (code & kAltBit) modifiers.push_back(XK_Alt_L);
    const int base = code & kBaseKeyMask;

    if (isMouseCode(base)) {
        const unsigned int button = xButton(base);
        const int clicks = base >= kMouseLeftDouble ? 2 : 1;
        withModifiers(d, modifiers, [&] {
            for (int i = 0; i < clicks; ++i) {
                XTestFakeButtonEvent(d, button, True, CurrentTime);
                XTestFakeButtonEvent(d, button, False, CurrentTime);
            }
        });
        return !trap.failed();
    }

    const KeySym sym = keysymForVirtualKey(base);
    if (sym == NoSymbol) return false;
    const KeyboardMap map(d);
    const KeyPlace* place = map.find(sym);
    if (place == nullptr) return false;
    withModifiers(d, modifiers, [&] {
        // A keysym on the Shift level (the keypad digits with Num Lock off)
        // needs Shift even when the code does not ask for it.
        if (place->shift && !(code & kShiftBit))
            typePlace(d, *place);
        else
            tap(d, place->code);
    });
    return !trap.failed();
}

}  // namespace plorix::platform
