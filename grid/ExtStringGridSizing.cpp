// TExtStringGrid: measuring what cells need and fitting columns and rows to
// it, exchanging rows, the stretch column, sizing that scales all columns,
// the grid following its window's and form's size, and the column widths
// kept in the settings store or an INI file.
#include "grid/ExtStringGridPrivate.h"
#include "grid/markup/RichText.h"

#include "grid/util/TextUtils.h"

#include "platform/os/RegistryIniFile.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/ScopeGuard.h"

#include <QApplication>
#include <QResizeEvent>
#include <QStyle>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <unordered_map>

namespace cb::grid {

using cb::gfx::TSize;

// ---------------------------------------------------------------------------
// Measuring

namespace {

// Text of a cell as it is drawn, with its kind.
std::string DrawnText(TExtStringGrid& grid, int col, int row, TCellTextKind& kind) {
    std::string text = grid.GetFloatFormattedText(col, row);
    kind = CellTextKind(text, grid.EnableHTML);
    if (kind == ctkFormula) text = grid.EvaluateCellText(col, row);
    if (kind == ctkWideText) text = QString::fromStdU16String(DecodeWideText(text)).toStdString();
    return text;
}

}  // namespace

TSize TExtStringGrid::MeasureCellContent(int col, int row, bool wrap) {
    TCanvas canvas;
    SelectCellFont(canvas, col, row);
    return MeasureContentWith(canvas, col, row, wrap, GetCellGraphic(col, row));
}

TSize TExtStringGrid::MeasureContentWith(TCanvas& canvas, int col, int row, bool wrap, const TCellGraphic* graphic) {
    using namespace cb::gfx;
    TCellTextKind kind = ctkPlain;
    std::string text = DrawnText(*this, col, row, kind);
    const int mx = TextMargin.X;
    const int my = TextMargin.Y;
    TSize size{0, 0};
    if (kind == ctkRichText) {
        const int w = wrap ? ColWidths(DisplColIndex(col)) - 2 * mx - 4 : -1;
        const QSize m = MeasureRichText(text, RichTextFont(canvas.Font()), w);
        size = {m.width() + 2 * mx + 2, m.height() + 2 * my};
    } else if (kind == ctkHTML) {
        const THTMLRenderInput in = HTMLPictureInput();
        const int w = wrap ? ColWidths(DisplColIndex(col)) - 4 : 65535;
        const TPoint m = FD->FHTMLMeasure.Measure(canvas, text, w, wrap, &in);
        size = {m.X + 2 * mx + 2, m.Y + 2 * my + 2};
    } else if (wrap) {
        TRect r = GetMergedCellRect(DisplColIndex(col), row);
        r = {0, 0, r.Width(), r.Height()};
        InflateRect(r, -(mx + 2), -(my + 2));
        if (EditInProgress && col == RealColIndex(Col()) && row == Row() && !text.empty() && text.back() == '\n')
            text += 'w';
        const int h = canvas.DrawText(text, r, DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
        size = {r.Right + 2 * mx - r.Left, h + 2 * my};
    } else {
        // Lines end at CR (an LF after it is dropped); only the first one
        // counts without multi-line cells.
        int widest = 0;
        int lines = 0;
        const bool plain = kind == ctkPlain || kind == ctkFormula;
        std::string_view rest = text;
        for (;;) {
            const size_t cr = rest.find('\r');
            std::string_view line = rest.substr(0, cr);
            if (URLShow() && !URLFull() && plain && IsURLOrMail(line)) {
                std::string stripped(line);
                StripURLScheme(stripped);
                widest = std::max(widest, canvas.TextWidth(stripped));
            } else if (!line.empty()) {
                widest = std::max(widest, canvas.TextWidth(line));
            }
            ++lines;
            if (cr == std::string_view::npos || !Multilinecells()) break;
            rest.remove_prefix(cr + 1);
            if (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
            if (rest.empty()) break;
        }
        // The height of "gh": the font's line height.
        size = {widest + 2 * mx, canvas.TextMetrics().Height * lines + 2 * my};
    }
    if (graphic && graphic->CellType == ctRotated) {
        const double rad = graphic->CellAngle * std::numbers::pi / 180.0;
        const double c = std::abs(std::cos(rad));
        const double s = std::abs(std::sin(rad));
        size = {int(std::lround(c * size.cx)) + int(std::lround(s * size.cy)) + 12,
                int(std::lround(s * size.cx)) + int(std::lround(c * size.cy)) + 12};
    }
    return size;
}

namespace {

// Canvases for measuring, one per font a column's cells use, so cells that
// take their font from their properties alone cost no font change.
class TMeasureFonts {
public:
    TCanvas& For(const TFont& base, const TCellProperties* p, int zoom) {
        const TKey key{&base, p ? p->FontNameRef() : nullptr, p ? p->FontSize : 0, p ? p->FontStyle : 0u};
        // Fonts change from cell to cell: a slot per hash first.
        TSlot& slot = FSlots[THash()(key) % FSlots.size()];
        if (slot.Canvas && slot.Key == key) return *slot.Canvas;
        auto& canvas = FCanvases[key];
        if (!canvas) {
            canvas = std::make_unique<TCanvas>();
            TFont& f = canvas->Font();
            f.Assign(base);
            if (key.Style != 0) f.SetStyle(key.Style);
            if (key.Size != 0) f.SetSize(key.Size);
            if (key.Name) f.SetName(*key.Name);
            if (zoom != 0) f.SetSize(f.Size() + zoom);
        }
        slot = {key, canvas.get()};
        return *canvas;
    }

private:
    struct TKey {
        const TFont* Base;
        const std::string* Name;
        int Size;
        TFontStyles Style;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        size_t operator()(const TKey& k) const {
            const size_t a = reinterpret_cast<size_t>(k.Base) >> 4;
            const size_t b = reinterpret_cast<size_t>(k.Name) >> 4;
            return a ^ (b * 31) ^ (size_t(k.Size) * 7) ^ (size_t(k.Style) * 131);
        }
    };
    std::unordered_map<TKey, std::unique_ptr<TCanvas>, THash> FCanvases;
    struct TSlot {
        TKey Key{};
        TCanvas* Canvas = nullptr;
    };
    std::array<TSlot, 64> FSlots{};
};

}  // namespace

std::vector<int> TExtStringGrid::MeasureColumnWidths(int first, int last) {
    const int n = last - first + 1;
    std::vector<int> largest(size_t(std::max(n, 0)), 0);
    // The look comes from the cell's properties alone unless the owner or
    // the active-cell headers change it.
    const bool propertyLook = !OnGetCellColor && !ActiveCellShow();
    TMeasureFonts fonts;
    TCanvas custom;
    const int fixedCols = FixedCols();
    const int fixedRows = FixedRows();
    // Row by row, as the cells are stored.
    for (int r = 0; r < RowCount(); ++r)
        for (int col = first; col <= last; ++col) {
            const int rc = RealColIndex(col);
            const TCellProperties* p = CellProps(rc, r);
            // Merged across: a base cell with a span, or a covered cell.
            if (p && (p->CellSpanX > 0 || !p->IsBaseCell) && IsMergedAcross(rc, r)) continue;
            TCanvas* canvas = &custom;
            if (propertyLook) {
                const bool fixed = col < fixedCols || r < fixedRows;
                canvas = &fonts.For(fixed ? FD->FFixedFont : Font(), p, ZoomStep);
            } else {
                SelectCellFont(custom, rc, r);
            }
            const TCellGraphic* g = p ? p->Graphic.get() : nullptr;
            int needed = MeasureContentWith(*canvas, rc, r, false, g).cx;
            if (g) {
                const int gw = GetCellGraphicSize(rc, r).cx;
                needed = g->CellVAlign == vaFull ? gw - 2 * GridLineWidth() - TextMargin.X - 2 : gw + needed;
            }
            int& most = largest[size_t(col - first)];
            most = std::max(most, needed);
        }
    for (int& w : largest) w = 2 * GridLineWidth() + w + TextMargin.X + 2;
    return largest;
}

void TExtStringGrid::ApplyMeasuredWidth(int col, int width, bool onlyGrow) {
    if (onlyGrow && ColWidths(col) >= width) return;
    UpdateAutoColumnSize(col, width);
    SetColWidths(col, TGridSizing::ApplyLimits(width, MinColumnWidth, MaxColumnWidth));
}

void TExtStringGrid::MeasureColumnWidth(int col, bool onlyGrow) {
    if (col < 0 || col >= ColCount()) return;
    ApplyMeasuredWidth(col, MeasureColumnWidths(col, col).front(), onlyGrow);
}

void TExtStringGrid::FitColumnWidths(bool fromFirstColumn, int extra) {
    const int first = fromFirstColumn ? 0 : FixedCols();
    if (first >= ColCount()) return;
    const std::vector<int> widths = MeasureColumnWidths(first, ColCount() - 1);
    SuspendRepaint();
    auto resume = cb::rtl::OnScopeExit([this] { ResumeRepaint(); });
    for (int c = first; c < ColCount(); ++c) {
        ApplyMeasuredWidth(c, widths[size_t(c - first)], AutoSizeOnlyGrow);
        if (extra != 0) SetColWidths(c, TGridSizing::ApplyLimits(ColWidths(c) + extra, MinColumnWidth, MaxColumnWidth));
    }
}

void TExtStringGrid::MeasureRowHeight(int row, bool onlyGrow) {
    if (row < 0 || row >= RowCount()) return;
    int largest = 0;
    TCanvas canvas;
    for (int c = 0; c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        if (IsMergedDown(rc, row)) continue;
        int needed = 0;
        if (IsBaseCellAt(rc, row)) {
            SelectCellFont(canvas, rc, row);
            const TCellGraphic* g = GetCellGraphic(rc, row);
            needed = MeasureContentWith(canvas, rc, row, WordWrap(), g).cy;
            if (g) {
                const int gh = GetCellGraphicSize(rc, row).cy;
                needed = g->CellVAlign == vaFull ? gh - 2 * GridLineWidth() - TextMargin.Y - 2 : gh + needed;
            }
        }
        largest = std::max(largest, needed);
    }
    const int height = 2 * GridLineWidth() + largest + TextMargin.Y;
    if (onlyGrow && RowHeights(row) >= height) return;
    SetRowHeights(row, TGridSizing::ApplyLimits(height, MinRowHeight, MaxRowHeight));
}

void TExtStringGrid::SetRowHeightForLines(int row, int lines, int extra) {
    TCanvas canvas;
    canvas.Font().Assign(Font());
    if (ZoomStep != 0) canvas.Font().SetSize(canvas.Font().Size() + ZoomStep);
    const int h = canvas.TextHeight("gh");
    SetRowHeights(row, TGridSizing::ApplyLimits(extra + lines * (h + h / 8), MinRowHeight, MaxRowHeight));
}

int TExtStringGrid::GetRowLineCount(int row) {
    if (!Multilinecells()) return 1;
    int lines = 1;
    for (int c = 0; c < ColCount() - HiddenColumnCount(); ++c)
        lines = std::max(lines, CountTextLines(GetCellText(RealColIndex(c), row), true));
    return lines;
}

void TExtStringGrid::UpdateAutoColumnSize(int col, int& width) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, col, width);
}

void TExtStringGrid::UpdateColumnSize(int col, int& width) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, col, width);
}

