#pragma once
// The windows' user-message interface: every message goes through one
// themed dialog, made with the object and reused.
#include "app/core/theme/WindowTheme.h"
#include "app/ui/dialogs/MessageBoxInterface.h"

#include <memory>

namespace cb::app {

class TfrmUI;

class TCubeBrowserInterface : public TMessageBoxInterface {
public:
    TCubeBrowserInterface();
    ~TCubeBrowserInterface() override;

    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    bool ConfirmOKCancel(const std::string& text) override;
    bool ConfirmYesNo(const std::string& text) override;
    int AskYesNoCancel(const std::string& text) override;

    // Hands the window theme to the dialog (not owned).
    void ApplyTheme(const TTheme* theme);
    TfrmUI* Dialog() const { return FDialog.get(); }

private:
    int Run(const std::string& text, std::uint8_t iconKind, std::uint8_t buttonSet);

    std::unique_ptr<TfrmUI> FDialog;
};

}  // namespace cb::app
