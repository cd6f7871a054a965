#include "platform/gfx/Color.h"

#include "platform/rtl/Exception.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace cb::gfx {
namespace {

// Classic-look system colours, indexed by system colour number (RGB order
// written for reading, stored as 0x00BBGGRR).
constexpr TColor rgbHex(std::uint32_t rrggbb) {
    return RGB(int(rrggbb >> 16), int(rrggbb >> 8), int(rrggbb));
}

std::array<TColor, COLOR_ENDCOLORS + 1> gClassic = {
    rgbHex(0xD4D0C8),  // scroll bar
    rgbHex(0x3A6EA5),  // desktop
    rgbHex(0x0A246A),  // active caption
    rgbHex(0x808080),  // inactive caption
    rgbHex(0xD4D0C8),  // menu
    rgbHex(0xFFFFFF),  // window
    rgbHex(0x000000),  // window frame
    rgbHex(0x000000),  // menu text
    rgbHex(0x000000),  // window text
    rgbHex(0xFFFFFF),  // caption text
    rgbHex(0xD4D0C8),  // active border
    rgbHex(0xD4D0C8),  // inactive border
    rgbHex(0x808080),  // application work space
    rgbHex(0x0A246A),  // highlight
    rgbHex(0xFFFFFF),  // highlight text
    rgbHex(0xD4D0C8),  // button face
    rgbHex(0x808080),  // button shadow
    rgbHex(0x808080),  // gray text
    rgbHex(0x000000),  // button text
    rgbHex(0xD4D0C8),  // inactive caption text
    rgbHex(0xFFFFFF),  // button highlight
    rgbHex(0x404040),  // 3D dark shadow
    rgbHex(0xD4D0C8),  // 3D light
    rgbHex(0x000000),  // info text
    rgbHex(0xFFFFE1),  // info background
    rgbHex(0xB5B5B5),  // (unused 25)
    rgbHex(0x000080),  // hot light
    rgbHex(0xA6CAF0),  // gradient active caption
    rgbHex(0xC0C0C0),  // gradient inactive caption
    rgbHex(0x316AC5),  // menu highlight
    rgbHex(0xD4D0C8),  // menu bar
};

TSystemColorSource gSource = TSystemColorSource::ClassicTable;

TColor fromPalette(int index) {
    if (!qGuiApp) return gClassic[index];
    const QPalette pal = QGuiApplication::palette();
    auto c = [&](QPalette::ColorRole role, QPalette::ColorGroup g = QPalette::Active) {
        return FromQColor(pal.color(g, role));
    };
    switch (index) {
    case COLOR_WINDOW:
        return c(QPalette::Base);
    case COLOR_WINDOWTEXT:
        return c(QPalette::Text);
    case COLOR_HIGHLIGHT:
        return c(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT:
        return c(QPalette::HighlightedText);
    case COLOR_BTNFACE:
    case COLOR_MENU:
    case COLOR_MENUBAR:
    case COLOR_3DLIGHT:
    case COLOR_SCROLLBAR:
        return c(QPalette::Button);
    case COLOR_BTNTEXT:
    case COLOR_MENUTEXT:
        return c(QPalette::ButtonText);
    case COLOR_BTNSHADOW:
        return c(QPalette::Mid);
    case COLOR_3DDKSHADOW:
        return c(QPalette::Shadow);
    case COLOR_BTNHIGHLIGHT:
        return c(QPalette::Light);
    case COLOR_GRAYTEXT:
        return c(QPalette::Text, QPalette::Disabled);
    case COLOR_INFOBK:
        return c(QPalette::ToolTipBase);
    case COLOR_INFOTEXT:
        return c(QPalette::ToolTipText);
    case COLOR_HOTLIGHT:
        return c(QPalette::Link);
    default:
        return gClassic[index];
    }
}

struct NamedColor {
    const char* name;
    TColor value;
};
constexpr NamedColor kNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
};

bool equalNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

}  // namespace

TColor ColorToRGB(TColor c) {
    if (!IsSystemColor(c)) return c;
    const int index = int(c & 0xFF);
    if ((c & 0x00FFFF00) != 0 || index > COLOR_ENDCOLORS) return clBlack;
    return gSource == TSystemColorSource::Palette ? fromPalette(index) : gClassic[index];
}

void SetSystemColorSource(TSystemColorSource source) {
    gSource = source;
}
TSystemColorSource SystemColorSource() {
    return gSource;
}

void SetSystemColor(int index, TColor rgb) {
    if (index >= 0 && index <= COLOR_ENDCOLORS) gClassic[index] = rgb & 0x00FFFFFF;
}

QColor ToQColor(TColor c) {
    if (c == clNone) return QColor(0, 0, 0, 0);
    if (c == clDefault) return QColor(0, 0, 0);
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c) {
    if (!c.isValid() || c.alpha() == 0) return clNone;
    const QRgb v = c.rgb();
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

TColor StringToColor(const std::string& text) {
    for (const auto& n : kNames)
        if (equalNoCase(text, n.name)) return n.value;
    const char* s = text.c_str();
    int base = 10;
    bool rgbOrder = false;
    if (text.size() > 1 && text[0] == '$') {
        s += 1;
        base = 16;
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        s += 2;
        base = 16;
    } else if (text.size() == 7 && text[0] == '#') {
        s += 1;
        base = 16;
        rgbOrder = true;
    }
    if (*s && (base == 16 || *s == '-' || std::isdigit(static_cast<unsigned char>(*s)))) {
        char* end = nullptr;
        const long long v = std::strtoll(s, &end, base);
        if (end && *end == 0 && v >= -2147483648LL && v <= 0xFFFFFFFFLL) {
            const TColor c = TColor(std::uint32_t(v));
            return rgbOrder ? rgbHex(c) : c;
        }
    }
    throw rtl::EConvertError("'" + text + "' is not a valid colour value");
}

std::string ColorToString(TColor c) {
    for (const auto& n : kNames)
        if (n.value == c) return n.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", unsigned(c));
    return buf;
}

}  // namespace cb::gfx
