#include "chartexport/core/PlotExportFormat.h"

#include "chart/panel/CustomPlotPanel.h"
#include "platform/desktop/SaveDialog.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace cb::chartexport {

namespace {
std::unique_ptr<TPlotExportFormats>& List() {
    static std::unique_ptr<TPlotExportFormats> list;
    return list;
}

// "Text (*.a)|*.a|Other|*.b" as a Qt name filter list.
QString QtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i];
        if (!text.contains(QLatin1Char('('))) text += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        out << text;
    }
    return out.join(QStringLiteral(";;"));
}
}  // namespace

TPlotExportFormat::TPlotExportFormat() = default;
TPlotExportFormat::~TPlotExportFormat() = default;

QWidget* TPlotExportFormat::Options(bool) {
    return nullptr;
}

QWidget* TPlotExportFormat::KeepOptions(std::unique_ptr<QWidget> form) {
    FOptions = std::move(form);
    return FOptions.get();
}

void TPlotExportFormat::CheckPanel() const {
    if (!Panel) throw EExportError("Panel property is not set in Export format");
}

void TPlotExportFormat::CheckSize() {
    if (!Panel) return;
    const cb::chart::TRect r = Panel->PanelRect();
    if (Width == 0) Width = r.Width();
    if (Height == 0) Height = r.Height();
}

void TPlotExportFormat::SaveToFile(const std::string& fileName) {
    CheckPanel();
    CheckSize();
    cb::rtl::TAtomicFileStream file(fileName);  // discarded unless committed
    SaveToStream(file);
    file.Commit();
}

void TPlotExportFormat::CopyToClipboard() {
    CheckPanel();
    CheckSize();
    DoCopyToClipboard();
}

const TPlotExportFormats& ExportFormatList() {
    static const TPlotExportFormats empty;
    return List() ? *List() : empty;
}

void RegisterExportFormat(TPlotExportFormatClass cls) {
    if (!List()) List() = std::make_unique<TPlotExportFormats>();
    List()->push_back(cls);
}

void UnregisterExportFormat(TPlotExportFormatClass cls) {
    if (!List()) return;
    auto it = std::find(List()->begin(), List()->end(), cls);
    if (it != List()->end()) List()->erase(it);
}

void SaveChartWithDialog(TPlotExportFormatClass cls, cb::chart::TCustomPlotPanel* chart) {
    std::unique_ptr<TPlotExportFormat> format = cls();
    format->Panel = chart;
    // A name that ends in another format's extension is refused, so no
    // file gets data of a format its name does not say.
    std::vector<std::string> extensions{format->FileExtension()};
    if (cb::rtl::SameText(extensions.front(), "jpg")) extensions.push_back("jpeg");
    const std::string file = cb::os::AskSaveFileName(
        chart, {"Export Current Graph", QtFilter(format->FileFilter()).toStdString(), extensions});
    if (!file.empty()) format->SaveToFile(file);
}

void SaveChartAsFormat(TPlotExportFormatClass cls, cb::chart::TCustomPlotPanel* chart) {
    SaveChartWithDialog(cls, chart);
}

}  // namespace cb::chartexport
