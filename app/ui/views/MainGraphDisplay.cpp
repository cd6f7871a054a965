#include "app/ui/views/MainGraphDisplay.h"

#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/ui/views/ChartAnnotation.h"
#include "app/ui/views/ChartLegendPager.h"
#include "app/ui/widgets/HelpTopics.h"
#include "app/ui/widgets/SectionHeader.h"
#include "chart/component/Chart.h"
#include "charteditors/controls/ChartScrollBar.h"
#include "chartexport/core/PlotExportFormat.h"
#include "chartexport/pdf/PDFExportFormat.h"
#include "chartexport/preview/ChartPreviewer.h"
#include "chartexport/raster/GIFExportFormat.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "platform/desktop/SaveDialog.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/desktop/PlainMessageBox.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace cb::app {

namespace {

constexpr int kWideToolBar = 749;
constexpr int kSideWallTransparency = 60;  // percent  // narrower views wrap the tool bar onto two rows
constexpr const char* kEmptyText =
    "The Graph will redisplay when either the current dimension is expanded or by selecting the Show All Members.";

QAction* AddItem(QMenu* menu, const char* caption, int tag) {
    QAction* action = menu->addAction(caption);
    action->setCheckable(true);
    action->setData(tag);
    return action;
}

enum TChartIcon {
    ciShowAll,
    ciData,
    ciGroup,
    ciFlip,
    ciType,
    ciBar,
    ciPie,
    ciStacked,
    ciLine,
    ciPyramid,
    ciMarks,
    ciLegend,
    ciAnnotate,
    ciBottomLabels,
    ciRotation,
    ciCopy,
    ciExport,
    ciPrint
};

// The tool bar's pictures, drawn by the program at 16 x 16.
QIcon ChartIcon(TChartIcon kind) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x2f, 0x5f, 0xa8), orange(0xe7, 0x9a, 0x1c), green(0x2e, 0x8b, 0x3a), dark(0x40, 0x40, 0x40);
    p.setPen(QPen(dark, 1));
    switch (kind) {
    case ciShowAll:
        p.fillRect(2, 2, 12, 3, blue);
        p.fillRect(5, 7, 9, 3, orange);
        p.fillRect(5, 12, 9, 3, orange);
        break;
    case ciData:
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) p.drawRect(1 + i * 5, 1 + j * 5, 4, 4);
        p.fillRect(6, 1, 4, 14, blue);
        break;
    case ciGroup:
        p.fillRect(1, 6, 3, 9, blue), p.fillRect(4, 3, 3, 12, orange);
        p.fillRect(9, 8, 3, 7, blue), p.fillRect(12, 5, 3, 10, orange);
        break;
    case ciFlip:
        p.setPen(QPen(blue, 2));
        p.drawLine(2, 5, 14, 5), p.drawLine(10, 2, 14, 5);
        p.setPen(QPen(orange, 2));
        p.drawLine(2, 11, 14, 11), p.drawLine(2, 11, 6, 14);
        break;
    case ciType:
        p.fillRect(2, 8, 3, 7, blue), p.fillRect(7, 4, 3, 11, blue);
        p.setPen(QPen(orange, 2));
        p.drawLine(1, 12, 7, 6), p.drawLine(7, 6, 15, 9);
        break;
    case ciBar:
        p.fillRect(1, 8, 4, 7, blue), p.fillRect(6, 3, 4, 12, orange), p.fillRect(11, 6, 4, 9, green);
        break;
    case ciPie:
        p.setBrush(blue);
        p.drawPie(1, 1, 14, 14, 90 * 16, 250 * 16);
        p.setBrush(orange);
        p.drawPie(2, 0, 14, 14, 90 * 16, -110 * 16);
        break;
    case ciStacked:
        p.fillRect(2, 9, 5, 6, blue), p.fillRect(2, 4, 5, 5, orange);
        p.fillRect(9, 7, 5, 8, blue), p.fillRect(9, 1, 5, 6, orange);
        break;
    case ciLine:
        p.setPen(QPen(blue, 2));
        p.drawPolyline(QPolygon({QPoint(1, 13), QPoint(5, 7), QPoint(9, 10), QPoint(15, 2)}));
        break;
    case ciPyramid:
        p.setBrush(orange);
        p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(15, 15), QPoint(1, 15)}));
        p.drawLine(5, 8, 11, 8), p.drawLine(3, 12, 13, 12);
        break;
    case ciMarks:
        p.setBrush(QColor(255, 255, 210));
        p.drawRect(1, 1, 11, 7);
        p.drawLine(5, 8, 5, 12);
        p.fillRect(3, 12, 5, 3, blue);
        break;
    case ciLegend:
        p.fillRect(1, 2, 4, 3, blue), p.fillRect(1, 7, 4, 3, orange), p.fillRect(1, 12, 4, 3, green);
        p.drawLine(7, 3, 15, 3), p.drawLine(7, 8, 15, 8), p.drawLine(7, 13, 15, 13);
        break;
    case ciAnnotate:
        p.setBrush(QColor(255, 255, 210));
        p.drawRoundedRect(1, 1, 14, 9, 3, 3);
        p.drawPolygon(QPolygon({QPoint(4, 10), QPoint(4, 15), QPoint(8, 10)}));
        break;
    case ciBottomLabels:
        p.drawLine(1, 4, 15, 4);
        p.fillRect(2, 7, 3, 8, blue), p.fillRect(7, 7, 3, 8, blue), p.fillRect(12, 7, 3, 8, blue);
        break;
    case ciRotation:
        p.setPen(QPen(blue, 2));
        p.drawArc(2, 2, 12, 12, 30 * 16, 280 * 16);
        p.drawLine(13, 3, 13, 7), p.drawLine(13, 7, 9, 7);
        break;
    case ciCopy:
        p.setBrush(Qt::white);
        p.drawRect(1, 1, 9, 10);
        p.drawRect(5, 5, 9, 10);
        break;
    case ciExport:
        p.setBrush(Qt::white);
        p.drawRect(1, 4, 10, 11);
        p.setPen(QPen(green, 2));
        p.drawLine(6, 9, 14, 1), p.drawLine(9, 1, 14, 1), p.drawLine(14, 1, 14, 6);
        break;
    case ciPrint:
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 5);
        p.setBrush(QColor(0xb0, 0xb0, 0xb0));
        p.drawRect(1, 6, 14, 6);
        p.setBrush(Qt::white);
        p.drawRect(4, 10, 8, 5);
        break;
    }
    return QIcon(pixmap);
}

