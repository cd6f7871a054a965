#pragma once
// TExtStringGrid: the grid control. Per-cell styles, merged cells, typed
// cell access, disjunct row/column/cell selections, banded rows, looks of
// fixed cells, sort glyphs, repaint suspension, and the row and column
// operations that keep cell objects and selections consistent.
//
// The grid's state lives in its private part (ExtStringGridPrivate.h), with
// the selection (GridSelection.h), the hidden rows (HiddenRows.h) and the
// sizing state (GridSizing.h) as objects of their own. Editing and the data
// operations are parts the grid owns and offers its input to (GridPart.h).
#include "grid/BaseGrid.h"
#include "grid/CellGraphic.h"
#include "grid/ExtStringGridCheck.h"
#include "grid/GridPart.h"
#include "grid/markup/HTMLPicture.h"
#include "grid/markup/MarkupRenderer.h"
#include "grid/FooterPanel.h"
#include "grid/settings/BackGround.h"
#include "grid/settings/Bands.h"
#include "grid/settings/CellNode.h"
#include "grid/settings/ColumnSize.h"
#include "grid/settings/ControlLook.h"
#include "grid/settings/DragDropSettings.h"
#include "grid/settings/Filter.h"
#include "grid/settings/FloatingFooter.h"
#include "grid/settings/HTMLSettings.h"
#include "grid/settings/MouseActions.h"
#include "grid/settings/Navigation.h"
#include "grid/settings/PrintSettings.h"
#include "grid/settings/SizeWhileTyping.h"
#include "grid/settings/SortSettings.h"
#include "grid/util/CellList.h"
#include "grid/util/DateUtils.h"
#include "grid/util/IntList.h"
#include "grid/util/SortIndexList.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::grid {

class THTMLHintWindow;
class TArrowWindow;
class TGridScrollBar;
class TPopupButton;
class TExtStringGridPrivate;
class TGridEditPart;
class TEditLink;
struct THiddenRow;

// MIME types of the grid's drags: a dragged header column (its index as
// decimal text) and rich text.
inline constexpr const char* GridColumnMimeType = "application/x-cubebrowser-grid-column";
inline constexpr const char* RichTextMimeType = "text/rtf";

enum TGridLook {
    glStandard,
    glSoft,
    glClassic,
    glExt
};
enum TBorderStyle {
    bsNone,
    bsSingle
};
enum TIntelliPan {
    ipVertical,
    ipHorizontal,
    ipBoth,
    ipNone
};
enum TScrollType {
    ssNormal,
    ssFlat,
    ssEncarta
};
enum TScrollHintType {
    shNone,
    shVertical,
    shHorizontal,
    shBoth
};
enum TCellBorder : unsigned {
    cbLeft = 1,
    cbTop = 2,
    cbRight = 4,
    cbBottom = 8
};
using TCellBorders = unsigned;
enum TSortStyle {
    ssAutomatic,
    ssAlphabetic,
    ssNumeric,
    ssDate,
    ssAlphaNoCase,
    ssAlphaCase,
    ssShortDateEU,
    ssShortDateUS,
    ssCustom,
    ssFinancial,
    ssAnsiAlphaCase,
    ssAnsiAlphaNoCase,
    ssRaw,
    ssHTML,
    ssImages,
    ssCheckBox,
    ssUnicode
};

class TExtStringGrid : public TBaseGrid {
public:
    explicit TExtStringGrid(QWidget* parent = nullptr);
    ~TExtStringGrid() override;

    // --- counts ------------------------------------------------------------
    void SetRowCount(int count) override;
    void SetColCount(int count) override;
    int FixedRows() const override;
    int FixedCols() const override;
    void SetDefaultRowHeight(int height) override;
    int FixedRowHeight() const;
    void SetFixedRowHeight(int height);
    int FixedColWidth() const { return ColWidths(0); }
    int FixedFooters() const;
    void SetFixedFooters(int value);
    int FixedRightCols() const;
    void SetFixedRightCols(int value);
    bool FixedRowAlways() const;
    void SetFixedRowAlways(bool value);
    bool FixedColAlways() const;
    void SetFixedColAlways(bool value);
    int HiddenColumnCount() const { return 0; }
    // Hidden columns: display and real numbering are equal here.
    virtual int RealColIndex(int displayCol) const { return displayCol; }
    virtual int DisplColIndex(int realCol) const { return realCol; }

    // --- typed cell access ---------------------------------------------------
    void SetCellInt(int col, int row, int value);
    int GetCellInt(int col, int row) const;
    void SetCellFloat(int col, int row, double value);
    // A number as SetCellFloat writes it (FloatFormat).
    std::string FormatCellFloat(double value) const;
    double GetCellFloat(int col, int row) const;
    void SetCellDate(int col, int row, TDateTime date);
    std::u16string GetWideCellText(int col, int row) const;
    void SetWideCellText(int col, int row, const std::u16string& text);

    // --- per-cell styles -----------------------------------------------------
    void SetCellBrushColor(int col, int row, TColor color);
    TColor GetCellBrushColor(int col, int row) const;
    void SetCellFontColor(int col, int row, TColor color);
    TColor GetCellFontColor(int col, int row) const;
    void SetCellFontStyle(int col, int row, TFontStyles style);
    TFontStyles GetCellFontStyle(int col, int row) const;
    void SetCellFontName(int col, int row, const std::string& name);
    std::string GetCellFontName(int col, int row) const;
    void SetCellFontSize(int col, int row, int size);
    int GetCellFontSize(int col, int row) const;
    void SetCellAlignment(int col, int row, TAlignment alignment);
    TAlignment GetCellAlignment(int col, int row) const;

