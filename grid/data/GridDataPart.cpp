#include "grid/data/GridDataPart.h"

#include "grid/ExtStringGrid.h"
#include "grid/data/CsvImport.h"
#include "platform/rtl/ScopeGuard.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace cb::grid {

TGridDataPart::TGridDataPart(TExtStringGrid& grid) : FGrid(grid), FClipboard(grid) {
    FClipboard.OnClipboardBeforePasteCell = [this](QObject* sender, int col, int row, std::string& value, bool& allow) {
        if (FGrid.OnClipboardBeforePasteCell) FGrid.OnClipboardBeforePasteCell(sender, col, row, value, allow);
    };
}

TSortHooks TGridDataPart::SortHooks() const {
    TSortHooks hooks;
    TExtStringGrid* g = &FGrid;
    hooks.OnCustomCompare = [g](QObject* sender, const std::string& a, const std::string& b, int& res) {
        if (g->OnCustomCompare) g->OnCustomCompare(sender, a, b, res);
    };
    hooks.OnRawCompare = [g](QObject* sender, int col, int r1, int r2, int& res) {
        if (g->OnRawCompare) g->OnRawCompare(sender, col, r1, r2, res);
    };
    return hooks;
}

void TGridDataPart::ClickSort(int col, bool shift) {
    TExtStringGrid& g = FGrid;
    TSortSettings& ss = g.SortSettings;
    const TSortHooks hooks = SortHooks();
    if (ss.AutoColumnMerge) g.SplitAllColumnMerges();
    if (ss.IndexShow) {
        TSortIndexList& list = g.SortIndexes;
        if (shift) {
            if (list.FindColumn(col) < 0)
                list.AddIndex(col, true);
            else
                list.ToggleIndex(col);
        } else if (list.Count() == 1 && TSortIndexList::Column(list.Item(0)) == col) {
            list.ToggleIndex(col);
        } else {
            list.Clear();
            list.AddIndex(col, true);
        }
        SortByIndex(g, hooks);
    } else {
        if (col == ss.Column) {
            ss.Direction = ss.Direction == sdAscending ? sdDescending : sdAscending;
        } else {
            ss.Column = col;
            ss.Direction = sdAscending;
        }
        const int left = g.LeftCol();
        const bool keepLeft = g.Navigation.KeepHorizScroll && (g.Options() & goRowSelect);
        if (g.NodeCount() > 0)
            SortNodeGroups(g, hooks);
        else
            SortByColumn(g, hooks);
        if (keepLeft) g.SetLeftCol(left);
    }
    if (ss.AutoColumnMerge) g.MergeListedColumns();
    g.InvalidateGrid();
    if (g.OnClickSort) g.OnClickSort(&g, ss.Column);
}

bool TGridDataPart::ImportCSVFile(const std::string& fileName) {
    TExtStringGrid* g = &FGrid;
    ImportCSV(FGrid, fileName, false, [g](int percent) {
        if (g->OnFileProgress) g->OnFileProgress(g, percent);
    });
    return true;
}

bool TGridDataPart::KeyPress(QKeyEvent& event) {
    TExtStringGrid& g = FGrid;
    if (!g.Navigation.AllowClipboardShortCuts) return false;
    const auto mods = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event.key();
    enum {
        None,
        Copy,
        Cut,
        Paste
    } what = None;
    if (mods == Qt::ControlModifier && (key == Qt::Key_C || key == Qt::Key_Insert))
        what = Copy;
    else if ((mods == Qt::ControlModifier && key == Qt::Key_X) || (mods == Qt::ShiftModifier && key == Qt::Key_Delete))
        what = Cut;
    else if ((mods == Qt::ControlModifier && key == Qt::Key_V) || (mods == Qt::ShiftModifier && key == Qt::Key_Insert))
        what = Paste;
    if (what == None) return false;
    bool allow = true;
    switch (what) {
    case Copy:
        if (g.OnClipboardCopy) g.OnClipboardCopy(&g, allow);
        if (allow) FClipboard.CopySelection();
        break;
    case Cut:
        if (g.OnClipboardCut) g.OnClipboardCut(&g, allow);
        if (allow) FClipboard.CutSelection();
        break;
    case Paste:
        if (g.OnClipboardPaste) g.OnClipboardPaste(&g, allow);
        if (allow) FClipboard.PasteSelection();
        break;
    case None:
        break;
    }
    event.accept();
    return true;
}

bool TGridDataPart::MousePress(QMouseEvent& event) {
    TExtStringGrid& g = FGrid;
    const int x = int(event.position().x()), y = int(event.position().y());
    FPress = g.MouseCoord(x, y);
    if (event.button() != Qt::LeftButton || g.MouseZone() != 5) return false;
    // The resize handle: the block is copied now and filled on release.
    FClipboard.CopySelection();
    const TGridRect s = g.Selection();
    FFillFrom = {s.Left, s.Top};
    FFilling = true;
    return true;
}

bool TGridDataPart::MouseMove(QMouseEvent& event) {
    if (!FFilling) return false;
    TExtStringGrid& g = FGrid;
    const TGridCoord c = g.MouseCoord(int(event.position().x()), int(event.position().y()));
    if (c.X >= FFillFrom.X && c.Y >= FFillFrom.Y) g.SetSelection({FFillFrom.X, FFillFrom.Y, c.X, c.Y});
    return true;
}

bool TGridDataPart::MouseRelease(QMouseEvent& event) {
    TExtStringGrid& g = FGrid;
    if (FFilling) {
        FFilling = false;
        FClipboard.FillMode = true;
        auto endFill = cb::rtl::OnScopeExit([this] { FClipboard.FillMode = false; });
        FClipboard.PasteSelection();
        return true;
    }
    const TGridCoord press = FPress;
    FPress = {-1, -1};
    if (event.button() != Qt::LeftButton) return false;
    const TGridCoord c = g.MouseCoord(int(event.position().x()), int(event.position().y()));
    const TSortSettings& ss = g.SortSettings;
    if (c.X < 0 || c.X != press.X || c.Y != ss.Row || press.Y != ss.Row || g.FixedRows() == 0 || !ss.Show ||
        g.RowCount() <= 2 || (c.X < g.FixedCols() && !ss.FixedCols))
        return false;
    bool doSort = true;
    if (g.OnCanSort) g.OnCanSort(&g, c.X, doSort);
    if (doSort) ClickSort(c.X, event.modifiers() & Qt::ShiftModifier);
    return false;  // the grid ends its press as usual
}

std::unique_ptr<TGridPart> MakeGridDataPart(TExtStringGrid& grid) {
    return std::make_unique<TGridDataPart>(grid);
}

}  // namespace cb::grid
