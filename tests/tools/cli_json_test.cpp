// plorix-cli for scripts: --json output one object per line, counts on
// standard error, standard input as an import file.

#include "cli_fixture.h"

namespace plorix::test {
namespace {

std::vector<std::string> outputLines(const ProcessResult& r) {
    EXPECT_EQ(r.status, 0) << r.err;
    return lines(r.out);
}

TEST_F(Cli, TablesListForecastAndSimulatePrintOneEscapedObjectPerLine) {
    // A tab, a control character, a quote, a backslash, an accent and a
    // character beyond the first plane.
    ASSERT_EQ(cli({"add", "Schedule", "SCH:DESCRIPTION=a\t\x01\"\\\xc3\xa9\xf0\x9f\x98\x80",
                   "SCH:DATE=2030-01-01", "SCH:TIME=10:00", "SCH:SCHEDULETYPE=Once"})
                  .status,
              0);
    const std::string escaped = R"("a\t\u0001\"\\\u00e9\ud83d\ude00")";

    const auto tables = outputLines(cli({"tables", "--json"}));
    ASSERT_EQ(tables.size(), 12u);
    EXPECT_EQ(tables[0], R"({"label":"Categories","stored":"PX97\\!Categories","version":2,"records":0})");

    const auto records = outputLines(cli({"list", "Schedule", "--json", "--positions"}));
    ASSERT_EQ(records.size(), 1u);  // no header line
    EXPECT_EQ(records[0].rfind(R"({"#":1,"SCH:USER":"","SCH:ID":1,"SCH:TASKTYPE":)", 0), 0u) << records[0];
    EXPECT_NE(records[0].find(R"("SCH:DESCRIPTION":)" + escaped + ","), std::string::npos) << records[0];
    EXPECT_EQ(records[0].back(), '}');

    EXPECT_EQ(outputLines(cli({"forecast", "--from", "2029-12-31", "--json"})),
              std::vector<std::string>{R"({"SCH:ID":1,"due":"2030-01-01 10:00:00","SCH:DESCRIPTION":)" +
                                       escaped + R"(,"skip":false})"});
    const auto events =
        outputLines(cli({"simulate", "--json", "--from", "2030-01-01T09:59", "--to", "2030-01-01T10:01"}));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0],
              R"({"when":"2030-01-01 10:00:00","kind":"fire","detail":"1 a\t\u0001\"\\\u00e9\ud83d\ude00"})");
}

TEST_F(Cli, ImportReadsStandardInputAndCountsGoToStandardError) {
    dir.write("todo.csv", "\"TDO:ToDo\",\"TDO:Priority\"\r\n\"a\",1\r\n\"b\",2\r\n");
    const std::string command = std::string("'") + PLORIX_CLI_PATH + "' -d '" + dir.path().string() +
                                "' import Todo - < '" + (dir / "todo.csv").string() + "'";
    const ProcessResult imported = runProcess({"/bin/sh", "-c", command});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "");
    EXPECT_EQ(imported.err, "2 records imported\n");

    const ProcessResult exported = cli({"export", "Todo", "-", "--fields", "TDO:ToDo", "--no-header"});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "\"a\"\r\n\"b\"\r\n");
    EXPECT_EQ(exported.err, "2 records exported\n");
}

}  // namespace
}  // namespace plorix::test
