// Painting of the graphics cells hold: their size and placement beside the
// text, and the drawing of every kind (images, check boxes, radio groups,
// rotated text, nodes, pictures, progress bars and pies, comments, buttons).
// Painting never raises: a value that cannot be read draws nothing.
#include "grid/ExtStringGridPrivate.h"

#include "grid/paint/DrawUtils.h"
#include "grid/paint/FilePicture.h"
#include "grid/paint/FrameControls.h"
#include "grid/paint/VisualStyles.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cb::grid {

using namespace cb::gfx;

namespace {

// The cell text as an integer, or false when it is none.
bool CellTextInt(const std::string& text, int& value) {
    if (text.empty()) {
        value = 0;
        return true;
    }
    return cb::rtl::TryStrToInt(text, value);
}

TColor Inverted(TColor c) {
    return ColorToRGB(c) ^ 0xFFFFFF;
}

}  // namespace

TExtStringGrid::TGraphicLayout TExtStringGrid::GetCellGraphicLayout(int col, int row) {
    TCellGraphic* g = GetCellGraphic(col, row);
    if (!g) return {};
    const bool picture = g->CellType == ctPicture || g->CellType == ctFilePicture;
    const TSize area = picture ? GetMergedCellSize(DisplColIndex(col), row) : TSize{0, 0};
    const TSize size = GraphicKindSize(*g, area);
    TGraphicLayout l{g, size.cx, size.cy, g->CellHAlign, g->CellVAlign, true};
    switch (g->CellType) {
    case ctDataImage:
        // Without images the cell shows its text.
        l.DrawText = !GridImages;
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRotated:
    case ctRadio:
    case ctProgress:
        l.DrawText = false;
        break;
    default:
        break;
    }
    return l;
}

namespace {

// Where a graphic of w x h goes in the cell rectangle by its own alignment;
// room is what the cell's text takes (0: no text).
TRect PlaceGraphic(const TRect& rect, int w, int h, TCellHAlign hAlign, TCellVAlign vAlign, TAlignment textAlign,
                   int room) {
    const int width = rect.Width();
    const int height = rect.Height();
    TRect p;
    switch (hAlign) {
    case haLeft:
        p.Left = rect.Left + 1;
        break;
    case haRight:
        p.Left = rect.Right - 1 - w;
        break;
    case haCenter:
        p.Left = w < width ? rect.Left + (width - w) / 2 : rect.Left + 1;
        break;
    case haBeforeText:
        p.Left = textAlign == taLeftJustify ? rect.Left + 1 : std::max(rect.Right - room - w, rect.Left + 1);
        break;
    case haAfterText:
        p.Left = textAlign == taRightJustify ? rect.Right - 1 - w : rect.Left + room;
        break;
    case haFull:
        p.Left = rect.Left;
        break;
    }
    p.Right = hAlign == haFull ? rect.Right : p.Left + w;
    switch (vAlign) {
    case vaTop:
    case vaAboveText:
        p.Top = rect.Top + 1;
        break;
    case vaBottom:
        p.Top = rect.Bottom - 1 - h;
        break;
    case vaCenter:
        p.Top = h < height ? rect.Top + (height - h) / 2 : rect.Top + 1;
        break;
    case vaUnderText:
        p.Top = rect.Bottom - h;
        break;
    case vaFull:
        p.Top = rect.Top;
        break;
    }
    p.Bottom = vAlign == vaFull ? rect.Bottom : p.Top + h;
    return p;
}

}  // namespace

// Draws one cell's graphic: placed by PlaceGraphic, then drawn by the
// painter of its kind.
class TExtStringGrid::TGraphicPainter {
public:
    TGraphicPainter(TExtStringGrid& grid, TCanvas& canvas, const TRect& rect, const TGraphicLayout& layout, int col,
                    int row, TGridDrawState state, TAlignment textAlign, int textWidth)
        : FGrid(grid), FCanvas(canvas), FRect(rect), FG(*layout.Graphic), FW(layout.Width), FH(layout.Height),
          FCol(col), FRow(row), FState(state), FTextAlign(textAlign), FRoom(textWidth > 0 ? textWidth + 2 : 0),
          FPlace(PlaceGraphic(rect, FW, FH, layout.HAlign, layout.VAlign, textAlign, FRoom)) {}

