#include "tabexport/rtf/RTFWriter.h"
#include "platform/rtl/Strings.h"

#include "platform/rtl/Streams.h"
#include "tabexport/core/TabExportTypes.h"
#include "tabexport/core/Utf.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace cb::tabexport {

namespace {

bool IsRealColor(cb::gfx::TColor c) {
    return (c & 0xFF000000u) == 0;
}

}  // namespace

std::string TRTFFontTableItem::Text() const {
    return "{\\f" + std::to_string(Number) + "\\f" + Family + " " + RTFEscape(FontName) + ";}";
}

std::string TRTFColorTableItem::Text() const {
    return "\\red" + std::to_string(Red) + "\\green" + std::to_string(Green) + "\\blue" + std::to_string(Blue) + ";";
}

bool TRTFColorTableItem::Matches(cb::gfx::TColor Color) const {
    return IsRealColor(Color) && static_cast<cb::gfx::TColor>(Red | (Green << 8) | (Blue << 16)) == Color;
}

std::string RTFEscape(const std::string& Utf8) {
    std::string out;
    out.reserve(Utf8.size());
    for (std::size_t i = 0; i < Utf8.size();) {
        char32_t cp = NextCodePoint(Utf8, i);
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\n') {
            out += "\\line ";
        } else if (cp == '\r') {
            // CR LF and a lone CR both end a line once
            if (i >= Utf8.size() || Utf8[i] != '\n') out += "\\line ";
        } else if (cp == '\t') {
            out += "\\tab ";
        } else if (cp < 0x20) {
            // other control characters are dropped
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (int code = WinAnsiCode(cp); code >= 0) {
            static const char* digits = "0123456789abcdef";
            out += "\\'";
            out += digits[(code >> 4) & 15];
            out += digits[code & 15];
        } else {
            auto unit = [&](unsigned v) { out += "\\u" + std::to_string(static_cast<int16_t>(v)) + "?"; };
            if (cp > 0xFFFF) {
                cp -= 0x10000;
                unit(0xD800 + (cp >> 10));
                unit(0xDC00 + (cp & 0x3FF));
            } else {
                unit(cp);
            }
        }
    }
    return out;
}

std::string TTabRTFWriter::AlignToStr(TTabExportColAlign Align) {
    switch (Align) {
    case ecaLeft:
        return "\\ql";
    case ecaCenter:
        return "\\qc";
    case ecaRight:
        return "\\qr";
    }
    return {};
}

void TTabRTFWriter::WriteHeader() {
    WriteLine("\\rtf" + std::to_string(Header.Version) + "\\" + Header.CharSet + "\\deff" +
              std::to_string(Header.DefaultFont) + "\\deftab" + std::to_string(Header.DefaultTab));
}

void TTabRTFWriter::WriteFontTable() {
    std::string s = "{\\fonttbl";
    for (const auto& f : FontTable) s += f.Text();
    WriteLine(s + "}");
}

void TTabRTFWriter::WriteColorTable() {
    std::string s = "{\\colortbl";
    for (const auto& c : ColorTable) s += c.Text();
    WriteLine(s + "}");
}

void TTabRTFWriter::AddFont(const std::string& FontName) {
    int number = 0;
    for (const auto& f : FontTable) number = std::max(number, f.Number + 1);
    FontTable.push_back({number, "nil", FontName});
}

void TTabRTFWriter::AddColor(cb::gfx::TColor Color) {
    ColorTable.push_back({static_cast<int>(Color & 0xFF), static_cast<int>((Color >> 8) & 0xFF),
                          static_cast<int>((Color >> 16) & 0xFF)});
}

std::int64_t TTabRTFWriter::HeaderLength() const {
    return 20 +
           static_cast<std::int64_t>(std::to_string(Header.Version).size() + std::to_string(Header.DefaultFont).size() +
                                     std::to_string(Header.DefaultTab).size() + Header.CharSet.size());
}

std::int64_t TTabRTFWriter::FontTableLength() const {
    std::int64_t n = 12;
    for (const auto& f : FontTable) n += static_cast<std::int64_t>(f.Text().size());
    return n;
}

std::int64_t TTabRTFWriter::ColorTableLength() const {
    std::int64_t n = 13;
    for (const auto& c : ColorTable) n += static_cast<std::int64_t>(c.Text().size());
    return n;
}

std::string TTabRTFWriter::FontToRTF(const cb::gfx::TFont& Font, bool WriteIt) {
    return FontToRTF(Font.Name(), Font.Size(), WriteIt);
}

std::string TTabRTFWriter::FontToRTF(const std::string& FontName, int PointSize, bool WriteIt) {
    int number = -1;
    for (const auto& f : FontTable)
        if (cb::rtl::SameText(f.FontName, FontName)) {
            number = f.Number;
            break;
        }
    if (number < 0) {
        std::int64_t at = HeaderLength() + FontTableLength() - 3;  // before the table's closing "}"
        AddFont(FontName);
        number = FontTable.back().Number;
        InsertText(at, FontTable.back().Text());
    }
    // Half-points are positive; a size the font does not give is 12 points.
    const int points = PointSize == 0 ? 12 : std::min(std::abs(PointSize), 1638);
    std::string text = "\\f" + std::to_string(number) + "\\fs" + std::to_string(points * 2);
    if (WriteIt) WriteLine(text);
    return text;
}

std::string TTabRTFWriter::ColorToRTF(cb::gfx::TColor Color, int Kind) {
    if (!IsRealColor(Color)) return Kind == 0 ? "\\cf0" : "";
    int index = -1;
    for (size_t i = 0; i < ColorTable.size(); ++i)
        if (ColorTable[i].Matches(Color)) {
            index = static_cast<int>(i);
            break;
        }
    if (index < 0) {
        std::int64_t at = HeaderLength() + FontTableLength() + ColorTableLength() - 3;
        AddColor(Color);
        index = static_cast<int>(ColorTable.size()) - 1;
        InsertText(at, ColorTable.back().Text());
    }
    static const char* words[] = {"\\cf", "\\cbpat", "\\highlight"};
    return words[Kind < 0 || Kind > 2 ? 0 : Kind] + std::to_string(index);
}

void TTabRTFWriter::InsertText(std::int64_t Position, const std::string& Text) {
    auto* stream = Stream();
    std::int64_t size = stream->Size();
    if (Position < 0 || Position > size)
        throw ETabExportError("RTF table position " + std::to_string(Position) + " is outside the document (" +
                              std::to_string(size) + " bytes)");
    std::string tail(static_cast<size_t>(size - Position), '\0');
    stream->SetPosition(Position);
    if (!tail.empty()) stream->ReadBuffer(tail.data(), tail.size());
    stream->SetPosition(Position);
    stream->WriteBuffer(Text);
    stream->WriteBuffer(tail);
}

}  // namespace cb::tabexport
