#pragma once
// The look of the tree nodes in the first column.
#include "grid/util/GridTypes.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Property.h"

namespace cb::grid {

using cb::rtl::TChangeEvent;

enum TNodeType {
    cnFlat,
    cn3D,
    cnGlyph,
    cnLeaf
};

class TCellNode {
public:
    TChangeEvent OnChange;
    TColor Color = cb::gfx::clSilver;
    TColor NodeColor = cb::gfx::clBlack;
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType value);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool value);
    cb::gfx::TBitmap& ExpandGlyph() { return FExpandGlyph; }
    cb::gfx::TBitmap& ContractGlyph() { return FContractGlyph; }
    void SetExpandGlyph(const cb::gfx::TBitmap& b) { FExpandGlyph.Assign(b); }
    void SetContractGlyph(const cb::gfx::TBitmap& b) { FContractGlyph.Assign(b); }

private:
    TNodeType FNodeType = cnFlat;
    bool FShowTree = false;
    cb::gfx::TBitmap FExpandGlyph;
    cb::gfx::TBitmap FContractGlyph;
};

}  // namespace cb::grid
