#pragma once
#include "platform/gfx/GdiObjects.h"

#include <string>
#include <vector>

namespace cb::grid {

enum TPrintPosition {
    ppNone,
    ppTopLeft,
    ppTopRight,
    ppTopCenter,
    ppBottomLeft,
    ppBottomRight,
    ppBottomCenter
};
enum TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum TPrinterOrientation {
    poPortrait,
    poLandscape
};
enum TFitToPage {
    fpNever,
    fpGrow,
    fpShrink,
    fpAlways,
    fpCustom
};

// Stored only; Font is the cell font when a cell is prepared for printing.
struct TPrintSettings {
    cb::gfx::TFont Font;
    cb::gfx::TFont HeaderFont;
    cb::gfx::TFont FooterFont;
    std::vector<std::string> TitleLines;
    std::string PageNumSep = "/";
    std::string DateFormat = "dd/mm/yyyy";
    std::string PagePrefix;
    std::string PageSuffix;
    int TitleSpacing = 0;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, FixedWidth = 0, FixedHeight = 0;
    TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
    std::string TitleText;
    std::string JobName;
    TPrintBorders Borders = pbNoborder;
    cb::gfx::TPenStyle BorderStyle = cb::gfx::psSolid;
    TPrinterOrientation Orientation = poPortrait;
    TFitToPage FitToPage = fpNever;
    bool Centered = false, RepeatFixedRows = false, RepeatFixedCols = false, UseFixedHeight = false;
    bool UseFixedWidth = false, NoAutoSize = false, NoAutoSizeRow = false, PrintGraphics = false;
};

}  // namespace cb::grid
