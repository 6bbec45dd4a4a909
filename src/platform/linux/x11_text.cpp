#include "platform/linux/x11_text.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace plorix::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        if (c == '\0') break;
        appendUtf8(text, static_cast<unsigned char>(c));
    }
    return text;
}

}  // namespace

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    std::size_t i = 0;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < text.size()) {
        const unsigned char lead = byte(i);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (byte(i + k) & 0xC0) == 0x80;
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are no characters.
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)) valid = false;
        out += valid ? c : kReplacement;
        i += valid ? length : 1;
    }
    return out;
}

std::string repairUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (char32_t c : decodeUtf8(bytes.substr(0, bytes.find('\0')))) appendUtf8(text, c);
    return text;
}

std::string utf8OrLatin1(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    const std::u32string characters = decodeUtf8(bytes);
    // A U+FFFD the text itself holds takes three bytes; one made by the
    // decoder stands for a single byte.
    std::size_t length = 0;
    for (char32_t c : characters) length += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (length == bytes.size()) return std::string(bytes);
    return latin1ToUtf8(bytes);
}

std::string textPropertyToUtf8(Display* display, const PropertyValue& value, Atom utf8String) {
    if (!value.present || value.format != 8 || value.bytes.empty()) return {};
    if (value.type == utf8String) return repairUtf8(value.bytes);
    if (value.type == XA_STRING) return latin1ToUtf8(value.bytes);
    // COMPOUND_TEXT and the like: Xlib knows the character sets.
    XTextProperty property;
    property.value = reinterpret_cast<unsigned char*>(const_cast<char*>(value.bytes.data()));
    property.encoding = value.type;
    property.format = 8;
    property.nitems = value.bytes.size();
    char** list = nullptr;
    int count = 0;
    std::string text;
    if (Xutf8TextPropertyToTextList(display, &property, &list, &count) >= Success && list != nullptr) {
        for (int i = 0; i < count; ++i) text += list[i];
        XFreeStringList(list);
        return repairUtf8(text);
    }
    return repairUtf8(value.bytes);
}

}  // namespace plorix::platform
