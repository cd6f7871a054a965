#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFile.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/RtlTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace cb::rtl;

TEST(RtlIniFile, MissingFileReadsAsEmptyAndWriteCreatesItWithCrLf) {
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

TEST(RtlIniFile, ValuesParseLikeTheToolkitAndFallBackToDefault) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("v.ini");
    cbtest::writeFile(fn, "[S]\nDec= -42 \nHex=$1F\nHex2=0x10\nColor=$80000005\nBig=99999999999\n"
                          "Junk=12abc\nEmpty=\nT=true\nF=False\nTwo=2\nZero=0\nFl=1.5E3\nBadFl=1,5\n");
    TIniFile ini(fn);
    struct Case {
        const char* key;
        int expected;
    } ints[] = {
        {"Dec", -42}, {"Hex", 31}, {"Hex2", 16}, {"Color", static_cast<int>(0x80000005u)},
        {"Big", 7},   {"Junk", 7}, {"Empty", 7}, {"Missing", 7},
    };
    for (const auto& c : ints) EXPECT_EQ(ini.ReadInteger("S", c.key, 7), c.expected) << c.key;
    struct BoolCase {
        const char* key;
        bool def;
        bool expected;
    } bools[] = {
        {"T", false, true},   {"F", true, false},     {"Two", false, true},    {"Zero", true, false},
        {"Junk", true, true}, {"Junk", false, false}, {"Missing", true, true},
    };
    for (const auto& c : bools) EXPECT_EQ(ini.ReadBool("S", c.key, c.def), c.expected) << c.key;
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "Fl", 0), 1500.0);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "BadFl", -1), -1.0);
    EXPECT_EQ(ini.ReadString("S", "Empty", "x"), "");
}

TEST(RtlIniFile, RewriteKeepsOrderCommentsAndLineEndsOfOthers) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("keep.ini");
    // \r\n, \n and a lone \r; a BOM; comments and blank lines.
    cbtest::writeFile(fn, "\xEF\xBB\xBF; top comment\r\n[Zeta]\r\nb=2\na=1\r; note\n\n[alpha]\r\nk = v \r\n");
    TIniFile ini(fn);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Zeta", "alpha"}));
    EXPECT_EQ(ini.ReadSection("zeta"), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(ini.ReadString("ALPHA", "K", ""), "v");
    ini.WriteString("zeta", "c", "3");   // after the comment, before the blank line
    ini.WriteString("Zeta", "B", "20");  // existing key keeps its place and spelling
    ini.WriteString("New", "x", "line1\nline2");
    EXPECT_EQ(cbtest::readFile(fn), "\xEF\xBB\xBF; top comment\r\n[Zeta]\r\nb=20\r\na=1\r\n; note\r\nc=3\r\n\r\n"
                                    "[alpha]\r\nk = v \r\n\r\n[New]\r\nx=line1 line2\r\n");
    EXPECT_EQ(ini.ReadSectionValues("Zeta"), (std::vector<std::string>{"b=20", "a=1", "c=3"}));
}

TEST(RtlIniFile, EraseDeleteAndDuplicates) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("e.ini");
    cbtest::writeFile(fn, "[A]\r\nx=1\r\nx=2\r\ny=3\r\n[B]\r\nz=4\r\n[a]\r\nw=5\r\n");
    TIniFile ini(fn);
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");  // first one wins
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B"}));
    ini.DeleteKey("a", "X");
    EXPECT_FALSE(ini.ValueExists("A", "x"));
    EXPECT_TRUE(ini.ValueExists("A", "y"));
    ini.DeleteKey("Missing", "x");  // no effect, no error
    ini.EraseSection("a");
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(cbtest::readFile(fn), "[B]\r\nz=4\r\n");
    ini.EraseSection("B");
    EXPECT_EQ(cbtest::readFile(fn), "");
    EXPECT_TRUE(ini.ReadSections().empty());
}

TEST(RtlIniFile, MemIniFileWritesOnlyOnUpdate) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("m.ini");
    {
        TMemIniFile ini(fn);
        ini.WriteFloat("S", "f", 0.1);
        ini.WriteBool("S", "b", false);
        EXPECT_TRUE(ini.Modified());
        EXPECT_FALSE(std::filesystem::exists(fn));
        ini.UpdateFile();
        EXPECT_FALSE(ini.Modified());
        ini.WriteString("S", "lost", "x");
    }
    EXPECT_EQ(cbtest::readFile(fn), "[S]\r\nf=0.1\r\nb=0\r\n");
    TMemIniFile back(fn);
    EXPECT_EQ(back.ReadFloat("S", "f", 0), 0.1);
    EXPECT_FALSE(back.ReadBool("S", "b", true));
}

