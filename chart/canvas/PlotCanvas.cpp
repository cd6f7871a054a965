#include "chart/canvas/PlotCanvas.h"

#include "chart/core/PlotGeometry.h"
#include "chart/style/ChartBrush.h"
#include "chart/style/ChartPen.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/style/PlotFont.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <cstdlib>

namespace cb::chart {

TPlotCanvas::TPlotCanvas() = default;
TPlotCanvas::~TPlotCanvas() {
    if (FChartFont) FChartFont->SetCanvas(nullptr);
}

void TPlotCanvas::ReleaseChartFont(const TPlotFont* font) {
    if (FChartFont == font) FChartFont = nullptr;
}

void TPlotCanvas::AttachCanvas(cb::gfx::TCanvas* canvas) {
    if (FCanvas != canvas) FClipCount = 0;
    FCanvas = canvas;
}

cb::gfx::TPen& TPlotCanvas::Pen() {
    return FCanvas->Pen();
}
cb::gfx::TBrush& TPlotCanvas::Brush() {
    return FCanvas->Brush();
}
cb::gfx::TFont& TPlotCanvas::Font() {
    return FCanvas->Font();
}

bool TPlotCanvas::NoteClipPopped() {
    if (FClipCount <= 0) return false;
    --FClipCount;
    return true;
}

void TPlotCanvas::SelectPenWithColor(const cb::gfx::TPen& pen, TColor color) {
    if (IsMonochrome()) color = clBlack;
    cb::gfx::TPen& p = Pen();
    const auto* chartPen = dynamic_cast<const TChartPen*>(&pen);
    if (chartPen && !chartPen->Visible()) {
        p.SetStyle(cb::gfx::psClear);
        return;
    }
    p.BeginUpdate();
    p.Assign(pen);
    if (chartPen && chartPen->SmallDots() && !IsFull3D()) {
        p.SetStyle(cb::gfx::psAlternate);
        p.SetWidth(1);
    }
    p.SetColor(color);
    p.EndUpdate();
}

std::unique_ptr<TPlotBlend> TPlotCanvas::BeginTransparency(const TRect& r, int percent) {
    FTransparency = percent & 0x7F;
    return std::make_unique<TPlotBlend>(*this, r);
}

void TPlotCanvas::EndTransparency(std::unique_ptr<TPlotBlend> blend) {
    if (blend) blend->DoBlend(FTransparency);
    FTransparency = 0;
}

void TPlotCanvas::DrawBevelFrame(TRect& r, TColor topLeft, TColor bottomRight, int width) {
    cb::gfx::TPen& p = Pen();
    p.SetWidth(1);
    p.SetStyle(cb::gfx::psSolid);
    --r.Right;
    --r.Bottom;
    for (int i = 0; i < width; ++i) {
        p.SetColor(topLeft);
        const TPoint a[3] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        DrawPolyline(a);
        p.SetColor(bottomRight);
        const TPoint b[3] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        DrawPolyline(b);
        r.Left += 1;
        r.Top += 1;
        r.Right -= 1;
        r.Bottom -= 1;
    }
    ++r.Right;
    ++r.Bottom;
}

int TPlotCanvas::TextWidth(const std::string& text) {
    int w = FCanvas->TextWidth(text);
    if (FChartFont && FChartFont->ShadowIfAny()) w += std::abs(FChartFont->ShadowIfAny()->HorizSize());
    return w;
}

int TPlotCanvas::TextHeight(const std::string& text) {
    int h = FCanvas->TextHeight(text);
    if (FChartFont && FChartFont->ShadowIfAny()) h += std::abs(FChartFont->ShadowIfAny()->VertSize());
    return h;
}

void TPlotCanvas::ClipToRoundRect(const TRect& r, int cornerSize) {
    FCanvas->PushClipRoundRect(r, cornerSize, cornerSize);
    NoteClipPushed();
}

void TPlotCanvas::ClipToEllipse(const TRect& r, bool /*inverted*/) {
    // No caller asks for the outside of the ellipse; both clip to its inside.
    FCanvas->PushClipEllipse(r);
    NoteClipPushed();
}

void TPlotCanvas::ClipToPolygon(std::span<const TPoint> points) {
    FCanvas->PushClipPolygon(points);
    NoteClipPushed();
}

void TPlotCanvas::RestoreDefaults() {
    cb::gfx::TPen& p = Pen();
    p.BeginUpdate();
    p.SetColor(clBlack);
    p.SetWidth(1);
    p.SetStyle(cb::gfx::psSolid);
    p.SetMode(cb::gfx::pmCopy);
    p.EndUpdate();
    cb::gfx::TBrush& b = Brush();
    b.SetBitmap(nullptr);
    b.SetColor(clWhite);
    b.SetStyle(cb::gfx::bsSolid);
    cb::gfx::TFont& f = Font();
    f.BeginUpdate();
    f.SetColor(clBlack);
    f.SetStyle(0);
    f.SetCharset(1);
    f.SetName(DefaultChartFontName());
    f.SetSize(DefaultChartFontSize());
    f.SetOrientation(0);
    f.EndUpdate();
    FCanvas->SetTextCharacterExtra(0);
    FTransparency = 0;
    if (FChartFont) FChartFont->SetCanvas(nullptr);
    FChartFont = nullptr;
    SetBackgroundColor(clWhite);
    SetBackgroundMode(cb::gfx::TRANSPARENT);
    SetTextAlignment(0);
}

void TPlotCanvas::SelectPen(const cb::gfx::TPen& pen) {
    SelectPenWithColor(pen, pen.Color());
}

void TPlotCanvas::AssignBrush(const TChartBrush& brush, TColor color) {
    AssignBrushColor(brush, color, brush.Color());
}

void TPlotCanvas::AssignBrushColor(const TChartBrush& brush, TColor color, TColor backgroundColor) {
    if (IsMonochrome()) color = clWhite;
    cb::gfx::TBrush& b = Brush();
    if (brush.HasImage() && !const_cast<TChartBrush&>(brush).Image().Empty()) {
        b.SetStyle(cb::gfx::bsSolid);
        b.SetBitmap(&const_cast<TChartBrush&>(brush).Image());
        FCanvas->SetBkMode(cb::gfx::OPAQUE);
        FCanvas->SetBkColor(ColorToRGB(color));
        return;
    }
    b.SetBitmap(nullptr);
    if (b.Color() != color) b.SetColor(color);
    if (b.Style() != brush.Style()) b.SetStyle(brush.Style());
    if (backgroundColor == clNone)
        SetBackgroundMode(cb::gfx::TRANSPARENT);
    else {
        SetBackgroundMode(cb::gfx::OPAQUE);
        SetBackgroundColor(backgroundColor);
    }
}

void TPlotCanvas::SetDarkerFill(TColor color, int amount) {
    const TColor c = DarkenColor(color, amount);
    if (Brush().Style() == cb::gfx::bsSolid)
        Brush().SetColor(c);
    else
        SetBackgroundColor(c);
}

void TPlotCanvas::AssignFont(TPlotFont& font) {
    cb::gfx::TFont& f = Font();
    if (font.PixelsPerInch() != f.PixelsPerInch())
        WithoutChangeEvent(font, [&] { font.SetPixelsPerInch(f.PixelsPerInch()); });
    f.BeginUpdate();
    f.Assign(font);
    if (FFontZoom != 100) f.SetSize(Round(font.Size() * FFontZoom * 0.01));
    if (IsMonochrome()) f.SetColor(clBlack);
    f.EndUpdate();
    if (FCanvas->TextCharacterExtra() != font.InterCharSize()) FCanvas->SetTextCharacterExtra(font.InterCharSize());
    if (FChartFont && FChartFont != &font) FChartFont->SetCanvas(nullptr);
    FChartFont = &font;
    font.SetCanvas(this);
}

int TPlotCanvas::FontHeight() {
    return TextHeight("W");
}

bool TPlotCanvas::ConvexHull(std::vector<TPoint>& points) {
    return cb::chart::ConvexHull(points);
}

}  // namespace cb::chart
