#pragma once
// Pictures: TGraphic is the base every picture kind derives from (bitmap,
// and the image formats other folders add); TBitmap is a raster image with
// its own canvas, scan-line access and BMP files.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QImage;

namespace cb::gfx {

class TGraphic {
public:
    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;
    virtual ~TGraphic() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // Draws the picture scaled into the rectangle of the canvas.
    virtual void Draw(TCanvas& canvas, const TRect& r) const = 0;
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool on) { FTransparent = on; }
    virtual void LoadFromFile(const std::string& fileName) = 0;
    virtual void SaveToFile(const std::string& fileName) const = 0;

private:
    bool FTransparent = false;
};

enum TPixelFormat {
    pfDevice,
    pf24bit,
    pf32bit
};
enum TTransparentMode {
    tmAuto,
    tmFixed
};

// A raster image. pf24bit rows hold blue, green, red bytes; pf32bit rows
// blue, green, red, unused (pfDevice is pf32bit). New pixels are white.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf32bit);
    ~TBitmap() override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int w);
    void SetHeight(int h);
    // Resizes, keeping the pixels that still fit; new area white.
    void SetSize(int w, int h);
    TPixelFormat PixelFormat() const { return FFormat; }
    void SetPixelFormat(TPixelFormat f);

    // The bitmap's own canvas (made on first use).
    TCanvas& Canvas();
    // Row pointer, top row 0; throws for a row out of range.
    std::uint8_t* ScanLine(int row);
    const std::uint8_t* ScanLine(int row) const;
    int BytesPerLine() const;

    // Transparent drawing: the colour of the bottom-left pixel (tmAuto) or
    // TransparentColor (tmFixed) is left out when Transparent() is on.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);  // also sets tmFixed
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode m) { FTransparentMode = m; }

    void Assign(const TBitmap& source);
    void Draw(TCanvas& canvas, const TRect& r) const override;

    // BMP files (24- and 32-bit written, bottom-up; the usual kinds read).
    // Failures throw cb::rtl::EInOutError naming the file.
    void LoadFromFile(const std::string& fileName) override;
    void SaveToFile(const std::string& fileName) const override;
    std::vector<std::uint8_t> SaveToBmpBytes() const;
    void LoadFromBmpBytes(const std::uint8_t* data, std::size_t size);

    // The image itself (the canvas's painter is ended first).
    const QImage& Image() const;
    QImage& Image();
    // Replaces the image (converted to the pixel format's layout).
    void SetImage(const QImage& image);

    void FreeImage() { SetSize(0, 0); }

private:
    void releasePainter() const;
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FFormat = pf32bit;
    TColor FTransparentColor = clNone;
    TTransparentMode FTransparentMode = tmAuto;
};

}  // namespace cb::gfx
