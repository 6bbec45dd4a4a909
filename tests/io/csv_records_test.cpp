#include "io/csv_records.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "io/csv_line.h"

namespace plorix::io {
namespace {

std::vector<CsvRecord> readAll(const std::string& content, std::uint64_t* bytes = nullptr) {
    std::istringstream in(content);
    CsvRecordReader reader(in);
    std::vector<CsvRecord> out;
    CsvRecord r;
    while (reader.next(r)) out.push_back(r);
    if (bytes) *bytes = reader.bytesRead();
    return out;
}

TEST(CsvRecords, LinesEndInCrLfOrLfAndQuotedFieldsMaySpanLines) {
    std::uint64_t bytes = 0;
    const std::string content = "\xEF\xBB\xBF\"a\",1\r\n\"two\r\nlines\",2\nlast,3";
    auto records = readAll(content, &bytes);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].text, "\"a\",1");  // the byte-order mark is passed over
    EXPECT_EQ(records[1].text, "\"two\r\nlines\",2");
    EXPECT_EQ(records[1].where(), "lines 2-3");
    EXPECT_EQ(records[2].text, "last,3");
    EXPECT_EQ(records[2].where(), "line 4");
    for (const auto& r : records) EXPECT_TRUE(r.error.empty()) << r.error;
    EXPECT_EQ(bytes, content.size());

    std::vector<CsvField> fields;
    ASSERT_TRUE(splitCsvLine(records[1].text, fields));
    EXPECT_EQ(fields[0].text, "two\r\nlines");
}

TEST(CsvRecords, ABadLineIsReportedAndTheNextOneIsReadAsUsual) {
    const std::string content = std::string("ok,1\r\nnul\0here,2\r\nlone\rcr,3\r\n", 29) +
                                "\"cr\rinside quotes\",4\r\n" + "bad \xFF byte,5\r\n" + "fine,6\r\n";
    auto records = readAll(content);
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[1].error, "holds a NUL byte");
    EXPECT_EQ(records[2].error, "holds a carriage return without a line feed");
    EXPECT_EQ(records[3].error, "");
    EXPECT_EQ(records[4].error, "is not UTF-8 text");
    EXPECT_EQ(records[5].text, "fine,6");
    EXPECT_EQ(records[5].firstLine, 6u);
}

TEST(CsvRecords, AnOverlongLineIsSkippedWithoutCostingTheOthers) {
    const std::string longLine(kMaxLineCharacters + 1, 'x');
    auto records =
        readAll("a,1\r\n" + longLine + "\r\nb,2\r\n" + std::string(kMaxLineCharacters, 'y') + "\r\n");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1].error, "is longer than 16,000 characters");
    EXPECT_EQ(records[2].text, "b,2");
    EXPECT_EQ(records[2].firstLine, 3u);
    EXPECT_TRUE(records[3].error.empty());  // exactly at the limit
    // Characters, not bytes: 16,000 two-byte characters are within the limit.
    std::string wide;
    for (std::size_t i = 0; i < kMaxLineCharacters; ++i) wide += "\xC3\xA9";
    EXPECT_TRUE(readAll(wide)[0].error.empty());
}

TEST(CsvRecords, AQuoteNeverClosedCostsOnlyItsOwnLine) {
    auto records = readAll("\"open,1\r\nnext,2\r\nthird,3\r\n");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].error, "has a double quote that is never closed");
    EXPECT_EQ(records[0].where(), "line 1");
    EXPECT_EQ(records[1].text, "next,2");
    EXPECT_EQ(records[2].text, "third,3");

    // A stray quote whose line runs on past the limit.
    std::string runaway = "\"stray\r\n";
    for (int i = 0; i < 2000; ++i) runaway += "filler line of text\r\n";
    records = readAll(runaway);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].error, "is longer than 16,000 characters");
    EXPECT_EQ(records[1].text, "filler line of text");
    EXPECT_EQ(records.size(), 2001u);
}

TEST(CsvRecords, AFileOfManyChunksReadsLineForLine) {
    // Lines of every length, some spanning two lines of the file and one
    // over the limit, so that lines and quotes fall across the reader's
    // chunk edges.
    std::string content;
    std::vector<std::string> texts;
    std::vector<std::size_t> firstLines;
    std::size_t line = 1;
    for (int i = 0; i < 6000; ++i) {
        std::string text = i % 7 == 0 ? "\"two\r\nlines " + std::to_string(i) + "\",\"say \"\"hi\"\"\""
                                      : "\"row " + std::string(static_cast<std::size_t>(i % 90), 'x') +
                                            "\",caf\xC3\xA9," + std::to_string(i);
        if (i == 3000) text = std::string(kMaxLineCharacters + 1, 'y');
        content += text + "\r\n";
        texts.push_back(i == 3000 ? "" : text);
        firstLines.push_back(line);
        line += i % 7 == 0 ? 2 : 1;
    }
    std::uint64_t bytes = 0;
    const auto records = readAll(content, &bytes);
    ASSERT_EQ(records.size(), texts.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_EQ(records[i].text, texts[i]) << "record " << i;
        ASSERT_EQ(records[i].firstLine, firstLines[i]) << "record " << i;
        ASSERT_EQ(records[i].error.empty(), i != 3000) << "record " << i << ": " << records[i].error;
    }
    EXPECT_EQ(bytes, content.size());

    // The fields of a longer line before leave nothing behind.
    std::vector<CsvField> fields;
    ASSERT_TRUE(splitCsvLine(texts[7], fields));
    ASSERT_TRUE(splitCsvLine("x,", fields));
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].text, "x");
    EXPECT_FALSE(fields[0].quoted);
    EXPECT_EQ(fields[1].text, "");
}

TEST(CsvLine, DanglingCommaIsAnEmptyLastFieldAndOddNumbersStayQuoted) {
    std::vector<CsvField> fields;
    ASSERT_TRUE(splitCsvLine("\"a\",1,", fields));
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[2].text, "");
    EXPECT_FALSE(fields[2].quoted);
    ASSERT_TRUE(splitCsvLine("   ", fields));
    EXPECT_TRUE(fields.empty());
    EXPECT_FALSE(splitCsvLine("1,\"open", fields));

    CsvLineWriter w;
    w.appendField("  12", "@n3");
    w.appendField("1,5", "@n6");  // a text field shown with a number picture
    w.appendName("SCH:Date");
    EXPECT_EQ(w.line(), "12,\"1,5\",\"SCH:Date\"");
}

}  // namespace
}  // namespace plorix::io
