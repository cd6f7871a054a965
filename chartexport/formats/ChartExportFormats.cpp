// The formats of this library in the order the export dialog offers them.
#include "chartexport/core/PlotExportFormat.h"
#include "chartexport/metafile/EMFExportFormat.h"
#include "chartexport/pdf/PDFExportFormat.h"
#include "chartexport/raster/BMPExportFormat.h"
#include "chartexport/raster/GIFExportFormat.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "chartexport/raster/PNGExportFormat.h"
#include "chartexport/vml/VMLExportFormat.h"

namespace cb::chartexport {

void RegisterChartExportFormats() {
    RegisterExportFormat(ExportFormatClass<TBMPExportFormat>());
    RegisterExportFormat(ExportFormatClass<TEMFExportFormat>());
    RegisterExportFormat(ExportFormatClass<TVMLExportFormat>());
    RegisterExportFormat(ExportFormatClass<TGIFExportFormat>());
    RegisterExportFormat(ExportFormatClass<TPNGExportFormat>());
    RegisterExportFormat(ExportFormatClass<TJPEGExportFormat>());
    RegisterExportFormat(ExportFormatClass<TPDFExportFormat>());
}

void UnregisterChartExportFormats() {
    UnregisterExportFormat(ExportFormatClass<TPDFExportFormat>());
    UnregisterExportFormat(ExportFormatClass<TJPEGExportFormat>());
    UnregisterExportFormat(ExportFormatClass<TPNGExportFormat>());
    UnregisterExportFormat(ExportFormatClass<TGIFExportFormat>());
    UnregisterExportFormat(ExportFormatClass<TVMLExportFormat>());
    UnregisterExportFormat(ExportFormatClass<TEMFExportFormat>());
    UnregisterExportFormat(ExportFormatClass<TBMPExportFormat>());
}

}  // namespace cb::chartexport
