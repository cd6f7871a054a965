#pragma once
// Dithering engines: map the pixels of a picture, row by row in serpentine
// order (first row left to right, the next right to left, ...), to palette
// indexes through a colour lookup. The plain engine takes the nearest
// colour; the others spread each pixel's error over unvisited neighbours.
#include "gif/GIFReduction.h"
#include "gif/GIFTypes.h"

#include <memory>
#include <vector>

namespace cb::gif {

class TDitherEngine {
public:
    TDitherEngine(int width, TColorLookup& lookup) : FLookup(lookup), FWidth(width) {}
    virtual ~TDitherEngine() = default;
    // The index for the pixel at Column(); moves the column on.
    virtual int Dither(int r, int g, int b, int& pr, int& pg, int& pb);
    virtual void NextLine();
    // Moves the column on without a pixel (a transparent pixel).
    virtual void Skip() { FColumn += FDirection; }
    int Column() const { return FColumn; }
    int Direction() const { return FDirection; }
    int Width() const { return FWidth; }

protected:
    int Nearest(int r, int g, int b, int& pr, int& pg, int& pb) { return FLookup.Lookup(r, g, b, pr, pg, pb); }
    TColorLookup& FLookup;
    int FWidth;
    int FDirection = 1;
    int FColumn = 0;
};

// dkNearest .. dkBurkes; null for a kind out of range.
std::unique_ptr<TDitherEngine> CreateDitherer(TGIFDitherKind kind, int width, TColorLookup& lookup);

}  // namespace cb::gif
