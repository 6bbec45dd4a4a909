#include "server/server_rig.h"

#include <libpq-fe.h>

#include <stdexcept>

#include "support/test_server.h"

namespace plorix::test {

std::string sqlValue(const std::string& url, const std::string& sql) {
    PGconn* connection = PQconnectdb(url.c_str());
    PGresult* result = PQexec(connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    std::string value = status == PGRES_TUPLES_OK && PQntuples(result) > 0 ? PQgetvalue(result, 0, 0) : "";
    const std::string error = PQerrorMessage(connection);
    PQclear(result);
    PQfinish(connection);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) throw std::runtime_error(sql + ": " + error);
    return value;
}

std::string ownDatabase() {
    // The schema helper names the test as the server keeps names.
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = freshSchema(std::string(test->test_suite_name()) + "_" + test->name()).schema;
    const std::string cluster = testServerUrl();
    sqlValue(cluster, "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    sqlValue(cluster, "CREATE DATABASE " + name);
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
