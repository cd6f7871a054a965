#pragma once
// The one greedy LZW encoder of the GIF code. Its minimum code size and the
// moment it sends the clear code when the table fills are parameters, so it
// writes the exact bytes of both image classes:
//  - TLZWClearTiming::OnNextMiss: the table is full once code 4094 is
//    assigned; at the next miss the prefix goes out, then the clear code,
//    and the missing pixel carries over as the new prefix.
//  - TLZWClearTiming::AfterLastCode: right after assigning code 4094 the
//    current pixel goes out as a code of its own, then the clear code, and
//    the next pixel starts a new string.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cb::gif {

enum class TLZWClearTiming {
    OnNextMiss,
    AfterLastCode
};

struct TLZWEncodeParams {
    int MinCodeSize = 8;  // 2..8
    TLZWClearTiming Clear = TLZWClearTiming::OnNextMiss;
    // Without pixels: true writes the clear code before the end code.
    bool ClearWhenEmpty = false;
};

// Appends the minimum code size byte, the codes in sub-blocks and the
// terminator to `out`. Pixels are width x height bytes, rows from the top;
// interlaced frames are written in the interlace walk. Pixel values must be
// below `colours` (and below 2^MinCodeSize); otherwise GIFException
// "Color not in color table" and `out` is left as it was.
void LZWEncode(const std::uint8_t* pixels, int width, int height, bool interlaced, int colours,
               const TLZWEncodeParams& params, std::vector<std::uint8_t>& out);

// The minimum code size the block codec writes for a table of so many bits
// per pixel (at least 2).
inline int LZWMinCodeSizeForBits(int bitsPerPixel) {
    return bitsPerPixel < 2 ? 2 : bitsPerPixel;
}

}  // namespace cb::gif
