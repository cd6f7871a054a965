#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFile.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace cb::rtl;

TEST(RtlIniFile, MissingFileReadsAsEmptyAndWriteCreatesItWithCrLf)
{
    cbtest::TempDir dir;
    const std::string fn = dir.file("app.ini");
    {
        TIniFile ini(fn);
        EXPECT_EQ(ini.ReadString("Main", "Theme", "Default"), "Default");
        EXPECT_FALSE(ini.SectionExists("Main"));
        EXPECT_FALSE(std::filesystem::exists(fn));
        ini.WriteString("Main", "Theme", "Blue");
        ini.WriteInteger("Main", "Width", 640);
        ini.WriteBool("Options", "Grid", true);
    }
    EXPECT_EQ(cbtest::readFile(fn), "[Main]\r\nTheme=Blue\r\nWidth=640\r\n\r\n[Options]\r\nGrid=1\r\n");
    TIniFile again(fn);
    EXPECT_EQ(again.ReadString("MAIN", "theme", ""), "Blue");
    EXPECT_EQ(again.ReadInteger("main", "WIDTH", 0), 640);
    EXPECT_TRUE(again.ReadBool("options", "grid", false));
}

TEST(RtlIniFile, ValuesParseLikeTheToolkitAndFallBackToDefault)
{
    cbtest::TempDir dir;
    const std::string fn = dir.file("v.ini");
    cbtest::writeFile(fn, "[S]\nDec= -42 \nHex=$1F\nHex2=0x10\nColor=$80000005\nBig=99999999999\n"
                          "Junk=12abc\nEmpty=\nT=true\nF=False\nTwo=2\nZero=0\nFl=1.5E3\nBadFl=1,5\n");
    TIniFile ini(fn);
    struct Case { const char* key; int expected; } ints[] = {
        {"Dec", -42}, {"Hex", 31}, {"Hex2", 16}, {"Color", static_cast<int>(0x80000005u)},
        {"Big", 7}, {"Junk", 7}, {"Empty", 7}, {"Missing", 7},
    };
    for (const auto& c : ints)
        EXPECT_EQ(ini.ReadInteger("S", c.key, 7), c.expected) << c.key;
    struct BoolCase { const char* key; bool def; bool expected; } bools[] = {
        {"T", false, true}, {"F", true, false}, {"Two", false, true}, {"Zero", true, false},
        {"Junk", true, true}, {"Junk", false, false}, {"Missing", true, true},
    };
    for (const auto& c : bools)
        EXPECT_EQ(ini.ReadBool("S", c.key, c.def), c.expected) << c.key;
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "Fl", 0), 1500.0);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "BadFl", -1), -1.0);
    EXPECT_EQ(ini.ReadString("S", "Empty", "x"), "");
}
