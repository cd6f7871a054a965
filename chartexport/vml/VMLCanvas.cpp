#include "chartexport/vml/VMLCanvas.h"

#include "chart/canvas/PlotBlend.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotShadow.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace cb::chartexport {

using cb::chart::TPoint;
using cb::chart::TRect;

namespace {

const char Q = '"';

std::string Quoted(const std::string& s) {
    return Q + s + Q;
}

// The end of an element: written out, because an HTML parser takes "/>" of
// an unknown element as an opening tag and would nest what follows in it.
std::string End(const std::string& name) {
    return "></" + name + ">";
}

std::string Pt(int x, int y) {
    return std::to_string(x) + "," + std::to_string(y);
}

// A font name inside a style attribute: quotes and the characters that end
// a declaration are left out.
std::string CssName(const std::string& s) {
    std::string r;
    for (char c : s)
        if (c != '"' && c != '\'' && c != ';' && c != '<' && c != '>' && c != '&' && c != '{' && c != '}') r += c;
    return r;
}

// A number with "." whatever the locale.
std::string Decimal(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::round(v * 100) / 100);
    return std::string(buf, r.ptr);
}

}  // namespace

TVMLCanvas::TVMLCanvas(cb::rtl::TStringList& lines) : FLines(lines), FState(std::make_unique<cb::gfx::TBitmap>(1, 1)) {
    SetBuffered(false);
    AttachCanvas(&FState->Canvas());
    Add("<xml:namespace prefix=" + Quoted("v") + End("xml:namespace"));
    Add("<style>v\\:* {behavior:url(#default#VML);}</style>");
}

TVMLCanvas::~TVMLCanvas() = default;

cb::gfx::TCanvas& TVMLCanvas::StateCanvas() {
    return FState->Canvas();
}

std::string TVMLCanvas::ColorText(TColor c) {
    const TColor rgb = cb::gfx::ColorToRGB(c);
    const int r = cb::gfx::GetRValue(rgb), g = cb::gfx::GetGValue(rgb), b = cb::gfx::GetBValue(rgb);
    static const struct {
        int r, g, b;
        const char* name;
    } names[] = {{0, 0, 0, "black"},      {128, 0, 0, "maroon"},    {255, 0, 0, "red"},      {0, 128, 0, "green"},
                 {128, 128, 0, "olive"},  {0, 255, 0, "lime"},      {255, 255, 0, "yellow"}, {0, 0, 128, "navy"},
                 {128, 0, 128, "purple"}, {0, 128, 128, "teal"},    {128, 128, 128, "gray"}, {192, 192, 192, "silver"},
                 {0, 0, 255, "blue"},     {255, 0, 255, "fuchsia"}, {255, 255, 255, "white"}};
    for (const auto& n : names)
        if (n.r == r && n.g == g && n.b == b) return n.name;
    static const char hex[] = "0123456789ABCDEF";
    std::string s = "#";
    for (int v : {r, g, b}) {
        s += hex[v >> 4];
        s += hex[v & 15];
    }
    return s;
}

std::string TVMLCanvas::Opacity() const {
    if (FTransparency == 0) return {};
    return " opacity=" + Quoted(Decimal((100 - FTransparency) * 0.01));
}

// The dash style or the weight, and the end of the element.
std::string TVMLCanvas::PenTail(const std::string& name) {
    const int width = Pen().Width();
    const auto style = Pen().Style();
    if (style != cb::gfx::psSolid && style != cb::gfx::psInsideFrame) {
        std::string dash;
        switch (style) {
        case cb::gfx::psAlternate:
        case cb::gfx::psDot:
            dash = "dot";
            break;
        case cb::gfx::psDash:
            dash = "dash";
            break;
        case cb::gfx::psDashDot:
            dash = "dashdot";
            break;
        case cb::gfx::psDashDotDot:
            dash = "longdashdotdot";
            break;
        default:
            break;
        }
        const std::string weight = width >= 2 ? " weight=" + Quoted(std::to_string(width)) + " " : "";
        return "><v:stroke dashstyle=" + Quoted(dash) + weight + End("v:stroke") + "</v:" + name + ">";
    }
    return (width >= 2 ? " strokeweight=" + Quoted(std::to_string(width)) + " " : std::string()) + End("v:" + name);
}

std::string TVMLCanvas::PenPart(const std::string& name, bool lineElement) {
    const std::string colour = Quoted(ColorText(Pen().Color()));
    return (lineElement ? std::string(1, Q) + " strokecolor=" : std::string(" strokecolor=")) + colour + PenTail(name);
}

std::string TVMLCanvas::ShapeOpening() {
    std::string s = "<v:shape style=" + std::string(1, Q) +
                    "position:absolute;width:" + std::to_string(FBounds.Width()) +
                    ";height:" + std::to_string(FBounds.Height()) + Q;
    s += BrushClear() ? " filled=" + Quoted("f") : " fillcolor=" + Quoted(ColorText(Brush().Color()));
    s += PenClear() ? " stroked=" + Quoted("f") : " strokecolor=" + Quoted(ColorText(Pen().Color()));
    return s + Opacity() + ">";
}

