#include "charteditors/series/SeriesTab.h"

#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/component/ChartLegend.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/panel/PlotButtons.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartSeriesList.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/PlotFunction.h"
#include "chart/series/SeriesContent.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesPointer.h"
#include "chart/series/SeriesTypes.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/common/CursorNames.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorForm.h"
#include "charteditors/common/EditorHelpers.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartGridNavigator.h"
#include "charteditors/controls/ChartListBox.h"
#include "charteditors/format/FormatEditor.h"
#include "charteditors/series/PlotFuncEditor.h"
#include "charteditors/series/RandomSourcePanel.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/series/SeriesPointerEditor.h"
#include "charteditors/series/SourceEditor.h"
#include "charteditors/style/ShapeEditor.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

// The series colour beside the combo: its legend symbol; a click edits the
// colour.
class TSeriesColorSwatch : public QWidget {
public:
    explicit TSeriesColorSwatch(TFormPlotSeries* tab) : QWidget(tab), FTab(tab) {
        setObjectName("PaintBox1");
        setFixedSize(40, 24);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        TChartSeries* s = FTab->Series();
        if (!s) return;
        cb::gfx::TCanvas canvas(&painter);
        DrawSeriesLegendSymbol(*s, canvas, TRect{0, 4, width(), height() - 4}, s->ParentChart());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        TChartSeries* s = FTab->Series();
        if (!s || e->button() != Qt::LeftButton) return;
        TColor c = s->SeriesColor();
        if (EditColorWithDialog(this, c)) {
            s->SetSeriesColor(c);
            update();
        }
    }

private:
    TFormPlotSeries* FTab;
};

namespace {

const char* const MarkStyles[10] = {"Value",           "Percent",       "Label",         "Label and Percent",
                                    "Label and Value", "Legend",        "Percent Total", "Label and Percent Total",
                                    "X value",         "X and Y values"};

// Pie series draw each slice in its own colour: no series colour to show.
bool UsesSeriesColor(const TChartSeries& s) {
    return dynamic_cast<const TPieSeries*>(&s) == nullptr;
}

QString Local(const std::string& number) {
    return QString::fromStdString(NumberTextToLocal(number));
}
std::string Invariant(const QString& number) {
    return NumberTextToInvariant(number.toStdString());
}

// Series style flags: made for the chart's own use (1), no data source page
// (32), kept when the chart is cleared (16).
constexpr unsigned sfInternal = 1, sfPersistent = 16, sfNoDataSource = 32;

}  // namespace

std::function<void(TFormPlotSeries&, TCustomAxisPanel*)>& TFormPlotSeries::ShowHook() {
    static std::function<void(TFormPlotSeries&, TCustomAxisPanel*)> hook;
    return hook;
}

TFormPlotSeries::TFormPlotSeries(QWidget* parent) : QWidget(parent) {
    setObjectName("FormPlotSeries");
    auto* column = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    ImageSeries = new QLabel(this);
    ImageSeries->setFixedSize(GalleryBitmapSize + 4, GalleryBitmapSize + 4);
    LabelSeriesClass = new QLabel(this);
    CBSeries = new QComboBox(this);
    CBSeries->setObjectName("CBSeries");
    CBSeries->setMaxVisibleItems(16);
    PaintBox1 = new TSeriesColorSwatch(this);
    top->addWidget(ImageSeries);
    top->addWidget(CBSeries, 1);
    top->addWidget(PaintBox1);
    column->addLayout(top);
    column->addWidget(LabelSeriesClass);
    PageSeries = new QTabWidget(this);
    PageSeries->setObjectName("PageSeries");
    column->addWidget(PageSeries, 1);
    CBPersistent = new QCheckBox("Persistent", this);
    CBPersistent->setObjectName("CBPersistent");
    CBPersistent->hide();
    column->addWidget(CBPersistent);

    TheTabSheet = new QWidget;
    new QVBoxLayout(TheTabSheet);
    TabGeneral = new QWidget;
    TabMarks = new QWidget;
    TabDataSource = new QWidget;
    PageSeries->addTab(TheTabSheet, "Format");
    PageSeries->addTab(TabGeneral, "General");
    PageSeries->addTab(TabMarks, "Marks");
    PageSeries->addTab(TabDataSource, "Data Source");
    BuildGeneral();
    BuildMarks();
    BuildDataSource();

    FSeries.OnGone = [this] { SeriesGone(); };
    FChart.OnGone = [this] { FLastLoaded = nullptr; };
    connect(CBSeries, &QComboBox::currentIndexChanged, this, [this] {
        if (!FCreating) SeriesChanged();
    });
    connect(PageSeries, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == FCurrentPage) return;
        if (!CloseQuery()) {
            // The data source editor keeps the page.
            const QSignalBlocker quiet(PageSeries);
            PageSeries->setCurrentIndex(FCurrentPage);
            return;
        }
        FCurrentPage = index;
        LoadPage(index);
    });
    connect(CBPersistent, &QCheckBox::toggled, this, [this](bool on) {
        if (Guarded()) return;
        Series()->SetStyle(on ? Series()->Style() | sfPersistent : Series()->Style() & ~sfPersistent);
    });
    PageSeries->hide();
}

