#pragma once
// The grid view: the pivot grid of the current view and the gestures that
// change it. A dimension dropped from the left menu goes to the rows or the
// columns, a double click drills into a member or collapses it, a double
// click on a dimension's name opens the member selection, a header dragged
// onto the left menu leaves the view, and the pop-up menu removes a
// dimension, highlights a row or column or shows a summary of the view.
// Every change goes through the display manager.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QMimeData;

namespace cb::grid {
class TExtStringGrid;
}

namespace cb::app {

class TDisplayManager;
class TDimensionObject;
class TClickLabel;

// MIME type of a header dragged out of the grid view (the cell's key).
inline constexpr const char* kGridHeaderMimeType = "application/x-cubebrowser-grid-header";

// Members above which the member selection asks before it opens.
inline constexpr int kLargeDimensionMembers = 2500;

class TfrmGridDisplay : public TContentForm {
    Q_OBJECT
public:
    // The display manager is not owned and must outlive the view; the
    // context shows the messages and the busy cursor.
    TfrmGridDisplay(QWidget* parent, TDisplayManager* displayManager, TAppContext context = {});
    ~TfrmGridDisplay() override;

    void SetCubeName(const std::string& text);
    void SetLastProcessed(const std::string& text);
    const std::string& LastProcessed() const { return FLastProcessed; }
    void ApplyTheme(const TTheme* theme) override;

    // Whether a drag may be dropped: only a dimension or level of the left
    // menu while the display manager holds it as the drag source.
    bool FormDragOver(const QMimeData* data) const;
    // Drops the drag source at y (in the receiving control's coordinates):
    // above the grid's top edge it goes to the columns, else to the rows.
    void FormDragDrop(const QMimeData* data, int y);
    // The axis a drop at y goes to: 2 columns, 1 rows.
    int DropAxis(int y) const;

    // Handlers of the grid's events (row before column, as the grid gives them).
    void gridDisplayMouseDown(Qt::MouseButton button);
    void gridDisplayClickCell(int row, int col);
    void gridDisplayDblClickCell(int row, int col);
    void gridDisplayRightClickCell(int row, int col);
    void pmGridPopup();
    void pmiRemoveFromDisplayClick();
    void pmiRowSelectClick();
    void pmiSelectEntireColumnClick();
    void pmiDescribecurrentdisplayClick();
    void imgHeaderClick();
    // The member selection for the current cell's dimension.
    void SelectMembers();

    bool RowHighlighting() const;
    // The header item of the drag the grid may start; none between drags.
    const TDimensionObject* HeaderDragItem() const { return FHeaderItem.get(); }

    QWidget* panDataDisplay;
    TClickLabel* imgHeader;
    QLabel* lblCubeName;
    QLabel* lblLastProcessed;
    cb::grid::TExtStringGrid* gridDisplay;
    QMenu* pmGrid;
    QAction* pmiRemoveFromDisplay;
    QAction* pmiRowSelect;
    QAction* pmiSelectEntireColumn;
    QAction* pmiDescribecurrentdisplay;

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::string CurrentKey() const;
    void SetRowHighlighting(bool on);
    // Frees the header item of the last press, and clears the display
    // manager's drag source when it is that item.
    void FreeHeaderItem();

    TDisplayManager* FDisplayManager;
    TAppContext FContext;
    std::string FLastProcessed;
    std::unique_ptr<TDimensionObject> FHeaderItem;
};

}  // namespace cb::app
