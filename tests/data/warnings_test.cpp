#include "data/warnings.h"

#include <algorithm>
#include <vector>
#include <gtest/gtest.h>

#include "data/fatal_error.h"

namespace plorix::data {
namespace {

const std::vector<int> kAllNumbers = {1,  2,  3,  4,  5,  10, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                      21, 24, 25, 26, 27, 28, 29, 30, 31, 32, 34, 35, 36, 38};

store::ErrorState error(int code, std::string text) {
    store::ErrorState e;
    e.code = code;
    e.text = std::move(text);
    return e;
}

class StandardWarningTest : public ::testing::Test {
protected:
    void TearDown() override { clearSavedError(); }
    void expectShown(std::size_t i, std::string_view title, std::string_view text) {
        ASSERT_LT(i, prompter.shown().size());
        EXPECT_EQ(prompter.shown()[i].title, title);
        EXPECT_EQ(prompter.shown()[i].text, text);
    }
    RecordingPrompter prompter;
};

TEST_F(StandardWarningTest, CatalogueIsCompleteWithQuestionIconsOnlyOnQuestions) {
    // Every named warning has its row under its old number, and no number
    // is named twice.
    std::vector<int> seen;
    for (Warning w : kAllWarnings) {
        const int n = static_cast<int>(w);
        const WarningDef* def = findWarning(w);
        ASSERT_NE(def, nullptr) << n;
        const bool question = n == 27 || n == 29 || n == 32;
        EXPECT_EQ(def->icon, question ? Icon::Question : Icon::Warning) << n;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), n), 0) << n;
        seen.push_back(n);
    }
    EXPECT_EQ(seen, kAllNumbers);
}

TEST_F(StandardWarningTest, FillsSubjectDetailAndSavedErrorOnce) {
    setSavedError(error(36, "Invalid Data File   "));
    EXPECT_EQ(standardWarning(prompter, Warning::FileAccessError, "px97\\!s"), 0);
    ASSERT_EQ(prompter.shown().size(), 1u);
    expectShown(0, "File Access Error",
                "File (px97\\!s) could not be opened.  Error: Invalid Data File (36).");
    EXPECT_EQ(prompter.shown()[0].buttons, kOk);
    EXPECT_FALSE(hasSavedError());

    standardWarning(prompter, Warning::RangeError, "Priority", "1 and 9");
    EXPECT_EQ(prompter.shown()[1].text, "The value of Priority must be between 1 and 9.");
    standardWarning(prompter, Warning::DuplicateKey, "SCH:KEYID");
    EXPECT_EQ(prompter.shown()[2].text, "Adding this record creates a duplicate entry for the key:SCH:KEYID");
}

TEST_F(StandardWarningTest, DriverErrorReportsItsOwnTextAndCode) {
    store::ErrorState e = error(90, "File System Error");
    e.driverCode = 13;
    e.driverText = "Permission denied";
    setSavedError(e);
    standardWarning(prompter, Warning::RecordRetrievalError, "PX97\\!CF");
    EXPECT_EQ(prompter.shown()[0].text,
              "Error: (Permission denied (13)) attempting to access a record from the PX97\\!CF "
              "file.  Returning to previous window.");
}

TEST_F(StandardWarningTest, VariantTitlesAndTexts) {
    prompter.answerNext(kNo);
    EXPECT_EQ(standardWarning(prompter, Warning::EndOfFile, "Down"), kNo);
    standardWarning(prompter, Warning::EndOfFile, "Up");
    expectShown(0, "End of File Error",
                "The end of the viewed file was encountered.  Do you want to start again from the "
                "beginning?");
    expectShown(1, "Beginning of File Error",
                "The beginning of the viewed file was encountered.  Do you want to start again "
                "from the end of the file?");
    EXPECT_EQ(prompter.shown()[1].defaultButton, kYes);

    setSavedError(error(40, "Creates Duplicate Key"));
    standardWarning(prompter, Warning::ProcessPutError, "Put", "Schedule");
    setSavedError(error(40, "Creates Duplicate Key"));
    standardWarning(prompter, Warning::ProcessPutError, "Delete", "Schedule");
    expectShown(2, "Process PUT Error",
                "An error was experienced when making changes to the Schedule file.  Error: "
                "Creates Duplicate Key (40)");
    expectShown(3, "Process DELETE Error",
                "An error was experienced when deleting a record from the Schedule file.  Error: "
                "Creates Duplicate Key (40)");

    setSavedError(error(40, "Creates Duplicate Key"));
    standardWarning(prompter, Warning::TransactionFramingError, "Delete", "Schedule");
    EXPECT_EQ(prompter.shown()[4].text,
              "Error: (Creates Duplicate Key (40)) attempting to frame the delete transaction on "
              "Schedule.  Delete transaction cancelled.");

    setSavedError(error(33, "Record Not Available"));
    standardWarning(prompter, Warning::ViewOpenError, "Px97.TPS");
    EXPECT_EQ(prompter.shown()[5].text,
              "Error: (Record Not Available (33)) attempting to open the current VIEW.\rFilter "
              "and Range Limits ignored.\r\rRelated File: Px97.TPS");
}

