#include "chartexport/metafile/MetafileWriters.h"

#include <algorithm>
#include <climits>

namespace cb::chartexport {

namespace {

void P16(std::string& S, int V) {
    S += char(V & 0xFF);
    S += char((V >> 8) & 0xFF);
}
void P32(std::string& S, std::uint32_t V) {
    P16(S, int(V & 0xFFFF));
    P16(S, int(V >> 16));
}
void PI(std::string& S, int V) {
    P32(S, std::uint32_t(V));
}
// 0x00BBGGRR
std::uint32_t ColorRef(QRgb C) {
    return std::uint32_t(qRed(C)) | (std::uint32_t(qGreen(C)) << 8) | (std::uint32_t(qBlue(C)) << 16);
}
void Pad4(std::string& S) {
    while (S.size() % 4) S += '\0';
}
// A WMF coordinate.
int C16(int V) {
    return std::clamp(V, -32768, 32767);
}

// A bottom-up 24-bit device-independent bitmap: header and rows.
std::string Dib(const QImage& Image, std::string& Bits) {
    const int w = Image.width(), h = Image.height();
    const int stride = (w * 3 + 3) & ~3;
    Bits.assign(size_t(stride) * size_t(h), '\0');
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(Image.constScanLine(h - 1 - y));
        char* out = Bits.data() + size_t(stride) * size_t(y);
        for (int x = 0; x < w; ++x) {
            out[3 * x] = char(qBlue(row[x]));
            out[3 * x + 1] = char(qGreen(row[x]));
            out[3 * x + 2] = char(qRed(row[x]));
        }
    }
    std::string head;
    PI(head, 40);
    PI(head, w);
    PI(head, h);
    P16(head, 1);
    P16(head, 24);
    PI(head, 0);
    PI(head, int(Bits.size()));
    PI(head, 3780);
    PI(head, 3780);
    PI(head, 0);
    PI(head, 0);
    return head;
}

std::string Bounds(const std::vector<TMetaPolygon>& Polys) {
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (const auto& p : Polys)
        for (const QPoint& q : p) {
            l = std::min(l, q.x());
            t = std::min(t, q.y());
            r = std::max(r, q.x());
            b = std::max(b, q.y());
        }
    std::string s;
    for (int v : {l, t, r, b}) PI(s, v);
    return s;
}

std::string Rect32(const QRect& R) {
    std::string s;
    for (int v : {R.left(), R.top(), R.right() + 1, R.bottom() + 1}) PI(s, v);
    return s;
}

}  // namespace

// --- EMF -----------------------------------------------------------------

namespace {
enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYLINE = 4,
    EMR_POLYPOLYGON = 8,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};
constexpr std::uint32_t KNullBrush = 0x80000005, KNullPen = 0x80000008, KSystemFont = 0x8000000D;
constexpr int KPen = 1, KBrush = 2, KFont = 3;
}  // namespace

TEmfWriter::TEmfWriter(int Width, int Height) : FWidth(Width), FHeight(Height) {
    Record(EMR_SETBKMODE, std::string("\x01\0\0\0", 4));  // transparent
    std::string align;
    PI(align, 24);  // on the baseline
    Record(EMR_SETTEXTALIGN, align);
}

void TEmfWriter::Record(std::uint32_t Type, const std::string& Body) {
    P32(FData, Type);
    P32(FData, std::uint32_t(8 + Body.size()));
    FData += Body;
    ++FRecords;
}

void TEmfWriter::SetPen(const TMetaPen& Pen) {
    if (FPen == Pen) return;
    FPen = Pen;
    std::string s;
    PI(s, int(KNullPen));
    Record(EMR_SELECTOBJECT, s);
    s.clear();
    PI(s, KPen);
    Record(EMR_DELETEOBJECT, s);
    s.clear();
    PI(s, KPen);
    PI(s, Pen.Style);
    PI(s, Pen.Width);
    PI(s, 0);
    P32(s, ColorRef(Pen.Color));
    Record(EMR_CREATEPEN, s);
    s.clear();
    PI(s, KPen);
    Record(EMR_SELECTOBJECT, s);
}

void TEmfWriter::SetBrush(const TMetaBrush& Brush) {
    if (FBrush == Brush) return;
    FBrush = Brush;
    std::string s;
    PI(s, int(KNullBrush));
    Record(EMR_SELECTOBJECT, s);
    if (Brush.Null) return;
    s.clear();
    PI(s, KBrush);
    Record(EMR_DELETEOBJECT, s);
    s.clear();
    PI(s, KBrush);
    PI(s, 0);  // solid
    P32(s, ColorRef(Brush.Color));
    PI(s, 0);
    Record(EMR_CREATEBRUSHINDIRECT, s);
    s.clear();
    PI(s, KBrush);
    Record(EMR_SELECTOBJECT, s);
}

