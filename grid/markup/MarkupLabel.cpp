// The mark-up label.
#include "grid/markup/MarkupLabel.h"

#include "grid/markup/HTMLHintWindow.h"
#include "grid/markup/MarkupText.h"
#include "platform/desktop/Shell.h"
#include "platform/rtl/Strings.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace cb::grid {

using namespace cb::gfx;

namespace {

// Only these are handed to the desktop; other targets go to OnAnchorClick.
bool IsWebOrMail(const std::string& t) {
    const std::string u = cb::rtl::UpperCase(t.substr(0, 8));
    return u.rfind("HTTP://", 0) == 0 || u.rfind("HTTPS://", 0) == 0 || u.rfind("MAILTO:", 0) == 0;
}

}  // namespace

TMarkupLabel::TMarkupLabel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    FFont.SetName("Tahoma");
    FFont.SetSize(8);
}

TMarkupLabel::~TMarkupLabel() = default;

void TMarkupLabel::SetHTMLText(const std::string& text) {
    std::string t;
    t.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') t += c;
    if (t == FText) return;
    FText = std::move(t);
    FCache.Clear();
    FHoveredLink = -1;
    Changed();
}

void TMarkupLabel::SetHover(bool on) {
    FHover = on;
    update();
}
void TMarkupLabel::SetEllipsis(bool on) {
    if (on == FEllipsis) return;
    FEllipsis = on;
    Changed();
}
void TMarkupLabel::SetURLColor(TColor c) {
    if (c == FURLColor) return;
    FURLColor = c;
    update();
}
void TMarkupLabel::SetVAlignment(TVAlignment v) {
    if (v == FVAlignment) return;
    FVAlignment = v;
    update();
}
void TMarkupLabel::SetAutoSizing(bool on) {
    FAutoSizing = on;
    if (on && (Align == alLeft || Align == alRight)) resize(6, height());
    if (on && (Align == alTop || Align == alBottom)) resize(width(), 6);
    Changed();
}
void TMarkupLabel::SetAutoSizeType(TAutoSizeType t) {
    FAutoSizeType = t;
    SetAutoSizing(FAutoSizing);
}

void TMarkupLabel::Changed() {
    applyAutoSize();
    update();
}

TRect TMarkupLabel::textArea() const {
    TRect r{0, 0, width(), height()};
    int inset = 0;
    if (BevelInner != bvNone || BevelOuter != bvNone) inset += BevelWidth;
    if (BorderSingle) inset += BorderWidth;
    r.Left += inset;
    r.Top += inset;
    r.Right -= inset;
    r.Bottom -= inset;
    return r;
}

THTMLRenderInput TMarkupLabel::input(const TRect& area) const {
    THTMLRenderInput in;
    in.Rect = area;
    in.Images = Images;
    in.Container = PictureContainer;
    in.Cache = const_cast<THTMLPictureCache*>(&FCache);
    in.ShadowOffset = ShadowOffset;
    in.ShadowColor = ShadowColor;
    in.LinkColor = FURLColor;
    in.HoverBackColor = HoverColor;
    in.HoverTextColor = HoverFontColor;
    in.HoverOnly = FHover;
    in.HoverLink = FHoveredLink;
    in.WordWrap = !FEllipsis;
    in.BlinkPhase = false;  // blinking text stays invisible
    in.Controls = false;
    return in;
}

TRect TMarkupLabel::alignedArea(TCanvas& canvas, TRect area) {
    if (FVAlignment == vtaTop) return area;
    THTMLRenderInput in = input(area);
    in.MeasureOnly = true;
    THTMLRenderResult out;
    RenderHTML(canvas, FText, in, out);
    const int free = height() - out.Height;
    if (free > 0) area.Top += FVAlignment == vtaCenter ? free / 2 : free;
    return area;
}

// Sizing to the content is decided here, never while painting.
void TMarkupLabel::applyAutoSize() {
    if (!FAutoSizing) return;
    const bool vert = (Align == alNone || Align == alTop || Align == alBottom) && FAutoSizeType != asHorizontal;
    const bool horz = (Align == alNone || Align == alLeft || Align == alRight) && FAutoSizeType != asVertical;
    TCanvas canvas;
    canvas.Font().Assign(FFont);
    TRect area = textArea();
    if (horz) area.Right += 65535;
    THTMLRenderInput in = input(area);
    in.MeasureOnly = true;
    THTMLRenderResult out;
    RenderHTML(canvas, FText, in, out);
    int w = width(), h = height();
    if (vert) h = out.Height + 6;
    if (horz) w = out.Width + 6;
    if (w != width() || h != height()) resize(w, h);
}

