#pragma once
// Colour reductions of 24-bit pixel blocks for 8-bit targets: popularity,
// median cut, two colour cubes, a channel-cycling ramp palette and grey
// levels.
#include "extras/KitErrors.h"

#include <array>
#include <cstdint>
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

}  // namespace cb::extras
