#include "charteditors/dialog/PanelPage.h"

#include "chart/component/CustomChart.h"
#include "chart/core/PlotHelpers.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/dialog/PageKit.h"
#include "charteditors/style/StyleHelpers.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

TFormPlotPanel::TFormPlotPanel(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotPanel");
    setWindowTitle("Panel Editor");
    auto* l = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    l->addWidget(PageControl1);
    {
        QWidget* tab = NewTab(PageControl1, "Background");
        TEditorGrid g(tab);
        BPanelColor = g.ColorButton("BPanelColor", "&Color...");
        CBColorDef = g.Check("CBColorDef", "&Default");
        auto* box = new QGroupBox("St&yle", tab);
        auto* bl = new QHBoxLayout(box);
        RGBitmap = new QButtonGroup(box);
        const char* const modes[4] = {"Stretch", "Tile", "Center", "C&ustom"};
        for (int i = 0; i < 4; ++i) {
            auto* r = new QRadioButton(modes[i], box);
            r->setObjectName(QString("RGBitmap%1").arg(i));
            RGBitmap->addButton(r, i);
            bl->addWidget(r);
        }
        g.Place(box, nullptr);
        BBrowseImage = new QPushButton("B&rowse...", tab);
        BBrowseImage->setObjectName("BBrowseImage");
        g.Place(BBrowseImage, nullptr);
        CBImageInside = g.Check("CBImageInside", "I&nside");
        CBTransp = g.Check("CBTransp", "&Transparent");
        UDLeft = g.Spin("UDLeft", "&Left:", 0, 100);
        UDTop = g.Spin("UDTop", "T&op:", 0, 100);
    }
    {
        TEditorGrid g(NewTab(PageControl1, "Borders"));
        UDPanelBor = g.Spin("UDPanelBor", "&Separation:", 0, 100);
        UDPanelWi = g.Spin("UDPanelWi", "Widt&h:", 0, 100);
        UDRound = g.Spin("UDRound", "&Round border:", 0, 10000);
        CBInner = g.Combo("CBInner", "Bevel &inner:", {"None", "Lowered", "Raised"});
        CBOuter = g.Combo("CBOuter", "Bevel &outer:", {"None", "Lowered", "Raised"});
        BBorder = g.PenButton("BBorder", "&Border...");
    }
    GradientTab = NewTab(PageControl1, "Gradient");
    ShadowTab = NewTab(PageControl1, "Shadow");

    auto chart = [this] { return Chart(); };
    BPanelColor->OnClick = [this] {
        Chart()->Invalidate();
        DefaultColorCheck();
    };
    connect(CBColorDef, &QCheckBox::clicked, this, [this, chart] {
        if (FChanging || Filling()) return;
        chart()->SetColor(clBtnFace);
        DefaultColorCheck();
        BPanelColor->update();
    });
    connect(RGBitmap, &QButtonGroup::idClicked, this, [this, chart](int i) {
        if (Filling()) return;
        chart()->SetBackImageMode(TPlotBackImageMode(i));
        ImageControls();
    });
    connect(BBrowseImage, &QPushButton::clicked, this, [this] { BrowseClicked(); });
    OnCheck(CBImageInside, this, [chart](bool on) { chart()->SetBackImageInside(on); });
    OnCheck(CBTransp, this, [this, chart](bool on) {
        if (CBTransp->isEnabled()) chart()->SetBackImageTransp(on);
    });
    OnSpin(UDLeft, this, [chart](int v) { chart()->BackImage().SetLeft(v); });
    OnSpin(UDTop, this, [chart](int v) { chart()->BackImage().SetTop(v); });
    OnSpin(UDPanelBor, this, [this, chart](int v) {
        if (isVisible() && chart()->BorderWidth() != v) chart()->SetBorderWidth(v);
    });
    OnSpin(UDPanelWi, this, [this, chart](int v) {
        if (isVisible() && chart()->BevelWidth() != v) chart()->SetBevelWidth(v);
    });
    OnSpin(UDRound, this, [this, chart](int v) {
        if (isVisible()) chart()->SetBorderRound(v);
    });
    OnIndex(CBInner, this, [chart](int i) {
        if (chart()->BevelInner() != TPanelBevel(i)) chart()->SetBevelInner(TPanelBevel(i));
    });
    OnIndex(CBOuter, this, [chart](int i) {
        if (chart()->BevelOuter() != TPanelBevel(i)) chart()->SetBevelOuter(TPanelBevel(i));
    });
}

TCustomChart* TFormPlotPanel::Chart() const {
    return Edited().As<TCustomChart>();
}

void TFormPlotPanel::DefaultColorCheck() {
    FChanging = true;
    CBColorDef->setChecked(Chart()->Color() == clBtnFace);
    CBColorDef->setEnabled(!CBColorDef->isChecked());
    FChanging = false;
}

void TFormPlotPanel::ImageControls() {
    TFilling filling(*this);
    TCustomChart* c = Chart();
    const bool has = c->HasBackImage();
    for (QAbstractButton* b : RGBitmap->buttons()) b->setEnabled(has);
    CBImageInside->setEnabled(has);
    BBrowseImage->setText(has ? "Clea&r" : "B&rowse...");
    CBTransp->setEnabled(has);
    CBTransp->setChecked(has && c->BackImageTransp());
    const bool custom = has && c->BackImageMode() == pbmCustom;
    UDLeft->setEnabled(custom);
    UDTop->setEnabled(custom);
}

void TFormPlotPanel::BrowseClicked() {
    TCustomChart* c = Chart();
    ToggleBackImage(this, c->BackImage());
    c->Invalidate();
    ImageControls();
}

void TFormPlotPanel::FormShow() {
    TCustomChart* c = Chart();
    if (!c) return;
    QObject* owner = static_cast<QObject*>(c);
    CBInner->setCurrentIndex(std::min(int(c->BevelInner()), 2));
    CBOuter->setCurrentIndex(std::min(int(c->BevelOuter()), 2));
    BBorder->LinkPen(TEditedObject::Part(static_cast<TChartPen*>(&c->Border()), owner));
    UDRound->setValue(c->BorderRound());
    UDPanelWi->setValue(c->BevelWidth());
    UDPanelBor->setValue(c->BorderWidth());
    if (QAbstractButton* b = RGBitmap->button(int(c->BackImageMode()))) b->setChecked(true);
    CBImageInside->setChecked(c->BackImageInside());
    if (const TBackImage* image = c->BackImageIfAny()) {
        UDLeft->setValue(image->Left());
        UDTop->setValue(image->Top());
    }
    ImageControls();
    DefaultColorCheck();
    BPanelColor->LinkColor(
        c, [c] { return c->Color(); }, [c](TColor color) { c->SetColor(color); });
    const TEditedObject gradient = TEditedObject::Part(&c->Gradient(), owner);
    const TEditedObject shadow = TEditedObject::Part(&c->Shadow(), owner);
    if (!FGradient) FGradient = EmbedEditorByName("TPlotGradientEditor", GradientTab, gradient);
    if (!FShadow) FShadow = EmbedEditorByName("TPlotShadowEditor", ShadowTab, shadow);
}

}  // namespace cb::charteditors
