#include "app/ui/main/MainMenuContainer.h"

#include "app/ui/main/MainLeftMenu.h"

namespace cb::app {

TfrmMainMenuContainer::TfrmMainMenuContainer(QWidget* parent, TDisplayManager* displayManager, TAppContext context)
    : TContentForm(parent), FDisplayManager(displayManager), FContext(context) {
    setObjectName("frmMainMenuContainer");
}

TfrmMainMenuContainer::~TfrmMainMenuContainer() {
    FLeftMenu.reset();
}

void TfrmMainMenuContainer::ShowLeftMenu(std::shared_ptr<cb::olap::CubeDef> cubeDef) {
    if (!cubeDef) return;
    FLeftMenu.reset();
    FLeftMenu = std::make_unique<TfrmMainLeftMenu>(this, FDisplayManager, FContext);
    FLeftMenu->SetCubeDef(std::move(cubeDef));
    FLeftMenu->ApplyTheme(Theme());
    FLeftMenu->ShowDocked();
    FState = 1;
}

void TfrmMainMenuContainer::FreeLeftMenu() {
    if (FState != 1) return;
    FLeftMenu.reset();
    FState = 0;
}

void TfrmMainMenuContainer::ClearContent() {
    FreeLeftMenu();
    show();
}

}  // namespace cb::app
