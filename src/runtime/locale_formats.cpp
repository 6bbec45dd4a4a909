#include "runtime/locale_formats.h"

#include <langinfo.h>

#include <clocale>
#include <vector>

#include "runtime/fixed_text.h"

namespace plorix::locale_forms {
namespace {

bool isCLocale() {
    const char* name = std::setlocale(LC_TIME, nullptr);
    const std::string_view n = name ? name : "C";
    return n == "C" || n == "POSIX" || n.substr(0, 2) == "C.";
}

// One piece of a strftime form: a directive ("%-d", "%Ey") or literal text.
struct Piece {
    std::string text;
    bool directive = false;
    char letter = 0;  // the conversion letter of a directive
};

// Splits a form into pieces, expanding the composite directives that stand
// for several fields so that each field can be kept or dropped on its own.
std::vector<Piece> split(std::string_view form, int depth = 0) {
    std::vector<Piece> pieces;
    std::size_t pos = 0;
    while (pos < form.size()) {
        if (form[pos] != '%' || pos + 1 >= form.size()) {
            if (pieces.empty() || pieces.back().directive) pieces.push_back({});
            pieces.back().text += form[pos++];
            continue;
        }
        std::size_t end = pos + 1;
        while (end < form.size() && std::string_view("-_0^#EO").find(form[end]) != std::string_view::npos)
            ++end;
        if (end >= form.size()) break;
        const char letter = form[end];
        const std::string_view expansion = letter == 'D'   ? "%m/%d/%y"
                                           : letter == 'F' ? "%Y-%m-%d"
                                           : letter == 'T' ? "%H:%M:%S"
                                           : letter == 'R' ? "%H:%M"
                                           : letter == 'r' ? nl_langinfo(T_FMT_AMPM)
                                           : letter == 'x' ? nl_langinfo(D_FMT)
                                           : letter == 'X' ? nl_langinfo(T_FMT)
                                                           : "";
        if (!expansion.empty() && depth < 3) {
            for (Piece& p : split(expansion, depth + 1)) pieces.push_back(std::move(p));
        } else if (letter == '%') {
            if (pieces.empty() || pieces.back().directive) pieces.push_back({});
            pieces.back().text += "%%";
        } else {
            pieces.push_back({std::string(form.substr(pos, end - pos + 1)), true, letter});
        }
        pos = end + 1;
    }
    return pieces;
}

bool isTimeField(char letter) {
    return std::string_view("HIklMSpPzZsrRTXcn").find(letter) != std::string_view::npos;
}

std::string join(const std::vector<Piece>& pieces) {
    std::string out;
    for (const Piece& p : pieces) out += p.text;
    return out;
}

}  // namespace

std::string format(const std::string& form, const std::tm& tm) {
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, form.c_str(), &tm);
    return std::string(buffer, n);
}

std::string shortDate() { return nl_langinfo(D_FMT); }

std::string longDate() {
    if (isCLocale()) return "%A, %B %-d, %Y";
    // Keep the date fields of the date-and-time form. Literal text between two
    // kept fields stays; where time fields stood between them, only the first
    // piece of literal text stays (the separator after the date part).
    std::vector<Piece> kept;
    std::vector<Piece> pending;  // literal text since the last kept field
    bool droppedSince = false;
    for (const Piece& p : split(nl_langinfo(D_T_FMT))) {
        if (!p.directive) {
            if (!kept.empty()) pending.push_back(p);
        } else if (isTimeField(p.letter)) {
            droppedSince = true;
        } else {
            if (droppedSince && !pending.empty()) pending.resize(1);
            for (Piece& q : pending) kept.push_back(std::move(q));
            pending.clear();
            droppedSince = false;
            Piece field = p;
            if (p.letter == 'a') field.text.back() = 'A';
            if (p.letter == 'b' || p.letter == 'h') field.text.back() = 'B';
            if (p.letter == 'e') field.text = "%-d";
            kept.push_back(std::move(field));
        }
    }
    // Literal text directly behind the last field (a closing mark such as a
    // CJK day sign) stays, up to the first blank when time fields follow.
    if (!pending.empty()) {
        const std::string& tail = pending.front().text;
        kept.push_back({droppedSince ? tail.substr(0, tail.find_first_of(" \t")) : tail, false, 0});
    }
    std::string form = trim(join(kept));
    return fieldOrder(form).size() == 3 ? form : shortDate();
}

std::string shortTime() {
    // Compact the locale's time: no leading zero on a 12-hour hour and no
    // blank before the AM/PM mark, so the result fits the log's column.
    std::string form;
    for (const Piece& p : split(nl_langinfo(T_FMT))) {
        if (p.directive && p.letter == 'I') {
            form += "%-I";
        } else if (p.directive && (p.letter == 'p' || p.letter == 'P')) {
            form = clip(form) + p.text;
        } else {
            form += p.text;
        }
    }
    std::tm widest{};
    widest.tm_hour = 23;
    widest.tm_min = 59;
    widest.tm_sec = 59;
    std::tm morning = widest;
    morning.tm_hour = 10;
    const auto fits = [&](const std::tm& tm) { return characterCount(format(form, tm)) <= 10; };
    return fits(widest) && fits(morning) ? form : "%H:%M:%S";
}

std::string longTime() { return nl_langinfo(T_FMT); }

std::string fieldOrder(std::string_view form) {
    std::string order;
    for (const Piece& p : split(form)) {
        if (!p.directive) continue;
        const char field = std::string_view("de").find(p.letter) != std::string_view::npos     ? 'D'
                           : std::string_view("mbBh").find(p.letter) != std::string_view::npos ? 'M'
                           : std::string_view("yYCG").find(p.letter) != std::string_view::npos ? 'Y'
                                                                                               : 0;
        if (field && order.find(field) == std::string::npos) order += field;
    }
    return order;
}

const Names& names() {
    // Reading many dates (an import) asks for the names every time: keep them
    // per thread for as long as the locale stays the same.
    thread_local std::string cachedLocale;
    thread_local Names cached;
    thread_local bool filled = false;
    const char* current = std::setlocale(LC_TIME, nullptr);
    const std::string_view locale = current ? current : "";
    if (filled && locale == cachedLocale) return cached;
    Names& n = cached;
    for (int i = 0; i < 12; ++i) {
        n.months[i] = nl_langinfo(static_cast<nl_item>(MON_1 + i));
        n.monthAbbreviations[i] = nl_langinfo(static_cast<nl_item>(ABMON_1 + i));
    }
    for (int i = 0; i < 7; ++i) {
        n.weekdays[i] = nl_langinfo(static_cast<nl_item>(DAY_1 + i));
        n.weekdayAbbreviations[i] = nl_langinfo(static_cast<nl_item>(ABDAY_1 + i));
    }
    n.am = nl_langinfo(AM_STR);
    n.pm = nl_langinfo(PM_STR);
    cachedLocale = locale;
    filled = true;
    return n;
}

}  // namespace plorix::locale_forms
