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

void TExtStringGrid::DrawCellGraphic(TCanvas& canvas, TRect rect, const TGraphicLayout& layout, int col, int row,
                                     TGridDrawState state, TAlignment hAlign, int textWidth) {
    TCellGraphic& g = *layout.Graphic;
    const int w = layout.Width;
    const int h = layout.Height;
    const int width = rect.Width();
    const int height = rect.Height();
    const int room = textWidth > 0 ? textWidth + 2 : 0;

    // Placement.
    TRect p;
    switch (layout.HAlign) {
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
        p.Left = hAlign == taLeftJustify ? rect.Left + 1 : std::max(rect.Right - room - w, rect.Left + 1);
        break;
    case haAfterText:
        p.Left = hAlign == taRightJustify ? rect.Right - 1 - w : rect.Left + room;
        break;
    case haFull:
        p.Left = rect.Left;
        break;
    }
    p.Right = layout.HAlign == haFull ? rect.Right : p.Left + w;
    switch (layout.VAlign) {
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
    p.Bottom = layout.VAlign == vaFull ? rect.Bottom : p.Top + h;

    const bool selected = ((state & gdSelected) && !(state & gdFocused)) ||
                          ((Options() & goRowSelect) && col >= FixedCols() && FD->Selection.RowMarked(row));
    auto editable = [&] {
        bool can = true;
        CanEditCell(col, row, can);
        return can;
    };

    switch (g.CellType) {
    case ctBitmap:
        if (!g.Bitmap || g.Bitmap->Empty()) break;
        if (g.CellTransparent) {
            const TColor back = selected && SelectionColor() != clNone ? SelectionColor() : canvas.Brush().Color();
            const TColor keep = canvas.Brush().Color();
            DrawBitmapTransparent(canvas, *g.Bitmap, back, p);
            canvas.Brush().SetColor(keep);
        } else {
            canvas.Draw(p.Left, p.Top, *g.Bitmap);
        }
        break;
    case ctIcon:
        if (g.Icon && !g.Icon->Empty()) canvas.Draw(p.Left, p.Top, *g.Icon);
        break;
    case ctImageList:
        if (GridImages && g.CellIndex >= 0 && g.CellIndex < GridImages->Count())
            GridImages->Draw(canvas, p, g.CellIndex);
        break;
    case ctDataImage: {
        int value = 0;
        if (!GridImages || !CellTextInt(GetCellText(col, row), value)) break;
        const long long index = (long long)value + g.CellIndex;
        if (index >= 0 && index < GridImages->Count()) GridImages->Draw(canvas, p, int(index));
        break;
    }
    case ctImages:
        if (!GridImages) break;
        for (int index : g.ImageIndexes) {
            if (index >= 0 && index < GridImages->Count())
                GridImages->Draw(canvas, Bounds(p.Left, p.Top, GridImages->Width(), GridImages->Height()), index);
            if (g.CellBoolean)
                p.Left += GridImages->Width();
            else
                p.Top += GridImages->Height();
        }
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        // Placed by the text's alignment, beside the text for a check box
        // with text.
        const bool data = g.CellType != ctCheckBox;
        if (hAlign == taLeftJustify) {
            p.Left = rect.Left + 1;
        } else if (hAlign == taRightJustify) {
            p.Left = (data ? rect.Right : rect.Right - room) - w - 1;
        } else if (data || room == 0) {
            p.Left = rect.Left + std::max(0, rect.Right - w - rect.Left) / 2;
        } else {
            p.Left = rect.Left + std::max(0, rect.Right - room - rect.Left) / 2 - w;
        }
        if (hAlign != taLeftJustify && p.Left < rect.Left) p.Left = rect.Left + 1;
        p.Right = p.Left + w;
        bool checked = false;
        GetCheckBoxState(col, row, checked);
        DrawCheckGlyph(canvas, p, checked, editable(), ControlLook.ControlStyle());
        break;
    }
    case ctRadio:
        DrawRadioGroup(canvas, rect, int(g.RadioItems.size()), g.CellIndex, g.RadioItems, !editable(), g.CellBoolean,
                       GetCellText(col, row), selected);
        break;
    case ctRotated: {
        TVAlignment va = vtaTop;
        const TAlignment ha = ResolveTextAlignment(col, row, va);
        const std::string text = GetCellText(col, row);
        const TPoint origin = CalcRotatedTextOrigin(canvas, rect, g.CellAngle, va, ha, text);
        const int keepOrientation = canvas.Font().Orientation();
        const unsigned keepAlign = canvas.TextAlign();
        canvas.Font().SetOrientation(g.CellAngle * 10);
        canvas.SetTextAlign(TA_LEFT | TA_TOP);
        TRect clip = rect;
        InflateRect(clip, -2, -2);
        canvas.Brush().SetStyle(bsClear);
        canvas.TextRect(clip, origin.X, origin.Y, text);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Font().SetOrientation(keepOrientation);
        canvas.SetTextAlign(keepAlign);
        break;
    }
    case ctNode: {
        TRect r = rect;
        r.Left -= GetRowIndent(row);
        const TColor keepBrush = canvas.Brush().Color();
        if (CellNode.NodeType() == cn3D) {
            canvas.Brush().SetColor(CellNode.Color);
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
        if (CellNode.NodeType() == cnLeaf)
            glyph = &GridGlyph(g.CellBoolean ? "GRIDLEAFCLOSE" : "GRIDLEAFOPEN");
        else if (CellNode.NodeType() == cnGlyph && !CellNode.ExpandGlyph().Empty() && !CellNode.ContractGlyph().Empty())
            glyph = g.CellBoolean ? &CellNode.ContractGlyph() : &CellNode.ExpandGlyph();
        if (glyph) {
            DrawBitmapTransparent(canvas, *glyph, canvas.Brush().Color(), r);
        } else {
            const int left = r.Left + 4;
            const int top = std::max(r.Top + (r.Height() - 8) / 2, r.Top);
            canvas.Brush().SetColor(CellNode.Color);
            if (CellNode.NodeType() == cnFlat) {
                canvas.Pen().SetWidth(1);
                canvas.Pen().SetColor(CellNode.NodeColor);
                canvas.Rectangle(left - 1, top - 1, left + 9, top + 9);
                canvas.MoveTo(left + 1, top + 3);
                canvas.LineTo(left + 6, top + 3);
                if (g.CellBoolean) {
                    canvas.MoveTo(left + 3, top + 1);
                    canvas.LineTo(left + 3, top + 6);
                }
            } else {
                TRect box = Bounds(left, top, 8, 8);
                canvas.FillRect(box);
                canvas.DrawEdge(box, g.CellBoolean ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT);
            }
        }
        canvas.Brush().SetColor(keepBrush);
        break;
    }
    case ctPicture:
        if (!g.Picture || g.Picture->Empty()) break;
        if (g.CellAngle != 0)
            canvas.StretchDraw(p, *g.Picture);
        else
            canvas.Draw(p.Left, p.Top, *g.Picture);
        break;
    case ctFilePicture:
        if (g.FilePicture) g.FilePicture->DrawStretched(canvas, p);
        break;
    case ctProgress: {
        const std::string text = GetCellText(col, row);
        int value = 0;
        if (!CellTextInt(text, value)) break;
        TRect r = rect;
        InflateRect(r, -2, -2);
        if (r.IsEmpty()) break;
        const long long filled = std::llround(double(value) * r.Width() / 100.0);
        const int split = r.Left + int(std::clamp<long long>(filled, 0, r.Width()));
        const std::string label = text + "%";
        const TColor textOn = g.CellBoolean ? TColor(g.CellIndex) : Inverted(g.CellColor);
        const TColor textOff = g.CellBoolean ? TColor(g.CellAngle) : Inverted(g.CellColorTo);
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
        part({r.Left, r.Top, split, r.Bottom}, g.CellColor, textOn);
        part({split, r.Top, r.Right, r.Bottom}, g.CellColorTo, textOff);
        canvas.Brush().SetColor(clBlack);
        canvas.FrameRect({r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
        canvas.Brush().SetColor(keepBrush);
        canvas.FrameRect({r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2});
        canvas.Font().SetColor(keepFont);
        break;
    }
    case ctComment:
        if (CommentColor != clNone) {
            const TColor keepBrush = canvas.Brush().Color();
            const TColor keepPen = canvas.Pen().Color();
            canvas.Brush().SetColor(CommentColor);
            canvas.Pen().SetColor(CommentColor);
            const TPoint tri[3] = {
                {rect.Right - 7, rect.Top + 1}, {rect.Right - 2, rect.Top + 1}, {rect.Right - 2, rect.Top + 6}};
            canvas.Polygon(tri, 3);
            canvas.Brush().SetColor(keepBrush);
            canvas.Pen().SetColor(keepPen);
        }
        break;
    case ctButton:
    case ctBitButton: {
        if (p.IsEmpty()) break;
        // The offset from the cell's top-left, for hit-testing.
        g.CellValue =
            double((unsigned(std::max(p.Top - rect.Top, 0)) << 16) | unsigned(std::max(p.Left - rect.Left, 0)));
        const TColor keepBrush = canvas.Brush().Color();
        TRect face = p;
        if (XPLook && IsThemeActive()) {
            auto theme = OpenThemeData("BUTTON");
            canvas.Brush().SetColor(clBtnFace);
            canvas.FillRect(p);
            DrawThemeBackground(theme.get(), canvas, TThemePart::PushButton,
                                g.CellBoolean ? TThemePartState::Pressed : TThemePartState::Normal, p);
        } else {
            DrawFrameButton(canvas, p, g.CellBoolean, ControlLook.FlatButton());
        }
        InflateRect(face, g.CellBoolean ? -3 : -2, g.CellBoolean ? -3 : -2);
        if (g.CellType == ctBitButton && g.Bitmap && !g.Bitmap->Empty()) {
            DrawBitmapTransparent(canvas, *g.Bitmap, clBtnFace, face);
            face.Left += g.Bitmap->Width() + 2;
        }
        const int keepMode = canvas.BkMode();
        canvas.SetBkMode(TRANSPARENT);
        if (!g.CellText.empty())
            canvas.DrawText(g.CellText, face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        canvas.SetBkMode(keepMode);
        canvas.Brush().SetColor(keepBrush);
        break;
    }
    case ctProgressPie: {
        const TColor keepBrush = canvas.Brush().Color();
        const TColor keepPen = canvas.Pen().Color();
        DrawPieProgress(canvas, Bounds(p.Left, p.Top, 20, 20), g.CellColor, g.CellAngle);
        canvas.Brush().SetColor(keepBrush);
        canvas.Pen().SetColor(keepPen);
        break;
    }
    default:
        break;
    }
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
