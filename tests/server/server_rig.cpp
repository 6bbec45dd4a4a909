#include "server/server_rig.h"

#include <stdexcept>

#include "support/test_server.h"

namespace plorix::test {

std::string ownDatabase() {
    // The schema helper names the test as the server keeps names.
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = freshSchema(std::string(test->test_suite_name()) + "_" + test->name()).schema;
    const std::string cluster = testServerUrl();
    queryServer({cluster}, "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    queryServer({cluster}, "CREATE DATABASE " + name);
    return "postgresql:///" + name + cluster.substr(cluster.find('?'));
}

PrivateCluster::PrivateCluster() { start(); }

PrivateCluster::~PrivateCluster() { stop(); }

void PrivateCluster::start() {
    const ProcessResult r = runProcess({PLORIX_CLUSTER_SCRIPT, "start", dir_.path().string()});
    if (r.status != 0) throw std::runtime_error("pg-cluster start: " + r.err);
    url_ = lines(r.out).front();
}

void PrivateCluster::stop() { runProcess({PLORIX_CLUSTER_SCRIPT, "stop", dir_.path().string()}); }

ProcessResult cli(const std::string& folder, std::vector<std::string> args) {
    args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", folder});
    return runProcess(args);
}

}  // namespace plorix::test
