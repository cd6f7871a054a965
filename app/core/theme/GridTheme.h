#pragma once
// Grid themes: named colours, fonts, sizes and bold flags with which the
// pivot grid paints its headers and data cells, read from "themes.ini".
#include "app/core/theme/Color.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace cb::app {

// Colour, font name, font colour, font size and bold flag of one header depth.
struct TDepthStyle {
    TColor Color = 0;
    std::string FontName = "Tahoma";
    TColor FontColor = 0;
    int FontSize = 8;
    bool FontBold = false;
};

struct TGridDisplayTheme {
    static constexpr int DepthCount = 10;

    std::string Name = "Default";
    TColor DimensionColor = 0;
    std::string DimensionFontName = "Tahoma";
    TColor DimensionFontColor = 0;
    int DimensionFontSize = 8;
    bool DimensionFontBold = false;
    TColor SelectionColor = 0;
    TColor BorderColor = 0;
    TColor DataColor = 0;
    std::string DataFontName = "Tahoma";
    TColor DataFontColor = 0;
    int DataFontSize = 8;
    bool DataFontBold = false;
    // Depth groups 1..10 at indexes 0..9.
    std::array<TDepthStyle, DepthCount> Depths{};

    // The group for a member depth (0 = top level); 9 and deeper share the
    // last group, negative depths take the first.
    const TDepthStyle& ForDepth(int depth) const;
};

// Owns its themes, in file order.
class TThemeList {
public:
    // Takes ownership; false (and the theme freed) for none.
    bool Add(std::unique_ptr<TGridDisplayTheme> theme);
    // First theme whose Name equals the text exactly, or none.
    TGridDisplayTheme* FindByName(const std::string& name) const;
    int GetCount() const { return static_cast<int>(FThemes.size()); }
    // None when the index is outside 0 .. count - 1.
    TGridDisplayTheme* GetTheme(int index) const;
    void Clear() { FThemes.clear(); }

private:
    std::vector<std::unique_ptr<TGridDisplayTheme>> FThemes;
};

// Reads "themes.ini": section "Themes" key "ThemeCount", then sections
// "Theme1" .. "ThemeN" (a missing section gives a theme of defaults).
class TThemeParser {
public:
    // False and nothing read when the file does not exist.
    bool LoadFromFile(const std::string& path);
    // False when reading stopped on an error (bad colour, unreadable file);
    // the themes read before stay, the one being read is dropped.
    bool ParseFile(const std::string& path);
    TThemeList* GetThemeList() { return &FThemeList; }
    const TThemeList* GetThemeList() const { return &FThemeList; }

private:
    TThemeList FThemeList;
};

// "RRGGBB" to a colour; characters after the sixth are ignored. Throws
// cb::rtl::EConvertError when a two-character part is not hexadecimal.
TColor HexToColor(const std::string& text);
// A colour to "RRGGBB", upper-case.
std::string ColorToHex(TColor color);

}  // namespace cb::app
