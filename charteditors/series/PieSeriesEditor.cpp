#include "charteditors/series/PieSeriesEditor.h"

#include "chart/component/PieOtherLegend.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/series/SeriesTab.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/style/ShadowEditor.h"

namespace cb::charteditors {

using namespace cb::chart;

TPieSeriesEditor::TPieSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Pie");
    TEditorGrid g(this);
    CBDark3d = g.Check("CBDark3d", "&Dark 3D");
    SEExpBig = g.Spin("SEExpBig", "&Explode biggest:", 0, 100, 5);
    CBPatterns = g.Check("CBPatterns", "Pa&tterns");
    BPen = g.PenButton("BPen", "&Border...");
    BShadow = g.Button("BShadow", "S&hadow...", [this] {
        if (TPieSeries* s = Series()) EditShadow(this, TEditedObject::Part(&s->Shadow(), s));
    });
    Button1 = g.Button("Button1", "3D &Gradient...", [this] {
        if (TPieSeries* s = Series())
            EditGradientWithOptions(this, TEditedObject::Part(&s->Gradient(), s), true, false);
    });
    Edit1 = g.Spin("Edit1", "Total angle:", 1, 360, 5);
    CBMarksAutoPosition = g.Check("CBMarksAutoPosition", "&Auto Mark Position");
    Edit2 = g.Spin("Edit2", "Dark Border:", 0, 255, 5);
    CBMultiple = g.Combo("CBMultiple", "&Multiple Pies:", {"Automatic", "Disable"});
    CBOther = g.Combo("CBOther", "&Style:", {"None", "Below %", "Below Value"});
    EOtherValue = g.Edit("EOtherValue", "&Value:");
    EOtherLabel = g.Edit("EOtherLabel", "&Label:");
    Button2 = g.Button("Button2", "Le&gend...", [this] { EditOtherLegend(); });
    CBColorEach = g.Check("CBColorEach", "Color &Each slice");
    BColor = g.ColorButton("BColor", "&Color...");

    auto check = [this](QCheckBox* box, void (TPieSeries::*set)(bool)) {
        connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
            if (Writing()) (Series()->*set)(on);
        });
    };
    check(CBDark3d, &TPieSeries::SetDark3D);
    check(CBPatterns, &TPieSeries::SetUsePatterns);
    check(CBMarksAutoPosition, &TPieSeries::SetAutoMarkPosition);
    connect(CBColorEach, &QCheckBox::toggled, this, [this](bool on) {
        if (!Writing()) return;
        Series()->SetColorEachPoint(on);
        BColor->setEnabled(!on);
    });
    auto spin = [this](QSpinBox* box, void (TPieSeries::*set)(int)) {
        connect(box, &QSpinBox::valueChanged, this, [this, set](int v) {
            if (Writing()) (Series()->*set)(v);
        });
    };
    spin(SEExpBig, &TPieSeries::SetExplodeBiggest);
    spin(Edit1, &TPieSeries::SetAngleSize);
    spin(Edit2, &TPieSeries::SetDarkPen);
    connect(CBMultiple, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Writing() && i >= 0) Series()->SetMultiPie(TMultiPie(i));
    });
    connect(CBOther, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!Writing() || i < 0) return;
        Series()->OtherSlice().SetStyle(TPieOtherStyle(i));
        UpdateOther();
    });
    // An empty, partial or bad number writes nothing (no error while typing).
    connect(EOtherValue, &QLineEdit::textChanged, this, [this](const QString& text) {
        double v = 0;
        if (Writing() && ParseDecimal(text, v)) Series()->OtherSlice().SetValue(v);
    });
    connect(EOtherLabel, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (Writing()) Series()->OtherSlice().SetText(text.toStdString());
    });
}

std::function<void(QWidget*, const TEditedObject&)>& TPieSeriesEditor::LegendEditor() {
    static std::function<void(QWidget*, const TEditedObject&)> editor;
    return editor;
}

void TPieSeriesEditor::EditOtherLegend() {
    TPieSeries* s = Series();
    if (!s || !LegendEditor()) return;
    LegendEditor()(this, TEditedObject::Part(&OtherSliceLegend(*s), s));
}

TPieSeries* TPieSeriesEditor::Series() const {
    return Edited().As<TPieSeries>();
}

// Edits write only while the form shows, and not while it loads.
bool TPieSeriesEditor::Writing() const {
    return !Filling() && isVisible() && Series();
}

void TPieSeriesEditor::UpdateOther() {
    const bool on = CBOther->currentIndex() > 0;
    EOtherValue->setEnabled(on);
    EOtherLabel->setEnabled(on);
}

