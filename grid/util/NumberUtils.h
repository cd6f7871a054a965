#pragma once
// Numbers typed in cells (with the separators of the format settings), and
// limits. Separators come from the process-wide format settings unless a set
// is passed.
#include "grid/util/GridTypes.h"

#include "platform/rtl/FormatSettings.h"

#include <string>
#include <string_view>

namespace cb::grid {

int ClampToLimits(int value, int lower, int upper);
int MaxOfTwo(int a, int b);
int MinOfTwo(int a, int b);
bool CellInGridRect(const TGridRect& rect, int col, int row);
std::string NormaliseNumberText(std::string_view text, const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());
enum TNumberTextKind : int {
    ntkInteger = 0,
    ntkFloat = 1,
    ntkNotANumber = 2
};
TNumberTextKind NumberTextKind(std::string_view text, const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());

}  // namespace cb::grid
