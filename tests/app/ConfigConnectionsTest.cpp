#include "app/core/OLAPConnectionList.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

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
