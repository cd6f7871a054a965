#pragma once
// GIF data sub-blocks: a size byte 1..255 and that many bytes, ended by a
// size byte 0. Reading joins them into one run of bytes; writing cuts a run
// into sub-blocks.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cb::gif {

struct TSubBlockRead {
    std::size_t End = 0;      // position after the terminator, or where reading stopped
    bool Terminated = false;  // a size byte 0 was met
    bool Truncated = false;   // a sub-block ran past the data (its bytes up to the end are kept)
};

// Appends the data of the sub-blocks that start at `pos` to `out`.
TSubBlockRead JoinSubBlocks(const std::uint8_t* data, std::size_t size, std::size_t pos,
                            std::vector<std::uint8_t>& out);

// Appends `data` as sub-blocks of at most 255 bytes and the terminator.
void AppendSubBlocks(std::vector<std::uint8_t>& out, const std::uint8_t* data, std::size_t size);

}  // namespace cb::gif
