#include "chart/component/StandardTools.h"

#include "chart/component/ExtraLegendTool.h"
#include "chart/tools/AnnotationTool.h"
#include "chart/tools/AxisArrowTool.h"
#include "chart/tools/AxisScrollTool.h"
#include "chart/tools/ChartImageTool.h"
#include "chart/tools/ClipSeriesTool.h"
#include "chart/tools/ColorBandTool.h"
#include "chart/tools/ColorLineTool.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/DragMarksTool.h"
#include "chart/tools/DrawLineTool.h"
#include "chart/tools/GridBandTool.h"
#include "chart/tools/MarksTipTool.h"
#include "chart/tools/NearestTool.h"
#include "chart/tools/RotateTool.h"
#include "chart/tools/SeriesAnimationTool.h"
#include "chart/tools/ToolTypes.h"

#include <vector>

namespace cb::chart {

namespace {
std::vector<const TToolClass*> StandardToolClasses() {
    return {
        &ToolClassOf<TCursorTool>("TCursorTool"),
        &ToolClassOf<TDragMarksTool>("TDragMarksTool"),
        &ToolClassOf<TAxisArrowTool>("TAxisArrowTool"),
        &ToolClassOf<TDrawLineTool>("TDrawLineTool"),
        &ToolClassOf<TNearestTool>("TNearestTool"),
        &ToolClassOf<TColorBandTool>("TColorBandTool"),
        &ToolClassOf<TColorLineTool>("TColorLineTool"),
        &ToolClassOf<TRotateTool>("TRotateTool"),
        &ToolClassOf<TChartImageTool>("TChartImageTool"),
        &ToolClassOf<TMarksTipTool>("TMarksTipTool"),
        &ToolClassOf<TAnnotationTool>("TAnnotationTool"),
        &ToolClassOf<TSeriesAnimationTool>("TSeriesAnimationTool"),
        &ToolClassOf<TGridBandTool>("TGridBandTool"),
        &ToolClassOf<TAxisScrollTool>("TAxisScrollTool"),
        &ToolClassOf<TRectangleTool>("TRectangleTool"),
        &ToolClassOf<TClipSeriesTool>("TClipSeriesTool"),
        &ToolClassOf<TExtraLegendTool>("TExtraLegendTool"),
    };
}
}  // namespace

void RegisterStandardToolTypes() {
    RegisterToolTypes(StandardToolClasses());
}

void UnregisterStandardToolTypes() {
    UnregisterToolTypes(StandardToolClasses());
}

}  // namespace cb::chart
