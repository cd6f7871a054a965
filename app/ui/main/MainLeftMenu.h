#pragma once
// The left menu: the open cube's measures as check boxes and its
// dimensions with their levels as a list. Ticking a measure puts it on the
// measures axis; a dimension or level goes to the rows or the columns by a
// double click, the pop-up menu or a drag onto the grid view; a header
// dragged from the grid onto the list leaves the view. Every change goes
// through the display manager.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <QPoint>

#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QAction;
class QScrollArea;
class QTimer;

namespace cb::olap {
class CubeDef;
class Level;
}  // namespace cb::olap
namespace cb::extras {
class TKitCheckListBox;
class TKitItemsPanel;
}  // namespace cb::extras

namespace cb::app {

class TDisplayManager;
class TDimensionObject;

class TfrmMainLeftMenu : public TContentForm {
    Q_OBJECT
public:
    // The display manager is not owned and must outlive the menu.
    TfrmMainLeftMenu(QWidget* parent, TDisplayManager* displayManager, TAppContext context = {});
    ~TfrmMainLeftMenu() override;

    // Builds both lists for a new cube definition; the same one again does
    // nothing.
    void SetCubeDef(std::shared_ptr<cb::olap::CubeDef> cubeDef);
    // Sends an entry of the dimension list to the rows (1) or columns (2).
    void AddToAxis(const TDimensionObject* item, int axis);
    // Ticks the measures that are on an axis.
    void SyncMeasureChecks();
    // Whether a drag from this source may be dropped on the list.
    bool CanAcceptGridDrag(const QObject* source);
    void ApplyTheme(const TTheme* theme) override;

    // The entry of the dimension list at an index, or none.
    const TDimensionObject* DimensionItem(int index) const;
    const TDimensionObject* MeasureItem(int index) const;
    bool DoubleClickJustRan() const { return FDoubleClickJustRan; }

    // Mouse on the dimension list, in the list's client coordinates.
    void DimensionsMouseDown(Qt::MouseButton button, int x, int y);
    void DimensionsDblClick(int x, int y);
    void DimensionsMouseMove();
    // The pop-up's commands for the remembered position.
    void PopupAddToAxis(int axis);
    // Drop on the list from the grid view (or the list itself).
    bool DimensionsDragOver(const QObject* source);
    void DimensionsDragDrop(const QObject* source);

    QScrollArea* sbLeftMenu;
    QLabel* imgHeader;
    QLabel* lblTotals;
    QLabel* lblDimensions;
    QWidget* panMeasures;
    QWidget* panTotalsBuffer;
    cb::extras::TKitCheckListBox* cblMeasures;
    cb::extras::TKitItemsPanel* ipDimensions;
    QMenu* pmDimensions;
    QAction* pmiToRows;
    QAction* pmiToColumns;
    QTimer* timDoubleClickJustRan;
    // The screen position where the pop-up opened (-1, -1 before).
    QPoint PopupPosition() const { return FPopupPosition; }
    void SetPopupPosition(QPoint p) { FPopupPosition = p; }

private:
    void BuildLists();
    void BuildMeasureList(const cb::olap::Level& level);
    void MeasureStateChange(int index);
    void StartItemDrag(int index);

    TDisplayManager* FDisplayManager;
    TAppContext FContext;
    std::shared_ptr<cb::olap::CubeDef> FCubeDef;
    // The entries' objects, owned here; the lists point at them.
    std::vector<std::unique_ptr<TDimensionObject>> FDimensionItems;
    std::vector<std::unique_ptr<TDimensionObject>> FMeasureItems;
    std::vector<QWidget*> FBackgroundPanels;
    QPoint FPopupPosition{-1, -1};
    bool FSyncingMeasures = false;
    bool FInDropTest = false;
    bool FDoubleClickJustRan = false;
    bool FDoubleClickInProgress = false;
    bool FDragging = false;
};

}  // namespace cb::app
