#pragma once
// The small window with a progress bar that stands on top while the
// program starts.
#include "app/ui/widgets/ContentForm.h"

#include <string>

class QLabel;
class QProgressBar;

namespace cb::app {

class TfrmLoadingScreen : public TContentForm {
    Q_OBJECT
public:
    explicit TfrmLoadingScreen(QWidget* parent = nullptr);

    // What the window says: lsLoading shows "Is Loading...".
    enum TLoadingStatus : int {
        lsStarting = 0,
        lsLoading = 1
    };
    void SetStatus(TLoadingStatus status);
    TLoadingStatus Status() const { return FStatus; }
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
    // The product web site shown and opened on a click (the "WebSite" key of
    // app.ini); empty: the line is hidden.
    void SetSiteURL(const std::string& address);

private:
    TLoadingStatus FStatus = lsStarting;
    std::string FSiteURL;
};

// The start-up code's loading screen, none before and after.
extern TfrmLoadingScreen* frmLoadingScreen;

}  // namespace cb::app