void TExtStringGrid::SetAutoSize(bool value) {
    FD->Sizing.SetAutoSize(value);
    if (value) FitColumnWidths(false, 10);
}

// ---------------------------------------------------------------------------
// Exchanging rows

void TExtStringGrid::ExchangeRows(int a, int b) {
    BeforeStorageChange();
    if (a == b || a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
    auto& rows = RowStore();
    if (SortSettings.SingleColumn) {
        const int col = SortSettings.Column;
        if (col < 0 || col >= ColCount()) return;
        const std::string ta = GetCellText(col, a);
        const std::string tb = GetCellText(col, b);
        SetCellText(col, a, tb);
        SetCellText(col, b, ta);
        std::swap(rows[size_t(a)][size_t(col)].Props, rows[size_t(b)][size_t(col)].Props);
    } else {
        std::swap(rows[size_t(a)], rows[size_t(b)]);
        auto& heights = RowHeightStore();
        if (heights[size_t(a)] != heights[size_t(b)]) {
            std::swap(heights[size_t(a)], heights[size_t(b)]);
            StorageMoved();
        }
        if (MouseActions.DisjunctRowSelect && Navigation.MoveRowOnSort) FD->Selection.ExchangeRows(a, b);
        if (SortTrackedRow == a)
            SortTrackedRow = b;
        else if (SortTrackedRow == b)
            SortTrackedRow = a;
    }
    // The objects learn where they are now.
    for (int r : {a, b})
        for (int c = 0; c < ColCount(); ++c)
            if (TCellProperties* p = CellProps(c, r)) {
                p->OwnerCol = c;
                p->OwnerRow = r;
            }
    InvalidateRow(a);
    InvalidateRow(b);
}

// ---------------------------------------------------------------------------
// Column widths: stretching and sizing

void TExtStringGrid::StretchColumnToFit(int col) {
    if (col == -1) col = ColCount() - 1;
    // A column the grid no longer has is left alone.
    if (col < 0 || col >= ColCount() || !ColumnSize.Stretch()) return;
    FD->Sizing.SetStretching(true);
    auto done = cb::rtl::OnScopeExit([this] { FD->Sizing.SetStretching(false); });
    const int client = CellArea().Width();
    if (ColCount() == 1) {
        SetColWidths(col, client);
    } else {
        int sum = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != col) sum += ColWidths(c);
        SetColWidths(col, sum < client ? client - sum - 1 : DefaultColWidth());
    }
    if (FloatingFooter.Visible()) ScrollBarsPlaced();
}

