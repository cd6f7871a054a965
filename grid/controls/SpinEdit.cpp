#include "grid/controls/SpinEdit.h"

#include "grid/controls/ControlPaint.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cb::grid {

using cb::rtl::FormatSettings;

namespace {

constexpr int FirstRepeatDelay = 400;
constexpr int RepeatInterval = 100;

// The float written with decimals digits after the separator.
std::string FixedText(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", std::clamp(decimals, 0, 15), value);
    std::string s = buf;
    auto dot = s.find('.');
    if (dot != std::string::npos) s[dot] = FormatSettings().DecimalSeparator;
    return s;
}

bool ReadFloat(std::string text, double& value) {
    char sep = FormatSettings().DecimalSeparator;
    if (sep != '.') std::replace(text.begin(), text.end(), sep, '.');
    return cb::rtl::TryStrToFloat(text, value);
}

// "h", "h:n" or "h:n:s" with the time separator; the fraction of a day.
bool ReadTime(std::string_view input, TDateTime& value) {
    char sep = FormatSettings().TimeSeparator;
    int parts[3] = {0, 0, 0};
    int n = 0;
    std::size_t start = 0;
    std::string trimmed = cb::rtl::Trim(input);
    std::string_view text = trimmed;
    if (text.empty()) return false;
    while (n < 3) {
        std::size_t end = text.find(sep, start);
        std::string_view field =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!cb::rtl::TryStrToInt(field, parts[n])) return false;
        ++n;
        if (end == std::string_view::npos) break;
        start = end + 1;
        if (n == 3) return false;
    }
    if (parts[0] < 0 || parts[0] > 23 || parts[1] < 0 || parts[1] > 59 || parts[2] < 0 || parts[2] > 59) return false;
    value = (parts[0] * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
    return true;
}

// 0-based position of the nth (1 or 2) separator, -1 when missing.
int SeparatorIndex(const std::string& text, char sep, int nth) {
    int seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == sep && ++seen == nth) return int(i);
    return -1;
}

// The order of day, month and year in the short date format: for each
// field of the text (0, 1, 2) its element, 'd', 'm' or 'y'.
std::string DateFieldOrder() {
    std::string order;
    for (char c : FormatSettings().ShortDateFormat) {
        char l = char(std::tolower(static_cast<unsigned char>(c)));
        if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order += l;
    }
    return order.size() == 3 ? order : std::string("dmy");
}

}  // namespace

// --- TExtTimerSpeedButton ------------------------------------------------------

TExtTimerSpeedButton::TExtTimerSpeedButton(QWidget* parent) : TControlButton(parent) {}

TExtTimerSpeedButton::~TExtTimerSpeedButton() = default;

void TExtTimerSpeedButton::Click() {
    if (OnClick) OnClick(this);
}

void TExtTimerSpeedButton::StopRepeat() {
    if (FTimer) FTimer->stop();
}

void TExtTimerSpeedButton::RepeatTick() {
    if (FTimer) FTimer->setInterval(RepeatInterval);
    if (!FDown) {
        StopRepeat();
        return;
    }
    try {
        Click();
    } catch (const std::exception& e) {
        StopRepeat();
        qWarning("spin button: %s", e.what());
    }
}

void TExtTimerSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) return;
    FDown = true;
    if (OnPress) OnPress(this);
    if (RepeatAllowed) {
        if (!FTimer) {
            FTimer = std::make_unique<QTimer>();
            QObject::connect(FTimer.get(), &QTimer::timeout, this, [this] { RepeatTick(); });
        }
        FTimer->setInterval(FirstRepeatDelay);
        FTimer->start();
    }
    try {
        Click();
    } catch (const std::exception& e) {
        StopRepeat();
        qWarning("spin button: %s", e.what());
    }
    if (parentWidget()) parentWidget()->update();
    update();
}

void TExtTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    FDown = false;
    StopRepeat();
    if (parentWidget()) parentWidget()->update();
    update();
}

void TExtTimerSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    cb::gfx::TCanvas canvas(&painter);
    TRect r{0, 0, width(), height()};
    TThemePart part = Arrow == adUp     ? TThemePart::SpinUp
                      : Arrow == adDown ? TThemePart::SpinDown
                      : Arrow == adLeft ? TThemePart::ScrollLeft
                                        : TThemePart::ScrollRight;
    TButtonLook look = XPLook ? TButtonLook::XP : Flat ? TButtonLook::Flat : TButtonLook::Push;
    TRect inner = DrawButtonFace(canvas, r, look, part, FDown, FMouseInside, isEnabled());
    if (look != TButtonLook::XP) {
        if (FDown) inner = TRect{inner.Left + 1, inner.Top + 1, inner.Right + 1, inner.Bottom + 1};
        if (!Glyph.Empty() && (Arrow == adUp || Arrow == adDown))
            DrawCentredGlyph(canvas, Glyph, inner, false);
        else
            DrawArrowGlyph(canvas, inner, int(Arrow), isEnabled());
    }
    if (FocusShown) canvas.DrawFocusRect(TRect{3, 3, width() - 3, height() - 3});
}

// --- TExtGridSpinButton --------------------------------------------------------

TExtGridSpinButton::TExtGridSpinButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    FUp = new TExtTimerSpeedButton(this);
    FDown = new TExtTimerSpeedButton(this);
    FUp->Arrow = adUp;
    FDown->Arrow = adDown;
    for (auto* b : {FUp, FDown}) {
        b->RepeatAllowed = true;
        b->OnPress = [this](QObject* sender) { ArrowPressed(static_cast<TExtTimerSpeedButton*>(sender)); };
    }
    FUp->OnClick = [this](QObject*) {
        if (OnUpClick) OnUpClick(this);
    };
    FDown->OnClick = [this](QObject*) {
        if (OnDownClick) OnDownClick(this);
    };
    FFocused = FUp;
    resize(15, 25);
}

TExtGridSpinButton::~TExtGridSpinButton() = default;

void TExtGridSpinButton::SetDirection(TSpinDirection value) {
    if (value == FDirection) return;
    FDirection = value;
    FUp->Arrow = value == spHorizontal ? adRight : adUp;
    FDown->Arrow = value == spHorizontal ? adLeft : adDown;
    resize(value == spHorizontal ? 20 : 15, height());
    PlaceButtons();
    update();
}

void TExtGridSpinButton::SetXPLook(bool value) {
    FXPLook = value;
    FUp->XPLook = FDown->XPLook = value;
    FUp->update();
    FDown->update();
}

void TExtGridSpinButton::SetFlat(bool value) {
    FUp->Flat = FDown->Flat = value;
    FUp->update();
    FDown->update();
}

void TExtGridSpinButton::SetUpGlyph(const cb::gfx::TBitmap& glyph) {
    FUp->Glyph.Assign(glyph);
    FUp->update();
}

void TExtGridSpinButton::SetDownGlyph(const cb::gfx::TBitmap& glyph) {
    FDown->Glyph.Assign(glyph);
    FDown->update();
}

void TExtGridSpinButton::PlaceButtons() {
    int w = width(), h = height();
    if (FDirection == spVertical) {
        int upH = h / 2;
        FUp->setGeometry(0, 0, w, upH);
        FDown->setGeometry(0, upH - 1, w, h - upH + 1);
    } else {
        FDown->setGeometry(0, 0, w / 2, h);
        FUp->setGeometry(w / 2 + 1, 0, w / 2, h);
    }
}

void TExtGridSpinButton::resizeEvent(QResizeEvent*) {
    int minWidth = FDirection == spVertical ? 15 : 20;
    if (width() < minWidth) {
        resize(minWidth, height());
        return;
    }
    PlaceButtons();
}

void TExtGridSpinButton::SetFocusedButton(TExtTimerSpeedButton* button) {
    if (FFocused == button) return;
    bool shown = FFocused->FocusShown;
    FFocused->FocusShown = false;
    FFocused->update();
    FFocused = button;
    FFocused->FocusShown = shown;
    FFocused->update();
}

static bool CanTakeFocus(const QWidget* w) {
    return w && w->focusPolicy() != Qt::NoFocus && w->isEnabled() && w->isVisible();
}

