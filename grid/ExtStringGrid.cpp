#include "grid/ExtStringGridPrivate.h"

#include "grid/CellGraphic.h"
#include "grid/input/GridInputState.h"
#include "grid/markup/HTMLHintWindow.h"
#include "grid/util/NumberUtils.h"
#include "grid/util/TextUtils.h"

#include "platform/desktop/PlainMessageBox.h"
#include "platform/rtl/Property.h"
#include "platform/rtl/Strings.h"

#include <QApplication>
#include <QEvent>
#include <QResizeEvent>
#include <QStyle>

#include <algorithm>
#include <cstdio>

namespace cb::grid {

using cb::rtl::SetProperty;

namespace {

// Formats a value with a printf-like picture holding one floating
// conversion (f, e, g or n; n adds thousand separators). Anything else in
// the picture is literal text; a picture without exactly one such
// conversion is refused.
std::string FormatFloatWith(const std::string& format, double value) {
    const auto& fs = cb::rtl::FormatSettings();
    std::string out;
    int conversions = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        size_t j = i + 1;
        std::string conversion = "%";
        while (j < format.size() && std::string_view("-+ #0").find(format[j]) != std::string_view::npos)
            conversion += format[j++];
        while (j < format.size() && format[j] >= '0' && format[j] <= '9' && conversion.size() < 8)
            conversion += format[j++];
        if (j < format.size() && format[j] == '.') {
            conversion += format[j++];
            while (j < format.size() && format[j] >= '0' && format[j] <= '9' && conversion.size() < 12)
                conversion += format[j++];
        }
        if (j >= format.size())
            throw cb::rtl::EConvertError("Format '" + format + "' invalid or incompatible with argument");
        char type = format[j];
        bool thousands = false;
        if (type == 'n' || type == 'N') {
            thousands = true;
            type = 'f';
        }
        if (std::string_view("fFeEgG").find(type) == std::string_view::npos || ++conversions > 1)
            throw cb::rtl::EConvertError("Format '" + format + "' invalid or incompatible with argument");
        conversion += type;
        char buf[512];
        std::snprintf(buf, sizeof buf, conversion.c_str(), value);
        std::string num = buf;
        size_t dot = num.find('.');
        if (thousands) {
            size_t digitsEnd = dot == std::string::npos ? num.size() : dot;
            size_t digitsStart = num.find_first_of("0123456789");
            if (digitsStart != std::string::npos)
                for (long k = long(digitsEnd) - 3; k > long(digitsStart); k -= 3)
                    num.insert(size_t(k), 1, fs.ThousandSeparator);
            dot = num.find('.');
        }
        if (dot != std::string::npos) num[dot] = fs.DecimalSeparator;
        out += num;
        i = j;
    }
    if (conversions != 1) throw cb::rtl::EConvertError("Format '" + format + "' invalid or incompatible with argument");
    return out;
}

}  // namespace

TExtStringGrid::TExtStringGrid(QWidget* parent) : TBaseGrid(parent), FD(std::make_unique<TExtStringGridPrivate>()) {
    FD->Parts[size_t(TGridPartKind::Edit)] = MakeGridEditPart(*this);
    FD->Parts[size_t(TGridPartKind::Data)] = MakeGridDataPart(*this);
    FD->FFooterPanel = new TFooterPanel(this);
    auto repaint = [this] { InvalidateGrid(); };
    Bands.OnChange = repaint;
    BackGround.OnChange = repaint;
    ControlLook.OnChange = repaint;
    CellNode.OnChange = repaint;
    FloatingFooter.OnChange = [this] { RepaintFooterPanel(); };
    FloatingFooter.OnLayoutChange = [this] { LayoutFloatingFooter(); };
    MergeColumnList.OnChange = [this](TIntList&, int, int) {
        SplitAllColumnMerges();
        MergeListedColumns();
    };
    ColumnSize.OnStretch = [this] { StretchColumnToFit(ColumnSize.StretchColumn); };
    FD->FFixedFont.SetName("Tahoma");
    Font().SetName("Tahoma");
    FD->FFixedFont.OnChange = [this](cb::gfx::TGraphicsObject&) { InvalidateGrid(); };
    FD->FActiveCellFont.SetStyle(cb::gfx::fsBold);
    FD->FActiveCellFont.OnChange = [this](cb::gfx::TGraphicsObject&) { InvalidateGrid(); };
    SetDefaultRowHeight(21);
    FD->FFixedRowHeight = 21;
    FD->FScrollWidth = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    MinRowHeight = DefaultRowHeight();
    ConnectScrollBars();
    WheelScrollLines = std::max(QApplication::wheelScrollLines(), 1);
    setAcceptDrops(true);
    setMouseTracking(true);
    FD->Input.GridTimer.start(500, this);
    WatchForm();
}

