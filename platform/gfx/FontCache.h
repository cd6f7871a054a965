#pragma once
// Private: the shared table of Qt fonts behind TFont. One entry per distinct
// (family, pixel size, style) so thousands of cells reuse a handful of fonts.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiObjects.h"

#include <QFont>
#include <QFontMetrics>

namespace cb::gfx {

struct TFontCacheEntry {
    QFont font;
    QFontMetrics metrics;
    TTextMetric tm;
    std::string family;
    TFontCacheEntry(const QFont& f);
};

// The entry for a family (as given), a height as TFont holds it and a style.
const TFontCacheEntry& LookupFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch);

} // namespace cb::gfx