void TExtStringGrid::SizeChanged(int oldColCount, int oldRowCount) {
    if (ColumnSize.Stretch()) StretchColumnToFit(ColumnSize.StretchColumn);
    TBaseGrid::SizeChanged(oldColCount, oldRowCount);
    if (FD->FFixedFooters > 0 || FD->FFixedRightCols > 0) InvalidateGrid();
}

void TExtStringGrid::ColWidthsChanged() {
    if (!FD->Sizing.Stretching()) StretchColumnToFit(ColumnSize.StretchColumn);
    RepaintFooterPanel();
}

void TExtStringGrid::ScaleSizes(bool columns, int first, int except, double factor) {
    SuspendRepaint();
    const int count = columns ? ColCount() : RowCount();
    for (int i = first; i < count; ++i) {
        if (i == except) continue;
        if (columns)
            SetColWidths(i, int(std::lround(ColWidths(i) * factor)));
        else
            SetRowHeights(i, int(std::lround(RowHeights(i) * factor)));
    }
    ResumeRepaint();
}

void TExtStringGrid::ColumnSized(int col) {
    // Sizing one column scales the others with it.
    if (const double factor = FD->Sizing.EndCol(col, ColWidths(col)); factor > 0 && MouseActions.AllColumnSize)
        ScaleSizes(true, FixedCols(), col, factor);
    if (OnEndColumnSize) OnEndColumnSize(this, col);
    int width = ColWidths(col);
    UpdateColumnSize(col, width);
    if (width != ColWidths(col)) SetColWidths(col, width);
}

