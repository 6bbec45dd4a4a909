#include <gtest/gtest.h>

#include <clocale>

#include "runtime/pictures.h"

namespace plorix {
namespace {

class TimePictures : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(TimePictures, MidnightNoonEveningAndEndOfDay) {
    struct Case {
        Time time;
        const char* t1;
        const char* t2;
        const char* t3;
        const char* t4;
        const char* t5;
        const char* t6;
        const char* t7;
    };
    const Case cases[] = {
        {kMidnight, "00:00", "0000", "12:00AM", "00:00:00", "000000", "12:00:00AM", "00:00:00"},
        {makeTime(12, 0), "12:00", "1200", "12:00PM", "12:00:00", "120000", "12:00:00PM", "12:00:00"},
        {makeTime(17, 30, 5, 99), "17:30", "1730", "5:30PM", "17:30:05", "173005", "5:30:05PM", "17:30:05"},
        {kHundredthsPerDay, "23:59", "2359", "11:59PM", "23:59:59", "235959", "11:59:59PM", "23:59:59"},
        {kEndOfDay, "24:00", "2400", "12:00AM", "24:00:00", "240000", "12:00:00AM", "00:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatTime(c.time, "t1"), c.t1);
        EXPECT_EQ(formatTime(c.time, "@T2"), c.t2);
        EXPECT_EQ(formatTime(c.time, "t3"), c.t3);
        EXPECT_EQ(formatTime(c.time, "t4"), c.t4);
        EXPECT_EQ(formatTime(c.time, "t5"), c.t5);
        EXPECT_EQ(formatTime(c.time, "t6"), c.t6);
        EXPECT_EQ(formatTime(c.time, "t7"), c.t7);
        EXPECT_EQ(formatTime(c.time, "t8"), c.t7);
    }
    EXPECT_EQ(formatTime(0, "t3"), "");
    EXPECT_EQ(formatTime(0, "t3b"), "");
}

TEST_F(TimePictures, EveryMinuteRoundTripsThroughEveryPicture) {
    for (const char* picture : {"t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8"})
        for (Time t = kMidnight; t <= kHundredthsPerDay; t += kHundredthsPerMinute)
            ASSERT_EQ(parseTime(formatTime(t, picture)), t) << picture << " " << formatTime(t, picture);
    EXPECT_EQ(parseTime(formatTime(kEndOfDay, "t4")), kEndOfDay);
}

TEST_F(TimePictures, ReadingIsLenientButNotCareless) {
    EXPECT_EQ(parseTime(" 5:30 pm "), makeTime(17, 30));
    EXPECT_EQ(parseTime("12:15 a.m."), makeTime(0, 15));
    EXPECT_EQ(parseTime("5PM"), makeTime(17, 0));
    EXPECT_EQ(parseTime("530"), makeTime(5, 30));
    EXPECT_EQ(parseTime("17:30:00.5"), makeTime(17, 30, 0, 50));
    EXPECT_EQ(parseTime("17:30:00.25"), makeTime(17, 30, 0, 25));
    EXPECT_EQ(parseTime(""), Time{0});
    for (const char* text : {"25:00", "17:60", "13:00PM", "17:30xm", "1:2:3:4:5", "1234567", "17::30",
                             "24:00PM", ":30", "17:30:"})
        EXPECT_FALSE(parseTime(text)) << text;
}

TEST(NumberPictures, ReadPictureForms) {
    const auto p = readPicture("@n-10.2b");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->kind, PictureKind::Number);
    EXPECT_EQ(p->width, 10);
    EXPECT_EQ(p->decimals, 2);
    EXPECT_TRUE(p->sign);
    EXPECT_TRUE(p->blankZero);
    EXPECT_EQ(pictureKind("N3"), PictureKind::Number);
    EXPECT_EQ(pictureKind("@S1000"), PictureKind::Text);
    EXPECT_EQ(pictureKind("t3b"), PictureKind::Time);
    for (const char* bad : {"", "@", "d0", "d19", "t9", "s0", "sx", "n3.", "n3x", "x3", "@s20b", "n1000"})
        EXPECT_EQ(pictureKind(bad), PictureKind::Invalid) << bad;
}

TEST(NumberPictures, WidthDecimalsSignAndBlankZero) {
    EXPECT_EQ(formatNumber(5, "n3"), "  5");
    EXPECT_EQ(formatNumber(100, "N3"), "100");
    EXPECT_EQ(formatNumber(12345, "n3"), "12345");  // too wide: shown in full
    EXPECT_EQ(formatNumber(-42, "@n-13"), "          -42");
    EXPECT_EQ(formatNumber(-42, "n5"), "  -42");
    EXPECT_EQ(formatNumber(2.5, "n3"), "  3");
    EXPECT_EQ(formatNumber(-2.5, "n3"), " -3");
    EXPECT_EQ(formatNumber(1.125, "n-10.2"), "      1.13");
    EXPECT_EQ(formatNumber(-0.001, "n6.2"), "  0.00");
    EXPECT_EQ(formatNumber(0, "n4b"), "");
    EXPECT_EQ(formatNumber(0, "n4"), "   0");
    EXPECT_EQ(formatNumber(1959, "n4b"), "1959");
    EXPECT_EQ(formatNumber(1.5, "@N30.9"), std::string(19, ' ') + "1.500000000");
}

TEST(NumberPictures, ReadingNumbers) {
    EXPECT_EQ(parseNumber("  -12.50 "), -12.5);
    EXPECT_EQ(parseNumber("+3"), 3);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber(""), 0);
    for (const char* bad : {"1e5", "1.2.3", "--1", "- 1", "12a", ".", "+", "1 2"})
        EXPECT_FALSE(parseNumber(bad)) << bad;
    for (double v : {0.0, 7.0, -13.0, 123456789.0, 3.25})
        EXPECT_EQ(parseNumber(formatNumber(v, "n-15.2")), v);
}

TEST(GenericPictures, DispatchByLetter) {
    const Date d = makeDate(10, 31, 1959);
    EXPECT_EQ(formatPicture(d, "@d6b"), "31/10/1959");
    EXPECT_EQ(formatPicture(0.0, "@d6b"), "");
    EXPECT_EQ(formatPicture(makeTime(17, 30), "@t3b"), "5:30PM");
    EXPECT_EQ(formatPicture(7, "@n3"), "  7");
    EXPECT_EQ(formatPicture(12.5, "s20"), "12.5");
    EXPECT_EQ(formatPicture("a longer text", "@s6"), "a long");
    EXPECT_EQ(formatPicture("héllo wörld", "s5"), "héllo");
    EXPECT_EQ(formatPicture(std::to_string(d), "d3"), "OCT 31,1959");
    EXPECT_EQ(formatPicture("not a number", "n3"), "not a number");
    EXPECT_EQ(formatPicture(1e300, "d3"), "");  // no date, no overflow
    EXPECT_EQ(parsePicture("31/10/1959", "@d6"), d);
    EXPECT_EQ(parsePicture("5:30PM", "@t3"), makeTime(17, 30));
    EXPECT_EQ(parsePicture("-13", "@n-13"), -13);
    EXPECT_FALSE(parsePicture("x", "@s20"));
    EXPECT_FALSE(parsePicture("31/31/1959", "@d6"));
}

}  // namespace
}  // namespace plorix
