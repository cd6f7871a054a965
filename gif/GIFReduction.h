#pragma once
// Colour reduction of true-colour pictures to at most 256 colours: the
// fixed palettes, the octree quantiser and the colour lookups, combined
// with a dithering engine (GIFDither.h).
#include "gif/GIFColorMap.h"
#include "gif/GIFTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

class QImage;

namespace cb::gif {

// Maps a colour to a palette index and gives that entry's colour.
class TColorLookup {
public:
    virtual ~TColorLookup() = default;
    int Count() const { return FCount; }
    virtual int Lookup(int r, int g, int b, int& pr, int& pg, int& pb) = 0;

protected:
    int FCount = 0;
};

// Nearest entry by the sum of channel differences, cached per 5-bit colour.
class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(const std::vector<TGIFColor>& palette);
    int Lookup(int r, int g, int b, int& pr, int& pg, int& pb) override;

private:
    std::vector<TGIFColor> FPalette;
    std::vector<std::int16_t> FCache;
};

// The 216-colour cube: index 36r + 6g + b holds (51r, 51g, 51b).
class TNetscapeColorLookup : public TColorLookup {
public:
    TNetscapeColorLookup() { FCount = 216; }
    int Lookup(int r, int g, int b, int& pr, int& pg, int& pb) override;
};

class TGrayScaleLookup : public TColorLookup {
public:
    TGrayScaleLookup() { FCount = 256; }
    int Lookup(int r, int g, int b, int& pr, int& pg, int& pb) override;
};

class TMonochromeLookup : public TColorLookup {
public:
    TMonochromeLookup() { FCount = 2; }
    int Lookup(int r, int g, int b, int& pr, int& pg, int& pb) override;
};

// The palette a reduction kind stands for (the octree kinds are computed
// from the picture; rkCustomPalette is the caller's). rkNone: empty.
std::vector<TGIFColor> ReductionPalette(TGIFReductionKind kind, const QImage& rgb, int quantizeBits,
                                        const std::vector<TGIFColor>& custom);

// The octree palette of at most `colours` entries (with the 20 system
// colours around it when asked: 10 first, 10 last).
std::vector<TGIFColor> OptimizedPalette(const QImage& rgb, int colours, int colourBits, bool withSystemColours);

// The 20 colours of the system's default palette.
const std::vector<TGIFColor>& SystemColors20();

// Reduces a picture: rkNone gives a 32-bit copy; every other kind an 8-bit
// image whose colour table is the palette. A kind or dither kind out of
// range gives a null image.
QImage Reduce(const QImage& source, TGIFReductionKind kind, TGIFDitherKind dither, int quantizeBits,
              const std::vector<TGIFColor>& custom = {});

}  // namespace cb::gif
