#pragma once
// What the schedule's search window offers: the fields of a task that can
// be searched, how each is entered, and the key a search reads by. Tasks a
// search selects are tagged in the tag file under kScheduleTags.

#include <string_view>
#include <vector>

#include "data/qbe_query.h"
#include "data/tagging.h"

namespace plorix::data {

inline constexpr TagTable kScheduleTags = 1;

struct SearchField {
    std::string_view field;  // "SCH:DESCRIPTION"
    std::string_view label;  // "&Description:"
    QbeKind kind;
    bool capitals = false;  // the value entered is turned to upper case before the search
};

// In the order the window shows them.
const std::vector<SearchField>& scheduleSearchFields();
const SearchField* scheduleSearchField(std::string_view field);

// The key a search reads by: the one its first criterion's field leads, so
// that the scan can start at the value; the task number otherwise.
int scheduleSearchKey(const std::vector<Criterion>& criteria);

}  // namespace plorix::data
