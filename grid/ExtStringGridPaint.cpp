// Painting of TExtStringGrid: the appearance chain of a cell (cell
// properties, fixed and normal defaults, bands, active-cell headers, the
// colour event, selection), its text, borders, sort glyph and the looks of
// fixed cells.
#include "grid/ExtStringGridPrivate.h"
#include "grid/markup/RichText.h"

#include "grid/paint/DrawUtils.h"
#include "grid/util/TextUtils.h"

#include "platform/rtl/ScopeGuard.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace cb::grid {

using namespace cb::gfx;

namespace {

// The header's filter button: a funnel on a key colour (pixel 0, 0) that is
// drawn transparent.
const TBitmap& FilterGlyph() {
    static const std::unique_ptr<TBitmap> glyph = [] {
        auto b = std::make_unique<TBitmap>();
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(QColor(0, 128, 128));
        for (int y = 3; y <= 7; ++y)
            for (int x = 3 + (y - 3); x <= 12 - (y - 3); ++x) img.setPixel(x, y, qRgb(0, 0, 0));
        for (int y = 8; y <= 12; ++y)
            for (int x = 7; x <= 8; ++x) img.setPixel(x, y, qRgb(0, 0, 0));
        b->SetImage(img);
        return b;
    }();
    return *glyph;
}

}  // namespace

void TExtStringGrid::GetCellAppearance(int col, int row, TGridDrawState& state, bool printing, bool selectable,
                                       bool mapColumn, TBrush& brush, TFont& font, TAlignment& hAlign,
                                       TVAlignment& vAlign) {
    const bool fixedByCounts = col < FixedCols() || row < FixedRows();
    // one change notification for the whole chain
    struct FontBatch {
        TFont& f;
        explicit FontBatch(TFont& font) : f(font) { f.BeginUpdate(); }
        ~FontBatch() { f.EndUpdate(); }
    } batch(font);
    font.Assign(printing ? PrintSettings.Font : fixedByCounts ? FD->FFixedFont : Font());
    const int rc = mapColumn ? RealColIndex(col) : col;

    TColor bc = clNone;
    if (TCellProperties* p = CellProps(rc, row))
        if (p->BrushColor() != clNone) bc = p->BrushColor();
    if (bc == clNone) {
        bc = Color();
        if (Bands.Active() && (!printing || Bands.Print) && col >= FixedCols() &&
            col < ColCount() - FD->FFixedRightCols + HiddenColumnCount() && row >= FixedRows() &&
            row < RowCount() - FD->FFixedFooters && Bands.Period() > 0) {
            bc = (row - FixedRows()) % Bands.Period() < Bands.PrimaryLength() ? Bands.PrimaryColor()
                                                                              : Bands.SecondaryColor();
        }
    }
    brush.SetColor(bc);
    ApplyCellProperties(rc, row, brush, font, false);

    const bool fixed = fixedByCounts || DrawAsFixed(col, row);
    if (fixed && !printing) {
        brush.SetColor(FixedColor());
        font.SetColor(FD->FFixedFont.Color());
        state |= gdFixed;
    }
    if (!printing)
        GetCellColor(rc, row, state, brush, font);
    else
        GetCellPrintColor(rc, row, state, brush, font);
    FD->FPaintLook.Valid = !printing && selectable && mapColumn;
    if (FD->FPaintLook.Valid) FD->FPaintLook = {true, col, row, brush.Color(), font.Color()};

    auto applySelection = [&]() {
        if (FD->FSelectionColor != clNone) brush.SetColor(FD->FSelectionColor);
        if (FD->FSelectionTextColor != clNone) font.SetColor(FD->FSelectionTextColor);
    };
    if (selectable && !printing && FD->FShowSelection && !fixed) {
        bool normal = col >= FixedCols() && row >= FixedRows();
        if (MouseActions.DisjunctRowSelect && normal) {
            bool marked = FD->Selection.RowMarked(row);
            if (marked && (!FD->Selection.Dragging() || row != Row())) {
                applySelection();
                state = gdSelected;
            } else if (FD->Selection.Dragging() && !marked && (state & gdSelected)) {
                applySelection();
                state = gdSelected;
            }
        }
        if (MouseActions.DisjunctColSelect && normal) {
            bool marked = FD->Selection.ColMarked(col);
            if (marked && (!FD->Selection.Dragging() || col != Col())) {
                applySelection();
                state = gdSelected;
            } else if (FD->Selection.Dragging() && !marked && (state & gdSelected)) {
                applySelection();
                state = gdSelected;
            }
        }
        if (IsCellSelected(col, row) && !MouseActions.DisjunctRowSelect && !MouseActions.DisjunctColSelect) {
            applySelection();
            state |= gdSelected;
        }
    }
    if (selectable && (state & gdSelected) && FD->Selection.Dragging()) applySelection();
    if (MouseActions.DisjunctCellSelect && !FD->Selection.Cells().Empty() && IsCellSelectedDisjunct(col, row)) {
        applySelection();
        state |= gdSelected;
    }
    hAlign = ResolveTextAlignment(rc, row, vAlign);
}

