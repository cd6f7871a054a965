// TGridSelection: marks of rows, columns and cells.
#include "grid/GridSelection.h"

#include <algorithm>

namespace cb::grid {

bool TGridSelection::Mark(TMarks& marks, int i, bool marked) {
    Grow(marks, i);
    const bool changed = (marks[size_t(i)] != 0) != marked;
    marks[size_t(i)] = marked ? 1 : 0;
    return changed;
}

void TGridSelection::ClearMarks(TMarks& marks, const std::function<void(int)>& cleared) {
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i]) {
            cleared(int(i));
            marks[i] = 0;
        }
}

int TGridSelection::MarkedRowCount() const {
    return int(std::count(FRows.begin(), FRows.end(), 1));
}

int TGridSelection::MarkedColCount() const {
    return int(std::count(FCols.begin(), FCols.end(), 1));
}

void TGridSelection::Insert(TMarks& marks, int at, int count) {
    if (int(marks.size()) > at) marks.insert(marks.begin() + at, size_t(count), 0);
}

void TGridSelection::Erase(TMarks& marks, int at, int count) {
    if (int(marks.size()) > at)
        marks.erase(marks.begin() + at, marks.begin() + std::min<int>(at + count, int(marks.size())));
}

void TGridSelection::RowsInserted(int row, int count) {
    Insert(FRows, row, count);
    FCells.Update([&](TGridCoord& c) {
        if (c.Y >= row) c.Y += count;
        return true;
    });
}

void TGridSelection::RowsRemoved(int row, int count) {
    Erase(FRows, row, count);
    FCells.Update([&](TGridCoord& c) {
        if (c.Y >= row && c.Y < row + count) return false;
        if (c.Y >= row + count) c.Y -= count;
        return true;
    });
}

void TGridSelection::ColsInserted(int col, int count) {
    Insert(FCols, col, count);
    FCells.Update([&](TGridCoord& c) {
        if (c.X >= col) c.X += count;
        return true;
    });
}

void TGridSelection::ColsRemoved(int col, int count) {
    Erase(FCols, col, count);
    FCells.Update([&](TGridCoord& c) {
        if (c.X >= col && c.X < col + count) return false;
        if (c.X >= col + count) c.X -= count;
        return true;
    });
}

void TGridSelection::ExchangeRows(int a, int b) {
    Grow(FRows, std::max(a, b));
    std::swap(FRows[size_t(a)], FRows[size_t(b)]);
}

void TGridSelection::RemapRows(const std::vector<int>& map, int newCount) {
    RemapCellRows(map);
    if (newCount < 0) {
        TMarks kept;
        for (size_t r = 0; r < FRows.size() && r < map.size(); ++r)
            if (map[r] >= 0) kept.push_back(FRows[r]);
        FRows = std::move(kept);
        return;
    }
    if (FRows.empty()) return;
    TMarks moved(size_t(newCount), 0);
    for (size_t r = 0; r < map.size(); ++r)
        if (map[r] >= 0 && map[r] < newCount) moved[size_t(map[r])] = r < FRows.size() ? FRows[r] : 0;
    FRows = std::move(moved);
}

void TGridSelection::RemapCellRows(const std::vector<int>& map) {
    FCells.Update([&](TGridCoord& c) {
        if (c.Y < 0 || c.Y >= int(map.size())) return true;
        if (map[size_t(c.Y)] < 0) return false;
        c.Y = map[size_t(c.Y)];
        return true;
    });
}

}  // namespace cb::grid
