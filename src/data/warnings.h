#pragma once
// The standard warnings: the numbered messages that the open routine, the
// forms, the browses and the cascade code show when a file operation fails
// or needs the user's decision.
//
// A text names the subject S, the detail D and the error text E: the store's
// error text, a blank and the code in parentheses, or an error the cascade
// code saved for the next warning.

#include <string>
#include <string_view>

#include "store/error.h"
#include "runtime/prompter.h"

// The standard warnings by name, with the number each has always had.
#define PLORIX_STANDARD_WARNINGS(W) \
    W(InvalidFile, 1)               \
    W(InvalidKey, 2)                \
    W(KeyRebuildError, 3)           \
    W(FileCreationError, 4)         \
    W(CreatedFileOpenError, 5)      \
    W(RangeError, 10)               \
    W(ReferencedOnChange, 12)       \
    W(ReferencedOnDelete, 13)       \
    W(RecordInsertError, 14)        \
    W(UpdateOperationError, 15)     \
    W(ChangeFailedTryAgain, 16)     \
    W(DeleteOperationError, 17)     \
    W(DeleteFailedTryAgain, 18)     \
    W(InsertNotAllowed, 19)         \
    W(ChangeNotAllowed, 20)         \
    W(DeleteNotAllowed, 21)         \
    W(DuplicateKey, 24)             \
    W(AutoIncrementError, 25)       \
    W(FileLoadError, 26)            \
    W(CancelRequest, 27)            \
    W(EmptyFile, 28)                \
    W(EndOfFile, 29)                \
    W(FileAccessError, 30)          \
    W(ProcessPutError, 31)          \
    W(ConfirmDelete, 32)            \
    W(TransactionFramingError, 34)  \
    W(RecordRetrievalError, 35)     \
    W(ViewOpenError, 36)            \
    W(RecordNotUpdated, 38)

namespace plorix::data {

#define PLORIX_WARNING_ENUMERATOR(name, number) name = number,
enum class Warning : int { PLORIX_STANDARD_WARNINGS(PLORIX_WARNING_ENUMERATOR) };
#undef PLORIX_WARNING_ENUMERATOR

#define PLORIX_WARNING_ENTRY(name, number) Warning::name,
inline constexpr Warning kAllWarnings[] = {PLORIX_STANDARD_WARNINGS(PLORIX_WARNING_ENTRY)};
#undef PLORIX_WARNING_ENTRY

// What the program does once the message has been answered.
enum class Afterwards {
    Nothing,        // returns 0 (a message without a choice)
    ReturnsButton,  // returns the button pressed
    Ends,           // the program ends with the final message
    EndsOnNo,       // No ends the program with the final message, Yes returns 2
};

// Which rows read another title and text.
enum class Variant {
    None,
    SubjectIsDown,    // main text when S is "Down", alternative otherwise
    SubjectIsPut,     // main text when S is "Put", alternative otherwise
    ErrorOtherThan89  // main text when an error other than 89 is set
};

struct WarningDef {
    Warning number;
    std::string_view title;
    // {S} subject, {s} subject in lower case, {D} detail, {E} error text.
    std::string_view text;
    ButtonSet buttons;
    int defaultButton;
    Icon icon;
    Afterwards afterwards;
    std::string_view finalMessage;  // for Ends and EndsOnNo
    Variant variant = Variant::None;
    std::string_view altTitle = {};  // empty: the main title
    std::string_view altText = {};
};

// The catalogue row of a number; nullptr when there is none.
const WarningDef* findWarning(Warning number);

// A warning ready to show.
struct WarningMessage {
    std::string title;
    std::string text;
    Icon icon;
    ButtonSet buttons;
    int defaultButton;
};

// Fills in the texts. Uses (and clears) a saved error when the text names E.
WarningMessage composeWarning(const WarningDef& def, std::string_view subject, std::string_view detail);

// Shows a warning and returns the button pressed, or 0 for a message
// without a choice. Throws FatalError after showing a warning that ends the
// program.
int standardWarning(Prompter& prompter, Warning warning, std::string_view subject = {},
                    std::string_view detail = {});

// An error kept by the cascade code for the next warning that names E, in
// place of the most recent store error. Used once, then cleared; each
// thread keeps its own.
void setSavedError(const store::ErrorState& error);
void clearSavedError();
bool hasSavedError();

}  // namespace plorix::data
