#pragma once
// Office drawing records of a workbook: the drawing group with its picture
// store, and each sheet's drawing with one picture shape per image.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cb::tabexport {

class TBiffOut;
class TxlsGraphic;

// A picture as the store keeps it.
struct TxlsBlip {
    int BlipType = 0;   // 5 JPEG, 6 PNG, 7 bitmap
    std::string Bytes;  // what the store holds (a bitmap without its file header)
    int Width = 0;      // pixels
    int Height = 0;
};

// Reads a picture: JPEG, PNG and BMP as they are, any other picture the
// toolkit reads (GIF, ...) turned into PNG. Nothing for a missing file;
// throws for a file that is no readable picture or is too large.
std::optional<TxlsBlip> LoadBlip(const TxlsGraphic& Graphic);

// Anchor of a shape: cells and offsets (1/1024 of a column, 1/256 of a row).
struct TxlsAnchor {
    std::uint16_t LeftCol = 0, LeftOffset = 0, TopRow = 0, TopOffset = 0;
    std::uint16_t RightCol = 0, RightOffset = 0, BottomRow = 0, BottomOffset = 0;
};

// Shapes of one sheet's drawing, its group shape included.
struct TxlsDrawingCluster {
    int DrawingId = 0;  // 1-based, one per sheet with a drawing
    int ShapeCount = 0;
};

// Writes MSODRAWINGGROUP (with CONTINUE records) for the sheets' drawings
// and the given pictures (a missing one is left out of the store) with
// their reference counts.
void WriteDrawingGroup(TBiffOut& Out, const std::vector<TxlsDrawingCluster>& Drawings,
                       const std::vector<const TxlsBlip*>& Blips, const std::vector<int>& RefCounts);

// Writes the sheet background BITMAP record (with CONTINUE records) for a
// picture file or picture bytes; nothing when there is no picture. Throws
// for a picture that cannot be read.
void WriteBackground(TBiffOut& Out, const TxlsGraphic& Graphic);

struct TxlsPictureShape {
    int PictureIndex = -1;  // 1-based position in the store, -1 none
    std::string Title;
    TxlsAnchor Anchor;
};

struct TxlsNote;
struct TxlsChart;
struct TxlsDataRange;

struct TxlsNoteShape {
    const TxlsNote* Note = nullptr;  // not owned
    std::uint16_t FontIndex = 0;     // of the note's font in the workbook
};

struct TxlsChartShape {
    const TxlsChart* Chart = nullptr;  // not owned
    TxlsAnchor Anchor;
    int SheetIndex = 0;                     // entry of EXTERNSHEET
    std::vector<TxlsDataRange> Values;      // per series
    std::vector<TxlsDataRange> Categories;  // per series
};

// Everything drawn on one sheet: notes first, then pictures, then charts.
// Shape ids are DrawingId * 1024 + 1, + 2, ... in that order (the group
// shape takes DrawingId * 1024); object ids run 1, 2, ... the same way.
struct TxlsSheetDrawing {
    int DrawingId = 1;
    std::vector<TxlsNoteShape> Notes;
    std::vector<TxlsPictureShape> Pictures;
    std::vector<TxlsChartShape> Charts;
    bool Empty() const { return Notes.empty() && Pictures.empty() && Charts.empty(); }
    // The shapes of the drawing, its group shape included.
    int ShapeCount() const { return int(Notes.size() + Pictures.size() + Charts.size()) + 1; }
};

// Writes a sheet's MSODRAWING, OBJ, TXO and chart records, then the NOTE
// records; nothing for an empty drawing.
void WriteSheetDrawing(TBiffOut& Out, const TxlsSheetDrawing& Drawing);

}  // namespace cb::tabexport
