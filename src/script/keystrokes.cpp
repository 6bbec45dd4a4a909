#include "script/keystrokes.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "runtime/fixed_text.h"
#include "script/key_names.h"

namespace plorix::script {

namespace {

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// Bytes taken by the first `count` characters of UTF-8 text, not going past `limit`.
std::size_t bytesOfCharacters(std::string_view text, std::size_t count, std::size_t limit) {
    const std::string cut = cutToWidth(text.substr(0, limit), count);
    return std::max<std::size_t>(cut.size(), 1);  // always progress, even on a broken byte
}

KeyPass passForName(std::string_view name, const ValueLookup& lookup) {
    if (std::optional<KeyName> key = lookupKeyName(name)) {
        if (key->kind == KeyName::Kind::Pause) return {KeyPass::Kind::Pause, {}, 0};
        return {KeyPass::Kind::Key, {}, key->code};
    }
    // Not a key: the value of that name when it has a text of its own,
    // else the name as written.
    if (lookup) {
        if (std::optional<std::string> value = lookup(name); value && !isBlank(*value) && *value != name)
            return {KeyPass::Kind::Text, *value, 0};
    }
    if (name.empty()) return {KeyPass::Kind::Pause, {}, 0};
    return {KeyPass::Kind::Text, std::string(name), 0};
}

}  // namespace

std::vector<KeyPass> parseKeystrokes(std::string_view text, int burstSize, const ValueLookup& lookup) {
    // The settings never give less than 1; a portion of 0 would never end.
    const std::size_t burst = static_cast<std::size_t>(std::max(burstSize, 1));
    std::vector<KeyPass> passes;
    std::string_view rest = text;
    while (!isBlank(rest)) {
        const std::size_t open = rest.find('[');
        if (open == std::string_view::npos) {
            passes.push_back({KeyPass::Kind::Text, clip(rest), 0});
            break;
        }
        if (open == 0) {
            rest.remove_prefix(1);
            const std::size_t close = rest.find(']');
            if (close == std::string_view::npos) {
                // An unclosed bracket costs its pass; the rest is then plain text.
                passes.push_back({KeyPass::Kind::Pause, {}, 0});
                continue;
            }
            passes.push_back(passForName(rest.substr(0, close), lookup));
            rest.remove_prefix(close + 1);
            continue;
        }
        const std::size_t take = bytesOfCharacters(rest, burst, open);
        passes.push_back({KeyPass::Kind::Text, std::string(rest.substr(0, take)), 0});
        rest.remove_prefix(take);
    }
    return passes;
}

void deliverKeyPasses(const std::vector<KeyPass>& passes, platform::Keyboard& keyboard, const Clock& clock,
                      const KeystrokePacing& pacing) {
    for (std::size_t i = 0; i < passes.size(); ++i) {
        if (pacing.onPass) pacing.onPass(i);
        // A pause that would end after midnight is skipped: the time of day
        // starts again from zero and would never reach its end.
        if (clock.now() + pacing.delayHundredths < kHundredthsPerDay) {
            if (pacing.waitYielding)
                pacing.waitYielding(pacing.delayHundredths);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(10 * pacing.delayHundredths));
        }
        const KeyPass& pass = passes[i];
        switch (pass.kind) {
        case KeyPass::Kind::Text:
            if (!pass.text.empty()) keyboard.typeText(pass.text);
            break;
        case KeyPass::Kind::Key: keyboard.pressKey(pass.code); break;
        case KeyPass::Kind::Pause: break;
        }
    }
}

void sendKeystrokes(std::string_view text, int burstSize, const ValueLookup& lookup,
                    platform::Keyboard& keyboard, const Clock& clock, const KeystrokePacing& pacing) {
    deliverKeyPasses(parseKeystrokes(text, burstSize, lookup), keyboard, clock, pacing);
}

}  // namespace plorix::script
