#pragma once
// The data file's twelve tables on a PostgreSQL server: chosen with
// --database URL or the PLORIX_DATABASE environment variable (the option
// wins). The data folder stays where it is and keeps the INI files, the
// event log, window positions and tag files.

#include <optional>
#include <string>
#include <string_view>

#include "store/served_files.h"

namespace plorix::data {

inline constexpr std::string_view kDatabaseVariable = "PLORIX_DATABASE";

// The server the program runs on: `option` when given, else the
// environment's; an empty url for the data file. `source` names where it came
// from, for messages.
struct DatabaseChoice {
    std::string url;
    std::string source;
};
DatabaseChoice chosenDatabase(const std::string& option);

// The server and schema a URL names: a "schema=NAME" parameter (which libpq
// would refuse) chooses the schema, NAME as written, instead of "plorix"
// and is taken out of the URL handed to libpq.
store::ServerAddress serverAddressOf(const std::string& url);

// Serves the current folder's data file from the chosen server (nothing for
// an empty url) once the server answers. Empty on success, otherwise why
// not, in one line naming the server but never the password.
std::string serveDataFile(const DatabaseChoice& choice);

// The server of the current folder's data file, if it is served.
std::optional<store::ServerAddress> dataFileServer();

// Whether the current folder has data to read: its data file is served, or
// the file exists.
bool hasDataFile();

}  // namespace plorix::data
