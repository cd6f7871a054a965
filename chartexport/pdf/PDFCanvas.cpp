#include "chartexport/pdf/PDFCanvas.h"

#include "chart/canvas/PlotBlend.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotShadow.h"
#include "chartexport/pdf/PDFChartObject.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/FontCache.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cb::chartexport {

using cb::chart::TPoint;
using cb::chart::TRect;

namespace {
constexpr const char* CRLF = "\r\n";
constexpr double kBezier = 0.552;

std::string N3(double v) {
    return cb::rtl::PdfNumber(v, 3);
}
std::string N2(double v) {
    return cb::rtl::PdfNumber(v, 2);
}

}  // namespace

TPDFCanvas::TPDFCanvas(TPDFChartObject& chartObject)
    : FObject(chartObject), FState(std::make_unique<cb::gfx::TBitmap>(1, 1)) {
    SetBuffered(false);
    AttachCanvas(&FState->Canvas());
}

TPDFCanvas::~TPDFCanvas() = default;

cb::gfx::TCanvas& TPDFCanvas::StateCanvas() {
    return FState->Canvas();
}

void TPDFCanvas::Out(const std::string& s) {
    FObject.Content.WriteBuffer(s);
}

std::string TPDFCanvas::ColorText(TColor c) const {
    const TColor rgb = cb::gfx::ColorToRGB(c);
    return N2(cb::gfx::GetRValue(rgb) / 255.0) + std::string(" ") + N2(cb::gfx::GetGValue(rgb) / 255.0) + " " +
           N2(cb::gfx::GetBValue(rgb) / 255.0);
}

std::string TPDFCanvas::PenText() {
    const char* dash = "[ ] 0 d";
    switch (Pen().Style()) {
    case cb::gfx::psDash:
        dash = "[3 3] 0 d";
        break;
    case cb::gfx::psDot:
        dash = "[2] 1 d";
        break;
    case cb::gfx::psDashDot:
        dash = "[3 2] 2 d";
        break;
    default:
        break;
    }
    return ColorText(Pen().Color()) + std::string(" RG ") + std::to_string(Pen().Width()) + " w " + dash;
}

std::string TPDFCanvas::BrushText() {
    return ColorText(Brush().Color()) + " rg";
}

std::string TPDFCanvas::Pt(double x, double y) const {
    return N3(x) + std::string(" ") + N3(FPageHeight - y);
}

std::string TPDFCanvas::PaintOp() {
    if (BrushClear()) return std::string(" S") + CRLF;
    if (PenClear()) return std::string(" f") + CRLF;
    return std::string(" B") + CRLF;
}

// --- 2D ---

std::unique_ptr<cb::chart::TPlotBlend> TPDFCanvas::BeginTransparency(const TRect&, int) {
    return nullptr;
}
void TPDFCanvas::EndTransparency(std::unique_ptr<cb::chart::TPlotBlend>) {}

void TPDFCanvas::LineToPoint(int x, int y) {
    if (!PenClear())
        Out(PenText() + std::string(" ") + Pt(FX, FY) + std::string(" m ") + Pt(x, y) + std::string(" l S") + CRLF);
    FX = x;
    FY = y;
}

void TPDFCanvas::RectOps(double left, double top, double right, double bottom, bool fillOnly) {
    if (fillOnly) {
        Out(BrushText() + std::string(" ") + N3(left) + std::string(" ") + N3(FPageHeight - bottom) + std::string(" ") +
            N3(right - left) + " " + N3(bottom - top) + " re" + std::string(" f") + CRLF);
        return;
    }
    Out(PenText() + std::string(" ") + BrushText() + std::string(" ") + N3(left) + std::string(" ") +
        N3(FPageHeight - bottom) + std::string(" ") + N3(right - left) + " " + N3(bottom - top) + " re");
    Out(PaintOp());
}

void TPDFCanvas::FillRectangle(const TRect& r) {
    // A fill never strokes a border, as on the screen.
    if (!BrushClear()) RectOps(r.Left, r.Top, r.Right, r.Bottom, true);
}

void TPDFCanvas::FillBackground(const TRect& r) {
    FillRectangle(r);
}

