#pragma once
// The themed message dialog: an icon, a word-wrapped text and up to three
// buttons, reused for every message of the application.
#include "app/ui/widgets/ContentForm.h"

#include <cstdint>
#include <string>

class QLabel;
class QPushButton;

namespace cb::app {

enum TIconKind : std::uint8_t {
    ikNone = 0,
    ikInformation = 1,
    ikWarning = 2,
    ikError = 3
};

// 0: OK; 1: OK, Cancel; 2: Yes, No; 3: Yes, No, Cancel.
enum TButtonSet : std::uint8_t {
    bsOk = 0,
    bsOkCancel = 1,
    bsYesNo = 2,
    bsYesNoCancel = 3
};

class TfrmUI : public TContentForm {
    Q_OBJECT
public:
    explicit TfrmUI(QWidget* parent = nullptr);

    // Each stores its value and refreshes the look only when it changed.
    void SetText(const std::string& text);
    void SetIconKind(std::uint8_t kind);
    void SetButtonSet(std::uint8_t set);

    const std::string& Text() const { return FText; }
    std::uint8_t IconKind() const { return FIconKind; }
    std::uint8_t ButtonSet() const { return FButtonSet; }
    // The button Escape presses, none for the Yes/No/Cancel set.
    QPushButton* CancelButton() const;

    void UpdateLook();
    // Spaces the visible buttons evenly over the form's width.
    // Grows the window to hold a long text.
    void FitText();
    void ArrangeButtons();

    QLabel* imgError;
    QPushButton* btnFirst;
    QPushButton* btnSecond;
    QPushButton* btnThird;
    QLabel* lblDisplayText;
    QLabel* imgWarning;
    QLabel* imgInfo;

public slots:
    void btnFirstClick();
    void btnSecondClick();
    void btnThirdClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::uint8_t FButtonSet = bsOk;
    std::string FText;
    std::uint8_t FIconKind = ikNone;
};

}  // namespace cb::app
