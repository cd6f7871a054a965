#pragma once
// Base of every file format a chart can be saved in, the process-wide list
// of format classes and the routines that save a chart through a format.
#include "platform/rtl/Exception.h"

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace cb::rtl {
class TStream;
}
namespace cb::chart {
class TCustomPlotPanel;
}

namespace cb::chartexport {

class EExportError : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

class TPlotExportFormat {
public:
    TPlotExportFormat();
    TPlotExportFormat(const TPlotExportFormat&) = delete;
    TPlotExportFormat& operator=(const TPlotExportFormat&) = delete;
    virtual ~TPlotExportFormat();

    // Picture size in pixels; 0 means the panel's.
    int Width = 0;
    int Height = 0;
    // The panel to export (not owned).
    cb::chart::TCustomPlotPanel* Panel = nullptr;

    // 1-based position of the first entry of FileFilter in a joined filter.
    virtual int FilterIndex() const { return FFilterIndex; }
    virtual void AssignFilterIndex(int& counter) { FFilterIndex = ++counter; }
    virtual bool OwnsFilterIndex(int index) { return index == FilterIndex(); }

    // Menu-style text with "&" before the hot key.
    virtual std::string Description() const = 0;
    // Without a dot.
    virtual std::string FileExtension() const = 0;
    // Pairs of text and pattern separated by bars.
    virtual std::string FileFilter() const = 0;
    // Writes the picture of Panel at Width x Height.
    virtual void SaveToStream(cb::rtl::TStream& stream) = 0;

    // A 0 width or height becomes the panel's.
    void CheckSize();
    // The file is written to a temporary file beside it and renamed into
    // place when complete: a failure leaves an existing file as it was.
    void SaveToFile(const std::string& fileName);
    void CopyToClipboard();
    // The format's options form, made first when create is set and the
    // format has one; owned by the format. Its controls write the format's
    // choices as they change. None here.
    virtual QWidget* Options(bool create);

protected:
    virtual void DoCopyToClipboard() = 0;
    // Raises the framework's error when Panel is unset.
    void CheckPanel() const;
    // Keeps form as the options form and returns it.
    QWidget* KeepOptions(std::unique_ptr<QWidget> form);
    QWidget* OptionsForm() const { return FOptions.get(); }

private:
    std::unique_ptr<QWidget> FOptions;
    int FFilterIndex = 0;
};

// A format class: makes a new format object of its kind.
using TPlotExportFormatClass = std::unique_ptr<TPlotExportFormat> (*)();

template <class T>
std::unique_ptr<TPlotExportFormat> CreateExportFormat() {
    return std::make_unique<T>();
}
template <class T>
constexpr TPlotExportFormatClass ExportFormatClass() {
    return &CreateExportFormat<T>;
}

using TPlotExportFormats = std::vector<TPlotExportFormatClass>;

// The list of formats, empty until the first registration.
const TPlotExportFormats& ExportFormatList();
void RegisterExportFormat(TPlotExportFormatClass cls);
// Removes one entry of cls, if listed.
void UnregisterExportFormat(TPlotExportFormatClass cls);
// Registers the formats this library holds, in their menu order.
void RegisterChartExportFormats();
void UnregisterChartExportFormats();

// Asks for a file name (overwrite prompt) and saves the chart in it;
// cancelling writes nothing.
void SaveChartWithDialog(TPlotExportFormatClass cls, cb::chart::TCustomPlotPanel* chart);
void SaveChartAsFormat(TPlotExportFormatClass cls, cb::chart::TCustomPlotPanel* chart);

}  // namespace cb::chartexport
