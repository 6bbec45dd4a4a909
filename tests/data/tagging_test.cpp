// Tags of browse lists in the tag file: setting, walking, counting, clearing.

#include "data/tagging.h"

#include <gtest/gtest.h>

#include <vector>

#include "data/fatal_error.h"
#include "data/process_tables.h"
#include "data/tables/tag_file.h"
#include "support/temp_dir.h"

namespace plorix::data {
namespace {

class Tagging : public ::testing::Test {
protected:
    void TearDown() override {
        setTagFileMode(store::kReadWriteDenyNone);
        resetTagState();
        resetProcessTables();
    }
    std::vector<TaggedRecord> walk(TagTable table) {
        std::vector<TaggedRecord> seen;
        for (TaggedRecord r = firstTag(prompter, table); r != 0; r = nextTag(prompter, table))
            seen.push_back(r);
        return seen;
    }
    // Adds a tag the way another station would, unseen by the kept count.
    void tagBehindTheBack(TagTable table, TaggedRecord record) {
        store::Table other(TagFile_::schema());
        ASSERT_EQ(other.open(), store::kNoError);
        other.rec<TagFile_>().TBL = table;
        other.rec<TagFile_>().PTR = record;
        ASSERT_EQ(other.add(), store::kNoError);
    }
    std::int64_t tagRecords() {
        store::Table other(TagFile_::schema());
        return other.open() == store::kNoError ? other.records() : -1;
    }
    void tagMany(TagTable table, int n) {
        TableUse hold(tagFile(), prompter, tagFileOptions());
        for (int i = 1; i <= n; ++i) setTag(prompter, table, i);
    }

    test::TempDir dir;
    RecordingPrompter prompter;
};

TEST_F(Tagging, ARecordIsTaggedOnceWhateverItsValueAndTableZeroHasNoTags) {
    setTag(prompter, 3, 41, "first");
    EXPECT_TRUE(isTagged(prompter, 3, 41));
    EXPECT_FALSE(isTagged(prompter, 4, 41));
    EXPECT_EQ(countTags(prompter, 3), 1);
    setTag(prompter, 3, 41, "second");
    EXPECT_EQ(countTags(prompter, 3), 1);
    EXPECT_EQ(tagRecords(), 1);
    clearTag(prompter, 3, 41);
    clearTag(prompter, 3, 41);  // nothing left to clear
    EXPECT_FALSE(isTagged(prompter, 3, 41));
    EXPECT_EQ(countTags(prompter, 3), 0);

    setTag(prompter, 0, 41);
    EXPECT_FALSE(isTagged(prompter, 0, 41));
    EXPECT_EQ(countTags(prompter, 0), 0);
    EXPECT_EQ(firstTag(prompter, 0), 0);
    EXPECT_EQ(tagRecords(), 0);
    // A plain file, readable without a key.
    EXPECT_EQ(dir.read("TagFile_.TPS").substr(0, 15), "SQLite format 3");
}

TEST_F(Tagging, TagsAreWalkedByValueThenInTheOrderTheyWereSet) {
    setTag(prompter, 1, 10, "b");
    setTag(prompter, 1, 11, "A");
    setTag(prompter, 2, 12, "a");
    setTag(prompter, 1, 13, "a");
    EXPECT_EQ(walk(1), (std::vector<TaggedRecord>{11, 13, 10}));
    EXPECT_EQ(walk(2), (std::vector<TaggedRecord>{12}));

    // Tags cleared and set during a walk do not throw it off.
    ASSERT_EQ(firstTag(prompter, 1), 11);
    clearTag(prompter, 1, 11);
    clearTag(prompter, 1, 13);
    setTag(prompter, 1, 14, "c");
    EXPECT_EQ(nextTag(prompter, 1), 10);
    EXPECT_EQ(nextTag(prompter, 1), 14);
    EXPECT_EQ(nextTag(prompter, 1), 0);
    EXPECT_EQ(nextTag(prompter, 1), 0);
    // A walk belongs to its table.
    ASSERT_EQ(firstTag(prompter, 1), 10);
    EXPECT_EQ(nextTag(prompter, 2), 0);
}

TEST_F(Tagging, TheCountOfTheTableCountedLastIsKeptAndFollowsItsTags) {
    tagMany(5, 250);
    EXPECT_EQ(countTags(prompter, 5), 250);
    ASSERT_EQ(prompter.progressTitles, std::vector<std::string>{"Counting Tags"});
    EXPECT_EQ(prompter.progressTexts.back(), "250");

    tagBehindTheBack(5, 999);
    EXPECT_EQ(countTags(prompter, 5), 250);  // not read again
    EXPECT_EQ(prompter.progressTitles.size(), 1u);
    setTag(prompter, 5, 1000);
    clearTag(prompter, 5, 1);
    clearTag(prompter, 5, 2);
    EXPECT_EQ(countTags(prompter, 5), 249);

    // Tagging another table lets go of the kept count.
    setTag(prompter, 6, 1);
    EXPECT_EQ(countTags(prompter, 5), 250);
    EXPECT_EQ(countTags(prompter, 6), 1);
}

TEST_F(Tagging, TheOnlyTaggedTableIsClearedByEmptyingTheFile) {
    tagMany(1, 30);
    TagClear clearing(prompter, 1);
    EXPECT_TRUE(clearing.quick());
    EXPECT_FALSE(clearing.step());
    EXPECT_EQ(tagRecords(), 0);
    EXPECT_TRUE(prompter.progressTitles.empty());
    EXPECT_EQ(countTags(prompter, 1), 0);
}

TEST_F(Tagging, OneOfTwoTablesIsClearedTagByTagUnderProgress) {
    tagMany(1, 25);
    tagMany(2, 3);
    clearAllTags(prompter, 1);
    EXPECT_EQ(walk(1), std::vector<TaggedRecord>{});
    EXPECT_EQ(walk(2), (std::vector<TaggedRecord>{1, 2, 3}));
    ASSERT_EQ(prompter.progressTitles.back(), "Clearing Tags");
    EXPECT_EQ(prompter.progressTexts.back(), "100%");
    EXPECT_EQ(prompter.progressPercents.back(), 100);
    EXPECT_EQ(prompter.progressesFinished, 1);
    EXPECT_EQ(countTags(prompter, 1), 0);
    EXPECT_EQ(countTags(prompter, 2), 3);
}

TEST_F(Tagging, CancelStopsClearingAndTheKeptCountIsWhatRemains) {
    tagMany(1, 35);
    tagMany(2, 1);
    prompter.cancelProgressAfter = 12;
    TagClear clearing(prompter, 1);
    EXPECT_TRUE(clearing.step());
    EXPECT_FALSE(clearing.step());
    EXPECT_EQ(clearing.cleared(), 12);
    EXPECT_EQ(countTags(prompter, 1), 23);
    resetTagState();
    EXPECT_EQ(countTags(prompter, 1), 23);
}

TEST_F(Tagging, AFailedWriteEndsTheProgramNamingTheOperation) {
    setTag(prompter, 1, 1);
    setTagFileMode(store::kReadOnlyDenyNone);
    try {
        setTag(prompter, 1, 2);
        FAIL() << "no FatalError";
    } catch (const FatalError& e) {
        EXPECT_STREQ(e.what(), "Error #5 - Access Denied (SetTag_/ADD)");
    }
    EXPECT_THROW(clearTag(prompter, 1, 1), FatalError);
    setTagFileMode(store::kReadWriteDenyNone);
    EXPECT_TRUE(isTagged(prompter, 1, 1));
    EXPECT_FALSE(isTagged(prompter, 1, 2));
}

}  // namespace
}  // namespace plorix::data
