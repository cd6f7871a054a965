#include "charteditors/series/CustomSeriesEditor.h"

#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/line/LineSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/series/SeriesTab.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/ShadowEditor.h"

namespace cb::charteditors {

using namespace cb::chart;

TCustomSeriesEditor::TCustomSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Line");
    TEditorGrid g(this);
    BLineColor = g.ColorButton("BLineColor", "&Color...");
    BLineBorder = g.PenButton("BLineBorder", "&Border...");
    CBColorEach = g.Check("CBColorEach", "Color &Each");
    CBStack = g.Combo("CBStack", "S&tack:", {"None", "Overlap", "Stack", "Stack 100%"});
    CBClick = g.Check("CBClick", "Clic&kable");
    CheckBox1 = g.Check("CheckBox1", "Color Each line");
    CBStairs = g.Check("CBStairs", "&Stairs");
    CBInvStairs = g.Check("CBInvStairs", "&Inverted");
    CBDark3D = g.Check("CBDark3D", "&Dark 3D");
    EHeight = g.Spin("EHeight", "&Height 3D:", 0, 100);
    LHeight = g.LastLabel();
    BOutline = g.PenButton("BOutline", "&Outline...");
    BBrush = g.Button("BBrush", "&Pattern...", [this] {
        if (TCustomSeries* s = Series()) EditChartBrush(this, TEditedObject::Part(&s->Brush(), s));
    });
    Button1 = g.Button("Button1", "S&hadow...", [this] {
        TCustomSeries* s = Series();
        if (!s) return;
        auto editor = CreateEditorDialog<TPlotShadowEditor>(this);
        editor->Bind(TEditedObject::Part(&s->Shadow(), s));
        // A line's shadow is drawn solid and sharp.
        editor->CBSmooth->hide();
        editor->EShadowTransp->hide();
        if (QWidget* label = LabelFor(editor.get(), editor->EShadowTransp)) label->hide();
        editor->exec();
    });

    BLineColor->OnClick = [this] { BLineBorder->update(); };
    BLineBorder->OnClick = [this] {
        TCustomSeries* s = Series();
        if (!s || !s->ParentChart() || s->ParentChart()->View3D()) return;
        s->SetSeriesColor(s->LinePen().Color());
        BLineColor->update();
    };
    auto onCheck = [this](QCheckBox* box, std::function<void(TCustomSeries&, bool)> write) {
        connect(box, &QCheckBox::toggled, this, [this, write](bool on) {
            if (!Filling() && Series()) write(*Series(), on);
        });
    };
    onCheck(CBColorEach, [](TCustomSeries& s, bool on) { s.SetColorEachPoint(on); });
    onCheck(CBClick, [](TCustomSeries& s, bool on) { s.SetClickableLine(on); });
    onCheck(CheckBox1, [](TCustomSeries& s, bool on) { s.SetColorEachLine(on); });
    onCheck(CBStairs, [this](TCustomSeries& s, bool on) {
        s.SetStairs(on);
        CBInvStairs->setEnabled(on);
    });
    onCheck(CBInvStairs, [](TCustomSeries& s, bool on) { s.SetInvertedStairs(on); });
    onCheck(CBDark3D, [](TCustomSeries& s, bool on) { s.SetDark3D(on); });
    connect(CBStack, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!Filling() && Series() && i >= 0) Series()->SetStacked(TCustomSeriesStack(i));
    });
    connect(EHeight, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Filling() && isVisible() && Series()) Series()->SetLineHeight(v);
    });
}

TCustomSeries* TCustomSeriesEditor::Series() const {
    return Edited().As<TCustomSeries>();
}

void TCustomSeriesEditor::FormShow() {
    TCustomSeries* s = Series();
    if (!s) return;
    BLineColor->LinkColor(
        s, [s] { return s->SeriesColor(); }, [s](TColor c) { s->SetSeriesColor(c); });
    BLineBorder->LinkPen(TEditedObject::Part(&s->LinePen(), s));
    CBColorEach->setChecked(s->ColorEachPoint());
    CBStack->setCurrentIndex(int(s->Stacked()));
    CBClick->setChecked(s->ClickableLine());
    CheckBox1->setChecked(s->ColorEachLine());
    CBStairs->setChecked(s->Stairs());
    CBInvStairs->setChecked(s->InvertedStairs());
    CBInvStairs->setEnabled(s->Stairs());
    CBDark3D->setChecked(s->Dark3D());
    EHeight->setValue(s->LineHeight());
    BOutline->LinkPen(TEditedObject::Part<TChartPen>(&s->OutLine(), s));
    // Stairs, 3D darkening, height and outline belong to line series proper.
    const bool line = dynamic_cast<TLineSeries*>(s) != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{CBStairs, CBInvStairs, CBDark3D, EHeight, BOutline, BBrush})
        w->setVisible(line);
    LHeight->setVisible(line);
    if (!FPagesAdded) FPagesAdded = AddPointerPage(this, &s->Pointer(), s, "Point") != nullptr;
}

}  // namespace cb::charteditors
