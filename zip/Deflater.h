#pragma once
// Deflate compressor (RFC 1951): hash chains with lazy matching, the level
// table of the classic compressor, Huffman trees built per block. A file
// that would not shrink and ends within its first block is stored whole.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace cb::zip {

class TDeflater {
public:
    // Fills up to Count bytes; 0 means the end of the input.
    using TReadFunc = std::function<std::size_t(std::uint8_t* Buffer, std::size_t Count)>;
    using TWriteFunc = std::function<void(const std::uint8_t* Buffer, std::size_t Count)>;

    // Allocates the buffers once; reuse the object for many files.
    TDeflater();
    ~TDeflater();
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    // Compresses one input at Level 1..9 and returns the bytes written. With
    // AllowWholeFileStore, an input that would not shrink and fits one block
    // is written as it is and WholeFileStored() says so.
    std::uint64_t Compress(int Level, const TReadFunc& Read, const TWriteFunc& Write, bool AllowWholeFileStore = true);

    bool WholeFileStored() const;
    // The first block's literals look like text (bytes 7..127 dominate).
    bool IsText() const;

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

}  // namespace cb::zip
