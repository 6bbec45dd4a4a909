#include "data/tables/schedule.h"

#include "data/tables/table_builder.h"

namespace plorix::data {

namespace {

using namespace detail;

const TableInfo kSchedule{"Schedule", "SCH", "s", "px97\\!s", 6, 1081};
const TableInfo kSyncSchedule{"SyncSchedule", "SSch", "s", "SyncSch.syn", 2, 1081};

const std::vector<GroupSpec> kGroups{
    {"DAYOFWEEKGROUP", "SUNDAY", "SATURDAY", 7},
    {"EVERYORDINAL", "EVERY1ST", "BIMONTHLY", 7},
    {"SCHEDULEDATEANDTIME", "DATE", "SKIPNEXTTIME", 17},
    {"ALARMGROUP", "ALARM", "ALARMFILE", 256},
    {"ADVANCEDWARNING", "ADVANCEWARNDATE", "ADVANCEWARNED", 9},
    {"EXCEPTIONS", "SHIFTTYPE", "EXCEPTIONLINK", 56},
    {"SYNCHONIZATION", "NETWORKUSER", "ORIGINALID", 42},
};

const std::vector<KeySpec> kKeys{PLORIX_SCHEDULE_KEYS(PLORIX_KEY_SPEC)};

}  // namespace

PLORIX_DEFINE_SCHEMA(Schedule, PLORIX_SCHEDULE_FIELDS, kSchedule, kGroups, kKeys)
PLORIX_DEFINE_SCHEMA(SyncSchedule, PLORIX_SCHEDULE_FIELDS, kSyncSchedule, kGroups, kKeys)

}  // namespace plorix::data
