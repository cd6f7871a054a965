#include "gif/GIFSubBlocks.h"

#include <algorithm>

namespace cb::gif {

TSubBlockRead JoinSubBlocks(const std::uint8_t* data, std::size_t size, std::size_t pos,
                            std::vector<std::uint8_t>& out) {
    TSubBlockRead r;
    while (pos < size) {
        const std::size_t n = data[pos++];
        if (n == 0) {
            r.Terminated = true;
            break;
        }
        const std::size_t take = std::min(n, size - pos);
        out.insert(out.end(), data + pos, data + pos + take);
        pos += take;
        if (take < n) {
            r.Truncated = true;
            break;
        }
    }
    r.End = pos;
    return r;
}

void AppendSubBlocks(std::vector<std::uint8_t>& out, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const std::size_t n = std::min<std::size_t>(size, 255);
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), data, data + n);
        data += n;
        size -= n;
    }
    out.push_back(0);
}

}  // namespace cb::gif
