#include "tabexport/xls/XlsHyperlink.h"

#include "platform/rtl/Strings.h"
#include "tabexport/core/Utf.h"
#include "tabexport/xls/BiffStream.h"
#include "tabexport/xls/XlsSheetItems.h"

#include <string>

namespace cb::tabexport {

namespace {

constexpr std::uint8_t KLinkClass[16] = {0xD0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11,
                                         0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr std::uint8_t KUrlMoniker[16] = {0xE0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11,
                                          0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr std::uint8_t KFileMoniker[16] = {0x03, 0x03, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
// UTF-16 units of a title, target or tip kept: a record holds at most 8224
// bytes, and a file link holds its target twice beside its title.
constexpr std::size_t KMaxLinkText = 1000;

std::u16string Cut(const std::string& S) {
    std::u16string u = Utf8ToUtf16(S);
    if (u.size() <= KMaxLinkText) return u;
    std::size_t n = KMaxLinkText;
    if (u[n - 1] >= 0xD800 && u[n - 1] <= 0xDBFF) --n;  // not half a pair
    return u.substr(0, n);
}

void Cells(TBiffBody& B, const TxlsHyperlink& L) {
    for (int v : {L.Row - 1, L.Row - 1, L.Col - 1, L.Col - 1}) B.U16(std::uint16_t(v));
}

// The file path in 8 bits: ASCII as it is, anything else as '?'.
std::string EightBit(const std::u16string& S) {
    std::string r;
    for (char16_t c : S) r += c < 0x80 ? char(c) : '?';
    return r;
}

}  // namespace

void WriteHyperlink(TBiffOut& Out, const TxlsHyperlink& L) {
    const std::u16string title = Cut(L.Title);
    const std::u16string target = Cut(L.Target);
    TBiffBody b;
    Cells(b, L);
    b.Bytes(KLinkClass, 16);
    b.U32(2);
    b.U32(L.Style == hlsCell ? 0x1C : 0x17);
    b.U32(std::uint32_t(title.size() + 1));
    b.Utf16(title);
    b.U16(0);
    switch (L.Style) {
    case hlsURL:
        b.Bytes(KUrlMoniker, 16);
        b.U32(std::uint32_t(2 * target.size() + 2));
        b.Utf16(target);
        b.U16(0);
        break;
    case hlsLocalFile: {
        // The name as it is: there are no short names here.
        const std::string path = EightBit(target);
        b.Bytes(KFileMoniker, 16);
        b.U16(0);
        b.U32(std::uint32_t(path.size() + 1));
        b.Bytes(path.data(), path.size());
        b.U8(0);
        b.U16(0xFFFF);
        b.U16(0xDEAD);
        b.Zeros(20);
        b.U32(std::uint32_t(6 + 2 * target.size()));
        b.U32(std::uint32_t(2 * target.size()));
        b.U16(3);
        b.Utf16(target);
        break;
    }
    case hlsCell:
        // A place in the workbook: the location text only.
        b.U32(std::uint32_t(target.size() + 1));
        b.Utf16(target);
        b.U16(0);
        break;
    }
    Out.Record(0x01B8, b);
    if (L.ScreenTip.empty()) return;
    TBiffBody t;
    t.U16(0x0800);
    Cells(t, L);
    t.Utf16(Cut(L.ScreenTip));
    t.U16(0);
    Out.Record(0x0800, t);
}

}  // namespace cb::tabexport
