#pragma once
// TKitPageControl: a page control that can hide all its tabs (so a wizard
// switches pages from code), narrow or widen the border around the pages,
// refuse disabled pages, draw its tabs itself in two looks and show its own
// hint colour while the mouse is over it.
#include "extras/KitHover.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

#include <QRect>
#include <QTabWidget>

#include <functional>

namespace cb::extras {

class TKitPageControl : public QTabWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TKitPageControl& sender)>;
    // Owner-drawn tabs: the canvas comes with the tab's font and brush set.
    using TDrawTabEvent = std::function<void(TKitPageControl& control, int tabIndex, const cb::gfx::TRect& rect,
                                             bool active, cb::gfx::TCanvas& canvas)>;

    explicit TKitPageControl(QWidget* parent = nullptr);
    ~TKitPageControl() override;

    bool HideAllTabs() const { return FHideAllTabs; }
    void SetHideAllTabs(bool value);
    // Pixels around the pages (4 by default; 0 lets the pages cover the
    // border).
    int ClientBorderWidth() const { return FClientBorderWidth; }
    void SetClientBorderWidth(int value);
    bool HandleGlobalTab() const { return FHandleGlobalTab; }
    void SetHandleGlobalTab(bool value) { FHandleGlobalTab = value; }
    cb::gfx::TColor HintColor() const { return FHintColor; }
    void SetHintColor(cb::gfx::TColor value) { FHintColor = value; }
    // The control draws the inside of each tab (DrawTab).
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // Owner-drawn tabs: the inactive tabs in the caption colours.
    bool DrawTabShadow() const { return FDrawTabShadow; }
    void SetDrawTabShadow(bool value);

    int PageCount() const { return count(); }
    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePageIndex(int index) { setCurrentIndex(index); }
    // A disabled page's tab cannot be chosen by the user.
    void SetPageEnabled(int index, bool enabled);
    bool PageEnabled(int index) const;
    // Ctrl+Tab from anywhere on the window: the next enabled page with a
    // visible tab (backwards with Shift); false when none.
    bool SelectNextPage(bool forward);

    TNotifyEvent OnChange;
    TNotifyEvent OnMouseEnter, OnMouseLeave, OnParentColorChange;
    TDrawTabEvent OnDrawTab;

protected:
    friend class TKitTabBar;
    // Draws tab `index` inside rect on the canvas (owner-drawn tabs).
    virtual void DrawTab(cb::gfx::TCanvas& canvas, int index, cb::gfx::TRect rect, bool active);
    void tabInserted(int index) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void applyTabs();
    void placePages();
    bool FHideAllTabs = false;
    int FClientBorderWidth = 4;
    bool FHandleGlobalTab = false;
    bool FOwnerDraw = false;
    bool FDrawTabShadow = false;
    cb::gfx::TColor FHintColor = cb::gfx::clInfoBk;
    TKitHintSwap FHint;
    TKitParentColorWatch FParentColor;
    QWidget* FStack = nullptr;  // the pages' container, QTabWidget's own
    QRect FBase;                // the container's geometry as the tab widget set it
    QRect FPlaced;              // the container's geometry we last set
    bool FPlacing = false;
};

}  // namespace cb::extras
