#include "charteditors/dialog/View3DPage.h"

#include "chart/component/CustomChart.h"
#include "chart/core/PlotTexts.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesTypes.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/dialog/PageKit.h"
#include "charteditors/gallery/ChartGalleryPanel.h"
#include "charteditors/gallery/GalleryChart.h"
#include "platform/rtl/ScopeGuard.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

QSlider* Slider(TEditorGrid& g, QWidget* parent, const char* name, const char* caption, int low, int high,
                QLabel*& value) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* s = new QSlider(Qt::Horizontal, box);
    s->setObjectName(name);
    s->setRange(low, high);
    value = new QLabel(box);
    value->setMinimumWidth(36);
    row->addWidget(s, 1);
    row->addWidget(value);
    g.Place(box, caption);
    return s;
}


}  // namespace

TFormPlot3D::TFormPlot3D(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlot3D");
    auto* l = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    l->addWidget(PageControl1);
    QWidget* options = NewTab(PageControl1, "Options");
    TEditorGrid g(options);
    CBView3d = g.Check("CBView3d", "&3 Dimensions");
    UD3D = g.Spin("UD3D", "3&D %:", 1, 100, 5);
    CBOrthogonal = g.Check("CBOrthogonal", "&Orthogonal");
    UDOrthoAngle = g.Spin("UDOrthoAngle", "&Angle:", 0, 180, 5);
    SBZoom = Slider(g, options, "SBZoom", "&Zoom:", 1, 500, LZoom);
    SBRotation = Slider(g, options, "SBRotation", "&Rotation:", 0, 360, LRotation);
    SBElevation = Slider(g, options, "SBElevation", "E&levation:", 270, 360, LElevation);
    SBHOffset = Slider(g, options, "SBHOffset", "&Horiz. Offset:", -1500, 1500, LHOffset);
    SBVOffset = Slider(g, options, "SBVOffset", "&Vert. Offset:", -1500, 1500, LVOffset);
    SBPerspec = Slider(g, options, "SBPerspec", "&Perspective:", 0, 200, LPerspec);
    CBZoomText = g.Check("CBZoomText", "Zoom &Text");
    UDTextSize = g.Spin("UDTextSize", "%", 1, 2000, 5);
    CBClipPoints = g.Check("CBClipPoints", "&Clip Points");
    TabViews = NewTab(PageControl1, "Views");
    auto* vl = new QVBoxLayout(TabViews);
    ChartGalleryPanel1 = new TChartGalleryPanel(TabViews);
    ChartGalleryPanel1->setObjectName("ChartGalleryPanel1");
    vl->addWidget(ChartGalleryPanel1);

    auto chart = [this] { return Chart(); };
    auto quiet = [this] { return Filling() || FLoading; };
    connect(CBView3d, &QCheckBox::toggled, this, [this, chart, quiet](bool on) {
        if (quiet()) return;
        chart()->SetView3D(on);
        UpdateEnabling();
    });
    connect(CBOrthogonal, &QCheckBox::toggled, this, [this, chart, quiet](bool on) {
        if (quiet()) return;
        chart()->View3DOptions().SetOrthogonal(on);
        UpdateEnabling();
    });
    auto spin = [this, quiet](QSpinBox* box, auto write) {
        connect(box, &QSpinBox::valueChanged, this, [this, quiet, write](int v) {
            if (isVisible() && !quiet()) write(v);
        });
    };
    spin(UD3D, [chart](int v) { chart()->SetChart3DPercent(v); });
    spin(UDOrthoAngle, [chart](int v) { chart()->View3DOptions().SetOrthoAngle(v); });
    spin(UDTextSize, [chart](int v) { chart()->View3DOptions().SetFontZoom(v); });
    auto slider = [this, chart](QSlider* s, QLabel* label, const char* suffix, bool always, auto write) {
        connect(s, &QSlider::valueChanged, this, [this, chart, label, suffix, always, write](int v) {
            label->setText(QString::number(v) + suffix);
            if (!chart() || (!always && (Filling() || FLoading)) || Filling()) return;
            write(v);
        });
    };
    slider(SBZoom, LZoom, "%", true, [chart](int v) { chart()->View3DOptions().SetZoom(v); });
    slider(SBRotation, LRotation, "", false, [chart](int v) { chart()->View3DOptions().SetRotation(v); });
    slider(SBElevation, LElevation, "", false, [chart](int v) { chart()->View3DOptions().SetElevation(v); });
    slider(SBHOffset, LHOffset, "", true, [chart](int v) { chart()->View3DOptions().SetHorizOffset(v); });
    slider(SBVOffset, LVOffset, "", true, [chart](int v) { chart()->View3DOptions().SetVertOffset(v); });
    slider(SBPerspec, LPerspec, "", true, [chart](int v) { chart()->View3DOptions().SetPerspective(v); });
    OnCheck(CBZoomText, this, [chart](bool on) { chart()->View3DOptions().SetZoomText(on); });
    OnCheck(CBClipPoints, this, [chart](bool on) { chart()->SetClipPoints(on); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!Chart()) return;
        if (PageControl1->currentWidget() == TabViews)
            ShowViews();
        else
            LoadOptions();
    });
    ChartGalleryPanel1->OnChangeChart = [this] { ApplyPreset(); };
}