TFormPlotSeries::~TFormPlotSeries() {
    FDestroying = true;
    FSeries.OnGone = nullptr;
    FChart.OnGone = nullptr;
    FSourceEditor.reset();
    FreeSeriesForms();
    AttachChart(nullptr);
}

TChartSeries* TFormPlotSeries::Series() const {
    return FSeries.As<TChartSeries>();
}

void TFormPlotSeries::SetSeries(TChartSeries* series) {
    FSeries.Set(series ? TEditedObject::Element(series) : TEditedObject());
}

bool TFormPlotSeries::Guarded() const {
    return FCreating || FChangingPage || !Series();
}

void TFormPlotSeries::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FCreating = false;
    if (ShowHook() && Series()) ShowHook()(*this, Series()->ParentChart());
}

// --- series choice ---

void TFormPlotSeries::FillSeriesCombo() {
    const QSignalBlocker quiet(CBSeries);
    CBSeries->clear();
    if (FListBox) {
        for (int row = 0; row < FListBox->count(); ++row)
            if (TChartSeries* s = FListBox->SeriesAtRow(row))
                CBSeries->addItem(FListBox->item(row)->text(), QVariant::fromValue<void*>(s));
    } else if (TChartSeries* s = Series(); s && s->ParentChart()) {
        std::vector<std::pair<std::string, TChartSeries*>> items;
        ListSeriesInStrings(items, s->ParentChart()->SeriesList(), true);
        for (const auto& [title, series] : items)
            CBSeries->addItem(QString::fromStdString(title), QVariant::fromValue<void*>(series));
    }
    CBSeries->setCurrentIndex(CBSeries->findData(QVariant::fromValue<void*>(Series())));
}

void TFormPlotSeries::SelectSeries() {
    FillSeriesCombo();
    SeriesChanged();
}

void TFormPlotSeries::SeriesChanged() {
    const bool wasCreating = FCreating;
    FCreating = true;
    auto restore = cb::rtl::OnScopeExit([this, wasCreating] { FCreating = wasCreating; });
    const int i = CBSeries->currentIndex();
    auto* s = i < 0 ? nullptr : static_cast<TChartSeries*>(CBSeries->itemData(i).value<void*>());
    if (!s) {
        ImageSeries->hide();
        LabelSeriesClass->clear();
        PageSeries->hide();
        return;
    }
    if (s != Series()) {
        if (!CloseQuery()) {
            // The data source editor keeps its series.
            const QSignalBlocker quiet(CBSeries);
            CBSeries->setCurrentIndex(CBSeries->findData(QVariant::fromValue<void*>(Series())));
            return;
        }
        SetSeries(s);
    }
    if (FListBox) {
        FListBox->clearSelection();
        FListBox->SelectSeries(s);
    }
    if (s != FLastLoaded) {
        LoadSeries(s);
        FLastLoaded = s;
    }
}

void TFormPlotSeries::SeriesGone() {
    if (FDestroying) return;
    // Nothing is left to apply to: the source editor goes without asking.
    if (FSourceEditor) FSourceEditor->BApply->setEnabled(false);
    FLastLoaded = nullptr;
    FreeSeriesForms();
    FSourceEditor.reset();
    FSeries.Clear();
    FillSeriesCombo();
    {
        const QSignalBlocker quiet(CBSeries);
        CBSeries->setCurrentIndex(-1);
    }
    SeriesChanged();
}

void TFormPlotSeries::AttachChart(TCustomAxisPanel* chart) {
    if (TCustomAxisPanel* old = FChart.As<TCustomAxisPanel>(); old && old != chart) old->RemoveListener(this);
    if (!chart) {
        FChart.Clear();
        return;
    }
    FChart.Set(TEditedObject::Part(chart, chart));
    chart->Listeners().Add(this);
}

