#pragma once
// The program's long-lived objects, owned here for the whole run: the log,
// the settings, the user interface and the display manager, made in that
// order and freed in reverse. Model objects get them through Context().
#include "app/core/base/AppContext.h"

#include <memory>
#include <string>

namespace cb::app {

class TLogFile;
class TCubeBrowserConfig;
class TBaseUserInterface;
class TDisplayManager;

class TAppGlobals {
public:
    // The log "cube_browser.log", the settings "app.ini" and the data files
    // of the folder (with its trailing "/"); the log and the settings go to
    // the user's configuration folder when that folder cannot be written
    // (TBaseConfig::GetSettingsFolder). Settings that cannot be read are
    // logged and replaced by the defaults.
    explicit TAppGlobals(const std::string& folder);
    ~TAppGlobals();
    TAppGlobals(const TAppGlobals&) = delete;
    TAppGlobals& operator=(const TAppGlobals&) = delete;

    TAppContext Context() const;
    TLogFile& Log() const { return *FLog; }
    TCubeBrowserConfig& Config() const { return *FConfig; }
    TBaseUserInterface& UserInterface() const { return *FUserInterface; }
    TDisplayManager& DisplayManager() const { return *FDisplayManager; }

private:
    std::string FSettingsFolder;  // before FLog: the log is made in it
    std::unique_ptr<TLogFile> FLog;
    std::unique_ptr<TCubeBrowserConfig> FConfig;
    std::unique_ptr<TBaseUserInterface> FUserInterface;
    std::unique_ptr<TDisplayManager> FDisplayManager;
};

}  // namespace cb::app