TCustomChart* TFormPlot3D::Chart() const {
    return Edited().As<TCustomChart>();
}

void TFormPlot3D::FormShow() {
    if (Chart()) LoadOptions();
}

void TFormPlot3D::LoadOptions() {
    FLoading = true;
    auto done = cb::rtl::OnScopeExit([this] { FLoading = false; });
    TCustomChart* c = Chart();
    CBView3d->setChecked(c->View3D());
    UD3D->setValue(c->Chart3DPercent());
    CBClipPoints->setChecked(c->ClipPoints());
    // The screen's canvas has no free projection: elevation stays 270..360.
    SBRotation->setTickInterval(45);
    SBElevation->setTickInterval(10);
    TView3DOptions& o = c->View3DOptions();
    SBZoom->setValue(o.Zoom());
    CBOrthogonal->setChecked(o.Orthogonal());
    SBRotation->setValue(o.Rotation());
    SBElevation->setValue(o.Elevation());
    SBHOffset->setValue(o.HorizOffset());
    SBVOffset->setValue(o.VertOffset());
    CBZoomText->setChecked(o.ZoomText());
    SBPerspec->setValue(o.Perspective());
    UDOrthoAngle->setValue(o.OrthoAngle());
    UDTextSize->setValue(o.FontZoom());
    for (QSlider* s : {SBZoom, SBRotation, SBElevation, SBHOffset, SBVOffset, SBPerspec}) emit s->valueChanged(s->value());
    UpdateEnabling();
}

void TFormPlot3D::UpdateEnabling() {
    TCustomChart* c = Chart();
    if (!c) return;
    TChartSeries* first = FirstActiveSeries(*c);
    const bool freeRotation = !first || !dynamic_cast<TPieSeries*>(first);
    const bool view3D = c->View3D();
    CBOrthogonal->setEnabled(view3D && freeRotation);
    SBElevation->setEnabled(view3D && !c->View3DOptions().Orthogonal());
    SBRotation->setEnabled(SBElevation->isEnabled() && CBOrthogonal->isEnabled());
    UDOrthoAngle->setEnabled(CBOrthogonal->isEnabled());
}

namespace {
const char* const PresetNames[6] = {"2D", "Ortho Right", "Ortho Left", "3D Front", "3D Right", "3D Left"};
}  // namespace

