#pragma once
// The program's texts (UTF-8 string views) as Qt texts.

#include <QString>
#include <string_view>

namespace plorix::ui {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace plorix::ui
