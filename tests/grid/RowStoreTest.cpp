// Rows made in bulk come from the row store's blocks: cells written there
// stay through every row and column operation, and the blocks go back to
// the system once their rows are gone.
#include "grid/ExtStringGrid.h"
#include "grid/util/RowAllocator.h"

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

#include <functional>
#include <memory>
#include <string>

using namespace cb::grid;

namespace {

std::string Text(int col, int row) {
    return std::to_string(col) + ":" + std::to_string(row);
}

// A grid of 3 columns and `rows` rows grown at once (in bulk), every cell
// holding its coordinates; long texts on every 7th row live on the heap.
std::unique_ptr<TExtStringGrid> Filled(int rows) {
    auto g = std::make_unique<TExtStringGrid>();
    g->SetColCount(3);
    g->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 3; ++c) g->SetRawCellText(c, r, r % 7 ? Text(c, r) : Text(c, r) + std::string(40, 'x'));
    return g;
}

std::string Expected(int col, int row) {
    return row % 7 ? Text(col, row) : Text(col, row) + std::string(40, 'x');
}

}  // namespace

TEST(RowStore, BlocksComeAndGoWithTheirRows) {
    // 300,000 rows of 3 cells take more than one block.
    auto g = Filled(300000);
    EXPECT_GE(rowstore::BlockCount(), 2u);
    g->SetRowCount(300010);  // a few rows more: ordinary allocations
    EXPECT_GE(rowstore::BlockCount(), 2u);
    g->SetColCount(4);                      // every row is reallocated, out of the blocks
    EXPECT_EQ(rowstore::BlockCount(), 0u);
    EXPECT_EQ(g->Cells(2, 299999), Expected(2, 299999));
    EXPECT_EQ(g->Cells(2, 300005), "");

    g = Filled(300000);
    EXPECT_GE(rowstore::BlockCount(), 2u);
    g.reset();
    EXPECT_EQ(rowstore::BlockCount(), 0u);
}

TEST(RowStore, CellsSurviveRowAndColumnOperations) {
    struct Case {
        const char* name;
        std::function<void(TExtStringGrid&)> change;
        std::function<std::string(int col, int row)> expect;
        int rows;
    };
    const int n = 5000;
    const Case cases[] = {
        {"none", [](TExtStringGrid&) {}, Expected, n},
        {"move a row down", [](TExtStringGrid& g) { g.MoveRow(1, 4000); },
         [](int c, int r) {
             return r >= 1 && r < 4000 ? Expected(c, r + 1) : r == 4000 ? Expected(c, 1) : Expected(c, r);
         },
         n},
        {"insert rows in bulk", [](TExtStringGrid& g) { g.InsertRows(10, 3000); },
         [](int c, int r) { return r < 10     ? Expected(c, r)
                                   : r < 3010 ? std::string()
                                              : Expected(c, r - 3000); },
         n + 3000},
        {"remove a column", [](TExtStringGrid& g) { g.RemoveCols(0, 1); },
         [](int c, int r) { return c < 2 ? Expected(c + 1, r) : std::string(); }, n},
        {"insert a column", [](TExtStringGrid& g) { g.InsertCols(1, 1); },
         [](int c, int r) { return c == 0   ? Expected(0, r)
                                   : c == 1 ? std::string()
                                            : Expected(c - 1, r); }, n},
        {"shrink", [](TExtStringGrid& g) { g.SetRowCount(100); }, Expected, 100},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto g = Filled(n);
        k.change(*g);
        ASSERT_EQ(g->RowCount(), k.rows);
        for (int r = 0; r < k.rows; r += 1 + r % 13)
            for (int c = 0; c < 3; ++c) ASSERT_EQ(g->Cells(c, r), k.expect(c, r)) << c << "," << r;
    }
}

#if defined(__SANITIZE_ADDRESS__)
TEST(RowStore, FreedRowsInABlockAreOutOfBoundsForTheAddressChecker) {
    auto g = Filled(5000);
    ASSERT_GE(rowstore::BlockCount(), 1u);
    const void* kept = &g->GetRawCellText(2, 3000);
    const void* freed = &g->GetRawCellText(2, 4500);
    EXPECT_FALSE(__asan_address_is_poisoned(freed));
    // The rows kept hold their block; the rows after them are freed.
    g->SetRowCount(4000);
    ASSERT_GE(rowstore::BlockCount(), 1u);
    EXPECT_FALSE(__asan_address_is_poisoned(kept));
    EXPECT_TRUE(__asan_address_is_poisoned(freed));
    EXPECT_EQ(g->Cells(2, 3000), Expected(2, 3000));
}
#endif
