#include "chart/series/SeriesMarks.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace cb::chart {

// --- positions ---

void TSeriesMarkPosition::CopyPlacement(const TSeriesMarkPosition& o) {
    ArrowFrom = o.ArrowFrom;
    ArrowTo = o.ArrowTo;
    LeftTop = o.LeftTop;
    Height = o.Height;
    Width = o.Width;
}

TSeriesMarkPosition* TSeriesMarksPositions::PositionAt(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[std::size_t(index)].get();
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int index) {
    if (index >= Count()) FItems.resize(std::size_t(index) + 1);
    auto& slot = FItems[std::size_t(index)];
    if (!slot) slot = std::make_unique<TSeriesMarkPosition>();
    return *slot;
}

bool TSeriesMarksPositions::HasCustom() const {
    return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

// --- callout ---

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series) {
    PutVisible(false);
}

void TMarksCallout::ApplyToPosition(TSeriesMarkPosition& p) const {
    const int l = FSettings.Length, d = Distance();
    p.LeftTop.Y -= l + d;
    p.ArrowTo.Y -= l + d;
    p.ArrowFrom.Y -= d;
}

void TMarksCallout::Assign(const TSeriesPointer& source) {
    if (auto* s = dynamic_cast<const TMarksCallout*>(&source)) FSettings = s->FSettings;
    TCallout::Assign(source);
}

// --- gradient, items and symbol ---

TSeriesMarksGradient::TSeriesMarksGradient() {
    SetDirection(gdRightLeft);
    SetStartColor(0xC0C0C0);
    SetEndColor(clWhite);
}

namespace {
void ApplyMarksShadowDefaults(TPlotShadow& s) {
    s.SetColor(0x808080);
    s.SetSize(1);
    s.SetDefaultColor(0x808080);
    s.SetDefaultSize(1);
}
}  // namespace

TMarksItem::TMarksItem(TCustomPlotPanel* panel) : TPlotCustomShape(panel) {
    SetColor(0xFF000018);
    Shadow();
}

std::unique_ptr<TPlotGradient> TMarksItem::CreateGradient() const {
    return std::make_unique<TSeriesMarksGradient>();
}

void TMarksItem::ApplyShadowDefaults(TPlotShadow& s) {
    ApplyMarksShadowDefaults(s);
}

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomPlotPanel* panel) : TPlotCustomShape(panel) {
    SetVisible(false);
    Shadow().SetSize(1);
    Shadow().SetDefaultSize(1);
}

TMarksItem* TMarksItems::ItemIfAny(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[std::size_t(index)].get();
}

TMarksItem& TMarksItems::ItemAt(int index) {
    if (index >= Count()) FItems.resize(std::size_t(index) + 1);
    auto& slot = FItems[std::size_t(index)];
    if (!slot) slot = std::make_unique<TMarksItem>(FMarks.ParentPanel());
    return *slot;
}

void TMarksItems::ClearItems() {
    FItems.clear();
    FMarks.RepaintParent();
}

// --- marks ---

TSeriesMarks::TSeriesMarks(TChartSeries* series) : FSeries(series), FItems(*this) {
    SetColor(0xFF000018);
    SetVisible(false);
    Shadow();
}

TSeriesMarks::~TSeriesMarks() = default;

std::unique_ptr<TPlotGradient> TSeriesMarks::CreateGradient() const {
    return std::make_unique<TSeriesMarksGradient>();
}

void TSeriesMarks::ApplyShadowDefaults(TPlotShadow& s) {
    ApplyMarksShadowDefaults(s);
}

void TSeriesMarks::SetParentPanel(TCustomPlotPanel* panel) {
    TPlotCustomShape::SetParentPanel(panel);
    if (FSymbol) FSymbol->SetParentPanel(panel);
    for (int i = 0; i < FItems.Count(); ++i)
        if (TMarksItem* item = FItems.ItemIfAny(i)) item->SetParentPanel(panel);
}

void TSeriesMarks::changed() {
    if (FSeries) FSeries->InvalidateChart();
}

TCanvas3D* TSeriesMarks::canvas() const {
    return FSeries && FSeries->ParentChart() ? FSeries->ParentChart()->Canvas() : nullptr;
}

bool TSeriesMarks::is3D() const {
    return FSeries && FSeries->ParentChart() && FSeries->ParentChart()->View3D();
}

TMarksCallout& TSeriesMarks::Callout() {
    if (!FCallout) FCallout = std::make_unique<TMarksCallout>(FSeries);
    return *FCallout;
}

void TSeriesMarks::SetCallout(const TMarksCallout* c) {
    if (!c)
        FCallout.reset();
    else if (c != FCallout.get())
        Callout().Assign(*c);
    changed();
}

