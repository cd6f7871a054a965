#include "app/ui/main/MainLeftMenu.h"

#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/ui/widgets/HelpTopics.h"
#include "app/ui/widgets/SectionHeader.h"
#include "extras/KitCheckListBox.h"
#include "extras/KitItemsPanel.h"
#include "grid/ExtStringGrid.h"
#include "platform/rtl/ErrorLog.h"
#include "platform/rtl/ScopeGuard.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace cb::app {

using namespace cb::olap;

namespace {

constexpr int kDimensionItemHeight = 20;
constexpr int kMeasureItemHeight = 13;
const char* const kMeasureRemoveText =
    "You cannot remove a Measure with this method. \r\rYou can select and unselect Measures from the Grid "
    "Menu. \r\rAlternatively you can double click Measures from the Grid View and select from the Members "
    "Popup Window.";

// The dimension list: reports the pointer's position with every gesture and
// knows where a drag comes from.
class TDimensionsPanel : public cb::extras::TKitItemsPanel {
public:
    TDimensionsPanel(QWidget* parent, TfrmMainLeftMenu* menu) : TKitItemsPanel(parent), FMenu(menu) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        TKitItemsPanel::mousePressEvent(e);
        const QPoint p = e->position().toPoint();
        FMenu->DimensionsMouseDown(e->button(), p.x(), p.y());
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        TKitItemsPanel::mousePressEvent(e);
        if (e->button() != Qt::LeftButton) return;
        const QPoint p = e->position().toPoint();
        FMenu->DimensionsMouseDown(e->button(), p.x(), p.y());
        FMenu->DimensionsDblClick(p.x(), p.y());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        TKitItemsPanel::mouseMoveEvent(e);
        FMenu->DimensionsMouseMove();
    }
    void leaveEvent(QEvent* e) override {
        TKitItemsPanel::leaveEvent(e);
        FMenu->DimensionsMouseMove();
    }
    void contextMenuEvent(QContextMenuEvent* e) override {
        FMenu->SetPopupPosition(e->globalPos());
        FMenu->pmDimensions->exec(e->globalPos());
    }
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (FMenu->DimensionsDragOver(e->source()))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        if (FMenu->DimensionsDragOver(e->source()))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dropEvent(QDropEvent* e) override {
        if (!FMenu->DimensionsDragOver(e->source())) {
            e->ignore();
            return;
        }
        FMenu->DimensionsDragDrop(e->source());
        e->acceptProposedAction();
    }

private:
    TfrmMainLeftMenu* FMenu;
};

// A strip of fixed height in the menu's column.
QWidget* Strip(QWidget* parent, int height) {
    auto* w = new QWidget(parent);
    w->setFixedHeight(height);
    w->setAutoFillBackground(true);
    return w;
}

// The two ends of the "bookcase" around the dimension list.
QPixmap BookcaseEdge(int width, int height, bool top) {
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0x99, 0x99, 0x99));
    const int y = top ? height - 2 : 1;
    p.drawLine(6, y, width - 6, y);
    p.drawLine(6, top ? y : 0, 6, top ? height : y);
    p.drawLine(width - 6, top ? y : 0, width - 6, top ? height : y);
    return pm;
}

}  // namespace

