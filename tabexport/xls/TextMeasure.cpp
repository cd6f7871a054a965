#include "tabexport/xls/TextMeasure.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "tabexport/core/Utf.h"

#include <algorithm>

namespace cb::tabexport {

struct TTextMeasure::TFontWidths {
    TxlsFont Font;
    std::array<int, 128> Advance;
};

TTextMeasure::TTextMeasure() : FBitmap(std::make_unique<cb::gfx::TBitmap>(1, 1)) {}
TTextMeasure::~TTextMeasure() = default;

TTextMeasure::TFontWidths& TTextMeasure::Widths(const TxlsFont& Font) {
    if (FLast && FLast->Font == Font) return *FLast;
    std::string key = Font.Name + "|" + std::to_string(Font.Size) + "|" + std::to_string(Font.Style) + "|" +
                      std::to_string(int(Font.Underline));
    auto& slot = FFonts[key];
    if (!slot) {
        slot = std::make_unique<TFontWidths>();
        slot->Font = Font;
        Font.AssignTo(FBitmap->Canvas().Font());
        for (int c = 0; c < 128; ++c) {
            char ch = char(c);
            slot->Advance[size_t(c)] = c < 32 ? 0 : FBitmap->Canvas().TextWidth(std::string_view(&ch, 1));
        }
    }
    FLast = slot.get();
    return *slot;
}

int TTextMeasure::TextWidth(std::string_view Text, const TxlsFont& Font) {
    TFontWidths& w = Widths(Font);
    if (IsAscii(Text)) {
        int sum = 0;
        for (char c : Text) sum += w.Advance[static_cast<unsigned char>(c)];
        return sum;
    }
    Font.AssignTo(FBitmap->Canvas().Font());
    return FBitmap->Canvas().TextWidth(Text);
}

int TTextMeasure::ZeroWidth() {
    return std::max(TextWidth("0"), 1);
}

}  // namespace cb::tabexport
