#pragma once
// Bitmaps as BMP file images of a wanted pixel format, and the colour
// reductions for 8-bit targets: popularity, median cut, two colour cubes, a
// channel-cycling ramp palette and grey levels.
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace cb::extras {

enum TColorReduction : std::uint8_t {
    rdPopularity = 0,
    rdMedianCut = 1,
    rdCube784 = 2,
    rdCube666 = 3,
    rdChannelCycle = 4,
    rdGrayscale = 5
};

// Bits per pixel of a wanted image (the values are the bit counts).
enum TKitPixelFormat {
    kpf1bit = 1,
    kpf4bit = 4,
    kpf8bit = 8,
    kpf15bit = 15,
    kpf16bit = 16,
    kpf24bit = 24,
    kpf32bit = 32
};

// "Bitmap image is not valid" and the like.
class EInvalidGraphic : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

// A silent abort: the user has been told already.
class EKitAbort : public cb::rtl::Exception {
public:
    EKitAbort() : cb::rtl::Exception("Operation aborted") {}
};

// Resets the cursor, tells the user "Function not yet implemented" and
// throws EKitAbort.
[[noreturn]] void NotImplementedStop();

// One colour table entry as stored in a BMP file.
struct TRGBQuad {
    std::uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
    friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

// A 24-bit pixel block laid out as in a BMP file: rows bottom-up (stored row
// 0 is the bottom row), blue, green, red, each row padded to 4 bytes.
struct TPixelBlock24 {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bits;
    int Stride() const { return ((Width * 3) + 3) & ~3; }
    std::uint8_t* Row(int storedRow) { return Bits.data() + std::size_t(storedRow) * Stride(); }
    const std::uint8_t* Row(int storedRow) const { return Bits.data() + std::size_t(storedRow) * Stride(); }
};

// An 8-bit result: one palette index per pixel in the block's row order
// (rows padded to 4 bytes), the colour table, and the number of important
// colours the method records (0 when it records none).
struct TReducedImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Indices;
    std::array<TRGBQuad, 256> Table{};
    int ImportantColors = 0;
    int Stride() const { return (Width + 3) & ~3; }
    std::uint8_t Index(int storedRow, int x) const { return Indices[std::size_t(storedRow) * Stride() + x]; }
};

// Evenly spaced levels (n = 4, 6, 7 or 8) and the nearest level's index for
// a byte value (the lower index on ties).
const std::vector<std::uint8_t>& LevelTable(int n);
int NearestLevel(int n, std::uint8_t value);

// Popularity details, for callers that want to know how colours were counted.
struct TPopularityStats {
    std::uint8_t RedMask = 0xFF, GreenMask = 0xFF, BlueMask = 0xFF;
    int Entries = 0;  // distinct masked colours counted
};

TReducedImage ReducePopularity(const TPixelBlock24& block, TPopularityStats* stats = nullptr);
TReducedImage ReduceMedianCut(const TPixelBlock24& block);
TReducedImage ReduceCube666(const TPixelBlock24& block);
TReducedImage ReduceCube784(const TPixelBlock24& block);
TReducedImage ReduceChannelCycle(const TPixelBlock24& block);
TReducedImage ReduceGrayscale(const TPixelBlock24& block);
TReducedImage ReduceColors(const TPixelBlock24& block, TColorReduction method);

// The bitmap's pixels as a 24-bit block.
TPixelBlock24 BitmapToBlock24(const cb::gfx::TBitmap& bitmap);

// Bytes per scan line: pixels x bits rounded up to the alignment (in bits),
// in bytes.
int BytesPerScanLine(int pixels, int bitsPerPixel, int alignment);

// A BMP file image of the bitmap in the wanted format, in a stream
// positioned at 0. 8-bit targets are reduced by the method; 1- and 4-bit
// targets map to the standard two- and sixteen-colour palettes.
std::unique_ptr<cb::rtl::TMemoryStream> BitmapToReducedStream(const cb::gfx::TBitmap& bitmap, TKitPixelFormat format,
                                                              TColorReduction method);

}  // namespace cb::extras
