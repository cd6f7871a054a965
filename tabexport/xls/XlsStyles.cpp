#include "tabexport/xls/XlsStyles.h"

#include "platform/rtl/Strings.h"
#include "tabexport/core/TabExportTypes.h"
#include "tabexport/core/Utf.h"
#include "tabexport/xls/BiffStream.h"

#include <algorithm>

namespace cb::tabexport {

namespace {

// Texts of FONT and FORMAT records are at most 255 characters.
constexpr std::size_t KMaxRecordText = 255;

void WriteFont(TBiffOut& Out, const TxlsFont& F) {
    TBiffBody b;
    std::u16string name = Utf8ToUtf16(Utf8Left(F.Name, KMaxRecordText));
    b.U16(std::uint16_t(std::clamp(F.Size, 1, 409) * 20));
    std::uint16_t options = 0;
    if (F.Style & xfsItalic) options |= 0x0002;
    if (F.Style & xfsStrikeOut) options |= 0x0008;
    b.U16(options);
    b.U16(XlsColorInfo(F.Color).Palette);
    b.U16((F.Style & xfsBold) ? 700 : 400);
    b.U16(std::uint16_t(F.Script));
    static const std::uint8_t underline[] = {0, 1, 2, 0x21, 0x22};
    b.U8(underline[std::clamp(int(F.Underline), 0, 4)]);
    b.U8(0);
    b.U8(std::uint8_t(F.Charset));
    b.U8(0);
    b.U8(std::uint8_t(name.size()));
    b.U8(1);
    b.Utf16(name);
    Out.Record(biff::FONT, b);
}

std::string FieldKey(int Sheet, const std::string& Field) {
    return std::to_string(Sheet) + ":" + cb::rtl::LowerCase(Field);
}

}  // namespace

std::uint16_t TxlsStyles::GetCellStyle(const std::string& FormatText, const TxlsFormat* Format) {
    std::string text = FormatText.empty() ? "General" : FormatText;
    if (text == "General" && !Format) return KDefaultXF;
    if (Utf8Length(text) > KMaxRecordText)
        throw ETabExportError("The number format '" + Utf8Left(text, 40) + "...' is longer than 255 characters");
    TxlsXFormat x;
    if (text != "General") x.FormatText = text;
    if (Format) {
        // A font that differs from the default font is kept as it is.
        if (!(Format->Font == TxlsFont())) x.Font = Format->Font;
        x.Borders = Format->Borders;
        x.Fill = Format->Fill;
        x.Alignment = Format->Alignment;
        x.Wrap = Format->Wrap;
    }
    for (const auto& e : FXFs)
        if (e.Font == x.Font && e.FormatText == x.FormatText && e.Borders == x.Borders && e.Fill == x.Fill &&
            e.Alignment == x.Alignment && e.Wrap == x.Wrap)
            return e.XF;
    if (x.Font) {
        auto it = std::find(FFonts.begin(), FFonts.end(), *x.Font);
        if (it == FFonts.end()) {
            FFonts.push_back(*x.Font);
            it = FFonts.end() - 1;
        }
        x.FontIndex = 5 + int(it - FFonts.begin());
    }
    if (!x.FormatText.empty()) {
        auto it = std::find(FFormats.begin(), FFormats.end(), x.FormatText);
        if (it == FFormats.end()) {
            FFormats.push_back(x.FormatText);
            it = FFormats.end() - 1;
        }
        x.FormatIndex = 50 + int(it - FFormats.begin());
    }
    if (FXFs.size() >= 4000 - 16) throw ETabExportError("The workbook uses more cell styles than an XLS file holds");
    x.XF = std::uint16_t(16 + FXFs.size());
    FXFs.push_back(std::move(x));
    return FXFs.back().XF;
}

const TxlsXFormat* TxlsStyles::Find(std::uint16_t XF) const {
    if (XF < 16 || XF - 16u >= FXFs.size()) return nullptr;
    return &FXFs[XF - 16u];
}

void TxlsStyles::SetFieldStyle(int Sheet, const std::string& Field, std::uint16_t XF) {
    FFields.try_emplace(FieldKey(Sheet, Field), XF);
}

std::uint16_t TxlsStyles::FieldStyle(int Sheet, const std::string& Field) const {
    auto it = FFields.find(FieldKey(Sheet, Field));
    return it == FFields.end() ? KDefaultXF : it->second;
}

void TxlsStyles::SetStripStyle(int Sheet, int Key, std::uint16_t XF) {
    FStrip[{Sheet, Key}] = XF;
}

std::uint16_t TxlsStyles::StripStyle(int Sheet, int Key) const {
    auto it = FStrip.find({Sheet, Key});
    return it == FStrip.end() ? KDefaultXF : it->second;
}

void TxlsStyles::WriteFonts(TBiffOut& Out) const {
    for (int i = 0; i < 4; ++i) WriteFont(Out, TxlsFont());
    for (const auto& f : FFonts) WriteFont(Out, f);
}

void TxlsStyles::WriteFormats(TBiffOut& Out) const {
    for (size_t i = 0; i < FFormats.size(); ++i) {
        TBiffBody b;
        std::u16string text = Utf8ToUtf16(FFormats[i]);
        b.U16(std::uint16_t(50 + i));
        b.U16(std::uint16_t(text.size()));
        b.U8(1);
        b.Utf16(text);
        Out.Record(biff::FORMAT, b);
    }
}

namespace {

struct TXFBytes {
    std::uint8_t B[20] = {};
    void Set16(int Off, std::uint16_t V) {
        B[Off] = std::uint8_t(V);
        B[Off + 1] = std::uint8_t(V >> 8);
    }
    std::uint16_t Get16(int Off) const { return std::uint16_t(B[Off] | (B[Off + 1] << 8)); }
    void Set32(int Off, std::uint32_t V) {
        Set16(Off, std::uint16_t(V));
        Set16(Off + 2, std::uint16_t(V >> 16));
    }
    std::uint32_t Get32(int Off) const { return Get16(Off) | (std::uint32_t(Get16(Off + 2)) << 16); }
};

TXFBytes BuiltInXF(int Font, std::uint16_t TypeProt, std::uint16_t Attr) {
    TXFBytes x;
    x.Set16(0, std::uint16_t(Font));
    x.Set16(4, TypeProt);
    x.B[6] = 0x20;
    x.Set16(8, Attr);
    x.Set16(18, 0x20C0);
    return x;
}

}  // namespace

void TxlsStyles::WriteXFs(TBiffOut& Out) const {
    for (int i = 0; i < 16; ++i) {
        TXFBytes x;
        if (i == 0)
            x = BuiltInXF(0, 0xFFF5, 0x0000);
        else if (i <= 2)
            x = BuiltInXF(1, 0xFFF5, 0xF400);
        else if (i <= 4)
            x = BuiltInXF(2, 0xFFF5, 0xF400);
        else if (i <= 14)
            x = BuiltInXF(0, 0xFFF5, 0xF400);
        else
            x = BuiltInXF(1, 0x0001, 0x0000);
        Out.Record(biff::XF, x.B, 20);
    }
    for (const auto& e : FXFs) {
        TXFBytes x = BuiltInXF(1, 0x0001, 0x0000);
        auto pal = [](TxlsColor c) { return std::uint32_t(XlsColorInfo(c).Palette & 0x7F); };
        x.Set16(8, x.Get16(8) | 0x4000);
        x.Set16(18, std::uint16_t(pal(e.Fill.Background) | (pal(e.Fill.Foreground) << 7)));
        x.Set32(14, std::uint32_t(e.Fill.Pattern) << 26);
        if (e.FontIndex >= 0) {
            x.Set16(8, x.Get16(8) | 0x0800);
            x.Set16(0, std::uint16_t(e.FontIndex));
        }
        if (e.FormatIndex >= 0) x.Set16(2, std::uint16_t(e.FormatIndex));
        const TxlsBorders& b = e.Borders;
        if (b.Any()) {
            x.Set16(8, x.Get16(8) | 0x2000);
            auto col = [&](const TxlsBorder& br) { return br.Style == bstNone ? 0u : pal(br.Color); };
            x.Set16(10,
                    std::uint16_t(b.Left.Style | (b.Right.Style << 4) | (b.Top.Style << 8) | (b.Bottom.Style << 12)));
            std::uint32_t c12 = col(b.Left) | (col(b.Right) << 7);
            if (b.DiagDown.Style != bstNone) c12 |= 1u << 14;
            if (b.DiagUp.Style != bstNone) c12 |= 1u << 15;
            x.Set16(12, std::uint16_t(c12));
            std::uint32_t c14 = x.Get32(14) | col(b.Top) | (col(b.Bottom) << 7);
            if (b.DiagDown.Style != bstNone || b.DiagUp.Style != bstNone) {
                const TxlsBorder& d = b.DiagDown.Style != bstNone ? b.DiagDown : b.DiagUp;
                c14 |= (pal(d.Color) << 14) | (std::uint32_t(d.Style) << 21);
            }
            x.Set32(14, c14);
        }
        x.Set16(8, x.Get16(8) | 0x1000);
        x.B[6] = std::uint8_t((e.Alignment.Horizontal & 7) | (e.Wrap ? 8 : 0) | ((e.Alignment.Vertical & 7) << 4));
        x.B[8] = std::uint8_t((x.B[8] & 0xF0) | std::clamp(e.Alignment.Indent, 0, 15));
        Out.Record(biff::XF, x.B, 20);
    }
}

void TxlsStyles::WriteStyles(TBiffOut& Out) {
    static const std::uint16_t xf[6] = {0x8010, 0x8011, 0x8012, 0x8013, 0x8000, 0x8014};
    static const std::uint8_t id[6] = {3, 6, 4, 7, 0, 5};
    for (int i = 0; i < 6; ++i) {
        std::uint8_t b[4] = {std::uint8_t(xf[i]), std::uint8_t(xf[i] >> 8), id[i], 0xFF};
        Out.Record(biff::STYLE, b, 4);
    }
}

}  // namespace cb::tabexport
