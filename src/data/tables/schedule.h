#pragma once
// Schedule: one record per task. SyncSchedule has the same layout in the
// transfer file.

#include "store/record_macros.h"

#define PLORIX_SCHEDULE_FIELDS(F) \
    F(USER, String, 40)           \
    F(ID, Int32, 4)               \
    F(TASKTYPE, String, 20)       \
    F(CATEGORY, String, 20)       \
    F(DESCRIPTION, String, 40)    \
    F(COMMAND, String, 255)       \
    F(PATH, String, 255)          \
    F(SCHEDULETYPE, String, 20)   \
    F(SUNDAY, Byte, 1)            \
    F(MONDAY, Byte, 1)            \
    F(TUESDAY, Byte, 1)           \
    F(WEDNESDAY, Byte, 1)         \
    F(THURSDAY, Byte, 1)          \
    F(FRIDAY, Byte, 1)            \
    F(SATURDAY, Byte, 1)          \
    F(EVERY, Int32, 4)            \
    F(EVERY1ST, Byte, 1)          \
    F(EVERY2ND, Byte, 1)          \
    F(EVERY3RD, Byte, 1)          \
    F(EVERY4TH, Byte, 1)          \
    F(EVERYLAST, Byte, 1)         \
    F(LASTDAYOFMONTH, Byte, 1)    \
    F(BIMONTHLY, Byte, 1)         \
    F(EVERYTYPE, String, 20)      \
    F(DATE, Date, 4)              \
    F(TIME, Time, 4)              \
    F(LASTRUNDATE, Date, 4)       \
    F(LASTRUNTIME, Time, 4)       \
    F(SKIPNEXTTIME, Byte, 1)      \
    F(ALARM, Byte, 1)             \
    F(ALARMFILE, CString, 255)    \
    F(ADVANCEWARNDATE, Date, 4)   \
    F(ADVANCEWARNTIME, Time, 4)   \
    F(ADVANCEWARNED, Byte, 1)     \
    F(WARN, Byte, 1)              \
    F(SKIPIFMISSED, Byte, 1)      \
    F(NOHISTORY, Byte, 1)         \
    F(USERSKIP, Byte, 1)          \
    F(DISABLED, Byte, 1)          \
    F(COMPLETED, Byte, 1)         \
    F(SKIPPED, Byte, 1)           \
    F(UNDEFINEDOPTION1, Byte, 1)  \
    F(UNDEFINEDOPTION2, Byte, 1)  \
    F(SHIFTTYPE, String, 20)      \
    F(EXCEPTWEEKENDS, Byte, 1)    \
    F(EXCEPTWEEKDAYS, Byte, 1)    \
    F(EXCEPTHOLIDAYS, Byte, 1)    \
    F(EXCEPTTIME, Byte, 1)        \
    F(EXCEPTTIMEBEGIN, Time, 4)   \
    F(EXCEPTTIMEEND, Time, 4)     \
    F(EXCEPTOTHER, String, 20)    \
    F(EXCEPTIONLINK, Int32, 4)    \
    F(NETWORKUSER, String, 30)    \
    F(LASTCHANGEDATE, Date, 4)    \
    F(LASTCHANGETIME, Time, 4)    \
    F(ORIGINALID, Int32, 4)       \
    F(MESSAGE, Memo, 1000)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_SCHEDULE_KEYS(K)                                                       \
    K(KEYID, kPrimaryKey, "ID")                                                       \
    K(KEYUSER, kDupNoCase, "USER", "ID")                                              \
    K(KEYDATE, kDupNoCase, "DATE", "TIME")                                            \
    K(KEYUSERDATE, kDupNoCase, "USER", "DATE", "TIME")                                \
    K(KEYCATEGORY, kDupNoCase, "CATEGORY", "DESCRIPTION")                             \
    K(KEYCATEGORYDATE, kDupNoCase, "CATEGORY", "DATE", "TIME")                        \
    K(KEYTASKNAME, kDupNoCase, "DESCRIPTION", "CATEGORY")                             \
    K(KEYTASKTYPE, kDupNoCase, "TASKTYPE", "DESCRIPTION")                             \
    K(KEYTASKDATE, kDupNoCase, "TASKTYPE", "DATE", "TIME")                            \
    K(KEYDATEENABLED, kDupNoCase, "DISABLED", "DATE", "TIME")                         \
    K(KEYADVANCED, kDupNoCase, "ADVANCEWARNED", "ADVANCEWARNDATE", "ADVANCEWARNTIME") \
    K(KEYUSERADVANCED, kDupNoCase, "USER", "ADVANCEWARNDATE", "ADVANCEWARNTIME")      \
    K(KEYORIGINALID, kDupNoCase, "ORIGINALID")

namespace plorix::data {
PLORIX_RECORD(Schedule, PLORIX_SCHEDULE_FIELDS)
PLORIX_RECORD(SyncSchedule, PLORIX_SCHEDULE_FIELDS)
PLORIX_KEYS(Schedule, PLORIX_SCHEDULE_KEYS)
namespace keys {
using SyncSchedule = Schedule;
}
}  // namespace plorix::data
