#include "charteditors/series/SeriesToolEditor.h"

#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartSeriesList.h"
#include "chart/series/SeriesContent.h"
#include "chart/tools/PlotCustomTool.h"
#include "charteditors/series/SeriesEditorKit.h"

namespace cb::charteditors {

using namespace cb::chart;

TSeriesToolEditor::TSeriesToolEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Series");
    TEditorGrid g(this);
    CBSeries = g.Combo("CBSeries", "&Series:", {});
    CBSeries->setMinimumWidth(145);
    g.Layout()->setRowStretch(1, 1);
    connect(CBSeries, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Filling() || !Tool() || i < 0) return;
        Tool()->SetSeries(static_cast<TChartSeries*>(CBSeries->itemData(i).value<void*>()));
    });
}

TPlotCustomToolSeries* TSeriesToolEditor::Tool() const {
    return Edited().As<TPlotCustomToolSeries>();
}

void TSeriesToolEditor::FormShow() {
    CBSeries->clear();
    TPlotCustomToolSeries* tool = Tool();
    if (!tool) return;
    std::vector<std::pair<std::string, TChartSeries*>> items;
    if (TCustomAxisPanel* chart = tool->ParentChart()) ListSeriesInStrings(items, chart->SeriesList(), true);
    CBSeries->setEnabled(!items.empty());
    CBSeries->addItem("(none)", QVariant::fromValue<void*>(nullptr));
    for (const auto& [title, series] : items)
        CBSeries->addItem(QString::fromStdString(title), QVariant::fromValue<void*>(series));
    const int at = CBSeries->findData(QVariant::fromValue<void*>(tool->Series()));
    CBSeries->setCurrentIndex(at < 0 ? 0 : at);
}

}  // namespace cb::charteditors
