#include "charteditors/common/CursorNames.h"

#include "chart/core/PlotResources.h"

#include <QComboBox>
#include <QCursor>
#include <QSignalBlocker>

#include <utility>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

struct TCursorIdent {
    int Cursor;
    const char* Ident;
};

// The toolkit's table, in its order.
constexpr TCursorIdent Toolkit[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

constexpr const char* PlotHandIdent = "crPlotHand";

}  // namespace

std::optional<int> CursorFromIdent(const std::string& ident) {
    if (ident == PlotHandIdent) return crPlotHand;
    for (const TCursorIdent& c : Toolkit)
        if (ident == c.Ident) return c.Cursor;
    return std::nullopt;
}

std::optional<std::string> CursorToIdent(int cursor) {
    if (cursor == crPlotHand) return std::string(PlotHandIdent);
    for (const TCursorIdent& c : Toolkit)
        if (cursor == c.Cursor) return std::string(c.Ident);
    return std::nullopt;
}

int CursorFromName(int defaultCursor, const std::string& name) {
    return CursorFromIdent("cr" + name).value_or(defaultCursor);
}

std::string StripCursorPrefix(const std::string& ident) {
    return ident.rfind("cr", 0) == 0 ? ident.substr(2) : ident;
}

const std::vector<std::string>& CursorIdents() {
    static const std::vector<std::string> idents = [] {
        std::vector<std::string> all;
        for (const TCursorIdent& c : Toolkit) all.emplace_back(c.Ident);
        all.emplace_back(PlotHandIdent);
        return all;
    }();
    return idents;
}

void FillCursorCombo(QComboBox* combo, std::optional<int> cursor) {
    const QSignalBlocker quiet(combo);
    combo->setUpdatesEnabled(false);
    combo->clear();
    for (const std::string& ident : CursorIdents()) combo->addItem(QString::fromStdString(StripCursorPrefix(ident)));
    // A combo marked sorted (the series tab's) lists them by name.
    if (combo->property("sorted").toBool()) combo->model()->sort(0);
    const std::optional<std::string> ident = cursor ? CursorToIdent(*cursor) : std::nullopt;
    combo->setCurrentIndex(ident ? combo->findText(QString::fromStdString(StripCursorPrefix(*ident))) : -1);
    combo->setUpdatesEnabled(true);
}

std::optional<int> CursorNumberOf(const QCursor& cursor) {
    if (cursor.shape() == Qt::BitmapCursor) {
        const QCursor hand = ScreenCursor(crPlotHand);
        if (hand.shape() == Qt::BitmapCursor && hand.pixmap().cacheKey() == cursor.pixmap().cacheKey())
            return crPlotHand;
        return std::nullopt;
    }
    for (const TCursorIdent& c : Toolkit)
        if (ScreenCursor(c.Cursor).shape() == cursor.shape()) return c.Cursor;
    return std::nullopt;
}

}  // namespace cb::charteditors