void TPDFCanvas::DrawRect(int x0, int y0, int x1, int y1) {
    if (!BrushClear() || !PenClear()) RectOps(x0, y0, x1, y1, false);
}

void TPDFCanvas::DrawRoundedRect(int x1, int y1, int x2, int y2, int, int) {
    DrawRect(x1, y1, x2, y2);
}

void TPDFCanvas::FillGradient(const TRect& r, TColor start, TColor end, cb::chart::TGradientDirection direction, int) {
    // Bands of interpolated colour along the direction; the other kinds are
    // filled with the middle colour.
    const TColor a = cb::gfx::ColorToRGB(start), b = cb::gfx::ColorToRGB(end);
    auto mix = [&](double t) {
        auto ch = [&](int x, int y) { return int(std::lround(x + (y - x) * t)); };
        return cb::gfx::RGB(ch(cb::gfx::GetRValue(a), cb::gfx::GetRValue(b)),
                            ch(cb::gfx::GetGValue(a), cb::gfx::GetGValue(b)),
                            ch(cb::gfx::GetBValue(a), cb::gfx::GetBValue(b)));
    };
    const bool vertical = direction == cb::chart::gdTopBottom || direction == cb::chart::gdBottomTop;
    const bool horizontal = direction == cb::chart::gdLeftRight || direction == cb::chart::gdRightLeft;
    if (!vertical && !horizontal) {
        Out(ColorText(mix(0.5)) + std::string(" rg ") + N3(r.Left) + std::string(" ") + N3(FPageHeight - r.Bottom) +
            std::string(" ") + N3(r.Width()) + " " + N3(r.Height()) + std::string(" re f") + CRLF);
        return;
    }
    const bool reverse = direction == cb::chart::gdBottomTop || direction == cb::chart::gdRightLeft;
    const int extent = vertical ? r.Height() : r.Width();
    const int bands = std::clamp(extent, 1, 64);
    for (int i = 0; i < bands; ++i) {
        const double f0 = double(i) / bands, f1 = double(i + 1) / bands;
        const double t = (i + 0.5) / bands;
        const std::string col = ColorText(mix(reverse ? 1 - t : t)) + " rg ";
        if (vertical) {
            const double top = r.Top + f0 * extent, bottom = r.Top + f1 * extent;
            Out(col + N3(r.Left) + std::string(" ") + N3(FPageHeight - bottom) + std::string(" ") + N3(r.Width()) +
                std::string(" ") + N3(bottom - top) + std::string(" re f") + CRLF);
        } else {
            const double left = r.Left + f0 * extent, right = r.Left + f1 * extent;
            Out(col + N3(left) + std::string(" ") + N3(FPageHeight - r.Bottom) + std::string(" ") + N3(right - left) +
                std::string(" ") + N3(r.Height()) + std::string(" re f") + CRLF);
        }
    }
}

void TPDFCanvas::DrawPolygon(std::span<const TPoint> points) {
    if (points.empty() || (BrushClear() && PenClear())) return;
    std::string s;
    if (!PenClear()) s += PenText() + " ";
    s += Pt(points[0].X, points[0].Y) + std::string(" m") + CRLF;
    for (std::size_t i = 1; i < points.size(); ++i) s += Pt(points[i].X, points[i].Y) + std::string(" l") + CRLF;
    s += "h ";
    if (BrushClear())
        s += std::string(" S") + CRLF;
    else
        s += BrushText() + (PenClear() ? " f" : " B") + CRLF;
    Out(s);
}

void TPDFCanvas::DrawPolyline(std::span<const TPoint> points) {
    if (points.size() < 2 || PenClear()) return;
    std::string s = PenText() + std::string(" ") + Pt(points[0].X, points[0].Y) + std::string(" m") + CRLF;
    for (std::size_t i = 1; i < points.size(); ++i) s += Pt(points[i].X, points[i].Y) + std::string(" l") + CRLF;
    Out(s + std::string("S") + CRLF);
}