TEST(RtlIniFile, BadFilesAndFailedWrites) {
    cbtest::TempDir dir;
    const std::string big = dir.file("big.ini");
    cbtest::writeFile(big, std::string(16 * 1024 * 1024 + 1, 'x'));
    try {
        TIniFile ini(big);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find("too large"), std::string::npos);
        EXPECT_NE(e.Message().find(big), std::string::npos);
    }
    EXPECT_THROW(TIniFile(dir.path().string()), EInOutError);  // a folder

    const std::string fn = dir.file("keep.ini");
    const std::string old = "[S]\r\nA=1\r\n";
    cbtest::writeFile(fn, old);
    TIniFile ini(fn);
    {
        rtltest::FileSizeLimit limit(64);
        EXPECT_THROW(ini.WriteString("S", "B", std::string(200, 'y')), EInOutError);
    }
    EXPECT_EQ(cbtest::readFile(fn), old);
    EXPECT_EQ(rtltest::FolderEntries(dir.path()), (std::vector<std::string>{"big.ini", "keep.ini"}));

    TIniFile nowhere(dir.file("no/such/folder/x.ini"));
    try {
        nowhere.WriteInteger("S", "k", 1);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find("x.ini"), std::string::npos);
        EXPECT_NE(e.Message().find("No such file"), std::string::npos);
    }
}

TEST(RtlIniFile, IndependentReaderSeesTheSameValues) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("check.ini");
    {
        TIniFile ini(fn);
        ini.WriteString("AppSettings", "CurrentTheme", "Ocean Blue");
        ini.WriteInteger("AppSettings", "LastCubeConnectionType", 2);
        ini.WriteBool("AppSettings", "StartMaxed", true);
        ini.WriteString("Connection1", "Location", "C:/cubes/a=b.cub");
        ini.WriteFloat("Connection1", "Scale", -0.125);
    }
    std::string out;
    const std::string script = "import configparser,sys\n"
                               "c=configparser.ConfigParser(interpolation=None,strict=False)\n"
                               "c.optionxform=str\n"
                               "c.read(sys.argv[1])\n"
                               "for s in c.sections():\n"
                               "  for k,v in c.items(s): print(s+'|'+k+'|'+v)\n";
    cbtest::writeFile(dir.file("read.py"), script);
    ASSERT_EQ(cbtest::runCommand("python3 " + dir.file("read.py") + " " + fn, &out), 0);
    EXPECT_EQ(out, "AppSettings|CurrentTheme|Ocean Blue\n"
                   "AppSettings|LastCubeConnectionType|2\n"
                   "AppSettings|StartMaxed|1\n"
                   "Connection1|Location|C:/cubes/a=b.cub\n"
                   "Connection1|Scale|-0.125\n");
}

// Look-ups go through an index (a list of 100,000 sections loads at once);
// it must follow every change: first of equal names wins in any case,
// erased and added sections and keys are found or not as they should be.
TEST(RtlIniFile, IndexedLookUpsFollowEveryChange) {
    std::string text = "[Connections]\r\nNumConnections=100000\r\n";
    for (int i = 1; i <= 100000; ++i)
        text += "[Connection" + std::to_string(i) + "]\r\nConnectionName=n" + std::to_string(i) + "\r\n";
    text += "[CONNECTION7]\r\nConnectionName=second\r\n";
    TMemIniFile ini("");
    ini.SetText(text);
    EXPECT_EQ(ini.ReadSections().size(), 100001u);  // "CONNECTION7" is "Connection7"
    EXPECT_EQ(ini.ReadString("connection7", "connectionname", ""), "n7");
    EXPECT_EQ(ini.ReadString("Connection100000", "ConnectionName", ""), "n100000");

    ini.EraseSection("Connection7");  // both sections of that name
    EXPECT_FALSE(ini.SectionExists("Connection7"));
    EXPECT_EQ(ini.ReadString("Connection8", "ConnectionName", ""), "n8");
    ini.WriteString("New", "A", "1");
    ini.WriteString("new", "B", "2");
    EXPECT_EQ(ini.ReadSectionValues("NEW"), (std::vector<std::string>{"A=1", "B=2"}));

    // A key added before trailing blank lines, then one removed.
    ini.SetText("[S]\r\nA=1\r\n\r\n\r\n[T]\r\nX=1\r\n");
    ini.WriteString("S", "B", "2");
    ini.WriteString("S", "C", "3");
    EXPECT_EQ(ini.ReadString("S", "b", ""), "2");
    ini.DeleteKey("S", "A");
    EXPECT_EQ(ini.ReadString("S", "A", "gone"), "gone");
    EXPECT_EQ(ini.ReadString("S", "C", ""), "3");
    ini.WriteString("S", "A", "back");
    EXPECT_EQ(ini.GetText(), "[S]\r\nB=2\r\nC=3\r\nA=back\r\n\r\n\r\n[T]\r\nX=1\r\n");
}