TfrmMainLeftMenu::TfrmMainLeftMenu(QWidget* parent, TDisplayManager* displayManager, TAppContext context)
    : TContentForm(parent), FDisplayManager(displayManager), FContext(context) {
    setObjectName("frmMainLeftMenu");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    sbLeftMenu = new QScrollArea(this);
    sbLeftMenu->setFrameShape(QFrame::NoFrame);
    sbLeftMenu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sbLeftMenu->setWidgetResizable(true);
    outer->addWidget(sbLeftMenu);

    auto* column = new QWidget;
    column->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    QWidget* panGridMenuSpacer = Strip(column, 36);
    imgHeader = MakeSectionHeader(panGridMenuSpacer, TSectionIcon::GridMenu, "Grid Menu", kHelpTopicGridMenu);
    imgHeader->move(5, 8);
    layout->addWidget(panGridMenuSpacer);

    QWidget* panMeasuserLabelContainer = Strip(column, 18);
    lblTotals = new QLabel(" Measures", panMeasuserLabelContainer);
    QFont bold = lblTotals->font();
    bold.setBold(true);
    lblTotals->setFont(bold);
    lblTotals->move(0, 2);
    layout->addWidget(panMeasuserLabelContainer);

    panMeasures = new QWidget(column);
    panMeasures->setAutoFillBackground(true);
    auto* measuresLayout = new QHBoxLayout(panMeasures);
    measuresLayout->setContentsMargins(0, 0, 0, 0);
    measuresLayout->setSpacing(0);
    panTotalsBuffer = new QWidget(panMeasures);
    panTotalsBuffer->setFixedWidth(25);
    panTotalsBuffer->setAutoFillBackground(true);
    measuresLayout->addWidget(panTotalsBuffer);
    cblMeasures = new cb::extras::TKitCheckListBox(panMeasures);
    cblMeasures->setObjectName("cblMeasures");
    cblMeasures->SetBorderStyle(cb::extras::bsNone);
    cblMeasures->SetItemHeight(kMeasureItemHeight);
    cblMeasures->OnStateChange = [this](cb::extras::TKitCheckListBox&, int index) { MeasureStateChange(index); };
    measuresLayout->addWidget(cblMeasures, 1);
    panMeasures->setFixedHeight(5);
    layout->addWidget(panMeasures);

    QWidget* panMeasuresCheckboxesSerperator = Strip(column, 10);
    layout->addWidget(panMeasuresCheckboxesSerperator);
    QWidget* panDimensionsLabelContainer = Strip(column, 24);
    lblDimensions = new QLabel(" Dimensions", panDimensionsLabelContainer);
    lblDimensions->setFont(bold);
    lblDimensions->move(0, 6);
    layout->addWidget(panDimensionsLabelContainer);
    QWidget* panBookcaseTopContainer = Strip(column, 17);
    auto* top = new QLabel(panBookcaseTopContainer);
    top->setPixmap(BookcaseEdge(200, 17, true));
    layout->addWidget(panBookcaseTopContainer);

    ipDimensions = new TDimensionsPanel(column, this);
    ipDimensions->setObjectName("ipDimensions");
    ipDimensions->SetItemHeight(kDimensionItemHeight);
    ipDimensions->SetAlignment(cb::extras::taLeftJustify);
    ipDimensions->setCursor(Qt::PointingHandCursor);
    ipDimensions->SetHotTrack(false);
    ipDimensions->SetClickable(false);
    ipDimensions->setAcceptDrops(true);
    layout->addWidget(ipDimensions);

    QWidget* panBookcaseBottomLabel = Strip(column, 16);
    auto* bottom = new QLabel(panBookcaseBottomLabel);
    bottom->setPixmap(BookcaseEdge(200, 16, false));
    layout->addWidget(panBookcaseBottomLabel);
    layout->addStretch(1);
    sbLeftMenu->setWidget(column);

    pmDimensions = new QMenu(this);
    QMenu* add = pmDimensions->addMenu("&Add To Display");
    pmiToRows = add->addAction("To &Rows", this, [this] { PopupAddToAxis(1); });
    pmiToColumns = add->addAction("To &Columns", this, [this] { PopupAddToAxis(2); });

    timDoubleClickJustRan = new QTimer(this);
    timDoubleClickJustRan->setInterval(400);
    timDoubleClickJustRan->setSingleShot(true);
    connect(timDoubleClickJustRan, &QTimer::timeout, this, [this] { FDoubleClickJustRan = false; });

    FBackgroundPanels = {panMeasures,
                         panTotalsBuffer,
                         panGridMenuSpacer,
                         panMeasuresCheckboxesSerperator,
                         column,
                         sbLeftMenu->viewport(),
                         panMeasuserLabelContainer,
                         panDimensionsLabelContainer,
                         panBookcaseTopContainer,
                         panBookcaseBottomLabel};

    if (FDisplayManager) FDisplayManager->OnCubeReset = [this] { SyncMeasureChecks(); };
}

TfrmMainLeftMenu::~TfrmMainLeftMenu() {
    if (!FDisplayManager) return;
    // Nothing of the display manager may point here afterwards.
    FDisplayManager->OnCubeReset = nullptr;
    if (FCubeDef) FDisplayManager->OnMeasuresChanged = nullptr;
    const TDimensionObject* source = FDisplayManager->GetDragSource();
    for (const auto& item : FDimensionItems)
        if (item.get() == source) FDisplayManager->SetDragSource(nullptr);
}

void TfrmMainLeftMenu::SetCubeDef(std::shared_ptr<CubeDef> cubeDef) {
    if (cubeDef == FCubeDef) return;
    FCubeDef = std::move(cubeDef);
    BuildLists();
    if (FDisplayManager) FDisplayManager->OnMeasuresChanged = [this] { SyncMeasureChecks(); };
}

