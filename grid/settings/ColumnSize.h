#pragma once
// Where the grid keeps its column widths between runs, and the column that
// stretches to fill the client width.
#include "platform/rtl/Property.h"

#include <string>

namespace cb::grid {

enum TColumnSizeLocation {
    clRegistry,  // the per-user settings store
    clIniFile
};

class TColumnSize {
public:
    // Called when Stretch is switched on: the grid stretches at once.
    cb::rtl::TChangeEvent OnStretch;
    // Load the widths when the grid is created, save them when it goes.
    bool Save = false;
    // Key path in the settings store, or the INI file's name.
    std::string Key;
    std::string Section;
    TColumnSizeLocation Location = clRegistry;
    // The column that absorbs the free width; -1 the last.
    int StretchColumn = -1;
    // Resizing the grid scales every column with it.
    bool SynchWithGrid = false;
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { cb::rtl::SetProperty(FStretch, value, OnStretch); }

private:
    bool FStretch = false;
};

}  // namespace cb::grid
