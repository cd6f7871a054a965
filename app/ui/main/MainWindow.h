#pragma once
// The application's main window: tool bar, main menu and actions, the
// three pane containers (left menu, grid view, chart view), the start-up
// cube, the global exception handler and the close that saves the settings
// and frees the panes in order.
#include "app/core/base/AppContext.h"
#include "app/core/theme/WindowTheme.h"
#include "app/ui/dialogs/Features.h"

#include <QMainWindow>
#include <QPixmap>

#include <exception>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class QFrame;

namespace cb::extras {
class TKitSplitter;
class THookHelpSystem;
}  // namespace cb::extras

namespace cb::app {

class TDisplayManager;
class TMSOLAPConnection;
class TfrmHomeContainer;
class TfrmMainMenuContainer;
class TfrmMainBottomContainer;
using TBottomContainer = TfrmMainBottomContainer;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // The context's settings are read at start and saved on close; its user
    // interface takes the window theme. The display manager (not owned)
    // must outlive the window; without one every cube command is off.
    // The start-up cube and the help file are found in programFolder (with
    // its trailing "/"; the executable's folder when empty).
    explicit TfrmMain(TAppContext context = {}, TDisplayManager* displayManager = nullptr,
                      const std::string& programFolder = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The window theme, kept for the whole run and handed to every form.
    const TTheme* Theme() const { return &FTheme; }
    virtual void ApplyTheme(const TTheme* theme);

    // True when creation failed and the program is to end.
    bool Terminated() const { return FTerminated; }

    // The start-up cube of a program folder (with its trailing "/").
    static std::string SampleCubeFile(const std::string& programFolder);
    // Opens the start-up cube; false when an exception escaped.
    bool OpenSampleCube();
    // Shows the window's connection's current cube in the panes.
    void OpenCube();
    // Opens a cube from a description (on a server, the cube of that name;
    // else the first). The window's connection is replaced only when the new
    // one opened and its cube could be read: otherwise the error is shown
    // and the open cube stays as it was.
    void OpenCubeWith(std::unique_ptr<class TCubeConnectionString> description, const std::string& cubeName = {});
    // The open-cube window (acOpenCube).
    void OpenCubeDialog();
    void CloseCube();
    void UpdateActions();
    void ShowChartMenuItems(bool visible);
    void MirrorChartMenus();
    // Hands the docked chart view its menu event and binds the chart menu to it.
    void ConnectChartView();
    void OpenConfiguredAddress(const std::string& address, const char* what, const char* key);
    void DisplayManagerBusy();
    void DisplayManagerIdle();
    void DisplayManagerStateChanged();
    // Logs an exception no window caught and shows it.
    void ApplicationException(const QObject* sender, const std::exception& error);

    TfrmHomeContainer* HomeContainer() const { return FHomeContainer.get(); }
    TfrmMainMenuContainer* MenuContainer() const { return FMenuContainer.get(); }
    TBottomContainer* BottomContainer() const { return FBottomContainer.get(); }
    TMSOLAPConnection* Connection() const { return FConnection.get(); }
    TDisplayManager* DisplayManager() const { return FDisplayManager; }
    bool ChartPaneShown() const;

    // Tool bar, image lists and splitters.
    QToolBar* tbMainToolbar;
    std::vector<QPixmap> ilToolBarOn, ilToolBarOff, ilToolBarOver;
    QToolButton *tbbOpenCube, *tbbExport, *tbbUndo, *tbbRedo, *tbbResetCube, *tbShowHideGraph, *tbCopyCube,
        *tbbSettings, *tbbSendComment, *tbbVisitWebsite, *tbbHelp;
    QWidget *panMain, *panLeft, *panRight, *panRightTop, *panRightBottom;
    QFrame* shTopSpacer;
    cb::extras::TKitSplitter* splLeftRight;
    cb::extras::TKitSplitter* splTopBottom;

    // Actions.
    QAction *acOpenCube, *acCloseCube, *acExportCube, *acUndo, *acRedo, *acResetCube, *acEmptyCube, *acSettings,
        *acShowHideGraph, *acSendUsComment, *acVisitOurWebsite, *acVisitOurSupportForm, *acHelp, *acAbout, *acExit;
    // Menu items that are not plain actions.
    QMenu *mmiFile, *mmiEdit, *mmiTools, *mmiView, *mmiGraph, *mmiHelp;
    QAction *mmiCopyCube, *pmiFlipGraph, *mmiShowHideGraph, *mmiShowTips, *mmiShowChart;
    // Menu items with captions of their own that run an action.
    QAction *mmiOpen, *mmiExport, *mmiSendacomment;
    QMenu *mmiCurrentMeasure, *mmiChartData, *mmiGroupGraphBy, *mmiGraphType, *mmiLabels, *mmiLegendFormat,
        *mmiExportTo;
    QAction *mmiHideAllMembers, *mmiFlipRowColumns, *mmiHideGraphAnnotation, *mmiShowBottomLabels,
        *mmiShowRoationSlider, *mmiCopyCurrentCharttoClipboard, *mmiPrint;
    // The fourteen chart items, in menu order.
    std::vector<QAction*> ChartItems() const;

public slots:
    void acShowHideGraphExecute();
    void acExportCubeExecute();
    void acUndoExecute();
    void acRedoExecute();
    void acResetCubeExecute();
    void acEmptyCubeExecute();
    void acSettingsExecute();
    void acVisitOurWebsiteExecute();
    void acVisitOurSupportFormExecute();
    void acHelpExecute();
    void pmiFlipGraphClick();
    void mmiCopyCubeClick();
    void ShowTutorial();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Create();
    void BuildActions();
    void BuildMenus();
    void BuildToolbar();
    void BuildPanes();
    void CreateContainers();
    void SaveAndFreeOnClose();
    TFeatureContext FeatureContext();
    void SetChartActionCaption(const char* text);

    TAppContext FContext;
    TDisplayManager* FDisplayManager;
    std::string FProgramFolder;
    TTheme FTheme;
    bool FTerminated = false;
    bool FClosed = false;
    bool FShownOnce = false;
    std::unique_ptr<cb::extras::THookHelpSystem> FHelpHook;
    std::unique_ptr<TMSOLAPConnection> FConnection;
    std::unique_ptr<TBottomContainer> FBottomContainer;
    std::unique_ptr<TfrmHomeContainer> FHomeContainer;
    std::unique_ptr<TfrmMainMenuContainer> FMenuContainer;
};

// The main window while the program runs, none before and after.
extern TfrmMain* frmMain;

}  // namespace cb::app
