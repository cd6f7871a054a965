// Cursor names: the chart's hand beside the toolkit's names, names that
// no table holds, the combo fill, and the chart editor's general page
// keeping the chosen cursor also after the mouse left the chart.
#include "EditorTestSupport.h"
#include "UserActions.h"

#include "chart/component/CustomChart.h"
#include "chart/core/PlotResources.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/common/CursorNames.h"
#include "charteditors/dialog/GeneralPage.h"

#include <QComboBox>
#include <QEvent>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

TEST(CursorNames, IdentifiersNamesAndTheChartHand) {
    const struct {
        const char* ident;
        std::optional<int> cursor;
    } idents[] = {{"crPlotHand", crPlotHand},   {"crDefault", crDefault},
                  {"crCross", crCross},         {"crSizeAll", crSizeAll},
                  {"crHandPoint", crHandPoint}, {"PlotHand", std::nullopt},
                  {"crplothand", std::nullopt}, {"", std::nullopt}};
    for (const auto& c : idents) {
        EXPECT_EQ(CursorFromIdent(c.ident), c.cursor) << c.ident;
        if (c.cursor) {
            EXPECT_EQ(CursorToIdent(*c.cursor), std::string(c.ident)) << c.ident;
        }
    }
    EXPECT_EQ(CursorToIdent(12345), std::nullopt);
    EXPECT_EQ(CursorFromName(crArrow, "PlotHand"), crPlotHand);
    EXPECT_EQ(CursorFromName(crArrow, "Cross"), crCross);
    EXPECT_EQ(CursorFromName(7, "NoSuchCursor"), 7);
    EXPECT_EQ(CursorFromName(7, ""), 7);
    EXPECT_EQ(StripCursorPrefix("crPlotHand"), "PlotHand");
    EXPECT_EQ(StripCursorPrefix("Hand"), "Hand");
}

TEST(CursorNames, ComboListsEveryNameAndSelectsTheCursors) {
    QComboBox combo;
    FillCursorCombo(&combo, crPlotHand);
    ASSERT_EQ(combo.count(), int(CursorIdents().size()));
    EXPECT_EQ(combo.itemText(combo.count() - 1), "PlotHand");  // after the toolkit's, unsorted
    EXPECT_EQ(combo.currentText(), "PlotHand");
    FillCursorCombo(&combo, crIBeam);
    EXPECT_EQ(combo.currentText(), "IBeam");
    FillCursorCombo(&combo, 12345);
    EXPECT_EQ(combo.currentIndex(), -1);
    FillCursorCombo(&combo, std::nullopt);
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST(CursorNames, GeneralPageSetsTheChartCursorAndTheOneItReturnsTo) {
    RegisterStandardEditors();
    auto chart = std::make_unique<TChart>();
    chart->resize(300, 200);
    auto page = std::make_unique<TFormPlotGeneral>();
    page->BindObject(TEditedObject::Part(static_cast<TCustomChart*>(chart.get()), static_cast<QObject*>(chart.get())));
    page->show();
    EXPECT_EQ(page->CBCursor->currentText(), "Default");
    cbtest::Choose(page->CBCursor, page->CBCursor->findText("Cross"));
    EXPECT_EQ(chart->cursor().shape(), Qt::CrossCursor);
    // The mouse leaving the chart keeps the choice.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(chart.get(), &leave);
    EXPECT_EQ(chart->cursor().shape(), Qt::CrossCursor);
    cbtest::Choose(page->CBCursor, page->CBCursor->findText("PlotHand"));
    EXPECT_EQ(CursorNumberOf(chart->cursor()), crPlotHand);
    // Shown again: the chart's cursor is selected.
    page->hide();
    page->show();
    EXPECT_EQ(page->CBCursor->currentText(), "PlotHand");
}

}  // namespace
