#include "chart/panel/BackImage.h"

#include <QImage>

namespace cb::chart {

void TBackImage::SetGraphic(const cb::gfx::TBitmap* picture) {
    if (!picture) {
        FGraphic.reset();
    } else if (picture != FGraphic.get()) {
        auto copy = std::make_unique<cb::gfx::TBitmap>();
        copy->Assign(*picture);
        FGraphic = std::move(copy);
    }
    if (OnChange) OnChange();
}

void TBackImage::LoadFromFile(const std::string& fileName) {
    auto b = std::make_unique<cb::gfx::TBitmap>();
    QImage image;
    if (image.load(QString::fromStdString(fileName)))
        b->SetImage(image);
    else
        b->LoadFromFile(fileName);  // throws with the file's name
    FGraphic = std::move(b);
    if (OnChange) OnChange();
}

void TBackImage::Assign(const TBackImage& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    SetGraphic(s.FGraphic.get());
}

}  // namespace cb::chart
