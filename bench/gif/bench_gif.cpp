// Encoding a 1920 x 1080 8-bit picture and decoding it again, beside giflib
// on the same pixels. Two pictures: a chart (flat areas, lines, text-like
// noise) and a photo-like one (gradients with noise). The byte counters give
// the output sizes.
#include "gif/GIFImage.h"
#include "gif/GIFLzwDecoder.h"
#include "gif/GIFLzwEncoder.h"
#include "gif/GIFSubBlocks.h"
#include "platform/rtl/Streams.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kW = 1920, kH = 1080;

std::vector<std::uint8_t> picture(bool photo) {
    std::vector<std::uint8_t> px(std::size_t(kW) * kH);
    std::mt19937 rng(5);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            std::uint8_t v;
            if (photo) {
                v = std::uint8_t((x / 8 + y / 5 + int(rng() % 24)) & 255);
            } else {
                v = std::uint8_t(((x / 160) * 7 + (y / 90) * 3) % 40);                // bars and bands
                if (y % 97 == 0 || x % 211 == 0) v = 250;                             // grid lines
                if (y > 1000 && (rng() % 3 == 0)) v = std::uint8_t(200 + rng() % 8);  // labels
            }
            px[std::size_t(y) * kW + x] = v;
        }
    return px;
}

const std::vector<std::uint8_t>& pixels(int kind) {
    static const std::vector<std::uint8_t> chart = picture(false), photo = picture(true);
    return kind == 0 ? chart : photo;
}

// giflib writes into memory.
int writeMem(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

struct TMemIn {
    const std::vector<std::uint8_t>* Data;
    std::size_t Pos;
};

int readMem(GifFileType* gif, GifByteType* buf, int n) {
    auto* in = static_cast<TMemIn*>(gif->UserData);
    const std::size_t take = std::min<std::size_t>(std::size_t(n), in->Data->size() - in->Pos);
    std::memcpy(buf, in->Data->data() + in->Pos, take);
    in->Pos += take;
    return int(take);
}

std::vector<std::uint8_t> giflibEncode(const std::vector<std::uint8_t>& px) {
    std::vector<std::uint8_t> out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, writeMem, &err);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = {GifByteType(i), GifByteType(i), GifByteType(i)};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifPutScreenDesc(gif, kW, kH, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kW, kH, false, nullptr);
    for (int y = 0; y < kH; ++y) EGifPutLine(gif, const_cast<GifPixelType*>(px.data() + std::size_t(y) * kW), kW);
    EGifCloseFile(gif, &err);
    GifFreeMapObject(map);
    return out;
}

std::vector<std::uint8_t> ourEncode(const std::vector<std::uint8_t>& px) {
    std::vector<std::uint8_t> out;
    cb::gif::LZWEncode(px.data(), kW, kH, false, 256, {8, cb::gif::TLZWClearTiming::OnNextMiss, false}, out);
    return out;
}

void BM_EncodeOurs(benchmark::State& state) {
    const auto& px = pixels(int(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const auto out = ourEncode(px);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = double(size);
}

void BM_EncodeGiflib(benchmark::State& state) {
    const auto& px = pixels(int(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const auto out = giflibEncode(px);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = double(size);
}

void BM_DecodeOurs(benchmark::State& state) {
    const auto data = ourEncode(pixels(int(state.range(0))));
    std::vector<std::uint8_t> px(std::size_t(kW) * kH);
    std::vector<std::uint8_t> joined;
    for (auto _ : state) {
        joined.clear();
        cb::gif::JoinSubBlocks(data.data(), data.size(), 1, joined);
        const auto r = cb::gif::LZWDecode(data[0], joined.data(), joined.size(), px.data(), kW, kH, false);
        benchmark::DoNotOptimize(r.Pixels);
    }
    if (px != pixels(int(state.range(0)))) state.SkipWithError("decoded pixels differ");
}

void BM_DecodeGiflib(benchmark::State& state) {
    const auto file = giflibEncode(pixels(int(state.range(0))));
    std::vector<std::uint8_t> px(std::size_t(kW) * kH);
    for (auto _ : state) {
        TMemIn in{&file, 0};
        int err = 0;
        GifFileType* gif = DGifOpen(&in, readMem, &err);
        GifRecordType rec;
        do {
            DGifGetRecordType(gif, &rec);
            if (rec == IMAGE_DESC_RECORD_TYPE) {
                DGifGetImageDesc(gif);
                for (int y = 0; y < kH; ++y) DGifGetLine(gif, px.data() + std::size_t(y) * kW, kW);
            } else if (rec == EXTENSION_RECORD_TYPE) {
                int code;
                GifByteType* ext;
                DGifGetExtension(gif, &code, &ext);
                while (ext) DGifGetExtensionNext(gif, &ext);
            }
        } while (rec != TERMINATE_RECORD_TYPE);
        DGifCloseFile(gif, &err);
        benchmark::DoNotOptimize(px.data());
    }
    if (px != pixels(int(state.range(0)))) state.SkipWithError("decoded pixels differ");
}

// The whole file through the block codec (table, descriptor, data).
void BM_FileRoundTripOurs(benchmark::State& state) {
    const auto& px = pixels(int(state.range(0)));
    cb::gif::TGIFImage img;
    auto frame = std::make_unique<cb::gif::TGIFSubImage>(&img);
    frame->SetBounds(0, 0, kW, kH);
    frame->Pixels() = px;
    std::vector<cb::gif::TGIFColor> grey(256);
    for (int i = 0; i < 256; ++i) grey[std::size_t(i)] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
    img.GlobalColorMap().FromColorTable(grey.data(), 256);
    img.AddFrame(std::move(frame));
    for (auto _ : state) {
        cb::rtl::TMemoryStream s;
        img.SaveToStream(s);
        s.SetPosition(0);
        cb::gif::TGIFImage back;
        back.LoadFromStream(s);
        benchmark::DoNotOptimize(back.FrameCount());
    }
}

}  // namespace

BENCHMARK(BM_EncodeOurs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeGiflib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeOurs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeGiflib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileRoundTripOurs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
