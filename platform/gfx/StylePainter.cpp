#include "platform/gfx/StylePainter.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace cb::gfx {

namespace {

QStyle* style() { return qApp ? QApplication::style() : nullptr; }

void applyState(QStyleOption& opt, const TRect& r, TThemeState state) {
    opt.rect = QRect(r.Left, r.Top, r.Width(), r.Height());
    opt.state = QStyle::State_None;
    if (state != TThemeState::Disabled)
        opt.state |= QStyle::State_Enabled;
    if (state == TThemeState::Hot)
        opt.state |= QStyle::State_MouseOver;
    if (state == TThemeState::Pressed)
        opt.state |= QStyle::State_Sunken;
    if (qApp)
        opt.palette = QApplication::palette();
    opt.palette.setCurrentColorGroup(state == TThemeState::Disabled ? QPalette::Disabled : QPalette::Active);
}

} // namespace

bool IsThemeActive() { return true; }

TSize ThemedCheckBoxSize() {
    QStyle* s = style();
    if (!s)
        return {13, 13};
    return {s->pixelMetric(QStyle::PM_IndicatorWidth), s->pixelMetric(QStyle::PM_IndicatorHeight)};
}

void DrawThemedCheckBox(TCanvas& canvas, const TRect& r, TCheckState check, TThemeState state) {
    QStyle* s = style();
    QPainter* p = canvas.Painter();
    if (!s || !p || r.IsEmpty())
        return;
    QStyleOptionButton opt;
    applyState(opt, r, state);
    opt.state |= check == TCheckState::Checked ? QStyle::State_On
               : check == TCheckState::Mixed ? QStyle::State_NoChange : QStyle::State_Off;
    s->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, p);
}

void DrawThemedRadioButton(TCanvas& canvas, const TRect& r, bool checked, TThemeState state) {
    QStyle* s = style();
    QPainter* p = canvas.Painter();
    if (!s || !p || r.IsEmpty())
        return;
    QStyleOptionButton opt;
    applyState(opt, r, state);
    opt.state |= checked ? QStyle::State_On : QStyle::State_Off;
    s->drawPrimitive(QStyle::PE_IndicatorRadioButton, &opt, p);
}

void DrawThemedPushButton(TCanvas& canvas, const TRect& r, TThemeState state, const std::string& caption) {
    QStyle* s = style();
    QPainter* p = canvas.Painter();
    if (!s || !p || r.IsEmpty())
        return;
    QStyleOptionButton opt;
    applyState(opt, r, state);
    if (state != TThemeState::Pressed)
        opt.state |= QStyle::State_Raised;
    opt.text = QString::fromStdString(caption);
    s->drawControl(QStyle::CE_PushButton, &opt, p);
}

void DrawThemedComboButton(TCanvas& canvas, const TRect& r, TThemeState state) {
    QStyle* s = style();
    QPainter* p = canvas.Painter();
    if (!s || !p || r.IsEmpty())
        return;
    QStyleOptionButton button;
    applyState(button, r, state);
    if (state != TThemeState::Pressed)
        button.state |= QStyle::State_Raised;
    s->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, p);
    QStyleOption arrow;
    applyState(arrow, r, state);
    const int inset = std::max(2, std::min(r.Width(), r.Height()) / 4);
    arrow.rect.adjust(inset, inset, -inset, -inset);
    if (state == TThemeState::Pressed)
        arrow.rect.translate(1, 1);
    s->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, p);
}

void DrawThemedScrollArrow(TCanvas& canvas, const TRect& r, TScrollDirection direction, TThemeState state) {
    QStyle* s = style();
    QPainter* p = canvas.Painter();
    if (!s || !p || r.IsEmpty())
        return;
    QStyleOptionButton button;
    applyState(button, r, state);
    if (state != TThemeState::Pressed)
        button.state |= QStyle::State_Raised;
    s->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, p);
    QStyleOption arrow;
    applyState(arrow, r, state);
    const int inset = std::max(2, std::min(r.Width(), r.Height()) / 4);
    arrow.rect.adjust(inset, inset, -inset, -inset);
    if (state == TThemeState::Pressed)
        arrow.rect.translate(1, 1);
    QStyle::PrimitiveElement pe = QStyle::PE_IndicatorArrowUp;
    switch (direction) {
    case TScrollDirection::Up: pe = QStyle::PE_IndicatorArrowUp; break;
    case TScrollDirection::Down: pe = QStyle::PE_IndicatorArrowDown; break;
    case TScrollDirection::Left: pe = QStyle::PE_IndicatorArrowLeft; break;
    case TScrollDirection::Right: pe = QStyle::PE_IndicatorArrowRight; break;
    }
    s->drawPrimitive(pe, &arrow, p);
}

} // namespace cb::gfx
