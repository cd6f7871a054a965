#pragma once
// The upgrade check the main window starts when it is created: the upgrade
// component reads the information file at UpgradeInfoURL of the settings
// (no check when that is empty), asks, downloads with its wizard, and hands
// over to the upgrade program only when UpgradeHandOver is set.
#include "app/core/base/AppContext.h"

#include <memory>

class QObject;

namespace cb::upgrade {
class TNetUpgrader;
}

namespace cb::app {

class TCubeBrowserConfig;

// Version of the running program as the upgrade check compares it.
inline constexpr const char* UpgradeVersionDate = "2/29/2004";

// Sets the component up as the main window uses it; a failed hand-over is
// told through the context and the program keeps running.
void ConfigureUpgrader(cb::upgrade::TNetUpgrader& upgrader, const TCubeBrowserConfig& config,
                       const TAppContext& context);

// The upgrade component started for an owner (none when no check was started).
cb::upgrade::TNetUpgrader* FindUpgradeCheck(const QObject* owner);

}  // namespace cb::app
