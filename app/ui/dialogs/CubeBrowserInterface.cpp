#include "app/ui/dialogs/CubeBrowserInterface.h"

#include "app/ui/dialogs/MessageDialog.h"

namespace cb::app {

TCubeBrowserInterface::TCubeBrowserInterface() : FDialog(std::make_unique<TfrmUI>()) {}

TCubeBrowserInterface::~TCubeBrowserInterface() = default;

int TCubeBrowserInterface::Run(const std::string& text, std::uint8_t iconKind, std::uint8_t buttonSet) {
    // A message asked for while the dialog is up (from a handler that runs
    // meanwhile) gets a dialog of its own, so the one on screen keeps its
    // text, buttons and answer.
    if (FDialog->isVisible()) {
        TfrmUI nested;
        nested.ApplyTheme(FDialog->Theme());
        nested.SetText(text);
        nested.SetIconKind(iconKind);
        nested.SetButtonSet(buttonSet);
        return nested.exec();
    }
    FDialog->SetText(text);
    FDialog->SetIconKind(iconKind);
    FDialog->SetButtonSet(buttonSet);
    return FDialog->exec();
}

void TCubeBrowserInterface::ShowError(const std::string& text) {
    Run(text, ikError, bsOk);
}

void TCubeBrowserInterface::ShowInformation(const std::string& text) {
    Run(text, ikInformation, bsOk);
}

bool TCubeBrowserInterface::ConfirmOKCancel(const std::string& text) {
    return Run(text, ikWarning, bsOkCancel) == mrOk;
}

bool TCubeBrowserInterface::ConfirmYesNo(const std::string& text) {
    return Run(text, ikWarning, bsYesNo) == mrYes;
}

int TCubeBrowserInterface::AskYesNoCancel(const std::string& text) {
    const int r = Run(text, ikWarning, bsYesNoCancel);
    return r == mrYes || r == mrNo ? r : mrCancel;
}

void TCubeBrowserInterface::ApplyTheme(const TTheme* theme) {
    FDialog->ApplyTheme(theme);
}

}  // namespace cb::app