void TPDFCanvas::DrawDonutSlice(int xc, int yc, int rx, int ry, double a0, double a1, double holePercent) {
    // Outer edge from a0 to a1, inner edge back, as one polygon.
    const double sweep = a1 - a0;
    const int steps = std::max(2, int(std::ceil(std::abs(sweep) / (std::numbers::pi / 90))));
    const double hole = std::clamp(holePercent, 0.0, 100.0) / 100.0;
    std::vector<TPoint> p;
    p.reserve(std::size_t(steps + 1) * 2);
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + sweep * i / steps;
        p.push_back({xc + int(std::lround(rx * std::cos(a))), yc - int(std::lround(ry * std::sin(a)))});
    }
    for (int i = steps; i >= 0; --i) {
        const double a = a0 + sweep * i / steps;
        p.push_back({xc + int(std::lround(rx * hole * std::cos(a))), yc - int(std::lround(ry * hole * std::sin(a)))});
    }
    DrawPolygon(p);
}

void TPDFCanvas::EllipsePath(double cx, double cy, double rx, double ry) {
    const double k = kBezier;
    auto c = [&](double x1, double y1, double x2, double y2, double x3, double y3) {
        return N3(x1) + std::string(" ") + N3(y1) + std::string(" ") + N3(x2) + std::string(" ") + N3(y2) +
               std::string(" ") + N3(x3) + std::string(" ") + N3(y3) + std::string(" c") + CRLF;
    };
    Out(N3(cx + rx) + std::string(" ") + N3(cy) + " m " + c(cx + rx, cy + k * ry, cx + k * rx, cy + ry, cx, cy + ry) +
        c(cx - k * rx, cy + ry, cx - rx, cy + k * ry, cx - rx, cy) +
        c(cx - rx, cy - k * ry, cx - k * rx, cy - ry, cx, cy - ry) +
        c(cx + k * rx, cy - ry, cx + rx, cy - k * ry, cx + rx, cy));
}

void TPDFCanvas::DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) {
    if (BrushClear() && PenClear()) return;
    ProjectPoint(x1, y1, z);
    ProjectPoint(x2, y2, z);
    Out(PenText() + std::string(" ") + BrushText() + " ");
    EllipsePath((x1 + x2) / 2.0, FPageHeight - (y1 + y2) / 2.0, (x2 - x1) / 2.0, (y2 - y1) / 2.0);
    Out(PaintOp());
}

