#pragma once
// The only way the application's logic talks to the user: messages,
// questions and the busy cursor. The windows implement it
// (TCubeBrowserInterface); tests substitute a recording one.
#include <string>

namespace cb::app {

// Modal results as the dialogs return them.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrYes = 6,
    mrNo = 7
};

class TBaseUserInterface {
public:
    virtual ~TBaseUserInterface() = default;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowInformation(const std::string& text) = 0;
    virtual bool ConfirmOKCancel(const std::string& text) = 0;
    virtual bool ConfirmYesNo(const std::string& text) = 0;
    // mrYes, mrNo or mrCancel.
    virtual int AskYesNoCancel(const std::string& text) = 0;
    // Hourglass on or off, shown at once; nothing without windows.
    virtual void SetBusy(bool) {}
};

}  // namespace cb::app
