#pragma once
#include "grid/util/IntList.h"

#include <string>

namespace cb::grid {

// Stored only.
struct THTMLSettings {
    bool SaveColor = true;
    bool SaveFonts = true;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    int Width = 100;
    std::string FooterFile;
    std::string HeaderFile;
    std::string TableStyle;
    std::string PrefixTag;
    std::string SuffixTag;
    bool XHTML = false;
    TIntList ColWidths;
};

}  // namespace cb::grid
