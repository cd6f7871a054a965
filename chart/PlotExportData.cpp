#include "chart/PlotExportData.h"

#include "platform/rtl/Exception.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSaveFile>

namespace cb::chart {

void TPlotExportData::CopyTextToClipboard()
{
    if (QClipboard* clip = QGuiApplication::clipboard())
        clip->setText(QString::fromStdString(BuildText()));
}

void TPlotExportData::WriteTextToStream(std::ostream& stream)
{
    const std::string text = BuildText();
    stream.write(text.data(), std::streamsize(text.size()));
}

void TPlotExportData::SaveTextToFile(const std::string& fileName)
{
    const std::string text = BuildText();
    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()) ||
        !file.commit())
        throw cb::rtl::EInOutError("Cannot create file \"" + fileName + "\"");
}

} // namespace cb::chart
