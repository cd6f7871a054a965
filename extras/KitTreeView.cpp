#include "extras/KitTreeView.h"
#include "platform/rtl/Property.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabWidget>

#include <algorithm>

namespace cb::extras {

TKitTreeNode::TKitTreeNode(const std::string& text, void* data) : FData(data) {
    setText(0, QString::fromStdString(text));
}

TKitTreeNode::~TKitTreeNode() {
    // A deleted node leaves the selection list, and so do its children,
    // which the base class deletes detached from the tree.
    if (auto* tree = qobject_cast<TKitTreeView*>(treeWidget())) {
        std::vector<QTreeWidgetItem*> pending{this};
        while (!pending.empty()) {
            QTreeWidgetItem* item = pending.back();
            pending.pop_back();
            tree->forget(item);
            for (int i = 0; i < item->childCount(); ++i) pending.push_back(item->child(i));
        }
    }
}

QMenu* TKitTreeNode::PopupMenu() {
    if (!FMenu) FMenu = new QMenu(treeWidget());  // freed with the tree view
    return FMenu;
}

// Draws items through the tree's custom drawing.
class TKitTreeItemDelegate : public QStyledItemDelegate {
public:
    explicit TKitTreeItemDelegate(TKitTreeView* tree) : QStyledItemDelegate(tree), FTree(tree) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        switch (FTree->paintItem(painter, opt, index)) {
        case TKitTreeView::TItemPaint::Plain:
            QStyledItemDelegate::paint(painter, option, index);
            break;
        case TKitTreeView::TItemPaint::Skip:
            break;
        case TKitTreeView::TItemPaint::Custom:
            QStyledItemDelegate::paint(painter, opt, index);
            break;
        }
    }

private:
    TKitTreeView* FTree;
};

TKitTreeView::TKitTreeView(QWidget* parent) : QTreeWidget(parent) {
    setItemDelegate(new TKitTreeItemDelegate(this));
    viewport()->setMouseTracking(true);  // the hot item
    // Clearing the tree deletes the nodes detached from it.
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this]() { FSelected.clear(); });
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    // Scrolling by the user (arrows, pages, thumb, wheel) or by the drag
    // timer is reported once the view has moved.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int) { scrolled(Qt::Vertical); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int) { scrolled(Qt::Horizontal); });
    FParentColor.Changed(this);
    FScrollTimer.setInterval(200);
    connect(&FScrollTimer, &QTimer::timeout, this, [this]() {
        QScrollBar* v = verticalScrollBar();
        v->triggerAction(FDragScroll < 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (FMultiSelect) {
            if (FPendingClear) ClearSelection();
            if (FPendingSelect && current) addSelected(static_cast<TKitTreeNode*>(current));
            FPendingClear = FPendingSelect = false;
        }
        if (OnChange) OnChange(*this);
        showLinkedPage(static_cast<TKitTreeNode*>(current));
    });
}

TKitTreeView::~TKitTreeView() {
    FHint.Leave();
    FSelected.clear();
}

TKitTreeNode* TKitTreeView::newNode(const std::string& text, void* data) {
    auto* node = new TKitTreeNode(text, data);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    if (FCheckboxes) node->setCheckState(0, Qt::Unchecked);
    return node;
}

TKitTreeNode* TKitTreeView::AddRootNode(const std::string& text, void* data) {
    auto* node = newNode(text, data);
    addTopLevelItem(node);
    return node;
}

TKitTreeNode* TKitTreeView::AddChildNode(TKitTreeNode* parent, const std::string& text, void* data) {
    if (!parent) return AddRootNode(text, data);
    auto* node = newNode(text, data);
    parent->addChild(node);
    return node;
}

void TKitTreeView::showLinkedPage(TKitTreeNode* node) {
    if (!FPageControl || !node) return;
    const QString caption = node->text(0);
    for (int i = FPageControl->count() - 1; i >= 0; --i)
        if (FPageControl->tabText(i) == caption) {
            FPageControl->setCurrentIndex(i);
            if (OnPageChanged) OnPageChanged(*this, node, FPageControl->widget(i));
            return;
        }
}

