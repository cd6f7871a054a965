// The Gantt, arrow and bubble series editors.
#include "chart/series/arrow/ArrowSeries.h"
#include "chart/series/bubble/BubbleSeries.h"
#include "chart/series/gantt/GanttSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/series/MoreSeriesEditors.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/series/SeriesTab.h"
#include "charteditors/style/BrushDialog.h"

namespace cb::charteditors {

using namespace cb::chart;

// --- Gantt ---

TGanttSeriesEditor::TGanttSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Gantt");
    TEditorGrid g(this);
    SEPointVertSize = g.Spin("SEPointVertSize", "&Height:", 1, 1000);
    Edit1 = g.Spin("Edit1", "&Transparency:", 0, 100);
    BConnLines = g.PenButton("BConnLines", "Co&nnecting Lines...");
    BColor = g.ColorButton("BColor", "&Color...");
    CBColorEach = g.Check("CBColorEach", "Color &Each");
    auto writing = [this] { return !Filling() && isVisible() && Series(); };
    connect(SEPointVertSize, &QSpinBox::valueChanged, this, [this, writing](int v) {
        if (writing()) Series()->Pointer().SetVertSize(v);
    });
    connect(Edit1, &QSpinBox::valueChanged, this, [this, writing](int v) {
        if (writing()) Series()->SetTransparency(v);
    });
    connect(CBColorEach, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (!writing()) return;
        Series()->SetColorEachPoint(on);
        BColor->setEnabled(!on);
    });
}

TGanttSeries* TGanttSeriesEditor::Series() const {
    return Edited().As<TGanttSeries>();
}

void TGanttSeriesEditor::FormShow() {
    TGanttSeries* s = Series();
    if (!s) return;
    SEPointVertSize->setValue(s->Pointer().VertSize());
    Edit1->setValue(s->GetTransparency());
    BConnLines->LinkPen(TEditedObject::Part(&s->ConnectingPen(), s));
    BColor->LinkColor(
        s, [s] { return s->SeriesColor(); }, [s](TColor c) { s->SetSeriesColor(c); });
    CBColorEach->setChecked(s->ColorEachPoint());
    BColor->setEnabled(!s->ColorEachPoint());
    if (!FPagesAdded)
        if (TSeriesPointerEditor* page = AddPointerPage(this, &s->Pointer(), s, "Gantt")) {
            page->HideSizeControls();
            FPagesAdded = true;
        }
}

// --- arrow ---

TArrowSeriesEditor::TArrowSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Arrow");
    TEditorGrid g(this);
    SEArrowWidth = g.Spin("SEArrowWidth", "&Width:", 1, 100);
    SEArrowHeight = g.Spin("SEArrowHeight", "&Height:", 1, 100);
    BPen = g.PenButton("BPen", "&Border...");
    BArrowColor = g.ColorButton("BArrowColor", "&Color...");
    BBrush = g.Button("BBrush", "&Pattern...", [this] {
        if (TArrowSeries* s = Series()) EditChartBrush(this, TEditedObject::Part(&s->Pointer().Brush(), s));
    });
    CBColorEach = g.Check("CBColorEach", "Color &Each");
    auto writing = [this] { return !Filling() && isVisible() && Series(); };
    connect(SEArrowWidth, &QSpinBox::valueChanged, this, [this, writing](int v) {
        if (writing()) Series()->SetArrowWidth(v);
    });
    connect(SEArrowHeight, &QSpinBox::valueChanged, this, [this, writing](int v) {
        if (writing()) Series()->SetArrowHeight(v);
    });
    // Colour each point: the pointer takes the default colour.
    connect(CBColorEach, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (!writing()) return;
        Series()->SetColorEachPoint(on);
        if (on) Series()->Pointer().SetBrushColor(clDefault);
        BArrowColor->setEnabled(!on);
    });
}

TArrowSeries* TArrowSeriesEditor::Series() const {
    return Edited().As<TArrowSeries>();
}

void TArrowSeriesEditor::FormShow() {
    TArrowSeries* s = Series();
    if (!s) return;
    SEArrowWidth->setValue(s->ArrowWidth());
    SEArrowHeight->setValue(s->ArrowHeight());
    BPen->LinkPen(TEditedObject::Part(&s->Pointer().Pen(), s));
    BArrowColor->LinkColor(
        s, [s] { return s->SeriesColor(); }, [s](TColor c) { s->SetSeriesColor(c); });
    CBColorEach->setChecked(s->ColorEachPoint());
    BArrowColor->setEnabled(!s->ColorEachPoint());
}

// --- bubble ---

TBubbleSeriesEditor::TBubbleSeriesEditor(QWidget* owner) : TSeriesPointerEditor(owner) {
    setWindowTitle("Bubble");
    Edit1 = new QSpinBox(this);
    Edit1->setObjectName("Edit1");
    Edit1->setRange(0, 100);
    Edit1->setSingleStep(5);
    auto* label = new QLabel("&Transparency:", this);
    label->setBuddy(Edit1);
    auto* grid = qobject_cast<QGridLayout*>(layout());
    const int row = grid->rowCount();  // below every row of the pointer editor
    grid->addWidget(label, row, 0);
    grid->addWidget(Edit1, row, 1);
    connect(Edit1, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Filling() && isVisible() && Bubble()) Bubble()->SetTransparency(v);
    });
}

TBubbleSeries* TBubbleSeriesEditor::Bubble() const {
    return Edited().As<TBubbleSeries>();
}

void TBubbleSeriesEditor::FormShow() {
    TSeriesPointerEditor::FormShow();
    if (TBubbleSeries* s = Bubble()) Edit1->setValue(s->GetTransparency());
    CBDrawPoint->hide();
}

}  // namespace cb::charteditors
