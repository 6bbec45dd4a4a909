#include "scheduler/clipboard_monitor.h"

#include <algorithm>
#include <array>

#include "data/tables.h"
#include "platform/desktop.h"
#include "runtime/fixed_text.h"
#include "settings/settings.h"

namespace plorix::scheduler {

namespace {

constexpr std::size_t kSignatureLetters = 40;
constexpr std::size_t kAddressCharacters = 255;

constexpr std::array<std::string_view, 2> kAddressSchemes = {"http:", "mailto:"};
constexpr std::array<std::string_view, 3> kPathExtensions = {".exe", ".lnk", ".url"};
constexpr std::string_view kWebPrefix = "www";
constexpr std::string_view kWebScheme = "http://";

// Blanks end an address or a path; so do tabs and line breaks, which a
// copied text carries as often as blanks.
bool separates(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Blank-padded, a text sorts after a single blank when its first character
// that is not a blank comes after the blank: empty and all-blank texts do
// not, nor do texts that start with a control character.
bool sortsAfterBlank(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first != std::string_view::npos && static_cast<unsigned char>(text[first]) > ' ';
}

std::string addressAt(std::string_view text, std::size_t start) {
    std::size_t end = start;
    while (end < text.size() && end - start < kAddressCharacters && text[end] != '"' && !separates(text[end]))
        ++end;
    return std::string(text.substr(start, end - start));
}

// The path ending in the extension at `at`: back to the nearest double
// quote, or when there is none, to the nearest blank; else from the start.
std::string pathEndingAt(std::string_view text, std::size_t at, std::size_t extension) {
    const std::string_view before = text.substr(0, at);
    std::size_t start = 0;
    if (const auto quote = before.rfind('"'); quote != std::string_view::npos) {
        start = quote + 1;
    } else {
        for (std::size_t i = before.size(); i > 0; --i) {
            if (separates(before[i - 1])) {
                start = i;
                break;
            }
        }
    }
    return std::string(text.substr(start, at + extension - start));
}

}  // namespace

std::string clipSignature(std::string_view text) {
    std::string signature;
    for (char c : text) {
        if (signature.size() == kSignatureLetters) break;
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper >= 'A' && upper <= 'Z') signature += upper;
    }
    return signature;
}

bool clipLooksRunnable(std::string_view text) {
    for (std::string_view mark : {"http:", "mailto:", ".exe", ".lnk"})
        if (findNoCase(text, mark) != std::string_view::npos) return true;
    return false;
}

ClipRunTargets clipRunTargets(std::string_view text) {
    ClipRunTargets targets;
    for (std::string_view scheme : kAddressSchemes) {
        if (const auto at = findNoCase(text, scheme); at != std::string_view::npos)
            targets.commands.push_back(addressAt(text, at));
    }
    for (std::string_view extension : kPathExtensions) {
        if (const auto at = findNoCase(text, extension); at != std::string_view::npos)
            targets.commands.push_back(pathEndingAt(text, at, extension.size()));
    }
    if (targets.commands.empty() && text.substr(0, kWebPrefix.size()) == kWebPrefix)
        targets.webAddress = std::string(kWebScheme) + trim(text);
    return targets;
}

store::ErrorState ClipboardMonitor::step() {
    if (++calls_ <= kWorkEvery) return {};
    calls_ = 1;
    const auto content = platform::desktop().clipboard->read();
    const std::string text = cutToWidth(content ? content->text : std::string(), kClipTextCharacters);
    bool changed = false;
    store::ErrorState failure;
    if (!equalBlankPadded(text, last_)) {
        const bool secret = content && content->secret && settings::settings().IgnoreSecretClipboard;
        if (sortsAfterBlank(text) && !secret) changed = capture(text);
        failure = trim(text, changed);
        last_ = text;
    }
    if (failure.code == store::kNoError) failure = removeExpired(changed);
    if (changed && onChange_) onChange_();
    return failure;
}

bool ClipboardMonitor::capture(const std::string& text) {
    auto& entry = table_.rec<data::Clipboard>();
    store::clearRecord(table_.schema(), &entry);
    const Moment now = clock_.current();
    entry.CLIPCONTENTS = text;
    entry.CLIPDATE = now.date;
    entry.CLIPTIME = now.time;
    entry.USER = settings::ownerValue();
    entry.CLIPHASHKEY = clipSignature(text);
    entry.CLIPKEEP = 0;
    // A second entry of the same user and signature is refused by the key;
    // that is how a text already saved is kept out. Any other failure leaves
    // the text unsaved and is tried again with the next new text.
    return table_.add() == store::kNoError;
}

store::ErrorState ClipboardMonitor::trim(const std::string& current, bool& changed) {
    const std::int64_t limit = settings::settings().MaxClipboardEntries;
    if (limit <= 0) return {};
    std::int64_t count = table_.records();
    if (count < 0) return table_.error();
    if (count <= limit) return {};
    table_.setStart(data::keys::Clipboard::KEYCLIPDATE);
    while (count > limit) {
        if (const int code = table_.next(); code != store::kNoError) {
            if (code == store::kRecordNotAvailable) break;
            return table_.error();
        }
        const auto& entry = table_.rec<data::Clipboard>();
        // Entries with the save mark come after the others of their user in
        // this key: the first one ends the walk.
        if (entry.CLIPKEEP) break;
        if (equalBlankPadded(entry.CLIPCONTENTS, current)) continue;
        if (table_.erase() == store::kNoError) {
            --count;
            changed = true;
        }
    }
    return {};
}

store::ErrorState ClipboardMonitor::removeExpired(bool& changed) {
    const std::int32_t days = std::max(0, settings::settings().ClipboardExpires);
    const Date today = clock_.current().date;
    if (days == 0 || (today == expiredOn_ && days == expiredAfter_)) return {};
    table_.setStart(data::keys::Clipboard::KEYCLIPDATE);
    for (;;) {
        if (const int code = table_.next(); code != store::kNoError) {
            if (code == store::kRecordNotAvailable) break;
            return table_.error();  // tried again at the next step
        }
        const auto& entry = table_.rec<data::Clipboard>();
        // Failing here is like failing to trim: the entry goes another day.
        if (!entry.CLIPKEEP && today - entry.CLIPDATE > days && table_.erase() == store::kNoError)
            changed = true;
    }
    expiredOn_ = today;
    expiredAfter_ = days;
    return {};
}

}  // namespace plorix::scheduler
