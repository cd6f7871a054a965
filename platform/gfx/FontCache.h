#pragma once
// Private: the shared table of Qt fonts behind TFont. One entry per distinct
// (family, pixel size, style) so thousands of cells reuse a handful of fonts.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiObjects.h"

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include <array>
#include <vector>

namespace cb::gfx {

struct TFontCacheEntry {
    QFont font;
    QFontMetrics metrics;
    TTextMetric tm;
    std::string family;
    TFontCacheEntry(const QFont& f);

    // Fast text for Latin-1 strings: glyphs and whole-pixel advances looked
    // up in tables instead of shaping. Answers false when the string needs
    // the full text engine (other scripts, glyphs the face lacks).
    bool SimpleLayout(const QString& s, int extra, std::vector<quint32>* glyphs, std::vector<QPointF>* positions,
                      int& width) const;
    const QRawFont& RawFont() const { return raw; }

private:
    void loadTables() const;
    mutable bool tablesLoaded = false;
    mutable QRawFont raw;
    mutable std::array<quint32, 256> glyphTable{};
    mutable std::array<int, 256> advanceTable{};
};

// The entry for a family (as given), a height as TFont holds it and a style.
const TFontCacheEntry& LookupFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch);

} // namespace cb::gfx
