#pragma once
// Where a test's data file keeps its tables: in the file in the test's
// folder, or, in test programs built with PLORIX_TEST_ON_SERVER, in a schema
// of the test's own on the test cluster, so that one test proves the same
// guarantee on both. Declared after the test's TempDir, so the folder is
// entered first.

#include <gtest/gtest.h>

#include <string>

#include "data/data_file.h"
#include "store/served_files.h"
#include "store/store.h"
#ifdef PLORIX_TEST_ON_SERVER
#include "support/test_server.h"
#endif

namespace plorix::test {

class DataFilePlace {
public:
    DataFilePlace() : file_(store::absoluteFileName(store::resolveFileName(data::kDataFileName))) {
#ifdef PLORIX_TEST_ON_SERVER
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        store::serveFile(file_, freshSchema(std::string(test->test_suite_name()) + "_" + test->name()));
#endif
    }
    ~DataFilePlace() { store::serveFile(file_, {""}); }
    DataFilePlace(const DataFilePlace&) = delete;
    DataFilePlace& operator=(const DataFilePlace&) = delete;

private:
    std::string file_;
};

}  // namespace plorix::test
