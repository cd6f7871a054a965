#include "charteditors/dialog/AxisPage.h"

#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/component/CustomChart.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorHelpers.h"
#include "charteditors/format/AxisIncrementDialog.h"
#include "charteditors/format/FormatEditor.h"
#include "charteditors/dialog/PageKit.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

const TPlotText AxisNames[6] = {TPlotText::txtLeftAxis,  TPlotText::txtRightAxis,      TPlotText::txtTopAxis,
                                TPlotText::txtBottomAxis, TPlotText::txtDepthRightAxis, TPlotText::txtDepthTopAxis};

std::string DateText(double v) {
    return cb::rtl::FormatDateTime("yyyy-mm-dd", v);
}
std::string TimeText(double v) {
    return cb::rtl::FormatDateTime("hh:nn:ss", v);
}

// A date "yyyy-mm-dd" and a time "hh:mm[:ss]" read back into a day count.
bool ReadDate(const QString& text, double& days) {
    const QStringList p = text.trimmed().split('-');
    if (p.size() != 3) return false;
    bool a = false, b = false, c = false;
    const int y = p[0].toInt(&a), m = p[1].toInt(&b), d = p[2].toInt(&c);
    return a && b && c && cb::rtl::TryEncodeDate(y, m, d, days);
}
bool ReadTime(const QString& text, double& fraction) {
    const QStringList p = text.trimmed().split(':');
    if (p.size() < 2 || p.size() > 3) return false;
    bool a = false, b = false, c = true;
    const int h = p[0].toInt(&a), m = p[1].toInt(&b), s = p.size() == 3 ? p[2].toInt(&c) : 0;
    return a && b && c && cb::rtl::TryEncodeTime(h, m, s, 0, fraction);
}

}  // namespace

// --- limit dialog ---

