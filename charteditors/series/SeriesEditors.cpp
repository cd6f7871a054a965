#include "charteditors/series/SeriesEditors.h"

#include "charteditors/common/EditorRegistry.h"
#include "charteditors/series/BarSeriesEditor.h"
#include "charteditors/series/CustomSeriesEditor.h"
#include "charteditors/series/FunctionEditor.h"
#include "charteditors/series/MoreSeriesEditors.h"
#include "charteditors/series/PieSeriesEditor.h"
#include "charteditors/series/SeriesPointerEditor.h"
#include "charteditors/series/SeriesToolEditor.h"

namespace cb::charteditors {

void RegisterSeriesEditors() {
    RegisterEditorClass<TPlotFunctionEditor>("TPlotFunctionEditor");
    RegisterEditorClass<TSeriesPointerEditor>("TSeriesPointerEditor");
    RegisterEditorClass<TCustomSeriesEditor>("TCustomSeriesEditor");
    RegisterEditorClass<TStackBarSeriesEditor>("TStackBarSeriesEditor");
    RegisterEditorClass<TBarSeriesEditor>("TBarSeriesEditor");
    RegisterEditorClass<TCircledSeriesEditor>("TCircledSeriesEditor");
    RegisterEditorClass<TPieSeriesEditor>("TPieSeriesEditor");
    RegisterEditorClass<TAreaSeriesEditor>("TAreaSeriesEditor");
    RegisterEditorClass<TFastLineSeriesEditor>("TFastLineSeriesEditor");
    RegisterEditorClass<TChartShapeEditor>("TChartShapeEditor");
    RegisterEditorClass<TGanttSeriesEditor>("TGanttSeriesEditor");
    RegisterEditorClass<TArrowSeriesEditor>("TArrowSeriesEditor");
    RegisterEditorClass<TBubbleSeriesEditor>("TBubbleSeriesEditor");
    RegisterEditorClass<TCustomFunctionEditor>("TCustomFunctionEditor");
    RegisterEditorClass<TAverageFuncEditor>("TAverageFuncEditor");
    RegisterEditorClass<TSeriesToolEditor>("TSeriesToolEditor");
}

}  // namespace cb::charteditors
