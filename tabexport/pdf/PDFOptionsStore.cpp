// The PDF exporter's settings in an INI-style store: page and table in
// "PDF", a section per font. Page sizes and margins are kept in points.
#include "platform/rtl/IniFile.h"
#include "tabexport/core/TabExportOptions.h"
#include "tabexport/pdf/TabExportPDF.h"

namespace cb::tabexport {

namespace {

const char* const KPdf = "PDF";
// Larger than any page a PDF reader accepts (200 inches).
constexpr int KMaxPagePoints = 14400;

struct TNamedFont {
    const char* Section;
    TPDFFont TPDFOptions::*Font;
};
const TNamedFont KFonts[] = {
    {"PDF_HEADER_FONT", &TPDFOptions::HeaderFont},
    {"PDF_CAPTION_FONT", &TPDFOptions::CaptionFont},
    {"PDF_DATA_FONT", &TPDFOptions::DataFont},
    {"PDF_FOOTER_FONT", &TPDFOptions::FooterFont},
};

int ReadPoints(const cb::rtl::TCustomIniFile& Store, const std::string& Ident, int Current, int Min) {
    const int v = Store.ReadInteger(KPdf, Ident, Current);
    return v >= Min && v <= KMaxPagePoints ? v : Current;
}

}  // namespace

void TTabExportPDFPageOptions::RestorePoints(TTabExportPageFormat Format, TTabExportPageOrientation Orientation,
                                             int Width, int Height, int Left, int Right, int Top, int Bottom) {
    FFormat = Format;
    FOrientation = Orientation;
    FWidth = Width;
    FHeight = Height;
    FLeft = Left;
    FRight = Right;
    FTop = Top;
    FBottom = Bottom;
}

void TTabExportPDF::SaveOptions(cb::rtl::TCustomIniFile& Store) {
    TTabExportFormatText::SaveOptions(Store);
    const TTabExportPDFPageOptions& p = Options.PageOptions;
    Store.WriteInteger(KPdf, "PageFormat", p.Format());
    Store.WriteInteger(KPdf, "Units", p.Units);
    Store.WriteInteger(KPdf, "Orientation", p.Orientation());
    Store.WriteInteger(KPdf, "PageWidth", p.WidthPoints());
    Store.WriteInteger(KPdf, "PageHeight", p.HeightPoints());
    const TPDFBox print = p.GetPrintBox();
    Store.WriteInteger(KPdf, "MarginLeft", print.Left);
    Store.WriteInteger(KPdf, "MarginRight", p.WidthPoints() - 1 - print.Right);
    Store.WriteInteger(KPdf, "MarginTop", p.HeightPoints() - 1 - print.Top);
    Store.WriteInteger(KPdf, "MarginBottom", print.Bottom);
    Store.WriteFloat(KPdf, "RowSpacing", Options.RowSpacing);
    Store.WriteFloat(KPdf, "ColSpacing", Options.ColSpacing);
    Store.WriteInteger(KPdf, "GridLineWidth", Options.GridLineWidth);
    Store.WriteInteger(KPdf, "GridLineColor", static_cast<int>(Options.GridLineColor));
    for (const TNamedFont& f : KFonts) {
        const TPDFFont& font = Options.*f.Font;
        Store.WriteInteger(f.Section, "BaseFont", font.BaseFont);
        Store.WriteInteger(f.Section, "FontSize", font.FontSize);
        Store.WriteInteger(f.Section, "FontEncoding", font.FontEncoding);
        Store.WriteInteger(f.Section, "FontColor", static_cast<int>(font.FontColor));
    }
}

void TTabExportPDF::LoadOptions(const cb::rtl::TCustomIniFile& Store) {
    TTabExportFormatText::LoadOptions(Store);
    TTabExportPDFPageOptions& p = Options.PageOptions;
    p.Units = ReadEnum(Store, KPdf, "Units", p.Units, unDot + 1);
    const TPDFBox print = p.GetPrintBox();
    const int w = ReadPoints(Store, "PageWidth", p.WidthPoints(), 1);
    const int h = ReadPoints(Store, "PageHeight", p.HeightPoints(), 1);
    const int l = ReadPoints(Store, "MarginLeft", print.Left, 0);
    const int r = ReadPoints(Store, "MarginRight", p.WidthPoints() - 1 - print.Right, 0);
    const int t = ReadPoints(Store, "MarginTop", p.HeightPoints() - 1 - print.Top, 0);
    const int b = ReadPoints(Store, "MarginBottom", print.Bottom, 0);
    // Margins that leave no room keep the page as it was.
    if (l + r < w && t + b < h)
        p.RestorePoints(ReadEnum(Store, KPdf, "PageFormat", p.Format(), pfUser + 1),
                        ReadEnum(Store, KPdf, "Orientation", p.Orientation(), poLandscape + 1), w, h, l, r, t, b);
    const double rows = Store.ReadFloat(KPdf, "RowSpacing", Options.RowSpacing);
    if (rows >= 0 && rows <= 100) Options.RowSpacing = rows;
    const double cols = Store.ReadFloat(KPdf, "ColSpacing", Options.ColSpacing);
    if (cols >= 0 && cols <= 100) Options.ColSpacing = cols;
    const int line = Store.ReadInteger(KPdf, "GridLineWidth", Options.GridLineWidth);
    if (line >= 0 && line <= 100) Options.GridLineWidth = line;
    Options.GridLineColor =
        static_cast<cb::gfx::TColor>(Store.ReadInteger(KPdf, "GridLineColor", static_cast<int>(Options.GridLineColor)));
    for (const TNamedFont& f : KFonts) {
        TPDFFont& font = Options.*f.Font;
        font.BaseFont = ReadEnum(Store, f.Section, "BaseFont", font.BaseFont, poZapfDingbats + 1);
        const int size = Store.ReadInteger(f.Section, "FontSize", font.FontSize);
        if (size >= 1 && size <= 1000) font.FontSize = size;
        font.FontEncoding = ReadEnum(Store, f.Section, "FontEncoding", font.FontEncoding, poPDFDocEncoding + 1);
        font.FontColor =
            static_cast<cb::gfx::TColor>(Store.ReadInteger(f.Section, "FontColor", static_cast<int>(font.FontColor)));
    }
}

}  // namespace cb::tabexport
