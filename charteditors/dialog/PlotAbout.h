#pragma once
// The chart library's about box: its name and version, a notice, a web
// address (shown only when one is set) and a background gradient whose two
// colours drift back and forth while the box is open.
#include "platform/gfx/Color.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace cb::charteditors {

class TPlotAboutForm : public QDialog {
public:
    explicit TPlotAboutForm(QWidget* owner = nullptr);

    // Moves both colours one step (the timer's tick).
    void Step();
    cb::gfx::TColor StartColor() const { return FStart; }
    cb::gfx::TColor EndColor() const { return FEnd; }
    int StepSize() const { return FStep; }
    // The address the web label opens; empty hides the label.
    void SetWebAddress(const QString& address);

    QLabel *LabelVersion, *LabelCopy, *LabelWWW;
    QPushButton* BClose;
    QTimer* Timer1;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    cb::gfx::TColor FStart = 0xE0E0E0;
    cb::gfx::TColor FEnd = 0x808080;
    int FStep = 4;
};

}  // namespace cb::charteditors
