#include "tabexport/xls/XlsDrawing.h"

#include "platform/os/Files.h"
#include "platform/rtl/Streams.h"
#include "tabexport/core/TabExportTypes.h"
#include "tabexport/core/Utf.h"
#include "tabexport/xls/BiffStream.h"
#include "tabexport/xls/XlsChart.h"
#include "tabexport/xls/XlsPictures.h"
#include "tabexport/xls/XlsSheetItems.h"

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

void WriteDrawingGroup(TBiffOut& Out, const std::vector<TxlsDrawingCluster>& Drawings,
                       const std::vector<const TxlsBlip*>& Blips, const std::vector<int>& RefCounts) {
    std::string dgg;
    int saved = 0;
    for (const auto& d : Drawings) saved += d.ShapeCount;
    const TxlsDrawingCluster last = Drawings.empty() ? TxlsDrawingCluster{} : Drawings.back();
    Put32(dgg, std::uint32_t(last.DrawingId * 1024 + last.ShapeCount));
    Put32(dgg, std::uint32_t(Drawings.size() + 1));
    Put32(dgg, std::uint32_t(saved));
    Put32(dgg, std::uint32_t(Drawings.size()));
    for (const auto& d : Drawings) {
        Put32(dgg, std::uint32_t(d.DrawingId));
        Put32(dgg, std::uint32_t(d.ShapeCount));
    }
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

namespace {

std::string AnchorRec(std::uint16_t Flag, const TxlsAnchor& A) {
    std::string anchor;
    Put16(anchor, Flag);
    for (std::uint16_t v :
         {A.LeftCol, A.LeftOffset, A.TopRow, A.TopOffset, A.RightCol, A.RightOffset, A.BottomRow, A.BottomOffset})
        Put16(anchor, v);
    return Rec(0, 0, 0xF010, anchor);
}

std::string SpRec(int ShapeType, std::uint32_t Id) {
    std::string sp;
    Put32(sp, Id);
    Put32(sp, 0x0A00);
    return Rec(2, ShapeType, 0xF00A, sp);
}

// Fill of a note: solid, or one of the gradients.
void NoteFill(std::vector<TProp>& P, const TxlsNoteFormat& F) {
    const bool opaque = F.Transparency == 0;
    const std::uint32_t opacity = std::uint32_t(65537 - std::clamp(F.Transparency, 0, 100) * 656);
    auto colours = [&] {
        P.push_back({0x0181, F.ForegroundColor, {}});
        if (!opaque) P.push_back({0x0182, opacity, {}});
        P.push_back({0x0183, F.BackgroundColor, {}});
    };
    if (F.FillType == nftSolid) {
        P.push_back({0x0181, F.ForegroundColor, {}});
        if (!opaque) P.push_back({0x0182, opacity, {}});
        return;
    }
    switch (F.Gradient) {
    case ngrHorizontal:
        P.push_back({0x0180, 7, {}});
        colours();
        P.push_back({0x018C, 100, {}});
        break;
    case ngrFromCenter:
        P.push_back({0x0180, 6, {}});
        colours();
        P.push_back({0x018B, 0xFFD30000, {}});
        P.push_back({0x018C, 100, {}});
        for (std::uint16_t id : {0x018D, 0x018E, 0x018F, 0x0190}) P.push_back({id, 0x8000, {}});
        break;
    default: {
        P.push_back({0x0180, std::uint32_t(F.Gradient == ngrFromCorner ? 5 : 7), {}});
        colours();
        const std::uint32_t angle = F.Gradient == ngrVertical     ? 0xFFA60000
                                    : F.Gradient == ngrDiagonalUp ? 0xFF790000
                                                                  : 0xFFD30000;
        P.push_back({0x018B, angle, {}});
        P.push_back({0x018C, 100, {}});
        break;
    }
    }
    P.push_back({0x0196, 0x009D0000, {}});
}

// The note's anchor: from two rows above its cell (or the top), one
// column right of it, three columns wide and five rows high.
TxlsAnchor NoteAnchor(const TxlsNote& N) {
    TxlsAnchor a;
    a.LeftCol = std::uint16_t(N.Col);
    a.TopRow = std::uint16_t(N.Row < 3 ? 0 : N.Row - 2);
    a.RightCol = std::uint16_t(std::min(N.Col + 2, 255));
    a.BottomRow = std::uint16_t(std::min(a.TopRow + 5, 65535));
    return a;
}

std::string NoteShape(const TxlsNote& N, int I, std::uint32_t Id) {
    std::vector<TProp> p{{0x0080, std::uint32_t(I + 1), {}}};
    p.push_back({0x007D, 1, {}});
    p.push_back({0x00BF, 0x00080008, {}});
    p.push_back({0x0158, 0, {}});
    NoteFill(p, N.Format);
    p.push_back({0x01BF, 0x00110010, {}});
    p.push_back({0x0201, 0, {}});
    p.push_back({0x023F, 0x00030003, {}});
    p.push_back({0x03BF, 0x000A0002, {}});
    std::string body = SpRec(202, Id) + Opt(p) + AnchorRec(3, NoteAnchor(N)) + Rec(0, 0, 0xF011, {});
    // The text box that follows in its own record belongs to this shape.
    return Rec(15, 0, 0xF004, body, 8);
}

std::string PictureShape(const TxlsPictureShape& S, std::uint32_t Id) {
    std::u16string title = Utf8ToUtf16(Utf8Left(S.Title, 255));
    std::string body = SpRec(75, Id) +
                       Opt({{0x007F, 0x00800000, {}},
                            {0x4104, std::uint32_t(S.PictureIndex), {}},
                            {0xC105, 0, title},
                            {0x01BF, 0x00010000, {}},
                            {0x033F, 0x00100000, {}},
                            {0xC380, 0, title},
                            {0x03BF, 0x00080000, {}}}) +
                       AnchorRec(2, S.Anchor) + Rec(0, 0, 0xF011, {});
    return Rec(15, 0, 0xF004, body);
}

std::string ChartShape(const TxlsChartShape& S, std::uint32_t Id) {
    std::string body = SpRec(201, Id) +
                       Opt({{0x007F, 0x01040104, {}},
                            {0x00BF, 0x00080008, {}},
                            {0x0181, 0x0800004E, {}},
                            {0x0183, 0x0800004D, {}},
                            {0x01BF, 0x00100010, {}},
                            {0x01C0, 0x0800004D, {}},
                            {0x01FF, 0x00080008, {}},
                            {0x023F, 0x00020000, {}},
                            {0x03BF, 0x00080000, {}}}) +
                       AnchorRec(0, S.Anchor) + Rec(0, 0, 0xF011, {});
    return Rec(15, 0, 0xF004, body);
}

void ObjRecord(TBiffOut& Out, std::uint16_t Type, int Id, bool Note) {
    TBiffBody obj;
    obj.U16(0x0015);
    obj.U16(18);
    obj.U16(Type);
    obj.U16(std::uint16_t(Id));
    obj.U16(0x0011);
    obj.Zeros(12);
    if (Note) {
        // The note structure: 16 bytes of identifier, then 6 bytes 0.
        obj.U16(0x000D);
        obj.U16(22);
        obj.Zeros(22);
    }
    obj.U16(0x0000);
    obj.U16(0x0000);
    Out.Record(biff::OBJ, obj);
}

std::uint16_t TxoOptions(const TxlsAlignment& A) {
    std::uint16_t h = 0x0002;
    if (A.Horizontal == halCenter) h = 0x0004;
    if (A.Horizontal == halRight) h = 0x0006;
    if (A.Horizontal == halFill) h = 0x0008;
    static const std::uint16_t v[] = {0x0010, 0x0020, 0x0030, 0x0040};
    return std::uint16_t(h | v[A.Vertical]);
}

// TXO, the text in CONTINUE records of at most 8224 bytes (each opens with
// its own flag byte), then the two formatting runs.
void NoteText(TBiffOut& Out, const TxlsNoteShape& S) {
    std::u16string text = Utf8ToUtf16(S.Note->Text());
    if (text.size() > KMaxNoteChars) {
        std::size_t n = KMaxNoteChars;
        if (text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;  // not half a pair
        text.resize(n);
    }
    TBiffBody txo;
    txo.U16(TxoOptions(S.Note->Format.Alignment));
    txo.U16(std::uint16_t(S.Note->Format.Orientation));
    txo.Zeros(6);
    txo.U16(std::uint16_t(text.size()));
    txo.U16(16);
    txo.Zeros(4);
    Out.Record(0x01B6, txo);
    constexpr std::size_t perRecord = (biff::MaxBody - 1) / 2;
    for (std::size_t pos = 0; pos < text.size(); pos += perRecord) {
        TBiffBody part;
        part.U8(1);
        part.Utf16(std::u16string_view(text).substr(pos, perRecord));
        Out.Record(biff::CONTINUE, part);
    }
    TBiffBody runs;
    runs.U16(0);
    runs.U16(S.FontIndex);
    runs.U32(0);
    runs.U16(std::uint16_t(text.size()));
    runs.U16(0);
    runs.U32(0);
    Out.Record(biff::CONTINUE, runs);
}

}  // namespace

void WriteSheetDrawing(TBiffOut& Out, const TxlsSheetDrawing& D) {
    if (D.Empty()) return;
    const std::uint32_t base = std::uint32_t(D.DrawingId) * 1024;
    std::vector<std::string> shapes;
    std::uint32_t id = base;
    for (size_t i = 0; i < D.Notes.size(); ++i) shapes.push_back(NoteShape(*D.Notes[i].Note, int(i), ++id));
    for (const auto& p : D.Pictures) shapes.push_back(PictureShape(p, ++id));
    for (const auto& c : D.Charts) shapes.push_back(ChartShape(c, ++id));
    // The text boxes of the notes, in records of their own.
    const std::string textBox = Rec(0, 0, 0xF00D, {});
    std::size_t shapeBytes = D.Notes.size() * textBox.size();
    for (const auto& s : shapes) shapeBytes += s.size();

    std::string dg;
    Put32(dg, std::uint32_t(D.ShapeCount()));
    Put32(dg, id);
    std::string groupSp;
    Put32(groupSp, base);
    Put32(groupSp, 0x0005);
    std::string groupShape = Rec(15, 0, 0xF004, Rec(1, 0, 0xF009, std::string(16, '\0')) + Rec(2, 0, 0xF00A, groupSp));
    std::string spgr = Rec(15, 0, 0xF003, groupShape, shapeBytes);
    std::string head = Rec(15, 0, 0xF002, Rec(0, D.DrawingId, 0xF008, dg) + spgr, shapeBytes);
    for (size_t k = 0; k < shapes.size(); ++k) {
        std::string rec = k == 0 ? head + shapes[0] : shapes[k];
        if (rec.size() > biff::MaxBody) throw ETabExportError("Internal error: a drawing record is too long");
        Out.Record(biff::MSODRAWING, rec.data(), rec.size());
        const int objectId = int(k) + 1;
        if (k < D.Notes.size()) {
            ObjRecord(Out, 25, objectId, true);
            Out.Record(biff::MSODRAWING, textBox.data(), textBox.size());
            NoteText(Out, D.Notes[k]);
        } else if (k < D.Notes.size() + D.Pictures.size()) {
            TBiffBody obj;
            obj.U16(0x0015);
            obj.U16(18);
            obj.U16(8);
            obj.U16(std::uint16_t(objectId));
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
        } else {
            ObjRecord(Out, 5, objectId, false);
            WriteChartSubstream(Out, D.Charts[k - D.Notes.size() - D.Pictures.size()]);
        }
    }
    for (size_t i = 0; i < D.Notes.size(); ++i) {
        TBiffBody note;
        note.U16(std::uint16_t(D.Notes[i].Note->Row - 1));
        note.U16(std::uint16_t(D.Notes[i].Note->Col - 1));
        note.U16(0);
        note.U16(std::uint16_t(i + 1));
        // The author, empty.
        note.U16(0);
        note.U8(0);
        note.U8(0);
        Out.Record(0x001C, note);
    }
}

}  // namespace cb::tabexport
