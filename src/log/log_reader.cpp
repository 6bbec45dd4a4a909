#include "log/log_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "store/error.h"
#include "data/warnings.h"
#include "runtime/file_names.h"
#include "runtime/fixed_text.h"

namespace plorix::log {
namespace {

constexpr std::string_view kTitle = "View Log";

// The store's view of a failed open, so the warning reads like any other.
store::ErrorState openError(int err) {
    store::ErrorState e;
    if (err == ENOENT) {
        e.code = store::kFileNotFound;
    } else if (err == EACCES || err == EPERM) {
        e.code = store::kAccessDenied;
    } else {
        e.code = store::kFileSystemError;
        e.driverCode = err;
        e.driverText = std::strerror(err);
    }
    e.text = store::errorText(e.code);
    return e;
}

}  // namespace

LogReader::LogReader(Prompter& prompter, std::string fileName)
    : prompter_(prompter), fileName_(std::move(fileName)) {}

LogReader::~LogReader() {
    if (file_) std::fclose(file_);
}

bool LogReader::start() {
    file_ = std::fopen(findFileNoCase(fileName_).c_str(), "rb");
    if (!file_ && errno == ENOENT) {
        // Logging is off until the user ticks it: nothing has failed.
        prompter_.message(kTitle, kNothingLogged, Icon::Information, kOk, kOk);
        finished_ = true;
        return false;
    }
    if (!file_) {
        const store::ErrorState e = openError(errno);
        prompter_.message(kTitle, "Please note this errorcode:  " + std::to_string(e.code) + "; " + e.text,
                          Icon::Warning, kOk, kOk);
        data::setSavedError(e);
        data::standardWarning(prompter_, data::Warning::FileLoadError, fileName_);
        finished_ = true;
        return false;
    }
    struct stat st {};
    size_ = fstat(fileno(file_), &st) == 0 ? static_cast<std::uintmax_t>(st.st_size) : 0;
    if (size_ == 0) {
        data::standardWarning(prompter_, data::Warning::EmptyFile, fileName_);
        std::fclose(file_);
        file_ = nullptr;
        finished_ = true;
        return false;
    }
    progress_ = prompter_.progress(kTitle, "Reading File");
    progress_->setPercent(0);
    return true;
}

bool LogReader::step() {
    if (finished_ || !file_) return false;
    if (progress_->cancelled()) {
        if (data::standardWarning(prompter_, data::Warning::CancelRequest, fileName_) == kOk) {
            cancelled_ = true;
            progress_.reset();
            end();
            return false;
        }
        // Reading goes on in a fresh progress window.
        progress_ = prompter_.progress(kTitle, "Reading File");
        progress_->setPercent(percent_);
    }

    std::string buffer(kReadStepBytes, '\0');
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file_);
    read_ += got;
    addText(std::string_view(buffer.data(), got));

    const int percent = static_cast<int>(std::min<std::uintmax_t>(100, read_ * 100 / size_));
    if (percent != percent_) {
        percent_ = percent;
        progress_->setPercent(percent_);
    }
    if (got < buffer.size()) {
        if (!pending_.empty()) addRow(pending_);
        pending_.clear();
        if (progress_) progress_->finish();
        end();
        return false;
    }
    return true;
}

void LogReader::readAll() {
    if (!start()) return;
    while (step()) {}
}

void LogReader::addText(std::string_view text) {
    pending_.append(text);
    std::size_t begin = 0;
    for (std::size_t nl; (nl = pending_.find('\n', begin)) != std::string::npos; begin = nl + 1) {
        std::string_view line(pending_.data() + begin, nl - begin);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        addRow(line);
    }
    pending_.erase(0, begin);
}

void LogReader::addRow(std::string_view line) {
    do {
        std::string piece = cutToWidth(line, kMaxRowCharacters);
        line.remove_prefix(piece.size());
        rows_.push_back(std::move(piece));
    } while (!line.empty());
}

void LogReader::end() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    finished_ = true;
}

int findRow(const std::vector<std::string>& rows, std::string_view text, int from, SearchDirection direction,
            Prompter& prompter) {
    const int n = static_cast<int>(rows.size());
    if (n == 0 || text.empty()) return -1;
    auto found = [&](int i) { return containsNoCase(rows[static_cast<std::size_t>(i)], text); };

    if (direction == SearchDirection::Down) {
        const int start = std::clamp(from + 1, 0, n);
        for (int i = start; i < n; ++i)
            if (found(i)) return i;
        if (data::standardWarning(prompter, data::Warning::EndOfFile, "Down") != kYes) return -1;
        for (int i = 0; i < start; ++i)
            if (found(i)) return i;
        return -1;
    }
    const int start = (from < 0 || from > n) ? n : from;
    for (int i = start - 1; i >= 0; --i)
        if (found(i)) return i;
    if (data::standardWarning(prompter, data::Warning::EndOfFile, "Up") != kYes) return -1;
    for (int i = n - 1; i >= start; --i)
        if (found(i)) return i;
    return -1;
}

}  // namespace plorix::log
