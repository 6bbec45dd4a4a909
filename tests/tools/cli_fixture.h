#pragma once
// A data folder of its own and plorix-cli run on it, as a user runs it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::test {

class Cli : public ::testing::Test {
protected:
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {PLORIX_CLI_PATH, "-d", dir.path().string()});
        return runProcess(args);
    }
    // Runs and expects success; returns stdout.
    std::string ok(std::vector<std::string> args) {
        auto r = cli(std::move(args));
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
    // Runs and expects the one-line refusal with exit status 2.
    std::string refused(std::vector<std::string> args) {
        auto r = cli(std::move(args));
        EXPECT_EQ(r.status, 2) << r.out;
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
        return r.err;
    }
    // Refused in one line that names `field` and quotes `value`.
    void refusedNaming(std::vector<std::string> args, const std::string& field, const std::string& value) {
        const std::string err = refused(std::move(args));
        EXPECT_NE(err.find(field), std::string::npos) << err;
        EXPECT_NE(err.find("'" + value + "'"), std::string::npos) << err;
    }
    std::size_t recordCount(const std::string& table) {
        for (const auto& line : lines(ok({"tables"}))) {
            if (line.rfind(table + "\t", 0) == 0) return std::stoul(line.substr(line.rfind('\t') + 1));
        }
        ADD_FAILURE() << "no table " << table;
        return 0;
    }
    TempDir dir{false};
};

}  // namespace plorix::test
