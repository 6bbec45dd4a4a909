#pragma once
// The served run: with PLORIX_TEST_BACKEND=server in the environment every
// folder a test makes (TempDir) keeps its data file's tables in a fresh
// schema of the test cluster, in this process and in the programs the test
// starts (through PLORIX_DATABASE). CTest registers chosen test programs a
// second time that way (label "served").

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace plorix::test {

// Whether this process's tests run with their data on the test server.
bool servedRun();

// Serves the data file of `folder` from a fresh schema for as long as it
// lives, and names it in PLORIX_DATABASE; nothing outside the served run.
class ServedRunFolder {
public:
    explicit ServedRunFolder(const std::filesystem::path& folder);
    ~ServedRunFolder();
    ServedRunFolder(const ServedRunFolder&) = delete;
    ServedRunFolder& operator=(const ServedRunFolder&) = delete;

private:
    std::string file_;
    std::string schema_;
    bool namesDatabase_ = false;
};

}  // namespace plorix::test

// A test that looks at the data file itself (its bytes, or its tables
// through SQLite), or that needs more than the one served data set a test
// gets: it runs in the file run only, saying why.
#define PLORIX_FILE_RUN_ONLY(why) \
    if (::plorix::test::servedRun()) GTEST_SKIP() << "the file run only: " << (why)
