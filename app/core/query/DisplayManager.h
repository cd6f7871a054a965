#pragma once
// The facade through which the windows change the view and re-run the
// query. It owns the query model, the grid layout manager and the chart
// builder, opens a cube on a connection the main window made, and reports
// back through its events.
#include "app/core/base/AppContext.h"
#include "app/core/query/ChartBuilder.h"
#include "app/core/query/GridLayout.h"
#include "app/core/query/MDXBuilder.h"

#include <functional>
#include <memory>
#include <string>

namespace cb::app {

class TMSOLAPConnection;
class TDimension;
class TDimensionObject;

// Chart points above which the chart is refused.
constexpr int kMaxChartPoints = 70;

class TDisplayManager {
public:
    using TNotifyEvent = std::function<void()>;

    // The context shows the busy cursor and asks the user; the query model
    // gets it too. Without a chart builder the chart is built by
    // TGraphDisplayManager; without a grid layout a stand-in that fills
    // nothing is used until one is given.
    explicit TDisplayManager(TAppContext context = {}, std::unique_ptr<IGridLayout> gridLayout = nullptr,
                             std::unique_ptr<IChartBuilder> chartBuilder = nullptr);
    ~TDisplayManager();
    TDisplayManager(const TDisplayManager&) = delete;
    TDisplayManager& operator=(const TDisplayManager&) = delete;

    void SetGridLayout(std::unique_ptr<IGridLayout> gridLayout);
    void SetChartBuilder(std::unique_ptr<IChartBuilder> chartBuilder);
    IGridLayout& GetGridLayout() { return *FGridLayout; }
    IChartBuilder& GetChartBuilder() { return *FChartBuilder; }

    // Events; an empty one is not called.
    TNotifyEvent OnBeforeRefresh;
    TNotifyEvent OnAfterRefresh;
    TNotifyEvent OnStateChanged;
    TNotifyEvent OnToggleChartRequest;
    TNotifyEvent OnAxesChanged;
    TNotifyEvent OnMeasuresChanged;
    TNotifyEvent OnAllMembersHidden;
    TNotifyEvent OnCubeReset;
    // Fired with the text before every query run for the view.
    std::function<void(const std::string& mdx)> OnQuery;

    // Cube and refresh.
    void OpenCube(TMSOLAPConnection* connection, cb::grid::TExtStringGrid* grid, cb::chart::TChart* chart);
    void ReloadCube();
    void CloseCube();
    void ResetCube();
    void EmptyCube();
    void ClearAxesAndRun();
    void Refresh() { RunQueryAndDisplay(); }
    // Runs the query and redisplays; events and busy cursor are balanced
    // also when it fails, and the failure then reaches the caller.
    void RunQueryAndDisplay();
    // Fills another grid (a preview) once, then re-attaches the current one.
    void RenderToGrid(cb::grid::TExtStringGrid* grid);
    bool IsCubeOpen() const { return FCubeOpen; }
    std::shared_ptr<cb::olap::Cellset> GetCellset() const { return FDisplayCellset; }
    cb::grid::TExtStringGrid* GetGrid() const { return FGridLayout->GetGrid(); }
    std::shared_ptr<cb::olap::CubeDef> GetCubeDef() const;
    std::string GetCubeCaption() const;
    TMSOLAPConnection* GetConnection() const { return FConnection; }

    // View changes; each forwards to the query model.
    bool AddToAxis(const std::string& set, int axis, bool asOneStep);
    bool AddToAxisWithUnion(const std::string& set, int axis, bool asOneStep);
    bool AppendToAxis(const TTextList& sets, int axis);
    void RemoveFromAxes(const std::string& set, bool asOneStep);
    bool RemoveMeasure(const std::string& measure, bool asOneStep);
    bool ToggleDrillDown(const std::string& member);
    bool SwapRowsAndColumns();
    bool Undo();
    bool Redo();
    void SaveUndoState();
    void ClearUndoRedo();
    bool CanUndo() const { return FBuilder.CanUndo(); }
    bool CanRedo() const { return FBuilder.CanRedo(); }
    std::string GetMDX() { return FBuilder.GetMDX(); }
    std::string GetCurrentViewText() const { return FBuilder.GetCurrentViewText(); }
    int CountPlainMeasures() const { return FBuilder.CountPlainMeasures(); }
    int GetAxisOfDimension(const std::string& name) const { return FBuilder.GetAxisOf("[" + name + "]"); }
    // Read access to the query model's lists.
    const TMDXBuilder& GetBuilder() const { return FBuilder; }

