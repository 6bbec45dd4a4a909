#include "io/csv_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace plorix::io {
namespace {

std::vector<std::string> readAll(std::string_view line, std::vector<int>* kinds = nullptr) {
    CsvLineReader reader(line);
    std::vector<std::string> out;
    std::string field;
    for (;;) {
        auto r = reader.next(field);
        if (r == CsvLineReader::kNone) break;
        out.push_back(field);
        if (kinds) kinds->push_back(r);
    }
    return out;
}

TEST(CsvLine, WritesEachFormAndReadsItBack) {
    CsvLineWriter w;
    w.append("Say \"hi\"   ", CsvForm::Text);
    w.append("  42", CsvForm::Number);
    w.append("31/10/1959", CsvForm::Formatted);
    w.append("", CsvForm::Text);
    EXPECT_EQ(w.line(), R"("Say ""hi""",42,"31/10/1959","")");

    std::vector<int> kinds;
    auto fields = readAll(w.line(), &kinds);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0], "Say \"hi\"");
    EXPECT_EQ(fields[1], "42");
    EXPECT_EQ(fields[2], "31/10/1959");
    EXPECT_EQ(fields[3], "");
    EXPECT_EQ(kinds, (std::vector<int>{1, 2, 1, 1}));
}

TEST(CsvLine, PictureLetterChoosesTheForm) {
    EXPECT_EQ(csvFormOfPicture("@s20"), CsvForm::Text);
    EXPECT_EQ(csvFormOfPicture("@N30.9"), CsvForm::Number);
    EXPECT_EQ(csvFormOfPicture("@d6b"), CsvForm::Formatted);
    EXPECT_EQ(csvFormOfPicture("t3"), CsvForm::Formatted);
}

TEST(CsvLine, CommasInsideQuotesAndBlankRest) {
    auto fields = readAll(R"("a,b",c,   )");
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0], "a,b");
    EXPECT_EQ(fields[1], "c");
    EXPECT_TRUE(readAll("   ").empty());
}

TEST(CsvLine, UnterminatedQuoteIsReportedNotOverrun) {
    CsvLineReader reader(R"(1,"open ended)");
    std::string f;
    EXPECT_EQ(reader.next(f), CsvLineReader::kBare);
    EXPECT_EQ(reader.next(f), CsvLineReader::kQuoted);
    EXPECT_EQ(f, "open ended");
    EXPECT_TRUE(reader.unbalanced());
    EXPECT_EQ(reader.next(f), CsvLineReader::kNone);
}

}  // namespace
}  // namespace plorix::io
