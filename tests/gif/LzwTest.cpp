#include "gif/GIFException.h"
#include "gif/GIFLzwDecoder.h"
#include "gif/GIFLzwEncoder.h"
#include "gif/GIFRleEncoder.h"
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

namespace {

// The codes of an encoded stream, read the standard way (width grows when
// the next free code reaches the width's limit; a clear resets).
std::vector<int> parseCodes(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes;
    JoinSubBlocks(data.data(), data.size(), 1, bytes);
    const int m = data[0], clear = 1 << m;
    std::vector<int> codes;
    int width = m + 1, next = clear + 2;
    bool first = true;
    std::size_t bit = 0;
    while (bit + std::size_t(width) <= bytes.size() * 8) {
        int c = 0;
        for (int i = 0; i < width; ++i, ++bit) c |= ((bytes[bit / 8] >> (bit % 8)) & 1) << i;
        codes.push_back(c);
        if (c == clear) {
            width = m + 1;
            next = clear + 2;
            first = true;
            continue;
        }
        if (c == clear + 1) break;
        if (!first && next < 4096) {
            ++next;
            if (next == (1 << width) && width < 12) ++width;
        }
        first = false;
    }
    return codes;
}

}  // namespace

TEST(Lzw, EncoderBytesForBothParameterSets) {
    const std::vector<std::uint8_t> px{0, 0, 0, 1};
    struct Case {
        int m;
        TLZWClearTiming t;
        std::vector<std::uint8_t> bytes;
    };
    // clear, 0, 6, 1, end: the last code one bit wider (the table reached 8).
    const Case cases[] = {{2, TLZWClearTiming::OnNextMiss, {0x02, 0x02, 0x84, 0x53, 0x00}},
                          {2, TLZWClearTiming::AfterLastCode, {0x02, 0x02, 0x84, 0x53, 0x00}},
                          // A 16-colour picture: clear 16, 0, 18, 1, end 17 in 5 bits.
                          {4, TLZWClearTiming::AfterLastCode, {0x04, 0x04, 0x10, 0xC8, 0x10, 0x01, 0x00}}};
    for (const Case& c : cases) EXPECT_EQ(encode(px, 4, 1, false, c.m, c.t), c.bytes) << c.m;
    // Without pixels: only the end code, or clear and end.
    std::vector<std::uint8_t> out;
    LZWEncode(nullptr, 0, 0, false, 0, {2, TLZWClearTiming::OnNextMiss, false}, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x02, 0x01, 0x05, 0x00}));
}

TEST(Lzw, ClearTimingWhenTheTableFills) {
    std::mt19937 rng(11);
    const int w = 200, h = 120;
    std::vector<std::uint8_t> px(std::size_t(w) * h);
    for (auto& p : px) p = std::uint8_t(rng() % 256);
    for (TLZWClearTiming t : {TLZWClearTiming::OnNextMiss, TLZWClearTiming::AfterLastCode}) {
        const auto data = encode(px, w, h, false, 8, t);
        EXPECT_EQ(decode(data, w, h, false), px);
        const std::vector<int> codes = parseCodes(data);
        ASSERT_GT(codes.size(), 5000u);
        EXPECT_EQ(codes.front(), 256);
        EXPECT_EQ(codes.back(), 257);
        int clears = 0;
        for (std::size_t i = 1; i < codes.size(); ++i) {
            EXPECT_LE(codes[i], 4094);
            if (codes[i] != 256) continue;
            ++clears;
            // 4094 - 258 + 1 codes were assigned, one per data code but the last.
            if (clears == 1) {
                EXPECT_EQ(i, 3838u + 1);
            }
            if (t == TLZWClearTiming::AfterLastCode) {
                EXPECT_LT(codes[i - 1], 256);
            }
        }
        EXPECT_GE(clears, 2);
    }
}

TEST(Lzw, DamagedStreams) {
    std::vector<std::uint8_t> px(64 * 8);
    for (std::size_t i = 0; i < px.size(); ++i) px[i] = std::uint8_t((i * 7) % 16);
    auto data = encode(px, 64, 8, false, 4, TLZWClearTiming::OnNextMiss);
    TLZWDecodeResult r;
    // Cut in the middle: the rows before the cut survive.
    auto cut = data;
    cut.resize(cut.size() / 2);
    auto got = decode(cut, 64, 8, false, &r);
    EXPECT_EQ(r.Stop, TLZWStop::OutOfData);
    EXPECT_GT(r.Pixels, 64u);
    EXPECT_TRUE(std::equal(px.begin(), px.begin() + std::ptrdiff_t(r.Pixels), got.begin()));
    EXPECT_EQ(got.back(), 0xEE);
    // A code size the table cannot hold.
    auto bad = data;
    bad[0] = 12;
    decode(bad, 64, 8, false, &r);
    EXPECT_EQ(r.Stop, TLZWStop::BadCode);
    // Interlaced frames of height 1, 2 and 5 fill every row once.
    for (int h : {1, 2, 3, 5}) {
        std::vector<std::uint8_t> rows(std::size_t(3) * h);
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::uint8_t(i % 4);
        EXPECT_EQ(decode(encode(rows, 3, h, true, 2, TLZWClearTiming::OnNextMiss), 3, h, true), rows) << h;
    }
}

TEST(Rle, AnyPictureDecodesToItsPixels) {
    std::mt19937 rng(3);
    for (int bits : {1, 2, 3, 4, 8})
        for (int w : {1, 13, 300}) {
            const int h = 37, colours = 1 << bits;
            std::vector<std::uint8_t> px(std::size_t(w) * h);
            // Runs of random length, some very long.
            for (std::size_t i = 0; i < px.size();) {
                const std::size_t run = (rng() % 4 == 0) ? rng() % 2000 : rng() % 6 + 1;
                const std::uint8_t v = std::uint8_t(rng() % colours);
                for (std::size_t k = 0; k < run && i < px.size(); ++k) px[i++] = v;
            }
            for (bool interlaced : {false, true}) {
                std::vector<std::uint8_t> out;
                RLEEncode(px.data(), w, h, interlaced, colours, bits, out);
                EXPECT_EQ(decode(out, w, h, interlaced), px) << bits << " " << w;
            }
        }
}