void TExtGridSpinButton::ArrowPressed(TExtTimerSpeedButton* button) {
    if (CanTakeFocus(this)) SetFocusedButton(button);
    if (FFocusControl && CanTakeFocus(FFocusControl) && !FFocusControl->hasFocus())
        FFocusControl->setFocus(Qt::MouseFocusReason);
    else if (!FFocusControl && CanTakeFocus(this) && !hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void TExtGridSpinButton::keyPressEvent(QKeyEvent* event) {
    try {
        switch (event->key()) {
        case Qt::Key_Space:
            FFocused->Click();
            return;
        case Qt::Key_Up:
            SetFocusedButton(FUp);
            FUp->Click();
            return;
        case Qt::Key_Down:
            SetFocusedButton(FDown);
            FDown->Click();
            return;
        default:
            QWidget::keyPressEvent(event);
        }
    } catch (const std::exception& e) {
        qWarning("spin button: %s", e.what());
    }
}

void TExtGridSpinButton::focusInEvent(QFocusEvent*) {
    FFocused->FocusShown = true;
    FFocused->update();
}

void TExtGridSpinButton::focusOutEvent(QFocusEvent*) {
    FFocused->FocusShown = false;
    FFocused->update();
}

// --- TExtGridSpinEdit ----------------------------------------------------------

TExtGridSpinEdit::TExtGridSpinEdit(QWidget* parent) : QLineEdit(parent) {
    FButton = new TExtGridSpinButton(this);
    FButton->setFocusPolicy(Qt::NoFocus);
    FButton->setCursor(Qt::ArrowCursor);
    FButton->resize(15, 17);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](QObject*) { StepUp(); };
    FButton->OnDownClick = [this](QObject*) { StepDown(); };
    setText("0");
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) OnChange(this);
    });
    LayoutButton();
}

TExtGridSpinEdit::~TExtGridSpinEdit() = default;

int TExtGridSpinEdit::Value() const {
    int v;
    return cb::rtl::TryStrToInt(text().toStdString(), v) ? v : MinValue;
}