void TExtStringGrid::DrawCellContent(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState state) {
    const int rc = RealColIndex(col);
    if (FD->FPaintLook.Valid && FD->FPaintLook.Col == col && FD->FPaintLook.Row == row && !OnGetCellColor) {
        // The canvas holds this cell's looks from painting its background;
        // the content wants them without the selection colours, which only
        // touched the two colours (disjunct cells excepted).
        canvas.Brush().SetColor(FD->FPaintLook.Brush);
        canvas.Font().SetColor(FD->FPaintLook.FontColor);
        if (MouseActions.DisjunctCellSelect && !FD->Selection.Cells().Empty() && IsCellSelectedDisjunct(col, row)) {
            if (FD->FSelectionColor != clNone) canvas.Brush().SetColor(FD->FSelectionColor);
            if (FD->FSelectionTextColor != clNone) canvas.Font().SetColor(FD->FSelectionTextColor);
            state |= gdSelected;
        }
    } else {
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        GetCellAppearance(col, row, state, false, false, true, canvas.Brush(), canvas.Font(), ha, va);
    }
    FD->FPaintLook.Valid = false;

    if ((state & gdSelected) && !(state & gdFocused) && FD->FSelectionColor == clNone)
        canvas.Brush().SetColor(clHighlight);
    if (ZoomStep != 0) canvas.Font().SetSize(canvas.Font().Size() + ZoomStep);

    const int oldLeft = rect.Left;
    if (col == 0 && row == Row() && FixedCols() > 0 && !FD->FRowIndicator.Empty()) {
        DrawBitmapTransparent(canvas, FD->FRowIndicator, FixedColor(), rect);
        rect.Left += FD->FRowIndicator.Width();
    }

    const TColor savedBrush = canvas.Brush().Color();
    const TColor savedFont = canvas.Font().Color();
    const bool fixed = state & gdFixed;
    if (fixed && FD->FLook == glExt && !FD->FFlat) DrawGradient(canvas, 0xC0C0C0, 0xFFFFFF, 10, false, rect);

    const TGraphicLayout layout = GetCellGraphicLayout(rc, row);
    int textWidth = 0;
    TAlignment textAlign = taLeftJustify;
    DrawCellText(canvas, col, row, rect, state, savedBrush, savedFont, layout, textWidth, textAlign);

    canvas.Brush().SetColor(savedBrush);
    canvas.Font().SetColor(savedFont);
    if (OnGetCellBorder || OnGetCellBorderProp) {
        TRect br = rect;
        InflateRect(br, 1, 1);
        DrawCellBorders(canvas, rc, row, br);
    }
    rect.Left = oldLeft;

    if (fixed && !FD->FFlat) {
        if (FD->FLook == glClassic) {
            TRect e = rect;
            canvas.DrawEdge(e, BDR_RAISEDINNER, BF_LEFT);
            e = rect;
            canvas.DrawEdge(e, BDR_RAISEDINNER, BF_TOP);
            e = rect;
            canvas.DrawEdge(e, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
            canvas.Pen().SetColor(clBlack);
            canvas.MoveTo(rect.Right - 1, rect.Top);
            canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
            canvas.LineTo(rect.Left - 1, rect.Bottom - 1);
        } else if (FD->FLook == glExt || FD->FLook == glSoft) {
            TRect r = rect;
            InflateRect(r, 1, 1);
            r.Bottom -= 1;
            bool horz = FD->FLook == glExt || (Options() & goFixedHorzLine);
            canvas.Pen().SetWidth(1);
            if (horz) {
                canvas.Pen().SetColor(HalveColor(FixedColor()));
                canvas.MoveTo(r.Left, r.Bottom - 1);
                canvas.LineTo(r.Right - 1, r.Bottom - 1);
                canvas.Pen().SetColor(clWhite);
                canvas.MoveTo(r.Right, r.Top + 1);
                canvas.LineTo(r.Left + 1, r.Top + 1);
                canvas.LineTo(r.Left + 1, r.Bottom - 1);
            }
            if (FD->FLook == glSoft && (Options() & goFixedVertLine)) {
                canvas.Pen().SetColor(HalveColor(FixedColor()));
                canvas.MoveTo(r.Right - 2, r.Top);
                canvas.LineTo(r.Right - 2, r.Bottom - 1);
                canvas.Pen().SetColor(clWhite);
                canvas.MoveTo(r.Right - 1, r.Top);
                canvas.LineTo(r.Right - 1, r.Bottom - 1);
            }
        }
    }

    if (FD->FFixedRightCols > 0 && ColCount() + HiddenColumnCount() - rc <= FD->FFixedRightCols &&
        FD->FLook != glClassic && FD->FFlat) {
        canvas.Pen().SetColor(clBlack);
        canvas.Pen().SetWidth(1);
        if (Options() & goFixedHorzLine) {
            canvas.MoveTo(rect.Left - 1, rect.Top - 1);
            canvas.LineTo(rect.Right + 1, rect.Top - 1);
            canvas.MoveTo(rect.Left - 1, rect.Bottom + 1);
            canvas.LineTo(rect.Right + 1, rect.Bottom + 1);
        }
        if (Options() & goFixedVertLine) {
            canvas.MoveTo(rect.Left - 1, rect.Top - 1);
            canvas.LineTo(rect.Left - 1, rect.Bottom + 1);
            canvas.MoveTo(rect.Right + 1, rect.Top - 1);
            canvas.LineTo(rect.Right + 1, rect.Bottom + 1);
        }
    }

    if (col == 0 && row >= FixedRows() && CellNode.ShowTree() && PaintHasNodes()) {
        const int mid = rect.Top + (rect.Bottom - rect.Top) / 2;
        canvas.Pen().SetColor(clSilver);
        canvas.Pen().SetWidth(1);
        canvas.MoveTo(rect.Left - 8, mid);
        canvas.LineTo(rect.Left, mid);
        const int position = GetTreeLinePosition(row);
        if (position == 1) {
            canvas.MoveTo(rect.Left - 8, rect.Top);
            canvas.LineTo(rect.Left - 8, mid);
        } else if (position == 2) {
            canvas.MoveTo(rect.Left - 8, rect.Top);
            canvas.LineTo(rect.Left - 8, rect.Bottom + 4);
        }
        canvas.Pen().SetStyle(psSolid);
    }
    if (layout.Graphic) {
        const TColor keepBrush = canvas.Brush().Color();
        canvas.Brush().SetColor(savedBrush);
        DrawCellGraphic(canvas, {rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1}, layout, rc, row, state,
                        textAlign, textWidth);
        canvas.Brush().SetColor(keepBrush);
    }

    if (OnDrawCell)
        OnDrawCell(this, rc, row,
                   {rect.Left + 1, rect.Top + 1, rect.Right - GridLineWidth(), rect.Bottom - GridLineWidth()}, state);
    if (OnCustomCellDraw) OnCustomCellDraw(this, canvas, rc, row, state, rect, false);

    if (!HideFocusRect && hasFocus() && !(Options() & goRowSelect)) {
        TGridCoord b = FindBaseCell(col, row);
        if (b.X == Col() && b.Y == Row()) {
            TRect f = rect;
            InflateRect(f, GridLineWidth() - 1, GridLineWidth() - 1);
            f.Right -= 1;
            f.Bottom -= 1;
            canvas.DrawFocusRect(f);
        }
    }
}

bool TExtStringGrid::SortGlyphShown(int col, int row) const {
    if (!SortSettings.Show || row != SortSettings.Row || RowCount() <= 2 || FixedRows() <= 0) return false;
    int index = SortIndexes.FindColumn(col);
    if (col != SortSettings.Column && index < 0) return false;
    if (col < FixedCols() && !SortSettings.FixedCols) return false;
    return index <= 0 || SortSettings.IndexShow;
}

void TExtStringGrid::DrawCellText(TCanvas& canvas, int col, int row, TRect rect, TGridDrawState state,
                                  TColor savedBrush, TColor savedFont, const TGraphicLayout& layout, int& textWidth,
                                  TAlignment& textAlign) {
    const int rc = RealColIndex(col);
    textWidth = 0;
    bool selected =
        (state & gdSelected) || ((Options() & goRowSelect) && col >= FixedCols() && FD->Selection.RowMarked(row));
    TColor link = FD->FURLColor;
    if (selected && (!(state & gdFocused) || (Options() & goDrawFocusSelected))) {
        if (FD->FShowSelection) {
            if (FD->FSelectionColor != clNone) canvas.Brush().SetColor(FD->FSelectionColor);
            if (FD->FSelectionTextColor != clNone) {
                canvas.Font().SetColor(FD->FSelectionTextColor);
                link = FD->FSelectionTextColor;
            }
        } else if (!hasFocus()) {
            canvas.Brush().SetColor(savedBrush);
            canvas.Font().SetColor(savedFont);
            link = FD->FURLColor;
        }
    }

    std::string text = GetFloatFormattedText(rc, row);
    TCellTextKind kind = CellTextKind(text, EnableHTML);
    if (kind == ctkFormula) text = EvaluateCellText(rc, row);
    int errorStart = 0;
    int errorLength = 0;
    GetErrorRange(rc, row, errorStart, errorLength);
    if (CellIsPassword(rc, row)) FillWithChar(text, PasswordChar);

    const bool filterButton = row == 0 && HasColumnFilterButton(rc);
    if (filterButton) {
        const TColor keep = canvas.Brush().Color();
        DrawBitmapTransparent(canvas, FilterGlyph(), FixedColor(),
                              {rect.Right - 16, rect.Top, rect.Right, rect.Bottom});
        canvas.Brush().SetColor(keep);
    }

    // Disjunct modes: unmarked rows and columns go back to normal colours.
    if (!FD->Selection.Dragging() && col >= FixedCols() && row >= FixedRows() &&
        ((MouseActions.DisjunctRowSelect && !FD->Selection.RowMarked(row)) ||
         (MouseActions.DisjunctColSelect && !FD->Selection.ColMarked(col)))) {
        link = FD->FURLColor;
        canvas.Brush().SetColor(Color());
        canvas.Font().SetColor(Font().Color());
        GetCellColor(rc, row, state, canvas.Brush(), canvas.Font());
    }

    if (!BackGround.Bitmap().Empty()) {
        const bool fixedCell = state & gdFixed;
        const TBackGroundCells cells = BackGround.Cells();
        const bool matches = cells == bcAll || (fixedCell ? cells == bcFixed : cells == bcNormal);
        const bool drawnSelected =
            selected && (!(state & gdFocused) || (Options() & goDrawFocusSelected)) && FD->FShowSelection;
        if (matches && !drawnSelected) {
            if (BackGround.Display() == bdFixed)
                DrawFixedBackground(canvas, rect);
            else
                DrawTiledBackground(canvas, col, row, rect);
        }
    }

    if (FD->FSelectionRectangle && IsCellSelected(col, row)) {
        TGridRect s = Selection();
        canvas.Pen().SetColor(SelectionRectangleColor);
        canvas.Pen().SetWidth(2);
        int glw = GridLineWidth();
        if (col == s.Left) {
            canvas.MoveTo(rect.Left - glw + 1, rect.Bottom - 1);
            canvas.LineTo(rect.Left - glw + 1, rect.Top - glw + 1);
        }
        if (col == s.Right) {
            canvas.MoveTo(rect.Right - 1, rect.Top);
            canvas.LineTo(rect.Right - 1, rect.Bottom);
        }
        if (row == s.Top) {
            canvas.MoveTo(rect.Left, rect.Top - glw + 1);
            canvas.LineTo(rect.Right, rect.Top - glw + 1);
        }
        if (row == s.Bottom) {
            canvas.MoveTo(rect.Left, rect.Bottom - 1);
            canvas.LineTo(rect.Right, rect.Bottom - 1);
        }
        if (FD->FSelectionResizer && col == s.Right && row == s.Bottom) {
            canvas.Brush().SetColor(SelectionRectangleColor);
            canvas.FillRect({rect.Right - 4, rect.Bottom - 4, rect.Right, rect.Bottom});
        }
        canvas.Pen().SetWidth(1);
    }

    TVAlignment va = vtaTop;
    const TAlignment ha = ResolveTextAlignment(rc, row, va);
    textAlign = ha;
    if (!layout.DrawText) return;

    const TRect cell = rect;
    TRect tr = rect;
    tr.Left += TextMargin.X;
    tr.Right -= TextMargin.X;
    tr.Top += TextMargin.Y;
    // Room for the graphic beside, above or below the text.
    int glyphOffset = 0;
    if (layout.Graphic) {
        if (layout.HAlign == haBeforeText && ha != taCenter) tr.Left += layout.Width;
        if (layout.HAlign == haLeft) glyphOffset = layout.Width;
        if (layout.HAlign == haAfterText && ha != taCenter) tr.Right -= layout.Width;
        if (layout.VAlign == vaAboveText) tr.Top += layout.Height;
        if (layout.VAlign == vaUnderText) tr.Bottom -= layout.Height;
    }

    const unsigned hFlag = ha == taRightJustify ? DT_RIGHT : ha == taCenter ? DT_CENTER : DT_LEFT;
    const unsigned vFlag = va == vtaCenter ? DT_VCENTER : va == vtaBottom ? DT_BOTTOM : DT_TOP;
    bool wrap = FD->FWordWrap;
    if (TCellProperties* p = CellProps(rc, row)) wrap = wrap || p->WordWrap();
    const bool glyph = SortGlyphShown(col, row);
    auto glyphY = [&](const TRect& r) {
        return va == vtaTop ? r.Top + 8 : va == vtaCenter ? r.Top + (r.Bottom - r.Top) / 2 : r.Bottom - 8;
    };
    canvas.SetBkMode(TRANSPARENT);

    if (kind == ctkHTML) {
        if (filterButton) tr.Right -= 18;
        if (glyph) tr.Right -= 10;
        const int used = DrawHTMLCellText(canvas, rc, row, text, tr, ha, va, link);
        if (layout.Graphic) textWidth = used + 2;
        if (glyph) DrawSortGlyph(canvas, col, tr.Right + 2, glyphY(cell));
        return;
    }
    if (kind == ctkWideText) {
        canvas.Pen().SetColor(canvas.Brush().Color());
        if (!((state & gdSelected) && !(state & gdFocused) && FD->FSelectionColor == clNone)) canvas.FillRect(tr);
        unsigned flags = vFlag | hFlag | DT_NOPREFIX;
        if (!wrap && !FD->FMultilinecells) flags |= DT_SINGLELINE | DT_END_ELLIPSIS;
        canvas.DrawText(QString::fromStdU16String(DecodeWideText(text)).toStdString(), tr, flags);
        return;
    }

    if (kind == ctkRichText) {
        canvas.Pen().SetColor(canvas.Brush().Color());
        const bool keepSelection = (state & gdSelected) && !(state & gdFocused) && FD->FSelectionColor == clNone;
        if (!keepSelection) canvas.FillRect(tr);
        if (QPainter* painter = canvas.Painter()) {
            const bool recolor = (state & gdSelected) && !(state & gdFocused) && !SelectionRTFKeep;
            const QColor selected = cb::gfx::ToQColor(FD->FSelectionTextColor);
            const QRect area(tr.Left, tr.Top, tr.Right - tr.Left, tr.Bottom - tr.Top);
            DrawRichText(*painter, area, text, RichTextFont(canvas.Font()), recolor ? &selected : nullptr);
        }
        return;
    }

    // Plain text.
    if (SortSettings.Show && row == SortSettings.Row && col == SortSettings.Column && ha == taCenter) tr.Left += 10;
    int glyphRoom = row == 0 && col == SortSettings.Column && SortSettings.Show ? 14 : 0;
    bool underline = false;
    if (FD->FURLShow && IsURLOrMail(text)) {
        if (!FD->FURLFull) StripURLScheme(text);
        canvas.Font().SetStyle(canvas.Font().Style() | fsUnderline);
        canvas.Font().SetColor(link);
        underline = true;
    }
    unsigned flags = DT_EDITCONTROL;
    if (CountTextLines(text, FD->FMultilinecells) == 1 && !wrap) {
        std::string line;
        std::string rest = text;
        ExtractFirstLine(rest, false, line);
        text = line;
        flags = DT_SINGLELINE;
        if (EnhTextSize) flags |= DT_END_ELLIPSIS;
    }
    flags |= DT_EXPANDTABS | DT_NOPREFIX | (wrap ? unsigned(DT_WORDBREAK | DT_EDITCONTROL) : WordWrapOffFlags()) |
             hFlag | vFlag;
    if (ha == taLeftJustify)
        tr.Right -= glyphRoom;
    else
        tr.Left += glyphRoom;
    if (filterButton) tr.Right -= 16;
    if (layout.Graphic && !text.empty()) {
        TRect measured = tr;
        canvas.DrawText(text, measured, flags | DT_CALCRECT);
        textWidth = measured.Right - measured.Left + 2;
    }
    if (!text.empty()) canvas.DrawText(text, tr, flags);
    if (errorLength > 0) DrawErrorUnderline(canvas, text, errorLength, errorStart, 0, tr);

    if (glyph) {
        TRect gr = cell;
        if (filterButton) gr.Right -= 16;
        int w = canvas.TextWidth(text);
        int k = std::max(0, std::min(gr.Right - gr.Left - 16, w));
        int x = ha == taLeftJustify    ? gr.Left + k + glyphOffset + 10
                : ha == taRightJustify ? gr.Right - k - 10
                                       : gr.Left + 8;
        DrawSortGlyph(canvas, col, x, glyphY(gr));
    }
    if (underline) canvas.Font().SetStyle(canvas.Font().Style() & ~unsigned(fsUnderline));
}

void TExtStringGrid::SelectCellFont(TCanvas& canvas, int col, int row) {
    TBrush brush;
    TFont font;
    font.Assign(col < FixedCols() || row < FixedRows() ? FixedFont() : Font());
    GetCellColor(col, row, 0, brush, font);
    canvas.Font().Assign(font);
    // As DrawCellContent draws it.
    if (ZoomStep != 0) canvas.Font().SetSize(canvas.Font().Size() + ZoomStep);
}

THTMLRenderInput TExtStringGrid::HTMLPictureInput() {
    THTMLRenderInput in;
    in.Images = GridImages;
    in.Container = PictureContainer;
    in.Cache = &FD->FPictureCache;
    return in;
}

// Where a mark-up cell's text is drawn, in client pixels: the cell inside
// its margins, moved by the cell's alignment as DrawHTMLCellText places it.
TRect TExtStringGrid::HTMLCellTextRect(int col, int row, const std::string& text) {
    TRect rect = GetMergedCellRect(col, row);
    const int shrink = col < FixedCols() || row < FixedRows() ? 1 : GridLineWidth();
    rect.Right -= shrink;
    rect.Bottom -= shrink;
    rect.Left += TextMargin.X;
    rect.Right -= TextMargin.X;
    rect.Top += TextMargin.Y;
    TVAlignment vAlign = vtaTop;
    const TAlignment hAlign = ResolveTextAlignment(col, row, vAlign);
    if (HasColumnFilterButton(col) && row == 0) rect.Right -= 18;
    if (SortGlyphShown(col, row)) rect.Right -= 10;
    if (hAlign != taLeftJustify || vAlign != vtaTop) {
        TCanvas canvas;
        SelectCellFont(canvas, col, row);
        const THTMLRenderInput in = HTMLPictureInput();
        const TPoint size = FD->FHTMLMeasure.Measure(canvas, text, rect.Right - rect.Left, FD->FWordWrap, &in);
        const int freeX = rect.Right - rect.Left - size.X - 2;
        if (freeX > 0) rect.Left += hAlign == taRightJustify ? freeX : hAlign == taCenter ? freeX / 2 : 0;
        const int freeY = rect.Bottom - rect.Top - size.Y;
        if (freeY > 0) rect.Top += vAlign == vtaBottom ? freeY : vAlign == vtaCenter ? freeY / 2 : 0;
    }
    return rect;
}

int TExtStringGrid::DrawHTMLCellText(TCanvas& canvas, int, int, const std::string& text, TRect rect, TAlignment hAlign,
                                     TVAlignment vAlign, TColor linkColor) {
    THTMLRenderInput in = HTMLPictureInput();
    if (hAlign != taLeftJustify || vAlign != vtaTop) {
        const TPoint size = FD->FHTMLMeasure.Measure(canvas, text, rect.Right - rect.Left, FD->FWordWrap, &in);
        const int freeX = rect.Right - rect.Left - size.X - 2;
        if (freeX > 0) rect.Left += hAlign == taRightJustify ? freeX : hAlign == taCenter ? freeX / 2 : 0;
        const int freeY = rect.Bottom - rect.Top - size.Y;
        if (freeY > 0) rect.Top += vAlign == vtaBottom ? freeY : vAlign == vtaCenter ? freeY / 2 : 0;
    }
    in.Rect = rect;
    in.LinkColor = linkColor;
    in.BlinkPhase = BlinkPhase;
    in.WordWrap = FD->FWordWrap;
    THTMLRenderResult out;
    RenderHTML(canvas, text, in, out);
    return out.Width;
}

void TExtStringGrid::DrawSortGlyph(TCanvas& canvas, int col, int x, int y) {
    int index = SortIndexes.FindColumn(col);
    if (SortSettings.IndexShow && index >= 0) {
        bool desc = TSortIndexList::Descending(SortIndexes.Item(index));
        canvas.Brush().SetColor(SortSettings.IndexColor);
        canvas.SetBkMode(TRANSPARENT);
        canvas.Font().SetColor(clBlack);
        canvas.Font().SetSize(6);
        canvas.Pen().SetColor(clBlack);
        std::string number = std::to_string(index + 1);
        if (desc) {
            if (SortSettings.IndexUpGlyph.Empty() || SortSettings.IndexDownGlyph.Empty()) {
                TPoint pts[3] = {{x - 7, y - 5}, {x + 7, y - 5}, {x, y + 8}};
                canvas.Polygon(pts, 3);
            } else {
                canvas.DrawTransparent(x - 7, y - 7, SortSettings.IndexUpGlyph,
                                       SortSettings.IndexUpGlyph.TransparentColor());
            }
            canvas.TextOut(x - 2, y - 4, number);
        } else {
            if (SortSettings.IndexUpGlyph.Empty() || SortSettings.IndexDownGlyph.Empty()) {
                TPoint pts[3] = {{x - 6, y + 8}, {x + 6, y + 8}, {x, y - 4}};
                canvas.Polygon(pts, 3);
            } else {
                canvas.DrawTransparent(x - 7, y - 7, SortSettings.IndexDownGlyph,
                                       SortSettings.IndexDownGlyph.TransparentColor());
            }
            canvas.TextOut(x - 2, y - 2, number);
        }
        return;
    }
    bool glyphs = !SortSettings.UpGlyph.Empty() && !SortSettings.DownGlyph.Empty();
    canvas.Pen().SetWidth(1);
    if (SortSettings.Direction == sdDescending) {
        if (!glyphs) {
            canvas.Pen().SetColor(clWhite);
            canvas.MoveTo(x + 4, y - 4);
            canvas.LineTo(x, y + 4);
            canvas.Pen().SetColor(clGray);
            canvas.LineTo(x - 4, y - 4);
            canvas.LineTo(x + 4, y - 4);
            canvas.Pen().SetColor(clBlack);
        } else {
            canvas.DrawTransparent(x - 4, y - 4, SortSettings.DownGlyph, SortSettings.DownGlyph.TransparentColor());
            canvas.SetBkColor(FixedColor());
        }
    } else {
        if (!glyphs) {
            canvas.Pen().SetColor(clWhite);
            canvas.MoveTo(x - 4, y + 4);
            canvas.LineTo(x + 4, y + 4);
            canvas.LineTo(x, y - 4);
            canvas.Pen().SetColor(clGray);
            canvas.LineTo(x - 4, y + 4);
            canvas.Pen().SetColor(clBlack);
        } else {
            canvas.DrawTransparent(x - 4, y - 4, SortSettings.UpGlyph, SortSettings.UpGlyph.TransparentColor());
        }
    }
}

void TExtStringGrid::DrawCellBorders(TCanvas& canvas, int col, int row, TRect rect) {
    TPen saved;
    saved.Assign(canvas.Pen());
    TCellBorders borders = 0;
    GetCellBorder(col, row, canvas.Pen(), borders);
    TPen left, top, right, bottom;
    left.Assign(canvas.Pen());
    top.Assign(canvas.Pen());
    right.Assign(canvas.Pen());
    bottom.Assign(canvas.Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, row, col, left, top, right, bottom);
    int d = (std::max(1, canvas.Pen().Width()) + 1) / 2;  // width 0 covers a pixel too
    rect.Left += d;
    rect.Top += d;
    rect.Right -= d;
    rect.Bottom -= d;
    if (borders & cbLeft) {
        canvas.Pen().Assign(left);
        canvas.MoveTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Left, rect.Bottom);
    }
    if (borders & cbRight) {
        canvas.Pen().Assign(right);
        canvas.MoveTo(rect.Right - 1, rect.Top);
        canvas.LineTo(rect.Right - 1, rect.Bottom);
    }
    if (borders & cbTop) {
        canvas.Pen().Assign(top);
        canvas.MoveTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right, rect.Top);
    }
    if (borders & cbBottom) {
        canvas.Pen().Assign(bottom);
        canvas.MoveTo(rect.Left, rect.Bottom - 1);
        canvas.LineTo(rect.Right, rect.Bottom - 1);
    }
    canvas.Pen().Assign(saved);
}

