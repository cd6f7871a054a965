#include "chart/canvas/Metafile.h"

#include "platform/rtl/Exception.h"

#include <QPainter>
#include <QPicture>

#include <algorithm>

namespace cb::chart {

TMetafile::TMetafile() : FPicture(std::make_unique<QPicture>()) {}

TMetafile::TMetafile(int width, int height, bool enhanced) : TMetafile() {
    SetSize(width, height);
    FEnhanced = enhanced;
}

TMetafile::~TMetafile() = default;

void TMetafile::SetSize(int width, int height) {
    FWidth = std::max(1, width);
    FHeight = std::max(1, height);
    FPicture->setBoundingRect(QRect(0, 0, FWidth, FHeight));
}

int TMetafile::RecordSize() const {
    return int(FPicture->size());
}

void TMetafile::Draw(cb::gfx::TCanvas& canvas, const TRect& r) const {
    QPainter* p = canvas.Painter();
    if (!p || FWidth <= 0 || FHeight <= 0 || r.Width() == 0 || r.Height() == 0) return;
    p->save();
    p->translate(r.Left, r.Top);
    p->scale(double(r.Width()) / FWidth, double(r.Height()) / FHeight);
    p->drawPicture(0, 0, *FPicture);
    p->restore();
}

void TMetafile::LoadFromFile(const std::string& fileName) {
    auto picture = std::make_unique<QPicture>();
    if (!picture->load(QString::fromStdString(fileName)))
        throw cb::rtl::EInOutError("Cannot read the picture file \"" + fileName + "\"");
    const QRect b = picture->boundingRect();
    FPicture = std::move(picture);
    FWidth = std::max(1, b.right() + 1);
    FHeight = std::max(1, b.bottom() + 1);
}

void TMetafile::SaveToFile(const std::string& fileName) const {
    if (!FPicture->save(QString::fromStdString(fileName)))
        throw cb::rtl::EInOutError("Cannot write the picture file \"" + fileName + "\"");
}

struct TMetafileCanvas::Impl {
    TMetafile& metafile;
    QPicture picture;
    QPainter painter;
    explicit Impl(TMetafile& m) : metafile(m) {}
};

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile) : d(std::make_unique<Impl>(metafile)) {
    d->painter.begin(&d->picture);
    d->painter.setClipRect(QRect(0, 0, metafile.Width(), metafile.Height()));
    FCanvas = std::make_unique<cb::gfx::TCanvas>(&d->painter);
}

TMetafileCanvas::~TMetafileCanvas() {
    FCanvas.reset();
    d->painter.end();
    d->picture.setBoundingRect(QRect(0, 0, d->metafile.Width(), d->metafile.Height()));
    d->metafile.Picture() = d->picture;
}

}  // namespace cb::chart
