#pragma once
// The PostgreSQL cluster the tests share (started by the CTest fixture
// "postgres"): every test works in a schema of its own, so tests may run in
// parallel.

#include <string>

#include "store/served_files.h"

namespace plorix::test {

// The URL of the cluster in the build tree's "pg" folder.
std::string testServerUrl();

// A schema named after `testName` on the test cluster, dropped first if an
// earlier run left it behind.
store::ServerAddress freshSchema(const std::string& testName);

}  // namespace plorix::test
