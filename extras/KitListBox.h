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

enum TBorderStyle {
    bsNone,
    bsSingle
};
enum TListBoxStyle {
    lbStandard,
    lbOwnerDrawFixed,
    lbOwnerDrawVariable,
    lbVirtual,
    lbVirtualOwnerDraw
};
enum TCheckBoxState {
    cbUnchecked = 0,
    cbChecked = 1,
    cbGrayed = 2
};
// Owner-draw state bits.
enum : unsigned {
    odSelected = 1,
    odGrayed = 2,
    odDisabled = 4,
    odChecked = 8,
    odFocused = 16
};
using TOwnerDrawState = unsigned;

class TKitCustomListBox;

// The list box's Items: strings with an object each (not owned).
class TKitListBoxStrings {
public:
    explicit TKitListBoxStrings(TKitCustomListBox& box) : FBox(box) {}
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
    int IndexOf(const std::string& s) const;  // without regard to case
    void BeginUpdate();
    void EndUpdate();
    // Copies strings and objects (within one update).
    void Assign(const cb::rtl::TStringList& source);
    void Assign(const TKitListBoxStrings& source);
    cb::rtl::TStringList ToStringList() const;

private:
    TKitCustomListBox& FBox;
};

class TKitCustomListBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TKitCustomListBox& sender)>;
    using TDrawItemEvent =
        std::function<void(TKitCustomListBox& control, int index, const cb::gfx::TRect& rect, TOwnerDrawState state)>;
    using TMeasureItemEvent = std::function<void(TKitCustomListBox& control, int index, int& height)>;
    using TGetItemWidthEvent = std::function<void(TKitCustomListBox& control, int index, int& width)>;
    using TEndDragEvent = std::function<void(TKitCustomListBox& sender, bool accepted)>;

    explicit TKitCustomListBox(QWidget* parent = nullptr);
    ~TKitCustomListBox() override;

    TKitListBoxStrings& Items() { return FStrings; }
    const TKitListBoxStrings& Items() const { return FStrings; }
    void SetItems(const cb::rtl::TStringList& items) { FStrings.Assign(items); }
    void SetItems(const TKitListBoxStrings& items) { FStrings.Assign(items); }

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // Columns > 0 lays the items out top to bottom in columns of
    // (Width + Columns - 3) div Columns pixels, scrolled sideways.
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    // The stored height (ignored unless positive); the height in force is
    // GetItemHeight().
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    virtual int GetItemHeight();
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    // On: the control's height shrinks to whole items (fixed heights only).
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value) { FExtendedSelect = value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    bool GraySelection() const { return FGraySelection; }
    void SetGraySelection(bool value);
    cb::gfx::TColor Color() const { return FColor; }
    void SetColor(cb::gfx::TColor value);
    cb::gfx::TFont& Font() { return *FFont; }
    // Sunken frame (on) or a flat line (off) with bsSingle.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    // dmAutomatic: a press on an item followed by a move past the drag
    // distance drags the selected items.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    // A canvas with the control's font, for measuring (and drawing inside
    // OnDrawItem, where it paints the item).
    cb::gfx::TCanvas& Canvas() { return *FCanvas; }

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int SelCount() const;
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    // Horizontal extent in pixels (0 when not managed).
    int HorizontalExtent() const { return FExtent; }

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
    static const char* ListBoxMimeType();  // "application/x-cubebrowser-list-items"

    QSize sizeHint() const override { return {121, 97}; }

protected:
    friend class TKitListBoxStrings;
    struct Item {
        std::string text;
        void* data = nullptr;
        TCheckBoxState state = cbUnchecked;
        bool enabled = true;
        bool selected = false;
        int height = 16;  // lbOwnerDrawVariable
    };
    std::vector<Item> FItems;

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
    bool IsUpdating() const { return FUpdateCount > 0; }

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

    TKitListBoxStrings FStrings{*this};
    TBorderStyle FBorderStyle = bsSingle;
    int FColumns = 0;
    int FItemHeight = 16;
    TListBoxStyle FStyle = lbStandard;
    bool FIntegralHeight = false;
    bool FAdjustingHeight = false;
    bool FCtl3D = true;
    TDragMode FDragMode = dmManual;
    // A press in progress: tracking the selection, or waiting for a drag.
    bool FTracking = false;
    bool FDragPending = false;
    bool FDeferredPress = false;  // the press on a selected item is still to apply
    QPoint FPressPos;
    int FPressItem = -1;
    Qt::KeyboardModifiers FPressMods;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    int FTabWidth = 0;
    bool FAutoScroll = false;
    bool FGraySelection = false;
    cb::gfx::TColor FColor = cb::gfx::clWindow;
    std::unique_ptr<cb::gfx::TFont> FFont;
    std::unique_ptr<cb::gfx::TCanvas> FCanvas;
    int FItemIndex = -1;
    int FAnchor = -1;
    int FTopIndex = 0;
    int FExtent = 0;
    int FUpdateCount = 0;
};

}  // namespace cb::extras
