#include "app/core/settings/OLAPConnectionList.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace cb::app;

TEST(ConfigConnections, MissingSectionsAreSkippedAndSavedRenumbered) {
    cbtest::TempDir dir;
    const std::string path = dir.file("tavo_browser_connection_list.con");
    cbtest::writeFile(path, "[Connections]\r\nNumConnections=3\r\n"
                            "[Connection1]\r\nConnectionName=One\r\nConnectionHost=h1\r\nConnectionPort=2383\r\n"
                            "[Connection3]\r\nConnectionName=Three\r\nConnectionHost=h3\r\n");
    TOLAPConnectionList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetConnection(0)->ConnectionPort, 2383);
    EXPECT_EQ(list.GetConnection(1)->ConnectionName, "Three");
    EXPECT_EQ(list.GetConnection(1)->ConnectionPort, -1);
    EXPECT_EQ(list.GetConnection(2), nullptr);

    ASSERT_TRUE(list.SaveToFile(path));
    EXPECT_EQ(cbtest::readFile(path),
              "[Connections]\r\nNumConnections=2\r\n\r\n"
              "[Connection1]\r\nConnectionName=One\r\nConnectionHost=h1\r\nConnectionPort=2383\r\n\r\n"
              "[Connection2]\r\nConnectionName=Three\r\nConnectionHost=h3\r\nConnectionPort=-1\r\n");

    // An independent reader agrees.
    std::string out;
    ASSERT_EQ(cbtest::runCommand("python3 -c \"import configparser,sys;p=configparser.ConfigParser();"
                                 "p.read(sys.argv[1]);print(p.sections(),p['Connection2']['connectionport'])\" '" +
                                     path + "'",
                                 &out),
              0);
    EXPECT_EQ(out, "['Connections', 'Connection1', 'Connection2'] -1\n");

    TOLAPConnectionList again;
    ASSERT_TRUE(again.LoadFromFile(path));
    ASSERT_EQ(again.GetCount(), 2);
    EXPECT_EQ(again.GetConnection(1)->ConnectionHost, "h3");
}

TEST(ConfigConnections, EmptyListAndMissingFile) {
    cbtest::TempDir dir;
    const std::string path = dir.file("c.con");
    TOLAPConnectionList list;
    EXPECT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.GetCount(), 0);
    ASSERT_TRUE(list.SaveToFile(path));
    EXPECT_EQ(cbtest::readFile(path), "[Connections]\r\nNumConnections=0\r\n");
    EXPECT_FALSE(list.SaveToFile(dir.file("no/such/folder.con")));

    // Loading empties what was there.
    list.Add({"n", "h", 1});
    EXPECT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.GetCount(), 0);
}

// A damaged list reads what can be read, and the first save keeps the old
// file as ".bak" (a later save does not overwrite that copy); an intact
// list leaves no copy.
TEST(ConfigConnections, DamagedListsAreReadAsFarAsPossibleAndKeptBeforeSaving) {
    const std::string two = "[Connection1]\r\nConnectionName=One\r\nConnectionHost=h1\r\nConnectionPort=1\r\n"
                            "[Connection2]\r\nConnectionName=Two\r\nConnectionHost=h2\r\nConnectionPort=2\r\n";
    struct Case {
        const char* what;
        std::string text;
        int count;
        bool whole;
    };
    const Case cases[] = {
        {"count with junk", "[Connections]\r\nNumConnections=3x\r\n" + two, 2, false},
        {"negative count", "[Connections]\r\nNumConnections=-1\r\n" + two, 2, false},
        {"huge count", "[Connections]\r\nNumConnections=99999999999\r\n" + two, 2, false},
        {"no count", two, 2, false},
        {"count below the sections", "[Connections]\r\nNumConnections=1\r\n" + two, 1, false},
        {"port not a number", "[Connections]\r\nNumConnections=1\r\n[Connection1]\r\nConnectionPort=80x\r\n", 1, false},
        {"intact", "[Connections]\r\nNumConnections=2\r\n" + two, 2, true},
    };
    for (const Case& c : cases) {
        cbtest::TempDir dir;
        const std::string path = dir.file("list.con");
        cbtest::writeFile(path, c.text);
        TOLAPConnectionList list;
        ASSERT_TRUE(list.LoadFromFile(path)) << c.what;
        EXPECT_EQ(list.GetCount(), c.count) << c.what;
        EXPECT_EQ(list.LoadedFully(), c.whole) << c.what;
        if (c.count == 2) {
            EXPECT_EQ(list.GetConnection(1)->ConnectionHost, "h2") << c.what;
        }

        ASSERT_TRUE(list.SaveToFile(path)) << c.what;
        EXPECT_EQ(std::filesystem::exists(path + ".bak"), !c.whole) << c.what;
        if (!c.whole) {
            EXPECT_EQ(cbtest::readFile(path + ".bak"), c.text) << c.what;
        }
        TOLAPConnectionList again;
        ASSERT_TRUE(again.LoadFromFile(path));
        EXPECT_EQ(again.GetCount(), c.count) << c.what;
        list.Add({"Three", "h3", 3});
        ASSERT_TRUE(list.SaveToFile(path));
        if (!c.whole) {
            EXPECT_EQ(cbtest::readFile(path + ".bak"), c.text) << c.what;
        }
    }
}

// A list that cannot be read at all (a FIFO in its place) is not replaced
// by an empty one: without a copy of the old file nothing is written.
TEST(ConfigConnections, UnreadableListIsNotOverwritten) {
    cbtest::TempDir dir;
    const std::string path = dir.file("list.con");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    TOLAPConnectionList list;
    EXPECT_FALSE(list.LoadFromFile(path));
    EXPECT_FALSE(list.LoadedFully());
    EXPECT_FALSE(list.SaveToFile(path));
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}