void TExtStringGrid::DrawGradient(TCanvas& canvas, TColor from, TColor to, int steps, bool horizontal, const TRect& r) {
    if (steps <= 0) steps = 1;
    from = ColorToRGB(from);
    to = ColorToRGB(to);
    double size = (horizontal ? r.Width() : r.Height()) / double(steps);
    for (int k = 0; k < steps; ++k) {
        auto comp = [&](int a, int b) { return int(std::lround(a + k * double(b - a) / steps)); };
        TColor c = RGB(comp(GetRValue(from), GetRValue(to)), comp(GetGValue(from), GetGValue(to)),
                       comp(GetBValue(from), GetBValue(to)));
        canvas.Brush().SetColor(c);
        canvas.Pen().SetColor(c);
        int start = int(std::lround(k * size));
        int end = start + int(std::lround(size)) + 1;
        if (horizontal)
            canvas.FillRect({r.Left + start, r.Top, std::min(r.Left + end, r.Right), r.Bottom});
        else
            canvas.FillRect({r.Left, r.Top + start, r.Right, std::min(r.Top + end, r.Bottom)});
    }
}

void TExtStringGrid::DrawFixedBackground(TCanvas& canvas, const TRect& rect) {
    const TBitmap& b = BackGround.Bitmap();
    TRect pic = Bounds(BackGround.Left(), BackGround.Top(), b.Width(), b.Height());
    TRect part;
    if (!IntersectRect(part, pic, rect)) return;
    canvas.DrawImage(part, b.Image(), Bounds(part.Left - pic.Left, part.Top - pic.Top, part.Width(), part.Height()));
}

