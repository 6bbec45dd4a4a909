#pragma once
// Splits a comma-separated file into its lines as the import reads them.
//
// Lines end in CR LF or LF. A quoted field may hold line breaks (a to-do's
// notes exported with theirs), so one line of the format may span several
// lines of the file. A line that cannot be read is returned with an error
// and the reader goes on with the next one, so one bad line never costs the
// others: a NUL byte, a CR without LF outside quotes, text that is not UTF-8,
// more than 16,000 characters, or a quote never closed. A UTF-8 byte-order
// mark at the start of the file is passed over.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace plorix::io {

struct CsvRecord {
    std::string text;           // without its line end
    std::size_t firstLine = 0;  // lines of the file it covers, from 1
    std::size_t lastLine = 0;
    std::string error;  // why it cannot be read; empty when it can

    bool blank() const;  // nothing but blanks and tabs
    // "line 7" or "lines 7-9", for messages.
    std::string where() const;
};

class CsvRecordReader {
public:
    explicit CsvRecordReader(std::istream& in) : in_(in) {}
    // The next line; false at the end of the file.
    bool next(CsvRecord& record);
    // Bytes of the file taken so far, for the progress display.
    std::uint64_t bytesRead() const { return consumed_ + pos_; }

private:
    enum class State { FieldStart, Bare, Quoted, AfterQuote };
    bool fill();  // more bytes into the buffer; false at the end of the file
    bool more() { return pos_ < buffer_.size() || fill(); }

    std::istream& in_;
    std::string buffer_;          // bytes from the start of the current line
    std::size_t pos_ = 0;         // next byte to read in buffer_
    std::uint64_t consumed_ = 0;  // bytes dropped from the front of buffer_
    std::size_t line_ = 1;        // line of the file at pos_
    bool started_ = false;        // the byte-order mark has been looked for
};

}  // namespace plorix::io
