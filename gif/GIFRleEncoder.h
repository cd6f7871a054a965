#pragma once
// The run-length GIF encoder: compresses runs of equal pixels only, but
// emits codes every LZW decoder reads (after a clear, each new code the
// decoder meets extends the previous one by the same pixel).
#include <cstdint>
#include <vector>

namespace cb::gif {

// Same contract as LZWEncode with the block codec's minimum code size.
void RLEEncode(const std::uint8_t* pixels, int width, int height, bool interlaced, int colours, int bitsPerPixel,
               std::vector<std::uint8_t>& out);

}  // namespace cb::gif