std::string FirstBracketed(const std::string& text) {
    return TDisplayManager::ExtractFirstBracketedName(text);
}

}  // namespace

TfrmMainGraphDisplay::TfrmMainGraphDisplay(QWidget* parent, TDisplayManager* displayManager)
    : TContentForm(parent), FDisplayManager(displayManager) {
    setObjectName("frmMainGraphDisplay");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateToolBar();
    layout->addWidget(tbGraphOptions);

    // The chart over the text that shows when the chart is hidden.
    FChartHolder = new QWidget(this);
    auto* holder = new QVBoxLayout(FChartHolder);
    holder->setContentsMargins(5, 8, 0, 3);
    lblGraphEmptyText = new QLabel(kEmptyText, FChartHolder);
    lblGraphEmptyText->setObjectName("lblGraphEmptyText");
    lblGraphEmptyText->setWordWrap(true);
    lblGraphEmptyText->setAlignment(Qt::AlignCenter);
    FChart = new cb::chart::TChart(FChartHolder);
    FChart->setObjectName("chartGraph");
    holder->addWidget(FChart, 1);
    panLegendPages = new TChartLegendPager(FChartHolder, *FChart);
    holder->addWidget(panLegendPages);
    holder->addWidget(lblGraphEmptyText, 1);
    lblGraphEmptyText->hide();
    layout->addWidget(FChartHolder, 1);
    csbScroller = new cb::charteditors::TChartScrollBar(this);
    csbScroller->setObjectName("csbScroller");
    layout->addWidget(csbScroller);
    csbScroller->hide();

    panRotationValue = new QWidget(this);
    panRotationValue->setObjectName("panRotationValue");
    auto* rotation = new QHBoxLayout(panRotationValue);
    rotation->setContentsMargins(4, 2, 4, 2);
    auto* rotationLabel = new QLabel("   Rotation   ", panRotationValue);
    QFont bold = rotationLabel->font();
    bold.setBold(true);
    rotationLabel->setFont(bold);
    tbRotation = new QSlider(Qt::Horizontal, panRotationValue);
    tbRotation->setObjectName("tbRotation");
    tbRotation->setRange(0, 180);
    tbRotation->setValue(90);
    tbRotation->setPageStep(5);
    tbRotation->setTickInterval(6);
    tbRotation->setTickPosition(QSlider::TicksAbove);
    btnResetRotation = new QPushButton("Reset", panRotationValue);
    btnResetRotation->setToolTip("Reset Rotation");
    rotation->addWidget(rotationLabel);
    rotation->addWidget(tbRotation, 1);
    rotation->addWidget(btnResetRotation);
    panRotationValue->hide();
    layout->addWidget(panRotationValue);
    connect(tbRotation, &QSlider::valueChanged, this, [this](int p) { ApplyRotation(p); });
    connect(btnResetRotation, &QPushButton::clicked, this, [this] { tbRotation->setValue(90); });

    // The chart as it starts.
    auto& chart = *FChart;
    chart.Legend().SetVisible(true);
    chart.Legend().SetAlignment(cb::chart::laBottom);
    // At most 100 rows, and no more than a third of the chart's height holds
    // (the pager sets the rows before every paint and pages the rest).
    chart.Legend().SetMaxNumRows(100);
    chart.Legend().Symbol().SetWidthUnits(cb::chart::lcsPixels);
    chart.Legend().Symbol().SetWidth(40);
    chart.Legend().Symbol().SetSquared(true);
    chart.Legend().SetTransparency(20);
    chart.Title().SetVisible(false);
    chart.SetMargin(0, 0);
    chart.SetMargin(1, 5);
    chart.SetMargin(2, 5);
    chart.SetMargin(3, 0);
    chart.SetMarginUnits(cb::chart::muPixels);
    chart.BottomAxis().SetLabelsAngle(270);
    chart.BottomAxis().LabelsFont().SetHeight(-9);
    chart.SetChart3DPercent(25);
    chart.View3DOptions().SetElevation(360);
    chart.View3DOptions().SetRotation(0);
    chart.View3DOptions().SetPerspective(20);
    chart.View3DOptions().SetOrthogonal(false);
    chart.SetPrintMargins(cb::gfx::TRect{15, 29, 15, 29});
    chart.SetView3D(false);
    // Side walls are see-through planes in the walls' colour, framed in it,
    // so that in 3D they read as walls, not as one more bar.
    for (cb::chart::TChartWall* wall : {&chart.LeftWall(), static_cast<cb::chart::TChartWall*>(&chart.RightWall())}) {
        wall->SetTransparency(kSideWallTransparency);
        wall->Pen().SetColor(wall->Color());
    }
    chart.RightWall().SetColor(chart.LeftWall().Color());
    chart.RightWall().Brush().SetColor(chart.LeftWall().Color());
    chart.RightWall().Pen().SetColor(chart.LeftWall().Color());
    // The annotation: a note on the point nearest the mouse, in the top right corner.
    ctAnnotator = std::make_unique<TChartAnnotation>(chart);
    FChart->setMouseTracking(true);
    FChart->installEventFilter(this);
    tbGraphOptions->installEventFilter(this);
    FPreviewer = std::make_unique<cb::chartexport::TChartPreviewer>();
    FPreviewer->SetChart(FChart);

    if (FDisplayManager) {
        FDisplayManager->SetChartMeasureFilter(true);
        FDisplayManager->SetChartGroupBy(kNoGroupBy);
        FOldAxesChanged = FDisplayManager->OnAxesChanged;
        FOldMeasuresChanged = FDisplayManager->OnMeasuresChanged;
        FOldAllMembersHidden = FDisplayManager->OnAllMembersHidden;
        FDisplayManager->OnAxesChanged = [this] {
            if (FOldAxesChanged) FOldAxesChanged();
            // New data: the legend starts at its first item.
            panLegendPages->FirstPage();
            BuildGroupByMenu();
        };
        FDisplayManager->OnMeasuresChanged = [this] {
            if (FOldMeasuresChanged) FOldMeasuresChanged();
            BuildMeasureMenu();
        };
        FDisplayManager->OnAllMembersHidden = [this] {
            if (FOldAllMembersHidden) FOldAllMembersHidden();
            tbbShowAllMember->setChecked(false);
            tbbShowAllMember->setToolTip("Show All Members");
        };
    }
    BuildMeasureMenu();
    SetBottomLabels(false);
    SelectDataMode(cdmAllCells);
    SelectMarksStyle(-1);
    if (FDisplayManager) FDisplayManager->SetChartShowAllMembers(true);
    tbbShowAllMember->setChecked(true);
    tbbShowAllMember->setToolTip("Hide All Members");
    SetAnnotation(true);
    SelectChartType(0);
    SelectLegendStyle(0);
}

