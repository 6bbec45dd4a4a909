#pragma once
// Every table's record buffer and schema.

#include <string_view>
#include <vector>

#include "data/tables/categories.h"
#include "data/tables/clipboard.h"
#include "data/tables/configuration.h"
#include "data/tables/contact.h"
#include "data/tables/contact_categories.h"
#include "data/tables/holidays.h"
#include "data/tables/link.h"
#include "data/tables/messages.h"
#include "data/tables/schedule.h"
#include "data/tables/scripting.h"
#include "data/tables/tag_file.h"
#include "data/tables/position_tag_file.h"
#include "data/tables/todo.h"
#include "data/tables/window_lookup.h"

namespace plorix::data {

// Every table the program knows: the fifteen in the order start-up declares
// them to the upgrade step (by prefix), then the two tag files.
const std::vector<const store::TableSchema*>& allSchemas();
const store::TableSchema* schemaByLabel(std::string_view label);  // any letter case

}  // namespace plorix::data
