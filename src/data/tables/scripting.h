#pragma once
// Scripting: one record per script item. SyncScripting has the same layout
// in the transfer file.

#include "store/record_macros.h"

#define PLORIX_SCRIPTING_FIELDS(F)        \
    F(ID, Int32, 4)                       \
    F(SEQUENCE, Int32, 4)                 \
    F(ACTION, String, 27)                 \
    F(KEYSTROKES, String, 255)            \
    F(SECONDSTOWAIT, Int32, 4)            \
    F(WAITFORWINDOW, String, 255)         \
    F(FOCUSONWINDOW, String, 255)         \
    F(WINDOWEXISTANCE, String, 20)        \
    F(WINDOWTITLETOCHECKFOR, String, 255) \
    F(IFTIMEELAPSED, String, 20)          \
    F(TIMEELAPSED, Int32, 4)              \
    F(NEXTTASKID, Int32, 4)               \
    F(NETWORKUSER, String, 30)            \
    F(LASTCHANGEDATE, Date, 4)            \
    F(LASTCHANGETIME, Time, 4)            \
    F(ORIGINALID, Int32, 4)               \
    F(EMAILID, Int32, 4)                  \
    F(COMMAND, String, 255)               \
    F(PATH, String, 255)                  \
    F(DDETYPE, String, 20)                \
    F(DDEAPPLICATIONNAME, String, 80)     \
    F(DDEAPPLICATIONTOPIC, String, 80)    \
    F(DDELINKITEM, String, 80)            \
    F(DDECOMMAND, String, 80)

// Keys in declared order: K(NAME, FLAGS, COMPONENTS...).
#define PLORIX_SCRIPTING_KEYS(K)            \
    K(KEYID, kPrimaryKey, "ID", "SEQUENCE") \
    K(KEYEMAIL, kDupNoCase, "EMAILID")

namespace plorix::data {
PLORIX_RECORD(Scripting, PLORIX_SCRIPTING_FIELDS)
PLORIX_RECORD(SyncScripting, PLORIX_SCRIPTING_FIELDS)
PLORIX_KEYS(Scripting, PLORIX_SCRIPTING_KEYS)
}  // namespace plorix::data