void TPDFCanvas::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcOps(false, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPDFCanvas::DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcOps(true, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPDFCanvas::ArcOps(bool pie, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (BrushClear() && PenClear()) return;
    const bool fill = pie && !BrushClear();
    Out(PenText() + (fill ? std::string(" ") + BrushText() + CRLF : std::string(" ")));
    const double cx = (x1 + x2) / 2.0, rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    double cy = (y1 + y2) / 2.0;
    const bool flatten = rx != ry;
    if (flatten) {
        Out(std::string("q") + CRLF);
        if (rx > ry) {
            const double k = ry / rx, t = (1 - k) * (FPageHeight - cy);
            Out(std::string("1 0 0 ") + N3(k) + std::string(" 0 ") + N3(t) + std::string(" cm") + CRLF);
        } else {
            const double k = rx / ry, t = (1 - k) * cx;
            Out(N3(k) + std::string(" 0 0 1 ") + N3(t) + " 0" + std::string(" cm") + CRLF);
        }
    }
    constexpr double twoPi = 2 * std::numbers::pi;
    double start = std::atan2(cy - y3, x3 - cx);
    if (start < 0) start += twoPi;
    double end = std::atan2(cy - y4, x4 - cx);
    if (end <= 0) end += twoPi;
    if (pie) Out(Pt(cx, cy) + std::string(" m") + CRLF);
    cy = FPageHeight - cy;
    const double d = end >= start ? 1 : -1;
    const double sweep = end - start;
    int n = 1;
    while (std::abs(sweep) / n > std::numbers::pi / 2 + 1e-12) ++n;
    const double r = std::max(rx, ry);
    const double phi = std::abs(sweep) / (2 * n);
    const double p = std::cos(phi), q = std::sin(phi);
    for (int i = 0; i < n; ++i) {
        const double mid = start + sweep / (2 * n) + i * sweep / n;
        const double cm = std::cos(mid), sm = std::sin(mid);
        auto at = [&](double x, double y) {
            return N3(x * cm - y * sm + cx) + std::string(" ") + N3(x * sm + y * cm + cy);
        };
        const double k = q == 0 ? 0 : r * (1 - p) * (p - 3) / (3 * q);
        if (i == 0) Out(at(r * p, -d * r * q) + (pie ? " l" : " m") + CRLF);
        Out(at((4 - p) * r / 3, d * k) + " " + at((4 - p) * r / 3, -d * k) + " " + at(r * p, d * r * q) +
            std::string(" c") + CRLF);
    }
    if (fill)
        Out(std::string(PenClear() ? " h f" : " h B") + CRLF);
    else
        Out(std::string(pie ? " s" : " S") + CRLF);
    if (flatten) Out(std::string("Q") + CRLF);
}

void TPDFCanvas::DrawGraphic(int x, int y, const cb::gfx::TGraphic* graphic) {
    if (graphic && !graphic->Empty()) InlineImage({x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TPDFCanvas::StretchGraphic(const TRect& r, const cb::gfx::TGraphic* graphic) {
    if (graphic && !graphic->Empty() && r.Width() > 0 && r.Height() > 0) InlineImage(r, graphic);
}

// The picture drawn at its own size into an inline RGB image placed in r.
void TPDFCanvas::InlineImage(const TRect& r, const cb::gfx::TGraphic* graphic) {
    const int w = std::min(graphic->Width(), 4096), h = std::min(graphic->Height(), 4096);
    cb::gfx::TBitmap bmp(w, h, cb::gfx::pf24bit);
    graphic->Draw(bmp.Canvas(), {0, 0, w, h});
    bmp.Canvas().ReleasePainter();
    const QImage img = bmp.Image().convertToFormat(QImage::Format_RGB888);
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string s = std::string("q ") + N3(r.Width()) + std::string(" 0 0 ") + N3(r.Height()) + std::string(" ") +
                    N3(r.Left) + " " + N3(FPageHeight - r.Bottom) + std::string(" cm") + CRLF + std::string("BI /W ") +
                    std::to_string(w) + " /H " + std::to_string(h) + std::string(" /CS /RGB /BPC 8 /F /AHx ID") + CRLF;
    for (int y = 0; y < h; ++y) {
        const uchar* line = img.constScanLine(y);
        for (int i = 0; i < w * 3; ++i) {
            s += hex[line[i] >> 4];
            s += hex[line[i] & 15];
        }
        s += CRLF;
    }
    Out(s + std::string(">") + CRLF + std::string("EI Q") + CRLF);
}

// --- clipping: each clipping writes "q" and its path; RemoveClip closes it ---

void TPDFCanvas::PushClip(const std::string& path) {
    Out(std::string("q") + CRLF + path);
    FClips.push_back(true);
    NoteClipPushed();
}

void TPDFCanvas::ClipToRect(const TRect& r) {
    PushClip(N2(r.Left) + std::string(" ") + N2(FPageHeight - r.Bottom) + std::string(" ") + N2(r.Width()) +
             std::string(" ") + N2(r.Height()) + " re W n" + CRLF);
}

void TPDFCanvas::ClipToRoundRect(const TRect& r, int) {
    ClipToRect(r);
}

void TPDFCanvas::ClipToEllipse(const TRect& r, bool) {
    Out(std::string("q") + CRLF);
    EllipsePath((r.Left + r.Right) / 2.0, FPageHeight - (r.Top + r.Bottom) / 2.0, r.Width() / 2.0, r.Height() / 2.0);
    Out(std::string("W n") + CRLF);
    FClips.push_back(true);
    NoteClipPushed();
}

void TPDFCanvas::ClipToPolygon(std::span<const TPoint> points) {
    if (points.size() < 3) {
        FClips.push_back(false);
        NoteClipPushed();
        return;
    }
    std::string s = Pt(points[0].X, points[0].Y) + std::string(" m") + CRLF;
    for (std::size_t i = 1; i < points.size(); ++i) s += Pt(points[i].X, points[i].Y) + std::string(" l") + CRLF;
    PushClip(s + std::string("h W n") + CRLF);
}

void TPDFCanvas::RemoveClip() {
    if (FClips.empty()) return;
    if (FClips.back()) Out(std::string("Q") + CRLF);
    FClips.pop_back();
    NoteClipPopped();
}

// --- text ---

void TPDFCanvas::OutputRotatedText(int x, int y, const std::string& text, double angle) {
    OutputRotatedTextAtDepth(x, y, 0, text, angle);
}

void TPDFCanvas::OutputTextAtDepth(int x, int y, int z, const std::string& text) {
    OutputRotatedTextAtDepth(x, y, z, text, 0);
}

void TPDFCanvas::OutputRotatedTextAtDepth(int x, int y, int z, const std::string& text, double angle) {
    ProjectPoint(x, y, z);
    const cb::chart::TPlotFont* chartFont = ChartFont();
    const cb::chart::TPlotShadow* sh = chartFont ? chartFont->ShadowIfAny() : nullptr;
    const int h = sh ? sh->HorizSize() : 0, v = sh ? sh->VertSize() : 0;
    if (h != 0 || v != 0) {
        TextOps(x + std::max(h, 0), y + std::max(v, 0), text, angle);
        TextOps(x + std::max(-h, 0), y + std::max(-v, 0), text, angle);
    } else {
        TextOps(x, y, text, angle);
    }
}

void TPDFCanvas::TextOps(double x, double y, const std::string& text, double angle) {
    const double a = angle * 0.01745329;
    const cb::gfx::TFont& font = ChartFont() ? static_cast<const cb::gfx::TFont&>(*ChartFont()) : Font();
    int n = FObject.Fonts.Find(font);
    if (n < 0) n = FObject.Fonts.Add(font);
    const TPlotPDFFontListEntry& entry = FObject.Fonts.Item(n);
    const int spacing = ChartFont() ? ChartFont()->InterCharSize() : 0;
    std::string s = ColorText(Font().Color()) + " rg " + "BT " + std::string("/F") + std::to_string(n) + " " +
                    std::to_string(font.Size()) + std::string(" Tf ") + std::to_string(spacing) + " Tc " + " ";
    double w = 0;
    const unsigned align = GetTextAlignment();
    if ((align & cb::gfx::TA_CENTER) == cb::gfx::TA_CENTER)
        w = TextWidth(text) / 2.0;
    else if (align & cb::gfx::TA_RIGHT)
        w = TextWidth(text);
    w *= 72.0 / entry.DigitizedAspectX;
    // From the anchor to the baseline: the text's height below a top anchor;
    // a bottom anchor has the descent below the baseline, a baseline anchor
    // nothing (as the screen canvas places them).
    const double scaleY = 72.0 / entry.DigitizedAspectY;
    double hgt = TextHeight(text) * scaleY;
    if ((align & cb::gfx::TA_BASELINE) == cb::gfx::TA_BASELINE)
        hgt = 0;
    else if (align & cb::gfx::TA_BOTTOM)
        hgt = -font.CacheEntry().tm.Descent * scaleY;
    const double ca = std::cos(a), sa = std::sin(a);
    const double Y = FPageHeight - y;
    const double tx = x - (w * ca - hgt * sa), ty = Y - (w * sa + hgt * ca);
    s += N3(ca) + std::string(" ") + N3(sa) + std::string(" ") + N3(-sa) + std::string(" ") + N3(ca) +
         std::string(" ") + N3(tx) + std::string(" ") + N3(ty) + " Tm ";
    s += std::string("(") + cb::rtl::PdfEscapeString(cb::rtl::Utf8ToWinAnsi(text)) + ") Tj " + std::string("ET") + CRLF;
    Out(s);
}

// --- 3D ---

TRect TPDFCanvas::BeginDraw(cb::gfx::TCanvas*, cb::chart::TView3DOptions* options, TColor background, bool is3D,
                            const TRect& r) {
    SetBuffered(false);
    const TRect result = TPlotCanvas3D::BeginDraw(&FState->Canvas(), options, background, is3D, r);
    while (!FClips.empty()) RemoveClip();
    FPageWidth = r.Width();
    FPageHeight = r.Height();
    return result;
}

void TPDFCanvas::EndDraw(cb::gfx::TCanvas* target, cb::gfx::TCanvas* reattach, const TRect& r) {
    // Clippings left open are closed, so q and Q balance.
    while (!FClips.empty()) RemoveClip();
    TPlotCanvas3D::EndDraw(target, reattach, r);
}

}  // namespace cb::chartexport
