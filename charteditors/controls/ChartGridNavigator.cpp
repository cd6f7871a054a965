#include "charteditors/controls/ChartGridNavigator.h"

#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "charteditors/controls/ChartGrid.h"

namespace cb::charteditors {

using namespace cb::chartexport;

TChartGridNavigator::TChartGridNavigator(QWidget* parent) : TCustomPlotNavigator(parent) {
    EnableButtons();
}

TChartGridNavigator::~TChartGridNavigator() {
    Detach();
}

void TChartGridNavigator::Detach() {
    if (FGrid && FGrid->Navigator() == this) {
        FGrid->UpdateHook = nullptr;
        FGrid->SelectCellHook = nullptr;
        FGrid->SetNavigator(nullptr);
    }
    FGrid = nullptr;
}

void TChartGridNavigator::SetGrid(TChartGrid* grid) {
    if (grid != FGrid) {
        Detach();
        if (grid) {
            // A grid serves one navigator: the one before lets go of it.
            if (auto* other = dynamic_cast<TChartGridNavigator*>(grid->Navigator())) other->SetGrid(nullptr);
            FGrid = grid;
            grid->UpdateHook = [this] { EnableButtons(); };
            grid->SelectCellHook = [this](int, int row) { EnableForRow(row); };
            grid->SetNavigator(this);
        }
    }
    EnableButtons();
}

void TChartGridNavigator::EnableButtons() {
    EnableForRow(FGrid ? FGrid->Row() : -1);
}

void TChartGridNavigator::EnableForRow(int row) {
    TChartGrid* g = FGrid;
    if (!g) {
        for (int b = 0; b < PlotNavButtonCount; ++b) Button(TPlotNavigateBtn(b))->setEnabled(false);
        return;
    }
    const int first = g->HeaderRows();
    const bool back = row > first;
    const bool forward = row < g->RowCount() - 1;
    const bool chartHasSeries = g->Chart() && g->Chart()->NumberOfSeries() > 0;
    const bool insert = (g->AllowEditing && !g->Editing() && chartHasSeries) || g->Series();
    Button(nbFirst)->setEnabled(back);
    Button(nbPrior)->setEnabled(back);
    Button(nbNext)->setEnabled(forward);
    Button(nbLast)->setEnabled(forward);
    Button(nbInsert)->setEnabled(insert);
    Button(nbDelete)->setEnabled(g->RowCount() > 1 && insert && g->HasPoints());
    Button(nbEdit)->setEnabled(insert);
    Button(nbPost)->setEnabled(g->Editing());
    Button(nbCancel)->setEnabled(g->Editing());
}

void TChartGridNavigator::BtnClick(TPlotNavigateBtn index) {
    if (TChartGrid* g = FGrid) {
        const int first = g->HeaderRows();
        const int last = g->RowCount() - 1;
        const int col = std::max(1, g->Col());
        const auto go = [g, col](int row) { g->setCurrentIndex(g->model()->index(row, col)); };
        switch (index) {
        case nbFirst:
            if (g->Row() > first) go(first);
            break;
        case nbPrior:
            if (g->Row() > first) go(g->Row() - 1);
            break;
        case nbNext:
            if (g->Row() < last) go(g->Row() + 1);
            break;
        case nbLast:
            if (g->Row() < last) go(last);
            break;
        case nbInsert:
            g->InsertRow();
            break;
        case nbDelete:
            g->DeleteRow();
            break;
        case nbEdit:
            g->setFocus();
            g->EditCell();
            break;
        case nbPost:
            g->EndEdit(false);
            break;
        case nbCancel:
            g->EndEdit(true);
            break;
        }
    }
    TCustomPlotNavigator::BtnClick(index);
}

}  // namespace cb::charteditors
