#pragma once
// Text widths in pixels as the spreadsheet shows them (96 dpi), per cell
// font. Plain ASCII text is summed from cached character advances.
#include "tabexport/xls/XlsFormat.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace cb::gfx {
class TBitmap;
}

namespace cb::tabexport {

class TTextMeasure {
public:
    TTextMeasure();
    ~TTextMeasure();
    // Width of Text in Font (the default font: "arial", 10 points).
    int TextWidth(std::string_view Text, const TxlsFont& Font = TxlsFont());
    // Width of "0" in the default font.
    int ZeroWidth();

private:
    struct TFontWidths;
    TFontWidths& Widths(const TxlsFont& Font);
    std::unique_ptr<cb::gfx::TBitmap> FBitmap;
    std::map<std::string, std::unique_ptr<TFontWidths>> FFonts;
    TFontWidths* FLast = nullptr;
};

}  // namespace cb::tabexport
