#include "data/warnings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <stdexcept>

#include "data/fatal_error.h"
#include "store/store.h"

namespace plorix::data {
namespace {

constexpr ButtonSet kYesNo = kYes | kNo;
constexpr ButtonSet kYesNoCancel = kYes | kNo | kCancel;
constexpr ButtonSet kRetryCancel = kRetry | kCancel;
constexpr ButtonSet kOkCancel = kOk | kCancel;

using A = Afterwards;
using V = Variant;
constexpr Icon W = Icon::Warning;
constexpr Icon Q = Icon::Question;

// clang-format off
constexpr std::array kCatalogue = {
    WarningDef{Warning::InvalidFile, "Invalid File",
        "Error: ({E}) accessing {S}.  Press OK to end this application.",
        kOk, kOk, W, A::Ends, "Invalid File!"},
    WarningDef{Warning::InvalidKey, "Invalid Key",
        "{S} key file is invalid.  Do you want to rebuild the key?",
        kYesNo, kYes, W, A::EndsOnNo, "Invalid Key!"},
    WarningDef{Warning::KeyRebuildError, "Key Rebuild Error",
        "Error: ({E}) repairing key for {S}.  Press OK to end this application.",
        kOk, kOk, W, A::Ends, "Error Rebuilding Key!"},
    WarningDef{Warning::FileCreationError, "File Creation Error",
        "Error: ({E}) creating {S}.  Press OK to end this application.",
        kOk, kOk, W, A::Ends, "File Creation Error!"},
    WarningDef{Warning::CreatedFileOpenError, "File Creation Error",
        "Error: ({E}) opening created file:{S}.  Press OK to end this application.",
        kOk, kOk, W, A::Ends, "File Creation Error!"},
    WarningDef{Warning::RangeError, "Range Error",
        "The value of {S} must be between {D}.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::ReferencedOnChange, "Referential Integrity Update Error",
        "This record is referenced from the file {S}.  Linking field(s) have been restricted "
        "from change and have been reset to original values.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::ReferencedOnDelete, "Referential Integrity Delete Error",
        "This record is referenced from the file {S}.  This record cannot be deleted while "
        "these references exist.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::RecordInsertError, "Record Insert Error",
        "An error was experienced during the update of record.  Error: {E}.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::UpdateOperationError, "Update Operation Error",
        "An error ({E}) was experienced when attempting to update a record from the file.  "
        "Probable Cause: {S}.",
        kOk, kOk, W, A::Nothing, {}, V::ErrorOtherThan89, {},
        "This record was changed by another station."},
    WarningDef{Warning::ChangeFailedTryAgain, "Record Update Error",
        "An error was experienced changing this record.  Do you want to try to save again?",
        kYesNoCancel, kCancel, W, A::ReturnsButton, {}},
    WarningDef{Warning::DeleteOperationError, "Delete Operation Error",
        "An error ({E}) was experienced when attempting to delete a record from the file {S}.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::DeleteFailedTryAgain, "Record Update Error",
        "An error was experienced deleting this record.  Do you want to try to save again?",
        kYesNoCancel, kCancel, W, A::ReturnsButton, {}},
    WarningDef{Warning::InsertNotAllowed, "Invalid Request",
        "This procedure was called to insert a record, however inserts are not allowed for "
        "this procedure.  Press OK to return to the calling procedure",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::ChangeNotAllowed, "Invalid Request",
        "This procedure was called to change a record, however changes are not allowed for "
        "this procedure.  Press OK to return to the calling procedure",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::DeleteNotAllowed, "Invalid Request",
        "This procedure was called to delete a record, however deletions are not allowed for "
        "this procedure.  Press OK to return to the calling procedure",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::DuplicateKey, "Duplicate Key Error",
        "Adding this record creates a duplicate entry for the key:{S}",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::AutoIncrementError, "Auto Increment Error",
        "Attempts to automatically number this record have failed.  Error: {E}.",
        kRetryCancel, kCancel, W, A::ReturnsButton, {}},
    WarningDef{Warning::FileLoadError, "File Load Error",
        "{S} File Load Error.  Error: {E}.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::CancelRequest, "Cancel Request",
        "Are you certain you want to stop loading {S}?",
        kOkCancel, kCancel, Q, A::ReturnsButton, {}},
    WarningDef{Warning::EmptyFile, "File Load Error",
        "{S} File Load Error.  The file you've requested contains no text.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::EndOfFile, "End of File Error",
        "The end of the viewed file was encountered.  Do you want to start again from the "
        "beginning?",
        kYesNo, kYes, Q, A::ReturnsButton, {}, V::SubjectIsDown, "Beginning of File Error",
        "The beginning of the viewed file was encountered.  Do you want to start again from "
        "the end of the file?"},
    WarningDef{Warning::FileAccessError, "File Access Error",
        "File ({S}) could not be opened.  Error: {E}.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::ProcessPutError, "Process PUT Error",
        "An error was experienced when making changes to the {D} file.  Error: {E}",
        kOk, kOk, W, A::Nothing, {}, V::SubjectIsPut, "Process DELETE Error",
        "An error was experienced when deleting a record from the {D} file.  Error: {E}"},
    WarningDef{Warning::ConfirmDelete, "Confirm Delete",
        "You've selected to delete the highlighted record.  Press OK to confirm deletion of "
        "this record.",
        kOkCancel, kCancel, Q, A::ReturnsButton, {}},
    WarningDef{Warning::TransactionFramingError, "Transaction Framing Error",
        "Error: ({E}) attempting to frame the {s} transaction on {D}.  {S} transaction "
        "cancelled.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::RecordRetrievalError, "Record Retrieval Error",
        "Error: ({E}) attempting to access a record from the {S} file.  Returning to previous "
        "window.",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::ViewOpenError, "View Open Error",
        "Error: ({E}) attempting to open the current VIEW.\rFilter and Range Limits "
        "ignored.\r\rRelated File: {S}",
        kOk, kOk, W, A::Nothing, {}},
    WarningDef{Warning::RecordNotUpdated, "Record Was Not Updated",
        "This record was changed by another station. Those changes will now be displayed. "
        "Use the Ditto Button or Ctrl+' to recall your changes.",
        kOk, kOk, W, A::Nothing, {}},
};
// clang-format on

// Kept per thread, as the store's last error is: a worker's warning never
// takes the error the window thread saved.
thread_local std::optional<store::ErrorState> savedError;

// The error a warning reports: the saved one (used once) or the store's last.
store::ErrorState currentError(bool consume) {
    if (savedError) {
        store::ErrorState e = *savedError;
        if (consume) savedError.reset();
        return e;
    }
    return store::lastError();
}

std::string lowerCase(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string fillIn(std::string_view pattern, std::string_view subject, std::string_view detail) {
    std::string out;
    out.reserve(pattern.size() + subject.size() + detail.size() + 40);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}') {
            switch (pattern[i + 1]) {
            case 'S':
                out += subject;
                i += 2;
                continue;
            case 's':
                out += lowerCase(subject);
                i += 2;
                continue;
            case 'D':
                out += detail;
                i += 2;
                continue;
            case 'E':
                out += currentError(true).describe();
                i += 2;
                continue;
            default: break;
            }
        }
        out += pattern[i];
    }
    return out;
}

