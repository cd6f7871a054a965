#include "extras/KitListBox.h"

#include "platform/rtl/Property.h"
#include "platform/rtl/Strings.h"

#include <QApplication>
#include <QDrag>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace cb::extras {

using namespace cb::gfx;

namespace {
std::string outOfBounds(int index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}
}  // namespace

// ---- strings ---------------------------------------------------------------

int TKitListBoxStrings::Count() const {
    return int(FBox.FItems.size());
}

const std::string& TKitListBoxStrings::Strings(int index) const {
    FBox.checkIndex(index);
    return FBox.FItems[std::size_t(index)].text;
}

void TKitListBoxStrings::SetStrings(int index, const std::string& s) {
    FBox.checkIndex(index);
    FBox.FItems[std::size_t(index)].text = s;
    FBox.RecomputeExtent();
    FBox.InvalidateItem(index);
}

void* TKitListBoxStrings::Objects(int index) const {
    FBox.checkIndex(index);
    return FBox.FItems[std::size_t(index)].data;
}

void TKitListBoxStrings::SetObjects(int index, void* object) {
    FBox.checkIndex(index);
    FBox.FItems[std::size_t(index)].data = object;
}

int TKitListBoxStrings::AddObject(const std::string& s, void* object) {
    return FBox.insertItem(Count(), s, object, true);
}

void TKitListBoxStrings::InsertObject(int index, const std::string& s, void* object) {
    FBox.insertItem(index, s, object, false);
}

void TKitListBoxStrings::Delete(int index) {
    FBox.checkIndex(index);
    FBox.deleteItem(index);
}

void TKitListBoxStrings::Clear() {
    FBox.FItems.clear();
    FBox.FItemIndex = -1;
    FBox.FAnchor = -1;
    FBox.FTopIndex = 0;
    FBox.FExtent = 0;
    FBox.horizontalScrollBar()->setValue(0);
    FBox.ItemsChanged();
    FBox.updateScrollBars();
    FBox.viewport()->update();
}

void TKitListBoxStrings::Exchange(int a, int b) {
    FBox.checkIndex(a);
    FBox.checkIndex(b);
    std::swap(FBox.FItems[std::size_t(a)], FBox.FItems[std::size_t(b)]);
    FBox.viewport()->update();
}

void TKitListBoxStrings::Move(int from, int to) {
    FBox.checkIndex(from);
    FBox.checkIndex(to);
    auto item = FBox.FItems[std::size_t(from)];
    FBox.FItems.erase(FBox.FItems.begin() + from);
    FBox.FItems.insert(FBox.FItems.begin() + to, item);
    FBox.viewport()->update();
}

int TKitListBoxStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (cb::rtl::SameText(FBox.FItems[std::size_t(i)].text, s)) return i;
    return -1;
}

void TKitListBoxStrings::BeginUpdate() {
    ++FBox.FUpdateCount;
}

void TKitListBoxStrings::EndUpdate() {
    if (FBox.FUpdateCount > 0 && --FBox.FUpdateCount == 0) {
        FBox.RecomputeExtent();
        FBox.updateScrollBars();
        FBox.viewport()->update();
    }
}

void TKitListBoxStrings::Assign(const cb::rtl::TStringList& source) {
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.Count(); ++i) AddObject(source[i], source.Objects(i));
    EndUpdate();
}

void TKitListBoxStrings::Assign(const TKitListBoxStrings& source) {
    if (&source == this) return;
    // Between two check list boxes each item also takes its source's state
    // and enabled flag (they travel with the string when sorted).
    const bool states = FBox.KeepsItemStates() && source.FBox.KeepsItemStates();
    const auto items = source.FBox.FItems;
    BeginUpdate();
    Clear();
    for (const auto& item : items) {
        const int at = AddObject(item.text, item.data);
        if (states) {
            FBox.FItems[std::size_t(at)].state = item.state;
            FBox.FItems[std::size_t(at)].enabled = item.enabled;
        }
    }
    EndUpdate();
}

