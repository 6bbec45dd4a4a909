#include "support/served_run.h"

#include <cstdlib>
#include <string_view>

#include "data/data_file.h"
#include "store/served_files.h"
#include "support/test_server.h"

namespace plorix::test {

namespace {

constexpr const char* kDatabaseVariable = "PLORIX_DATABASE";

// The test's name and how many folders this process made before: each
// folder has a schema of its own, and tests running beside each other never
// share one.
std::string schemaFor() {
    static int made = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string test = info ? std::string(info->test_suite_name()) + "_" + info->name() : "process";
    return "served_" + test + "_" + std::to_string(made++);
}

}  // namespace

bool servedRun() {
    const char* backend = std::getenv("PLORIX_TEST_BACKEND");
    return backend && std::string_view(backend) == "server";
}

ServedRunFolder::ServedRunFolder(const std::filesystem::path& folder) {
    if (!servedRun()) return;
    const store::ServerAddress server = freshSchema(schemaFor());
    file_ = (folder / std::string(data::kDataFileName)).string();
    schema_ = server.schema;
    store::serveFile(file_, server);
    // The programs a test starts work on the test's first folder (later
    // ones are most often a mail server's or a second station's).
    if (std::getenv(kDatabaseVariable)) return;
    namesDatabase_ = true;
    setenv(kDatabaseVariable, (server.url + "&schema=" + server.schema).c_str(), 1);
}

ServedRunFolder::~ServedRunFolder() {
    if (file_.empty()) return;
    store::serveFile(file_, {});
    if (namesDatabase_) unsetenv(kDatabaseVariable);
    dropSchema(schema_);
}

}  // namespace plorix::test
