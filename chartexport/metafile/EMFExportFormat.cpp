#include "chartexport/metafile/EMFExportFormat.h"

#include "chartexport/metafile/EMFOptions.h"

#include "chart/canvas/Metafile.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/metafile/MetafileWriters.h"
#include "platform/rtl/Streams.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPicture>

namespace cb::chartexport {

int TEMFExportFormat::FilterIndex() const {
    return TPlotExportFormat::FilterIndex() + (Enhanced ? 0 : 1);
}

void TEMFExportFormat::AssignFilterIndex(int& counter) {
    TPlotExportFormat::AssignFilterIndex(counter);
    ++counter;
}

bool TEMFExportFormat::OwnsFilterIndex(int index) {
    const int own = TPlotExportFormat::FilterIndex();
    if (index != own && index != own + 1) return false;
    Enhanced = index == own;
    return true;
}

namespace {
template <class W>
std::string Record(cb::chart::TMetafile& Meta, int Width, int Height) {
    W writer(Width, Height);
    {
        TMetafileDevice device(Width, Height, writer);
        QPainter painter(&device);
        Meta.Picture().play(&painter);
    }
    return writer.Finish();
}
}  // namespace

std::string TEMFExportFormat::MakeMetafile() {
    CheckPanel();
    CheckSize();
    if (Width <= 0 || Height <= 0 || Width > 32767 || Height > 32767)
        throw EExportError("Invalid picture size " + std::to_string(Width) + " x " + std::to_string(Height));
    const auto meta = Panel->DrawToMetafile(Enhanced, {0, 0, Width, Height});
    return Enhanced ? Record<TEmfWriter>(*meta, Width, Height) : Record<TWmfWriter>(*meta, Width, Height);
}

void TEMFExportFormat::SaveToStream(cb::rtl::TStream& stream) {
    stream.WriteBuffer(MakeMetafile());
}

void TEMFExportFormat::DoCopyToClipboard() {
    const std::string bytes = MakeMetafile();
    auto data = std::make_unique<QMimeData>();
    data->setData(Enhanced ? "image/emf" : "image/wmf", QByteArray(bytes.data(), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data.release());
}

QWidget* TEMFExportFormat::Options(bool create) {
    if (!OptionsForm() && create) KeepOptions(std::make_unique<TEMFOptions>(*this));
    return OptionsForm();
}

}  // namespace cb::chartexport
