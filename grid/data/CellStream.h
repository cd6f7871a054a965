#pragma once
// The grid's own clipboard format: a block of cells with their texts,
// property objects and graphics, so that a paste into this or another grid
// reproduces them. Layout (little-endian):
//
//   "CBGC" u32 version
//   i32 left, i32 top, u32 cols, u32 rows, i32 widths[cols],
//   i32 heights[rows], u8 fullGrid, u64 source id
//   cells, column by column: i32 col, i32 row, str text, u8 hasProps,
//     [properties, u8 hasGraphic, [graphic]]
//
// str is a u32 length and the bytes. The reader treats the block as
// untrusted: counts, coordinates, lengths and kinds are checked against
// limits and against what remains before anything is allocated, every
// record is read and checked before a cell changes, and a bad block raises
// ECellStreamError with nothing written. Cells are placed relative to the
// block's top-left cell; a merged range is pasted merged only when the
// block holds all of it. Pictures and graphics the grid does not own are
// not carried (their cells keep text and properties).
#include "grid/util/GridTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cb::grid {

class TExtStringGrid;

class ECellStreamError : public EExtGridError {
public:
    using EExtGridError::EExtGridError;
};

inline constexpr const char* GridCellsMimeType = "application/x-cubebrowser-grid-cells";
inline constexpr int MaxStreamCols = 10000;
inline constexpr int MaxStreamRows = 1000000;
inline constexpr std::size_t MaxStreamBytes = std::size_t(256) << 20;

// The block's cells (real columns Left..Right, rows Top..Bottom).
std::string WriteCellStream(TExtStringGrid& grid, const TGridRect& rect, std::uint64_t sourceId);

struct TCellStreamHeader {
    int Left = 0;
    int Top = 0;
    int Cols = 0;
    int Rows = 0;
    bool FullGrid = false;
    std::uint64_t SourceId = 0;
};

// Reads and checks the header only.
TCellStreamHeader ReadCellStreamHeader(std::string_view data);

// Writes the block with its first cell at (col, row); a full-grid block
// replaces the grid's cells, counts and sizes. The grid grows first when
// the block reaches past it and growing is allowed (columns, rows), else
// the cells outside are left out. Returns the header.
TCellStreamHeader ReadCellStream(TExtStringGrid& grid, int col, int row, std::string_view data, bool growCols,
                                 bool growRows);

}  // namespace cb::grid
