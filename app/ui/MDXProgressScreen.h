#pragma once
// The small "Loading ..." window shown while the pivot grid is filled: an
// endless bar that a timer moves along; it measures nothing.
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

}  // namespace cb::app
