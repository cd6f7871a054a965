#include "app/core/query/MDXDisplayManager.h"

#include "app/core/settings/Config.h"
#include "app/core/theme/GridTheme.h"
#include "app/core/theme/GridViewImages.h"

#include "grid/ExtStringGrid.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <exception>

namespace cb::app {

using cb::grid::taLeftJustify;
using cb::grid::TAlignment;
using cb::grid::taRightJustify;
using cb::grid::TExtStringGrid;

namespace {

// Space around a cell's text when columns are sized to their content.
constexpr int kCellPadding = 8;
constexpr int kMinColumnWidth = 24;

// Thrown to leave a layout whose grid or cellset went away while the
// watcher ran; nothing is reported.
struct TLayoutAborted {};

// A theme group as the cells take it.
struct TCellStyle {
    TColor Brush = 0;
    std::string FontName;
    TColor FontColor = 0;
    int FontSize = 8;
    bool Bold = false;
    // Measures texts in the style's font (a canvas without a device).
    std::unique_ptr<cb::gfx::TCanvas> Measure;

    void Init(TColor brush, const std::string& fontName, TColor fontColor, int fontSize, bool bold) {
        Brush = brush;
        FontName = fontName;
        FontColor = fontColor;
        FontSize = fontSize;
        Bold = bold;
        Measure = std::make_unique<cb::gfx::TCanvas>();
        Measure->Font().SetName(fontName);
        Measure->Font().SetSize(fontSize);
        Measure->Font().SetStyle(bold ? cb::gfx::TFontStyles(cb::gfx::fsBold) : 0u);
    }
};

// One member of an axis as the headers show it.
struct THeaderMember {
    std::string Caption;
    std::string UniqueName;
    int Depth = 0;
};

// An axis read once: its members by position and level, whether each
// repeats the one before it, and the dimension names of its levels.
struct TAxisTable {
    int Dims = 0;
    int Positions = 0;
    std::vector<THeaderMember> Members;  // [position * Dims + level]
    // A member repeats when it and every member outside it equal those of
    // the previous position: only then is its caption left blank.
    std::vector<std::uint8_t> Repeat;
    std::vector<std::string> Names;

    const THeaderMember& At(int position, int level) const {
        return Members[size_t(position) * size_t(Dims) + size_t(level)];
    }
    bool Repeats(int position, int level) const { return Repeat[size_t(position) * size_t(Dims) + size_t(level)]; }
};

// The dimension's name from a level's unique name: "[Customer].[Country]"
// gives "Customer"; empty when the text holds no "].".
std::string DimensionNameOf(const std::string& levelName) {
    const auto end = levelName.find("].");
    if (end == std::string::npos || end < 1) return {};
    return levelName.substr(1, end - 1);
}

const TGridDisplayTheme& CurrentTheme(const TGridDisplayTheme* chosen, const TCubeBrowserConfig* config) {
    if (chosen) return *chosen;
    if (config)
        if (const TGridDisplayTheme* theme = config->GetCurrentTheme()) return *theme;
    static const TGridDisplayTheme defaults;
    return defaults;
}

}  // namespace

// The state of one running layout.
struct TMDXDisplayManager::TLayout {
    TMDXDisplayManager& Owner;
    TExtStringGrid& Grid;
    QPointer<TExtStringGrid> GridAlive;
    cb::olap::Cellset& Cellset;
    std::shared_ptr<cb::olap::Axis> Axis0;
    TCellStyle Dimension;
    TCellStyle Data;
    std::array<TCellStyle, TGridDisplayTheme::DepthCount> Depths;
    std::vector<int> Widths;
    std::chrono::steady_clock::time_point LastPump = std::chrono::steady_clock::now();

    TLayout(TMDXDisplayManager& owner, TExtStringGrid& grid, cb::olap::Cellset& cellset, const TGridDisplayTheme& theme)
        : Owner(owner), Grid(grid), GridAlive(&grid), Cellset(cellset) {
        Dimension.Init(theme.DimensionColor, theme.DimensionFontName, theme.DimensionFontColor, theme.DimensionFontSize,
                       theme.DimensionFontBold);
        Data.Init(theme.DataColor, theme.DataFontName, theme.DataFontColor, theme.DataFontSize, theme.DataFontBold);
        for (int k = 0; k < TGridDisplayTheme::DepthCount; ++k) {
            const TDepthStyle& d = theme.Depths[size_t(k)];
            Depths[size_t(k)].Init(d.Color, d.FontName, d.FontColor, d.FontSize, d.FontBold);
        }
    }

