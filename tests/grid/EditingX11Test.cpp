// The real focus path under an X server with a window manager: a value
// typed into a cell editor is committed once when the user clicks another
// widget, with real key and mouse events (xdotool). Screenshots of the
// steps are kept beside the tests ("edit-x11-*.png").
#include "grid/ExtStringGrid.h"
#include "grid/edit/GridEditPart.h"
#include "grid/edit/InplaceEdit.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace cb::grid;

namespace {

bool RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(5000)) return false;
    while (p.state() != QProcess::NotRunning) QTest::qWait(20);
    return p.exitCode() == 0;
}

std::string Shot(const char* name) {
    const std::string file = std::string(CB_BIN_DIR) + "/../tests/edit-x11-" + name + ".png";
    RunTool("import", {"-window", "root", QString::fromStdString(file)});
    return file;
}

// Runs under a real X server only (the parent test below starts one).
TEST(EditingX11, DISABLED_Child) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    QWidget window;
    window.setWindowTitle("Cell editing");
    auto* layout = new QHBoxLayout(&window);
    auto* grid = new TExtStringGrid(&window);
    auto* other = new QLineEdit(&window);
    other->setPlaceholderText("another widget");
    layout->addWidget(grid, 3);
    layout->addWidget(other, 1);
    grid->SetColCount(4);
    grid->SetRowCount(6);
    grid->SetOptions(grid->Options() | goEditing);
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 4; ++c) grid->SetCells(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
    std::vector<std::string> events;
    grid->OnCellValidate = [&](QObject*, int col, int row, std::string& value, bool&) {
        events.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
    };
    grid->OnEditingDone = [&](QObject*) { events.push_back("done"); };
    window.resize(520, 220);
    window.move(40, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTest::qWait(400);
    grid->setFocus();
    grid->FocusCell(2, 2, true);
    QTest::qWait(100);

    // Real keys: the first starts the editor, the rest go into it.
    ASSERT_TRUE(RunTool("xdotool", {"type", "--delay", "30", "typed"}));
    // Waits for the events to arrive, however busy the machine.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const TExtInplaceEdit* edit = grid->EditPart()->InplaceEdit();
            return grid->EditorShown() && edit && edit->Text() == "typed";
        },
        5000));
    Shot("1-editing");

    // A real click on the other widget.
    const QPoint at = other->mapToGlobal(other->rect().center());
    ASSERT_TRUE(RunTool("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"}));
    QTest::qWaitFor([&] { return other->hasFocus() && !grid->EditorShown(); }, 5000);
    QTest::qWait(100);
    Shot("2-committed");
    EXPECT_TRUE(other->hasFocus());
    EXPECT_FALSE(grid->EditorShown());
    EXPECT_EQ(grid->Cells(2, 2), "typed");
    EXPECT_EQ(events, (std::vector<std::string>{"validate 2,2 typed", "done"}));
}

TEST(EditingX11, ClickingAnotherWidgetCommitsOnce) {
    // A display no other X server holds (its lock file is free).
    int display = 150 + int(getpid() % 100);
    while (access(("/tmp/.X" + std::to_string(display) + "-lock").c_str(), F_OK) == 0) ++display;
    const std::string d = ":" + std::to_string(display);
    pid_t xvfb = fork();
    if (xvfb == 0) {
        execl("/usr/bin/Xvfb", "Xvfb", d.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp", (char*)nullptr);
        _exit(127);
    }
    ASSERT_GT(xvfb, 0);
    // Up when its socket is there.
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
    QTest::qWaitFor([&] { return access(socket.c_str(), F_OK) == 0; }, 10000);
    QTest::qWait(200);
    pid_t wm = fork();
    if (wm == 0) {
        setenv("DISPLAY", d.c_str(), 1);
        execl("/usr/bin/openbox", "openbox", (char*)nullptr);
        _exit(127);
    }
    ASSERT_GT(wm, 0);
    QTest::qWait(500);
    const std::string cmd = "DISPLAY=" + d + " QT_QPA_PLATFORM=xcb '" +
                            QCoreApplication::applicationFilePath().toStdString() +
                            "' --gtest_also_run_disabled_tests --gtest_filter=EditingX11.DISABLED_Child 2>&1";
    std::string out;
    const int rc = cbtest::runCommand(cmd, &out);
    kill(wm, SIGTERM);
    waitpid(wm, nullptr, 0);
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}

}  // namespace
