#include "chart/series/fastline/FastLineSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/PenDialog.h"
#include "charteditors/series/MoreSeriesEditors.h"
#include "charteditors/series/SeriesEditorKit.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

TFastLineSeriesEditor::TFastLineSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Fast Line");
    auto* layout = new QVBoxLayout(this);
    PenPart = new TPenDialog(this);
    PenPart->setWindowFlags(Qt::Widget);
    PenPart->BOk->hide();
    PenPart->BCancel->hide();
    layout->addWidget(PenPart);
    auto* rest = new QWidget(this);
    TEditorGrid g(rest);
    CBDrawAll = g.Check("CBDrawAll", "Draw &All");
    auto* stair = new QGroupBox("Line Mode:", rest);
    auto* stairLayout = new QVBoxLayout(stair);
    CBStairs = new QCheckBox("&Stairs", stair);
    CBStairs->setObjectName("CBStairs");
    CBInvStairs = new QCheckBox("&Inverted", stair);
    CBInvStairs->setObjectName("CBInvStairs");
    stairLayout->addWidget(CBStairs);
    stairLayout->addWidget(CBInvStairs);
    g.Place(stair, nullptr);
    CBNulls = g.Check("CBNulls", "&Ignore Nulls");
    layout->addWidget(rest);

    auto check = [this](QCheckBox* box, void (TFastLineSeries::*set)(bool)) {
        connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
            if (!Filling() && Series()) (Series()->*set)(on);
        });
    };
    check(CBDrawAll, &TFastLineSeries::SetDrawAllPoints);
    check(CBStairs, &TFastLineSeries::SetStairs);
    check(CBInvStairs, &TFastLineSeries::SetInvertedStairs);
    check(CBNulls, &TFastLineSeries::SetIgnoreNulls);
    connect(CBStairs, &QCheckBox::toggled, CBInvStairs, &QWidget::setEnabled);
    // The line's colour is the series colour.
    PenPart->BColor->OnClick = [this, penColorClick = PenPart->BColor->OnClick] {
        if (penColorClick) penColorClick();
        if (TFastLineSeries* s = Series()) s->SetSeriesColor(s->LinePen().Color());
    };
}

TFastLineSeries* TFastLineSeriesEditor::Series() const { return Edited().As<TFastLineSeries>(); }

void TFastLineSeriesEditor::FormShow() {
    TFastLineSeries* s = Series();
    if (!s) return;
    CBDrawAll->setChecked(s->DrawAllPoints());
    CBStairs->setChecked(s->Stairs());
    CBInvStairs->setChecked(s->InvertedStairs());
    CBInvStairs->setEnabled(s->Stairs());
    CBNulls->setChecked(s->IgnoreNulls());
    PenPart->BindObject(TEditedObject::Part(&s->LinePen(), s));
    PenPart->show();
}

}  // namespace cb::charteditors
