// Comma-separated files of arbitrary bytes. Reading must not fail; every
// line read without an error splits into fields whose quotes are balanced,
// stays within the line limit, and survives being written out again and
// read back; the reader never loses or repeats a byte of the file.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "io/csv_line.h"
#include "io/csv_records.h"
#include "runtime/fixed_text.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::vector<plorix::io::CsvRecord> readAll(const std::string& content, std::uint64_t& bytes) {
    std::istringstream in(content);
    plorix::io::CsvRecordReader reader(in);
    std::vector<plorix::io::CsvRecord> records;
    plorix::io::CsvRecord record;
    std::uint64_t before = 0;
    std::size_t line = 0;
    while (reader.next(record)) {
        check(reader.bytesRead() > before);
        check(record.firstLine > line && record.lastLine >= record.firstLine);
        before = reader.bytesRead();
        line = record.lastLine;
        records.push_back(record);
    }
    bytes = reader.bytesRead();
    return records;
}

void roundTrip(const plorix::io::CsvRecord& record) {
    std::vector<plorix::io::CsvField> fields;
    check(plorix::io::splitCsvLine(record.text, fields));
    check(plorix::characterCount(record.text) <= plorix::io::kMaxLineCharacters);
    check(record.text.find('\0') == std::string::npos);

    plorix::io::CsvLineWriter writer;
    for (const auto& field : fields) writer.append(field.text, plorix::io::CsvForm::Text);
    std::vector<plorix::io::CsvField> again;
    check(plorix::io::splitCsvLine(writer.line(), again));
    check(again.size() == fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) check(again[i].text == plorix::clip(fields[i].text));

    // Written as a line of a file, it is read back as one line.
    if (plorix::characterCount(writer.line()) > plorix::io::kMaxLineCharacters) return;
    std::uint64_t bytes = 0;
    const auto reread = readAll(writer.line() + "\r\n", bytes);
    check(reread.size() == 1 && reread[0].text == writer.line());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    std::uint64_t bytes = 0;
    for (const auto& record : readAll(content, bytes)) {
        if (record.error.empty()) roundTrip(record);
    }
    check(bytes == size);
    return 0;
}
