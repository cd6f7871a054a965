#include "chart/PlotCanvas.h"

#include "chart/ChartBrush.h"
#include "chart/ChartPen.h"
#include "chart/PlotBlend.h"
#include "chart/PlotFont.h"
#include "chart/PlotGeometry.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <cstdlib>

namespace cb::chart {

TPlotCanvas::TPlotCanvas() = default;
TPlotCanvas::~TPlotCanvas()
{
    if (fChartFont)
        fChartFont->SetCanvas(nullptr);
}

void TPlotCanvas::ReleaseChartFont(const TPlotFont* font)
{
    if (fChartFont == font)
        fChartFont = nullptr;
}

void TPlotCanvas::AttachCanvas(cb::gfx::TCanvas* canvas)
{
    if (fCanvas != canvas)
        fClipCount = 0;
    fCanvas = canvas;
}

cb::gfx::TPen& TPlotCanvas::Pen() { return fCanvas->Pen(); }
cb::gfx::TBrush& TPlotCanvas::Brush() { return fCanvas->Brush(); }
cb::gfx::TFont& TPlotCanvas::Font() { return fCanvas->Font(); }

bool TPlotCanvas::NoteClipPopped()
{
    if (fClipCount <= 0)
        return false;
    --fClipCount;
    return true;
}

void TPlotCanvas::SelectPenWithColor(const cb::gfx::TPen& pen, TColor color)
{
    if (IsMonochrome())
        color = clBlack;
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

std::unique_ptr<TPlotBlend> TPlotCanvas::BeginTransparency(const TRect& r, int percent)
{
    fTransparency = percent & 0x7F;
    return std::make_unique<TPlotBlend>(*this, r);
}

void TPlotCanvas::EndTransparency(std::unique_ptr<TPlotBlend> blend)
{
    if (blend)
        blend->DoBlend(fTransparency);
    fTransparency = 0;
}

void TPlotCanvas::DrawBevelFrame(TRect& r, TColor topLeft, TColor bottomRight, int width)
{
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

int TPlotCanvas::TextWidth(const std::string& text)
{
    int w = fCanvas->TextWidth(text);
    if (fChartFont && fChartFont->ShadowIfAny())
        w += std::abs(fChartFont->ShadowIfAny()->HorizSize());
    return w;
}

int TPlotCanvas::TextHeight(const std::string& text)
{
    int h = fCanvas->TextHeight(text);
    if (fChartFont && fChartFont->ShadowIfAny())
        h += std::abs(fChartFont->ShadowIfAny()->VertSize());
    return h;
}

void TPlotCanvas::ClipToRoundRect(const TRect& r, int cornerSize)
{
    fCanvas->PushClipRoundRect(r, cornerSize, cornerSize);
    NoteClipPushed();
}

void TPlotCanvas::ClipToEllipse(const TRect& r, bool /*inverted*/)
{
    // No caller asks for the outside of the ellipse; both clip to its inside.
    fCanvas->PushClipEllipse(r);
    NoteClipPushed();
}

void TPlotCanvas::ClipToPolygon(std::span<const TPoint> points)
{
    fCanvas->PushClipPolygon(points);
    NoteClipPushed();
}

void TPlotCanvas::RestoreDefaults()
{
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
    fCanvas->SetTextCharacterExtra(0);
    fTransparency = 0;
    if (fChartFont)
        fChartFont->SetCanvas(nullptr);
    fChartFont = nullptr;
    SetBackgroundColor(clWhite);
    SetBackgroundMode(cb::gfx::TRANSPARENT);
    SetTextAlignment(0);
}

void TPlotCanvas::SelectPen(const cb::gfx::TPen& pen) { SelectPenWithColor(pen, pen.Color()); }

void TPlotCanvas::AssignBrush(const TChartBrush& brush, TColor color)
{
    AssignBrushColor(brush, color, brush.Color());
}

void TPlotCanvas::AssignBrushColor(const TChartBrush& brush, TColor color, TColor backgroundColor)
{
    if (IsMonochrome())
        color = clWhite;
    cb::gfx::TBrush& b = Brush();
    if (brush.HasImage() && !const_cast<TChartBrush&>(brush).Image().Empty()) {
        b.SetStyle(cb::gfx::bsSolid);
        b.SetBitmap(&const_cast<TChartBrush&>(brush).Image());
        fCanvas->SetBkMode(cb::gfx::OPAQUE);
        fCanvas->SetBkColor(ColorToRGB(color));
        return;
    }
    b.SetBitmap(nullptr);
    if (b.Color() != color)
        b.SetColor(color);
    if (b.Style() != brush.Style())
        b.SetStyle(brush.Style());
    if (backgroundColor == clNone)
        SetBackgroundMode(cb::gfx::TRANSPARENT);
    else {
        SetBackgroundMode(cb::gfx::OPAQUE);
        SetBackgroundColor(backgroundColor);
    }
}

void TPlotCanvas::SetDarkerFill(TColor color, int amount)
{
    const TColor c = DarkenColor(color, amount);
    if (Brush().Style() == cb::gfx::bsSolid)
        Brush().SetColor(c);
    else
        SetBackgroundColor(c);
}

void TPlotCanvas::AssignFont(TPlotFont& font)
{
    cb::gfx::TFont& f = Font();
    if (font.PixelsPerInch() != f.PixelsPerInch())
        WithoutChangeEvent(font, [&] { font.SetPixelsPerInch(f.PixelsPerInch()); });
    f.BeginUpdate();
    f.Assign(font);
    if (fFontZoom != 100)
        f.SetSize(Round(font.Size() * fFontZoom * 0.01));
    if (IsMonochrome())
        f.SetColor(clBlack);
    f.EndUpdate();
    if (fCanvas->TextCharacterExtra() != font.InterCharSize())
        fCanvas->SetTextCharacterExtra(font.InterCharSize());
    if (fChartFont && fChartFont != &font)
        fChartFont->SetCanvas(nullptr);
    fChartFont = &font;
    font.SetCanvas(this);
}

int TPlotCanvas::FontHeight() { return TextHeight("W"); }

bool TPlotCanvas::ConvexHull(std::vector<TPoint>& points) { return cb::chart::ConvexHull(points); }

} // namespace cb::chart
