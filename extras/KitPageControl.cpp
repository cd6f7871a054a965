#include "extras/KitPageControl.h"

#include <QKeyEvent>
#include <QStackedWidget>
#include <QTabBar>

namespace cb::extras {

TKitPageControl::TKitPageControl(QWidget* parent) : QTabWidget(parent) {
    connect(this, &QTabWidget::currentChanged, this, [this](int) {
        if (OnChange)
            OnChange(*this);
    });
    if (parent && parent->window())
        parent->window()->installEventFilter(this);
    SetClientBorderWidth(4);
}

void TKitPageControl::applyTabs() {
    const int active = currentIndex();
    for (int i = 0; i < count(); ++i)
        tabBar()->setTabVisible(i, !fHideAllTabs);
    tabBar()->setVisible(!fHideAllTabs);
    if (active >= 0)
        setCurrentIndex(active);
    if (fHideAllTabs)
        setFocusPolicy(Qt::NoFocus);
    else
        setFocusPolicy(Qt::TabFocus);
}

void TKitPageControl::SetHideAllTabs(bool value) {
    fHideAllTabs = value;
    applyTabs();
}

void TKitPageControl::tabInserted(int index) {
    QTabWidget::tabInserted(index);
    if (fHideAllTabs)
        applyTabs();
}

void TKitPageControl::SetClientBorderWidth(int value) {
    fClientBorderWidth = std::max(value, 0);
    if (auto* stack = findChild<QStackedWidget*>())
        stack->setContentsMargins(fClientBorderWidth - 4, fClientBorderWidth - 4, fClientBorderWidth - 4,
                                  fClientBorderWidth - 4);
    setDocumentMode(fClientBorderWidth == 0);
}

void TKitPageControl::SetPageEnabled(int index, bool enabled) {
    if (index < 0 || index >= count())
        return;
    tabBar()->setTabEnabled(index, enabled);
    if (QWidget* page = widget(index))
        page->setEnabled(enabled);
}

bool TKitPageControl::SelectNextPage(bool forward) {
    const int n = count();
    const int start = currentIndex();
    if (n == 0 || start < 0)
        return false;
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
    if (fHandleGlobalTab && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && (k->modifiers() & Qt::ControlModifier)) {
            const bool back = k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier);
            if (SelectNextPage(!back))
                return true;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

} // namespace cb::extras
