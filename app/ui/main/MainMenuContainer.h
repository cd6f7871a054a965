#pragma once
// The menu container, on the left of the main window: docks the left menu
// of the open cube and owns it.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <memory>

namespace cb::olap {
class CubeDef;
}

namespace cb::app {

class TDisplayManager;
class TfrmMainLeftMenu;

class TfrmMainMenuContainer : public TContentForm {
    Q_OBJECT
public:
    // The display manager is handed to the left menu (not owned).
    TfrmMainMenuContainer(QWidget* parent, TDisplayManager* displayManager, TAppContext context = {});
    ~TfrmMainMenuContainer() override;

    // A new left menu for the cube definition; none keeps the current one.
    void ShowLeftMenu(std::shared_ptr<cb::olap::CubeDef> cubeDef);
    void ClearContent();
    void FreeLeftMenu();
    bool HasLeftMenu() const { return FLeftMenu != nullptr; }
    TfrmMainLeftMenu* LeftMenu() const { return FLeftMenu.get(); }
    int State() const { return FState; }

private:
    TDisplayManager* FDisplayManager;
    TAppContext FContext;
    int FState = 0;  // 0 nothing, 1 left menu
    std::unique_ptr<TfrmMainLeftMenu> FLeftMenu;
};

}  // namespace cb::app
