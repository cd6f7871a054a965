#pragma once
// Packs variable-width codes least-significant bit first into GIF data
// sub-blocks of at most 255 bytes, appended to a byte vector.
#include <cstdint>
#include <vector>

namespace cb::gif {

class TGIFCodeWriter {
public:
    explicit TGIFCodeWriter(std::vector<std::uint8_t>& out) : FOut(out) {}

    void Put(int code, int width) {
        FBuffer |= std::uint64_t(code) << FCount;
        FCount += width;
        while (FCount >= 8) {
            FBlock[FBlockSize++] = std::uint8_t(FBuffer);
            FBuffer >>= 8;
            FCount -= 8;
            if (FBlockSize == 255) FlushBlock();
        }
    }
    // Pads the last byte with zeros, writes the last sub-block (never an
    // empty one) and the terminator.
    void Finish() {
        if (FCount > 0) {
            FBlock[FBlockSize++] = std::uint8_t(FBuffer);
            FBuffer = 0;
            FCount = 0;
            if (FBlockSize == 255) FlushBlock();
        }
        if (FBlockSize > 0) FlushBlock();
        FOut.push_back(0);
    }

private:
    void FlushBlock() {
        FOut.push_back(std::uint8_t(FBlockSize));
        FOut.insert(FOut.end(), FBlock, FBlock + FBlockSize);
        FBlockSize = 0;
    }
    std::vector<std::uint8_t>& FOut;
    std::uint64_t FBuffer = 0;
    int FCount = 0;
    std::uint8_t FBlock[255];
    int FBlockSize = 0;
};

}  // namespace cb::gif
