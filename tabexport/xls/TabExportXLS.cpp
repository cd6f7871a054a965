#include "tabexport/xls/TabExportXLS.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"
#include "tabexport/core/Utf.h"
#include "tabexport/core/ValueFormat.h"
#include "tabexport/xls/BiffStream.h"
#include "tabexport/xls/CompoundFile.h"
#include "tabexport/xls/SstStrings.h"
#include "tabexport/xls/TextMeasure.h"
#include "tabexport/xls/XlsChart.h"
#include "tabexport/xls/XlsDrawing.h"
#include "tabexport/xls/XlsHyperlink.h"
#include "tabexport/xls/XlsStyles.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace cb::tabexport {

namespace {

constexpr int KMaxRows = 65536;
constexpr int KMaxCols = 256;
// HEADER and FOOTER texts are at most 255 characters.
constexpr std::size_t KMaxHeaderText = 255;
// Ranges of one MERGEDCELLS record.
constexpr std::size_t KMergedPerRecord = 1027;

struct TBoundSheet {
    int Index = 0;
    std::string Name;
    std::uint64_t BofPos = 0;
    std::uint64_t DimPos = 0;
    int FirstRow = -1, LastRow = -1, FirstCol = -1, LastCol = -1;
    void Widen(int R, int C) {
        FirstRow = FirstRow < 0 ? R : std::min(FirstRow, R);
        LastRow = std::max(LastRow, R);
        FirstCol = FirstCol < 0 ? C : std::min(FirstCol, C);
        LastCol = std::max(LastCol, C);
    }
};

std::vector<std::string> SplitTabs(const std::string& Line) {
    std::vector<std::string> pieces;
    std::string cur;
    for (char c : Line) {
        if (c == '\t') {
            pieces.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) pieces.push_back(cur);
    return pieces;
}

}  // namespace

// One export's working state: the sheets go to a temporary file, the
// globals are built in memory at the end.
class TXlsWorkbookWriter {
public:
    explicit TXlsWorkbookWriter(TTabExportXLS& Owner) : X(Owner) {}
    // Writes every sheet; false when the export was aborted.
    bool Run();
    // Puts the finished "Workbook" stream into the compound file.
    void WriteTo(TCompoundFileWriter& File);

private:
    void WriteGlobalsPrefix();
    void FillImplicitSheet(TxlsSheet& S);
    void CheckSheetSource(TxlsSheet& S);
    void PrepareSheet(TxlsSheet& S, int Index);
    void CheckLimits(TxlsSheet& S);
    void BeginSheet(TxlsSheet& S, int Index);
    void EndSheet(TxlsSheet& S, int Index);
    void WriteLines(TxlsSheet& S, int Index, const cb::rtl::TStringList& Lines, int Limit, TxlsFormat& Format,
                    const TTabExportXLS::TCellParams& Event);
    void WriteLeadingCells(TxlsSheet& S, int Index);
    void WriteCaptions(TxlsSheet& S, int Index);
    void FillRow(TxlsSheet& S);
    void WriteDataRow(TxlsSheet& S, int Index);
    void WriteAggregates(TxlsSheet& S, int Index);
    void WriteColInfos(TxlsSheet& S);
    void PatchColumnWidths();
    void UpdateColumnWidth(const std::string& Text, std::uint16_t XF, int I);
    std::uint16_t DataCellStyle(TxlsSheet& S, int Index, int I);
    std::uint16_t WithCellLook(std::uint16_t XF, const std::string& Picture, int Indent);
    std::vector<TxlsPictureShape> PictureShapes(TxlsSheet& S);
    TxlsSheetDrawing SheetDrawing(TxlsSheet& S);
    TxlsAnchor ChartAnchor(const TxlsChart& C) const;
    TxlsDataRange ColumnRange(TxlsSheet& S, const std::string& Name) const;
    TxlsAnchor Anchor(TxlsSheet& S, const TxlsImage& Image);

    void CheckCell(int Row, int Col);
    void LabelSST(int Row, int Col, std::uint16_t XF, const std::string& Text, bool Widen = true);
    void Number(int Row, int Col, std::uint16_t XF, double V, bool Widen = true);
    void Blank(int Row, int Col, std::uint16_t XF, bool Widen = true);
    void BoolErr(int Row, int Col, std::uint16_t XF, bool V, bool Widen = true);
    void Formula(int Row, int Col, std::uint16_t XF, int FirstRow, int LastRow, TxlsAggregate Agg);

