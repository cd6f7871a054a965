#include "app/core/theme/GridTheme.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFile.h"

#include <algorithm>
#include <filesystem>

namespace cb::app {

namespace {

// More themes than this in one file is damage, not a theme list.
constexpr int MaxThemes = 1000;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int HexPart(const std::string& text, std::size_t start) {
    const std::string part = start < text.size() ? text.substr(start, 2) : std::string();
    if (part.empty()) throw rtl::EConvertError("'" + text + "' is not a valid colour");
    int value = 0;
    for (char c : part) {
        const int d = HexDigit(c);
        if (d < 0) throw rtl::EConvertError("'" + text + "' is not a valid colour");
        value = value * 16 + d;
    }
    return value;
}

TColor ReadColor(const rtl::TCustomIniFile& ini, const std::string& section, const std::string& key) {
    return HexToColor(ini.ReadString(section, key, "000000"));
}

}  // namespace

const TDepthStyle& TGridDisplayTheme::ForDepth(int depth) const {
    return Depths[static_cast<std::size_t>(std::clamp(depth, 0, DepthCount - 1))];
}

bool TThemeList::Add(std::unique_ptr<TGridDisplayTheme> theme) {
    if (!theme) return false;
    FThemes.push_back(std::move(theme));
    return true;
}

TGridDisplayTheme* TThemeList::FindByName(const std::string& name) const {
    for (const auto& t : FThemes)
        if (t->Name == name) return t.get();
    return nullptr;
}

TGridDisplayTheme* TThemeList::GetTheme(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return FThemes[static_cast<std::size_t>(index)].get();
}

bool TThemeParser::LoadFromFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    return ParseFile(path);
}

bool TThemeParser::ParseFile(const std::string& path) {
    try {
        rtl::TMemIniFile ini(path);
        const int count = std::min(ini.ReadInteger("Themes", "ThemeCount", 0), MaxThemes);
        for (int i = 1; i <= count; ++i) {
            const std::string s = "Theme" + std::to_string(i);
            auto t = std::make_unique<TGridDisplayTheme>();
            t->Name = ini.ReadString(s, "Name", "Default");
            t->DimensionColor = ReadColor(ini, s, "DimensionColor");
            t->DimensionFontName = ini.ReadString(s, "DimensionFontName", "Tahoma");
            t->DimensionFontColor = ReadColor(ini, s, "DimensionFontColor");
            t->DimensionFontSize = ini.ReadInteger(s, "DimensionFontSize", 8);
            t->DimensionFontBold = ini.ReadBool(s, "DimensionFontBold", false);
            t->SelectionColor = ReadColor(ini, s, "SelectionColor");
            t->BorderColor = ReadColor(ini, s, "BorderColor");
            t->DataColor = ReadColor(ini, s, "DataColor");
            t->DataFontName = ini.ReadString(s, "DataFontName", "Tahoma");
            t->DataFontColor = ReadColor(ini, s, "DataFontColor");
            t->DataFontSize = ini.ReadInteger(s, "DataFontSize", 8);
            t->DataFontBold = ini.ReadBool(s, "DataFontBold", false);
            for (int k = 1; k <= TGridDisplayTheme::DepthCount; ++k) {
                const std::string n = std::to_string(k);
                TDepthStyle& d = t->Depths[static_cast<std::size_t>(k - 1)];
                d.Color = ReadColor(ini, s, "Depth" + n);
                d.FontName = ini.ReadString(s, "DepthFontName" + n, "Tahoma");
                d.FontColor = ReadColor(ini, s, "DepthFontColor" + n);
                d.FontSize = ini.ReadInteger(s, "DepthFontSize" + n, 8);
                d.FontBold = ini.ReadBool(s, "DepthFontBold" + n, false);
            }
            FThemeList.Add(std::move(t));
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

TColor HexToColor(const std::string& text) {
    const int r = HexPart(text, 0);
    const int g = HexPart(text, 2);
    const int b = HexPart(text, 4);
    return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}

std::string ColorToHex(TColor color) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned byte = (color >> shift) & 0xFF;
        out += digits[byte >> 4];
        out += digits[byte & 0xF];
    }
    return out;
}

}  // namespace cb::app