TEST_F(StandardWarningTest, UpdateErrorNamesTheCauseUnlessTheRecordChanged) {
    setSavedError(error(89, "Record Changed By Another Station"));
    standardWarning(prompter, Warning::UpdateOperationError, "Linked task");
    EXPECT_EQ(prompter.shown()[0].text, "This record was changed by another station.");

    setSavedError(error(40, "Creates Duplicate Key"));
    standardWarning(prompter, Warning::UpdateOperationError, "Linked task");
    EXPECT_EQ(prompter.shown()[1].text,
              "An error (Creates Duplicate Key (40)) was experienced when attempting to update a "
              "record from the file.  Probable Cause: Linked task.");
    EXPECT_FALSE(hasSavedError());
}

TEST_F(StandardWarningTest, ButtonsAndResults) {
    prompter.answerNext(kRetry);
    EXPECT_EQ(standardWarning(prompter, Warning::AutoIncrementError), kRetry);
    EXPECT_EQ(prompter.shown()[0].buttons, kRetry | kCancel);
    EXPECT_EQ(prompter.shown()[0].defaultButton, kCancel);
    EXPECT_EQ(standardWarning(prompter, Warning::ConfirmDelete), kCancel);  // the default
    EXPECT_EQ(standardWarning(prompter, Warning::ChangeFailedTryAgain), kCancel);
    EXPECT_EQ(prompter.shown()[2].buttons, kYes | kNo | kCancel);
    EXPECT_EQ(standardWarning(prompter, Warning::RecordNotUpdated), 0);  // no choice
}

TEST_F(StandardWarningTest, FatalRowsEndTheProgramAfterShowingTheMessage) {
    const std::pair<Warning, const char*> fatal[] = {{Warning::InvalidFile, "Invalid File!"},
                                                     {Warning::KeyRebuildError, "Error Rebuilding Key!"},
                                                     {Warning::FileCreationError, "File Creation Error!"},
                                                     {Warning::CreatedFileOpenError, "File Creation Error!"}};
    for (const auto& [number, final] : fatal) {
        prompter.clear();
        try {
            standardWarning(prompter, number, "PX97\\!s");
            FAIL() << static_cast<int>(number);
        } catch (const FatalError& e) {
            EXPECT_STREQ(e.what(), final);
        }
        EXPECT_EQ(prompter.shown().size(), 1u) << static_cast<int>(number);
    }
    EXPECT_EQ(prompter.shown()[0].text.substr(prompter.shown()[0].text.find(") opening")),
              ") opening created file:PX97\\!s.  Press OK to end this application.");

    prompter.answerNext(kYes);
    EXPECT_EQ(standardWarning(prompter, Warning::InvalidKey, "PX97\\!s"), kYes);
    EXPECT_EQ(prompter.shown().back().text, "PX97\\!s key file is invalid.  Do you want to rebuild the key?");
    prompter.answerNext(kNo);
    EXPECT_THROW(
        try { standardWarning(prompter, Warning::InvalidKey, "PX97\\!s"); } catch (const FatalError& e) {
            EXPECT_STREQ(e.what(), "Invalid Key!");
            throw;
        },
        FatalError);
}

}  // namespace
}  // namespace plorix::data
