#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "data/data_file.h"
#include "store/backend_test.h"
#include "store/store_support.h"
#include "store/table_sql.h"
#include "data/tables.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

using test::openOrCreate;

class StoreKeysTest : public test::BackendTest {
protected:
    int key(const store::Table& t, const char* name) { return t.schema().keyIndex(name); }

    // The values of one field in the order a scan reads them.
    template <typename Record, typename Member>
    std::vector<Member> scan(store::Table& t, int k, bool forward, Member Record::*member) {
        std::vector<Member> out;
        forward ? t.setStart(k) : t.setEnd(k);
        while ((forward ? t.next() : t.previous()) == store::kNoError) out.push_back(t.rec<Record>().*member);
        EXPECT_EQ(t.errorCode(), store::kRecordNotAvailable);
        return out;
    }
    std::vector<std::string> categoryScan(store::Table& t, bool forward) {
        std::vector<std::string> out;
        for (const auto& c : scan(t, 0, forward, &Categories::CATEGORY)) out.push_back(c.str());
        return out;
    }
    void addCategories(store::Table& t, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            t.rec<Categories>().CATEGORY = name;
            ASSERT_EQ(t.add(), store::kNoError) << name;
        }
    }
};

TEST_P(StoreKeysTest, UniqueKeysRefuseDuplicatesInTheirOwnLetterCaseRule) {
    store::Table categories(Categories::schema());
    ASSERT_EQ(openOrCreate(categories), store::kNoError);
    addCategories(categories, {"Work", "Home"});
    categories.rec<Categories>().CATEGORY = "WORK";
    EXPECT_EQ(categories.add(), store::kDuplicateKey);
    EXPECT_EQ(categories.error().keyName, "CAT:KEYCATEGORY");
    EXPECT_EQ(store::lastError().code, store::kDuplicateKey);
    EXPECT_EQ(categories.records(), 2);

    // Renaming a record onto another one's value is refused the same way.
    categories.rec<Categories>().CATEGORY = "home";
    ASSERT_EQ(categories.get(0), store::kNoError);
    categories.rec<Categories>().CATEGORY = "work ";
    EXPECT_EQ(categories.put(), store::kDuplicateKey);
    EXPECT_EQ(categories.error().keyName, "CAT:KEYCATEGORY");
    categories.rec<Categories>().CATEGORY = "Household";
    EXPECT_EQ(categories.put(), store::kNoError);

    store::Table titles(WindowLookup::schema());
    ASSERT_EQ(openOrCreate(titles), store::kNoError);
    for (const char* title : {"Editor", "EDITOR", "editor"}) {
        titles.rec<WindowLookup>().TITLE = title;
        EXPECT_EQ(titles.add(), store::kNoError) << title;
    }
    titles.rec<WindowLookup>().TITLE = "Editor";
    EXPECT_EQ(titles.add(), store::kDuplicateKey);
    EXPECT_EQ(titles.error().keyName, "WL:KEYTITLE");
}

TEST_P(StoreKeysTest, DuplicatesKeepTheOrderTheyWereAddedIn) {
    store::Table schedule(Schedule::schema());
    ASSERT_EQ(openOrCreate(schedule), store::kNoError);
    auto& r = schedule.rec<Schedule>();
    for (int id : {3, 1, 2}) {
        r.ID = id;
        r.DATE = 80000;
        r.TIME = 100;
        ASSERT_EQ(schedule.add(), store::kNoError);
    }
    r.ID = 4;
    r.DATE = 79999;
    ASSERT_EQ(schedule.add(), store::kNoError);
    const int byDate = key(schedule, "SCH:KEYDATE");
    EXPECT_EQ(scan(schedule, byDate, true, &Schedule::ID), (std::vector<std::int32_t>{4, 3, 1, 2}));
    EXPECT_EQ(scan(schedule, byDate, false, &Schedule::ID), (std::vector<std::int32_t>{2, 1, 3, 4}));
    r.DATE = 80000;
    r.TIME = 100;
    ASSERT_EQ(schedule.get(byDate), store::kNoError);
    EXPECT_EQ(r.ID, 3);
}

