// The RTF exporter's settings in an INI-style store: one section per style,
// the strip styles numbered, the rest in "RTF".
#include "platform/rtl/IniFile.h"
#include "tabexport/core/TabExportOptions.h"
#include "tabexport/rtf/TabExportRTF.h"

namespace cb::tabexport {

// RTF sizes are half points in a 16-bit field.
constexpr int KMaxFontPoints = 16383;

void TrtfStyle::SaveToIni(cb::rtl::TCustomIniFile& Store, const std::string& Section) const {
    Store.WriteString(Section, "FontName", Font.Name());
    Store.WriteInteger(Section, "FontSize", Font.Size());
    Store.WriteInteger(Section, "FontColor", static_cast<int>(Font.Color()));
    Store.WriteBool(Section, "FontBold", Font.Bold());
    Store.WriteBool(Section, "FontItalic", Font.Italic());
    Store.WriteBool(Section, "FontUnderline", Font.Underline());
    Store.WriteBool(Section, "FontStrikeOut", Font.StrikeOut());
    Store.WriteInteger(Section, "BackgroundColor", static_cast<int>(BackgroundColor));
    Store.WriteInteger(Section, "HighlightColor", static_cast<int>(HighlightColor));
    Store.WriteBool(Section, "AllowHighlight", AllowHighlight);
    Store.WriteBool(Section, "AllowBackground", AllowBackground);
    Store.WriteInteger(Section, "Alignment", static_cast<int>(Alignment));
}

void TrtfStyle::LoadFromIni(const cb::rtl::TCustomIniFile& Store, const std::string& Section) {
    SetDefault();
    Font.SetName(Store.ReadString(Section, "FontName", Font.Name()));
    const int size = Store.ReadInteger(Section, "FontSize", Font.Size());
    if (size > 0 && size <= KMaxFontPoints) Font.SetSize(size);
    Font.SetColor(
        static_cast<cb::gfx::TColor>(Store.ReadInteger(Section, "FontColor", static_cast<int>(Font.Color()))));
    cb::gfx::TFontStyles style = 0;
    if (Store.ReadBool(Section, "FontBold", Font.Bold())) style |= cb::gfx::fsBold;
    if (Store.ReadBool(Section, "FontItalic", Font.Italic())) style |= cb::gfx::fsItalic;
    if (Store.ReadBool(Section, "FontUnderline", Font.Underline())) style |= cb::gfx::fsUnderline;
    if (Store.ReadBool(Section, "FontStrikeOut", Font.StrikeOut())) style |= cb::gfx::fsStrikeOut;
    Font.SetStyle(style);
    BackgroundColor =
        static_cast<cb::gfx::TColor>(Store.ReadInteger(Section, "BackgroundColor", static_cast<int>(BackgroundColor)));
    HighlightColor =
        static_cast<cb::gfx::TColor>(Store.ReadInteger(Section, "HighlightColor", static_cast<int>(HighlightColor)));
    AllowHighlight = Store.ReadBool(Section, "AllowHighlight", AllowHighlight);
    AllowBackground = Store.ReadBool(Section, "AllowBackground", AllowBackground);
    Alignment = ReadEnum(Store, Section, "Alignment", Alignment, 4);
}

namespace {
const char* const KRtf = "RTF";
const char* const KStripPrefix = "RTF_STRIP_STYLE";
}  // namespace

void TTabExportRTF::SaveOptions(cb::rtl::TCustomIniFile& Store) {
    TTabExportFormatText::SaveOptions(Store);
    Store.WriteInteger(KRtf, "PageOrientation", static_cast<int>(Options.PageOrientation));
    Store.WriteInteger(KRtf, "StripType", static_cast<int>(Options.StripType));
    Store.WriteInteger(KRtf, "StripStyleCount", static_cast<int>(Options.StripStyles.size()));
    SaveLinesSection(Store, "RTF_CAPTION_ALIGNS", "line", Options.CaptionAligns);
    Options.CaptionStyle.SaveToIni(Store, "RTF_CAPTION_STYLE");
    Options.DataStyle.SaveToIni(Store, "RTF_DATA_STYLE");
    Options.HeaderStyle.SaveToIni(Store, "RTF_HEADER_STYLE");
    Options.FooterStyle.SaveToIni(Store, "RTF_FOOTER_STYLE");
    const int n = static_cast<int>(Options.StripStyles.size());
    for (int i = 0; i < n; ++i) Options.StripStyles[size_t(i)].SaveToIni(Store, KStripPrefix + std::to_string(i));
    EraseItemSections(Store, KStripPrefix, n);
}

void TTabExportRTF::LoadOptions(const cb::rtl::TCustomIniFile& Store) {
    TTabExportFormatText::LoadOptions(Store);
    Options.PageOrientation = ReadEnum(Store, KRtf, "PageOrientation", Options.PageOrientation, 2);
    Options.StripType = ReadEnum(Store, KRtf, "StripType", Options.StripType, 3);
    LoadLinesSection(Store, "RTF_CAPTION_ALIGNS", Options.CaptionAligns);
    // A style without a section keeps its settings.
    auto load = [&](TrtfStyle& Style, const std::string& Section) {
        if (Store.SectionExists(Section)) Style.LoadFromIni(Store, Section);
    };
    load(Options.CaptionStyle, "RTF_CAPTION_STYLE");
    load(Options.DataStyle, "RTF_DATA_STYLE");
    load(Options.HeaderStyle, "RTF_HEADER_STYLE");
    load(Options.FooterStyle, "RTF_FOOTER_STYLE");
    if (Store.ValueExists(KRtf, "StripStyleCount")) {
        Options.StripStyles.assign(size_t(ReadItemCount(Store, KRtf, "StripStyleCount")), TrtfStyle());
        for (size_t i = 0; i < Options.StripStyles.size(); ++i)
            Options.StripStyles[i].LoadFromIni(Store, KStripPrefix + std::to_string(i));
    }
}

}  // namespace cb::tabexport
