#include "script/value_store.h"

#include <cmath>
#include <cstdio>

#include "platform/desktop.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix::script {

ValueStore::ValueStore(SystemValueSources sources) : sources_(std::move(sources)) {}

std::string ValueStore::keyOf(std::string_view name) {
    return clip(cutToWidth(toUpper(name), kValueNameWidth));
}

std::string eightDigitDate(Date date) {
    // Day numbers 0..3 lie before the calendar the runtime converts; the file
    // actions still write day 0 ("no such file") as its calendar date.
    if (date >= 0 && date < 4) return std::to_string(18001228 + date);
    return formatDate(date, "d12");
}

std::string sixDigitTime(Time time) { return formatTime(time, "t5"); }

std::string ValueStore::systemValue(const std::string& key, bool& isSystem) const {
    const Clock& clock = sources_.clock ? *sources_.clock : processClock();
    const settings::Settings& s = sources_.settings ? *sources_.settings : settings::settings();
    isSystem = true;
    if (key == "DATE") return eightDigitDate(clock.today());
    if (key == "TODAY") {
        const auto picture = readPicture(s.DateFormat);
        const bool usable = picture && picture->kind == PictureKind::Date;
        return formatDate(clock.today(), usable ? std::string_view(s.DateFormat) : "d3");
    }
    if (key == "TIME") return sixDigitTime(clock.now());
    if (key == "NOW") return formatTime(clock.now(), "t7");
    if (key == "FOCUS")
        return clip(sources_.focusText ? sources_.focusText()
                                       : platform::desktop().windows->focusedWindowText());
    isSystem = false;
    return {};
}

std::string ValueStore::get(std::string_view name) const {
    const std::string key = keyOf(name);
    bool isSystem = false;
    std::string value = systemValue(key, isSystem);
    if (isSystem) return value;
    const auto it = entries_.find(key);
    return it == entries_.end() ? std::string() : it->second;
}

void ValueStore::set(std::string_view name, std::string_view text) {
    const std::string key = keyOf(name);
    if (trim(key).empty()) return;
    std::string& stored = entries_[key];
    stored = clip(cutToWidth(text, kValueTextWidth));
    if (hook_) hook_(key, stored);
}

bool ValueStore::compare(std::string_view name, std::string_view op, std::string_view compareTo) const {
    const std::string left = get(name);
    const std::string right =
        !compareTo.empty() && compareTo.front() == '[' ? substitute(compareTo) : std::string(compareTo);
    // Both sides as numbers with two decimal places; text that is no number
    // counts as 0, and when both are 0 the texts themselves are compared.
    const auto cents = [](const std::string& text) {
        const double value = parseNumber(text).value_or(0.0);
        return std::round(value * 100.0) / 100.0;
    };
    const double l = cents(left), r = cents(right);
    int order = 0;
    if (l != 0.0 || r != 0.0)
        order = l < r ? -1 : (l > r ? 1 : 0);
    else
        order = compareBlankPadded(left, right);

    const std::string o = trim(op);
    if (o == "=") return order == 0;
    if (o == "<") return order < 0;
    if (o == "<=" || o == "=<") return order <= 0;
    if (o == "=>" || o == ">=") return order >= 0;
    if (o == ">") return order > 0;
    if (o == "<>") return order != 0;
    return false;
}

ValueStore& processValues() {
    static ValueStore store;
    return store;
}

}  // namespace plorix::script
