#include "platform/gfx/StylePainter.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace cb::gfx {

namespace {

QStyle* style() {
    return qApp ? QApplication::style() : nullptr;
}

void applyState(QStyleOption& opt, const TRect& r, TThemeState state) {
    opt.rect = QRect(r.Left, r.Top, r.Width(), r.Height());
    opt.state = QStyle::State_None;
    if (state != TThemeState::Disabled) opt.state |= QStyle::State_Enabled;
    if (state == TThemeState::Hot) opt.state |= QStyle::State_MouseOver;
    if (state == TThemeState::Pressed) opt.state |= QStyle::State_Sunken;
    if (qApp) opt.palette = QApplication::palette();
    opt.palette.setCurrentColorGroup(state == TThemeState::Disabled ? QPalette::Disabled : QPalette::Active);
}

// The style and painter to draw r with; both null when there is nothing to draw.
struct Target {
    QStyle* s = nullptr;
    QPainter* p = nullptr;
};

Target target(TCanvas& canvas, const TRect& r) {
    QStyle* s = style();
    QPainter* p = canvas.Painter();
    if (!s || !p || r.IsEmpty()) return {};
    return {s, p};
}

// A button face, raised unless pressed.
QStyleOptionButton buttonOption(const TRect& r, TThemeState state) {
    QStyleOptionButton button;
    applyState(button, r, state);
    if (state != TThemeState::Pressed) button.state |= QStyle::State_Raised;
    return button;
}

// A button panel with an arrow inset in it, nudged down-right when pressed.
void drawArrowButton(const Target& t, const TRect& r, TThemeState state, QStyle::PrimitiveElement panel,
                     QStyle::PrimitiveElement arrowElement) {
    const QStyleOptionButton button = buttonOption(r, state);
    t.s->drawPrimitive(panel, &button, t.p);
    QStyleOption arrow;
    applyState(arrow, r, state);
    const int inset = std::max(2, std::min(r.Width(), r.Height()) / 4);
    arrow.rect.adjust(inset, inset, -inset, -inset);
    if (state == TThemeState::Pressed) arrow.rect.translate(1, 1);
    t.s->drawPrimitive(arrowElement, &arrow, t.p);
}

// A check box or radio button indicator showing mark (on, off or mixed).
void drawIndicator(TCanvas& canvas, const TRect& r, TThemeState state, QStyle::PrimitiveElement indicator,
                   QStyle::StateFlag mark) {
    const auto [s, p] = target(canvas, r);
    if (!s) return;
    QStyleOptionButton opt;
    applyState(opt, r, state);
    opt.state |= mark;
    s->drawPrimitive(indicator, &opt, p);
}

}  // namespace

bool IsThemeActive() {
    return true;
}

TSize ThemedCheckBoxSize() {
    QStyle* s = style();
    if (!s) return {13, 13};
    return {s->pixelMetric(QStyle::PM_IndicatorWidth), s->pixelMetric(QStyle::PM_IndicatorHeight)};
}

void DrawThemedCheckBox(TCanvas& canvas, const TRect& r, TCheckState check, TThemeState state) {
    drawIndicator(canvas, r, state, QStyle::PE_IndicatorCheckBox,
                  check == TCheckState::Checked ? QStyle::State_On
                  : check == TCheckState::Mixed ? QStyle::State_NoChange
                                                : QStyle::State_Off);
}

void DrawThemedRadioButton(TCanvas& canvas, const TRect& r, bool checked, TThemeState state) {
    drawIndicator(canvas, r, state, QStyle::PE_IndicatorRadioButton, checked ? QStyle::State_On : QStyle::State_Off);
}

void DrawThemedPushButton(TCanvas& canvas, const TRect& r, TThemeState state, const std::string& caption) {
    const auto [s, p] = target(canvas, r);
    if (!s) return;
    QStyleOptionButton opt = buttonOption(r, state);
    opt.text = QString::fromStdString(caption);
    s->drawControl(QStyle::CE_PushButton, &opt, p);
}

void DrawThemedComboButton(TCanvas& canvas, const TRect& r, TThemeState state) {
    const Target t = target(canvas, r);
    if (!t.s) return;
    drawArrowButton(t, r, state, QStyle::PE_PanelButtonCommand, QStyle::PE_IndicatorArrowDown);
}

void DrawThemedScrollArrow(TCanvas& canvas, const TRect& r, TScrollDirection direction, TThemeState state) {
    const Target t = target(canvas, r);
    if (!t.s) return;
    QStyle::PrimitiveElement pe = QStyle::PE_IndicatorArrowUp;
    switch (direction) {
    case TScrollDirection::Up:
        pe = QStyle::PE_IndicatorArrowUp;
        break;
    case TScrollDirection::Down:
        pe = QStyle::PE_IndicatorArrowDown;
        break;
    case TScrollDirection::Left:
        pe = QStyle::PE_IndicatorArrowLeft;
        break;
    case TScrollDirection::Right:
        pe = QStyle::PE_IndicatorArrowRight;
        break;
    }
    drawArrowButton(t, r, state, QStyle::PE_PanelButtonBevel, pe);
}

}  // namespace cb::gfx
