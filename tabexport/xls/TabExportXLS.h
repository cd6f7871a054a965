#pragma once
// TTabExportXLS: writes one or more row sources as an Excel 97 workbook:
// BIFF8 records in the stream "Workbook" of an OLE compound file. The
// worksheets are written first (into a temporary file), then the workbook
// globals (fonts, formats, cell styles, sheet directory, pictures, shared
// strings) are built and put in front of them.
#include "tabexport/core/TabExport.h"
#include "tabexport/xls/XlsFormat.h"
#include "tabexport/xls/XlsPictures.h"
#include "tabexport/xls/XlsSheet.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::tabexport {

class TXlsWorkbookWriter;

// What OnGetCellValue may change of a data cell.
struct TxlsCellValue {
    std::string Text;
    TTabExportColType Type = ectString;
    int Indent = 0;  // 0 .. 15
};
using TCellValueEvent = std::function<void(TxlsSheet& Sender, int Sheet, int Col, int RecNo, TxlsCellValue& Cell)>;

class TTabExportXLS : public TTabExportFormatText {
public:
    TTabExportXLS();
    ~TTabExportXLS() override;

    TXLSOptions Options;
    TxlsFieldFormats FieldFormats;
    TxlsFormats StripStyles;
    TxlsStripType StripType = ssNone;
    TxlsSheets& Sheets() { return FSheets; }
    TxlsPictures& Pictures() { return FPictures; }
    TxlsImages Images;
    std::vector<TxlsCell> Cells;
    std::vector<TxlsMergedCells> MergedCells;
    std::vector<TxlsHyperlink> Hyperlinks;
    std::vector<TxlsNote> Notes;
    std::vector<TxlsChart> Charts;
    // A new hyperlink or note in the look of Options.
    TxlsHyperlink& AddHyperlink();
    TxlsNote& AddNote();
    TxlsGraphic Background;
    int HeaderRows = 0;
    int StartDataCol = 0;
    int FooterRows = 0;

    // --- events --------------------------------------------------------------
    std::function<void(TTabExportXLS&Sender, int SheetIndex)> OnBeforeExportSheet, OnAfterExportSheet;
    std::function<void(TTabExportXLS& Sender, int Sheet, TTabExportRow& Row, bool& Accept)> OnAdvancedBeforeExportRow;
    std::function<void(TTabExportXLS& Sender, int Sheet, int RecNo)> OnAdvancedExportedRecord;
    std::function<void(TxlsSheet& Sender, int ColNo, std::string& Text)> OnGetExportText;
    std::function<void(TxlsSheet& Sender, int Sheet, int ColNo, std::string& Text)> OnAdvancedGetExportText;
    using TCellParams =
        std::function<void(TxlsSheet& Sender, int Sheet, int Col, int Row, TxlsFormat& Format, std::string& S)>;
    TCellParams OnGetHeaderParams, OnGetFooterParams, OnGetBeforeDataParams;
    std::function<void(TxlsSheet& Sender, int Sheet, int Col, TxlsFormat& Format, std::string& Caption)>
        OnGetCaptionParams;
    // FormatText: the cell's number format.
    TCellParams OnGetDataParams;
    std::function<void(TxlsSheet& Sender, int Sheet, int Col, TxlsFormat& Format, std::string& FormatText,
                       std::string& Value)>
        OnGetAggregateParams;
    // A data cell's own type, text and indent where they differ from its
    // column's (a pivot grid holds captions and numbers in one column). Col
    // is the source's column number, RecNo the record number after the
    // fixed rows (skipped records included). A number cell without a number
    // format gets the picture its text shows.
    TCellValueEvent OnGetCellValue;

    // Writes the workbook into FileName (through a temporary file beside
    // it), then shows it when asked.
    void Execute() override;

    void SaveOptions(cb::rtl::TCustomIniFile& Store) override;
    void LoadOptions(const cb::rtl::TCustomIniFile& Store) override;

    std::string EscapeValue(const std::string& Text) { return EscapeText(Text); }
    // Sheet names as a workbook accepts them: without : \ / ? * [ ],
    // at most 31 characters, "Sheet1" when nothing is left.
    static std::string CleanSheetName(const std::string& Title);

private:
    friend class TXlsWorkbookWriter;
    TxlsSheets FSheets;
    TxlsPictures FPictures;
};

}  // namespace cb::tabexport