void TEmfWriter::SetClip(const QRect* Rect) {
    std::string s;
    if (!Rect) {
        PI(s, 0);
        PI(s, 5);  // copy: no region clips nothing
        Record(EMR_EXTSELECTCLIPRGN, s);
        return;
    }
    std::string region;
    PI(region, 32);
    PI(region, 1);
    PI(region, 1);
    PI(region, 16);
    region += Rect32(*Rect) + Rect32(*Rect);
    PI(s, int(region.size()));
    PI(s, 5);
    Record(EMR_EXTSELECTCLIPRGN, s + region);
}

void TEmfWriter::FillMode(bool Winding) {
    if (FWinding == Winding) return;
    FWinding = Winding;
    std::string s;
    PI(s, Winding ? 2 : 1);
    Record(EMR_SETPOLYFILLMODE, s);
}

void TEmfWriter::Polygons(const std::vector<TMetaPolygon>& Polys, bool Winding) {
    FillMode(Winding);
    std::string s = Bounds(Polys);
    std::uint32_t total = 0;
    for (const auto& p : Polys) total += std::uint32_t(p.size());
    PI(s, int(Polys.size()));
    P32(s, total);
    for (const auto& p : Polys) PI(s, int(p.size()));
    for (const auto& p : Polys)
        for (const QPoint& q : p) {
            PI(s, q.x());
            PI(s, q.y());
        }
    Record(EMR_POLYPOLYGON, s);
}

void TEmfWriter::Polyline(const TMetaPolygon& Points) {
    if (FPen && FPen->Style == 5) return;
    std::string s = Bounds({Points});
    PI(s, int(Points.size()));
    for (const QPoint& q : Points) {
        PI(s, q.x());
        PI(s, q.y());
    }
    Record(EMR_POLYLINE, s);
}

void TEmfWriter::Rectangle(const QRect& R) {
    Record(EMR_RECTANGLE, Rect32(R));
}

void TEmfWriter::Ellipse(const QRect& R) {
    Record(EMR_ELLIPSE, Rect32(R));
}

void TEmfWriter::Text(const QPoint& O, const QString& Text, const TMetaFont& Font, QRgb Color,
                      const std::vector<int>& Advances) {
    if (FTextColor != Color) {
        FTextColor = Color;
        std::string s;
        P32(s, ColorRef(Color));
        Record(EMR_SETTEXTCOLOR, s);
    }
    if (FFont != Font) {
        FFont = Font;
        std::string s;
        PI(s, int(KSystemFont));
        Record(EMR_SELECTOBJECT, s);
        s.clear();
        PI(s, KFont);
        Record(EMR_DELETEOBJECT, s);
        s.clear();
        PI(s, KFont);
        PI(s, -Font.Height);
        PI(s, 0);
        PI(s, 0);
        PI(s, 0);
        PI(s, Font.Bold ? 700 : 400);
        s += char(Font.Italic);
        s += char(Font.Underline);
        s += char(Font.StrikeOut);
        s += char(1);  // default character set
        s += std::string(4, '\0');
        const std::u16string face = Font.Family.left(31).toStdU16String();
        for (int i = 0; i < 32; ++i) P16(s, i < int(face.size()) ? face[size_t(i)] : 0);
        Record(EMR_EXTCREATEFONTINDIRECTW, s);
        s.clear();
        PI(s, KFont);
        Record(EMR_SELECTOBJECT, s);
    }
    const std::u16string text = Text.toStdU16String();
    int width = 0;
    for (int a : Advances) width += a;
    std::string s;
    for (int v : {O.x(), O.y() - Font.Height, O.x() + width, O.y() + Font.Height / 3}) PI(s, v);
    PI(s, 1);  // compatible graphics mode
    P32(s, 0);
    P32(s, 0);
    PI(s, O.x());
    PI(s, O.y());
    PI(s, int(text.size()));
    const int offString = 8 + 68;  // record header and the fixed part
    std::string chars;
    for (char16_t c : text) P16(chars, c);
    Pad4(chars);
    PI(s, offString);
    PI(s, 0);  // options
    for (int v : {0, 0, -1, -1}) PI(s, v);
    PI(s, offString + int(chars.size()));
    s += chars;
    for (int a : Advances) PI(s, a);
    Record(EMR_EXTTEXTOUTW, s);
}

void TEmfWriter::Image(const QRect& T, const QImage& Image) {
    std::string bits;
    const std::string head = Dib(Image, bits);
    std::string s;
    s += Rect32(T);
    for (int v : {T.x(), T.y(), 0, 0, Image.width(), Image.height()}) PI(s, v);
    const int fixed = 8 + 72;
    for (int v : {fixed, int(head.size()), fixed + int(head.size()), int(bits.size()), 0}) PI(s, v);
    P32(s, 0x00CC0020);  // copy
    PI(s, T.width());
    PI(s, T.height());
    Record(EMR_STRETCHDIBITS, s + head + bits);
}

