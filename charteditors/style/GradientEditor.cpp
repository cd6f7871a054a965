#include "charteditors/style/GradientEditor.h"

#include "chart/style/PlotGradient.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"

#include "platform/rtl/FormatFloat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace cb::charteditors {

using cb::chart::TCustomPlotGradient;
using cb::chart::TGradientDirection;
using namespace cb::chart;

const std::array<TGradientPreset, 17>& GradientPresets() {
    static const std::array<TGradientPreset, 17> presets = {{
        {"Caribe Sun", 0xDDDFD2, 0xF50A97, 0x0B80F4, gdTopBottom, 50},
        {"Business", 0xC0C0C0, 0xFFFFFF, 0x808080, gdTopBottom, 50},
        {"Hot", 0x0000FF, clNone, 0x00FFFF, gdTopBottom, 50},
        {"Ace", 0x000000, 0xFF8080, 0x000000, gdBottomTop, 74},
        {"Farm", 0x006AD5, 0xFFFFFF, 0x0062C4, gdBottomTop, 4},
        {"Sea", 0xFFFF80, 0xFF8080, 0x800000, gdBottomTop, 55},
        {"Night", 0xFFFFFF, 0x800040, 0x000000, gdTopBottom, 40},
        {"Space", 0xA50320, 0x800040, 0xFFFFFF, gdFromTopLeft, 50},
        {"Golf", 0x159902, 0xC0C0C0, 0xD9F986, gdTopBottom, 50},
        {"Funky", 0xBD3881, 0x87607A, 0x52EB85, gdTopBottom, 50},
        {"Sunset", 0xB85A06, 0xA7D8AF, 0x001042, gdTopBottom, 50},
        {"Rainbow", 0xA11EE8, 0x0F8355, 0xDD011A, gdTopBottom, 50},
        {"Pastel", 0x247489, 0x9491F6, 0xFD8B9D, gdTopBottom, 50},
        {"Tropical", 0x9A414B, 0x732FF3, 0x20D761, gdTopBottom, 50},
        {"Sea 2", 0x4C031C, 0xBACBE1, 0x291EF9, gdTopBottom, 50},
        {"Desert", 0x265FB7, 0xCE7185, 0x604457, gdTopBottom, 50},
        {"Clear day", 0xFFF3EA, 0xE0E6E9, 0xCEDBFF, gdTopBottom, 50},
    }};
    return presets;
}

void ApplyGradientPreset(TCustomPlotGradient& g, const TGradientPreset& p) {
    g.SetStartColor(p.Start);
    g.SetMidColor(p.Mid);
    g.SetEndColor(p.End);
    g.SetDirection(p.Direction);
    g.SetBalance(p.Balance);
}

TCustomPlotGradient* GradientOf(const TEditedObject& object) {
    if (auto* g = object.As<TCustomPlotGradient>()) return g;
    if (auto* g = object.As<TPlotGradient>()) return g;
    if (auto* g = object.As<TPlotFontGradient>()) return g;
    return nullptr;
}

namespace {

// The directions whose fill has no middle colour of its own.
bool CentredDirection(TGradientDirection d) {
    return d == gdFromCenter || d == gdFromTopLeft || d == gdFromBottomLeft || d == gdRadial;
}

QString BalanceText(int balance) {
    return QString::fromStdString(cb::rtl::FormatFloat("##0.## %", balance));
}

}  // namespace

TPreviewGradient::TPreviewGradient(QWidget* parent) : TCustomPlotPanelExtended(parent) {
    SetColor(cb::gfx::clBtnFace);
    SetBevelOuter(cb::chart::bvNone);
}

void TPreviewGradient::DrawContents(const TRect& bounds) {
    DrawPanelBackground(bounds);
}

