#include "charteditors/series/BarSeriesEditor.h"

#include "chart/series/bar/CustomBarSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/series/SeriesTab.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/GradientEditor.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

TBarSeriesEditor::TBarSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Bar");
    TEditorGrid g(this);
    CBBarStyle = g.Combo("CBBarStyle", "St&yle:",
                         {"Rectangle", "Pyramid", "Invert. Pyramid", "Cylinder", "Ellipse", "Arrow", "Rect. Gradient",
                          "Cone", "Bevel", "Slant Cube", "Diamond"});
    CBBarStyle->setMaxVisibleItems(9);
    BBarPen = g.PenButton("BBarPen", "&Border...");
    CBColorEach = g.Check("CBColorEach", "Color &Each");
    BBarColor = g.ColorButton("BBarColor", "&Color...");
    BBarBrush = g.Button("BBarBrush", "&Pattern...", [this] {
        if (TCustomBarSeries* s = Series()) EditChartBrush(this, TEditedObject::Part(&s->BarBrush(), s));
    });
    BGradient = g.Button("BGradient", "&Gradient...", [this] {
        TCustomBarSeries* s = Series();
        if (!s) return;
        // The gradient shows only in gradient bars; its end is the bar colour.
        s->SetBarStyle(bsRectGradient);
        {
            TFilling quiet(*this);
            CBBarStyle->setCurrentIndex(int(bsRectGradient));
        }
        UpdateStyleControls();
        EditGradientWithOptions(this, TEditedObject::Part<TCustomPlotGradient>(&s->Gradient(), s), true, true);
    });
    BTickLines = g.PenButton("BTickLines", "&Tick lines...");
    EBevel = g.Spin("EBevel", "Be&vel size:", 0, 100);
    LBevel = g.LastLabel();
    CBDarkBar = g.Check("CBDarkBar", "&Dark Bar 3D Sides");
    SEBarwidth = g.Spin("SEBarwidth", "% Bar &Width:", 1, 100, 5);
    SEBarOffset = g.Spin("SEBarOffset", "% Bar O&ffset:", -100, 100, 5);
    Edit1 = g.Spin("Edit1", "% Bar &Depth:", 1, 100, 5);
    CBBarSideMargins = g.Check("CBBarSideMargins", "Bar S&ide Margins");
    CBMarksAutoPosition = g.Check("CBMarksAutoPosition", "&Auto Mark Position");

    auto guarded = [this] { return FCreating || Filling() || !Series(); };
    connect(CBBarStyle, &QComboBox::currentIndexChanged, this, [this, guarded](int i) {
        if (guarded() || i < 0) return;
        Series()->SetBarStyle(TBarStyle(i));
        UpdateStyleControls();
    });
    connect(CBColorEach, &QCheckBox::toggled, this, [this, guarded](bool on) {
        if (guarded()) return;
        Series()->SetColorEachPoint(on);
        BBarColor->setEnabled(!on);
    });
    auto spin = [this, guarded](QSpinBox* box, void (TCustomBarSeries::*set)(int)) {
        connect(box, &QSpinBox::valueChanged, this, [this, guarded, set](int v) {
            if (!guarded()) (Series()->*set)(v);
        });
    };
    spin(EBevel, &TCustomBarSeries::SetBevelSize);
    spin(SEBarwidth, &TCustomBarSeries::SetBarWidthPercent);
    spin(SEBarOffset, &TCustomBarSeries::SetOffsetPercent);
    spin(Edit1, &TCustomBarSeries::SetDepthPercent);
    connect(CBDarkBar, &QCheckBox::toggled, this, [this, guarded](bool on) {
        if (!guarded()) Series()->SetDark3D(on);
    });
    connect(CBBarSideMargins, &QCheckBox::toggled, this, [this, guarded](bool on) {
        if (!guarded()) Series()->SetSideMargins(on);
    });
    // Not guarded by the creating flag.
    connect(CBMarksAutoPosition, &QCheckBox::toggled, this, [this](bool on) {
        if (!Filling() && Series()) Series()->SetAutoMarkPosition(on);
    });
}

TCustomBarSeries* TBarSeriesEditor::Series() const {
    return Edited().As<TCustomBarSeries>();
}

void TBarSeriesEditor::UpdateStyleControls() {
    TCustomBarSeries* s = Series();
    if (!s) return;
    EBevel->setEnabled(s->BarStyle() == bsBevel);
    LBevel->setEnabled(s->BarStyle() == bsBevel);
    BGradient->setEnabled(s->BarStyle() == bsRectangle || s->BarStyle() == bsRectGradient);
}