void TKitTreeView::scrolled(Qt::Orientation orientation) {
    // The slider applies the action after this signal: report afterwards.
    QMetaObject::invokeMethod(
        this,
        [this, orientation]() {
            const TNotifyEvent& event = orientation == Qt::Vertical ? OnVerticalScroll : OnHorizontalScroll;
            if (event) event(*this);
        },
        Qt::QueuedConnection);
}

void TKitTreeView::SetReadOnly(bool value) {
    FReadOnly = value;
    setEditTriggers(value ? QAbstractItemView::NoEditTriggers
                          : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
}

void TKitTreeView::SetCtl3D(bool value) {
    if (value == FCtl3D) return;
    FCtl3D = value;
    setFrameShadow(value ? QFrame::Sunken : QFrame::Plain);
    if (OnCtl3DChanged) OnCtl3DChanged(*this);
}

void TKitTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::RevertModelCache && OnEditCancelled) OnEditCancelled(*this);
}

void TKitTreeView::enterEvent(QEnterEvent* e) {
    QTreeWidget::enterEvent(e);
    FMouseOver = true;
    FHint.Enter(FHintColor);
    if (FMultiSelect) viewport()->update();
    if (OnMouseEnter) OnMouseEnter(*this);
}

void TKitTreeView::leaveEvent(QEvent* e) {
    QTreeWidget::leaveEvent(e);
    setHot({});
    FMouseOver = false;
    FHint.Leave();
    if (FMultiSelect) viewport()->update();
    if (OnMouseLeave) OnMouseLeave(*this);
}

void TKitTreeView::changeEvent(QEvent* e) {
    QTreeWidget::changeEvent(e);
    if ((e->type() == QEvent::PaletteChange || e->type() == QEvent::ParentChange) && FParentColor.Changed(this) &&
        OnParentColorChange)
        OnParentColorChange(*this);
}

int TKitTreeView::NodeCount() const {
    int n = 0;
    for (QTreeWidgetItemIterator it(const_cast<TKitTreeView*>(this)); *it; ++it) ++n;
    return n;
}

TKitTreeNode* TKitTreeView::Node(int index) const {
    int n = 0;
    for (QTreeWidgetItemIterator it(const_cast<TKitTreeView*>(this)); *it; ++it)
        if (n++ == index) return static_cast<TKitTreeNode*>(*it);
    return nullptr;
}

TKitTreeNode* TKitTreeView::GetFirstNode() const {
    return static_cast<TKitTreeNode*>(topLevelItem(0));
}

void TKitTreeView::ClearNodes() {
    FSelected.clear();
    clear();
}

TKitTreeNode* TKitTreeView::Selected() const {
    return static_cast<TKitTreeNode*>(currentItem());
}

void TKitTreeView::SetSelected(TKitTreeNode* node) {
    setCurrentItem(node);
}

void TKitTreeView::SetCheckboxes(bool value) {
    FCheckboxes = value;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if (value) {
            if ((*it)->data(0, Qt::CheckStateRole).isNull()) (*it)->setCheckState(0, Qt::Unchecked);
        } else {
            (*it)->setData(0, Qt::CheckStateRole, QVariant());
        }
    }
}

bool TKitTreeView::GetNodeChecked(const TKitTreeNode* node) const {
    return node && node->checkState(0) == Qt::Checked;
}

