#pragma once
// The walk over a row source: one small object per export that names the
// source and moves through its records. The position lives in the source
// (the grid's current row, the custom source's record number); the caller
// keeps the record counter.
#include "tabexport/core/TabExportTypes.h"

#include <functional>
#include <string>

namespace cb::grid {
class TBaseGrid;
}

namespace cb::tabexport {

class TqeCustomSource;

class TExportSource {
public:
    TTabExportSource Kind = esStringGrid;
    cb::grid::TBaseGrid* StringGrid = nullptr;  // not owned
    TqeCustomSource* CustomSource = nullptr;    // not owned
    // Fired by Skip with the number of records skipped so far.
    std::function<void(int RecNo)> OnSkippedRecord;

    std::string Name() const { return ExportSourceName(Kind); }
    // Throws "Export source (%s) is not assigned".
    void Check() const;
    bool IsAssigned() const;
    bool IsActive() const { return true; }
    bool IsEmpty() const;
    // Columns the source has.
    int ColumnCount() const;

    void First();
    void Next(int& Counter);
    void Skip(int& Counter, int Count);
    bool Eof(int SkipRecCount, int ExportRecCount, int Counter) const;
    // Raw text of column Number in the current record.
    std::string Value(int Number, int SkipRecCount, int Counter) const;
    // The number of data records the source holds, -1 when unknown.
    int KnownRecordCount() const;

    int GetBookmark() const;
    void GotoBookmark(int Bookmark);

private:
    bool FAtEnd = false;  // a string-grid step found no row to move to
};

}  // namespace cb::tabexport
