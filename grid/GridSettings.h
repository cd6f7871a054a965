#pragma once
// The grid's groups of settings, each owned by the grid. Plain fields are
// read when the grid needs them; a setter that changes a value announces it
// through the group's OnChange, which the grid assigns.
#include "grid/GridTypes.h"
#include "grid/SupportClasses.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/rtl/Property.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::grid {

using cb::rtl::TChangeEvent;

enum TAdvanceDirection {
    adLeftRight,
    adTopBottom
};
enum TInsertPosition {
    pInsertBefore,
    pInsertAfter
};
enum THomeEndAction {
    heFirstLastColumn,
    heFirstLastRow
};

struct TNavigation {
    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AdvanceOnEnter = false;
    bool AdvanceInsert = false;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    TAdvanceDirection AdvanceDirection = adLeftRight;
    bool AllowClipboardShortCuts = false;
    bool AllowRTFClipboard = false;
    bool AllowSmartClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardColGrow = true;
    bool AllowClipboardRowGrow = true;
    bool CopyHTMLTagsToClipboard = true;
    bool AdvanceAuto = false;
    bool CursorWalkEditor = false;
    bool MoveRowOnSort = false;
    bool ImproveMaskSel = false;
    bool AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false;
    bool AllowFmtClipboard = false;
    bool TabToNextAtEnd = false;
    bool EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
};

// Mouse behaviour. The three disjunct modes may be combined at run time.
struct TMouseActions {
    bool ColSelect = false;
    bool RowSelect = false;
    bool AllSelect = false;
    bool DirectEdit = false;
    bool DirectComboDrop = false;
    bool DisjunctRowSelect = false;
    bool DisjunctColSelect = false;
    bool DisjunctCellSelect = false;
    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool CaretPositioning = false;
    bool SizeFixedCol = false;
    bool RangeSelectAndEdit = false;
    bool NoAutoRangeScroll = false;
};

struct TSizeWhileTyping {
    bool Height = false;
    bool Width = false;
};

enum TNodeType {
    cnFlat,
    cn3D,
    cnGlyph,
    cnLeaf
};

class TCellNode {
public:
    TChangeEvent OnChange;
    TColor Color = cb::gfx::clSilver;
    TColor NodeColor = cb::gfx::clBlack;
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType value);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool value);
    cb::gfx::TBitmap& ExpandGlyph() { return FExpandGlyph; }
    cb::gfx::TBitmap& ContractGlyph() { return FContractGlyph; }
    void SetExpandGlyph(const cb::gfx::TBitmap& b) { FExpandGlyph.Assign(b); }
    void SetContractGlyph(const cb::gfx::TBitmap& b) { FContractGlyph.Assign(b); }

private:
    TNodeType FNodeType = cnFlat;
    bool FShowTree = false;
    cb::gfx::TBitmap FExpandGlyph;
    cb::gfx::TBitmap FContractGlyph;
};

// Stored only.
struct THTMLSettings {
    bool SaveColor = true;
    bool SaveFonts = true;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    int Width = 100;
    std::string FooterFile;
    std::string HeaderFile;
    std::string TableStyle;
    std::string PrefixTag;
    std::string SuffixTag;
    bool XHTML = false;
    TIntList ColWidths;
};

enum TPrintPosition {
    ppNone,
    ppTopLeft,
    ppTopRight,
    ppTopCenter,
    ppBottomLeft,
    ppBottomRight,
    ppBottomCenter
};
enum TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum TPrinterOrientation {
    poPortrait,
    poLandscape
};
enum TFitToPage {
    fpNever,
    fpGrow,
    fpShrink,
    fpAlways,
    fpCustom
};

// Stored only; Font is the cell font when a cell is prepared for printing.
struct TPrintSettings {
    cb::gfx::TFont Font;
    cb::gfx::TFont HeaderFont;
    cb::gfx::TFont FooterFont;
    std::vector<std::string> TitleLines;
    std::string PageNumSep = "/";
    std::string DateFormat = "dd/mm/yyyy";
    std::string PagePrefix;
    std::string PageSuffix;
    int TitleSpacing = 0;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, FixedWidth = 0, FixedHeight = 0;
    TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
    std::string TitleText;
    std::string JobName;
    TPrintBorders Borders = pbNoborder;
    cb::gfx::TPenStyle BorderStyle = cb::gfx::psSolid;
    TPrinterOrientation Orientation = poPortrait;
    TFitToPage FitToPage = fpNever;
    bool Centered = false, RepeatFixedRows = false, RepeatFixedCols = false, UseFixedHeight = false;
    bool UseFixedWidth = false, NoAutoSize = false, NoAutoSizeRow = false, PrintGraphics = false;
};

