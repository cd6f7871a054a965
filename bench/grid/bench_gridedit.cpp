// Editing speed: holding Tab across 1,000 editable cells of a grid of 200
// columns and 5,000 rows, each step a commit of the typed value (validated
// through OnCellValidate), a move and the editor shown on the next cell.
// Peer from the same run: the same 1,000 Tab moves without editing. Target:
// at most 1 ms a step.
#include "grid/ExtStringGrid.h"
#include "grid/edit/GridEditPart.h"

#include <QApplication>
#include <QKeyEvent>

#include <chrono>
#include <cstdio>
#include <string>

using namespace cb::grid;

namespace {

void Send(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &release);
}

double StepsMs(bool editing, int steps, int& validated) {
    TExtStringGrid grid;
    grid.SetColCount(200);
    grid.SetRowCount(5000);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.resize(1000, 700);
    TGridOptions options = grid.Options() | goTabs;
    if (editing) options |= goEditing | goAlwaysShowEditor;
    grid.SetOptions(options);
    for (int r = 1; r < 40; ++r)
        for (int c = 1; c < 200; ++c) grid.SetCells(c, r, std::to_string(r * 1000 + c));
    grid.OnCellValidate = [&](QObject*, int, int, std::string& value, bool& valid) {
        ++validated;
        valid = !value.empty();
    };
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    QCoreApplication::processEvents();
    grid.FocusCell(1, 1, true);
    if (editing) Send(&grid, Qt::Key_1, "1");
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < steps; ++i) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &grid;
        if (editing) Send(target, Qt::Key_7, "7");
        Send(QApplication::focusWidget() ? QApplication::focusWidget() : &grid, Qt::Key_Tab, "\t");
    }
    QCoreApplication::processEvents();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    if (editing && !grid.EditorShown()) std::printf("warning: the editor was not shown at the end\n");
    return ms / steps;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int steps = 1000;
    int validated = 0;
    int none = 0;
    const double peer = StepsMs(false, steps, none);
    const double edit = StepsMs(true, steps, validated);
    std::printf("Tab with editing, 200 x 5000 grid, %d steps: %.3f ms a step (target <= 1 ms); %d validations\n",
                steps, edit, validated);
    std::printf("peer, Tab without editing, same grid and steps: %.3f ms a step\n", peer);
    return edit <= 1.0 ? 0 : 1;
}
