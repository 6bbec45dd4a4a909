#pragma once
// What an import reads: the columns of the file (one per field of its first
// line) and the target field each column feeds.

#include <string>
#include <string_view>
#include <vector>

#include "io/exchange_fields.h"

namespace plorix::io {

inline constexpr std::string_view kTextColumnPicture = "@S1000";
inline constexpr std::string_view kNumberColumnPicture = "@N30.9";

struct ImportColumn {
    std::string name;     // "Field_1"
    std::string picture;  // "@S1000"; "@N30.9" when the second line has it unquoted
    std::string sample;   // the first line's text of the field, up to 100 characters
    int target = -1;      // index into the table's import targets; -1: ignored
};

// The column type as the import window shows it: "Alpha-num" for a text
// picture, "Numeric" for a number picture, else the picture itself.
std::string columnTypeText(std::string_view picture);

struct ImportPlan {
    ExchangeTable table = ExchangeTable::Schedule;
    std::string file;
    std::vector<ImportColumn> columns;
    bool firstLineHasNames = true;

    // Assigns each target field to the column whose first-line text is its
    // name (any letter case); the schedule's dates and times so assigned
    // read with "@d6" and "@t3". Earlier assignments are dropped.
    void assignByName();
    bool anyAssigned() const;
};

// Why the columns could not be read: the title and text to show.
struct ImportProblem {
    std::string title;
    std::string text;
    bool emptyFile = false;  // the window asks for another file
};

// Reads the first two lines of plan.file into plan.columns. False with the
// problem filled when the file cannot be opened, is empty or its first line
// cannot be read.
bool readImportColumns(ImportPlan& plan, ImportProblem& problem);

}  // namespace plorix::io
