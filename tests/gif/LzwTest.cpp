#include "gif/GIFException.h"
#include "gif/GIFLzwDecoder.h"
#include "gif/GIFLzwEncoder.h"
#include "gif/GIFSubBlocks.h"

#include <gtest/gtest.h>

#include <random>

using namespace cb::gif;

namespace {

std::vector<std::uint8_t> encode(const std::vector<std::uint8_t>& px, int w, int h, bool interlaced, int m,
                                 TLZWClearTiming t) {
    std::vector<std::uint8_t> out;
    LZWEncode(px.data(), w, h, interlaced, 0, {m, t, false}, out);
    return out;
}

std::vector<std::uint8_t> decode(const std::vector<std::uint8_t>& data, int w, int h, bool interlaced,
                                 TLZWDecodeResult* res = nullptr) {
    std::vector<std::uint8_t> joined;
    JoinSubBlocks(data.data(), data.size(), 1, joined);
    std::vector<std::uint8_t> px(std::size_t(w) * h, 0xEE);
    const auto r = LZWDecode(data[0], joined.data(), joined.size(), px.data(), w, h, interlaced);
    if (res) *res = r;
    return px;
}

}  // namespace

TEST(Lzw, OnePixelTwoColoursBytes) {
    // clear 4, pixel 1, end 5 in 3-bit codes: 100 001 101 -> 0x0C 0x01
    const std::vector<std::uint8_t> px{1};
    EXPECT_EQ(encode(px, 1, 1, false, 2, TLZWClearTiming::OnNextMiss),
              (std::vector<std::uint8_t>{0x02, 0x02, 0x4C, 0x01, 0x00}));
}

TEST(Lzw, RoundTripBothTimings) {
    std::mt19937 rng(7);
    struct Case {
        int w, h, m, colours;
        bool interlaced;
    };
    const Case cases[] = {{1, 1, 2, 2, false},   {7, 5, 2, 4, true},         {300, 200, 8, 256, false},
                          {64, 64, 4, 16, true}, {1000, 300, 8, 256, false}, {17, 2, 3, 8, true}};
    for (const Case& c : cases)
        for (TLZWClearTiming t : {TLZWClearTiming::OnNextMiss, TLZWClearTiming::AfterLastCode}) {
            std::vector<std::uint8_t> px(std::size_t(c.w) * c.h);
            for (auto& p : px) p = std::uint8_t(rng() % c.colours);
            const auto data = encode(px, c.w, c.h, c.interlaced, c.m, t);
            TLZWDecodeResult r;
            EXPECT_EQ(decode(data, c.w, c.h, c.interlaced, &r), px) << c.w << "x" << c.h;
            EXPECT_EQ(r.Stop, TLZWStop::Complete);
        }
}