cb::rtl::TStringList TKitListBoxStrings::ToStringList() const {
    cb::rtl::TStringList list;
    for (const auto& item : FBox.FItems) list.AddObject(item.text, item.data);
    return list;
}

// ---- list box --------------------------------------------------------------

TKitCustomListBox::TKitCustomListBox(QWidget* parent)
    : QAbstractScrollArea(parent), FFont(std::make_unique<TFont>()), FCanvas(std::make_unique<TCanvas>()) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    resize(121, 97);
    FFont->OnChange = [this](TGraphicsObject&) {
        FCanvas->Font().Assign(*FFont);
        RecomputeExtent();
        RemeasureItems();
        applyIntegralHeight();
    };
    FCanvas->Font().Assign(*FFont);
    horizontalScrollBar()->setSingleStep(8);
    verticalScrollBar()->setSingleStep(1);
}

TKitCustomListBox::~TKitCustomListBox() = default;

void TKitCustomListBox::checkIndex(int index) const {
    if (index < 0 || index >= int(FItems.size())) throw EStringListError(outOfBounds(index));
}

int TKitCustomListBox::insertItem(int index, const std::string& s, void* object, bool sortedAdd) {
    if (index < 0 || index > int(FItems.size())) throw EOutOfResources("Unable to insert a line");
    if (sortedAdd && FSorted) {
        index = int(FItems.size());
        for (int i = 0; i < int(FItems.size()); ++i)
            if (cb::rtl::CompareText(s, FItems[std::size_t(i)].text) < 0) {
                index = i;
                break;
            }
    }
    Item item;
    item.text = s;
    item.data = object;
    FItems.insert(FItems.begin() + index, item);
    FItems[std::size_t(index)].height = MeasureItem(index);
    if (FItemIndex >= index) ++FItemIndex;
    if (!IsUpdating() && FAutoScroll && FColumns == 0) FExtent = std::max(FExtent, GetItemWidth(index));
    ItemsChanged();
    if (!IsUpdating()) {
        updateScrollBars();
        viewport()->update();
    }
    return index;
}

void TKitCustomListBox::deleteItem(int index) {
    const bool widest = FAutoScroll && FColumns == 0 && GetItemWidth(index) >= FExtent;
    FItems.erase(FItems.begin() + index);
    if (FItemIndex == index)
        FItemIndex = -1;
    else if (FItemIndex > index)
        --FItemIndex;
    if (widest) {
        horizontalScrollBar()->setValue(0);
        RecomputeExtent();
    }
    ItemsChanged();
    updateScrollBars();
    viewport()->update();
}

void TKitCustomListBox::RecomputeExtent() {
    if (IsUpdating()) return;
    int extent = 0;
    if (FAutoScroll && FColumns == 0)
        for (int i = 0; i < int(FItems.size()); ++i) extent = std::max(extent, GetItemWidth(i));
    FExtent = extent;
    updateScrollBars();
}

int TKitCustomListBox::GetItemWidth(int index) {
    if (FStyle != lbStandard && OnGetItemWidth && OnDrawItem) {
        int width = 0;
        OnGetItemWidth(*this, index, width);
        return width;
    }
    FCanvas->Font().Assign(*FFont);
    const std::string text = FItems[std::size_t(index)].text + "x";
    if (FTabWidth <= 0) return FCanvas->TextWidth(text);
    // One tab stop every TabWidth dialog units (a quarter of a "0").
    const int stop = std::max(1, int(std::nearbyint(FCanvas->TextWidth("0") * FTabWidth * 0.25)));
    int x = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        x += FCanvas->TextWidth(
            std::string_view(text).substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        x = (x / stop + 1) * stop;
        start = tab + 1;
    }
    return x & 0xFFFF;
}

int TKitCustomListBox::GetItemHeight() {
    if (FStyle == lbStandard) {
        FCanvas->Font().Assign(*FFont);
        return std::max(1, FCanvas->TextHeight("Wg"));
    }
    return std::max(1, FItemHeight);
}

void TKitCustomListBox::SetBorderStyle(TBorderStyle value) {
    cb::rtl::SetProperty(FBorderStyle, value,
                         [this, value] { setFrameShape(value == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame); });
}

