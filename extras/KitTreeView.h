#pragma once
// TKitTreeView: a tree with a check box per node (when Checkboxes is on),
// its own multiple selection kept as a list of nodes, scrolling while
// something is dragged over its top or bottom edge, a pop-up menu per node
// shown on a right click, and a link that shows the page of a page control
// whose caption is the selected node's text.
#include "extras/KitHover.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"

#include <QPointer>

#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QTabWidget;

namespace cb::extras {

class TKitTreeView;

// State bits of an item being drawn.
enum : unsigned {
    cdsSelected = 1,
    cdsGrayed = 2,
    cdsDisabled = 4,
    cdsChecked = 8,
    cdsFocused = 16,
    cdsHot = 64
};
using TCustomDrawState = unsigned;

// A node: text, the caller's object (not owned) and its own pop-up menu
// (made on first use, owned by the tree view).
class TKitTreeNode : public QTreeWidgetItem {
public:
    TKitTreeNode(const std::string& text, void* data);
    ~TKitTreeNode() override;
    std::string Text() const { return text(0).toStdString(); }
    void* Data() const { return FData; }
    void SetData(void* data) { FData = data; }
    TKitTreeNode* Parent() const { return static_cast<TKitTreeNode*>(parent()); }
    int Count() const { return childCount(); }
    TKitTreeNode* Item(int index) const { return static_cast<TKitTreeNode*>(child(index)); }
    QMenu* PopupMenu();

private:
    friend class TKitTreeView;
    void* FData;
    QMenu* FMenu = nullptr;
};

class TKitTreeView : public QTreeWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TKitTreeView& sender)>;
    using TPageChangedEvent = std::function<void(TKitTreeView& sender, TKitTreeNode* item, QWidget* page)>;
    // Called before an item is drawn, with the canvas's font and brush set
    // for it: the default drawing then takes the font's colour and style and
    // the brush colour; clearing defaultDraw leaves the item to the handler
    // (its rectangle is visualItemRect(node)).
    using TCustomDrawItemEvent = std::function<void(TKitTreeView& sender, TKitTreeNode* node, TCustomDrawState state,
                                                    cb::gfx::TCanvas& canvas, bool& defaultDraw)>;

    explicit TKitTreeView(QWidget* parent = nullptr);
    ~TKitTreeView() override;

    // Nodes: a root node or a child with an object; all nodes in display
    // order (depth first); the first node.
    TKitTreeNode* AddRootNode(const std::string& text, void* data = nullptr);
    TKitTreeNode* AddChildNode(TKitTreeNode* parent, const std::string& text, void* data = nullptr);
    int NodeCount() const;
    TKitTreeNode* Node(int index) const;
    TKitTreeNode* GetFirstNode() const;
    void FullCollapse() { collapseAll(); }
    void ClearNodes();
    TKitTreeNode* Selected() const;
    void SetSelected(TKitTreeNode* node);

    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool value);
    // A node whose box was never set reads unchecked.
    bool GetNodeChecked(const TKitTreeNode* node) const;
    void SetNodeChecked(TKitTreeNode* node, bool checked);

    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    // -1 while MultiSelect is off.
    int SelectedCount() const { return FMultiSelect ? int(FSelected.size()) : -1; }
    TKitTreeNode* SelectedNode(int index) const { return FSelected.at(std::size_t(index)); }
    bool IsSelected(const TKitTreeNode* node) const;
    void ClearSelection();

    bool AutoDragScroll() const { return FAutoDragScroll; }
    void SetAutoDragScroll(bool value) { FAutoDragScroll = value; }
    // -1 up, 0 none, 1 down while a drag is over the edges.
    int DragScrollDirection() const { return FDragScroll; }
    // The drag position is at y in the viewport (also used by drag events).
    void DragOverAt(int y);
    void DragEnded() { setDragScroll(0); }
    cb::gfx::TColor HintColor() const { return FHintColor; }
    void SetHintColor(cb::gfx::TColor value) { FHintColor = value; }
    // Off: F2 or a click on the selected node edits its text.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // Sunken frame (on) or a flat line (off); a change fires OnCtl3DChanged.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool MouseOver() const { return FMouseOver; }
    // Off: listed nodes keep a grey highlight while the control has no focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    // Selecting a node shows the last page whose caption is the node's text
    // (not owned; cleared when the page control goes).
    QTabWidget* PageControl() const { return FPageControl; }
    void SetPageControl(QTabWidget* pages) { FPageControl = pages; }

    TNotifyEvent OnSelectionChange, OnChange;
    TNotifyEvent OnEditCancelled, OnHorizontalScroll, OnVerticalScroll;
    TNotifyEvent OnMouseEnter, OnMouseLeave, OnParentColorChange, OnCtl3DChanged;
    TPageChangedEvent OnPageChanged;
    TCustomDrawItemEvent OnCustomDrawItem;
    // The node under the mouse (drawn hot), or nullptr.
    TKitTreeNode* HotNode() const;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class TKitTreeNode;
    friend class TKitTreeItemDelegate;
    // Paints one item through the custom drawing; false leaves it to the
    // plain delegate.
    enum class TItemPaint {
        Plain,
        Skip,
        Custom
    };
    TItemPaint paintItem(QPainter* painter, QStyleOptionViewItem& option, const QModelIndex& index) const;
    void setHot(const QModelIndex& index);
    void toggleSelected(TKitTreeNode* node);
    void addSelected(TKitTreeNode* node);
    void setDragScroll(int direction);
    void forget(QTreeWidgetItem* item);
    void showLinkedPage(TKitTreeNode* node);
    void scrolled(Qt::Orientation orientation);
    TKitTreeNode* newNode(const std::string& text, void* data);

    bool FCheckboxes = false;
    bool FMultiSelect = false;
    bool FAutoDragScroll = false;
    int FDragScroll = 0;
    QTimer FScrollTimer;
    std::vector<TKitTreeNode*> FSelected;  // not owned
    bool FPendingSelect = false, FPendingClear = false;
    cb::gfx::TColor FHintColor = cb::gfx::clInfoBk;
    bool FReadOnly = false;
    bool FCtl3D = true;
    bool FMouseOver = false;
    QPersistentModelIndex FHot;
    bool FHideSelection = true;
    QPointer<QTabWidget> FPageControl;
    TKitHintSwap FHint;
    TKitParentColorWatch FParentColor;
};

}  // namespace cb::extras