TAxisMaxMin::TAxisMaxMin(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Axis Maximum and Minimum");
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel("&Date:", this);
    EMaximum = new QLineEdit(this);
    EMaximum->setObjectName("EMaximum");
    EMaximum->setToolTip("Enter Date");
    Label2 = new QLabel("&Time:", this);
    EMinimum = new QLineEdit(this);
    EMinimum->setObjectName("EMinimum");
    EMinimum->setToolTip("Enter Time");
    Label1->setBuddy(EMaximum);
    Label2->setBuddy(EMinimum);
    BitBtn1 = new QPushButton("OK", this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("Cancel", this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(EMaximum, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(EMinimum, 1, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TAxisMaxMin::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (IsDateTime) {
        const bool withDate = Value >= 1;
        Label1->setVisible(withDate);
        EMaximum->setVisible(withDate);
        if (withDate) EMaximum->setText(QString::fromStdString(DateText(Value)));
        EMinimum->setText(QString::fromStdString(TimeText(Value)));
    } else {
        EMaximum->setToolTip(QString());
        EMinimum->setToolTip(QString());
        Label1->setText("Value:");
        EMaximum->setText(QString::number(Value, 'g', 15));
        Label2->hide();
        EMinimum->hide();
    }
}

void TAxisMaxMin::OkClicked() {
    double v = 0;
    QString bad;
    if (IsDateTime) {
        double date = 0, time = 0;
        if (!EMaximum->isHidden() && !ReadDate(EMaximum->text(), date))
            bad = EMaximum->text();
        else if (!ReadTime(EMinimum->text(), time))
            bad = EMinimum->text();
        v = date + time;
    } else {
        if (!ParseDecimal(EMaximum->text(), v)) bad = EMaximum->text();
    }
    if (!bad.isNull()) {
        ShowIncorrectValue("\"" + bad.toStdString() + "\" is not a valid " + (IsDateTime ? "date or time" : "number"),
                           this);
        return;
    }
    Value = v;
    accept();
}

// --- axis page ---

TFormPlotAxis::TFormPlotAxis(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotAxis");
    auto* row = new QHBoxLayout(this);
    auto* left = new QVBoxLayout();
    LBAxes = new QListWidget(this);
    LBAxes->setObjectName("LBAxes");
    LBAxes->setFixedWidth(96);
    auto* addDel = new QHBoxLayout();
    BAdd = new QPushButton("+", this);
    BDelete = new QPushButton("-", this);
    BAdd->setObjectName("BAdd");
    BDelete->setObjectName("BDelete");
    addDel->addWidget(BAdd);
    addDel->addWidget(BDelete);
    CBShow = new QCheckBox("Visible", this);
    CBShow->setObjectName("CBShow");
    CBAxisBeh = new QCheckBox("&Behind", this);
    CBAxisBeh->setObjectName("CBAxisBeh");
    left->addWidget(LBAxes, 1);
    left->addLayout(addDel);
    left->addWidget(CBShow);
    left->addWidget(CBAxisBeh);
    row->addLayout(left);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    row->addWidget(PageControl, 1);

    {
        // Two columns, the scale's kind beside its ends, so the tab fits the
        // editor's default size.
        auto* scales = NewTab(PageControl, "Scales");
        auto* columns = new QHBoxLayout(scales);
        auto* kind = new QWidget(scales);
        auto* ends = new QWidget(scales);
        columns->addWidget(kind, 1);
        columns->addWidget(ends, 1);
        TEditorGrid g(kind);
        g.Layout()->setContentsMargins(0, 0, 0, 0);
        CBAutomatic = g.Check("CBAutomatic", "&Automatic");
        CBVisible = g.Check("CBVisible", "&Visible");
        CBLogarithmic = g.Check("CBLogarithmic", "Logarith&mic");
        ELogBase = g.Edit("ELogBase", "Log base:");
        ELogBase->setText("10");
        LogE = g.Check("LogE", "e");
        CBInverted = g.Check("CBInverted", "&Inverted");
        LAxisIncre = new QLabel(this);
        BIncre = new QPushButton("&Change...", this);
        BIncre->setObjectName("BIncre");
        g.Place(LAxisIncre, "Increment:");
        g.Place(BIncre, nullptr);
        g.Layout()->setRowStretch(g.Layout()->rowCount(), 1);
        TEditorGrid e(ends);
        e.Layout()->setContentsMargins(0, 0, 0, 0);
        CBAutoMin = e.Check("CBAutoMin", "Aut&o");
        LAxisMin = new QLabel(this);
        LAxisMin->setObjectName("LAxisMin");
        e.Place(LAxisMin, "Minimum:");
        BAxisMin = new QPushButton("Cha&nge...", this);
        BAxisMin->setObjectName("BAxisMin");
        e.Place(BAxisMin, nullptr);
        UDMinOff = e.Spin("UDMinOff", "Offset:", -10000, 10000);
        CBAutoMax = e.Check("CBAutoMax", "A&uto");
        LAxisMax = new QLabel(this);
        LAxisMax->setObjectName("LAxisMax");
        e.Place(LAxisMax, "Maximum:");
        BAxisMax = new QPushButton("C&hange...", this);
        BAxisMax->setObjectName("BAxisMax");
        e.Place(BAxisMax, nullptr);
        UDMaxOff = e.Spin("UDMaxOff", "Offset:", -10000, 10000);
        e.Layout()->setRowStretch(e.Layout()->rowCount(), 1);
    }
    {
        auto* tab = NewTab(PageControl, "Title");
        auto* inner = new QTabWidget(tab);
        auto* l = new QVBoxLayout(tab);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(inner);
        TEditorGrid g(NewTab(inner, "Style"));
        ETitle = g.Edit("ETitle", "T&itle:");
        UDTitleAngle = g.Spin("UDTitleAngle", "&Angle:", 0, 360, 90);
        UDTitleSize = g.Spin("UDTitleSize", "Si&ze:", 0, 1000);
        CBTitleVisible = g.Check("CBTitleVisible", "&Visible");
        TitleText = NewTab(inner, "Text");
    }
    {
        auto* tab = NewTab(PageControl, "Labels");
        auto* inner = new QTabWidget(tab);
        auto* l = new QVBoxLayout(tab);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(inner);
        TEditorGrid g(NewTab(inner, "Style"));
        CBLabels = g.Check("CBLabels", "V&isible");
        CBMultiline = g.Check("CBMultiline", "Multi-lin&e");
        CBOnAxis = g.Check("CBOnAxis", "Label On A&xis");
        CBRoundFirst = g.Check("CBRoundFirst", "Ro&und First");
        UDLabelsSize = g.Spin("UDLabelsSize", "Si&ze:", 0, 1000);
        UDLabelsAngle = g.Spin("UDLabelsAngle", "An&gle:", 0, 360, 90);
        UDSepar = g.Spin("UDSepar", "Min. Se&paration %:", 0, 100, 10);
        CBLabelStyle = g.Combo("CBLabelStyle", "&Style:", {"Auto", "None", "Value", "Mark", "Text"});
        CBAlternate = g.Check("CBAlternate", "&Alternate");
        TEditorGrid f(NewTab(inner, "Format"));
        CBFormat = f.Combo("CBFormat", "Values For&mat:", {});
        CBFormat->setEditable(true);
        LabelAxisFormat = f.LastLabel();
        Button1 = new QPushButton("...", this);
        Button1->setObjectName("Button1");
        f.Place(Button1, nullptr);
        CBExpo = f.Check("CBExpo", "&Exponential");
        CBLabelAlign = f.Check("CBLabelAlign", "&Default Alignment");
        LabelsText = NewTab(inner, "Text");
    }
    {
        TEditorGrid g(NewTab(PageControl, "Ticks"));
        BAxisPen = g.PenButton("BAxisPen", "&Axis...");
        BTickPen = g.PenButton("BTickPen", "T&icks...");
        UDAxisTickLength = g.Spin("UDAxisTickLength", "Len:", 0, 1000);
        BTickInner = g.PenButton("BTickInner", "I&nner...");
        UDInnerTicksLength = g.Spin("UDInnerTicksLength", "Len:", 0, 1000);
        CBTickOnLabels = g.Check("CBTickOnLabels", "At Labels Onl&y");
        BAxisGrid = g.PenButton("BAxisGrid", "&Grid...");
        CBGridCentered = g.Check("CBGridCentered", "C&entered");
        UDGridZ = g.Spin("UDGridZ", "&Z:", 0, 100);
    }
    {
        TEditorGrid g(NewTab(PageControl, "Minor"));
        BTickMinor = g.PenButton("BTickMinor", "&Ticks...");
        UDAxisMinorTickLen = g.Spin("UDAxisMinorTickLen", "Length:", 0, 1000);
        BMinorGrid = g.PenButton("BMinorGrid", "&Grid...");
        UDMinorCount = g.Spin("UDMinorCount", "&Count:", 0, 1000);
    }
    {
        TEditorGrid g(NewTab(PageControl, "Position"));
        UDPos = g.Spin("UDPos", "&Position %:", -1000, 1000);
        UDStart = g.Spin("UDStart", "St&art %:", 0, 100);
        UDEnd = g.Spin("UDEnd", "&End %:", 0, 100);
        UDZ = g.Spin("UDZ", "&Z %:", 0, 100);
        CBPosUnits = g.Combo("CBPosUnits", "&Units:", {"Percent", "Pixels"});
        CBOtherSide = g.Check("CBOtherSide", "&Other side");
        CBHorizAxis = g.Check("CBHorizAxis", "&Horizontal");
    }

    auto axis = [this] { return Axis(); };
    connect(LBAxes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (Filling() || row < 0) return;
        if (TChartAxis* a = AxisOfEntry(row)) SetAxis(a);
    });
    connect(BAdd, &QPushButton::clicked, this, [this] { AddAxis(); });
    connect(BDelete, &QPushButton::clicked, this, [this] { DeleteAxis(); });
    OnCheck(CBShow, this, [this](bool on) { Chart()->SetAxisVisible(on); });
    OnCheck(CBAxisBeh, this, [this](bool on) { Chart()->SetAxisBehind(on); });
    // Scales
    connect(CBAutomatic, &QCheckBox::toggled, this, [this, axis](bool on) {
        if (Filling() || FChangingAuto) return;
        axis()->SetAutomatic(on);
        if (on) {
            axis()->RefreshRange();
        } else {
            axis()->SetAutomaticMaximum(false);
            axis()->SetAutomaticMinimum(false);
        }
        FChangingAuto = true;
        LoadScales();
    });
    auto autoLimit = [this, axis](QCheckBox* box, bool maximum) {
        connect(box, &QCheckBox::toggled, this, [this, axis, maximum](bool on) {
            if (Filling() || FChangingAuto) return;
            if (maximum)
                axis()->SetAutomaticMaximum(on);
            else
                axis()->SetAutomaticMinimum(on);
            axis()->RefreshRange();
            FChangingAuto = true;
            LoadScales();
        });
    };
    autoLimit(CBAutoMin, false);
    autoLimit(CBAutoMax, true);
    OnCheck(CBVisible, this, [axis](bool on) { axis()->SetVisible(on); });
    OnCheck(CBInverted, this, [axis](bool on) { axis()->SetInverted(on); });
    connect(CBLogarithmic, &QCheckBox::toggled, this, [this, axis](bool on) {
        if (Filling()) return;
        std::string refused;
        try {
            axis()->SetLogarithmic(on);
        } catch (const AxisException& e) {
            refused = e.Message();
        }
        if (!refused.empty()) {
            SetCheck(CBLogarithmic, false);
            axis()->SetLogarithmic(false);
        }
        ELogBase->setEnabled(CBLogarithmic->isChecked() && CBLogarithmic->isEnabled());
        LogE->setEnabled(ELogBase->isEnabled() && !LogE->isChecked());
        if (!refused.empty()) ShowEngineError(refused);
    });
    connect(ELogBase, &QLineEdit::textEdited, this, [this] { LogBaseTyped(); });
    connect(LogE, &QCheckBox::clicked, this, [this] {
        ELogBase->setText(QString::number(std::exp(1.0), 'g', 17));
        LogBaseTyped();
        LogE->setEnabled(false);
    });
    OnSpin(UDMinOff, this, [axis](int v) { axis()->SetMinimumOffset(v); });
    OnSpin(UDMaxOff, this, [axis](int v) { axis()->SetMaximumOffset(v); });
    connect(BAxisMin, &QPushButton::clicked, this, [this] { EditLimit(false); });
    connect(BAxisMax, &QPushButton::clicked, this, [this] { EditLimit(true); });
    connect(BIncre, &QPushButton::clicked, this, [this] { EditIncrement(); });
    // Title
    connect(ETitle, &QLineEdit::textEdited, this, [this, axis](const QString& t) {
        if (!Filling()) axis()->Title().SetCaption(t.toStdString());
    });
    OnSpin(UDTitleAngle, this, [axis](int v) { axis()->Title().SetAngle(v); });
    OnSpin(UDTitleSize, this, [axis](int v) { axis()->SetTitleSize(v); });
    OnCheck(CBTitleVisible, this, [axis](bool on) { axis()->Title().SetVisible(on); });
    // Labels
    OnCheck(CBLabels, this, [axis](bool on) { axis()->SetLabels(on); });
    OnCheck(CBMultiline, this, [axis](bool on) { axis()->SetLabelsMultiLine(on); });
    OnCheck(CBOnAxis, this, [axis](bool on) { axis()->SetLabelsOnAxis(on); });
    OnCheck(CBRoundFirst, this, [axis](bool on) { axis()->SetRoundFirstLabel(on); });
    OnCheck(CBAlternate, this, [axis](bool on) { axis()->SetLabelsAlternate(on); });
    OnCheck(CBExpo, this, [axis](bool on) { axis()->SetLabelsExponent(on); });
    OnCheck(CBLabelAlign, this, [axis](bool on) { axis()->SetLabelsAlign(on ? alDefault : alOpposite); });
    OnSpin(UDLabelsSize, this, [axis](int v) { axis()->SetLabelsSize(v); });
    OnSpin(UDLabelsAngle, this, [axis](int v) { axis()->SetLabelsAngle(v); });
    OnSpin(UDSepar, this, [axis](int v) { axis()->SetLabelsSeparation(v); });
    OnIndex(CBLabelStyle, this, [axis](int i) { axis()->SetLabelStyle(TAxisLabelStyle(i)); });
    connect(CBFormat, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!Filling()) FormatChosen(t);
    });
    connect(Button1, &QPushButton::clicked, this, [this, axis] {
        TFormatEditor editor(this);
        editor.IsDate = axis()->ShowsDateTime();
        editor.Format = CBFormat->currentText().toStdString();
        if (editor.exec() != QDialog::Accepted) return;
        CBFormat->setCurrentText(QString::fromStdString(editor.Format));
        FormatChosen(CBFormat->currentText());
    });
    // Ticks, minor
    OnSpin(UDAxisTickLength, this, [axis](int v) { axis()->SetTickLength(v); });
    OnSpin(UDInnerTicksLength, this, [axis](int v) { axis()->SetTickInnerLength(v); });
    OnCheck(CBTickOnLabels, this, [axis](bool on) { axis()->SetTickOnLabelsOnly(on); });
    OnCheck(CBGridCentered, this, [axis](bool on) { axis()->SetGridCentered(on); });
    OnSpin(UDGridZ, this, [axis](int v) { axis()->SetGridZPosition(v); });
    OnSpin(UDAxisMinorTickLen, this, [axis](int v) { axis()->SetMinorTickLength(v); });
    OnSpin(UDMinorCount, this, [axis](int v) { axis()->SetMinorTickCount(v); });
    // Position
    OnSpin(UDPos, this, [axis](int v) { axis()->SetPositionPercent(v); });
    OnSpin(UDStart, this, [this, axis](int v) {
        if (v >= axis()->EndPosition())
            SetSpin(UDStart, int(std::lround(axis()->StartPosition())));
        else
            axis()->SetStartPosition(v);
    });
    OnSpin(UDEnd, this, [this, axis](int v) {
        if (v > axis()->StartPosition())
            axis()->SetEndPosition(v);
        else
            SetSpin(UDEnd, int(std::lround(axis()->EndPosition())));
    });
    OnSpin(UDZ, this, [axis](int v) { axis()->SetZPosition(v); });
    OnIndex(CBPosUnits, this, [axis](int i) { axis()->SetPositionUnits(TAxisPositionUnits(i)); });
    OnCheck(CBOtherSide, this, [axis](bool on) { axis()->SetOtherSide(on); });
    OnCheck(CBHorizAxis, this, [this, axis](bool on) {
        axis()->SetHorizontal(on);
        if (OnHorizontalChanged) OnHorizontalChanged(axis());
    });
}

TChartAxis* TFormPlotAxis::Axis() const {
    return Edited().As<TChartAxis>();
}

TCustomAxisPanel* TFormPlotAxis::Chart() const {
    TChartAxis* a = Axis();
    return a ? a->ParentChart() : nullptr;
}

void TFormPlotAxis::SetAxis(TChartAxis* axis) {
    if (!axis) return;
    BindObject(TEditedObject::Part(axis, static_cast<QObject*>(axis->ParentChart())));
    if (!isVisible()) LoadControls();
}

int TFormPlotAxis::EntryOfAxis(const TChartAxis* axis) const {
    TCustomAxisPanel* c = Chart();
    if (!c || !axis) return -1;
    const TChartAxis* builtIn[6] = {&c->LeftAxis(),  &c->RightAxis(), &c->TopAxis(),
                                    &c->BottomAxis(), &c->DepthAxis(), &c->DepthTopAxis()};
    for (int i = 0; i < 6; ++i)
        if (builtIn[i] == axis) return i;
    return c->Axes().IndexOf(axis);
}

TChartAxis* TFormPlotAxis::AxisOfEntry(int entry) const {
    TCustomAxisPanel* c = Chart();
    if (!c || entry < 0) return nullptr;
    TChartAxis* builtIn[6] = {&c->LeftAxis(),  &c->RightAxis(), &c->TopAxis(),
                              &c->BottomAxis(), &c->DepthAxis(), &c->DepthTopAxis()};
    if (entry < 6) return builtIn[entry];
    return entry < c->Axes().Count() ? c->Axes().AxisAt(entry) : nullptr;
}

void TFormPlotAxis::FillAxes() {
    TFilling filling(*this);
    LBAxes->clear();
    TCustomAxisPanel* c = Chart();
    if (!c) return;
    for (TPlotText t : AxisNames) LBAxes->addItem(QString::fromStdString(PlotText(t)));
    for (int i = 0; i < c->CustomAxes().Count(); ++i)
        LBAxes->addItem(QString::fromStdString(PlotText(TPlotText::txtCustom)) + QString::number(i));
}

void TFormPlotAxis::FormShow() {
    TChartAxis* a = Axis();
    if (!a) return;
    FillAxes();
    LBAxes->setCurrentRow(EntryOfAxis(a));
    CBShow->setChecked(Chart()->AxisVisible());
    CBAxisBeh->setChecked(Chart()->AxisBehind());
    FChangingAuto = true;
    PageChange();
}

void TFormPlotAxis::PageChange() {
    TFilling filling(*this);
    TChartAxis* a = Axis();
    if (!a) return;
    BAxisPen->LinkPen(TEditedObject::Part(&a->AxisPen(), static_cast<QObject*>(Chart())));
    BTickPen->LinkPen(TEditedObject::Part(&a->Ticks(), static_cast<QObject*>(Chart())));
    BTickInner->LinkPen(TEditedObject::Part(&a->TicksInner(), static_cast<QObject*>(Chart())));
    BAxisGrid->LinkPen(TEditedObject::Part(&a->Grid(), static_cast<QObject*>(Chart())));
    BTickMinor->LinkPen(TEditedObject::Part(&a->MinorTicks(), static_cast<QObject*>(Chart())));
    BMinorGrid->LinkPen(TEditedObject::Part(&a->MinorGrid(), static_cast<QObject*>(Chart())));
    LoadScales();
    LoadLabels();
    ETitle->setText(QString::fromStdString(a->Title().Caption()));
    UDTitleAngle->setValue(a->Title().Angle());
    UDTitleSize->setValue(a->TitleSize());
    CBTitleVisible->setChecked(a->Title().Visible());
    UDAxisTickLength->setValue(a->TickLength());
    UDInnerTicksLength->setValue(a->TickInnerLength());
    CBTickOnLabels->setChecked(a->TickOnLabelsOnly());
    CBGridCentered->setChecked(a->GridCentered());
    UDGridZ->setValue(int(std::lround(a->GridZPosition())));
    UDAxisMinorTickLen->setValue(a->MinorTickLength());
    UDMinorCount->setValue(a->MinorTickCount());
    UDPos->setValue(int(std::lround(a->PositionPercent())));
    UDStart->setValue(int(std::lround(a->StartPosition())));
    UDEnd->setValue(int(std::lround(a->EndPosition())));
    UDZ->setValue(int(std::lround(a->ZPosition())));
    CBPosUnits->setCurrentIndex(int(a->PositionUnits()));
    const bool custom = LBAxes->currentRow() > 5;
    CBOtherSide->setChecked(a->OtherSide());
    CBHorizAxis->setChecked(a->Horizontal());
    CBOtherSide->setEnabled(custom);
    CBHorizAxis->setEnabled(custom);
    BDelete->setEnabled(custom);
    CBVisible->setChecked(a->Visible());
    CBLabelAlign->setChecked(a->LabelsAlign() == alDefault);
    CBLabelAlign->setEnabled(!a->Horizontal() && !a->IsDepthAxis());
    BindFonts();
}

void TFormPlotAxis::BindFonts() {
    TChartAxis* a = Axis();
    QObject* chart = Chart();
    const TEditedObject labels = TEditedObject::Part(&a->LabelsFont(), chart);
    const TEditedObject title = TEditedObject::Part(&a->Title().Font(), chart);
    if (FLabelsFont)
        FLabelsFont->BindObject(labels);
    else
        FLabelsFont = EmbedEditorByName("TPlotFontEditor", LabelsText, labels);
    if (FTitleFont)
        FTitleFont->BindObject(title);
    else
        FTitleFont = EmbedEditorByName("TPlotFontEditor", TitleText, title);
}

void TFormPlotAxis::LoadScales() {
    TFilling filling(*this);
    TChartAxis* a = Axis();
    const bool dt = a->ShowsDateTime();
    LAxisIncre->setText(QString::fromStdString(
        IncrementText(dt, a->ExactDateTime(), a->AxisValuesFormat(), a->Increment())));
    auto limit = [&](double v) {
        if (dt) return QString::fromStdString(v >= 1 ? cb::rtl::DateTimeToStr(v) : TimeText(v));
        return QString::fromStdString(
            cb::rtl::FormatFloat(a->AxisValuesFormat().empty() ? "#,##0.###" : a->AxisValuesFormat(), v));
    };
    LAxisMin->setText(limit(a->Minimum()));
    LAxisMax->setText(limit(a->Maximum()));
    if (FChangingAuto) {
        CBAutomatic->setChecked(a->Automatic());
        CBAutoMax->setChecked(a->AutomaticMaximum());
        CBAutoMin->setChecked(a->AutomaticMinimum());
        UDMaxOff->setValue(a->MaximumOffset());
        UDMinOff->setValue(a->MinimumOffset());
        FChangingAuto = false;
    }
    CBLogarithmic->setChecked(a->Logarithmic());
    CBLogarithmic->setEnabled(!a->IsDepthAxis());
    LogE->setChecked(a->LogarithmicBase() == std::exp(1.0));
    ELogBase->setText(QString::number(a->LogarithmicBase(), 'g', 17));
    ELogBase->setEnabled(CBLogarithmic->isChecked() && CBLogarithmic->isEnabled());
    LogE->setEnabled(ELogBase->isEnabled());
    CBInverted->setChecked(a->Inverted());
    CBVisible->setChecked(a->Visible());
}

void TFormPlotAxis::LoadLabels() {
    TFilling filling(*this);
    TChartAxis* a = Axis();
    CBLabels->setChecked(a->Labels());
    CBLabelStyle->setCurrentIndex(int(a->LabelStyle()));
    CBOnAxis->setChecked(a->LabelsOnAxis());
    CBRoundFirst->setChecked(a->RoundFirstLabel());
    UDLabelsAngle->setValue(a->LabelsAngle());
    UDSepar->setValue(a->LabelsSeparation());
    UDLabelsSize->setValue(a->LabelsSize());
    CBMultiline->setChecked(a->LabelsMultiLine());
    CBExpo->setChecked(a->LabelsExponent());
    CBAlternate->setChecked(a->LabelsAlternate());
    CBFormat->clear();
    QStringList items;
    QString current;
    if (a->ShowsDateTime()) {
        if (a->Maximum() - a->Minimum() > 1)
            items = {QLocale().dateFormat(QLocale::ShortFormat), QLocale().dateFormat(QLocale::LongFormat),
                     "yyyy-mm-dd", "mm-dd-yyyy", "dd-mm-yyyy", "ddd", "dddd", "mmm", "mmmm"};
        else
            items = {QLocale().timeFormat(QLocale::ShortFormat), QLocale().timeFormat(QLocale::LongFormat), "hh:nn",
                     "hh:nn:ss", "hh:nn:ss.zzz"};
        LabelAxisFormat->setText("DateTime For&mat:");
        current = QString::fromStdString(a->DateTimeFormat().empty() ? DateTimeFormatForStep(a->Maximum() - a->Minimum())
                                                                     : a->DateTimeFormat());
    } else {
        AddValueFormatPresets(items);
        LabelAxisFormat->setText("Values For&mat:");
        current = QString::fromStdString(
            NumberTextToLocal(a->AxisValuesFormat().empty() ? "#,##0.###" : a->AxisValuesFormat()));
    }
    if (!items.contains(current)) items << current;
    CBFormat->addItems(items);
    CBFormat->setCurrentText(current);
}

void TFormPlotAxis::FormatChosen(const QString& text) {
    TChartAxis* a = Axis();
    if (a->ShowsDateTime())
        a->SetDateTimeFormat(text.toStdString());
    else
        a->SetAxisValuesFormat(NumberTextToInvariant(text.toStdString()));
}

void TFormPlotAxis::LogBaseTyped() {
    if (Filling()) return;
    TChartAxis* a = Axis();
    double base = a->LogarithmicBase();
    double typed = 0;
    if (ParseDecimal(ELogBase->text(), typed)) base = typed;
    if (base != 1 && base != 0 && base > 0) a->SetLogarithmicBase(base);
    SetCheck(LogE, a->LogarithmicBase() == std::exp(1.0) ||
                       std::abs(a->LogarithmicBase() - std::exp(1.0)) < 1e-12);
    LogE->setEnabled(!LogE->isChecked());
}

void TFormPlotAxis::EditLimit(bool maximum) {
    TChartAxis* a = Axis();
    auto* chart = dynamic_cast<TCustomChart*>(Chart());
    TAxisMaxMin dialog(this);
    dialog.setWindowTitle(QString(maximum ? "Maximum" : "Minimum") + " " +
                          QString::fromStdString(chart ? chart->AxisTitleOrName(a) : std::string()));
    dialog.IsDateTime = a->ShowsDateTime();
    dialog.Value = maximum ? a->Maximum() : a->Minimum();
    ApplyTranslationHook(&dialog);
    if (dialog.exec() != QDialog::Accepted || !Axis()) return;
    if (maximum)
        a->SetMaximum(dialog.Value);
    else
        a->SetMinimum(dialog.Value);
    (maximum ? CBAutoMax : CBAutoMin)->setChecked(false);
    LoadScales();
}

void TFormPlotAxis::EditIncrement() {
    TChartAxis* a = Axis();
    auto* chart = dynamic_cast<TCustomChart*>(Chart());
    TAxisIncrement dialog(this);
    dialog.setWindowTitle(QString("Desired %1 Increment")
                              .arg(QString::fromStdString(chart ? chart->AxisTitleOrName(a) : std::string())));
    dialog.IsDateTime = a->ShowsDateTime();
    dialog.IsExact = a->ExactDateTime();
    dialog.Increment = a->Increment();
    dialog.Step = DateTimeStepIndex(a->Increment());
    ApplyTranslationHook(&dialog);
    if (dialog.exec() != QDialog::Accepted || !Axis()) return;
    a->SetIncrement(dialog.Increment);
    a->SetExactDateTime(dialog.IsExact);
    LoadScales();
}

void TFormPlotAxis::AddAxis() {
    TCustomAxisPanel* c = Chart();
    if (!c) return;
    TChartAxis* axis = c->CustomAxes().Add();
    SetAxis(axis);
    FillAxes();
    {
        TFilling filling(*this);
        LBAxes->setCurrentRow(EntryOfAxis(axis));
    }
    PageChange();
}

void TFormPlotAxis::DeleteAxis() {
    const int entry = LBAxes->currentRow();
    TCustomAxisPanel* c = Chart();
    if (!c || entry <= 5) return;
    TChartAxis* doomed = AxisOfEntry(entry);
    TChartAxis* previous = AxisOfEntry(entry - 1);
    SetAxis(previous);  // the page lets go of the axis first
    for (int i = 0; i < c->CustomAxes().Count(); ++i)
        if (c->CustomAxes().AxisAt(i) == doomed) c->CustomAxes().Delete(i);
    FillAxes();
    {
        TFilling filling(*this);
        LBAxes->setCurrentRow(EntryOfAxis(previous));
    }
    PageChange();
}

}  // namespace cb::charteditors
