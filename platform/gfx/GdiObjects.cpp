#include "platform/gfx/GdiObjects.h"

#include "platform/gfx/FontCache.h"
#include "platform/rtl/Property.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

#include <cmath>
#include <cstring>
#include <memory>
#include <tuple>
#include <unordered_map>

namespace cb::gfx {

// ---- TGraphicsObject -------------------------------------------------------

void TGraphicsObject::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPendingChange) {
        FPendingChange = false;
        Changed();
    }
}

void TGraphicsObject::Changed() {
    ++FRevision;
    if (FUpdateCount > 0) {
        FPendingChange = true;
        return;
    }
    if (FOwnerCanvas) FOwnerCanvas->onObjectChanged(*this);
    if (OnChange) OnChange(*this);
}

// ---- TPen ------------------------------------------------------------------

void TPen::SetColor(TColor c) {
    if (c != FSettings.Color) {
        FSettings.Color = c;
        Changed();
    }
}
void TPen::SetWidth(int w) {
    w = w < 0 ? 1 : w;
    if (w != FSettings.Width) {
        FSettings.Width = w;
        Changed();
    }
}
void TPen::SetStyle(TPenStyle s) {
    if (s != FSettings.Style) {
        FSettings.Style = s;
        Changed();
    }
}
void TPen::SetMode(TPenMode m) {
    if (m != FSettings.Mode) {
        FSettings.Mode = m;
        Changed();
    }
}
void TPen::SetEndStyle(TPenEndStyle e) {
    if (e != FSettings.EndStyle) {
        FSettings.EndStyle = e;
        Changed();
    }
}

void TPen::Assign(const TPen& s) {
    if (&s != this) cb::rtl::SetProperty(FSettings, s.FSettings, [this] { Changed(); });
}

// ---- TBrush ----------------------------------------------------------------

void TBrush::SetColor(TColor c) {
    const bool styleChange = FSettings.Style == bsClear && c != clNone;
    if (c == FSettings.Color && !styleChange) return;
    FSettings.Color = c;
    if (styleChange) FSettings.Style = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
    if (s != FSettings.Style) {
        FSettings.Style = s;
        Changed();
    }
}
void TBrush::SetBitmap(TBitmap* b) {
    if (b != FSettings.Bitmap) {
        FSettings.Bitmap = b;
        Changed();
    }
}

void TBrush::Assign(const TBrush& s) {
    if (&s != this) cb::rtl::SetProperty(FSettings, s.FSettings, [this] { Changed(); });
}

// ---- TFont -----------------------------------------------------------------

namespace {
std::string& defaultName() {
    static std::string n = "Tahoma";
    return n;
}
}  // namespace

void SetDefaultFontName(const std::string& name) {
    defaultName() = name;
}
const std::string& DefaultFontName() {
    return defaultName();
}

TFont::TFont() {
    FSettings.Name = defaultName();
}

int TFont::Size() const {
    // Points from pixels: -MulDiv(height, 72, ppi), rounded.
    const double pts = -double(FSettings.Height) * 72.0 / FSettings.PixelsPerInch;
    return int(std::lround(pts));
}

void TFont::SetSize(int points) {
    SetHeight(-int(std::lround(double(points) * FSettings.PixelsPerInch / 72.0)));
}

void TFont::SetName(const std::string& n) {
    if (n != FSettings.Name && !n.empty()) {
        FSettings.Name = n;
        Changed();
    }
}
void TFont::SetHeight(int h) {
    if (h != FSettings.Height) {
        FSettings.Height = h;
        Changed();
    }
}
void TFont::SetPixelsPerInch(int ppi) {
    if (ppi > 0 && ppi != FSettings.PixelsPerInch) {
        FSettings.PixelsPerInch = ppi;
        Changed();
    }
}
void TFont::SetStyle(TFontStyles s) {
    s &= 15;
    if (s != FSettings.Style) {
        FSettings.Style = s;
        Changed();
    }
}
void TFont::SetColor(TColor c) {
    if (c != FSettings.Color) {
        FSettings.Color = c;
        Changed();
    }
}
void TFont::SetOrientation(int t) {
    if (t != FSettings.Orientation) {
        FSettings.Orientation = t;
        Changed();
    }
}
void TFont::SetCharset(int cs) {
    if (cs != FSettings.Charset) {
        FSettings.Charset = cs;
        Changed();
    }
}
void TFont::SetPitch(TFontPitch p) {
    if (p != FSettings.Pitch) {
        FSettings.Pitch = p;
        Changed();
    }
}

void TFont::Assign(const TFont& s) {
    if (&s == this || FSettings == s.FSettings) return;
    // The cached face stays valid while what picks it is unchanged.
    const auto face = [](const TSettings& f) { return std::tie(f.Name, f.Height, f.Style, f.Pitch); };
    const TFontCacheEntry* keep = face(FSettings) == face(s.FSettings) ? FEntry : nullptr;
    FSettings = s.FSettings;
    Changed();
    FEntry = keep;
}

void TFont::Changed() {
    FEntry = nullptr;
    TGraphicsObject::Changed();
}

