#include "charteditors/gallery/ChartGalleryPanel.h"

#include "chart/axis/ChartAxis.h"
#include "chart/component/StandardSeries.h"
#include "chart/core/PlotHelpers.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesHelpers.h"
#include "chart/series/arrow/ArrowSeries.h"
#include "chart/series/bar/CustomBarSeries.h"
#include "chart/series/bubble/BubbleSeries.h"
#include "chart/series/gantt/GanttSeries.h"
#include "chart/series/shape/ShapeSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/gallery/GalleryChart.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

// The pop-up that lists a type's sub-styles: Escape cancels, the strip at
// its top (with its triangle) closes it with OK, other keys go to its panel.
class TSubGalleryPopup : public QDialog {
public:
    explicit TSubGalleryPopup(QWidget* owner) : QDialog(owner, Qt::Popup | Qt::FramelessWindowHint) {}
    TChartGalleryPanel* Sub = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape)
            reject();
        else if (Sub)
            Sub->HandleKey(e->key(), e->modifiers());
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const QPoint tri[3] = {{4, 10}, {8, 2}, {13, 10}};
        p.drawPolygon(tri, 3);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->position().y() < 12)
            accept();
        else
            QDialog::mousePressEvent(e);
    }
};

}  // namespace

TChartGalleryPanel::TChartGalleryPanel(QWidget* parent) : QWidget(parent) {
    FSmooth = ReadEditorSettingBool("SmoothGallery", false);
    FInitialSmooth = FSmooth;
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
}

TChartGalleryPanel::~TChartGalleryPanel() {
    if (FSmooth != FInitialSmooth && !FSubGallery) WriteEditorSettingBool("SmoothGallery", FSmooth);
    FSelected = nullptr;
    FCharts.clear();
}

int TChartGalleryPanel::BorderSize() const { return 0; }

void TChartGalleryPanel::ComputeCellSize() {
    if (FNumRows <= 0 || FNumCols <= 0) {
        FRowHeight = FColWidth = 0;
        return;
    }
    const int b = BorderSize();
    FRowHeight = (height() - b) / FNumRows;
    FColWidth = (width() - b) / FNumCols;
}

void TChartGalleryPanel::PlaceChart(TGalleryChart* chart, int index) {
    if (FNumCols <= 0 || FNumRows <= 0) return;
    const int b = BorderSize();
    const int left = b + (index % FNumCols) * FColWidth;
    const int top = b + (index / FNumCols) * FRowHeight;
    const int w = std::min(FColWidth, width() - b);
    const int h = std::min(FRowHeight, height() - b);
    chart->setGeometry(left, top, std::max(w, 0), std::max(h, 0));
}

void TChartGalleryPanel::PlaceCharts() {
    ComputeCellSize();
    for (std::size_t i = 0; i < FCharts.size(); ++i) PlaceChart(FCharts[i].get(), int(i));
}

void TChartGalleryPanel::SetNumRows(int rows) {
    FNumRows = rows;
    PlaceCharts();
}

void TChartGalleryPanel::SetNumCols(int cols) {
    FNumCols = cols;
    PlaceCharts();
}

void TChartGalleryPanel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    PlaceCharts();
}

void TChartGalleryPanel::SetSmooth(bool on) {
    if (FSmooth == on) return;
    FSmooth = on;
    for (auto& c : FCharts) c->SetSmooth(on);
}

void TChartGalleryPanel::SetView3D(bool on) {
    if (FView3D == on) return;
    FView3D = on;
    for (auto& c : FCharts) {
        if (c->NumberOfSeries() > 0) c->SeriesAt(0)->ApplyGallery3D(on);
        c->ResetMargins();
    }
}

void TChartGalleryPanel::ClearCharts() {
    FSelected = nullptr;
    FCharts.clear();
}

