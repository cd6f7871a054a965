#pragma once
// JPEG compression of a picture through libjpeg, with the settings the
// chart's JPEG routines take.
#include <QImage>

#include <string>

namespace cb::rtl {
class TStream;
}

namespace cb::chartexport {

enum TJPEGPerformance {
    jpBestQuality,
    jpBestSpeed
};

struct TJPEGSettings {
    int Quality = 90;  // 1..100
    bool GrayScale = false;
    TJPEGPerformance Performance = jpBestQuality;  // the DCT method
    int PixelFormat = 0;                           // 0 = 24-bit
    bool ProgressiveDisplay = false;               // read by viewers only
    bool ProgressiveEncoding = false;
    int Scale = 0;  // 0 = full size, read by viewers only
    bool Smoothing = true;
};

// A compressed picture.
class TJPEGImage {
public:
    // Compresses image (any format; read as RGB32) with settings.
    TJPEGImage(const QImage& image, const TJPEGSettings& settings);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const std::string& Data() const { return FData; }
    void SaveToStream(cb::rtl::TStream& stream) const;
    // Through a temporary file renamed into place.
    void SaveToFile(const std::string& fileName) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::string FData;
};

}  // namespace cb::chartexport
