#include "charteditors/dialog/ExtraLegendEditor.h"

#include "chart/component/ExtraLegendTool.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/dialog/LegendPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

namespace cb::charteditors {

using namespace cb::chart;

TExtraLegendEditor::TExtraLegendEditor(QWidget* owner) : TSeriesToolEditor(owner) {
    Button1 = new QPushButton("&Edit Legend...", this);
    Button1->setObjectName("Button1");
    Button1->setFixedSize(141, 25);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->addWidget(Button1, 1, 1, Qt::AlignTop | Qt::AlignLeft);
    setTabOrder(Button1, CBSeries);
    connect(Button1, &QPushButton::clicked, this, [this] { EditLegend(); });
}

TExtraLegendTool* TExtraLegendEditor::ExtraLegend() const {
    return Edited().As<TExtraLegendTool>();
}

void TExtraLegendEditor::EditLegend() {
    TExtraLegendTool* tool = ExtraLegend();
    if (!tool) return;
    auto legend = CreateEditorDialog<TFormPlotLegend>(this);
    legend->BindLegend(TEditedObject::Part(&tool->Legend(), static_cast<TCustomChartElement*>(tool)));
    if (OnLegendDialog) OnLegendDialog(*legend);
    legend->exec();
}

}  // namespace cb::charteditors