    // --- disjunct selection --------------------------------------------------
    bool IsRowSelected(int row);
    bool IsColumnSelected(int col);
    void SetRowSelected(int row, bool marked);
    void SetColumnSelected(int col, bool marked);
    void ClearRowSelection();
    void ClearColumnSelection();
    int GetSelectedColumnCount() const;
    int GetSelectedRowCount() const;
    void SelectionToRows(bool all);
    void SelectionToColumns(bool all);
    void SelectColumnRange(int firstCol, int count);
    bool IsCellSelectedDisjunct(int col, int row) const;
    void SetCellSelected(int col, int row, bool selected);
    void ClearCellSelection();
    const std::vector<TGridCoord>& SelectedCells() const;
    int RowSelectListSize() const;
    // Whether a normal cell is selected: its row's (column's) mark in a
    // disjunct row (column) selection, else whether it lies inside Selection.
    bool IsCellSelected(int col, int row) const;
    int RangeFirstCol() const { return 0; }
    int RangeFirstRow() const { return 0; }
    int RangeLastCol() const { return ColCount() - 1; }
    int RangeLastRow() const { return RowCount() - 1; }
    void HideSelection();
    void RestoreSelection();
    bool SelectionHidden() const;

    // --- headers and navigation ------------------------------------------------
    const std::vector<std::string>& ColumnHeaders() const;
    void SetColumnHeaders(const std::vector<std::string>& headers);
    const std::vector<std::string>& RowHeaders() const;
    void SetRowHeaders(const std::vector<std::string>& headers);
    void InvalidateCellRange(const TGridRect& rect);
    void GotoCell(int col, int row);
    bool CellIsPassword(int col, int row);
    void ScreenToCell(const QPoint& screen, int& col, int& row) const;

    // --- rows and columns ------------------------------------------------------
    virtual void ClearRect(int col1, int row1, int col2, int row2);
    void ClearRowRange(int row, int count);
    void ClearColumnRange(int col, int count);
    void ClearAllCells();
    virtual void RemoveRows(int row, int count);
    virtual void InsertRows(int row, int count);
    virtual void RemoveCols(int col, int count);
    virtual void InsertCols(int col, int count);
    virtual void CutRows(int row, int count);
    void RemoveSelectedRows();
    void AppendRow();
    bool KeepCellObjects = false;

    // --- column calculations ---------------------------------------------------
    double SumColumnRange(int col, int firstRow, int lastRow) const;
    double AverageColumnRange(int col, int firstRow, int lastRow) const;
    double MinColumnRange(int col, int firstRow, int lastRow) const;
    double MaxColumnRange(int col, int firstRow, int lastRow) const;
    // The footer template with "<#n>" replaced by the text of column n in the
    // current row.
    std::string ExpandFooterTemplate(const std::string& text) const;

    // --- repaint suspension ----------------------------------------------------
    void SuspendRepaint();
    void SuspendRepaintQuietly();
    void ResumeRepaint();
    void ClearRepaintSuspension();
    int RepaintSuspendCount() const;
    // Bulk changes: nothing is painted until the matching EndUpdate.
    void BeginUpdate() { SuspendRepaint(); }
    void EndUpdate() { ResumeRepaint(); }

    // --- floating footer -------------------------------------------------------
    // The panel below the cells (a child of the grid, freed with it).
    TFooterPanel* FooterPanel() const;
    void RepaintFooterPanel();
    // Recomputes the footer row's calculated cells (FooterCalcKind of their
    // property objects: 1 sum, 2 average, 3 count, 4 minimum, 5 maximum of
    // the normal rows) for one column, or all for -1. Only while the footer
    // shows the fixed last row. A summed cell that is not a number raises
    // EExtGridError; the cells written before stay written.
    virtual void UpdateFooter(int col);

    // --- cell graphics (ExtStringGridGraphics.cpp) ----------------------------
    // Columns are real columns unless named display columns.
    TCellGraphic* GetCellGraphic(int col, int row) const;
    // ctEmpty for a cell without graphic (nothing is created).
    virtual TCellType GetCellGraphicType(int col, int row) const;
    // A fresh graphic (ctNone) in place of the cell's old one.
    TCellGraphic* CreateCellGraphic(int col, int row);
    // False without graphic; a shared graphic is only let go.
    bool RemoveCellGraphic(int col, int row);
    // Nothing without GridImages.
    void SetCellImageIndex(int col, int row, int index, TCellHAlign hAlign, TCellVAlign vAlign);
    bool IsCheckBoxCell(int col, int row) const;
    bool IsCheckOrRadioCell(int col, int row) const;
    bool GetCheckBoxState(int col, int row, bool& checked);
    void SetCheckBoxState(int displayCol, int row, bool checked);
    // Flips a check box (asking CanEditCell first when ask); false for a
    // cell without one or when editing is refused.
    bool ToggleCheckBox(int col, int row, bool ask);
    bool GetRadioIndex(int col, int row, int& index) const;
    const std::vector<std::string>* GetRadioItems(int col, int row) const;
    bool IsRadioCell(int col, int row) const;
    // Selects the next item of a radio group (the first after the last).
    void CycleRadio(int col, int row, bool ask);
    bool IsButtonCell(int col, int row) const;
    bool GetButtonRect(int displayCol, int row, TRect& rect) const;
    bool GetCellComment(int col, int row, std::string& text) const;
    void GetErrorRange(int col, int row, int& start, int& length) const;
    bool GetRotation(int col, int row, int& angle) const;
    const std::vector<int>* GetImageIndexList(int col, int row) const;
    // The key the image sort orders by: the bitmap or icon (as an address),
    // the image index, -1 for other cells.
    std::intptr_t GetGraphicSortKey(int col, int row) const;
    virtual cb::gfx::TSize GetCellGraphicSize(int col, int row);
    virtual cb::gfx::TSize GetCellGraphicPrintSize(int col, int row, int availWidth, int availHeight, double scale);
    // Colour of the comment marker; clNone draws none.
    TColor CommentColor = cb::gfx::clRed;
    // Drawn with the system's visual styles.
    bool XPLook = true;