void TFormPlotSeries::HandleEvent(TPlotEvent& event) {
    auto* e = dynamic_cast<TPlotSeriesEvent*>(&event);
    if (!e || FDestroying) return;
    if (e->Code == seChangeColor)
        PaintBox1->update();
    else if (e->Code == seRemove && e->Series && e->Series == Series())
        SeriesGone();
}

int TFormPlotSeries::IndexOfCaption(const QString& caption) const {
    for (int i = 0; i < PageSeries->count(); ++i)
        if (PageSeries->tabText(i) == caption) return i;
    return -1;
}

void TFormPlotSeries::ShowPage(QWidget* page, bool visible) {
    PageSeries->setTabVisible(PageSeries->indexOf(page), visible);
}

void TFormPlotSeries::LoadSeries(TChartSeries* s) {
    const QString remembered = PageSeries->tabText(PageSeries->currentIndex());
    AttachChart(s->ParentChart());

    cb::gfx::TBitmap bitmap;
    const TPlotSeriesType* type = SeriesTypes().FindSeriesClassOf(*s);
    if (type && type->SeriesClass && LoadSeriesClassBitmap(type->SeriesClass->Name, "", bitmap))
        ImageSeries->setPixmap(QPixmap::fromImage(bitmap.Image()));
    else
        ImageSeries->clear();
    PaintBox1->setVisible(UsesSeriesColor(*s));
    LabelSeriesClass->setText(QString::fromStdString(SeriesTypeDescription(*s) + ": " + GetSeriesDisplayTitle(*s)));
    ImageSeries->show();
    PageSeries->show();

    ShowPage(TabGeneral, ShowTabGeneral);
    ShowPage(TabMarks, ShowTabMarks);
    const bool sourcePage = ShowTabDataSource && !(s->Style() & (sfInternal | sfNoDataSource));
    ShowPage(TabDataSource, sourcePage);
    QString caption = remembered;
    if (caption.isEmpty() || (caption == "Data Source" && !sourcePage)) caption = "Format";

    const bool axes = s->UsesAxes();
    GBHorizAxis->setVisible(axes);
    GBVertAxis->setVisible(axes);
    CBPersistent->setVisible(ShowPersistentBox && !(s->Style() & sfInternal));
    {
        const QSignalBlocker quiet(CBPersistent);
        CBPersistent->setChecked(s->Style() & sfPersistent);
    }

    {
        const QSignalBlocker quiet(PageSeries);
        FreeSeriesForms();
        if (std::unique_ptr<TEditorForm> editor = CreateEditorByName(s->EditorClassName(), this)) {
            TEditorForm* form = editor.get();
            FSeriesForms.push_back(std::move(editor));
            EmbedFormWithObject(form, TheTabSheet, TEditedObject::Element(s));
            TheTabSheet->layout()->addWidget(form);
            static_cast<QVBoxLayout*>(TheTabSheet->layout())->addStretch(1);
            ShowPage(TheTabSheet, true);
        } else {
            ShowPage(TheTabSheet, false);
        }
        int page = IndexOfCaption(caption);
        if (page < 0) page = PageSeries->indexOf(TheTabSheet);
        if (!PageSeries->isTabVisible(page)) page = PageSeries->indexOf(TabGeneral);
        PageSeries->setCurrentIndex(page);
        FCurrentPage = page;
    }
    FShownStyle = -1;
    LoadPage(FCurrentPage);
    PaintBox1->update();
}

TEditorForm* TFormPlotSeries::AddSeriesPage(std::unique_ptr<TEditorForm> form, int index, const TEditedObject& object,
                                            const QString& caption) {
    auto* sheet = new QWidget;
    new QVBoxLayout(sheet);
    {
        const QSignalBlocker quiet(PageSeries);
        PageSeries->insertTab(index, sheet, caption);
        if (FCurrentPage >= index) ++FCurrentPage;
        PageSeries->setCurrentIndex(FCurrentPage);
    }
    FAddedPages.push_back(sheet);
    TEditorForm* f = form.get();
    FSeriesForms.push_back(std::move(form));
    EmbedFormWithObject(f, sheet, object);
    sheet->layout()->addWidget(f);
    static_cast<QVBoxLayout*>(sheet->layout())->addStretch(1);
    return f;
}

