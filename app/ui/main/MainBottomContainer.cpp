#include "app/ui/main/MainBottomContainer.h"

#include "app/ui/views/MainGraphDisplay.h"

#include <QCloseEvent>

namespace cb::app {

TfrmMainBottomContainer::TfrmMainBottomContainer(QWidget* parent, TDisplayManager* displayManager)
    : TContentForm(parent), FDisplayManager(displayManager) {
    setObjectName("frmMainBottomContainer");
}

TfrmMainBottomContainer::~TfrmMainBottomContainer() {
    FreeChartView();
}

void TfrmMainBottomContainer::ShowChartView(const cb::olap::CubeDef* cubeDef) {
    if (!cubeDef) return;
    FreeChartView();
    FChartView = std::make_unique<TfrmMainGraphDisplay>(this, FDisplayManager);
    FChartView->ApplyTheme(Theme());
    FChartView->ShowDocked();
    show();
}

void TfrmMainBottomContainer::ClearContent() {
    FreeChartView();
    show();
}

void TfrmMainBottomContainer::FreeChartView() {
    FChartView.reset();
}

cb::chart::TChart* TfrmMainBottomContainer::GetChart() const {
    return FChartView ? FChartView->chartGraph() : nullptr;
}

void TfrmMainBottomContainer::closeEvent(QCloseEvent* event) {
    setResult(QDialog::Accepted);
    event->accept();
}

}  // namespace cb::app
