#include "app/ui/Startup.h"

#include "app/core/Config.h"
#include "app/core/Globals.h"
#include "app/core/LogFile.h"
#include "app/ui/Application.h"
#include "app/ui/LoadingScreen.h"
#include "app/ui/MainWindow.h"

#include <QMessageBox>
#include <QTimer>

#include <cstdlib>
#include <string>

namespace cb::app {

namespace {

int QuitAfterMs() {
    const char* v = std::getenv("CB_QUIT_AFTER_MS");
    if (!v || !*v) return -1;
    char* end = nullptr;
    const long ms = std::strtol(v, &end, 10);
    return (*end == '\0' && ms >= 0 && ms < 24L * 3600 * 1000) ? static_cast<int>(ms) : -1;
}

void ShowStartupMessage(QMessageBox::Icon icon, const std::string& text) {
    if (frmLoadingScreen) frmLoadingScreen->hide();
    QMessageBox box(icon, QApplication::applicationName(), QString::fromStdString(text), QMessageBox::Ok);
    if (const int ms = QuitAfterMs(); ms >= 0) QTimer::singleShot(ms, &box, &QMessageBox::accept);
    box.exec();
}

void Log(const std::string& line) {
    if (!gLogFile) InitLogFile(TBaseConfig::GetApplicationPath() + "cube_browser.log");
    gLogFile->WriteLine(line);
}

void FreeAll() {
    FreeGlobals();
    delete frmLoadingScreen;
    frmLoadingScreen = nullptr;
    delete frmMain;
    frmMain = nullptr;
}

}  // namespace

int RunApplication(int& argc, char** argv) {
    try {
        TCubeBrowserApplication app(argc, argv);
        int status = 0;
        try {
            frmLoadingScreen = new TfrmLoadingScreen();
            frmLoadingScreen->ShowNow();
            InitGlobals();
            if (!gConfig || !gConfig->GetCurrentTheme()) {
                Log(TCubeBrowserConfig::MissingFilesMessage);
                ShowStartupMessage(QMessageBox::Information, TCubeBrowserConfig::MissingFilesMessage);
                status = 1;
            } else {
                frmMain = new TfrmMain();
                frmMain->show();
                if (const int ms = QuitAfterMs(); ms >= 0) QTimer::singleShot(ms, frmMain, &QWidget::close);
                status = app.exec();
            }
        } catch (const std::exception& e) {
            const std::string text = std::string("Unable to start the program. With error: ") + e.what();
            Log(text);
            ShowStartupMessage(QMessageBox::Critical, text);
            status = 1;
        }
        FreeAll();
        return status;
    } catch (...) {
        // Nothing is left to report to.
        return 1;
    }
}

}  // namespace cb::app
