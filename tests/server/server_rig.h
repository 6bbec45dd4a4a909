#pragma once
// Servers for the server tests: a database of the test's own on the shared
// test cluster (its schema "plorix" is what --database and migrate use), a
// private cluster the test may stop and start, and plorix-cli run against
// them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::test {

// A database named after the running test, made afresh; its URL.
std::string ownDatabase();

// A cluster in a temporary folder of its own, started at once and stopped
// with the object.
class PrivateCluster {
public:
    PrivateCluster();
    ~PrivateCluster();
    PrivateCluster(const PrivateCluster&) = delete;
    PrivateCluster& operator=(const PrivateCluster&) = delete;
    const std::string& url() const { return url_; }
    void start();
    void stop();

private:
    TempDir dir_{false};
    std::string url_;
};

// plorix-cli on the data folder `folder`.
ProcessResult cli(const std::string& folder, std::vector<std::string> args);

}  // namespace plorix::test
