#pragma once
// The per-cell property object: created the first time a writer needs it,
// owned by the grid's cell. Also records merged ranges: the top-left (base)
// cell holds the range's extent, every covered cell its offset from the base.
#include "grid/CellGraphic.h"
#include "grid/util/GridTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace cb::grid {

class TBaseGrid;

// Font face names are few and repeat over thousands of cells: each cell keeps
// a pointer to one shared copy. The empty name is the null pointer.
const std::string* InternFontName(const std::string& name);

// The settings of a cell that Assign copies whole: everything but the cell
// object, graphic, grid, paint stamp and footer kind.
class TCellPropertiesSettings {
public:
    bool IsBaseCell = true;
    int CellSpanX = -1;
    int CellSpanY = -1;
    int OwnerCol = 0;
    int OwnerRow = 0;
    TAlignment Alignment = taLeftJustify;
    TColor BorderColor = 0;
    int BorderWidth = 0;
    TColor FontColor = clNone;
    int FontSize = 0;
    TFontStyles FontStyle = 0;
    TEditorType Editor = edNormal;
    bool ReadOnly = false;
    int NodeLevel = 0;
    QWidget* Control = nullptr;   // not owned
    std::uint8_t BrushStyle = 0;  // cb::gfx::TBrushStyle, bsSolid
    bool operator==(const TCellPropertiesSettings&) const = default;

protected:
    TColor FBrushColor = clNone;
    const std::string* FFontName = nullptr;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrap = false;
};

class TCellProperties : public TCellPropertiesSettings {
public:
    TCellProperties(TBaseGrid* grid, int col, int row);
    TCellProperties(const TCellProperties&) = delete;
    TCellProperties& operator=(const TCellProperties&) = delete;

    const TCellPropertiesSettings& Settings() const { return *this; }
    // Copies the settings, then repaints the owner cell.
    void Assign(const TCellProperties& source);

    // The base cell of the range this cell belongs to (the cell itself when
    // it is not covered).
    TGridCoord GetBaseCell() const;

    void* CellObject = nullptr;  // not owned
    TBaseGrid* OwnerGrid = nullptr;
    TCellGraphicPtr Graphic;
    std::uint32_t PaintStamp = 0;
    std::uint8_t FooterCalcKind = 0;

    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor value);
    const std::string& FontName() const;
    void SetFontName(const std::string& name) { FFontName = InternFontName(name); }
    const std::string* FontNameRef() const { return FFontName; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

private:
    void RepaintOwner();
};

}  // namespace cb::grid
