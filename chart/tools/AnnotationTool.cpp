#include "chart/tools/AnnotationTool.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace cb::chart {

namespace {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(LineSeparator, start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

}  // namespace

// --- box ---

TPlotShapePosition::TPlotShapePosition(TChangeEvent onChange)
    : FOnChange(onChange), FFrame(onChange), FBrush(onChange), FFont(onChange) {
    WithoutChangeEvent(FBrush, [&] { FBrush.SetColor(clWhite); });
}

void TPlotShapePosition::SetLeft(int v) {
    const int w = Width();
    FSettings.Bounds.Left = v;
    FSettings.Bounds.Right = v + w;
    FSettings.CustomPosition = true;
    if (FOnChange) FOnChange();
}

void TPlotShapePosition::SetTop(int v) {
    const int h = Height();
    FSettings.Bounds.Top = v;
    FSettings.Bounds.Bottom = v + h;
    FSettings.CustomPosition = true;
    if (FOnChange) FOnChange();
}

void TPlotShapePosition::SetWidth(int v) {
    FSettings.Bounds.Right = FSettings.Bounds.Left + v;
    if (FOnChange) FOnChange();
}

void TPlotShapePosition::SetHeight(int v) {
    FSettings.Bounds.Bottom = FSettings.Bounds.Top + v;
    if (FOnChange) FOnChange();
}

void TPlotShapePosition::Draw(TPlotCanvas& c) {
    const TRect r = FSettings.Bounds;
    std::unique_ptr<TPlotBlend> blend;
    if (FSettings.Transparency > 0)
        blend = c.BeginTransparency({r.Left, r.Top, r.Right + FSettings.ShadowSize, r.Bottom + FSettings.ShadowSize},
                                    FSettings.Transparency);
    if (FSettings.ShadowSize > 0) {
        c.Pen().SetStyle(cb::gfx::psClear);
        c.Brush().SetStyle(cb::gfx::bsSolid);
        c.Brush().SetColor(FSettings.ShadowColor);
        c.DrawRect(r.Left + FSettings.ShadowSize, r.Top + FSettings.ShadowSize, r.Right + FSettings.ShadowSize,
                   r.Bottom + FSettings.ShadowSize);
    }
    c.AssignBrush(FBrush, FBrush.Color());
    if (FFrame.Visible())
        c.SelectPen(FFrame);
    else
        c.Pen().SetStyle(cb::gfx::psClear);
    c.DrawRect(r.Left, r.Top, r.Right, r.Bottom);
    if (blend) c.EndTransparency(std::move(blend));
}

void TPlotShapePosition::Assign(const TPlotShapePosition& s) {
    FSettings = s.FSettings;
    FFrame.Assign(s.FFrame);
    FBrush.Assign(s.FBrush);
    FFont.Assign(s.FFont);
}

// --- callout ---

TAnnotationCallout::TAnnotationCallout() : TCallout(nullptr) {
    PutVisible(false);
    WithoutChangeEvent(Arrow(), [&] { Arrow().SetVisible(false); });
}

void TAnnotationCallout::Assign(const TSeriesPointer& source) {
    if (auto* s = dynamic_cast<const TAnnotationCallout*>(&source)) {
        FX = s->FX;
        FY = s->FY;
        FZ = s->FZ;
    }
    TCallout::Assign(source);
}

// --- annotation ---

TAnnotationTool::TAnnotationTool()
    : FCallout(std::make_unique<TAnnotationCallout>()),
      FShape(std::make_unique<TPlotShapePosition>([this] { InvalidateChart(); })) {}

TAnnotationTool::~TAnnotationTool() = default;

void TAnnotationTool::SetParentChart(TCustomAxisPanel* chart) {
    TPlotCustomTool::SetParentChart(chart);
    FCallout->SetParentPanel(chart);
    InvalidateChart();
}

std::string TAnnotationTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolAnnotation);
}

void TAnnotationTool::SetPosition(TAnnotationPosition p) {
    FShape->SetCustomPosition(false);
    StoreAndRepaint(FPosition, p);
}

void TAnnotationTool::SetWidth(int v) {
    if (v == Width()) return;
    FAutoSize = false;
    FShape->SetWidth(v);
}

void TAnnotationTool::SetHeight(int v) {
    if (v == Height()) return;
    FAutoSize = false;
    FShape->SetHeight(v);
}

TRect TAnnotationTool::LayoutBox(TPoint* textOrigin) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return FShape->Bounds();
    TCanvas3D& c = *chart->Canvas();
    c.AssignFont(FShape->Font());
    const int h = c.FontHeight();
    const std::string shown = GetDisplayText();
    const std::vector<std::string> lines = splitLines(shown.empty() ? std::string(" ") : shown);
    int w = 0;
    for (const std::string& line : lines) w = std::max(w, c.TextWidth(line));
    const int n = int(lines.size());
    const int cw = chart->width(), ch = chart->height();
    TPoint o;
    if (!FShape->CustomPosition()) {
        const bool right = FPosition == ppRightTop || FPosition == ppRightBottom;
        const bool bottom = FPosition == ppLeftBottom || FPosition == ppRightBottom;
        o = {right ? cw - w - 8 : 10, bottom ? ch - n * h - 8 : 10};
    } else if (FPositionUnits == muPixels)
        o = {FShape->Left() + 4, FShape->Top() + 2};
    else
        o = {Round(FShape->Left() * cw * 0.01), Round(FShape->Top() * ch * 0.01)};
    const int bw = FAutoSize ? w + 6 : FShape->Width();
    const int bh = FAutoSize ? n * h + 4 : FShape->Height();
    if (textOrigin) *textOrigin = o;
    return {o.X - 4, o.Y - 2, o.X - 4 + bw, o.Y - 2 + bh};
}