void TKitCustomListBox::SetColumns(int value) {
    value = std::max(value, 0);
    if (value == FColumns) return;
    FColumns = value;
    // The first item of the top column stays in view.
    if (FColumns > 0) FTopIndex -= FTopIndex % rowsPerColumn();
    horizontalScrollBar()->setValue(0);
    RecomputeExtent();
    updateScrollBars();
    ensureVisible(FItemIndex);
    viewport()->update();
}

void TKitCustomListBox::SetItemHeight(int value) {
    if (value <= 0 || value == FItemHeight) return;
    FItemHeight = value;
    RemeasureItems();
    applyIntegralHeight();
}

void TKitCustomListBox::SetStyle(TListBoxStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    RecomputeExtent();
    RemeasureItems();
    applyIntegralHeight();
}

void TKitCustomListBox::SetIntegralHeight(bool value) {
    cb::rtl::SetProperty(FIntegralHeight, value, [this] { applyIntegralHeight(); });
}

void TKitCustomListBox::SetCtl3D(bool value) {
    if (value == FCtl3D) return;
    FCtl3D = value;
    setFrameShadow(value ? QFrame::Sunken : QFrame::Plain);
    update();
}

int TKitCustomListBox::MeasureItem(int index) {
    int height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable && OnMeasureItem) OnMeasureItem(*this, index, height);
    return std::max(height, 1);
}

void TKitCustomListBox::RemeasureItems() {
    for (int i = 0; i < int(FItems.size()); ++i) FItems[std::size_t(i)].height = MeasureItem(i);
    updateScrollBars();
    ensureVisible(FItemIndex);
    viewport()->update();
}

// The system list box makes its window a whole number of items high.
void TKitCustomListBox::applyIntegralHeight() {
    if (!FIntegralHeight || FStyle == lbOwnerDrawVariable || FAdjustingHeight) return;
    const int h = GetItemHeight();
    const int frame = height() - viewport()->height();
    const int wanted = frame + std::max(1, viewport()->height() / h) * h;
    if (wanted == height()) return;
    FAdjustingHeight = true;
    resize(width(), wanted);
    FAdjustingHeight = false;
}

void TKitCustomListBox::SetMultiSelect(bool value) {
    if (value == FMultiSelect) return;
    FMultiSelect = value;
    for (auto& item : FItems) item.selected = false;
    viewport()->update();
}

void TKitCustomListBox::SetSorted(bool value) {
    if (value == FSorted) return;
    FSorted = value;
    if (value) {
        // Re-adding the items sorts them; states travel with them.
        const void* current = FItemIndex >= 0 ? &FItems[std::size_t(FItemIndex)] : nullptr;
        std::vector<int> order(FItems.size());
        for (int i = 0; i < int(order.size()); ++i) order[std::size_t(i)] = i;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return cb::rtl::CompareText(FItems[std::size_t(a)].text, FItems[std::size_t(b)].text) < 0;
        });
        std::vector<Item> sorted;
        int newIndex = -1;
        for (int i : order) {
            if (current == &FItems[std::size_t(i)]) newIndex = int(sorted.size());
            sorted.push_back(FItems[std::size_t(i)]);
        }
        FItems = std::move(sorted);
        FItemIndex = newIndex;
        viewport()->update();
    }
}

void TKitCustomListBox::SetTabWidth(int value) {
    value = std::max(value, 0);
    if (value == FTabWidth) return;
    FTabWidth = value;
    RecomputeExtent();
    viewport()->update();
}

void TKitCustomListBox::SetAutoScroll(bool value) {
    if (value == FAutoScroll) return;
    FAutoScroll = value;
    horizontalScrollBar()->setValue(0);
    RecomputeExtent();
}

void TKitCustomListBox::SetGraySelection(bool value) {
    cb::rtl::SetProperty(FGraySelection, value, [this] {
        if (!hasFocus()) viewport()->update();
    });
}

