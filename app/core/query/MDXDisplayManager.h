#pragma once
// The grid layout manager: writes the display cellset into the pivot grid
// (nested column and row headers, one cell per value, styles from the grid
// theme) and keeps a key for every grid cell that says what it stands for.
#include "app/core/base/AppContext.h"
#include "app/core/query/GridLayout.h"

#include "grid/ExtStringGrid.h"

#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::app {

struct TGridDisplayTheme;

// Texts the layout writes.
inline constexpr const char* kDragColumnFieldsText = "Drag Columns Fields Here";
inline constexpr const char* kDragRowFieldsText = "Drag Row Fields Here";
inline constexpr const char* kCellErrorText = "Error!!";
inline constexpr const char* kDataCellKey = "d";
inline constexpr const char* kOutsideCellKey = "-1";

// The steps of a layout as its watcher sees them: it starts, it makes
// headway (now and then; the watcher may let pending window events run), and
// it finishes, on every way out.
enum class TLayoutStep : std::uint8_t {
    Start,
    Progress,
    Finish
};
// The grid is the one being filled; none at Finish when it went away.
using TLayoutProgressEvent = std::function<void(TLayoutStep step, cb::grid::TExtStringGrid* grid)>;

class TMDXDisplayManager : public IGridLayout {
public:
    // The context supplies the current theme, the log and the user who is
    // told of a failed layout.
    explicit TMDXDisplayManager(TAppContext context = {});
    ~TMDXDisplayManager() override;
    TMDXDisplayManager(const TMDXDisplayManager&) = delete;
    TMDXDisplayManager& operator=(const TMDXDisplayManager&) = delete;

    // The grid to fill (not owned). A grid without an image list gets the
    // grid view's, whose image 2 marks dimension-name cells.
    void SetGrid(cb::grid::TExtStringGrid* grid) override;
    cb::grid::TExtStringGrid* GetGrid() const override { return FGrid; }
    void SetCellset(std::shared_ptr<cb::olap::Cellset> cellset) override;
    std::shared_ptr<cb::olap::Cellset> GetCellset() const { return FCellset; }

    // Lays the cellset out. An error while reading the counts or sizing the
    // grid reaches the caller; an error while writing cells is told to the
    // user and gives false (the cells written so far stay). False also when
    // a layout is already running or the grid went away meanwhile.
    bool Render() override;
    bool IsRendering() const { return FRendering; }

    std::string GetCellKey(int column, int row) const override;
    int GridColumnToPosition(int column) const override;
    int GridRowToPosition(int row) const override;

    // The theme the layout uses; none (the default) means the current theme
    // of the context's settings, or built-in defaults without one. Not owned.
    void SetTheme(const TGridDisplayTheme* theme) { FTheme = theme; }

    // Told of the layout's steps; empty means no progress is shown and no
    // events run during a layout.
    TLayoutProgressEvent OnProgress;
    // The watcher hears of headway at most this often: often enough for a
    // progress bar and repaints, rarely enough to cost nothing.
    std::chrono::milliseconds ProgressInterval{40};

    int ColumnDimensionCount() const { return FColumnDimensionCount; }
    int ColumnPositionCount() const { return FColumnPositionCount; }
    int RowDimensionCount() const { return FRowDimensionCount; }
    int RowPositionCount() const { return FRowPositionCount; }
    // Size of the key table (the grid's counts at the last layout).
    int KeyColumnCount() const { return FKeyColumns; }
    int KeyRowCount() const { return FKeyRows; }

private:
    struct TLayout;

    void ResetKeys(int columns, int rows);
    std::string& Key(int column, int row) { return FCellKeys[size_t(column) * size_t(FKeyRows) + size_t(row)]; }

    TAppContext FContext;
    // [column][row], stored column by column.
    std::vector<std::string> FCellKeys;
    int FKeyColumns = 0;
    int FKeyRows = 0;
    std::shared_ptr<cb::olap::Cellset> FCellset;
    int FColumnDimensionCount = 0;
    int FColumnPositionCount = 0;
    QPointer<cb::grid::TExtStringGrid> FGrid;
    int FRowDimensionCount = 0;
    int FRowPositionCount = 0;
    const TGridDisplayTheme* FTheme = nullptr;
    bool FRendering = false;
};

}  // namespace cb::app
