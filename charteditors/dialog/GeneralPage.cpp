#include "charteditors/dialog/GeneralPage.h"

#include "chart/component/CustomChart.h"
#include "chart/core/PlotResources.h"
#include "charteditors/common/CursorNames.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/dialog/PageKit.h"
#include "charteditors/dialog/PagingPage.h"
#include "charteditors/style/BrushDialog.h"
#include "chartexport/preview/ChartPreview.h"
#include "platform/rtl/ScopeGuard.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace cb::charteditors {

using namespace cb::chart;

void ShowChartPrintPreview(QWidget* owner, TCustomChart* chart) {
    if (!chart) return;
    auto repaint = cb::rtl::OnScopeExit([chart] { chart->Invalidate(); });
    cb::chartexport::TChartPreview preview(owner);
    preview.SetPageNavigatorClass([](QWidget* parent) { return new TChartPageNavigator(parent); });
    preview.PlotPreviewPanel1->SetPanel(chart);
    preview.exec();
}

TFormPlotGeneral::TFormPlotGeneral(QWidget* owner) : TEditorForm(owner) {
    setObjectName("FormPlotGeneral");
    auto* row = new QHBoxLayout(this);
    auto* left = new QVBoxLayout();
    BPrint = new QPushButton("Print &Preview...", this);
    BPrint->setObjectName("BPrint");
    left->addWidget(BPrint);
    auto* margins = new QGroupBox("Margins (%)", this);
    {
        TEditorGrid g(margins);
        UDTopMa = g.Spin("UDTopMa", "Top:", 0, 100, 5);
        UDLeftMa = g.Spin("UDLeftMa", "Left:", 0, 100, 5);
        UDBotMa = g.Spin("UDBotMa", "Bottom:", 0, 100, 5);
        UDRightMa = g.Spin("UDRightMa", "Right:", 0, 100, 5);
        CBMarUnits = g.Combo("CBMarUnits", "&Units:", {"Percent", "Pixels"});
    }
    left->addWidget(margins);
    auto* cursorRow = new QHBoxLayout();
    CBCursor = new QComboBox(this);
    CBCursor->setObjectName("CBCursor");
    auto* cursorLabel = new QLabel("&Cursor:", this);
    cursorLabel->setBuddy(CBCursor);
    cursorRow->addWidget(cursorLabel);
    cursorRow->addWidget(CBCursor);
    left->addLayout(cursorRow);
    left->addStretch(1);
    row->addLayout(left);
    PageControl1 = new QTabWidget(this);
    row->addWidget(PageControl1, 1);
    {
        TEditorGrid g(NewTab(PageControl1, "Zoom"));
        CBAllowZoom = g.Check("CBAllowZoom", "&Allow");
        CBAnimatedZoom = g.Check("CBAnimatedZoom", "An&imated");
        UDAniZoomSteps = g.Spin("UDAniZoomSteps", "&Steps:", 0, 100);
        BZoomPen = g.PenButton("BZoomPen", "P&en...");
        BZoomColor = new QPushButton("P&attern...", this);
        BZoomColor->setObjectName("BZoomColor");
        g.Place(BZoomColor, nullptr);
        UDMinPix = g.Spin("UDMinPix", "&Minimum pixels:", 0, 100);
        CBDir = g.Combo("CBDir", "&Direction:", {"Horizontal", "Vertical", "Both"});
        CBZoomMouse = g.Combo("CBZoomMouse", "M&ouse Button:", {"Left", "Right", "Middle"});
        CBUpLeft = g.Check("CBUpLeft", "Zoom on &Up Left drag");
    }
    {
        QWidget* tab = NewTab(PageControl1, "Scroll");
        TEditorGrid g(tab);
        auto* box = new QGroupBox("Allow Scroll:", tab);
        auto* bl = new QVBoxLayout(box);
        RGPanning = new QButtonGroup(box);
        const char* const modes[4] = {"&None", "&Horizontal", "&Vertical", "&Both"};
        for (int i = 0; i < 4; ++i) {
            auto* r = new QRadioButton(modes[i], box);
            r->setObjectName(QString("RGPanning%1").arg(i));
            RGPanning->addButton(r, i);
            bl->addWidget(r);
        }
        g.Place(box, nullptr);
        CBScrollMouse = g.Combo("CBScrollMouse", "&Mouse Button:", {"Left", "Right", "Middle"});
    }

    auto chart = [this] { return Chart(); };
    connect(BPrint, &QPushButton::clicked, this, [chart] { ShowChartPrintPreview(nullptr, chart()); });
    OnSpin(UDTopMa, this, [this](int) { MarginTyped(UDTopMa, 1, 3); });
    OnSpin(UDLeftMa, this, [this](int) { MarginTyped(UDLeftMa, 0, 2); });
    OnSpin(UDBotMa, this, [this](int) { MarginTyped(UDBotMa, 3, 1); });
    OnSpin(UDRightMa, this, [this](int) { MarginTyped(UDRightMa, 2, 0); });
    OnIndex(CBMarUnits, this, [this, chart](int i) {
        chart()->SetMarginUnits(TPlotUnits(i));
        MarginRanges();
    });
    OnCheck(CBAllowZoom, this, [this, chart](bool on) {
        chart()->Zoom().Allow = on;
        EnableZoom(on);
    });
    OnCheck(CBAnimatedZoom, this, [chart](bool on) { chart()->Zoom().Animated = on; });
    OnSpin(UDAniZoomSteps, this, [chart](int v) { chart()->Zoom().AnimatedSteps = v; });
    OnSpin(UDMinPix, this, [chart](int v) { chart()->Zoom().MinimumPixels = v; });
    OnIndex(CBDir, this, [chart](int i) { chart()->Zoom().Direction = TPlotZoomDirection(i); });
    OnIndex(CBZoomMouse, this, [chart](int i) { chart()->Zoom().MouseButton = TPlotMouseButton(i); });
    OnCheck(CBUpLeft, this, [chart](bool on) { chart()->Zoom().UpLeftZooms = on; });
    connect(RGPanning, &QButtonGroup::idClicked, this, [this, chart](int i) {
        if (Filling()) return;
        chart()->SetAllowPanning(TPanningMode(i));
        CBScrollMouse->setEnabled(i != pmNone);
    });
    OnIndex(CBScrollMouse, this, [chart](int i) { chart()->SetScrollMouseButton(TPlotMouseButton(i)); });
    connect(BZoomColor, &QPushButton::clicked, this, [this, chart] {
        EditChartBrush(this, TEditedObject::Part(static_cast<TChartBrush*>(&chart()->Zoom().Brush()),
                                                 static_cast<QObject*>(chart())));
    });
    OnIndex(CBCursor, this, [this, chart](int) {
        // The chart keeps its cursor when the name is none of ours, and
        // restores the chosen one after its temporary ones.
        constexpr int keep = std::numeric_limits<int>::min();
        const int cursor = CursorFromName(keep, CBCursor->currentText().toStdString());
        if (cursor == keep) return;
        TCustomChart* c = chart();
        c->setCursor(ScreenCursor(cursor));
        c->SetSavedCursor(c->cursor());
    });
}