void TKitCustomListBox::SetColor(TColor value) {
    cb::rtl::SetProperty(FColor, value, [this] { viewport()->update(); });
}

void TKitCustomListBox::SetItemIndex(int value) {
    if (value < -1 || value >= int(FItems.size())) value = -1;
    if (value == FItemIndex) return;
    FItemIndex = value;
    if (!FMultiSelect)
        for (int i = 0; i < int(FItems.size()); ++i) FItems[std::size_t(i)].selected = i == value;
    FAnchor = value;
    ensureVisible(value);
    viewport()->update();
}

int TKitCustomListBox::SelCount() const {
    if (!FMultiSelect) return -1;
    return int(std::count_if(FItems.begin(), FItems.end(), [](const Item& i) { return i.selected; }));
}

bool TKitCustomListBox::Selected(int index) const {
    checkIndex(index);
    return FMultiSelect ? FItems[std::size_t(index)].selected : index == FItemIndex;
}

void TKitCustomListBox::SetSelected(int index, bool value) {
    checkIndex(index);
    if (FMultiSelect)
        FItems[std::size_t(index)].selected = value;
    else
        SetItemIndex(value ? index : (FItemIndex == index ? -1 : FItemIndex));
    InvalidateItem(index);
}

int TKitCustomListBox::rowsPerColumn() const {
    const int h = const_cast<TKitCustomListBox*>(this)->GetItemHeight();
    return std::max(1, viewport()->height() / h);
}

int TKitCustomListBox::columnWidth() const {
    return std::max(1, (width() + FColumns - 3) / std::max(FColumns, 1));
}

// Items wholly in view from the top index (at least one).
int TKitCustomListBox::visibleRows() const {
    if (FColumns > 0) return rowsPerColumn() * std::max(1, viewport()->width() / columnWidth());
    if (FStyle != lbOwnerDrawVariable) return rowsPerColumn();
    int rows = 0;
    for (int i = FTopIndex, y = 0; i < int(FItems.size()); ++i, ++rows) {
        y += FItems[std::size_t(i)].height;
        if (y > viewport()->height()) break;
    }
    return std::max(1, rows);
}

// The top index that shows the last page of items.
int TKitCustomListBox::maxTopIndex() const {
    const int count = int(FItems.size());
    if (FStyle != lbOwnerDrawVariable) return std::max(0, count - rowsPerColumn());
    int top = count, y = 0;
    while (top > 0 && y + FItems[std::size_t(top - 1)].height <= viewport()->height())
        y += FItems[std::size_t(--top)].height;
    return std::min(top, std::max(0, count - 1));
}

void TKitCustomListBox::SetTopIndex(int value) {
    value = std::clamp(value, 0, std::max(0, int(FItems.size()) - 1));
    if (FColumns > 0) value -= value % rowsPerColumn();
    if (value == FTopIndex) return;
    FTopIndex = value;
    if (FColumns > 0)
        horizontalScrollBar()->setValue(value / rowsPerColumn());
    else
        verticalScrollBar()->setValue(value);
    viewport()->update();
}

void TKitCustomListBox::ensureVisible(int index) {
    if (index < 0 || index >= int(FItems.size())) return;
    if (FColumns > 0) {
        const int rows = rowsPerColumn();
        const int columns = std::max(1, viewport()->width() / columnWidth());
        const int column = index / rows, first = FTopIndex / rows;
        if (column < first)
            SetTopIndex(column * rows);
        else if (column >= first + columns)
            SetTopIndex((column - columns + 1) * rows);
        return;
    }
    if (index < FTopIndex) {
        SetTopIndex(index);
    } else if (FStyle == lbOwnerDrawVariable) {
        int top = FTopIndex, y = 0;
        for (int i = top; i <= index; ++i) y += FItems[std::size_t(i)].height;
        while (top < index && y > viewport()->height()) y -= FItems[std::size_t(top++)].height;
        SetTopIndex(top);
    } else if (index >= FTopIndex + visibleRows()) {
        SetTopIndex(index - visibleRows() + 1);
    }
}

