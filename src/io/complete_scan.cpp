#include "io/complete_scan.h"

namespace plorix::io {

void CompleteScan::start() {
    inKey_ = true;
    readInKey_ = 0;
    table_.setStart(key_);
}

bool CompleteScan::outsideKey() const {
    const store::KeyDesc& key = table_.schema().keys[static_cast<std::size_t>(key_)];
    for (const int component : key.components) {
        if (!store::fieldIsBlank(table_.schema().fields[static_cast<std::size_t>(component)],
                                 table_.buffer()))
            return false;
    }
    return true;
}

int CompleteScan::next() {
    if (inKey_) {
        const int code = table_.next();
        if (code != store::kRecordNotAvailable) {
            if (code == store::kNoError) ++readInKey_;
            return code;
        }
        // Only when the key missed some records is the table read again.
        const std::int64_t total = table_.records();
        if (total < 0) return table_.errorCode();
        if (static_cast<std::uint64_t>(total) <= readInKey_) return store::kRecordNotAvailable;
        inKey_ = false;
        table_.setStart(-1);
    }
    for (;;) {
        const int code = table_.next();
        if (code != store::kNoError || outsideKey()) return code;
    }
}

}  // namespace plorix::io