std::string TEmfWriter::Finish() {
    std::string eof;
    PI(eof, 0);
    PI(eof, 16);
    PI(eof, 20);
    Record(EMR_EOF, eof);
    std::string h;
    for (int v : {0, 0, FWidth - 1, FHeight - 1}) PI(h, v);
    // The frame in hundredths of a millimetre at 96 dpi.
    for (int v : {0, 0, (FWidth - 1) * 2540 / 96, (FHeight - 1) * 2540 / 96}) PI(h, v);
    P32(h, 0x464D4520);
    P32(h, 0x00010000);
    P32(h, std::uint32_t(FData.size() + 108));
    PI(h, FRecords + 1);
    P16(h, 4);  // handles: the table's own entry, pen, brush, font
    P16(h, 0);
    PI(h, 0);
    PI(h, 0);
    PI(h, 0);
    // A reference device of 96 dpi.
    for (int v : {9600, 9600, 2540, 2540, 0, 0, 0, 2540000, 2540000}) PI(h, v);
    std::string head;
    P32(head, EMR_HEADER);
    P32(head, 108);
    return head + h + FData;
}

// --- WMF -----------------------------------------------------------------

namespace {
enum : std::uint16_t {
    META_SETBKMODE = 0x0102,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETTEXTALIGN = 0x012E,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SAVEDC = 0x001E,
    META_RESTOREDC = 0x0127,
    META_INTERSECTCLIPRECT = 0x0416,
    META_SELECTOBJECT = 0x012D,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_POLYLINE = 0x0325,
    META_POLYPOLYGON = 0x0538,
    META_RECTANGLE = 0x041B,
    META_ELLIPSE = 0x0418,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHDIB = 0x0F43,
};
std::string Words(std::initializer_list<int> V) {
    std::string s;
    for (int v : V) P16(s, v);
    return s;
}
}  // namespace

TWmfWriter::TWmfWriter(int Width, int Height) : FWidth(Width), FHeight(Height) {
    Record(META_SETWINDOWORG, Words({0, 0}));
    Record(META_SETWINDOWEXT, Words({C16(Height), C16(Width)}));
    Record(META_SETBKMODE, Words({1}));
    Record(META_SETTEXTALIGN, Words({24}));
}

void TWmfWriter::Record(std::uint16_t Function, const std::string& Params) {
    const std::uint32_t words = std::uint32_t(3 + Params.size() / 2);
    P32(FData, words);
    P16(FData, Function);
    FData += Params;
    FMaxRecord = std::max(FMaxRecord, words);
}

void TWmfWriter::Replace(TKind Kind, std::uint16_t Function, const std::string& Params) {
    Record(Function, Params);
    const auto free = std::find(FUsed.begin(), FUsed.end(), false);
    const int slot = int(free - FUsed.begin());
    if (free == FUsed.end())
        FUsed.push_back(true);
    else
        *free = true;
    Record(META_SELECTOBJECT, Words({slot}));
    if (FSlots[Kind] >= 0) {
        Record(META_DELETEOBJECT, Words({FSlots[Kind]}));
        FUsed[size_t(FSlots[Kind])] = false;
    }
    FSlots[Kind] = slot;
}

void TWmfWriter::Reselect() {
    for (int slot : FSlots)
        if (slot >= 0) Record(META_SELECTOBJECT, Words({slot}));
}

void TWmfWriter::SetPen(const TMetaPen& Pen) {
    if (FPen == Pen) return;
    FPen = Pen;
    const std::uint32_t c = ColorRef(Pen.Color);
    Replace(okPen, META_CREATEPENINDIRECT, Words({Pen.Style, C16(Pen.Width), 0, int(c & 0xFFFF), int(c >> 16)}));
}

void TWmfWriter::SetBrush(const TMetaBrush& Brush) {
    if (FBrush == Brush) return;
    FBrush = Brush;
    const std::uint32_t c = ColorRef(Brush.Color);
    Replace(okBrush, META_CREATEBRUSHINDIRECT, Words({Brush.Null ? 1 : 0, int(c & 0xFFFF), int(c >> 16), 0}));
}

void TWmfWriter::SetClip(const QRect* Rect) {
    if (FClipped) {
        Record(META_RESTOREDC, Words({-1}));
        Reselect();
        FClipped = false;
    }
    if (!Rect) return;
    Record(META_SAVEDC, {});
    Record(META_INTERSECTCLIPRECT,
           Words({C16(Rect->bottom() + 1), C16(Rect->right() + 1), C16(Rect->top()), C16(Rect->left())}));
    FClipped = true;
}

void TWmfWriter::FillMode(bool Winding) {
    if (FWinding == Winding) return;
    FWinding = Winding;
    Record(META_SETPOLYFILLMODE, Words({Winding ? 2 : 1}));
}