TfrmMainGraphDisplay::~TfrmMainGraphDisplay() {
    if (FDisplayManager) {
        FDisplayManager->OnAxesChanged = FOldAxesChanged;
        FDisplayManager->OnMeasuresChanged = FOldMeasuresChanged;
        FDisplayManager->OnAllMembersHidden = FOldAllMembersHidden;
        if (FDisplayManager->GetChart() == FChart) FDisplayManager->SetChart(nullptr);
    }
}

void TfrmMainGraphDisplay::CreateToolBar() {
    tbGraphOptions = new QWidget(this);
    tbGraphOptions->setObjectName("tbGraphOptions");
    auto button = [this](const char* name, const char* caption, const char* hint, bool check) {
        auto* b = new QToolButton(tbGraphOptions);
        b->setObjectName(name);
        b->setText(caption);
        b->setToolTip(hint ? hint : caption);
        b->setCheckable(check);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumSize(24, 25);
        return b;
    };
    auto dropDown = [this](QToolButton* b, QMenu*& menu, const char* name) {
        menu = new QMenu(this);
        menu->setObjectName(name);
        b->setMenu(menu);
        b->setPopupMode(QToolButton::InstantPopup);
    };
    imgSectionHeader = MakeSectionHeader(tbGraphOptions, TSectionIcon::ChartView, "Chart View", kHelpTopicChartView);
    tbbMeasure = button("tbbMeasure", "Current Measure", nullptr, false);
    dropDown(tbbMeasure, pmMeasure, "pmMeasure");
    tbbShowAllMember = button("tbbShowAllMember", "Show All Member", nullptr, true);
    tbbDisplayType = button("tbbDisplayType", "Chart Data", nullptr, false);
    dropDown(tbbDisplayType, pmDisplayType, "pmDisplayType");
    tbbGroupBy = button("tbbGroupBy", "Group By", "Group By ..", false);
    dropDown(tbbGroupBy, pmGroupBy, "pmGroupBy");
    tbbFlipAxis = button("tbbFlipAxis", "Flip Row/Column ", nullptr, false);
    tbbGraphTypeToDisplay = button("tbbGraphTypeToDisplay", "Graph Type", nullptr, false);
    dropDown(tbbGraphTypeToDisplay, pmGraphType, "pmGraphType");
    tbbBarGraph = button("tbbBarGraph", "Bar Graph", nullptr, true);
    tbbPie = button("tbbPie", "Pie Graph", nullptr, true);
    tbbShowStackedGraph = button("tbbShowStackedGraph", "Stacked Graph", nullptr, true);
    tbLineGraph = button("tbLineGraph", "", "Line", false);
    tbbPyramid = button("tbbPyramid", "Pyramid Graph", nullptr, true);
    tbbShowMarks = button("tbbShowMarks", "Label Display Type", "Labels", false);
    dropDown(tbbShowMarks, pmMarkType, "pmMarkType");
    tbShowLegendStyle = button("tbShowLegendStyle", "Legend", "Legend", false);
    dropDown(tbShowLegendStyle, pmLegendDisplayText, "pmLegendDisplayText");
    tbbShowAnnotation = button("tbbShowAnnotation", "Annotate", "Show Annotation", true);
    tbShowBottomLabels = button("tbShowBottomLabels", "Show Bottom Labels", nullptr, true);
    tbbRotation = button("tbbRotation", "Rotation Slider", "Show Rotation Slider", true);
    tbbCopyToClipboard = button("tbbCopyToClipboard", "Copy to Clipboard", nullptr, false);
    tbbSaveAs = button("tbbSaveAs", "Export To", "Export Current Graph", false);
    pmExport = new QMenu(this);
    pmExport->setObjectName("pmExport");
    tbbSaveAs->setMenu(pmExport);
    tbbSaveAs->setPopupMode(QToolButton::MenuButtonPopup);
    tbbPrint = button("tbbPrint", "Print", nullptr, false);
    // Pictures with the caption as their hint; the measure button keeps its text.
    const std::pair<QToolButton*, TChartIcon> pictures[] = {{tbbShowAllMember, ciShowAll},
                                                            {tbbDisplayType, ciData},
                                                            {tbbGroupBy, ciGroup},
                                                            {tbbFlipAxis, ciFlip},
                                                            {tbbGraphTypeToDisplay, ciType},
                                                            {tbbBarGraph, ciBar},
                                                            {tbbPie, ciPie},
                                                            {tbbShowStackedGraph, ciStacked},
                                                            {tbLineGraph, ciLine},
                                                            {tbbPyramid, ciPyramid},
                                                            {tbbShowMarks, ciMarks},
                                                            {tbShowLegendStyle, ciLegend},
                                                            {tbbShowAnnotation, ciAnnotate},
                                                            {tbShowBottomLabels, ciBottomLabels},
                                                            {tbbRotation, ciRotation},
                                                            {tbbCopyToClipboard, ciCopy},
                                                            {tbbSaveAs, ciExport},
                                                            {tbbPrint, ciPrint}};
    for (auto [b, icon] : pictures) {
        b->setIcon(ChartIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        if (b->toolTip() == b->text() || b->toolTip().isEmpty())
            b->setToolTip(b->text().isEmpty() ? "Line" : b->text());
    }

    for (auto [caption, mode] : {std::pair{"&Chart All", 2}, {"Selected &Row", 1}, {"Selected &Col", 0}})
        connect(AddItem(pmDisplayType, caption, mode), &QAction::triggered, this,
                [this, m = mode] { SelectDataMode(m); });
    for (auto [caption, type] : {std::pair{"Bar", 0}, {"Pie", 1}, {"Stacked", 3}, {"Line", 7}, {"Pyramid", 6}})
        connect(AddItem(pmGraphType, caption, type), &QAction::triggered, this,
                [this, t = type] { SelectChartType(t); });
    for (auto [caption, style] : {std::pair{"Dont show", -1},
                                  {"Value", 0},
                                  {"Percent", 1},
                                  {"Label", 2},
                                  {"Label Percent", 3},
                                  {"Label Value", 4},
                                  {"PercentTotal", 6},
                                  {"Label Percent Total", 7}})
        connect(AddItem(pmMarkType, caption, style), &QAction::triggered, this,
                [this, s = style] { SelectMarksStyle(s); });
    for (auto [caption, style] : {std::pair{"Dont show", -1},
                                  {"Label", 0},
                                  {"Value Label", 1},
                                  {"Label Value", 2},
                                  {"Percent Label", 3},
                                  {"Value", 6}})
        connect(AddItem(pmLegendDisplayText, caption, style), &QAction::triggered, this,
                [this, s = style] { SelectLegendStyle(s); });
    QAction* none = AddItem(pmGroupBy, "Don't group", kNoGroupBy);
    none->setChecked(true);
    connect(none, &QAction::triggered, this, [this] { SelectGroupBy(kNoGroupBy); });
    connect(pmExport->addAction("PDF"), &QAction::triggered, this, [this] { ExportPDF(); });
    connect(pmExport->addAction("JPEG"), &QAction::triggered, this, [this] { ExportJPEG(); });
    connect(pmExport->addAction("GIF"), &QAction::triggered, this, [this] { ExportGIF(); });

    connect(tbbShowAllMember, &QToolButton::clicked, this, [this] { tbbShowAllMemberClick(); });
    connect(tbbFlipAxis, &QToolButton::clicked, this, [this] { tbbFlipAxisClick(); });
    connect(tbbBarGraph, &QToolButton::clicked, this, [this] { SelectChartType(0); });
    connect(tbbPie, &QToolButton::clicked, this, [this] { SelectChartType(1); });
    connect(tbbShowStackedGraph, &QToolButton::clicked, this, [this] { SelectChartType(3); });
    connect(tbLineGraph, &QToolButton::clicked, this, [this] { SelectChartType(7); });
    connect(tbbPyramid, &QToolButton::clicked, this, [this] { SelectChartType(6); });
    connect(tbbShowAnnotation, &QToolButton::clicked, this, [this] { tbbShowAnnotationClick(); });
    connect(tbShowBottomLabels, &QToolButton::clicked, this, [this] { tbShowBottomLabelsClick(); });
    connect(tbbRotation, &QToolButton::clicked, this, [this] { tbbRotationClick(); });
    connect(tbbCopyToClipboard, &QToolButton::clicked, this, [this] { tbbCopyToClipboardClick(); });
    connect(tbbSaveAs, &QToolButton::clicked, this, [this] { ExportPDF(); });
    connect(tbbPrint, &QToolButton::clicked, this, [this] { tbbPrintClick(); });
    LayOutToolBar();
}

// Buttons left to right; a view narrower than 749 pixels wraps them onto a
// second row.
void TfrmMainGraphDisplay::LayOutToolBar() {
    const bool wide = width() >= kWideToolBar;
    tbGraphOptions->setFixedHeight(wide ? 28 : 59);
    const int rowWidth = std::max(width(), 1);
    imgSectionHeader->move(2, 4);
    int x = imgSectionHeader->x() + imgSectionHeader->width() + 4, y = 2;
    for (QToolButton* b : tbGraphOptions->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        const QSize size = b->sizeHint().expandedTo(QSize(24, 25));
        if (x + size.width() > rowWidth && x > 2 && !wide && y == 2) {
            x = 2;
            y += 29;
        }
        b->setGeometry(x, y, size.width(), 25);
        x += size.width();
    }
}

void TfrmMainGraphDisplay::resizeEvent(QResizeEvent* event) {
    TContentForm::resizeEvent(event);
    LayOutToolBar();
    PlaceAnnotationAtCursor();
}

void TfrmMainGraphDisplay::showEvent(QShowEvent* event) {
    TContentForm::showEvent(event);
    LayOutToolBar();
}

void TfrmMainGraphDisplay::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    FChart->SetColor(theme->BackgroundColor);
    for (QWidget* w : {static_cast<QWidget*>(FChartHolder), panRotationValue, tbGraphOptions}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, cb::gfx::ToQColor(theme->BackgroundColor));
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
    FChart->BackWall().SetColor(theme->AccentColor);
    FChart->BackWall().Brush().SetColor(theme->BackgroundColor);
    FChart->BackWall().Pen().SetColor(theme->AccentColor);
    for (auto* wall : {&FChart->LeftWall(), &FChart->BottomWall(), static_cast<cb::chart::TChartWall*>(&FChart->RightWall())}) {
        wall->SetColor(theme->AccentColor);
        wall->Brush().SetColor(theme->AccentColor);
        wall->Pen().SetColor(theme->AccentColor);
    }
}

