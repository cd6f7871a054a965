#include "GalleryTestSupport.h"

#include <QStandardPaths>

#include <filesystem>
#include <gtest/gtest.h>

namespace editortest {

std::string ScreenshotPath(const std::string& name) {
    const auto dir = std::filesystem::path(CB_BIN_DIR).parent_path() / "screenshots";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

namespace {
// Editor settings go to Qt's test folder, never the user's.
class SettingsInTestFolder : public ::testing::Environment {
public:
    void SetUp() override { QStandardPaths::setTestModeEnabled(true); }
};
const auto* const settingsEnvironment = ::testing::AddGlobalTestEnvironment(new SettingsInTestFolder);
}  // namespace

}  // namespace editortest
