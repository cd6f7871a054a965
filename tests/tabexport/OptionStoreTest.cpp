// Exporter settings written to an INI file and read back.
#include "TabExportTestSupport.h"

#include "platform/rtl/IniFile.h"
#include "tabexport/core/TabExportOptions.h"
#include "tabexport/pdf/TabExportPDF.h"
#include "tabexport/rtf/TabExportRTF.h"
#include "tabexport/xls/TabExportXLS.h"

#include <gtest/gtest.h>

using namespace cb::tabexport;
using namespace cb::tabexport::test;
using cb::rtl::TIniFile;
using cb::rtl::TMemIniFile;

namespace {

std::vector<std::string> Items(const cb::rtl::TStringList& L) {
    std::vector<std::string> v;
    for (int i = 0; i < L.Count(); ++i) v.push_back(L[i]);
    return v;
}

// Every common setting away from its default.
void SetCommon(TTabExportFormatText& E) {
    E.GoToFirstRecord = false;
    E.ExportEmpty = false;
    E.CurrentRecordOnly = true;
    E.ExportRecCount = 17;
    E.SkipRecCount = 3;
    E.OnlyVisibleFields = true;
    E.AutoCalcStrType = true;
    E.CaptionRow = 2;
    E.ExportedFields = {"Name", "Größe"};
    E.FileName = "/tmp/out file.xls";
    E.ShowFile = true;
    E.PrintFile = true;
    E.Header = {"Report", "second line"};
    E.Footer = {"end"};
    E.AllowCaptions = false;
    E.Captions = {"Name=Full name"};
    E.Formats().SetIntegerFormat("#0");
    E.Formats().SetFloatFormat("0.000");
    E.Formats().SetDateFormat("yyyy-mm-dd");
    E.Formats().SetTimeFormat("hh:nn");
    E.Formats().SetDateTimeFormat("yyyy-mm-dd hh:nn");
    E.Formats().SetCurrencyFormat("0.00 EUR");
    E.Formats().SetBooleanTrue("yes");
    E.Formats().SetBooleanFalse("no");
    E.Formats().SetNullString("n/a");
    E.UserFormats = {"Price=0.00"};
}

void ExpectCommon(TTabExportFormatText& A, TTabExportFormatText& B) {
    EXPECT_EQ(A.GoToFirstRecord, B.GoToFirstRecord);
    EXPECT_EQ(A.ExportEmpty, B.ExportEmpty);
    EXPECT_EQ(A.CurrentRecordOnly, B.CurrentRecordOnly);
    EXPECT_EQ(A.ExportRecCount, B.ExportRecCount);
    EXPECT_EQ(A.SkipRecCount, B.SkipRecCount);
    EXPECT_EQ(A.OnlyVisibleFields, B.OnlyVisibleFields);
    EXPECT_EQ(A.AutoCalcStrType, B.AutoCalcStrType);
    EXPECT_EQ(A.CaptionRow, B.CaptionRow);
    EXPECT_EQ(Items(A.ExportedFields), Items(B.ExportedFields));
    EXPECT_EQ(A.FileName, B.FileName);
    EXPECT_EQ(A.ShowFile, B.ShowFile);
    EXPECT_EQ(A.PrintFile, B.PrintFile);
    EXPECT_EQ(Items(A.Header), Items(B.Header));
    EXPECT_EQ(Items(A.Footer), Items(B.Footer));
    EXPECT_EQ(A.AllowCaptions, B.AllowCaptions);
    EXPECT_EQ(Items(A.Captions), Items(B.Captions));
    EXPECT_EQ(A.Formats().IntegerFormat(), B.Formats().IntegerFormat());
    EXPECT_EQ(A.Formats().FloatFormat(), B.Formats().FloatFormat());
    EXPECT_EQ(A.Formats().DateFormat(), B.Formats().DateFormat());
    EXPECT_EQ(A.Formats().TimeFormat(), B.Formats().TimeFormat());
    EXPECT_EQ(A.Formats().DateTimeFormat(), B.Formats().DateTimeFormat());
    EXPECT_EQ(A.Formats().CurrencyFormat(), B.Formats().CurrencyFormat());
    EXPECT_EQ(A.Formats().BooleanTrue(), B.Formats().BooleanTrue());
    EXPECT_EQ(A.Formats().BooleanFalse(), B.Formats().BooleanFalse());
    EXPECT_EQ(A.Formats().NullString(), B.Formats().NullString());
    EXPECT_EQ(Items(A.UserFormats), Items(B.UserFormats));
}

// Saves A into a file, reads the file into B.
std::string RoundTrip(TTabExport& A, TTabExport& B) {
    const std::string file = TempDir() + "/options.ini";
    {
        TIniFile ini(file);
        A.SaveOptions(ini);
    }
    TIniFile ini(file);
    B.LoadOptions(ini);
    return ReadFile(file);
}

void SetStyle(TrtfStyle& S, int Seed) {
    S.Font.SetName("Courier New");
    S.Font.SetSize(9 + Seed);
    S.Font.SetColor(0x102030 + Seed);
    S.Font.SetStyle(Seed % 2 ? cb::gfx::fsItalic | cb::gfx::fsStrikeOut : cb::gfx::fsBold | cb::gfx::fsUnderline);
    S.BackgroundColor = 0x00FF00 + Seed;
    S.HighlightColor = 0x0000FF + Seed;
    S.AllowHighlight = true;
    S.AllowBackground = false;
    S.Alignment = TrtfTextAlignment((Seed + 1) % 4);
}

void ExpectStyle(const TrtfStyle& A, const TrtfStyle& B) {
    EXPECT_EQ(A.Font.Name(), B.Font.Name());
    EXPECT_EQ(A.Font.Size(), B.Font.Size());
    EXPECT_EQ(A.Font.Color(), B.Font.Color());
    EXPECT_EQ(A.Font.Style(), B.Font.Style());
    EXPECT_EQ(A.BackgroundColor, B.BackgroundColor);
    EXPECT_EQ(A.HighlightColor, B.HighlightColor);
    EXPECT_EQ(A.AllowHighlight, B.AllowHighlight);
    EXPECT_EQ(A.AllowBackground, B.AllowBackground);
    EXPECT_EQ(A.Alignment, B.Alignment);
}

TxlsFormat SomeXlsFormat(int Seed) {
    TxlsFormat f;
    f.Font.Name = "Times New Roman";
    f.Font.Size = 11 + Seed;
    f.Font.Color = TxlsColor((Seed * 7 + 3) % KXlsColorCount);
    f.Font.Style = xfsItalic | (Seed % 2 ? xfsBold : xfsStrikeOut);
    f.Font.Underline = fulDouble;
    f.Alignment.Horizontal = halRight;
    f.Alignment.Vertical = valCenter;
    f.Borders.Top = {bstThin, clrRed};
    f.Borders.Bottom = {bstDouble, clrBlue};
    f.Borders.Left = {bstDashDot, clrLavender};
    f.Borders.Right = {bstHair, clrGold};
    f.Fill = {clrLightYellow, ptChess, clrTeal};
    return f;
}

}  // namespace