bool TAnnotationTool::Clicked(int x, int y) {
    const TRect r = LayoutBox();
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

void TAnnotationTool::HandleChartStage(TChartStage code) {
    if (code == csEndOfPaint) draw();
}

void TAnnotationTool::draw() {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    TCanvas3D& c = *chart->Canvas();
    const TRect own = FShape->Bounds();
    TPoint o;
    const TRect box = LayoutBox(&o);
    FShape->SetBounds(box);
    if (FShape->Visible()) FShape->Draw(c);
    c.AssignFont(FShape->Font());
    const int h = c.FontHeight();
    c.SetBackgroundMode(1);
    int x = o.X;
    unsigned align = cb::gfx::TA_LEFT;
    if (FTextAlignment == taCenter) {
        x = (box.Left + box.Right) / 2 + 2;
        align = cb::gfx::TA_CENTER;
    } else if (FTextAlignment == taRightJustify) {
        x = box.Right - 2;
        align = cb::gfx::TA_RIGHT;
    }
    c.SetTextAlignment(align);
    const std::vector<std::string> lines = splitLines(GetDisplayText());
    for (std::size_t i = 0; i < lines.size(); ++i) c.OutputText(x, o.Y + int(i) * h, lines[i]);
    c.SetTextAlignment(cb::gfx::TA_LEFT);
    if (FCallout->Visible() || FCallout->Arrow().Visible()) drawCallout(box);
    FShape->SetBounds(own);
}

void TAnnotationTool::drawCallout(const TRect& box) {
    TPoint p{FCallout->XPosition(), FCallout->YPosition()};
    TPoint s;
    s.X = p.X > box.Right ? box.Right : p.X < box.Left ? box.Left : (box.Left + box.Right) / 2;
    s.Y = p.Y > box.Bottom ? box.Bottom : p.Y < box.Top ? box.Top : (box.Top + box.Bottom) / 2;
    const int d = FCallout->Distance();
    if (d != 0) {
        if (p.X == s.X)
            p.Y += p.Y < s.Y ? d : -d;
        else {
            const double a = std::atan2(double(p.Y - s.Y), double(p.X - s.X));
            p.X -= Round(d * std::cos(a));
            p.Y -= Round(d * std::sin(a));
        }
    }
    FCallout->DrawCallout(p, s, FCallout->ZPosition());
}

void TAnnotationTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x,
                                       int y) {
    if (kind == meDown) {
        if (OnClick && Clicked(x, y)) OnClick(this, button, shift, x, y);
    } else if (kind == meMove && FCursor != 0 && Clicked(x, y)) {
        setChartCursor(FCursor);
        cancelMouse();
    }
}

// --- rectangle ---

TRectangleTool::TRectangleTool() {
    SetAutoSize(false);
    Shape().SetShadowSize(0);
    Shape().SetTransparency(75);
    Shape().SetBounds({10, 10, 60, 60});
    Shape().SetCustomPosition(true);
    SetPositionUnits(muPixels);
    SetCursor(crHandPoint);
}

std::string TRectangleTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolRectangle);
}

int TRectangleTool::edgeAt(int x, int y) {
    if (!Clicked(x, y)) return -1;
    const TRect& r = Shape().Bounds();
    if (std::abs(x - r.Left) < 4) return 0;
    if (std::abs(y - r.Top) < 4) return 1;
    if (std::abs(x - r.Right) < 4) return 2;
    if (std::abs(y - r.Bottom) < 4) return 3;
    return -1;
}

void TRectangleTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) {
    TAnnotationTool::HandleChartMouse(kind, button, shift, x, y);
    if (!Active()) return;
    TPlotShapePosition& box = Shape();
    const TRect r = box.Bounds();
    switch (kind) {
    case meDown: {
        if (button != mbLeft) return;
        FEdge = edgeAt(x, y);
        if (FEdge >= 0) {
            FOffsetX = FEdge == 2 ? x - r.Right : x - r.Left;
            FOffsetY = FEdge == 3 ? y - r.Bottom : y - r.Top;
            cancelMouse();
        } else if (Clicked(x, y)) {
            FOffsetX = x - r.Left;
            FOffsetY = y - r.Top;
            FDragging = true;
            cancelMouse();
        }
        break;
    }
    case meMove:
        if (FDragging) {
            const int w = r.Right - r.Left, h = r.Bottom - r.Top;
            box.SetBounds({x - FOffsetX, y - FOffsetY, x - FOffsetX + w, y - FOffsetY + h});
            InvalidateChart();
            if (OnDragging) OnDragging(this);
        } else if (FEdge >= 0) {
            TRect n = r;
            switch (FEdge) {
            case 0:
                n.Left = std::min(r.Right - 3, x - FOffsetX);
                break;
            case 1:
                n.Top = std::min(r.Bottom - 3, y - FOffsetY);
                break;
            case 2:
                n.Right = std::max(r.Left + 3, x - FOffsetX);
                break;
            default:
                n.Bottom = std::max(r.Top + 3, y - FOffsetY);
                break;
            }
            box.SetBounds(n);
            InvalidateChart();
            if (OnResizing) OnResizing(this);
        } else {
            const int e = edgeAt(x, y);
            int cursor = 0;
            if (e == 0 || e == 2)
                cursor = crSizeWE;
            else if (e == 1 || e == 3)
                cursor = crSizeNS;
            else if (Clicked(x, y))
                cursor = Cursor();
            if (cursor != 0) {
                setChartCursor(cursor);
                cancelMouse();
            }
        }
        break;
    case meUp:
        FDragging = false;
        FEdge = -1;
        break;
    }
}

}  // namespace cb::chart
