#pragma once
// TKitPageControl: a page control that can hide all its tabs (so a wizard
// switches pages from code), narrow or widen the border around the pages
// and refuse disabled pages.
#include "platform/gfx/Color.h"

#include <QTabWidget>

#include <functional>

namespace cb::extras {

class TKitPageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TKitPageControl(QWidget* parent = nullptr);

    bool HideAllTabs() const { return fHideAllTabs; }
    void SetHideAllTabs(bool value);
    // Pixels around the pages (4 by default).
    int ClientBorderWidth() const { return fClientBorderWidth; }
    void SetClientBorderWidth(int value);
    bool HandleGlobalTab() const { return fHandleGlobalTab; }
    void SetHandleGlobalTab(bool value) { fHandleGlobalTab = value; }
    cb::gfx::TColor HintColor() const { return fHintColor; }
    void SetHintColor(cb::gfx::TColor value) { fHintColor = value; }

    int PageCount() const { return count(); }
    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePageIndex(int index) { setCurrentIndex(index); }
    // A disabled page's tab cannot be chosen by the user.
    void SetPageEnabled(int index, bool enabled);
    // Ctrl+Tab from anywhere on the window: the next enabled page with a
    // visible tab (backwards with Shift); false when none.
    bool SelectNextPage(bool forward);

    std::function<void(TKitPageControl&)> OnChange;

protected:
    void tabInserted(int index) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyTabs();
    bool fHideAllTabs = false;
    int fClientBorderWidth = 4;
    bool fHandleGlobalTab = false;
    cb::gfx::TColor fHintColor = cb::gfx::clInfoBk;
};

} // namespace cb::extras
