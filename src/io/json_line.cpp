#include "io/json_line.h"

#include <cstdio>

namespace plorix::io {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendEscape(std::string& out, unsigned unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", unit);
    out += buffer;
}

// The code point starting at text[i], advancing i; U+FFFD for a byte that
// does not start a well-formed sequence (which then counts alone).
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int more = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, cp = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    if (i + more > text.size()) return kReplacement;
    for (int k = 0; k < more; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    i += more;
    return cp;
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = nextCodePoint(text, i);
        switch (cp) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default: break;
        }
        if (cp >= 0x20 && cp < 0x7F) {
            out += static_cast<char>(cp);
        } else if (cp < 0x10000) {
            appendEscape(out, static_cast<unsigned>(cp));
        } else {
            const char32_t v = cp - 0x10000;
            appendEscape(out, static_cast<unsigned>(0xD800 + (v >> 10)));
            appendEscape(out, static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
        }
    }
    return out + "\"";
}

void JsonLineWriter::key(std::string_view name) {
    if (!line_.empty()) line_ += ',';
    line_ += jsonString(name);
    line_ += ':';
}

void JsonLineWriter::text(std::string_view name, std::string_view value) {
    key(name);
    line_ += jsonString(value);
}

void JsonLineWriter::number(std::string_view name, std::int64_t value) {
    key(name);
    line_ += std::to_string(value);
}

void JsonLineWriter::flag(std::string_view name, bool value) {
    key(name);
    line_ += value ? "true" : "false";
}

}  // namespace plorix::io