    void Paint();

private:
    // Selected and not focused, or on a marked row of a row-selecting grid.
    bool Selected() const;
    bool Editable() const;
    void Bitmap();
    void DataImage();
    void Images();
    void CheckBox();
    void Rotated();
    void Node();
    void Picture();
    void Progress();
    void Comment();
    void Button();
    void ProgressPie();

    TExtStringGrid& FGrid;
    TCanvas& FCanvas;
    const TRect FRect;
    TCellGraphic& FG;
    const int FW, FH;
    const int FCol, FRow;
    const TGridDrawState FState;
    const TAlignment FTextAlign;
    const int FRoom;
    TRect FPlace;
};

void TExtStringGrid::DrawCellGraphic(TCanvas& canvas, TRect rect, const TGraphicLayout& layout, int col, int row,
                                     TGridDrawState state, TAlignment hAlign, int textWidth) {
    TGraphicPainter(*this, canvas, rect, layout, col, row, state, hAlign, textWidth).Paint();
}

void TExtStringGrid::TGraphicPainter::Paint() {
    const THTMLImageList* images = FGrid.GridImages;
    switch (FG.CellType) {
    case ctBitmap:
        Bitmap();
        break;
    case ctIcon:
        if (FG.Icon() && !FG.Icon()->Empty()) FCanvas.Draw(FPlace.Left, FPlace.Top, *FG.Icon());
        break;
    case ctImageList:
        if (images && FG.CellIndex >= 0 && FG.CellIndex < images->Count()) images->Draw(FCanvas, FPlace, FG.CellIndex);
        break;
    case ctDataImage:
        DataImage();
        break;
    case ctImages:
        Images();
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
        CheckBox();
        break;
    case ctRadio:
        FGrid.DrawRadioGroup(FCanvas, FRect, int(FG.RadioItems.size()), FG.CellIndex, FG.RadioItems, !Editable(),
                             FG.CellBoolean, FGrid.GetCellText(FCol, FRow), Selected());
        break;
    case ctRotated:
        Rotated();
        break;
    case ctNode:
        Node();
        break;
    case ctPicture:
        Picture();
        break;
    case ctFilePicture:
        if (FG.FilePicture()) FG.FilePicture()->DrawStretched(FCanvas, FPlace);
        break;
    case ctProgress:
        Progress();
        break;
    case ctComment:
        Comment();
        break;
    case ctButton:
    case ctBitButton:
        Button();
        break;
    case ctProgressPie:
        ProgressPie();
        break;
    default:
        break;
    }
}

bool TExtStringGrid::TGraphicPainter::Selected() const {
    return ((FState & gdSelected) && !(FState & gdFocused)) ||
           ((FGrid.Options() & goRowSelect) && FCol >= FGrid.FixedCols() && FGrid.FD->Selection.RowMarked(FRow));
}

bool TExtStringGrid::TGraphicPainter::Editable() const {
    bool can = true;
    FGrid.CanEditCell(FCol, FRow, can);
    return can;
}

void TExtStringGrid::TGraphicPainter::Bitmap() {
    if (!FG.Bitmap() || FG.Bitmap()->Empty()) return;
    if (!FG.CellTransparent) {
        FCanvas.Draw(FPlace.Left, FPlace.Top, *FG.Bitmap());
        return;
    }
    const TColor selection = FGrid.SelectionColor();
    const TColor back = Selected() && selection != clNone ? selection : FCanvas.Brush().Color();
    const TColor keep = FCanvas.Brush().Color();
    DrawBitmapTransparent(FCanvas, *FG.Bitmap(), back, FPlace);
    FCanvas.Brush().SetColor(keep);
}

