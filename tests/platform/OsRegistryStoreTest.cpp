#include "platform/os/RegistryIniFile.h"
#include "platform/os/RegistryStore.h"
#include "platform/rtl/IniFile.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace cb::os;

namespace {

class OsRegistryStore : public ::testing::Test {
protected:
    void SetUp() override { TRegistryStore::SetRootPath(dir.path().string()); }
    void TearDown() override { TRegistryStore::SetRootPath({}); }
    cbtest::TempDir dir;
};

}  // namespace

TEST_F(OsRegistryStore, KeysAreSectionsOfOneIniFile) {
    EXPECT_EQ(TRegistryStore::FileName(), dir.file("cubebrowser/registry.ini"));
    TRegistryStore reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Tavo\\Browser\\Placement", false));
    EXPECT_EQ(reg.CurrentPath(), "");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tavo\\Browser\\Placement\\", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Tavo\\Browser\\Placement");
    EXPECT_EQ(reg.ReadInteger("Left", -1), -1);
    reg.WriteInteger("Left", 120);
    reg.WriteBool("Maximized", true);
    reg.WriteString("Caption", "Cube \"Sales\"");

    cb::rtl::TMemIniFile ini(TRegistryStore::FileName());
    EXPECT_EQ(ini.ReadString("Software\\Tavo\\Browser\\Placement", "Left", ""), "120");

    TRegistryStore other;
    EXPECT_TRUE(other.KeyExists("software\\tavo"));  // a parent of a key
    EXPECT_FALSE(other.KeyExists("software\\tav"));  // not a prefix match
    ASSERT_TRUE(other.OpenKey("SOFTWARE\\Tavo", false));
    ASSERT_TRUE(other.OpenKey("browser\\placement", false));  // relative to the open key
    EXPECT_EQ(other.ReadInteger("left", 0), 120);
    EXPECT_TRUE(other.ReadBool("MAXIMIZED", false));
    EXPECT_EQ(other.ReadString("Caption"), "Cube \"Sales\"");
    EXPECT_EQ(other.GetValueNames(), (std::vector<std::string>{"Left", "Maximized", "Caption"}));

    // Two stores open at once keep each other's changes.
    other.WriteInteger("Top", 5);
    reg.WriteInteger("Width", 640);
    EXPECT_EQ(reg.ReadInteger("Top", 0), 5);
    EXPECT_EQ(other.ReadInteger("Width", 0), 640);

    EXPECT_TRUE(reg.DeleteValue("Top"));
    EXPECT_FALSE(reg.DeleteValue("Top"));
    EXPECT_FALSE(reg.ValueExists("Top"));
}

TEST_F(OsRegistryStore, SubkeysRootsAndDeletion) {
    TRegistryStore reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Tavo\\Editor", true));
    reg.WriteString("Tab", "1");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tavo\\Browser\\Grid", true));
    reg.WriteString("Col0", "64");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tavoish", true));  // empty key is kept
    EXPECT_TRUE(reg.KeyExists("\\Software\\Tavoish"));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tavo", false));
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"Editor", "Browser"}));

    TRegistryStore machine(TRegistryRoot::LocalMachine);
    EXPECT_FALSE(machine.KeyExists("Software\\Tavo"));
    ASSERT_TRUE(machine.OpenKey("Software\\Tavo", true));
    machine.WriteInteger("Shared", 1);
    reg.CloseKey();
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"Software"}));

    EXPECT_TRUE(reg.DeleteKey("Software\\Tavo"));
    EXPECT_FALSE(reg.KeyExists("Software\\Tavo\\Browser\\Grid"));
    EXPECT_TRUE(reg.KeyExists("Software\\Tavoish"));
    EXPECT_TRUE(machine.KeyExists("\\Software\\Tavo"));
    EXPECT_FALSE(reg.DeleteKey("Software\\Tavo"));
}

TEST(OsRegistryStoreLocation, FollowsXdgConfigHome) {
    cbtest::TempDir dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(TRegistryStore::FileName(), dir.file("cubebrowser/registry.ini"));
    TRegistryStore reg;
    ASSERT_TRUE(reg.OpenKey("Software\\X", true));
    reg.WriteBool("On", false);
    EXPECT_EQ(cbtest::readFile(dir.file("cubebrowser/registry.ini")), "[Software\\X]\r\nOn=0\r\n");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(OsRegistryStore, IniViewOfAKey) {
    cb::os::TRegistryIniFile ini("Software\\Tavo\\Browser");
    EXPECT_EQ(ini.ReadInteger("Grid", "Col0", 64), 64);
    EXPECT_FALSE(ini.SectionExists("Grid"));
    ini.WriteInteger("Grid", "Col0", 80);
    ini.WriteInteger("Grid", "Col1", 20);
    EXPECT_EQ(ini.ReadInteger("grid", "col0", 0), 80);
    EXPECT_EQ(ini.ReadSection("Grid"), (std::vector<std::string>{"Col0", "Col1"}));
    TRegistryStore reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Tavo\\Browser\\Grid", false));
    EXPECT_EQ(reg.ReadInteger("Col1", 0), 20);
    ini.DeleteKey("Grid", "Col1");
    EXPECT_FALSE(ini.ValueExists("Grid", "Col1"));
    ini.EraseSection("Grid");
    EXPECT_FALSE(ini.SectionExists("Grid"));
    EXPECT_EQ(ini.ReadInteger("Grid", "Col0", -1), -1);
}
