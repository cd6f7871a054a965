// STAND-IN panes; see StandInViews.h.
#include "app/ui/StandInViews.h"

#include "app/core/DisplayManager.h"
#include "grid/ExtStringGrid.h"

#include <QLabel>
#include <QVBoxLayout>

namespace cb::app {

TStandInGridDisplay::TStandInGridDisplay(QWidget* parent) : TContentForm(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* header = new QWidget(this);
    header->setFixedHeight(26);
    lblCubeName = new QLabel("Cube Name", header);
    lblCubeName->move(168, 8);
    lblCubeName->setToolTip("Current cube name");
    lblLastProcessed = new QLabel("Last Processed:", header);
    lblLastProcessed->move(248, 8);
    lblLastProcessed->setToolTip("Last time the cube was processed");
    layout->addWidget(header);
    gridDisplay = new cb::grid::TExtStringGrid(this);
    gridDisplay->setObjectName("gridDisplay");
    layout->addWidget(gridDisplay, 1);
    gridDisplay->OnDblClickCell = [this](QObject*, int row, int col) {
        if (!FDisplayManager || !FDisplayManager->IsCubeOpen()) return;
        const std::string key = FDisplayManager->GetCellKey(col, row);
        if (key.empty() || key == "d" || key == "-1" || TDisplayManager::IsDimensionKey(key)) return;
        FDisplayManager->ToggleDrillDown(key);
    };
}

void TStandInGridDisplay::SetCubeName(const std::string& text) {
    lblCubeName->setText(QString::fromStdString(text));
    lblCubeName->adjustSize();
    lblLastProcessed->move(lblCubeName->x() + lblCubeName->width() + 7, lblLastProcessed->y());
}

void TStandInGridDisplay::SetLastProcessed(const std::string& text) {
    lblLastProcessed->setText(QString::fromStdString("Last Processed: " + text));
    lblLastProcessed->adjustSize();
}

void TStandInGridDisplay::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
}

}  // namespace cb::app
