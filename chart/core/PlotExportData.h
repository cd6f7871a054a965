#pragma once
// Base of the series data exporters (text, XML, HTML, spreadsheet).
#include <ostream>
#include <string>

namespace cb::chart {

class TPlotExportData {
public:
    virtual ~TPlotExportData() = default;
    // The exported text; empty here.
    virtual std::string BuildText() { return {}; }
    void CopyTextToClipboard();
    // Written beside the file and renamed into place; throws
    // cb::rtl::EInOutError naming the file on failure.
    void SaveTextToFile(const std::string& fileName);
    // The text's characters, no length, no terminator.
    void WriteTextToStream(std::ostream& stream);
};

}  // namespace cb::chart