void TKitTreeView::SetNodeChecked(TKitTreeNode* node, bool checked) {
    if (node) node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void TKitTreeView::SetMultiSelect(bool value) {
    if (value == FMultiSelect) return;
    FPendingClear = FPendingSelect = false;
    ClearSelection();
    FMultiSelect = value;
    // The list alone shows as selected; the current node is still tracked.
    if (value) selectionModel()->clearSelection();
    setSelectionMode(value ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    if (!value && currentItem()) currentItem()->setSelected(true);
    viewport()->update();
}

bool TKitTreeView::IsSelected(const TKitTreeNode* node) const {
    return std::find(FSelected.begin(), FSelected.end(), node) != FSelected.end();
}

void TKitTreeView::ClearSelection() {
    if (FSelected.empty()) return;
    if (OnSelectionChange) OnSelectionChange(*this);
    FSelected.clear();
    viewport()->update();
}

void TKitTreeView::addSelected(TKitTreeNode* node) {
    if (!node || IsSelected(node)) return;
    FSelected.push_back(node);
    viewport()->update(visualItemRect(node));
    if (OnSelectionChange) OnSelectionChange(*this);
}

void TKitTreeView::toggleSelected(TKitTreeNode* node) {
    if (!node) return;
    if (IsSelected(node)) {
        std::erase(FSelected, node);
        viewport()->update(visualItemRect(node));
        if (OnSelectionChange) OnSelectionChange(*this);
    } else {
        addSelected(node);
    }
}

void TKitTreeView::forget(QTreeWidgetItem* item) {
    std::erase(FSelected, static_cast<TKitTreeNode*>(item));
}

void TKitTreeView::mousePressEvent(QMouseEvent* e) {
    FPendingClear = FPendingSelect = false;
    if (FMultiSelect && e->button() == Qt::LeftButton) {
        if (auto* node = static_cast<TKitTreeNode*>(itemAt(e->position().toPoint()))) {
            if (e->modifiers() & Qt::ControlModifier) {
                toggleSelected(node);
            } else {
                ClearSelection();
                addSelected(node);
            }
        }
    }
    if (e->button() == Qt::RightButton)
        if (auto* node = itemAt(e->position().toPoint())) setCurrentItem(node);
    QTreeWidget::mousePressEvent(e);
}

void TKitTreeView::keyPressEvent(QKeyEvent* e) {
    if (FMultiSelect && !(e->modifiers() & Qt::AltModifier)) {
        if (e->key() == Qt::Key_Space) {
            toggleSelected(Selected());
            e->accept();
            return;
        }
        FPendingSelect = true;
        FPendingClear = !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    } else if (FCheckboxes && e->key() == Qt::Key_Space && Selected()) {
        SetNodeChecked(Selected(), !GetNodeChecked(Selected()));
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
    FPendingClear = FPendingSelect = false;
}

void TKitTreeView::contextMenuEvent(QContextMenuEvent* e) {
    auto* node = static_cast<TKitTreeNode*>(itemAt(e->pos()));
    if (node && node->FMenu && !node->FMenu->isEmpty()) {
        node->FMenu->popup(e->globalPos());
        e->accept();
        return;
    }
    QTreeWidget::contextMenuEvent(e);
}

void TKitTreeView::setDragScroll(int direction) {
    if (direction == FDragScroll) return;
    FDragScroll = direction;
    if (direction != 0)
        FScrollTimer.start();
    else
        FScrollTimer.stop();
}

void TKitTreeView::DragOverAt(int y) {
    if (!FAutoDragScroll) {
        setDragScroll(0);
        return;
    }
    if (y <= 19)
        setDragScroll(-1);
    else if (y > viewport()->height() - 20)
        setDragScroll(1);
    else
        setDragScroll(0);
}

void TKitTreeView::dragMoveEvent(QDragMoveEvent* e) {
    DragOverAt(e->position().toPoint().y());
    QTreeWidget::dragMoveEvent(e);
}

void TKitTreeView::dragLeaveEvent(QDragLeaveEvent* e) {
    DragEnded();
    QTreeWidget::dragLeaveEvent(e);
}

void TKitTreeView::dropEvent(QDropEvent* e) {
    DragEnded();
    QTreeWidget::dropEvent(e);
}

TKitTreeNode* TKitTreeView::HotNode() const {
    return FHot.isValid() ? static_cast<TKitTreeNode*>(itemFromIndex(FHot)) : nullptr;
}

void TKitTreeView::setHot(const QModelIndex& index) {
    const QModelIndex hot = index.isValid() ? index.siblingAtColumn(0) : QModelIndex();
    if (hot == FHot) return;
    if (FHot.isValid()) viewport()->update(visualRect(FHot));
    FHot = hot;
    if (FHot.isValid()) viewport()->update(visualRect(FHot));
}

void TKitTreeView::mouseMoveEvent(QMouseEvent* e) {
    setHot(indexAt(e->position().toPoint()));
    QTreeWidget::mouseMoveEvent(e);
}

void TKitTreeView::SetHideSelection(bool value) {
    cb::rtl::SetProperty(FHideSelection, value, [this] { viewport()->update(); });
}

TKitTreeView::TItemPaint TKitTreeView::paintItem(QPainter* painter, QStyleOptionViewItem& opt,
                                                 const QModelIndex& index) const {
    using namespace cb::gfx;
    if (!FMultiSelect && !OnCustomDrawItem) return TItemPaint::Plain;
    auto* node = static_cast<TKitTreeNode*>(itemFromIndex(index));
    if (!node || index.column() != 0) return TItemPaint::Plain;
    const bool current = node == currentItem();
    TCustomDrawState state = 0;
    if (selectionModel()->isSelected(index) || (FMultiSelect && current)) state |= cdsSelected;
    if (current && hasFocus()) state |= cdsFocused;
    if (!(opt.state & QStyle::State_Enabled) || !(node->flags() & Qt::ItemIsEnabled)) state |= cdsDisabled;
    if (node->data(0, Qt::CheckStateRole).toInt() == Qt::Checked) state |= cdsChecked;
    if (FHot.isValid() && FHot == index) state |= cdsHot;

    const TColor fontColor = FromQColor(palette().color(QPalette::Text));
    const TColor color = FromQColor(palette().color(QPalette::Base));
    bool defaultDraw = true;
    TColor textColor = fontColor, background = color;
    TFontStyles styles = 0;
    painter->save();
    {
        TCanvas c(painter);
        TFontStyles own = 0;
        if (opt.font.bold()) own |= fsBold;
        if (opt.font.italic()) own |= fsItalic;
        if (opt.font.underline()) own |= fsUnderline;
        if (opt.font.strikeOut()) own |= fsStrikeOut;
        c.Font().SetName(opt.font.family().toStdString());
        c.Font().SetHeight(QFontInfo(opt.font).pixelSize());
        c.Font().SetStyle(own);
        c.Font().SetColor(fontColor);
        c.Brush().SetColor(color);
        if (FMultiSelect) {
            if (state & cdsHot) {
                c.Font().SetStyle(c.Font().Style() | fsUnderline);
                c.Font().SetColor(state & cdsSelected ? clHighlightText : clHighlight);
            }
            if (!IsSelected(node)) {
                c.Font().SetColor(fontColor);
                c.Brush().SetColor(color);
            } else if (hasFocus()) {
                c.Font().SetColor(clHighlightText);
                c.Brush().SetColor(clHighlight);
            } else if (!FHideSelection) {
                c.Font().SetColor(fontColor);
                c.Brush().SetColor(clInactiveBorder);
            }
        }
        if (OnCustomDrawItem) OnCustomDrawItem(*const_cast<TKitTreeView*>(this), node, state, c, defaultDraw);
        textColor = c.Font().Color();
        styles = c.Font().Style();
        background = c.Brush().Color();
    }
    painter->restore();
    if (!defaultDraw) return TItemPaint::Skip;
    // The canvas's look replaces the selection highlight.
    opt.state &= ~QStyle::State_Selected;
    opt.font.setBold(styles & fsBold);
    opt.font.setItalic(styles & fsItalic);
    opt.font.setUnderline(styles & fsUnderline);
    opt.font.setStrikeOut(styles & fsStrikeOut);
    opt.fontMetrics = QFontMetrics(opt.font);
    for (auto role : {QPalette::Text, QPalette::HighlightedText, QPalette::WindowText})
        opt.palette.setColor(role, ToQColor(textColor));
    painter->fillRect(opt.rect, ToQColor(background));
    return TItemPaint::Custom;
}

}  // namespace cb::extras
