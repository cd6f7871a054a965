#pragma once
// The windows the main window opens whose code lives in files of their own:
// publishing, the cube-copy wizard, settings, comments, the about box, the
// tutorial and the upgrade check. The main window calls them with what they
// need of it.
#include "app/core/base/AppContext.h"

class QWidget;

namespace cb::app {

class TDisplayManager;
class TMSOLAPConnection;
struct TTheme;

struct TFeatureContext {
    QWidget* Owner = nullptr;                   // the main window
    const TTheme* Theme = nullptr;              // the window theme
    TMSOLAPConnection* Connection = nullptr;    // the open cube, or none
    TAppContext App;                            // log, settings, messages
    TDisplayManager* DisplayManager = nullptr;  // renders the view into previews, or none
};

// Publishing dialog for the open cube (the caller checks that one is open).
void ShowPublishDialog(const TFeatureContext& context);
// The cube-copy wizard for the open cube.
void ShowCopyCubeWizard(const TFeatureContext& context);
// The settings dialog; true when it ended with OK and the theme changed.
bool ShowSettingsDialog(const TFeatureContext& context);
void ShowCommentDialog(const TFeatureContext& context);
void ShowAboutBox(const TFeatureContext& context);
// The tutorial window, made on first use and kept until the owner closes.
void ShowTutorial(const TFeatureContext& context);
// The upgrade check made when the main window is created.
void StartUpgradeCheck(const TFeatureContext& context);

}  // namespace cb::app