void TFormPlotSeries::FreeSeriesForms() {
    const QSignalBlocker quiet(PageSeries);
    const QString current = PageSeries->tabText(PageSeries->currentIndex());
    // Later forms are the pages the first one added.
    while (!FSeriesForms.empty()) FSeriesForms.pop_back();
    while (QLayoutItem* item = TheTabSheet->layout()->takeAt(0)) delete item;
    for (QWidget* page : FAddedPages) {
        PageSeries->removeTab(PageSeries->indexOf(page));
        delete page;
    }
    FAddedPages.clear();
    const int again = IndexOfCaption(current);
    PageSeries->setCurrentIndex(again >= 0 ? again : 0);
    FCurrentPage = PageSeries->currentIndex();
    if (!FDestroying) CloseSourceEditor();
}

bool TFormPlotSeries::CloseQuery() {
    return !FSourceEditor || FSourceEditor->CloseQuery();
}

void TFormPlotSeries::LoadPage(int index) {
    QWidget* page = PageSeries->widget(index);
    FChangingPage = true;
    auto clear = cb::rtl::OnScopeExit([this] { FChangingPage = false; });
    if (!Series()) return;
    if (page == TabGeneral)
        LoadGeneral();
    else if (page == TabMarks)
        LoadMarks();
    else if (page == TabDataSource)
        LoadDataSource();
}

// --- General ---

void TFormPlotSeries::BuildGeneral() {
    auto* column = new QVBoxLayout(TabGeneral);
    auto* left = new QWidget(TabGeneral);
    TEditorGrid g(left);
    CBShowInLegend = g.Check("CBShowInLegend", "&Show In Legend");
    CBCursor = g.Combo("CBCursor", "&Cursor:", {});
    CBCursor->setProperty("sorted", true);
    EDepth = g.Spin("EDepth", "&Depth:", 0, 1200);
    LDepth = g.LastLabel();
    CBDepth = g.Check("CBDepth", "Auto");
    CBFormat = g.Combo("CBFormat", "&Values:", {});
    CBFormat->setEditable(true);
    Button1 = new QPushButton("...", left);
    Button1->setObjectName("Button1");
    g.Place(Button1, nullptr);
    EPercentFormat = g.Edit("EPercentFormat", "&Percents:");
    Button2 = new QPushButton("...", left);
    Button2->setObjectName("Button2");
    g.Place(Button2, nullptr);
    CBSort = g.Combo("CBSort", "S&ort:", {"Ascending", "Descending", "None"});
    LSort = g.LastLabel();
    column->addWidget(left);

    auto axisGroup = [this, column](QGroupBox*& box, QComboBox*& combo, QCheckBox*& dateTime, const char* caption,
                                    std::initializer_list<const char*> items, const char* comboName, const char* dtName,
                                    const char* dtCaption) {
        box = new QGroupBox(caption, TabGeneral);
        auto* row = new QHBoxLayout(box);
        combo = new QComboBox(box);
        combo->setObjectName(comboName);
        for (const char* i : items) combo->addItem(i);
        dateTime = new QCheckBox(dtCaption, box);
        dateTime->setObjectName(dtName);
        row->addWidget(combo, 1);
        row->addWidget(dateTime);
        column->addWidget(box);
    };
    axisGroup(GBHorizAxis, CBHorizAxis, CBXDateTime, "Horizontal Axis:", {"Top", "Bottom", "Top and Bottom"},
              "CBHorizAxis", "CBXDateTime", "Dat&eTime");
    axisGroup(GBVertAxis, CBVertAxis, CBYDateTime, "Vertical Axis:", {"Left", "Right", "Left and Right"}, "CBVertAxis",
              "CBYDateTime", "D&ateTime");
    CBZDateTime = new QCheckBox("&Z DateTime", TabGeneral);
    CBZDateTime->setObjectName("CBZDateTime");
    CBZDateTime->hide();
    column->addWidget(CBZDateTime);
    column->addStretch(1);

    connect(CBShowInLegend, &QCheckBox::toggled, this, [this](bool on) {
        if (!Guarded()) Series()->SetShowInLegend(on);
    });
    connect(CBCursor, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        if (!Guarded()) Series()->SetCursor(CursorFromName(Series()->Cursor(), name.toStdString()));
    });
    connect(CBDepth, &QCheckBox::toggled, this, [this](bool on) {
        if (!Guarded()) Series()->SetDepth(on ? -1 : EDepth->value());
    });
    connect(EDepth, &QSpinBox::valueChanged, this, [this](int v) {
        if (Guarded()) return;
        Series()->SetDepth(v);
        const QSignalBlocker quiet(CBDepth);
        CBDepth->setChecked(false);
    });
    connect(CBFormat, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!Guarded()) Series()->SetValueFormat(Invariant(t));
    });
    connect(EPercentFormat, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!Guarded()) Series()->SetPercentFormat(Invariant(t));
    });
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (!Series()) return;
        CBFormat->setCurrentText(Local(EditValueFormat(this, Invariant(CBFormat->currentText()))));
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        if (!Series()) return;
        EPercentFormat->setText(Local(EditValueFormat(this, Invariant(EPercentFormat->text()))));
    });
    connect(CBHorizAxis, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Guarded() || i < 0) return;
        if (i < 3)
            Series()->SetHorizAxis(THorizAxis(i));
        else
            Series()->SetCustomHorizAxis(static_cast<TChartAxis*>(CBHorizAxis->itemData(i).value<void*>()));
    });
    connect(CBVertAxis, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Guarded() || i < 0) return;
        if (i < 3)
            Series()->SetVertAxis(TVertAxis(i));
        else
            Series()->SetCustomVertAxis(static_cast<TChartAxis*>(CBVertAxis->itemData(i).value<void*>()));
    });
    connect(CBXDateTime, &QCheckBox::toggled, this, [this](bool on) {
        if (!Guarded()) Series()->XValues().SetDateTime(on);
    });
    connect(CBYDateTime, &QCheckBox::toggled, this, [this](bool on) {
        if (!Guarded()) Series()->YValues().SetDateTime(on);
    });
    connect(CBZDateTime, &QCheckBox::toggled, this, [this](bool on) {
        if (Guarded()) return;
        TChartSeries* s = Series();
        TCustomAxisPanel* chart = s->ParentChart();
        TChartValueList* z = chart ? s->ValueListForAxis(&chart->DepthAxis()) : nullptr;
        if (z)
            z->SetDateTime(on);
        else
            CBZDateTime->hide();
    });
    connect(CBSort, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Guarded() || i < 0) return;
        TChartSeries* s = Series();
        s->OtherList().SetOrder(loNone);
        s->MandatoryList().SetOrder(i == 2 ? loNone : i == 0 ? loAscending : loDescending);
        if (i != 2) s->SortByMandatoryOrder();
    });
}

