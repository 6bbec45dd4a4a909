// Value substitution: "[NAME]" in a text becomes the value of NAME.
//
// A name has at most 32 characters, so the walk looks up to 33 characters
// past a "[" for its "]" (a name of full width is closed by the 33rd);
// without one the 32 characters after the "[" are taken as the name. A name without a value
// leaves its "[" in the text and the walk goes on with the next character,
// so "[A[B]]" keeps the outer brackets and replaces only [B], and an
// unterminated "[" stays a plain character.

#include "runtime/fixed_text.h"
#include "script/value_store.h"

namespace plorix::script {

std::string ValueStore::substitute(std::string_view text, std::size_t width) const {
    const std::string source = clip(text);
    std::string result;
    std::size_t pos = 0;
    while (pos < source.size()) {
        if (source[pos] != '[') {
            result += source[pos++];
            continue;
        }
        const std::string_view after = std::string_view(source).substr(pos + 1);
        const std::string window = cutToWidth(after, kValueNameWidth + 1);
        const std::size_t close = window.find(']');
        const std::string name =
            close == std::string::npos ? cutToWidth(after, kValueNameWidth) : window.substr(0, close);
        const std::string value = clip(get(name));
        if (value.empty()) {
            result += '[';
            ++pos;
            continue;
        }
        result += value;
        pos += 1 + name.size() + (close == std::string::npos ? 0 : 1);
        // Nothing past the width can survive the final cut: stop early so a
        // text of many long values costs no more than one of its width.
        if (characterCount(result) > width) break;
    }
    return clip(cutToWidth(result, width));
}

}  // namespace plorix::script