    // Grid keys and dimensions.
    std::string GetCellKey(int column, int row) const { return FGridLayout->GetCellKey(column, row); }
    static bool IsDimensionKey(const std::string& key);
    static std::string ExtractFirstBracketedName(const std::string& text);
    static std::string ExtractLastBracketedName(const std::string& text);
    // The dimension's members with those on an axis selected; none when the
    // dimension is unknown. The caller owns it.
    std::unique_ptr<TDimension> BuildDimension(const std::string& uniqueName);
    std::unique_ptr<TDimension> LoadDimensionMembers(const std::string& dimensionName);
    void MarkSelectedMembers(TDimension* dimension) const;
    void SetDragSource(TDimensionObject* item) { FDragSource = item; }
    TDimensionObject* GetDragSource() const { return FDragSource; }

    // Chart settings.
    void SetChart(cb::chart::TChart* chart);
    cb::chart::TChart* GetChart() const { return FChartBuilder->GetChart(); }
    void SetChartEnabled(bool enabled) { FChartBuilder->SetEnabled(enabled); }
    bool GetChartEnabled() const { return FChartBuilder->GetEnabled(); }
    void SelectChartColumn(int gridColumn);
    void SelectChartRow(int gridRow);
    void SetChartGroupBy(int level) { FChartBuilder->SetGroupBy(level); }
    void SetChartMarksStyle(int style) { FChartBuilder->SetMarksStyle(style); }
    void SetChartMeasure(const std::string& uniqueName) { FChartBuilder->SetMeasureName(uniqueName); }
    void SetChartDataMode(TChartDataMode mode) { FChartBuilder->SetDataMode(mode); }
    void SetChartMeasureFilter(bool on) { FChartBuilder->SetMeasureFilter(on); }
    void SetChartShowAllMembers(bool show) { FChartBuilder->SetShowAllMembers(show); }
    void SetChartType(int type) { FChartBuilder->SetChartType(type); }
    int GetChartColumn() const { return FChartBuilder->GetColumn(); }
    int GetChartRow() const { return FChartBuilder->GetRow(); }
    std::string GetChartMeasure() const { return FChartBuilder->GetMeasureName(); }
    TChartDataMode GetChartDataMode() const { return FChartBuilder->GetDataMode(); }
    int GetChartGroupBy() const { return FChartBuilder->GetGroupBy(); }
    bool GetChartShowAllMembers() const { return FChartBuilder->GetShowAllMembers(); }
    int GetChartType() const { return FChartBuilder->GetChartType(); }
    void RefreshChart();
    bool ChartHasTooManyPoints() const { return FChartBuilder->GetTotalPointCount() > kMaxChartPoints; }

private:
    // Undo or redo on the builder; shows the result when the lists changed.
    bool ReplayStep(bool (TMDXBuilder::*step)());
    // The axes and the measures may both differ after a step replayed, a swap or an empty view.
    void FireViewChanged();
    static void Fire(const TNotifyEvent& event) {
        if (event) event();
    }
    void LoadMembersRecursive(TDimension& dimension, const cb::olap::Member& member);

    TAppContext FContext;
    bool FCubeOpen = false;
    std::shared_ptr<cb::olap::Cellset> FDisplayCellset;
    TDimensionObject* FDragSource = nullptr;
    std::unique_ptr<IChartBuilder> FChartBuilder;
    std::unique_ptr<IGridLayout> FGridLayout;
    TMDXBuilder FBuilder;
    TMSOLAPConnection* FConnection = nullptr;
};

}  // namespace cb::app
