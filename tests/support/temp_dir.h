#pragma once
// A fresh folder for one test, removed afterwards. The data folder of the
// program is its working directory, so most tests also change into it. In
// the served run its data file's tables are on the test server
// (support/served_run.h).

#include <filesystem>
#include <memory>
#include <string>

namespace plorix::test {

class ServedRunFolder;

class TempDir {
public:
    // enter = true makes the folder the working directory until destruction.
    explicit TempDir(bool enter = true);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Whole-file helpers for fixtures and checks.
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
    bool entered_;
    std::unique_ptr<ServedRunFolder> served_;
};

}  // namespace plorix::test