// ---- menus ------------------------------------------------------------------

void TfrmMainGraphDisplay::TickOnly(QMenu* menu, int tag) {
    for (QAction* a : menu->actions())
        if (a->isCheckable()) a->setChecked(a->data().toInt() == tag);
}

int TfrmMainGraphDisplay::TickedTag(QMenu* menu, int none) {
    for (QAction* a : menu->actions())
        if (a->isCheckable() && a->isChecked()) return a->data().toInt();
    return none;
}

void TfrmMainGraphDisplay::MenusChanged() {
    if (OnMenusChanged) OnMenusChanged(this);
}

void TfrmMainGraphDisplay::ShowEmptyTextIfHidden() {
    // The builder hides the chart when it has nothing to show.
    lblGraphEmptyText->setVisible(FChart->isHidden());
    if (FChart->isHidden()) panLegendPages->hide();
}

void TfrmMainGraphDisplay::RefreshStep() {
    if (FDisplayManager) FDisplayManager->RefreshChart();
    tbRotation->setValue(90);
    ShowEmptyTextIfHidden();
    MenusChanged();
}

void TfrmMainGraphDisplay::BuildMeasureMenu() {
    const int previous = TickedTag(pmMeasure, -1);
    pmMeasure->clear();
    FMeasureNames.clear();
    std::unique_ptr<TDimension> measures;
    if (FDisplayManager) measures = FDisplayManager->BuildDimension("[Measures]");
    if (measures) {
        for (int i = 0; i < measures->GetMemberCount(); ++i) {
            const auto* member = measures->GetMember(i);
            if (!member->Selected) continue;
            QAction* item = AddItem(pmMeasure, member->Caption.c_str(), i);
            connect(item, &QAction::triggered, this, [this, i] { SelectMeasure(i); });
            FMeasureNames.push_back(member->UniqueName);
        }
    }
    if (pmMeasure->actions().isEmpty()) {
        MenusChanged();
        return;
    }
    SelectMeasure(previous);
    if (FDisplayManager) FDisplayManager->SetChartMeasureFilter(pmMeasure->actions().size() > 1);
    SelectMeasure(previous);
    if (FDisplayManager && FDisplayManager->IsCubeOpen()) FDisplayManager->Refresh();
    ShowEmptyTextIfHidden();
    MenusChanged();
}

