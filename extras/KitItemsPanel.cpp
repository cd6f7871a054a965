#include "extras/KitItemsPanel.h"

#include "platform/gfx/Canvas.h"

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
    if (r.IsEmpty())
        return;
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

} // namespace

const char* ItemsPanelMimeType() { return "application/x-cubebrowser-dimension-item"; }

bool DecodeItemsPanelDrag(const QMimeData* mime, TKitItemsPanelDragData& out) {
    if (!mime || !mime->hasFormat(ItemsPanelMimeType()))
        return false;
    const QByteArray bytes = mime->data(ItemsPanelMimeType());
    if (bytes.isEmpty() || bytes.size() > kMaxDragBytes)
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    if (!o.value("source").isString() || !o.value("index").isDouble() || !o.value("text").isString())
        return false;
    const double index = o.value("index").toDouble();
    if (index < 0 || index > 0x7FFFFFFF || index != double(int(index)))
        return false;
    out.SourceName = o.value("source").toString().toStdString();
    out.ItemIndex = int(index);
    out.ItemText = o.value("text").toString().toStdString();
    return true;
}

TKitItemsPanel::TKitItemsPanel(QWidget* parent) : QWidget(parent), fFont(std::make_unique<TFont>()) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    fFont->OnChange = [this](TGraphicsObject&) { update(); };
}

TKitItemsPanel::~TKitItemsPanel() = default;

void TKitItemsPanel::SetItems(const cb::rtl::TStringList& items) {
    if (&items != &fItems) { // assigning the panel's own list keeps it
        fItems.Clear();
        fItems.AddStrings(items);
    }
    GrowOrRepaint();
}

void TKitItemsPanel::SetItemHeight(int value) {
    if (value == fItemHeight)
        return;
    fItemHeight = value;
    GrowOrRepaint();
}

void TKitItemsPanel::SetAutoSize(bool value) {
    if (value == fAutoSize)
        return;
    fAutoSize = value;
    if (value)
        fItemHeight = along() / (fItems.Count() + 1);
    GrowOrRepaint();
}

void TKitItemsPanel::SetAutoGrow(bool value) {
    if (value == fAutoGrow)
        return;
    fAutoGrow = value;
    if (value)
        fAutoSize = false;
    else
        releaseGrowConstraint();
    GrowOrRepaint();
}

void TKitItemsPanel::SetHotTrack(bool value) {
    if (value == fHotTrack)
        return;
    fHotTrack = value;
    update();
}

void TKitItemsPanel::SetHotTrackColor(TColor value) {
    if (value == fHotTrackColor)
        return;
    fHotTrackColor = value;
    update();
}

void TKitItemsPanel::SetClickable(bool value) {
    if (value == fClickable)
        return;
    fClickable = value;
    update();
}

void TKitItemsPanel::SetOrientation(TKitPanelOrientation value) {
    if (value == fOrientation)
        return;
    // The grown length belongs to the stacking direction: give the old axis
    // back before growing along the new one.
    releaseGrowConstraint();
    fOrientation = value;
    GrowOrRepaint();
}

void TKitItemsPanel::SetAlignment(TAlignment value) {
    if (value == fAlignment)
        return;
    fAlignment = value;
    update();
}

void TKitItemsPanel::SetColor(TColor value) {
    if (value == fColor)
        return;
    fColor = value;
    update();
}

int TKitItemsPanel::along() const { return fOrientation == poVertical ? height() : width(); }