void TExtGridSpinEdit::SetValue(int value) {
    if (MinValue != MaxValue) value = std::clamp(value, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    setText(QString::number(value));
    if (!FEditorEnabled) selectAll();
}

double TExtGridSpinEdit::FloatValue() const {
    double v;
    return ReadFloat(text().toStdString(), v) ? v : MinFloatValue;
}

void TExtGridSpinEdit::SetFloatValue(double value) {
    if (MinFloatValue != MaxFloatValue)
        value = std::clamp(value, std::min(MinFloatValue, MaxFloatValue), std::max(MinFloatValue, MaxFloatValue));
    std::string s;
    if (FPrecision > 0) {
        s = FixedText(value, FPrecision);
    } else {
        s = cb::rtl::FloatToStr(value);
        char sep = FormatSettings().DecimalSeparator;
        if (sep != '.') std::replace(s.begin(), s.end(), '.', sep);
    }
    setText(QString::fromStdString(s));
}

TDateTime TExtGridSpinEdit::DateValue() const {
    std::string t = text().toStdString();
    if (t.empty() || t == "0") return cb::rtl::Now();
    TDateTime d;
    return ParseShortDate(t, d) ? d : MinDateValue;
}

void TExtGridSpinEdit::SetDateValue(TDateTime value) {
    FLastDate = value;
    if (MinDateValue != MaxDateValue)
        value = std::clamp(value, std::min(MinDateValue, MaxDateValue), std::max(MinDateValue, MaxDateValue));
    int caret = cursorPosition();
    setText(QString::fromStdString(FormatShortDate(value)));
    setCursorPosition(caret);
}

TDateTime TExtGridSpinEdit::TimeValue() const {
    TDateTime t;
    return ReadTime(text().toStdString(), t) ? t : 0;
}

void TExtGridSpinEdit::SetTimeValue(TDateTime value) {
    FLastTime = value;
    int caret = cursorPosition();
    setText(QString::fromStdString(cb::rtl::TimeToStr(value)));
    setCursorPosition(caret);
}

void TExtGridSpinEdit::SetSpinType(TExtGridSpinType value) {
    FSpinType = value;
    switch (value) {
    case sptNormal:
        SetValue(Value());
        break;
    case sptFloat:
        SetFloatValue(FloatValue());
        break;
    case sptDate:
        SetDateValue(DateValue());
        break;
    case sptTime:
        SetTimeValue(TimeValue());
        break;
    }
}

void TExtGridSpinEdit::SetPrecision(int value) {
    FPrecision = value;
    if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TExtGridSpinEdit::ApplyEditable() {
    // The buttons write through setText, which a read-only QLineEdit allows.
    QLineEdit::setReadOnly(FReadOnly || !FEditorEnabled);
}

void TExtGridSpinEdit::SetEditorEnabled(bool value) {
    FEditorEnabled = value;
    ApplyEditable();
}

void TExtGridSpinEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    ApplyEditable();
}

void TExtGridSpinEdit::SetDirection(TSpinDirection value) {
    FButton->SetDirection(value);
    LayoutButton();
}

void TExtGridSpinEdit::SetSpinFlat(bool value) {
    FSpinFlat = value;
    FButton->SetFlat(value);
}

void TExtGridSpinEdit::SetSpinTransparent(bool value) {
    FSpinTransparent = value;
    FButton->UpButton().setAttribute(Qt::WA_NoSystemBackground, value);
    FButton->DownButton().setAttribute(Qt::WA_NoSystemBackground, value);
    LayoutButton();
}

void TExtGridSpinEdit::StepUp() {
    Step(+1);
}

void TExtGridSpinEdit::StepDown() {
    Step(-1);
}

void TExtGridSpinEdit::Step(int sign) {
    if (FReadOnly) {
        QApplication::beep();
        return;
    }
    switch (FSpinType) {
    case sptNormal:
        SetValue(Value() + sign * Increment);
        break;
    case sptFloat:
        SetFloatValue(FloatValue() + sign * IncrementFloat);
        break;
    case sptDate:
        StepDate(sign);
        break;
    case sptTime:
        StepTime(sign);
        break;
    }
}

bool TExtGridSpinEdit::StepByPageKey(int key) {
    if (FSpinType != sptNormal && FSpinType != sptFloat) return false;
    bool isFloat = FSpinType == sptFloat;
    switch (key) {
    case Qt::Key_PageUp:
        if (isFloat ? FloatValue() + IncrementFloat <= MaxFloatValue : Value() + Increment <= MaxValue) StepUp();
        return true;
    case Qt::Key_PageDown:
        if (isFloat ? FloatValue() - IncrementFloat >= MinFloatValue : Value() - Increment >= MinValue) StepDown();
        return true;
    case Qt::Key_Home:
        isFloat ? SetFloatValue(MaxFloatValue) : SetValue(MaxValue);
        return true;
    case Qt::Key_End:
        isFloat ? SetFloatValue(MinFloatValue) : SetValue(MinValue);
        return true;
    default:
        return false;
    }
}

int TExtGridSpinEdit::FieldUnderCaret(char separator) const {
    std::string t = text().toStdString();
    int caret = cursorPosition();
    // 1-based positions of the separators, 0 when missing.
    int first = SeparatorIndex(t, separator, 1) + 1;
    int second = SeparatorIndex(t, separator, 2) + 1;
    if (caret < first) return 0;
    if (caret < second) return 1;
    return 2;
}

void TExtGridSpinEdit::StepDate(int sign) {
    TDateTime value = DateValue();
    char element = DateFieldOrder()[FieldUnderCaret(FormatSettings().DateSeparator)];
    double time = value - std::floor(value);
    int y, m, d;
    DecodeDate(value, y, m, d);
    if (element == 'd') {
        SetDateValue(value + sign);
        return;
    }
    if (element == 'm') {
        m += sign;
        if (m < 1) {
            m = 12;
            --y;
        } else if (m > 12) {
            m = 1;
            ++y;
        }
    } else {
        y += sign;
    }
    if (y < 1 || y > 9999) return;
    // The day is cut to the length of the new month (29 February to 28).
    d = std::min(d, cb::rtl::DaysInMonth(y, m));
    SetDateValue(EncodeDate(y, m, d) + time);
}

void TExtGridSpinEdit::StepTime(int sign) {
    static constexpr double units[3] = {1.0 / 24, 1.0 / 1440, 1.0 / 86400};
    double unit = units[FieldUnderCaret(FormatSettings().TimeSeparator)];
    TDateTime t = TimeValue();
    if (sign > 0) {
        t += unit;
    } else {
        t = t + 1 - unit;
        if (t > 1) t -= 1;
    }
    SetTimeValue(t);
}

bool TExtGridSpinEdit::AcceptsChar(char& key) {
    const auto& fs = FormatSettings();
    bool ok = (key >= '0' && key <= '9') || key == '+' || key == '-' || key == fs.DecimalSeparator ||
              key == fs.ThousandSeparator || key == fs.TimeSeparator || key == fs.DateSeparator ||
              (static_cast<unsigned char>(key) < ' ' && key != '\r');
    if (key == fs.TimeSeparator && FSpinType != sptTime && key != '-') ok = false;
    if (key == fs.DateSeparator && FSpinType != sptDate && key != '-') ok = false;
    std::string t = text().toStdString();
    if (FSpinType == sptFloat && key != '\b' && key != '\r' && key != '\x1b') {
        if (key == fs.ThousandSeparator) key = fs.DecimalSeparator;
        std::size_t sep = t.find(fs.DecimalSeparator);
        if (key == fs.DecimalSeparator && sep != std::string::npos) ok = false;
        if (FPrecision >= 1 && sep != std::string::npos && cursorPosition() > int(sep) && !hasSelectedText() &&
            t.size() >= sep + 1 + std::size_t(FPrecision))
            ok = false;
    }
    if (FSpinType == sptTime && key == fs.TimeSeparator && std::count(t.begin(), t.end(), fs.TimeSeparator) >= 2)
        ok = false;
    if (!FEditorEnabled && ok && (static_cast<unsigned char>(key) >= ' ' || key == '\b')) ok = false;
    return ok;
}

void TExtGridSpinEdit::keyPressEvent(QKeyEvent* event) {
    try {
        switch (event->key()) {
        case Qt::Key_Up:
            StepUp();
            return;
        case Qt::Key_Down:
            StepDown();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (ReturnIsTab) {
                QApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
                return;
            }
            break;
        case Qt::Key_Delete:
            if (!FEditorEnabled) return;
            break;
        default:
            break;
        }
        bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        QString typed = event->text();
        char key = 0;
        if (event->key() == Qt::Key_Backspace)
            key = '\b';
        else if (!command && typed.size() == 1 && typed[0].unicode() >= ' ' && typed[0].unicode() != 0x7f)
            key = typed[0].unicode() < 0x80 ? char(typed[0].unicode()) : '\x7f';
        if (key) {
            char original = key;
            if (!AcceptsChar(key)) {
                QApplication::beep();
                return;
            }
            if (key != original) {
                insert(QString(QChar(key)));
                return;
            }
        }
        QLineEdit::keyPressEvent(event);
    } catch (const std::exception& e) {
        qWarning("spin edit: %s", e.what());
    }
}

int TExtGridSpinEdit::MinHeight() const {
    int own = fontMetrics().height();
    int system = QFontMetrics(QApplication::font()).height();
    return own + std::min(own, system) / 4 + 2 + (hasFrame() ? 4 : 0);
}

void TExtGridSpinEdit::LayoutButton() {
    int bw = FButton->width();
    if (hasFrame())
        FButton->setGeometry(width() - bw - 3, 2, bw, std::max(0, height() - 5));
    else
        FButton->setGeometry(width() - bw - 1, 0, bw, std::max(0, height() - 1));
    setTextMargins(hasFrame() ? 0 : 1, 0, bw + 2, 0);
}

void TExtGridSpinEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    if (height() < MinHeight()) {
        resize(width(), MinHeight());
        return;
    }
    LayoutButton();
}

void TExtGridSpinEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) LayoutButton();
}

void TExtGridSpinEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (AutoSelect && (event->reason() != Qt::MouseFocusReason || !FEditorEnabled)) selectAll();
}

void TExtGridSpinEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    try {
        switch (FSpinType) {
        case sptNormal: {
            int v = Value();
            if (MinValue != MaxValue && (v < std::min(MinValue, MaxValue) || v > std::max(MinValue, MaxValue)))
                SetValue(v);
            break;
        }
        case sptFloat: {
            double v = FloatValue();
            if (MinFloatValue != MaxFloatValue &&
                (v < std::min(MinFloatValue, MaxFloatValue) || v > std::max(MinFloatValue, MaxFloatValue)))
                SetFloatValue(v);
            break;
        }
        case sptDate: {
            TDateTime v = DateValue();
            if (MinDateValue != MaxDateValue &&
                (v < std::min(MinDateValue, MaxDateValue) || v > std::max(MinDateValue, MaxDateValue)))
                SetDateValue(v);
            break;
        }
        case sptTime:
            break;
        }
    } catch (const std::exception& e) {
        qWarning("spin edit: %s", e.what());
    }
}

}  // namespace cb::grid