    TCellStyle& DepthStyle(int depth) {
        return Depths[size_t(std::clamp(depth, 0, TGridDisplayTheme::DepthCount - 1))];
    }

    // Tells the watcher of headway (it may let the window breathe), then
    // leaves when the grid or the cellset went away meanwhile.
    void Pump() {
        if (!Owner.OnProgress) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - LastPump < Owner.ProgressInterval) return;
        Owner.OnProgress(TLayoutStep::Progress, &Grid);
        LastPump = std::chrono::steady_clock::now();
        if (!GridAlive) throw TLayoutAborted{};
        if (Cellset.State() != cb::olap::Cellset::adStateOpen || Cellset.Axes().Item(0) != Axis0)
            throw TLayoutAborted{};
    }

    void ApplyStyle(int col, int row, const TCellStyle& style, bool brush = true) {
        cb::grid::TCellProperties* p = Grid.EnsureCellProperties(col, row);
        if (!p) return;
        if (brush) p->SetBrushColor(style.Brush);
        p->SetFontName(style.FontName);
        p->FontColor = style.FontColor;
        p->FontSize = style.FontSize;
        p->FontStyle = style.Bold ? cb::gfx::TFontStyles(cb::gfx::fsBold) : 0u;
    }

    void SetAlignment(int col, int row, TAlignment alignment) {
        if (cb::grid::TCellProperties* p = Grid.EnsureCellProperties(col, row)) p->Alignment = alignment;
    }

    void SetBrush(int col, int row, TColor color) {
        if (cb::grid::TCellProperties* p = Grid.EnsureCellProperties(col, row)) p->SetBrushColor(color);
    }

    void SetText(int col, int row, const std::string& text, TCellStyle& style, int extra = 0) {
        Grid.SetCellText(col, row, text);
        if (!text.empty() || extra > 0) {
            const int w = (text.empty() ? 0 : style.Measure->TextWidth(text)) + kCellPadding + extra;
            Widths[size_t(col)] = std::max(Widths[size_t(col)], w);
        }
    }

    void SetKey(int col, int row, const std::string& key) { Owner.Key(col, row) = key; }

    // A placeholder text in the dimension style, without a key.
    void Placeholder(int col, int row, const char* text) {
        SetText(col, row, text, Dimension);
        SetAlignment(col, row, taLeftJustify);
        ApplyStyle(col, row, Dimension);
    }

    // A dimension-name cell with its marker.
    void DimensionName(int col, int row, const std::string& name) {
        const int marker = Grid.GridImages ? Grid.GridImages->Width() + 2 : 0;
        SetText(col, row, name, Dimension, marker);
        SetKey(col, row, "[" + name + "]");
        Grid.SetCellImageIndex(col, row, kHeaderMarkerImage, cb::grid::haRight, cb::grid::vaCenter);
        SetAlignment(col, row, taLeftJustify);
        ApplyStyle(col, row, Dimension);
    }

    TAxisTable ReadAxis(const cb::olap::Axis& axis, int dims) {
        TAxisTable t;
        const cb::olap::Collection<cb::olap::Position> positions = axis.Positions();
        t.Dims = dims;
        t.Positions = positions.Count();
        t.Members.resize(size_t(t.Positions) * size_t(dims));
        t.Repeat.assign(t.Members.size(), 0);
        for (int p = 0; p < t.Positions; ++p) {
            const cb::olap::Collection<cb::olap::Member> members = positions.Item(p)->Members();
            bool sameOutside = p > 0;
            for (int j = 0; j < dims; ++j) {
                const std::shared_ptr<cb::olap::Member> m = members.Item(j);
                THeaderMember& h = t.Members[size_t(p) * size_t(dims) + size_t(j)];
                h.Caption = m->Caption();
                h.UniqueName = m->UniqueName();
                h.Depth = m->LevelDepth();
                sameOutside = sameOutside && h.UniqueName == t.At(p - 1, j).UniqueName;
                t.Repeat[size_t(p) * size_t(dims) + size_t(j)] = sameOutside;
                if (p == 0) t.Names.push_back(DimensionNameOf(m->LevelName()));
            }
            Pump();
        }
        if (t.Names.empty()) t.Names.resize(size_t(dims));
        return t;
    }