void TfrmMainLeftMenu::BuildLists() {
    if (FDisplayManager && FDisplayManager->GetDragSource()) FDisplayManager->SetDragSource(nullptr);
    ipDimensions->Items().Clear();
    FDimensionItems.clear();
    if (!FCubeDef) {
        ipDimensions->SetItems(ipDimensions->Items());
        return;
    }
    cb::rtl::TStringList items;
    for (const auto& dimension : FCubeDef->Dimensions()) {
        if (dimension->UniqueName() != "[Measures]") {
            auto item = std::make_unique<TDimensionObject>();
            item->AdoObject = dimension;
            item->Kind = dokDimension;
            item->UniqueName = dimension->UniqueName();
            items.AddObject(dimension->Name(), item.get());
            FDimensionItems.push_back(std::move(item));
        }
        for (const auto& hierarchy : dimension->Hierarchies()) {
            if (hierarchy->UniqueName() == "[Measures]") {
                if (hierarchy->Levels().Count() > 0) BuildMeasureList(*hierarchy->Levels().Item(0));
                continue;
            }
            for (const auto& level : hierarchy->Levels()) {
                auto item = std::make_unique<TDimensionObject>();
                item->AdoObject = dimension;
                item->Kind = dokLevel;
                item->UniqueName = level->UniqueName();
                items.AddObject("    " + level->Name(), item.get());
                FDimensionItems.push_back(std::move(item));
            }
        }
    }
    ipDimensions->SetItems(items);
    const int needed = items.Count() * ipDimensions->ItemHeight();
    ipDimensions->setMinimumHeight(std::max(ipDimensions->minimumHeight(), needed));
    ipDimensions->setFixedHeight(std::max(needed, 1));
}

void TfrmMainLeftMenu::BuildMeasureList(const Level& level) {
    cblMeasures->Items().Clear();
    FMeasureItems.clear();
    for (const auto& member : level.Members()) {
        auto item = std::make_unique<TDimensionObject>();
        item->AdoObject = member;
        item->Kind = dokMember;
        item->UniqueName = member->UniqueName();
        const int index = cblMeasures->Items().AddObject("    " + member->Name(), item.get());
        FMeasureItems.push_back(std::move(item));
        // The first measure is ticked as a user would tick it.
        if (index == 0) cblMeasures->SetChecked(0, true);
    }
    panMeasures->setFixedHeight(cblMeasures->Items().Count() * cblMeasures->GetItemHeight() + 5);
}

const TDimensionObject* TfrmMainLeftMenu::DimensionItem(int index) const {
    if (index < 0 || index >= static_cast<int>(FDimensionItems.size())) return nullptr;
    return FDimensionItems[static_cast<std::size_t>(index)].get();
}

const TDimensionObject* TfrmMainLeftMenu::MeasureItem(int index) const {
    if (index < 0 || index >= static_cast<int>(FMeasureItems.size())) return nullptr;
    return FMeasureItems[static_cast<std::size_t>(index)].get();
}

void TfrmMainLeftMenu::AddToAxis(const TDimensionObject* item, int axis) {
    if (!item || !FDisplayManager) return;
    FDisplayManager->AddToAxisWithUnion(AxisSetOf(*item), axis, true);
}

void TfrmMainLeftMenu::MeasureStateChange(int index) {
    if (FSyncingMeasures || !FDisplayManager) return;
    const TDimensionObject* item = MeasureItem(index);
    if (!item) return;
    if (cblMeasures->GetChecked(index)) {
        FDisplayManager->AddToAxis(item->UniqueName, 4, true);
    } else if (FDisplayManager->CountPlainMeasures() == 1) {
        FContext.ShowError("You can not remove all measures. You must have at least one selected for display.");
        cblMeasures->SetChecked(index, true);
    } else {
        FDisplayManager->RemoveMeasure(item->UniqueName, true);
    }
    if (FDisplayManager->OnMeasuresChanged) FDisplayManager->OnMeasuresChanged();
}

void TfrmMainLeftMenu::SyncMeasureChecks() {
    if (!FContext.UserInterface || !FDisplayManager) return;
    try {
        FContext.SetBusy(true);
        FSyncingMeasures = true;
        const auto reset = cb::rtl::OnScopeExit([this] {
            FSyncingMeasures = false;
            FContext.SetBusy(false);
        });
        std::unique_ptr<TDimension> measures = FDisplayManager->BuildDimension("[Measures]");
        if (!measures) return;
        const int n = std::min(cblMeasures->Items().Count(), measures->GetMemberCount());
        for (int i = 0; i < n; ++i) cblMeasures->SetChecked(i, measures->GetMember(i)->Selected);
    } catch (...) {
        // The ticks stay as they were.
        cb::rtl::LogCurrentException("Ticking the measures shown");
    }
}

void TfrmMainLeftMenu::DimensionsMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton || FDoubleClickJustRan || FDoubleClickInProgress || !FDisplayManager) return;
    const int index = ipDimensions->ItemAtPoint(x, y);
    if (index < 0) return;
    FDisplayManager->SetDragSource(FDimensionItems[static_cast<std::size_t>(index)].get());
    FDragging = true;  // begins at the first movement
}

