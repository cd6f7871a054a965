#pragma once
// A bar of nine flat buttons (first, prior, next, last, insert, delete,
// edit, post, cancel) that drive something else; descendants decide what
// each does and when it is enabled. Lays the buttons out, gives them hints,
// handles arrows and space, repeats a held button and listens to a chart.
#include "chart/panel/PlotEvents.h"

#include <QPointer>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QTimer;

namespace cb::chart {
class TCustomPlotPanel;
}

namespace cb::chartexport {

enum TPlotNavigateBtn {
    nbFirst,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel
};
constexpr int PlotNavButtonCount = 9;

class TCustomPlotNavigator;

class TPlotNavButton : public QToolButton {
public:
    TPlotNavButton(TCustomPlotNavigator* navigator, TPlotNavigateBtn index);
    TPlotNavigateBtn Index() const { return FIndex; }
    // The repeat timer while the button is held; nullptr before the first press.
    QTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Tick();
    TCustomPlotNavigator* FNavigator;
    TPlotNavigateBtn FIndex;
    QTimer* FRepeatTimer = nullptr;  // owned through Qt's parent
};

class TCustomPlotNavigator : public QWidget, public cb::chart::TPlotEventListener {
public:
    explicit TCustomPlotNavigator(QWidget* parent = nullptr);
    ~TCustomPlotNavigator() override;

    // Lines replace the default hints of the buttons in order; empty lines
    // keep the default.
    const std::vector<std::string>& Hints() const { return FHints; }
    void SetHints(const std::vector<std::string>& hints);
    int ButtonWidth() const { return FButtonWidth; }
    QSize MinBtnSize() const { return {20, 18}; }
    TPlotNavigateBtn FocusedButton() const { return FFocusedButton; }
    TPlotNavButton* Button(TPlotNavigateBtn b) const { return FButtons[b]; }
    // Aligned: the navigator keeps the width it is given and spreads the
    // remainder over the buttons; otherwise it shrinks to whole buttons.
    bool Aligned() const { return FAligned; }
    void SetAligned(bool on);

    std::function<void(TPlotNavigateBtn)> OnButtonClicked;

    cb::chart::TCustomPlotPanel* Panel() const { return FPanel; }
    virtual void SetPanel(cb::chart::TCustomPlotPanel* panel);
    virtual void EnableButtons() {}
    virtual int PageCount() { return 1; }
    virtual void Print() {}
    virtual void HandleChartEvent(cb::chart::TPlotEvent&) {}
    void HandleEvent(cb::chart::TPlotEvent& event) override { HandleChartEvent(event); }

    // Descendants act first, then call this.
    virtual void BtnClick(TPlotNavigateBtn index);
    // Lays the buttons out for a proposed size; returns the size taken.
    QSize AdjustButtons(int width, int height);

    // Called by the buttons.
    void ButtonPressed(TPlotNavigateBtn index);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    void InitHints();

private:
    int VisibleButtons() const;
    std::array<TPlotNavButton*, PlotNavButtonCount> FButtons{};  // owned through Qt's parent
    std::vector<std::string> FHints;
    int FButtonWidth = 20;
    TPlotNavigateBtn FFocusedButton = nbFirst;
    QPointer<cb::chart::TCustomPlotPanel> FPanel;
    QMetaObject::Connection FPanelGone;
    bool FAligned = false;
    bool FAdjusting = false;
};

}  // namespace cb::chartexport
