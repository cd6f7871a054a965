#include "charteditors/dialog/LegendPage.h"

#include "chart/component/ChartLegend.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/dialog/PageKit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

TFormPlotLegend::TFormPlotLegend(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotLegend");
    setWindowTitle("Legend");
    auto* l = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    l->addWidget(PageControl1);
    {
        TEditorGrid g(NewTab(PageControl1, "Style"));
        CBShow = g.Check("CBShow", "&Visible");
        CBInverted = g.Check("CBInverted", "&Inverted");
        CBLegendStyle = g.Combo("CBLegendStyle", "Legend &Style:",
                                {"Automatic", "Series Names", "Series Values", "Last Values"});
        CBLegStyle = g.Combo("CBLegStyle", "Text St&yle:",
                             {"Plain", "Left Value", "Right Value", "Left Percent", "Right Percent", "X Value",
                              "Value", "Percent", "X and Value", "X and Percent"});
        BDivLines = g.PenButton("BDivLines", "&Dividing Lines...");
        UDVertSpacing = g.Spin("UDVertSpacing", "V&ert. Spacing:", -10, 100);
        CBFontColor = g.Check("CBFontColor", "&Font Series Color");
        CBCheckBoxes = g.Combo("CBCheckBoxes", "", {"No check boxes", "Check boxes", "Radio buttons"});
    }
    {
        QWidget* tab = NewTab(PageControl1, "Position");
        TEditorGrid g(tab);
        CBResizeChart = g.Check("CBResizeChart", "Resi&ze Chart");
        UDTopPos = g.Spin("UDTopPos", "&Position Offset %:", -100, 100);
        UDMargin = g.Spin("UDMargin", "&Margin:", -1000, 1000);
        auto* box = new QGroupBox("Position", tab);
        auto* bl = new QHBoxLayout(box);
        RGPosition = new QButtonGroup(box);
        const char* const sides[4] = {"&Left", "&Right", "&Top", "&Bottom"};
        for (int i = 0; i < 4; ++i) {
            auto* r = new QRadioButton(sides[i], box);
            r->setObjectName(QString("RGPosition%1").arg(i));
            RGPosition->addButton(r, i);
            bl->addWidget(r);
        }
        g.Place(box, nullptr);
        CBCustPos = g.Check("CBCustPos", "&Custom:");
        UDLeft = g.Spin("UDLeft", "L&eft:", -100, 1000, 5);
        UDTop = g.Spin("UDTop", "T&op:", -100, 1000, 5);
    }
    {
        TEditorGrid g(NewTab(PageControl1, "Symbols"));
        UDColWi = g.Spin("UDColWi", "&Width:", 0, 100, 5);
        CBColWUnits = g.Combo("CBColWUnits", "Width &Units:", {"Percent", "Pixels"});
        CBSymbolPos = g.Combo("CBSymbolPos", "&Position:", {"Left", "Right"});
        CBContinuous = g.Check("CBContinuous", "&Continuous");
        CBVisible = g.Check("CBVisible", "&Visible");
        CBSymPen = g.Check("CBSymPen", "&Default border");
        BSymPen = g.PenButton("BSymPen", "&Border...");
        CBSquared = g.Check("CBSquared", "&Squared");
    }
    {
        QWidget* tab = NewTab(PageControl1, "Title");
        auto* tl = new QVBoxLayout(tab);
        PageControl2 = new QTabWidget(tab);
        tl->addWidget(PageControl2);
        TEditorGrid g(NewTab(PageControl2, "Options"));
        MemoText = new QPlainTextEdit(this);
        MemoText->setObjectName("MemoText");
        g.Place(MemoText, "&Text:");
        CBTextAlign = g.Combo("CBTextAlign", "Text &alignment:", {"Left", "Center", "Right"});
        CBTitleVisible = g.Check("CBTitleVisible", "&Visible");
        TitleShapeTab = NewTab(PageControl2, "Format");
    }
    ShapeTab = NewTab(PageControl1, "Format");

    auto legend = [this] { return Legend(); };
    OnCheck(CBShow, this, [legend](bool on) { legend()->SetVisible(on); });
    OnCheck(CBInverted, this, [legend](bool on) { legend()->SetInverted(on); });
    OnIndex(CBLegendStyle, this, [legend](int i) { legend()->SetLegendStyle(TLegendStyle(i)); });
    OnIndex(CBLegStyle, this, [legend](int i) { legend()->SetTextStyle(TLegendTextStyle(i)); });
    OnSpin(UDVertSpacing, this, [legend](int v) { legend()->SetVertSpacing(v); });
    OnCheck(CBFontColor, this, [legend](bool on) { legend()->SetFontSeriesColor(on); });
    OnIndex(CBCheckBoxes, this, [legend](int i) {
        legend()->SetCheckBoxes(i > 0);
        legend()->SetCheckBoxesStyle(i == 1 ? cbsCheck : cbsRadio);
    });
    OnCheck(CBResizeChart, this, [legend](bool on) { legend()->SetResizeChart(on); });
    OnSpin(UDTopPos, this, [legend](int v) { legend()->SetTopPos(v); });
    OnSpin(UDMargin, this, [legend](int v) {
        if (legend()->IsVertical())
            legend()->SetHorizMargin(v);
        else
            legend()->SetVertMargin(v);
    });
    connect(RGPosition, &QButtonGroup::idClicked, this, [this, legend](int i) {
        if (Filling()) return;
        legend()->SetAlignment(TLegendAlignment(i));
        TFilling filling(*this);
        LoadMargin();
    });
    OnCheck(CBCustPos, this, [this, legend](bool on) {
        legend()->SetCustomPosition(on);
        if (on) legend()->SetResizeChart(false);
        EnableCustomPosition();
    });
    OnSpin(UDLeft, this, [legend](int v) {
        if (legend()->CustomPosition()) legend()->SetLeft(v);
    });
    OnSpin(UDTop, this, [legend](int v) {
        if (legend()->CustomPosition()) legend()->SetTop(v);
    });
    OnSpin(UDColWi, this, [legend](int v) { legend()->Symbol().SetWidth(v); });
    OnIndex(CBColWUnits, this, [legend](int i) { legend()->Symbol().SetWidthUnits(TLegendSymbolSize(i)); });
    OnIndex(CBSymbolPos, this, [legend](int i) { legend()->Symbol().SetPosition(TLegendSymbolPosition(i)); });
    OnCheck(CBContinuous, this, [legend](bool on) { legend()->Symbol().SetContinuous(on); });
    OnCheck(CBVisible, this, [legend](bool on) { legend()->Symbol().SetVisible(on); });
    OnCheck(CBSymPen, this, [this, legend](bool on) {
        legend()->Symbol().SetDefaultPen(on);
        BSymPen->setEnabled(!on);
    });
    OnCheck(CBSquared, this, [this, legend](bool on) {
        legend()->Symbol().SetSquared(on);
        UDColWi->setEnabled(!on);
    });
    connect(MemoText, &QPlainTextEdit::textChanged, this, [this, legend] {
        if (Filling() || !legend()) return;
        std::vector<std::string> lines;
        const QString text = MemoText->toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split('\n')) lines.push_back(line.toStdString());
        if (lines != legend()->Title().Text()) legend()->Title().SetText(lines);
    });
    OnIndex(CBTextAlign, this, [legend](int i) {
        legend()->Title().SetTextAlignment(i == 0 ? taLeftJustify : i == 1 ? taCenter : taRightJustify);
    });
    OnCheck(CBTitleVisible, this, [legend](bool on) { legend()->Title().SetVisible(on); });
}

