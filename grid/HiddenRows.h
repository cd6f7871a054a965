#pragma once
// THiddenRows: the rows taken out of the grid's view, each a record of its
// real row number, its cells (texts and property objects) and its height,
// kept until it comes back. Display rows are the grid's rows; real rows
// count the hidden ones too.
#include "grid/BaseGrid.h"

#include <functional>
#include <vector>

namespace cb::grid {

struct THiddenRow {
    int Idx = 0;  // the real row
    TGridRowCells Items;
    int Height = 0;
};

class THiddenRows {
public:
    bool Empty() const { return FRows.empty(); }
    int Count() const { return int(FRows.size()); }
    // The real numbers of all hidden rows, ascending.
    std::vector<int> Sorted() const;
    int DisplayToReal(int displayRow) const;
    int RealToDisplay(int realRow) const;
    bool IsHidden(int realRow) const;
    void Add(THiddenRow row) { FRows.push_back(std::move(row)); }
    // Takes the records of real rows first .. last out, in the order hidden.
    std::vector<THiddenRow> Take(int firstReal, int lastReal);
    std::vector<THiddenRow> TakeAll();
    void ForEach(const std::function<void(THiddenRow&)>& visit);

private:
    // One record per row out of view, in the order hidden.
    std::vector<THiddenRow> FRows;
};

}  // namespace cb::grid
