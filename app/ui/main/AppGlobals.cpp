#include "app/ui/main/AppGlobals.h"

#include "app/core/settings/Config.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/base/LogFile.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/dialogs/CubeBrowserInterface.h"
#include "app/ui/dialogs/MDXProgressScreen.h"
#include "platform/os/Files.h"

namespace cb::app {

namespace {

// Settings and the log live beside the program, or in the user's
// configuration folder when the program's folder cannot be written; the
// log says so once, when it is first made there.
std::unique_ptr<TLogFile> OpenLog(const std::string& folder, std::string& settingsFolder) {
    bool fellBack = false;
    settingsFolder = TBaseConfig::GetSettingsFolder(folder, &fellBack);
    const bool newLog = !os::FileExists(settingsFolder + "cube_browser.log");
    auto log = std::make_unique<TLogFile>(settingsFolder + "cube_browser.log");
    if (fellBack && newLog)
        log->WriteLine("The program's folder \"" + folder +
                       "\" cannot be written: settings, saved connections and this log are kept in \"" +
                       settingsFolder + "\"");
    return log;
}

}  // namespace

TAppGlobals::TAppGlobals(const std::string& folder) : FLog(OpenLog(folder, FSettingsFolder)) {
    const std::string settings = FSettingsFolder + "app.ini";
    try {
        FConfig = std::make_unique<TCubeBrowserConfig>(settings, folder);
    } catch (const std::exception& e) {
        FLog->WriteLine(std::string("Unable to initilize gConfig object. With error: ") + e.what());
        FConfig = TCubeBrowserConfig::CreateDefault(settings, folder);
    }
    FConfig->SetLog(FLog.get());
    FUserInterface = std::make_unique<TCubeBrowserInterface>();
    auto layout = std::make_unique<TMDXDisplayManager>(Context());
    layout->OnProgress = MakeLayoutProgressWindow();
    FDisplayManager = std::make_unique<TDisplayManager>(Context(), std::move(layout));
}

// The display manager goes first, since it holds the others' addresses.
TAppGlobals::~TAppGlobals() {
    FDisplayManager.reset();
    FUserInterface.reset();
    FConfig.reset();
    FLog.reset();
}

TAppContext TAppGlobals::Context() const {
    return TAppContext{FLog.get(), FConfig.get(), FUserInterface.get()};
}

}  // namespace cb::app
