#include "store/sql_error.h"

namespace plorix::store {

ErrorState storeError(int code) {
    ErrorState error;
    error.code = code;
    error.text = errorText(code);
    return error;
}

ErrorState sqliteError(sqlite3* db, int result) {
    switch (result & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return storeError(kNoError);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return storeError(kFileLocked);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return storeError(kInvalidDataFile);
    case SQLITE_CONSTRAINT:
        if (result == SQLITE_CONSTRAINT_UNIQUE || result == SQLITE_CONSTRAINT_PRIMARYKEY) {
            return storeError(kDuplicateKey);
        }
        break;
    default: break;
    }
    ErrorState error = storeError(kFileSystemError);
    error.driverCode = result;
    error.driverText = db && sqlite3_errcode(db) == result ? sqlite3_errmsg(db) : sqlite3_errstr(result);
    return error;
}

}  // namespace plorix::store
