#pragma once
// The small "Loading ..." window shown while the pivot grid is filled: an
// endless bar that a timer moves along; it measures nothing.
#include "app/core/query/MDXDisplayManager.h"

#include <QPointer>
#include <QWidget>

class QProgressBar;
class QTimer;

namespace cb::app {

class TfrmMDXProgressScreen : public QWidget {
public:
    // The window has no owner; it is centred over centreOver's window when
    // one is given (the main window), else over the screen. The creator
    // closes and frees it.
    explicit TfrmMDXProgressScreen(QWidget* centreOver = nullptr);
    ~TfrmMDXProgressScreen() override;

    QProgressBar* prStatus = nullptr;
    QTimer* tiTimer = nullptr;

    // One tick: the bar grows by 3 and starts again at 0 once it reaches
    // its maximum; pending messages (but no user input) are then processed.
    void tiTimerTimer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPointer<QWidget> FCentreOver;
};

// The grid layout's watcher in the windows: this window shows over the
// grid's window while a layout runs, and pending messages (but no user
// input) are processed at each step, so timers and repaints go on.
TLayoutProgressEvent MakeLayoutProgressWindow();

}  // namespace cb::app
