#pragma once
// A file written under a temporary name in its own folder and put in place
// by a rename only when it is complete: a write killed or failing half-way
// never leaves a file that passes for a whole one, and never destroys the
// file it was to replace. "-" is standard output, and a device or pipe is
// written directly, as neither can be replaced.

#include <cstdio>
#include <string>

namespace plorix::io {

class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile() { discard(); }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Makes the temporary (mode 0600). `keepOld`: the existing file's
    // content is copied in first, for a file that is appended to. 0 or the
    // errno of the failure.
    int open(const std::string& path, bool keepOld = false);
    // Where to write: the temporary, the device or standard output.
    std::FILE* stream() const { return out_; }
    // The temporary's path; the target itself when written directly.
    const std::string& writtenPath() const { return temp_.empty() ? path_ : temp_; }
    // Flushes, syncs, closes and renames the temporary onto the target.
    // 0 or the errno of the failure (the temporary is then removed).
    int commit();
    // Closes and removes the temporary; the target is left as it was.
    void discard();

private:
    void unbuffered();
    std::string path_;
    std::string temp_;  // empty when written directly
    std::FILE* out_ = nullptr;
};

// A temporary name beside `path` for a file another writer creates (the
// store): made with mode 0600, empty; "" with errno set when it cannot be.
std::string temporaryBeside(const std::string& path);
// Syncs `temp` and renames it onto `path`: 0 or the errno of the failure.
int putInPlace(const std::string& temp, const std::string& path);

}  // namespace plorix::io
