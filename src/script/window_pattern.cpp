#include "script/window_pattern.h"

#include "platform/desktop.h"
#include "runtime/fixed_text.h"

namespace plorix::script {

bool isDisappearancePattern(std::string_view pattern) { return !pattern.empty() && pattern.front() == '~'; }

std::string_view withoutDisappearanceMark(std::string_view pattern) {
    if (isDisappearancePattern(pattern)) pattern.remove_prefix(1);
    return pattern;
}

bool titleMatches(std::string_view pattern, std::string_view title) {
    pattern = withoutDisappearanceMark(pattern);
    if (equalNoCase(pattern, title)) return true;  // trailing blanks ignored
    const std::size_t star = pattern.find('*');
    if (star == std::string_view::npos) return false;
    if (star == 0) return containsNoCase(title, clip(pattern.substr(1)));
    // The text before the star against as much of the title; a title shorter
    // than that text compares as if padded with blanks.
    const std::string_view prefix = pattern.substr(0, star);
    return equalNoCase(prefix, title.substr(0, prefix.size()));
}

bool childTextFound(const std::vector<platform::ChildControl>& children, std::string_view childText) {
    const std::string needle = clip(childText);
    if (needle.empty()) return true;
    for (const platform::ChildControl& child : children)
        if (containsNoCase(child.text, needle)) return true;
    return false;
}

std::vector<platform::WindowId> findWindows(platform::Windows& windows, const WindowQuery& query) {
    std::vector<platform::WindowId> found;
    const bool anyChild = clip(query.childText).empty();
    for (const platform::WindowInfo& window : windows.topLevelWindows()) {
        if (!titleMatches(query.titlePattern, window.title)) continue;
        if (!anyChild && !childTextFound(windows.children(window.id), query.childText)) continue;
        found.push_back(window.id);
        if (query.maxResults != 0 && found.size() >= query.maxResults) break;
    }
    return found;
}

platform::WindowId findWindow(platform::Windows& windows, std::string_view titlePattern,
                              std::string_view childText) {
    const std::vector<platform::WindowId> found =
        findWindows(windows, {std::string(titlePattern), std::string(childText), 1});
    return found.empty() ? platform::kNoWindow : found.front();
}

platform::WindowId findWindow(std::string_view titlePattern, std::string_view childText) {
    return findWindow(*platform::desktop().windows, titlePattern, childText);
}

}  // namespace plorix::script
