#pragma once
// The small window with a progress bar that stands on top while the
// program starts.
#include "app/ui/ContentForm.h"

class QLabel;
class QProgressBar;

namespace cb::app {

class TfrmLoadingScreen : public TContentForm {
    Q_OBJECT
public:
    explicit TfrmLoadingScreen(QWidget* parent = nullptr);

    // Mode 1 shows "Is Loading...".
    void SetStatus(int mode);
    int Status() const { return FStatus; }
    void ResetProgress();
    void StepProgress();
    // Shows the window and paints it at once.
    void ShowNow();

    QLabel* imgLogo;
    QLabel* lblStatus;
    QLabel* lblSiteURL;
    QProgressBar* pbStatus;

public slots:
    void lblSiteURLClick();

private:
    int FStatus = 0;
};

// The start-up code's loading screen, none before and after.
extern TfrmLoadingScreen* frmLoadingScreen;

}  // namespace cb::app
