#pragma once
// TKitCustomListBox: an owner-drawn list of strings with objects, tab stops,
// a horizontal scroll extent kept from the item widths and a grey selection
// when the control has no focus, fixed-width columns and items of their own
// heights (lbOwnerDrawVariable). TKitCheckListBox adds a check state
// (unchecked, checked, grayed) and an enabled flag per item.
#include "extras/KitTypes.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Geometry.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"

#include <QAbstractScrollArea>

class QMimeData;

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::extras {

class EStringListError : public cb::rtl::EListError {
public:
    using cb::rtl::EListError::EListError;
};
class EOutOfResources : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

enum TBorderStyle { bsNone, bsSingle };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TCheckBoxState { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };
// Owner-draw state bits.
enum : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16 };
using TOwnerDrawState = unsigned;

class TKitCustomListBox;

// The list box's Items: strings with an object each (not owned).
class TKitListBoxStrings {
public:
    explicit TKitListBoxStrings(TKitCustomListBox& box) : fBox(box) {}
    int Count() const;
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void SetStrings(int index, const std::string& s);
    void* Objects(int index) const;
    void SetObjects(int index, void* object);
    int Add(const std::string& s) { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, void* object);
    void Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }
    void InsertObject(int index, const std::string& s, void* object);
    void Delete(int index);
    void Clear();
    // Item states and enabled flags move with their strings.
    void Exchange(int a, int b);
    void Move(int from, int to);
    int IndexOf(const std::string& s) const; // without regard to case
    void BeginUpdate();
    void EndUpdate();
    // Copies strings and objects (within one update).
    void Assign(const cb::rtl::TStringList& source);
    void Assign(const TKitListBoxStrings& source);
    cb::rtl::TStringList ToStringList() const;

private:
    TKitCustomListBox& fBox;
};

class TKitCustomListBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TKitCustomListBox& sender)>;
    using TDrawItemEvent = std::function<void(TKitCustomListBox& control, int index, const cb::gfx::TRect& rect,
                                              TOwnerDrawState state)>;
    using TMeasureItemEvent = std::function<void(TKitCustomListBox& control, int index, int& height)>;
    using TGetItemWidthEvent = std::function<void(TKitCustomListBox& control, int index, int& width)>;
    using TEndDragEvent = std::function<void(TKitCustomListBox& sender, bool accepted)>;

    explicit TKitCustomListBox(QWidget* parent = nullptr);
    ~TKitCustomListBox() override;

    TKitListBoxStrings& Items() { return fStrings; }
    const TKitListBoxStrings& Items() const { return fStrings; }
    void SetItems(const cb::rtl::TStringList& items) { fStrings.Assign(items); }
    void SetItems(const TKitListBoxStrings& items) { fStrings.Assign(items); }

    TBorderStyle BorderStyle() const { return fBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // Columns > 0 lays the items out top to bottom in columns of
    // (Width + Columns - 3) div Columns pixels, scrolled sideways.
    int Columns() const { return fColumns; }
    void SetColumns(int value);
    // The stored height (ignored unless positive); the height in force is
    // GetItemHeight().
    int ItemHeight() const { return fItemHeight; }
    void SetItemHeight(int value);
    virtual int GetItemHeight();
    TListBoxStyle Style() const { return fStyle; }
    void SetStyle(TListBoxStyle value);
    // On: the control's height shrinks to whole items (fixed heights only).
    bool IntegralHeight() const { return fIntegralHeight; }
    void SetIntegralHeight(bool value);
    bool MultiSelect() const { return fMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return fExtendedSelect; }
    void SetExtendedSelect(bool value) { fExtendedSelect = value; }
    bool Sorted() const { return fSorted; }
    void SetSorted(bool value);
    int TabWidth() const { return fTabWidth; }
    void SetTabWidth(int value);
    bool AutoScroll() const { return fAutoScroll; }
    void SetAutoScroll(bool value);
    bool GraySelection() const { return fGraySelection; }
    void SetGraySelection(bool value);
    cb::gfx::TColor Color() const { return fColor; }
    void SetColor(cb::gfx::TColor value);
    cb::gfx::TFont& Font() { return *fFont; }
    // Sunken frame (on) or a flat line (off) with bsSingle.
    bool Ctl3D() const { return fCtl3D; }
    void SetCtl3D(bool value);
    // dmAutomatic: a press on an item followed by a move past the drag
    // distance drags the selected items.
    TDragMode DragMode() const { return fDragMode; }
    void SetDragMode(TDragMode value) { fDragMode = value; }
    // A canvas with the control's font, for measuring (and drawing inside
    // OnDrawItem, where it paints the item).
    cb::gfx::TCanvas& Canvas() { return *fCanvas; }

    int ItemIndex() const { return fItemIndex; }
    void SetItemIndex(int value);
    int SelCount() const;
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int TopIndex() const { return fTopIndex; }
    void SetTopIndex(int value);
    // Horizontal extent in pixels (0 when not managed).
    int HorizontalExtent() const { return fExtent; }

    // Item under a client point: -1 outside the client area; when no item
    // holds it, -1 if existing is set, else the item count.
    int ItemAtPos(const cb::gfx::TPoint& p, bool existing) const;
    // The item's rectangle; index = count gives the rectangle below the last.
    cb::gfx::TRect ItemRect(int index) const;

    TNotifyEvent OnClick, OnDblClick;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TGetItemWidthEvent OnGetItemWidth;
    // Assigning OnDrawItem or OnGetItemWidth after items exist: call this to
    // bring the extent up to date.
    void RecomputeExtent();
    // Asks every item's height again (lbOwnerDrawVariable: OnMeasureItem);
    // call after assigning OnMeasureItem when items exist.
    void RemeasureItems();
    // Fired when a drag started by the list box ends; accepted is false
    // for a cancelled drag or one nobody took.
    TEndDragEvent OnEndDrag;
    // The data a drag carries: the selected items' texts, one a line, and
    // under ListBoxMimeType() the control's name and the item indexes.
    virtual QMimeData* CreateDragData() const;
    static const char* ListBoxMimeType(); // "application/x-cubebrowser-list-items"

    QSize sizeHint() const override { return {121, 97}; }

protected:
    friend class TKitListBoxStrings;
    struct Item {
        std::string text;
        void* data = nullptr;
        TCheckBoxState state = cbUnchecked;
        bool enabled = true;
        bool selected = false;
        int height = 16; // lbOwnerDrawVariable
    };
    std::vector<Item> fItems;

    virtual int GetItemWidth(int index);
    virtual void DrawItem(cb::gfx::TCanvas& canvas, int index, cb::gfx::TRect rect, TOwnerDrawState state);
    // The height of a new item: the stored ItemHeight, which OnMeasureItem
    // may change for lbOwnerDrawVariable.
    virtual int MeasureItem(int index);
    // Runs a drag of the data (takes it); the action the target took.
    virtual Qt::DropAction ExecuteDrag(QMimeData* data);
    // A drag that nobody took: the press ends without changing anything.
    virtual void DragCanceled();
    virtual void ItemsChanged() {}
    // Item states and enabled flags are this list's own (check list box).
    virtual bool KeepsItemStates() const { return false; }
    void InvalidateItem(int index);
    bool IsUpdating() const { return fUpdateCount > 0; }

    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int insertItem(int index, const std::string& s, void* object, bool sortedAdd);
    void deleteItem(int index);
    void checkIndex(int index) const;
    void updateScrollBars();
    void ensureVisible(int index);
    void selectByUser(int index, Qt::KeyboardModifiers mods, bool toggle);
    int visibleRows() const;
    int rowsPerColumn() const;
    int columnWidth() const;
    int maxTopIndex() const;
    void applyIntegralHeight();
    void pressAt(const QPoint& p, Qt::KeyboardModifiers mods);

    TKitListBoxStrings fStrings{*this};
    TBorderStyle fBorderStyle = bsSingle;
    int fColumns = 0;
    int fItemHeight = 16;
    TListBoxStyle fStyle = lbStandard;
    bool fIntegralHeight = false;
    bool fAdjustingHeight = false;
    bool fCtl3D = true;
    TDragMode fDragMode = dmManual;
    // A press in progress: tracking the selection, or waiting for a drag.
    bool fTracking = false;
    bool fDragPending = false;
    bool fDeferredPress = false; // the press on a selected item is still to apply
    QPoint fPressPos;
    int fPressItem = -1;
    Qt::KeyboardModifiers fPressMods;
    bool fMultiSelect = false;
    bool fExtendedSelect = true;
    bool fSorted = false;
    int fTabWidth = 0;
    bool fAutoScroll = false;
    bool fGraySelection = false;
    cb::gfx::TColor fColor = cb::gfx::clWindow;
    std::unique_ptr<cb::gfx::TFont> fFont;
    std::unique_ptr<cb::gfx::TCanvas> fCanvas;
    int fItemIndex = -1;
    int fAnchor = -1;
    int fTopIndex = 0;
    int fExtent = 0;
    int fUpdateCount = 0;
};

} // namespace cb::extras