void TfrmMainGraphDisplay::SelectMeasure(int tag) {
    const auto actions = pmMeasure->actions();
    if (actions.isEmpty()) return;
    int index = 0;
    for (int i = 0; i < actions.size(); ++i)
        if (actions[i]->data().toInt() == tag) index = i;
    const int mode = FDisplayManager ? FDisplayManager->GetChartDataMode() : cdmAllCells;
    const int column = FDisplayManager ? FDisplayManager->GetChartColumn() : -1;
    const int row = FDisplayManager ? FDisplayManager->GetChartRow() : -1;
    for (int i = 0; i < actions.size(); ++i) actions[i]->setChecked(i == index);
    const std::string caption = actions[index]->text().toStdString();
    FChart->LeftAxis().Title().SetCaption(caption);
    FChart->LeftAxis().Title().SetVisible(true);
    FChart->Title().SetCaption(caption);
    if (FDisplayManager) {
        FDisplayManager->SetChartMeasure(FMeasureNames[static_cast<size_t>(index)]);
        FDisplayManager->RefreshChart();
        FDisplayManager->SetChartDataMode(static_cast<TChartDataMode>(mode));
        TickOnly(pmDisplayType, mode);
        FDisplayManager->GetChartBuilder().SetColumn(column);
        FDisplayManager->GetChartBuilder().SetRow(row);
    }
    ShowEmptyTextIfHidden();
    MenusChanged();
}

