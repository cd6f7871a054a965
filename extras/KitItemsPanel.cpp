#include "extras/KitItemsPanel.h"

#include "platform/gfx/Canvas.h"
#include "platform/rtl/ErrorLog.h"
#include "platform/rtl/Property.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace cb::extras {

using namespace cb::gfx;

namespace {

void frame3D(TCanvas& c, const TRect& r, TColor topLeft, TColor bottomRight) {
    if (r.IsEmpty()) return;
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetColor(topLeft);
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Left, r.Top);
    c.LineTo(r.Right, r.Top);
    c.Pen().SetColor(bottomRight);
    c.MoveTo(r.Right - 1, r.Top);
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Left - 1, r.Bottom - 1);
}

constexpr unsigned kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS;
constexpr qsizetype kMaxDragBytes = 64 * 1024;

}  // namespace

const char* ItemsPanelMimeType() {
    return "application/x-cubebrowser-dimension-item";
}

bool DecodeItemsPanelDrag(const QMimeData* mime, TKitItemsPanelDragData& out) {
    if (!mime || !mime->hasFormat(ItemsPanelMimeType())) return false;
    const QByteArray bytes = mime->data(ItemsPanelMimeType());
    if (bytes.isEmpty() || bytes.size() > kMaxDragBytes) return false;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isObject()) return false;
    const QJsonObject o = doc.object();
    if (!o.value("source").isString() || !o.value("index").isDouble() || !o.value("text").isString()) return false;
    const double index = o.value("index").toDouble();
    if (index < 0 || index > 0x7FFFFFFF || index != double(int(index))) return false;
    out.SourceName = o.value("source").toString().toStdString();
    out.ItemIndex = int(index);
    out.ItemText = o.value("text").toString().toStdString();
    return true;
}

TKitItemsPanel::TKitItemsPanel(QWidget* parent) : QWidget(parent), FFont(std::make_unique<TFont>()) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FFont->OnChange = [this](TGraphicsObject&) { update(); };
}

TKitItemsPanel::~TKitItemsPanel() = default;

void TKitItemsPanel::SetItems(const cb::rtl::TStringList& items) {
    if (&items != &FItems) {  // assigning the panel's own list keeps it
        FItems.Clear();
        FItems.AddStrings(items);
    }
    GrowOrRepaint();
}

void TKitItemsPanel::SetItemHeight(int value) {
    cb::rtl::SetProperty(FItemHeight, value, [this] { GrowOrRepaint(); });
}

void TKitItemsPanel::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    if (value) FItemHeight = along() / (FItems.Count() + 1);
    GrowOrRepaint();
}

void TKitItemsPanel::SetAutoGrow(bool value) {
    if (value == FAutoGrow) return;
    FAutoGrow = value;
    if (value)
        FAutoSize = false;
    else
        releaseGrowConstraint();
    GrowOrRepaint();
}

void TKitItemsPanel::SetHotTrack(bool value) {
    cb::rtl::SetProperty(FHotTrack, value, [this] { update(); });
}

void TKitItemsPanel::SetHotTrackColor(TColor value) {
    cb::rtl::SetProperty(FHotTrackColor, value, [this] { update(); });
}

void TKitItemsPanel::SetClickable(bool value) {
    cb::rtl::SetProperty(FClickable, value, [this] { update(); });
}

void TKitItemsPanel::SetOrientation(TKitPanelOrientation value) {
    if (value == FOrientation) return;
    // The grown length belongs to the stacking direction: give the old axis
    // back before growing along the new one.
    releaseGrowConstraint();
    FOrientation = value;
    GrowOrRepaint();
}

void TKitItemsPanel::SetAlignment(TAlignment value) {
    cb::rtl::SetProperty(FAlignment, value, [this] { update(); });
}

void TKitItemsPanel::SetColor(TColor value) {
    cb::rtl::SetProperty(FColor, value, [this] { update(); });
}

int TKitItemsPanel::along() const {
    return FOrientation == poVertical ? height() : width();
}

