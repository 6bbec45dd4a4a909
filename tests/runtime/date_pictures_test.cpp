#include <gtest/gtest.h>

#include <clocale>

#include "runtime/clock.h"
#include "runtime/pictures.h"

namespace plorix {
namespace {

// Two-digit years depend on the current year: tests fix it at 2025.
class DatePictures : public ::testing::Test {
protected:
    void SetUp() override {
        std::setlocale(LC_ALL, "C");
        setProcessClock(&clock_);
    }
    void TearDown() override { setProcessClock(nullptr); }
    ManualClock clock_{{makeDate(6, 15, 2025), makeTime(12, 0)}};
};

TEST_F(DatePictures, EveryPictureShowsTheExampleDate) {
    const Date d = makeDate(10, 31, 1959);
    const std::pair<const char*, const char*> cases[] = {
        {"d1", "10/31/59"},     {"d2", "10/31/1959"},
        {"@D3", "OCT 31,1959"}, {"d4", "October 31, 1959"},
        {"d5", "31/10/59"},     {"d6", "31/10/1959"},
        {"d7", "31 OCT 59"},    {"d8", "31 OCT 1959"},
        {"d9", "59/10/31"},     {"d10", "1959/10/31"},
        {"d11", "591031"},      {"d12", "19591031"},
        {"d13", "10/59"},       {"d14", "10/1959"},
        {"d15", "59/10"},       {"d16", "1959/10"},
        {"d17", "10/31/59"},    {"d18", "Saturday, October 31, 1959"},
        {"n4b", "1959"},        {"@d6b", "31/10/1959"},
    };
    for (const auto& [picture, shown] : cases) EXPECT_EQ(formatDate(d, picture), shown) << picture;
}

TEST_F(DatePictures, PaddingZeroAndFallback) {
    const Date d = makeDate(1, 5, 2003);
    EXPECT_EQ(formatDate(d, "d1"), "01/05/03");
    EXPECT_EQ(formatDate(d, "d3"), "JAN 05,2003");
    EXPECT_EQ(formatDate(d, "d4"), "January 05, 2003");
    EXPECT_EQ(formatDate(d, "d18"), "Sunday, January 5, 2003");
    EXPECT_EQ(formatDate(0, "d2"), "");
    EXPECT_EQ(formatDate(0, "n4b"), "");
    EXPECT_EQ(formatDate(d, "d19"), "JAN 05,2003");  // not a date picture: d3
    EXPECT_EQ(formatDate(d, ""), "JAN 05,2003");
}

TEST_F(DatePictures, FourDigitPicturesRoundTripThroughTheWholeRange) {
    const Date last = makeDate(12, 31, 9999);
    for (const char* picture : {"d2", "d3", "d4", "d6", "d8", "d10", "d12", "d18"})
        for (Date d = 4; d <= last; d += 211)
            ASSERT_EQ(parseDate(formatDate(d, picture), picture), d)
                << picture << " " << formatDate(d, picture);
    for (const char* picture : {"d14", "d16", "n4"}) {
        const Date d = makeDate(2, 1, 2024);
        EXPECT_EQ(parseDate(formatDate(d, picture), picture), picture[0] == 'n' ? makeDate(1, 1, 2024) : d);
    }
}

TEST_F(DatePictures, TwoDigitPicturesRoundTripInsideTheCenturyWindow) {
    for (const char* picture : {"d1", "d5", "d7", "d9", "d11", "d17"})
        for (Date d = makeDate(1, 1, 1946); d <= makeDate(12, 31, 2045); d += 13)
            ASSERT_EQ(parseDate(formatDate(d, picture), picture), d)
                << picture << " " << formatDate(d, picture);
    EXPECT_EQ(expandTwoDigitYear(45), 2045);
    EXPECT_EQ(expandTwoDigitYear(46), 1946);
    EXPECT_EQ(expandTwoDigitYear(0), 2000);
}

TEST_F(DatePictures, ReadingIsLenient) {
    const Date d = makeDate(10, 31, 1959);
    EXPECT_EQ(parseDate("  10/31/1959 ", "d1"), d);  // four digits in a yy picture
    EXPECT_EQ(parseDate("10-31-59", "d2"), d);       // two digits in a yyyy picture
    EXPECT_EQ(parseDate("oct 31, 1959", "d3"), d);
    EXPECT_EQ(parseDate("31 October 1959", "d8"), d);
    EXPECT_EQ(parseDate("Sat 31 Oct 1959", "d6"), d);  // weekday names are skipped
    EXPECT_EQ(parseDate("Sept 1 1959", "d3"), makeDate(9, 1, 1959));
    EXPECT_EQ(parseDate("103159", "d1"), d);
    EXPECT_EQ(parseDate("", "d6"), Date{0});
    EXPECT_EQ(parseDate("10/1959", "d14"), makeDate(10, 1, 1959));
}

TEST_F(DatePictures, ReadingRejectsImpossibleDates) {
    for (const char* text : {"02/30/2000", "13/01/2000", "02/29/1900", "00/10/2000", "1/1/1800", "1/1/10000",
                             "10/31", "10/31/1959/4", "Octember 31 1959", "OCT NOV 1 1959", "1959", "x"})
        EXPECT_FALSE(parseDate(text, "d2")) << text;
    EXPECT_EQ(parseDate("02/29/2000", "d2"), makeDate(2, 29, 2000));
}

}  // namespace
}  // namespace plorix
