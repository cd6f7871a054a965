#pragma once
// Sheet options, explicit cells, merged ranges and the sheet items of an
// XLS workbook, each with its own row source and column model.
#include "tabexport/core/ExportSource.h"
#include "tabexport/core/TabExportColumns.h"
#include "tabexport/core/TabExportFormats.h"
#include "tabexport/core/TabExportRow.h"
#include "tabexport/xls/XlsFormat.h"
#include "tabexport/xls/XlsPictures.h"
#include "tabexport/xls/XlsSheetItems.h"

#include "platform/rtl/StringList.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace cb::tabexport {

class TTabExportXLS;

struct TXLSOptions {
    TXLSOptions() {
        SetBoldFormat(CaptionsFormat);
        HyperlinkFormat.Font.Color = clrBlue;
        HyperlinkFormat.Font.Underline = fulSingle;
    }
    std::string PageHeader;
    std::string PageFooter = "Page &P of &N";
    const std::string& SheetTitle() const { return FSheetTitle; }
    // An empty title stores "Sheet1".
    void SetSheetTitle(const std::string& Title) { FSheetTitle = Title.empty() ? "Sheet1" : Title; }
    TxlsFormat HeaderFormat, CaptionsFormat, DataFormat, AggregateFormat, FooterFormat, HyperlinkFormat;
    TxlsNoteFormat NoteFormat;
    // Copies the formats only.
    void AssignFormats(const TXLSOptions& Source);

private:
    std::string FSheetTitle = "Sheet 1";
};

enum TxlsCellType {
    ctBoolean,
    ctDateTime,
    ctNumeric,
    ctString
};
using TxlsValue = std::variant<std::monostate, bool, double, std::string>;

class TxlsCell {
public:
    TxlsCell();
    TxlsCellType CellType() const { return FCellType; }
    // Converts the stored value to the new type (its default when it does
    // not convert).
    void SetCellType(TxlsCellType Type);
    int Col = 0;  // 1-based; 0 = unset
    int Row = 0;
    TxlsFormat Format;
    std::string DateTimeFormat;
    std::string NumericFormat = "###,###,#0.00";
    // Stored converted to the cell type; a value that does not convert
    // resets it to the type's default.
    void SetValue(const TxlsValue& Value);
    const TxlsValue& Value() const { return FValue; }
    bool Valid() const { return Col != 0 && Row != 0; }

private:
    TxlsCellType FCellType = ctString;
    TxlsValue FValue = std::string();
};

struct TxlsMergedCells {
    int FirstCol = 0, FirstRow = 0, LastCol = 0, LastRow = 0;  // 1-based
    bool Valid() const { return FirstCol != 0 && FirstRow != 0 && LastCol != 0 && LastRow != 0; }
};

// One worksheet: its source, columns, texts and formats.
class TxlsSheet {
public:
    explicit TxlsSheet(TTabExportXLS* Exporter);
    TxlsSheet(const TxlsSheet&) = delete;
    TxlsSheet& operator=(const TxlsSheet&) = delete;
    // Copies every setting but DefRowHeight, DefColWidth, Exported and Tag.
    void Assign(const TxlsSheet& Source);

    std::string Title;
    TXLSOptions Options;
    TxlsFieldFormats FieldFormats;
    TxlsFormats StripStyles;
    TxlsStripType StripType = ssNone;
    TxlsImages Images;
    std::vector<TxlsCell> Cells;
    std::vector<TxlsMergedCells> MergedCells;
    std::vector<TxlsHyperlink> Hyperlinks;
    std::vector<TxlsNote> Notes;
    std::vector<TxlsChart> Charts;
    // A new hyperlink or note in the look of Options.
    TxlsHyperlink& AddHyperlink();
    TxlsNote& AddNote();
    // The sheet's background picture (no file: none).
    TxlsGraphic Background;
    bool AutoCalcColWidth = false;
    TTabExportSource ExportSource = esDataSet;
    cb::grid::TBaseGrid* StringGrid = nullptr;  // not owned
    TqeCustomSource* CustomSource = nullptr;    // not owned
    cb::rtl::TStringList ExportedFields, Header, Captions, Footer, UserFormats, ColumnsWidth;
    TTabExportFormats Formats;
    int HeaderRows = 0, FooterRows = 0;
    int StartDataCol = 0;
    double DefRowHeight = 12.75;  // points
    int DefColWidth = 8;          // characters
    bool AllowCaptions = true, GoToFirstRecord = true, OnlyVisibleFields = true;
    int ExportRecCount = 0, SkipRecCount = 0;
    bool CurrentRecordOnly = false, AutoCalcStrType = false;
    int CaptionRow = -1;
    bool Exported = true;
    int Tag = 0;

    // Working state of one export.
    TTabExportColumns& Columns() { return FColumns; }
    TTabExportRow& Row() { return FRow; }
    TExportSource& Source() { return FSource; }
    int CurrentRow = 0;
    int RecordCounter = 0;
    TTabExportXLS* Exporter() const { return FExporter; }

private:
    TTabExportXLS* FExporter;
    TTabExportColumns FColumns;
    TTabExportRow FRow;
    TExportSource FSource;
};

class TxlsSheets {
public:
    explicit TxlsSheets(TTabExportXLS* Exporter) : FExporter(Exporter) {}
    // A new sheet titled "Sheet <count>".
    TxlsSheet& Add();
    TxlsSheet& Items(int Index) const { return *FItems.at(size_t(Index)); }
    int Count() const { return int(FItems.size()); }
    void Clear() { FItems.clear(); }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }

private:
    TTabExportXLS* FExporter;
    std::vector<std::unique_ptr<TxlsSheet>> FItems;
};

}  // namespace cb::tabexport
