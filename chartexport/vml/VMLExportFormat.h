#pragma once
// The VML export format: the chart drawn on a VML canvas and wrapped in a
// minimal HTML page.
#include "chartexport/core/PlotExportFormat.h"
#include "platform/rtl/StringList.h"

#include <string>

namespace cb::chartexport {

class TVMLExportFormat : public TPlotExportFormat {
public:
    std::string Description() const override { return "as &VML (HTM)"; }
    std::string FileExtension() const override { return "HTM"; }
    std::string FileFilter() const override { return "VML files (*.htm)|*.htm"; }
    void SaveToStream(cb::rtl::TStream& stream) override;
    // The page's lines; the panel's own canvas and repaint come back in
    // every case.
    cb::rtl::TStringList MakePage();

protected:
    void DoCopyToClipboard() override;
};

}  // namespace cb::chartexport
