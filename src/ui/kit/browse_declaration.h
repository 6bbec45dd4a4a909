#pragma once
// What a browse window is, declared as data: its table, the section of
// POSITION.INI that keeps its place and column layout, the keys it offers
// as tabs, and its columns. A window file declares one of these and adds
// only the handlers that are its own.

#include <string_view>
#include <vector>

#include "store/schema.h"

namespace plorix::ui {

struct BrowseColumn {
    std::string_view field;    // "SCH:DATE"; empty for a column the window draws itself
    std::string_view picture;  // "@t3"; empty: the DateFormat picture for a date, as stored otherwise
    std::string_view header;   // "Date"
    int width;                 // in average characters
};

// A flag column shows a check mark instead of its number.
inline constexpr std::string_view kFlagPicture = "flag";

struct BrowseTab {
    std::string_view text;  // "All by Date"
    int key;                // keys::Schedule::KEYDATE
};

struct BrowseSpec {
    const store::TableSchema* schema = nullptr;
    std::string_view title;       // the window title
    std::string_view section;     // "BrowseSchedule"
    std::vector<BrowseTab> tabs;  // one tab shows no tab bar
    std::vector<BrowseColumn> columns;
    std::string_view emptyText;  // what an empty list says
    // The tag table of the browse (records tagged by a search); null for none.
    const store::TableSchema* tagTable = nullptr;
};

}  // namespace plorix::ui