void TfrmMainGraphDisplay::BuildGroupByMenu() {
    // The builder's level is the one in force; the menu only mirrors it.
    const int previous = FDisplayManager ? FDisplayManager->GetChartGroupBy() : TickedTag(pmGroupBy, kNoGroupBy);
    for (QAction* a : pmGroupBy->actions())
        if (a->data().toInt() != kNoGroupBy) {
            pmGroupBy->removeAction(a);
            a->deleteLater();
        }
    auto cellset = FDisplayManager ? FDisplayManager->GetCellset() : nullptr;
    try {
        if (cellset && cellset->State() == cb::olap::Cellset::adStateOpen) {
            auto rows = cellset->Axes().Item(1);
            if (rows->DimensionCount() > 1 && rows->Positions().Count() > 0) {
                auto members = rows->Positions().Item(0)->Members();
                for (int level = 0; level < members.Count(); ++level) {
                    const std::string caption = FirstBracketed(members.Item(level)->UniqueName());
                    connect(AddItem(pmGroupBy, caption.c_str(), level), &QAction::triggered, this,
                            [this, level] { SelectGroupBy(level); });
                }
            }
        }
    } catch (const std::exception&) {
        // A cellset that cannot be read offers no grouping.
    }
    bool found = false;
    for (QAction* a : pmGroupBy->actions())
        if (a->data().toInt() == previous && previous != kNoGroupBy) found = true;
    if (found) {
        TickOnly(pmGroupBy, previous);
    } else {
        TickOnly(pmGroupBy, kNoGroupBy);
        if (FDisplayManager) FDisplayManager->SetChartGroupBy(kNoGroupBy);
    }
    MenusChanged();
}

// ---- commands ---------------------------------------------------------------

void TfrmMainGraphDisplay::SelectDataMode(int mode) {
    if (FDisplayManager) FDisplayManager->SetChartDataMode(static_cast<TChartDataMode>(mode));
    TickOnly(pmDisplayType, mode);
    RefreshStep();
}

