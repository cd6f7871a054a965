#pragma once
// Pictures of the mark-up: a picture held as the raw bytes of a GIF, JPEG,
// BMP or ICO file (any single frame of an animated GIF), the cache of
// pictures loaded from addresses and the container of named pictures.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QImage;

namespace cb::grid {

using cb::gfx::TCanvas;
using cb::gfx::TRect;

class THTMLPicture {
public:
    THTMLPicture();
    ~THTMLPicture();
    THTMLPicture(const THTMLPicture&) = delete;
    THTMLPicture& operator=(const THTMLPicture&) = delete;

    // Largest file accepted.
    static constexpr size_t MaxBytes = 64u << 20;

    // Takes the bytes and decodes them; a decoding failure raises
    // cb::rtl::Exception and leaves the picture empty.
    void LoadFromBytes(std::vector<uint8_t> bytes);
    // Reads and decodes a file; any failure leaves the picture empty.
    void LoadFromFile(const std::string& fileName);
    // "FILE://path" loads the file, other addresses stay empty. The address
    // becomes the picture's identity.
    void LoadFromAddress(const std::string& address);
    void Assign(const THTMLPicture* source);
    const std::vector<uint8_t>& Bytes() const { return FBytes; }

    bool Empty() const;
    int Width() const;
    int Height() const;
    // Logical screen of an animated GIF, else the picture's size.
    int AnimationWidth() const;
    int AnimationHeight() const;
    int FrameLeft() const { return FFrameLeft; }
    int FrameTop() const { return FFrameTop; }
    int FrameWidth() const { return FFrameWidth; }
    int FrameHeight() const { return FFrameHeight; }
    // -1 for data that is not GIF.
    int FrameCount() const;
    int Frame() const { return FFrame; }
    void SetFrame(int frame);

    bool Stretch = false;
    std::function<void()> OnChange;
    std::function<void()> OnFrameChange;

    const std::string& Identity() const { return FIdentity; }
    void SetIdentity(const std::string& id) { FIdentity = id; }

    // At the rectangle's top-left at natural size, or stretched into it.
    void Draw(TCanvas& canvas, const TRect& r) const;

private:
    void decode();
    void clear();

    std::vector<uint8_t> FBytes;
    std::unique_ptr<QImage> FImage;
    std::string FIdentity;
    int FFrame = 1;
    mutable int FFrameCount = -2;
    int FFrameLeft = 0, FFrameTop = 0, FFrameWidth = 0, FFrameHeight = 0;
    int FAnimWidth = 0, FAnimHeight = 0;
};

// Pictures loaded from addresses, owned, looked up by identity.
class THTMLPictureCache {
public:
    THTMLPicture* Add();
    THTMLPicture* Find(const std::string& identity) const;
    int Count() const { return int(FItems.size()); }
    THTMLPicture* Item(int index) const { return FItems.at(size_t(index)).get(); }
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<THTMLPicture>> FItems;
};

struct TPictureItem {
    THTMLPicture Picture;
    std::string Name;
    int Tag = 0;
};

// Named pictures.
class TPictureContainer {
public:
    TPictureItem& Add(const std::string& name);
    // Name compared ignoring case.
    THTMLPicture* FindPicture(const std::string& name) const;
    int Count() const { return int(FItems.size()); }
    TPictureItem& Item(int index) { return *FItems.at(size_t(index)); }
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TPictureItem>> FItems;
};

// GIF frames: starts of "graphic control extension + image descriptor"
// pairs in file order.
std::vector<size_t> GifFrameOffsets(const uint8_t* data, size_t size);

}  // namespace cb::grid
