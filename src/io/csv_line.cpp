#include "io/csv_line.h"

#include <cctype>

namespace plorix::io {

namespace {
std::string_view clipped(std::string_view v) {
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return v;
}
bool blank(std::string_view v) {
    for (char c : v)
        if (c != ' ' && c != '\t') return false;
    return true;
}
}  // namespace

CsvForm csvFormOfPicture(std::string_view picture) {
    if (!picture.empty() && picture.front() == '@') picture.remove_prefix(1);
    if (picture.empty()) return CsvForm::Text;
    switch (std::tolower(static_cast<unsigned char>(picture.front()))) {
    case 's': return CsvForm::Text;
    case 'n': return CsvForm::Number;
    default: return CsvForm::Formatted;
    }
}

void CsvLineWriter::append(std::string_view value, CsvForm form) {
    if (fields_++ > 0) line_ += ',';
    value = clipped(value);
    if (form == CsvForm::Number) {
        std::size_t start = value.find_first_not_of(' ');
        if (start == std::string_view::npos) return;
        value.remove_prefix(start);
        // A picture may turn text into a "number" that is none; quoted, it
        // cannot split the line.
        if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
            line_.append(value);
            return;
        }
    }
    line_ += '"';
    for (char c : value) {
        if (c == '"') line_ += '"';
        line_ += c;
    }
    line_ += '"';
}

CsvLineReader::Result CsvLineReader::next(std::string& field) {
    field.clear();
    if (done_ || blank(line_.substr(pos_))) {
        // A comma followed by nothing but blanks still separates a last,
        // empty field from the one before.
        if (!done_ && pos_ > 0) dangling_ = true;
        done_ = true;
        return kNone;
    }
    if (line_[pos_] == '"') {
        std::size_t p = pos_ + 1;
        while (p < line_.size()) {
            if (line_[p] == '"') {
                if (p + 1 < line_.size() && line_[p + 1] == '"') {
                    field += '"';
                    p += 2;
                    continue;
                }
                break;
            }
            field += line_[p++];
        }
        if (p >= line_.size()) {
            unbalanced_ = true;
            done_ = true;
            return kQuoted;
        }
        // Past the closing quote and up to and including the next comma.
        std::size_t comma = line_.find(',', p + 1);
        if (comma == std::string_view::npos)
            done_ = true;
        else
            pos_ = comma + 1;
        return kQuoted;
    }
    std::size_t comma = line_.find(',', pos_);
    if (comma == std::string_view::npos) {
        field.assign(line_.substr(pos_));
        done_ = true;
    } else {
        field.assign(line_.substr(pos_, comma - pos_));
        pos_ = comma + 1;
    }
    return kBare;
}

bool splitCsvLine(std::string_view line, std::vector<CsvField>& fields) {
    fields.clear();
    CsvLineReader reader(line);
    std::string text;
    for (;;) {
        const auto result = reader.next(text);
        if (result == CsvLineReader::kNone) break;
        fields.push_back({text, result == CsvLineReader::kQuoted});
    }
    if (reader.danglingComma()) fields.push_back({});
    return !reader.unbalanced();
}

}  // namespace plorix::io