TPlotGradientEditor::TPlotGradientEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Gradient Editor");
    CBVisible = new QCheckBox("&Visible", this);
    auto* lDirection = new QLabel("&Direction:", this);
    CBDirection = new QComboBox(this);
    CBDirection->addItems({"Top Bottom", "Bottom Top", "Left Right", "Right Left", "From Center", "From Top Left",
                           "From Bottom Left", "Radial", "Diagonal Up", "Diagonal Down"});
    lDirection->setBuddy(CBDirection);

    PageControl = new QTabWidget(this);
    auto* tabDefault = new QWidget;
    Gallery = new QListWidget(tabDefault);
    Gallery->setGeometry(8, 8, 128, 112);
    for (int i = 0; i < int(GradientPresets().size()); ++i) {
        auto* item = new QListWidgetItem(GradientPresets()[i].Name);
        item->setData(Qt::UserRole, i);
        Gallery->addItem(item);
    }
    Gallery->sortItems();
    Preview = new TPreviewGradient(tabDefault);
    Preview->setGeometry(144, 16, 73, 81);
    tabDefault->setMinimumSize(230, 128);
    PageControl->addTab(tabDefault, "Default");

    auto* tabColors = new QWidget;
    BStart = new TColorButton(tabColors);
    BStart->setText("&Start...");
    BMid = new TColorButton(tabColors);
    BMid->setText("&Middle...");
    BEnd = new TColorButton(tabColors);
    BEnd->setText("&End...");
    CBMid = new QCheckBox("&No Middle", tabColors);
    BSwap = new QPushButton("S&wap", tabColors);
    auto* colors = new QGridLayout(tabColors);
    colors->addWidget(BStart, 0, 0);
    colors->addWidget(BMid, 1, 0);
    colors->addWidget(CBMid, 1, 1);
    colors->addWidget(BEnd, 2, 0);
    colors->addWidget(BSwap, 2, 1);
    colors->setRowStretch(3, 1);
    PageControl->addTab(tabColors, "Colors");

    auto* tabOptions = new QWidget;
    auto* lBalance = new QLabel("&Balance:", tabOptions);
    SBBalance = new QScrollBar(Qt::Horizontal, tabOptions);
    SBBalance->setRange(0, 100);
    lBalance->setBuddy(SBBalance);
    LabelBalance = new QLabel(tabOptions);
    auto* radial = new QGroupBox("Radial offset:", tabOptions);
    auto* radialGrid = new QGridLayout(radial);
    auto offset = [&](int row, const char* caption, QLabel*& label, QSlider*& bar, QLabel*& value) {
        label = new QLabel(caption, radial);
        bar = new QSlider(Qt::Horizontal, radial);
        bar->setRange(-300, 300);
        label->setBuddy(bar);
        value = new QLabel("0", radial);
        radialGrid->addWidget(label, row, 0);
        radialGrid->addWidget(bar, row, 1);
        radialGrid->addWidget(value, row, 2);
    };
    offset(0, "&Horiz:", LRadialHoriz, TrackBar1, LRadialX);
    offset(1, "&Vert:", LRadialVert, TrackBar2, LRadialY);
    auto* options = new QGridLayout(tabOptions);
    options->addWidget(lBalance, 0, 0);
    options->addWidget(SBBalance, 0, 1);
    options->addWidget(LabelBalance, 0, 2);
    options->addWidget(radial, 1, 0, 1, 3);
    options->setRowStretch(2, 1);
    PageControl->addTab(tabOptions, "Options");

    Panel1 = new QWidget(this);
    BOk = new QPushButton("OK", Panel1);
    BOk->setDefault(true);
    BCancel = new QPushButton("Cancel", Panel1);
    auto* buttons = new QHBoxLayout(Panel1);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch();
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);

    auto* topPanel = new QHBoxLayout;
    topPanel->addWidget(CBVisible);
    topPanel->addStretch();
    topPanel->addWidget(lDirection);
    topPanel->addWidget(CBDirection);
    auto* top = new QVBoxLayout(this);
    top->addLayout(topPanel);
    top->addWidget(PageControl, 1);
    top->addWidget(Panel1);

    connect(CBVisible, &QCheckBox::clicked, this, [this](bool on) {
        if (Filling() || !Gradient()) return;
        Gradient()->SetVisible(on);
        Changed();
        UpdateEnabled();
    });
    connect(CBDirection, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Filling() || !Gradient() || i < 0) return;
        Gradient()->SetDirection(TGradientDirection(i));
        Changed();
        UpdateEnabled();
        if (i > int(gdRightLeft)) {
            TFilling filling(*this);
            Gallery->setCurrentRow(-1);
        }
        UpdatePreview();
    });
    connect(Gallery, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (Filling() || !Gradient() || !item) return;
        ApplyGradientPreset(*Gradient(), GradientPresets()[item->data(Qt::UserRole).toInt()]);
        Changed();
        LoadFromGradient();
    });
    BStart->OnClick = [this] {
        Changed();
        UpdatePreview();
    };
    BEnd->OnClick = BStart->OnClick;
    BMid->OnClick = [this] {
        Changed();
        TFilling filling(*this);
        CBMid->setChecked(Gradient() && Gradient()->MidColor() == clNone);
        UpdatePreview();
    };
    connect(CBMid, &QCheckBox::toggled, this, [this](bool noMiddle) {
        TCustomPlotGradient* g = Gradient();
        if (Filling() || !g) return;
        if (noMiddle) {
            g->SetMidColor(clNone);
        } else {
            g->EnableMidColor();
            if (g->MidColor() == clNone) g->SetMidColor(clWhite);
        }
        Changed();
        BMid->update();
        UpdatePreview();
    });
    connect(BSwap, &QPushButton::clicked, this, [this] {
        TCustomPlotGradient* g = Gradient();
        if (!g) return;
        const TColor start = g->StartColor();
        g->SetStartColor(g->EndColor());
        g->SetEndColor(start);
        Changed();
        BStart->update();
        BEnd->update();
        UpdatePreview();
    });
    connect(SBBalance, &QScrollBar::valueChanged, this, [this](int v) {
        if (!Filling() && Gradient()) {
            Gradient()->SetBalance(v);
            Changed();
            UpdatePreview();
        }
        LabelBalance->setText(BalanceText(v));
    });
    for (auto [bar, label, set] : {std::tuple{TrackBar1, LRadialX, &TCustomPlotGradient::SetRadialX},
                                   std::tuple{TrackBar2, LRadialY, &TCustomPlotGradient::SetRadialY}}) {
        connect(bar, &QSlider::valueChanged, this, [this, label, set](int v) {
            label->setNum(v);
            if (Filling() || !Gradient()) return;
            (Gradient()->*set)(v);
            Changed();
            UpdatePreview();
        });
    }
    connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::unique_ptr<TPlotGradientEditor> TPlotGradientEditor::CreateEmbedded(QWidget* owner,
                                                                         const TEditedObject& gradient) {
    auto form = std::make_unique<TPlotGradientEditor>(owner);
    form->Edited().Set(gradient);
    form->Panel1->hide();
    form->adjustSize();
    return form;
}