void TKitItemsPanel::releaseGrowConstraint() {
    if (!FGrowConstrained) return;
    FGrowConstrained = false;
    if (FOrientation == poVertical) {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void TKitItemsPanel::GrowOrRepaint() {
    if (FAutoGrow && !FItems.Empty()) {
        // The panel fixes its own length along the stacking direction, so a
        // layout honours it instead of resizing it back on every pass; an
        // unchanged length sets nothing.
        const long long want = (long long)FItems.Count() * FItemHeight;
        const int length = int(std::clamp<long long>(want, 0, QWIDGETSIZE_MAX));
        FGrowConstrained = true;
        if (FOrientation == poVertical)
            setFixedHeight(length);
        else
            setFixedWidth(length);
        updateGeometry();
        update();
        return;
    }
    update();
}

QSize TKitItemsPanel::sizeHint() const {
    const int length = FItems.Empty() || FItemHeight <= 0 ? 0 : FItems.Count() * FItemHeight;
    if (FOrientation == poVertical) return {100, std::max(length, 16)};
    return {std::max(length, 16), 50};
}

int TKitItemsPanel::ItemAtPoint(int x, int y) const {
    if (FItemHeight <= 0) return -1;
    const long long extent = (long long)FItems.Count() * FItemHeight;
    if (FOrientation == poVertical) {
        if (y < 0 || y >= extent || x < 0 || x >= width()) return -1;
        return y / FItemHeight;
    }
    if (x < 0 || x >= extent || y < 0 || y >= height()) return -1;
    return x / FItemHeight;
}

TRect TKitItemsPanel::GetItemRect(int index) const {
    if (index < 0 || index >= FItems.Count()) return {};
    // Far cells of huge heights stop at the coordinate limit.
    const auto clampInt = [](long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    const long long start = (long long)index * FItemHeight;
    if (FOrientation == poVertical) return {0, clampInt(start), width(), clampInt(start + FItemHeight)};
    return {clampInt(start), 0, clampInt(start + FItemHeight), height()};
}

void TKitItemsPanel::ItemClick(int index) {
    if (OnItemClick) OnItemClick(*this, index);
}

void TKitItemsPanel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    GrowOrRepaint();
}

void TKitItemsPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas c(&painter);
    c.Brush().SetColor(FColor);
    c.Brush().SetStyle(bsSolid);
    c.FillRect({0, 0, width(), height()});
    const int count = FItems.Count();
    if (count == 0) return;
    int remainder = 0;
    if (FAutoSize) {
        FItemHeight = along() / count;
        remainder = along() - count * FItemHeight;
    }

    auto drawCell = [&](int index, TRect r, TLook look) {
        if (index < 0 || index >= count) return;
        switch (look) {
        case TLook::Normal:
            frame3D(c, r, clBtnHighlight, clBtnShadow);
            break;
        case TLook::Pressed:
            frame3D(c, r, clBtnShadow, clBtnHighlight);
            break;
        case TLook::Hot:
            frame3D(c, r, clWhite, clBlack);
            break;
        }
        c.Font().Assign(*FFont);
        r.Left += c.TextWidth(" ");
        r.Right -= c.TextWidth("  ");
        if (look != TLook::Normal && FHotTrack) c.Font().SetColor(FHotTrackColor);
        unsigned flags = kTextFlags;
        if (FAlignment == taRightJustify)
            flags |= DT_RIGHT;
        else if (FAlignment == taCenter)
            flags |= DT_CENTER;
        c.SetBkMode(TRANSPARENT);
        c.DrawText(FItems[index], r, flags);
    };

    for (int i = 0; i < count; ++i) {
        TRect r = GetItemRect(i);
        if (i == count - 1) {
            if (FOrientation == poVertical)
                r.Bottom += remainder;
            else
                r.Right += remainder;
        }
        drawCell(i, r, TLook::Normal);
    }
    if (FTrackedCell.IsEmpty() || FTrackedLook == TLook::Normal) return;
    if (FTrackedLook == TLook::Pressed && !FClickable) return;
    const int index =
        FOrientation == poVertical ? ItemAtPoint(1, FTrackedCell.Top + 1) : ItemAtPoint(FTrackedCell.Left + 1, 1);
    drawCell(index, FTrackedCell, FTrackedLook);
}

void TKitItemsPanel::trackCellAt(int x, int y, TLook look) {
    FTrackedCell = GetItemRect(ItemAtPoint(x, y));
    FTrackedLook = look;
    update();
}

void TKitItemsPanel::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseDown) OnMouseDown(*this, e->button(), e->modifiers(), p.x(), p.y());
    if (e->button() != Qt::LeftButton) return;
    FPressed = true;
    FPressPos = p;
    FPressItem = ItemAtPoint(p.x(), p.y());
    trackCellAt(p.x(), p.y(), TLook::Pressed);
}

