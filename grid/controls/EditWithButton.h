#pragma once
// An edit with a push button at its right edge. The button fires on the
// press (and F4 in the edit fires it too); TExtGridEditButton is the
// button's container, TExtSpeedButton the button with a flat or XP look.
#include "grid/util/GridTypes.h"
#include "grid/controls/ControlPaint.h"
#include "platform/gfx/Bitmap.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

namespace cb::grid {

class TExtSpeedButton : public TControlButton {
public:
    explicit TExtSpeedButton(QWidget* parent = nullptr);

    bool IsWinXP = false;
    std::string Caption;
    // Left press (the container's press rule).
    std::function<void(QObject*)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TExtGridEditButton : public QWidget {
public:
    explicit TExtGridEditButton(QWidget* parent = nullptr);

    void SetGlyph(const cb::gfx::TBitmap& glyph);
    std::string ButtonCaption() const { return FButton->Caption; }
    void SetButtonCaption(const std::string& caption);
    bool Flat() const { return FButton->Flat; }
    void SetFlat(bool value);
    // Takes the focus after a press (cleared when it goes).
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* control) { FFocusControl = control; }
    TExtSpeedButton& Button() { return *FButton; }
    // Fired with the container as sender on a left press.
    std::function<void(QObject*)> OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Pressed();
    TExtSpeedButton* FButton = nullptr;  // child widget
    QPointer<QWidget> FFocusControl;
};

class TExtGridEditBtn : public QLineEdit {
public:
    explicit TExtGridEditBtn(QWidget* parent = nullptr);
    ~TExtGridEditBtn() override;

    int ButtonWidth() const { return FButtonWidth; }
    // Resizes the button at once; the text area follows at the next resize.
    void SetButtonWidth(int value);
    std::string ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const std::string& caption) { FButton->SetButtonCaption(caption); }
    void SetGlyph(const cb::gfx::TBitmap& glyph) { FButton->SetGlyph(glyph); }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool value);
    bool IsWinXP() const { return FButton->Button().IsWinXP; }
    void SetIsWinXP(bool value);
    bool AutoSelect = true;
    TExtGridEditButton& ButtonContainer() { return *FButton; }
    const TExtGridEditButton& ButtonContainer() const { return *FButton; }
    // The height the font needs; a smaller one is raised to it.
    int MinHeight() const;

    // Fires OnClickBtn with sender.
    virtual void FireButton(QObject* sender);
    std::function<void(QObject*)> OnClickBtn;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // Pixels reserved left of the button (the unit edit's unit).
    int FUnitSpace = 0;
    void LayoutButton();

private:
    void ApplyEditable();
    TExtGridEditButton* FButton = nullptr;  // child widget
    int FButtonWidth = 0;
    bool FEditorEnabled = true;
    bool FReadOnly = false;
    bool FRightAlign = false;
};

}  // namespace cb::grid