TCustomPlotGradient* TPlotGradientEditor::Gradient() const {
    return GradientOf(Edited().Get());
}

void TPlotGradientEditor::SetOnlyStart(bool on) {
    FOnlyStart = on;
    BEnd->setVisible(!on);
    BSwap->setVisible(!on);
    UpdateEnabled();
}

void TPlotGradientEditor::Bind(const TEditedObject& gradient) {
    Edited().Set(gradient);
    TEditorForm::LoadControls();
}

void TPlotGradientEditor::FormShow() {
    TCustomPlotGradient* g = Gradient();
    if (!g) return;
    // Embedded in a host's page, the host's own buttons close it.
    Panel1->setVisible(isWindow());
    auto copy = std::make_shared<TPlotGradient>();
    copy->TCustomPlotGradient::Assign(*g);
    KeepBackup([copy, g] {
        g->Assign(*copy);
        if (g->OnChange) g->OnChange();
    });
    BStart->LinkColor(
        g, [g] { return g->StartColor(); }, [g](TColor c) { g->SetStartColor(c); });
    BMid->LinkColor(
        g, [g] { return g->MidColor(); }, [g](TColor c) { g->SetMidColor(c); });
    BEnd->LinkColor(
        g, [g] { return g->EndColor(); }, [g](TColor c) { g->SetEndColor(c); });
    LoadFromGradient();
    SetModified(false);
}

void TPlotGradientEditor::LoadFromGradient() {
    TCustomPlotGradient* g = Gradient();
    if (!g) return;
    TFilling filling(*this);
    SBBalance->setValue(g->Balance());
    LabelBalance->setText(BalanceText(g->Balance()));
    CBVisible->setChecked(g->Visible());
    CBDirection->setCurrentIndex(int(g->Direction()));
    CBMid->setChecked(g->MidColor() == clNone);
    TrackBar1->setValue(g->RadialX());
    LRadialX->setNum(g->RadialX());
    TrackBar2->setValue(g->RadialY());
    LRadialY->setNum(g->RadialY());
    BStart->update();
    BMid->update();
    BEnd->update();
    UpdateEnabled();
    UpdatePreview();
}

void TPlotGradientEditor::UpdateEnabled() {
    TCustomPlotGradient* g = Gradient();
    if (!g) return;
    const bool on = FOnlyStart || g->Visible();
    for (QWidget* w : std::initializer_list<QWidget*>{CBDirection, BStart, BEnd, BSwap, Gallery}) w->setEnabled(on);
    const bool middle = FOnlyStart || (g->Visible() && !CentredDirection(g->Direction()));
    CBMid->setEnabled(middle);
    BMid->setEnabled(middle);
    const bool radial = g->Direction() == gdRadial;
    for (QWidget* w : std::initializer_list<QWidget*>{LRadialHoriz, LRadialVert, TrackBar1, TrackBar2, LRadialX, LRadialY})
        w->setEnabled(radial);
}

void TPlotGradientEditor::UpdatePreview() {
    if (TCustomPlotGradient* g = Gradient()) {
        Preview->Gradient().Assign(*g);
        Preview->Invalidate();
    }
}

void TPlotGradientEditor::Changed() {
    SetModified();
}

void TPlotGradientEditor::RestoreBackup() {
    if (Modified()) TEditorForm::RestoreBackup();
}

bool EditGradient(QWidget* owner, const TEditedObject& gradient) {
    return EditGradientWithOptions(owner, gradient, false, false);
}

bool EditGradientWithOptions(QWidget* owner, const TEditedObject& gradient, bool onlyStart, bool hideVisible) {
    auto dialog = CreateEditorDialog<TPlotGradientEditor>(owner);
    dialog->BindObject(gradient);
    dialog->SetOnlyStart(onlyStart);
    if (hideVisible) dialog->CBVisible->hide();
    return dialog->exec() == QDialog::Accepted;
}

}  // namespace cb::charteditors