    TTabExportXLS& X;
    TBiffMemory FPrefix;
    TBiffSpill FSheets;
    TBiffBody FBody;
    TsstStrings FSst;
    TxlsStyles FStyles;
    TTextMeasure FMeasure;
    std::vector<TBoundSheet> FDir;
    std::vector<int> FWidths;
    // The column styles of the sheet being written.
    std::vector<std::uint16_t> FColumnXF;
    std::uint64_t FColInfoPos = 0;
    std::vector<TxlsSheet*> FWritten;
    // The sheet built from the exporter's own settings when it has none.
    std::unique_ptr<TxlsSheet> FImplicit;
    std::vector<std::optional<TxlsBlip>> FBlips;
    std::vector<TxlsDrawingCluster> FDrawings;
    bool FHasCharts = false;
    int FLastDataRow = -1;
    int FRunning = 0;
    int FFirstDataRow = 0;
    std::string FSheetName;
};

TTabExportXLS::TTabExportXLS() : FSheets(this) {}
TTabExportXLS::~TTabExportXLS() = default;

TxlsHyperlink& TTabExportXLS::AddHyperlink() {
    Hyperlinks.emplace_back().Format = Options.HyperlinkFormat;
    return Hyperlinks.back();
}

TxlsNote& TTabExportXLS::AddNote() {
    Notes.emplace_back().Format = Options.NoteFormat;
    return Notes.back();
}

std::string TTabExportXLS::CleanSheetName(const std::string& Title) {
    std::string s;
    for (char c : Title)
        if (std::string_view(":\\/?*[]").find(c) == std::string_view::npos && static_cast<unsigned char>(c) >= ' ')
            s += c;
    s = Utf8Left(s, 31);
    return s.empty() ? "Sheet1" : s;
}

void TTabExportXLS::Execute() {
    if (FileName.empty()) throw ETabExportError("Result file name not present");
    ForceResultDirectory();
    TXlsWorkbookWriter writer(*this);
    if (!writer.Run()) return;  // aborted: the old file stays
    TCompoundFileWriter file(FileName, "Workbook");
    writer.WriteTo(file);
    file.Commit();
    ShowResultFile();
}

// ---------------------------------------------------------------------------

void TXlsWorkbookWriter::WriteGlobalsPrefix() {
    TBiffOut& o = FPrefix;
    FBody.Clear();
    FBody.U16(0x0600);
    FBody.U16(0x0005);
    FBody.U16(0x0DBB);
    FBody.U16(0x07CC);
    FBody.U32(0);
    FBody.U32(0x206);
    o.Record(biff::BOF, FBody);
    FBody.Clear();
    std::string who = "RIV OruvoRoveze 3.10";
    FBody.U16(std::uint16_t(who.size()));
    FBody.U8(0);
    FBody.Bytes(who.data(), who.size());
    while (FBody.Length() < 112) FBody.U8(0x20);
    o.Record(biff::WRITEACCESS, FBody);
    o.WordRecord(biff::CODEPAGE, 1252);
    o.WordRecord(biff::DSF, 0);
    o.WordRecord(biff::FNGROUPCOUNT, 14);
    o.WordRecord(biff::WINDOWPROTECT, 0);
    o.WordRecord(biff::PROTECT, 0);
    o.WordRecord(biff::PASSWORD, 0);
    o.WordRecord(biff::PROT4REV, 0);
    o.WordRecord(biff::PROT4REVPASS, 0);
    FBody.Clear();
    for (std::uint16_t v : {120, 120, 23820, 15720, 0x0038, 0, 0, 1, 600}) FBody.U16(v);
    o.Record(biff::WINDOW1, FBody);
    o.WordRecord(biff::BACKUP, 0);
    o.WordRecord(biff::HIDEOBJ, 0);
    o.WordRecord(biff::DATEMODE, 0);
    o.WordRecord(biff::PRECISION, 1);
    o.WordRecord(biff::REFRESHALL, 0);
    o.WordRecord(biff::BOOKBOOL, 0);
}

void TXlsWorkbookWriter::FillImplicitSheet(TxlsSheet& S) {
    S.AutoCalcColWidth = X.AutoCalcColWidth;
    S.Title = X.Options.SheetTitle();
    S.Options.AssignFormats(X.Options);
    S.FieldFormats = X.FieldFormats;
    S.StripType = X.StripType;
    S.StripStyles = X.StripStyles;
    S.Images = X.Images;
    S.Cells = X.Cells;
    S.MergedCells = X.MergedCells;
    S.Hyperlinks = X.Hyperlinks;
    S.Notes = X.Notes;
    S.Charts = X.Charts;
    S.Background.Assign(X.Background);
    S.ExportSource = X.ExportSource;
    S.StringGrid = X.StringGrid;
    S.CustomSource = X.CustomSource;
    S.ExportedFields = X.ExportedFields;
    S.HeaderRows = X.HeaderRows;
    S.StartDataCol = X.StartDataCol;
    S.FooterRows = X.FooterRows;
    S.Header = X.Header;
    S.Captions = X.Captions;
    S.Footer = X.Footer;
    S.Formats = X.Formats();
    S.UserFormats = X.UserFormats;
    S.ColumnsWidth = X.ColumnsWidth;
    S.AllowCaptions = X.AllowCaptions;
    S.GoToFirstRecord = X.GoToFirstRecord;
    S.ExportRecCount = X.ExportRecCount;
    S.SkipRecCount = X.SkipRecCount;
    S.CurrentRecordOnly = X.CurrentRecordOnly;
    S.OnlyVisibleFields = X.OnlyVisibleFields;
    S.AutoCalcStrType = X.AutoCalcStrType;
    S.CaptionRow = X.CaptionRow;
}

void TXlsWorkbookWriter::CheckSheetSource(TxlsSheet& S) {
    TExportSource& src = S.Source();
    src.Kind = S.ExportSource;
    src.StringGrid = S.StringGrid;
    src.CustomSource = S.CustomSource;
    try {
        src.Check();
    } catch (const cb::rtl::Exception& e) {
        throw ETabExportError("Sheet " + S.Title + " define with error: " + e.Message());
    }
    if (!src.IsActive()) throw ETabExportError("Export source (" + src.Name() + ") is closed");
    if (!X.ExportEmpty && src.IsEmpty()) throw ETabExportError("Export source (" + src.Name() + ") is empty");
}

bool TXlsWorkbookWriter::Run() {
    WriteGlobalsPrefix();

    std::vector<std::pair<TxlsSheet*, int>> sheets;
    for (int i = 0; i < X.FSheets.Count(); ++i)
        if (X.FSheets.Items(i).Exported) sheets.emplace_back(&X.FSheets.Items(i), i);
    if (sheets.empty()) {
        FImplicit = std::make_unique<TxlsSheet>(&X);
        FillImplicitSheet(*FImplicit);
        sheets.emplace_back(FImplicit.get(), 0);
    }
    for (auto& [s, i] : sheets) CheckSheetSource(*s);

    // Sheet names: cleaned, and unique in the workbook.
    std::vector<std::string> names;
    for (auto& [s, i] : sheets) {
        std::string base = TTabExportXLS::CleanSheetName(s->Title), name = base;
        for (int n = 2;
             std::any_of(names.begin(), names.end(), [&](const std::string& o) { return cb::rtl::SameText(o, name); });
             ++n) {
            std::string suffix = " (" + std::to_string(n) + ")";
            name = Utf8Left(base, 31 - suffix.size()) + suffix;
        }
        names.push_back(name);
    }

    X.BindSource();
    X.BeginExport();
    if (X.Aborted()) return false;
    X.BeforeExport();
    if (X.Aborted()) return false;

    // Pictures are read once, before the sheets need their sizes.
    for (int p = 0; p < X.FPictures.Count(); ++p) FBlips.push_back(LoadBlip(X.FPictures.GetItem(p)));

    FRunning = 0;
    for (size_t k = 0; k < sheets.size(); ++k) {
        TxlsSheet& S = *sheets[k].first;
        int index = sheets[k].second;
        FSheetName = names[k];
        if (X.OnBeforeExportSheet) X.OnBeforeExportSheet(X, index);
        PrepareSheet(S, index);
        X.FAborted = false;
        FWidths.clear();
        FColumnXF.clear();
        for (int c = 0; c < S.Columns().Count(); ++c) {
            FWidths.push_back(S.Columns().GetColumn(c).Width);
            FColumnXF.push_back(FStyles.FieldStyle(index, S.Columns().GetColumn(c).Name));
        }
        BeginSheet(S, index);
        WriteLines(S, index, S.Header, S.HeaderRows, S.Options.HeaderFormat, X.OnGetHeaderParams);
        if (X.Aborted()) return false;
        if (S.AllowCaptions) WriteCaptions(S, index);
        if (X.Aborted()) return false;
        FFirstDataRow = S.CurrentRow;
        TExportSource& src = S.Source();
        src.OnSkippedRecord = [this](int recNo) {
            if (X.OnSkippedRecord) X.OnSkippedRecord(X, recNo);
        };
        if (S.GoToFirstRecord) src.First();
        src.Skip(S.RecordCounter, S.SkipRecCount);
        if (X.Aborted()) return false;
        S.RecordCounter = 0;
        while (!src.Eof(S.SkipRecCount, S.ExportRecCount, S.RecordCounter)) {
            if (S.ExportRecCount > 0 && S.RecordCounter >= S.ExportRecCount) break;
            if (X.Aborted() && !X.CanContinue()) break;
            FillRow(S);
            bool accept = true;
            if (X.OnBeforeExportRow) X.OnBeforeExportRow(X, S.Row(), accept);
            if (accept && X.OnAdvancedBeforeExportRow) X.OnAdvancedBeforeExportRow(X, index, S.Row(), accept);
            if (accept) WriteDataRow(S, index);
            if (S.CurrentRecordOnly) break;
            src.Next(S.RecordCounter);
            ++FRunning;
            if (X.OnExportedRecord) X.OnExportedRecord(X, FRunning);
            if (X.OnAdvancedExportedRecord) X.OnAdvancedExportedRecord(X, index, S.RecordCounter);
        }
        if (X.Aborted()) return false;
        FLastDataRow = S.CurrentRow - 1;
        WriteAggregates(S, index);
        if (S.AutoCalcColWidth) PatchColumnWidths();
        WriteLines(S, index, S.Footer, S.FooterRows, S.Options.FooterFormat, X.OnGetFooterParams);
        EndSheet(S, index);
        FWritten.push_back(&S);
        if (X.OnAfterExportSheet) X.OnAfterExportSheet(X, index);
    }
    X.AfterExport();
    X.EndExport();
    return true;
}

void TXlsWorkbookWriter::PrepareSheet(TxlsSheet& S, int Index) {
    S.CurrentRow = 0;
    S.RecordCounter = 0;
    TColumnSettings cs;
    cs.ExportedFields = &S.ExportedFields;
    cs.Source = &S.Source();
    cs.AutoCalcStrType = S.AutoCalcStrType;
    cs.CaptionRow = S.CaptionRow;
    cs.Formats = &S.Formats;
    cs.UserFormats = &S.UserFormats;
    cs.ColumnsWidth = &S.ColumnsWidth;
    cs.Captions = &S.Captions;
    cs.SkipRecCount = S.SkipRecCount;
    cs.ExportRecCount = S.ExportRecCount;
    S.Columns().Fill(cs);
    S.Row().Clear();
    for (int i = 0; i < S.Columns().Count(); ++i) S.Row().AddCol(S.Columns().GetColumn(i).Name, i);
    S.Row().SortIndex();
    CheckLimits(S);

    int n = int(S.StripStyles.size());
    if (n > 0 && S.StripType == ssCol) {
        for (int i = 0; i < S.Columns().Count(); ++i)
            FStyles.SetStripStyle(Index, i,
                                  FStyles.GetCellStyle(S.Columns().GetColumn(i).Format, &S.StripStyles[size_t(i % n)]));
    } else if (n > 0 && S.StripType == ssRow) {
        for (int s = 0; s < n; ++s)
            for (int i = 0; i < S.Columns().Count(); ++i)
                FStyles.SetStripStyle(Index, i + 1000 * s,
                                      FStyles.GetCellStyle(S.Columns().GetColumn(i).Format, &S.StripStyles[size_t(s)]));
    }
    if (S.StripType == ssNone || n == 0) {
        for (int i = 0; i < S.Columns().Count(); ++i) {
            const auto& c = S.Columns().GetColumn(i);
            std::uint16_t xf = FStyles.GetCellStyle(c.Format, S.FieldFormats.Find(c.Name));
            if (xf != KDefaultXF) FStyles.SetFieldStyle(Index, c.Name, xf);
        }
    }
}

void TXlsWorkbookWriter::CheckLimits(TxlsSheet& S) {
    int cols = S.StartDataCol + S.Columns().Count();
    if (cols > KMaxCols)
        throw ETabExportError("The sheet '" + FSheetName + "' needs " + std::to_string(cols) +
                              " columns; an XLS sheet holds at most 256");
    int known = S.Source().KnownRecordCount();
    if (known < 0) return;  // checked cell by cell
    long long data = std::max(known - S.SkipRecCount, 0);
    if (S.ExportRecCount > 0) data = std::min<long long>(data, S.ExportRecCount);
    if (S.CurrentRecordOnly) data = std::min<long long>(data, 1);
    auto lines = [](const cb::rtl::TStringList& L, int Limit) { return Limit > 0 ? Limit : L.Count(); };
    long long rows =
        lines(S.Header, S.HeaderRows) + (S.AllowCaptions ? 1 : 0) + data + 1 + lines(S.Footer, S.FooterRows);
    bool aggregate = false;
    for (int k = 0; k < S.FieldFormats.Count(); ++k)
        if (S.FieldFormats.Items(k).Aggregate != aggNone) aggregate = true;
    if (!aggregate) --rows;
    if (rows > KMaxRows)
        throw ETabExportError("The sheet '" + FSheetName + "' needs " + std::to_string(rows) +
                              " rows; an XLS sheet holds at most 65,536");
}

void TXlsWorkbookWriter::CheckCell(int Row, int Col) {
    if (Row >= KMaxRows)
        throw ETabExportError("The sheet '" + FSheetName + "' needs more than 65,536 rows; an XLS sheet holds no more");
    if (Col >= KMaxCols)
        throw ETabExportError("The sheet '" + FSheetName + "' needs more than 256 columns; an XLS sheet holds no more");
}

void TXlsWorkbookWriter::BeginSheet(TxlsSheet& S, int Index) {
    TBoundSheet b;
    b.Index = Index;
    b.Name = FSheetName;
    b.BofPos = FSheets.Position();
    TBiffOut& o = FSheets;
    FBody.Clear();
    FBody.U16(0x0600);
    FBody.U16(0x0010);
    FBody.U16(0x0DBB);
    FBody.U16(0x07CC);
    FBody.U32(0);
    FBody.U32(0x206);
    o.Record(biff::BOF, FBody);
    o.WordRecord(biff::CALCMODE, 1);
    o.WordRecord(biff::CALCCOUNT, 100);
    o.WordRecord(biff::REFMODE, 1);
    o.WordRecord(biff::ITERATION, 0);
    FBody.Clear();
    FBody.F64(0.001);
    o.Record(biff::DELTA, FBody);
    o.WordRecord(biff::SAVERECALC, 1);
    o.WordRecord(biff::PRINTHEADERS, 0);
    o.WordRecord(biff::PRINTGRIDLINES, 0);
    o.WordRecord(biff::GRIDSET, 1);
    FBody.Clear();
    FBody.Zeros(8);
    o.Record(biff::GUTS, FBody);
    o.WordRecord(biff::DEFCOLWIDTH, std::uint16_t(std::clamp(S.DefColWidth, 0, 255)));
    FBody.Clear();
    FBody.U16(0);
    FBody.U16(std::uint16_t(std::clamp(S.DefRowHeight * 20, 0.0, 8190.0)));
    o.Record(biff::DEFAULTROWHEIGHT, FBody);
    o.WordRecord(biff::WSBOOL, 0x04C1);
    for (auto [id, text] :
         {std::pair{biff::HEADER, &S.Options.PageHeader}, std::pair{biff::FOOTER, &S.Options.PageFooter}}) {
        FBody.Clear();
        if (!text->empty()) {
            // Written as UTF-16 so that any text survives.
            std::u16string t = Utf8ToUtf16(Utf8Left(*text, KMaxHeaderText));
            FBody.U16(std::uint16_t(t.size()));
            FBody.U8(1);
            FBody.Utf16(t);
        }
        o.Record(id, FBody);
    }
    o.WordRecord(biff::HCENTER, 0);
    o.WordRecord(biff::VCENTER, 0);
    WriteBackground(o, S.Background);
    WriteColInfos(S);
    b.DimPos = FSheets.Position();
    FBody.Clear();
    FBody.Zeros(14);
    o.Record(biff::DIMENSIONS, FBody);
    FDir.push_back(b);
}

void TXlsWorkbookWriter::WriteColInfos(TxlsSheet& S) {
    double w0 = FMeasure.ZeroWidth();
    FColInfoPos = FSheets.Position();
    for (int i = 0; i < S.Columns().Count(); ++i) {
        FBody.Clear();
        std::uint16_t col = std::uint16_t(S.StartDataCol + i);
        double width = std::round(((S.Columns().GetColumn(i).Width + 1) + 1 / w0) * 256);
        FBody.U16(col);
        FBody.U16(col);
        FBody.U16(std::uint16_t(std::clamp(width, 0.0, 65535.0)));
        FBody.U16(KDefaultXF);
        FBody.U16(0);
        FBody.U8(0);
        FSheets.Record(biff::COLINFO, FBody);
    }
}

void TXlsWorkbookWriter::UpdateColumnWidth(const std::string& Text, std::uint16_t XF, int I) {
    if (I < 0 || I >= int(FWidths.size())) return;
    const TxlsXFormat* style = FStyles.Find(XF);
    TxlsFont font = style && style->Font ? *style->Font : TxlsFont();
    double x = double(FMeasure.TextWidth(Text, font) + FMeasure.TextWidth("I", font)) / FMeasure.ZeroWidth();
    int need = int(std::ceil(x));
    if (FWidths[size_t(I)] < need) FWidths[size_t(I)] = std::min(need, 255);
}

void TXlsWorkbookWriter::PatchColumnWidths() {
    for (size_t i = 0; i < FWidths.size(); ++i) {
        std::uint16_t w = std::uint16_t(std::clamp(FWidths[i], 0, 255) * 256);
        std::uint8_t b[2] = {std::uint8_t(w), std::uint8_t(w >> 8)};
        FSheets.Patch(FColInfoPos + 15 * i + 8, b, 2);
    }
}

void TXlsWorkbookWriter::WriteLines(TxlsSheet& S, int Index, const cb::rtl::TStringList& Lines, int Limit,
                                    TxlsFormat& Format, const TTabExportXLS::TCellParams& Event) {
    int n = Limit > 0 ? Limit : Lines.Count();
    for (int l = 0; l < n; ++l) {
        std::vector<std::string> pieces = l < Lines.Count() ? SplitTabs(Lines[l]) : std::vector<std::string>();
        int count = Event ? KMaxCols : int(pieces.size());
        for (int k = 0; k < count; ++k) {
            std::string s = k < int(pieces.size()) ? pieces[size_t(k)] : std::string();
            if (Event) Event(S, Index, k, S.CurrentRow, Format, s);
            if (!s.empty()) LabelSST(S.CurrentRow, k, FStyles.GetCellStyle("General", &Format), s);
        }
        ++S.CurrentRow;
    }
}

void TXlsWorkbookWriter::WriteLeadingCells(TxlsSheet& S, int Index) {
    if (!X.OnGetBeforeDataParams || S.StartDataCol <= 0) return;
    for (int k = 0; k < S.StartDataCol; ++k) {
        TxlsFormat format = S.Options.DataFormat;
        std::string s;
        X.OnGetBeforeDataParams(S, Index, k, S.CurrentRow, format, s);
        if (!s.empty()) LabelSST(S.CurrentRow, k, FStyles.GetCellStyle("General", &format), s);
    }
}

void TXlsWorkbookWriter::WriteCaptions(TxlsSheet& S, int Index) {
    WriteLeadingCells(S, Index);
    for (int i = 0; i < S.Columns().Count(); ++i) {
        TxlsFormat format = S.Options.CaptionsFormat;
        std::string caption = S.Columns().GetColumn(i).Caption;
        if (X.OnGetCaptionParams) X.OnGetCaptionParams(S, Index, S.StartDataCol + i, format, caption);
        if (caption.empty()) continue;
        std::uint16_t xf = format.IsDefault() ? KDefaultXF : FStyles.GetCellStyle("General", &format);
        LabelSST(S.CurrentRow, S.StartDataCol + i, xf, caption);
        if (S.AutoCalcColWidth) UpdateColumnWidth(caption, xf, i);
    }
    ++S.CurrentRow;
}

void TXlsWorkbookWriter::FillRow(TxlsSheet& S) {
    TExportSource& src = S.Source();
    for (int i = 0; i < S.Columns().Count(); ++i)
        S.Row().SetValueAt(i, src.Value(S.Columns().GetColumn(i).Number, S.SkipRecCount, S.RecordCounter));
}

std::uint16_t TXlsWorkbookWriter::DataCellStyle(TxlsSheet& S, int Index, int I) {
    const auto& column = S.Columns().GetColumn(I);
    std::uint16_t xf = I < int(FColumnXF.size()) ? FColumnXF[size_t(I)] : KDefaultXF;
    int n = int(S.StripStyles.size());
    if (xf == KDefaultXF && n > 0 && FStyles.HasStripStyles()) {
        if (S.StripType == ssCol) xf = FStyles.StripStyle(Index, I);
        if (S.StripType == ssRow) xf = FStyles.StripStyle(Index, I + 1000 * (S.RecordCounter % n));
    }
    if (!X.OnGetDataParams) return xf;
    TxlsFormat format;
    std::string text;
    if (xf == KDefaultXF) {
        format = S.Options.DataFormat;
        text = "General";
    } else if (const TxlsXFormat* st = FStyles.Find(xf)) {
        if (st->Font) format.Font = *st->Font;
        format.Borders = st->Borders;
        format.Fill = st->Fill;
        format.Alignment = st->Alignment;
        format.Wrap = st->Wrap;
        text = st->FormatText;
    }
    X.OnGetDataParams(S, Index, S.StartDataCol + I, S.CurrentRow, format, text);
    if (text.empty()) text = column.Format;
    return FStyles.GetCellStyle(text, &format);
}

// The style XF with a number picture (where it has none) and an indent.
std::uint16_t TXlsWorkbookWriter::WithCellLook(std::uint16_t XF, const std::string& Picture, int Indent) {
    if (Picture.empty() && Indent <= 0) return XF;
    TxlsFormat format;
    std::string text = "General";
    if (const TxlsXFormat* st = FStyles.Find(XF)) {
        if (st->Font) format.Font = *st->Font;
        format.Borders = st->Borders;
        format.Fill = st->Fill;
        format.Alignment = st->Alignment;
        format.Wrap = st->Wrap;
        if (!st->FormatText.empty()) text = st->FormatText;
    }
    if (text == "General" && !Picture.empty()) text = Picture;
    if (Indent > 0) {
        format.Alignment.Indent = std::min(Indent, 15);
        // A spreadsheet indents only left- or right-aligned text.
        if (format.Alignment.Horizontal != halRight) format.Alignment.Horizontal = halLeft;
    }
    return FStyles.GetCellStyle(text, &format);
}

void TXlsWorkbookWriter::WriteDataRow(TxlsSheet& S, int Index) {
    WriteLeadingCells(S, Index);
    const TTabExportFormats& formats = S.Formats;
    for (int p = 0; p < S.Row().Count(); ++p) {
        TTabExportCol& cell = S.Row().GetCol(p);
        std::string text = cell.RawValue();
        if (X.OnGetExportText) X.OnGetExportText(S, p, text);
        if (X.OnAdvancedGetExportText) X.OnAdvancedGetExportText(S, Index, p, text);
        std::uint16_t xf = DataCellStyle(S, Index, p);
        int col = S.StartDataCol + p;
        const auto& column = S.Columns().GetColumn(p);
        TTabExportColType type = column.ColType;
        if (X.OnGetCellValue) {
            TxlsCellValue value{text, type, 0};
            X.OnGetCellValue(S, Index, column.Number, S.SkipRecCount + S.RecordCounter, value);
            const bool number = value.Type == ectInteger || value.Type == ectBigint || value.Type == ectFloat ||
                                value.Type == ectCurrency;
            xf = WithCellLook(xf, number ? NumberPictureOf(value.Text) : std::string(), value.Indent);
            text = std::move(value.Text);
            type = value.Type;
        }
        if (text.empty()) {
            Blank(S.CurrentRow, col, xf);
        } else if (!formats.NullString().empty() && text == formats.NullString()) {
            LabelSST(S.CurrentRow, col, xf, text);
        } else {
            switch (type) {
            case ectInteger:
            case ectBigint:
            case ectFloat:
            case ectCurrency: {
                // Text that is no number stays text.
                double v = 0;
                if (TryReadNumber(text, v))
                    Number(S.CurrentRow, col, xf, v);
                else
                    LabelSST(S.CurrentRow, col, xf, text);
                break;
            }
            case ectDate:
            case ectTime:
            case ectDateTime: {
                double d = 0;
                if (!TryReadDateTime(text, d))
                    LabelSST(S.CurrentRow, col, xf, text);
                else if (d <= 1)
                    LabelSST(S.CurrentRow, col, xf, cb::rtl::FormatDateTime(column.Format, d));
                else
                    Number(S.CurrentRow, col, xf, d > 60 ? d : d - 1);
                break;
            }
            case ectString:
                LabelSST(S.CurrentRow, col, xf, text);
                break;
            case ectBoolean:
                BoolErr(S.CurrentRow, col, xf, cb::rtl::SameText(text, formats.BooleanTrue()));
                break;
            case ectUnknown:
                break;
            }
        }
        if (S.AutoCalcColWidth) UpdateColumnWidth(text, xf, p);
    }
    ++S.CurrentRow;
}

void TXlsWorkbookWriter::WriteAggregates(TxlsSheet& S, int Index) {
    auto& cols = S.Columns();
    cols.ClearTags();
    bool any = false;
    for (int k = 0; k < S.FieldFormats.Count(); ++k) {
        const auto& f = S.FieldFormats.Items(k);
        int c = cols.IndexOfName(f.FieldName);
        if (c >= 0 && f.Aggregate != aggNone) {
            cols.GetColumn(c).Tag = k + 1;
            any = true;
        }
    }
    if (!any) return;
    bool written = false;
    for (int i = 0; i < cols.Count(); ++i) {
        auto& c = cols.GetColumn(i);
        TxlsFormat format = S.Options.AggregateFormat;
        if (c.Tag > 0) {
            std::string text = c.Format.empty() ? "General" : c.Format, value;
            if (X.OnGetAggregateParams) X.OnGetAggregateParams(S, Index, i, format, text, value);
            if (text.empty()) text = "General";
            std::uint16_t xf =
                text == "General" && format.IsDefault() ? KDefaultXF : FStyles.GetCellStyle(text, &format);
            Formula(S.CurrentRow, S.StartDataCol + i, xf, FFirstDataRow, S.CurrentRow - 1,
                    S.FieldFormats.Items(c.Tag - 1).Aggregate);
            written = true;
        } else if (X.OnGetAggregateParams) {
            std::string text = "General", value;
            X.OnGetAggregateParams(S, Index, i, format, text, value);
            if (value.empty()) continue;
            std::uint16_t xf = FStyles.GetCellStyle("General", &format);
            LabelSST(S.CurrentRow, S.StartDataCol + i, xf, value);
            if (S.AutoCalcColWidth) UpdateColumnWidth(value, xf, i);
            written = true;
        }
    }
    if (written) ++S.CurrentRow;
}

TxlsAnchor TXlsWorkbookWriter::Anchor(TxlsSheet& S, const TxlsImage& Image) {
    TxlsAnchor a;
    int p = X.FPictures.IndexOf(Image.PictureName);
    if (p < 0 || !FBlips[size_t(p)]) return a;
    const TxlsBlip& blip = *FBlips[size_t(p)];
    a.LeftCol = std::uint16_t(Image.Col);
    a.TopRow = std::uint16_t(Image.Row);
    double h = std::round(Image.Zoom / 100.0 * blip.Height);
    double w = std::round(Image.Zoom / 100.0 * blip.Width);
    int zero = FMeasure.ZeroWidth();
    int k = Image.Col;
    double pw = 0;
    do {
        int d = k - S.StartDataCol;
        pw = d >= 0 && d < int(FWidths.size()) ? (FWidths[size_t(d)] + 1) * zero + 1 : zero * (S.DefColWidth + 1) + 1;
        w -= pw;
        ++k;
    } while (w >= 0 && k < KMaxCols);
    a.RightCol = std::uint16_t(k - 1);
    a.RightOffset = std::uint16_t(std::clamp(std::round((pw + w) * 1024 / pw), 0.0, 1023.0));
    h *= 15;
    double rh = S.DefRowHeight * 20;
    int r = Image.Row;
    do {
        h -= rh;
        ++r;
    } while (h >= 0 && r < KMaxRows);
    a.BottomRow = std::uint16_t(r - 1);
    a.BottomOffset = std::uint16_t(std::clamp(std::round((rh + h) * 256 / rh), 0.0, 255.0));
    return a;
}

std::vector<TxlsPictureShape> TXlsWorkbookWriter::PictureShapes(TxlsSheet& S) {
    std::vector<TxlsPictureShape> shapes;
    for (int j = 0; j < S.Images.Count(); ++j) {
        const TxlsImage& image = S.Images.GetItem(j);
        TxlsPictureShape shape;
        int p = X.FPictures.IndexOf(image.PictureName);
        if (p >= 0) {
            // Store positions count only the pictures the store holds.
            int stored = 0;
            for (int q = 0; q <= p; ++q)
                if (FBlips[size_t(q)]) ++stored;
            shape.PictureIndex = FBlips[size_t(p)] ? stored : -1;
        }
        shape.Title = image.Title;
        shape.Anchor = Anchor(S, image);
        shapes.push_back(shape);
    }
    return shapes;
}

TxlsDataRange TXlsWorkbookWriter::ColumnRange(TxlsSheet& S, const std::string& Name) const {
    for (int c = 0; c < S.Columns().Count(); ++c)
        if (cb::rtl::SameText(S.Columns().GetColumn(c).Name, Name)) {
            const int col = S.StartDataCol + c + 1;
            return {col, col, FFirstDataRow + 1, std::max(FLastDataRow, FFirstDataRow) + 1};
        }
    return {};
}

TxlsAnchor TXlsWorkbookWriter::ChartAnchor(const TxlsChart& C) const {
    TxlsAnchor a;
    const TBoundSheet& b = FDir.back();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (C.Position.PositionType == cptCustom) {
        const auto& p = C.Position.CustomPosition;
        top = p.Y1 - 1, left = p.X1 - 1, bottom = p.Y2 - 1, right = p.X2 - 1;
    } else {
        const auto& p = C.Position.AutoPosition;
        if (p.Placement == cpBottom) {
            top = std::max(b.LastRow + p.Top, 0) + 1;
            left = std::max(std::max(b.FirstCol, 0) + p.Left, 0);
        } else {
            top = std::max(p.Top, 0);
            left = std::max(b.LastCol + p.Left, 0) + 1;
        }
        bottom = std::max(top + p.Height, 0);
        right = std::max(left + p.Width, 0);
    }
    a.TopRow = std::uint16_t(std::clamp(top, 0, KMaxRows - 1));
    a.LeftCol = std::uint16_t(std::clamp(left, 0, KMaxCols - 1));
    a.BottomRow = std::uint16_t(std::clamp(bottom, 0, KMaxRows - 1));
    a.RightCol = std::uint16_t(std::clamp(right, 0, KMaxCols - 1));
    return a;
}

TxlsSheetDrawing TXlsWorkbookWriter::SheetDrawing(TxlsSheet& S) {
    TxlsSheetDrawing d;
    for (const TxlsNote& n : S.Notes) {
        if (!n.IsValid()) continue;
        TxlsFormat look;
        look.Font = n.Format.Font;
        const TxlsXFormat* x = FStyles.Find(FStyles.GetCellStyle("General", &look));
        d.Notes.push_back({&n, std::uint16_t(x && x->FontIndex >= 0 ? x->FontIndex : 0)});
    }
    d.Pictures = PictureShapes(S);
    for (const TxlsChart& c : S.Charts) {
        TxlsChartShape shape;
        shape.Chart = &c;
        shape.Anchor = ChartAnchor(c);
        shape.SheetIndex = int(FDir.size()) - 1;
        for (const TxlsChartSeries& series : c.Series) {
            shape.Values.push_back(series.DataRangeType == rtCustom ? series.DataRange
                                                                    : ColumnRange(S, series.DataColumn));
            shape.Categories.push_back(c.CategoryLabelsType == rtCustom ? c.CategoryLabels
                                                                        : ColumnRange(S, c.CategoryLabelsColumn));
        }
        d.Charts.push_back(std::move(shape));
    }
    return d;
}

void TXlsWorkbookWriter::EndSheet(TxlsSheet& S, int) {
    for (const TxlsCell& c : S.Cells) {
        if (!c.Valid()) continue;
        int row = c.Row - 1, col = c.Col - 1;
        switch (c.CellType()) {
        case ctBoolean:
            BoolErr(row, col, FStyles.GetCellStyle("General", &c.Format), std::get<bool>(c.Value()), false);
            break;
        case ctDateTime:
            Number(row, col, FStyles.GetCellStyle(c.DateTimeFormat, &c.Format), std::get<double>(c.Value()), false);
            break;
        case ctNumeric:
            Number(row, col, FStyles.GetCellStyle(c.NumericFormat, &c.Format), std::get<double>(c.Value()), false);
            break;
        case ctString: {
            const std::string& s = std::get<std::string>(c.Value());
            std::uint16_t xf = FStyles.GetCellStyle("General", &c.Format);
            if (s.empty())
                Blank(row, col, xf, false);
            else
                LabelSST(row, col, xf, s, false);
            break;
        }
        }
    }
    std::vector<const TxlsMergedCells*> merged;
    for (const auto& m : S.MergedCells)
        if (m.Valid()) merged.push_back(&m);
    // More ranges than one record holds go into further records.
    for (size_t start = 0; start < merged.size(); start += KMergedPerRecord) {
        size_t n = std::min(KMergedPerRecord, merged.size() - start);
        FBody.Clear();
        FBody.U16(std::uint16_t(n));
        for (size_t k = start; k < start + n; ++k) {
            const auto& m = *merged[k];
            for (int v : {m.FirstRow - 1, m.LastRow - 1, m.FirstCol - 1, m.LastCol - 1}) FBody.U16(std::uint16_t(v));
        }
        FSheets.Record(biff::MERGEDCELLS, FBody);
    }
    for (const TxlsHyperlink& link : S.Hyperlinks)
        if (link.IsValid())
            LabelSST(link.Row - 1, link.Col - 1, FStyles.GetCellStyle("General", &link.Format), link.Title);
    TxlsSheetDrawing drawing = SheetDrawing(S);
    if (!drawing.Empty()) {
        drawing.DrawingId = int(FDrawings.size()) + 1;
        FDrawings.push_back({drawing.DrawingId, drawing.ShapeCount()});
        FHasCharts = FHasCharts || !drawing.Charts.empty();
        WriteSheetDrawing(FSheets, drawing);
    }
    FBody.Clear();
    FBody.U16(0x06B6);
    FBody.Zeros(16);
    FSheets.Record(biff::WINDOW2, FBody);
    FBody.Clear();
    FBody.U8(3);
    FBody.Zeros(6);
    FBody.U16(1);
    FBody.Zeros(6);
    FSheets.Record(biff::SELECTION, FBody);
    for (const TxlsHyperlink& link : S.Hyperlinks)
        if (link.IsValid()) WriteHyperlink(FSheets, link);
    FSheets.Record(biff::EOFRec, nullptr, 0);
}

void TXlsWorkbookWriter::LabelSST(int Row, int Col, std::uint16_t XF, const std::string& Text, bool Widen) {
    CheckCell(Row, Col);
    std::uint32_t index = FSst.Add(Text);
    std::uint8_t b[10] = {std::uint8_t(Row),        std::uint8_t(Row >> 8),   std::uint8_t(Col),
                          std::uint8_t(Col >> 8),   std::uint8_t(XF),         std::uint8_t(XF >> 8),
                          std::uint8_t(index),      std::uint8_t(index >> 8), std::uint8_t(index >> 16),
                          std::uint8_t(index >> 24)};
    FSheets.Record(biff::LABELSST, b, 10);
    if (Widen) FDir.back().Widen(Row, Col);
}

void TXlsWorkbookWriter::Number(int Row, int Col, std::uint16_t XF, double V, bool Widen) {
    CheckCell(Row, Col);
    FBody.Clear();
    FBody.U16(std::uint16_t(Row));
    FBody.U16(std::uint16_t(Col));
    FBody.U16(XF);
    FBody.F64(V);
    FSheets.Record(biff::NUMBER, FBody);
    if (Widen) FDir.back().Widen(Row, Col);
}

void TXlsWorkbookWriter::Blank(int Row, int Col, std::uint16_t XF, bool Widen) {
    CheckCell(Row, Col);
    std::uint8_t b[6] = {std::uint8_t(Row),      std::uint8_t(Row >> 8), std::uint8_t(Col),
                         std::uint8_t(Col >> 8), std::uint8_t(XF),       std::uint8_t(XF >> 8)};
    FSheets.Record(biff::BLANK, b, 6);
    if (Widen) FDir.back().Widen(Row, Col);
}

void TXlsWorkbookWriter::BoolErr(int Row, int Col, std::uint16_t XF, bool V, bool Widen) {
    CheckCell(Row, Col);
    std::uint8_t b[8] = {std::uint8_t(Row), std::uint8_t(Row >> 8), std::uint8_t(Col),       std::uint8_t(Col >> 8),
                         std::uint8_t(XF),  std::uint8_t(XF >> 8),  std::uint8_t(V ? 1 : 0), 0};
    FSheets.Record(biff::BOOLERR, b, 8);
    if (Widen) FDir.back().Widen(Row, Col);
}

void TXlsWorkbookWriter::Formula(int Row, int Col, std::uint16_t XF, int FirstRow, int LastRow, TxlsAggregate Agg) {
    CheckCell(Row, Col);
    if (LastRow < FirstRow) LastRow = FirstRow;
    FBody.Clear();
    FBody.U16(std::uint16_t(Row));
    FBody.U16(std::uint16_t(Col));
    FBody.U16(XF);
    FBody.Zeros(8);
    FBody.U16(0x0002);
    FBody.U32(0);
    FBody.U16(13);
    FBody.U8(0x25);
    FBody.U16(std::uint16_t(FirstRow));
    FBody.U16(std::uint16_t(LastRow));
    FBody.U16(std::uint16_t(0xC000 | Col));
    FBody.U16(std::uint16_t(0xC000 | Col));
    FBody.U8(0x42);
    FBody.U8(1);
    static const std::uint16_t functions[] = {0, 4, 5, 6, 7};
    FBody.U16(functions[int(Agg)]);
    FSheets.Record(biff::FORMULA, FBody);
    FDir.back().Widen(Row, Col);
}

void TXlsWorkbookWriter::WriteTo(TCompoundFileWriter& File) {
    // DIMENSIONS: first used row and column, last used ones plus one.
    for (const auto& b : FDir) {
        if (b.FirstRow < 0 || b.LastRow < 0 || b.FirstCol < 0 || b.LastCol < 0) continue;
        TBiffBody d;
        d.U32(std::uint32_t(b.FirstRow));
        d.U32(std::uint32_t(b.LastRow + 1));
        d.U16(std::uint16_t(b.FirstCol));
        d.U16(std::uint16_t(b.LastCol + 1));
        d.U16(0);
        FSheets.Patch(b.DimPos + 4, d.Data(), d.Length());
    }

    TBiffMemory block;
    FStyles.WriteFonts(block);
    FStyles.WriteFormats(block);
    FStyles.WriteXFs(block);
    TxlsStyles::WriteStyles(block);
    std::vector<std::uint64_t> boundPos;
    for (const auto& b : FDir) {
        boundPos.push_back(block.Position());
        std::u16string name = Utf8ToUtf16(b.Name);
        TBiffBody body;
        body.U32(0);
        body.U8(0);
        body.U8(0);
        body.U8(std::uint8_t(name.size()));
        body.U8(1);
        body.Utf16(name);
        block.Record(0x0085, body);
    }
    std::uint8_t country[4] = {1, 0, 1, 0};
    block.Record(biff::COUNTRY, country, 4);
    if (FHasCharts) {
        // The charts' references name their sheet through these.
        TBiffBody sup;
        sup.U16(std::uint16_t(FDir.size()));
        sup.U16(0x0401);
        block.Record(0x01AE, sup);
        TBiffBody ext;
        ext.U16(std::uint16_t(FDir.size()));
        for (size_t i = 0; i < FDir.size(); ++i) {
            ext.U16(0);
            ext.U16(std::uint16_t(i));
            ext.U16(std::uint16_t(i));
        }
        block.Record(0x0017, ext);
    }
    if (!FDrawings.empty()) {
        std::vector<const TxlsBlip*> blips;
        std::vector<int> refs;
        for (int p = 0; p < X.FPictures.Count(); ++p) {
            blips.push_back(FBlips[size_t(p)] ? &*FBlips[size_t(p)] : nullptr);
            int n = 0;
            for (TxlsSheet* s : FWritten)
                for (int j = 0; j < s->Images.Count(); ++j)
                    if (cb::rtl::SameText(s->Images.GetItem(j).PictureName, X.FPictures.GetItem(p).Name())) ++n;
            refs.push_back(n);
        }
        WriteDrawingGroup(block, FDrawings, blips, refs);
    }
    FSst.Write(block);

    std::uint64_t sheetsStart = FPrefix.Position() + block.Position() + 4;
    for (size_t i = 0; i < FDir.size(); ++i) {
        std::uint32_t pos = std::uint32_t(sheetsStart + FDir[i].BofPos);
        std::uint8_t b[4] = {std::uint8_t(pos), std::uint8_t(pos >> 8), std::uint8_t(pos >> 16),
                             std::uint8_t(pos >> 24)};
        block.Patch(boundPos[i] + 4, b, 4);
    }
    File.Write(FPrefix.Data().data(), FPrefix.Data().size());
    File.Write(block.Data().data(), block.Data().size());
    std::uint8_t eof[4] = {0x0A, 0, 0, 0};
    File.Write(eof, 4);
    FSheets.ReadAll([&](const void* data, std::size_t n) { File.Write(data, n); });
}

}  // namespace cb::tabexport