    void ColumnHeaders(const TAxisTable& cols, int rowDims) {
        const int h = std::max(rowDims, 1);
        for (int j = 0; j < cols.Dims; ++j) DimensionName(h + j, 0, cols.Names[size_t(j)]);
        for (int j = 0; j < cols.Dims; ++j) {
            for (int p = 0; p < cols.Positions; ++p) {
                const THeaderMember& m = cols.At(p, j);
                const int col = h + p;
                TCellStyle& style = DepthStyle(m.Depth);
                SetKey(col, j + 1, m.UniqueName);
                ApplyStyle(col, j + 1, style);
                SetAlignment(col, j + 1, taLeftJustify);
                if (!cols.Repeats(p, j)) SetText(col, j + 1, m.Caption, style);
                Pump();
            }
        }
        for (int col = 1; col < Grid.ColCount(); ++col) {
            SetBrush(col, 0, Dimension.Brush);
            SetAlignment(col, 0, taLeftJustify);
        }
        ApplyStyle(0, cols.Dims, Dimension, false);
    }

    void RowHeaders(const TAxisTable& rows, int colDims) {
        const int v = std::max(colDims, 1);
        for (int d = 0; d < rows.Dims; ++d) DimensionName(d, v, rows.Names[size_t(d)]);
        for (int d = 0; d < rows.Dims; ++d) {
            for (int p = 0; p < rows.Positions; ++p) {
                const THeaderMember& m = rows.At(p, d);
                const int row = v + 1 + p;
                TCellStyle& style = DepthStyle(m.Depth);
                SetKey(d, row, m.UniqueName);
                ApplyStyle(d, row, style);
                SetAlignment(d, row, taLeftJustify);
                if (!rows.Repeats(p, d))
                    SetText(d, row, std::string(size_t(std::max(m.Depth, 0)) * 2, ' ') + m.Caption, style);
                Pump();
            }
        }
        for (int col = 0; col < rows.Dims; ++col) {
            for (int row = 0; row <= colDims; ++row) {
                SetAlignment(col, row, taLeftJustify);
                ApplyStyle(col, row, Dimension);
            }
            Pump();
        }
    }

    void DataCells(int rowDims, int colDims, int colPositions, int rowPositions) {
        std::string text;
        for (int r = 0; r < rowPositions; ++r) {
            const int row = colDims + 1 + r;
            for (int q = 0; q < colPositions; ++q) {
                const int col = rowDims + q;
                try {
                    const std::shared_ptr<cb::olap::Cell> cell = Cellset.Item(q, r);
                    text = cell->FormattedValue();
                    // An empty cell has no value: it stays blank rather than
                    // looking like a measured zero.
                    if (text.empty() && !cell->Value().IsEmpty()) text = cell->Value().ToString();
                } catch (const std::exception&) {
                    text = kCellErrorText;
                }
                SetText(col, row, text, Data);
                SetKey(col, row, kDataCellKey);
                ApplyStyle(col, row, Data);
                SetAlignment(col, row, taRightJustify);
            }
            Pump();
        }
    }

    void AutoSizeColumns() {
        for (int col = 0; col < Grid.ColCount(); ++col)
            Grid.SetColWidths(col, std::max(Widths[size_t(col)], kMinColumnWidth));
    }
};

TMDXDisplayManager::TMDXDisplayManager(TAppContext context) : FContext(context) {}

TMDXDisplayManager::~TMDXDisplayManager() = default;

void TMDXDisplayManager::SetGrid(TExtStringGrid* grid) {
    FGrid = grid;
    if (grid && !grid->GridImages) grid->GridImages = &GridViewImages();
}

void TMDXDisplayManager::SetCellset(std::shared_ptr<cb::olap::Cellset> cellset) {
    FCellset = std::move(cellset);
}

void TMDXDisplayManager::ResetKeys(int columns, int rows) {
    FKeyColumns = std::max(columns, 0);
    FKeyRows = std::max(rows, 0);
    FCellKeys.assign(size_t(FKeyColumns) * size_t(FKeyRows), std::string());
}

std::string TMDXDisplayManager::GetCellKey(int column, int row) const {
    if (column < 0 || row < 0 || column >= FKeyColumns || row >= FKeyRows) return kOutsideCellKey;
    return FCellKeys[size_t(column) * size_t(FKeyRows) + size_t(row)];
}

int TMDXDisplayManager::GridColumnToPosition(int column) const {
    // Data columns start right of the row headers (column 1 without any).
    const int first = std::max(FRowDimensionCount, 1);
    return std::clamp(column - first, 0, std::max(FColumnPositionCount - 1, 0));
}