void TFormPlotSeries::RefreshAxisLists() {
    for (QComboBox* c : {CBHorizAxis, CBVertAxis}) {
        const QSignalBlocker quiet(c);
        while (c->count() > 3) c->removeItem(3);
    }
    TChartSeries* s = Series();
    TCustomAxisPanel* chart = s ? s->ParentChart() : nullptr;
    if (!chart) return;
    TChartCustomAxes& custom = chart->CustomAxes();
    for (int i = 0; i < custom.Count(); ++i) {
        TChartAxis* axis = custom.AxisAt(i);
        QComboBox* c = axis->Horizontal() ? CBHorizAxis : CBVertAxis;
        const QSignalBlocker quiet(c);
        c->addItem(QString("Custom  %1").arg(i), QVariant::fromValue<void*>(axis));
    }
}

void TFormPlotSeries::LoadGeneral() {
    TChartSeries* s = Series();
    CBShowInLegend->setChecked(s->ShowInLegend());
    CBDepth->setChecked(s->Depth() == -1);
    EDepth->setValue(s->Depth() == -1 ? 0 : s->Depth());

    QStringList presets;
    AddValueFormatPresets(presets);
    const QString format = Local(s->ValueFormat());
    if (!presets.contains(format)) presets.append(format);
    CBFormat->clear();
    CBFormat->addItems(presets);
    CBFormat->setCurrentText(format);
    EPercentFormat->setText(Local(s->PercentFormat()));

    RefreshAxisLists();
    if (s->HorizAxis() == aCustomHorizAxis)
        CBHorizAxis->setCurrentIndex(CBHorizAxis->findData(QVariant::fromValue<void*>(s->CustomHorizAxis())));
    else
        CBHorizAxis->setCurrentIndex(int(s->HorizAxis()));
    if (s->VertAxis() == aCustomVertAxis)
        CBVertAxis->setCurrentIndex(CBVertAxis->findData(QVariant::fromValue<void*>(s->CustomVertAxis())));
    else
        CBVertAxis->setCurrentIndex(int(s->VertAxis()));
    CBXDateTime->setChecked(s->XValues().DateTime());
    CBYDateTime->setChecked(s->YValues().DateTime());
    TCustomAxisPanel* chart = s->ParentChart();
    TChartValueList* z = nullptr;
    if (chart) {
        z = s->ValueListForAxis(&chart->DepthAxis());
        if (!z) z = s->ValueListForAxis(&chart->DepthTopAxis());
    }
    CBZDateTime->setVisible(z != nullptr);
    if (z) CBZDateTime->setChecked(z->DateTime());
    const TChartListOrder order = s->MandatoryList().Order();
    CBSort->setCurrentIndex(order == loAscending ? 0 : order == loDescending ? 1 : 2);
    const bool few = s->ValueLists().Count() < 3;
    ShowControls(few, {CBSort, LSort, LDepth, EDepth, CBDepth});
    FillCursorCombo(CBCursor, s->Cursor());
}