const TFontCacheEntry& TFont::CacheEntry() const {
    if (!FEntry) FEntry = &LookupFont(FSettings.Name, FSettings.Height, FSettings.Style, FSettings.Pitch);
    return *FEntry;
}

std::string TFont::ResolvedFamily() const {
    return QFontInfo(CacheEntry().font).family().toStdString();
}

// ---- font names and cache ------------------------------------------------

namespace {

struct Substitute {
    const char* name;
    const char* faces[4];
};
constexpr Substitute kSubstitutes[] = {
    {"arial", {"Liberation Sans", "Arimo", "DejaVu Sans", nullptr}},
    {"helvetica", {"Liberation Sans", "Arimo", "DejaVu Sans", nullptr}},
    {"ms sans serif", {"Liberation Sans", "DejaVu Sans", nullptr, nullptr}},
    {"microsoft sans serif", {"Liberation Sans", "DejaVu Sans", nullptr, nullptr}},
    {"ms shell dlg", {"Liberation Sans", "DejaVu Sans", nullptr, nullptr}},
    {"ms shell dlg 2", {"DejaVu Sans", "Liberation Sans", nullptr, nullptr}},
    {"tahoma", {"DejaVu Sans", "Liberation Sans", nullptr, nullptr}},
    {"verdana", {"DejaVu Sans", "Liberation Sans", nullptr, nullptr}},
    {"segoe ui", {"DejaVu Sans", "Liberation Sans", nullptr, nullptr}},
    {"times new roman", {"Liberation Serif", "Tinos", "DejaVu Serif", nullptr}},
    {"times", {"Liberation Serif", "DejaVu Serif", nullptr, nullptr}},
    {"ms serif", {"Liberation Serif", "DejaVu Serif", nullptr, nullptr}},
    {"georgia", {"DejaVu Serif", "Liberation Serif", nullptr, nullptr}},
    {"courier new", {"Liberation Mono", "Cousine", "DejaVu Sans Mono", nullptr}},
    {"courier", {"Liberation Mono", "DejaVu Sans Mono", nullptr, nullptr}},
    {"lucida console", {"DejaVu Sans Mono", "Liberation Mono", nullptr, nullptr}},
    {"arial narrow", {"Liberation Sans Narrow", "Liberation Sans", nullptr, nullptr}},
};

std::string lower(const std::string& s) {
    std::string r = s;
    for (auto& ch : r) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return r;
}

bool installed(const QString& family) {
    return QFontDatabase::hasFamily(family);
}

struct ResolvedNames {
    std::unordered_map<std::string, std::string> map;
};

ResolvedNames& resolvedNames() {
    static ResolvedNames r;
    return r;
}

struct FontKey {
    std::string family;
    int pixelSize;
    unsigned style;
    int pitch;
    bool operator==(const FontKey&) const = default;
};
struct FontKeyHash {
    size_t operator()(const FontKey& k) const {
        size_t h = std::hash<std::string>()(k.family);
        h ^= size_t(k.pixelSize) * 0x9E3779B97F4A7C15ull + (size_t(k.style) << 20) + (size_t(k.pitch) << 28);
        return h;
    }
};

void clearFontCaches();

std::unordered_map<FontKey, std::unique_ptr<TFontCacheEntry>, FontKeyHash>& cache() {
    static std::unordered_map<FontKey, std::unique_ptr<TFontCacheEntry>, FontKeyHash> c;
    static const bool cleanup = [] {
        // Qt fonts must go before the application object does.
        if (QCoreApplication::instance()) qAddPostRoutine(clearFontCaches);
        return true;
    }();
    (void)cleanup;
    return c;
}

// Cell heights (positive) are turned into em sizes once per family and size.
std::unordered_map<FontKey, int, FontKeyHash>& cellToEm() {
    static std::unordered_map<FontKey, int, FontKeyHash> c;
    return c;
}

void clearFontCaches() {
    cache().clear();
    cellToEm().clear();
}

const TFontCacheEntry& lookupEm(const std::string& family, int em, TFontStyles style, TFontPitch pitch) {
    if (em < 1) em = 1;
    if (em > 2000) em = 2000;
    FontKey key{family, em, style, int(pitch)};
    auto& c = cache();
    auto it = c.find(key);
    if (it != c.end()) return *it->second;
    QFont f(QString::fromStdString(family));
    f.setPixelSize(em);
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    f.setKerning(false);
    if (pitch == fpFixed) f.setFixedPitch(true);
    f.setStyleStrategy(QFont::PreferDefault);
    f.setHintingPreference(QFont::PreferFullHinting);
    auto entry = std::make_unique<TFontCacheEntry>(f);
    entry->family = family;
    const TFontCacheEntry& ref = *entry;
    c.emplace(std::move(key), std::move(entry));
    return ref;
}

}  // namespace

