#pragma once
// Private: the shared table of Qt fonts behind TFont. One entry per distinct
// (family, pixel size, style) so thousands of cells reuse a handful of fonts.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiObjects.h"

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include <array>
#include <string_view>
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
    // The same for printable ASCII bytes (0x20-0x7E), without a QString.
    bool SimpleLayout(std::string_view ascii, std::vector<quint32>* glyphs, std::vector<QPointF>* positions,
                      int& width) const;
    const QRawFont& RawFont() const { return raw; }
    // How far the ink of any table glyph reaches past its pen box: left of
    // the origin, right of the advance, above the ascent and below the
    // descent (pixels, never negative). Valid after a successful layout.
    struct InkReach {
        int left = 0, right = 0, top = 0, bottom = 0;
    };
    const InkReach& Reach() const { return reach; }

private:
    void loadTables() const;
    // Both layouts: index maps a code unit to its table slot, or -1 when
    // the tables cannot show it.
    template <class Units, class TableIndex>
    bool layoutUnits(const Units& units, TableIndex index, int extra, std::vector<quint32>* glyphs,
                     std::vector<QPointF>* positions, int& width) const;
    mutable bool tablesLoaded = false;
    mutable QRawFont raw;
    mutable std::array<quint32, 256> glyphTable{};
    mutable std::array<int, 256> advanceTable{};
    mutable InkReach reach;
};

// The entry for a family (as given), a height as TFont holds it and a style.
const TFontCacheEntry& LookupFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch);

}  // namespace cb::gfx
