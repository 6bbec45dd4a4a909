#pragma once
// Turning SQLCipher results into the store's error codes.

#include <sqlcipher/sqlite3.h>

#include "store/error.h"

namespace plorix::store {

// An error state with the store's own text for the code.
ErrorState storeError(int code);

// Maps a result code (extended codes welcome) of the connection `db` (may be
// null) to the store's codes: busy or locked 32, not a database or corrupt
// 36, a unique or primary constraint 40, anything else 90 carrying the
// driver's code and message.
ErrorState sqliteError(sqlite3* db, int result);

}  // namespace plorix::store
