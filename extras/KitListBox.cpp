#include "extras/KitListBox.h"

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
std::string outOfBounds(int index) { return "List index out of bounds (" + std::to_string(index) + ")"; }
} // namespace

// ---- strings ---------------------------------------------------------------

int TKitListBoxStrings::Count() const { return int(fBox.fItems.size()); }

const std::string& TKitListBoxStrings::Strings(int index) const {
    fBox.checkIndex(index);
    return fBox.fItems[std::size_t(index)].text;
}

void TKitListBoxStrings::SetStrings(int index, const std::string& s) {
    fBox.checkIndex(index);
    fBox.fItems[std::size_t(index)].text = s;
    fBox.RecomputeExtent();
    fBox.InvalidateItem(index);
}

void* TKitListBoxStrings::Objects(int index) const {
    fBox.checkIndex(index);
    return fBox.fItems[std::size_t(index)].data;
}

void TKitListBoxStrings::SetObjects(int index, void* object) {
    fBox.checkIndex(index);
    fBox.fItems[std::size_t(index)].data = object;
}

int TKitListBoxStrings::AddObject(const std::string& s, void* object) {
    return fBox.insertItem(Count(), s, object, true);
}

void TKitListBoxStrings::InsertObject(int index, const std::string& s, void* object) {
    fBox.insertItem(index, s, object, false);
}

void TKitListBoxStrings::Delete(int index) {
    fBox.checkIndex(index);
    fBox.deleteItem(index);
}

void TKitListBoxStrings::Clear() {
    fBox.fItems.clear();
    fBox.fItemIndex = -1;
    fBox.fAnchor = -1;
    fBox.fTopIndex = 0;
    fBox.fExtent = 0;
    fBox.horizontalScrollBar()->setValue(0);
    fBox.ItemsChanged();
    fBox.updateScrollBars();
    fBox.viewport()->update();
}

void TKitListBoxStrings::Exchange(int a, int b) {
    fBox.checkIndex(a);
    fBox.checkIndex(b);
    std::swap(fBox.fItems[std::size_t(a)], fBox.fItems[std::size_t(b)]);
    fBox.viewport()->update();
}

void TKitListBoxStrings::Move(int from, int to) {
    fBox.checkIndex(from);
    fBox.checkIndex(to);
    auto item = fBox.fItems[std::size_t(from)];
    fBox.fItems.erase(fBox.fItems.begin() + from);
    fBox.fItems.insert(fBox.fItems.begin() + to, item);
    fBox.viewport()->update();
}

int TKitListBoxStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (cb::rtl::SameText(fBox.fItems[std::size_t(i)].text, s))
            return i;
    return -1;
}

void TKitListBoxStrings::BeginUpdate() { ++fBox.fUpdateCount; }

void TKitListBoxStrings::EndUpdate() {
    if (fBox.fUpdateCount > 0 && --fBox.fUpdateCount == 0) {
        fBox.RecomputeExtent();
        fBox.updateScrollBars();
        fBox.viewport()->update();
    }
}

void TKitListBoxStrings::Assign(const cb::rtl::TStringList& source) {
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        AddObject(source[i], source.Objects(i));
    EndUpdate();
}

void TKitListBoxStrings::Assign(const TKitListBoxStrings& source) {
    if (&source == this)
        return;
    // Between two check list boxes each item also takes its source's state
    // and enabled flag (they travel with the string when sorted).
    const bool states = fBox.KeepsItemStates() && source.fBox.KeepsItemStates();
    const auto items = source.fBox.fItems;
    BeginUpdate();
    Clear();
    for (const auto& item : items) {
        const int at = AddObject(item.text, item.data);
        if (states) {
            fBox.fItems[std::size_t(at)].state = item.state;
            fBox.fItems[std::size_t(at)].enabled = item.enabled;
        }
    }
    EndUpdate();
}

cb::rtl::TStringList TKitListBoxStrings::ToStringList() const {
    cb::rtl::TStringList list;
    for (const auto& item : fBox.fItems)
        list.AddObject(item.text, item.data);
    return list;
}

