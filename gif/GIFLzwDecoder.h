#pragma once
// The one LZW decoder of the GIF code: turns the joined data of a frame's
// sub-blocks into colour indexes in display order, also for interlaced
// frames. Pixels it does not reach keep what the caller put there.
#include <cstddef>
#include <cstdint>

namespace cb::gif {

enum class TLZWStop {
    Complete,   // every pixel was decoded
    EndCode,    // the end code came before the last pixel
    OutOfData,  // the data ended before the end code and the last pixel
    BadCode     // a code that cannot stand where it stands (the rest is lost)
};

struct TLZWDecodeResult {
    std::size_t Pixels = 0;  // pixels decoded, in file order
    TLZWStop Stop = TLZWStop::Complete;
    bool Damaged() const { return Stop == TLZWStop::OutOfData || Stop == TLZWStop::BadCode; }
};

// Smallest and largest minimum code size the decoder takes.
constexpr int kLZWMinCodeSizeLow = 2;
constexpr int kLZWMinCodeSizeHigh = 11;

// Decodes `size` bytes of codes (sub-blocks already joined) with the given
// minimum code size (kLZWMinCodeSizeLow..High, else BadCode at once) into
// `pixels`, width x height bytes, rows from the top.
TLZWDecodeResult LZWDecode(int minCodeSize, const std::uint8_t* codes, std::size_t size, std::uint8_t* pixels,
                           int width, int height, bool interlaced);

}  // namespace cb::gif
