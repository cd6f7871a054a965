// GIF reading: the input is a GIF file. It is loaded by the block codec,
// every frame rendered, written back and read again; the display class
// reads, decodes and rewrites it; the first bytes also drive the LZW
// decoder directly over the rest.
#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/GIFLzwDecoder.h"
#include "gif/KitGIFImage.h"
#include "platform/rtl/Streams.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Big pictures are legal but slow under the sanitizers.
    cb::gif::SetGIFPixelLimit(std::uint64_t(1) << 20);
    if (size >= 4) {
        const int w = 1 + data[1] % 64, h = 1 + data[2] % 64;
        std::vector<std::uint8_t> px(std::size_t(w) * h, 0);
        cb::gif::LZWDecode(data[0] % 14, data + 4, size - 4, px.data(), w, h, data[3] & 1);
    }
    cb::rtl::TStringStream in(std::string(reinterpret_cast<const char*>(data), size));
    cb::gif::TGIFImage img;
    try {
        img.LoadFromStream(in);
    } catch (const cb::gif::EInvalidGraphicOperation&) {
        return 0;
    } catch (const cb::rtl::Exception&) {
        return 0;
    }
    for (int i = 0; i < img.FrameCount(); ++i) img.Frame(i).Bitmap();
    // The display class: lazy decoding, rewrite.
    try {
        cb::gif::TKitGIFImage kit;
        kit.ReadGIF(data, size, true);
        for (int i = 0; i < kit.FrameCount(); ++i) kit.FrameAt(i).FrameBitmap();
        cb::rtl::TMemoryStream out;
        kit.WriteGIF(out, true);
    } catch (const cb::gif::EInvalidGraphicOperation&) {}
    try {
        cb::rtl::TMemoryStream out;
        img.SaveToStream(out);
        out.SetPosition(0);
        cb::gif::TGIFImage again;
        again.LoadFromStream(out);
    } catch (const cb::gif::EInvalidGraphicOperation&) {}
    return 0;
}