int TMDXDisplayManager::GridRowToPosition(int row) const {
    // Data rows start below the column headers and the row of names.
    const int first = std::max(FColumnDimensionCount, 1) + 1;
    return std::clamp(row - first, 0, std::max(FRowPositionCount - 1, 0));
}

bool TMDXDisplayManager::Render() {
    if (FRendering || !FGrid || !FCellset) return false;
    FRendering = true;
    TExtStringGrid* grid = FGrid;
    QPointer<TExtStringGrid> gridAlive(grid);
    const std::shared_ptr<cb::olap::Cellset> cellset = FCellset;
    const TGridDisplayTheme& theme = CurrentTheme(FTheme, FContext.Config);

    const bool wasHidden = grid->isHidden();
    grid->setVisible(false);
    grid->BeginUpdate();
    // Runs whatever happened: the grid shows again, the watcher hears the end.
    bool ok = true;
    std::string failure;
    {
        const auto finish = cb::rtl::OnScopeExit([&] {
            if (gridAlive) {
                grid->EndUpdate();
                if (!wasHidden) grid->setVisible(true);
                grid->update();
            }
            FRendering = false;
            if (OnProgress) OnProgress(TLayoutStep::Finish, gridAlive.data());
        });
        if (OnProgress) OnProgress(TLayoutStep::Start, grid);
        grid->ClearAllCells();
        // Captions come from the cube and values from the query: plain text,
        // never mark-up, whatever they hold.
        grid->EnableHTML = false;
        grid->SetSelectionColor(theme.SelectionColor);
        grid->SetGridLineColor(theme.BorderColor);

        const cb::olap::Collection<cb::olap::Axis> axes = cellset->Axes();
        const std::shared_ptr<cb::olap::Axis> columns = axes.Item(0);
        const std::shared_ptr<cb::olap::Axis> rows = axes.Item(1);
        const int cd = columns->DimensionCount();
        const int cp = columns->Positions().Count();
        const int rd = rows->DimensionCount();
        const int rp = rows->Positions().Count();
        FColumnDimensionCount = cd;
        FColumnPositionCount = cp;
        FRowDimensionCount = rd;
        FRowPositionCount = rp;

        // Row headers start below max(CD, 1) + 1 rows, which is one more
        // than CD + 1 when there is no column dimension.
        const int colCount = std::max({cd, cp, 1}) + std::max(rd, 1);
        const int rowCount = std::max({rd, rp, 1}) + std::max(cd, 1) + 1 - (cd == 0 && rd == 0 ? 1 : 0);
        grid->SetColCount(colCount);
        grid->SetRowCount(rowCount);
        ResetKeys(grid->ColCount(), grid->RowCount());

        TLayout layout(*this, *grid, *cellset, theme);
        layout.Axis0 = columns;
        layout.Widths.assign(size_t(grid->ColCount()), 0);
        bool aborted = false;
        try {
            layout.SetBrush(0, 0, theme.DimensionColor);
            if (cd == 0 && rd == 0) {
                layout.Placeholder(1, 0, kDragColumnFieldsText);
                layout.Placeholder(0, 1, kDragRowFieldsText);
            } else if (cd == 0) {
                layout.Placeholder(rd, 0, kDragColumnFieldsText);
                layout.RowHeaders(layout.ReadAxis(*rows, rd), cd);
            } else if (rd == 0) {
                layout.ColumnHeaders(layout.ReadAxis(*columns, cd), rd);
                layout.Placeholder(0, cd, kDragRowFieldsText);
            } else {
                const TAxisTable rowTable = layout.ReadAxis(*rows, rd);
                const TAxisTable colTable = layout.ReadAxis(*columns, cd);
                layout.RowHeaders(rowTable, cd);
                layout.ColumnHeaders(colTable, rd);
                layout.DataCells(rd, cd, cp, rp);
            }
        } catch (const TLayoutAborted&) {
            ok = false;
            aborted = true;
        } catch (const std::exception& e) {
            ok = false;
            failure = e.what();
        } catch (...) {
            ok = false;
            failure = "unknown error";
        }
        if (!aborted && gridAlive) layout.AutoSizeColumns();
    }

    if (!failure.empty()) {
        const std::string text = "The query result could not be shown in full: " + failure;
        FContext.WriteLog(text);
        FContext.ShowError(text);
    }
    return ok;
}

}  // namespace cb::app
