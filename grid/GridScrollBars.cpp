// TExtStringGrid: the look of the scroll bars (normal, flat, Encarta; bar
// colour and width), thumbs in proportion to the visible part on a scale of
// 128 steps, and the hint with the row or column number while a thumb is
// dragged.
#include "grid/ExtStringGridPrivate.h"

#include "grid/markup/HTMLHintWindow.h"
#include "grid/paint/GridScrollBar.h"

#include <QCursor>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace cb::grid {

namespace {
// Positions of a proportional bar run from 0 to 127.
constexpr int kScale = 128;

long long MulDiv(long long a, long long b, long long c) {
    return c == 0 ? 0 : (a * b + (a * b >= 0 ? c / 2 : -c / 2)) / c;
}
}  // namespace

TGridScrollBar* TExtStringGrid::HorzScrollBar() const {
    return HorzBar();
}

TGridScrollBar* TExtStringGrid::VertScrollBar() const {
    return VertBar();
}

void TExtStringGrid::SetScrollType(TScrollType value) {
    if (value == FD->FScrollType) return;
    FD->FScrollType = value;
    FD->FFlatScrollActive = value != ssNormal || FD->FScrollProportional;
    UpdateFlatScrollBars();
}

void TExtStringGrid::SetScrollColor(TColor value) {
    FD->FScrollColor = value;
    ApplyScrollLook();
}

void TExtStringGrid::SetScrollWidth(int value) {
    FD->FScrollWidth = value;
    ApplyScrollLook();
    UpdateScrollBars();
}

void TExtStringGrid::SetScrollProportional(bool value) {
    if (value == FD->FScrollProportional) return;
    FD->FScrollProportional = value;
    FD->FFlatScrollActive = value || FD->FScrollType != ssNormal;
    // Back to the grid's own scale.
    UpdateScrollBars();
}

void TExtStringGrid::ApplyScrollLook() {
    const TScrollBarLook look = !FD->FFlatScrollActive         ? sblNormal
                                : FD->FScrollType == ssFlat    ? sblFlat
                                : FD->FScrollType == ssEncarta ? sblEncarta
                                                               : sblNormal;
    for (TGridScrollBar* bar : {HorzBar(), VertBar()}) {
        bar->SetLook(look);
        // The colour only when one is set.
        if (FD->FFlatScrollActive && FD->FScrollColor != clNone) bar->SetBarColor(FD->FScrollColor);
        bar->SetThickness(FD->FFlatScrollActive ? FD->FScrollWidth : 0);
    }
}

void TExtStringGrid::UpdateFlatScrollBars() {
    ApplyScrollLook();
    UpdateScrollBars();
}

void TExtStringGrid::ScrollBarsPlaced() {
    if (FD->FFooterPanel) {
        TRect area = CellArea();
        FD->FFooterPanel->setGeometry(0, area.Bottom, area.Width(), BottomReserve());
    }
    if (FD->FFlatScrollActive) {
        UpdateVertScrollInfo();
        UpdateHorzScrollInfo();
    }
}

void TExtStringGrid::UpdateVertScrollInfo() {
    if ((ScrollBars() != ssVertical && ScrollBars() != cb::grid::ssBoth) || !FD->FFlatScrollActive ||
        !FD->FScrollProportional)
        return;
    TGridScrollBar* bar = VertBar();
    const QSignalBlocker quiet(bar);
    const int page =
        std::clamp(int(std::lround(double(VisibleRowCount()) * kScale / std::max(RowCount(), 1))), 1, kScale);
    const int span = MaxFirstRow() - FixedRows();
    const int range = kScale - page;
    bar->setRange(0, range);
    bar->setPageStep(page);
    bar->setValue(span > 0 ? int(MulDiv(TopRow() - FixedRows(), range, span)) : 0);
}

void TExtStringGrid::UpdateHorzScrollInfo() {
    if ((ScrollBars() != ssHorizontal && ScrollBars() != cb::grid::ssBoth) || !FD->FFlatScrollActive ||
        !FD->FScrollProportional)
        return;
    TGridScrollBar* bar = HorzBar();
    const QSignalBlocker quiet(bar);
    long long total = 0;
    for (int c = 0; c < ColCount(); ++c) total += ColWidths(c);
    if (total == 0) total = 1;
    const int page = std::clamp(int(std::lround(double(width()) * kScale / double(total))), 1, kScale);
    const int span = MaxFirstCol() - FixedCols();
    const int range = kScale - page;
    bar->setRange(0, range);
    bar->setPageStep(page);
    bar->setValue(span > 0 ? int(MulDiv(LeftCol() - FixedCols(), range, span)) : 0);
}

int TExtStringGrid::ScrollBarToFirst(TGridAxisKind kind, int value) const {
    if (!FD->FFlatScrollActive || !FD->FScrollProportional) return value;
    const bool cols = kind == TGridAxisKind::Cols;
    const TGridScrollBar* bar = cols ? HorzBar() : VertBar();
    const int fixed = cols ? FixedCols() : FixedRows();
    const int span = (cols ? MaxFirstCol() : MaxFirstRow()) - fixed;
    return fixed + int(MulDiv(value, span, std::max(bar->maximum(), 1)));
}

// ---------------------------------------------------------------------------
// Hints while a thumb is dragged

void TExtStringGrid::ScrollHint(bool vertical, int value) {
    const bool wanted = vertical ? ScrollHints == shVertical || ScrollHints == shBoth
                                 : ScrollHints == shHorizontal || ScrollHints == shBoth;
    if (!wanted) return;
    // The row (column) the thumb's place brings to the top (left).
    const int n = ScrollBarToFirst(vertical ? TGridAxisKind::Rows : TGridAxisKind::Cols, value);
    std::string hint = (vertical ? "Row : " : "Col : ") + std::to_string(n);
    if (OnScrollHint) OnScrollHint(this, n, hint);
    if (!FD->FScrollHintWindow) FD->FScrollHintWindow = std::make_unique<THTMLHintWindow>();
    THTMLHintWindow& w = *FD->FScrollHintWindow;
    w.SetColor(HintColor);
    const TRect size = w.CalcHintRect(100, hint);
    const QPoint at = QCursor::pos();
    w.ActivateHint({at.x() + 10, at.y(), at.x() + 10 + size.Width(), at.y() + size.Height()}, hint);
    FD->FScrollHintShown = true;
}

void TExtStringGrid::ScrollBarReleased() {
    if (FD->FScrollHintShown && FD->FScrollHintWindow) FD->FScrollHintWindow->hide();
    FD->FScrollHintShown = false;
    RepaintFooterPanel();
}

void TExtStringGrid::ConnectScrollBars() {
    connect(VertBar(), &QScrollBar::sliderMoved, this, [this](int v) { ScrollHint(true, v); });
    connect(HorzBar(), &QScrollBar::sliderMoved, this, [this](int v) { ScrollHint(false, v); });
    connect(VertBar(), &QScrollBar::sliderReleased, this, [this] { ScrollBarReleased(); });
    connect(HorzBar(), &QScrollBar::sliderReleased, this, [this] { ScrollBarReleased(); });
}

}  // namespace cb::grid
