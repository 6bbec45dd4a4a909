#pragma once
// One JSON object on one line, for the command line's --json output: texts
// escaped so that the line is plain ASCII (control characters and every
// character beyond ASCII as \uXXXX, surrogate pairs above U+FFFF; a byte
// that is not UTF-8 becomes U+FFFD), numbers bare.

#include <cstdint>
#include <string>
#include <string_view>

namespace plorix::io {

class JsonLineWriter {
public:
    void clear() { line_.clear(); }
    void text(std::string_view name, std::string_view value);
    void number(std::string_view name, std::int64_t value);
    void flag(std::string_view name, bool value);
    // The object, braces included.
    std::string line() const { return "{" + line_ + "}"; }

private:
    void key(std::string_view name);
    std::string line_;
};

// `text` as a quoted JSON string.
std::string jsonString(std::string_view text);

}  // namespace plorix::io
