#pragma once
// Bitmaps as BMP file images of a wanted pixel format; 8-bit targets are
// reduced by one of the colour reductions.
#include "extras/ColorReduction.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Streams.h"

#include <memory>

namespace cb::extras {

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

// The bitmap's pixels as a 24-bit block.
TPixelBlock24 BitmapToBlock24(const cb::gfx::TBitmap& bitmap);

// Bytes per scan line: pixels x bits rounded up to the alignment (in bits),
// in bytes.
int BytesPerScanLine(int pixels, int bitsPerPixel, int alignment);

// A BMP file image of the bitmap in the wanted format, in a stream
// positioned at 0. 8-bit targets are reduced by the method; 1- and 4-bit
// targets map to the standard two- and sixteen-colour palettes; 15- and
// 16-bit targets keep five bits a channel (six for green at 16 bits).
std::unique_ptr<cb::rtl::TMemoryStream> BitmapToReducedStream(const cb::gfx::TBitmap& bitmap, TKitPixelFormat format,
                                                              TColorReduction method);

}  // namespace cb::extras
