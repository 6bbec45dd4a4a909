#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "data/store.h"
#include "data/tables.h"

namespace plorix::data {
namespace {

TEST(SchemaTest, EveryRecordIsAsWideAsItsDeclaredSize) {
    for (const TableSchema* schema : allSchemas()) {
        int bytes = 0;
        for (const auto& field : schema->fields) {
            if (field.kind != FieldKind::Memo) bytes += field.width;
        }
        EXPECT_EQ(bytes, schema->recordBytes) << schema->label;
        for (const auto& group : schema->groups) {
            int covered = 0;
            for (int i = group.first; i <= group.last; ++i) covered += schema->fields[static_cast<std::size_t>(i)].width;
            EXPECT_EQ(covered, group.width) << group.name;
        }
    }
}

TEST(SchemaTest, TablesAreDeclaredInStartUpOrderWithTheirVersions) {
    std::vector<std::string> declared;
    for (const TableSchema* schema : allSchemas()) {
        declared.push_back(schema->prefix + " " + schema->label + " " + std::to_string(schema->version));
    }
    const std::vector<std::string> expected{
        "CAT Categories 2",   "CLI Clipboard 3",       "CF Configuration 1", "C_ Contact 2",
        "CC ContactCategories 2", "HOL Holidays 2",    "L Link 2",           "M_ Messages 3",
        "SCH Schedule 6",     "SCR Scripting 5",       "SSch SyncSchedule 2", "SScr SyncScripting 2",
        "STdo SyncTodo 1",    "TDO Todo 4",            "WL WindowLookup 2",  "TF_ TagFile_ 1",
        "TP_ TagFileP 1"};
    EXPECT_EQ(declared, expected);
    EXPECT_EQ(schemaByLabel("windowlookup"), &WindowLookup::schema());
    EXPECT_EQ(schemaByLabel("Nothing"), nullptr);
}

TEST(SchemaTest, TheTwelveDataTablesShareOneFileUnderTheirStoredNames) {
    std::set<std::string> files;
    std::vector<std::string> tables;
    for (const TableSchema* s : allSchemas()) {
        const StoredName where = splitStoredName(s->storedName, *s);
        if (where.file != kDataFileName) continue;
        files.insert(where.file);
        tables.push_back(where.table);
        EXPECT_TRUE(s->encrypted);
    }
    EXPECT_EQ(tables, (std::vector<std::string>{"Categories", "Clipboard", "CF", "Contact", "ConCat", "Hol",
                                                "Link", "Messages", "s", "Script", "ToDo", "WL"}));
    EXPECT_EQ(Schedule::schema().storedName, "px97\\!s");
    EXPECT_EQ(Contact::schema().storedName, "Px97.TPS\\!Contact");
}

TEST(SchemaTest, TransferAndTagFilesHaveTheirOwnNames) {
    EXPECT_EQ(splitStoredName("SyncSch.syn", SyncSchedule::schema()).table, "s");
    EXPECT_EQ(splitStoredName("SyncScr.syn", SyncScripting::schema()).table, "scr");
    EXPECT_EQ(splitStoredName("SyncTodo.syn", SyncTodo::schema()).table, "todo");
    const StoredName chosen = splitStoredName("out\\week.SYN\\!scr", SyncScripting::schema());
    EXPECT_EQ(chosen.file, "out/week.SYN");
    EXPECT_EQ(chosen.table, "scr");
    EXPECT_EQ(splitStoredName("backup\\px97\\!s", Schedule::schema()).file, "backup/px97.TPS");
    EXPECT_EQ(TagFile_::schema().storedName, "TagFile_.TPS");
    EXPECT_EQ(TagFileP::schema().storedName, "TagFileP.TPS");
    EXPECT_FALSE(TagFile_::schema().encrypted);
    EXPECT_FALSE(TagFileP::schema().encrypted);
}

TEST(SchemaTest, FieldAndKeyNamesCarryThePrefixInCapitals) {
    const TableSchema& sync = SyncSchedule::schema();
    EXPECT_EQ(sync.fields[1].name, "SSCH:ID");
    EXPECT_EQ(sync.keys.size(), 13u);
    EXPECT_GE(sync.keyIndex("SSCH:KEYTASKNAME"), 0);
    EXPECT_EQ(SyncScripting::schema().keys.size(), 1u);
    EXPECT_EQ(SyncScripting::schema().keys[0].name, "SSCR:KEYID");

    const TableSchema& messages = Messages::schema();
    const int server = messages.fieldIndex("m_:mail:server");
    ASSERT_GE(server, 0);
    EXPECT_EQ(messages.fields[static_cast<std::size_t>(server)].column, "MAIL:SERVER");
    EXPECT_EQ(messages.fieldIndex("NEWS:PASSWORD"), 15);
    EXPECT_EQ(Contact::schema().fields[0].name, "C_:USER");

    const TableSchema& schedule = Schedule::schema();
    EXPECT_EQ(schedule.fields.size(), 57u);  // 63 less the seven group names, plus the memo
    EXPECT_EQ(schedule.fields.back().name, "SCH:MESSAGE");
    const GroupDesc& alarm = schedule.groups[static_cast<std::size_t>(schedule.groupIndex("ALARMGROUP"))];
    EXPECT_EQ(schedule.fields[static_cast<std::size_t>(alarm.first)].name, "SCH:ALARM");
    EXPECT_EQ(schedule.fields[static_cast<std::size_t>(alarm.last)].name, "SCH:ALARMFILE");
    EXPECT_EQ(schedule.primaryKey()->name, "SCH:KEYID");
}

TEST(SchemaTest, KeyAttributesFollowTheDeclarations) {
    auto key = [](const TableSchema& s, const char* name) { return s.keys[static_cast<std::size_t>(s.keyIndex(name))]; };
    const KeyDesc title = key(WindowLookup::schema(), "WL:KEYTITLE");
    EXPECT_TRUE(title.unique());
    EXPECT_FALSE(title.nocase());
    const KeyDesc done = key(Todo::schema(), "TDO:KEYDONE");
    EXPECT_FALSE(done.unique());
    EXPECT_FALSE(done.nocase());
    const KeyDesc enabled = key(Schedule::schema(), "SCH:KEYDATEENABLED");
    std::vector<std::string> components;
    for (int c : enabled.components) components.push_back(Schedule::schema().fields[static_cast<std::size_t>(c)].name);
    EXPECT_EQ(components, (std::vector<std::string>{"SCH:DISABLED", "SCH:DATE", "SCH:TIME"}));
    EXPECT_FALSE(Link::schema().keys[0].primary());
    EXPECT_TRUE(Link::schema().keys[1].primary());
    for (const TableSchema* s : allSchemas()) {
        for (const auto& k : s->keys) EXPECT_TRUE(k.opt()) << k.name;
    }
}

TEST(TextTest, ValuesAreCutToTheirWidthInCharactersAndClipped) {
    Schedule r;
    r.DESCRIPTION = std::string(50, 'x');
    EXPECT_EQ(r.DESCRIPTION.size(), 40u);
    r.ALARMFILE = std::string(255, 'a');
    EXPECT_EQ(r.ALARMFILE.size(), 254u);  // a cstring(255) holds 254
    r.CATEGORY = "Work   ";
    EXPECT_EQ(r.CATEGORY, "Work");
    // 20 characters of two bytes each stay whole; the 21st goes.
    std::string umlauts;
    for (int i = 0; i < 21; ++i) umlauts += "\xc3\xa4";
    r.CATEGORY = umlauts;
    EXPECT_EQ(r.CATEGORY.size(), 40u);
    r.CATEGORY = "nineteen chars here\xc3\xa4\xc3\xa4";
    EXPECT_EQ(r.CATEGORY, "nineteen chars here\xc3\xa4");
    r.CATEGORY = "abcdefghijklmnopqrs    tail";
    EXPECT_EQ(r.CATEGORY, "abcdefghijklmnopqrs");
}

TEST(FieldTextTest, ValuesRoundTrip) {
    const TableSchema& s = Schedule::schema();
    Schedule r;
    r.DATE = makeDate(10, 31, 1959);
    r.TIME = makeTime(17, 30, 5, 7);
    r.ADVANCEWARNTIME = makeTime(8, 0);
    r.LASTRUNTIME = kEndOfDay;
    r.ID = -2147483647 - 1;
    r.DESCRIPTION = "Backup";
    auto text = [&](const char* name) { return fieldToText(s.fields[static_cast<std::size_t>(s.fieldIndex(name))], &r); };
    EXPECT_EQ(text("DATE"), "1959-10-31");
    EXPECT_EQ(text("TIME"), "17:30:05.07");
    EXPECT_EQ(text("ADVANCEWARNTIME"), "08:00:00");
    EXPECT_EQ(text("LASTRUNTIME"), "24:00:00");
    EXPECT_EQ(text("LASTRUNDATE"), "");
    EXPECT_EQ(text("ID"), "-2147483648");

    Schedule copy;
    for (const auto& field : s.fields) {
        ASSERT_TRUE(fieldFromText(field, &copy, fieldToText(field, &r))) << field.name;
    }
    for (const auto& field : s.fields) EXPECT_EQ(fieldToText(field, &copy), fieldToText(field, &r)) << field.name;

    const FieldDesc& time = s.fields[static_cast<std::size_t>(s.fieldIndex("TIME"))];
    ASSERT_TRUE(fieldFromText(time, &copy, "9:05"));
    EXPECT_EQ(copy.TIME, makeTime(9, 5));
    ASSERT_TRUE(fieldFromText(time, &copy, " "));
    EXPECT_EQ(copy.TIME, 0);
}

TEST(FieldTextTest, TextsThatDoNotFitAreRefusedAndLeaveTheRecordAlone) {
    TagFile_ tag;
    const TableSchema& s = TagFile_::schema();
    const FieldDesc& tbl = s.fields[1];  // int16
    const FieldDesc& usr = s.fields[0];  // int32
    const FieldDesc& val = s.fields[3];  // string(10)
    tag.TBL = 7;
    for (const char* bad : {"32768", "-32769", "12a", "1.5", "--1", "+"}) {
        EXPECT_FALSE(fieldFromText(tbl, &tag, bad)) << bad;
        EXPECT_EQ(tag.TBL, 7);
    }
    EXPECT_TRUE(fieldFromText(tbl, &tag, "-32768"));
    EXPECT_EQ(tag.TBL, -32768);
    EXPECT_FALSE(fieldFromText(usr, &tag, "2147483648"));
    EXPECT_TRUE(fieldFromText(usr, &tag, "+2147483647"));
    EXPECT_FALSE(fieldFromText(val, &tag, "eleven char"));
    EXPECT_TRUE(fieldFromText(val, &tag, "ten chars!   "));

    Todo todo;
    const TableSchema& t = Todo::schema();
    const FieldDesc& done = t.fields[0];
    EXPECT_FALSE(fieldFromText(done, &todo, "256"));
    EXPECT_FALSE(fieldFromText(done, &todo, "-1"));
    const FieldDesc& date = t.fields[static_cast<std::size_t>(t.fieldIndex("COMPLETIONDATE"))];
    for (const char* bad : {"2023-02-29", "2023-13-01", "1800-12-31", "2023-1-1x", "20230101", "31/12/2023"}) {
        EXPECT_FALSE(fieldFromText(date, &todo, bad)) << bad;
    }
    EXPECT_TRUE(fieldFromText(date, &todo, "2024-02-29"));
    EXPECT_EQ(todo.COMPLETIONDATE, makeDate(2, 29, 2024));
    const FieldDesc& time = t.fields[static_cast<std::size_t>(t.fieldIndex("COMPLETIONTIME"))];
    for (const char* bad : {"24:01", "12:60", "12:00:60", "7", "12:5", "24:00:00.01"}) {
        EXPECT_FALSE(fieldFromText(time, &todo, bad)) << bad;
    }
}

TEST(RecordTest, CopyByNameCarriesFieldsBetweenTwinTables) {
    Schedule local;
    local.ID = 12;
    local.DESCRIPTION = "Backup";
    local.MESSAGE = "Time to back up";
    local.SATURDAY = 1;
    SyncSchedule sent;
    copyByName(Schedule::schema(), &local, SyncSchedule::schema(), &sent);
    EXPECT_EQ(sent.ID, 12);
    EXPECT_EQ(sent.DESCRIPTION, "Backup");
    EXPECT_EQ(sent.MESSAGE, "Time to back up");
    EXPECT_EQ(sent.SATURDAY, 1);

    // Only the fields both have: a category carries, the rest stays.
    Todo todo;
    todo.TODO = "keep me";
    local.CATEGORY = "Home";
    copyByName(Schedule::schema(), &local, Todo::schema(), &todo);
    EXPECT_EQ(todo.TODO, "keep me");
    EXPECT_EQ(todo.CATEGORY, "Home");

    clearRecord(SyncSchedule::schema(), &sent);
    EXPECT_EQ(sent.ID, 0);
    EXPECT_TRUE(sent.MESSAGE.empty());
}

}  // namespace
}  // namespace plorix::data
