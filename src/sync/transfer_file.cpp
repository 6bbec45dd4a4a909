#include "sync/transfer_file.h"

#include <cstring>
#include <filesystem>

#include "io/replacing_file.h"

namespace plorix::sync {

namespace {

constexpr std::string_view kSeparator = "\\!";

// The path the store opens for the table's file.
std::string pathOf(const store::Table& table) {
    return store::resolveFileName(store::splitStoredName(table.name(), table.schema()).file);
}

std::string whyNotReadable(const std::string& file, const store::Table& table) {
    const auto& error = table.error();
    switch (error.code) {
    case store::kFileNotFound:
        return file + " is not a transfer file: it has no table \"" +
               store::splitStoredName(table.name(), table.schema()).table + "\".";
    case store::kInvalidDataFile:
        return file + " is damaged, is not a transfer file, or was written with another key.";
    case store::kInvalidRecordDeclaration:
    case store::kInvalidKeyLength:
    case store::kKeyMustBeRebuilt: return file + " is not a transfer file of this version of the program.";
    default: return file + " cannot be read: " + error.describe() + ".";
    }
}

}  // namespace

std::string transferFileName(std::string_view name) {
    return std::string(name.substr(0, name.find(kSeparator)));
}

TransferFile::TransferFile(std::string_view file) : file_(transferFileName(file)) {
    name(file_);
    path_ = pathOf(schedule_);
}

void TransferFile::name(const std::string& file) {
    schedule_.setName(file + std::string(kSeparator) + "s");
    scripting_.setName(file + std::string(kSeparator) + "scr");
    todo_.setName(file + std::string(kSeparator) + "todo");
}

std::string TransferFile::path() const { return path_; }

std::string TransferFile::create() {
    std::error_code ec;
    if (std::filesystem::exists(path_, ec) && !std::filesystem::is_regular_file(path_, ec))
        return "Cannot replace " + file_ + ": it is not a file.";
    temp_ = io::temporaryBeside(path_);
    if (temp_.empty()) return "Cannot CREATE " + file_ + ": " + std::strerror(errno) + ".";
    name(temp_);
    for (store::Table* table : {&schedule_, &scripting_, &todo_}) {
        if (table->create() != store::kNoError || table->open() != store::kNoError)
            return "Cannot CREATE " + file_ + ": " + table->error().describe() + ".";
    }
    return {};
}

std::string TransferFile::openForReading() {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(pathOf(schedule_), ec))
        return "Cannot OPEN " + file_ + ": there is no such file.";
    for (store::Table* table : {&schedule_, &scripting_, &todo_}) {
        if (table->open(store::kReadOnlyDenyNone) != store::kNoError) {
            const std::string why = whyNotReadable(file_, *table);
            close();
            return why;
        }
    }
    // Every page is read once before anything local is touched: a file cut
    // short or damaged on its way is refused as a whole.
    std::vector<std::string> problems;
    if (schedule_.checkIntegrity(problems) != store::kNoError) {
        close();
        return file_ + " is damaged: " + schedule_.error().describe() + ".";
    }
    if (!problems.empty()) {
        close();
        return file_ + " is damaged: " + problems.front() + ".";
    }
    return {};
}

void TransferFile::close() {
    schedule_.close();
    scripting_.close();
    todo_.close();
}

std::string TransferFile::commit() {
    close();
    if (temp_.empty()) return {};
    if (const int error = io::putInPlace(temp_, path_)) {
        const std::string why = "Cannot CREATE " + file_ + ": " + std::strerror(error) + ".";
        remove();
        return why;
    }
    temp_.clear();
    name(file_);
    return {};
}

void TransferFile::remove() {
    close();
    if (temp_.empty()) return;
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    std::filesystem::remove(temp_ + "-journal", ec);
    temp_.clear();
    name(file_);
}

}  // namespace plorix::sync
