// TExtStringGrid: the graphics cells hold: finding, creating and removing
// them, the state of check boxes, radio groups and buttons, and their sizes.
#include "grid/ExtStringGridPrivate.h"

#include "grid/paint/FilePicture.h"

#include "platform/gfx/Bitmap.h"

#include <algorithm>
#include <cmath>

namespace cb::grid {

using cb::gfx::TSize;

TCellGraphic* TExtStringGrid::GetCellGraphic(int col, int row) const {
    return GetCellGraphicObject(col, row);
}

TCellType TExtStringGrid::GetCellGraphicType(int col, int row) const {
    const TCellGraphic* g = GetCellGraphic(col, row);
    return g ? g->CellType : ctEmpty;
}

TCellGraphic* TExtStringGrid::CreateCellGraphic(int col, int row) {
    if (!CellAt(col, row)) return nullptr;
    auto graphic = std::make_unique<TCellGraphic>();
    TCellGraphic* g = graphic.get();
    SetCellGraphicObject(col, row, std::move(graphic));
    return g;
}

bool TExtStringGrid::RemoveCellGraphic(int col, int row) {
    TCellProperties* p = CellProps(col, row);
    if (!p || !p->Graphic) return false;
    p->Graphic.reset();  // a shared graphic is only let go
    InvalidateCellArea(DisplColIndex(col), row);
    return true;
}

void TExtStringGrid::SetCellImageIndex(int col, int row, int index, TCellHAlign hAlign, TCellVAlign vAlign) {
    if (!GridImages) return;
    if (TCellGraphic* g = CreateCellGraphic(col, row)) {
        g->SetImageListIndex(index, hAlign, vAlign);
        InvalidateCellArea(DisplColIndex(col), row);
    }
}

// ---------------------------------------------------------------------------
// Check boxes and radio groups

namespace {
bool IsCheckType(TCellType t) {
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox;
}
}  // namespace

bool TExtStringGrid::IsCheckBoxCell(int col, int row) const {
    const TGridCoord b = FindBaseCell(col, row);
    return IsCheckType(GetCellGraphicType(b.X, b.Y));
}

bool TExtStringGrid::IsCheckOrRadioCell(int col, int row) const {
    const TGridCoord b = FindBaseCell(col, row);
    const TCellType t = GetCellGraphicType(b.X, b.Y);
    return IsCheckType(t) || t == ctRadio;
}

bool TExtStringGrid::GetCheckBoxState(int col, int row, bool& checked) {
    const TCellGraphic* g = GetCellGraphic(col, row);
    if (!g || !IsCheckType(g->CellType)) return false;
    if (g->CellType == ctCheckBox) {
        checked = g->CellBoolean;
    } else {
        std::string yes;
        GetCheckTrue(col, row, yes);
        checked = GetCellText(col, row) == yes;
    }
    return true;
}

void TExtStringGrid::SetCheckBoxState(int displayCol, int row, bool checked) {
    if (TCellGraphic* g = GetCellGraphic(RealColIndex(displayCol), row)) {
        g->CellBoolean = checked;
        InvalidateCellArea(displayCol, row);
    }
}

bool TExtStringGrid::ToggleCheckBox(int col, int row, bool ask) {
    TCellGraphic* g = GetCellGraphic(col, row);
    if (!g || !IsCheckType(g->CellType)) return false;
    if (ask) {
        bool can = true;
        CanEditCell(col, row, can);
        if (!can) return false;
    }
    if (g->CellType == ctCheckBox) {
        g->CellBoolean = !g->CellBoolean;
    } else {
        std::string yes;
        std::string no;
        GetCheckTrue(col, row, yes);
        GetCheckFalse(col, row, no);
        SetCellText(col, row, GetCellText(col, row) == yes ? no : yes);
    }
    InvalidateCellArea(DisplColIndex(col), row);
    return true;
}

bool TExtStringGrid::GetRadioIndex(int col, int row, int& index) const {
    const TCellGraphic* g = GetCellGraphic(col, row);
    if (!g || g->CellType != ctRadio) return false;
    index = g->CellIndex;
    return true;
}

const std::vector<std::string>* TExtStringGrid::GetRadioItems(int col, int row) const {
    const TGridCoord b = FindBaseCell(col, row);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType == ctRadio ? &g->RadioItems : nullptr;
}

bool TExtStringGrid::IsRadioCell(int col, int row) const {
    const TGridCoord b = FindBaseCell(col, row);
    return GetCellGraphicType(b.X, b.Y) == ctRadio;
}

void TExtStringGrid::CycleRadio(int col, int row, bool ask) {
    TCellGraphic* g = GetCellGraphic(col, row);
    if (!g || g->CellType != ctRadio || g->RadioItems.empty()) return;
    if (ask) {
        bool can = true;
        CanEditCell(col, row, can);
        if (!can) return;
    }
    const auto& items = g->RadioItems;
    int next;
    if (g->CellIndex >= 0) {
        next = g->CellIndex + 1;
    } else {
        const std::string text = GetCellText(col, row);
        const auto at = std::find(items.begin(), items.end(), text);
        next = at == items.end() ? 0 : int(at - items.begin()) + 1;
    }
    if (next >= int(items.size())) next = 0;
    if (g->CellIndex >= 0) g->CellIndex = next;
    SetCellText(col, row, items[size_t(next)]);
    InvalidateCellArea(DisplColIndex(col), row);
}

// ---------------------------------------------------------------------------
// Other kinds

bool TExtStringGrid::IsButtonCell(int col, int row) const {
    const TGridCoord b = FindBaseCell(col, row);
    const TCellType t = GetCellGraphicType(b.X, b.Y);
    return t == ctButton || t == ctBitButton;
}

bool TExtStringGrid::GetButtonRect(int displayCol, int row, TRect& rect) const {
    const TCellGraphic* g = GetCellGraphic(RealColIndex(displayCol), row);
    if (!g) return false;
    const TRect cell = GetMergedCellRect(displayCol, row);
    const unsigned size = unsigned(g->CellIndex);
    const unsigned offset = unsigned(std::lround(g->CellValue));
    rect.Left = cell.Left + int(offset & 0xFFFF);
    rect.Top = cell.Top + int(offset >> 16);
    rect.Right = rect.Left + int(size & 0xFFFF);
    rect.Bottom = rect.Top + int(size >> 16);
    if (g->CellVAlign == vaFull) {
        rect.Top = cell.Top;
        rect.Bottom = cell.Bottom;
    }
    if (g->CellHAlign == haFull) {
        rect.Left = cell.Left;
        rect.Right = cell.Right;
    }
    return true;
}

bool TExtStringGrid::GetCellComment(int col, int row, std::string& text) const {
    const TCellGraphic* g = GetCellGraphic(col, row);
    if (!g || g->CellType != ctComment) return false;
    text = g->CellText;
    return true;
}

void TExtStringGrid::GetErrorRange(int col, int row, int& start, int& length) const {
    const TCellGraphic* g = GetCellGraphic(col, row);
    start = g ? g->CellErrFrom : 0;
    length = g ? g->CellErrLen : 0;
}

bool TExtStringGrid::GetRotation(int col, int row, int& angle) const {
    const TCellGraphic* g = GetCellGraphic(col, row);
    if (!g || g->CellType != ctRotated) return false;
    angle = g->CellAngle;
    return true;
}

const std::vector<int>* TExtStringGrid::GetImageIndexList(int col, int row) const {
    const TCellGraphic* g = GetCellGraphic(col, row);
    return g && g->CellType == ctImages ? &g->ImageIndexes : nullptr;
}

std::intptr_t TExtStringGrid::GetGraphicSortKey(int col, int row) const {
    const TCellGraphic* g = GetCellGraphic(col, row);
    if (!g) return -1;
    switch (g->CellType) {
    case ctBitmap:
        return reinterpret_cast<std::intptr_t>(g->Bitmap());
    case ctIcon:
        return reinterpret_cast<std::intptr_t>(g->Icon());
    case ctImageList:
        return g->CellIndex;
    default:
        return -1;
    }
}

// ---------------------------------------------------------------------------
// Sizes

namespace {

// A radio group's items measured in the canvas font, side by side or one
// under the other.
TSize RadioGroupSize(TCanvas& canvas, const TCellGraphic& g) {
    const int line = canvas.TextHeight("gh");
    if (g.CellBoolean) {
        int w = 0;
        for (const auto& item : g.RadioItems) w += canvas.TextWidth(item) + 12;
        return {w, line};
    }
    int w = 12;
    for (const auto& item : g.RadioItems) w = std::max(w, canvas.TextWidth(item) + 12);
    return {w, line * int(g.RadioItems.size())};
}

// The image kinds, whose width counts only when asked for.
bool IsImageKind(TCellType t) {
    return t == ctBitmap || t == ctIcon || t == ctImageList || t == ctDataImage;
}

}  // namespace

TSize TExtStringGrid::GraphicKindSize(const TCellGraphic& g, TSize area) const {
    const THTMLImageList* images = GridImages;
    switch (g.CellType) {
    case ctBitmap:
        if (!g.Bitmap()) return {0, 0};
        return {g.Bitmap()->Width(), g.Bitmap()->Height()};
    case ctIcon:
        if (!g.Icon()) return {0, 0};
        return {g.Icon()->Width(), g.Icon()->Height()};
    case ctImageList:
    case ctDataImage:
        if (!images) return {0, 0};
        return {images->Width(), images->Height()};
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
        return {ControlLook.CheckSize(), ControlLook.CheckSize()};
    case ctImages: {
        if (!images) return {0, 0};
        const int n = int(g.ImageIndexes.size());
        if (g.CellBoolean) return {n * images->Width(), images->Height()};
        return {images->Width(), n * images->Height()};
    }
    case ctPicture:
    case ctFilePicture:
        return g.GetPictureSize(area.cx, area.cy);
    case ctButton:
    case ctBitButton:
        return {int(unsigned(g.CellIndex) & 0xFFFF), int(unsigned(g.CellIndex) >> 16)};
    case ctProgressPie:
        return {20, 20};
    default:
        return {0, 0};
    }
}

TSize TExtStringGrid::GetCellGraphicSize(int col, int row) {
    const TCellGraphic* g = GetCellGraphic(col, row);
    if (!g) return {0, 0};
    const TSize merged = GetMergedCellSize(DisplColIndex(col), row);
    const bool bitmapWidth =
        g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText || GetCellText(col, row).empty();
    TSize size;
    if (g->CellType == ctRadio) {
        TCanvas canvas;
        SelectCellFont(canvas, col, row);
        size = RadioGroupSize(canvas, *g);
    } else {
        size = GraphicKindSize(*g, merged);
        if (!bitmapWidth && IsImageKind(g->CellType)) size.cx = 0;
    }
    if (g->CellVAlign == vaFull) size.cy = merged.cy;
    if (g->CellHAlign == haFull) size.cx = merged.cx;
    return size;
}

TSize TExtStringGrid::GetCellGraphicPrintSize(int col, int row, int availWidth, int availHeight, double scale) {
    const TCellGraphic* g = GetCellGraphic(col, row);
    if (!g) return {0, 0};
    if (g->CellType == ctRadio) {
        TCanvas canvas;
        SelectCellFont(canvas, col, row);
        return RadioGroupSize(canvas, *g);
    }
    if (g->CellType == ctPicture || g->CellType == ctFilePicture) {
        const TSize s = g->GetPictureSize(availWidth, availHeight);
        if (scale <= 0) return s;
        return {int(std::lround(s.cx / scale)), int(std::lround(s.cy / scale))};
    }
    const bool bitmapWidth =
        g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText || GetCellText(col, row).empty();
    // Only an image of the list leaves its width out beside a text.
    TSize size = GraphicKindSize(*g, {availWidth, availHeight});
    if (!bitmapWidth && g->CellType == ctImageList) size.cx = 0;
    return size;
}

}  // namespace cb::grid