std::unique_ptr<cb::chart::TPlotBlend> TVMLCanvas::BeginTransparency(const TRect&, int percent) {
    FTransparency = std::clamp(percent, 0, 100);
    return nullptr;
}

void TVMLCanvas::EndTransparency(std::unique_ptr<cb::chart::TPlotBlend>) {
    FTransparency = 0;
}

void TVMLCanvas::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (PenClear()) return;
    Add(ShapeOpening());
    Add(" <v:path v=" + std::string(1, Q) + "ar " + Pt(x1, y1) + " " + Pt(x2, y2) + " " + Pt(x3, y3) + " " +
        Pt(x4, y4) + " e" + Q + End("v:path"));
    Add("</v:shape>");
}

void TVMLCanvas::DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (BrushClear() && PenClear()) return;
    Add(ShapeOpening());
    Add(" <v:path v=" + std::string(1, Q) + "m " + Pt((x1 + x2) / 2, (y1 + y2) / 2) + " at " + Pt(x1, y1) + " " +
        Pt(x2, y2) + " " + Pt(x3, y3) + " " + Pt(x4, y4) + " x e" + Q + End("v:path"));
    Add("</v:shape>");
}

void TVMLCanvas::DrawDonutSlice(int xc, int yc, int rx, int ry, double a0, double a1, double holePercent) {
    const double sweep = a1 - a0;
    const int steps = std::max(2, int(std::ceil(std::abs(sweep) / (std::numbers::pi / 90))));
    const double hole = std::clamp(holePercent, 0.0, 100.0) / 100.0;
    std::vector<TPoint> p;
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

void TVMLCanvas::DrawEllipseAtDepth(int x0, int y0, int x1, int y1, int z) {
    ProjectPoint(x0, y0, z);
    ProjectPoint(x1, y1, z);
    if (BrushClear() && PenClear()) return;
    Add("<v:oval style=" + std::string(1, Q) + "position:absolute;left:" + std::to_string(x0) +
        ";top:" + std::to_string(y0) + ";height:" + std::to_string(y1 - y0) + ";width:" + std::to_string(x1 - x0) + Q +
        (BrushClear() ? " filled=" + Quoted("f") : " fillcolor=" + Quoted(ColorText(Brush().Color()))) + Opacity() +
        (PenClear() ? " stroked=" + Quoted("f") + End("v:oval") : PenPart("oval", false)));
}

void TVMLCanvas::RectElement(const char* name, TRect r, bool withPen) {
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    const bool pen = withPen && !PenClear();
    if (BrushClear() && !pen) return;
    std::string s = std::string("<v:") + name + " style=" + Q + "position:absolute;left:" + std::to_string(r.Left) +
                    ";top:" + std::to_string(r.Top) + ";width:" + std::to_string(r.Right - r.Left - 1) +
                    ";height:" + std::to_string(r.Bottom - r.Top - 1) + Q;
    s += BrushClear() ? " filled=" + Quoted("false") : " fillcolor=" + Quoted(ColorText(Brush().Color()));
    s += pen ? " strokecolor=" + Quoted(ColorText(Pen().Color())) : " stroked=" + Quoted("f");
    s += Opacity();
    s += pen ? PenTail(name) : End(std::string("v:") + name);
    Add(s);
}

void TVMLCanvas::FillRectangle(const TRect& r) {
    RectElement("rect", r, false);
}

void TVMLCanvas::DrawRect(int x0, int y0, int x1, int y1) {
    RectElement("rect", {x0, y0, x1, y1}, true);
}

void TVMLCanvas::DrawRoundedRect(int x1, int y1, int x2, int y2, int, int) {
    RectElement("roundrect", {x1, y1, x2, y2}, true);
}

void TVMLCanvas::LineToPoint(int x, int y) {
    if (!PenClear())
        Add("<v:line from=" + Quoted(Pt(FX, FY)) + " to=" + std::string(1, Q) + Pt(x, y) + PenPart("line", true));
    FX = x;
    FY = y;
}

void TVMLCanvas::PathShape(std::span<const TPoint> points, bool closed) {
    if (points.empty()) return;
    std::string path = "m " + Pt(points[0].X, points[0].Y) + " l ";
    for (std::size_t i = 1; i < points.size(); ++i) path += Pt(points[i].X, points[i].Y) + " ";
    Add(ShapeOpening());
    Add(" <v:path v=" + Quoted(path + (closed ? " x e" : " e")) + End("v:path"));
    Add("</v:shape>");
}

void TVMLCanvas::DrawPolyline(std::span<const TPoint> points) {
    if (!PenClear()) PathShape(points, false);
}

void TVMLCanvas::DrawPolygon(std::span<const TPoint> points) {
    if (!BrushClear() || !PenClear()) PathShape(points, true);
}

void TVMLCanvas::FillGradient(const TRect& r, TColor start, TColor end, cb::chart::TGradientDirection direction, int) {
    int angle = 225;
    switch (direction) {
    case cb::chart::gdTopBottom:
        angle = 180;
        break;
    case cb::chart::gdBottomTop:
    case cb::chart::gdFromCenter:
        angle = 0;
        break;
    case cb::chart::gdLeftRight:
        angle = 270;
        break;
    case cb::chart::gdRightLeft:
        angle = 90;
        break;
    case cb::chart::gdFromTopLeft:
        angle = 315;
        break;
    default:
        break;
    }
    Add("<v:shape style=" + std::string(1, Q) + "position:absolute;width:" + std::to_string(FBounds.Width()) +
        ";height:" + std::to_string(FBounds.Height()) + ";" + Q + " stroked=" + Quoted("f") + ">");
    Add(" <v:path v=" + std::string(1, Q) + "M " + Pt(r.Left, r.Top) + " L " + Pt(r.Right, r.Top) + " " +
        Pt(r.Right, r.Bottom) + " " + Pt(r.Left, r.Bottom) + " X E" + Q + End("v:path"));
    Add(" <v:fill type=" + Quoted("gradient") + " color=" + Quoted(ColorText(start)) +
        " color2=" + Quoted(ColorText(end)));
    if (FTransparency != 0) Add(Opacity());
    Add(" method=" + Quoted("sigma") + " angle=" + Quoted(std::to_string(angle)) + " focus=" + Quoted("100%") +
        End("v:fill"));
    Add("</v:shape>");
}

void TVMLCanvas::TextElement(int x, int y, const std::string& text, TColor color) {
    const int width = TextWidth(text);
    if ((FTextAlign & 6) == 6)
        x -= width / 2;
    else if (FTextAlign & 2)
        x -= width;
    const cb::gfx::TFont& f = Font();
    std::string style;
    if (f.Bold()) style += " font-weight:bold;";
    if (f.Italic()) style += " font-style:italic;";
    if (f.Underline() && f.StrikeOut())
        style += " text-decoration:underline line-through;";
    else if (f.Underline())
        style += " text-decoration:underline;";
    else if (f.StrikeOut())
        style += " text-decoration:line-through;";
    Add("<v:textbox style=" + std::string(1, Q) + "position:absolute; left:" + std::to_string(x + 1) +
        "; top:" + std::to_string(y + 1) + "; color:" + ColorText(color) + "; text-align:left; " + " font-family:" +
        CssName(f.Name()) + "; font-size:" + std::to_string(int(std::lround(f.Size() * 1.4))) + "; " + style + Q + ">");
    Add(cb::rtl::EscapeMarkup(text));
    Add("</v:textbox>");
}

// Drawn unrotated: VML text boxes are not turned here.
void TVMLCanvas::OutputRotatedText(int x, int y, const std::string& text, double) {
    OutputTextAtDepth(x, y, 0, text);
}

void TVMLCanvas::OutputRotatedTextAtDepth(int x, int y, int z, const std::string& text, double) {
    OutputTextAtDepth(x, y, z, text);
}

void TVMLCanvas::OutputTextAtDepth(int x, int y, int z, const std::string& text) {
    ProjectPoint(x, y, z);
    const cb::chart::TPlotFont* chartFont = ChartFont();
    const TColor colour = chartFont ? chartFont->Color() : Font().Color();
    const cb::chart::TPlotShadow* sh = chartFont ? chartFont->ShadowIfAny() : nullptr;
    const int h = sh ? sh->HorizSize() : 0, v = sh ? sh->VertSize() : 0;
    if (h != 0 || v != 0) {
        TextElement(x + std::max(h, 0), y + std::max(v, 0), text, sh->Color());
        TextElement(x + std::max(-h, 0), y + std::max(-v, 0), text, colour);
    } else {
        TextElement(x, y, text, colour);
    }
}

TRect TVMLCanvas::BeginDraw(cb::gfx::TCanvas*, cb::chart::TView3DOptions* options, TColor background, bool is3D,
                            const TRect& r) {
    SetBuffered(false);
    const TRect result = TPlotCanvas3D::BeginDraw(&FState->Canvas(), options, background, is3D, r);
    FBounds = r;
    const std::string w = std::to_string(r.Width()), h = std::to_string(r.Height());
    Add("<v:group style=" + Quoted("width:" + w + ";height:" + h) + " coordsize=" + Quoted(w + "," + h) +
        " coordorigin=" + Quoted(Pt(r.Left, r.Top)) + ">");
    return result;
}

void TVMLCanvas::EndDraw(cb::gfx::TCanvas* target, cb::gfx::TCanvas* reattach, const TRect& r) {
    Add("</v:group>");
    TPlotCanvas3D::EndDraw(target, reattach, r);
}

}  // namespace cb::chartexport