TGalleryChart* TChartGalleryPanel::AddChartForType(const TPlotSeriesType& type) {
    static const TSeriesClass& lineClass = *FindSeriesClassByName("TLineSeries");
    const TSeriesClass& seriesClass = type.SeriesClass ? *type.SeriesClass : lineClass;
    auto owned = std::make_unique<TGalleryChart>(this);
    TGalleryChart* chart = owned.get();
    {
        const QColor c = palette().color(backgroundRole());
        chart->SetColor(cb::gfx::RGB(c.red(), c.green(), c.blue()));
    }
    chart->SetAutoRepaint(false);
    FCharts.push_back(std::move(owned));

    const std::string description = type.DescriptionText();
    std::vector<std::string> lines;
    const int n = CountFieldsWithSeparator(description, LineSeparator);
    for (int i = 1; i <= n; ++i) lines.push_back(ExtractFieldWithSeparator(description, i, LineSeparator));
    chart->Title().SetText(lines);
    chart->setObjectName(QString::fromStdString(MakeUniqueComponentName(
        [this](const std::string& name) { return findChild<QWidget*>(QString::fromStdString(name)) != nullptr; },
        "PlotGalleryChart")));
    ComputeCellSize();
    PlaceChart(chart, int(FCharts.size()) - 1);

    const int count = std::max(1, type.GallerySeriesCount);
    for (int i = 0; i < count; ++i) CreateSeriesOfClass(*chart, seriesClass);
    const bool disabled =
        FCheckSeries && FSelectedSeries && !IsCompatibleWith(*chart->SeriesAt(0), *FSelectedSeries);
    chart->SetGalleryEnabled(!disabled);
    if (!disabled) {
        chart->OnSelect = [this](TGalleryChart* c) { SelectChart(c); };
        chart->OnChoose = [this](TGalleryChart*) {
            if (OnSelectedChart) OnSelectedChart();
        };
    }
    chart->SeriesAt(0)->ApplyGallery3D(FView3D);
    for (int i = 0; i < chart->NumberOfSeries(); ++i) PrepareGallerySample(*chart->SeriesAt(i), !disabled);
    chart->ResetMargins();
    chart->SetSmooth(FSmooth);
    chart->SetAutoRepaint(true);
    chart->show();
    return chart;
}

void TChartGalleryPanel::ShowPage(const std::string& page) {
    std::vector<const TPlotSeriesType*> types;
    TPlotSeriesTypes& registry = SeriesTypes();
    for (int i = 0; i < registry.Count(); ++i) {
        const TPlotSeriesType* t = registry.GetItem(i);
        if (t->GalleryPageText() != page) continue;
        if ((t->FunctionClass != nullptr) != FFunctionsVisible) continue;
        types.push_back(t);
    }
    const int n = int(types.size());
    if (FNumCols > 0) FNumRows = FNumRows * FNumCols < n ? (n - 1) / FNumCols + 1 : 3;
    ComputeCellSize();
    ClearCharts();
    for (const TPlotSeriesType* t : types) AddChartForType(*t);
    if (FSelectedSeries) {
        const TPlotSeriesType* own = registry.FindSeriesClassOf(*FSelectedSeries);
        for (auto& c : FCharts) {
            TChartSeries* first = c->NumberOfSeries() > 0 ? c->SeriesAt(0) : nullptr;
            if (first && own && own->SeriesClass && own->SeriesClass->IsClassOf(*first)) {
                FSelected = c.get();
                break;
            }
        }
    }
    RefreshFocusLook();
}

void TChartGalleryPanel::RefreshFocusLook() {
    if (!FSelected)
        for (auto& c : FCharts)
            if (c->GalleryEnabled()) {
                FSelected = c.get();
                break;
            }
    if (FSelected) {
        FSelected->ApplyFocusLook(FView3D);
        if (OnChangeChart) OnChangeChart();
    }
    for (auto& c : FCharts)
        if (c.get() != FSelected) c->ApplyNormalLook(FView3D);
}

void TChartGalleryPanel::SelectChart(TGalleryChart* chart) {
    if (chart != FSelected) {
        FSelected = chart;
        RefreshFocusLook();
    }
    if (!FDisplaySub || !FSelected) return;
    const QPoint p = FSelected->mapFromGlobal(QCursor::pos());
    const TPoint o = FSelected->ArrowOrigin();
    if (p.x() >= o.X && p.x() <= o.X + 12 && p.y() >= o.Y - 12 && p.y() <= o.Y) OpenSubGallery();
}

bool TChartGalleryPanel::GetSelection(const TSeriesClass*& seriesClass, const TFunctionClass*& functionClass,
                                      int& subIndex) const {
    seriesClass = nullptr;
    functionClass = nullptr;
    subIndex = 0;
    if (!FSelected || FSelected->NumberOfSeries() == 0) return false;
    TChartSeries* first = FSelected->SeriesAt(0);
    const TPlotSeriesType* t = SeriesTypes().FindSeriesClassOf(*first);
    seriesClass = t ? t->SeriesClass : FindSeriesClassByName(SeriesClassName(*first));
    subIndex = FSelected->Tag();
    return seriesClass != nullptr;
}

