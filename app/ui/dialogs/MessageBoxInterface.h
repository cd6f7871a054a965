#pragma once
// Messages and questions in the desktop's plain message boxes, and the busy
// cursor of the application.
#include "app/core/base/UserInterface.h"

namespace cb::app {

class TMessageBoxInterface : public TBaseUserInterface {
public:
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    bool ConfirmOKCancel(const std::string& text) override;
    bool ConfirmYesNo(const std::string& text) override;
    int AskYesNoCancel(const std::string& text) override;
    // One busy state, not a stack: repeated calls do not pile up cursors.
    void SetBusy(bool busy) override;
};

}  // namespace cb::app
