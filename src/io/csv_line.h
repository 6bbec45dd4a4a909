#pragma once
// The comma-separated line format shared by export, import and the
// command-line tool: one line writer and one line reader.
//
// A text field is written in double quotes with inner quotes doubled and
// trailing blanks removed; a number bare; anything else (dates, times)
// formatted and quoted. The reader takes quoted and bare fields back.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plorix::io {

// The longest line a file may hold, in characters (line end excluded).
inline constexpr std::size_t kMaxLineCharacters = 16000;

// How a value is written, chosen by the picture's type letter.
enum class CsvForm { Text, Number, Formatted };
CsvForm csvFormOfPicture(std::string_view picture);  // "@s20" -> Text, "@n3" -> Number ...

class CsvLineWriter {
public:
    void clear() {
        line_.clear();
        fields_ = 0;
    }
    // Appends one already formatted value in the given form. A bare value
    // that holds a comma, a double quote or a line break is quoted all the
    // same, so that the line still reads back as it was written.
    void append(std::string_view value, CsvForm form);
    // Appends a value formatted with `picture`, in the form its letter selects.
    void appendField(std::string_view value, std::string_view picture) {
        append(value, csvFormOfPicture(picture));
    }
    // Appends a field name of the header line (always quoted).
    void appendName(std::string_view name) { append(name, CsvForm::Text); }
    const std::string& line() const { return line_; }
    std::size_t fields() const { return fields_; }

private:
    std::string line_;
    std::size_t fields_ = 0;
};

class CsvLineReader {
public:
    enum Result { kNone = 0, kQuoted = 1, kBare = 2 };
    explicit CsvLineReader(std::string_view line) : line_(line) {}
    // Reads the next field into `field`; kNone when no field is left.
    // An unterminated quote takes the rest of the line and sets unbalanced().
    Result next(std::string& field);
    bool unbalanced() const { return unbalanced_; }
    // True when the last field read was followed by a comma and nothing but
    // blanks: the line ends in an empty field that next() does not return.
    bool danglingComma() const { return dangling_; }

private:
    std::string_view line_;
    std::size_t pos_ = 0;
    bool done_ = false;
    bool unbalanced_ = false;
    bool dangling_ = false;
};

struct CsvField {
    std::string text;
    bool quoted = false;
};

// Every field of a line, an empty last field after a dangling comma
// included. False (with the fields read so far) when a quote is not closed.
bool splitCsvLine(std::string_view line, std::vector<CsvField>& fields);

}  // namespace plorix::io
