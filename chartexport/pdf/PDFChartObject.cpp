#include "chartexport/pdf/PDFChartObject.h"

#include "platform/gfx/GdiObjects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace cb::chartexport {

std::string PDFFixed(double value, int decimals) {
    if (!std::isfinite(value)) value = 0;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string s(buf, res.ptr);
    if (s.size() > 1 && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string PDFFontNameOf(const cb::gfx::TFont& font) {
    std::string name = font.Name();
    if (font.Style() & cb::gfx::fsBold) name += ",Bold";
    if (font.Style() & cb::gfx::fsItalic) name += ",Italic";
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    return name;
}

namespace {
// Unicode of the WinAnsi codes 128..159 (0: none).
constexpr char16_t kWinAnsi80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::unique_ptr<TPlotPDFFontListEntry> MeasurePDFFont(const cb::gfx::TFont& font) {
    auto e = std::make_unique<TPlotPDFFontListEntry>();
    e->PDFFontName = PDFFontNameOf(font);
    QFont qf(QString::fromStdString(font.Name()));
    qf.setPixelSize(1000);
    qf.setKerning(false);
    const QFontMetricsF m(qf);
    for (int c = 0; c < 256; ++c) {
        const char16_t u = c >= 128 && c < 160 ? kWinAnsi80[c - 128] : char16_t(c);
        e->Widths[std::size_t(c)] = u == 0 || c < 32 ? 0 : int(std::lround(m.horizontalAdvance(QChar(u))));
    }
    e->Ascent = int(std::lround(m.ascent()));
    e->Descent = -int(std::lround(m.descent()));
    e->CapHeight = int(std::lround(m.capHeight()));
    e->MaxWidth = int(std::lround(m.maxWidth()));
    e->AvgWidth = int(std::lround(m.averageCharWidth()));
    const QRectF box = QRawFont::fromFont(qf).boundingRect(QRawFont::fromFont(qf).glyphIndexesForString("W").value(0));
    e->BoxLeft = std::min(0, int(std::floor(box.left())));
    e->BoxRight = std::max(e->MaxWidth, int(std::ceil(box.right())));
    e->BoxTop = e->Ascent;
    e->BoxBottom = e->Descent;
    return e;
}

int TPlotPDFFontList::Find(const cb::gfx::TFont& font) const {
    const std::string name = PDFFontNameOf(font);
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->PDFFontName == name) return int(i);
    return -1;
}

int TPlotPDFFontList::Add(const cb::gfx::TFont& font) {
    FItems.push_back(MeasurePDFFont(font));
    return int(FItems.size()) - 1;
}

}  // namespace cb::chartexport
