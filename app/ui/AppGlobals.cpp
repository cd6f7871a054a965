#include "app/ui/AppGlobals.h"

#include "app/core/Config.h"
#include "app/core/DisplayManager.h"
#include "app/core/LogFile.h"
#include "app/core/MDXDisplayManager.h"
#include "app/ui/CubeBrowserInterface.h"
#include "app/ui/MDXProgressScreen.h"

namespace cb::app {

TAppGlobals::TAppGlobals(const std::string& folder) : FLog(std::make_unique<TLogFile>(folder + "cube_browser.log")) {
    const std::string settings = folder + "app.ini";
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
