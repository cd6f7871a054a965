#include "charteditors/dialog/DialogEditors.h"

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
}

}  // namespace cb::charteditors