THTMLHintWindow& TExtStringGrid::HintWindow() {
    if (!FD->FHintWindow) FD->FHintWindow = std::make_unique<THTMLHintWindow>();
    return *FD->FHintWindow;
}

TExtStringGrid::~TExtStringGrid() {
    if (ColumnSize.Save) {
        try {
            SaveColumnWidths();
        } catch (const std::exception&) {
            // The widths are not kept when the store cannot be written.
        }
    }
    SetDestroying();
    // The parts go first: they may still call on the grid.
    for (auto& part : FD->Parts) part.reset();
    FD->Input.GridTimer.stop();
    FD->Input.PanTimer.stop();
    if (FD->FForm) FD->FForm->removeEventFilter(this);
    FD->FFixedFont.OnChange = nullptr;
    FD->FActiveCellFont.OnChange = nullptr;
    FreeAllCellObjects();
}

// ---------------------------------------------------------------------------
// The form the grid sits on: watched through an event filter that goes with
// the grid, so the form never calls into a freed grid.

void TExtStringGrid::WatchForm() {
    QWidget* form = window();
    if (form == this) form = nullptr;
    if (form == FD->FForm) return;
    if (FD->FForm) FD->FForm->removeEventFilter(this);
    FD->FForm = form;
    if (FD->FForm) {
        FD->FForm->installEventFilter(this);
        FD->FFormWidth = FD->FForm->width();
        FD->FFormHeight = FD->FForm->height();
    }
}

void TExtStringGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ParentChange) WatchForm();
    TBaseGrid::changeEvent(event);
}

bool TExtStringGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FD->FForm && event->type() == QEvent::Resize) {
        int w = FD->FForm->width();
        int h = FD->FForm->height();
        if (w != FD->FFormWidth || h != FD->FFormHeight) {
            int ow = FD->FFormWidth;
            int oh = FD->FFormHeight;
            FD->FFormWidth = w;
            FD->FFormHeight = h;
            FormResized(ow, oh, w, h);
        }
    }
    return false;
}

void TExtStringGrid::showEvent(QShowEvent* event) {
    TBaseGrid::showEvent(event);
    // The stored widths come once the window exists.
    if (!FD->Sizing.WidthsLoaded() && ColumnSize.Save) {
        FD->Sizing.SetWidthsLoaded(true);
        try {
            LoadColumnWidths();
        } catch (const std::exception&) {
            // An unreadable store leaves the widths as they are.
        }
    }
}

// ---------------------------------------------------------------------------
// Counts

void TExtStringGrid::SetRowCount(int count) {
    if (count != RowCount()) BeforeStorageChange();
    if (RowCount() == TBaseGrid::FixedRows() && FD->FFixedRowAlways && FD->Selection.Hidden()) RestoreSelection();
    TBaseGrid::SetRowCount(count);
    if (RowCount() > 1 && FD->FFixedRowAlways) SetFixedRows(1);
    SetDisplayTextRowLimit(RowCount());
    RepaintFooterPanel();
}

void TExtStringGrid::SetColCount(int count) {
    if (count != ColCount()) BeforeStorageChange();
    TBaseGrid::SetColCount(count);
    if (ColCount() > 1 && FD->FFixedColAlways) SetFixedCols(1);
    RepaintFooterPanel();
    if (FD->Sizing.IntegralHeight()) SetBounds(x(), y(), width(), height());
}

