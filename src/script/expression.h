#pragma once
// Computed values: the text after the "=" of a "Set Value" item, evaluated by
// muparser (numbers, + - * / ^, parentheses, comparisons, and its functions
// such as sqrt, sin, abs, min, max, sum, avg and the constants _pi and _e).

#include <optional>
#include <string>
#include <string_view>

namespace plorix::script {

// The result as text ("6", "0.5", "-2.25", at most 15 significant digits);
// nullopt when the text is no complete expression, when it yields more than
// one result, or when the result is not a finite number (a division by zero,
// an overflow, the square root of a negative number).
std::optional<std::string> evaluateExpression(std::string_view expression);

// The text of a computed number as evaluateExpression writes it.
std::string numberText(double value);

class ValueStore;

// "Set Value": the value text goes through value substitution; when the
// result begins with "=" the rest is evaluated and its result stored, and
// when that fails the substituted text is stored as it is, "=" included.
void setComputedValue(ValueStore& values, std::string_view name, std::string_view text);

}  // namespace plorix::script
