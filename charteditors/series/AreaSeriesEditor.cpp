#include "chart/series/line/AreaSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/series/MoreSeriesEditors.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/series/SeriesTab.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/GradientEditor.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace cb::charteditors {

using namespace cb::chart;

TAreaSeriesEditor::TAreaSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Area");
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox("&Multiple Areas:", this);
    auto* boxLayout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(this);
    const char* names[3] = {"None", "Stacked", "Stacked 100%"};
    for (int i = 0; i < 3; ++i) {
        RGMultiArea[i] = new QRadioButton(names[i], box);
        group->addButton(RGMultiArea[i], i);
        boxLayout->addWidget(RGMultiArea[i]);
    }
    layout->addWidget(box);
    auto* rest = new QWidget(this);
    TEditorGrid g(rest);
    CBColorEach = g.Check("CBColorEach", "Color &Each");
    BAreaColor = g.ColorButton("BAreaColor", "&Color...");
    CBStairs = g.Check("CBStairs", "&Stairs");
    CBInvStairs = g.Check("CBInvStairs", "Inverted");
    CBUseOrigin = g.Check("CBUseOrigin", "&Use Origin");
    EOrigin = g.Spin("EOrigin", "&Origin:", -30000, 30000);
    BAreaLinesPen = g.PenButton("BAreaLinesPen", "Area &Lines...");
    BAreaLinePen = g.PenButton("BAreaLinePen", "&Border...");
    BPattern = g.Button("BPattern", "&Pattern...", [this] {
        if (TAreaSeries* s = Series()) EditChartBrush(this, TEditedObject::Part(&s->AreaChartBrush(), s));
    });
    Button1 = g.Button("Button1", "&Top...", [this] {
        if (TAreaSeries* s = Series()) EditChartBrush(this, TEditedObject::Part(&s->Brush(), s));
    });
    ETransp = g.Spin("ETransp", "Tra&nsparency:", 0, 100);
    layout->addWidget(rest);

    auto writing = [this] { return !Filling() && Series(); };
    connect(group, &QButtonGroup::idToggled, this, [this, writing](int id, bool on) {
        if (on && writing()) Series()->SetMultiArea(TMultiArea(id));
    });
    connect(CBColorEach, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (!writing()) return;
        Series()->SetColorEachPoint(on);
        BAreaColor->setEnabled(!on);
    });
    connect(CBStairs, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (!writing()) return;
        Series()->SetStairs(on);
        CBInvStairs->setEnabled(on);
    });
    connect(CBInvStairs, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (writing()) Series()->SetInvertedStairs(on);
    });
    connect(CBUseOrigin, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (!writing()) return;
        Series()->SetUseYOrigin(on);
        EOrigin->setEnabled(on);
    });
    connect(EOrigin, &QSpinBox::valueChanged, this, [this, writing](int v) {
        if (writing()) Series()->SetYOrigin(v);
    });
    connect(ETransp, &QSpinBox::valueChanged, this, [this, writing](int v) {
        if (writing() && isVisible()) Series()->SetTransparency(v);
    });
}

TAreaSeries* TAreaSeriesEditor::Series() const {
    return Edited().As<TAreaSeries>();
}

void TAreaSeriesEditor::FormShow() {
    TAreaSeries* s = Series();
    if (!s) return;
    RGMultiArea[int(s->MultiArea())]->setChecked(true);
    CBColorEach->setChecked(s->ColorEachPoint());
    BAreaColor->setEnabled(!s->ColorEachPoint());
    // The swatch shows the area colour, or the series colour by default.
    BAreaColor->LinkColor(
        s, [s] { return s->AreaColor() == clDefault ? s->SeriesColor() : s->AreaColor(); },
        [s](TColor c) { s->SetSeriesColor(c); });
    CBStairs->setChecked(s->Stairs());
    CBInvStairs->setChecked(s->InvertedStairs());
    CBInvStairs->setEnabled(s->Stairs());
    CBUseOrigin->setChecked(s->UseYOrigin());
    EOrigin->setValue(int(std::lround(s->YOrigin())));
    EOrigin->setEnabled(s->UseYOrigin());
    BAreaLinesPen->LinkPen(TEditedObject::Part(&s->AreaLinesPen(), s));
    BAreaLinePen->LinkPen(TEditedObject::Part(&s->LinePen(), s));
    ETransp->setValue(s->GetTransparency());
    if (!FPagesAdded && AddPointerPage(this, &s->Pointer(), s, "Point")) {
        FPagesAdded = true;
        if (auto* page =
                AddSeriesPage<TPlotGradientEditor>(this, 2, TEditedObject::Part(&s->Gradient(), s), "Gradient")) {
            page->BOk->hide();
            page->BCancel->hide();
        }
    }
}

}  // namespace cb::charteditors