void TExtStringGrid::DrawTiledBackground(TCanvas& canvas, int col, int row, const TRect& rect) {
    const TBitmap& b = BackGround.Bitmap();
    const int bw = b.Width();
    const int bh = b.Height();
    if (bw <= 0 || bh <= 0) return;
    const bool all = BackGround.Cells() != bcNormal;
    long sx = 0;
    for (int c = all ? 0 : FixedCols(); c < col; ++c) sx += ColWidths(c);
    long sy = 0;
    for (int r = all ? 0 : FixedRows(); r < row; ++r) sy += RowHeights(r);
    const int x0 = int(((sx % bw) + bw) % bw);
    const int y0 = int(((sy % bh) + bh) % bh);
    int srcY = y0;
    for (int y = rect.Top - 1; y < rect.Bottom;) {
        int h = std::min(bh - srcY, rect.Bottom - y);
        int srcX = x0;
        for (int x = rect.Left - 1; x < rect.Right;) {
            int w = std::min(bw - srcX, rect.Right - x);
            canvas.DrawImage(Bounds(x, y, w, h), b.Image(), Bounds(srcX, srcY, w, h));
            x += w;
            srcX = 0;
        }
        y += h;
        srcY = 0;
    }
}

void TExtStringGrid::PaintLookFrame(TCanvas& canvas) {
    if ((FD->FLook != glSoft && FD->FLook != glExt) || FD->FBorderStyle != bsSingle || FD->FFlat) return;
    const int w = width();
    const int h = height();
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(clGray);
    canvas.MoveTo(1, h);
    canvas.LineTo(1, 1);
    canvas.LineTo(w - 2, 1);
    canvas.LineTo(w - 2, h - 2);
    canvas.LineTo(1, h - 2);
    if (QWidget* parent = parentWidget()) {
        canvas.Pen().SetColor(FromQColor(parent->palette().color(parent->backgroundRole())));
        canvas.MoveTo(0, h);
        canvas.LineTo(0, 0);
        canvas.LineTo(w - 1, 0);
        canvas.LineTo(w - 1, h - 1);
        canvas.LineTo(0, h - 1);
    }
    canvas.Pen().SetColor(clBlack);
}

void TExtStringGrid::Paint(TCanvas& canvas) {
    canvas.Pen().SetStyle(psSolid);
    FD->FPainting = true;
    FD->FNodeScanRow = -1;
    auto painted = cb::rtl::OnScopeExit([this] { FD->FPainting = false; });
    TBaseGrid::Paint(canvas);
    PaintInputMarks(canvas);
    if (EditInProgress) {
        TColor c = GridLineWidth() < 1 || !(Options() & (goHorzLine | goVertLine)) ? Color() : GridLineColor();
        TRect r = GetMergedCellRect(Col(), Row());
        canvas.Pen().SetColor(c);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(r);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Pen().SetColor(clBlack);
    }
    PaintLookFrame(canvas);
}

QImage TExtStringGrid::RenderToImage() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    Paint(canvas);
    return image;
}

}  // namespace cb::grid