// --- Marks ---

void TFormPlotSeries::BuildMarks() {
    auto* column = new QVBoxLayout(TabMarks);
    PageControlMarks = new QTabWidget(TabMarks);
    PageControlMarks->setObjectName("PageControlMarks");
    column->addWidget(PageControlMarks);

    auto* style = new QWidget;
    auto* styleColumns = new QHBoxLayout(style);
    auto* styleLeft = new QWidget(style);
    TEditorGrid g(styleLeft);
    CBMarksVisible = g.Check("CBMarksVisible", "&Visible");
    CBMarkClip = g.Check("CBMarkClip", "Cl&ipped");
    SEMarksAngle = g.Spin("SEMarksAngle", "&Angle:", 0, 360, 5);
    EMarksEvery = g.Spin("EMarksEvery", "Draw &every:", 1, 5000);
    CBMultiLine = g.Check("CBMultiLine", "&Multi line");
    CBAllVisible = g.Check("CBAllVisible", "All Series Visi&ble");
    g.Layout()->setRowStretch(g.Layout()->rowCount(), 1);
    auto* group = new QGroupBox("&Style:", style);
    auto* radios = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(this);
    for (int i = 0; i < 10; ++i) {
        RGMarkStyle[i] = new QRadioButton(MarkStyles[i], group);
        RGMarkStyle[i]->setObjectName(QString("RGMarkStyle%1").arg(i));
        buttons->addButton(RGMarkStyle[i], i);
        radios->addWidget(RGMarkStyle[i]);
    }
    styleColumns->addWidget(styleLeft);
    styleColumns->addWidget(group);
    PageControlMarks->addTab(style, "Style");

    auto* arrows = new QWidget;
    TEditorGrid a(arrows);
    BMarkLinCol = a.PenButton("BMarkLinCol", "&Border...");
    SEArrowLength = a.Spin("SEArrowLength", "&Length:", -1000, 1000);
    EArrowDist = a.Spin("EArrowDist", "&Distance:", -1000, 1000);
    BCalloutPointer = new QPushButton("&Pointer...", arrows);
    BCalloutPointer->setObjectName("BCalloutPointer");
    a.Place(BCalloutPointer, nullptr);
    CBHead = a.Combo("CBHead", "&Arrow head:", {"None", "Line", "Solid"});
    Edit1 = a.Spin("Edit1", "&Size:", -1000, 1000);
    a.Layout()->setRowStretch(a.Layout()->rowCount(), 1);
    PageControlMarks->addTab(arrows, "Arrows");
    TabSymbol = new QWidget;
    PageControlMarks->addTab(TabSymbol, "Symbol");

    connect(buttons, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on || Guarded()) return;
        Series()->Marks().SetStyle(TSeriesMarksStyle(id));
        UpdateMultiLine();
    });
    connect(CBMarkClip, &QCheckBox::toggled, this, [this](bool on) {
        if (!Guarded()) Series()->Marks().SetClip(on);
    });
    connect(CBMultiLine, &QCheckBox::toggled, this, [this](bool on) {
        if (!Guarded()) Series()->Marks().SetMultiLine(on);
    });
    connect(CBMarksVisible, &QCheckBox::toggled, this, [this](bool on) {
        if (Guarded()) return;
        Series()->Marks().SetVisible(on);
        bool all = true;
        for (TChartSeries* s : Series()->ParentChart() ? Series()->ParentChart()->SeriesList().Items()
                                                       : std::vector<TChartSeries*>{Series()})
            all = all && s->Marks().Visible();
        const QSignalBlocker quiet(CBAllVisible);
        CBAllVisible->setChecked(all);
    });
    connect(CBAllVisible, &QCheckBox::toggled, this, [this](bool on) {
        if (Guarded()) return;
        if (TCustomAxisPanel* chart = Series()->ParentChart())
            for (TChartSeries* s : chart->SeriesList().Items()) s->Marks().SetVisible(on);
        const QSignalBlocker quiet(CBMarksVisible);
        CBMarksVisible->setChecked(on);
    });
    connect(SEMarksAngle, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Guarded()) Series()->Marks().SetAngle(v);
    });
    connect(EMarksEvery, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Guarded()) Series()->Marks().SetDrawEvery(v);
    });
    connect(SEArrowLength, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Guarded()) Series()->Marks().Callout().SetLength(v);
    });
    connect(EArrowDist, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Guarded()) Series()->Marks().Callout().SetDistance(v);
    });
    connect(CBHead, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!Guarded() && i >= 0) Series()->Marks().Callout().SetArrowHead(TArrowHeadStyle(i));
    });
    connect(Edit1, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Guarded()) Series()->Marks().Callout().SetArrowHeadSize(v);
    });
    connect(BCalloutPointer, &QPushButton::clicked, this, [this] {
        if (TChartSeries* s = Series()) EditCalloutPointer(this, s->Marks().Callout(), s);
    });
}