void TExtStringGrid::TGraphicPainter::DataImage() {
    const THTMLImageList* images = FGrid.GridImages;
    int value = 0;
    if (!images || !CellTextInt(FGrid.GetCellText(FCol, FRow), value)) return;
    const long long index = (long long)value + FG.CellIndex;
    if (index >= 0 && index < images->Count()) images->Draw(FCanvas, FPlace, int(index));
}

void TExtStringGrid::TGraphicPainter::Images() {
    const THTMLImageList* images = FGrid.GridImages;
    if (!images) return;
    TRect p = FPlace;
    for (int index : FG.ImageIndexes) {
        if (index >= 0 && index < images->Count())
            images->Draw(FCanvas, Bounds(p.Left, p.Top, images->Width(), images->Height()), index);
        if (FG.CellBoolean)
            p.Left += images->Width();
        else
            p.Top += images->Height();
    }
}

void TExtStringGrid::TGraphicPainter::CheckBox() {
    // Placed by the text's alignment, beside the text for a check box with
    // text.
    const bool data = FG.CellType != ctCheckBox;
    TRect p = FPlace;
    const TRect& rect = FRect;
    if (FTextAlign == taLeftJustify) {
        p.Left = rect.Left + 1;
    } else if (FTextAlign == taRightJustify) {
        p.Left = (data ? rect.Right : rect.Right - FRoom) - FW - 1;
    } else if (data || FRoom == 0) {
        p.Left = rect.Left + std::max(0, rect.Right - FW - rect.Left) / 2;
    } else {
        p.Left = rect.Left + std::max(0, rect.Right - FRoom - rect.Left) / 2 - FW;
    }
    if (FTextAlign != taLeftJustify && p.Left < rect.Left) p.Left = rect.Left + 1;
    p.Right = p.Left + FW;
    bool checked = false;
    FGrid.GetCheckBoxState(FCol, FRow, checked);
    FGrid.DrawCheckGlyph(FCanvas, p, checked, Editable(), FGrid.ControlLook.ControlStyle());
}

void TExtStringGrid::TGraphicPainter::Rotated() {
    TVAlignment va = vtaTop;
    const TAlignment ha = FGrid.ResolveTextAlignment(FCol, FRow, va);
    const std::string text = FGrid.GetCellText(FCol, FRow);
    const TPoint origin = FGrid.CalcRotatedTextOrigin(FCanvas, FRect, FG.CellAngle, va, ha, text);
    const int keepOrientation = FCanvas.Font().Orientation();
    const unsigned keepAlign = FCanvas.TextAlign();
    FCanvas.Font().SetOrientation(FG.CellAngle * 10);
    FCanvas.SetTextAlign(TA_LEFT | TA_TOP);
    TRect clip = FRect;
    InflateRect(clip, -2, -2);
    FCanvas.Brush().SetStyle(bsClear);
    FCanvas.TextRect(clip, origin.X, origin.Y, text);
    FCanvas.Brush().SetStyle(bsSolid);
    FCanvas.Font().SetOrientation(keepOrientation);
    FCanvas.SetTextAlign(keepAlign);
}