TSeriesMarksSymbol& TSeriesMarks::Symbol() {
    if (!FSymbol) FSymbol = std::make_unique<TSeriesMarksSymbol>(ParentPanel());
    return *FSymbol;
}

void TSeriesMarks::SetSymbol(const TSeriesMarksSymbol* s) {
    if (!s)
        FSymbol.reset();
    else if (s != FSymbol.get())
        Symbol().Assign(*s);
    changed();
}

TPlotCustomShape& TSeriesMarks::ItemOrMarks(int index) {
    if (TMarksItem* item = FItems.ItemIfAny(index)) return *item;
    return *this;
}

void TSeriesMarks::ClearMarks() {
    FPositions.ClearPositions();
    if (!FItems.LoadedCustom()) FItems.ClearItems();
}

void TSeriesMarks::Assign(const TSeriesMarks& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    SetCallout(s.FCallout.get());
    SetSymbol(s.FSymbol.get());
    FItems.ClearItems();
    for (int i = 0; i < s.FItems.Count(); ++i) {
        TMarksItem& mine = FItems.ItemAt(i);
        if (const TMarksItem* theirs = s.FItems.ItemIfAny(i)) mine.Assign(*theirs);
    }
    TPlotCustomShape::Assign(s);
}

void TSeriesMarks::ApplyStoredPosition(int index, TSeriesMarkPosition& p) {
    TSeriesMarkPosition& stored = FPositions.Ensure(index);
    if (!stored.Custom) {
        stored.CopyPlacement(p);
        stored.ArrowFix = p.ArrowFix;
        return;
    }
    const TPoint from = p.ArrowFrom;
    p.CopyPlacement(stored);
    if (p.ArrowFix) p.ArrowFrom = from;
}

void TSeriesMarks::ApplyCallout(TSeriesMarkPosition& p) {
    if (FCallout) FCallout->ApplyToPosition(p);
}

TPoint TSeriesMarks::projectionShift(const TSeriesMarkPosition& p) {
    if (!is3D()) return {0, 0};
    TCanvas3D* c = canvas();
    if (!c || c->DrawsTextAtDepth()) return {0, 0};
    const TPoint q = c->ProjectToPoint(p.ArrowTo.X, p.ArrowTo.Y, FDepth);
    return {q.X - p.ArrowTo.X, q.Y - p.ArrowTo.Y};
}

TRect TSeriesMarks::screenBox(int index, const TSeriesMarkPosition& p) {
    TRect r = p.MarkRect();
    TPlotCustomShape& shape = ItemOrMarks(index);
    if (shape.Pen().Visible()) {
        r.Right += shape.Pen().Width();
        r.Bottom += shape.Pen().Width();
    }
    if (const TPlotShadow* shadow = shape.ShadowIfAny()) {
        const int h = shadow->HorizSize(), v = shadow->VertSize();
        (h > 0 ? r.Right : r.Left) += h;
        (v > 0 ? r.Bottom : r.Top) += v;
    }
    const TPoint d = projectionShift(p);
    return {r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y};
}

void TSeriesMarks::AvoidOverlap(int first, int index, TSeriesMarkPosition& p) {
    // The box is measured again after every move, and the earlier marks
    // are checked again while a move lands on one of them.
    constexpr int passes = 4;
    TRect r0 = screenBox(index, p);
    // Flat charts: a mark whose box lies clear sideways is passed over
    // without measuring it.
    const bool flat = !is3D();
    const TPlotShadow* shadow = ShadowIfAny();
    const int pad = (Pen().Visible() ? Pen().Width() : 0) + (shadow ? shadow->Size() : 0) + 1;
    for (int pass = 0; pass < passes; ++pass) {
        bool moved = false;
        for (int j = std::max(first, 0); j < index; ++j) {
            const TSeriesMarkPosition* q = FPositions.PositionAt(j);
            if (!q) continue;
            if (flat && !FItems.ItemIfAny(j) &&
                (q->LeftTop.X + q->Width + pad <= r0.Left || q->LeftTop.X - pad >= r0.Right))
                continue;
            const TRect r = screenBox(j, *q);
            const bool meet = r.Left < r0.Right && r0.Left < r.Right && r.Top < r0.Bottom && r0.Top < r.Bottom;
            if (!meet) continue;
            const int d = r0.Top < r.Top ? r0.Bottom - r.Top : r0.Top - r.Bottom;
            p.LeftTop.Y -= d;
            p.ArrowTo.Y -= d;
            r0 = screenBox(index, p);
            moved = true;
        }
        if (!moved) break;
    }
}

