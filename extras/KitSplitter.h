#pragma once
// TKitSplitter: a splitter bar between a pane and the rest of its parent,
// with a button on it. In the default style the button is a grip with two
// arrows in the middle that folds the pane to its minimum size (Maximized,
// which leaves the other side all the room) or brings it back; in the
// Windows style it is a row of caption buttons at one end. Dragging the bar
// sizes the pane; a drag down to the minimum also counts as maximizing.
//
// The pane is the visible, enabled sibling that touches the splitter on the
// side of its alignment. The splitter sizes it: a pane inside its parent's
// layout gets a fixed width (or height), a pane without one gets new
// geometry and the splitter moves beside it.
#include "platform/gfx/Color.h"

#include <QWidget>

#include <functional>

namespace cb::extras {

enum TKitAlign {
    kaNone,
    kaTop,
    kaBottom,
    kaLeft,
    kaRight
};
enum TKitButtonWidthType {
    btwPixels,
    btwPercentage
};
enum TKitButtonStyle {
    bsNetscape,
    bsWindows
};
enum TKitWindowsButton {
    wbMin = 1,
    wbMax = 2,
    wbClose = 4
};
using TKitWindowsButtons = unsigned;  // a set of TKitWindowsButton

class TKitSplitter : public QWidget {
public:
    using TNotifyEvent = std::function<void(TKitSplitter*)>;

    explicit TKitSplitter(QWidget* parent = nullptr);

    static constexpr const char* Version() { return "TKitSplitter v2.03"; }

    TKitAlign Align() const { return FAlign; }
    void SetAlign(TKitAlign value);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = std::max(1, value); }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool value);
    cb::gfx::TColor Color() const { return FColor; }
    void SetColor(cb::gfx::TColor value);

    bool Maximized() const { return FMaximized; }
    void SetMaximized(bool value);
    bool Minimized() const { return FMinimized; }
    void SetMinimized(bool value);
    bool AllowDrag() const { return FAllowDrag; }
    void SetAllowDrag(bool value);
    Qt::CursorShape ButtonCursor() const { return FButtonCursor; }
    void SetButtonCursor(Qt::CursorShape value) { FButtonCursor = value; }
    TKitButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TKitButtonStyle value);
    TKitWindowsButtons WindowsButtons() const { return FWindowsButtons; }
    void SetWindowsButtons(TKitWindowsButtons value);
    TKitButtonWidthType ButtonWidthType() const { return FButtonWidthType; }
    void SetButtonWidthType(TKitButtonWidthType value);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    bool ShowButton() const { return FShowButton; }
    void SetShowButton(bool value);
    cb::gfx::TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(cb::gfx::TColor value);
    cb::gfx::TColor ArrowColor() const { return FArrowColor; }
    void SetArrowColor(cb::gfx::TColor value);
    cb::gfx::TColor ButtonHighlightColor() const { return FButtonHighlightColor; }
    void SetButtonHighlightColor(cb::gfx::TColor value);
    bool AutoHighlightColor() const { return FAutoHighlightColor; }
    void SetAutoHighlightColor(bool value);
    cb::gfx::TColor TextureColor1() const { return FTextureColor1; }
    void SetTextureColor1(cb::gfx::TColor value);
    cb::gfx::TColor TextureColor2() const { return FTextureColor2; }
    void SetTextureColor2(cb::gfx::TColor value);
    // The thickness of the bar (its width when vertical, height when
    // horizontal).
    int Thickness() const { return FThickness; }
    void SetThickness(int value);

    TNotifyEvent OnMaximize, OnMinimize, OnRestore, OnClose, OnMoved;

    // Form storage: while loading only the flags are stored; Loaded() ends it.
    void BeginLoading() { FLoading = true; }
    void Loaded();
    // "RestorePos" is stored while Maximized or Minimized is on.
    bool StoresRestorePos() const { return FMaximized || FMinimized; }
    int ReadRestoreSize() const { return FRestoreSize; }
    void WriteRestoreSize(int value) { FRestoreSize = value; }

    bool Horizontal() const { return FAlign == kaTop || FAlign == kaBottom; }
    // The button's rectangle in client coordinates (empty when none).
    QRect ButtonRect() const;
    QWidget* FindSizedControl() const;
    // Sizes the pane as a drag of the bar would (limits applied).
    void ResizeControlTo(int NewSize);
    // The caption button at a point (Windows style); wbMin when none.
    TKitWindowsButton CaptionButtonAt(int X, int Y) const;
    bool PointOnButton(int X, int Y);
    bool Highlighted() const { return FHighlighted; }
    // The pane's size (its width, or height for a horizontal bar).
    int ControlSize(const QWidget* control) const;

    // Draws an arrow of ArrowSize pixels into Image at Rect; returns its base.
    int PaintArrow(QImage& Image, const QRect& Rect, int Offset, int ArrowSize, cb::gfx::TColor Color) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void PaintButton(bool Highlight);
    QImage ButtonImage(bool Highlight) const;
    void UpdateCursor();
    void RepaintButton();
    void TakeRestoreSize();
    void Fire(const TNotifyEvent& e) {
        if (e) e(this);
    }
    // The bar's own sizing, driven by the mouse or by ResizeControlTo.
    void SplitterDown(QPoint Pos);
    void SplitterMove(QPoint Pos);
    void SplitterUp(QPoint Pos);
    void ApplySize(QWidget* control, int size);
    int MaxSize(QWidget* control) const;
    // The first visible, enabled sibling holding Probe (parent coordinates).
    QWidget* SiblingAt(QPoint Probe) const;
    QPoint OppositeProbe() const;

    TKitAlign FAlign = kaLeft;
    int FMinSize = 30;
    bool FBeveled = false;
    cb::gfx::TColor FColor = cb::gfx::clBtnFace;
    int FThickness = 10;
    bool FShowButton = true;
    TKitButtonWidthType FButtonWidthType = btwPixels;
    int FButtonWidth = 100;
    bool FMaximized = false;
    bool FMinimized = false;
    int FRestoreSize = -1;
    bool FHighlighted = false;
    bool FPressedOnButton = false;
    cb::gfx::TColor FButtonColor = cb::gfx::clBtnFace;
    cb::gfx::TColor FButtonHighlightColor = 0xFFCFCF;
    cb::gfx::TColor FArrowColor = 0x800000;
    cb::gfx::TColor FTextureColor1 = 0xFFFFFF;
    cb::gfx::TColor FTextureColor2 = 0x800000;
    bool FAutoHighlightColor = false;
    bool FAllowDrag = true;
    TKitButtonStyle FButtonStyle = bsNetscape;
    TKitWindowsButtons FWindowsButtons = wbMin | wbMax | wbClose;
    Qt::CursorShape FButtonCursor = Qt::ArrowCursor;
    QPoint FPressPoint;  // screen point of the last press on the button
    bool FLoading = false;

    // Sizing state.
    QWidget* FDragControl = nullptr;
    bool FDragging = false;
    QPoint FDownPos;
    int FDownSize = 0;
    int FDragMax = 0;
};

// ButtonHighlightColor of AutoHighlightColor: the active caption colour
// moved 180/255 of the way to the button face.
cb::gfx::TColor KitAutoHighlightColor();

}  // namespace cb::extras
