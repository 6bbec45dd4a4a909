#pragma once
// Data files whose tables live on a PostgreSQL server instead of in the
// file: the data folder keeps its other files, only the tables move.

#include <optional>
#include <string>
#include <string_view>

#include "store/error.h"

namespace plorix::store {

// How the driver's text of a code 90 begins when the connection to the
// server was lost (the next operation connects again).
inline constexpr std::string_view kConnectionLost = "connection lost: ";
bool connectionLost(const ErrorState& error);

// A PostgreSQL server and the schema that holds the tables.
struct ServerAddress {
    std::string url;                // a libpq connection URI
    std::string schema = "plorix";  // created on first use with the catalogue
};

// "postgresql://..." or "postgres://...".
bool isServerUrl(std::string_view text);

// `text` with every password `url` holds ("user:password@" or a
// "password=" parameter), as written and percent-decoded, replaced by
// "****": the driver's messages may quote the URL or a part of it, and
// hidePassword(url, url) is the URL fit to show.
std::string hidePassword(std::string text, std::string_view url);

// From now on the tables whose file is `filePath` (resolved to an absolute
// path as Database::acquire resolves it) live on `server` instead of in the
// file; a server with an empty url ends that. Tables already open keep the
// connection they have.
void serveFile(const std::string& filePath, const ServerAddress& server);
std::optional<ServerAddress> servedFrom(const std::string& filePath);

// The absolute, normalised form of a file name, as the store keys files.
std::string absoluteFileName(const std::string& filePath);

}  // namespace plorix::store