void TExtStringGrid::TGraphicPainter::Node() {
    TCanvas& canvas = FCanvas;
    TCellNode& node = FGrid.CellNode;
    TRect r = FRect;
    r.Left -= FGrid.GetRowIndent(FRow);
    const TColor keepBrush = canvas.Brush().Color();
    if (node.NodeType() == cn3D) {
        canvas.Brush().SetColor(node.Color);
        canvas.FillRect(r);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetColor(clWhite);
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right - 1, r.Top);
        canvas.Pen().SetColor(clGray);
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Bottom - 1);
    }
    const TBitmap* glyph = nullptr;
    if (node.NodeType() == cnLeaf)
        glyph = &GridGlyph(FG.CellBoolean ? "GRIDLEAFCLOSE" : "GRIDLEAFOPEN");
    else if (node.NodeType() == cnGlyph && !node.ExpandGlyph().Empty() && !node.ContractGlyph().Empty())
        glyph = FG.CellBoolean ? &node.ContractGlyph() : &node.ExpandGlyph();
    if (glyph) {
        DrawBitmapTransparent(canvas, *glyph, canvas.Brush().Color(), r);
    } else {
        const int left = r.Left + 4;
        const int top = std::max(r.Top + (r.Height() - 8) / 2, r.Top);
        canvas.Brush().SetColor(node.Color);
        if (node.NodeType() == cnFlat) {
            canvas.Pen().SetWidth(1);
            canvas.Pen().SetColor(node.NodeColor);
            canvas.Rectangle(left - 1, top - 1, left + 9, top + 9);
            canvas.MoveTo(left + 1, top + 3);
            canvas.LineTo(left + 6, top + 3);
            if (FG.CellBoolean) {
                canvas.MoveTo(left + 3, top + 1);
                canvas.LineTo(left + 3, top + 6);
            }
        } else {
            TRect box = Bounds(left, top, 8, 8);
            canvas.FillRect(box);
            canvas.DrawEdge(box, FG.CellBoolean ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT);
        }
    }
    canvas.Brush().SetColor(keepBrush);
}

void TExtStringGrid::TGraphicPainter::Picture() {
    if (!FG.Picture() || FG.Picture()->Empty()) return;
    if (FG.CellAngle != 0)
        FCanvas.StretchDraw(FPlace, *FG.Picture());
    else
        FCanvas.Draw(FPlace.Left, FPlace.Top, *FG.Picture());
}