    // --- hidden rows, tree nodes and the row filter (ExtStringGridRows.cpp) --
    // Display rows are the grid's rows; real rows count hidden ones too.
    int DisplayToRealRow(int displayRow) const;
    int RealToDisplayRow(int realRow) const;
    bool IsRowHidden(int realRow) const;
    int HiddenRowCount() const;
    // Takes shown rows first .. last (real rows, one under the other) out of
    // view with their texts, objects and heights; nothing when first is
    // already hidden.
    void HideRows(int firstReal, int lastReal);
    // Brings hidden rows first .. last back in place; nothing unless first
    // is hidden.
    void UnhideRows(int firstReal, int lastReal);
    void UnhideAllRows();
    // A node row holds a ctNode graphic in column 0 (display rows).
    bool IsNodeRow(int row) const;
    bool IsNodeContracted(int row) const;
    int GetNodeSpan(int row) const;
    // Number of node rows shown; the grid treats itself as a tree above 0.
    int NodeCount() const;
    void ExpandNode(int realRow);
    void ContractNode(int realRow);
    // 0 no tree line, 1 last row of a group, 2 inner row of a group.
    int GetTreeLinePosition(int row);
    virtual bool RowPassesFilter(int row);
    // Hides every normal row that fails the filter.
    void ApplyFilter();
    bool FilterActive() const;
    void SetFilterActive(bool value);
    int FilterFixedRows() const;
    std::function<void(QObject*, int progress)> OnFilterProgress;
    std::function<void(QObject*, int row, int rowReal)> OnExpandNode;
    std::function<void(QObject*, int row, int rowReal)> OnContractNode;

    // --- merged columns -----------------------------------------------------------
    // Columns whose equal runs are merged again after a header-click sort;
    // a change splits and re-merges at once.
    TIntList MergeColumnList;
    void SplitColumnMerges(int col);
    void MergeEqualRuns(int col, bool first);
    void SplitAllColumnMerges();
    void MergeListedColumns();

    // --- measuring, fitting and column widths (ExtStringGridSizing.cpp) -------
    // Width and height a cell's content needs, margins included.
    cb::gfx::TSize MeasureCellContent(int col, int row, bool wrap);
    void MeasureColumnWidth(int col, bool onlyGrow);
    void FitColumnWidth(int col) { MeasureColumnWidth(col, AutoSizeOnlyGrow); }
    // Every column from 0 (or from FixedCols), plus extra pixels each.
    void FitColumnWidths(bool fromFirstColumn, int extra);
    void MeasureRowHeight(int row, bool onlyGrow);
    void FitRowHeight(int row) { MeasureRowHeight(row, AutoSizeOnlyGrow); }
    void SetRowHeightForLines(int row, int lines, int extra);
    int GetRowLineCount(int row);
    // Exchanges two rows (texts, objects, heights and marks), as sorts do.
    virtual void ExchangeRows(int a, int b);
    // The row a sort follows; exchanges keep it on its row.
    int SortTrackedRow = -1;
    int MinColumnWidth = 10;
    int MaxColumnWidth = 0;
    int MinRowHeight = 0;
    int MaxRowHeight = 0;
    bool AutoSizeOnlyGrow = false;
    bool AutoSize() const;
    // On: every normal column fits its content plus 10 pixels.
    void SetAutoSize(bool value);
    bool IntegralHeight() const;
    void SetIntegralHeight(bool value);
    // Places the grid; with IntegralHeight the height shows whole rows.
    void SetBounds(int left, int top, int width, int height);

    TColumnSize ColumnSize;
    // The widths as values "Col0", "Col1", ... of ColumnSize.Section in the
    // settings store (key ColumnSize.Key) or the INI file ColumnSize.Key.
    // Nothing when Key or Section is empty.
    void SaveColumnWidths();
    void LoadColumnWidths();
    // Gives the column (-1: the last) the width the others leave free in
    // the client area. A column the grid does not have is left alone.
    void StretchColumnToFit(int col);
    // Whether a point lies on a column or row sizing edge.
    bool IsNearSizingEdge(int x, int y) const;
    virtual void UpdateColumnSize(int col, int& width);
    virtual void UpdateAutoColumnSize(int col, int& width);
    std::function<void(QObject*, int col, int& width)> OnUpdateColumnSize;
    std::function<void(QObject*, int row)> OnEndRowSize;

    // --- scroll bars (GridScrollBars.cpp) --------------------------------------
    TScrollType ScrollType() const;
    void SetScrollType(TScrollType value);
    TColor ScrollColor() const;
    void SetScrollColor(TColor value);
    int ScrollWidth() const;
    void SetScrollWidth(int value);
    // The thumbs show the visible part of the grid in proportion, on a
    // scale of 128 steps.
    bool ScrollProportional() const;
    void SetScrollProportional(bool value);
    TScrollHintType ScrollHints = shNone;
    bool FlatScrollActive() const;
    void UpdateFlatScrollBars();
    void UpdateVertScrollInfo();
    void UpdateHorzScrollInfo();
    TGridScrollBar* HorzScrollBar() const;
    TGridScrollBar* VertScrollBar() const;
    std::function<void(QObject*, int index, std::string& hint)> OnScrollHint;