void TExtStringGrid::RowSized(int row) {
    if (const double factor = FD->Sizing.EndRow(row, RowHeights(row)); factor > 0 && MouseActions.AllRowSize)
        ScaleSizes(false, FixedRows(), row, factor);
    if (OnEndRowSize) OnEndRowSize(this, row);
}

void TExtStringGrid::NoteSizingStart(TGridState state, int index) {
    if (state == gsColSizing)
        FD->Sizing.NoteColStart(index, ColWidths(index));
    else if (state == gsRowSizing)
        FD->Sizing.NoteRowStart(index, RowHeights(index));
}

bool TExtStringGrid::IsNearSizingEdge(int x, int y) const {
    const TGridCoord c = MouseCoord(x, y);
    if (c.X < 0 || c.Y < 0) return false;
    const TRect r = GetMergedCellRect(c.X, c.Y);
    bool near = false;
    if (c.Y <= FixedRows() && (Options() & goColSizing)) near = std::abs(x - r.Left) < 4 || std::abs(x - r.Right) < 4;
    if (c.X <= FixedCols() && (Options() & goRowSizing)) near = std::abs(y - r.Top) < 4 || std::abs(y - r.Bottom) < 4;
    return near;
}

void TExtStringGrid::SetIntegralHeight(bool value) {
    FD->Sizing.SetIntegralHeight(value);
    SetBounds(x(), y(), width(), height());
}

