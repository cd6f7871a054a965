#include "app/ui/Startup.h"

#include "app/core/Config.h"
#include "app/core/LogFile.h"
#include "app/ui/AppGlobals.h"
#include "app/ui/Application.h"
#include "app/ui/LoadingScreen.h"
#include "app/ui/MainWindow.h"

#include <QMessageBox>
#include <QTimer>

#include <cstdlib>
#include <memory>
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

// The objects of one run; frmLoadingScreen and frmMain point at the windows
// while they live.
struct TRun {
    std::unique_ptr<TAppGlobals> Globals;
    std::unique_ptr<TLogFile> StartupLog;
    std::unique_ptr<TfrmLoadingScreen> LoadingScreen;
    std::unique_ptr<TfrmMain> MainWindow;

    // To the program's log, or to a log of its own when start-up failed
    // before the log was made.
    void Log(const std::string& line) {
        if (Globals) {
            Globals->Log().WriteLine(line);
            return;
        }
        if (!StartupLog) StartupLog = std::make_unique<TLogFile>(TBaseConfig::GetSettingsFolder() + "cube_browser.log");
        StartupLog->WriteLine(line);
    }

    ~TRun() {
        Globals.reset();
        StartupLog.reset();
        frmLoadingScreen = nullptr;
        LoadingScreen.reset();
        frmMain = nullptr;
        MainWindow.reset();
    }
};

}  // namespace

int RunApplication(int& argc, char** argv) {
    try {
        TCubeBrowserApplication app(argc, argv);
        int status = 0;
        TRun run;
        try {
            run.LoadingScreen = std::make_unique<TfrmLoadingScreen>();
            frmLoadingScreen = run.LoadingScreen.get();
            frmLoadingScreen->ShowNow();
            run.Globals = std::make_unique<TAppGlobals>(TBaseConfig::GetApplicationPath());
            app.Context = run.Globals->Context();
            if (!run.Globals->Config().GetCurrentTheme()) {
                run.Log(TCubeBrowserConfig::MissingFilesMessage);
                ShowStartupMessage(QMessageBox::Information, TCubeBrowserConfig::MissingFilesMessage);
                status = 1;
            } else {
                run.MainWindow = std::make_unique<TfrmMain>(run.Globals->Context());
                frmMain = run.MainWindow.get();
                frmMain->show();
                if (const int ms = QuitAfterMs(); ms >= 0) QTimer::singleShot(ms, frmMain, &QWidget::close);
                status = app.exec();
            }
        } catch (const std::exception& e) {
            const std::string text = std::string("Unable to start the program. With error: ") + e.what();
            run.Log(text);
            ShowStartupMessage(QMessageBox::Critical, text);
            status = 1;
        }
        app.Context = {};
        return status;
    } catch (...) {
        // Nothing is left to report to.
        return 1;
    }
}

}  // namespace cb::app
