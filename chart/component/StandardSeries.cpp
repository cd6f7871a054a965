#include "chart/component/StandardSeries.h"

#include "chart/functions/AverageFunction.h"
#include "chart/functions/CustomFunction.h"
#include "chart/functions/HighLowFunctions.h"
#include "chart/functions/ManySeriesFunctions.h"
#include "chart/functions/SortedFunctions.h"
#include "chart/series/SeriesTypes.h"
#include "chart/series/arrow/ArrowSeries.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/bubble/BubbleSeries.h"
#include "chart/series/fastline/FastLineSeries.h"
#include "chart/series/gantt/GanttSeries.h"
#include "chart/series/line/AreaSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/line/PointSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/series/pyramid/PyramidSeries.h"
#include "chart/series/shape/ShapeSeries.h"

namespace cb::chart {

void RegisterStandardSeriesTypes() {
    using T = TPlotText;
    RegisterStandardSeriesType(SeriesClassOf<TLineSeries>("TLineSeries"), T::txtGalleryLine);
    RegisterStandardSeriesType(BarSeriesClass(), T::txtGalleryBar);
    RegisterStandardSeriesType(HorizBarSeriesClass(), T::txtGalleryHorizBar);
    RegisterStandardSeriesType(SeriesClassOf<TAreaSeries>("TAreaSeries"), T::txtGalleryArea);
    RegisterStandardSeriesType(SeriesClassOf<TPointSeries>("TPointSeries"), T::txtGalleryPoint);
    RegisterSeriesType(SeriesClassOf<TPieSeries>("TPieSeries"), T::txtGalleryPie, T::txtGalleryStandard, 1);
    RegisterStandardSeriesType(SeriesClassOf<TFastLineSeries>("TFastLineSeries"), T::txtGalleryFastLine);
    RegisterSeriesType(SeriesClassOf<THorizLineSeries>("THorizLineSeries"), T::txtGalleryHorizLine,
                       T::txtGalleryStandard, 1);
    RegisterSeriesType(SeriesClassOf<THorizAreaSeries>("THorizAreaSeries"), T::txtGalleryHorizArea,
                       T::txtGalleryStandard, 1);
    RegisterStandardSeriesType(SeriesClassOf<TChartShape>("TChartShape"), T::txtGalleryShape);
    RegisterSeriesType(SeriesClassOf<TGanttSeries>("TGanttSeries"), T::txtGalleryGantt, T::txtGalleryStandard, 1);
    RegisterSeriesType(SeriesClassOf<TBubbleSeries>("TBubbleSeries"), T::txtGalleryBubble, T::txtGalleryStandard, 1);
}

void RegisterExtendedSeriesTypes() {
    RegisterSeriesType(SeriesClassOf<TPyramidSeries>("TPyramidSeries"), TPlotText::txtGalleryPyramid,
                       TPlotText::txtGalleryExtended, 2);
    RegisterSeriesType(SeriesClassOf<TArrowSeries>("TArrowSeries"), TPlotText::txtGalleryArrow,
                       TPlotText::txtGalleryExtended, 2);
}

void RegisterStandardFunctionTypes() {
    using T = TPlotText;
    RegisterStandardFunctionType(FunctionClassOf<TAddPlotFunction>("TAddPlotFunction"), T::txtFunctionAdd);
    RegisterStandardFunctionType(FunctionClassOf<TSubtractPlotFunction>("TSubtractPlotFunction"),
                                 T::txtFunctionSubtract);
    RegisterStandardFunctionType(FunctionClassOf<TMultiplyPlotFunction>("TMultiplyPlotFunction"),
                                 T::txtFunctionMultiply);
    RegisterStandardFunctionType(FunctionClassOf<TDividePlotFunction>("TDividePlotFunction"), T::txtFunctionDivide);
    RegisterStandardFunctionType(FunctionClassOf<THighPlotFunction>("THighPlotFunction"), T::txtFunctionHigh);
    RegisterStandardFunctionType(FunctionClassOf<TLowPlotFunction>("TLowPlotFunction"), T::txtFunctionLow);
    RegisterStandardFunctionType(FunctionClassOf<TAveragePlotFunction>("TAveragePlotFunction"),
                                 T::txtFunctionAverage);
    RegisterStandardFunctionType(FunctionClassOf<TMedianPlotFunction>("TMedianPlotFunction"), T::txtFunctionMedian);
    RegisterStandardFunctionType(FunctionClassOf<TModePlotFunction>("TModePlotFunction"), T::txtFunctionMode);
    RegisterStandardFunctionType(FunctionClassOf<TCustomPlotFunction>("TCustomPlotFunction"), T::txtFunctionCustom);
}

}  // namespace cb::chart
