#include "app/core/query/DisplayManager.h"

#include "app/core/cube/CubeConnection.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/query/GraphDisplayManager.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>

namespace cb::app {

using namespace cb::olap;

namespace {

// Stand-in used until the real grid layout manager is given: it keeps what
// it is told and fills nothing.
class TIdleGridLayout : public IGridLayout {
public:
    void SetGrid(cb::grid::TExtStringGrid* grid) override { FGrid = grid; }
    cb::grid::TExtStringGrid* GetGrid() const override { return FGrid; }
    void SetCellset(std::shared_ptr<Cellset> cellset) override { FCellset = std::move(cellset); }
    bool Render() override { return true; }
    std::string GetCellKey(int, int) const override { return "-1"; }
    int GridColumnToPosition(int column) const override { return std::max(column, 0); }
    int GridRowToPosition(int row) const override { return std::max(row, 0); }

private:
    cb::grid::TExtStringGrid* FGrid = nullptr;
    std::shared_ptr<Cellset> FCellset;
};

std::string Bracketed(const std::string& name) {
    std::string s;
    s.reserve(name.size() + 2);
    s += '[';
    s += name;
    s += ']';
    return s;
}

}  // namespace

TDisplayManager::TDisplayManager(TAppContext context, std::unique_ptr<IGridLayout> gridLayout,
                                 std::unique_ptr<IChartBuilder> chartBuilder)
    : FContext(context), FBuilder(context) {
    SetGridLayout(std::move(gridLayout));
    SetChartBuilder(std::move(chartBuilder));
    FBuilder.OnQuery = [this](const std::string& mdx) {
        if (OnQuery) OnQuery(mdx);
    };
}

TDisplayManager::~TDisplayManager() {
    if (FCubeOpen) CloseCube();
    FDragSource = nullptr;
}

void TDisplayManager::SetGridLayout(std::unique_ptr<IGridLayout> gridLayout) {
    FGridLayout = gridLayout ? std::move(gridLayout) : std::make_unique<TIdleGridLayout>();
}

void TDisplayManager::SetChartBuilder(std::unique_ptr<IChartBuilder> chartBuilder) {
    FChartBuilder = chartBuilder ? std::move(chartBuilder) : std::make_unique<TGraphDisplayManager>();
}

// ---- cube and refresh -------------------------------------------------------

void TDisplayManager::OpenCube(TMSOLAPConnection* connection, cb::grid::TExtStringGrid* grid,
                               cb::chart::TChart* chart) {
    FContext.SetBusy(true);
    const auto idle = cb::rtl::OnScopeExit([this] { FContext.SetBusy(false); });
    if (FCubeOpen) CloseCube();
    FGridLayout->SetGrid(grid);
    SetChart(chart);
    FConnection = connection;
    auto cubeDef = connection ? connection->GetCurrentCubeDef() : nullptr;
    FBuilder.ConnectionString = connection ? connection->GetConnectionString() : std::string();
    FBuilder.SetCubeName(Bracketed(cubeDef ? cubeDef->Name() : std::string()));
    FBuilder.SetCubeDef(cubeDef);
    FDisplayCellset = std::make_shared<Cellset>();
    FDisplayCellset->SetActiveConnection(FBuilder.ConnectionString);
    if (grid) {
        // Open before the first refresh, so that it shows the default view.
        FCubeOpen = true;
        auto closeAgain = cb::rtl::OnScopeExit([this] { FCubeOpen = false; });
        ReloadCube();
        closeAgain.Dismiss();
    }
    Fire(OnStateChanged);
}

void TDisplayManager::ReloadCube() {
    auto cubeDef = GetCubeDef();
    FBuilder.ConnectionString = FConnection ? FConnection->GetConnectionString() : std::string();
    FBuilder.SetCubeName(Bracketed(cubeDef ? cubeDef->Name() : std::string()));
    FBuilder.SetCubeDef(cubeDef);
    if (FBuilder.ResetToDefaultQuery()) RunQueryAndDisplay();
}

void TDisplayManager::CloseCube() {
    FChartBuilder->SetEnabled(false);
    FCubeOpen = false;
    OnMeasuresChanged = nullptr;
    Fire(OnStateChanged);
}

void TDisplayManager::ResetCube() {
    ReloadCube();
    Fire(OnCubeReset);
    Fire(OnAxesChanged);
    Fire(OnMeasuresChanged);
    FChartBuilder->SetGroupBy(kNoGroupBy);
}

void TDisplayManager::EmptyCube() {
    ClearAxesAndRun();
    FireViewChanged();
    Fire(OnStateChanged);
}

void TDisplayManager::FireViewChanged() {
    Fire(OnAxesChanged);
    Fire(OnMeasuresChanged);
}

void TDisplayManager::ClearAxesAndRun() {
    FBuilder.ClearRowsAndColumns();
    RunQueryAndDisplay();
}

void TDisplayManager::RunQueryAndDisplay() {
    if (!FDisplayCellset) return;
    Fire(OnBeforeRefresh);
    FContext.SetBusy(true);
    const auto done = cb::rtl::OnScopeExit([this] {
        FContext.SetBusy(false);
        Fire(OnAfterRefresh);
    });
    if (FDisplayCellset->State() == Cellset::adStateOpen) FDisplayCellset->Close();
    const std::string mdx = FBuilder.GetMDX();
    // Normalising may have run this very query already.
    if (auto result = FBuilder.TakeResult(mdx))
        FDisplayCellset = std::move(result);
    else
        FBuilder.OpenQuery(*FDisplayCellset, mdx, FConnection ? FConnection->GetActiveConnection() : nullptr);
    if (FGridLayout->GetGrid() && FCubeOpen) {
        FGridLayout->SetCellset(FDisplayCellset);
        FGridLayout->Render();
        RefreshChart();
    }
}

void TDisplayManager::RenderToGrid(cb::grid::TExtStringGrid* grid) {
    auto* previous = FGridLayout->GetGrid();
    FGridLayout->SetGrid(grid);
    const auto restore = cb::rtl::OnScopeExit([&] { FGridLayout->SetGrid(previous); });
    RunQueryAndDisplay();
}

std::shared_ptr<CubeDef> TDisplayManager::GetCubeDef() const {
    return FConnection ? FConnection->GetCurrentCubeDef() : nullptr;
}

std::string TDisplayManager::GetCubeCaption() const {
    auto cubeDef = GetCubeDef();
    if (!cubeDef) return std::string();
    std::string caption = cubeDef->Name();
    std::replace(caption.begin(), caption.end(), '_', ' ');
    return caption;
}

// ---- view changes -----------------------------------------------------------

bool TDisplayManager::AddToAxis(const std::string& set, int axis, bool asOneStep) {
    const bool result = FBuilder.AddToAxis(set, axis, asOneStep);
    if (result && asOneStep) RunQueryAndDisplay();
    Fire(OnStateChanged);
    return result;
}

bool TDisplayManager::AddToAxisWithUnion(const std::string& set, int axis, bool asOneStep) {
    const bool result = FBuilder.AddToAxisWithUnion(set, axis, asOneStep);
    Fire(OnAxesChanged);
    if (result && asOneStep) RunQueryAndDisplay();
    Fire(OnStateChanged);
    return result;
}

bool TDisplayManager::AppendToAxis(const TTextList& sets, int axis) {
    const bool result = FBuilder.AppendToAxis(sets, axis);
    Fire(OnStateChanged);
    return result;
}

void TDisplayManager::RemoveFromAxes(const std::string& set, bool asOneStep) {
    FBuilder.RemoveSet(set, asOneStep);
    const bool chart = FChartBuilder->GetEnabled();
    if (chart) Fire(OnAxesChanged);
    if (asOneStep) RunQueryAndDisplay();
    if (chart && FChartBuilder->GetGroupBy() != kNoGroupBy) FChartBuilder->SetGroupBy(kNoGroupBy);
    Fire(OnStateChanged);
}

bool TDisplayManager::RemoveMeasure(const std::string& measure, bool asOneStep) {
    const bool result = FBuilder.RemoveMeasure(measure, asOneStep);
    if (asOneStep) RunQueryAndDisplay();
    Fire(OnStateChanged);
    return result;
}

bool TDisplayManager::ToggleDrillDown(const std::string& member) {
    const bool result = FBuilder.ToggleDrillDown(member);
    if (result)  // nothing to show again when nothing changed
        RunQueryAndDisplay();
    Fire(OnStateChanged);
    return result;
}

bool TDisplayManager::SwapRowsAndColumns() {
    const bool result = FBuilder.SwapRowsAndColumns();
    if (result) {
        RunQueryAndDisplay();
        FChartBuilder->SetGroupBy(kNoGroupBy);
        FireViewChanged();
    }
    return result;
}

bool TDisplayManager::Undo() {
    return ReplayStep(&TMDXBuilder::Undo);
}

bool TDisplayManager::Redo() {
    return ReplayStep(&TMDXBuilder::Redo);
}

bool TDisplayManager::ReplayStep(bool (TMDXBuilder::*step)()) {
    const bool result = (FBuilder.*step)();
    if (result) {
        RunQueryAndDisplay();
        FireViewChanged();
    }
    Fire(OnStateChanged);
    return result;
}

void TDisplayManager::SaveUndoState() {
    FBuilder.SaveUndoState();
    Fire(OnStateChanged);
}

void TDisplayManager::ClearUndoRedo() {
    FBuilder.ClearUndoRedo();
    Fire(OnStateChanged);
}

// ---- grid keys and dimensions -----------------------------------------------

bool TDisplayManager::IsDimensionKey(const std::string& key) {
    return !key.empty() && key != "d" && key.find('.') == std::string::npos;
}

std::string TDisplayManager::ExtractFirstBracketedName(const std::string& text) {
    auto open = text.find('[');
    auto close = text.find(']');
    if (close == std::string::npos || open == std::string::npos || close < open) return std::string();
    return text.substr(open + 1, close - open - 1);
}

std::string TDisplayManager::ExtractLastBracketedName(const std::string& text) {
    auto open = text.rfind('[');
    auto close = text.rfind(']');
    if (close == std::string::npos || open == std::string::npos || close < open) return std::string();
    return text.substr(open + 1, close - open - 1);
}

std::unique_ptr<TDimension> TDisplayManager::BuildDimension(const std::string& uniqueName) {
    auto dimension = LoadDimensionMembers(ExtractFirstBracketedName(uniqueName));
    MarkSelectedMembers(dimension.get());
    return dimension;
}

void TDisplayManager::LoadMembersRecursive(TDimension& dimension, const Member& member) {
    auto entry = std::make_unique<TDimensionMember>();
    entry->Caption = member.Caption();
    entry->Depth = member.LevelDepth();
    entry->UniqueName = member.UniqueName();
    dimension.AddMember(std::move(entry));
    if (member.ChildCount() > 0)
        for (const auto& child : member.Children()) LoadMembersRecursive(dimension, *child);
}

std::unique_ptr<TDimension> TDisplayManager::LoadDimensionMembers(const std::string& dimensionName) {
    if (!FConnection) return nullptr;
    auto cubeDef = GetCubeDef();
    if (!cubeDef) return nullptr;
    std::shared_ptr<Dimension> found;
    for (const auto& d : cubeDef->Dimensions()) {
        if (d->Name() == dimensionName) {
            found = d;
            break;
        }
    }
    if (!found) return nullptr;
    auto dimension = std::make_unique<TDimension>();
    dimension->Name = dimensionName;
    dimension->DimensionType = GetDimensionType(found.get());
    dimension->UniqueName = found->UniqueName();
    for (const auto& h : found->Hierarchies()) {
        auto level = h->Levels().Item(0);
        if (h->UniqueName() == "[Measures]") {
            dimension->IsMeasures = true;
            for (const auto& m : level->Members()) {
                auto entry = std::make_unique<TDimensionMember>();
                entry->Caption = m->Caption();
                entry->Depth = m->LevelDepth();
                entry->UniqueName = m->UniqueName();
                dimension->AddMember(std::move(entry));
            }
        } else {
            dimension->IsMeasures = false;
            auto entry = std::make_unique<TDimensionMember>();
            entry->Caption = level->Caption();
            entry->Depth = level->Depth();
            entry->UniqueName = level->UniqueName();
            dimension->AddMember(std::move(entry));
            for (const auto& m : level->Members()) LoadMembersRecursive(*dimension, *m);
        }
    }
    return dimension;
}

void TDisplayManager::MarkSelectedMembers(TDimension* dimension) const {
    if (!dimension) return;
    auto selection = FBuilder.GetDimensionSelection(dimension->Name);
    if (!selection) return;
    for (int i = 0; i < selection->GetMemberCount(); ++i)
        if (auto* member = dimension->FindMember(selection->GetMember(i)->UniqueName)) member->Selected = true;
}

// ---- chart ------------------------------------------------------------------

void TDisplayManager::SetChart(cb::chart::TChart* chart) {
    FChartBuilder->SetChart(chart);
    FChartBuilder->SetEnabled(chart != nullptr);
    // The chart shows the grid's view, never one the builder kept from
    // before (another cube's).
    if (FChartBuilder->GetEnabled()) RefreshChart();
}

void TDisplayManager::SelectChartColumn(int gridColumn) {
    FChartBuilder->SetColumn(FGridLayout->GridColumnToPosition(gridColumn));
}

void TDisplayManager::SelectChartRow(int gridRow) {
    FChartBuilder->SetRow(FGridLayout->GridRowToPosition(gridRow));
}

void TDisplayManager::RefreshChart() {
    if (!FChartBuilder->GetChart() || !FChartBuilder->GetEnabled()) return;
    // Handing over the cellset builds the chart.
    FChartBuilder->SetCellset(FDisplayCellset);
    if (!ChartHasTooManyPoints()) {
        Fire(OnAxesChanged);
        return;
    }
    if (GetChartShowAllMembers()) {
        const bool yes = FContext.ConfirmYesNo(
            "You have exceeded the maximum number for displaying items in the Chart View.  In some "
            "cases displaying the Chart View without the (All) levels will reduce enough items to "
            "keep the Chart View displaying. \r\rWould you like to remove the (All) levels?");
        if (!yes) {
            Fire(OnToggleChartRequest);
            return;
        }
        FChartBuilder->SetShowAllMembers(false);
        Fire(OnAllMembersHidden);
        FChartBuilder->Render();
        if (!ChartHasTooManyPoints()) return;
        FContext.ShowInformation("You have exceeded the maximum number for displaying items in the Chart "
                                 "View the Chart View will now have to be closed.");
        Fire(OnToggleChartRequest);
        return;
    }
    FContext.ShowInformation(
        "You have above the maximum number or display items for the chart. The chart will now be disabled.");
    Fire(OnToggleChartRequest);
}

}  // namespace cb::app
