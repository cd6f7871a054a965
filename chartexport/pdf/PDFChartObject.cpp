#include "chartexport/pdf/PDFChartObject.h"

#include "platform/gfx/GdiObjects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace cb::chartexport {

std::string PDFFontNameOf(const cb::gfx::TFont& font) {
    std::string name = font.Name();
    if (font.Style() & cb::gfx::fsBold) name += ",Bold";
    if (font.Style() & cb::gfx::fsItalic) name += ",Italic";
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    return name;
}

std::unique_ptr<TPlotPDFFontListEntry> MeasurePDFFont(const cb::gfx::TFont& font) {
    auto e = std::make_unique<TPlotPDFFontListEntry>();
    e->PDFFontName = PDFFontNameOf(font);
    QFont qf(QString::fromStdString(font.Name()));
    qf.setPixelSize(1000);
    qf.setKerning(false);
    const QFontMetricsF m(qf);
    for (int c = 0; c < 256; ++c) {
        const char16_t u = char16_t(cb::rtl::WinAnsiChar(static_cast<unsigned char>(c)));
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
