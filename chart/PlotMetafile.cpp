#include "chart/PlotMetafile.h"

#include "platform/rtl/Exception.h"

#include <QPainter>
#include <QPicture>

#include <algorithm>

namespace cb::chart {

TMetafile::TMetafile() : fPicture(std::make_unique<QPicture>()) {}

TMetafile::TMetafile(int width, int height, bool enhanced) : TMetafile()
{
    SetSize(width, height);
    fEnhanced = enhanced;
}

TMetafile::~TMetafile() = default;

void TMetafile::SetSize(int width, int height)
{
    fWidth = std::max(1, width);
    fHeight = std::max(1, height);
    fPicture->setBoundingRect(QRect(0, 0, fWidth, fHeight));
}

int TMetafile::RecordSize() const { return int(fPicture->size()); }

void TMetafile::Draw(cb::gfx::TCanvas& canvas, const TRect& r) const
{
    QPainter* p = canvas.Painter();
    if (!p || fWidth <= 0 || fHeight <= 0 || r.Width() == 0 || r.Height() == 0)
        return;
    p->save();
    p->translate(r.Left, r.Top);
    p->scale(double(r.Width()) / fWidth, double(r.Height()) / fHeight);
    p->drawPicture(0, 0, *fPicture);
    p->restore();
}

void TMetafile::LoadFromFile(const std::string& fileName)
{
    auto picture = std::make_unique<QPicture>();
    if (!picture->load(QString::fromStdString(fileName)))
        throw cb::rtl::EInOutError("Cannot read the picture file \"" + fileName + "\"");
    const QRect b = picture->boundingRect();
    fPicture = std::move(picture);
    fWidth = std::max(1, b.right() + 1);
    fHeight = std::max(1, b.bottom() + 1);
}

void TMetafile::SaveToFile(const std::string& fileName) const
{
    if (!fPicture->save(QString::fromStdString(fileName)))
        throw cb::rtl::EInOutError("Cannot write the picture file \"" + fileName + "\"");
}

struct TMetafileCanvas::Impl {
    TMetafile& metafile;
    QPicture picture;
    QPainter painter;
    explicit Impl(TMetafile& m) : metafile(m) {}
};

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile) : d(std::make_unique<Impl>(metafile))
{
    d->painter.begin(&d->picture);
    d->painter.setClipRect(QRect(0, 0, metafile.Width(), metafile.Height()));
    fCanvas = std::make_unique<cb::gfx::TCanvas>(&d->painter);
}

TMetafileCanvas::~TMetafileCanvas()
{
    fCanvas.reset();
    d->painter.end();
    d->picture.setBoundingRect(QRect(0, 0, d->metafile.Width(), d->metafile.Height()));
    d->metafile.Picture() = d->picture;
}

} // namespace cb::chart