    // --- look ------------------------------------------------------------------
    TBorderStyle BorderStyle() const;
    void SetBorderStyle(TBorderStyle value);
    TFont& FixedFont();
    TFont& ActiveCellFont();
    bool ActiveCellShow() const;
    void SetActiveCellShow(bool value);
    TColor ActiveCellColor() const;
    void SetActiveCellColor(TColor value);
    TColor SelectionColor() const;
    void SetSelectionColor(TColor value);
    TColor SelectionTextColor() const;
    void SetSelectionTextColor(TColor value);
    bool ShowSelection() const;
    void SetShowSelection(bool value);
    bool SelectionRectangle() const;
    void SetSelectionRectangle(bool value);
    bool SelectionResizer() const;
    void SetSelectionResizer(bool value);
    TGridLook Look() const;
    void SetLook(TGridLook value);
    bool Flat() const;
    void SetFlat(bool value);
    TColor URLColor() const;
    void SetURLColor(TColor value);
    bool URLShow() const;
    void SetURLShow(bool value);
    bool URLFull() const;
    void SetURLFull(bool value);
    TVAlignment VAlignment() const;
    void SetVAlignment(TVAlignment value);
    bool WordWrap() const;
    void SetWordWrap(bool value);
    bool Multilinecells() const;
    void SetMultilinecells(bool value);
    // The text-drawing flags this grid uses for "word wrap off": single line
    // unless this grid shows multi-line cells.
    unsigned WordWrapOffFlags() const;
    cb::gfx::TBitmap& RowIndicator();
    void SetRowIndicator(const cb::gfx::TBitmap& bitmap);

    bool EnableHTML = true;
    bool EnableWheel = true;
    bool IntelliZoom = true;
    TIntelliPan IntelliPan = ipVertical;
    TColor HintColor = cb::gfx::clInfoBk;
    std::string FloatFormat = "%.2f";
    std::vector<std::string> LookupItems;
    bool AnchorHint = false, AutoNumAlign = false, EnhTextSize = false, EditWithTags = false;
    bool EnhRowColMove = false, SizeWithForm = false, EnableBlink = false, ExcelStyleDecimalSeparator = false;
    bool SelectionRTFKeep = false, HintShowCells = false, HintShowLargeText = false, HintShowSizing = false;
    bool HTMLHint = false, ScrollSynch = false, OemConvert = false;
    bool FixedAsButtons = false, Lookup = false, LookupCaseSensitive = false;
    bool LookupHistory = false, HideFocusRect = false, Hovering = false;
    int MaxEditLength = 0;
    TPoint TextMargin{2, 2};
    int ZoomStep = 0;
    bool BlinkPhase = false;
    bool EditInProgress = false;
    char PasswordChar = '*';
    TColor SelectionRectangleColor = cb::gfx::clBlack;

    TBands Bands;
    TBackGround BackGround;
    TSortSettings SortSettings;
    TSortIndexList SortIndexes;
    TControlLook ControlLook;
    TFloatingFooter FloatingFooter;
    TFilter Filter;
    TNavigation Navigation;
    TMouseActions MouseActions;
    TSizeWhileTyping SizeWhileTyping;
    TCellNode CellNode;
    THTMLSettings HTMLSettings;
    TPrintSettings PrintSettings;
    TExtStringGridCheck* CellChecker = nullptr;  // not owned
    // Pictures of mark-up cells: "IDX:" sources and named pictures (not
    // owned), and the pictures loaded from addresses (owned).
    const THTMLImageList* GridImages = nullptr;
    const TPictureContainer* PictureContainer = nullptr;
    THTMLPictureCache& PictureCache();
    // The grid's own mark-up hint window, made when first asked for.
    THTMLHintWindow& HintWindow();

    // --- parts (GridPart.h) ------------------------------------------------------
    // The object that does one kind of the grid's work (nullptr: none). Key,
    // mouse and drop events go to the parts first.
    TGridPart* Part(TGridPartKind kind) const;
    // Puts part (nullptr: none) in place of the grid's part of that kind.
    void SetPart(TGridPartKind kind, std::unique_ptr<TGridPart> part);

