#pragma once
// The file filters of the import and export file dialogs.

#include <string_view>

namespace plorix::ui {

inline constexpr std::string_view kExportFilter = "Export Files (*.CSV *.csv);;All Files (*)";
inline constexpr std::string_view kImportFilter = "Import Files (*.CSV *.csv);;All Files (*)";

}  // namespace plorix::ui
