#include "script/file_actions.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>

#include "runtime/file_names.h"
#include "runtime/fixed_text.h"

namespace plorix::script {
namespace {

namespace fs = std::filesystem;

// What one operation found: its result, the text stored as its value, and
// the system's error number (0 when it succeeded).
struct Outcome {
    std::int64_t result = 0;
    std::string value;
    int error = 0;
};

Outcome flag(bool ok, int error) { return {ok ? 1 : 0, ok ? "1" : "0", ok ? 0 : error}; }
Outcome failure(int error) { return flag(false, error); }
int errorOf(const std::error_code& ec) { return ec ? ec.value() : 0; }

// A target that names a folder receives the source's file name. A folder is
// named by a trailing separator, by an existing folder, or by a last part
// without a "." that is no existing file (the habit of names with
// extensions; a file without one is found because it exists).
fs::path targetOf(const std::string& source, const std::string& target) {
    const fs::path to(target);
    std::error_code ec;
    const bool folder = target.back() == '/' || fs::is_directory(to, ec) ||
                        (!fs::exists(to, ec) && to.filename().string().find('.') == std::string::npos);
    if (!folder) return to;
    return to / fs::path(source).filename();
}

Outcome copyFile(const std::string& p1, const std::string& p2) {
    if (p1.empty() || p2.empty()) return failure(EINVAL);
    std::error_code ec;
    const bool ok = fs::copy_file(p1, targetOf(p1, p2), fs::copy_options::overwrite_existing, ec);
    return flag(ok && !ec, errorOf(ec));
}

// Moves like a rename; an existing target is never replaced, and a file on
// another file system is copied and its original removed.
Outcome moveFile(const std::string& p1, const std::string& p2) {
    if (p1.empty() || p2.empty()) return failure(EINVAL);
    const fs::path target = targetOf(p1, p2);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(p1, ec))) return failure(ENOENT);
    if (fs::exists(fs::symlink_status(target, ec))) return failure(EEXIST);
    fs::rename(p1, target, ec);
    if (ec == std::errc::cross_device_link && fs::is_regular_file(p1)) {
        ec.clear();
        if (!fs::copy_file(p1, target, fs::copy_options::none, ec) || ec) return failure(errorOf(ec));
        if (!fs::remove(p1, ec) || ec) {
            std::error_code ignored;
            fs::remove(target, ignored);
            return failure(ec ? ec.value() : EIO);
        }
    }
    return flag(!ec, errorOf(ec));
}

Outcome deleteFile(const std::string& p1) {
    if (p1.empty()) return failure(ENOENT);
    std::error_code ec;
    const auto status = fs::symlink_status(p1, ec);
    if (!fs::exists(status)) return failure(ENOENT);
    if (fs::is_directory(status)) return failure(EISDIR);
    const bool removed = fs::remove(p1, ec);
    return flag(removed && !ec, ec ? ec.value() : ENOENT);
}

// Creates the folder together with any missing folders above it.
Outcome makeDirectory(const std::string& p1) {
    if (p1.empty()) return failure(ENOENT);
    std::error_code ec;
    fs::create_directories(p1, ec);
    std::error_code check;
    const bool exists = fs::is_directory(p1, check);
    return flag(exists, ec ? ec.value() : ENOTDIR);
}

// Removes an empty folder. A missing folder counts as removed; a file of
// that name is left alone and counts as a failure.
Outcome removeDirectory(const std::string& p1) {
    if (p1.empty()) return failure(ENOENT);
    std::error_code ec;
    const auto status = fs::symlink_status(p1, ec);
    if (fs::exists(status) && !fs::is_directory(status)) return failure(ENOTDIR);
    if (fs::exists(status)) fs::remove(p1, ec);
    std::error_code check;
    const bool gone = !fs::exists(fs::symlink_status(p1, check));
    return flag(gone, ec ? ec.value() : EIO);
}

// The last change of a file as a local date and time; nullopt unless p1 is
// a file (folders have no date here, as they had none in the listing this
// action read).
std::optional<Moment> fileMoment(const std::string& p1, int& error) {
    std::error_code ec;
    if (p1.empty() || !fs::is_regular_file(p1, ec)) {
        error = ec ? ec.value() : ENOENT;
        return std::nullopt;
    }
    const auto written = fs::last_write_time(p1, ec);
    if (ec) {
        error = ec.value();
        return std::nullopt;
    }
    const auto system = std::chrono::file_clock::to_sys(written);
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(system));
    std::tm local{};
    localtime_r(&seconds, &local);
    return Moment{makeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900),
                  makeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec)};
}

Outcome fileDate(const std::string& p1) {
    int error = 0;
    const auto moment = fileMoment(p1, error);
    const Date date = moment ? moment->date : 0;
    return {date, eightDigitDate(date), error};
}

Outcome fileTime(const std::string& p1) {
    int error = 0;
    const auto moment = fileMoment(p1, error);
    const Time time = moment ? moment->time : 0;
    return {time, sixDigitTime(time), error};
}

Outcome fileSize(const std::string& p1) {
    std::error_code ec;
    if (p1.empty() || !fs::is_regular_file(p1, ec)) return {0, "0", ec ? ec.value() : ENOENT};
    const auto size = fs::file_size(p1, ec);
    if (ec) return {0, "0", ec.value()};
    return {static_cast<std::int64_t>(size), std::to_string(size), 0};
}

Outcome fileExists(const std::string& p1) {
    std::error_code ec;
    const bool exists = !p1.empty() && fs::exists(p1, ec);
    return {exists ? 1 : 0, exists ? "1" : "0", errorOf(ec)};
}

struct Rule {
    std::string_view action;
    std::string_view valueName;
    bool changesFiles;
    Outcome (*one)(const std::string&);                      // actions of one path
    Outcome (*two)(const std::string&, const std::string&);  // actions of two
};

constexpr Rule kRules[] = {
    {kFileActionNames[0], "FILECOPY", true, nullptr, copyFile},
    {kFileActionNames[1], "FILEMOVE", true, nullptr, moveFile},
    {kFileActionNames[2], "FILEDELETE", true, deleteFile, nullptr},
    {kFileActionNames[3], "DIRCREATE", true, makeDirectory, nullptr},
    {kFileActionNames[4], "DIRREMOVE", true, removeDirectory, nullptr},
    {kFileActionNames[5], "FILEDATE", false, fileDate, nullptr},
    {kFileActionNames[6], "FILETIME", false, fileTime, nullptr},
    {kFileActionNames[7], "FILESIZE", false, fileSize, nullptr},
    {kFileActionNames[8], "FILEEXISTS", false, fileExists, nullptr},
};

}  // namespace

std::string userPath(std::string_view text) { return normaliseSeparators(clip(text)); }

FileActionResult runFileAction(std::string_view action, std::string_view p1, std::string_view p2,
                               ValueStore& values, bool dryRun) {
    for (const Rule& rule : kRules) {
        if (clip(action) != rule.action) continue;
        if (dryRun && rule.changesFiles) return {0, true, false};
        const std::string first = userPath(values.substitute(p1));
        const std::string second = userPath(values.substitute(p2));
        const Outcome outcome = rule.one ? rule.one(first) : rule.two(first, second);
        values.set(rule.valueName, outcome.value);
        values.set(kErrorCodeValue, std::to_string(outcome.error));
        return {outcome.result, true, true};
    }
    return {};
}

}  // namespace plorix::script
