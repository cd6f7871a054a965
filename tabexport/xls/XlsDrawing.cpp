#include "tabexport/xls/XlsDrawing.h"

#include "platform/os/Files.h"
#include "platform/rtl/Streams.h"
#include "tabexport/core/TabExportTypes.h"
#include "tabexport/core/Utf.h"
#include "tabexport/xls/BiffStream.h"
#include "tabexport/xls/XlsPictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <iterator>

namespace cb::tabexport {

namespace {

// Pictures larger than this are refused.
constexpr std::size_t KMaxPictureBytes = 64u << 20;
constexpr int KMaxPicturePixels = 16384;

void Put16(std::string& S, std::uint16_t V) {
    S += char(V & 0xFF);
    S += char(V >> 8);
}
void Put32(std::string& S, std::uint32_t V) {
    Put16(S, std::uint16_t(V));
    Put16(S, std::uint16_t(V >> 16));
}

// One drawing record: header and body. ExtraLength is added to the length
// (children written later, in other records).
std::string Rec(int Version, int Instance, std::uint16_t Type, const std::string& Body, std::size_t ExtraLength = 0) {
    std::string s;
    Put16(s, std::uint16_t((Version & 0xF) | (Instance << 4)));
    Put16(s, Type);
    Put32(s, std::uint32_t(Body.size() + ExtraLength));
    return s + Body;
}

struct TProp {
    std::uint16_t Id;
    std::uint32_t Value;
    std::u16string Complex;
};

std::string Opt(const std::vector<TProp>& Props) {
    std::string body, extra;
    for (const auto& p : Props) {
        Put16(body, p.Id);
        if (p.Id & 0x8000) {
            Put32(body, std::uint32_t(p.Complex.size() * 2 + 2));
            for (char16_t c : p.Complex) Put16(extra, std::uint16_t(c));
            Put16(extra, 0);
        } else {
            Put32(body, p.Value);
        }
    }
    return Rec(3, int(Props.size()), 0xF00B, body + extra);
}

std::string ReadPictureBytes(const TxlsGraphic& G, bool& Found) {
    Found = true;
    if (!G.Data().empty()) {
        if (G.Data().size() > KMaxPictureBytes) throw ETabExportError("A picture is larger than 64 MB");
        return G.Data();
    }
    if (G.FileName().empty() || !cb::os::FileExists(G.FileName())) {
        Found = false;
        return {};
    }
    cb::rtl::TMemoryStream m;
    m.LoadFromFile(G.FileName(), KMaxPictureBytes);
    return std::string(m.View());
}

}  // namespace

std::optional<TxlsBlip> LoadBlip(const TxlsGraphic& Graphic) {
    bool found = false;
    std::string bytes = ReadPictureBytes(Graphic, found);
    if (!found) return std::nullopt;
    std::string what =
        Graphic.FileName().empty() ? std::string("A picture") : "The picture file '" + Graphic.FileName() + "'";
    QByteArray qbytes = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&qbytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QSize size = reader.size();
    if (!size.isValid()) throw ETabExportError(what + " is not a picture that can be read");
    if (size.width() > KMaxPicturePixels || size.height() > KMaxPicturePixels)
        throw ETabExportError(what + " is larger than 16384 pixels");
    TxlsBlip blip;
    blip.Width = size.width();
    blip.Height = size.height();
    auto starts = [&](const char* sig, std::size_t n) { return bytes.size() >= n && bytes.compare(0, n, sig, n) == 0; };
    if (starts("\xFF\xD8\xFF", 3)) {
        blip.BlipType = 5;
        blip.Bytes = std::move(bytes);
    } else if (starts("\x89PNG", 4)) {
        blip.BlipType = 6;
        blip.Bytes = std::move(bytes);
    } else if (starts("BM", 2) && bytes.size() > 54) {
        blip.BlipType = 7;
        blip.Bytes = bytes.substr(14);  // the store holds no file header
    } else {
        QImage image = reader.read();
        if (image.isNull()) throw ETabExportError(what + " is not a picture that can be read");
        QByteArray png;
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        image.save(&out, "PNG");
        blip.BlipType = 6;
        blip.Bytes.assign(png.constData(), std::size_t(png.size()));
    }
    return blip;
}

void WriteDrawingGroup(TBiffOut& Out, int ShapeCount, const std::vector<const TxlsBlip*>& Blips,
                       const std::vector<int>& RefCounts) {
    std::string dgg;
    Put32(dgg, std::uint32_t(ShapeCount + 1025));
    Put32(dgg, 2);
    Put32(dgg, std::uint32_t(ShapeCount + 1));
    Put32(dgg, 1);
    Put32(dgg, 1);
    Put32(dgg, std::uint32_t(ShapeCount + 1));
    std::string children = Rec(0, 0, 0xF006, dgg);
    if (!Blips.empty()) {
        std::string store;
        int stored = 0;
        for (size_t i = 0; i < Blips.size(); ++i) {
            const TxlsBlip* b = Blips[i];
            if (!b) continue;
            ++stored;
            static const int instances[8] = {0, 0, 0, 0, 0, 0x46A, 0x6E0, 0x7A8};
            std::string blipBody(16, '\0');
            // A distinct identifier per picture.
            std::uint32_t h = 2166136261u;
            for (unsigned char c : b->Bytes) h = (h ^ c) * 16777619u;
            for (int k = 0; k < 4; ++k)
                for (int j = 0; j < 4; ++j) blipBody[size_t(k * 4 + j)] = char((h >> (8 * j)) + k);
            blipBody += char(0xFF);
            blipBody += b->Bytes;
            std::string blip = Rec(0, instances[b->BlipType], std::uint16_t(0xF018 + b->BlipType), blipBody);
            std::string bse;
            bse += char(b->BlipType);
            bse += char(b->BlipType);
            bse.append(blipBody, 0, 16);
            Put16(bse, 0x00FF);
            Put32(bse, std::uint32_t(blip.size()));
            Put32(bse, std::uint32_t(RefCounts[i]));
            Put32(bse, 0);
            bse += '\0';
            bse += '\0';
            bse += char(0x3E);
            bse += char(0x02);
            // The store entry holds its picture record.
            store += Rec(2, b->BlipType, 0xF007, bse + blip);
        }
        children += Rec(15, stored, 0xF001, store);
    }
    children += Opt({{0x00BF, 0x00080008, {}}, {0x0181, 0x08000009, {}}, {0x01C0, 0x08000040, {}}});
    std::string split;
    for (std::uint32_t v : {0x0800000Du, 0x0800000Cu, 0x08000017u, 0x100000F7u}) Put32(split, v);
    children += Rec(0, 4, 0xF11E, split);
    Out.LongRecord(biff::MSODRAWINGGROUP, Rec(15, 0, 0xF000, children));
}

void WriteBackground(TBiffOut& Out, const TxlsGraphic& Graphic) {
    static const int loadable[] = {1, 2, 3, 5, 6, 7};
    if (Graphic.Data().empty() && (Graphic.FileName().empty() || std::find(std::begin(loadable), std::end(loadable),
                                                                           Graphic.Kind()) == std::end(loadable)))
        return;
    bool found = false;
    std::string bytes = ReadPictureBytes(Graphic, found);
    if (!found) return;
    std::string what = Graphic.FileName().empty() ? std::string("The background picture")
                                                  : "The picture file '" + Graphic.FileName() + "'";
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()));
    if (image.isNull()) throw ETabExportError(what + " is not a picture that can be read");
    if (image.width() > KMaxPicturePixels || image.height() > KMaxPicturePixels)
        throw ETabExportError(what + " is larger than 16384 pixels");
    image = image.convertToFormat(QImage::Format_RGB888);
    // 24-bit rows, bottom-up, blue first, padded to four bytes.
    int w = image.width(), h = image.height();
    std::size_t stride = (std::size_t(w) * 3 + 3) & ~std::size_t(3);
    std::string pixels(stride * std::size_t(h), '\0');
    for (int y = 0; y < h; ++y) {
        const uchar* src = image.constScanLine(h - 1 - y);
        char* dst = pixels.data() + stride * std::size_t(y);
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = char(src[3 * x + 2]);
            dst[3 * x + 1] = char(src[3 * x + 1]);
            dst[3 * x + 2] = char(src[3 * x]);
        }
    }
    std::string body;
    Put16(body, 9);
    Put16(body, 1);
    Put32(body, std::uint32_t(pixels.size() + 12));
    Put32(body, 12);
    Put16(body, std::uint16_t(w));
    Put16(body, std::uint16_t(h));
    Put16(body, 1);
    Put16(body, 24);
    std::size_t first = std::min<std::size_t>(pixels.size(), 8200);
    body.append(pixels, 0, first);
    Out.Record(0x00E9, body.data(), body.size());
    for (std::size_t pos = first; pos < pixels.size();) {
        std::size_t n = std::min<std::size_t>(pixels.size() - pos, 8212);
        Out.Record(biff::CONTINUE, pixels.data() + pos, n);
        pos += n;
    }
}

