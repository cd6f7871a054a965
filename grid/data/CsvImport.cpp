#include "grid/data/CsvImport.h"

#include "grid/ExtStringGrid.h"
#include "grid/data/CsvReader.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace cb::grid {

void ImportCSV(TExtStringGrid& grid, const std::string& fileName, bool append,
               const std::function<void(int)>& progress) {
    // The file is mapped, not copied: its pages come from the page cache.
    std::int64_t size = 0;
    int fd = -1;
    try {
        fd = cb::rtl::OpenFileForReading(fileName, &size);
    } catch (const cb::rtl::Exception& e) {
        throw EExtGridError("Cannot open file " + fileName + ": " + e.what());
    }
    if (fd < 0) throw EExtGridError("Cannot open file " + fileName);
    auto closeFile = cb::rtl::OnScopeExit([fd] { ::close(fd); });
    if (std::uint64_t(size) > MaxCsvFileBytes)
        throw EExtGridError("The file " + fileName + " is larger than " + std::to_string(MaxCsvFileBytes >> 20) +
                            " MB");
    void* map = nullptr;
    if (size > 0) {
        map = ::mmap(nullptr, std::size_t(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (map == MAP_FAILED) throw EExtGridError("Cannot open file " + fileName + ": " + std::strerror(errno));
    }
    auto unmap = cb::rtl::OnScopeExit([map, size] {
        if (map) ::munmap(map, std::size_t(size));
    });
    const std::string_view data(static_cast<const char*>(map), map ? std::size_t(size) : 0);
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
    // Columns first: rows are then made once at their final width.
    if (grid.ColCount() < shape.MaxFields) grid.SetColCount(shape.MaxFields);
    int startRow = 0;
    if (append) {
        // Below the normal rows, above the footer rows (which move down).
        startRow = std::max(grid.RowCount() - grid.FixedFooters(), 0);
        grid.InsertRows(startRow, records);
    } else {
        grid.ClearAllCells();
        grid.SetRowCount(std::max(records + grid.FixedFooters(), 1));
    }

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
