#pragma once
// TBaseGrid: the string grid the grid control stands on. Cells hold text and
// may own a lazily created TCellProperties; rectangles of cells can be merged
// (reads and writes of any cell of a range go to its base cell); the grid
// draws its own cells and lines through a TCanvas.
//
// Storage: one vector of cells per row; a cell is its text plus its property
// object (null for a plain cell). Column and row positions are kept as prefix
// sums (TGridAxis), so hit tests, visible ranges and cell rectangles cost
// O(log n) and painting touches only the visible cells.
//
// The code is spread by concern: BaseGrid.cpp (cells, merged ranges),
// BaseGridLayout.cpp (sizes, scrolling, geometry), BaseGridInput.cpp and
// BaseGridPaint.cpp.
#include "grid/CellProperties.h"
#include "grid/GridAxis.h"
#include "grid/util/GridTypes.h"
#include "grid/util/RowAllocator.h"

#include "platform/gfx/Canvas.h"

#include <QBasicTimer>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMimeData;
class QPainter;
class QPixmap;

namespace cb::grid {

class TGridScrollBar;

using cb::gfx::TBrush;
using cb::gfx::TCanvas;
using cb::gfx::TFont;

// One stored cell: its text and its property object (null for a plain cell).
struct TGridCell {
    std::string Text;
    std::unique_ptr<TCellProperties> Props;
};
using TGridRowCells = std::vector<TGridCell, TRowAllocator<TGridCell>>;

class TBaseGrid : public QWidget {
public:
    explicit TBaseGrid(QWidget* parent = nullptr);
    ~TBaseGrid() override;