void WriteSheetDrawing(TBiffOut& Out, const std::vector<TxlsPictureShape>& Shapes) {
    if (Shapes.empty()) return;
    std::vector<std::string> shapes;
    std::size_t shapeBytes = 0;
    for (size_t j = 0; j < Shapes.size(); ++j) {
        const auto& s = Shapes[j];
        std::string sp;
        Put32(sp, std::uint32_t(j + 1025));
        Put32(sp, 0x0A00);
        std::u16string title = Utf8ToUtf16(Utf8Left(s.Title, 255));
        std::string anchor;
        Put16(anchor, 2);
        for (std::uint16_t v : {s.Anchor.LeftCol, s.Anchor.LeftOffset, s.Anchor.TopRow, s.Anchor.TopOffset,
                                s.Anchor.RightCol, s.Anchor.RightOffset, s.Anchor.BottomRow, s.Anchor.BottomOffset})
            Put16(anchor, v);
        std::string body = Rec(2, 75, 0xF00A, sp) +
                           Opt({{0x007F, 0x00800000, {}},
                                {0x4104, std::uint32_t(s.PictureIndex), {}},
                                {0xC105, 0, title},
                                {0x01BF, 0x00010000, {}},
                                {0x033F, 0x00100000, {}},
                                {0xC380, 0, title},
                                {0x03BF, 0x00080000, {}}}) +
                           Rec(0, 0, 0xF010, anchor) + Rec(0, 0, 0xF011, {});
        shapes.push_back(Rec(15, 0, 0xF004, body));
        shapeBytes += shapes.back().size();
    }
    std::string dg;
    Put32(dg, std::uint32_t(Shapes.size() + 1));
    Put32(dg, std::uint32_t(1024 + Shapes.size()));
    std::string groupSp;
    Put32(groupSp, 1024);
    Put32(groupSp, 0x0005);
    std::string groupShape = Rec(15, 0, 0xF004, Rec(1, 0, 0xF009, std::string(16, '\0')) + Rec(2, 0, 0xF00A, groupSp));
    std::string spgr = Rec(15, 0, 0xF003, groupShape, shapeBytes);
    std::string head = Rec(15, 0, 0xF002, Rec(0, 1, 0xF008, dg) + spgr, shapeBytes);
    for (size_t j = 0; j < shapes.size(); ++j) {
        std::string rec = j == 0 ? head + shapes[0] : shapes[j];
        if (rec.size() > biff::MaxBody) throw ETabExportError("Internal error: a drawing record is too long");
        Out.Record(biff::MSODRAWING, rec.data(), rec.size());
        TBiffBody obj;
        obj.U16(0x0015);
        obj.U16(18);
        obj.U16(8);
        obj.U16(std::uint16_t(j + 1));
        obj.U16(0x6011);
        obj.Zeros(12);
        obj.U16(0x0007);
        obj.U16(2);
        obj.U16(0xFFFF);
        obj.U16(0x0008);
        obj.U16(2);
        obj.U16(0x0001);
        obj.U16(0x0000);
        obj.U16(0x0000);
        Out.Record(biff::OBJ, obj);
    }
}

}  // namespace cb::tabexport
