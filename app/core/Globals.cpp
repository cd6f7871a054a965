#include "app/core/Globals.h"

#include "app/core/Config.h"
#include "app/core/LogFile.h"
#include "app/core/UserInterface.h"
#include "app/ui/CubeBrowserInterface.h"

#include <type_traits>

// The display manager is made here once its class exists; until then
// gDisplayManager stays empty.
#if __has_include("app/core/DisplayManager.h")
#include "app/core/DisplayManager.h"
#define CB_HAVE_DISPLAY_MANAGER 1
#endif

namespace cb::app {

TLogFile* gLogFile = nullptr;
TCubeBrowserConfig* gConfig = nullptr;
TBaseUserInterface* gUserInterface = nullptr;
TDisplayManager* gDisplayManager = nullptr;

namespace {

TDisplayManager* NewDisplayManager()
{
#ifdef CB_HAVE_DISPLAY_MANAGER
    if constexpr (std::is_default_constructible_v<TDisplayManager>)
        return new TDisplayManager();
#endif
    return nullptr;
}

void DeleteDisplayManager(TDisplayManager* manager)
{
#ifdef CB_HAVE_DISPLAY_MANAGER
    delete manager;
#else
    (void)manager;
#endif
}

} // namespace

bool InitLogFile(const std::string& path)
{
    if (!gLogFile)
        gLogFile = new TLogFile(path);
    return true;
}

bool InitConfig(const std::string& path)
{
    if (gConfig)
        return true;
    try {
        gConfig = new TCubeBrowserConfig(path);
        return true;
    } catch (const std::exception& e) {
        gConfig = nullptr;
        if (gLogFile)
            gLogFile->WriteLine(std::string("Unable to initilize gConfig object. With error: ") + e.what());
        return false;
    }
}

void InitUserInterface()
{
    if (!gUserInterface)
        gUserInterface = new TCubeBrowserInterface();
}

void InitGlobals()
{
    const std::string appPath = TBaseConfig::GetApplicationPath();
    InitLogFile(appPath + "cube_browser.log");
    if (!InitConfig(appPath + "app.ini"))
        gConfig = TCubeBrowserConfig::CreateDefault(appPath + "app.ini").release();
    InitUserInterface();
    if (!gDisplayManager)
        gDisplayManager = NewDisplayManager();
}

void FreeGlobals()
{
    delete gConfig;
    gConfig = nullptr;
    delete gUserInterface;
    gUserInterface = nullptr;
    delete gLogFile;
    gLogFile = nullptr;
    DeleteDisplayManager(gDisplayManager);
    gDisplayManager = nullptr;
}

} // namespace cb::app