// ---- list box --------------------------------------------------------------

TKitCustomListBox::TKitCustomListBox(QWidget* parent)
    : QAbstractScrollArea(parent), fFont(std::make_unique<TFont>()), fCanvas(std::make_unique<TCanvas>()) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    resize(121, 97);
    fFont->OnChange = [this](TGraphicsObject&) {
        fCanvas->Font().Assign(*fFont);
        RecomputeExtent();
        RemeasureItems();
        applyIntegralHeight();
    };
    fCanvas->Font().Assign(*fFont);
    horizontalScrollBar()->setSingleStep(8);
    verticalScrollBar()->setSingleStep(1);
}

TKitCustomListBox::~TKitCustomListBox() = default;

void TKitCustomListBox::checkIndex(int index) const {
    if (index < 0 || index >= int(fItems.size()))
        throw EStringListError(outOfBounds(index));
}

int TKitCustomListBox::insertItem(int index, const std::string& s, void* object, bool sortedAdd) {
    if (index < 0 || index > int(fItems.size()))
        throw EOutOfResources("Unable to insert a line");
    if (sortedAdd && fSorted) {
        index = int(fItems.size());
        for (int i = 0; i < int(fItems.size()); ++i)
            if (cb::rtl::CompareText(s, fItems[std::size_t(i)].text) < 0) {
                index = i;
                break;
            }
    }
    Item item;
    item.text = s;
    item.data = object;
    fItems.insert(fItems.begin() + index, item);
    fItems[std::size_t(index)].height = MeasureItem(index);
    if (fItemIndex >= index)
        ++fItemIndex;
    if (!IsUpdating() && fAutoScroll && fColumns == 0)
        fExtent = std::max(fExtent, GetItemWidth(index));
    ItemsChanged();
    if (!IsUpdating()) {
        updateScrollBars();
        viewport()->update();
    }
    return index;
}

void TKitCustomListBox::deleteItem(int index) {
    const bool widest = fAutoScroll && fColumns == 0 && GetItemWidth(index) >= fExtent;
    fItems.erase(fItems.begin() + index);
    if (fItemIndex == index)
        fItemIndex = -1;
    else if (fItemIndex > index)
        --fItemIndex;
    if (widest) {
        horizontalScrollBar()->setValue(0);
        RecomputeExtent();
    }
    ItemsChanged();
    updateScrollBars();
    viewport()->update();
}

void TKitCustomListBox::RecomputeExtent() {
    if (IsUpdating())
        return;
    int extent = 0;
    if (fAutoScroll && fColumns == 0)
        for (int i = 0; i < int(fItems.size()); ++i)
            extent = std::max(extent, GetItemWidth(i));
    fExtent = extent;
    updateScrollBars();
}

int TKitCustomListBox::GetItemWidth(int index) {
    if (fStyle != lbStandard && OnGetItemWidth && OnDrawItem) {
        int width = 0;
        OnGetItemWidth(*this, index, width);
        return width;
    }
    fCanvas->Font().Assign(*fFont);
    const std::string text = fItems[std::size_t(index)].text + "x";
    if (fTabWidth <= 0)
        return fCanvas->TextWidth(text);
    // One tab stop every TabWidth dialog units (a quarter of a "0").
    const int stop = std::max(1, int(std::nearbyint(fCanvas->TextWidth("0") * fTabWidth * 0.25)));
    int x = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        x += fCanvas->TextWidth(std::string_view(text).substr(start, tab == std::string::npos ? std::string::npos
                                                                                              : tab - start));
        if (tab == std::string::npos)
            break;
        x = (x / stop + 1) * stop;
        start = tab + 1;
    }
    return x & 0xFFFF;
}

int TKitCustomListBox::GetItemHeight() {
    if (fStyle == lbStandard) {
        fCanvas->Font().Assign(*fFont);
        return std::max(1, fCanvas->TextHeight("Wg"));
    }
    return std::max(1, fItemHeight);
}

