#pragma once
// The chart as a one-page PDF 1.4 file: the page that collects one drawing
// on the PDF canvas and writes the file, and the export format over it.
#include "chartexport/core/PlotExportFormat.h"
#include "chartexport/pdf/PDFChartObject.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cb::chartexport {

class TPlotPDFPage {
public:
    TPDFChartObject& ChartObject() { return FChartObject; }
    int PageWidth = 0;
    int PageHeight = 0;
    // Writes the whole file; a page is written once.
    void SaveToStream(cb::rtl::TStream& stream);

private:
    void BeginObject(cb::rtl::TStream& stream);
    void Line(cb::rtl::TStream& stream, const std::string& s);

    int FObjectCounter = 0;
    int FCatalogObject = 0, FPagesObject = 0, FResourcesObject = 0;
    std::vector<std::int64_t> FOffsets;
    TPDFChartObject FChartObject;
};

class TPDFExportFormat : public TPlotExportFormat {
public:
    std::string Description() const override { return "as &PDF"; }
    std::string FileExtension() const override { return "pdf"; }
    std::string FileFilter() const override { return "PDF files (*.pdf)|*.pdf"; }
    void SaveToStream(cb::rtl::TStream& stream) override;

protected:
    void DoCopyToClipboard() override {}
};

// width or height 0: the chart's own.
void SaveChartToPDFFile(cb::chart::TCustomPlotPanel& chart, const std::string& fileName, int width, int height);

}  // namespace cb::chartexport