void TPieSeriesEditor::FormShow() {
    TPieSeries* s = Series();
    if (!s) return;
    BColor->LinkColor(
        s, [s] { return s->SeriesColor(); }, [s](TColor c) { s->SetSeriesColor(c); });
    CBDark3d->setChecked(s->Dark3D());
    CBDark3d->setEnabled(s->ParentChart() && s->ParentChart()->View3D());
    SEExpBig->setValue(s->ExplodeBiggest());
    CBPatterns->setChecked(s->UsePatterns());
    Edit1->setValue(s->AngleSize());
    CBMarksAutoPosition->setChecked(s->AutoMarkPosition());
    Edit2->setValue(s->DarkPen());
    CBMultiple->setCurrentIndex(s->MultiPie() == mpDisabled ? 1 : 0);
    EOtherLabel->setText(QString::fromStdString(s->OtherSlice().Text()));
    EOtherValue->setText(QString::number(s->OtherSlice().Value(), 'g', 15));
    CBOther->setCurrentIndex(int(s->OtherSlice().Style()));
    UpdateOther();
    CBColorEach->setChecked(s->ColorEachPoint());
    BColor->setEnabled(!s->ColorEachPoint());
    BPen->LinkPen(TEditedObject::Part(&s->PiePen(), s));
    if (!FPagesAdded)
        if (auto* page = AddSeriesPage<TCircledSeriesEditor>(this, 1, TEditedObject::Element(s), "Circled")) {
            // The pie page has its own colour and gradient.
            page->BBack->hide();
            page->CBTransp->hide();
            page->BGradient->hide();
            FPagesAdded = true;
        }
}

// --- circled page ---

TCircledSeriesEditor::TCircledSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Circled");
    TEditorGrid g(this);
    CBCircled = g.Check("CBCircled", "&Circled");
    CB3D = g.Check("CB3D", "&3 Dimensions");
    Edit1 = g.Spin("Edit1", "&Rotation:", 0, 360, 5);
    Edit2 = g.Spin("Edit2", "&Horizontal:", 0, 2000, 5);
    CBAutoXR = g.Check("CBAutoXR", "&Auto");
    Edit3 = g.Spin("Edit3", "&Vertical:", 0, 2000, 5);
    CBAutoYR = g.Check("CBAutoYR", "A&uto");
    BBack = g.ColorButton("BBack", "C&olor...");
    CBTransp = g.Check("CBTransp", "&Transparent");
    BGradient = g.Button("BGradient", "&Gradient...", [this] {
        TCircledSeries* s = Series();
        if (!s) return;
        EditGradient(this, TEditedObject::Part(&s->Gradient(), s));
        if (s->Gradient().Visible()) {
            const QSignalBlocker quiet(CBTransp);
            CBTransp->setChecked(false);
            CBTransp->setEnabled(true);
        }
    });

    connect(CBCircled, &QCheckBox::toggled, this, [this](bool on) {
        if (!FCreating && !Filling() && Series()) Series()->SetCircled(on);
    });
    connect(CB3D, &QCheckBox::toggled, this, [this](bool on) {
        if (!FCreating && !Filling() && Series() && Series()->ParentChart()) Series()->ParentChart()->SetView3D(on);
    });
    connect(Edit1, &QSpinBox::valueChanged, this, [this](int v) {
        if (Writing()) Series()->SetRotationAngle(v);
    });
    // A radius of 0 is automatic: its box follows the value.
    auto radius = [this](QSpinBox* box, QCheckBox* autoBox, void (TCircledSeries::*set)(int)) {
        connect(box, &QSpinBox::valueChanged, this, [this, autoBox, set](int v) {
            if (!Writing()) return;
            (Series()->*set)(v);
            const QSignalBlocker quiet(autoBox);
            autoBox->setChecked(v == 0);
        });
        connect(autoBox, &QCheckBox::toggled, this, [this, box](bool on) {
            if (on && Writing()) box->setValue(0);
        });
    };
    radius(Edit2, CBAutoXR, &TCircledSeries::SetCustomXRadius);
    radius(Edit3, CBAutoYR, &TCircledSeries::SetCustomYRadius);
    BBack->OnClick = [this] {
        const QSignalBlocker quiet(CBTransp);
        CBTransp->setChecked(false);
        CBTransp->setEnabled(true);
    };
    connect(CBTransp, &QCheckBox::toggled, this, [this](bool on) {
        if (FCreating || Filling() || !Series()) return;
        if (on) {
            Series()->SetCircleBackColor(clDefault);
            Series()->Gradient().SetVisible(false);
            BBack->update();
        }
        CBTransp->setEnabled(!on);
    });
}

TCircledSeries* TCircledSeriesEditor::Series() const {
    return Edited().As<TCircledSeries>();
}

bool TCircledSeriesEditor::Writing() const {
    return !Filling() && isVisible() && Series();
}

void TCircledSeriesEditor::FormShow() {
    FCreating = true;
    if (TCircledSeries* s = Series()) {
        CBCircled->setChecked(s->Circled());
        CB3D->setChecked(s->ParentChart() && s->ParentChart()->View3D());
        Edit1->setValue(s->RotationAngle());
        Edit2->setValue(s->CustomXRadius());
        CBAutoXR->setChecked(s->CustomXRadius() == 0);
        Edit3->setValue(s->CustomYRadius());
        CBAutoYR->setChecked(s->CustomYRadius() == 0);
        CBTransp->setChecked(!s->HasCircleBackColor());
        CBTransp->setEnabled(!CBTransp->isChecked());
        BBack->LinkColor(
            s, [s] { return s->CircleBackColor(); }, [s](TColor c) { s->SetCircleBackColor(c); });
    }
    FCreating = false;
}

}  // namespace cb::charteditors