void TKitItemsPanel::releaseGrowConstraint() {
    if (!fGrowConstrained)
        return;
    fGrowConstrained = false;
    if (fOrientation == poVertical) {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void TKitItemsPanel::GrowOrRepaint() {
    if (fAutoGrow && !fItems.Empty()) {
        // The panel fixes its own length along the stacking direction, so a
        // layout honours it instead of resizing it back on every pass; an
        // unchanged length sets nothing.
        const long long want = (long long)fItems.Count() * fItemHeight;
        const int length = int(std::clamp<long long>(want, 0, QWIDGETSIZE_MAX));
        fGrowConstrained = true;
        if (fOrientation == poVertical)
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
    const int length = fItems.Empty() || fItemHeight <= 0 ? 0 : fItems.Count() * fItemHeight;
    if (fOrientation == poVertical)
        return {100, std::max(length, 16)};
    return {std::max(length, 16), 50};
}

int TKitItemsPanel::ItemAtPoint(int x, int y) const {
    if (fItemHeight <= 0)
        return -1;
    const long long extent = (long long)fItems.Count() * fItemHeight;
    if (fOrientation == poVertical) {
        if (y < 0 || y >= extent || x < 0 || x >= width())
            return -1;
        return y / fItemHeight;
    }
    if (x < 0 || x >= extent || y < 0 || y >= height())
        return -1;
    return x / fItemHeight;
}

TRect TKitItemsPanel::GetItemRect(int index) const {
    if (index < 0 || index >= fItems.Count())
        return {};
    // Far cells of huge heights stop at the coordinate limit.
    const auto clampInt = [](long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    const long long start = (long long)index * fItemHeight;
    if (fOrientation == poVertical)
        return {0, clampInt(start), width(), clampInt(start + fItemHeight)};
    return {clampInt(start), 0, clampInt(start + fItemHeight), height()};
}

void TKitItemsPanel::ItemClick(int index) {
    if (OnItemClick)
        OnItemClick(*this, index);
}

void TKitItemsPanel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    GrowOrRepaint();
}

void TKitItemsPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas c(&painter);
    c.Brush().SetColor(fColor);
    c.Brush().SetStyle(bsSolid);
    c.FillRect({0, 0, width(), height()});
    const int count = fItems.Count();
    if (count == 0)
        return;
    int remainder = 0;
    if (fAutoSize) {
        fItemHeight = along() / count;
        remainder = along() - count * fItemHeight;
    }

    auto drawCell = [&](int index, TRect r, TLook look) {
        if (index < 0 || index >= count)
            return;
        switch (look) {
        case TLook::Normal: frame3D(c, r, clBtnHighlight, clBtnShadow); break;
        case TLook::Pressed: frame3D(c, r, clBtnShadow, clBtnHighlight); break;
        case TLook::Hot: frame3D(c, r, clWhite, clBlack); break;
        }
        c.Font().Assign(*fFont);
        r.Left += c.TextWidth(" ");
        r.Right -= c.TextWidth("  ");
        if (look != TLook::Normal && fHotTrack)
            c.Font().SetColor(fHotTrackColor);
        unsigned flags = kTextFlags;
        if (fAlignment == taRightJustify)
            flags |= DT_RIGHT;
        else if (fAlignment == taCenter)
            flags |= DT_CENTER;
        c.SetBkMode(TRANSPARENT);
        c.DrawText(fItems[index], r, flags);
    };

    for (int i = 0; i < count; ++i) {
        TRect r = GetItemRect(i);
        if (i == count - 1) {
            if (fOrientation == poVertical)
                r.Bottom += remainder;
            else
                r.Right += remainder;
        }
        drawCell(i, r, TLook::Normal);
    }
    if (fTrackedCell.IsEmpty() || fTrackedLook == TLook::Normal)
        return;
    if (fTrackedLook == TLook::Pressed && !fClickable)
        return;
    const int index = fOrientation == poVertical ? ItemAtPoint(1, fTrackedCell.Top + 1)
                                                 : ItemAtPoint(fTrackedCell.Left + 1, 1);
    drawCell(index, fTrackedCell, fTrackedLook);
}

void TKitItemsPanel::trackCellAt(int x, int y, TLook look) {
    fTrackedCell = GetItemRect(ItemAtPoint(x, y));
    fTrackedLook = look;
    update();
}

void TKitItemsPanel::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(*this, e->button(), e->modifiers(), p.x(), p.y());
    if (e->button() != Qt::LeftButton)
        return;
    fPressed = true;
    fPressPos = p;
    fPressItem = ItemAtPoint(p.x(), p.y());
    trackCellAt(p.x(), p.y(), TLook::Pressed);
}

void TKitItemsPanel::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(*this, Qt::NoButton, e->modifiers(), p.x(), p.y());
    if (fPressed && fDragMode == dmAutomatic && fPressItem >= 0 && (e->buttons() & Qt::LeftButton) &&
        (p - fPressPos).manhattanLength() >= QApplication::startDragDistance()) {
        const int item = fPressItem;
        fPressed = false;
        fPressItem = -1;
        fTrackedCell = {};
        fTrackedLook = TLook::Normal;
        update();
        BeginDrag(item);
        return;
    }
    if (fPressed)
        trackCellAt(p.x(), p.y(), TLook::Pressed);
    else if (fHotTrack)
        trackCellAt(p.x(), p.y(), TLook::Hot);
}

void TKitItemsPanel::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(*this, e->button(), e->modifiers(), p.x(), p.y());
    fTrackedLook = TLook::Normal;
    const bool wasPressed = fPressed;
    fPressed = false;
    fPressItem = -1;
    fTrackedCell = {};
    update();
    if (wasPressed) {
        const int index = ItemAtPoint(p.x(), p.y());
        if (index != -1)
            ItemClick(index);
    }
}

void TKitItemsPanel::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click is a press as well (the release follows).
    mousePressEvent(e);
    if (OnDblClick)
        OnDblClick(*this);
}

void TKitItemsPanel::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    fTrackedLook = TLook::Normal; // the tracked cell stays stored
    update();
}

void TKitItemsPanel::contextMenuEvent(QContextMenuEvent* e) {
    if (fPopupMenu) {
        fPopupMenu->popup(e->globalPos());
        e->accept();
        return;
    }
    QWidget::contextMenuEvent(e);
}

QMimeData* TKitItemsPanel::CreateDragData(int index) const {
    if (index < 0 || index >= fItems.Count())
        return nullptr;
    QJsonObject o;
    o.insert("source", objectName());
    o.insert("index", index);
    o.insert("text", QString::fromStdString(fItems[index]));
    auto* mime = new QMimeData;
    mime->setData(ItemsPanelMimeType(), QJsonDocument(o).toJson(QJsonDocument::Compact));
    mime->setText(QString::fromStdString(fItems[index]));
    return mime;
}

Qt::DropAction TKitItemsPanel::BeginDrag(int index) {
    QMimeData* mime = CreateDragData(index);
    if (!mime)
        return Qt::IgnoreAction;
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
        e->ignore();
    }
}

} // namespace cb::extras