void TBarSeriesEditor::FormShow() {
    FCreating = true;
    TCustomBarSeries* s = Series();
    if (s) {
        CBBarStyle->setCurrentIndex(int(s->BarStyle()));
        CBColorEach->setChecked(s->ColorEachPoint());
        EBevel->setValue(s->BevelSize());
        CBDarkBar->setChecked(s->Dark3D());
        SEBarwidth->setValue(s->BarWidthPercent());
        SEBarOffset->setValue(s->OffsetPercent());
        Edit1->setValue(s->DepthPercent());
        CBBarSideMargins->setChecked(s->SideMargins());
        CBMarksAutoPosition->setChecked(s->AutoMarkPosition());
        BBarPen->LinkPen(TEditedObject::Part(&s->BarPen(), s));
        BTickLines->LinkPen(TEditedObject::Part<TChartPen>(&s->TickLines(), s));
        BBarColor->LinkColor(
            s, [s] { return s->SeriesColor(); }, [s](TColor c) { s->SetSeriesColor(c); });
        UpdateStyleControls();
        BBarColor->setEnabled(!s->ColorEachPoint());
        if (!FPagesAdded)
            FPagesAdded = AddSeriesPage<TStackBarSeriesEditor>(this, 1, TEditedObject::Element(s), "Stack") != nullptr;
    }
    FCreating = false;
}

// --- stacking page ---

TStackBarSeriesEditor::TStackBarSeriesEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Stack");
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox("&Multiple Bar:", this);
    box->setObjectName("RGMultiBar");
    auto* boxLayout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(this);
    const char* names[6] = {"None", "Side", "Stacked", "Stacked 100%", "Side All", "Self Stack"};
    for (int i = 0; i < 6; ++i) {
        RGMultiBar[i] = new QRadioButton(names[i], box);
        group->addButton(RGMultiBar[i], i);
        boxLayout->addWidget(RGMultiBar[i]);
    }
    layout->addWidget(box);
    auto* rest = new QWidget(this);
    TEditorGrid g(rest);
    CBYOrigin = g.Check("CBYOrigin", "Use &Origin:");
    EYOrigin = g.Edit("EYOrigin", "");
    EGroup = g.Spin("EGroup", "&Stack Group:", 0, 100);
    LGroup = g.LastLabel();
    layout->addWidget(rest);
    layout->addStretch();

    auto guarded = [this] { return FCreating || Filling() || !Series(); };
    connect(group, &QButtonGroup::idToggled, this, [this, guarded](int id, bool on) {
        if (!on || guarded()) return;
        Series()->SetMultiBar(TMultiBar(id));
        UpdateGroup();
    });
    connect(CBYOrigin, &QCheckBox::toggled, this, [this, guarded](bool on) {
        if (guarded()) return;
        Series()->SetUseYOrigin(on);
        EYOrigin->setEnabled(on);
        if (on) EYOrigin->setFocus();
    });
    // Partial or bad input keeps the current origin.
    connect(EYOrigin, &QLineEdit::textChanged, this, [this, guarded](const QString& text) {
        double v = 0;
        if (!guarded() && ParseDecimal(text, v)) Series()->SetYOrigin(v);
    });
    connect(EGroup, &QSpinBox::valueChanged, this, [this, guarded](int v) {
        if (!guarded()) Series()->SetStackGroup(v);
    });
}

TCustomBarSeries* TStackBarSeriesEditor::Series() const {
    return Edited().As<TCustomBarSeries>();
}

void TStackBarSeriesEditor::UpdateGroup() {
    TCustomBarSeries* s = Series();
    const bool stacked = s && (s->MultiBar() == mbStacked || s->MultiBar() == mbStacked100);
    EGroup->setEnabled(stacked);
    LGroup->setEnabled(stacked);
}

void TStackBarSeriesEditor::FormShow() {
    FCreating = true;
    if (TCustomBarSeries* s = Series()) {
        RGMultiBar[int(s->MultiBar())]->setChecked(true);
        CBYOrigin->setChecked(s->UseYOrigin());
        EYOrigin->setText(QString::number(s->YOrigin(), 'g', 15));
        EYOrigin->setEnabled(s->UseYOrigin());
        EGroup->setValue(s->StackGroup());
        UpdateGroup();
    }
    FCreating = false;
}

}  // namespace cb::charteditors
