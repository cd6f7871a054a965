#pragma once
// Colours of the application's windows (not the pivot grid's colours, which
// come from TGridDisplayTheme). The creator keeps it alive; forms only look.
#include "app/core/theme/Color.h"

namespace cb::app {

struct TTheme {
    TColor BackgroundColor = 0xEFEFEF;
    TColor GridBackgroundColor = 0xEFEFEF;
    TColor ExtraColor1 = 0xEFEFEF;
    TColor ExtraColor2 = 0xEFEFEF;
    TColor TextColor = 0x000000;
    TColor AccentColor = 0xDCDCDC;
    TColor ToolbarColor = 0xE2E2E2;
};

}  // namespace cb::app
