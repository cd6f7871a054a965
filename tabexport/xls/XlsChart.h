#pragma once
// The chart substream of an embedded chart: BOF to EOF, nested in the
// worksheet after the chart's OBJ record.
namespace cb::tabexport {

class TBiffOut;
struct TxlsChartShape;

void WriteChartSubstream(TBiffOut& Out, const TxlsChartShape& Shape);

}  // namespace cb::tabexport
