#pragma once
// A combo box that paints itself flat: a thin border that turns sunken
// while the mouse is over it or it has the focus (FocusBorder), and a
// drop-down button drawn by the control (raised or etched, flat while the
// list is down, or in the visual style).
#include "grid/util/GridTypes.h"

#include <QColor>
#include <QComboBox>

namespace cb::grid {

class TExtGridCustomCombo : public QComboBox {
public:
    explicit TExtGridCustomCombo(QWidget* parent = nullptr);

    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // The toolkit's 3D look, the opposite of Flat.
    bool Ctl3D() const { return !FFlat; }
    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value);
    // Only 14 to 32 are taken.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    // The dropped list is at least this wide (0: as wide as the control).
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int value);
    // Takes the focus when the mouse enters.
    bool AutoFocus = false;
    bool XPLook() const { return FXPLook; }
    void SetXPLook(bool value);

    bool MouseInside() const { return FMouseInside; }
    // Mouse inside or focused.
    bool Hot() const;
    // Hot and FocusBorder on: the border is drawn sunken.
    bool ShowsFocusBorder() const;
    bool DroppedDown() const { return FDroppedDown; }
    // The drop-down button's rectangle.
    QRect ButtonRect() const;

    void showPopup() override;
    void hidePopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PlaceLineEdit();
    bool FFlat = true;
    bool FEtched = false;
    bool FFocusBorder = false;
    int FButtonWidth = 0;
    int FDropWidth = 0;
    bool FXPLook = false;
    bool FMouseInside = false;
    bool FDroppedDown = false;
    // The colour kept while disabled (the parent's shows meanwhile).
    bool FColorSaved = false;
    QColor FSavedColor;
};

// The published form.
using TExtGridComboBox = TExtGridCustomCombo;

}  // namespace cb::grid
