#pragma once
// The files of import, export and synchronisation: how their failures are
// told ("Error #", the code, " - " and the system's text, under a title
// naming what failed and the file), and the guards that keep a chosen file
// name from destroying anything.

#include <string>
#include <string_view>

namespace plorix::io {

// Starts every error text; also what the picture dialog of the import and
// export windows answers when it is cancelled.
inline constexpr std::string_view kErrorMark = "Error #";

// "Error #28 - No space left on device" for the errno `code`.
std::string fileErrorText(int code);
// "Error #40 - Creates Duplicate Key" for a store error.
std::string storeErrorText(int code, std::string_view text);

// Titles: what failed, then the file's name.
std::string cannotCreateTitle(std::string_view file);
std::string cannotOpenTitle(std::string_view file);
std::string cannotAddTitle(std::string_view fileOrTable);
std::string cannotCloseTitle(std::string_view file);

// Removes a file this program made, never anything that is not a plain file
// (an export aimed at a device leaves the device alone).
void removeMadeFile(const std::string& path);

// True when `path` names the data file itself (in any spelling): writing an
// export or a transfer file there would destroy every table.
bool isDataFile(const std::string& path);

// What is about to replace an existing file.
enum class Replacement { Export, TransferFile };
// Why `path` may not be replaced: a data file of this program (of this
// folder or another, known by its content, not its name), a transfer file
// (only a transfer file may replace one), or by its name the data, settings,
// event log or window-position file. Empty when it may be written.
std::string protectedFile(const std::string& path, Replacement by);

}  // namespace plorix::io