    // --- editing (ExtStringGridEditing.cpp; the edit part does the work) -----
    // The in-place editing part (nullptr when another part was put in place;
    // defined beside the part, in grid/edit).
    TGridEditPart* EditPart() const;
    bool EditorShown() const;
    TEditorType EditorKind() const;
    // Remembers a cell (display column) and its text before editing.
    virtual void RememberEditCell(int col, int row);
    // An edit ends with newText: OnCellValidate, OnCellsChanged and the
    // write-back when it differs from the text before editing. False when
    // refused (the editor stays on the cell).
    virtual bool ValidateEditedCell(const std::string& newText);
    // The text from before the edit back into the edited cell.
    void RestoreEditText();
    void SetEditedCellText(int col, int row, const std::string& text);
    bool IsCellEditable(int col, int row);
    // Moves to the next (previous) editable cell in reading order, adding a
    // row or column at the end with Navigation.AdvanceInsert; with no
    // editable cell ahead the current cell stays.
    void AdvanceCell(int col, int row, bool force, bool showEditor, bool forward);
    void ShowCellEditor();
    // Ends a shown editor committing its value (false: refused).
    bool HideControlEditor();
    void DoEditingDone();
    // Ends editing for a key: Tab moves on, Enter advances (AdvanceOnEnter),
    // arrow and page keys move the current cell.
    void LeaveEditorByKey(int key, Qt::KeyboardModifiers shift);
    virtual std::string EllipsClick(const std::string& text);
    virtual std::string GetCurrentCellText();
    virtual void SetCurrentCellText(const std::string& text);
    // Called with the edit text on every key release of the in-place edit.
    virtual void EditorNotify(const std::string& text);
    // The edit text of a cell: mark-up removed unless EditWithTags.
    std::string GetEditText(int col, int row);
    void SetEditText(int col, int row, const std::string& text);
    // The colour and font an editor over the cell takes (no selection look).
    void GetEditorLook(int realCol, int row, TBrush& brush, TFont& font);
    virtual unsigned GetVersionNumber();
    virtual std::string GetVersionText();
    // Items of the combo editors; set them in OnGetEditorType.
    std::vector<std::string>& ComboItems();
    void SetDefaultComboIndex(int index);
    // The custom editor link for edCustom cells (not owned).
    void SetEditLink(TEditLink* link);
    TEditLink* EditLink() const;
    // Reports an error raised while an editor ended (never escapes events).
    void ReportEditError(const std::exception& error);
    std::function<void(QObject*, int col, int row, std::string& value, bool& valid)> OnCellValidate;
    std::function<void(QObject*)> OnEditingDone;
    std::function<void(QObject*, int col, int row, std::string& text)> OnEllipsClick;
    std::function<void(QObject*, int col, int row, TEditLink* link)> OnGetEditorProp;
    std::function<void(QObject*, bool& allow)> OnCanAddRow;
    std::function<void(QObject*, int row)> OnAutoAddRow;
    std::function<void(QObject*, int col)> OnAutoInsertCol;
    // The spin editors' steps and the combos' choices.
    std::function<void(QObject*, int col, int row, int value, bool up)> OnSpinClick;
    std::function<void(QObject*, int col, int row, double value, bool up)> OnFloatSpinClick;
    std::function<void(QObject*, int col, int row, TDateTime value, bool up)> OnDateSpinClick;
    std::function<void(QObject*, int col, int row, TDateTime value, bool up)> OnTimeSpinClick;
    std::function<void(QObject*, int col, int row, int index, const std::string& text)> OnComboChange;

    // --- mouse, keyboard, wheel and hints -------------------------------------
    // 0 none, 1 column header, 2 row header, 3 top-left cell, 5 the selection's
    // resize handle: what a press at the mouse would select.
    int MouseZone() const;
    // The typed prefix of the row lookup.
    const std::string& LookupText() const;
    void SetLookupText(const std::string& text);
    // The first row from FixedRows whose text in the lookup column (the sort
    // column when it is shown, else column 1) starts with prefix, compared
    // without case; -1 when none.
    int FindRowByPrefix(const std::string& prefix) const;
    void TabToNextCell(bool backward);
    virtual void InsertRowOnKey(int row);
    virtual void DeleteRowOnKey(int row);
    // Rows moved by one wheel notch (the system's setting).
    int WheelScrollLines = 3;
    // Grows (shrinks) fonts, column widths and row heights by delta steps
    // within -10 .. 10.
    void Zoom(int delta);
    bool Panning() const;
    // The user's cursor: shown at once, or once the grid's own cursor (a
    // sizing border, a link) is no longer needed.
    void SetCursor(const QCursor& cursor);
    // The hint for the cell under a client point (empty: none) and where it
    // goes, in client pixels; ShowCellHint shows it in the hint window, which
    // never takes the focus.
    std::string GetCellHint(int x, int y, TPoint& where);
    void ShowCellHint(int x, int y);
    void HideCellHint();
    // Mark-up cells: the link or in-cell control under a client point.
    bool HitTestHTMLCell(int col, int row, int x, int y, THTMLRenderResult& result);
    void CommitInlineControl();
    // The MIME types of the application's own drags this grid takes (none at
    // start). OnDragOver decides at every move and at the drop (accept starts
    // true; unassigned, nothing is accepted); OnDragDrop receives the drop.
    std::vector<std::string> AcceptedDragTypes;
    TDragDropSettings DragDropSettings;
    // The selection being dragged out of this grid.
    TGridRect DragSourceRect{-1, -1, -1, -1};

    // Imports a dropped file. The CSV import is the data part's (grid/data);
    // a grid without one reports that it has none. Workbooks are not read.
    virtual void ImportCSVFile(const std::string& fileName);
    virtual void ImportWorkbookFile(const std::string& fileName);

