#pragma once
// Small value types shared by the grid control: alignments, draw states,
// grid options, cell rectangles and the grid's exception.
#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Geometry.h"
#include "platform/rtl/Exception.h"

#include <cstdint>
#include <string>

namespace cb::grid {

using cb::gfx::TColor;
using cb::gfx::TFontStyles;
using cb::gfx::TPoint;
using cb::gfx::TRect;

constexpr TColor clNone = cb::gfx::clNone;

enum TAlignment : std::uint8_t {
    taLeftJustify,
    taRightJustify,
    taCenter
};
enum TVAlignment : std::uint8_t {
    vtaTop,
    vtaCenter,
    vtaBottom
};

// In-place editor kinds; the editors themselves live elsewhere.
enum TEditorType : std::uint8_t {
    edNormal,
    edSpinEdit,
    edComboEdit,
    edComboList,
    edEditBtn,
    edCheckBox,
    edDateEdit,
    edDateEditUpDown,
    edTimeEdit,
    edButton,
    edDataCheckBox,
    edNumeric,
    edPositiveNumeric,
    edFloat,
    edCapital,
    edMixedCase,
    edPassword,
    edUnitEditBtn,
    edLowerCase,
    edUpperCase,
    edFloatSpinEdit,
    edTimeSpinEdit,
    edDateSpinEdit,
    edNumericEditBtn,
    edFloatEditBtn,
    edCustom,
    edRichEdit,
    edUniEdit,
    edUniComboEdit,
    edUniComboList,
    edUniEditBtn,
    edUniMemo
};

// Draw state bits of a cell.
enum TGridDrawStateBit : unsigned {
    gdSelected = 1,
    gdFocused = 2,
    gdFixed = 4
};
using TGridDrawState = unsigned;

// Grid options (a set).
enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14
};
using TGridOptions = unsigned;

// What a mouse press started: range selection, sizing or moving.
enum TGridState : std::uint8_t {
    gsNormal,
    gsSelecting,
    gsRowSizing,
    gsColSizing,
    gsRowMoving,
    gsColMoving
};

enum TScrollStyle : std::uint8_t {
    ssNone,
    ssHorizontal,
    ssVertical,
    ssBoth
};

// A rectangle of cells, inclusive on every side.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// A cell position, column first.
struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// The grid control's failures.
class EExtGridError : public cb::rtl::Exception {
public:
    using Exception::Exception;
};

}  // namespace cb::grid
