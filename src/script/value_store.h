#pragma once
// Script values: named texts that every script (and the keystroke sender, the
// mail senders, program starts) shares for the life of the program. A few
// names are answered by the system instead of the store (DATE, TODAY, TIME,
// NOW, FOCUS); the file actions store their results under fixed names.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "settings/settings.h"

namespace plorix::script {

inline constexpr std::size_t kValueNameWidth = 32;   // characters of a name
inline constexpr std::size_t kValueTextWidth = 255;  // characters of a value or substituted text

// Where the system values come from. focusText answers the text of the
// window with the keyboard focus ("" when none or unknown); when empty the
// process's desktop is asked.
struct SystemValueSources {
    const Clock* clock = nullptr;                  // the process clock when null
    const settings::Settings* settings = nullptr;  // the process settings when null
    std::function<std::string()> focusText;
};

class ValueStore {
public:
    explicit ValueStore(SystemValueSources sources = {});

    // The value of a name compared in upper case: a system value, a stored
    // value without its trailing blanks, or "" when the name is not stored.
    std::string get(std::string_view name) const;
    // Stores `text` (cut to 255 characters, trailing blanks removed) under the
    // name in upper case cut to 32 characters. A blank name stores nothing:
    // it would otherwise turn every "[]" in a text into that value.
    void set(std::string_view name, std::string_view text);
    // Replaces every bracketed name that has a non-blank value by that value;
    // see substitution.cpp for the exact walk. At most `width` characters
    // (a mail body is substituted whole, up to 10,000).
    std::string substitute(std::string_view text, std::size_t width = kValueTextWidth) const;
    // The comparison of "If Value...": the value of `name` against
    // `compareTo` with one of = < <= => > <> (also >= and =<).
    bool compare(std::string_view name, std::string_view op, std::string_view compareTo) const;

    // The stored values in name order (system values are not stored).
    const std::map<std::string, std::string>& entries() const { return entries_; }
    // Upper case, cut to 32 characters, trailing blanks removed.
    static std::string keyOf(std::string_view name);

    void setSources(SystemValueSources sources) { sources_ = std::move(sources); }

    // Hears of every value stored, with its name and text as stored.
    using SetHook = std::function<void(const std::string& name, const std::string& text)>;
    void onSet(SetHook hook) { hook_ = std::move(hook); }

private:
    std::string systemValue(const std::string& key, bool& isSystem) const;
    SystemValueSources sources_;
    std::map<std::string, std::string> entries_;
    SetHook hook_;
};

// The program's value store.
ValueStore& processValues();

// Texts of the system values for a date and a time; the file actions write
// file dates and times in the same forms.
std::string eightDigitDate(Date date);  // 20260301; day 0 is 18001228
std::string sixDigitTime(Time time);    // 173000; time 0 is ""

}  // namespace plorix::script