    // --- input events (row before column unless named otherwise) --------------
    std::function<void(QObject*, int row, int col)> OnClickCell;
    std::function<void(QObject*, int row, int col)> OnDblClickCell;
    std::function<void(QObject*, int row, int col)> OnRightClickCell;
    std::function<void(QObject*, int oldRow, int newRow, bool& allow)> OnRowChanging;
    std::function<void(QObject*, int oldCol, int newCol, bool& allow)> OnColChanging;
    std::function<void(QObject*, int oldRow, int oldCol, int newRow, int newCol, bool& allow)> OnCellChanging;
    std::function<void(QObject*, int row, int col, const std::string& anchor, bool& autoHandle)> OnAnchorClick;
    std::function<void(QObject*, int row, int col, const std::string& anchor)> OnAnchorEnter;
    std::function<void(QObject*, int row, int col, const std::string& anchor)> OnAnchorExit;
    std::function<void(QObject*, int row, int col, std::string& anchor)> OnAnchorHint;
    std::function<void(QObject*, int row, int col, const std::string& id, const std::string& type,
                       const std::string& value)>
        OnControlClick;
    std::function<void(QObject*, int row, int col, const std::string& id, const std::string& type,
                       const std::string& value, std::vector<std::string>& values, bool& edit, int& dropCount)>
        OnControlComboList;
    std::function<void(QObject*, int row, int col, const std::string& id, const std::string& type,
                       const std::string& value)>
        OnControlEditDone;
    std::function<void(QObject*, int col, int row, bool state)> OnCheckBoxClick;
    std::function<void(QObject*, int col, int row, bool state)> OnCheckBoxMouseUp;
    std::function<void(QObject*, int col, int row, int index)> OnRadioClick;
    std::function<void(QObject*, int col, int row, int index)> OnRadioMouseUp;
    std::function<void(QObject*, int col, int row)> OnButtonClick;
    // Picks the radio item under an offset inside the cell.
    void ClickRadioItem(int col, int row, int yOffset, int xOffset);
    std::function<void(QObject*, int col, bool& allow)> OnColumnSize;
    std::function<void(QObject*, int col)> OnEndColumnSize;
    std::function<void(QObject*, int row, bool& allow)> OnRowSize;
    std::function<void(QObject*, int col, bool& allow)> OnColumnMove;
    std::function<void(QObject*, int row, bool& allow)> OnRowMove;
    std::function<void(QObject*, Qt::KeyboardModifiers shift, int delta, int x, int y, bool& handled)> OnMouseWheel;
    std::function<void(QObject*, int row, bool& canInsert)> OnCanInsertRow;
    std::function<void(QObject*, int row)> OnAutoInsertRow;
    std::function<void(QObject*, int row, bool& canDelete)> OnCanDeleteRow;
    std::function<void(QObject*, int row)> OnAutoDeleteRow;
    // Control drags from the application's own controls (AcceptedDragTypes).
    std::function<void(QObject*, const QMimeData* data, int x, int y, bool& accept)> OnDragOver;
    std::function<void(QObject*, const QMimeData* data, int x, int y)> OnDragDrop;
    // Drops of text, rich text, files and columns, and drags of cells.
    std::function<void(QObject*, int row, int col, bool& allow)> OnOleDragOver;
    std::function<void(QObject*, int row, int col, const std::string& data, bool& allow)> OnOleDrop;
    std::function<void(QObject*, int row, int col, int dropCol)> OnOleDropCol;
    std::function<void(QObject*, int row, int col, const std::string& fileName, bool& allow)> OnOleDropFile;
    std::function<void(QObject*, const TGridRect& cells)> OnOleDropped;
    std::function<void(QObject*, int row, int col, const std::string& data, bool& allow)> OnOleDrag;
    std::function<void(QObject*, int row, int col)> OnOleDragStart;
    std::function<void(QObject*, Qt::DropAction effect)> OnOleDragStop;
    // A drop failed (an import of a dropped file); unassigned: a message box.
    std::function<void(QObject*, const std::string& message)> OnDropError;

    // --- events (row before column unless named otherwise) --------------------
    std::function<void(QObject*, int row, int col, TGridDrawState state, TBrush& brush, TFont& font)> OnGetCellColor;
    std::function<void(QObject*, int row, int col, TGridDrawState state, TBrush& brush, TFont& font)>
        OnGetCellPrintColor;
    std::function<void(QObject*, int row, int col, cb::gfx::TPen& pen, TCellBorders& borders)> OnGetCellBorder;
    std::function<void(QObject*, int row, int col, cb::gfx::TPen& pen, TCellBorders& borders)> OnGetCellPrintBorder;
    std::function<void(QObject*, int row, int col, cb::gfx::TPen& left, cb::gfx::TPen& top, cb::gfx::TPen& right,
                       cb::gfx::TPen& bottom)>
        OnGetCellBorderProp;
    std::function<void(QObject*, int row, int col, TAlignment& hAlign, TVAlignment& vAlign)> OnGetAlignment;
    std::function<void(QObject*, int col, TSortStyle& style, std::string& prefix, std::string& suffix)> OnGetFormat;
    // Sorting, the clipboard and the CSV import (carried out by the grid's
    // data part, grid/data). Res arrives 0; > 0: the first sorts after.
    std::function<void(QObject*, const std::string& str1, const std::string& str2, int& res)> OnCustomCompare;
    std::function<void(QObject*, int col, int row1, int row2, int& res)> OnRawCompare;
    std::function<void(QObject*, int col, bool& doSort)> OnCanSort;
    std::function<void(QObject*, int col)> OnClickSort;
    std::function<void(QObject*, bool& allow)> OnClipboardCopy;
    std::function<void(QObject*, bool& allow)> OnClipboardCut;
    std::function<void(QObject*, bool& allow)> OnClipboardPaste;
    std::function<void(QObject*, int col, int row, std::string& value, bool& allow)> OnClipboardBeforePasteCell;
    std::function<void(QObject*, int percent)> OnFileProgress;
    std::function<void(QObject*, int col, int row, bool& isFloat, std::string& floatFormat)> OnGetFloatFormat;
    std::function<void(QObject*, int col, int row, TRect rect, TGridDrawState state)> OnDrawCell;
    std::function<void(QObject*, TCanvas& canvas, int col, int row, TGridDrawState state, TRect rect, bool printing)>
        OnCustomCellDraw;
    std::function<void(QObject*, int col, int row, std::string& text)> OnGetCheckTrue;
    std::function<void(QObject*, int col, int row, std::string& text)> OnGetCheckFalse;
    std::function<void(QObject*, int row, int col, bool& fixed)> OnIsFixedCell;
    std::function<void(QObject*, int row, int col, bool& canEdit)> OnCanEditCell;
    std::function<void(QObject*, int row, int col, bool& isPassword)> OnIsPasswordCell;
    std::function<void(QObject*, int row, int col, std::string& hint)> OnGridHint;
    std::function<void(QObject*, int col, int row, TEditorType& editor)> OnGetEditorType;
    std::function<void(QObject*, const TGridRect& cells)> OnCellsChanged;
    std::function<void(QObject*)> OnResize;