TChartLegend* TFormPlotLegend::Legend() const {
    return Edited().As<TChartLegend>();
}

void TFormPlotLegend::BindLegend(const TEditedObject& legend) {
    BindObject(legend);
}

void TFormPlotLegend::LoadMargin() {
    TChartLegend* l = Legend();
    UDMargin->setValue(l->IsVertical() ? l->HorizMargin() : l->VertMargin());
}

void TFormPlotLegend::EnableCustomPosition() {
    TFilling filling(*this);
    TChartLegend* l = Legend();
    const bool custom = l->CustomPosition();
    UDLeft->setEnabled(custom);
    UDTop->setEnabled(custom);
    UDLeft->setValue(l->Left());
    UDTop->setValue(l->Top());
    CBResizeChart->setChecked(l->ResizeChart());
    for (QWidget* w : {static_cast<QWidget*>(CBResizeChart), static_cast<QWidget*>(UDMargin),
                       static_cast<QWidget*>(UDTopPos)})
        w->setEnabled(!custom);
}

void TFormPlotLegend::FormShow() {
    TChartLegend* l = Legend();
    if (!l) return;
    TLegendSymbol& s = l->Symbol();
    UDColWi->setValue(s.Width());
    CBColWUnits->setCurrentIndex(int(s.WidthUnits()));
    CBSymbolPos->setCurrentIndex(int(s.Position()));
    CBContinuous->setChecked(s.Continuous());
    CBSquared->setChecked(s.Squared());
    CBVisible->setChecked(s.Visible());
    CBSymPen->setChecked(s.DefaultPen());
    QObject* owner = Edited().Get().OwnerObject();
    TCustomChartElement* ownerElement = Edited().Get().OwnerElement();
    auto part = [&](auto* p) {
        return ownerElement ? TEditedObject::Part(p, ownerElement) : TEditedObject::Part(p, owner);
    };
    BSymPen->LinkPen(part(&s.Pen()));
    BSymPen->setEnabled(!s.DefaultPen());
    UDTopPos->setValue(l->TopPos());
    CBCustPos->setChecked(l->CustomPosition());
    CBFontColor->setChecked(l->FontSeriesColor());
    CBResizeChart->setChecked(l->ResizeChart());
    CBLegendStyle->setCurrentIndex(int(l->LegendStyle()));
    CBLegStyle->setCurrentIndex(int(l->TextStyle()));
    CBShow->setChecked(l->Visible());
    CBInverted->setChecked(l->Inverted());
    CBCheckBoxes->setCurrentIndex(!l->CheckBoxes() ? 0 : l->CheckBoxesStyle() == cbsRadio ? 2 : 1);
    if (QAbstractButton* b = RGPosition->button(int(l->Alignment()))) b->setChecked(true);
    UDVertSpacing->setValue(l->VertSpacing());
    BDivLines->LinkPen(part(static_cast<TChartPen*>(&l->DividingLines())));
    LoadMargin();
    EnableCustomPosition();
    UDColWi->setEnabled(!s.Squared());
    QStringList lines;
    for (const std::string& t : l->Title().Text()) lines << QString::fromStdString(t);
    MemoText->setPlainText(lines.join('\n'));
    const TAlignment a = l->Title().TextAlignment();
    CBTextAlign->setCurrentIndex(a == taLeftJustify ? 0 : a == taCenter ? 1 : 2);
    CBTitleVisible->setChecked(l->Title().Visible());
    const TEditedObject shape = part(static_cast<TPlotCustomShape*>(l));
    const TEditedObject titleShape = part(static_cast<TPlotCustomShape*>(&l->Title()));
    if (FShape) {
        FShape->BindObject(shape);
        FTitleShape->BindObject(titleShape);
    } else if ((FShape = EmbedEditorByName("TFormPlotShape", ShapeTab, shape))) {
        FTitleShape = EmbedEditorByName("TFormPlotShape", TitleShapeTab, titleShape);
    }
}

}  // namespace cb::charteditors
