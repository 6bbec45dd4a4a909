#pragma once
// Every table's record buffer and schema.

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
#include "data/tables/tag_file_p.h"
#include "data/tables/todo.h"
#include "data/tables/window_lookup.h"
