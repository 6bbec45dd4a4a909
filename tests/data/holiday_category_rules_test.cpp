// Saving holidays and categories from their update forms.

#include <gtest/gtest.h>

#include "data/cascade_support.h"
#include "data/holiday_category_rules.h"

namespace plorix::data {
namespace {

using test::Strings;

class HolidayCategoryRules : public test::CascadeFile {
protected:
    int addHoliday(Date date, const char* name, bool annual = false) {
        store::clearRecord(holidays.schema(), holidays.buffer());
        holidays.rec<Holidays>().HOLIDAYDATE = date;
        holidays.rec<Holidays>().HOLIDAY = name;
        holidays.rec<Holidays>().ANNUAL = annual ? 1 : 0;
        return saveRecord(holidays, prompter, FormAction::Adding, nullptr, holidayForm());
    }
    int addCategory(const char* name) {
        store::clearRecord(categories.schema(), categories.buffer());
        categories.rec<Categories>().CATEGORY = name;
        return saveRecord(categories, prompter, FormAction::Adding, nullptr, categoryForm());
    }
    const Date christmas = makeDate(12, 25, 2026);
    const Date newYear = makeDate(1, 1, 2027);
};

TEST_F(HolidayCategoryRules, ASecondHolidayOnADateIsRefusedNamingTheKey) {
    EXPECT_EQ(formCaption(FormAction::Adding, holidayForm()), "Adding a Holiday");
    EXPECT_EQ(formCaption(FormAction::Changing, holidayForm()), "Changing a Holiday");
    ASSERT_EQ(addHoliday(christmas, "Christmas", true), kWritten);
    ASSERT_EQ(addHoliday(newYear, "New Year"), kWritten);
    EXPECT_EQ(addHoliday(christmas, "Christmas again"), kNotWritten);
    EXPECT_EQ(lastTitle(), "Duplicate Key Error");
    EXPECT_EQ(lastText(), "Adding this record creates a duplicate entry for the key:HOL:KeyHolidayDate");
    // The form keeps what was entered.
    EXPECT_EQ(holidays.rec<Holidays>().HOLIDAY, "Christmas again");
    EXPECT_EQ(holidays.records(), 2);

    // Moving a holiday onto another's date is refused too; renaming it is not.
    holidays.rec<Holidays>().HOLIDAYDATE = newYear;
    ASSERT_EQ(holidays.get(0), store::kNoError);
    const auto original = keepOriginal(holidays);
    holidays.rec<Holidays>().HOLIDAYDATE = christmas;
    EXPECT_EQ(saveRecord(holidays, prompter, FormAction::Changing, original.get(), holidayForm()),
              kNotWritten);
    holidays.rec<Holidays>().HOLIDAYDATE = newYear;
    holidays.rec<Holidays>().HOLIDAY = "New Year's Day";
    EXPECT_EQ(saveRecord(holidays, prompter, FormAction::Changing, original.get(), holidayForm()), kWritten);
    EXPECT_EQ(stored(R"(SELECT "HOLIDAY" FROM "Hol" ORDER BY "HOLIDAYDATE")"),
              (Strings{"Christmas", "New Year's Day"}));
}

TEST_F(HolidayCategoryRules, RequiredFieldsLeftBlankKeepTheFormOpenWithoutAMessage) {
    EXPECT_EQ(addHoliday(0, "Someday"), kIncomplete);
    ASSERT_NE(missingField(holidays, holidayForm()), nullptr);
    EXPECT_EQ(missingField(holidays, holidayForm())->name, "HOL:HOLIDAYDATE");
    EXPECT_EQ(addCategory("  "), kIncomplete);
    EXPECT_EQ(missingField(categories, categoryForm())->name, "CAT:CATEGORY");
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(holidays.records(), 0);
    EXPECT_EQ(categories.records(), 0);
}

TEST_F(HolidayCategoryRules, CategoryNamesAreUniqueRegardlessOfCase) {
    EXPECT_EQ(formCaption(FormAction::Adding, categoryForm()), "Adding a Categories Record");
    ASSERT_EQ(addCategory("Work"), kWritten);
    EXPECT_EQ(addCategory("WORK"), kNotWritten);
    EXPECT_EQ(lastText(), "Adding this record creates a duplicate entry for the key:CAT:KeyCategory");
    ASSERT_EQ(addCategory("Home"), kWritten);

    // A new spelling of its own name is no duplicate.
    ASSERT_EQ(loadByName(categories, "Work"), store::kNoError);
    const auto original = keepOriginal(categories);
    categories.rec<Categories>().CATEGORY = "work";
    EXPECT_EQ(saveRecord(categories, prompter, FormAction::Changing, original.get(), categoryForm()),
              kWritten);
    categories.rec<Categories>().CATEGORY = "home";
    EXPECT_EQ(saveRecord(categories, prompter, FormAction::Changing, original.get(), categoryForm()),
              kNotWritten);
    EXPECT_EQ(stored(R"(SELECT "CATEGORY" FROM "Categories" ORDER BY 1)"), (Strings{"Home", "work"}));
}

TEST_F(HolidayCategoryRules, ACategoryInUseKeepsItsNameAndCannotBeDeleted) {
    ASSERT_EQ(addCategory("Work"), kWritten);
    addTask(1, "Work");
    ASSERT_EQ(loadByName(categories, "Work"), store::kNoError);
    const auto original = keepOriginal(categories);
    categories.rec<Categories>().CATEGORY = "Job";
    EXPECT_EQ(saveRecord(categories, prompter, FormAction::Changing, original.get(), categoryForm()),
              kNotWritten);
    EXPECT_EQ(lastTitle(), "Referential Integrity Update Error");
    EXPECT_EQ(categories.rec<Categories>().CATEGORY, "Work");
    EXPECT_EQ(deleteRecord(categories, prompter), kNotDeleted);
    EXPECT_EQ(lastText(),
              "This record is referenced from the file Schedule.  This record cannot be deleted "
              "while these references exist.");
    EXPECT_EQ(stored(R"(SELECT "CATEGORY" FROM "Categories")"), Strings{"Work"});
    EXPECT_EQ(stored(R"(SELECT "CATEGORY" FROM "s")"), Strings{"Work"});
}

TEST_F(HolidayCategoryRules, AnAddTheStoreRefusesIsReportedWithItsError) {
    store::Table readOnly(Holidays::schema());
    ASSERT_EQ(readOnly.open(store::kReadOnlyDenyNone), store::kNoError);
    readOnly.rec<Holidays>().HOLIDAYDATE = christmas;
    EXPECT_EQ(saveRecord(readOnly, prompter, FormAction::Adding, nullptr, holidayForm()), kNotWritten);
    EXPECT_EQ(lastTitle(), "Record Insert Error");
    EXPECT_EQ(lastText(), "An error was experienced during the update of record.  Error: Access Denied (5).");
    EXPECT_FALSE(hasSavedError());
}

}  // namespace
}  // namespace plorix::data