    // --- cell hooks ---------------------------------------------------------------
    virtual std::string GetFloatFormattedText(int col, int row) const;
    virtual std::string EvaluateCellText(int col, int row) const;
    virtual void GridHint(int col, int row, std::string& hint);
    virtual void GetCellColor(int col, int row, TGridDrawState state, TBrush& brush, TFont& font);
    virtual void GetCellPrintColor(int col, int row, TGridDrawState state, TBrush& brush, TFont& font);
    virtual void GetCellBorder(int col, int row, cb::gfx::TPen& pen, TCellBorders& borders);
    virtual void GetCellPrintBorder(int col, int row, cb::gfx::TPen& pen, TCellBorders& borders);
    virtual void QueryCellAlignment(int col, int row, TAlignment& hAlign, TVAlignment& vAlign);
    virtual void GetCellFormat(int col, TSortStyle& style, std::string& prefix, std::string& suffix);
    virtual void GetCellEditor(int col, int row, TEditorType& editor);
    virtual void IsFixedCell(int col, int row, bool& fixed);
    virtual void CanEditCell(int col, int row, bool& canEdit);
    virtual void IsPasswordCell(int col, int row, bool& isPassword);
    virtual void GetCheckTrue(int col, int row, std::string& text);
    virtual void GetCheckFalse(int col, int row, std::string& text);
    virtual bool HasColumnFilterButton(int col);
    virtual void CellsChanged(const TGridRect& cells);
    TAlignment ResolveTextAlignment(int col, int row, TVAlignment& vAlign);

    // Draws the grid as it stands into an image of the widget's size.
    QImage RenderToImage();

protected:
    bool DrawAsFixed(int col, int row) override;
    int GetRowIndent(int row) override;
    bool SkipFirstColumnLine() override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    void ColWidthsChanged() override;
    void LastRowChanged() override;
    void GetCellAppearance(int col, int row, TGridDrawState& state, bool printing, bool selectable, bool mapColumn,
                           TBrush& brush, TFont& font, TAlignment& hAlign, TVAlignment& vAlign) override;
    void DrawCellContent(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState state) override;
    void Paint(TCanvas& canvas) override;
    bool RepaintAllowed() const override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The form the grid sits on changed its size (sizing with the form hooks
    // in here).
    virtual void FormResized(int oldWidth, int oldHeight, int newWidth, int newHeight);

    // Drawing pieces.
    struct TGraphicLayout;
    // Draws the text beside the cell's graphic; gives the text's width + 2
    // for placing the graphic (0 when not measured) and its alignment.
    void DrawCellText(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState state, TColor savedBrush,
                      TColor savedFont, const TGraphicLayout& layout, int& textWidth, TAlignment& textAlign);
    void DrawCellBorders(TCanvas& canvas, int col, int row, TRect rect);
    void DrawSortGlyph(TCanvas& canvas, int col, int x, int y);
    void DrawGradient(TCanvas& canvas, TColor from, TColor to, int steps, bool horizontal, const TRect& rect);
    bool SortGlyphShown(int col, int row) const;
    void DrawFixedBackground(TCanvas& canvas, const TRect& rect);
    void DrawTiledBackground(TCanvas& canvas, int col, int row, const TRect& rect);
    // The frame of the soft and gradient looks around the control.
    void PaintLookFrame(TCanvas& canvas);
    bool SelectCell(int col, int row) override;
    void TopLeftChanged() override;

    // Input (GridMouse.cpp, GridKeyboard.cpp, GridWheelTimers.cpp,
    // GridDragDrop.cpp).
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) override;
    void MouseMove(Qt::KeyboardModifiers shift, int x, int y) override;
    void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs) override;
    void ColumnMoved(int from, int to) override;
    void RowMoved(int from, int to) override;
    void ColumnSized(int col) override;
    void RowSized(int row) override;
    void showEvent(QShowEvent* event) override;
    // Typed characters: the row lookup.
    virtual void KeyPress(const QString& text);
    void ScrollBarsPlaced() override;
    int ScrollBarToFirst(TGridAxisKind kind, int value) const override;
    // Cell graphics (CellGraphicPaint.cpp): the graphic of a cell with
    // its size, placement and whether the cell's text is drawn too.
    struct TGraphicLayout {
        TCellGraphic* Graphic = nullptr;
        int Width = 0;
        int Height = 0;
        TCellHAlign HAlign = haLeft;
        TCellVAlign VAlign = vaTop;
        bool DrawText = true;
    };
    TGraphicLayout GetCellGraphicLayout(int col, int row);
    // The size of a graphic by its kind, with its width; a picture fitted
    // into area. Nothing for a radio group: its size comes from its font.
    cb::gfx::TSize GraphicKindSize(const TCellGraphic& graphic, cb::gfx::TSize area) const;
    // textWidth: the measured text width + 2 (0 without text).
    class TGraphicPainter;
    void DrawCellGraphic(TCanvas& canvas, TRect rect, const TGraphicLayout& layout, int col, int row,
                         TGridDrawState state, TAlignment hAlign, int textWidth);
    void DrawCheckGlyph(TCanvas& canvas, const TRect& rect, bool checked, bool enabled, TControlStyle style);
    void DrawRadioGroup(TCanvas& canvas, const TRect& rect, int count, int selected,
                        const std::vector<std::string>& captions, bool disabled, bool horizontal,
                        const std::string& cellText, bool selectedCell);
    TPoint CalcRotatedTextOrigin(TCanvas& canvas, TRect rect, int angle, TVAlignment vAlign, TAlignment hAlign,
                                 const std::string& text);
    // Mark-up cells: drawn by the mark-up renderer, placed by the cell's
    // alignment from a cached measure; returns the width used.
    virtual int DrawHTMLCellText(TCanvas& canvas, int col, int row, const std::string& text, TRect rect,
                                 TAlignment hAlign, TVAlignment vAlign, TColor linkColor);

