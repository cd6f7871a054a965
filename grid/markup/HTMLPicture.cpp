// Mark-up pictures: raw bytes decoded by Qt's image readers.
#include "grid/markup/HTMLPicture.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/Strings.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace cb::grid {

namespace {

int le16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}

bool isGif(const std::vector<uint8_t>& b) {
    return b.size() >= 5 && std::memcmp(b.data(), "GIF8", 4) == 0;
}

}  // namespace

std::vector<size_t> GifFrameOffsets(const uint8_t* data, size_t size) {
    std::vector<size_t> out;
    for (size_t i = 0; i + 8 < size; ++i)
        if (data[i] == 0x21 && data[i + 1] == 0xF9 && data[i + 2] == 0x04 && data[i + 8] == 0x2C) out.push_back(i);
    return out;
}

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::clear() {
    FImage.reset();
    FFrameCount = -2;
    FFrameLeft = FFrameTop = FFrameWidth = FFrameHeight = FAnimWidth = FAnimHeight = 0;
}

void THTMLPicture::decode() {
    clear();
    if (FBytes.empty()) throw cb::rtl::Exception("Could not load image. Invalid format");
    if (FBytes.size() > MaxBytes) throw cb::rtl::Exception("Could not allocate memory for image");
    QByteArray data(reinterpret_cast<const char*>(FBytes.data()), qsizetype(FBytes.size()));
    int index = 0;
    if (isGif(FBytes)) {
        std::vector<size_t> frames = GifFrameOffsets(FBytes.data(), FBytes.size());
        if (!frames.empty() && FBytes.size() >= 10) {
            FAnimWidth = le16(&FBytes[6]);
            FAnimHeight = le16(&FBytes[8]);
            index = std::clamp(FFrame, 1, int(frames.size())) - 1;
            size_t d = frames[size_t(index)] + 8;
            if (d + 9 <= FBytes.size()) {
                FFrameLeft = le16(&FBytes[d + 1]);
                FFrameTop = le16(&FBytes[d + 3]);
                FFrameWidth = le16(&FBytes[d + 5]);
                FFrameHeight = le16(&FBytes[d + 7]);
            }
        }
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(256);
    QImage image;
    // The reader composes GIF frames over the logical screen; the chosen
    // frame is read after the ones before it.
    for (int i = 0; i <= index; ++i) {
        if (!reader.read(&image)) break;
    }
    if (image.isNull()) throw cb::rtl::Exception("Could not load image. Invalid format");
    FImage = std::make_unique<QImage>(std::move(image));
}

void THTMLPicture::LoadFromBytes(std::vector<uint8_t> bytes) {
    FBytes = std::move(bytes);
    try {
        decode();
    } catch (...) {
        clear();
        throw;
    }
    if (OnChange) OnChange();
}

void THTMLPicture::LoadFromFile(const std::string& fileName) {
    try {
        std::string data;
        if (!cb::rtl::ReadFileBytes(fileName, data, MaxBytes)) return;
        LoadFromBytes(std::vector<uint8_t>(data.begin(), data.end()));
    } catch (const std::exception&) {
        clear();
    }
}

void THTMLPicture::LoadFromAddress(const std::string& address) {
    // The identity ignores case; the path keeps it (file names are case-sensitive).
    FIdentity = cb::rtl::UpperCase(address);
    if (FIdentity.rfind("FILE://", 0) == 0) LoadFromFile(address.substr(7));
}

void THTMLPicture::Assign(const THTMLPicture* source) {
    clear();
    FFrame = 1;
    FBytes.clear();
    if (!source || source->FBytes.empty()) return;
    FBytes = source->FBytes;
    try {
        decode();
    } catch (const std::exception&) {
        clear();
    }
    if (OnChange) OnChange();
}

bool THTMLPicture::Empty() const {
    return !FImage || FImage->isNull();
}
int THTMLPicture::Width() const {
    return FImage ? FImage->width() : 0;
}
int THTMLPicture::Height() const {
    return FImage ? FImage->height() : 0;
}
int THTMLPicture::AnimationWidth() const {
    return FAnimWidth > 0 ? FAnimWidth : Width();
}
int THTMLPicture::AnimationHeight() const {
    return FAnimHeight > 0 ? FAnimHeight : Height();
}

int THTMLPicture::FrameCount() const {
    if (FFrameCount == -2) FFrameCount = isGif(FBytes) ? int(GifFrameOffsets(FBytes.data(), FBytes.size()).size()) : -1;
    return FFrameCount;
}

void THTMLPicture::SetFrame(int frame) {
    FFrame = frame;
    if (FBytes.empty()) return;
    try {
        decode();
    } catch (const std::exception&) {
        clear();
    }
    if (OnFrameChange) OnFrameChange();
}

void THTMLPicture::Draw(TCanvas& canvas, const TRect& r) const {
    if (Empty()) return;
    const TRect src{0, 0, FImage->width(), FImage->height()};
    if (Stretch)
        canvas.DrawImage(r, *FImage, src);
    else
        canvas.DrawImage({r.Left, r.Top, r.Left + src.Right, r.Top + src.Bottom}, *FImage, src);
}

THTMLPicture* THTMLPictureCache::Add() {
    FItems.push_back(std::make_unique<THTMLPicture>());
    return FItems.back().get();
}

THTMLPicture* THTMLPictureCache::Find(const std::string& identity) const {
    for (const auto& p : FItems)
        if (p->Identity() == identity) return p.get();
    return nullptr;
}

TPictureItem& TPictureContainer::Add(const std::string& name) {
    FItems.push_back(std::make_unique<TPictureItem>());
    FItems.back()->Name = name;
    return *FItems.back();
}

THTMLPicture* TPictureContainer::FindPicture(const std::string& name) const {
    for (const auto& p : FItems)
        if (cb::rtl::SameText(p->Name, name)) return &p->Picture;
    return nullptr;
}

}  // namespace cb::grid