void TSeriesMarks::DrawMark(int index, TColor color, TSeriesMarkPosition& p, const std::string& text) {
    ApplyStoredPosition(index, p);
    TCanvas3D* c = canvas();
    if (!c) return;
    TPlotCustomShape& box = ItemOrMarks(index);
    if (FCallout && (FCallout->Visible() || FCallout->Arrow().Visible()))
        FCallout->DrawCallout(p.ArrowFrom, p.ArrowTo, FDepth);
    if (box.Transparent()) {
        c->Brush().SetStyle(cb::gfx::bsClear);
        c->SetBackgroundMode(cb::gfx::TRANSPARENT);
    } else {
        c->AssignBrush(box.Brush(), box.Color());
    }
    c->SelectPen(box.Pen());
    const TPoint d = projectionShift(p);
    TRect bounds = p.MarkRect();
    bounds = {bounds.Left + d.X, bounds.Top + d.Y, bounds.Right + d.X, bounds.Bottom + d.Y};
    box.DrawBoxOn(*c, bounds, FSettings.Angle % 360, FDepth + 1);
    int textLeft = bounds.Left + 2;
    if (SymbolShown()) {
        const int h = c->FontHeight();
        FSymbol->SetColor(color);
        FSymbol->SetTransparent(false);
        FSymbol->Bounds() = {bounds.Left + 4, bounds.Top + 3, bounds.Left + h - 1, bounds.Top + h - 2};
        FSymbol->DrawBoxOn(*c, FSymbol->Bounds(), FSettings.Angle % 360, FDepth + 1);
        textLeft += FSymbol->BoxWidth() + 4;
    }
    c->Brush().SetStyle(cb::gfx::bsClear);
    c->SetBackgroundMode(cb::gfx::TRANSPARENT);
    c->SetTextAlignment(cb::gfx::TA_CENTER | cb::gfx::TA_TOP);
    DrawMarkText({textLeft, bounds.Top, bounds.Right, bounds.Bottom}, text);
    c->SetTextAlignment(cb::gfx::TA_LEFT | cb::gfx::TA_TOP);
}