int TExtStringGrid::FixedRows() const {
    int n = TBaseGrid::FixedRows();
    return n == 0 && FD->FFixedRowAlways ? 1 : n;
}

int TExtStringGrid::FixedCols() const {
    int n = TBaseGrid::FixedCols();
    return n == 0 && FD->FFixedColAlways ? 1 : n;
}

void TExtStringGrid::SetDefaultRowHeight(int height) {
    TBaseGrid::SetDefaultRowHeight(height);
    FloatingFooter.SetFooterHeight(height);
}

void TExtStringGrid::SetFixedFooters(int value) {
    SetProperty(FD->FFixedFooters, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetFixedRowAlways(bool value) {
    SetProperty(FD->FFixedRowAlways, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetFixedColAlways(bool value) {
    SetProperty(FD->FFixedColAlways, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetFixedRightCols(int value) {
    SetProperty(FD->FFixedRightCols, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::LastRowChanged() {
    InvalidateRow(RowCount() - 1);
    RepaintFooterPanel();
}

// ---------------------------------------------------------------------------
// Floating footer

void TExtStringGrid::RepaintFooterPanel() {
    if (FD->FFooterPanel && FloatingFooter.Visible() && RepaintAllowed()) FD->FFooterPanel->update();
}

void TExtStringGrid::LayoutFloatingFooter() {
    const bool visible = FloatingFooter.Visible();
    if (FD->FFooterPanel->isHidden() == visible) {
        FD->FFooterPanel->setVisible(visible);
        SetFixedFooters(visible ? 1 : 0);
    }
    SetBottomReserve(visible ? FloatingFooter.FooterHeight() - 1 : 0);
    SetFooterRowFixed(visible && FloatingFooter.FooterStyle() == fsFixedLastRow);
    InvalidateGrid();
    RepaintFooterPanel();
}

void TExtStringGrid::TopLeftChanged() {
    TBaseGrid::TopLeftChanged();
    RepaintFooterPanel();
    if (TGridEditing* edit = EditingOf(*this)) edit->Scrolled();
}

void TExtStringGrid::BeforeStorageChange() {
    if (TGridEditing* edit = EditingOf(*this)) edit->BeforeStorageChange();
}

// ---------------------------------------------------------------------------
// Typed cell access

void TExtStringGrid::SetCellInt(int col, int row, int value) {
    SetCellText(col, row, std::to_string(value));
}

int TExtStringGrid::GetCellInt(int col, int row) const {
    std::string t = GetCellText(col, row);
    if (t.empty()) t.assign(1, '0');
    int v = 0;
    if (!cb::rtl::TryStrToInt(t, v)) throw EExtGridError("Cell does not contain integer value");
    return v;
}

void TExtStringGrid::SetCellFloat(int col, int row, double value) {
    SetCellText(col, row, FormatCellFloat(value));
}

std::string TExtStringGrid::FormatCellFloat(double value) const {
    return FormatFloatWith(FloatFormat, value);
}

double TExtStringGrid::GetCellFloat(int col, int row) const {
    std::string t = NormaliseNumberText(GetCellText(col, row));
    if (t.empty()) t.assign(1, '0');
    double v = 0;
    if (!cb::rtl::TryStrToFloat(t, v)) throw EExtGridError("Cell does not contain a float value");
    return v;
}

void TExtStringGrid::SetCellDate(int col, int row, TDateTime date) {
    SetCellText(col, row, FormatShortDate(date));
}

std::u16string TExtStringGrid::GetWideCellText(int col, int row) const {
    std::string t = GetCellText(col, row);
    if (t.size() >= 2 && t[0] == '|' && t[1] == '\\') return DecodeWideText(t);
    return QString::fromStdString(t).toStdU16String();
}

void TExtStringGrid::SetWideCellText(int col, int row, const std::u16string& text) {
    SetCellText(col, row, EncodeWideText(text));
}

// ---------------------------------------------------------------------------
// Per-cell styles

void TExtStringGrid::SetCellBrushColor(int col, int row, TColor color) {
    if (TCellProperties* p = EnsureCellProperties(col, row)) {
        p->SetBrushColor(color);
        InvalidateCellArea(DisplColIndex(col), row);
    }
}

TColor TExtStringGrid::GetCellBrushColor(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p ? p->BrushColor() : clNone;
}

void TExtStringGrid::SetCellFontColor(int col, int row, TColor color) {
    if (TCellProperties* p = EnsureCellProperties(col, row)) {
        p->FontColor = color;
        InvalidateCellArea(DisplColIndex(col), row);
    }
}

TColor TExtStringGrid::GetCellFontColor(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p ? p->FontColor : clNone;
}

void TExtStringGrid::SetCellFontStyle(int col, int row, TFontStyles style) {
    if (TCellProperties* p = EnsureCellProperties(col, row)) {
        p->FontStyle = style;
        InvalidateCellArea(DisplColIndex(col), row);
    }
}

TFontStyles TExtStringGrid::GetCellFontStyle(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p ? p->FontStyle : 0;
}

void TExtStringGrid::SetCellFontName(int col, int row, const std::string& name) {
    if (TCellProperties* p = EnsureCellProperties(col, row)) {
        p->SetFontName(name);
        InvalidateCellArea(DisplColIndex(col), row);
    }
}

std::string TExtStringGrid::GetCellFontName(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p ? p->FontName() : std::string();
}

void TExtStringGrid::SetCellFontSize(int col, int row, int size) {
    if (TCellProperties* p = EnsureCellProperties(col, row)) {
        p->FontSize = size;
        InvalidateCellArea(DisplColIndex(col), row);
    }
}

int TExtStringGrid::GetCellFontSize(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p ? p->FontSize : 0;
}

void TExtStringGrid::SetCellAlignment(int col, int row, TAlignment alignment) {
    if (TCellProperties* p = EnsureCellProperties(col, row)) {
        p->Alignment = alignment;
        InvalidateCellArea(DisplColIndex(col), row);
    }
}

TAlignment TExtStringGrid::GetCellAlignment(int col, int row) const {
    TCellProperties* p = CellProps(col, row);
    return p ? p->Alignment : taLeftJustify;
}

// ---------------------------------------------------------------------------
// Headers and navigation

void TExtStringGrid::SetColumnHeaders(const std::vector<std::string>& headers) {
    FD->FColumnHeaders = headers;
    if (FixedRows() > 0)
        for (int c = 0; c < ColCount(); ++c) SetCellText(c, 0, std::string());
    WriteColumnHeaders();
}

void TExtStringGrid::WriteColumnHeaders() {
    if (FixedRows() <= 0) return;
    for (int i = 0; i < int(FD->FColumnHeaders.size()) && i < ColCount(); ++i)
        SetCellText(i, 0, BackslashNToCR(FD->FColumnHeaders[size_t(i)]));
}

void TExtStringGrid::SetRowHeaders(const std::vector<std::string>& headers) {
    FD->FRowHeaders = headers;
    WriteRowHeaders();
}

void TExtStringGrid::WriteRowHeaders() {
    if (FixedCols() <= 0) return;
    for (int i = 0; i < int(FD->FRowHeaders.size()) && i < RowCount(); ++i)
        SetCellText(0, i, BackslashNToCR(FD->FRowHeaders[size_t(i)]));
}

void TExtStringGrid::InvalidateCellRange(const TGridRect& r) {
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0) return;
    TRect a = GetMergedCellRect(r.Left, r.Top);
    TRect b = GetMergedCellRect(r.Right, r.Bottom);
    if (a.IsEmpty() || b.IsEmpty()) {
        InvalidateGrid();
        return;
    }
    if (!RepaintAllowed() || !isVisible()) return;
    TRect u;
    UnionRect(u, a, b);
    update(QRect(u.Left, u.Top, u.Width(), u.Height()));
}

void TExtStringGrid::GotoCell(int col, int row) {
    if (col >= ColCount() || row >= RowCount() || col < 0 || row < 0) return;
    int left = LeftCol();
    int top = TopRow();
    int visCols = VisibleColCount();
    int visRows = VisibleRowCount();
    bool colOut = col >= FixedCols() && (col < left || col >= left + visCols);
    bool rowOut = row >= FixedRows() && (row < top || row >= top + visRows);
    if (colOut || rowOut) FocusCell(colOut ? col : Col(), rowOut ? row : Row(), true);
    if (colOut) left = std::max(col - visCols / 2, FixedCols());
    if (rowOut) top = std::max(row - visRows / 2, FixedRows());
    left = std::min(left, ColCount() - visCols + 1);
    top = std::min(top, RowCount() - visRows + 1);
    SetLeftCol(std::max(left, FixedCols()));
    SetTopRow(std::max(top, FixedRows()));
}

bool TExtStringGrid::CellIsPassword(int col, int row) {
    bool flag = false;
    IsPasswordCell(col, row, flag);
    return flag;
}

void TExtStringGrid::ScreenToCell(const QPoint& screen, int& col, int& row) const {
    QPoint p = mapFromGlobal(screen);
    MouseToCell(p.x(), p.y(), col, row);
}

// ---------------------------------------------------------------------------
// Column calculations

double TExtStringGrid::SumColumnRange(int col, int firstRow, int lastRow) const {
    double sum = 0;
    for (int r = firstRow; r <= lastRow; ++r) sum += GetCellFloat(col, r);
    return sum;
}

double TExtStringGrid::AverageColumnRange(int col, int firstRow, int lastRow) const {
    if (lastRow < firstRow) return 0;  // an empty range averages to nothing
    return SumColumnRange(col, firstRow, lastRow) / (lastRow - firstRow + 1);
}

double TExtStringGrid::MinColumnRange(int col, int firstRow, int lastRow) const {
    if (lastRow < firstRow) return 0;  // nothing is read outside the range
    double m = GetCellFloat(col, firstRow);
    for (int r = firstRow + 1; r <= lastRow; ++r) m = std::min(m, GetCellFloat(col, r));
    return m;
}

double TExtStringGrid::MaxColumnRange(int col, int firstRow, int lastRow) const {
    if (lastRow < firstRow) return 0;
    double m = GetCellFloat(col, firstRow);
    for (int r = firstRow + 1; r <= lastRow; ++r) m = std::max(m, GetCellFloat(col, r));
    return m;
}

std::string TExtStringGrid::ExpandFooterTemplate(const std::string& text) const {
    return FD->FFooterPanel->ExpandTemplate(text);
}

// ---------------------------------------------------------------------------
// Repaint suspension

void TExtStringGrid::SuspendRepaint() {
    ++FD->FRepaintSuspendCount;
}

void TExtStringGrid::SuspendRepaintQuietly() {
    ++FD->FRepaintSuspendCount;
}

void TExtStringGrid::ResumeRepaint() {
    if (FD->FRepaintSuspendCount > 0) --FD->FRepaintSuspendCount;
    if (FD->FRepaintSuspendCount == 0) {
        UpdateScrollBars();
        InvalidateGrid();
    }
}

// ---------------------------------------------------------------------------
// Cell hooks

std::string TExtStringGrid::GetFloatFormattedText(int col, int row) const {
    std::string text = GetCellText(col, row);
    if (!OnGetFloatFormat) return text;
    TNumberTextKind kind = NumberTextKind(text);
    bool isFloat = kind == ntkInteger || kind == ntkFloat;
    std::string fmt = FloatFormat;
    OnGetFloatFormat(const_cast<TExtStringGrid*>(this), col, row, isFloat, fmt);
    if (!isFloat) return text;
    try {
        return FormatFloatWith(fmt, GetCellFloat(col, row));
    } catch (const cb::rtl::Exception&) {
        return text;
    }
}

std::string TExtStringGrid::EvaluateCellText(int col, int row) const {
    return GetCellText(col, row);
}

void TExtStringGrid::GridHint(int col, int row, std::string& hint) {
    if (OnGridHint) OnGridHint(this, row, col, hint);
}

void TExtStringGrid::ApplyCellProperties(int col, int row, TBrush& brush, TFont& font, bool setBrush) {
    TCellProperties* p = CellProps(col, row);
    if (!p) return;
    if (setBrush && p->BrushColor() != clNone) brush.SetColor(p->BrushColor());
    if (p->FontColor != clNone) font.SetColor(p->FontColor);
    if (p->FontStyle != 0) font.SetStyle(p->FontStyle);
    if (p->FontSize != 0) font.SetSize(p->FontSize);
    if (p->FontNameRef()) font.SetName(*p->FontNameRef());
}

void TExtStringGrid::GetCellColor(int col, int row, TGridDrawState state, TBrush& brush, TFont& font) {
    if (FD->FActiveCellShow) {
        int r = DisplColIndex(col);
        if ((row == Row() && r == 0 && FixedCols() > 0) || (r == Col() && row == 0 && FixedRows() > 0)) {
            font.Assign(FD->FActiveCellFont);
            brush.SetColor(FD->FActiveCellColor);
        }
    }
    ApplyCellProperties(col, row, brush, font, true);
    if (OnGetCellColor) OnGetCellColor(this, row, col, state, brush, font);
}

void TExtStringGrid::GetCellPrintColor(int col, int row, TGridDrawState state, TBrush& brush, TFont& font) {
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, row, col, state, brush, font);
}

void TExtStringGrid::GetCellBorder(int col, int row, cb::gfx::TPen& pen, TCellBorders& borders) {
    if (OnGetCellBorder) OnGetCellBorder(this, row, col, pen, borders);
}

void TExtStringGrid::GetCellPrintBorder(int col, int row, cb::gfx::TPen& pen, TCellBorders& borders) {
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, row, col, pen, borders);
}

void TExtStringGrid::QueryCellAlignment(int col, int row, TAlignment& hAlign, TVAlignment& vAlign) {
    if (OnGetAlignment) OnGetAlignment(this, row, col, hAlign, vAlign);
}

void TExtStringGrid::GetCellFormat(int col, TSortStyle& style, std::string& prefix, std::string& suffix) {
    if (OnGetFormat) OnGetFormat(this, col, style, prefix, suffix);
}

void TExtStringGrid::GetCellEditor(int col, int row, TEditorType& editor) {
    if (OnGetEditorType) OnGetEditorType(this, col, row, editor);
}

void TExtStringGrid::IsFixedCell(int col, int row, bool& fixed) {
    fixed = fixed || (FD->FFixedRowAlways && row == 0 && RowCount() == 1) ||
            (FD->FFixedColAlways && col == 0 && ColCount() == 1) || col < FixedCols() || row < FixedRows();
    if (!fixed && OnIsFixedCell) OnIsFixedCell(this, row, col, fixed);
}

void TExtStringGrid::CanEditCell(int col, int row, bool& canEdit) {
    TGridCoord b = FindBaseCell(col, row);
    if (OnCanEditCell) OnCanEditCell(this, b.Y, b.X, canEdit);
}

void TExtStringGrid::IsPasswordCell(int col, int row, bool& isPassword) {
    if (OnIsPasswordCell) OnIsPasswordCell(this, row, col, isPassword);
}

void TExtStringGrid::GetCheckTrue(int col, int row, std::string& text) {
    text.assign(1, 'Y');
    if (OnGetCheckTrue) OnGetCheckTrue(this, col, row, text);
}

void TExtStringGrid::GetCheckFalse(int col, int row, std::string& text) {
    text.assign(1, 'N');
    if (OnGetCheckFalse) OnGetCheckFalse(this, col, row, text);
}

bool TExtStringGrid::HasColumnFilterButton(int) {
    return false;
}

bool TExtStringGrid::DrawAsFixed(int col, int row) {
    int rc = RealColIndex(col);
    TGridCoord b = FindBaseCell(rc, row);
    if (b.Y >= RowCount() - FD->FFixedFooters) return true;
    if (b.X >= ColCount() + HiddenColumnCount() - FD->FFixedRightCols) return true;
    bool fixed = false;
    IsFixedCell(b.X, b.Y, fixed);
    return fixed;
}

TAlignment TExtStringGrid::ResolveTextAlignment(int col, int row, TVAlignment& vAlign) {
    vAlign = FD->FVAlignment;
    TAlignment h = taLeftJustify;
    if (AutoNumAlign) {
        std::string t = GetCellText(col, row);
        if (!t.empty() && t[0] == '=') t = EvaluateCellText(col, row);
        TNumberTextKind kind = NumberTextKind(t);
        if (kind == ntkInteger || kind == ntkFloat) h = taRightJustify;
    }
    if (TCellProperties* p = CellProps(col, row)) h = p->Alignment;
    QueryCellAlignment(col, row, h, vAlign);
    return h;
}

// ---------------------------------------------------------------------------
// Look setters

void TExtStringGrid::SetActiveCellShow(bool value) {
    SetProperty(FD->FActiveCellShow, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetActiveCellColor(TColor value) {
    SetProperty(FD->FActiveCellColor, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetSelectionColor(TColor value) {
    SetProperty(FD->FSelectionColor, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetSelectionTextColor(TColor value) {
    SetProperty(FD->FSelectionTextColor, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetSelectionRectangle(bool value) {
    SetProperty(FD->FSelectionRectangle, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetSelectionResizer(bool value) {
    SetProperty(FD->FSelectionResizer, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetShowSelection(bool value) {
    SetProperty(FD->FShowSelection, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetLook(TGridLook value) {
    SetProperty(FD->FLook, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetFlat(bool value) {
    SetProperty(FD->FFlat, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetBorderStyle(TBorderStyle value) {
    SetProperty(FD->FBorderStyle, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetURLColor(TColor value) {
    SetProperty(FD->FURLColor, value, [this] {
        if (FD->FURLShow) InvalidateGrid();
    });
}

void TExtStringGrid::SetURLShow(bool value) {
    SetProperty(FD->FURLShow, value, [this] { InvalidateGrid(); });
}

void TExtStringGrid::SetURLFull(bool value) {
    SetProperty(FD->FURLFull, value, [this] {
        if (FD->FURLShow) InvalidateGrid();
    });
}

void TExtStringGrid::SetVAlignment(TVAlignment value) {
    SetProperty(FD->FVAlignment, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetWordWrap(bool value) {
    SetProperty(FD->FWordWrap, value, [this] { InvalidateGrid(); });
}
void TExtStringGrid::SetMultilinecells(bool value) {
    SetProperty(FD->FMultilinecells, value, [this] { InvalidateGrid(); });
}

unsigned TExtStringGrid::WordWrapOffFlags() const {
    return FD->FMultilinecells ? 0u : unsigned(cb::gfx::DT_SINGLELINE);
}

void TExtStringGrid::SetRowIndicator(const cb::gfx::TBitmap& bitmap) {
    FD->FRowIndicator.Assign(bitmap);
    InvalidateCellArea(0, Row());
}

// ---------------------------------------------------------------------------
// Parts

TGridPart* TExtStringGrid::Part(TGridPartKind kind) const {
    return FD->Parts[size_t(kind)].get();
}

void TExtStringGrid::SetPart(TGridPartKind kind, std::unique_ptr<TGridPart> part) {
    FD->Parts[size_t(kind)] = std::move(part);
}

bool TExtStringGrid::OfferToParts(const std::function<bool(TGridPart&)>& offer) {
    for (auto& part : FD->Parts) {
        if (!part) continue;
        try {
            if (offer(*part)) return true;
        } catch (const std::exception& e) {
            ReportError(e);
            return true;
        }
    }
    return false;
}

void TExtStringGrid::ReportError(const std::exception& error) {
    if (OnDropError)
        OnDropError(this, error.what());
    else
        cb::os::PlainMessageBox(window(), QMessageBox::Warning, window()->windowTitle(),
                                QString::fromStdString(error.what()));
}

// ---------------------------------------------------------------------------
// State kept in the private part

int TExtStringGrid::FixedRowHeight() const {
    return FD->FFixedRowHeight;
}

void TExtStringGrid::SetFixedRowHeight(int height) {
    FD->FFixedRowHeight = height;
}

int TExtStringGrid::FixedFooters() const {
    return FD->FFixedFooters;
}

int TExtStringGrid::FixedRightCols() const {
    return FD->FFixedRightCols;
}

bool TExtStringGrid::FixedRowAlways() const {
    return FD->FFixedRowAlways;
}

bool TExtStringGrid::FixedColAlways() const {
    return FD->FFixedColAlways;
}

const std::vector<TGridCoord>& TExtStringGrid::SelectedCells() const {
    return FD->Selection.Cells().Items();
}

int TExtStringGrid::RowSelectListSize() const {
    return FD->Selection.RowMarkListSize();
}

bool TExtStringGrid::SelectionHidden() const {
    return FD->Selection.Hidden();
}

const std::vector<std::string>& TExtStringGrid::ColumnHeaders() const {
    return FD->FColumnHeaders;
}

const std::vector<std::string>& TExtStringGrid::RowHeaders() const {
    return FD->FRowHeaders;
}

void TExtStringGrid::ClearRepaintSuspension() {
    FD->FRepaintSuspendCount = 0;
}

int TExtStringGrid::RepaintSuspendCount() const {
    return FD->FRepaintSuspendCount;
}

TFooterPanel* TExtStringGrid::FooterPanel() const {
    return FD->FFooterPanel;
}

int TExtStringGrid::HiddenRowCount() const {
    return FD->HiddenRows.Count();
}

bool TExtStringGrid::FilterActive() const {
    return FD->FFilterActive;
}

int TExtStringGrid::FilterFixedRows() const {
    return FD->FFilterFixedRows;
}

bool TExtStringGrid::AutoSize() const {
    return FD->Sizing.AutoSize();
}

bool TExtStringGrid::IntegralHeight() const {
    return FD->Sizing.IntegralHeight();
}

TScrollType TExtStringGrid::ScrollType() const {
    return FD->FScrollType;
}

TColor TExtStringGrid::ScrollColor() const {
    return FD->FScrollColor;
}

int TExtStringGrid::ScrollWidth() const {
    return FD->FScrollWidth;
}

bool TExtStringGrid::ScrollProportional() const {
    return FD->FScrollProportional;
}

bool TExtStringGrid::FlatScrollActive() const {
    return FD->FFlatScrollActive;
}

TBorderStyle TExtStringGrid::BorderStyle() const {
    return FD->FBorderStyle;
}

TFont& TExtStringGrid::FixedFont() {
    return FD->FFixedFont;
}

TFont& TExtStringGrid::ActiveCellFont() {
    return FD->FActiveCellFont;
}

bool TExtStringGrid::ActiveCellShow() const {
    return FD->FActiveCellShow;
}

TColor TExtStringGrid::ActiveCellColor() const {
    return FD->FActiveCellColor;
}

TColor TExtStringGrid::SelectionColor() const {
    return FD->FSelectionColor;
}

TColor TExtStringGrid::SelectionTextColor() const {
    return FD->FSelectionTextColor;
}

bool TExtStringGrid::ShowSelection() const {
    return FD->FShowSelection;
}

bool TExtStringGrid::SelectionRectangle() const {
    return FD->FSelectionRectangle;
}

bool TExtStringGrid::SelectionResizer() const {
    return FD->FSelectionResizer;
}

TGridLook TExtStringGrid::Look() const {
    return FD->FLook;
}

bool TExtStringGrid::Flat() const {
    return FD->FFlat;
}

TColor TExtStringGrid::URLColor() const {
    return FD->FURLColor;
}

bool TExtStringGrid::URLShow() const {
    return FD->FURLShow;
}

bool TExtStringGrid::URLFull() const {
    return FD->FURLFull;
}

TVAlignment TExtStringGrid::VAlignment() const {
    return FD->FVAlignment;
}

bool TExtStringGrid::WordWrap() const {
    return FD->FWordWrap;
}

bool TExtStringGrid::Multilinecells() const {
    return FD->FMultilinecells;
}

cb::gfx::TBitmap& TExtStringGrid::RowIndicator() {
    return FD->FRowIndicator;
}

THTMLPictureCache& TExtStringGrid::PictureCache() {
    return FD->FPictureCache;
}

bool TExtStringGrid::RepaintAllowed() const {
    return FD->FRepaintSuspendCount <= 0;
}

}  // namespace cb::grid
