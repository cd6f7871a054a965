#include "grid/CellProperties.h"

#include "grid/BaseGrid.h"

#include "platform/rtl/Property.h"

#include <memory>
#include <mutex>
#include <unordered_set>

namespace cb::grid {

const std::string* InternFontName(const std::string& name) {
    if (name.empty()) return nullptr;
    static std::mutex lock;
    static std::unordered_set<std::string> names;
    std::lock_guard<std::mutex> guard(lock);
    return &*names.insert(name).first;
}

TCellProperties::TCellProperties(TBaseGrid* grid, int col, int row) : OwnerGrid(grid) {
    OwnerCol = col;
    OwnerRow = row;
}

void TCellProperties::Assign(const TCellProperties& s) {
    TCellPropertiesSettings::operator=(s);
    RepaintOwner();
}

TGridCoord TCellProperties::GetBaseCell() const {
    if (IsBaseCell || CellSpanX == -1 || CellSpanY == -1) return {OwnerCol, OwnerRow};
    return {OwnerCol - CellSpanX, OwnerRow - CellSpanY};
}

const std::string& TCellProperties::FontName() const {
    static const std::string empty;
    return FFontName ? *FFontName : empty;
}

void TCellProperties::RepaintOwner() {
    if (OwnerGrid) OwnerGrid->InvalidateCellArea(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColor(TColor value) {
    cb::rtl::SetProperty(FBrushColor, value, [this] { RepaintOwner(); });
}

void TCellProperties::SetVAlignment(TVAlignment value) {
    cb::rtl::SetProperty(FVAlignment, value, [this] { RepaintOwner(); });
}

void TCellProperties::SetWordWrap(bool value) {
    cb::rtl::SetProperty(FWordWrap, value, [this] { RepaintOwner(); });
}

}  // namespace cb::grid