// Banded row colours over the normal rows.
class TBands {
public:
    // Called when the bands' look changed (colours and lengths only while
    // active).
    TChangeEvent OnChange;
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int value);
    int Period() const { return FPeriod; }
    bool Print = false;

private:
    void ActiveChanged();
    bool FActive = false;
    TColor FPrimaryColor = cb::gfx::clInfoBk;
    TColor FSecondaryColor = cb::gfx::clWindow;
    int FPrimaryLength = 1;
    int FSecondaryLength = 1;
    int FPeriod = 2;
};

enum TBackGroundDisplay {
    bdTile,
    bdFixed
};
enum TBackGroundCells {
    bcNormal,
    bcFixed,
    bcAll
};

class TBackGround {
public:
    TChangeEvent OnChange;
    int Top() const { return FTop; }
    void SetTop(int v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay v);
    const cb::gfx::TBitmap& Bitmap() const { return FBitmap; }
    void SetBitmap(const cb::gfx::TBitmap& b);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v);
    // Copies the values (not the callback) and announces the change.
    void Assign(const TBackGround& source);

private:
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    cb::gfx::TBitmap FBitmap;
    TBackGroundCells FCells = bcNormal;
};

enum TControlStyle {
    csClassic,
    csFlat,
    csWinXP,
    csQuintar,
    csExt,
    csGlyph,
    csTheme
};

class TControlLook {
public:
    TChangeEvent OnChange;
    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int v);
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int v);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool v);
    const cb::gfx::TBitmap& CheckedGlyph() const { return FCheckedGlyph; }
    const cb::gfx::TBitmap& UnCheckedGlyph() const { return FUnCheckedGlyph; }
    const cb::gfx::TBitmap& RadioOnGlyph() const { return FRadioOnGlyph; }
    const cb::gfx::TBitmap& RadioOffGlyph() const { return FRadioOffGlyph; }
    void SetCheckedGlyph(const cb::gfx::TBitmap& b);
    void SetUnCheckedGlyph(const cb::gfx::TBitmap& b);
    void SetRadioOnGlyph(const cb::gfx::TBitmap& b);
    void SetRadioOffGlyph(const cb::gfx::TBitmap& b);

private:
    int FCheckSize = 15;
    int FRadioSize = 10;
    TControlStyle FControlStyle = csClassic;
    TColor FColor = cb::gfx::clBlack;
    bool FFlatButton = false;
    cb::gfx::TBitmap FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
};

struct TFilterData {
    int Column = 0;
    std::string Condition;
    bool CaseSensitive = true;
};

// The row filter conditions, reached by index.
class TFilter {
public:
    TFilterData& Add() { return FItems.emplace_back(); }
    int Count() const { return int(FItems.size()); }
    TFilterData& Item(int index) { return FItems.at(size_t(index)); }
    const TFilterData& Item(int index) const { return FItems.at(size_t(index)); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    void Clear() { FItems.clear(); }

private:
    std::vector<TFilterData> FItems;
};

enum TFooterStyle {
    fsFixedLastRow,
    fsColumnPreview,
    fsCustomPreview
};

class TFloatingFooter {
public:
    // Called when visibility, style or height changed: the grid lays the
    // panel out again.
    TChangeEvent OnLayoutChange;
    // Called when only what the panel shows changed.
    TChangeEvent OnChange;
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Column() const { return FColumn; }
    void SetColumn(int value);
    const std::string& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const std::string& value);
    int FooterHeight() const { return FFooterHeight; }
    // Kept equal to the grid's default row height; a visible panel follows.
    void SetFooterHeight(int value);
    // Height of the panel: the footer height - 1 while visible, else 0.
    int PanelHeight() const { return FVisible ? FFooterHeight - 1 : 0; }

private:
    bool FVisible = false;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    TColor FColor = cb::gfx::clBtnFace;
    int FColumn = 0;
    std::string FCustomTemplate;
    int FFooterHeight = 21;
};

enum TSortDirection {
    sdAscending,
    sdDescending
};

// What the painter needs of the sort settings.
struct TSortSettings {
    bool Show = false;
    int Row = 0;
    int Column = 0;
    TSortDirection Direction = sdAscending;
    bool FixedCols = false;
    bool IndexShow = false;
    TColor IndexColor = cb::gfx::clYellow;
    cb::gfx::TBitmap UpGlyph, DownGlyph, IndexUpGlyph, IndexDownGlyph;
};

}  // namespace cb::grid
