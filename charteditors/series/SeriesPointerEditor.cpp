#include "charteditors/series/SeriesPointerEditor.h"

#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesPointer.h"
#include "chart/series/line/CustomSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/GradientEditor.h"

namespace cb::charteditors {

using namespace cb::chart;

TSeriesPointerEditor::TSeriesPointerEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Pointer");
    TEditorGrid g(this);
    CBDrawPoint = g.Check("CBDrawPoint", "&Visible");
    CB3dPoint = g.Check("CB3dPoint", "&3D");
    CBPoDark = g.Check("CBPoDark", "Dar&k 3D");
    CBInflate = g.Check("CBInflate", "Inflate &Margins");
    SEPointHorizSize = g.Spin("SEPointHorizSize", "&Width:", 1, 1000);
    Label1 = g.LastLabel();
    SEPointVertSize = g.Spin("SEPointVertSize", "&Height:", 1, 1000);
    Label2 = g.LastLabel();
    CBStyle = g.Combo("CBStyle", "&Style:",
                      {"Square", "Circle", "Triangle", "Down Triangle", "Cross", "Diagonal Cross", "Star", "Diamond",
                       "Small Dot", "Nothing", "Left Triangle", "Right Triangle"});
    CBStyle->setMaxVisibleItems(12);
    CBDefBrushColor = g.Check("CBDefBrushColor", "&Default");
    BPoinPenCol = g.PenButton("BPoinPenCol", "B&order...");
    CBColorEach = g.Check("CBColorEach", "&Color Each ");
    BPointFillColor = g.Button("BPointFillColor", "&Pattern...", [this] {
        TSeriesPointer* p = Pointer();
        if (!p) return;
        EditChartBrush(this, TEditedObject::PartOf(Edited().Get(), &p->Brush()));
        UpdateDefaultColor();
        CBStyle->update();
    });
    BGradient = g.Button("BGradient", "&Gradient...", [this] {
        TSeriesPointer* p = Pointer();
        if (!p) return;
        // A callout keeps its own end colour; other pointers take the point's.
        const bool onlyStart = dynamic_cast<TCallout*>(p) == nullptr;
        EditGradientWithOptions(this, TEditedObject::PartOf(Edited().Get(), &p->Gradient()), onlyStart, false);
    });

    connect(CBDrawPoint, &QCheckBox::toggled, this, [this](bool on) {
        if (!Filling()) VisibleChanged(on);
    });
    connect(CB3dPoint, &QCheckBox::toggled, this, [this](bool on) {
        if (Filling() || !Pointer()) return;
        Pointer()->SetDraw3D(on);
        CBPoDark->setEnabled(on && CB3dPoint->isEnabled());
    });
    connect(CBPoDark, &QCheckBox::toggled, this, [this](bool on) {
        if (!Filling() && Pointer()) Pointer()->SetDark3D(on);
    });
    connect(CBInflate, &QCheckBox::toggled, this, [this](bool on) {
        if (!Filling() && Pointer()) Pointer()->SetInflateMargins(on);
    });
    connect(SEPointHorizSize, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Filling() && isVisible() && Pointer()) Pointer()->SetHorizSize(v);
    });
    connect(SEPointVertSize, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Filling() && isVisible() && Pointer()) Pointer()->SetVertSize(v);
    });
    connect(CBStyle, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Filling() || !Pointer() || i < 0) return;
        Pointer()->SetStyle(TSeriesPointerStyle(i));
        Update3D();
    });
    connect(CBDefBrushColor, &QCheckBox::toggled, this, [this](bool on) {
        if (Filling() || !Pointer()) return;
        TSeriesPointer* p = Pointer();
        if (on) {
            p->SetBrushColor(clDefault);
            p->Pen().SetColor(clDefault);
        } else if (p->Pen().Color() == clDefault) {
            p->Pen().SetColor(clBlack);
        }
        BPoinPenCol->update();
        CBStyle->update();
    });
    BPoinPenCol->OnClick = [this] {
        UpdateDefaultColor();
        CBStyle->update();
    };
    connect(CBColorEach, &QCheckBox::toggled, this, [this](bool on) {
        if (!Filling() && Series()) Series()->SetColorEachPoint(on);
    });
}

TSeriesPointer* TSeriesPointerEditor::Pointer() const {
    if (auto* p = Edited().As<TSeriesPointer>()) return p;
    if (auto* s = Series()) return &s->Pointer();
    return nullptr;
}

TCustomSeries* TSeriesPointerEditor::Series() const {
    return Edited().As<TCustomSeries>();
}

void TSeriesPointerEditor::HideSizeControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, SEPointHorizSize, Label2, SEPointVertSize})
        w->setVisible(false);
}

void TSeriesPointerEditor::FormShow() {
    TSeriesPointer* p = Pointer();
    if (!p) return;
    TCustomSeries* s = Series();
    CBColorEach->setVisible(s != nullptr);
    CBColorEach->setEnabled(s != nullptr);
    if (s) CBColorEach->setChecked(s->ColorEachPoint());
    VisibleChanged(p->Visible());
    CBDrawPoint->setChecked(p->Visible());
    CB3dPoint->setChecked(p->Draw3D());
    Update3D();
    SEPointHorizSize->setValue(p->HorizSize());
    SEPointVertSize->setValue(p->VertSize());
    CBStyle->setCurrentIndex(int(p->Style()));
    CBInflate->setChecked(p->InflateMargins());
    CBPoDark->setChecked(p->Dark3D());
    UpdateDefaultColor();
    TCustomChartElement* owner = s ? static_cast<TCustomChartElement*>(s) : Edited().Get().OwnerElement();
    BPoinPenCol->LinkPen(TEditedObject::Part(&p->Pen(), owner));
    if (!p->SizeEditable()) HideSizeControls();
}

void TSeriesPointerEditor::VisibleChanged(bool on) {
    TSeriesPointer* p = Pointer();
    if (!p) return;
    p->SetVisible(on);
    if (on)
        Update3D();
    else {
        CB3dPoint->setEnabled(false);
        CBPoDark->setEnabled(false);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{CBInflate, SEPointHorizSize, SEPointVertSize, CBStyle,
                                                      BPoinPenCol, CBDefBrushColor, BPointFillColor})
        w->setEnabled(on);
}

void TSeriesPointerEditor::Update3D() {
    TSeriesPointer* p = Pointer();
    if (!p) return;
    const TCustomAxisPanel* chart = Series() ? Series()->ParentChart() : p->ParentPanel();
    const TSeriesPointerStyle st = p->Style();
    const bool styleHas3D = st == psRectangle || st == psTriangle || st == psDownTriangle;
    CB3dPoint->setEnabled(p->Visible() && chart && chart->View3D() && styleHas3D);
    CBPoDark->setEnabled(CB3dPoint->isEnabled() && CB3dPoint->isChecked());
}

void TSeriesPointerEditor::UpdateDefaultColor() {
    TSeriesPointer* p = Pointer();
    if (!p) return;
    TFilling quiet(*this);
    CBDefBrushColor->setChecked(p->GetBrushColor() == clDefault && p->Pen().Color() == clDefault);
}

void EditCalloutPointer(QWidget* component, TMarksCallout& callout, TChartSeries* series) {
    auto form = CreateEditorDialog<TSeriesPointerEditor>(component);
    form->setWindowTitle("Pointer");
    form->BindObject(TEditedObject::Part(static_cast<TSeriesPointer*>(&callout), series));
    form->CBInflate->hide();
    form->CBColorEach->hide();
    form->exec();
}

}  // namespace cb::charteditors
