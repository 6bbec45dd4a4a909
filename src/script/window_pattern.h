#pragma once
// Finding a top-level window by a title pattern and, optionally, a text that
// one of its controls must contain. The pattern forms, compared without
// regard to letter case:
//   "Connect To"    the exact title (trailing blanks ignored)
//   "Untitled - *"  the title begins with the text before the first "*"
//   "*Notepad"      the title contains the text after the leading "*"
// A leading "~" ("wait for the window to disappear") is the caller's
// business and is not part of the pattern.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows.h"

namespace plorix::script {

// A window search as a value: what to look for and how much of it.
struct WindowQuery {
    std::string titlePattern;
    std::string childText;       // blank: any window whose title matches
    std::size_t maxResults = 1;  // 0: every match
};

// Whether the pattern starts with the "~" that reverses a wait.
bool isDisappearancePattern(std::string_view pattern);
// The pattern without its leading "~".
std::string_view withoutDisappearanceMark(std::string_view pattern);

// Whether one title matches one pattern (a leading "~" is dropped first).
bool titleMatches(std::string_view pattern, std::string_view title);
// Whether some control's text contains `childText` (trailing blanks of it
// removed, letter case ignored); a blank `childText` is always satisfied.
bool childTextFound(const std::vector<platform::ChildControl>& children, std::string_view childText);

// The matching windows in the desktop's order, at most query.maxResults.
std::vector<platform::WindowId> findWindows(platform::Windows& windows, const WindowQuery& query);
// The first matching window, platform::kNoWindow when none.
platform::WindowId findWindow(platform::Windows& windows, std::string_view titlePattern,
                              std::string_view childText);
// The same on the process's desktop.
platform::WindowId findWindow(std::string_view titlePattern, std::string_view childText);

}  // namespace plorix::script