void TKitCustomListBox::SetBorderStyle(TBorderStyle value) {
    if (value == fBorderStyle)
        return;
    fBorderStyle = value;
    setFrameShape(value == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TKitCustomListBox::SetColumns(int value) {
    value = std::max(value, 0);
    if (value == fColumns)
        return;
    fColumns = value;
    // The first item of the top column stays in view.
    if (fColumns > 0)
        fTopIndex -= fTopIndex % rowsPerColumn();
    horizontalScrollBar()->setValue(0);
    RecomputeExtent();
    updateScrollBars();
    ensureVisible(fItemIndex);
    viewport()->update();
}

void TKitCustomListBox::SetItemHeight(int value) {
    if (value <= 0 || value == fItemHeight)
        return;
    fItemHeight = value;
    RemeasureItems();
    applyIntegralHeight();
}

void TKitCustomListBox::SetStyle(TListBoxStyle value) {
    if (value == fStyle)
        return;
    fStyle = value;
    RecomputeExtent();
    RemeasureItems();
    applyIntegralHeight();
}

void TKitCustomListBox::SetIntegralHeight(bool value) {
    if (value == fIntegralHeight)
        return;
    fIntegralHeight = value;
    applyIntegralHeight();
}

void TKitCustomListBox::SetCtl3D(bool value) {
    if (value == fCtl3D)
        return;
    fCtl3D = value;
    setFrameShadow(value ? QFrame::Sunken : QFrame::Plain);
    update();
}

int TKitCustomListBox::MeasureItem(int index) {
    int height = fItemHeight;
    if (fStyle == lbOwnerDrawVariable && OnMeasureItem)
        OnMeasureItem(*this, index, height);
    return std::max(height, 1);
}

void TKitCustomListBox::RemeasureItems() {
    for (int i = 0; i < int(fItems.size()); ++i)
        fItems[std::size_t(i)].height = MeasureItem(i);
    updateScrollBars();
    ensureVisible(fItemIndex);
    viewport()->update();
}

// The system list box makes its window a whole number of items high.
void TKitCustomListBox::applyIntegralHeight() {
    if (!fIntegralHeight || fStyle == lbOwnerDrawVariable || fAdjustingHeight)
        return;
    const int h = GetItemHeight();
    const int frame = height() - viewport()->height();
    const int wanted = frame + std::max(1, viewport()->height() / h) * h;
    if (wanted == height())
        return;
    fAdjustingHeight = true;
    resize(width(), wanted);
    fAdjustingHeight = false;
}

void TKitCustomListBox::SetMultiSelect(bool value) {
    if (value == fMultiSelect)
        return;
    fMultiSelect = value;
    for (auto& item : fItems)
        item.selected = false;
    viewport()->update();
}

void TKitCustomListBox::SetSorted(bool value) {
    if (value == fSorted)
        return;
    fSorted = value;
    if (value) {
        // Re-adding the items sorts them; states travel with them.
        const void* current = fItemIndex >= 0 ? &fItems[std::size_t(fItemIndex)] : nullptr;
        std::vector<int> order(fItems.size());
        for (int i = 0; i < int(order.size()); ++i)
            order[std::size_t(i)] = i;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return cb::rtl::CompareText(fItems[std::size_t(a)].text, fItems[std::size_t(b)].text) < 0;
        });
        std::vector<Item> sorted;
        int newIndex = -1;
        for (int i : order) {
            if (current == &fItems[std::size_t(i)])
                newIndex = int(sorted.size());
            sorted.push_back(fItems[std::size_t(i)]);
        }
        fItems = std::move(sorted);
        fItemIndex = newIndex;
        viewport()->update();
    }
}

void TKitCustomListBox::SetTabWidth(int value) {
    value = std::max(value, 0);
    if (value == fTabWidth)
        return;
    fTabWidth = value;
    RecomputeExtent();
    viewport()->update();
}

void TKitCustomListBox::SetAutoScroll(bool value) {
    if (value == fAutoScroll)
        return;
    fAutoScroll = value;
    horizontalScrollBar()->setValue(0);
    RecomputeExtent();
}

