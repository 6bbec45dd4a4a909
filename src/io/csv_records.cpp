#include "io/csv_records.h"

#include "io/csv_line.h"

namespace plorix::io {

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Well-formed UTF-8: lead bytes with the right number of continuation bytes,
// no overlong two-byte forms, nothing past U+10FFFF.
bool validUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            extra = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        if (i + extra >= text.size() && extra > 0) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if (!isContinuation(static_cast<unsigned char>(text[i + k]))) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

bool CsvRecord::blank() const { return text.find_first_not_of(" \t") == std::string::npos; }

std::string CsvRecord::where() const {
    if (lastLine <= firstLine) return "line " + std::to_string(firstLine);
    return "lines " + std::to_string(firstLine) + "-" + std::to_string(lastLine);
}

bool CsvRecordReader::fill() {
    if (!in_) return false;
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kChunk);
    in_.read(buffer_.data() + old, static_cast<std::streamsize>(kChunk));
    buffer_.resize(old + static_cast<std::size_t>(in_.gcount()));
    return buffer_.size() > old;
}

bool CsvRecordReader::next(CsvRecord& record) {
    // The bytes of earlier lines are no longer needed; they are dropped
    // once they fill a chunk, not line by line, so that the rest of the
    // buffer is not moved for every line.
    if (pos_ >= kChunk) {
        consumed_ += pos_;
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    if (!started_) {
        started_ = true;
        while (buffer_.size() < kByteOrderMark.size() && fill()) {}
        if (std::string_view(buffer_).substr(0, kByteOrderMark.size()) == kByteOrderMark)
            pos_ = kByteOrderMark.size();
    }
    if (!more()) return false;

    record.text.clear();
    record.error.clear();
    record.firstLine = record.lastLine = line_;
    std::size_t firstLineEnd = std::string::npos;  // where the file's second line starts
    State state = State::FieldStart;
    std::size_t characters = 0;
    bool nul = false;
    bool loneCr = false;
    bool tooLong = false;
    bool gaveUp = false;
    // The line is its bytes as the file holds them, line breaks inside
    // quotes and doubled quotes included: it is taken whole once its end is
    // found (the buffer only grows meanwhile).
    const std::size_t lineStart = pos_;
    std::size_t lineEnd = lineStart;

    // Gives up on a line that runs past the limit or whose quote is never
    // closed: when it spans several lines of the file, reading goes on at
    // the second of them (the quote was most likely a stray one); otherwise
    // the rest of its one line is skipped.
    const auto giveUp = [&](const char* why) {
        gaveUp = true;
        record.error = why;
        record.text.clear();
        if (firstLineEnd != std::string::npos) {
            pos_ = firstLineEnd;
            line_ = record.firstLine + 1;
            record.lastLine = record.firstLine;
            return;
        }
        while (more()) {
            const char c = buffer_[pos_++];
            if (c == '\n') break;
            // Nothing of this line is kept: its bytes can go.
            if (pos_ == buffer_.size()) {
                consumed_ += pos_;
                buffer_.clear();
                pos_ = 0;
            }
        }
        ++line_;
    };

    for (;;) {
        if (!more()) {
            if (state == State::Quoted) {
                if (firstLineEnd != std::string::npos)
                    giveUp("has a double quote that is never closed");
                else
                    record.error = "has a double quote that is never closed";
            }
            lineEnd = pos_;
            break;
        }
        if (state == State::Bare || state == State::Quoted) {
            // The bytes up to the next one that can end or change the field
            // are passed over as one run.
            const std::size_t start = pos_;
            while (pos_ < buffer_.size()) {
                const char c = buffer_[pos_];
                if (c == '"' || c == ',' || c == '\r' || c == '\n' || c == '\0') break;
                if (!isContinuation(static_cast<unsigned char>(c))) ++characters;
                ++pos_;
            }
            if (pos_ > start) {
                if (characters > kMaxLineCharacters) {
                    tooLong = true;
                    giveUp("is longer than 16,000 characters");
                    break;
                }
                continue;
            }
        }
        const char c = buffer_[pos_++];
        if (c == '\r' || c == '\n') {
            bool crlf = false;
            if (c == '\r') {
                if (!more() || buffer_[pos_] != '\n') {
                    // A lone CR is data inside quotes and a fault elsewhere.
                    if (state != State::Quoted) loneCr = true;
                    ++characters;
                    continue;
                }
                ++pos_;
                crlf = true;
            }
            if (firstLineEnd == std::string::npos) firstLineEnd = pos_;
            ++line_;
            if (state != State::Quoted) {
                lineEnd = pos_ - (crlf ? 2 : 1);
                break;
            }
            characters += crlf ? 2 : 1;
            record.lastLine = line_;
        } else {
            if (c == '\0') nul = true;
            switch (state) {
            case State::FieldStart:
                state = c == '"' ? State::Quoted : c == ',' ? State::FieldStart : State::Bare;
                break;
            case State::Bare:
            case State::AfterQuote:
                if (c == ',') state = State::FieldStart;
                break;
            case State::Quoted:
                if (c != '"') break;
                if (more() && buffer_[pos_] == '"') {
                    ++characters;
                    ++pos_;  // a doubled quote stays inside the field
                } else {
                    state = State::AfterQuote;
                }
                break;
            }
            if (!isContinuation(static_cast<unsigned char>(c))) ++characters;
        }
        if (characters > kMaxLineCharacters) {
            tooLong = true;
            giveUp("is longer than 16,000 characters");
            break;
        }
    }
    if (!gaveUp) record.text.assign(buffer_, lineStart, lineEnd - lineStart);
    if (tooLong || !record.error.empty()) return true;
    if (nul)
        record.error = "holds a NUL byte";
    else if (loneCr)
        record.error = "holds a carriage return without a line feed";
    else if (!validUtf8(record.text))
        record.error = "is not UTF-8 text";
    return true;
}

}  // namespace plorix::io
