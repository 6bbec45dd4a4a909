#pragma once
// What an existing file holds, as far as the store can tell without
// changing a byte of it: used to keep an export or a transfer file from
// being written over a file of keyed tables.

#include <string>
#include <vector>

#include "store/error.h"

namespace plorix::store {

struct FileProbe {
    // 0 when the file opened with the password; 2 when it does not exist;
    // 36 when it is not a database under that password; another code when
    // it could not be read (busy, unreadable).
    int code = kNoError;
    std::vector<std::string> tables;  // every table stored in the file
    std::vector<std::string> labels;  // the record labels its catalogue lists
};

// Opens `path` read-only with `password` and lists what it holds.
FileProbe probeFile(const std::string& path, const std::string& password);

}  // namespace plorix::store