void TfrmMainGraphDisplay::SelectChartType(int type) {
    if (FDisplayManager) FDisplayManager->SetChartType(type);
    tbbBarGraph->setChecked(type == ctcBar);
    tbbPie->setChecked(type == ctcPie);
    tbbShowStackedGraph->setChecked(type == ctcStackedBar);
    tbbPyramid->setChecked(type == ctcPyramid);
    for (QAction* a : pmGraphType->actions()) {
        const int tag = a->data().toInt();
        a->setChecked(tag == type && tag != ctcLine);
    }
    SetAnnotation(type == ctcBar || type == ctcStackedBar);
    tbbShowAnnotation->setEnabled(type == ctcBar || type == ctcStackedBar || type == ctcLine);
    if (FBottomLabels) SetBottomLabels(false);
    const bool labelled = type == ctcBar || type == ctcLine;
    if (!labelled) FChart->BottomAxis().SetVisible(false);
    tbShowBottomLabels->setEnabled(labelled);
    if (type == ctcPie || type == ctcPyramid) {
        if (FDisplayManager) FDisplayManager->SetChartGroupBy(kNoGroupBy);
        tbbGroupBy->setEnabled(false);
        tbbGroupBy->setDown(false);
        TickOnly(pmGroupBy, kNoGroupBy);
        SelectLegendStyle(1);
        tbShowLegendStyle->setEnabled(true);
    } else {
        tbbGroupBy->setEnabled(true);
    }
    if (type == ctcPyramid) {
        // A pyramid shows neither marks nor bottom labels.
        SelectMarksStyle(-1);
        FChart->BottomAxis().SetVisible(false);
    }
    if (type == ctcPie) {
        FChart->Title().SetCaption(FChart->LeftAxis().Title().Caption());
        FChart->Title().SetVisible(true);
    } else {
        FChart->Title().SetVisible(false);
    }
    FChart->View3DOptions().SetElevation(360);
    RefreshStep();
}

void TfrmMainGraphDisplay::SelectGroupBy(int level) {
    if (FDisplayManager) FDisplayManager->SetChartGroupBy(level);
    TickOnly(pmGroupBy, level);
    SelectLegendStyle(1);
    tbShowLegendStyle->setEnabled(level == kNoGroupBy);
    if (FDisplayManager && FDisplayManager->IsCubeOpen()) {
        try {
            FDisplayManager->Refresh();
        } catch (const std::exception& e) {
            ShowError(e.what());
        }
    }
    ShowEmptyTextIfHidden();
}

void TfrmMainGraphDisplay::SelectMarksStyle(int style) {
    TickOnly(pmMarkType, style);
    if (FDisplayManager) FDisplayManager->SetChartMarksStyle(style);
    MenusChanged();
}

void TfrmMainGraphDisplay::SelectLegendStyle(int style) {
    TickOnly(pmLegendDisplayText, style);
    if (style == -1) {
        FChart->Legend().SetVisible(false);
    } else {
        FChart->Legend().SetVisible(true);
        FChart->Legend().SetTextStyle(static_cast<cb::chart::TLegendTextStyle>(style));
    }
    MenusChanged();
}

void TfrmMainGraphDisplay::tbbFlipAxisClick() {
    if (!FDisplayManager) return;
    try {
        FDisplayManager->SwapRowsAndColumns();
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
    ShowEmptyTextIfHidden();
}

void TfrmMainGraphDisplay::tbbShowAllMemberClick() {
    const bool show = FDisplayManager ? !FDisplayManager->GetChartShowAllMembers() : !tbbShowAllMember->isChecked();
    if (FDisplayManager) FDisplayManager->SetChartShowAllMembers(show);
    tbbShowAllMember->setChecked(show);
    tbbShowAllMember->setToolTip(show ? "Hide All Members" : "Show All Members");
    RefreshStep();
}

void TfrmMainGraphDisplay::SetAnnotation(bool on) {
    FAnnotationOn = on;
    ctAnnotator->SetActive(on);
    tbbShowAnnotation->setChecked(on);
    tbbShowAnnotation->setToolTip(on ? "Hide Annotations" : "Show Annotations");
    if (on) PlaceAnnotation(0, 0);
}

void TfrmMainGraphDisplay::PlaceAnnotation(int x, int y) {
    if (FAnnotationOn) ctAnnotator->PlaceNear(x, y);
}

void TfrmMainGraphDisplay::PlaceAnnotationAtCursor() {
    const QPoint at = FChart->mapFromGlobal(QCursor::pos());
    PlaceAnnotation(at.x(), at.y());
}

bool TfrmMainGraphDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FChart && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        PlaceAnnotation(at.x(), at.y());
    } else if (watched == tbGraphOptions && event->type() == QEvent::Resize) {
        PlaceAnnotationAtCursor();
    }
    return TContentForm::eventFilter(watched, event);
}

void TfrmMainGraphDisplay::tbbShowAnnotationClick() {
    if (!tbbShowAnnotation->isEnabledTo(this)) return;  // the chart type has no annotation
    SetAnnotation(!FAnnotationOn);
    MenusChanged();
}

void TfrmMainGraphDisplay::SetBottomLabels(bool on) {
    FBottomLabels = on;
    FChart->BottomAxis().SetVisible(on);
    tbShowBottomLabels->setChecked(on);
    tbShowBottomLabels->setToolTip(on ? "Hide Bottom Labels" : "Show Bottom Labels");
}