TEST_P(StoreKeysTest, RecordsWithBlankComponentsStayOutsideAnOptKey) {
    store::Table schedule(Schedule::schema());
    ASSERT_EQ(openOrCreate(schedule), store::kNoError);
    auto& r = schedule.rec<Schedule>();
    r.ID = 1;  // no date, no time
    ASSERT_EQ(schedule.add(), store::kNoError);
    r.ID = 2;
    r.DATE = 80000;
    ASSERT_EQ(schedule.add(), store::kNoError);
    EXPECT_EQ(scan(schedule, key(schedule, "KEYDATE"), true, &Schedule::ID), std::vector<std::int32_t>{2});
    EXPECT_EQ(scan(schedule, key(schedule, "KEYID"), true, &Schedule::ID), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(scan(schedule, -1, true, &Schedule::ID), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(schedule.records(), 2);
    r.DATE = 0;
    r.TIME = 0;
    EXPECT_EQ(schedule.get(key(schedule, "KEYDATE")), store::kRecordNotFound);

    // Blank records do not collide in a unique key.
    store::Table links(Link::schema());
    ASSERT_EQ(openOrCreate(links), store::kNoError);
    EXPECT_EQ(links.add(), store::kNoError);
    EXPECT_EQ(links.add(), store::kNoError);
    links.rec<Link>().ID = 5;
    EXPECT_EQ(links.add(), store::kNoError);
    EXPECT_EQ(links.add(), store::kDuplicateKey);
    EXPECT_EQ(links.records(), 3);
}

TEST_P(StoreKeysTest, ScansFollowTheKeyWithLetterCaseIgnoredWhereTheKeySaysSo) {
    store::Table categories(Categories::schema());
    ASSERT_EQ(openOrCreate(categories), store::kNoError);
    addCategories(categories, {"beta", "Alpha", "gamma", "ALPHA2", "Delta"});
    const std::vector<std::string> ordered{"Alpha", "ALPHA2", "beta", "Delta", "gamma"};
    EXPECT_EQ(categoryScan(categories, true), ordered);
    EXPECT_EQ(categoryScan(categories, false), std::vector<std::string>(ordered.rbegin(), ordered.rend()));

    auto& c = categories.rec<Categories>().CATEGORY;
    c = "c";
    categories.setAt(0);
    ASSERT_EQ(categories.next(), store::kNoError);
    EXPECT_EQ(c, "Delta");
    c = "c";
    categories.setAt(0);
    ASSERT_EQ(categories.previous(), store::kNoError);
    EXPECT_EQ(c, "beta");
    c = "BETA";
    categories.setAt(0);
    ASSERT_EQ(categories.next(), store::kNoError);  // the first that is >= the value
    EXPECT_EQ(c, "beta");
    c = "BETA";
    categories.setAt(0);
    ASSERT_EQ(categories.previous(), store::kNoError);  // the last that is <= it
    EXPECT_EQ(c, "beta");

    // Turning round reads the neighbour on the other side; the ends answer 33
    // and leave the scan where it was.
    categories.setStart(0);
    ASSERT_EQ(categories.next(), store::kNoError);
    ASSERT_EQ(categories.next(), store::kNoError);
    ASSERT_EQ(categories.next(), store::kNoError);
    EXPECT_EQ(c, "beta");
    ASSERT_EQ(categories.previous(), store::kNoError);
    EXPECT_EQ(c, "ALPHA2");
    ASSERT_EQ(categories.previous(), store::kNoError);
    EXPECT_EQ(categories.previous(), store::kRecordNotAvailable);
    ASSERT_EQ(categories.next(), store::kNoError);
    EXPECT_EQ(c, "ALPHA2");
    categories.setStart(0);
    EXPECT_EQ(categories.previous(), store::kRecordNotAvailable);
    categories.setEnd(0);
    EXPECT_EQ(categories.next(), store::kRecordNotAvailable);

    store::Table todo(Todo::schema());
    ASSERT_EQ(openOrCreate(todo), store::kNoError);
    for (const char* text : {"apple", "Banana", "cherry"}) {
        todo.rec<Todo>().TODO = text;
        ASSERT_EQ(todo.add(), store::kNoError);
    }
    std::vector<std::string> texts;
    for (const auto& t : scan(todo, key(todo, "KEYTODO"), true, &Todo::TODO)) texts.push_back(t.str());
    EXPECT_EQ(texts, (std::vector<std::string>{"Banana", "apple", "cherry"}));
}

// Letter case is ignored for A-Z alone: punctuation between the upper and
// the lower letters sorts before every letter, and other letters keep
// their case (both forms of a-umlaut are different categories).
TEST_P(StoreKeysTest, IgnoringLetterCaseFoldsTheLettersAToZAlone) {
    store::Table categories(Categories::schema());
    ASSERT_EQ(openOrCreate(categories), store::kNoError);
    addCategories(categories, {"\xC3\xA4", "B", "a", "_", "[", "\xC3\x84", "b_"});
    EXPECT_EQ(categoryScan(categories, true),
              (std::vector<std::string>{"[", "_", "a", "B", "b_", "\xC3\x84", "\xC3\xA4"}));
    categories.rec<Categories>().CATEGORY = "A";
    EXPECT_EQ(categories.add(), store::kDuplicateKey);
    categories.rec<Categories>().CATEGORY = "\xC3\xA4";
    EXPECT_EQ(categories.add(), store::kDuplicateKey);
}

TEST_P(StoreKeysTest, LongScansOverRunsOfEqualComponentsMissNothing) {
    store::Table schedule(Schedule::schema());
    ASSERT_EQ(openOrCreate(schedule), store::kNoError);
    std::mt19937 random(7);
    using Entry = std::tuple<int, int, int, std::int64_t>;  // disabled, date, time, position
    std::vector<Entry> entries;
    auto& r = schedule.rec<Schedule>();
    ASSERT_EQ(schedule.stream(), store::kNoError);
    for (int id = 1; id <= 1500; ++id) {
        r.ID = id;
        r.DISABLED = random() % 5 == 0;
        r.DATE = 80000 + static_cast<int>(random() % 20);
        r.TIME = static_cast<int>(random() % 3) * 100;
        ASSERT_EQ(schedule.add(), store::kNoError);
        entries.emplace_back(r.DISABLED, r.DATE, r.TIME, schedule.position());
    }
    ASSERT_EQ(schedule.flush(), store::kNoError);
    std::sort(entries.begin(), entries.end());
    std::vector<std::int64_t> expected;
    for (const auto& e : entries) expected.push_back(std::get<3>(e));

    const int enabled = key(schedule, "KEYDATEENABLED");
    std::vector<std::int64_t> forward, backward;
    schedule.setStart(enabled);
    while (schedule.next() == store::kNoError) forward.push_back(schedule.position());
    schedule.setEnd(enabled);
    while (schedule.previous() == store::kNoError) backward.push_back(schedule.position());
    EXPECT_EQ(forward, expected);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, expected);
}

TEST_P(StoreKeysTest, GetFindsByKeyValuesAndRegetByPosition) {
    store::Table scripts(Scripting::schema());
    ASSERT_EQ(openOrCreate(scripts), store::kNoError);
    auto& s = scripts.rec<Scripting>();
    for (int seq = 1; seq <= 3; ++seq) {
        s.ID = 7;
        s.SEQUENCE = seq;
        s.ACTION = seq == 2 ? "Wait" : "Send Keystrokes";
        ASSERT_EQ(scripts.add(), store::kNoError);
    }
    store::clearRecord(scripts.schema(), &s);
    s.ID = 7;
    s.SEQUENCE = 2;
    ASSERT_EQ(scripts.get(0), store::kNoError);
    EXPECT_EQ(s.ACTION, "Wait");
    const std::int64_t second = scripts.position();
    s.SEQUENCE = 4;
    EXPECT_EQ(scripts.get(0), store::kRecordNotFound);
    EXPECT_EQ(scripts.get(9), store::kInvalidKeyLength);
    ASSERT_EQ(scripts.reget(second), store::kNoError);
    EXPECT_EQ(s.SEQUENCE, 2);
    EXPECT_EQ(scripts.reget(999), store::kRecordNotFound);

    // The last item of one script, as numbering looks for it.
    s.ID = 7;
    s.SEQUENCE = 2147483647;
    scripts.setAt(0);
    ASSERT_EQ(scripts.previous(), store::kNoError);
    EXPECT_EQ(s.SEQUENCE, 3);

    store::Table categories(Categories::schema());
    ASSERT_EQ(openOrCreate(categories), store::kNoError);
    addCategories(categories, {"Work"});
    categories.rec<Categories>().CATEGORY = "wORK";
    ASSERT_EQ(categories.get(0), store::kNoError);
    EXPECT_EQ(categories.rec<Categories>().CATEGORY, "Work");
}

TEST_P(StoreKeysTest, AScanSeesWritesMadeAfterItReadAhead) {
    store::Table categories(Categories::schema());
    ASSERT_EQ(openOrCreate(categories), store::kNoError);
    addCategories(categories, {"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"});
    store::Table other(Categories::schema());  // another window of this station
    ASSERT_EQ(other.open(), store::kNoError);
    categories.setStart(0);
    ASSERT_EQ(categories.next(), store::kNoError);
    ASSERT_EQ(categories.next(), store::kNoError);  // reads ahead from here
    EXPECT_EQ(categories.rec<Categories>().CATEGORY, "a2");
    other.rec<Categories>().CATEGORY = "a4";
    ASSERT_EQ(other.get(0), store::kNoError);
    ASSERT_EQ(other.erase(), store::kNoError);
    other.rec<Categories>().CATEGORY = "a3b";
    ASSERT_EQ(other.add(), store::kNoError);
    std::vector<std::string> rest;
    while (categories.next() == store::kNoError) rest.push_back(categories.rec<Categories>().CATEGORY.str());
    EXPECT_EQ(rest, (std::vector<std::string>{"a3", "a3b", "a5", "a6", "a7", "a8", "a9"}));
}

PLORIX_ON_BOTH_BACKENDS(StoreKeysTest);

// Every scan and look-up is a seek in its key's index; a scan from one end
// walks the index in order. Never a walk through the table or a sort.
class StoreKeyPlanTest : public StoreKeysTest {};
PLORIX_ON_THE_FILE(StoreKeyPlanTest);

TEST_P(StoreKeyPlanTest, ScansSeekInTheIndexOfTheirKey) {
    const std::vector<const store::TableSchema*> schemas{&Schedule::schema(), &Todo::schema(),
                                                         &Clipboard::schema(), &Contact::schema()};
    std::vector<std::unique_ptr<store::Table>> tables;
    for (const store::TableSchema* schema : schemas) {
        tables.push_back(std::make_unique<store::Table>(*schema));
        ASSERT_EQ(openOrCreate(*tables.back()), store::kNoError);
    }
    test::PlanReader reader{std::string(kDataFileName)};
    for (const store::TableSchema* schema : schemas) {
        const std::string t = store::splitStoredName(schema->storedName, *schema).table;
        for (const store::KeyDesc& key : schema->keys) {
            const std::string index = "INDEX " + store::sql::indexName(t, key);
            // The query and whether it must seek; reading on from a record
            // seeks once per component and once more on the position.
            std::vector<std::pair<std::string, bool>> queries{
                {store::sql::selectEqual(store::sqliteDialect(), *schema, t, key), true},
                {store::sql::selectFromEnd(store::sqliteDialect(), *schema, t, &key,
                                           store::sql::Direction::Forward),
                 false},
                {store::sql::selectFromEnd(store::sqliteDialect(), *schema, t, &key,
                                           store::sql::Direction::Backward),
                 false},
            };
            const int levels = store::sql::beyondLevels(&key);
            ASSERT_EQ(levels, static_cast<int>(key.components.size()) + 1);
            for (int level = 0; level < levels; ++level) {
                for (auto direction : {store::sql::Direction::Forward, store::sql::Direction::Backward}) {
                    queries.emplace_back(
                        store::sql::selectBeyond(store::sqliteDialect(), *schema, t, &key, direction, level),
                        true);
                }
            }
            for (const auto& [query, seek] : queries) {
                const auto plan = reader.plan(query);
                int steps = 0;
                for (const auto& line : plan) {
                    EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << key.name << ": " << line;
                    if (line.find(" TABLE " + t) == std::string::npos) continue;
                    ++steps;
                    const auto at = line.find(index);
                    ASSERT_NE(at, std::string::npos) << key.name << ": " << line;
                    EXPECT_TRUE(at + index.size() == line.size() || line[at + index.size()] == ' ')
                        << key.name << ": " << line;
                    if (seek) {
                        EXPECT_EQ(line.rfind("SEARCH TABLE", 0), 0u) << key.name << ": " << line;
                        EXPECT_NE(line.find("?)"), std::string::npos) << key.name << ": " << line;
                    }
                }
                EXPECT_EQ(steps, 1) << key.name << ": " << query;
                const bool onPosition = plan.size() == 1 && (plan[0].find("rowid>?") != std::string::npos ||
                                                             plan[0].find("rowid<?") != std::string::npos);
                EXPECT_EQ(onPosition, query.find(R"("_pos" >)") != std::string::npos ||
                                          query.find(R"("_pos" <)") != std::string::npos)
                    << key.name << ": " << (plan.empty() ? "" : plan[0]);
            }
        }
    }
}

}  // namespace
}  // namespace plorix::data
