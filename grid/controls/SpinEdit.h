#pragma once
// The spin editor: an edit with a pair of arrow buttons that steps an
// integer, a float, a date or a time. TExtTimerSpeedButton is one arrow
// that repeats while held, TExtGridSpinButton the pair (usable alone).
#include "grid/util/GridTypes.h"
#include "grid/controls/ControlPaint.h"
#include "grid/util/DateUtils.h"
#include "platform/gfx/Bitmap.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;

namespace cb::grid {

enum TExtGridSpinType {
    sptNormal,
    sptFloat,
    sptDate,
    sptTime
};
enum TSpinDirection {
    spVertical,
    spHorizontal
};
enum TArrowDirection {
    adLeft,
    adRight,
    adUp,
    adDown
};

// One arrow button. A press clicks once; while held it clicks again after
// 400 ms, then every 100 ms, until released.
class TExtTimerSpeedButton : public TControlButton {
public:
    explicit TExtTimerSpeedButton(QWidget* parent = nullptr);
    ~TExtTimerSpeedButton() override;

    TArrowDirection Arrow = adUp;
    bool RepeatAllowed = false;
    bool FocusShown = false;
    bool XPLook = false;
    // Fired by a left press before its first click.
    std::function<void(QObject*)> OnPress;
    std::function<void(QObject*)> OnClick;

    // The repeat timer, made at the first press (null before).
    QTimer* RepeatTimer() const { return FTimer.get(); }
    // One tick of the repeat timer, as the timer runs it.
    void RepeatTick();
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void StopRepeat();
    std::unique_ptr<QTimer> FTimer;
};

// The pair of arrows: up above down (vertical) or down left of up
// (horizontal). Space clicks the focused arrow, Up and Down click theirs.
class TExtGridSpinButton : public QWidget {
public:
    explicit TExtGridSpinButton(QWidget* parent = nullptr);
    ~TExtGridSpinButton() override;

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection value);
    // Takes the focus when an arrow is pressed (cleared when it goes).
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* control) { FFocusControl = control; }
    void SetXPLook(bool value);
    bool XPLook() const { return FXPLook; }
    void SetFlat(bool value);
    void SetUpGlyph(const cb::gfx::TBitmap& glyph);
    void SetDownGlyph(const cb::gfx::TBitmap& glyph);
    TExtTimerSpeedButton& UpButton() { return *FUp; }
    TExtTimerSpeedButton& DownButton() { return *FDown; }
    TExtTimerSpeedButton& FocusedButton() { return *FFocused; }

    std::function<void(QObject*)> OnUpClick;
    std::function<void(QObject*)> OnDownClick;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void PlaceButtons();
    void ArrowPressed(TExtTimerSpeedButton* button);
    void SetFocusedButton(TExtTimerSpeedButton* button);
    TExtTimerSpeedButton* FUp = nullptr;    // child widget
    TExtTimerSpeedButton* FDown = nullptr;  // child widget
    TExtTimerSpeedButton* FFocused = nullptr;
    QPointer<QWidget> FFocusControl;
    TSpinDirection FDirection = spVertical;
    bool FXPLook = false;
};

class TExtGridSpinEdit : public QLineEdit {
public:
    explicit TExtGridSpinEdit(QWidget* parent = nullptr);
    ~TExtGridSpinEdit() override;

    TExtGridSpinType SpinType() const { return FSpinType; }
    // Rewrites the text through the value of the new type.
    void SetSpinType(TExtGridSpinType value);

    // Readers fall back when the text is no value of the kind: Value to
    // MinValue, FloatValue to MinFloatValue, DateValue to MinDateValue (the
    // current date and time for an empty text or "0"), TimeValue to 0.
    int Value() const;
    void SetValue(int value);
    double FloatValue() const;
    void SetFloatValue(double value);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime value);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime value);

    // Equal bounds mean no range.
    int MinValue = 0;
    int MaxValue = 100;
    double MinFloatValue = 0.0;
    double MaxFloatValue = 100.0;
    TDateTime MinDateValue = 0;
    TDateTime MaxDateValue = 0;
    int Increment = 1;
    double IncrementFloat = 0.0;
    // Enter acts as Tab.
    bool ReturnIsTab = false;
    bool AutoSelect = true;

    int Precision() const { return FPrecision; }
    void SetPrecision(int value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // The border (bsSingle) is QLineEdit's frame: hasFrame() / setFrame().
    TSpinDirection Direction() const { return FButton->Direction(); }
    void SetDirection(TSpinDirection value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool value);
    void SetXPLook(bool value) { FButton->SetXPLook(value); }

    TExtGridSpinButton& Button() { return *FButton; }
    // The height the font needs; a smaller one is raised to it.
    int MinHeight() const;

    // May the typed character enter the text (it may be changed)?
    virtual bool AcceptsChar(char& key);
    virtual void StepUp();
    virtual void StepDown();
    // The page keys of the spin editor in a grid, for the integer and float
    // types: Page Up (Down) steps once when the result stays within the
    // range, Home sets the maximum, End the minimum. False for other keys
    // and types.
    bool StepByPageKey(int key);

    std::function<void(QObject*)> OnChange;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Step(int sign);
    void StepDate(int sign);
    void StepTime(int sign);
    void LayoutButton();
    void ApplyEditable();
    int FieldUnderCaret(char separator) const;
    TExtGridSpinButton* FButton = nullptr;  // child widget
    TExtGridSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FEditorEnabled = true;
    bool FReadOnly = false;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    TDateTime FLastDate = 0;
    TDateTime FLastTime = 0;
};

}  // namespace cb::grid
