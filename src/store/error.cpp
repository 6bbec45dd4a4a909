#include "store/error.h"

#include <array>
#include <utility>

#include "runtime/fixed_text.h"

namespace plorix::store {

namespace {

constexpr std::array<std::pair<int, const char*>, 14> kTexts{{
    {kNoError, "No Error"},
    {kFileNotFound, "File Not Found"},
    {kAccessDenied, "Access Denied"},
    {kFileLocked, "File Is Locked"},
    {kRecordNotAvailable, "Record Not Available"},
    {kRecordNotFound, "Record Not Found"},
    {kInvalidDataFile, "Invalid Data File"},
    {kDuplicateKey, "Creates Duplicate Key"},
    {kKeyMustBeRebuilt, "Key Must Be Rebuilt"},
    {kInvalidRecordDeclaration, "Invalid Record Declaration"},
    {kFileAlreadyOpen, "File Already Open"},
    {kInvalidKeyLength, "Invalid Key Length"},
    {kRecordChanged, "Record Changed By Another Station"},
    {kFileSystemError, "File System Error"},
}};

}  // namespace

std::string errorText(int code) {
    for (const auto& [c, text] : kTexts) {
        if (c == code) return text;
    }
    return "Unknown Error";
}

std::string ErrorState::describe() const {
    if (code == kFileSystemError && !driverText.empty()) {
        return clip(driverText) + " (" + std::to_string(driverCode) + ")";
    }
    return clip(text.empty() ? errorText(code) : text) + " (" + std::to_string(code) + ")";
}

}  // namespace plorix::store