TFontCacheEntry::TFontCacheEntry(const QFont& f) : font(f), metrics(f) {
    tm.Ascent = metrics.ascent();
    tm.Descent = metrics.descent();
    tm.Height = tm.Ascent + tm.Descent;
    tm.InternalLeading = std::max(0, tm.Height - font.pixelSize());
    tm.ExternalLeading = std::max(0, metrics.leading());
    // Average width over the lower-case alphabet and space, as text layout
    // uses it for dialog units and tab stops.
    tm.AveCharWidth = (metrics.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyz")) + 13) / 26;
    tm.MaxCharWidth = metrics.maxWidth();
}

void TFontCacheEntry::loadTables() const {
    tablesLoaded = true;
    raw = QRawFont::fromFont(font);
    if (!raw.isValid()) return;
    QString all;
    for (int c = 0x20; c < 0x100; ++c) all += QChar(c);
    const QList<quint32> glyphs = raw.glyphIndexesForString(all);
    if (glyphs.size() != all.size()) return;
    const QList<QPointF> adv = raw.advancesForGlyphIndexes(glyphs);
    for (int i = 0; i < int(glyphs.size()); ++i) {
        glyphTable[size_t(0x20 + i)] = glyphs[i];
        advanceTable[size_t(0x20 + i)] = int(std::lround(adv[i].x()));
        if (glyphs[i] == 0) continue;
        const QRectF ink = raw.boundingRect(glyphs[i]);
        if (ink.isEmpty()) continue;
        reach.left = std::max(reach.left, int(std::ceil(-ink.left())));
        reach.right = std::max(reach.right, int(std::ceil(ink.right() - advanceTable[size_t(0x20 + i)])));
        reach.top = std::max(reach.top, int(std::ceil(-ink.top() - tm.Ascent)));
        reach.bottom = std::max(reach.bottom, int(std::ceil(ink.bottom() - tm.Descent)));
    }
}

template <class Units, class TableIndex>
bool TFontCacheEntry::layoutUnits(const Units& units, TableIndex index, int extra, std::vector<quint32>* glyphs,
                                  std::vector<QPointF>* positions, int& width) const {
    if (!tablesLoaded) loadTables();
    if (!raw.isValid()) return false;
    if (glyphs) {
        glyphs->clear();
        positions->clear();
    }
    int x = 0;
    for (const auto unit : units) {
        const int u = index(unit);
        if (u < 0) return false;
        const quint32 g = glyphTable[size_t(u)];
        if (g == 0) return false;
        if (glyphs) {
            glyphs->push_back(g);
            positions->emplace_back(x, 0);
        }
        x += advanceTable[size_t(u)] + extra;
    }
    width = x;
    return true;
}

bool TFontCacheEntry::SimpleLayout(std::string_view s, std::vector<quint32>* glyphs, std::vector<QPointF>* positions,
                                   int& width) const {
    const auto printableAscii = [](char ch) {
        const auto u = static_cast<unsigned char>(ch);
        return u < 0x20 || u >= 0x7F ? -1 : int(u);
    };
    return layoutUnits(s, printableAscii, 0, glyphs, positions, width);
}

bool TFontCacheEntry::SimpleLayout(const QString& s, int extra, std::vector<quint32>* glyphs,
                                   std::vector<QPointF>* positions, int& width) const {
    const auto printableLatin1 = [](QChar ch) {
        const char16_t u = ch.unicode();
        return u < 0x20 || u >= 0x100 || (u >= 0x7F && u < 0xA0) ? -1 : int(u);
    };
    return layoutUnits(s, printableLatin1, extra, glyphs, positions, width);
}

std::string ResolveFontFamily(const std::string& name) {
    auto& names = resolvedNames().map;
    auto it = names.find(name);
    if (it != names.end()) return it->second;
    std::string result = name;
    if (!installed(QString::fromStdString(name))) {
        const std::string key = lower(name);
        bool found = false;
        for (const auto& s : kSubstitutes) {
            if (key != s.name) continue;
            for (const char* face : s.faces) {
                if (face && installed(QString::fromLatin1(face))) {
                    result = face;
                    found = true;
                    break;
                }
            }
            break;
        }
        if (!found) {
            // Unknown face: let fontconfig pick its sans-serif substitute.
            for (const char* face : {"Liberation Sans", "DejaVu Sans"})
                if (installed(QString::fromLatin1(face))) {
                    result = face;
                    break;
                }
        }
    }
    names.emplace(name, result);
    return result;
}

const TFontCacheEntry& LookupFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch) {
    const std::string family = ResolveFontFamily(name.empty() ? DefaultFontName() : name);
    if (height <= 0) return lookupEm(family, height == 0 ? 13 : -height, style, pitch);
    // Positive: the height of the character cell.
    FontKey key{family, height, style, int(pitch)};
    auto& conv = cellToEm();
    auto it = conv.find(key);
    int em;
    if (it != conv.end()) {
        em = it->second;
    } else {
        const TFontCacheEntry& probe = lookupEm(family, height, style, pitch);
        const int cell = std::max(1, probe.tm.Height);
        em = std::max(1, int(std::lround(double(height) * height / cell)));
        // Settle on the largest em whose cell does not exceed the height.
        for (int i = 0; i < 4 && lookupEm(family, em, style, pitch).tm.Height > height && em > 1; ++i) --em;
        conv.emplace(key, em);
    }
    return lookupEm(family, em, style, pitch);
}

}  // namespace cb::gfx