void TKitCustomListBox::SetGraySelection(bool value) {
    if (value == fGraySelection)
        return;
    fGraySelection = value;
    if (!hasFocus())
        viewport()->update();
}

void TKitCustomListBox::SetColor(TColor value) {
    if (value == fColor)
        return;
    fColor = value;
    viewport()->update();
}

void TKitCustomListBox::SetItemIndex(int value) {
    if (value < -1 || value >= int(fItems.size()))
        value = -1;
    if (value == fItemIndex)
        return;
    fItemIndex = value;
    if (!fMultiSelect)
        for (int i = 0; i < int(fItems.size()); ++i)
            fItems[std::size_t(i)].selected = i == value;
    fAnchor = value;
    ensureVisible(value);
    viewport()->update();
}

int TKitCustomListBox::SelCount() const {
    if (!fMultiSelect)
        return -1;
    return int(std::count_if(fItems.begin(), fItems.end(), [](const Item& i) { return i.selected; }));
}

bool TKitCustomListBox::Selected(int index) const {
    checkIndex(index);
    return fMultiSelect ? fItems[std::size_t(index)].selected : index == fItemIndex;
}

void TKitCustomListBox::SetSelected(int index, bool value) {
    checkIndex(index);
    if (fMultiSelect)
        fItems[std::size_t(index)].selected = value;
    else
        SetItemIndex(value ? index : (fItemIndex == index ? -1 : fItemIndex));
    InvalidateItem(index);
}

int TKitCustomListBox::rowsPerColumn() const {
    const int h = const_cast<TKitCustomListBox*>(this)->GetItemHeight();
    return std::max(1, viewport()->height() / h);
}

int TKitCustomListBox::columnWidth() const { return std::max(1, (width() + fColumns - 3) / std::max(fColumns, 1)); }

// Items wholly in view from the top index (at least one).
int TKitCustomListBox::visibleRows() const {
    if (fColumns > 0)
        return rowsPerColumn() * std::max(1, viewport()->width() / columnWidth());
    if (fStyle != lbOwnerDrawVariable)
        return rowsPerColumn();
    int rows = 0;
    for (int i = fTopIndex, y = 0; i < int(fItems.size()); ++i, ++rows) {
        y += fItems[std::size_t(i)].height;
        if (y > viewport()->height())
            break;
    }
    return std::max(1, rows);
}

// The top index that shows the last page of items.
int TKitCustomListBox::maxTopIndex() const {
    const int count = int(fItems.size());
    if (fStyle != lbOwnerDrawVariable)
        return std::max(0, count - rowsPerColumn());
    int top = count, y = 0;
    while (top > 0 && y + fItems[std::size_t(top - 1)].height <= viewport()->height())
        y += fItems[std::size_t(--top)].height;
    return std::min(top, std::max(0, count - 1));
}

void TKitCustomListBox::SetTopIndex(int value) {
    value = std::clamp(value, 0, std::max(0, int(fItems.size()) - 1));
    if (fColumns > 0)
        value -= value % rowsPerColumn();
    if (value == fTopIndex)
        return;
    fTopIndex = value;
    if (fColumns > 0)
        horizontalScrollBar()->setValue(value / rowsPerColumn());
    else
        verticalScrollBar()->setValue(value);
    viewport()->update();
}

void TKitCustomListBox::ensureVisible(int index) {
    if (index < 0 || index >= int(fItems.size()))
        return;
    if (fColumns > 0) {
        const int rows = rowsPerColumn();
        const int columns = std::max(1, viewport()->width() / columnWidth());
        const int column = index / rows, first = fTopIndex / rows;
        if (column < first)
            SetTopIndex(column * rows);
        else if (column >= first + columns)
            SetTopIndex((column - columns + 1) * rows);
        return;
    }
    if (index < fTopIndex) {
        SetTopIndex(index);
    } else if (fStyle == lbOwnerDrawVariable) {
        int top = fTopIndex, y = 0;
        for (int i = top; i <= index; ++i)
            y += fItems[std::size_t(i)].height;
        while (top < index && y > viewport()->height())
            y -= fItems[std::size_t(top++)].height;
        SetTopIndex(top);
    } else if (index >= fTopIndex + visibleRows()) {
        SetTopIndex(index - visibleRows() + 1);
    }
}

