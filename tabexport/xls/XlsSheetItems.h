#pragma once
// Items a worksheet may carry beside its cells: hyperlink cells, cell notes
// and charts drawn from the exported cells.
#include "tabexport/xls/XlsFormat.h"

#include "platform/rtl/StringList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cb::tabexport {

enum TxlsHyperlinkStyle {
    hlsURL,        // web or mail address
    hlsLocalFile,  // a file, as named
    hlsCell        // a place in the workbook ("Sheet 1!B3")
};

// A title shown in a cell that links to Target.
struct TxlsHyperlink {
    int Col = 0;  // 1-based
    int Row = 0;
    TxlsHyperlinkStyle Style = hlsURL;
    std::string Title, Target, ScreenTip;
    TxlsFormat Format;
    bool IsValid() const {
        return Col >= 1 && Col <= 256 && Row >= 1 && Row <= 65536 && !Title.empty() && !Target.empty();
    }
};

enum TxlsNoteFillType {
    nftSolid,
    nftGradient
};
enum TxlsOrientation {
    xrtNoRotation,
    xlrTopToBottom,
    xlrCounterClockWise,
    xlrClockWise
};
enum TxlsNoteGradient {
    ngrHorizontal,
    ngrVertical,
    ngrDiagonalUp,
    ngrDiagonalDown,
    ngrFromCorner,
    ngrFromCenter
};

struct TxlsNoteFormat {
    TxlsNoteFormat() {
        Font.Name = "Tahoma";
        Font.Size = 8;
        Font.Style = xfsBold;
        Alignment.Horizontal = halLeft;
        Alignment.Vertical = valTop;
    }
    TxlsAlignment Alignment;
    std::uint32_t BackgroundColor = 0xE1FFFF;  // 0x00BBGGRR
    std::uint32_t ForegroundColor = 0xE1FFFF;
    TxlsNoteFillType FillType = nftSolid;
    TxlsFont Font;
    int Transparency = 0;  // percent
    TxlsOrientation Orientation = xrtNoRotation;
    TxlsNoteGradient Gradient = ngrHorizontal;
};

// Characters of a note's text kept (a workbook keeps no more in a cell).
constexpr std::size_t KMaxNoteChars = 32767;

// A comment box anchored beside a cell.
struct TxlsNote {
    int Col = 0;  // 1-based
    int Row = 0;
    cb::rtl::TStringList Lines;
    TxlsNoteFormat Format;
    bool IsValid() const;
    // The lines joined by line feeds, trimmed, without carriage returns.
    std::string Text() const;
};

// Cells by 1-based bounds.
struct TxlsDataRange {
    int Col1 = 0, Col2 = 0, Row1 = 0, Row2 = 0;
};

enum TxlsRangeType {
    rtColumn,  // the exported column of a name
    rtCustom   // an explicit range
};

struct TxlsChartSeries {
    TxlsColor Color = clrAqua;
    std::string DataColumn;
    TxlsDataRange DataRange;
    TxlsRangeType DataRangeType = rtColumn;
    std::string Title;
};

enum TxlsChartPlacement {
    cpBottom,
    cpRight
};
struct TxlsChartAutoPosition {
    TxlsChartPlacement Placement = cpBottom;
    int Height = 10, Left = 0, Top = 0, Width = 5;  // rows and columns
};
struct TxlsChartCustomPosition {
    int X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;  // 1-based columns and rows
};
enum TxlsChartPositionType {
    cptAuto,
    cptCustom
};
struct TxlsChartPosition {
    TxlsChartAutoPosition AutoPosition;
    TxlsChartCustomPosition CustomPosition;
    TxlsChartPositionType PositionType = cptAuto;
};

enum TxlsChartLegendPlacement {
    clpBottom,
    clpCorner,
    clpTop,
    clpRight,
    clpLeft
};
enum TxlsChartStyle {
    xcsColumn,
    xcsColumn3d,
    xcsBar,
    xcsBar3d,
    xcsLine,
    xcsLineMark,
    xcsLine3d,
    xcsPie,
    xcsPie3d,
    xcsArea,
    xcsArea3d,
    xcsSurface,
    xcsSurface3d,
    xcsRadar,
    xcsRadarArea
};

struct TxlsChart {
    bool AutoColor = true;
    TxlsDataRange CategoryLabels;
    TxlsRangeType CategoryLabelsType = rtColumn;
    std::string CategoryLabelsColumn;
    TxlsChartLegendPlacement LegendPlacement = clpRight;
    TxlsChartPosition Position;
    std::vector<TxlsChartSeries> Series;
    bool ShowLegend = true;
    TxlsChartStyle Style = xcsColumn;
    std::string Title;
};

}  // namespace cb::tabexport