void TSeriesMarks::DrawMarkText(const TRect& r, const std::string& text) {
    TCanvas3D* c = canvas();
    if (!c) return;
    const int h = c->FontHeight();
    const bool atDepth = is3D() && c->DrawsTextAtDepth();
    const int angle = FSettings.Angle % 360;
    std::size_t start = 0;
    for (int k = 0; start <= text.size(); ++k) {
        const std::size_t end = text.find(LineSeparator, start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (k > 0 && line.size() > 255) line.resize(255);
        int x, y;
        if (angle == 0) {
            x = (r.Left + r.Right) / 2;
            y = r.Top + k * h + (Pen().Visible() ? Pen().Width() : 0);
        } else {
            const TPoint m{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
            const double a = angle * PiDiv180;
            const double b = k * h + m.Y - r.Bottom;
            x = m.X + Round(std::sin(a) * b) + (angle == 90 ? 2 : 0);
            y = m.Y + Round(std::cos(a) * b);
        }
        if (angle == 0) {
            if (atDepth)
                c->OutputTextAtDepth(x, y, FDepth, line);
            else
                c->OutputText(x, y, line);
        } else if (atDepth)
            c->OutputRotatedTextAtDepth(x, y, FDepth, line, angle);
        else
            c->OutputRotatedText(x, y, line, angle);
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

int TSeriesMarks::MarkAtPoint(int x, int y) {
    if (TCanvas3D* c = canvas(); c && is3D()) c->UnprojectPoint(x, y, FDepth);
    for (int i = 0; i < FPositions.Count(); ++i) {
        const TSeriesMarkPosition* p = FPositions.PositionAt(i);
        if (!p || i % FSettings.DrawEvery != 0) continue;
        const TRect r = p->MarkRect();
        if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) return i;
    }
    return -1;
}

int TSeriesMarks::MarkTextWidth(int index) {
    if (!FSeries || !FSeries->ParentChart()) return 0;
    return FSeries->ParentChart()->MultiLineTextWidth(FSeries->BuildMarkText(index));
}

// --- stored items ---

namespace {

constexpr std::uint8_t kListBegin = 1;
constexpr std::uint8_t kListEnd = 0;
// Items read from a stream at most; a count beyond it is a bad stream.
constexpr std::uint32_t kMaxStoredItems = 1u << 20;

void WriteText(cb::rtl::TStream& out, std::string_view text) {
    out.WriteU32(std::uint32_t(text.size()));
    out.WriteBuffer(text);
}

std::string ReadText(cb::rtl::TStream& in) {
    return in.ReadString(in.ReadU32());
}

// The settings of one item as names and values.
std::vector<std::pair<std::string, std::string>> ItemProperties(const TMarksItem& item) {
    std::vector<std::pair<std::string, std::string>> out;
    auto add = [&](const char* name, long long v) { out.emplace_back(name, std::to_string(v)); };
    add("Bevel", item.Bevel());
    add("BevelWidth", item.BevelWidth());
    add("Color", (long long)item.Color());
    out.emplace_back("Font.Name", item.Font().Name());
    add("Font.Size", item.Font().Size());
    add("Font.Color", (long long)item.Font().Color());
    add("Font.Style", item.Font().Style());
    if (const TPlotGradient* g = item.GradientIfAny()) {
        add("Gradient.Visible", g->Visible());
        add("Gradient.Direction", g->Direction());
        add("Gradient.StartColor", (long long)g->StartColor());
        add("Gradient.EndColor", (long long)g->EndColor());
    }
    if (const TPlotShadow* s = item.ShadowIfAny()) {
        add("Shadow.Color", (long long)s->Color());
        add("Shadow.HorizSize", s->HorizSize());
        add("Shadow.VertSize", s->VertSize());
    }
    add("ShapeStyle", item.ShapeStyle());
    add("Transparency", item.Transparency());
    add("Transparent", item.Transparent());
    return out;
}

void SetItemProperty(TMarksItem& item, const std::string& name, const std::string& text) {
    long long v = 0;
    if (name != "Font.Name") {
        std::size_t used = 0;
        try {
            v = std::stoll(text, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != text.size())
            throw ChartException("Marks items: \"" + text + "\" is not a number for " + name);
    }
    const auto colour = TColor(std::uint32_t(v));
    if (name == "Bevel")
        item.SetBevel(TBevelCut(std::clamp(v, 0LL, 3LL)));
    else if (name == "BevelWidth")
        item.SetBevelWidth(int(std::clamp(v, 0LL, 1000LL)));
    else if (name == "Color")
        item.SetColor(colour);
    else if (name == "Font.Name")
        item.Font().SetName(text);
    else if (name == "Font.Size")
        item.Font().SetSize(int(std::clamp(v, 1LL, 1000LL)));
    else if (name == "Font.Color")
        item.Font().SetColor(colour);
    else if (name == "Font.Style")
        item.Font().SetStyle(cb::gfx::TFontStyles(v & 0xF));
    else if (name == "Gradient.Visible")
        item.Gradient().SetVisible(v != 0);
    else if (name == "Gradient.Direction")
        item.Gradient().SetDirection(TGradientDirection(std::clamp(v, 0LL, 9LL)));
    else if (name == "Gradient.StartColor")
        item.Gradient().SetStartColor(colour);
    else if (name == "Gradient.EndColor")
        item.Gradient().SetEndColor(colour);
    else if (name == "Shadow.Color")
        item.Shadow().SetColor(colour);
    else if (name == "Shadow.HorizSize")
        item.Shadow().SetHorizSize(int(std::clamp(v, -1000LL, 1000LL)));
    else if (name == "Shadow.VertSize")
        item.Shadow().SetVertSize(int(std::clamp(v, -1000LL, 1000LL)));
    else if (name == "ShapeStyle")
        item.SetShapeStyle(TChartObjectShapeStyle(std::clamp(v, 0LL, 1LL)));
    else if (name == "Transparency")
        item.SetTransparency(int(v));
    else if (name == "Transparent")
        item.SetTransparent(v != 0);
    // Unknown names (of newer files) are passed over.
}

}  // namespace

std::string TSeriesMarks::WriteItems() {
    cb::rtl::TStringStream out;
    out.WriteU32(std::uint32_t(FItems.Count()));
    for (int i = 0; i < FItems.Count(); ++i) {
        out.WriteU8(kListBegin);
        for (const auto& [name, value] : ItemProperties(FItems.ItemAt(i))) {
            WriteText(out, name);
            WriteText(out, value);
        }
        out.WriteU8(kListEnd);
    }
    return out.DataString();
}

void TSeriesMarks::ReadItems(std::string_view data) {
    cb::rtl::TStringStream in(data);
    // Read into fresh items first: a bad stream leaves the old ones.
    std::vector<std::unique_ptr<TMarksItem>> read;
    try {
        const std::uint32_t count = in.ReadU32();
        if (count > kMaxStoredItems) throw ChartException("Marks items: too many items stored");
        for (std::uint32_t i = 0; i < count; ++i) {
            auto item = std::make_unique<TMarksItem>(ParentPanel());
            if (in.ReadU8() != kListBegin) throw ChartException("Marks items: a list marker is missing");
            while (in.ReadU8() != kListEnd) {
                in.Seek(-1, cb::rtl::TSeekOrigin::soCurrent);
                const std::string name = ReadText(in);
                SetItemProperty(*item, name, ReadText(in));
            }
            read.push_back(std::move(item));
        }
    } catch (const cb::rtl::EReadError&) {
        throw ChartException("Marks items: the stored data ends early");
    }
    FItems.ClearItems();
    for (std::size_t i = 0; i < read.size(); ++i) FItems.ItemAt(int(i)).Assign(*read[i]);
    FItems.SetLoadedCustom(!read.empty());
}

}  // namespace cb::chart
