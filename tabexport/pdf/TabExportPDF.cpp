#include "tabexport/pdf/TabExportPDF.h"

#include <cmath>
#include <utility>

namespace cb::tabexport {

namespace {

// Portrait sizes in points, by format.
const int kFormatPoints[][2] = {{612, 792}, {612, 1008}, {841, 1190}, {595, 841},
                                {419, 595}, {516, 728},  {1071, 792}, {612, 864}};

bool Fills(cb::gfx::TColor c) {
    return (c & 0xFF000000u) == 0 && c != 0xFFFFFF && c != cb::gfx::clNone;
}

}  // namespace

// --- page options ------------------------------------------------------------

TTabExportPDFPageOptions::TTabExportPDFPageOptions() {
    FLeft = UnitsToPoints(1.18);
    FBottom = UnitsToPoints(0.79);
    FRight = UnitsToPoints(0.59);
    FTop = UnitsToPoints(0.79);
    SetFormat(pfA4);
}

int TTabExportPDFPageOptions::UnitsToPoints(double Value) const {
    switch (Units) {
    case unInch:
        return static_cast<int>(std::trunc(Value * 72));
    case unMillimeter:
        return static_cast<int>(std::trunc(Value / 25.4 * 72));
    case unDot:
        break;
    }
    return static_cast<int>(std::trunc(Value));
}

double TTabExportPDFPageOptions::PointsToUnits(int Points) const {
    // nearbyint rounds halves to even in the default rounding mode
    switch (Units) {
    case unInch:
        return std::nearbyint(Points / 72.0 * 100) / 100;
    case unMillimeter:
        return std::nearbyint(Points / 72.0 * 25.4);
    case unDot:
        break;
    }
    return Points;
}

void TTabExportPDFPageOptions::SetFormat(TTabExportPageFormat Value) {
    if (Value == FFormat) return;
    FFormat = Value;
    if (Value == pfUser) return;
    FWidth = kFormatPoints[Value][0];
    FHeight = kFormatPoints[Value][1];
}

void TTabExportPDFPageOptions::SetOrientation(TTabExportPageOrientation Value) {
    if (Value == FOrientation) return;
    FOrientation = Value;
    std::swap(FWidth, FHeight);
    int l = FLeft, r = FRight, t = FTop, b = FBottom;
    if (Value == poLandscape) {
        FLeft = b, FRight = t, FTop = l, FBottom = r;
    } else {
        FLeft = t, FRight = b, FTop = r, FBottom = l;
    }
}

void TTabExportPDFPageOptions::SetWidth(double Value) {
    FWidth = UnitsToPoints(Value);
    FFormat = pfUser;
}

void TTabExportPDFPageOptions::SetHeight(double Value) {
    FHeight = UnitsToPoints(Value);
    FFormat = pfUser;
}

TPDFBox TTabExportPDFPageOptions::GetPageBox() const {
    return {0, 0, FWidth - 1, FHeight - 1};
}

TPDFBox TTabExportPDFPageOptions::GetPrintBox() const {
    return {FLeft, FBottom, FWidth - FRight - 1, FHeight - FTop - 1};
}

TPDFOptions::TPDFOptions() {
    HeaderFont.Name = "HeaderFont";
    CaptionFont.Name = "CaptionFont";
    DataFont.Name = "DataFont";
    FooterFont.Name = "FooterFont";
}

// --- export --------------------------------------------------------------------

std::unique_ptr<TTabExportWriter> TTabExportPDF::CreateWriter(cb::rtl::TStream& Stream) {
    return std::make_unique<TTabPDFWriter>(this, &Stream);
}

TPDFDocument& TTabExportPDF::Doc() {
    return static_cast<TTabPDFWriter*>(Writer())->Document;
}

int TTabExportPDF::Advance(int Size) const {
    return static_cast<int>(std::trunc((Options.RowSpacing / 2 + 1) * Size));
}

int TTabExportPDF::AdvanceAfter(int Size) const {
    return static_cast<int>(std::trunc(Size * Options.RowSpacing / 2));
}

void TTabExportPDF::NewPage(cb::gfx::TColor Fill) {
    Doc().NewPage();
    Doc().SetFillColor(Fill);
    Doc().SetStrokeColor(Options.GridLineColor);
}

void TTabExportPDF::SelectBand(size_t Band) {
    FBand = Band;
    ColumnX.assign(1, FPrint.Left);
    for (int c : FBands[Band]) ColumnX.push_back(ColumnX.back() + FColumnWidths[static_cast<size_t>(c)]);
}

void TTabExportPDF::BeginExport() {
    TTabExportFormatText::BeginExport();
    FirstRow = true;
    FHeldRows.clear();
    const auto& page = Options.PageOptions;
    FPrint = page.GetPrintBox();
    CurrentY = TableTopY = FPrint.Top;

    // column widths, then bands of whole columns that fit the printable width
    const TPDFFont& data = Options.DataFont;
    FColumnWidths.clear();
    for (int i = 0; i < Columns().Count(); ++i)
        FColumnWidths.push_back(PDFCharsWidth(
            data.FontSize, std::max(Columns().GetColumn(i).Width, 0) + Options.ColSpacing, data.BaseFont));
    FBands.assign(1, {});
    const int printWidth = FPrint.Right - FPrint.Left;
    int used = 0;
    for (int i = 0; i < Columns().Count(); ++i) {
        int w = FColumnWidths[static_cast<size_t>(i)];
        if (!FBands.back().empty() && used + w > printWidth) {
            FBands.emplace_back();
            used = 0;
        }
        FBands.back().push_back(i);
        used += w;
    }
    SelectBand(0);

    // the media box is the whole page (the page box ends one point short)
    auto& doc = Doc();
    doc.MediaBox = {0, 0, page.WidthPoints(), page.HeightPoints()};
    doc.TrimBox = FPrint;
    doc.BeginDocument();
    doc.NewPage();
    doc.LineWidth = Options.GridLineWidth;
    doc.SetStrokeColor(Options.GridLineColor);
    WriteHeaderLines();
    doc.AddFont(&Options.DataFont);
    doc.AddFont(&Options.CaptionFont);
    doc.AddFont(&Options.HeaderFont);
    doc.AddFont(&Options.FooterFont);
}

void TTabExportPDF::WriteHeaderLines() {
    const TPDFFont& font = Options.HeaderFont;
    if (Header.Count() > 0) {
        Doc().SelectFont(font);
        const int advance = Advance(font.FontSize);
        for (int i = 0; i < Header.Count(); ++i) {
            CurrentY -= advance;
            if (CurrentY < FPrint.Bottom) {
                NewPage(font.FontColor);
                CurrentY = FPrint.Top - advance;
            }
            Doc().TextOut(FPrint.Left, CurrentY, Header[i], font.FontColor);
        }
        CurrentY -= AdvanceAfter(font.FontSize);
    }
    TableTopY = CurrentY;
}

void TTabExportPDF::WriteFooterLines() {
    const TPDFFont& font = Options.FooterFont;
    if (Footer.Count() == 0) return;
    Doc().SelectFont(font);
    const int advance = Advance(font.FontSize);
    for (int i = 0; i < Footer.Count(); ++i) {
        CurrentY -= advance;
        if (CurrentY < FPrint.Bottom) {
            NewPage(font.FontColor);
            CurrentY = FPrint.Top - advance;
        }
        Doc().TextOut(FPrint.Left, CurrentY, Footer[i], font.FontColor);
    }
}

void TTabExportPDF::HorizontalLine(int Y) {
    Doc().DrawLine(Options.GridLineColor, ColumnX.front(), Y, ColumnX.back(), Y);
}

void TTabExportPDF::DrawColumnLines(int Top, int Bottom) {
    const double half = Options.GridLineWidth / 2.0;
    for (int x : ColumnX) Doc().DrawLine(Options.GridLineColor, x, Top + half, x, Bottom - half);
}

void TTabExportPDF::DrawCaption() {
    const TPDFFont& font = Options.CaptionFont;
    Doc().SelectFont(font);
    HorizontalLine(CurrentY);
    CurrentY -= Advance(font.FontSize);
    const int pad = PDFCharsWidth(font.FontSize, Options.ColSpacing / 2, Options.DataFont.BaseFont);
    const auto& band = FBands[FBand];
    for (size_t k = 0; k < band.size(); ++k)
        Doc().TextOut(ColumnX[k] + pad, CurrentY, Columns().GetColumn(band[k]).Caption, font.FontColor);
    CurrentY -= AdvanceAfter(font.FontSize);
    HorizontalLine(CurrentY);
}

void TTabExportPDF::WriteCaptionRow() {
    // a caption row that would leave no room for a data row starts a page
    const int need = Advance(Options.CaptionFont.FontSize) + AdvanceAfter(Options.CaptionFont.FontSize) +
                     static_cast<int>(std::trunc((Options.RowSpacing + 1) * Options.DataFont.FontSize));
    if (CurrentY - need < FPrint.Bottom && CurrentY != FPrint.Top) {
        if (CurrentY != TableTopY) DrawColumnLines(TableTopY, CurrentY);
        NewPage(Options.CaptionFont.FontColor);
        CurrentY = TableTopY = FPrint.Top;
    }
    DrawCaption();
}

void TTabExportPDF::WriteDataRow() {
    const TPDFFont& data = Options.DataFont;
    TRowCells cells(static_cast<size_t>(Row().Count()));
    cb::gfx::TFont font;
    for (int i = 0; i < Row().Count(); ++i) {
        TCell& cell = cells[static_cast<size_t>(i)];
        cell.Text = Row().GetCol(i).GetExportedValue(true);
        cell.Align = i < Columns().Count() ? Columns().GetColumn(i).ColAlign : ecaLeft;
        font.SetColor(data.FontColor);
        if (OnGetCellParams) OnGetCellParams(*this, RecordCounter(), i, cell.Text, cell.Align, font, cell.Background);
        cell.Color = font.Color();
        // the grid's "no colour" prints in the data font's colour
        if ((cell.Color & 0xFF000000u) != 0) cell.Color = data.FontColor;
    }
    if (FBands.size() > 1)
        FHeldRows.push_back(std::move(cells));
    else
        PlaceRow(cells);
}

void TTabExportPDF::PlaceRow(const TRowCells& Cells) {
    const TPDFFont& data = Options.DataFont;
    const int s = data.FontSize;
    Doc().SelectFont(data);
    if (CurrentY - static_cast<int>(std::trunc((Options.RowSpacing + 1) * s)) < FPrint.Bottom) {
        DrawColumnLines(TableTopY, CurrentY);
        CurrentY = TableTopY = FPrint.Top;
        NewPage(data.FontColor);
        if (AllowCaptions) {
            DrawCaption();
            Doc().SelectFont(data);
        } else {
            HorizontalLine(CurrentY);
        }
    }
    if (!AllowCaptions && FirstRow) {
        HorizontalLine(CurrentY);
        FirstRow = false;
    }
    CurrentY -= Advance(s);
    const int pad = PDFCharsWidth(s, Options.ColSpacing / 2, data.BaseFont);
    const auto& band = FBands[FBand];
    for (size_t k = 0; k < band.size(); ++k) {
        const size_t c = static_cast<size_t>(band[k]);
        if (c >= Cells.size()) continue;
        const TCell& cell = Cells[c];
        const int left = ColumnX[k], right = ColumnX[k + 1];
        if (Fills(cell.Background))
            Doc().FillRect(cell.Background, left, CurrentY - s * Options.RowSpacing / 2, right - left,
                           (Options.RowSpacing + 1) * s - Options.GridLineWidth / 2.0);
        int x = left + pad;
        if (cell.Align == ecaCenter)
            x += (PDFCharsWidth(s, Columns().GetColumn(band[k]).Width, data.BaseFont) -
                  PDFTextWidth(cell.Text, s, data.BaseFont)) /
                 2;
        else if (cell.Align == ecaRight)
            x = right - pad - PDFTextWidth(cell.Text, s, data.BaseFont);
        Doc().TextOut(x, CurrentY, cell.Text, cell.Color);
    }
    CurrentY -= AdvanceAfter(s);
    HorizontalLine(CurrentY);
}

void TTabExportPDF::EndExport() {
    // a table of several bands held its rows: the first band places them now
    for (const auto& row : FHeldRows) PlaceRow(row);
    if (CurrentY != FPrint.Top) DrawColumnLines(TableTopY, CurrentY);
    // further bands: each on pages of its own, with its caption row
    for (size_t b = 1; b < FBands.size(); ++b) {
        SelectBand(b);
        NewPage(Options.DataFont.FontColor);
        CurrentY = TableTopY = FPrint.Top;
        FirstRow = true;
        if (AllowCaptions) DrawCaption();
        for (const auto& row : FHeldRows) PlaceRow(row);
        if (CurrentY != FPrint.Top) DrawColumnLines(TableTopY, CurrentY);
    }
    WriteFooterLines();
    Doc().EndDocument();
    FHeldRows.clear();
    TTabExportFormatText::EndExport();
}

}  // namespace cb::tabexport
