#include "app/ui/main/HomeContainer.h"

#include "app/ui/views/GridDisplay.h"
#include "app/ui/main/MainNoCubeOpen.h"

#include <QCloseEvent>

namespace cb::app {

TfrmHomeContainer::TfrmHomeContainer(QWidget* parent, TDisplayManager* displayManager, TAppContext context)
    : TContentForm(parent), FDisplayManager(displayManager), FContext(context) {
    setObjectName("frmHomeContainer");
}

TfrmHomeContainer::~TfrmHomeContainer() {
    FreeContent();
}

void TfrmHomeContainer::ShowNoCubePage() {
    FreeContent();
    FNoCubePage = std::make_unique<TfrmMainNoCubeOpen>(this);
    FNoCubePage->ApplyTheme(Theme());
    FNoCubePage->OnOpenCube = OnOpenCube;
    FNoCubePage->ShowDocked();
    show();
    FState = hcsNoCubePage;
}

void TfrmHomeContainer::ShowGridView() {
    FreeContent();
    FGridView = std::make_unique<TfrmGridDisplay>(this, FDisplayManager, FContext);
    FGridView->ApplyTheme(Theme());
    FGridView->ShowDocked();
    show();
    FState = hcsGridView;
}

void TfrmHomeContainer::FreeContent() {
    FNoCubePage.reset();
    FGridView.reset();
}

cb::grid::TExtStringGrid* TfrmHomeContainer::GetGrid() const {
    return FGridView ? FGridView->gridDisplay : nullptr;
}

void TfrmHomeContainer::SetCubeName(const std::string& text) {
    if (FGridView) FGridView->SetCubeName(text);
}

void TfrmHomeContainer::SetLastProcessed(const std::string& text) {
    if (FGridView) FGridView->SetLastProcessed(text);
}

void TfrmHomeContainer::ClearContent() {
    if (FState == hcsNoCubePage || FState == hcsGridView) FreeContent();
    FState = hcsNothing;
}

void TfrmHomeContainer::closeEvent(QCloseEvent* event) {
    ClearContent();
    setResult(QDialog::Accepted);
    TContentForm::closeEvent(event);
}

}  // namespace cb::app
