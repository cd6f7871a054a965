#include "app/core/theme/GridTheme.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFile.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace cb::app;

TEST(Theme, HexToColor) {
    struct Case {
        const char* text;
        TColor color;
    };
    const Case cases[] = {
        {"00FF00", 0x00FF00}, {"FFFFFF", 0xFFFFFF},     {"FF0000", 0x0000FF}, {"0000FF", 0xFF0000},
        {"123456", 0x563412}, {"ff8000tail", 0x0080FF}, {"FF00F", 0x0F00FF},  {"000000", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(HexToColor(c.text), c.color) << c.text;
    for (const char* bad : {"", "GG0000", "FF00", "FF 000", "-10000", "$F0000", "00FFZZ"})
        EXPECT_THROW(HexToColor(bad), cb::rtl::EConvertError) << bad;
}

TEST(Theme, ColorToHexAndBack) {
    EXPECT_EQ(ColorToHex(0x0000FF), "FF0000");
    EXPECT_EQ(ColorToHex(0x00FF00), "00FF00");
    EXPECT_EQ(ColorToHex(0x0A0B0C), "0C0B0A");
    EXPECT_EQ(ColorToHex(0xFF0000FF), "FF0000");  // the top byte is not a colour part
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        const TColor c = rng() & 0xFFFFFF;
        EXPECT_EQ(HexToColor(ColorToHex(c)), c);
    }
}

class ThemeFile : public ::testing::Test {
protected:
    cbtest::TempDir dir;
    std::string path = dir.file("themes.ini");
    TThemeParser parser;
    TThemeList& list() { return *parser.GetThemeList(); }
};

TEST_F(ThemeFile, MissingFileOrNoCountGivesNoTheme) {
    EXPECT_FALSE(parser.LoadFromFile(path));
    for (const char* text :
         {"[Themes]\r\nThemeCount=0\r\n", "[Theme1]\r\nName=X\r\n", "[Themes]\r\nThemeCount=-4\r\n"}) {
        cbtest::writeFile(path, text);
        EXPECT_TRUE(parser.LoadFromFile(path));
        EXPECT_EQ(list().GetCount(), 0) << text;
    }
}

TEST_F(ThemeFile, ReadsEveryKeyAndDefaultsMissingSections) {
    cbtest::writeFile(path, "[Themes]\r\nThemeCount=2\r\n"
                            "[Theme1]\r\nName=Blue\r\nDimensionColor=0000FF\r\nDimensionFontName=Arial\r\n"
                            "DimensionFontSize=11\r\nDimensionFontBold=1\r\nSelectionColor=010203\r\n"
                            "BorderColor=A0A0A0\r\nDataColor=FFFFFF\r\nDataFontColor=102030\r\nDataFontBold=1\r\n"
                            "Depth3=00FF00\r\nDepthFontName3=Verdana\r\nDepthFontColor3=FF0000\r\n"
                            "DepthFontSize3=9\r\nDepthFontBold3=1\r\nDepth10=ABCDEF\r\n");
    ASSERT_TRUE(parser.LoadFromFile(path));
    ASSERT_EQ(list().GetCount(), 2);
    const TGridDisplayTheme& a = *list().GetTheme(0);
    EXPECT_EQ(a.Name, "Blue");
    EXPECT_EQ(a.DimensionColor, 0xFF0000u);
    EXPECT_EQ(a.DimensionFontName, "Arial");
    EXPECT_EQ(a.DimensionFontSize, 11);
    EXPECT_TRUE(a.DimensionFontBold);
    EXPECT_EQ(a.SelectionColor, 0x030201u);
    EXPECT_EQ(a.BorderColor, 0xA0A0A0u);
    EXPECT_EQ(a.DataColor, 0xFFFFFFu);
    EXPECT_EQ(a.DataFontColor, 0x302010u);
    EXPECT_EQ(a.DataFontName, "Tahoma");
    EXPECT_TRUE(a.DataFontBold);
    EXPECT_EQ(a.Depths[2].Color, 0x00FF00u);
    EXPECT_EQ(a.Depths[2].FontName, "Verdana");
    EXPECT_EQ(a.Depths[2].FontColor, 0x0000FFu);
    EXPECT_EQ(a.Depths[2].FontSize, 9);
    EXPECT_TRUE(a.Depths[2].FontBold);
    EXPECT_EQ(a.Depths[1].FontName, "Tahoma");
    // Depth 2 paints with group 3; 9 and deeper share group 10.
    EXPECT_EQ(a.ForDepth(2).Color, 0x00FF00u);
    EXPECT_EQ(a.ForDepth(9).Color, 0xEFCDABu);
    EXPECT_EQ(a.ForDepth(25).Color, 0xEFCDABu);

    const TGridDisplayTheme& b = *list().GetTheme(1);
    EXPECT_EQ(b.Name, "Default");
    EXPECT_EQ(b.DimensionColor, 0u);
    EXPECT_EQ(b.DataFontName, "Tahoma");
    EXPECT_EQ(b.DataFontSize, 8);
    EXPECT_FALSE(b.DataFontBold);
    for (const TDepthStyle& d : b.Depths) {
        EXPECT_EQ(d.Color, 0u);
        EXPECT_EQ(d.FontName, "Tahoma");
        EXPECT_EQ(d.FontSize, 8);
        EXPECT_FALSE(d.FontBold);
    }
    EXPECT_EQ(list().GetTheme(2), nullptr);
    EXPECT_EQ(list().GetTheme(-1), nullptr);
}

TEST_F(ThemeFile, BadColourStopsReadingAndKeepsEarlierThemes) {
    cbtest::writeFile(path, "[Themes]\r\nThemeCount=3\r\n[Theme1]\r\nName=One\r\n"
                            "[Theme2]\r\nName=Two\r\nDepth4=ZZ0000\r\n[Theme3]\r\nName=Three\r\n");
    EXPECT_FALSE(parser.LoadFromFile(path));
    ASSERT_EQ(list().GetCount(), 1);
    EXPECT_EQ(list().GetTheme(0)->Name, "One");
}

TEST_F(ThemeFile, DuplicateNamesFindTheFirst) {
    cbtest::writeFile(path, "[Themes]\r\nThemeCount=3\r\n[Theme1]\r\nName=Dup\r\nDataColor=010101\r\n"
                            "[Theme2]\r\nName=Dup\r\nDataColor=020202\r\n[Theme3]\r\nName=dup\r\n");
    ASSERT_TRUE(parser.LoadFromFile(path));
    EXPECT_EQ(list().FindByName("Dup"), list().GetTheme(0));
    EXPECT_EQ(list().FindByName("dup"), list().GetTheme(2));
    EXPECT_EQ(list().FindByName("DUP"), nullptr);
}

TEST(Theme, ShippedThemesFileIsComplete) {
    const std::string path = std::string(CB_SOURCE_DIR) + "/data/themes.ini";
    TThemeParser parser;
    ASSERT_TRUE(parser.LoadFromFile(path));
    const TThemeList& list = *parser.GetThemeList();
    ASSERT_GE(list.GetCount(), 3);
    EXPECT_EQ(list.GetTheme(0)->Name, "Default");

    std::vector<std::string> keys = {"Name",
                                     "DimensionColor",
                                     "DimensionFontName",
                                     "DimensionFontColor",
                                     "DimensionFontSize",
                                     "DimensionFontBold",
                                     "SelectionColor",
                                     "BorderColor",
                                     "DataColor",
                                     "DataFontName",
                                     "DataFontColor",
                                     "DataFontSize",
                                     "DataFontBold"};
    for (int k = 1; k <= 10; ++k)
        for (const char* p : {"Depth", "DepthFontName", "DepthFontColor", "DepthFontSize", "DepthFontBold"})
            keys.push_back(p + std::to_string(k));
    cb::rtl::TMemIniFile ini(path);
    for (int i = 1; i <= list.GetCount(); ++i) {
        const std::string section = "Theme" + std::to_string(i);
        for (const std::string& key : keys) EXPECT_TRUE(ini.ValueExists(section, key)) << section << " " << key;
        EXPECT_EQ(list.FindByName(list.GetTheme(i - 1)->Name), list.GetTheme(i - 1)) << "names are unique";
    }
}
