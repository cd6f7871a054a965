#include "grid/data/CsvImport.h"

#include "grid/ExtStringGrid.h"
#include "grid/data/CsvReader.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <cmath>

namespace cb::grid {

void ImportCSV(TExtStringGrid& grid, const std::string& fileName, bool append,
               const std::function<void(int)>& progress) {
    std::string data;
    try {
        if (!cb::rtl::ReadFileBytes(fileName, data, MaxCsvFileBytes))
            throw EExtGridError("Cannot open file " + fileName);
    } catch (const cb::rtl::Exception& e) {
        if (dynamic_cast<const EExtGridError*>(&e)) throw;
        throw EExtGridError("Cannot open file " + fileName + ": " + e.what());
    }
    const std::string_view text = SkipByteOrderMark(data);
    const char delimiter = GuessCsvDelimiter(text);
    const TCsvShape shape = MeasureCsv(text, delimiter, fileName);
    if (shape.Records > MaxCsvRows)
        throw EExtGridError("The file " + fileName + " has more than " + std::to_string(MaxCsvRows) + " rows");
    if (shape.MaxFields > MaxCsvCols)
        throw EExtGridError("The file " + fileName + " has more than " + std::to_string(MaxCsvCols) + " columns");
    const int records = int(shape.Records);

    grid.BeginUpdate();
    auto resume = cb::rtl::OnScopeExit([&] { grid.EndUpdate(); });
    int startRow = 0;
    if (append) {
        // Below the normal rows, above the footer rows (which move down).
        startRow = std::max(grid.RowCount() - grid.FixedFooters(), 0);
        grid.InsertRows(startRow, records);
    } else {
        grid.ClearAllCells();
        grid.SetRowCount(std::max(records + grid.FixedFooters(), 1));
    }
    if (grid.ColCount() < shape.MaxFields) grid.SetColCount(shape.MaxFields);

    TCsvReader reader(text, delimiter, fileName);
    std::string_view field;
    int lastPercent = -1;
    for (int row = startRow, done = 0; reader.NextRecord(); ++row) {
        for (int col = 0; reader.NextField(field); ++col)
            if (!field.empty()) grid.SetRawCellText(col, row, std::string(field));
        ++done;
        if (progress) {
            int percent = int(std::nearbyint(done * 100.0 / records));
            if (percent != lastPercent) progress(lastPercent = percent);
        }
    }
    grid.CellsChanged({0, 0, grid.ColCount() - 1, grid.RowCount() - 1});
    if (grid.FloatingFooter.Visible()) {
        try {
            grid.UpdateFooter(-1);
        } catch (const EExtGridError&) {
            // A footer over cells that are not numbers stays as it was.
        }
    }
    grid.InvalidateGrid();
}

}  // namespace cb::grid