    // --- size and layout ---------------------------------------------------
    int ColCount() const { return FColAxis.Count(); }
    int RowCount() const { return FRowAxis.Count(); }
    virtual void SetColCount(int count);
    virtual void SetRowCount(int count);
    virtual int FixedCols() const { return FFixedCols; }
    virtual int FixedRows() const { return FFixedRows; }
    virtual void SetFixedCols(int count);
    virtual void SetFixedRows(int count);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    virtual void SetDefaultRowHeight(int height);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions options);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor color);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }

    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int width);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor color);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }

    // --- position ----------------------------------------------------------
    int Col() const { return FCol; }
    int Row() const { return FRow; }
    void SetCol(int col);
    void SetRow(int row);
    TGridRect Selection() const { return FSelection; }
    void SetSelection(const TGridRect& rect);
    int TopRow() const { return FTopRow; }
    int LeftCol() const { return FLeftCol; }
    void SetTopRow(int row);
    void SetLeftCol(int col);
    // Fully visible scrollable columns (rows) from LeftCol (TopRow); at least
    // 1 while there are scrollable columns (rows).
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // The cell's rectangle in client pixels; empty when it is not visible.
    TRect CellRect(int col, int row) const;
    // The cell under a client point; -1 and -1 outside the cells.
    void MouseToCell(int x, int y, int& col, int& row) const;
    TGridCoord MouseCoord(int x, int y) const;
    // The area the cells are drawn in (the client area without scroll bars).
    TRect CellArea() const;
    // Total width of the fixed columns / height of the fixed rows.
    int FixedWidth() const;
    int FixedHeight() const;

    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateCol(int col);
    void InvalidateGrid();

    // --- cell text and properties -----------------------------------------
    // The stored cell string: no redirection, hook or repaint.
    const std::string& Cells(int col, int row) const { return GetRawCellText(col, row); }
    // Writes the stored string and repaints the cell.
    void SetCells(int col, int row, const std::string& text);

    std::string GetCellText(int col, int row) const;
    void SetCellText(int col, int row, const std::string& text);
    const std::string& GetRawCellText(int col, int row) const;
    void SetRawCellText(int col, int row, const std::string& text);
    bool CellHasProperties(int col, int row) const { return CellProps(col, row) != nullptr; }
    // The cell's property object, made first when the cell has none; nullptr
    // for a cell outside the grid.
    TCellProperties* EnsureCellProperties(int col, int row);
    // Object slot access. SetCellObject frees the object it replaces
    // (ReplaceCellObject does the same); TakeCellObject hands the object, with
    // its graphic, to the caller and empties the slot.
    TCellProperties* GetCellObject(int col, int row) const { return CellProps(col, row); }
    void SetCellObject(int col, int row, std::unique_ptr<TCellProperties> object);
    void ReplaceCellObject(int col, int row, std::unique_ptr<TCellProperties> object);
    std::unique_ptr<TCellProperties> TakeCellObject(int col, int row);
    // The cell's graphic (owned by its property object, freed with it).
    TCellGraphic* GetCellGraphicObject(int col, int row) const;
    void SetCellGraphicObject(int col, int row, std::unique_ptr<TCellGraphic> graphic);
    // Takes ownership of the graphic unless it is shared (a cell outside
    // the grid frees an unshared one).
    void SetCellGraphicObject(int col, int row, TCellGraphic* graphic);
    // Empties the text and the object slot (the object is freed: each object
    // has one owner here, so nothing can still refer to it).
    void ClearCell(int col, int row);
    void ClearColumnCells(int col);
    void ClearRowCells(int row);
    // Frees every property object of the rectangle (and its graphic).
    void FreeCellObjects(int col1, int row1, int col2, int row2);
    void FreeAllCellObjects();

    // --- merged ranges ----------------------------------------------------
    virtual void MergeCellRange(int col, int row, int colCount, int rowCount);
    virtual void SplitMergedRange(int col, int row);
    TGridCoord FindBaseCell(int col, int row) const {
        const TCellProperties* p = CellProps(col, row);
        if (!p || p->IsBaseCell || p->CellSpanX == -1 || p->CellSpanY == -1) return {col, row};
        return {col - p->CellSpanX, row - p->CellSpanY};
    }
    bool ResolveBaseCell(int col, int row, int& baseCol, int& baseRow) const;
    bool IsBaseCellAt(int col, int row) const;
    bool IsInMergedRange(int col, int row) const;
    bool IsMergedAcross(int col, int row) const;
    bool IsMergedDown(int col, int row) const;
    TGridCoord GetMergedSpan(int col, int row) const;
    bool RowsShareMergedRange(int rowA, int rowB) const;
    void SnapToBaseCell();

    // --- geometry -----------------------------------------------------------
    TRect GetPlainCellRect(int col, int row) const;
    TRect GetMergedCellRect(int col, int row) const;
    cb::gfx::TSize GetMergedCellSize(int col, int row) const;
    void InvalidateCellArea(int col, int row);

    // --- painting -----------------------------------------------------------
    std::uint32_t PaintPass() const { return FPaintPass; }
    bool FooterRowFixed() const { return FFooterRowFixed; }
    void SetFooterRowFixed(bool value) { FFooterRowFixed = value; }
    int DisplayTextRowLimit() const { return FDisplayTextRowLimit; }
    void SetDisplayTextRowLimit(int limit) { FDisplayTextRowLimit = limit; }
    // Paints the visible cells on a canvas of the widget's size (used by the
    // paint event; also usable to paint into an image).
    void PaintCells(TCanvas& canvas);

    // --- events -------------------------------------------------------------
    std::function<void(QObject* sender, int col, int row, std::string& value)> OnGetDisplText;
    std::function<void(QObject* sender, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(QObject* sender)> OnTopLeftChanged;

    // The toolkit's mouse and key events (x and y in client pixels).
    std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseDown;
    std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseUp;
    std::function<void(QObject* sender, Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
    std::function<void(QObject* sender)> OnClick;
    std::function<void(QObject* sender)> OnDblClick;
    std::function<void(QObject* sender, int& key, Qt::KeyboardModifiers shift)> OnKeyDown;
    std::function<void(QObject* sender, int& key, Qt::KeyboardModifiers shift)> OnKeyUp;
    std::function<void(QObject* sender)> OnEnter;
    std::function<void(QObject* sender)> OnExit;

    // Drags of the grid to other controls. BeginDrag(false) starts the drag
    // once the mouse has moved more than threshold pixels with the button
    // held (-1: the system's distance); a release before that cancels it.
    // OnStartDrag supplies the data (none: no drag); OnEndDrag reports how
    // the drag ended (Qt::IgnoreAction: cancelled or refused), always once
    // for every drag that OnStartDrag was asked for.
    void BeginDrag(bool immediate, int threshold = -1);
    bool DragPending() const { return FDragPending; }
    bool Dragging() const { return FDragging; }
    std::function<void(QObject* sender, std::unique_ptr<QMimeData>& data)> OnStartDrag;
    std::function<void(QObject* sender, Qt::DropAction action)> OnEndDrag;

    TGridState GridState() const { return FGridState; }
    // Moves a column (row) with its cells and width (height) from one
    // position to another, then calls ColumnMoved (RowMoved).
    void MoveColumn(int from, int to);
    void MoveRow(int from, int to);

    // Moves the current cell (through SelectCell); with moveAnchor the
    // selection becomes the cell, else it stretches from the anchor. Scrolls
    // the cell into view.
    void FocusCell(int col, int row, bool moveAnchor);

protected:
    // Hooks descendants override.
    virtual bool DrawAsFixed(int col, int row);
    virtual int GetRowIndent(int row);
    virtual bool SkipFirstColumnLine();
    virtual void DrawCellContent(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState state);
    virtual void LastRowChanged();
    virtual void GetCellAppearance(int col, int row, TGridDrawState& state, bool printing, bool selectable,
                                   bool mapColumn, TBrush& brush, TFont& font, TAlignment& hAlign, TVAlignment& vAlign);
    virtual void GetDisplayText(int col, int row, std::string& text) const;

    // Behaviour that descendants extend.
    virtual void Paint(TCanvas& canvas);
    virtual void DrawCell(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual void TopLeftChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    virtual void DoMouseWheelDown();
    virtual void DoMouseWheelUp();

    // The toolkit's mouse handling: range selection, column and row sizing
    // (applied on release), column and row moving, the control drag, and
    // the OnMouseDown, OnMouseMove and OnMouseUp events.
    virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    // Whether a press at (x, y) would size a column or a row: state becomes
    // gsColSizing or gsRowSizing with the index sized, the line position and
    // the offset of the press from the edge.
    virtual void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs);
    virtual void ColumnMoved(int from, int to);
    virtual void RowMoved(int from, int to);
    // A column (row) got its new size from the mouse.
    virtual void ColumnSized(int) {}
    virtual void RowSized(int) {}
    // Runs the system drag loop for data (taking it) and returns the action
    // the target chose.
    virtual Qt::DropAction ExecDrag(QMimeData* data, Qt::DropActions actions, Qt::DropAction defaultAction);
    // The picture the next drag shows at the mouse.
    void SetDragPixmap(const QPixmap& pixmap);
    // Starts the pending control drag now.
    void StartControlDrag();
    void CancelDrag() { FDragPending = false; }
    // The release that follows raises no OnClick.
    void SuppressClick() { FClicked = false; }
    // A left press the toolkit's handling may not see: its release clicks,
    // and a drag begun now measures from it.
    void NoteLeftPress(const QPoint& at) {
        FClicked = true;
        FLastPress = at;
    }
    void SetGridState(TGridState state);
    int SizingIndex() const { return FSizingIndex; }
    int SizingPos() const { return FSizingPos; }
    int MoveIndex() const { return FMoveIndex; }
    int MoveTarget() const { return FMoveTarget; }
    // Draws the sizing line of a column or row being sized over the cells.
    void PaintSizingLine(QPainter& painter);
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // While a range is selected or a column or row moved with the mouse
    // beyond the cells, the grid scrolls towards it on a timer.
    void AutoScrollTick();
    // Whether a repaint may happen now (the extended grid suspends repaints).
    virtual bool RepaintAllowed() const { return true; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Row storage, for the row and column operations of descendants.
    using TCell = TGridCell;
    using TRowCells = TGridRowCells;
    std::vector<TRowCells>& RowStore() { return FRows; }
    // After rows or columns moved in storage: owner positions, sizes and
    // prefix sums are brought up to date.
    void StorageMoved();
    std::vector<int>& ColWidthStore() { return FColAxis.Sizes; }
    std::vector<int>& RowHeightStore() { return FRowAxis.Sizes; }
    // Grows or shrinks the storage without moving the selection, scrolling or
    // repainting.
    void ResizeStorage(int colCount, int rowCount);

    TCellProperties* CellProps(int col, int row) const {
        if (row < 0 || col < 0 || row >= int(FRows.size()) || col >= int(FRows[size_t(row)].size())) return nullptr;
        return FRows[size_t(row)][size_t(col)].Props.get();
    }
    TCell* CellAt(int col, int row) {
        if (row < 0 || col < 0 || row >= int(FRows.size()) || col >= int(FRows[size_t(row)].size())) return nullptr;
        return &FRows[size_t(row)][size_t(col)];
    }
    void UpdateScrollBars();
    // Room kept free below the cells (a panel aligned to the bottom).
    int BottomReserve() const { return FBottomReserve; }
    void SetBottomReserve(int pixels);
    // Called after the scroll bars were placed.
    virtual void ScrollBarsPlaced() {}
    // The first scrolled column (row) a scroll bar position stands for.
    virtual int ScrollBarToFirst(TGridAxisKind, int value) const { return value; }
    TGridScrollBar* HorzBar() const { return FHorzBar; }
    TGridScrollBar* VertBar() const { return FVertBar; }
    int MaxFirstCol() const { return MaxFirst(TGridAxisKind::Cols); }
    int MaxFirstRow() const { return MaxFirst(TGridAxisKind::Rows); }
    bool Destroying() const { return FDestroying; }
    void SetDestroying() { FDestroying = true; }

private:
    // The state of one direction, for code shared by columns and rows.
    struct TAxisRefs {
        TGridAxis& Axis;
        int& Fixed;        // fixed count as stored
        int& Current;      // the current column (row)
        int& Anchor;       // the selection anchor's column (row)
        int& First;        // the first scrolled column (row) shown
        int& DefaultSize;  // width (height) of new columns (rows)
    };
    TAxisRefs Refs(TGridAxisKind kind);
    int Fixed(TGridAxisKind kind) const;  // FixedCols() or FixedRows()
    // Pixels left for the scrolled columns (rows) beside the fixed ones.
    int Avail(TGridAxisKind kind) const;
    void SetCount(TGridAxisKind kind, int count);
    void SetFixed(TGridAxisKind kind, int count);
    void SetDefaultSize(TGridAxisKind kind, int size);
    void SetSize(TGridAxisKind kind, int index, int size);
    void SizesChanged(TGridAxisKind kind);
    int VisibleCount(TGridAxisKind kind) const;
    int MaxFirst(TGridAxisKind kind) const;
    // The first scrolled index that shows index whole (the current one when
    // index is fixed or out of range).
    int FirstShowing(TGridAxisKind kind, int index) const;
    // The column (row) at a client coordinate, or -1.
    int IndexAt(TGridAxisKind kind, int v) const;

    void DrawCellBody(TCanvas& canvas, int col, int row, TGridDrawState state);
    void ScrollIntoView(int col, int row);
    void ClampTopLeft();
    void SetTopLeft(int leftCol, int topRow);
    void OnScrollBarMoved();

    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    TGridAxis FColAxis;
    TGridAxis FRowAxis;
    std::vector<TRowCells> FRows;

    TGridOptions FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TScrollStyle FScrollBars = ssBoth;
    TColor FColor = cb::gfx::clWindow;
    TColor FFixedColor = cb::gfx::clBtnFace;
    TFont FFont;
    int FGridLineWidth = 1;
    TColor FGridLineColor = cb::gfx::clSilver;
    bool FDefaultDrawing = false;

    int FCol = 1;
    int FRow = 1;
    TGridCoord FAnchor{1, 1};
    TGridRect FSelection{1, 1, 1, 1};
    int FTopRow = 1;
    int FLeftCol = 1;
    TGridState FGridState = gsNormal;
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMoveTarget = -1;
    bool FClicked = false;
    bool FDragPending = false;
    bool FDragging = false;
    QPoint FDragStart;
    QPoint FLastPress;
    QPoint FAutoScrollPoint;
    QBasicTimer FAutoScrollTimer;
    std::unique_ptr<QPixmap> FDragPixmap;
    int FDragThreshold = 0;

    std::uint32_t FPaintPass = 0;
    bool FFooterRowFixed = false;
    int FDisplayTextRowLimit = 0;
    bool FDestroying = false;
    int FBottomReserve = 0;
    bool FSyncingScrollBars = false;

    TGridScrollBar* FHorzBar = nullptr;
    TGridScrollBar* FVertBar = nullptr;
};

}  // namespace cb::grid
