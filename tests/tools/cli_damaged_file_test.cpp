// plorix-cli on a damaged data file and with identifiers out of range.

#include <gtest/gtest.h>

#include <filesystem>

#include "store/damaged_file.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/served_run.h"

namespace plorix::test {
namespace {

class CliDamagedFile : public ::testing::Test {
protected:
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", dir.path().string()});
        return runProcess(args);
    }
    TempDir dir{false};
};

TEST_F(CliDamagedFile, CheckNamesTheDamagedTableAndFails) {
    PLORIX_FILE_RUN_ONLY("damages the file");
    for (int i = 0; i < 3; ++i) ASSERT_EQ(cli({"add", "Schedule", "SCH:DESCRIPTION=Task"}).status, 0);
    ASSERT_EQ(cli({"add", "Categories", "CAT:CATEGORY=Home"}).status, 0);
    EXPECT_EQ(cli({"check"}).status, 0);

    data::test::damage((dir / "Px97.TPS").string(), "s");
    const ProcessResult r = cli({"check"});
    EXPECT_EQ(r.status, 1) << r.err;
    bool named = false;
    for (const auto& line : lines(r.out)) {
        if (line.rfind("Schedule\t", 0) == 0 && line.find("Invalid Data File (36)") != std::string::npos)
            named = true;
        if (line.rfind("Categories\t", 0) == 0) {
            EXPECT_EQ(line, "Categories\tok");
        }
    }
    EXPECT_TRUE(named) << r.out << r.err;
}

TEST_F(CliDamagedFile, IdentifiersOutsideTheirRangeAreRefused) {
    for (const char* id : {"SCH:ID=0", "SCH:ID=-5", "SCH:ID=2147483648"}) {
        const ProcessResult r = cli({"add", "Schedule", id});
        EXPECT_EQ(r.status, 2) << id << r.out;
    }
    ASSERT_EQ(cli({"add", "Schedule", "SCH:ID=2147483647"}).status, 0);
    EXPECT_EQ(cli({"set", "Schedule", "2147483647", "SCH:ID=0"}).status, 2);
    // Numbering after the largest identifier fails and says why.
    const ProcessResult next = cli({"add", "Schedule", "SCH:DESCRIPTION=One more"});
    EXPECT_NE(next.status, 0);
    EXPECT_EQ(next.out.find("-2147483648"), std::string::npos) << next.out;
    EXPECT_NE(next.err.find("2147483647 is in use"), std::string::npos) << next.err;
    EXPECT_EQ(lines(cli({"list", "Schedule"}).out).size(), 2u);  // the header and the one record
}

TEST_F(CliDamagedFile, ASendStopsAtADamagedScheduleAndWritesNoTransferFile) {
    PLORIX_FILE_RUN_ONLY("damages the file");
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(cli({"add", "Schedule", "SCH:DESCRIPTION=Task " + std::to_string(i)}).status, 0);
    data::test::damage((dir / "Px97.TPS").string(), "s");
    const ProcessResult r = cli({"sync", "send", (dir / "out.SYN").string()});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(r.out.find("sent 0 tasks"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.SYN"));
}

}  // namespace
}  // namespace plorix::test
