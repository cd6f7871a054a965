#include "charteditors/gallery/GalleryChart.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/series/ChartSeries.h"
#include "charteditors/gallery/ChartGalleryPanel.h"
#include "platform/gfx/Bitmap.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace cb::charteditors {

using namespace cb::chart;

namespace {
constexpr TColor clNavy = 0x800000;
constexpr TColor clGrey = 0x808080;
constexpr TColor clSilverColor = 0xC0C0C0;
constexpr TColor clWhiteColor = 0xFFFFFF;

QColor ToQColor(TColor c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
}  // namespace

TGalleryChart::TGalleryChart(TChartGalleryPanel* panel) : TCustomChart(panel), FPanel(panel) {
    Legend().SetVisible(false);
    LeftAxis().SetLabels(false);
    BottomAxis().SetLabels(false);
    Title().Font().SetColor(clNavy);
    TView3DOptions& v = View3DOptions();
    v.SetOrthogonal(false);
    v.SetZoom(90);
    v.SetPerspective(55);
    if (panel && panel->FocusRotation()) {
        v.SetRotation(335);
        v.SetElevation(350);
    }
    SetChart3DPercent(100);
    SetClipPoints(false);
    Frame().SetVisible(false);
    SetBevelWidth(2);
    SetBevelOuter(bvNone);
    for (TChartWall* w : {&LeftWall(), &BottomWall()}) {
        w->SetColor(clWhiteColor);
        w->SetSize(4);
        w->Pen().SetColor(clGrey);
    }
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void TGalleryChart::SetGalleryEnabled(bool on) {
    FEnabled = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
    if (on) return;
    Title().Font().SetColor(clGrey);
    LeftWall().Pen().SetColor(clGrey);
    BottomWall().Pen().SetColor(clGrey);
    for (TChartAxis* a : {&LeftAxis(), &BottomAxis()}) {
        a->AxisPen().SetWidth(1);
        a->AxisPen().SetColor(clWhiteColor);
    }
}

void TGalleryChart::SetSmooth(bool on) {
    if (FSmooth == on) return;
    FSmooth = on;
    if (!on) {
        LeftAxis().SetLabels(false);
        BottomAxis().SetLabels(false);
    }
    update();
}

void TGalleryChart::ResetMargins() {
    const int m = View3D() ? 4 : 5;
    for (int i = 0; i < 4; ++i) SetMargin(i, m);
}

void TGalleryChart::ApplyFocusLook(bool view3D) {
    TPlotGradient& g = Gradient();
    g.SetDirection(gdFromTopLeft);
    g.SetStartColor(clSilverColor);
    g.SetEndColor(clWhiteColor);
    g.SetVisible(true);
    if (FPanel && FPanel->FocusRotation()) {
        View3DOptions().SetRotation(345);
        if (NumberOfSeries() > 0) SeriesAt(0)->ApplyGallery3D(view3D);
    }
    Title().Font().SetStyle(cb::gfx::fsBold);
    Title().Font().SetColor(clBlack);
    Title().Font().SetSize(9);
    SetBevelOuter(bvRaised);
    if (isVisible()) setFocus(Qt::OtherFocusReason);
    update();
}

void TGalleryChart::ApplyNormalLook(bool view3D) {
    if (!HasFocusLook()) return;
    Gradient().SetVisible(false);
    SetBevelOuter(bvNone);
    Title().Font().SetStyle(0);
    Title().Font().SetColor(FEnabled ? clNavy : clGrey);
    Title().Font().SetSize(std::stoi(PlotText(TPlotText::txtDefaultFontSize)));
    if (FPanel && FPanel->FocusRotation()) {
        View3DOptions().SetRotation(335);
        if (NumberOfSeries() > 0) SeriesAt(0)->ApplyGallery3D(view3D);
    }
    update();
}

TPoint TGalleryChart::ArrowOrigin() const {
    auto* self = const_cast<TGalleryChart*>(this);
    int w = self->Border().Visible() ? self->Border().Width() : 0;
    int s = w;
    if (self->Shadow().Size() > 0) s += self->Shadow().Size();
    if (FSmooth) {
        s /= 2;
        w /= 2;
    }
    return {4 + w, height() - s};
}

void TGalleryChart::paintEvent(QPaintEvent* e) {
    if (FSmooth && width() > 0 && height() > 0)
        PaintSmooth();
    else
        TCustomChart::paintEvent(e);
    if (FCreatingBitmap) return;
    if (HasFocusLook() && FPanel && FPanel->DisplaySub()) PaintArrow();
    if (FHover) PaintHoverFrame(true);
}

// Drawn at twice the size and resampled; the title is drawn afterwards at
// its own size so that it stays readable.
void TGalleryChart::PaintSmooth() {
    FCreatingBitmap = true;
    LeftAxis().SetLabels(true);
    BottomAxis().SetLabels(true);
    const bool titleVisible = Title().Visible();
    Title().SetVisible(false);
    SetMargin(1, 30);
    const bool repaint = AutoRepaint();
    SetAutoRepaint(false);
    cb::gfx::TBitmap small(width(), height(), cb::gfx::pf24bit);
    try {
        std::unique_ptr<cb::gfx::TBitmap> large = DrawToBitmap(Color(), TRect{0, 0, width() * 2, height() * 2},
                                                                cb::gfx::pf24bit);
        large->Canvas().ReleasePainter();
        SmoothStretch(*large, small, false);
        small.Canvas().ReleasePainter();
    } catch (...) {
        small.Image().fill(ToQColor(Color() == clNone ? clWhiteColor : Color()));
    }
    Title().SetVisible(titleVisible);
    ResetMargins();
    LeftAxis().SetLabels(false);
    BottomAxis().SetLabels(false);
    SetAutoRepaint(repaint);
    FCreatingBitmap = false;

    QPainter p(this);
    p.drawImage(0, 0, small.Image());
    if (!titleVisible) return;
    QFont f(QString::fromStdString(Title().Font().Name()));
    f.setPointSize(Title().Font().Size());
    f.setBold(Title().Font().Bold());
    p.setFont(f);
    p.setPen(ToQColor(Title().Font().Color()));
    QString text;
    for (const std::string& line : Title().Text()) {
        if (!text.isEmpty()) text += '\n';
        text += QString::fromStdString(line);
    }
    p.drawText(QRect(0, 2, width(), 28), Qt::AlignHCenter | Qt::AlignTop, text);
}

void TGalleryChart::PaintArrow() {
    const TPoint o = ArrowOrigin();
    QPainter p(this);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QPoint tri[3] = {{o.X, o.Y - 8}, {o.X + 7, o.Y - 8}, {o.X + 3, o.Y - 4}};
    p.drawPolygon(tri, 3);
}

void TGalleryChart::PaintHoverFrame(bool on) {
    QPainter p(this);
    const int r = width() - 1, b = height() - 1;
    p.setPen(ToQColor(on ? clWhiteColor : Color()));
    p.drawLine(0, b, 0, 0);
    p.drawLine(0, 0, r, 0);
    p.setPen(ToQColor(on ? clGrey : Color()));
    p.drawLine(r, 0, r, b);
    p.drawLine(r, b, 0, b);
}

// Gallery charts are not zoomed or scrolled: a click selects, a double
// click chooses.
void TGalleryChart::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (FEnabled && e->button() == Qt::LeftButton && OnSelect) OnSelect(this);
}

void TGalleryChart::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
    if (!FEnabled || e->button() != Qt::LeftButton) return;
    if (OnSelect) OnSelect(this);
    if (OnChoose) OnChoose(this);
}

void TGalleryChart::mouseMoveEvent(QMouseEvent* e) { e->accept(); }
void TGalleryChart::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }
void TGalleryChart::wheelEvent(QWheelEvent* e) { e->ignore(); }

void TGalleryChart::keyPressEvent(QKeyEvent* e) {
    if (FPanel && !FPanel->IsSubGallery())
        FPanel->HandleKey(e->key(), e->modifiers());
    else
        e->ignore();
}

void TGalleryChart::focusInEvent(QFocusEvent* e) {
    TCustomChart::focusInEvent(e);
    if (FEnabled && OnSelect && e->reason() != Qt::OtherFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
        OnSelect(this);
}

void TGalleryChart::enterEvent(QEnterEvent* e) {
    TCustomChart::enterEvent(e);
    if (!FEnabled) return;
    FHover = true;
    update();
}

void TGalleryChart::leaveEvent(QEvent* e) {
    if (FHover) {
        FHover = false;
        update();
    }
    TCustomChart::leaveEvent(e);
}

}  // namespace cb::charteditors
