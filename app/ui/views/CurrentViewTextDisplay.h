#pragma once
// The text summary of the current grid view, in a small window of its own.
#include "app/ui/widgets/ContentForm.h"

#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace cb::app {

class TfrmCurrentViewTextDisplay : public TContentForm {
    Q_OBJECT
public:
    // Centred on the owner when it shows; none centres it on the screen.
    explicit TfrmCurrentViewTextDisplay(QWidget* owner = nullptr);

    // The memo's lines: the text split at its line breaks.
    void SetText(const std::string& text);
    void ApplyTheme(const TTheme* theme) override;
    int exec() override;

    QLabel* lblCaption;
    QPlainTextEdit* memCurrentDisplay;
    QPushButton* btnClose;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape presses "Close".
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* FOwner;
};

}  // namespace cb::app