void TChartGalleryPanel::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (FSelected && OnSelectedChart) OnSelectedChart();
        return;
    }
    if (!FSelected || FNumCols <= 0) return;
    const auto it = std::find_if(FCharts.begin(), FCharts.end(), [this](auto& c) { return c.get() == FSelected; });
    const int index = int(it - FCharts.begin());
    int col = index % FNumCols, row = index / FNumCols;
    switch (key) {
    case Qt::Key_Left:
        if (col > 0) --col;
        break;
    case Qt::Key_Up:
        if (row > 0) --row;
        break;
    case Qt::Key_Right:
        if (col < FNumCols) ++col;
        break;
    case Qt::Key_Down:
        if (modifiers & Qt::AltModifier) {
            if (FDisplaySub) OpenSubGallery();
            return;
        }
        if (row < FNumRows) ++row;
        break;
    default:
        return;
    }
    if (col >= FNumCols) return;
    const int target = row * FNumCols + col;
    if (target < 0 || target >= int(FCharts.size())) return;
    TGalleryChart* chart = FCharts[std::size_t(target)].get();
    if (chart->GalleryEnabled()) SelectChart(chart);
}

void TChartGalleryPanel::keyPressEvent(QKeyEvent* e) { HandleKey(e->key(), e->modifiers()); }

void TChartGalleryPanel::FillWithSubStyles(const TSeriesClass& seriesClass) {
    TPlotSeriesType temp;
    temp.SeriesClass = &seriesClass;
    temp.GallerySeriesCount = 1;
    ClearCharts();
    std::unique_ptr<TChartSeries> templ = seriesClass.Create();
    std::vector<std::string> names;
    templ->ListSubGalleryStyles([&names](const std::string& d) { names.push_back(d); });
    for (const std::string& d : names) {
        temp.Description = TPlotText::txtNone;
        const int index = int(FCharts.size());
        TGalleryChart* chart = AddChartForType(temp);
        chart->Title().SetText({d});
        templ->ApplySubGalleryStyle(chart->SeriesAt(0), index);
        chart->SetTag(index);
    }
}

// Index 0 rebuilds the chart's series plain; others are applied to them.
bool TChartGalleryPanel::ChooseSubStyle(TChartGalleryPanel* sub) {
    TGalleryChart* chosen = sub->SelectedChart();
    if (!chosen || !FSelected || FSelected->NumberOfSeries() == 0) return false;
    const auto it = std::find_if(sub->FCharts.begin(), sub->FCharts.end(),
                                 [chosen](auto& c) { return c.get() == chosen; });
    const int index = int(it - sub->FCharts.begin());
    FSelected->SetTag(index);
    TChartSeries* first = FSelected->SeriesAt(0);
    const TSeriesClass* cls = FindSeriesClassByName(SeriesClassName(*first));
    if (const TPlotSeriesType* t = SeriesTypes().FindSeriesClassOf(*first)) cls = t->SeriesClass;
    if (!cls) return false;
    if (index > 0) {
        for (int i = 0; i < FSelected->NumberOfSeries(); ++i)
            first->ApplySubGalleryStyle(FSelected->SeriesAt(i), index);
    } else {
        const int n = FSelected->NumberOfSeries();
        FSelected->FreeSeriesOfClass();
        for (int i = 0; i < n; ++i) CreateSeriesOfClass(*FSelected, *cls);
        FSelected->SeriesAt(0)->ApplyGallery3D(sub->View3D());
        for (int i = 0; i < n; ++i) PrepareGallerySample(*FSelected->SeriesAt(i), true);
    }
    return true;
}