TEST(OptionStore, GeneralSectionIsAnOrdinarySectionOfTheFile) {
    TTabExportXLS a, b;
    SetCommon(a);
    const std::string text = RoundTrip(a, b);
    // Written as it stands, not turned into keys outside any section.
    EXPECT_NE(text.find("[GENERAL]\r\nGoToFirstRecord=0\r\nExportEmpty=0\r\nCurrentRecordOnly=1\r\nExportRecCount=17"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[FIELDS]\r\nfield0=Name\r\nfield1=Größe\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[HEADER]\r\nline0=Report\r\nline1=second line\r\n"), std::string::npos) << text;
    ExpectCommon(a, b);
}

TEST(OptionStore, XlsExporterRoundTripsEverySetting) {
    TTabExportXLS a, b;
    SetCommon(a);
    a.Options.PageHeader = "&L left";
    a.Options.PageFooter = "&P";
    a.Options.SetSheetTitle("Sales");
    a.Options.HeaderFormat = SomeXlsFormat(0);
    a.Options.CaptionsFormat = SomeXlsFormat(1);
    a.Options.DataFormat = SomeXlsFormat(2);
    a.Options.AggregateFormat = SomeXlsFormat(3);
    a.Options.FooterFormat = SomeXlsFormat(4);
    a.Options.HyperlinkFormat = SomeXlsFormat(5);
    a.StripType = ssRow;
    a.HeaderRows = 2;
    a.FooterRows = 1;
    a.StartDataCol = 3;
    a.AutoCalcColWidth = true;
    for (int i = 0; i < 2; ++i) {
        TxlsFieldFormat& ff = a.FieldFormats.Add();
        static_cast<TxlsFormat&>(ff) = SomeXlsFormat(6 + i);
        ff.FieldName = i ? "Price" : "Qty";
        ff.Width = 12 + i;
        ff.Aggregate = i ? aggAvg : aggMax;
    }
    a.StripStyles = {SomeXlsFormat(8), SomeXlsFormat(9), SomeXlsFormat(10)};
    b.StripStyles = {TxlsFormat()};
    RoundTrip(a, b);
    ExpectCommon(a, b);
    EXPECT_EQ(b.Options.PageHeader, "&L left");
    EXPECT_EQ(b.Options.PageFooter, "&P");
    EXPECT_EQ(b.Options.SheetTitle(), "Sales");
    EXPECT_EQ(b.Options.HeaderFormat, a.Options.HeaderFormat);
    EXPECT_EQ(b.Options.CaptionsFormat, a.Options.CaptionsFormat);
    EXPECT_EQ(b.Options.DataFormat, a.Options.DataFormat);
    EXPECT_EQ(b.Options.AggregateFormat, a.Options.AggregateFormat);
    EXPECT_EQ(b.Options.FooterFormat, a.Options.FooterFormat);
    EXPECT_EQ(b.Options.HyperlinkFormat, a.Options.HyperlinkFormat);
    EXPECT_EQ(b.StripType, ssRow);
    EXPECT_EQ(b.HeaderRows, 2);
    EXPECT_EQ(b.FooterRows, 1);
    EXPECT_EQ(b.StartDataCol, 3);
    EXPECT_TRUE(b.AutoCalcColWidth);
    ASSERT_EQ(b.FieldFormats.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(b.FieldFormats.Items(i).FieldName, a.FieldFormats.Items(i).FieldName);
        EXPECT_EQ(b.FieldFormats.Items(i).Width, a.FieldFormats.Items(i).Width);
        EXPECT_EQ(b.FieldFormats.Items(i).Aggregate, a.FieldFormats.Items(i).Aggregate);
        EXPECT_EQ(static_cast<const TxlsFormat&>(b.FieldFormats.Items(i)),
                  static_cast<const TxlsFormat&>(a.FieldFormats.Items(i)));
    }
    EXPECT_EQ(b.StripStyles, a.StripStyles);
}

TEST(OptionStore, EveryPaletteColourComesBackAsItself) {
    TMemIniFile ini("");
    for (int c = 0; c < KXlsColorCount; ++c) {
        TxlsFormat f, g;
        f.Font.Color = TxlsColor(c);
        f.Fill.Background = TxlsColor(KXlsColorCount - 1 - c);
        f.SaveToStore(ini, "F");
        g.LoadFromStore(ini, "F");
        EXPECT_EQ(g.Font.Color, f.Font.Color) << XlsColorInfo(TxlsColor(c)).Name;
        EXPECT_EQ(g.Fill.Background, f.Fill.Background);
    }
    // A colour outside the palette, or no colour at all, reads as black.
    for (const char* text : {"$00123456", "not a colour"}) {
        ini.WriteString("F", "FontColor", text);
        TxlsFormat g;
        g.Font.Color = clrRed;
        g.LoadFromStore(ini, "F");
        EXPECT_EQ(g.Font.Color, clrBlack) << text;
    }
}

TEST(OptionStore, RtfExporterRoundTripsEverySetting) {
    TTabExportRTF a, b;
    SetCommon(a);
    a.Options.CaptionAligns = {"Name=C", "Price=R"};
    SetStyle(a.Options.CaptionStyle, 0);
    SetStyle(a.Options.DataStyle, 1);
    SetStyle(a.Options.HeaderStyle, 2);
    SetStyle(a.Options.FooterStyle, 3);
    a.Options.PageOrientation = poLandscape;
    a.Options.StripStyles.resize(2);
    SetStyle(a.Options.StripStyles[0], 4);
    SetStyle(a.Options.StripStyles[1], 5);
    a.Options.StripType = stCol;
    RoundTrip(a, b);
    ExpectCommon(a, b);
    EXPECT_EQ(Items(b.Options.CaptionAligns), Items(a.Options.CaptionAligns));
    ExpectStyle(a.Options.CaptionStyle, b.Options.CaptionStyle);
    ExpectStyle(a.Options.DataStyle, b.Options.DataStyle);
    ExpectStyle(a.Options.HeaderStyle, b.Options.HeaderStyle);
    ExpectStyle(a.Options.FooterStyle, b.Options.FooterStyle);
    EXPECT_EQ(b.Options.PageOrientation, poLandscape);
    EXPECT_EQ(b.Options.StripType, stCol);
    ASSERT_EQ(b.Options.StripStyles.size(), 2u);
    ExpectStyle(a.Options.StripStyles[0], b.Options.StripStyles[0]);
    ExpectStyle(a.Options.StripStyles[1], b.Options.StripStyles[1]);
}

TEST(OptionStore, PdfExporterRoundTripsEverySetting) {
    TTabExportPDF a, b;
    SetCommon(a);
    auto& p = a.Options.PageOptions;
    p.Units = unMillimeter;
    p.SetFormat(pfLetter);
    p.SetOrientation(poLandscape);
    p.SetMarginLeft(20);
    p.SetMarginRight(15);
    p.SetMarginTop(10);
    p.SetMarginBottom(12);
    a.Options.RowSpacing = 1.5;
    a.Options.ColSpacing = 2.25;
    a.Options.GridLineWidth = 3;
    a.Options.GridLineColor = 0x336699;
    a.Options.HeaderFont = {"HeaderFont", poTimesBold, 14, poMacRomanEncoding, 0x0000FF};
    a.Options.CaptionFont = {"CaptionFont", poCourierOblique, 9, poStandardEncoding, 0x00FF00};
    a.Options.DataFont = {"DataFont", poHelveticaBoldOblique, 8, poPDFDocEncoding, 0x111111};
    a.Options.FooterFont = {"FooterFont", poSymbol, 7, poWinAnsiEncoding, 0xFF0000};
    RoundTrip(a, b);
    ExpectCommon(a, b);
    const auto& q = b.Options.PageOptions;
    EXPECT_EQ(q.Units, unMillimeter);
    EXPECT_EQ(q.Format(), pfLetter);
    EXPECT_EQ(q.Orientation(), poLandscape);
    EXPECT_EQ(q.WidthPoints(), p.WidthPoints());
    EXPECT_EQ(q.HeightPoints(), p.HeightPoints());
    const TPDFBox pa = p.GetPrintBox(), pb = q.GetPrintBox();
    EXPECT_EQ(pb.Left, pa.Left);
    EXPECT_EQ(pb.Right, pa.Right);
    EXPECT_EQ(pb.Top, pa.Top);
    EXPECT_EQ(pb.Bottom, pa.Bottom);
    EXPECT_DOUBLE_EQ(b.Options.RowSpacing, 1.5);
    EXPECT_DOUBLE_EQ(b.Options.ColSpacing, 2.25);
    EXPECT_EQ(b.Options.GridLineWidth, 3);
    EXPECT_EQ(b.Options.GridLineColor, 0x336699u);
    for (auto font :
         {&TPDFOptions::HeaderFont, &TPDFOptions::CaptionFont, &TPDFOptions::DataFont, &TPDFOptions::FooterFont}) {
        EXPECT_EQ((b.Options.*font).BaseFont, (a.Options.*font).BaseFont);
        EXPECT_EQ((b.Options.*font).FontSize, (a.Options.*font).FontSize);
        EXPECT_EQ((b.Options.*font).FontEncoding, (a.Options.*font).FontEncoding);
        EXPECT_EQ((b.Options.*font).FontColor, (a.Options.*font).FontColor);
        EXPECT_EQ((b.Options.*font).Name, (a.Options.*font).Name);
    }
}

TEST(OptionStore, ListSectionsReplaceTheirListsAndMissingKeysKeepValues) {
    TTabExportRTF a, b;
    a.ExportedFields = {"A", "B"};
    b.ExportedFields = {"X", "Y", "Z"};
    b.Header = {"kept"};
    TMemIniFile ini("");
    a.SaveOptions(ini);
    ini.EraseSection("GENERAL");
    ini.EraseSection("HEADER");
    ini.WriteString("FORMATS", "Float", "");
    b.GoToFirstRecord = false;
    b.ExportRecCount = 9;
    b.CaptionRow = 4;
    b.LoadOptions(ini);
    EXPECT_EQ(Items(b.ExportedFields), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Items(b.Header), std::vector<std::string>{"kept"});
    EXPECT_FALSE(b.GoToFirstRecord);
    EXPECT_EQ(b.ExportRecCount, 9);
    EXPECT_EQ(b.CaptionRow, 4);
    EXPECT_EQ(b.Formats().FloatFormat(), "#,###,##0.00");
}

TEST(OptionStore, RtfStyleStartsFromTheDefault) {
    TMemIniFile ini("");
    ini.WriteInteger("S", "FontSize", 14);
    TrtfStyle s;
    SetStyle(s, 1);
    s.LoadFromIni(ini, "S");
    EXPECT_EQ(s.Font.Name(), "Arial");
    EXPECT_EQ(s.Font.Size(), 14);
    EXPECT_EQ(s.Font.Style(), 0u);
    EXPECT_EQ(s.Alignment, talLeft);
    EXPECT_TRUE(s.AllowBackground);
}

TEST(OptionStore, DamagedValuesAreRefused) {
    TMemIniFile ini("");
    ini.WriteInteger("RTF", "StripStyleCount", 2000000000);
    ini.WriteInteger("RTF", "PageOrientation", 7);
    ini.WriteInteger("RTF_DATA_STYLE", "Alignment", -3);
    ini.WriteInteger("RTF_DATA_STYLE", "FontSize", 0);
    ini.WriteInteger("XLS", "FieldFormatCount", -5);
    ini.WriteInteger("XLS_DATA_FORMAT", "FillPattern", 99);
    ini.WriteInteger("PDF", "PageWidth", 100);
    ini.WriteInteger("PDF", "MarginLeft", 80);
    ini.WriteInteger("PDF", "MarginRight", 30);
    TTabExportRTF rtf;
    rtf.LoadOptions(ini);
    EXPECT_LE(rtf.Options.StripStyles.size(), size_t(KMaxStoredItems));
    EXPECT_EQ(rtf.Options.PageOrientation, poPortrait);
    EXPECT_EQ(rtf.Options.DataStyle.Alignment, talLeft);
    EXPECT_EQ(rtf.Options.DataStyle.Font.Size(), 10);
    TTabExportXLS xls;
    xls.FieldFormats.Add().FieldName = "old";
    xls.LoadOptions(ini);
    EXPECT_EQ(xls.FieldFormats.Count(), 0);
    EXPECT_EQ(xls.Options.DataFormat.Fill.Pattern, ptNone);
    TTabExportPDF pdf;
    const int width = pdf.Options.PageOptions.WidthPoints();
    pdf.LoadOptions(ini);
    EXPECT_EQ(pdf.Options.PageOptions.WidthPoints(), width);  // margins wider than the page
}
