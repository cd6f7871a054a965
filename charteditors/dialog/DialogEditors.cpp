#include "charteditors/dialog/DialogEditors.h"

#include "chart/component/ChartLegend.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/dialog/AxisPage.h"
#include "charteditors/dialog/ExtraLegendEditor.h"
#include "charteditors/dialog/GeneralPage.h"
#include "charteditors/dialog/LegendPage.h"
#include "charteditors/dialog/PagingPage.h"
#include "charteditors/dialog/PanelPage.h"
#include "charteditors/dialog/TitlePage.h"
#include "charteditors/dialog/ToolsPage.h"
#include "charteditors/dialog/View3DPage.h"
#include "charteditors/dialog/WallPage.h"
#include "charteditors/series/PieSeriesEditor.h"

#include <memory>

namespace cb::charteditors {

void RegisterDialogEditors() {
    RegisterEditorClass<TFormPlotGeneral>("TFormPlotGeneral");
    RegisterEditorClass<TFormPlotAxis>("TFormPlotAxis");
    RegisterEditorClass<TFormPlotTitle>("TFormPlotTitle");
    RegisterEditorClass<TFormPlotLegend>("TFormPlotLegend");
    RegisterEditorClass<TFormPlotPanel>("TFormPlotPanel");
    RegisterEditorClass<TFormPlotPage>("TFormPlotPage");
    RegisterEditorClass<TFormPlotWall>("TFormPlotWall");
    RegisterEditorClass<TFormPlot3D>("TFormPlot3D");
    RegisterEditorClass<TFormPlotTools>("TFormPlotTools");
    RegisterEditorClass<TExtraLegendEditor>("TExtraLegendEditor");
    // The pie editor's "Legend..." edits the other slice's legend here.
    TPieSeriesEditor::LegendEditor() = [](QWidget* owner, const TEditedObject& legend) {
        auto form = CreateEditorDialog<TFormPlotLegend>(owner);
        form->BindLegend(legend);
        // Cancel gives the legend back as it was.
        if (cb::chart::TChartLegend* l = legend.As<cb::chart::TChartLegend>()) {
            auto copy = std::make_shared<cb::chart::TChartLegend>(l->Chart());
            copy->Assign(*l);
            form->KeepBackup([l, copy] {
                cb::chart::TChartSeries* series = l->LegendSeries();
                l->Assign(*copy);
                l->SetLegendSeries(series);
            });
        }
        form->exec();
    };
}

}  // namespace cb::charteditors
