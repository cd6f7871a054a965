#include "charteditors/dialog/WallPage.h"

#include "chart/component/CustomChart.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/dialog/PageKit.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

TFormPlotWall::TFormPlotWall(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotWall");
    auto* l = new QVBoxLayout(this);
    TabSubWalls = new QTabBar(this);
    TabSubWalls->setObjectName("TabSubWalls");
    for (const char* t : {"Left", "Right", "Bottom", "Back"}) TabSubWalls->addTab(t);
    l->addWidget(TabSubWalls);
    auto* body = new QWidget(this);
    l->addWidget(body, 1);
    TEditorGrid g(body);
    BWallColor = g.ColorButton("BWallColor", "&Color...");
    BWallPen = g.PenButton("BWallPen", "B&order...");
    BWallBrush = new QPushButton("&Pattern...", body);
    BWallBrush->setObjectName("BWallBrush");
    g.Place(BWallBrush, nullptr);
    BGradient = new QPushButton("&Gradient...", body);
    BGradient->setObjectName("BGradient");
    g.Place(BGradient, nullptr);
    UDWallSize = g.Spin("UDWallSize", "Siz&e:", 0, 100);
    CBTransp = g.Check("CBTransp", "&Transparent");
    CBDark3D = g.Check("CBDark3D", "&Dark 3D");
    CBVisible = g.Check("CBVisible", "V&isible");
    UDTransp = g.Spin("UDTransp", "T&ransparency:", 0, 100);
    CBAutoHide = g.Check("CBAutoHide", "&Auto Hide");
    CBView3dWalls = g.Check("CBView3dWalls", "&Visible Walls");
    UDAllSize = g.Spin("UDAllSize", "Size (all walls):", 0, 100);

    auto wall = [this] { return Wall(); };
    connect(TabSubWalls, &QTabBar::currentChanged, this, [this](int i) {
        if (Filling() || !Chart()) return;
        TCustomChart* c = Chart();
        TChartWall* const walls[4] = {&c->LeftWall(), &c->RightWall(), &c->BottomWall(), &c->BackWall()};
        BindObject(TEditedObject::Part(walls[std::clamp(i, 0, 3)], static_cast<QObject*>(c)));
    });
    BWallColor->OnClick = [this] { Chart()->Invalidate(); };
    OnSpin(UDWallSize, this, [this, wall](int v) {
        if (!isVisible()) return;
        wall()->SetSize(v);
        CBDark3D->setEnabled(v > 0);
    });
    OnCheck(CBTransp, this, [wall](bool on) { wall()->SetTransparent(on); });
    OnCheck(CBDark3D, this, [wall](bool on) { wall()->SetDark3D(on); });
    OnCheck(CBVisible, this, [wall](bool on) { wall()->SetVisible(on); });
    OnSpin(UDTransp, this, [this, wall](int v) {
        if (isVisible()) wall()->SetTransparency(v);
    });
    OnCheck(CBAutoHide, this, [wall](bool on) { wall()->SetAutoHide(on); });
    OnCheck(CBView3dWalls, this, [this](bool on) { Chart()->SetView3DWalls(on); });
    OnSpin(UDAllSize, this, [this](int v) {
        if (!isVisible()) return;
        Chart()->Walls().SetAllSizes(v);
        LoadControls();
    });
    connect(BWallBrush, &QPushButton::clicked, this, [this, wall] {
        EditChartBrush(this, TEditedObject::Part(&wall()->Brush(), Edited().Get().OwnerObject()));
        if (Chart()) Chart()->Invalidate();
    });
    connect(BGradient, &QPushButton::clicked, this, [this, wall] {
        EditGradient(this, TEditedObject::Part(&wall()->Gradient(), Edited().Get().OwnerObject()));
        if (Chart()) Chart()->Invalidate();
        if (wall() && wall()->Gradient().Visible()) {
            wall()->SetTransparent(false);
            SetCheck(CBTransp, false);
        }
    });
}

TChartWall* TFormPlotWall::Wall() const {
    return Edited().As<TChartWall>();
}

TCustomChart* TFormPlotWall::Chart() const {
    return dynamic_cast<TCustomChart*>(Edited().Get().OwnerObject());
}

int TFormPlotWall::TabOfWall(const TChartWall* wall) const {
    TCustomChart* c = Chart();
    if (!c) return 3;
    if (wall == &c->LeftWall()) return 0;
    if (wall == static_cast<TChartWall*>(&c->RightWall())) return 1;
    if (wall == &c->BottomWall()) return 2;
    return 3;
}

void TFormPlotWall::FormShow() {
    if (!Wall()) return;
    TabSubWalls->setCurrentIndex(TabOfWall(Wall()));
    LoadWall();
}

void TFormPlotWall::LoadWall() {
    TChartWall* w = Wall();
    TCustomChart* c = Chart();
    CBView3dWalls->setChecked(c->View3DWalls());
    UDWallSize->setValue(w->Size());
    CBTransp->setChecked(w->Transparent());
    CBDark3D->setChecked(w->Dark3D());
    CBDark3D->setEnabled(w->Size() > 0);
    CBVisible->setChecked(w->Visible());
    CBAutoHide->setChecked(w->AutoHide());
    UDTransp->setValue(w->Transparency());
    UDAllSize->setValue(w->Size());
    BWallPen->LinkPen(TEditedObject::Part(&w->Pen(), static_cast<QObject*>(c)));
    CBAutoHide->setVisible(w != &c->BottomWall());
    BWallColor->LinkColor(
        w, [w] { return w->Color(); }, [w](TColor color) { w->SetColor(color); });
    BWallColor->update();
}

}  // namespace cb::charteditors
