#include "app/ui/main/MainWindow.h"

#include "app/core/base/AppInfo.h"
#include "app/core/base/Helpers.h"
#include "app/core/base/LogFile.h"
#include "app/core/cube/CubeConnection.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/CubeBrowserInterface.h"
#include "app/ui/dialogs/LoadingScreen.h"
#include "app/ui/dialogs/OpenCubeDialog.h"
#include "app/ui/dialogs/ServerLogin.h"
#include "app/ui/dialogs/TutorialDisplay.h"
#include "app/ui/main/Application.h"
#include "app/ui/main/HomeContainer.h"
#include "app/ui/main/MainBottomContainer.h"
#include "app/ui/main/MainMenuContainer.h"
#include "app/ui/views/MainGraphDisplay.h"
#include "app/ui/widgets/ContentForm.h"
#include "app/ui/widgets/HelpTopics.h"
#include "app/ui/widgets/ToolbarIcons.h"
#include "extras/HelpHook.h"
#include "extras/KitSplitter.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/ErrorLog.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/desktop/PlainMessageBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <system_error>
#include <tuple>

namespace cb::app {

TfrmMain* frmMain = nullptr;

namespace {

// Hides the loading screen on every way out of the window's creation.
struct THideLoadingScreen {
    ~THideLoadingScreen() {
        if (frmLoadingScreen) frmLoadingScreen->hide();
    }
};

void Step(int n = 1) {
    if (frmLoadingScreen)
        for (int i = 0; i < n; ++i) frmLoadingScreen->StepProgress();
}

void PumpMessages() {
    QApplication::processEvents();
    QApplication::processEvents();
}

QAction* MakeAction(QObject* owner, const char* caption, const char* hint) {
    auto* a = new QAction(QString::fromUtf8(caption), owner);
    a->setToolTip(QString::fromUtf8(hint));
    a->setStatusTip(QString::fromUtf8(hint));
    return a;
}

constexpr const char* kShowChartView = "Show Chart View";
constexpr int kChartPaneHeight = 400;
constexpr int kMinChartPaneHeight = 150;
constexpr int kMinGridPaneHeight = 150;
constexpr const char* kHideChart = "Hide Chart";

}  // namespace

TfrmMain::TfrmMain(TAppContext context, TDisplayManager* displayManager, const std::string& programFolder,
                   QWidget* parent)
    : QMainWindow(parent), FContext(context), FDisplayManager(displayManager),
      FProgramFolder(programFolder.empty() ? TBaseConfig::GetApplicationPath() : programFolder) {
    setObjectName("frmMain");
    setWindowTitle(ProductName);
    resize(760, 550);
    setMinimumSize(760, 550);
    BuildActions();
    BuildMenus();
    BuildToolbar();
    BuildPanes();
    Create();
}

TfrmMain::~TfrmMain() {
    RemoveServerLogin();
    if (auto* app = dynamic_cast<TCubeBrowserApplication*>(QCoreApplication::instance())) app->OnException = nullptr;
    if (FDisplayManager) {
        FDisplayManager->OnToggleChartRequest = nullptr;
        FDisplayManager->OnBeforeRefresh = nullptr;
        FDisplayManager->OnAfterRefresh = nullptr;
        FDisplayManager->OnStateChanged = nullptr;
        if (FDisplayManager->IsCubeOpen()) FDisplayManager->CloseCube();
    }
    FHomeContainer.reset();
    FMenuContainer.reset();
    FBottomContainer.reset();
    FConnection.reset();
}

void TfrmMain::BuildActions() {
    acOpenCube = MakeAction(this, "&Open Cube ..", "Open Cube ..");
    acCloseCube = MakeAction(this, "&Close Cube", "Close Cube");
    acExportCube = MakeAction(this, "&Publish Report..", "Publish Report..");
    acUndo = MakeAction(this, "&Undo", "Undo");
    acUndo->setShortcut(QKeySequence::Undo);
    acRedo = MakeAction(this, "&Redo", "Redo");
    // Ctrl+Y and Ctrl+Shift+Z both redo, as in other desktop programs.
    acRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    acResetCube = MakeAction(this, "&Reset Cube", "Reset Cube");
    acEmptyCube = MakeAction(this, "Empty Cube", "Empty Cube");
    acSettings = MakeAction(this, "&Settings", "Settings");
    acShowHideGraph = MakeAction(this, "&Show Graph", "Show Graph");
    acSendUsComment = MakeAction(this, "Send Us Comments", "Send Us Comments");
    acVisitOurWebsite = MakeAction(this, "&Visit Our Website", "Visit Our Website");
    acVisitOurSupportForm = MakeAction(this, "Visit Our Support Forum", "Visit Our Support Forum");
    acHelp = MakeAction(this, "&Help", "Help");
    acHelp->setShortcut(QKeySequence::HelpContents);
    acAbout = MakeAction(this, "&About", "About");
    acExit = MakeAction(this, "&Exit", "Exit");

    connect(acOpenCube, &QAction::triggered, this, &TfrmMain::OpenCubeDialog);
    connect(acCloseCube, &QAction::triggered, this, &TfrmMain::CloseCube);
    connect(acExportCube, &QAction::triggered, this, &TfrmMain::acExportCubeExecute);
    connect(acUndo, &QAction::triggered, this, &TfrmMain::acUndoExecute);
    connect(acRedo, &QAction::triggered, this, &TfrmMain::acRedoExecute);
    connect(acResetCube, &QAction::triggered, this, &TfrmMain::acResetCubeExecute);
    connect(acEmptyCube, &QAction::triggered, this, &TfrmMain::acEmptyCubeExecute);
    connect(acSettings, &QAction::triggered, this, &TfrmMain::acSettingsExecute);
    connect(acShowHideGraph, &QAction::triggered, this, &TfrmMain::acShowHideGraphExecute);
    connect(acSendUsComment, &QAction::triggered, this, [this] { ShowCommentDialog(FeatureContext()); });
    connect(acVisitOurWebsite, &QAction::triggered, this, &TfrmMain::acVisitOurWebsiteExecute);
    connect(acVisitOurSupportForm, &QAction::triggered, this, &TfrmMain::acVisitOurSupportFormExecute);
    connect(acHelp, &QAction::triggered, this, &TfrmMain::acHelpExecute);
    connect(acAbout, &QAction::triggered, this, [this] { ShowAboutBox(FeatureContext()); });
    connect(acExit, &QAction::triggered, this, &QWidget::close);
}

namespace {

// A menu item with a caption of its own that runs the action and follows
// its enabled state.
QAction* AddItemFor(QMenu* menu, QAction* action, const char* caption) {
    QAction* item = menu->addAction(caption);
    item->setToolTip(action->toolTip());
    item->setStatusTip(action->statusTip());
    item->setEnabled(action->isEnabled());
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    return item;
}

// The text with an access key before the first letter of word.
QString WithAccessKey(const QString& text, const QString& word) {
    QString s = text;
    const qsizetype at = s.indexOf(word);
    if (at >= 0) s.insert(at, '&');
    return s;
}

}  // namespace

void TfrmMain::BuildMenus() {
    QMenuBar* mmMain = menuBar();
    mmiFile = mmMain->addMenu("&File");
    mmiOpen = AddItemFor(mmiFile, acOpenCube, "&Open Cube ...");
    mmiFile->addSeparator();
    mmiExport = AddItemFor(mmiFile, acExportCube, "&Publish Report...");
    mmiFile->addSeparator();
    mmiFile->addAction(acCloseCube);
    mmiFile->addSeparator();
    mmiFile->addAction(acExit);

    mmiEdit = mmMain->addMenu("&Edit");
    mmiEdit->addAction(acUndo);
    mmiEdit->addAction(acRedo);

    mmiTools = mmMain->addMenu("&Tools");
    mmiCopyCube = mmiTools->addAction("&Copy Cube", this, &TfrmMain::mmiCopyCubeClick);
    mmiTools->addAction(acSettings);

    mmiView = mmMain->addMenu("&View");
    mmiView->addAction(acResetCube);
    mmiView->addAction(acEmptyCube);
    pmiFlipGraph = mmiView->addAction("Flip Row/Column ", this, &TfrmMain::pmiFlipGraphClick);
    pmiFlipGraph->setToolTip("Flip the current rows for the current columns");
    pmiFlipGraph->setStatusTip(pmiFlipGraph->toolTip());
    mmiView->addSeparator();
    // A menu item of its own that follows the action's caption and hint.
    mmiShowHideGraph = mmiView->addAction("&Show Chart", this, &TfrmMain::acShowHideGraphExecute);

    mmiGraph = mmMain->addMenu("&Chart");
    mmiCurrentMeasure = mmiGraph->addMenu("&Current Measure");
    mmiHideAllMembers = mmiGraph->addAction("Hide All &Members");
    mmiChartData = mmiGraph->addMenu("Chart &Data");
    mmiGroupGraphBy = mmiGraph->addMenu("&Group By");
    mmiFlipRowColumns = mmiGraph->addAction("&Flip Row/Columns", this, &TfrmMain::pmiFlipGraphClick);
    mmiGraphType = mmiGraph->addMenu("Chart &Type");
    mmiLabels = mmiGraph->addMenu("&Labels");
    mmiLegendFormat = mmiGraph->addMenu("L&egend");
    mmiHideGraphAnnotation = mmiGraph->addAction("Hide &Annotation");
    mmiShowBottomLabels = mmiGraph->addAction("Show &Bottom Labels");
    mmiShowRoationSlider = mmiGraph->addAction("Show &Rotaion Slider");
    mmiCopyCurrentCharttoClipboard = mmiGraph->addAction("Copy to Clipboard");
    mmiExportTo = mmiGraph->addMenu("Export T&o");  // "T" is Chart Type's
    mmiPrint = mmiGraph->addAction("&Print");
    mmiShowChart = mmiGraph->addAction("&Show Chart View", this, &TfrmMain::acShowHideGraphExecute);

    mmiHelp = mmMain->addMenu("&Help");
    mmiSendacomment = AddItemFor(mmiHelp, acSendUsComment, "Send Us Comments / Feature Request");
    mmiHelp->addAction(acVisitOurWebsite);
    mmiHelp->addAction(acVisitOurSupportForm);
    mmiHelp->addSeparator();
    mmiHelp->addAction(acHelp);
    mmiShowTips = mmiHelp->addAction("&Show Tips", this, &TfrmMain::ShowTutorial);
    mmiHelp->addAction(acAbout);
}

std::vector<QAction*> TfrmMain::ChartItems() const {
    return {mmiCurrentMeasure->menuAction(),
            mmiHideAllMembers,
            mmiChartData->menuAction(),
            mmiGroupGraphBy->menuAction(),
            mmiFlipRowColumns,
            mmiGraphType->menuAction(),
            mmiLabels->menuAction(),
            mmiLegendFormat->menuAction(),
            mmiHideGraphAnnotation,
            mmiShowBottomLabels,
            mmiShowRoationSlider,
            mmiCopyCurrentCharttoClipboard,
            mmiExportTo->menuAction(),
            mmiPrint};
}

void TfrmMain::BuildToolbar() {
    ilToolBarOn = MakeToolbarImageList(TToolbarLook::Normal);
    ilToolBarOff = MakeToolbarImageList(TToolbarLook::Disabled);
    ilToolBarOver = MakeToolbarImageList(TToolbarLook::Hot);
    tbMainToolbar = addToolBar("Tool Bar");
    tbMainToolbar->setObjectName("tbMainToolbar");
    tbMainToolbar->setMovable(false);
    tbMainToolbar->setFloatable(false);
    tbMainToolbar->setIconSize(QSize(24, 24));
    tbMainToolbar->setAutoFillBackground(true);
    tbMainToolbar->setContextMenuPolicy(Qt::PreventContextMenu);

    auto button = [this](const char* name, int image, QAction* action, const char* hint) {
        auto* b = new QToolButton(tbMainToolbar);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setFixedSize(31, 30);
        QIcon icon;
        icon.addPixmap(ilToolBarOn[static_cast<std::size_t>(image)], QIcon::Normal);
        icon.addPixmap(ilToolBarOff[static_cast<std::size_t>(image)], QIcon::Disabled);
        icon.addPixmap(ilToolBarOver[static_cast<std::size_t>(image)], QIcon::Active);
        if (action) {
            action->setIcon(icon);
            b->setDefaultAction(action);
        } else {
            b->setIcon(icon);
            b->setToolTip(hint);
        }
        tbMainToolbar->addWidget(b);
        return b;
    };
    tbbOpenCube = button("tbbOpenCube", tiOpenCube, acOpenCube, nullptr);
    tbbExport = button("tbbExport", tiExport, acExportCube, nullptr);
    tbbUndo = button("tbbUndo", tiUndo, acUndo, nullptr);
    tbbRedo = button("tbbRedo", tiRedo, acRedo, nullptr);
    tbbResetCube = button("tbbResetCube", tiResetCube, acResetCube, nullptr);
    tbShowHideGraph = button("tbShowHideGraph", tiChart, acShowHideGraph, nullptr);
    tbCopyCube = button("tbCopyCube", tiCopyCube, nullptr, "Copy the current cube...");
    connect(tbCopyCube, &QToolButton::clicked, this, &TfrmMain::mmiCopyCubeClick);
    tbbSettings = button("tbbSettings", tiSettings, acSettings, nullptr);
    tbbSendComment = button("tbbSendComment", tiSendComment, acSendUsComment, nullptr);
    tbbVisitWebsite = button("tbbVisitWebsite", tiWebsite, acVisitOurWebsite, nullptr);
    tbbHelp = button("tbbHelp", tiHelp, acHelp, nullptr);
}

void TfrmMain::BuildPanes() {
    panMain = new QWidget(this);
    panMain->setObjectName("panMain");
    auto* mainLayout = new QVBoxLayout(panMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    shTopSpacer = new QFrame(panMain);
    shTopSpacer->setFixedHeight(1);
    shTopSpacer->setAutoFillBackground(true);
    QPalette sp = shTopSpacer->palette();
    sp.setColor(QPalette::Window, gfx::ToQColor(0x999999));
    shTopSpacer->setPalette(sp);
    mainLayout->addWidget(shTopSpacer);

    auto* body = new QWidget(panMain);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(0);
    panLeft = new QWidget(body);
    panLeft->setObjectName("panLeft");
    panLeft->setFixedWidth(215);
    panLeft->setMaximumWidth(330);
    bodyLayout->addWidget(panLeft);
    splLeftRight = new cb::extras::TKitSplitter(body);
    splLeftRight->setObjectName("splLeftRight");
    splLeftRight->SetAlign(cb::extras::kaLeft);
    splLeftRight->SetThickness(11);
    splLeftRight->SetMinSize(1);
    splLeftRight->SetButtonWidthType(cb::extras::btwPercentage);
    splLeftRight->SetButtonWidth(20);
    splLeftRight->SetWindowsButtons(0);
    splLeftRight->SetAutoHighlightColor(true);
    splLeftRight->OnMinimize = [](cb::extras::TKitSplitter* s) { s->SetMinSize(1); };
    bodyLayout->addWidget(splLeftRight);

    panRight = new QWidget(body);
    panRight->setObjectName("panRight");
    auto* rightLayout = new QVBoxLayout(panRight);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    panRightTop = new QWidget(panRight);
    panRightTop->setObjectName("panRightTop");
    rightLayout->addWidget(panRightTop, 1);
    splTopBottom = new cb::extras::TKitSplitter(panRight);
    splTopBottom->setObjectName("splTopBottom");
    splTopBottom->SetAlign(cb::extras::kaBottom);
    splTopBottom->SetThickness(11);
    splTopBottom->SetMinSize(3);
    splTopBottom->SetButtonWidthType(cb::extras::btwPercentage);
    splTopBottom->SetButtonWidth(20);
    splTopBottom->SetWindowsButtons(cb::extras::wbMax | cb::extras::wbClose);
    splTopBottom->SetAutoHighlightColor(true);
    rightLayout->addWidget(splTopBottom);
    panRightBottom = new QWidget(panRight);
    panRightBottom->setObjectName("panRightBottom");
    rightLayout->addWidget(panRightBottom);
    splTopBottom->hide();
    panRightBottom->hide();
    bodyLayout->addWidget(panRight, 1);
    mainLayout->addWidget(body, 1);
    setCentralWidget(panMain);
}

void TfrmMain::Create() {
    THideLoadingScreen hideAtEnd;
    if (frmLoadingScreen) {
        frmLoadingScreen->repaint();
        frmLoadingScreen->SetStatus(TfrmLoadingScreen::lsLoading);
        frmLoadingScreen->ResetProgress();
        frmLoadingScreen->ShowNow();
    }
    // Help.
    const std::string helpFile = FProgramFolder + "help/Tavo.chm";
    SetApplicationHelpFile(helpFile);
    FHelpHook = std::make_unique<cb::extras::THookHelpSystem>(helpFile, "", cb::extras::hhkApi);
    Step(2);
    // The upgrade check.
    StartUpgradeCheck(FeatureContext());
    Step();
    if (auto* app = dynamic_cast<TCubeBrowserApplication*>(QCoreApplication::instance()))
        app->OnException = [this](QObject* sender, const std::exception& e) { ApplicationException(sender, e); };
    // Analysis servers that want a password ask through this window.
    InstallServerLogin(this);
    // The window theme, applied and handed to the message interface.
    ApplyTheme(&FTheme);
    if (auto* ui = dynamic_cast<TCubeBrowserInterface*>(FContext.UserInterface)) ui->ApplyTheme(&FTheme);
    ApplyTheme(&FTheme);
    Step(3);
    if (FDisplayManager) {
        FDisplayManager->OnToggleChartRequest = [this] { acShowHideGraphExecute(); };
        FDisplayManager->OnBeforeRefresh = [this] { DisplayManagerBusy(); };
        FDisplayManager->OnAfterRefresh = [this] { DisplayManagerIdle(); };
        FDisplayManager->OnStateChanged = [this] { DisplayManagerStateChanged(); };
    }
    CreateContainers();
    Step(2);
    if (!OpenSampleCube()) {
        if (frmLoadingScreen) frmLoadingScreen->hide();
        FContext.ShowError("Unable to open the start-up cube. The program will now close.");
        FTerminated = true;
        return;
    }
    if (FDisplayManager) {
        FDisplayManager->ClearUndoRedo();
        FDisplayManager->SetChartEnabled(false);
    }
    UpdateActions();
    Step();
    if (FContext.Config && FContext.Config->StartMaxed)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~Qt::WindowMaximized);
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Step();
}

void TfrmMain::CreateContainers() {
    FBottomContainer = std::make_unique<TBottomContainer>(panRightBottom, FDisplayManager);
    FBottomContainer->ApplyTheme(&FTheme);
    FBottomContainer->ShowDocked();
    panRightBottom->setFixedHeight(1);
    FHomeContainer = std::make_unique<TfrmHomeContainer>(panRightTop, FDisplayManager, FContext);
    FHomeContainer->ApplyTheme(&FTheme);
    FHomeContainer->OnOpenCube = [this] { OpenCubeDialog(); };
    FHomeContainer->ShowDocked();
    FMenuContainer = std::make_unique<TfrmMainMenuContainer>(panLeft, FDisplayManager, FContext);
    FMenuContainer->ApplyTheme(&FTheme);
    FMenuContainer->ShowDocked();
}

TFeatureContext TfrmMain::FeatureContext() {
    TFeatureContext c;
    c.Owner = this;
    c.Theme = &FTheme;
    c.Connection = FDisplayManager && FDisplayManager->IsCubeOpen() ? FConnection.get() : nullptr;
    c.App = FContext;
    c.DisplayManager = FDisplayManager;
    return c;
}

std::string TfrmMain::SampleCubeFile(const std::string& programFolder) {
    return programFolder + "Local Cubes/Tavo_sample.cub";
}

bool TfrmMain::OpenSampleCube() {
    try {
        auto description = std::make_unique<TCubeConnectionString>();
        description->ConnectionType = TConnectionType::ctLocalCubeFile;
        description->SetFileName(SampleCubeFile(FProgramFolder));
        FConnection = std::make_unique<TMSOLAPConnection>(std::move(description), FContext);
        OpenCube();
        return true;
    } catch (const std::exception& e) {
        FContext.WriteLog(std::string("Unable to open the start-up cube: ") + e.what());
        FConnection.reset();
        return false;
    }
}

void TfrmMain::OpenCube() {
    if (!FConnection || !FHomeContainer || !FDisplayManager) return;
    std::shared_ptr<cb::olap::CubeDef> cubeDef = FConnection->GetCurrentCubeDef();
    if (!cubeDef) {
        // Nothing to show: the page that offers to open another cube.
        FHomeContainer->ShowNoCubePage();
        return;
    }
    if (!FMenuContainer || !FBottomContainer) return;
    try {
        PumpMessages();
        FHomeContainer->ShowGridView();
        PumpMessages();
        FDisplayManager->OpenCube(FConnection.get(), FHomeContainer->GetGrid(), nullptr);
        PumpMessages();
        FMenuContainer->ShowLeftMenu(cubeDef);
        PumpMessages();
        FBottomContainer->ShowChartView(cubeDef.get());
        FDisplayManager->SetChart(FBottomContainer->GetChart());
        ConnectChartView();
        FHomeContainer->SetCubeName(FDisplayManager->GetCubeCaption());
        FHomeContainer->SetLastProcessed(GetCubeLastDataUpdate(cubeDef.get()));
        const bool chartShown = ChartPaneShown();
        FDisplayManager->SetChartEnabled(chartShown);
        mmiGraph->setEnabled(true);
        ShowChartMenuItems(chartShown);
    } catch (const std::exception& e) {
        FContext.WriteLog(std::string("Unable to open selected cube: ") + e.what());
        FContext.ShowError("Unable to open selected cube. Please try again.");
    }
}

void TfrmMain::OpenCubeWith(std::unique_ptr<TCubeConnectionString> description, const std::string& cubeName) {
    if (!description) return;
    // Connect first: a connection that fails leaves the open cube alone.
    const std::string source = description->GetDescription();
    auto connection = std::make_unique<TMSOLAPConnection>(std::move(description), FContext);
    if (!connection->Active) return;  // the connection told its error
    try {
        if (!cubeName.empty() && !connection->SelectCubeByName(cubeName))
            throw cb::olap::EOlapError("there is no cube \"" + cubeName + "\"");
        // A server's cube is read here, so that one it cannot serve is found now.
        if (auto cubeDef = connection->GetCurrentCubeDef()) cubeDef->Dimensions();
    } catch (const std::exception& e) {
        FContext.WriteLog("Unable to open the cube of " + source + ": " + e.what());
        FContext.ShowError("Unable to open selected cube. Please try again.\r\r" + std::string(e.what()));
        return;
    }
    // The old cube leaves the panes before its connection goes.
    if (FDisplayManager && FDisplayManager->IsCubeOpen()) CloseCube();
    if (FDisplayManager && FDisplayManager->IsCubeOpen()) return;  // a pane refused to be left
    FConnection = std::move(connection);
    OpenCube();
    if (FDisplayManager) FDisplayManager->ClearUndoRedo();
    UpdateActions();
}

void TfrmMain::OpenCubeDialog() {
    std::string start;
    if (FConnection) start = FConnection->GetFileName();
    if (start.empty()) start = SampleCubeFile(FProgramFolder);
    TfrmOpenCube dialog(FContext.Config ? FContext.Config->GetConnectionList() : nullptr, start, FContext);
    dialog.ApplyTheme(&FTheme);
    if (dialog.exec() != QDialog::Accepted) return;
    OpenCubeWith(dialog.GetDescription(), dialog.CubeName());
}

void TfrmMain::CloseCube() {
    if (!FDisplayManager) return;
    FDisplayManager->CloseCube();
    if (FBottomContainer->CanLeavePage() && FHomeContainer->CanLeavePage() && FMenuContainer->CanLeavePage()) {
        FBottomContainer->ClearContent();
        FDisplayManager->SetChart(nullptr);
        FHomeContainer->ShowNoCubePage();
        FMenuContainer->ClearContent();
    }
    FDisplayManager->ClearUndoRedo();
    UpdateActions();
}

bool TfrmMain::ChartPaneShown() const {
    return !splTopBottom->isHidden();
}

void TfrmMain::UpdateActions() {
    const bool open = FDisplayManager && FDisplayManager->IsCubeOpen();
    for (QAction* a : {acCloseCube, acExportCube, acResetCube, acSettings, acShowHideGraph, mmiCopyCube})
        a->setEnabled(open);
    mmiGraph->setEnabled(open);
    tbCopyCube->setEnabled(open);
    acUndo->setEnabled(open && FDisplayManager->CanUndo());
    acRedo->setEnabled(open && FDisplayManager->CanRedo());
    ShowChartMenuItems(FDisplayManager && ChartPaneShown());
}

void TfrmMain::ShowChartMenuItems(bool visible) {
    for (QAction* a : ChartItems()) a->setVisible(visible);
    mmiShowChart->setVisible(!visible);
}

void TfrmMain::MirrorChartMenus() {
    TfrmMainGraphDisplay* view = FBottomContainer ? FBottomContainer->ChartView() : nullptr;
    if (!view) return;
    // The chart menu's sub-items are the view's own pop-up actions, so their
    // ticks and enabled states are the view's.
    const std::pair<QMenu*, QMenu*> pairs[] = {
        {mmiCurrentMeasure, view->pmMeasure}, {mmiChartData, view->pmDisplayType},
        {mmiGroupGraphBy, view->pmGroupBy},   {mmiGraphType, view->pmGraphType},
        {mmiLabels, view->pmMarkType},        {mmiLegendFormat, view->pmLegendDisplayText},
        {mmiExportTo, view->pmExport}};
    for (const auto& [mine, theirs] : pairs) {
        mine->clear();
        if (theirs) mine->addActions(theirs->actions());
    }
    mmiGroupGraphBy->menuAction()->setEnabled(view->tbbGroupBy->isEnabledTo(view));
    // The four changing captions are the view's hints; each keeps its access key.
    const std::tuple<QAction*, QToolButton*, const char*> buttons[] = {
        {mmiHideAllMembers, view->tbbShowAllMember, "Members"},
        {mmiShowRoationSlider, view->tbbRotation, "Rotation"},
        {mmiHideGraphAnnotation, view->tbbShowAnnotation, "Annotation"},
        {mmiShowBottomLabels, view->tbShowBottomLabels, "Bottom"}};
    for (const auto& [item, button, key] : buttons) {
        item->setText(WithAccessKey(button->toolTip(), key));
        item->setEnabled(button->isEnabledTo(view));  // the view itself is off while it refreshes
    }
}

void TfrmMain::ConnectChartView() {
    TfrmMainGraphDisplay* view = FBottomContainer ? FBottomContainer->ChartView() : nullptr;
    if (!view) return;
    view->OnMenusChanged = [this](TfrmMainGraphDisplay*) { MirrorChartMenus(); };
    const std::pair<QAction*, void (TfrmMainGraphDisplay::*)()> items[] = {
        {mmiHideAllMembers, &TfrmMainGraphDisplay::tbbShowAllMemberClick},
        {mmiHideGraphAnnotation, &TfrmMainGraphDisplay::tbbShowAnnotationClick},
        {mmiShowBottomLabels, &TfrmMainGraphDisplay::tbShowBottomLabelsClick},
        {mmiShowRoationSlider, &TfrmMainGraphDisplay::tbbRotationClick},
        {mmiCopyCurrentCharttoClipboard, &TfrmMainGraphDisplay::tbbCopyToClipboardClick},
        {mmiPrint, &TfrmMainGraphDisplay::tbbPrintClick}};
    for (const auto& [action, handler] : items) {
        action->disconnect(this);
        connect(action, &QAction::triggered, this, [this, handler] {
            if (TfrmMainGraphDisplay* v = FBottomContainer ? FBottomContainer->ChartView() : nullptr) (v->*handler)();
        });
    }
    MirrorChartMenus();
}

void TfrmMain::SetChartActionCaption(const char* text) {
    acShowHideGraph->setText(text);
    acShowHideGraph->setToolTip(text);
    acShowHideGraph->setStatusTip(text);
    mmiShowHideGraph->setText(text);
    mmiShowHideGraph->setToolTip(text);
}

void TfrmMain::acShowHideGraphExecute() {
    if (!FDisplayManager) return;
    if (ChartPaneShown()) {
        splTopBottom->hide();
        panRightBottom->hide();
        SetChartActionCaption(kShowChartView);
        FDisplayManager->SetChartEnabled(false);
        ShowChartMenuItems(false);
    } else {
        FDisplayManager->RefreshChart();
        // 400 high, but the grid keeps room in a small window; the splitter
        // sizes the pane from then on.
        const int room = panRight->height() - splTopBottom->Thickness() - kMinGridPaneHeight;
        panRightBottom->setFixedHeight(std::clamp(room, kMinChartPaneHeight, kChartPaneHeight));
        panRightBottom->show();
        splTopBottom->show();
        SetChartActionCaption(kHideChart);
        ShowChartMenuItems(true);
        FDisplayManager->SetChartEnabled(true);
        FDisplayManager->Refresh();
    }
    UpdateActions();
}

void TfrmMain::DisplayManagerBusy() {
    for (QWidget* w : {static_cast<QWidget*>(FHomeContainer.get()), static_cast<QWidget*>(FMenuContainer.get()),
                       static_cast<QWidget*>(FBottomContainer.get())})
        if (w) w->setEnabled(false);
    tbMainToolbar->setEnabled(false);
    menuBar()->setEnabled(false);
}

void TfrmMain::DisplayManagerIdle() {
    for (QWidget* w : {static_cast<QWidget*>(FHomeContainer.get()), static_cast<QWidget*>(FMenuContainer.get()),
                       static_cast<QWidget*>(FBottomContainer.get())})
        if (w) w->setEnabled(true);
    tbMainToolbar->setEnabled(true);
    menuBar()->setEnabled(true);
}

void TfrmMain::DisplayManagerStateChanged() {
    UpdateActions();
}

void TfrmMain::ApplicationException(const QObject* sender, const std::exception& error) {
    try {
        if (FContext.Log) {
            FContext.WriteLog("Error occured: " + cb::rtl::FormatDateTime("yyyy-mm-dd h:n:s", cb::rtl::Now()) +
                              " with error message " + error.what());
            if (sender) FContext.WriteLog(std::string("Sender Classname Name: ") + sender->metaObject()->className());
            if (FDisplayManager) FContext.WriteLog("Current mdx was " + FDisplayManager->GetMDX());
        }
    } catch (...) {
        // Logging must not fail the handler.
        cb::rtl::LogCurrentException("Logging an error");
    }
    // Errors of the operating system are logged only.
    if (dynamic_cast<const std::system_error*>(&error)) return;
    if (FContext.UserInterface)
        FContext.ShowError(error.what());
    else
        cb::os::PlainMessageBox(this, QMessageBox::Critical, ProductName, QString::fromUtf8(error.what()));
}

void TfrmMain::acExportCubeExecute() {
    if (!FDisplayManager || !FDisplayManager->IsCubeOpen()) {
        FContext.ShowError("There is currently no cube open for export. Please open a cube before exporting.");
        return;
    }
    ShowPublishDialog(FeatureContext());
}

void TfrmMain::acUndoExecute() {
    if (!FDisplayManager) return;
    FDisplayManager->Undo();
    UpdateActions();
    UpdateActions();
}

void TfrmMain::acRedoExecute() {
    if (!FDisplayManager) return;
    FDisplayManager->Redo();
    UpdateActions();
    UpdateActions();
}

void TfrmMain::acResetCubeExecute() {
    if (FDisplayManager) FDisplayManager->ResetCube();
}

void TfrmMain::acEmptyCubeExecute() {
    if (FDisplayManager && FDisplayManager->IsCubeOpen()) FDisplayManager->EmptyCube();
}

void TfrmMain::acSettingsExecute() {
    const bool changed = ShowSettingsDialog(FeatureContext());
    if (changed && FDisplayManager && FDisplayManager->IsCubeOpen()) FDisplayManager->Refresh();
}

// Opens an address a deployment sets in app.ini; an empty one is never
// replaced by a placeholder.
void TfrmMain::OpenConfiguredAddress(const std::string& address, const char* what, const char* key) {
    if (address.empty()) {
        FContext.ShowInformation(std::string("No ") + what + " address is set. It is the key \"" + key +
                                 "\" of the section \"AppSettings\" in app.ini.");
        return;
    }
    ShellOpen(address);
}

void TfrmMain::acVisitOurWebsiteExecute() {
    OpenConfiguredAddress(FContext.Config ? FContext.Config->WebSite : std::string(), "web site", "WebSite");
}

void TfrmMain::acVisitOurSupportFormExecute() {
    OpenConfiguredAddress(FContext.Config ? FContext.Config->SupportAddress : std::string(), "support forum",
                          "SupportAddress");
}

void TfrmMain::acHelpExecute() {
    ShowHelpTopic(kHelpTopicIntroduction);
}

void TfrmMain::pmiFlipGraphClick() {
    if (!FDisplayManager || !FDisplayManager->IsCubeOpen()) return;
    FDisplayManager->SwapRowsAndColumns();
    UpdateActions();
}

void TfrmMain::mmiCopyCubeClick() {
    if (!FDisplayManager || !FDisplayManager->IsCubeOpen()) return;
    ShowCopyCubeWizard(FeatureContext());
}

void TfrmMain::ShowTutorial() {
    cb::app::ShowTutorial(FeatureContext());
}

void TfrmMain::ApplyTheme(const TTheme* theme) {
    if (!theme) return;
    QPalette p = palette();
    p.setColor(QPalette::Window, gfx::ToQColor(theme->BackgroundColor));
    setPalette(p);
    splLeftRight->SetColor(theme->AccentColor);
    splLeftRight->SetButtonHighlightColor(theme->AccentColor);
    splTopBottom->SetColor(theme->AccentColor);
    splTopBottom->SetButtonHighlightColor(theme->ToolbarColor);
    QPalette tp = tbMainToolbar->palette();
    tp.setColor(QPalette::Window, gfx::ToQColor(theme->ToolbarColor));
    tp.setColor(QPalette::Button, gfx::ToQColor(theme->ToolbarColor));
    tbMainToolbar->setPalette(tp);
    setWindowTitle(ProductName);
}

void TfrmMain::showEvent(QShowEvent* event) {
    if (auto* ui = dynamic_cast<TCubeBrowserInterface*>(FContext.UserInterface)) ui->ApplyTheme(&FTheme);
    QMainWindow::showEvent(event);
    if (!FShownOnce) {
        FShownOnce = true;
        if (FContext.Config && !FContext.Config->DontDisplayTutorialOnStartup) ShowTutorial();
    }
}

void TfrmMain::SaveAndFreeOnClose() {
    if (FContext.Config) {
        // Only a cube that is open is remembered.
        const bool open = FConnection && FConnection->Active && FConnection->GetDescription();
        FContext.Config->LastCubeConnectionType =
            static_cast<std::uint8_t>(open ? FConnection->GetDescription()->ConnectionType : TConnectionType::ctNone);
        FContext.Config->LastCubeConnectionLocation = open ? FConnection->GetFileName() : std::string();
        FContext.Config->SaveSettings();
    }
    FHelpHook.reset();
    cb::extras::HHCloseAll();
    try {
        for (auto* tutorial : findChildren<TfrmTutorialDisplay*>(QString(), Qt::FindDirectChildrenOnly))
            delete tutorial;
        if (FDisplayManager && FDisplayManager->IsCubeOpen()) FDisplayManager->CloseCube();
        if (FDisplayManager) FDisplayManager->SetChart(nullptr);
        QThread::msleep(200);
        FHomeContainer.reset();
        QThread::msleep(200);
        FMenuContainer.reset();
        QThread::msleep(200);
        FBottomContainer.reset();
    } catch (...) {
        // The close always completes.
        cb::rtl::LogCurrentException("Closing the main window");
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!FClosed) {
        FClosed = true;
        SaveAndFreeOnClose();
    }
    QMainWindow::closeEvent(event);
}

}  // namespace cb::app
