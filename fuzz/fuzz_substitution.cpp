// Value substitution of arbitrary bytes: "NAME=VALUE" lines set values, the
// last line is the text. Substituting must not fail, must keep the result
// within 255 characters, and must leave a text without "[" as it was.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/fixed_text.h"
#include "script/value_store.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plorix;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    script::ValueStore values(
        script::SystemValueSources{nullptr, nullptr, [] { return std::string("Focus"); }});
    std::size_t newline;
    while ((newline = input.find('\n')) != std::string_view::npos) {
        const std::string_view line = input.substr(0, newline);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos) values.set(line.substr(0, eq), line.substr(eq + 1));
        input.remove_prefix(newline + 1);
    }
    const std::string result = values.substitute(input);
    check(characterCount(result) <= script::kValueTextWidth);
    check(result.empty() || result.back() != ' ');
    if (input.find('[') == std::string_view::npos)
        check(result == clip(cutToWidth(clip(input), script::kValueTextWidth)));
    // Substituting the result again must not fail either.
    values.substitute(result);
    for (const auto& [name, text] : values.entries()) {
        check(characterCount(name) <= script::kValueNameWidth);
        check(characterCount(text) <= script::kValueTextWidth);
    }
    return 0;
}
