#include "app/ui/MainWindow.h"

#include "app/core/AppInfo.h"
#include "app/core/Config.h"
#include "app/ui/ContentForm.h"
#include "app/ui/CubeBrowserInterface.h"
#include "app/ui/LoadingScreen.h"

#include <QCloseEvent>
#include <QScreen>

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

}  // namespace

TfrmMain::TfrmMain(TAppContext context, QWidget* parent) : QMainWindow(parent), FContext(context) {
    setWindowTitle(ProductName);
    resize(760, 550);
    setMinimumSize(760, 550);
    Create();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::Create() {
    THideLoadingScreen hideAtEnd;
    if (frmLoadingScreen) {
        frmLoadingScreen->repaint();
        frmLoadingScreen->SetStatus(TfrmLoadingScreen::lsLoading);
        frmLoadingScreen->ResetProgress();
        frmLoadingScreen->ShowNow();
    }
    Step(2);  // help comes here
    Step();   // the upgrade check comes here
    // The window theme, applied and handed to the message interface.
    ApplyTheme(&FTheme);
    if (auto* ui = dynamic_cast<TCubeBrowserInterface*>(FContext.UserInterface)) ui->ApplyTheme(&FTheme);
    Step(3);
    Step(2);  // pane containers come here
    Step();   // the start-up cube comes here
    if (FContext.Config && FContext.Config->StartMaxed) setWindowState(windowState() | Qt::WindowMaximized);
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Step();
}

void TfrmMain::ApplyTheme(const TTheme* theme) {
    if (!theme) return;
    QPalette p = palette();
    p.setColor(QPalette::Window, cb::gfx::ToQColor(theme->BackgroundColor));
    setPalette(p);
    setWindowTitle(ProductName);
}

void TfrmMain::showEvent(QShowEvent* event) {
    if (auto* ui = dynamic_cast<TCubeBrowserInterface*>(FContext.UserInterface)) ui->ApplyTheme(&FTheme);
    QMainWindow::showEvent(event);
}

void TfrmMain::SaveOnClose() {
    if (FContext.Config) FContext.Config->SaveSettings();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!FSaved) {
        FSaved = true;
        SaveOnClose();
    }
    QMainWindow::closeEvent(event);
}

}  // namespace cb::app