bool useMainText(const WarningDef& def, std::string_view subject) {
    switch (def.variant) {
    case Variant::None: return true;
    case Variant::SubjectIsDown: return subject == "Down";
    case Variant::SubjectIsPut: return subject == "Put";
    case Variant::ErrorOtherThan89: {
        const store::ErrorState e = currentError(false);
        return e.code != 0 && e.code != store::kRecordChanged;
    }
    }
    return true;
}

}  // namespace

const WarningDef* findWarning(Warning number) {
    for (const WarningDef& def : kCatalogue)
        if (def.number == number) return &def;
    return nullptr;
}

WarningMessage composeWarning(const WarningDef& def, std::string_view subject, std::string_view detail) {
    const bool main = useMainText(def, subject);
    WarningMessage m;
    m.title = std::string(main || def.altTitle.empty() ? def.title : def.altTitle);
    m.text = fillIn(main || def.altText.empty() ? def.text : def.altText, subject, detail);
    m.icon = def.icon;
    m.buttons = def.buttons;
    m.defaultButton = def.defaultButton;
    return m;
}

int standardWarning(Prompter& prompter, Warning warning, std::string_view subject, std::string_view detail) {
    const WarningDef* def = findWarning(warning);
    // Every enumerator has its row (checked by the tests); a missing one is
    // a programming error.
    if (!def) throw std::logic_error("no standard warning " + std::to_string(static_cast<int>(warning)));
    const WarningMessage m = composeWarning(*def, subject, detail);
    const int answer = prompter.message(m.title, m.text, m.icon, m.buttons, m.defaultButton);
    switch (def->afterwards) {
    case Afterwards::Nothing: return 0;
    case Afterwards::ReturnsButton: return answer;
    case Afterwards::Ends: throw FatalError(std::string(def->finalMessage));
    case Afterwards::EndsOnNo:
        if (answer == kNo) throw FatalError(std::string(def->finalMessage));
        return answer;
    }
    return 0;
}

void setSavedError(const store::ErrorState& error) { savedError = error; }

void clearSavedError() { savedError.reset(); }

bool hasSavedError() { return savedError.has_value(); }

}  // namespace plorix::data
