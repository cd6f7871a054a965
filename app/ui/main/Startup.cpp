#include "app/ui/main/Startup.h"

#include "app/core/base/LogFile.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/LoadingScreen.h"
#include "app/ui/main/AppGlobals.h"
#include "app/ui/main/Application.h"
#include "app/ui/main/HomeContainer.h"
#include "app/ui/main/MainWindow.h"
#include "chart/component/StandardSeries.h"
#include "chartexport/core/PlotExportFormat.h"
#include "charteditors/StandardEditors.h"
#include "extras/HelpHook.h"
#include "extras/KitStartup.h"
#include "grid/ExtStringGrid.h"
#include "olap/adomd/Adomd.h"
#include "olap/xmla/XmlaProvider.h"
#include "platform/gfx/FontSetup.h"
#include "platform/rtl/ErrorLog.h"

#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <unistd.h>

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
    box.setTextFormat(Qt::PlainText);
    if (const int ms = QuitAfterMs(); ms >= 0) QTimer::singleShot(ms, &box, &QMessageBox::accept);
    box.exec();
}

bool HasArgument(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == name) return true;
    return false;
}

// The texts a grid shows: its non-empty cells from the top left to the
// first cell out of view.
int ShownTexts(const cb::grid::TExtStringGrid& grid) {
    const int rows = std::min(grid.RowCount(), grid.TopRow() + grid.VisibleRowCount() + 1);
    const int cols = std::min(grid.ColCount(), grid.LeftCol() + grid.VisibleColCount() + 1);
    int texts = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) texts += !grid.Cells(c, r).empty();
    return texts;
}

// Waits for the grid's first paint, then reports the time and the texts
// shown and closes the main window.
class TFirstPaintWatch : public QObject {
public:
    TFirstPaintWatch(cb::grid::TExtStringGrid* watched, QWidget* window)
        : QObject(window), FGrid(watched), FWindow(window) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !FDone) {
            FDone = true;
            watched->removeEventFilter(this);
            // After the paint itself has run.
            QTimer::singleShot(0, FWindow, [window = FWindow, texts = ShownTexts(*FGrid)] {
                std::printf("Start to first painted grid: %.0f ms (%d texts)\n", MillisecondsSinceProcessStart(),
                            texts);
                std::fflush(stdout);
                window->close();
            });
        }
        return false;
    }

private:
    cb::grid::TExtStringGrid* FGrid;
    QWidget* FWindow;
    bool FDone = false;
};

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

    // The window goes before the singletons it points at.
    ~TRun() {
        cb::rtl::SetErrorSink(nullptr);
        frmMain = nullptr;
        MainWindow.reset();
        Globals.reset();
        StartupLog.reset();
        frmLoadingScreen = nullptr;
        LoadingScreen.reset();
    }
};

// Start-up tables and help state, released in reverse when the run ends.
struct TKitRun {
    explicit TKitRun(int argc, char** argv) {
        cb::extras::KitStartup();
        std::vector<std::string> args(argv, argv + argc);
        cb::extras::HHSetupState(args);
    }
    ~TKitRun() {
        cb::extras::HHCleanupState();
        cb::extras::KitShutdown();
    }
};

}  // namespace

double MillisecondsSinceProcessStart() {
    // Field 22 of /proc/self/stat: the start time in clock ticks since boot.
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22) startTicks = std::stoull(field);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - static_cast<double>(startTicks) * 1000.0 / ticks;
}

int RunApplication(int& argc, char** argv) {
    // The start-up cube is read while the toolkit starts and the windows are
    // built; the main window's opening of it takes the cube from this read.
    const cb::olap::CubeFileReadAhead sampleCube(TfrmMain::SampleCubeFile(TBaseConfig::GetApplicationPath()));
    // So is the font configuration, which the loading screen's text needs first.
    cb::gfx::TFontSetupAhead fonts;
    cb::olap::xmla::RegisterProvider();
    cb::chart::RegisterStandardSeriesTypes();
    cb::chart::RegisterExtendedSeriesTypes();
    cb::chart::RegisterStandardFunctionTypes();
    cb::chartexport::RegisterChartExportFormats();
    cb::charteditors::RegisterStandardEditors();
    try {
        TCubeBrowserApplication app(argc, argv);
        const bool timeStart = HasArgument(argc, argv, "--startup-time");
        TKitRun kit(argc, argv);
        int status = 0;
        TRun run;
        // Errors nothing else can report go to the log; the sink may be
        // called from worker threads, so it writes one line at a time.
        auto logLock = std::make_shared<std::mutex>();
        cb::rtl::SetErrorSink([&run, logLock](const std::string& where, const std::string& message) {
            std::lock_guard lock(*logLock);
            run.Log(where + ": " + message);
        });
        try {
            fonts.Wait();
            run.LoadingScreen = std::make_unique<TfrmLoadingScreen>();
            frmLoadingScreen = run.LoadingScreen.get();
            frmLoadingScreen->ShowNow();
            run.Globals = std::make_unique<TAppGlobals>(TBaseConfig::GetApplicationPath());
            app.Context = run.Globals->Context();
            frmLoadingScreen->SetSiteURL(run.Globals->Config().WebSite);
            if (!run.Globals->Config().GetCurrentTheme()) {
                run.Log(TCubeBrowserConfig::MissingFilesMessage);
                ShowStartupMessage(QMessageBox::Information, TCubeBrowserConfig::MissingFilesMessage);
                status = 1;
            } else {
                run.MainWindow = std::make_unique<TfrmMain>(run.Globals->Context(), &run.Globals->DisplayManager());
                frmMain = run.MainWindow.get();
                if (frmMain->Terminated()) {
                    status = 1;
                } else {
                    if (timeStart) {
                        cb::grid::TExtStringGrid* grid =
                            frmMain->HomeContainer() ? frmMain->HomeContainer()->GetGrid() : nullptr;
                        if (!grid) {
                            std::printf("No grid was shown: no cube is open.\n");
                            return 2;
                        }
                        new TFirstPaintWatch(grid, frmMain);
                    }
                    frmMain->show();
                    if (const int ms = QuitAfterMs(); ms >= 0) QTimer::singleShot(ms, frmMain, &QWidget::close);
                    status = app.exec();
                }
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
        // Nothing but standard error is left to report to.
        cb::rtl::LogCurrentException("Running the program");
        return 1;
    }
}

}  // namespace cb::app
