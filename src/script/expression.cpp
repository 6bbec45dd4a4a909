#include "script/expression.h"

#include <muParser.h>

#include <cmath>
#include <cstdio>

#include "script/value_store.h"

namespace plorix::script {

std::string numberText(double value) {
    if (value == 0.0) return "0";  // no "-0"
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::optional<std::string> evaluateExpression(std::string_view expression) {
    // An expression comes from a value, which never holds more; a longer
    // text is refused rather than handed to the parser.
    if (expression.size() > kValueTextWidth * 4) return std::nullopt;
    try {
        mu::Parser parser;
        parser.SetExpr(std::string(expression));
        const double value = parser.Eval();
        if (parser.GetNumResults() != 1 || !std::isfinite(value)) return std::nullopt;
        return numberText(value);
    } catch (const mu::Parser::exception_type&) {
        return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void setComputedValue(ValueStore& values, std::string_view name, std::string_view text) {
    std::string value = values.substitute(text);
    if (!value.empty() && value.front() == '=') {
        if (auto computed = evaluateExpression(std::string_view(value).substr(1)))
            value = std::move(*computed);
    }
    values.set(name, value);
}

}  // namespace plorix::script