void TChartGalleryPanel::OpenSubGallery() {
    if (!FSelected || FSelected->NumberOfSeries() == 0) return;
    FSelected->ApplyNormalLook(FView3D);
    TSubGalleryPopup popup(this);
    const QPoint at = FSelected->mapToGlobal(QPoint(0, FSelected->height()));
    auto* sub = new TChartGalleryPanel(&popup);
    popup.Sub = sub;
    sub->FSubGallery = true;
    sub->FView3D = FView3D;
    sub->FSmooth = FSmooth;
    sub->FInitialSmooth = FSmooth;
    sub->FDisplaySub = false;
    auto* layout = new QVBoxLayout(&popup);
    layout->setContentsMargins(0, 12, 0, 0);
    layout->addWidget(sub);
    const int width = std::max(FSelected->width() * FNumCols, 200);
    popup.resize(width, 3 * FRowHeight + 12);
    sub->resize(width, 3 * FRowHeight);
    TChartSeries* first = FSelected->SeriesAt(0);
    const TSeriesClass* cls = FindSeriesClassByName(SeriesClassName(*first));
    if (const TPlotSeriesType* t = SeriesTypes().FindSeriesClassOf(*first)) cls = t->SeriesClass;
    if (!cls) return;
    sub->FillWithSubStyles(*cls);
    const int count = int(sub->Charts().size());
    const int rows = std::max(1, count / sub->NumCols() + (count % sub->NumCols() ? 1 : 0));
    popup.resize(width, rows * sub->RowHeight() + 8 + 12);
    sub->SetNumRows(rows);
    sub->RefreshFocusLook();
    bool chosen = false;
    sub->OnSelectedChart = [&] {
        chosen = ChooseSubStyle(sub);
        popup.accept();
    };
    QRect r(at, popup.size());
    if (const QScreen* screen = this->screen()) {
        const QRect work = screen->availableGeometry();
        if (r.right() > work.right()) r.moveLeft(work.right() - r.width() - 2);
        if (r.bottom() > work.bottom()) r.moveTop(work.bottom() - r.height() - 2);
    }
    popup.move(r.topLeft());
    FSubPanel = sub;
    const int result = popup.exec();
    FSubPanel = nullptr;
    if (result == QDialog::Accepted && chosen && OnSubSelected) OnSubSelected();
    RefreshFocusLook();
}

// --- samples ---

// The engine's sample (random points, marks hidden, palette or silver
// colour), then what each family shows in a gallery beyond it.
void PrepareGallerySample(TChartSeries& series, bool coloured) {
    TCustomAxisPanel* chart = series.ParentChart();
    int position = 0;
    if (chart)
        for (int i = 0; i < chart->NumberOfSeries(); ++i)
            if (chart->SeriesAt(i) == &series) position = i;
    series.PrepareGallerySample(coloured);
    if (auto* pie = dynamic_cast<TPieSeries*>(&series)) {
        pie->RemoveAllPoints();
        pie->AddSampleValues(8);
        if (chart) chart->SetChart3DPercent(75);
        pie->Marks().Callout().SetLength(0);
        pie->Marks().SetDrawEvery(1);
        pie->Gradient().SetVisible(true);
        pie->SetColorEachPoint(coloured);
        return;
    }
    const double shift = position * 10;
    if (auto* shape = dynamic_cast<TChartShape*>(&series)) {
        shape->RemoveAllPoints();
        shape->AddPoint(10 + shift, 20 + shift);
        shape->AddPoint(60 + shift, 70 + shift);
        return;
    }
    if (auto* gantt = dynamic_cast<TGanttSeries*>(&series)) {
        gantt->RemoveAllPoints();
        for (int i = 0; i < 4; ++i) gantt->AddTask(i * 10 + shift, i * 10 + 15 + shift, 4 - i);
        return;
    }
    if (auto* arrow = dynamic_cast<TArrowSeries*>(&series)) {
        arrow->RemoveAllPoints();
        arrow->SetArrowWidth(12);
        arrow->SetArrowHeight(12);
        for (int i = 0; i < 3; ++i) arrow->AddArrowPoint(i * 20, i * 15 + shift, i * 20 + 25, 60 - i * 10 + shift);
        return;
    }
    if (auto* bubble = dynamic_cast<TBubbleSeries*>(&series)) {
        bubble->RemoveAllPoints();
        for (int i = 0; i < 5; ++i) bubble->AddBubblePoint(i, (i * 37 + 20) % 90 + shift, 8 + (i * 13) % 12);
        return;
    }
    if (auto* bar = dynamic_cast<TCustomBarSeries*>(&series)) {
        bar->SetBarWidthPercent(85);
        bar->SetBarStyle(bsRectGradient);
        bar->Gradient().SetVisible(true);
        bar->SetMultiBar(mbNone);
    }
}

bool IsCompatibleWith(const TChartSeries& candidate, const TChartSeries& selected) {
    auto& a = const_cast<TChartSeries&>(candidate);
    auto& b = const_cast<TChartSeries&>(selected);
    return a.ValueLists().Count() == b.ValueLists().Count();
}

}  // namespace cb::charteditors

namespace {
// The gallery offers the standard series types from start-up on.
struct TStandardTypesRegistration {
    TStandardTypesRegistration() { cb::chart::RegisterStandardSeriesTypes(); }
} standardTypesRegistration;
}  // namespace