void TExtStringGrid::SetBounds(int left, int top, int w, int h) {
    const int d = DefaultRowHeight();
    if (FD->Sizing.IntegralHeight() && RepaintAllowed() && d > 0) {
        if (VisibleColCount() + FixedCols() < ColCount())
            h = h - h % d - 1;
        else
            h = h + d - h % d - 1 - QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    setGeometry(left, top, std::max(w, 0), std::max(h, 0));
}

// ---------------------------------------------------------------------------
// Following the window and the form

void TExtStringGrid::resizeEvent(QResizeEvent* event) {
    TBaseGrid::resizeEvent(event);
    const int client = CellArea().Width();
    bool stretched = false;
    if (ColumnSize.Stretch()) {
        const int col = ColumnSize.StretchColumn == -1 ? ColCount() - 1 : ColumnSize.StretchColumn;
        int sum = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != col) sum += ColWidths(c);
        if (sum < width()) {
            StretchColumnToFit(col);
            stretched = true;
        }
    }
    if (!stretched) {
        if (const double factor = FD->Sizing.FollowClientWidth(client, ColumnSize.SynchWithGrid); factor > 0)
            ScaleSizes(true, 0, -1, factor);
    }
    UpdateFlatScrollBars();
    if (OnResize) OnResize(this);
}

void TExtStringGrid::FormResized(int oldWidth, int oldHeight, int newWidth, int newHeight) {
    if (SizeWithForm) {
        const int w = newWidth + width() - oldWidth;
        const int h = newHeight + height() - oldHeight;
        if (w > 0 && h > 0) resize(w, h);
    }
    StretchColumnToFit(ColumnSize.StretchColumn);
}

// ---------------------------------------------------------------------------
// Stored widths

namespace {
constexpr int kMaxStoredWidth = 100000;
}  // namespace

void TExtStringGrid::SaveColumnWidths() {
    if (ColumnSize.Key.empty() || ColumnSize.Section.empty()) return;
    if (ColumnSize.Location == clRegistry) {
        cb::os::TRegistryIniFile store(ColumnSize.Key);
        for (int c = 0; c < ColCount(); ++c)
            store.WriteInteger(ColumnSize.Section, "Col" + std::to_string(c), ColWidths(c));
    } else {
        cb::rtl::TMemIniFile store(ColumnSize.Key);
        for (int c = 0; c < ColCount(); ++c)
            store.WriteInteger(ColumnSize.Section, "Col" + std::to_string(c), ColWidths(c));
        store.UpdateFile();
    }
}

void TExtStringGrid::LoadColumnWidths() {
    if (ColumnSize.Key.empty() || ColumnSize.Section.empty()) return;
    auto apply = [this](auto& store) {
        SuspendRepaint();
        auto resume = cb::rtl::OnScopeExit([this] { ResumeRepaint(); });
        for (int c = 0; c < ColCount(); ++c) {
            // Widths from the store are untrusted: kept within what a screen shows.
            const int w =
                std::clamp(store.ReadInteger(ColumnSize.Section, "Col" + std::to_string(c), DefaultColWidth()), 0,
                           kMaxStoredWidth);
            if (w != ColWidths(c)) SetColWidths(c, w);
        }
    };
    if (ColumnSize.Location == clRegistry) {
        cb::os::TRegistryIniFile store(ColumnSize.Key);
        apply(store);
    } else {
        cb::rtl::TMemIniFile store(ColumnSize.Key);
        apply(store);
    }
}

}  // namespace cb::grid
