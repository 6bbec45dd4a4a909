#pragma once
// Error codes the record store sets after every operation.

#include <string>

namespace plorix::store {

enum ErrorCode : int {
    kNoError = 0,
    kFileNotFound = 2,
    kAccessDenied = 5,  // a write through a table opened read-only
    kFileLocked = 32,
    kRecordNotAvailable = 33,  // end of key reached
    kRecordNotFound = 35,
    kInvalidDataFile = 36,
    kDuplicateKey = 40,
    kKeyMustBeRebuilt = 46,
    kInvalidRecordDeclaration = 47,  // stored layout differs from the declared one
    kFileAlreadyOpen = 52,
    kInvalidKeyLength = 88,
    kRecordChanged = 89,  // changed by another station
    kFileSystemError = 90,
};

struct ErrorState {
    int code = 0;
    std::string text;        // the store's text for the code
    int driverCode = 0;      // for code 90: the underlying code
    std::string driverText;  // for code 90: the underlying text
    std::string keyName;     // for code 40: the key that would be duplicated

    bool ok() const { return code == 0; }
    // "text (code)", or for code 90 the driver's text and code: the E of the
    // standard warnings.
    std::string describe() const;
};

// The store's standard text for a code ("Record Not Found" ...).
std::string errorText(int code);

}  // namespace plorix::store
