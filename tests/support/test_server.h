#pragma once
// The PostgreSQL cluster the tests share (started by the CTest fixture
// "postgres"): every test works in a schema of its own, so tests may run in
// parallel.

#include <string>
#include <vector>

#include "store/served_files.h"

struct pg_conn;  // libpq's connection

namespace plorix::test {

// The URL of the cluster in the build tree's "pg" folder.
std::string testServerUrl();

// A schema named after `testName` on the test cluster, dropped first if an
// earlier run left it behind.
store::ServerAddress freshSchema(const std::string& testName);

// Drops a schema of the test cluster, if it is there; the tables still
// locked after 2 s leave it for freshSchema to drop on the next run.
void dropSchema(const std::string& schema);

// The first column of the first row of `sql` run in the server's schema
// ("" when it gives no row); throws when the server refuses it.
std::string queryServer(const store::ServerAddress& server, const std::string& sql);

// The first column of every row of `sql` run in the server's schema.
std::vector<std::string> queryServerColumn(const store::ServerAddress& server, const std::string& sql);

// A connection listening on one channel of the server.
class ServerListener {
public:
    ServerListener(const store::ServerAddress& server, const std::string& channel);
    ~ServerListener();
    ServerListener(const ServerListener&) = delete;
    ServerListener& operator=(const ServerListener&) = delete;
    // The payloads of the notifications that arrived within `waitMs`.
    std::vector<std::string> payloads(int waitMs);

private:
    ::pg_conn* conn_;
};

}  // namespace plorix::test
