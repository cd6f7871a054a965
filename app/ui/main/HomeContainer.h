#pragma once
// The home container, top right in the main window: shows either the
// no-cube page or the grid view, and owns the page it shows.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <functional>
#include <memory>
#include <string>

namespace cb::grid {
class TExtStringGrid;
}

namespace cb::app {

class TDisplayManager;
class TfrmGridDisplay;
class TfrmMainNoCubeOpen;

class TfrmHomeContainer : public TContentForm {
    Q_OBJECT
public:
    enum TContentState : int {
        hcsNothing = 0,
        hcsNoCubePage = 1,
        hcsGridView = 2
    };

    // The display manager and the context are handed to the grid view (not owned).
    explicit TfrmHomeContainer(QWidget* parent = nullptr, TDisplayManager* displayManager = nullptr,
                               TAppContext context = {});
    ~TfrmHomeContainer() override;

    void ShowNoCubePage();
    void ShowGridView();
    void FreeContent();
    bool HasContent() const { return FNoCubePage || FGridView; }
    // The grid view's grid, or none.
    cb::grid::TExtStringGrid* GetGrid() const;
    void SetCubeName(const std::string& text);
    void SetLastProcessed(const std::string& text);
    void ClearContent();

    TContentState State() const { return FState; }
    TfrmMainNoCubeOpen* NoCubePage() const { return FNoCubePage.get(); }
    TfrmGridDisplay* GridView() const { return FGridView.get(); }

    // Handed to the no-cube page.
    std::function<void()> OnOpenCube;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TDisplayManager* FDisplayManager;
    TAppContext FContext;
    TContentState FState = hcsNothing;
    std::unique_ptr<TfrmMainNoCubeOpen> FNoCubePage;
    std::unique_ptr<TfrmGridDisplay> FGridView;
};

}  // namespace cb::app
