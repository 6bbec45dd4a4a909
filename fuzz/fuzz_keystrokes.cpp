// Keystroke texts of arbitrary bytes: the first byte is the burst size.
// Parsing must end, every pass must make progress, and plain portions never
// exceed the burst size.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/fake/fake_keyboard.h"
#include "runtime/fixed_text.h"
#include "script/keystrokes.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int burst = data[0] == 0 ? 7 : data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Names of an even length have a value, so both outcomes of a look-up occur.
    const plorix::script::ValueLookup lookup = [](std::string_view name) -> std::optional<std::string> {
        if (name.size() % 2 == 0) return std::nullopt;
        return "<" + std::string(name) + ">";
    };
    const auto passes = plorix::script::parseKeystrokes(text, burst, lookup);
    check(passes.size() <= text.size() + 1);
    const bool hasBracket = text.find('[') != std::string::npos;
    for (const auto& pass : passes) {
        using Kind = plorix::script::KeyPass::Kind;
        if (pass.kind == Kind::Key) {
            check(pass.code > 0 && pass.code < 2048 && (pass.code & 0xFF) != 0);
        } else if (pass.kind == Kind::Text && !hasBracket) {
            // Without brackets the whole text goes out in one pass.
            check(passes.size() == 1 && pass.text == plorix::clip(text));
        }
    }

    plorix::platform::FakeKeyboard keyboard;
    plorix::ManualClock clock({1000, 1});
    plorix::script::deliverKeyPasses(passes, keyboard, clock,
                                     {50, [&](std::int64_t h) { clock.advance(h); }, {}});
    check(keyboard.events().size() <= passes.size());
    return 0;
}