void TFormPlotSeries::UpdateMultiLine() {
    const int style = int(Series()->Marks().Style());
    CBMultiLine->setEnabled(style == smsLabelPercent || style == smsLabelValue || style == smsPercentTotal ||
                            style == smsLabelPercentTotal || style == smsXY);
}

void TFormPlotSeries::LoadMarks() {
    TChartSeries* s = Series();
    TSeriesMarks& m = s->Marks();
    const TEditedObject marks = TEditedObject::Part<TPlotCustomShape>(&m, s);
    const TEditedObject symbol = TEditedObject::Part<TPlotCustomShape>(&m.Symbol(), s);
    if (!FMarksShape) {
        FMarksShape = MergeShapeEditorPages(PageControlMarks, marks);
        FSymbolShape = CreateShapeEditor(this, symbol, TabSymbol);
        FSymbolShape->PC1->setTabVisible(FSymbolShape->PC1->indexOf(FSymbolShape->TabText), false);
        // The symbol takes the point's colour: a visibility box in place of
        // the colour button.
        CBSymbolVisible = new QCheckBox("&Visible", FSymbolShape->BBackColor->parentWidget());
        CBSymbolVisible->setObjectName("CBSymbolVisible");
        if (QLayout* l = FSymbolShape->BBackColor->parentWidget()->layout())
            delete l->replaceWidget(FSymbolShape->BBackColor, CBSymbolVisible);
        FSymbolShape->BBackColor->hide();
        connect(CBSymbolVisible, &QCheckBox::toggled, this, [this] {
            if (!Guarded()) FSymbolShape->CBVisibleChecked(CBSymbolVisible);
        });
    }
    FMarksShape->Bind(marks);
    FSymbolShape->Bind(symbol);
    CBSymbolVisible->setChecked(m.Symbol().Visible());
    RGMarkStyle[int(m.Style())]->setChecked(true);
    SEArrowLength->setValue(m.Callout().Length());
    EArrowDist->setValue(m.Callout().Distance());
    SEMarksAngle->setValue(m.Angle());
    CBMarkClip->setChecked(m.Clip());
    EMarksEvery->setValue(m.DrawEvery());
    CBMultiLine->setChecked(m.MultiLine());
    CBMarksVisible->setChecked(m.Visible());
    BMarkLinCol->LinkPen(TEditedObject::Part(&m.Callout().Arrow(), s));
    CBHead->setCurrentIndex(int(m.Callout().ArrowHead()));
    Edit1->setValue(m.Callout().ArrowHeadSize());
    bool all = true;
    if (TCustomAxisPanel* chart = s->ParentChart())
        for (TChartSeries* other : chart->SeriesList().Items()) all = all && other->Marks().Visible();
    CBAllVisible->setChecked(all && m.Visible());
    UpdateMultiLine();
}

// --- Data Source ---

