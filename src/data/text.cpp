#include "data/text.h"

#include "runtime/fixed_text.h"

namespace plorix::data {

void TextBase::assign(std::string_view v, int capacity) {
    value_ = clip(cutToWidth(v, capacity > 0 ? static_cast<std::size_t>(capacity) : 0));
}

}  // namespace plorix::data
