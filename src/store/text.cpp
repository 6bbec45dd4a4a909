#include "store/text.h"

#include "runtime/fixed_text.h"

namespace plorix::store {

void TextBase::assign(std::string_view v, int capacity) {
    const std::size_t limit = capacity > 0 ? static_cast<std::size_t>(capacity) : 0;
    // No more bytes than characters allowed: nothing to cut, only clip, and
    // no temporaries (records are filled this way for every row read).
    if (v.size() > limit) {
        value_ = clip(cutToWidth(v, limit));
        return;
    }
    const auto last = v.find_last_not_of(' ');
    value_.assign(v.data(), last == std::string_view::npos ? 0 : last + 1);
}

}  // namespace plorix::store