void TKitCustomListBox::updateScrollBars() {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    if (fColumns > 0) {
        // Whole columns scroll sideways; nothing scrolls up and down.
        const int rows = rowsPerColumn();
        const int columns = (int(fItems.size()) + rows - 1) / rows;
        const int shown = std::max(1, viewport()->width() / columnWidth());
        v->setRange(0, 0);
        h->setRange(0, std::max(0, columns - shown));
        h->setSingleStep(1);
        h->setPageStep(shown);
        h->setValue(fTopIndex / rows);
        return;
    }
    v->setRange(0, maxTopIndex());
    v->setPageStep(visibleRows());
    v->setValue(fTopIndex);
    h->setRange(0, std::max(0, fExtent - viewport()->width()));
    h->setSingleStep(8);
    h->setPageStep(std::max(1, viewport()->width()));
}

void TKitCustomListBox::scrollContentsBy(int, int) {
    fTopIndex = fColumns > 0 ? horizontalScrollBar()->value() * rowsPerColumn() : verticalScrollBar()->value();
    viewport()->update();
}

TRect TKitCustomListBox::ItemRect(int index) const {
    const int count = int(fItems.size());
    if (index < 0 || index > count)
        return {};
    if (index == count && count > 0) {
        // Below the last item.
        TRect r = ItemRect(count - 1);
        const int h = r.Height();
        r.Top += h;
        r.Bottom += h;
        return r;
    }
    const int h = index < count && fStyle == lbOwnerDrawVariable
                      ? fItems[std::size_t(index)].height
                      : const_cast<TKitCustomListBox*>(this)->GetItemHeight();
    if (fColumns > 0) {
        const int rows = rowsPerColumn(), w = columnWidth();
        const int left = (index / rows - fTopIndex / rows) * w, top = (index % rows) * h;
        return {left, top, left + w, top + h};
    }
    int top = 0;
    if (fStyle == lbOwnerDrawVariable) {
        for (int i = fTopIndex; i < index; ++i)
            top += fItems[std::size_t(i)].height;
        for (int i = index; i < fTopIndex; ++i)
            top -= fItems[std::size_t(i)].height;
    } else {
        top = (index - fTopIndex) * h;
    }
    const int dx = horizontalScrollBar()->value();
    return {-dx, top, std::max(viewport()->width(), fExtent) - dx, top + h};
}

int TKitCustomListBox::ItemAtPos(const TPoint& p, bool existing) const {
    if (p.X < 0 || p.Y < 0 || p.X >= viewport()->width() || p.Y >= viewport()->height())
        return -1;
    for (int i = fTopIndex; i < int(fItems.size()); ++i) {
        const TRect r = ItemRect(i);
        if (fColumns > 0 ? r.Left >= viewport()->width() : r.Top > p.Y)
            break;
        if (p.Y >= r.Top && p.Y < r.Bottom && (fColumns == 0 || (p.X >= r.Left && p.X < r.Right)))
            return i;
    }
    return existing ? -1 : int(fItems.size());
}

void TKitCustomListBox::InvalidateItem(int index) {
    const TRect r = ItemRect(index);
    if (fColumns > 0)
        viewport()->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
    else
        viewport()->update(QRect(0, r.Top, viewport()->width(), r.Height()));
}

void TKitCustomListBox::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    applyIntegralHeight();
    updateScrollBars();
    if (fColumns > 0)
        viewport()->update();
}

void TKitCustomListBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    TCanvas& c = *fCanvas;
    c.Attach(&painter);
    c.Brush().SetColor(fColor);
    c.Brush().SetStyle(bsSolid);
    c.FillRect({0, 0, viewport()->width(), viewport()->height()});
    for (int i = fTopIndex; i < int(fItems.size()); ++i) {
        const TRect r = ItemRect(i);
        if (fColumns > 0 ? r.Left >= viewport()->width() : r.Top >= viewport()->height())
            break;
        TOwnerDrawState state = 0;
        const bool selected = fMultiSelect ? fItems[std::size_t(i)].selected : i == fItemIndex;
        if (selected)
            state |= odSelected;
        if (i == fItemIndex && hasFocus())
            state |= odFocused;
        c.Font().Assign(*fFont);
        c.Brush().SetColor(fColor);
        if (selected) {
            if (fGraySelection && !hasFocus()) {
                c.Brush().SetColor(clBtnFace);
                if ((ColorToRGB(c.Font().Color()) & 0xFFFFFF) == (ColorToRGB(clBtnFace) & 0xFFFFFF))
                    c.Font().SetColor(clBtnText);
            } else {
                c.Brush().SetColor(clHighlight);
                c.Font().SetColor(clHighlightText);
            }
        }
        DrawItem(c, i, r, state);
        if (state & odFocused)
            c.DrawFocusRect(fColumns > 0 ? r : TRect{0, r.Top, viewport()->width(), r.Bottom});
    }
    c.Attach(nullptr);
}

void TKitCustomListBox::DrawItem(TCanvas& c, int index, TRect rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(*this, index, rect, state);
        return;
    }
    c.FillRect(rect);
    if (index < 0 || index >= int(fItems.size()))
        return;
    const std::string& text = fItems[std::size_t(index)].text;
    const int y = std::max(rect.Top, (rect.Top + rect.Bottom - c.TextHeight("Wy")) / 2);
    c.SetBkMode(TRANSPARENT);
    if (fTabWidth > 0) {
        const int stop = std::max(1, int(std::nearbyint(c.TextWidth("0") * fTabWidth * 0.25)));
        int x = rect.Left + 2;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = text.find('\t', start);
            const std::string_view part =
                std::string_view(text).substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            c.TextOut(x, y, part);
            x += c.TextWidth(part);
            if (tab == std::string::npos)
                break;
            x = rect.Left + 2 + ((x - rect.Left - 2) / stop + 1) * stop;
            start = tab + 1;
        }
    } else {
        c.TextOut(rect.Left + 2, y, text);
    }
}

void TKitCustomListBox::selectByUser(int index, Qt::KeyboardModifiers mods, bool toggle) {
    if (index < 0 || index >= int(fItems.size()))
        return;
    const int old = fItemIndex;
    std::vector<bool> before;
    for (const auto& item : fItems)
        before.push_back(item.selected);
    if (!fMultiSelect) {
        SetItemIndex(index);
    } else if (!fExtendedSelect || (mods & Qt::ControlModifier) || toggle) {
        fItems[std::size_t(index)].selected = !fItems[std::size_t(index)].selected;
        fItemIndex = index;
        fAnchor = index;
    } else if (mods & Qt::ShiftModifier) {
        if (fAnchor < 0)
            fAnchor = std::max(fItemIndex, 0); // the caret, or the first item
        const int lo = std::min(fAnchor, index), hi = std::max(fAnchor, index);
        for (int i = 0; i < int(fItems.size()); ++i)
            fItems[std::size_t(i)].selected = i >= lo && i <= hi;
        fItemIndex = index;
    } else {
        for (int i = 0; i < int(fItems.size()); ++i)
            fItems[std::size_t(i)].selected = i == index;
        fItemIndex = index;
        fAnchor = index;
    }
    ensureVisible(index);
    viewport()->update();
    bool changed = old != fItemIndex;
    for (std::size_t i = 0; i < fItems.size() && !changed; ++i)
        changed = before[i] != fItems[i].selected;
    if (changed && OnClick)
        OnClick(*this);
}

