#pragma once
// TTabExportPDF: the export as a ruled table on PDF pages: header lines on
// the first page, the caption row at the top of every page, one line per
// record with grid lines around every cell, footer lines after the table.
// A table wider than the printable width is cut into bands of whole
// columns; each band continues on pages of its own after the one before.
#include "platform/gfx/GdiObjects.h"
#include "tabexport/core/TabExport.h"
#include "tabexport/pdf/PDFDocument.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::tabexport {

enum TTabExportPageFormat {
    pfLetter,
    pfLegal,
    pfA3,
    pfA4,
    pfA5,
    pfB5_JIS,
    pfUS_Std_Fanfold,
    pfFanfold,
    pfUser
};

enum TTabExportUnits {
    unInch,
    unMillimeter,
    unDot
};

// Page size and margins, held as whole points and read in Units.
class TTabExportPDFPageOptions {
public:
    TTabExportPDFPageOptions();

    TTabExportPageFormat Format() const { return FFormat; }
    void SetFormat(TTabExportPageFormat Value);
    TTabExportUnits Units = unInch;
    TTabExportPageOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTabExportPageOrientation Value);

    double Width() const { return PointsToUnits(FWidth); }
    double Height() const { return PointsToUnits(FHeight); }
    void SetWidth(double Value);
    void SetHeight(double Value);
    double MarginLeft() const { return PointsToUnits(FLeft); }
    double MarginRight() const { return PointsToUnits(FRight); }
    double MarginTop() const { return PointsToUnits(FTop); }
    double MarginBottom() const { return PointsToUnits(FBottom); }
    void SetMarginLeft(double Value) { FLeft = UnitsToPoints(Value); }
    void SetMarginRight(double Value) { FRight = UnitsToPoints(Value); }
    void SetMarginTop(double Value) { FTop = UnitsToPoints(Value); }
    void SetMarginBottom(double Value) { FBottom = UnitsToPoints(Value); }

    int WidthPoints() const { return FWidth; }
    int HeightPoints() const { return FHeight; }
    // (0, 0, width - 1, height - 1)
    TPDFBox GetPageBox() const;
    // Inside the margins.
    TPDFBox GetPrintBox() const;

    int UnitsToPoints(double Value) const;
    double PointsToUnits(int Points) const;
    // Every setting at once, as stored (points).
    void RestorePoints(TTabExportPageFormat Format, TTabExportPageOrientation Orientation, int Width, int Height,
                       int Left, int Right, int Top, int Bottom);

private:
    TTabExportPageFormat FFormat = pfUser;
    TTabExportPageOrientation FOrientation = poPortrait;
    int FWidth = 0, FHeight = 0;
    int FLeft = 0, FRight = 0, FTop = 0, FBottom = 0;
};

class TPDFOptions {
public:
    TPDFOptions();
    TPDFFont HeaderFont, CaptionFont, DataFont, FooterFont;
    TTabExportPDFPageOptions PageOptions;
    double RowSpacing = 1;  // in font sizes
    double ColSpacing = 3;  // in average characters
    int GridLineWidth = 1;
    cb::gfx::TColor GridLineColor = 0;
};

// The PDF exporter's writer: the document over the output stream.
class TTabPDFWriter : public TTabExportWriter {
public:
    TTabPDFWriter(TTabExport* Owner, cb::rtl::TStream* Stream) : TTabExportWriter(Owner, Stream), Document(Stream) {}
    TPDFDocument Document;
};

class TTabExportPDF : public TTabExportFormatText {
public:
    TPDFOptions Options;

    // Per data cell: Align and Background (white: none) may be changed, and
    // the colour of AFont.
    std::function<void(TTabExportPDF& Sender, int RecNo, int ColNo, const std::string& Value, TTabExportColAlign& Align,
                       cb::gfx::TFont& AFont, cb::gfx::TColor& Background)>
        OnGetCellParams;

    void SaveOptions(cb::rtl::TCustomIniFile& Store) override;
    void LoadOptions(const cb::rtl::TCustomIniFile& Store) override;

    // Columns of each band of the table (one band when it fits the page).
    const std::vector<std::vector<int>>& Bands() const { return FBands; }

protected:
    std::unique_ptr<TTabExportWriter> CreateWriter(cb::rtl::TStream& Stream) override;
    void BeginExport() override;
    void WriteCaptionRow() override;
    void WriteDataRow() override;
    void EndExport() override;
    // The document escapes every string it writes.
    std::string EscapeText(const std::string& Text) override { return Text; }

private:
    struct TCell {
        std::string Text;
        TTabExportColAlign Align = ecaLeft;
        cb::gfx::TColor Color = 0;
        cb::gfx::TColor Background = 0xFFFFFF;
    };
    using TRowCells = std::vector<TCell>;

    TPDFDocument& Doc();
    int Advance(int Size) const;
    int AdvanceAfter(int Size) const;
    void NewPage(cb::gfx::TColor Fill);
    void SelectBand(size_t Band);
    void WriteHeaderLines();
    void WriteFooterLines();
    void DrawCaption();
    void PlaceRow(const TRowCells& Cells);
    void HorizontalLine(int Y);
    void DrawColumnLines(int Top, int Bottom);

    TPDFBox FPrint;
    int CurrentY = 0;
    int TableTopY = 0;
    bool FirstRow = true;
    std::vector<int> ColumnX;              // boundaries of the current band
    std::vector<std::vector<int>> FBands;  // column positions per band
    std::vector<int> FColumnWidths;        // points, spacing included
    size_t FBand = 0;
    std::vector<TRowCells> FHeldRows;  // rows of a table with several bands
};

}  // namespace cb::tabexport
