#pragma once
// Process-wide singletons, created by InitGlobals in a fixed order and freed
// by FreeGlobals. Each is empty until created; the process owns them.
#include <string>

namespace cb::app {

class TLogFile;
class TCubeBrowserConfig;
class TBaseUserInterface;
class TDisplayManager;

extern TLogFile* gLogFile;
extern TCubeBrowserConfig* gConfig;
extern TBaseUserInterface* gUserInterface;
extern TDisplayManager* gDisplayManager;

bool InitLogFile(const std::string& path);
bool InitConfig(const std::string& path);
void InitUserInterface();
void InitGlobals();
void FreeGlobals();

}  // namespace cb::app