void TKitCustomListBox::updateScrollBars() {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    if (FColumns > 0) {
        // Whole columns scroll sideways; nothing scrolls up and down.
        const int rows = rowsPerColumn();
        const int columns = (int(FItems.size()) + rows - 1) / rows;
        const int shown = std::max(1, viewport()->width() / columnWidth());
        v->setRange(0, 0);
        h->setRange(0, std::max(0, columns - shown));
        h->setSingleStep(1);
        h->setPageStep(shown);
        h->setValue(FTopIndex / rows);
        return;
    }
    v->setRange(0, maxTopIndex());
    v->setPageStep(visibleRows());
    v->setValue(FTopIndex);
    h->setRange(0, std::max(0, FExtent - viewport()->width()));
    h->setSingleStep(8);
    h->setPageStep(std::max(1, viewport()->width()));
}

void TKitCustomListBox::scrollContentsBy(int, int) {
    FTopIndex = FColumns > 0 ? horizontalScrollBar()->value() * rowsPerColumn() : verticalScrollBar()->value();
    viewport()->update();
}

TRect TKitCustomListBox::ItemRect(int index) const {
    const int count = int(FItems.size());
    if (index < 0 || index > count) return {};
    if (index == count && count > 0) {
        // Below the last item.
        TRect r = ItemRect(count - 1);
        const int h = r.Height();
        r.Top += h;
        r.Bottom += h;
        return r;
    }
    const int h = index < count && FStyle == lbOwnerDrawVariable
                      ? FItems[std::size_t(index)].height
                      : const_cast<TKitCustomListBox*>(this)->GetItemHeight();
    if (FColumns > 0) {
        const int rows = rowsPerColumn(), w = columnWidth();
        const int left = (index / rows - FTopIndex / rows) * w, top = (index % rows) * h;
        return {left, top, left + w, top + h};
    }
    int top = 0;
    if (FStyle == lbOwnerDrawVariable) {
        for (int i = FTopIndex; i < index; ++i) top += FItems[std::size_t(i)].height;
        for (int i = index; i < FTopIndex; ++i) top -= FItems[std::size_t(i)].height;
    } else {
        top = (index - FTopIndex) * h;
    }
    const int dx = horizontalScrollBar()->value();
    return {-dx, top, std::max(viewport()->width(), FExtent) - dx, top + h};
}

int TKitCustomListBox::ItemAtPos(const TPoint& p, bool existing) const {
    if (p.X < 0 || p.Y < 0 || p.X >= viewport()->width() || p.Y >= viewport()->height()) return -1;
    for (int i = FTopIndex; i < int(FItems.size()); ++i) {
        const TRect r = ItemRect(i);
        if (FColumns > 0 ? r.Left >= viewport()->width() : r.Top > p.Y) break;
        if (p.Y >= r.Top && p.Y < r.Bottom && (FColumns == 0 || (p.X >= r.Left && p.X < r.Right))) return i;
    }
    return existing ? -1 : int(FItems.size());
}

void TKitCustomListBox::InvalidateItem(int index) {
    const TRect r = ItemRect(index);
    if (FColumns > 0)
        viewport()->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
    else
        viewport()->update(QRect(0, r.Top, viewport()->width(), r.Height()));
}

void TKitCustomListBox::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    applyIntegralHeight();
    updateScrollBars();
    if (FColumns > 0) viewport()->update();
}

void TKitCustomListBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    TCanvas& c = *FCanvas;
    c.Attach(&painter);
    c.Brush().SetColor(FColor);
    c.Brush().SetStyle(bsSolid);
    c.FillRect({0, 0, viewport()->width(), viewport()->height()});
    for (int i = FTopIndex; i < int(FItems.size()); ++i) {
        const TRect r = ItemRect(i);
        if (FColumns > 0 ? r.Left >= viewport()->width() : r.Top >= viewport()->height()) break;
        TOwnerDrawState state = 0;
        const bool selected = FMultiSelect ? FItems[std::size_t(i)].selected : i == FItemIndex;
        if (selected) state |= odSelected;
        if (i == FItemIndex && hasFocus()) state |= odFocused;
        c.Font().Assign(*FFont);
        c.Brush().SetColor(FColor);
        if (selected) {
            if (FGraySelection && !hasFocus()) {
                c.Brush().SetColor(clBtnFace);
                if ((ColorToRGB(c.Font().Color()) & 0xFFFFFF) == (ColorToRGB(clBtnFace) & 0xFFFFFF))
                    c.Font().SetColor(clBtnText);
            } else {
                c.Brush().SetColor(clHighlight);
                c.Font().SetColor(clHighlightText);
            }
        }
        DrawItem(c, i, r, state);
        if (state & odFocused) c.DrawFocusRect(FColumns > 0 ? r : TRect{0, r.Top, viewport()->width(), r.Bottom});
    }
    c.Attach(nullptr);
}

void TKitCustomListBox::DrawItem(TCanvas& c, int index, TRect rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(*this, index, rect, state);
        return;
    }
    c.FillRect(rect);
    if (index < 0 || index >= int(FItems.size())) return;
    const std::string& text = FItems[std::size_t(index)].text;
    const int y = std::max(rect.Top, (rect.Top + rect.Bottom - c.TextHeight("Wy")) / 2);
    c.SetBkMode(TRANSPARENT);
    if (FTabWidth > 0) {
        const int stop = std::max(1, int(std::nearbyint(c.TextWidth("0") * FTabWidth * 0.25)));
        int x = rect.Left + 2;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = text.find('\t', start);
            const std::string_view part =
                std::string_view(text).substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            c.TextOut(x, y, part);
            x += c.TextWidth(part);
            if (tab == std::string::npos) break;
            x = rect.Left + 2 + ((x - rect.Left - 2) / stop + 1) * stop;
            start = tab + 1;
        }
    } else {
        c.TextOut(rect.Left + 2, y, text);
    }
}

void TKitCustomListBox::selectByUser(int index, Qt::KeyboardModifiers mods, bool toggle) {
    if (index < 0 || index >= int(FItems.size())) return;
    const int old = FItemIndex;
    std::vector<bool> before;
    for (const auto& item : FItems) before.push_back(item.selected);
    if (!FMultiSelect) {
        SetItemIndex(index);
    } else if (!FExtendedSelect || (mods & Qt::ControlModifier) || toggle) {
        FItems[std::size_t(index)].selected = !FItems[std::size_t(index)].selected;
        FItemIndex = index;
        FAnchor = index;
    } else if (mods & Qt::ShiftModifier) {
        if (FAnchor < 0) FAnchor = std::max(FItemIndex, 0);  // the caret, or the first item
        const int lo = std::min(FAnchor, index), hi = std::max(FAnchor, index);
        for (int i = 0; i < int(FItems.size()); ++i) FItems[std::size_t(i)].selected = i >= lo && i <= hi;
        FItemIndex = index;
    } else {
        for (int i = 0; i < int(FItems.size()); ++i) FItems[std::size_t(i)].selected = i == index;
        FItemIndex = index;
        FAnchor = index;
    }
    ensureVisible(index);
    viewport()->update();
    bool changed = old != FItemIndex;
    for (std::size_t i = 0; i < FItems.size() && !changed; ++i) changed = before[i] != FItems[i].selected;
    if (changed && OnClick) OnClick(*this);
}

void TKitCustomListBox::pressAt(const QPoint& p, Qt::KeyboardModifiers mods) {
    const int index = ItemAtPos({p.x(), p.y()}, true);
    FPressPos = p;
    FPressItem = index;
    FPressMods = mods;
    FDeferredPress = FDragPending = false;
    FTracking = true;
    if (FDragMode == dmAutomatic && index >= 0) {
        const bool shift = mods & Qt::ShiftModifier, ctrl = mods & Qt::ControlModifier;
        if (FMultiSelect && Selected(index) && (!shift || ctrl)) {
            // Dragging a selection must not change it: the press applies
            // only when the button comes up without a drag.
            FDeferredPress = FDragPending = true;
            FTracking = false;
            return;
        }
        FDragPending = !(FMultiSelect && (shift || ctrl));
    }
    selectByUser(index, mods, false);
}

void TKitCustomListBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) pressAt(e->position().toPoint(), e->modifiers());
    QAbstractScrollArea::mousePressEvent(e);
}

void TKitCustomListBox::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (!(e->buttons() & Qt::LeftButton)) {
        FTracking = FDragPending = false;
    } else if (FDragPending) {
        if ((p - FPressPos).manhattanLength() >= QApplication::startDragDistance()) {
            FDragPending = FDeferredPress = FTracking = false;
            const bool accepted = ExecuteDrag(CreateDragData()) != Qt::IgnoreAction;
            if (!accepted) DragCanceled();
            if (OnEndDrag) OnEndDrag(*this, accepted);
        }
    } else if (FTracking && (!FMultiSelect || FExtendedSelect)) {
        // The selection follows the pointer while the button is held.
        const int y = std::clamp(p.y(), 0, viewport()->height() - 1);
        const int x = std::clamp(p.x(), 0, viewport()->width() - 1);
        const int index = ItemAtPos({x, y}, true);
        if (index >= 0 && index != FItemIndex)
            selectByUser(index, FMultiSelect ? Qt::ShiftModifier : Qt::NoModifier, false);
    }
    QAbstractScrollArea::mouseMoveEvent(e);
}

void TKitCustomListBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        if (FDeferredPress && FPressItem >= 0 && FPressItem < int(FItems.size())) {
            FDeferredPress = false;
            selectByUser(FPressItem, FPressMods, false);
        }
        FTracking = FDragPending = FDeferredPress = false;
    }
    QAbstractScrollArea::mouseReleaseEvent(e);
}

void TKitCustomListBox::DragCanceled() {
    FTracking = FDragPending = FDeferredPress = false;
}

const char* TKitCustomListBox::ListBoxMimeType() {
    return "application/x-cubebrowser-list-items";
}

QMimeData* TKitCustomListBox::CreateDragData() const {
    QJsonArray indexes;
    QStringList texts;
    for (int i = 0; i < int(FItems.size()); ++i)
        if (FMultiSelect ? FItems[std::size_t(i)].selected : i == FItemIndex) {
            indexes.append(i);
            texts.append(QString::fromStdString(FItems[std::size_t(i)].text));
        }
    QJsonObject o;
    o.insert("source", objectName());
    o.insert("indexes", indexes);
    auto* mime = new QMimeData;
    mime->setData(ListBoxMimeType(), QJsonDocument(o).toJson(QJsonDocument::Compact));
    mime->setText(texts.join('\n'));
    return mime;
}

Qt::DropAction TKitCustomListBox::ExecuteDrag(QMimeData* data) {
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    return drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void TKitCustomListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    mousePressEvent(e);
    if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(*this);
}

void TKitCustomListBox::keyPressEvent(QKeyEvent* e) {
    const int count = int(FItems.size());
    int target = -1;
    const int cur = std::max(FItemIndex, 0);
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (FColumns == 0) {
            QAbstractScrollArea::keyPressEvent(e);
            return;
        }
        target =
            FItemIndex < 0 ? 0 : std::clamp(cur + (e->key() == Qt::Key_Left ? -1 : 1) * rowsPerColumn(), 0, count - 1);
        break;
    case Qt::Key_Up:
        target = FItemIndex < 0 ? 0 : std::max(cur - 1, 0);
        break;
    case Qt::Key_Down:
        target = FItemIndex < 0 ? 0 : std::min(cur + 1, count - 1);
        break;
    case Qt::Key_PageUp:
        target = std::max(cur - visibleRows() + 1, 0);
        break;
    case Qt::Key_PageDown:
        target = std::min(cur + visibleRows() - 1, count - 1);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    if (count > 0) selectByUser(target, e->modifiers() & ~Qt::ControlModifier, false);
    e->accept();
}

void TKitCustomListBox::focusInEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusInEvent(e);
    viewport()->update();
}

void TKitCustomListBox::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    viewport()->update();
}

}  // namespace cb::extras
