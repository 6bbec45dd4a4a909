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

namespace plorix::io {

// How a value is written, chosen by the picture's type letter.
enum class CsvForm { Text, Number, Formatted };
CsvForm csvFormOfPicture(std::string_view picture);  // "@s20" -> Text, "@n3" -> Number ...

class CsvLineWriter {
public:
    void clear() { line_.clear(); fields_ = 0; }
    // Appends one already formatted value in the given form.
    void append(std::string_view value, CsvForm form);
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

private:
    std::string_view line_;
    std::size_t pos_ = 0;
    bool done_ = false;
    bool unbalanced_ = false;
};

}  // namespace plorix::io