void TKitItemsPanel::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseMove) OnMouseMove(*this, Qt::NoButton, e->modifiers(), p.x(), p.y());
    if (FPressed && FDragMode == dmAutomatic && FPressItem >= 0 && (e->buttons() & Qt::LeftButton) &&
        (p - FPressPos).manhattanLength() >= QApplication::startDragDistance()) {
        const int item = FPressItem;
        FPressed = false;
        FPressItem = -1;
        FTrackedCell = {};
        FTrackedLook = TLook::Normal;
        update();
        BeginDrag(item);
        return;
    }
    if (FPressed)
        trackCellAt(p.x(), p.y(), TLook::Pressed);
    else if (FHotTrack)
        trackCellAt(p.x(), p.y(), TLook::Hot);
}

void TKitItemsPanel::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseUp) OnMouseUp(*this, e->button(), e->modifiers(), p.x(), p.y());
    FTrackedLook = TLook::Normal;
    const bool wasPressed = FPressed;
    FPressed = false;
    FPressItem = -1;
    FTrackedCell = {};
    update();
    if (wasPressed) {
        const int index = ItemAtPoint(p.x(), p.y());
        if (index != -1) ItemClick(index);
    }
}

void TKitItemsPanel::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click is a press as well (the release follows).
    mousePressEvent(e);
    if (OnDblClick) OnDblClick(*this);
}

void TKitItemsPanel::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    FTrackedLook = TLook::Normal;  // the tracked cell stays stored
    update();
}

void TKitItemsPanel::contextMenuEvent(QContextMenuEvent* e) {
    if (FPopupMenu) {
        FPopupMenu->popup(e->globalPos());
        e->accept();
        return;
    }
    QWidget::contextMenuEvent(e);
}

QMimeData* TKitItemsPanel::CreateDragData(int index) const {
    if (index < 0 || index >= FItems.Count()) return nullptr;
    QJsonObject o;
    o.insert("source", objectName());
    o.insert("index", index);
    o.insert("text", QString::fromStdString(FItems[index]));
    auto* mime = new QMimeData;
    mime->setData(ItemsPanelMimeType(), QJsonDocument(o).toJson(QJsonDocument::Compact));
    mime->setText(QString::fromStdString(FItems[index]));
    return mime;
}

Qt::DropAction TKitItemsPanel::BeginDrag(int index) {
    QMimeData* mime = CreateDragData(index);
    if (!mime) return Qt::IgnoreAction;
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    return drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void TKitItemsPanel::dragEnterEvent(QDragEnterEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnDragOver && OnDragOver(*this, e->mimeData(), p.x(), p.y()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void TKitItemsPanel::dragMoveEvent(QDragMoveEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnDragOver && OnDragOver(*this, e->mimeData(), p.x(), p.y()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void TKitItemsPanel::dropEvent(QDropEvent* e) {
    const QPoint p = e->position().toPoint();
    if (!OnDragDrop) {
        e->ignore();
        return;
    }
    try {
        OnDragDrop(*this, e->mimeData(), p.x(), p.y());
        e->acceptProposedAction();
    } catch (...) {
        cb::rtl::LogCurrentException("Dropping on the items panel");
        e->ignore();
    }
}

}  // namespace cb::extras
