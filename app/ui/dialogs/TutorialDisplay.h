#pragma once
// The tutorial window: a small shaped window on top of the main window that
// shows the steps of "tutorial_steps.ini" one at a time, each at its offset
// from the main window's top-left corner. Back, Next, Close (hides) and
// "More ..." (the step's help topic); it can be dragged with the mouse and
// returns to its place when the main window moves, resizes or is activated.
#include "app/core/base/AppContext.h"
#include "app/core/settings/Tutorial.h"

#include <QWidget>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;

namespace cb::extras {
class TKitGIFAnimator;
}
namespace cb::grid {
class TMarkupLabel;
}

namespace cb::app {

class TClickLabel;

class TfrmTutorialDisplay : public QWidget {
    Q_OBJECT
public:
    // Reads the steps from stepsFile ("tutorial_steps.ini" in the data
    // folder of the settings, the program's folder, when empty); a file that cannot be read is told through the
    // context and leaves the steps read so far. The owner is followed.
    explicit TfrmTutorialDisplay(const TAppContext& context, QWidget* owner = nullptr,
                                 const std::string& stepsFile = {});
    ~TfrmTutorialDisplay() override;

    static constexpr int ClientWidth = 434;
    static constexpr int ClientHeight = 248;

    void ShowStep();
    void SetCurrentStep(int index);
    int CurrentStep() const { return FCurrentStep; }
    void SetOwnerLeft(int x);
    void SetOwnerTop(int y);
    const TTutorialStepList& Steps() const { return FSteps; }

    void Back();
    void Next();
    void CloseTutorial();
    void DisplayHelp();

    // Opens a help topic; by default the program's help file through the
    // help hook.
    std::function<void(const std::string& topic)> OnShowHelp;

    cb::extras::TKitGIFAnimator* imgBackground;
    QLabel* lblTitle;
    cb::grid::TMarkupLabel* lblContent;
    TClickLabel* lblDisplayHelp;
    TClickLabel* imgBack;
    TClickLabel* imgNext;
    TClickLabel* imgClose;
    TClickLabel* lblBack;
    TClickLabel* lblNext;
    TClickLabel* lblClose;
    QCheckBox* chkDontShowAgain;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StepInPlace(int index);
    void PlaceAtStep();
    void FollowOwner();

    TAppContext FContext;
    QWidget* FOwner;
    TTutorialStepList FSteps;
    int FCurrentStep = 0;
    int FOwnerLeft = 0;
    int FOwnerTop = 0;
    bool FDragging = false;
    QPoint FDragOffset;
};

}  // namespace cb::app