private:
    // Offers an input event to the parts in turn until one handles it; an
    // error a part throws is reported as a failed drop is.
    bool OfferToParts(const std::function<bool(TGridPart&)>& offer);
    void ReportError(const std::exception& error);
    // An open editor is committed (or, refused, closed) before rows,
    // columns or their order change, so its value never lands in another cell.
    void BeforeStorageChange();
    // Input helpers.
    void LeftButtonDown(QMouseEvent* event);
    void LeftButtonUp(QMouseEvent* event);
    void LeftReleaseSelects(int x, int y);
    void UpdateMouseZone(int x, int y, bool askSizing);
    void UpdateLinkCursor(int col, int row, int x, int y);
    void ApplyGridCursor(int code);
    // Move and drop marks (GridMoveMarks.cpp).
    TArrowWindow& Arrow(int direction);
    TPopupButton& MoveCaption();
    void HideArrows();
    void ShowArrowAt(int direction, int x, int y);
    void TrackEnhancedMove(int x, int y);
    void EndEnhancedMove();
    void ShowDropMarks(int x, int y, bool allow, bool column);
    void PaintInputMarks(TCanvas& canvas);
    bool FollowLinkOrControl(int col, int row, int x, int y);
    void StartCellDrag(int col, int row);
    void StartPanning(const QPoint& at);
    void StopPanning();
    void PanTick();
    void GridTimerTick();
    void EndHeaderSelection();
    TRect HTMLCellTextRect(int col, int row, const std::string& text);
    // The canvas takes the cell's font (fixed or normal, then the cell's own
    // settings and OnGetCellColor).
    void SelectCellFont(TCanvas& canvas, int col, int row);
    // Render input with the grid's picture sources.
    THTMLRenderInput HTMLPictureInput();
    bool DragMouseMove(int x, int y, bool scroll);
    bool ControlDropAccepted(const QMimeData* data, int x, int y);
    void DropText(int x, int y, const std::string& text);
    void DropFiles(int x, int y, const std::vector<std::string>& names);
    // The cells of DragSourceRect as lines of TAB-separated fields.
    std::string SelectionAsTabText() const;

    // Presses and releases on the graphics of cells (GridGraphicMouse.cpp),
    // at the base cell pressed; true when they end the press (release).
    bool PressNodeOrRadio(int col, int row, int x, int y);
    bool PressCellButton(int col, int row, int x, int y);
    bool PressCheckBox(int col, int row);
    // Whether the user may change the check box or radio group of a cell
    // (real column): goEditing or RangeSelectAndEdit, then OnCanEditCell.
    bool UserMayEditGraphic(int realCol, int row);
    // Toggles a check box for the user and fires OnCheckBoxClick with the
    // column the caller reports.
    void UserToggleCheckBox(int realCol, int row, int reportedCol);
    bool ReleaseCellButton(QMouseEvent* event);
    void ReleaseCheckOrRadio(int x, int y);

    // Takes display rows out of storage into records (real numbers given,
    // ascending), with the steps of a row removal but no objects freed.
    void TakeRowsOut(const std::vector<int>& displayRows, const std::vector<int>& realRows);
    // The footer row after a change of cells; a cell that is not a number
    // leaves the footer as it stands.
    void RecalcFooter();
    // Hidden rows back into storage, each at its real number less the rows
    // still hidden above it.
    void PutRowsBack(std::vector<THiddenRow> back);
    // After rows left storage: sizes and owners brought up to date, and the
    // current row kept where it was when it is still a normal row.
    void RowsRemoved(int oldRow, int oldTop);
    // Nearest node row at or above a row (-1: none); remembered over one
    // paint pass.
    int NodeRowAbove(int row);
    // Whether the grid has node rows, counted once per paint pass.
    bool PaintHasNodes();
    // The widths columns first .. last need for their content.
    std::vector<int> MeasureColumnWidths(int first, int last);
    // A measured width, given to the owner and kept within the limits.
    void ApplyMeasuredWidth(int col, int width, bool onlyGrow);
    // A cell's content measured in the canvas font.
    cb::gfx::TSize MeasureContentWith(TCanvas& canvas, int col, int row, bool wrap, const TCellGraphic* graphic);
    // Columns (rows) from first on, except one, take their size times factor.
    void ScaleSizes(bool columns, int first, int except, double factor);
    // A press starts sizing a column or row: its size then is remembered.
    void NoteSizingStart(TGridState state, int index);
    void ScrollHint(bool vertical, int value);
    void ConnectScrollBars();
    void ScrollBarReleased();
    void ApplyScrollLook();

    void ApplyCellProperties(int col, int row, TBrush& brush, TFont& font, bool setBrush);
    void WriteColumnHeaders();
    void WriteRowHeaders();
    void WatchForm();
    // Shows or hides the floating footer panel and sizes the room below the
    // cells after the footer settings changed.
    void LayoutFloatingFooter();

    // The private part (ExtStringGridPrivate.h): the state of looks,
    // painting and input, the selection, hidden rows, sizing and the parts.
    std::unique_ptr<TExtStringGridPrivate> FD;

    friend class TFooterPanel;
};

}  // namespace cb::grid
