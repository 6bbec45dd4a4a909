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

#include "data/error.h"
#include "runtime/prompter.h"

namespace plorix::data {

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
    int number;
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
const WarningDef* findWarning(int number);

// A warning ready to show.
struct WarningMessage {
    std::string title;
    std::string text;
    Icon icon;
    ButtonSet buttons;
    int defaultButton;
};

// Fills in the texts. Uses (and clears) a saved error when the text names E.
WarningMessage composeWarning(const WarningDef& def, std::string_view subject,
                              std::string_view detail);

// Shows warning `number` and returns the button pressed, or 0 for a message
// without a choice. Throws FatalError after showing a warning that ends the
// program. An unknown number is a programming error (std::invalid_argument).
int standardWarning(Prompter& prompter, int number, std::string_view subject = {},
                    std::string_view detail = {});

// An error kept by the cascade code for the next warning that names E, in
// place of the most recent store error. Used once, then cleared.
void setSavedError(const ErrorState& error);
void clearSavedError();
bool hasSavedError();

}  // namespace plorix::data
