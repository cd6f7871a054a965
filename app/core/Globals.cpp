#include "app/core/Globals.h"

#include "app/core/Config.h"
#include "app/core/DisplayManager.h"
#include "app/core/MDXDisplayManager.h"
#include "app/core/LogFile.h"
#include "app/core/UserInterface.h"
#include "app/ui/CubeBrowserInterface.h"

#include <memory>

namespace cb::app {

TLogFile* gLogFile = nullptr;
TCubeBrowserConfig* gConfig = nullptr;
TBaseUserInterface* gUserInterface = nullptr;
TDisplayManager* gDisplayManager = nullptr;

bool InitLogFile(const std::string& path) {
    if (!gLogFile) gLogFile = new TLogFile(path);
    return true;
}

bool InitConfig(const std::string& path) {
    if (gConfig) return true;
    try {
        gConfig = new TCubeBrowserConfig(path);
        return true;
    } catch (const std::exception& e) {
        gConfig = nullptr;
        if (gLogFile) gLogFile->WriteLine(std::string("Unable to initilize gConfig object. With error: ") + e.what());
        return false;
    }
}

void InitUserInterface() {
    if (!gUserInterface) gUserInterface = new TCubeBrowserInterface();
}

void InitGlobals() {
    const std::string appPath = TBaseConfig::GetApplicationPath();
    InitLogFile(appPath + "cube_browser.log");
    if (!InitConfig(appPath + "app.ini")) gConfig = TCubeBrowserConfig::CreateDefault(appPath + "app.ini").release();
    InitUserInterface();
    if (!gDisplayManager) gDisplayManager = new TDisplayManager(std::make_unique<TMDXDisplayManager>());
}

void FreeGlobals() {
    delete gConfig;
    gConfig = nullptr;
    delete gUserInterface;
    gUserInterface = nullptr;
    delete gLogFile;
    gLogFile = nullptr;
    delete gDisplayManager;
    gDisplayManager = nullptr;
}

}  // namespace cb::app
