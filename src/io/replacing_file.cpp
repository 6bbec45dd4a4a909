#include "io/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace plorix::io {
namespace {

namespace fs = std::filesystem;

// A symbolic link is followed: the file it names is the one replaced.
std::string targetOf(const std::string& path) {
    std::error_code ec;
    const fs::path target = fs::is_symlink(path, ec) ? fs::canonical(path, ec) : fs::path(path);
    return ec ? path : target.string();
}

// Standard output, a device or a pipe: nothing to rename onto.
bool writtenDirectly(const std::string& path) {
    if (path == "-") return true;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_regular_file(status);
}

int makeTemporary(const std::string& path, std::string& temp) {
    const fs::path target(path);
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + "-XXXXXX.part")).string();
    const int fd = mkostemps(pattern.data(), 5, O_CLOEXEC);  // mode 0600
    if (fd < 0) return -1;
    temp = pattern;
    return fd;
}

int copyInto(const std::string& from, std::FILE* out) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) return errno == ENOENT ? 0 : errno;
    char buffer[65536];
    std::size_t n;
    int error = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (std::fwrite(buffer, 1, n, out) != n) {
            error = errno ? errno : EIO;
            break;
        }
    }
    if (!error && std::ferror(in)) error = errno ? errno : EIO;
    std::fclose(in);
    return error;
}

}  // namespace

int ReplacingFile::open(const std::string& path, bool keepOld) {
    discard();
    path_ = targetOf(path);
    if (writtenDirectly(path_)) {
        out_ = path_ == "-" ? stdout : std::fopen(path_.c_str(), keepOld ? "ab" : "wb");
        if (!out_) return errno;
        unbuffered();
        return 0;
    }
    const int fd = makeTemporary(path_, temp_);
    if (fd < 0) return errno;
    out_ = fdopen(fd, "wb");
    if (!out_) {
        const int error = errno;
        ::close(fd);
        discard();
        return error;
    }
    if (const int error = keepOld ? copyInto(path_, out_) : 0) {
        discard();
        return error;
    }
    unbuffered();
    return 0;
}

void ReplacingFile::unbuffered() {
    // Writes go straight to the file, so a write that fails says how much
    // went out and a retry sends exactly the rest.
    if (out_ && out_ != stdout) std::setvbuf(out_, nullptr, _IONBF, 0);
}

int ReplacingFile::commit() {
    if (!out_) return EBADF;
    std::FILE* out = out_;
    out_ = nullptr;
    errno = 0;
    int error = std::fflush(out) != 0 ? (errno ? errno : EIO) : 0;
    if (out == stdout) return error;
    if (!error && !temp_.empty() && fsync(fileno(out)) != 0) error = errno;
    if (std::fclose(out) != 0 && !error) error = errno ? errno : EIO;
    if (temp_.empty()) return error;
    if (!error && std::rename(temp_.c_str(), path_.c_str()) != 0) error = errno;
    if (error) {
        discard();
        return error;
    }
    temp_.clear();
    return 0;
}

void ReplacingFile::discard() {
    if (out_ && out_ != stdout) std::fclose(out_);
    out_ = nullptr;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

std::string temporaryBeside(const std::string& path) {
    std::string temp;
    const int fd = makeTemporary(targetOf(path), temp);
    if (fd < 0) return {};
    ::close(fd);
    return temp;
}

int putInPlace(const std::string& temp, const std::string& path) {
    const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int synced = fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (synced) return synced;
    return std::rename(temp.c_str(), targetOf(path).c_str()) == 0 ? 0 : errno;
}

}  // namespace plorix::io
