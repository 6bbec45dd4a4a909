// Stored names ("px97\!s") and the files they name.

#include "store/store.h"
#include "runtime/file_names.h"
#include "runtime/fixed_text.h"

namespace plorix::store {

namespace {

constexpr std::string_view kSeparator = "\\!";
constexpr std::string_view kDefaultExtension = ".TPS";

}  // namespace

StoredName splitStoredName(std::string_view storedName, const TableSchema& schema) {
    StoredName out;
    const auto separator = storedName.rfind(kSeparator);
    std::string_view file = storedName;
    if (separator != std::string_view::npos) {
        file = storedName.substr(0, separator);
        out.table = clip(storedName.substr(separator + kSeparator.size()));
    }
    if (out.table.empty()) out.table = schema.tableName;
    out.file = normaliseSeparators(clip(file));
    const auto lastFolder = out.file.rfind('/');
    const std::string_view base =
        std::string_view(out.file).substr(lastFolder == std::string::npos ? 0 : lastFolder + 1);
    if (base.find('.') == std::string_view::npos) out.file += kDefaultExtension;
    if (!schema.canonicalFile.empty() && equalNoCase(out.file, schema.canonicalFile))
        out.file = schema.canonicalFile;
    return out;
}

std::string resolveFileName(std::string_view name) { return findFileNoCase(name); }

}  // namespace plorix::store
