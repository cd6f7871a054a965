#include "extras/KitPageControl.h"
#include "platform/rtl/Property.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>

namespace cb::extras {

using namespace cb::gfx;

// The tab bar of a page control: with OwnerDraw the control draws the inside
// of every tab over the frames the style drew.
class TKitTabBar : public QTabBar {
public:
    explicit TKitTabBar(TKitPageControl* owner) : QTabBar(owner), FOwner(owner) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        QTabBar::paintEvent(e);
        if (!FOwner->FOwnerDraw) return;
        QPainter painter(this);
        TCanvas canvas(&painter);
        for (int i = 0; i < count(); ++i) {
            if (!isTabVisible(i)) continue;
            const QRect r = tabRect(i).adjusted(3, 3, -3, -3);
            FOwner->DrawTab(canvas, i, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}, i == currentIndex());
        }
    }

private:
    TKitPageControl* FOwner;
};

TKitPageControl::TKitPageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new TKitTabBar(this));
    FStack = findChild<QStackedWidget*>("qt_tabwidget_stackedwidget", Qt::FindDirectChildrenOnly);
    if (FStack) FStack->installEventFilter(this);
    connect(this, &QTabWidget::currentChanged, this, [this](int) {
        if (OnChange) OnChange(*this);
    });
    if (parent && parent->window()) parent->window()->installEventFilter(this);
    FParentColor.Changed(this);
}

TKitPageControl::~TKitPageControl() {
    FHint.Leave();
}

void TKitPageControl::applyTabs() {
    const int active = currentIndex();
    for (int i = 0; i < count(); ++i) tabBar()->setTabVisible(i, !FHideAllTabs);
    tabBar()->setVisible(!FHideAllTabs);
    if (active >= 0) setCurrentIndex(active);
    if (FHideAllTabs)
        setFocusPolicy(Qt::NoFocus);
    else
        setFocusPolicy(Qt::TabFocus);
}

void TKitPageControl::SetHideAllTabs(bool value) {
    FHideAllTabs = value;
    applyTabs();
}

void TKitPageControl::tabInserted(int index) {
    QTabWidget::tabInserted(index);
    if (FHideAllTabs) applyTabs();
}

void TKitPageControl::SetClientBorderWidth(int value) {
    value = std::max(value, 0);
    cb::rtl::SetProperty(FClientBorderWidth, value, [this] { placePages(); });
}

// The style puts the pages 4 pixels inside the border; a ClientBorderWidth
// other than 4 moves every side out (below 4) or in (above 4).
void TKitPageControl::placePages() {
    if (!FStack || FPlacing) return;
    const QRect now = FStack->geometry();
    if (now != FPlaced) FBase = now;  // placed by the tab widget
    const int d = 4 - FClientBorderWidth;
    const QRect wanted = FBase.adjusted(-d, -d, d, d);
    FPlaced = wanted;
    if (wanted == now) return;
    FPlacing = true;
    FStack->setGeometry(wanted);
    FPlacing = false;
}

void TKitPageControl::SetOwnerDraw(bool value) {
    cb::rtl::SetProperty(FOwnerDraw, value, [this] { tabBar()->update(); });
}

void TKitPageControl::SetDrawTabShadow(bool value) {
    cb::rtl::SetProperty(FDrawTabShadow, value, [this] { tabBar()->update(); });
}

void TKitPageControl::DrawTab(TCanvas& c, int index, TRect rect, bool active) {
    const QFont qf = tabBar()->font();
    c.Font().SetName(qf.family().toStdString());
    if (qf.pixelSize() > 0)
        c.Font().SetHeight(-qf.pixelSize());
    else
        c.Font().SetSize(std::max(1, qf.pointSize()));
    c.Font().SetStyle(0);
    c.Font().SetColor(clBtnText);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clBtnFace);
    const bool enabled = PageEnabled(index);
    if (!enabled) c.Font().SetColor(clGrayText);
    if (!FDrawTabShadow) {
        if (active) c.Font().SetStyle(fsBold);
    } else if (!active) {
        c.Brush().SetColor(clActiveCaption);
        c.Font().SetColor(clInactiveCaptionText);
    }
    if (OnDrawTab) {
        OnDrawTab(*this, index, rect, active, c);
        return;
    }
    c.FillRect(rect);
    TRect text = rect;
    const QIcon icon = tabIcon(index);
    if (!icon.isNull() && c.Painter()) {
        const QSize size = iconSize();
        c.Painter()->save();
        c.Painter()->drawPixmap(rect.Left + 4, rect.Top + 2,
                                icon.pixmap(size, enabled ? QIcon::Normal : QIcon::Disabled));
        c.Painter()->restore();
        text.Left += size.width() + 4;
    }
    text = {text.Left + 2, text.Top + 2, text.Right - 2, text.Bottom - 2};
    c.SetBkMode(TRANSPARENT);
    c.DrawText(tabText(index).toStdString(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TKitPageControl::SetPageEnabled(int index, bool enabled) {
    if (index < 0 || index >= count()) return;
    tabBar()->setTabEnabled(index, enabled);
    if (QWidget* page = widget(index)) page->setEnabled(enabled);
}

bool TKitPageControl::PageEnabled(int index) const {
    return index >= 0 && index < count() && tabBar()->isTabEnabled(index);
}

bool TKitPageControl::SelectNextPage(bool forward) {
    const int n = count();
    const int start = currentIndex();
    if (n == 0 || start < 0) return false;
    for (int step = 1; step < n; ++step) {
        const int i = ((start + (forward ? step : -step)) % n + n) % n;
        if (tabBar()->isTabVisible(i) && tabBar()->isTabEnabled(i)) {
            setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

bool TKitPageControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FStack) {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) placePages();
        return QTabWidget::eventFilter(watched, event);
    }
    if (FHandleGlobalTab && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && (k->modifiers() & Qt::ControlModifier)) {
            const bool back = k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier);
            if (SelectNextPage(!back)) return true;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

void TKitPageControl::enterEvent(QEnterEvent* e) {
    QTabWidget::enterEvent(e);
    FHint.Enter(FHintColor);
    if (OnMouseEnter) OnMouseEnter(*this);
}

void TKitPageControl::leaveEvent(QEvent* e) {
    QTabWidget::leaveEvent(e);
    FHint.Leave();
    if (OnMouseLeave) OnMouseLeave(*this);
}

void TKitPageControl::changeEvent(QEvent* e) {
    QTabWidget::changeEvent(e);
    if ((e->type() == QEvent::PaletteChange || e->type() == QEvent::ParentChange) && FParentColor.Changed(this) &&
        OnParentColorChange)
        OnParentColorChange(*this);
}

}  // namespace cb::extras