void TfrmMainLeftMenu::StartItemDrag(int index) {
    FDragging = false;
    // The entries belong to the list, so nothing is freed here; the drag
    // source is cleared however the drag ends.
    const auto clear = cb::rtl::OnScopeExit([this] {
        if (FDisplayManager) FDisplayManager->SetDragSource(nullptr);
    });
    ipDimensions->BeginDrag(index);
}

void TfrmMainLeftMenu::DimensionsMouseMove() {
    if (!FDisplayManager || !FDisplayManager->GetDragSource()) {
        FDragging = false;
        ipDimensions->setCursor(Qt::ArrowCursor);
        return;
    }
    if (!FDragging || !(QApplication::mouseButtons() & Qt::LeftButton)) {
        FDragging = false;
        return;
    }
    const TDimensionObject* source = FDisplayManager->GetDragSource();
    for (std::size_t i = 0; i < FDimensionItems.size(); ++i)
        if (FDimensionItems[i].get() == source) {
            StartItemDrag(static_cast<int>(i));
            return;
        }
    FDragging = false;
}

void TfrmMainLeftMenu::DimensionsDblClick(int x, int y) {
    if (FDoubleClickJustRan || FDoubleClickInProgress || !FDisplayManager) return;
    FDoubleClickInProgress = true;
    FContext.SetBusy(true);
    const auto reset = cb::rtl::OnScopeExit([this] {
        FDoubleClickInProgress = false;
        FContext.SetBusy(false);
    });
    if (ipDimensions->ItemAtPoint(x, y) < 0) return;
    FDragging = false;
    const TDimensionObject* source = FDisplayManager->GetDragSource();
    FDisplayManager->SetDragSource(nullptr);
    AddToAxis(source, 1);
    FDoubleClickJustRan = true;
    timDoubleClickJustRan->start();
}

void TfrmMainLeftMenu::PopupAddToAxis(int axis) {
    const QPoint local = ipDimensions->mapFromGlobal(FPopupPosition);
    const int index = ipDimensions->ItemAtPoint(3, local.y());
    if (index < 0) return;
    FContext.SetBusy(true);
    const auto idle = cb::rtl::OnScopeExit([this] { FContext.SetBusy(false); });
    AddToAxis(DimensionItem(index), axis);
}

bool TfrmMainLeftMenu::CanAcceptGridDrag(const QObject* source) {
    if (FInDropTest || !FDisplayManager) return false;
    FInDropTest = true;
    const auto done = cb::rtl::OnScopeExit([this] { FInDropTest = false; });
    const auto* grid = dynamic_cast<const cb::grid::TExtStringGrid*>(source);
    // A drag may come from the grid itself or from its viewport.
    if (!grid && source) grid = dynamic_cast<const cb::grid::TExtStringGrid*>(source->parent());
    TDimensionObject* item = FDisplayManager->GetDragSource();
    if (!grid || grid->objectName() != "gridDisplay" || !item) return false;
    if (TDisplayManager::ExtractFirstBracketedName(item->UniqueName) == "Measures") {
        FDisplayManager->SetDragSource(nullptr);
        FContext.ShowInformation(kMeasureRemoveText);
        return false;
    }
    return true;
}

bool TfrmMainLeftMenu::DimensionsDragOver(const QObject* source) {
    if (source == ipDimensions) return true;
    if (!FDisplayManager || !FDisplayManager->GetDragSource()) return false;
    return CanAcceptGridDrag(source);
}

void TfrmMainLeftMenu::DimensionsDragDrop(const QObject* source) {
    if (source == ipDimensions || !FDisplayManager) return;
    TDimensionObject* item = FDisplayManager->GetDragSource();
    if (!item) return;
    const std::string name = item->UniqueName;
    // The grid view owns the item and frees it when its drag ends.
    FDisplayManager->SetDragSource(nullptr);
    QApplication::restoreOverrideCursor();
    FDisplayManager->RemoveFromAxes(name, true);
}

void TfrmMainLeftMenu::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    ipDimensions->SetColor(theme->AccentColor);
    ipDimensions->Font().SetColor(theme->TextColor);
    for (QWidget* w : FBackgroundPanels) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, gfx::ToQColor(theme->BackgroundColor));
        p.setColor(QPalette::Base, gfx::ToQColor(theme->BackgroundColor));
        w->setPalette(p);
    }
    cblMeasures->SetColor(theme->BackgroundColor);
    QPalette sp = sbLeftMenu->verticalScrollBar()->palette();
    sp.setColor(QPalette::Window, gfx::ToQColor(theme->BackgroundColor));
    sbLeftMenu->verticalScrollBar()->setPalette(sp);
}

}  // namespace cb::app