void TExtStringGrid::TGraphicPainter::Progress() {
    TCanvas& canvas = FCanvas;
    const std::string text = FGrid.GetCellText(FCol, FRow);
    int value = 0;
    if (!CellTextInt(text, value)) return;
    TRect r = FRect;
    InflateRect(r, -2, -2);
    if (r.IsEmpty()) return;
    const long long filled = std::llround(double(value) * r.Width() / 100.0);
    const int split = r.Left + int(std::clamp<long long>(filled, 0, r.Width()));
    const std::string label = text + "%";
    const TColor textOn = FG.CellBoolean ? TColor(FG.CellIndex) : Inverted(FG.CellColor);
    const TColor textOff = FG.CellBoolean ? TColor(FG.CellAngle) : Inverted(FG.CellColorTo);
    const TColor keepBrush = canvas.Brush().Color();
    const TColor keepFont = canvas.Font().Color();
    auto part = [&](const TRect& area, TColor fill, TColor ink) {
        if (area.IsEmpty()) return;
        canvas.PushClipRect(area);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(fill);
        canvas.FillRect(area);
        canvas.Font().SetColor(ink);
        canvas.SetBkMode(TRANSPARENT);
        TRect tr = r;
        canvas.DrawText(label, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        canvas.PopClip();
    };
    part({r.Left, r.Top, split, r.Bottom}, FG.CellColor, textOn);
    part({split, r.Top, r.Right, r.Bottom}, FG.CellColorTo, textOff);
    canvas.Brush().SetColor(clBlack);
    canvas.FrameRect({r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
    canvas.Brush().SetColor(keepBrush);
    canvas.FrameRect({r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2});
    canvas.Font().SetColor(keepFont);
}

void TExtStringGrid::TGraphicPainter::Comment() {
    const TColor color = FGrid.CommentColor;
    if (color == clNone) return;
    const TColor keepBrush = FCanvas.Brush().Color();
    const TColor keepPen = FCanvas.Pen().Color();
    FCanvas.Brush().SetColor(color);
    FCanvas.Pen().SetColor(color);
    const TRect& rect = FRect;
    const TPoint tri[3] = {
        {rect.Right - 7, rect.Top + 1}, {rect.Right - 2, rect.Top + 1}, {rect.Right - 2, rect.Top + 6}};
    FCanvas.Polygon(tri, 3);
    FCanvas.Brush().SetColor(keepBrush);
    FCanvas.Pen().SetColor(keepPen);
}

void TExtStringGrid::TGraphicPainter::Button() {
    TCanvas& canvas = FCanvas;
    const TRect& p = FPlace;
    if (p.IsEmpty()) return;
    // The offset from the cell's top-left, for hit-testing.
    FG.CellValue =
        double((unsigned(std::max(p.Top - FRect.Top, 0)) << 16) | unsigned(std::max(p.Left - FRect.Left, 0)));
    const TColor keepBrush = canvas.Brush().Color();
    TRect face = p;
    if (FGrid.XPLook && IsThemeActive()) {
        auto theme = OpenThemeData("BUTTON");
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(p);
        DrawThemeBackground(theme.get(), canvas, TThemePart::PushButton,
                            FG.CellBoolean ? TThemePartState::Pressed : TThemePartState::Normal, p);
    } else {
        DrawFrameButton(canvas, p, FG.CellBoolean, FGrid.ControlLook.FlatButton());
    }
    InflateRect(face, FG.CellBoolean ? -3 : -2, FG.CellBoolean ? -3 : -2);
    if (FG.CellType == ctBitButton && FG.Bitmap() && !FG.Bitmap()->Empty()) {
        DrawBitmapTransparent(canvas, *FG.Bitmap(), clBtnFace, face);
        face.Left += FG.Bitmap()->Width() + 2;
    }
    const int keepMode = canvas.BkMode();
    canvas.SetBkMode(TRANSPARENT);
    if (!FG.CellText.empty())
        canvas.DrawText(FG.CellText, face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    canvas.SetBkMode(keepMode);
    canvas.Brush().SetColor(keepBrush);
}

void TExtStringGrid::TGraphicPainter::ProgressPie() {
    const TColor keepBrush = FCanvas.Brush().Color();
    const TColor keepPen = FCanvas.Pen().Color();
    DrawPieProgress(FCanvas, Bounds(FPlace.Left, FPlace.Top, 20, 20), FG.CellColor, FG.CellAngle);
    FCanvas.Brush().SetColor(keepBrush);
    FCanvas.Pen().SetColor(keepPen);
}

void TExtStringGrid::DrawCheckGlyph(TCanvas& canvas, const TRect& rect, bool checked, bool enabled,
                                    TControlStyle style) {
    const int s = ControlLook.CheckSize();
    const TColor keepBrush = canvas.Brush().Color();
    const TColor keepPen = canvas.Pen().Color();
    switch (style) {
    case csClassic:
    case csFlat: {
        const int left = rect.Left + (rect.Width() - s) / 2;
        const int top = rect.Top + (rect.Height() - s) / 2;
        DrawFrameCheck(canvas, Bounds(left, top, s, s), checked, style == csFlat, enabled);
        break;
    }
    case csWinXP:
    case csExt: {
        static const char* names[2][4] = {{"GRIDCHK01", "GRIDCHK02", "GRIDCHK03", "GRIDCHK04"},
                                          {"GRIDCHK05", "GRIDCHK06", "GRIDCHK07", "GRIDCHK08"}};
        const char* name = names[style == csWinXP][(checked ? 0 : 1) + (enabled ? 0 : 2)];
        DrawBitmapTransparent(canvas, GridGlyph(name), canvas.Brush().Color(), rect);
        break;
    }
    case csQuintar: {
        canvas.Pen().SetWidth(1);
        canvas.Brush().SetColor(enabled ? clBtnFace : clBtnShadow);
        canvas.Pen().SetColor(clBtnFace);
        canvas.Rectangle(rect);
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.MoveTo(rect.Left, rect.Bottom);
        canvas.LineTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right, rect.Top);
        canvas.Pen().SetColor(clBtnShadow);
        canvas.LineTo(rect.Right, rect.Bottom);
        canvas.LineTo(rect.Left, rect.Bottom);
        if (checked) {
            const int t0 = rect.Top;
            const int b0 = rect.Bottom;
            canvas.Pen().SetColor(enabled ? ControlLook.Color() : TColor(0x808080));
            canvas.MoveTo(rect.Left + 2, t0 + s / 2);
            canvas.LineTo(rect.Left + 2, b0 - 2);
            canvas.MoveTo(rect.Left + 3, t0 - 1 + s / 2);
            canvas.LineTo(rect.Left + 3, b0 - 3);
            canvas.MoveTo(rect.Left + 2, b0 - 2);
            canvas.LineTo(rect.Right - 2, t0 + 2);
            canvas.MoveTo(rect.Left + 3, b0 - 2);
            canvas.LineTo(rect.Right - 1, t0 + 2);
        }
        break;
    }
    case csGlyph: {
        const TBitmap& glyph = checked ? ControlLook.CheckedGlyph() : ControlLook.UnCheckedGlyph();
        if (!glyph.Empty()) DrawBitmapTransparent(canvas, glyph, canvas.Brush().Color(), rect);
        break;
    }
    case csTheme:
        if (XPLook && IsThemeActive()) {
            auto theme = OpenThemeData("BUTTON");
            const TThemePartState st = checked ? (enabled ? TThemePartState::Checked : TThemePartState::CheckedDisabled)
                                               : (enabled ? TThemePartState::Normal : TThemePartState::Disabled);
            DrawThemeBackground(theme.get(), canvas, TThemePart::CheckBox, st, Bounds(rect.Left, rect.Top, s, s));
        }
        break;
    }
    canvas.Brush().SetColor(keepBrush);
    canvas.Pen().SetColor(keepPen);
}

void TExtStringGrid::DrawRadioGroup(TCanvas& canvas, const TRect& rect, int count, int selected,
                                    const std::vector<std::string>& captions, bool disabled, bool horizontal,
                                    const std::string& cellText, bool selectedCell) {
    const TControlStyle style = ControlLook.ControlStyle();
    const bool classic = style == csClassic || style == csFlat;
    const int r = classic ? ControlLook.RadioSize() : 16;
    const int keepMode = canvas.BkMode();
    const TColor keepBrush = canvas.Brush().Color();
    const TColor keepPen = canvas.Pen().Color();
    const TColor keepFont = canvas.Font().Color();
    canvas.SetBkMode(TRANSPARENT);
    if (selectedCell && SelectionTextColor() != clNone) canvas.Font().SetColor(SelectionTextColor());
    const int textH = canvas.TextHeight("gh");
    const int lineH = classic ? textH : std::max(16, textH);

    auto drawItem = [&](int left, int top, bool on) {
        switch (style) {
        case csClassic:
        case csFlat: {
            const int size = style == csFlat ? r + 2 : r;
            DrawFrameRadio(canvas, Bounds(left, top, size, size), on, style == csFlat, !disabled);
            break;
        }
        case csQuintar: {
            const int L = left;
            const int T = top;
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(clBtnFace);
            canvas.Pen().SetColor(clBtnFace);
            const TPoint diamond[4] = {{L + 2, T + 8}, {L + 8, T + 2}, {L + 14, T + 8}, {L + 8, T + 14}};
            canvas.Polygon(diamond, 4);
            const TColor lit = on ? clGray : clWhite;
            const TColor shade = on ? clWhite : clGray;
            canvas.Pen().SetColor(lit);
            canvas.MoveTo(L + 2, T + 8);
            canvas.LineTo(L + 8, T + 2);
            canvas.LineTo(L + 14, T + 8);
            canvas.Pen().SetColor(shade);
            canvas.LineTo(L + 8, T + 14);
            canvas.LineTo(L + 2, T + 8);
            if (on) {
                canvas.Brush().SetColor(ControlLook.Color());
                canvas.Pen().SetColor(ControlLook.Color());
                const TPoint inner[4] = {{L + 6, T + 8}, {L + 8, T + 6}, {L + 10, T + 8}, {L + 8, T + 10}};
                canvas.Polygon(inner, 4);
            }
            break;
        }
        case csTheme:
            if (XPLook && IsThemeActive()) {
                auto theme = OpenThemeData("BUTTON");
                const TThemePartState st = on ? (disabled ? TThemePartState::CheckedDisabled : TThemePartState::Checked)
                                              : (disabled ? TThemePartState::Disabled : TThemePartState::Normal);
                DrawThemeBackground(theme.get(), canvas, TThemePart::RadioButton, st, Bounds(left, top, 16, 16));
            }
            break;
        case csWinXP:
        case csExt: {
            static const char* names[2][4] = {{"GRIDRAD01", "GRIDRAD02", "GRIDRAD03", "GRIDRAD04"},
                                              {"GRIDRAD05", "GRIDRAD06", "GRIDRAD07", "GRIDRAD08"}};
            const char* name = names[style == csWinXP][(on ? 0 : 1) + (disabled ? 2 : 0)];
            const TBitmap& b = GridGlyph(name);
            canvas.DrawTransparent(left, top, b, FromQColor(QColor(b.Image().pixel(0, 0))));
            break;
        }
        case csGlyph: {
            const TBitmap& b = on ? ControlLook.RadioOnGlyph() : ControlLook.RadioOffGlyph();
            if (!b.Empty()) canvas.DrawTransparent(left, top, b, FromQColor(QColor(b.Image().pixel(0, 0))));
            break;
        }
        }
    };

    int used = 0;
    for (int i = 0; i < count; ++i) {
        const bool hasCaption = i < int(captions.size());
        const std::string caption = hasCaption ? captions[size_t(i)] : std::string();
        const bool on = selected == -1 ? hasCaption && caption == cellText : i == selected;
        if (horizontal) {
            const int left = rect.Left + 2 + i * r + used;
            const int top = rect.Top + (rect.Height() - r) / 2;
            drawItem(left, top, on);
            if (hasCaption) {
                canvas.Brush().SetStyle(bsClear);
                canvas.TextOut(left + r, top - 2, caption);
                used += canvas.TextWidth(caption);
            }
        } else {
            const int top = rect.Top + i * lineH;
            if (hasCaption) {
                drawItem(rect.Left + 2, top + 2, on);
                canvas.Brush().SetStyle(bsClear);
                canvas.TextOut(rect.Left + (classic ? r + 6 : 20), top, caption);
            } else {
                drawItem(rect.Left + (rect.Width() - r) / 2, top + 2, on);
            }
        }
    }
    canvas.SetBkMode(keepMode);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(keepBrush);
    canvas.Pen().SetColor(keepPen);
    canvas.Font().SetColor(keepFont);
}

TPoint TExtStringGrid::CalcRotatedTextOrigin(TCanvas& canvas, TRect rect, int angle, TVAlignment vAlign,
                                             TAlignment hAlign, const std::string& text) {
    const TSize extent = canvas.TextExtent(text);
    const int cx = extent.cx;
    const int cy = extent.cy;
    const int theta = ((angle % 360) + 360) % 360;
    const double rad = theta * std::numbers::pi / 180.0;
    const double c = std::abs(std::cos(rad));
    const double s = std::abs(std::sin(rad));
    rect.Right -= 2;
    rect.Bottom -= 2;
    const int u = int(std::lround(c * cy));
    const int v = int(std::lround(s * cx));
    const int w = int(std::lround(s * cy));
    const int z = int(std::lround(c * cx));
    const int boxW = w + z;
    const int boxH = u + v;
    int left = rect.Left;
    if (hAlign == taRightJustify)
        left = rect.Right - boxW;
    else if (hAlign == taCenter)
        left = rect.Left + (rect.Width() - boxW) / 2;
    int top = rect.Top;
    if (vAlign == vtaBottom)
        top = rect.Bottom - boxH;
    else if (vAlign == vtaCenter)
        top = rect.Top + (rect.Height() - boxH) / 2;
    TPoint o;
    if (theta <= 90)
        o = {left, top + v};
    else if (theta <= 180)
        o = {left + z, top + u + v};
    else if (theta <= 270)
        o = {left + w + z, top + u};
    else
        o = {left + w, top};
    return {o.X - TextMargin.X, o.Y - TextMargin.Y};
}

}  // namespace cb::grid
