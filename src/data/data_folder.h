#pragma once
// What a data folder holds of ours, for telling a data file that was never
// written (a first start cut short) from one that lost its contents.

#include <array>
#include <string>
#include <string_view>

#include "store/store.h"

namespace plorix::data {

// The files the program keeps beside the data file.
inline constexpr std::array<std::string_view, 5> kFolderFiles = {
    "px98.INI", "PX98Evnt.LOG", "POSITION.INI", "TagFile_.TPS", "TagFileP.TPS",
};

// True when the table's file exists and is empty while its folder holds
// nothing else of ours: the file was made but never written, so it may be
// created afresh. An empty file beside other files of ours lost its data.
bool emptyFileInNewFolder(const store::Table& table);

// Whether a table missing from the file at `path` (stored as `fileName`,
// keyed with `password`) may be added to it: the file is absent or holds no
// table yet, or its catalogue lists a table this program keeps in a file of
// that name (an empty file is left to emptyFileInNewFolder). A transfer
// file copied in under the data file's name, or
// another program's database that opens under the same key, is not ours
// to add to.
bool mayAddTables(const std::string& path, std::string_view fileName, const std::string& password);
bool mayAddTableTo(const store::Table& table);

// Where the records that break a key rebuild of `table` go: a folder
// "duplicates-YYYYMMDD-HHMMSS" beside the table's file, holding a file of
// the same name and a comma-separated file named after the table.
store::SetAside setAsideFor(const store::Table& table, Moment now);

}  // namespace plorix::data