void TKitCustomListBox::pressAt(const QPoint& p, Qt::KeyboardModifiers mods) {
    const int index = ItemAtPos({p.x(), p.y()}, true);
    fPressPos = p;
    fPressItem = index;
    fPressMods = mods;
    fDeferredPress = fDragPending = false;
    fTracking = true;
    if (fDragMode == dmAutomatic && index >= 0) {
        const bool shift = mods & Qt::ShiftModifier, ctrl = mods & Qt::ControlModifier;
        if (fMultiSelect && Selected(index) && (!shift || ctrl)) {
            // Dragging a selection must not change it: the press applies
            // only when the button comes up without a drag.
            fDeferredPress = fDragPending = true;
            fTracking = false;
            return;
        }
        fDragPending = !(fMultiSelect && (shift || ctrl));
    }
    selectByUser(index, mods, false);
}

void TKitCustomListBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        pressAt(e->position().toPoint(), e->modifiers());
    QAbstractScrollArea::mousePressEvent(e);
}

void TKitCustomListBox::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (!(e->buttons() & Qt::LeftButton)) {
        fTracking = fDragPending = false;
    } else if (fDragPending) {
        if ((p - fPressPos).manhattanLength() >= QApplication::startDragDistance()) {
            fDragPending = fDeferredPress = fTracking = false;
            const bool accepted = ExecuteDrag(CreateDragData()) != Qt::IgnoreAction;
            if (!accepted)
                DragCanceled();
            if (OnEndDrag)
                OnEndDrag(*this, accepted);
        }
    } else if (fTracking && (!fMultiSelect || fExtendedSelect)) {
        // The selection follows the pointer while the button is held.
        const int y = std::clamp(p.y(), 0, viewport()->height() - 1);
        const int x = std::clamp(p.x(), 0, viewport()->width() - 1);
        const int index = ItemAtPos({x, y}, true);
        if (index >= 0 && index != fItemIndex)
            selectByUser(index, fMultiSelect ? Qt::ShiftModifier : Qt::NoModifier, false);
    }
    QAbstractScrollArea::mouseMoveEvent(e);
}

void TKitCustomListBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        if (fDeferredPress && fPressItem >= 0 && fPressItem < int(fItems.size())) {
            fDeferredPress = false;
            selectByUser(fPressItem, fPressMods, false);
        }
        fTracking = fDragPending = fDeferredPress = false;
    }
    QAbstractScrollArea::mouseReleaseEvent(e);
}

void TKitCustomListBox::DragCanceled() { fTracking = fDragPending = fDeferredPress = false; }

const char* TKitCustomListBox::ListBoxMimeType() { return "application/x-cubebrowser-list-items"; }

QMimeData* TKitCustomListBox::CreateDragData() const {
    QJsonArray indexes;
    QStringList texts;
    for (int i = 0; i < int(fItems.size()); ++i)
        if (fMultiSelect ? fItems[std::size_t(i)].selected : i == fItemIndex) {
            indexes.append(i);
            texts.append(QString::fromStdString(fItems[std::size_t(i)].text));
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
    if (e->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(*this);
}

void TKitCustomListBox::keyPressEvent(QKeyEvent* e) {
    const int count = int(fItems.size());
    int target = -1;
    const int cur = std::max(fItemIndex, 0);
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (fColumns == 0) {
            QAbstractScrollArea::keyPressEvent(e);
            return;
        }
        target = fItemIndex < 0 ? 0
                 : std::clamp(cur + (e->key() == Qt::Key_Left ? -1 : 1) * rowsPerColumn(), 0, count - 1);
        break;
    case Qt::Key_Up: target = fItemIndex < 0 ? 0 : std::max(cur - 1, 0); break;
    case Qt::Key_Down: target = fItemIndex < 0 ? 0 : std::min(cur + 1, count - 1); break;
    case Qt::Key_PageUp: target = std::max(cur - visibleRows() + 1, 0); break;
    case Qt::Key_PageDown: target = std::min(cur + visibleRows() - 1, count - 1); break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = count - 1; break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
    }
    if (count > 0)
        selectByUser(target, e->modifiers() & ~Qt::ControlModifier, false);
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

} // namespace cb::extras
