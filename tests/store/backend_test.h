#pragma once
// The store's tests run on both backends: the encrypted data file and a
// PostgreSQL server serving it (the cluster of the CTest fixture postgres).
// A suite derives from BackendTest and is instantiated with
// PLORIX_ON_BOTH_BACKENDS; its server instances end in "/Server".

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "data/raw_data_file.h"
#include "store/served_files.h"
#include "support/temp_dir.h"
#include "support/test_server.h"

namespace plorix::data::test {

enum class Backend { File, Server };

class BackendTest : public ::testing::TestWithParam<Backend> {
protected:
    // The test's folder first: the data file is named relative to it.
    BackendTest() {
        if (GetParam() == Backend::Server) {
            const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
            server = plorix::test::freshSchema(std::string(info->test_suite_name()) + "_" + info->name());
            store::serveFile(std::string(kDataFileName), server);
        }
    }
    ~BackendTest() override { store::serveFile((dir / std::string(kDataFileName)).string(), {}); }

    bool onServer() const { return GetParam() == Backend::Server; }

    // SQL run behind the store's back, on the file or in the server's schema.
    void rawExec(const std::string& sql) {
        if (onServer()) {
            plorix::test::queryServerColumn(server, sql);
        } else {
            plorix::test::RawDataFile(std::string(kDataFileName)).exec(sql);
        }
    }
    std::vector<std::string> rawColumn(const std::string& sql) {
        if (onServer()) return plorix::test::queryServerColumn(server, sql);
        return plorix::test::RawDataFile(std::string(kDataFileName)).column(sql);
    }

    plorix::test::TempDir dir;
    store::ServerAddress server;
};

inline void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::File ? "file" : "server");
}

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::File ? "File" : "Server";
}

}  // namespace plorix::data::test

#define PLORIX_ON_BOTH_BACKENDS(suite)                                                                 \
    INSTANTIATE_TEST_SUITE_P(                                                                          \
        Backends, suite,                                                                               \
        ::testing::Values(::plorix::data::test::Backend::File, ::plorix::data::test::Backend::Server), \
        ::plorix::data::test::backendName)
#define PLORIX_ON_THE_FILE(suite)                                                                     \
    INSTANTIATE_TEST_SUITE_P(Backends, suite, ::testing::Values(::plorix::data::test::Backend::File), \
                             ::plorix::data::test::backendName)
#define PLORIX_ON_THE_SERVER(suite)                                                                     \
    INSTANTIATE_TEST_SUITE_P(Backends, suite, ::testing::Values(::plorix::data::test::Backend::Server), \
                             ::plorix::data::test::backendName)
