#pragma once
// TKitItemsPanel: a panel that shows a list of strings as a stack of equal
// owner-drawn cells, top to bottom (vertical) or left to right (horizontal).
// It answers which cell lies under a point, draws a pressed or hot look on
// the cell under the mouse and reports a click on a cell. It keeps no
// selection. It can be a drag source: a drag carries the item and the
// panel's objectName() under the MIME type of ItemsPanelMimeType().
#include "extras/KitTypes.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Geometry.h"
#include "platform/rtl/StringList.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QMenu;
class QMimeData;

namespace cb::extras {

enum TKitPanelOrientation {
    poHorizontal,
    poVertical
};
enum TAlignment {
    taLeftJustify,
    taRightJustify,
    taCenter
};

// What a drag started by an items panel carries.
struct TKitItemsPanelDragData {
    std::string SourceName;  // the panel's objectName()
    int ItemIndex = -1;
    std::string ItemText;
};

const char* ItemsPanelMimeType();  // "application/x-cubebrowser-dimension-item"
// Reads a drag's data; false when the MIME data is not an items panel's or
// is malformed.
bool DecodeItemsPanelDrag(const QMimeData* mime, TKitItemsPanelDragData& out);

class TKitItemsPanel : public QWidget {
    Q_OBJECT
public:
    using TItemClickEvent = std::function<void(TKitItemsPanel& sender, int itemIndex)>;
    using TMouseEvent =
        std::function<void(TKitItemsPanel& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>;
    using TNotifyEvent = std::function<void(TKitItemsPanel& sender)>;
    // Drag target events: OnDragOver answers whether a drop would be taken.
    using TDragOverEvent = std::function<bool(TKitItemsPanel& sender, const QMimeData* data, int x, int y)>;
    using TDragDropEvent = std::function<void(TKitItemsPanel& sender, const QMimeData* data, int x, int y)>;

    explicit TKitItemsPanel(QWidget* parent = nullptr);
    ~TKitItemsPanel() override;

    // The captions. Changing the list directly neither repaints nor resizes
    // the panel; SetItems does both.
    cb::rtl::TStringList& Items() { return FItems; }
    const cb::rtl::TStringList& Items() const { return FItems; }
    void SetItems(const cb::rtl::TStringList& items);

    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool AutoGrow() const { return FAutoGrow; }
    void SetAutoGrow(bool value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    cb::gfx::TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(cb::gfx::TColor value);
    bool Clickable() const { return FClickable; }
    void SetClickable(bool value);
    TKitPanelOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TKitPanelOrientation value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    cb::gfx::TColor Color() const { return FColor; }
    void SetColor(cb::gfx::TColor value);
    // The text font; changes repaint.
    cb::gfx::TFont& Font() { return *FFont; }
    // Always empty.
    std::string Caption() const { return {}; }

    // Not owned; shown on a right click (context menu request).
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode mode) { FDragMode = mode; }

    // Index of the cell under a client point, or -1.
    int ItemAtPoint(int x, int y) const;
    // The cell's rectangle; all zero for an index out of range.
    cb::gfx::TRect GetItemRect(int index) const;

    // Starts a drag of the item (a nested loop until the drop); returns the
    // action the target took.
    Qt::DropAction BeginDrag(int index);
    // The MIME data a drag of the item carries (caller owns it); nullptr for
    // an index out of range.
    QMimeData* CreateDragData(int index) const;

    TItemClickEvent OnItemClick;
    TMouseEvent OnMouseDown, OnMouseMove, OnMouseUp;
    TNotifyEvent OnDblClick;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

    QSize sizeHint() const override;

protected:
    virtual void ItemClick(int index);
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    enum class TLook {
        Normal,
        Pressed,
        Hot
    };
    void GrowOrRepaint();
    void releaseGrowConstraint();
    void trackCellAt(int x, int y, TLook look);
    int along() const;  // panel length along the stacking direction

    cb::rtl::TStringList FItems;
    int FItemHeight = 16;
    bool FAutoSize = false;
    bool FAutoGrow = false;
    bool FPressed = false;
    bool FClickable = true;
    cb::gfx::TRect FTrackedCell;
    TLook FTrackedLook = TLook::Normal;
    bool FHotTrack = false;
    cb::gfx::TColor FHotTrackColor = cb::gfx::clHighlight;
    TKitPanelOrientation FOrientation = poVertical;
    TAlignment FAlignment = taCenter;
    cb::gfx::TColor FColor = cb::gfx::clBtnFace;
    std::unique_ptr<cb::gfx::TFont> FFont;
    QMenu* FPopupMenu = nullptr;
    TDragMode FDragMode = dmManual;
    QPoint FPressPos;
    int FPressItem = -1;
    bool FGrowConstrained = false;  // the panel set its own fixed length
};

}  // namespace cb::extras