void TFormPlot3D::BuildPresets() {
    TChartGalleryPanel* p = ChartGalleryPanel1;
    p->SetSmooth(false);
    p->SetDisplaySub(false);
    p->SetFocusRotation(false);
    p->SetNumCols(3);
    p->SetNumRows(2);
    if (SeriesTypes().Count() == 0) return;
    const TPlotSeriesType& type = *SeriesTypes().GetItem(0);
    for (int i = 0; i < 6; ++i) {
        TGalleryChart* g = p->AddChartForType(type);
        if (!g) return;
        g->BackWall().SetTransparent(false);
        g->Walls().SetAllSizes(5);
        for (int s = 0; s < g->NumberOfSeries(); ++s) g->SeriesAt(s)->DeletePoints(0, g->SeriesAt(s)->PointCount());
        std::vector<std::string> text = g->Title().Text();
        const std::string name = i == 0 ? PlotText(TPlotText::txt2D) : PresetNames[i];
        if (text.empty())
            text.push_back(name);
        else
            text[0] = name;
        g->Title().SetText(text);
        g->LeftAxis().SetLabels(true);
        TView3DOptions& o = g->View3DOptions();
        if (i == 0) {
            g->SetView3D(false);
        } else if (i <= 2) {
            g->SetView3D(true);
            o.SetOrthogonal(true);
            if (i == 2) {
                g->LeftWall().SetVisible(false);
                g->RightWall().SetVisible(true);
                for (int s = 0; s < g->NumberOfSeries(); ++s) g->SeriesAt(s)->SetVertAxis(aRightAxis);
                g->RightAxis().SetZPosition(0);
                o.SetOrthoAngle(135);
            }
        } else {
            g->SetView3D(true);
            o.SetOrthogonal(false);
            for (int s = 0; s < g->NumberOfSeries(); ++s) g->SeriesAt(s)->SetVertAxis(aBothVertAxis);
            o.SetElevation(360);
            g->LeftWall().SetVisible(i != 5);
            g->RightWall().SetVisible(i != 4);
            g->RightAxis().SetZPosition(i == 4 ? 100 : 0);
            if (i == 5) g->LeftAxis().SetZPosition(100);
            o.SetRotation(i == 3 ? 360 : i == 4 ? 300 : 45);
        }
    }
}

int TFormPlot3D::MatchingPreset() const {
    TCustomChart* c = Chart();
    const auto& charts = ChartGalleryPanel1->Charts();
    for (int i = 0; c && i < int(charts.size()); ++i) {
        TGalleryChart* p = charts[std::size_t(i)].get();
        TView3DOptions& a = p->View3DOptions();
        TView3DOptions& b = c->View3DOptions();
        if (p->View3D() == c->View3D() && a.Orthogonal() == b.Orthogonal() && a.OrthoAngle() == b.OrthoAngle() &&
            a.Rotation() == b.Rotation() && a.Elevation() == b.Elevation())
            return i;
    }
    return -1;
}

void TFormPlot3D::ShowViews() {
    // Building and selecting focus a preset chart; that is no choice of the
    // user's and applies nothing.
    FSelecting = true;
    auto done = cb::rtl::OnScopeExit([this] { FSelecting = false; });
    if (ChartGalleryPanel1->Charts().empty()) BuildPresets();
    const int match = MatchingPreset();
    if (match >= 0) {
        ChartGalleryPanel1->SelectChart(ChartGalleryPanel1->Charts()[std::size_t(match)].get());
    } else {
        ChartGalleryPanel1->SetSelectedChart(nullptr);
        for (const auto& g : ChartGalleryPanel1->Charts()) g->update();
    }
}

void TFormPlot3D::ApplyPreset() {
    TCustomChart* c = Chart();
    TGalleryChart* p = ChartGalleryPanel1->SelectedChart();
    if (FSelecting || !c || !p) return;
    c->SetView3D(p->View3D());
    TView3DOptions& to = c->View3DOptions();
    TView3DOptions& from = p->View3DOptions();
    to.SetOrthogonal(from.Orthogonal());
    to.SetOrthoAngle(from.OrthoAngle());
    to.SetRotation(from.Rotation());
    to.SetElevation(from.Elevation());
}

}  // namespace cb::charteditors