void TWmfWriter::Polygons(const std::vector<TMetaPolygon>& Polys, bool Winding) {
    FillMode(Winding);
    std::string s;
    P16(s, int(Polys.size()));
    for (const auto& p : Polys) P16(s, int(std::min<size_t>(p.size(), 32767)));
    for (const auto& p : Polys)
        for (size_t i = 0; i < std::min<size_t>(p.size(), 32767); ++i) {
            P16(s, C16(p[i].x()));
            P16(s, C16(p[i].y()));
        }
    Record(META_POLYPOLYGON, s);
}

void TWmfWriter::Polyline(const TMetaPolygon& Points) {
    if (FPen && FPen->Style == 5) return;
    std::string s;
    const size_t n = std::min<size_t>(Points.size(), 32767);
    P16(s, int(n));
    for (size_t i = 0; i < n; ++i) {
        P16(s, C16(Points[i].x()));
        P16(s, C16(Points[i].y()));
    }
    Record(META_POLYLINE, s);
}

void TWmfWriter::Rectangle(const QRect& R) {
    Record(META_RECTANGLE, Words({C16(R.bottom() + 1), C16(R.right() + 1), C16(R.top()), C16(R.left())}));
}

void TWmfWriter::Ellipse(const QRect& R) {
    Record(META_ELLIPSE, Words({C16(R.bottom() + 1), C16(R.right() + 1), C16(R.top()), C16(R.left())}));
}

void TWmfWriter::Text(const QPoint& O, const QString& Text, const TMetaFont& Font, QRgb Color,
                      const std::vector<int>& Advances) {
    if (FTextColor != Color) {
        FTextColor = Color;
        const std::uint32_t c = ColorRef(Color);
        Record(META_SETTEXTCOLOR, Words({int(c & 0xFFFF), int(c >> 16)}));
    }
    if (FFont != Font) {
        FFont = Font;
        std::string s = Words({-C16(Font.Height), 0, 0, 0, Font.Bold ? 700 : 400});
        s += char(Font.Italic);
        s += char(Font.Underline);
        s += char(Font.StrikeOut);
        s += char(0);  // ANSI
        s += std::string(4, '\0');
        const QByteArray face = Font.Family.left(31).toLatin1();
        std::string name(32, '\0');
        std::copy(face.begin(), face.end(), name.begin());
        Replace(okFont, META_CREATEFONTINDIRECT, s + name);
    }
    // Texts are 8-bit here: characters beyond Latin-1 become '?', and a
    // pair of surrogates one '?'.
    std::string chars;
    std::vector<int> dx;
    for (int i = 0; i < Text.size() && chars.size() < 32000; ++i) {
        const char16_t c = Text[i].unicode();
        if (QChar::isLowSurrogate(c)) {
            if (!dx.empty()) dx.back() += Advances[size_t(i)];
            continue;
        }
        chars += c < 256 ? char(c) : '?';
        dx.push_back(Advances[size_t(i)]);
    }
    std::string s = Words({C16(O.y()), C16(O.x()), int(chars.size()), 0});
    s += chars;
    if (chars.size() % 2) s += '\0';
    for (int a : dx) P16(s, C16(a));
    Record(META_EXTTEXTOUT, s);
}

void TWmfWriter::Image(const QRect& T, const QImage& Image) {
    std::string bits;
    const std::string head = Dib(Image, bits);
    std::string s;
    P32(s, 0x00CC0020);
    P16(s, 0);  // colours in the table are RGB
    for (int v : {Image.height(), Image.width(), 0, 0, T.height(), T.width(), T.y(), T.x()}) P16(s, C16(v));
    Record(META_STRETCHDIB, s + head + bits);
}

std::string TWmfWriter::Finish() {
    if (FClipped) Record(META_RESTOREDC, Words({-1}));
    Record(0, {});
    std::string head;
    P16(head, 1);
    P16(head, 9);
    P16(head, 0x0300);
    P32(head, std::uint32_t((18 + FData.size()) / 2));
    P16(head, int(std::max<size_t>(FUsed.size(), 1)));
    P32(head, FMaxRecord);
    P16(head, 0);
    // The placeable header: bounds in pixels at 96 units per inch.
    std::string place;
    P32(place, 0x9AC6CDD7);
    P16(place, 0);
    for (int v : {0, 0, C16(FWidth), C16(FHeight)}) P16(place, v);
    P16(place, 96);
    P32(place, 0);
    std::uint16_t sum = 0;
    for (size_t i = 0; i < place.size(); i += 2)
        sum ^= std::uint16_t(std::uint8_t(place[i]) | (std::uint8_t(place[i + 1]) << 8));
    P16(place, sum);
    return place + head + FData;
}

}  // namespace cb::chartexport
