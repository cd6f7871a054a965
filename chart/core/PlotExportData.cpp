#include "chart/core/PlotExportData.h"

#include "platform/rtl/FileIO.h"

#include <QClipboard>
#include <QGuiApplication>

namespace cb::chart {

void TPlotExportData::CopyTextToClipboard() {
    if (QClipboard* clip = QGuiApplication::clipboard()) clip->setText(QString::fromStdString(BuildText()));
}

void TPlotExportData::WriteTextToStream(std::ostream& stream) {
    const std::string text = BuildText();
    stream.write(text.data(), std::streamsize(text.size()));
}

void TPlotExportData::SaveTextToFile(const std::string& fileName) {
    cb::rtl::WriteFileAtomic(fileName, BuildText());
}

}  // namespace cb::chart
