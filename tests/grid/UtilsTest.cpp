#include "grid/paint/ArrowWindow.h"
#include "grid/paint/DrawUtils.h"
#include "grid/util/DateUtils.h"
#include "grid/util/FilterMatch.h"
#include "grid/util/IntList.h"
#include "grid/util/NumberUtils.h"
#include "grid/util/SortIndexList.h"
#include "grid/util/TextUtils.h"

#include <gtest/gtest.h>

using namespace cb::grid;

namespace {

cb::rtl::TFormatSettings CommaDot() {
    cb::rtl::TFormatSettings fs;
    fs.ThousandSeparator = ',';
    fs.DecimalSeparator = '.';
    fs.DateSeparator = '/';
    fs.ShortDateFormat = "dd/mm/yyyy";
    return fs;
}

TEST(GridUtils, TextHelpers) {
    struct Case {
        std::string in, out;
    };
    for (const Case& c : std::vector<Case>{{"mcdonald", "McDonald"},
                                           {"henry viii", "Henry Viii"},
                                           {"john smith ii", "John Smith II"},
                                           {"louis xiv iii", "Louis Xiv III"},
                                           {"o'neil-SMITH", "O'Neil-Smith"}})
        EXPECT_EQ(CapitaliseName(c.in), c.out) << c.in;

    EXPECT_EQ(CollapseRepeatedChar(' ', "a   b  c"), "a b c");
    EXPECT_EQ(CollapseRepeatedChar('x', "abc"), "abc");
    EXPECT_EQ(BackslashNToCR("A\\nB\\n"), "A\rB\r");
    std::string t = "a\nb\r\nc";
    LFToCRLF(t);
    EXPECT_EQ(t, "a\r\nb\r\r\nc");
    t = "a~b";
    TildeToCRLF(t);
    EXPECT_EQ(t, "a\r\nb");
    t = "one\r\ntwo";
    QuoteMultiLineText(t);
    EXPECT_EQ(t, "\"one\ntwo\"");
    std::string line;
    t = "first\r\nsecond\rthird";
    ExtractFirstLine(t, true, line);
    EXPECT_EQ(line, "first");
    EXPECT_EQ(t, "second\rthird");
    ExtractFirstLine(t, false, line);
    EXPECT_EQ(line, "second");
    EXPECT_EQ(t, "");
    EXPECT_EQ(CountTextLines("a\rb\rc", true), 3);
    EXPECT_EQ(CountTextLines("a\rb\rc", false), 1);
    EXPECT_EQ(PosInUpperCase("BC", "abcd"), 2);
    EXPECT_EQ(FirstCharInSet("xyz", "abzy"), 'z');
    EXPECT_EQ(FirstCharInSet("q", "abc"), '\0');
    t = "secret";
    FillWithChar(t, '*');
    EXPECT_EQ(t, "******");
    t = "see mailto:x@y.org";
    StripURLScheme(t);
    EXPECT_EQ(t, "x@y.org");
    t = "mailto:a http://b";
    StripURLScheme(t);
    EXPECT_EQ(t, "b");
}

TEST(GridUtils, CellTextKinds) {
    struct Case {
        const char* text;
        bool html;
        int kind;
    } cases[] = {
        {"", true, 0},         {"=A1+1", true, 3}, {"|\\ab", true, 5}, {"{\\rtf1}", true, 2},
        {"<B>x</B>", true, 1}, {"<B>x", false, 0}, {"a</b>", true, 1}, {"plain", true, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CellTextKind(c.text, c.html), c.kind) << c.text;
}

TEST(GridUtils, NumberTexts) {
    auto fs = CommaDot();
    struct Norm {
        const char* in;
        const char* out;
    } norms[] = {{"(1,234.50)", "-1234.50"}, {"EUR -12", "-12"}, {"12 kg", "12"}, {" (5)", "-5"}, {"", ""}};
    for (const auto& n : norms) EXPECT_EQ(NormaliseNumberText(n.in, fs), n.out) << n.in;
    struct Kind {
        const char* in;
        int kind;
    } kinds[] = {{"-12", 0}, {"1,234.5", 1}, {"1,2,3", 2}, {"1.2.3", 2}, {"", 2}, {"--1", 2}, {",12", 2}, {"1a", 2}};
    for (const auto& k : kinds) EXPECT_EQ(NumberTextKind(k.in, fs), k.kind) << k.in;
    EXPECT_EQ(ClampToLimits(15, 0, 10), 10);
    EXPECT_EQ(ClampToLimits(15, 5, 5), 15);
    EXPECT_EQ(ClampToLimits(2, 5, 10), 5);
    EXPECT_TRUE(CellInGridRect({1, 1, 3, 3}, 3, 1));
    EXPECT_FALSE(CellInGridRect({1, 1, 3, 3}, 4, 1));
    TGridCoord cell;
    EXPECT_TRUE(ParseRowColRef("r12c3", cell));
    EXPECT_EQ(cell, (TGridCoord{3, 12}));
    EXPECT_FALSE(ParseRowColRef("R1C", cell));
    EXPECT_FALSE(ParseRowColRef("R1xC2", cell));
}

TEST(GridUtils, Dates) {
    auto fs = CommaDot();
    TDateTime d = 0;
    EXPECT_TRUE(ParseShortDate("31/12/2004", d, fs));
    EXPECT_EQ(d, EncodeDate(2004, 12, 31));
    EXPECT_FALSE(ParseShortDate("32/01/2004", d, fs));
    EXPECT_FALSE(ParseShortDate("12/31/2004", d, fs));
    EXPECT_FALSE(ParseShortDate("31/11/2004", d, fs));
    EXPECT_EQ(ParseMDYDate("12/31/04"), EncodeDate(2004, 12, 31));
    EXPECT_EQ(ParseMDYDate("1-2-30"), EncodeDate(1930, 1, 2));
    EXPECT_EQ(ParseDMYDate("2.1.2030"), EncodeDate(2030, 1, 2));  // four-digit years stand
    EXPECT_EQ(ParseDMYDate("2/1"), 0);
    EXPECT_THROW(ParseMDYDate("13/01/04"), cb::rtl::EConvertError);
    EXPECT_EQ(StepDate(0, 0, 3, EncodeDate(2004, 2, 27), 0), EncodeDate(2004, 3, 1));
    EXPECT_EQ(StepDate(0, 1, 0, EncodeDate(2004, 12, 15), 0), EncodeDate(2005, 1, 15));
    EXPECT_EQ(StepDate(0, -1, 0, EncodeDate(2004, 1, 15), 0), EncodeDate(2003, 12, 15));
    EXPECT_EQ(StepDate(1, 0, 0, EncodeDate(2004, 5, 6), 0), EncodeDate(2005, 5, 6));
    EXPECT_EQ(StepDate(1, 1, 0, 100.0, 7.0), 107.0);
    EXPECT_EQ(FormatShortDate(EncodeDate(2004, 3, 5), fs), "05/03/2004");
}

TEST(GridUtils, QuotesInCsvFields) {
    int pos = 0;
    EXPECT_EQ(ClosingQuotePos('"', "abc\",x", pos), 4);
    EXPECT_EQ(ClosingQuotePos('"', "a\"\"b\",", pos), 5);
    EXPECT_EQ(ClosingQuotePos('"', "ab\"", pos), 3);
    EXPECT_EQ(ClosingQuotePos('"', "abc", pos), 0);
    EXPECT_EQ(CountClosingQuotes('"', "a\",b\",c\""), 3);
    EXPECT_EQ(CountChar(',', "a,b,,c"), 3);
}

TEST(GridUtils, HalveColor) {
    EXPECT_EQ(HalveColor(0xC0C0C0), 0x606060u);
    EXPECT_EQ(HalveColor(0x0000FF), 0x00007Fu);
}

TEST(FilterMatch, ConditionLanguage) {
    cb::rtl::FormatSettings() = CommaDot();
    struct Case {
        const char* condition;
        const char* value;
        bool caseSensitive;
        bool match;
    } cases[] = {
        {"A*", "Apple", true, true},
        {"A*", "apple", false, true},
        {"A*", "apple", true, false},
        {"!A*", "Apple", true, false},
        {"!A*", "Pear", true, true},
        {">10 & <20", "15", true, true},
        {">10 & <20", "25", true, false},
        {">5;<2", "7", true, true},
        {">5;<2", "1", true, true},
        {">5;<2", "3", true, false},
        {"ab*b", "ab", true, false},
        {"a*b", "ab", true, true},
        {"a*b", "axxb", true, true},
        {">B", "Cherry", true, true},
        {">B", "Apple", true, false},
        {">01/02/2004", "15/03/2004", true, true},
        {">01/02/2004", "15/01/2004", true, false},
        {"", "", true, true},
        {"", "x", true, false},
        {"?b", "ab", true, true},
        {"?b", "abb", true, false},
        {"a|b", "b", true, true},
        {"= x", "x", true, true},
        {"\"a b\"", "a b", true, true},
        {"*", "", true, true},
        {">=10", "10", true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFilterCondition(c.condition, c.value, c.caseSensitive), c.match)
            << c.condition << " vs " << c.value;
    // the matcher itself takes ">=" as inclusive
    EXPECT_TRUE(MatchFilterPattern(">=10", "10"));
}

TEST(IntList, CommaTextAndCallbacks) {
    TIntList list(2, 3);
    int calls = 0;
    list.OnChange = [&](TIntList&, int col, int row) {
        ++calls;
        EXPECT_EQ(col, 2);
        EXPECT_EQ(row, 3);
    };
    list.FromCommaText("3,1,2");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(list.ToCommaText(), "3,1,2");
    list.InsertValue(0, 9);
    EXPECT_EQ(calls, 3);
    list.DeleteValue(0);
    EXPECT_EQ(calls, 4);
    EXPECT_THROW(list.FromCommaText("4,x,5"), cb::rtl::EConvertError);
    EXPECT_EQ(list.ToCommaText(), "4");
    TSortIndexList sort;
    sort.AddValue(3);
    sort.AddValue(int(0x80000000u | 5u));
    EXPECT_EQ(sort.FindColumn(5), 1);
    EXPECT_TRUE(TSortIndexList::Descending(sort.Item(1)));
}

TEST(ArrowWindow, Shapes) {
    TArrowWindow down(nullptr, TArrowDirection::Down);
    EXPECT_EQ(down.Dir(), TArrowDirection::Down);
    EXPECT_TRUE(down.mask().contains(QPoint(5, 6)));
    EXPECT_FALSE(down.mask().contains(QPoint(0, 0)));
    EXPECT_EQ(TArrowWindow::ArrowPoints(TArrowDirection::Down).size(), 7u);
}

}  // namespace
