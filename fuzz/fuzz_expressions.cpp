// Expressions of arbitrary bytes for "Set Value": evaluating must not fail,
// and a result must be a finite number that reads back as itself.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "script/expression.h"
#include "script/value_store.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plorix::script;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto result = evaluateExpression(text)) {
        check(!result->empty());
        char* end = nullptr;
        const double value = std::strtod(result->c_str(), &end);
        check(end == result->c_str() + result->size());
        check(std::isfinite(value));
        check(numberText(value) == *result);
    }
    ValueStore values(SystemValueSources{nullptr, nullptr, [] { return std::string(); }});
    setComputedValue(values, "R", "=" + std::string(text));
    return 0;
}
