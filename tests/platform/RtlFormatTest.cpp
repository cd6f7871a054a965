#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatFloat.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace cb::rtl;

namespace {

struct NumberCase {
    const char* format;
    double value;
    const char* expected;
};

}  // namespace

TEST(RtlFormat, FormatFloatPictures) {
    const NumberCase cases[] = {
        {"#,##0.00", 1234.5, "1,234.50"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0", 0, "0"},
        {"#,##0", 1234567890123.0, "1,234,567,890,123"},
        {"#,##0", 999.5, "1,000"},
        {"#,##0.###", 1234.5678, "1,234.568"},
        {"#,##0.###", 3, "3"},
        {"#,###,##0.00", 1234567.891, "1,234,567.89"},
        {"0.00", 1.005, "1.01"},  // half away from zero on the decimal value
        {"0.00", 2.675, "2.68"},
        {"0.00", 99.999, "100.00"},
        {"0.00", -0.001, "0.00"},  // no "-0.00"
        {"0", 0.5, "1"},
        {"0", -0.5, "-1"},
        {"0", 2.5, "3"},
        {"#.##", 0.5, ".5"},
        {"000", 7, "007"},
        {"00-00", 1234, "12-34"},
        {"0.000", 1e-20, "0.000"},
        {"0.###############", 0.1, "0.1"},
        {"0.0E+00", 1500, "1.5E+03"},
        {"0.0E-00", 1500, "1.5E03"},
        {"0.0E-00", 0.0015, "1.5E-03"},
        {"0.0E+00", 0, "0.0E+00"},
        {"0.0E+00", 9.96, "1.0E+01"},
        {"00e-0", 1234, "12e2"},
        {"#.0 \"x10\" E+0", 1500, "1.5 x10 E+3"},
        {"##0.## %", 45.678, "45.68 %"},  // '%' is literal here: no scaling
        {"0.0%", 0.5, "0.5%"},
        {"#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
        {"#,##0.00;(#,##0.00)", 1234.5, "1,234.50"},
        {"#,##0.00;(#,##0.00);\"zero\"", 0, "zero"},
        {"#,##0.00;(#,##0.00);\"zero\"", -0.001, "zero"},
        {"0.00;;'nil'", -2, "-2.00"},  // empty negative section: the first with a sign
        {"$#,##0.00", -5, "-$5.00"},
        {"'abc'0", 5, "abc5"},
        {"", 1.5, "1.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.format, c.value), c.expected) << c.format << " " << c.value;
}

TEST(RtlFormat, MeasureFormatsScalePercentAndMapNames) {
    const NumberCase cases[] = {
        {"Currency", 1234.5, "$1,234.50"},
        {"currency", -1234.5, "($1,234.50)"},
        {"Percent", 0.1234, "12.34%"},
        {"0.00%", 0.5, "50.00%"},
        {"0.0%", -0.0004, "0.0%"},
        {"Standard", 1234567.891, "1,234,567.89"},
        {"Fixed", -3.14159, "-3.14"},
        {"Scientific", 12345, "1.23E+04"},
        {"General Number", 1234.5, "1234.5"},
        {"", 1234.5, "1234.5"},
        {"#,##0", 1234.6, "1,235"},
        {"#,##0.00", 0, "0.00"},
        {"$#,##0.00", 12.5, "$12.50"},
        {"#,##0,", 1234567, "1,235"},
        {"#,##0.0,,\" M\"", 12345678, "12.3 M"},
        {"\\#0", 5, "#5"},
        {"Yes/No", 0, "No"},
        {"Yes/No", 2, "Yes"},
        {"True/False", 1, "True"},
        // Scaling moves the decimal point; it never overflows the double.
        {"0.00E+00%", 1e307, "1.00E+309%"},
        {"0.0E+0%%%%", 1.5e308, "1.5E+316%%%%"},
        {"0.00%", 0.145, "14.50%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMeasureValue(c.format, c.value), c.expected) << c.format << " " << c.value;
}

// A format parsed once serves every value of a query, each section in turn.
TEST(RtlFormat, ParsedMeasureFormatServesManyValues) {
    const TMeasureFormat sections("#,##0.00;(#,##0.00);\"zero\"");
    const TMeasureFormat percent("Percent"), yesNo("yes/no"), plain("");
    const struct {
        const TMeasureFormat& format;
        double value;
        const char* expected;
    } cases[] = {
        {sections, 1234.5, "1,234.50"},
        {sections, -5, "(5.00)"},
        {sections, 0, "zero"},
        {sections, 0.001, "zero"},
        {sections, 7, "7.00"},
        {percent, 0.5, "50.00%"},
        {percent, -0.25, "-25.00%"},
        {yesNo, 0, "No"},
        {yesNo, -1, "Yes"},
        {plain, 2.5, "2.5"},
        {sections, HUGE_VAL, "INF"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.format.Format(c.value), c.expected) << c.value;
}

TEST(RtlFormat, EncodeDecodeDates) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);

    struct Case {
        int y, mo, d, h, mi, s, ms;
    } cases[] = {
        {2024, 2, 29, 23, 59, 59, 999},
        {1899, 12, 29, 6, 0, 0, 0},
        {1, 1, 1, 0, 0, 0, 1},
        {9999, 12, 31, 12, 30, 15, 500},
    };
    for (const auto& c : cases) {
        TDateTime date = EncodeDate(c.y, c.mo, c.d);
        TDateTime dt = date + (date < 0 ? -1 : 1) * EncodeTime(c.h, c.mi, c.s, c.ms);
        int y, mo, d, h, mi, s, ms;
        DecodeDateTime(dt, y, mo, d, h, mi, s, ms);
        EXPECT_EQ((std::vector<int>{y, mo, d, h, mi, s, ms}), (std::vector<int>{c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms}));
    }
    // -1.25 is the day before the epoch at 06:00.
    int h, mi, s, ms;
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ(h, 6);
    // A time a hair before midnight rounds into the next day, not to 24:00.
    int y, mo, d;
    DecodeDateTime(EncodeDate(2020, 12, 31) + 0.99999999999, y, mo, d, h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{y, mo, d, h}), (std::vector<int>{2021, 1, 1, 0}));
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 2)), 1);  // a Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
    TDateTime now = Now();
    EXPECT_GT(now, EncodeDate(2020, 1, 1));
    EXPECT_LT(now, EncodeDate(2200, 1, 1));
}

TEST(RtlFormat, FormatDateTimePictures) {
    const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 42);
    const TDateTime morning = EncodeDate(2024, 3, 5) + EncodeTime(0, 5, 0, 0);
    struct Case {
        const char* format;
        TDateTime value;
        const char* expected;
    } cases[] = {
        {"yyyy-mm-dd h:n:s", t, "2024-03-05 14:7:9"},
        {"yyyy-mm-dd hh:nn:ss.zzz", t, "2024-03-05 14:07:09.042"},
        {"dd/mm/yyyy", t, "05/03/2024"},
        {"d/m/yy", t, "5/3/24"},
        {"ddd d mmm yyyy", t, "Tue 5 Mar 2024"},
        {"dddd, mmmm d", t, "Tuesday, March 5"},
        {"hh:mm", t, "14:07"},  // m after h means minutes
        {"h \"o'clock\" m", t, "14 o'clock 7"},
        {"mm/dd", t, "03/05"},
        {"h:nn am/pm", t, "2:07 pm"},
        {"h:nn AM/PM", morning, "12:05 AM"},
        {"h:nn a/p", t, "2:07 p"},
        {"hh:nn ampm", morning, "12:05 AM"},
        {"z", t, "42"},
        {"'yyyy' yyyy", t, "yyyy 2024"},
        {"c", t, "05/03/2024 14:07:09"},
        {"c", EncodeDate(2024, 3, 5), "05/03/2024"},
        {"", t, "05/03/2024 14:07:09"},
        {"t", t, "14:07"},
        {"ddddd", t, "05/03/2024"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, c.value), c.expected) << c.format;
    EXPECT_EQ(DateTimeToStr(t), "05/03/2024 14:07:09");
    EXPECT_EQ(TimeToStr(t), "14:07:09");
    EXPECT_EQ(DateToStr(t), "05/03/2024");
}