void TfrmMainGraphDisplay::tbShowBottomLabelsClick() {
    if (!tbShowBottomLabels->isEnabledTo(this)) return;  // the chart type has no bottom labels
    SetBottomLabels(!FBottomLabels);
    MenusChanged();
}

void TfrmMainGraphDisplay::SetRotationSlider(bool shown) {
    panRotationValue->setVisible(shown);
    FChart->SetView3D(shown);
    tbbRotation->setChecked(shown);
    tbbRotation->setToolTip(shown ? "Hide Rotation Slider" : "Show Rotation Slider");
    ApplyRotation(90);
}

void TfrmMainGraphDisplay::tbbRotationClick() {
    SetRotationSlider(panRotationValue->isHidden());
    MenusChanged();
}

void TfrmMainGraphDisplay::SetRotationPosition(int position) {
    tbRotation->setValue(position);
}

int TfrmMainGraphDisplay::RotationOfPosition(int position) {
    return position >= 90 ? position - 90 : position + 270;
}

void TfrmMainGraphDisplay::ApplyRotation(int position) {
    FChart->View3DOptions().SetRotation(RotationOfPosition(position));
    // The side walls and their axes follow the turn.
    const bool rightAway = FChart->RightWallFacesAway();
    FChart->RightWall().SetVisible(!rightAway);
    FChart->RightAxis().SetZPosition(rightAway ? 100 : 0);
    const bool leftAway = FChart->LeftWallFacesAway();
    FChart->LeftWall().SetVisible(!leftAway);
    FChart->LeftAxis().SetZPosition(leftAway ? 100 : 0);
}

void TfrmMainGraphDisplay::tbbCopyToClipboardClick() {
    try {
        FChart->CopyBitmapToClipboard();
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

void TfrmMainGraphDisplay::ShowError(const std::string& text) {
    cb::os::PlainMessageBox(this, QMessageBox::Critical, "Chart View", QString::fromStdString(text));
}

void TfrmMainGraphDisplay::Export(const std::function<void()>& save) {
    const bool annotation = FAnnotationOn;
    const bool titleVisible = FChart->Title().Visible();
    SetAnnotation(false);
    const auto restore = cb::rtl::OnScopeExit([&] {
        SetAnnotation(annotation);
        FChart->Title().SetVisible(titleVisible);
    });
    try {
        save();
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

void TfrmMainGraphDisplay::ExportPDF() {
    Export([this] {
        const std::string file =
            cb::os::AskSaveFileName(this, {"Export Current Graph", "PDF Document (*.pdf)", {"pdf"}});
        if (!file.empty()) cb::chartexport::SaveChartToPDFFile(*FChart, file, 0, 0);
    });
}

void TfrmMainGraphDisplay::ExportJPEG() {
    Export([this] {
        cb::chartexport::SaveChartAsFormat(cb::chartexport::ExportFormatClass<cb::chartexport::TJPEGExportFormat>(),
                                           FChart);
    });
}

void TfrmMainGraphDisplay::ExportGIF() {
    Export([this] {
        cb::chartexport::SaveChartAsFormat(cb::chartexport::ExportFormatClass<cb::chartexport::TGIFExportFormat>(),
                                           FChart);
    });
}

void TfrmMainGraphDisplay::tbbPrintClick() {
    auto& chart = *FChart;
    int margins[4];
    for (int i = 0; i < 4; ++i) margins[i] = chart.GetMargin(i);
    const bool annotation = FAnnotationOn;
    const bool titleVisible = chart.Title().Visible();
    const auto titleText = chart.Title().Text();
    const auto restore = cb::rtl::OnScopeExit([&] {
        for (int i = 0; i < 4; ++i) chart.SetMargin(i, margins[i]);
        SetAnnotation(annotation);
        chart.Title().SetText(titleText);
        chart.Title().SetVisible(titleVisible);
        chart.Invalidate();
    });
    SetAnnotation(false);
    chart.Title().SetVisible(true);
    std::string title;
    if (FDisplayManager) {
        if (auto cubeDef = FDisplayManager->GetCubeDef()) title = cubeDef->Name();
        if (FDisplayManager->GetChartType() == ctcPie && !titleText.empty()) title += " - " + titleText.front();
    }
    chart.Title().SetCaption(title);
    for (int i = 0; i < 4; ++i) chart.SetMargin(i, 0);
    // Normal detail: the engine's full resolution would scale the chart to nothing.
    chart.SetPrintResolution(0);
    chart.SetPrintProportional(true);
    chart.SetPrintMargins(cb::gfx::TRect{0, 0, 0, 0});
    chart.Invalidate();
    FPreviewer->WindowState = cb::chartexport::wsNormal;
    FPreviewer->Options |= cb::chartexport::cpoProportional;
    FPreviewer->Title = "Print Graph";
    try {
        FPreviewer->Execute();
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

}  // namespace cb::app
