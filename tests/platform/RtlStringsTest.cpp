#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Strings.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace cb::rtl;

TEST(RtlStrings, TextHelpers) {
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x \x01"), "  x");
    EXPECT_EQ(UpperCase("abc\xC3\xA9"), "ABC\xC3\xA9");  // ASCII only
    EXPECT_TRUE(SameText("Measures", "MEASURES"));
    EXPECT_FALSE(SameText("abc", "abd"));
    EXPECT_TRUE(StartsText("[measures]", "[Measures].[Sales]"));
    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("b", "abcb", 3), 4);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("z", "abc"), 0);
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfReplaceAll), "aXb-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfReplaceAll | rfIgnoreCase), "a-b-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfIgnoreCase), "a-bxc");
    EXPECT_EQ(StringReplace("aaa", "a", "aa", rfReplaceAll), "aaaaaa");
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(DequotedStr("'it''s'"), "it's");
    EXPECT_EQ(IntToHex(255LL, 4), "00FF");
    EXPECT_EQ(IntToHex(-1LL, 2), "FFFFFFFF");
}

TEST(RtlStrings, IntegerAndFloatConversion) {
    struct IntCase {
        const char* text;
        bool ok;
        int value;
    } ints[] = {
        {"42", true, 42},
        {" -7 ", true, -7},
        {"+3", true, 3},
        {"$ff", true, 255},
        {"0x1A", true, 26},
        {"$FFFFFFFF", true, -1},
        {"-$10", true, -16},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, std::numeric_limits<int>::min()},
        {"2147483648", false, 0},
        {"$100000000", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"1.5", false, 0},
        {"12a", false, 0},
        {"$", false, 0},
        {"1 2", false, 0},
    };
    for (const auto& c : ints) {
        int v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
        EXPECT_EQ(StrToIntDef(c.text, -99), c.ok ? c.value : -99) << c.text;
    }
    EXPECT_THROW(StrToInt("x y"), EConvertError);
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<long long>::max());

    struct FloatCase {
        double value;
        const char* text;
    } floats[] = {
        {0, "0"},           {1.5, "1.5"},
        {-0.1, "-0.1"},     {100, "100"},
        {1e15, "1E15"},     {123456789012345.0, "123456789012345"},
        {1.5e20, "1.5E20"}, {0.0001, "0.0001"},
        {1e-7, "1E-7"},     {0.1 + 0.2, "0.30000000000000004"},
    };
    for (const auto& c : floats) {
        EXPECT_EQ(FloatToStr(c.value), c.text);
        EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;  // round trip
    }
    EXPECT_TRUE(std::isnan(StrToFloat(FloatToStr(std::nan("")))));
    EXPECT_EQ(StrToFloatDef("1,5", -1), -1);
    EXPECT_EQ(StrToFloatDef("1e999", -1), -1);
    EXPECT_EQ(StrToFloatDef("--1", -1), -1);
    EXPECT_EQ(StrToFloatDef(" 2.5e-1 ", -1), 0.25);
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
}

TEST(RtlStrings, FileNames) {
    struct Case {
        const char* path;
        const char* name;
        const char* dir;
        const char* ext;
        const char* changed;
    } cases[] = {
        {"/a/b/report.xls", "report.xls", "/a/b/", ".xls", "/a/b/report.pdf"},
        {"/a/b.d/report", "report", "/a/b.d/", "", "/a/b.d/report.pdf"},
        {"archive.tar.gz", "archive.tar.gz", "", ".gz", "archive.tar.pdf"},
        {"/a/b/", "", "/a/b/", "", "/a/b/.pdf"},
        {".hidden", ".hidden", "", ".hidden", ".pdf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
        EXPECT_EQ(ChangeFileExt(c.path, ".pdf"), c.changed) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("x.ini", ""), "x");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
}

TEST(RtlStringList, TextAndCommaTextRoundTrips) {
    const std::vector<std::vector<std::string>> lists = {
        {},
        {""},
        {"a"},
        {"a", ""},
        {"", "a"},
        {"a", "", "b"},
        {"with space", "comma,inside", "quote\"d", "plain"},
        {"tab\there", " lead", "trail "},
    };
    for (const auto& items : lists) {
        TStringList l(items);
        TStringList back;
        back.SetCommaText(l.CommaText());
        EXPECT_EQ(back.ToVector(), items) << l.CommaText();
        TStringList strict(items);
        strict.SetDelimiter(';');
        strict.SetStrictDelimiter(true);
        TStringList back2;
        back2.SetDelimiter(';');
        back2.SetStrictDelimiter(true);
        back2.SetDelimitedText(strict.DelimitedText());
        EXPECT_EQ(back2.ToVector(), items) << strict.DelimitedText();
    }
    TStringList l{"with space", "comma,inside", "x"};
    EXPECT_EQ(l.CommaText(), "\"with space\",\"comma,inside\",x");
    l.SetCommaText("a b,\"c \"\"d\"\"\", e");
    EXPECT_EQ(l.ToVector(), (std::vector<std::string>{"a", "b", "c \"d\"", "e"}));

    TStringList t;
    t.SetText("one\r\ntwo\nthree\rfour\r\n");
    EXPECT_EQ(t.ToVector(), (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(t.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    t.SetText("a\r\n\r\nb");
    EXPECT_EQ(t.ToVector(), (std::vector<std::string>{"a", "", "b"}));
}

TEST(RtlStringList, EditingLookupAndNameValues) {
    TStringList l{"Beta", "alpha", "Gamma"};
    EXPECT_EQ(l.IndexOf("ALPHA"), 1);
    EXPECT_EQ(l.IndexOf("ALPHA", true), -1);
    l.Sort();
    EXPECT_EQ(l.ToVector(), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));
    l.SetCaseSensitive(true);
    l.Sort();
    EXPECT_EQ(l.ToVector(), (std::vector<std::string>{"Beta", "Gamma", "alpha"}));
    l.Exchange(0, 2);
    l.Insert(1, "x");
    l.Delete(0);
    EXPECT_EQ(l.ToVector(), (std::vector<std::string>{"x", "Gamma", "Beta"}));
    EXPECT_THROW(l.Strings(3), EListError);
    EXPECT_THROW(l.Delete(-1), EListError);
    EXPECT_THROW(l.Insert(5, "y"), EListError);
    int obj = 0;
    l.SetObjects(1, &obj);
    EXPECT_EQ(l.IndexOfObject(&obj), 1);

    TStringList nv{"Server=localhost", "Catalog=Sales=2024", "bare"};
    EXPECT_EQ(nv.Values("server"), "localhost");
    EXPECT_EQ(nv.Values("Catalog"), "Sales=2024");
    EXPECT_EQ(nv.Names(1), "Catalog");
    EXPECT_EQ(nv.Values("bare"), "");
    nv.SetValue("Server", "db1");
    nv.SetValue("Port", "2383");
    nv.SetValue("Catalog", "");
    EXPECT_EQ(nv.ToVector(), (std::vector<std::string>{"Server=db1", "bare", "Port=2383"}));
}

TEST(RtlStringList, FilesAreCrLfAndSkipBom) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("list.txt");
    TStringList l{"one", "two"};
    l.SaveToFile(fn);
    EXPECT_EQ(cbtest::readFile(fn), "one\r\ntwo\r\n");
    cbtest::writeFile(fn, "\xEF\xBB\xBFx\ny");
    TStringList r;
    r.LoadFromFile(fn);
    EXPECT_EQ(r.ToVector(), (std::vector<std::string>{"x", "y"}));
    EXPECT_THROW(r.LoadFromFile(dir.file("missing")), EInOutError);
}
