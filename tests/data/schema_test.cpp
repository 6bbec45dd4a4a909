#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "data/data_file.h"
#include "store/store.h"
#include "data/tables.h"

namespace plorix::data {
namespace {

TEST(SchemaTest, EveryRecordIsAsWideAsItsDeclaredSize) {
    for (const store::TableSchema* schema : allSchemas()) {
        int bytes = 0;
        for (const auto& field : schema->fields) {
            if (field.kind != store::FieldKind::Memo) bytes += field.width;
        }
        EXPECT_EQ(bytes, schema->recordBytes) << schema->label;
        for (const auto& group : schema->groups) {
            int covered = 0;
            for (int i = group.first; i <= group.last; ++i)
                covered += schema->fields[static_cast<std::size_t>(i)].width;
            EXPECT_EQ(covered, group.width) << group.name;
        }
    }
}

// Code names keys by constant (keys::Schedule::KEYDATE); each constant must
// be the index of the key of that name in its table, the sync twins included.
template <typename Keys>
void expectKeyConstants(const store::TableSchema& schema) {
    ASSERT_EQ(std::size(Keys::kNames), schema.keys.size()) << schema.label;
    for (std::size_t i = 0; i < schema.keys.size(); ++i) {
        EXPECT_EQ(schema.keyIndex(Keys::kNames[i]), static_cast<int>(i))
            << schema.label << " " << Keys::kNames[i];
    }
}

TEST(SchemaTest, EveryKeyConstantNamesTheKeyAtItsIndex) {
    expectKeyConstants<keys::Categories>(Categories::schema());
    expectKeyConstants<keys::Clipboard>(Clipboard::schema());
    expectKeyConstants<keys::Configuration>(Configuration::schema());
    expectKeyConstants<keys::Contact>(Contact::schema());
    expectKeyConstants<keys::ContactCategories>(ContactCategories::schema());
    expectKeyConstants<keys::Holidays>(Holidays::schema());
    expectKeyConstants<keys::Link>(Link::schema());
    expectKeyConstants<keys::Messages>(Messages::schema());
    expectKeyConstants<keys::Schedule>(Schedule::schema());
    expectKeyConstants<keys::SyncSchedule>(SyncSchedule::schema());
    expectKeyConstants<keys::Scripting>(Scripting::schema());
    expectKeyConstants<keys::Todo>(Todo::schema());
    expectKeyConstants<keys::SyncTodo>(SyncTodo::schema());
    expectKeyConstants<keys::WindowLookup>(WindowLookup::schema());
    expectKeyConstants<keys::TagFile_>(TagFile_::schema());
    expectKeyConstants<keys::TagFileP>(TagFileP::schema());
    // The transfer file's script items keep only the primary key.
    EXPECT_EQ(SyncScripting::schema().keys[keys::Scripting::KEYID].name, "SSCR:KEYID");
    EXPECT_EQ(schemaByLabel("windowlookup"), &WindowLookup::schema());
    EXPECT_EQ(schemaByLabel("Nothing"), nullptr);
}

TEST(SchemaTest, TheTwelveDataTablesShareOneFileUnderTheirStoredNames) {
    std::set<std::string> files;
    std::vector<std::string> tables;
    for (const store::TableSchema* s : allSchemas()) {
        const store::StoredName where = store::splitStoredName(s->storedName, *s);
        if (where.file != kDataFileName) continue;
        files.insert(where.file);
        tables.push_back(where.table);
        EXPECT_FALSE(s->password.empty());
    }
    EXPECT_EQ(tables, (std::vector<std::string>{"Categories", "Clipboard", "CF", "Contact", "ConCat", "Hol",
                                                "Link", "Messages", "s", "Script", "ToDo", "WL"}));
    EXPECT_EQ(Schedule::schema().storedName, "px97\\!s");
    EXPECT_EQ(Contact::schema().storedName, "Px97.TPS\\!Contact");
}

TEST(SchemaTest, TransferAndTagFilesHaveTheirOwnNames) {
    EXPECT_EQ(store::splitStoredName("SyncSch.syn", SyncSchedule::schema()).table, "s");
    EXPECT_EQ(store::splitStoredName("SyncScr.syn", SyncScripting::schema()).table, "scr");
    EXPECT_EQ(store::splitStoredName("SyncTodo.syn", SyncTodo::schema()).table, "todo");
    const store::StoredName chosen = store::splitStoredName("out\\week.SYN\\!scr", SyncScripting::schema());
    EXPECT_EQ(chosen.file, "out/week.SYN");
    EXPECT_EQ(chosen.table, "scr");
    EXPECT_EQ(store::splitStoredName("backup\\px97\\!s", Schedule::schema()).file, "backup/px97.TPS");
    EXPECT_EQ(TagFile_::schema().storedName, "TagFile_.TPS");
    EXPECT_EQ(TagFileP::schema().storedName, "TagFileP.TPS");
    EXPECT_TRUE(TagFile_::schema().password.empty());
    EXPECT_TRUE(TagFileP::schema().password.empty());
}

TEST(SchemaTest, FieldAndKeyNamesCarryThePrefixInCapitals) {
    const store::TableSchema& sync = SyncSchedule::schema();
    EXPECT_EQ(sync.fields[1].name, "SSCH:ID");
    EXPECT_EQ(sync.keys.size(), 13u);
    EXPECT_GE(sync.keyIndex("SSCH:KEYTASKNAME"), 0);
    EXPECT_EQ(SyncScripting::schema().keys.size(), 1u);
    EXPECT_EQ(SyncScripting::schema().keys[0].name, "SSCR:KEYID");

    const store::TableSchema& messages = Messages::schema();
    const int server = messages.fieldIndex("m_:mail:server");
    ASSERT_GE(server, 0);
    EXPECT_EQ(messages.fields[static_cast<std::size_t>(server)].column, "MAIL:SERVER");
    EXPECT_EQ(messages.fieldIndex("NEWS:PASSWORD"), 15);
    EXPECT_EQ(Contact::schema().fields[0].name, "C_:USER");

    const store::TableSchema& schedule = Schedule::schema();
    EXPECT_EQ(schedule.fields.size(), 57u);  // 63 less the seven group names, plus the memo
    EXPECT_EQ(schedule.fields.back().name, "SCH:MESSAGE");
    const store::GroupDesc& alarm =
        schedule.groups[static_cast<std::size_t>(schedule.groupIndex("ALARMGROUP"))];
    EXPECT_EQ(schedule.fields[static_cast<std::size_t>(alarm.first)].name, "SCH:ALARM");
    EXPECT_EQ(schedule.fields[static_cast<std::size_t>(alarm.last)].name, "SCH:ALARMFILE");
    EXPECT_EQ(schedule.primaryKey()->name, "SCH:KEYID");
}

TEST(SchemaTest, KeyAttributesFollowTheDeclarations) {
    auto key = [](const store::TableSchema& s, const char* name) {
        return s.keys[static_cast<std::size_t>(s.keyIndex(name))];
    };
    const store::KeyDesc title = key(WindowLookup::schema(), "WL:KEYTITLE");
    EXPECT_TRUE(title.unique());
    EXPECT_FALSE(title.nocase());
    const store::KeyDesc done = key(Todo::schema(), "TDO:KEYDONE");
    EXPECT_FALSE(done.unique());
    EXPECT_FALSE(done.nocase());
    const store::KeyDesc enabled = key(Schedule::schema(), "SCH:KEYDATEENABLED");
    std::vector<std::string> components;
    for (int c : enabled.components)
        components.push_back(Schedule::schema().fields[static_cast<std::size_t>(c)].name);
    EXPECT_EQ(components, (std::vector<std::string>{"SCH:DISABLED", "SCH:DATE", "SCH:TIME"}));
    EXPECT_FALSE(Link::schema().keys[0].primary());
    EXPECT_TRUE(Link::schema().keys[1].primary());
    for (const store::TableSchema* s : allSchemas()) {
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
    const store::TableSchema& s = Schedule::schema();
    Schedule r;
    r.DATE = makeDate(10, 31, 1959);
    r.TIME = makeTime(17, 30, 5, 7);
    r.ADVANCEWARNTIME = makeTime(8, 0);
    r.LASTRUNTIME = kEndOfDay;
    r.ID = -2147483647 - 1;
    r.DESCRIPTION = "Backup";
    auto text = [&](const char* name) {
        return store::fieldToText(s.fields[static_cast<std::size_t>(s.fieldIndex(name))], &r);
    };
    EXPECT_EQ(text("DATE"), "1959-10-31");
    EXPECT_EQ(text("TIME"), "17:30:05.07");
    EXPECT_EQ(text("ADVANCEWARNTIME"), "08:00:00");
    EXPECT_EQ(text("LASTRUNTIME"), "24:00:00");
    EXPECT_EQ(text("LASTRUNDATE"), "");
    EXPECT_EQ(text("ID"), "-2147483648");

    Schedule copy;
    for (const auto& field : s.fields) {
        ASSERT_TRUE(store::fieldFromText(field, &copy, store::fieldToText(field, &r))) << field.name;
    }
    for (const auto& field : s.fields)
        EXPECT_EQ(store::fieldToText(field, &copy), store::fieldToText(field, &r)) << field.name;

    const store::FieldDesc& time = s.fields[static_cast<std::size_t>(s.fieldIndex("TIME"))];
    ASSERT_TRUE(store::fieldFromText(time, &copy, "9:05"));
    EXPECT_EQ(copy.TIME, makeTime(9, 5));
    ASSERT_TRUE(store::fieldFromText(time, &copy, " "));
    EXPECT_EQ(copy.TIME, 0);
}

TEST(FieldTextTest, TextsThatDoNotFitAreRefusedAndLeaveTheRecordAlone) {
    TagFile_ tag;
    const store::TableSchema& s = TagFile_::schema();
    const store::FieldDesc& tbl = s.fields[1];  // int16
    const store::FieldDesc& usr = s.fields[0];  // int32
    const store::FieldDesc& val = s.fields[3];  // string(10)
    tag.TBL = 7;
    for (const char* bad : {"32768", "-32769", "12a", "1.5", "--1", "+"}) {
        EXPECT_FALSE(store::fieldFromText(tbl, &tag, bad)) << bad;
        EXPECT_EQ(tag.TBL, 7);
    }
    EXPECT_TRUE(store::fieldFromText(tbl, &tag, "-32768"));
    EXPECT_EQ(tag.TBL, -32768);
    EXPECT_FALSE(store::fieldFromText(usr, &tag, "2147483648"));
    EXPECT_TRUE(store::fieldFromText(usr, &tag, "+2147483647"));
    EXPECT_FALSE(store::fieldFromText(val, &tag, "eleven char"));
    EXPECT_TRUE(store::fieldFromText(val, &tag, "ten chars!   "));

    Todo todo;
    const store::TableSchema& t = Todo::schema();
    const store::FieldDesc& done = t.fields[0];
    EXPECT_FALSE(store::fieldFromText(done, &todo, "256"));
    EXPECT_FALSE(store::fieldFromText(done, &todo, "-1"));
    const store::FieldDesc& date = t.fields[static_cast<std::size_t>(t.fieldIndex("COMPLETIONDATE"))];
    for (const char* bad :
         {"2023-02-29", "2023-13-01", "1800-12-31", "2023-1-1x", "20230101", "31/12/2023"}) {
        EXPECT_FALSE(store::fieldFromText(date, &todo, bad)) << bad;
    }
    EXPECT_TRUE(store::fieldFromText(date, &todo, "2024-02-29"));
    EXPECT_EQ(todo.COMPLETIONDATE, makeDate(2, 29, 2024));
    const store::FieldDesc& time = t.fields[static_cast<std::size_t>(t.fieldIndex("COMPLETIONTIME"))];
    for (const char* bad : {"24:01", "12:60", "12:00:60", "7", "12:5", "24:00:00.01"}) {
        EXPECT_FALSE(store::fieldFromText(time, &todo, bad)) << bad;
    }
}

TEST(RecordTest, CopyByNameCarriesFieldsBetweenTwinTables) {
    Schedule local;
    local.ID = 12;
    local.DESCRIPTION = "Backup";
    local.MESSAGE = "Time to back up";
    local.SATURDAY = 1;
    SyncSchedule sent;
    store::copyByName(Schedule::schema(), &local, SyncSchedule::schema(), &sent);
    EXPECT_EQ(sent.ID, 12);
    EXPECT_EQ(sent.DESCRIPTION, "Backup");
    EXPECT_EQ(sent.MESSAGE, "Time to back up");
    EXPECT_EQ(sent.SATURDAY, 1);

    // Only the fields both have: a category carries, the rest stays.
    Todo todo;
    todo.TODO = "keep me";
    local.CATEGORY = "Home";
    store::copyByName(Schedule::schema(), &local, Todo::schema(), &todo);
    EXPECT_EQ(todo.TODO, "keep me");
    EXPECT_EQ(todo.CATEGORY, "Home");

    store::clearRecord(SyncSchedule::schema(), &sent);
    EXPECT_EQ(sent.ID, 0);
    EXPECT_TRUE(sent.MESSAGE.empty());
}

}  // namespace
}  // namespace plorix::data
