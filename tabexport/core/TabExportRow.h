#pragma once
// The row of the current record: one cell per column, each turning its raw
// text into the text a writer puts out.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::tabexport {

class TTabExportColumns;
class TTabExportFormats;
class TTabExportRow;

class TTabExportCol {
public:
    TTabExportCol(TTabExportRow* Row, std::string Name, int ColumnIndex);

    const std::string& Name() const { return FName; }
    int ColumnIndex() const { return FColumnIndex; }
    // The raw text of the current record.
    const std::string& RawValue() const { return FRaw; }
    void SetRawValue(std::string Value);
    // The last output form (the raw text until GetExportedValue ran).
    const std::string& Value() const { return FValue; }
    // The text a writer puts out: null text, or the raw text formatted by
    // the column's type, then passed through the export's cell hook. Always
    // computed from the raw text, so calling it twice gives the same result.
    std::string GetExportedValue(bool ApplyFormat);

private:
    TTabExportRow* FRow;
    std::string FName;
    int FColumnIndex;
    std::string FRaw;
    std::string FValue;
};

class TTabExportRow {
public:
    TTabExportRow(TTabExportColumns* Columns, const TTabExportFormats* Formats)
        : FColumns(Columns), FFormats(Formats) {}

    // The export's per-cell hook (its GetColData).
    std::function<void(TTabExportCol& Col, std::string& Text)> CellHook;

    void AddCol(const std::string& Name, int Position);
    // Sorts the name index; call after the last AddCol.
    void SortIndex();
    // The cell of that name (case ignored) gets the text, control
    // characters and trailing blanks removed; leading blanks are kept
    // (indented captions). Unknown names are ignored.
    void SetValue(const std::string& Name, const std::string& Text);
    void SetValueAt(int Index, const std::string& Text);
    int Count() const { return int(FCols.size()); }
    TTabExportCol& GetCol(int Index) { return *FCols.at(size_t(Index)); }
    int IndexOfName(const std::string& Name) const;
    void Clear();
    void DeleteCol(int Index);

    TTabExportColumns* Columns() const { return FColumns; }
    const TTabExportFormats* Formats() const { return FFormats; }
    void SetFormats(const TTabExportFormats* Formats) { FFormats = Formats; }

    // Cell text as SetValue stores it.
    static std::string CleanText(const std::string& Text);

private:
    TTabExportColumns* FColumns;
    const TTabExportFormats* FFormats;
    std::vector<std::unique_ptr<TTabExportCol>> FCols;
    std::vector<int> FIndex;  // positions sorted by name, case ignored
};

}  // namespace cb::tabexport