TCustomChart* TFormPlotGeneral::Chart() const {
    return Edited().As<TCustomChart>();
}

void TFormPlotGeneral::MarginRanges() {
    const bool pixels = Chart()->MarginUnits() == muPixels;
    for (QSpinBox* s : {UDTopMa, UDLeftMa, UDBotMa, UDRightMa}) {
        TFilling filling(*this);
        s->setRange(pixels ? -2000 : 0, pixels ? 2000 : 100);
    }
}

void TFormPlotGeneral::MarginTyped(QSpinBox* box, int side, int opposite) {
    TCustomChart* c = Chart();
    if (!isVisible() || !c) return;
    // In percent two opposite margins leave some room between them.
    if (c->MarginUnits() == muPercent && box->value() + c->GetMargin(opposite) >= 100)
        SetSpin(box, c->GetMargin(side));
    else
        c->SetMargin(side, box->value());
}

void TFormPlotGeneral::EnableZoom(bool on) {
    for (QWidget* w :
         {static_cast<QWidget*>(CBAnimatedZoom), static_cast<QWidget*>(UDAniZoomSteps), static_cast<QWidget*>(UDMinPix),
          static_cast<QWidget*>(BZoomPen), static_cast<QWidget*>(BZoomColor), static_cast<QWidget*>(CBDir),
          static_cast<QWidget*>(CBZoomMouse), static_cast<QWidget*>(CBUpLeft)})
        w->setEnabled(on);
}

void TFormPlotGeneral::FormShow() {
    TCustomChart* c = Chart();
    if (!c) return;
    if (QAbstractButton* b = RGPanning->button(int(c->AllowPanning()))) b->setChecked(true);
    CBMarUnits->setCurrentIndex(int(c->MarginUnits()));
    MarginRanges();
    UDTopMa->setValue(c->MarginTop());
    UDLeftMa->setValue(c->MarginLeft());
    UDBotMa->setValue(c->MarginBottom());
    UDRightMa->setValue(c->MarginRight());
    const TPlotZoom& z = c->Zoom();
    CBAllowZoom->setChecked(z.Allow);
    CBAnimatedZoom->setChecked(z.Animated);
    UDAniZoomSteps->setValue(z.AnimatedSteps);
    EnableZoom(z.Allow);
    UDMinPix->setValue(z.MinimumPixels);
    CBDir->setCurrentIndex(int(z.Direction));
    CBZoomMouse->setCurrentIndex(int(z.MouseButton));
    CBUpLeft->setChecked(z.UpLeftZooms);
    BZoomPen->LinkPen(TEditedObject::Part(static_cast<TChartPen*>(&c->Zoom().Pen()), static_cast<QObject*>(c)));
    CBScrollMouse->setCurrentIndex(int(c->ScrollMouseButton()));
    CBScrollMouse->setEnabled(c->AllowPanning() != pmNone);
    FillCursorCombo(CBCursor, CursorNumberOf(c->cursor()));
}

}  // namespace cb::charteditors