std::string TMarkupLabel::LinkAt(int x, int y, TRect* rect, int* number) {
    TCanvas canvas;
    canvas.Font().Assign(FFont);
    const TRect area = alignedArea(canvas, textArea());
    THTMLRenderInput in = input(area);
    in.HitTestOnly = true;
    in.HoverLink = -1;
    in.Point = {x, y};
    THTMLRenderResult out;
    if (rect) *rect = {-1, -1, -1, -1};
    if (number) *number = -1;
    if (!RenderHTML(canvas, FText, in, out) || out.HitTarget == "ctrl") return {};
    if (rect) *rect = out.HitLinkRect;
    if (number) *number = out.HitLink;
    return out.HitTarget;
}

std::string TMarkupLabel::HintText(int x, int y) {
    if (AnchorHint) {
        std::string target = LinkAt(x, y);
        if (!target.empty()) {
            if (OnAnchorHint) OnAnchorHint(this, target);
            return target;
        }
    }
    if (HintShowFull) return HTMLHint ? FText : HTMLToPlainText(FText);
    return {};
}

void TMarkupLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas canvas(&painter);
    TRect r{0, 0, width(), height()};
    canvas.Brush().SetColor(Color);
    canvas.FillRect(r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvLowered || cut == bvRaised) {
            for (int i = 0; i < BevelWidth; ++i)
                canvas.DrawEdge(r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        }
    };
    bevel(BevelOuter);
    if (BorderSingle && BorderWidth > 0) {
        canvas.Pen().SetColor(clBlack);
        canvas.Pen().SetWidth(BorderWidth);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(r);
        canvas.Pen().SetWidth(1);
    }
    bevel(BevelInner);
    canvas.Font().Assign(FFont);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color);
    canvas.SetBkColor(Color);
    TRect area = textArea();
    if (FAutoSizing && FAutoSizeType != asVertical) area.Right += 65535;
    if (FAutoSizing && FAutoSizeType != asHorizontal) area.Bottom += 65535;
    area = alignedArea(canvas, area);
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    THTMLRenderInput in = input(area);
    in.Point = {mouse.x(), mouse.y()};
    THTMLRenderResult out;
    RenderHTML(canvas, FText, in, out);
}

void TMarkupLabel::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    int number = -1;
    const std::string target = LinkAt(p.x(), p.y(), nullptr, &number);
    if (!target.empty()) {
        if (!FHandCursor || target != FLastTarget || number != FLastLink) {
            if (AnchorHint) QToolTip::hideText();
            setCursor(Qt::PointingHandCursor);
            FHandCursor = true;
            if (OnAnchorEnter) OnAnchorEnter(this, target);
            FLastTarget = target;
            FLastLink = number;
            FHoveredLink = number;
            if (FHover) update();
        }
    } else if (FHandCursor) {
        unsetCursor();
        FHandCursor = false;
        FLastTarget.clear();
        FLastLink = -1;
        FHoveredLink = -1;
        if (OnAnchorExit) OnAnchorExit(this, std::string());
        if (FHover) update();
    }
    QWidget::mouseMoveEvent(e);
}

void TMarkupLabel::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, p.x(), p.y());
    const std::string target = LinkAt(p.x(), p.y());
    if (target.empty()) return;
    if (IsWebOrMail(target)) {
        cb::os::ShellOpen(target);
    } else if (OnAnchorClick) {
        OnAnchorClick(this, target);
    }
}

void TMarkupLabel::enterEvent(QEnterEvent* e) {
    QWidget::enterEvent(e);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TMarkupLabel::leaveEvent(QEvent* e) {
    if (FHover && FHoveredLink >= 0) update();
    FHoveredLink = -1;
    if (FHandCursor) {
        unsetCursor();
        FHandCursor = false;
    }
    QWidget::leaveEvent(e);
    if (OnMouseLeave) OnMouseLeave(this);
}

bool TMarkupLabel::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const std::string hint = HintText(help->pos().x(), help->pos().y());
        if (hint.empty()) {
            QToolTip::hideText();
            if (FHintWindow) FHintWindow->hide();
        } else if (HTMLHint && !AnchorHint) {
            if (!FHintWindow) FHintWindow = std::make_unique<THTMLHintWindow>();
            const QPoint g = help->globalPos();
            FHintWindow->ActivateHint({g.x(), g.y() + 20, g.x(), g.y() + 20}, hint);
        } else {
            QToolTip::showText(help->globalPos() + QPoint(10, -10), QString::fromStdString(hint), this);
        }
        return true;
    }
    return QWidget::event(e);
}

}  // namespace cb::grid