void TFormPlotSeries::BuildDataSource() {
    auto* column = new QVBoxLayout(TabDataSource);
    CBDataSourcestyle = new QComboBox(TabDataSource);
    CBDataSourcestyle->setObjectName("CBDataSourcestyle");
    CBDataSourcestyle->addItems({"Manual", "Random", "Function"});
    CBDataSourcestyle->setMaxVisibleItems(12);
    column->addWidget(CBDataSourcestyle);
    Panel2 = new QWidget(TabDataSource);
    Panel2->setObjectName("Panel2");
    auto* panelLayout = new QVBoxLayout(Panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    ChartGrid1 = new TChartGrid(Panel2);
    ChartGrid1->setObjectName("ChartGrid1");
    ChartGridNavigator1 = new TChartGridNavigator(Panel2);
    ChartGridNavigator1->setObjectName("ChartGridNavigator1");
    ChartGridNavigator1->SetGrid(ChartGrid1);
    panelLayout->addWidget(ChartGrid1, 1);
    panelLayout->addWidget(ChartGridNavigator1);
    ChartGrid1->hide();
    ChartGridNavigator1->hide();
    column->addWidget(Panel2, 1);
    Panel4 = new TRandomSourcePanel(TabDataSource);
    Panel4->setObjectName("Panel4");
    Panel4->hide();
    column->addWidget(Panel4);
    column->addStretch(0);
    connect(CBDataSourcestyle, &QComboBox::currentIndexChanged, this, [this](int style) {
        if (!Guarded() && style >= 0) SourceStyleChosen(style);
    });
}

int TFormPlotSeries::EvaluateSourceStyle() const {
    TChartSeries* s = Series();
    if (s->Function() || s->DataSource()) return dsFunction;
    if (s->PointCount() > 0 && !s->ManualData()) return dsRandom;
    return dsManual;
}

void TFormPlotSeries::LoadDataSource() {
    const int style = EvaluateSourceStyle();
    if (style == FShownStyle && CBDataSourcestyle->currentIndex() == style) return;
    {
        const QSignalBlocker quiet(CBDataSourcestyle);
        CBDataSourcestyle->setCurrentIndex(style);
    }
    RebuildDataSource(style);
}

void TFormPlotSeries::SourceStyleChosen(int style) {
    if (FSourceEditor) FSourceEditor->BApply->setEnabled(false);
    TChartSeries* s = Series();
    if (style == dsManual || style == dsRandom) {
        // Points typed or sampled are the series' own: no function, no
        // sources refilling them behind the user's back.
        s->AttachFunction(nullptr);
        s->SetDataSource(nullptr);
        if (style == dsManual) s->SetManualData(true);
    }
    if (!RebuildDataSource(style)) {
        const QSignalBlocker quiet(CBDataSourcestyle);
        CBDataSourcestyle->setCurrentIndex(FShownStyle);
    }
}

bool TFormPlotSeries::CloseSourceEditor() {
    if (!FSourceEditor) return true;
    if (!FSourceEditor->CloseQuery()) return false;
    FSourceEditor.reset();
    return true;
}

bool TFormPlotSeries::RebuildDataSource(int style) {
    if (!CloseSourceEditor()) return false;
    FShownStyle = style;
    const bool manual = style == dsManual;
    ChartGrid1->SetSeries(manual ? Series() : nullptr);
    ChartGrid1->setVisible(manual);
    ChartGridNavigator1->setVisible(manual);
    if (manual) ChartGridNavigator1->EnableButtons();
    Panel2->setVisible(style != dsRandom);
    Panel4->setVisible(style == dsRandom);
    Panel4->SetSeries(style == dsRandom ? Series() : nullptr);
    if (style == dsFunction) {
        auto editor = std::make_unique<TPlotFuncEditor>(this);
        ApplyTranslationHook(editor.get());
        FSourceEditor = std::move(editor);
        EmbedFormWithObject(FSourceEditor.get(), Panel2, TEditedObject::Element(Series()));
        Panel2->layout()->addWidget(FSourceEditor.get());
    }
    return true;
}

// --- pages added by the series' editors ---

TFormPlotSeries* SeriesTabOf(const QWidget* editor) {
    for (QWidget* w = editor ? editor->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* tab = dynamic_cast<TFormPlotSeries*>(w)) return tab;
    return nullptr;
}

TSeriesPointerEditor* AddPointerPage(const QWidget* editor, TSeriesPointer* pointer, TChartSeries* series,
                                     const QString& caption) {
    return AddSeriesPage<TSeriesPointerEditor>(editor, 1, TEditedObject::Part(pointer, series), caption);
}

}  // namespace cb::charteditors
