#include "app/ui/views/GridDisplay.h"

#include "app/core/cube/CubeModel.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/theme/GridViewImages.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/widgets/ClickLabel.h"
#include "app/ui/views/CurrentViewTextDisplay.h"
#include "app/ui/widgets/HelpTopics.h"
#include "app/ui/widgets/SectionHeader.h"
#include "app/ui/dialogs/SelectMembersForDisplay.h"
#include "extras/KitItemsPanel.h"
#include "grid/ExtStringGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/desktop/PlainMessageBox.h"

#include <QDragEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QVBoxLayout>

#include <algorithm>

namespace cb::app {

namespace {

constexpr int kHeaderHeight = 26;
// Selection colour until the first layout sets the theme's (red 231, green 180, blue 0).
constexpr TColor kSelectionColor = 46311;

const char* const kRemoveMeasureText =
    "You cannot remove a Measure with this method. \r\rYou can select and unselect Measures from the Grid "
    "Menu. \r\rAlternatively you can double click Measures from the Grid View and select from the Members "
    "Popup Window.";
const char* const kLargeDimensionText =
    "Due to the number of members within this dimension it may take some time to display this dimension. Do you "
    "wish to continue?";

// A key that stands for something on an axis (not a data cell, not a cell
// without a role, not outside the table).
bool IsHeaderKey(const std::string& key) {
    return !key.empty() && key != kDataCellKey && key != kOutsideCellKey;
}

}  // namespace

TfrmGridDisplay::TfrmGridDisplay(QWidget* parent, TDisplayManager* displayManager, TAppContext context)
    : TContentForm(parent), FDisplayManager(displayManager), FContext(context) {
    setObjectName("frmGridDisplay");
    setFont(QFont("Tahoma", 8));
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panDataDisplay = new QWidget(this);
    panDataDisplay->setObjectName("panDataDisplay");
    panDataDisplay->setFixedHeight(kHeaderHeight);
    panDataDisplay->setAutoFillBackground(true);
    imgHeader = MakeSectionHeader(panDataDisplay, TSectionIcon::GridView, "Grid View", kHelpTopicGridView);
    imgHeader->move(5, 5);
    // The help opens through the view's own handler.
    imgHeader->OnClick = [this] { imgHeaderClick(); };
    lblCubeName = cb::os::PlainLabel(new QLabel("Cube Name", panDataDisplay));
    lblCubeName->setToolTip("Current cube name");
    lblCubeName->move(std::max(168, imgHeader->x() + imgHeader->width() + 7), 8);
    lblCubeName->adjustSize();
    lblLastProcessed = cb::os::PlainLabel(new QLabel("Last Processed:", panDataDisplay));
    lblLastProcessed->setToolTip("Last time the cube was processed");
    lblLastProcessed->move(lblCubeName->x() + 80, 8);
    lblLastProcessed->adjustSize();
    layout->addWidget(panDataDisplay);

    gridDisplay = new cb::grid::TExtStringGrid(this);
    gridDisplay->setObjectName("gridDisplay");
    gridDisplay->SetBorderStyle(cb::grid::bsNone);
    gridDisplay->SetColCount(1);
    gridDisplay->SetRowCount(1);
    gridDisplay->SetFixedRows(0);
    gridDisplay->SetFixedCols(0);
    gridDisplay->SetDefaultRowHeight(21);
    gridDisplay->SetGridLineColor(gfx::clGray);
    gridDisplay->SetGridLineWidth(1);
    gridDisplay->SetOptions(cb::grid::goFixedVertLine | cb::grid::goFixedHorzLine | cb::grid::goVertLine |
                            cb::grid::goHorzLine | cb::grid::goDrawFocusSelected);
    gridDisplay->SetActiveCellColor(gfx::clGray);
    gridDisplay->ActiveCellFont().SetName("MS Sans Serif");
    gridDisplay->ActiveCellFont().SetStyle(gfx::fsBold);
    gridDisplay->EnableHTML = true;
    gridDisplay->EnableWheel = true;
    gridDisplay->SetScrollType(cb::grid::ssFlat);
    gridDisplay->SetScrollWidth(16);
    // The layout sets the theme's selection colour; the text stays black on it.
    gridDisplay->SetSelectionColor(kSelectionColor);
    gridDisplay->SetSelectionTextColor(gfx::clBlack);
    gridDisplay->FloatFormat = "%.2f";
    gridDisplay->GridImages = &GridViewImages();  // ilGrid
    // Only the application's own drags are taken: a file or text dropped on
    // the pivot grid would overwrite its cells.
    gridDisplay->DragDropSettings.OleDropTarget = false;
    gridDisplay->AcceptedDragTypes = {cb::extras::ItemsPanelMimeType()};
    gridDisplay->setAcceptDrops(true);
    layout->addWidget(gridDisplay, 1);

    gridDisplay->OnDragOver = [this](QObject*, const QMimeData* data, int, int, bool& accept) {
        accept = FormDragOver(data);
    };
    gridDisplay->OnDragDrop = [this](QObject*, const QMimeData* data, int, int y) { FormDragDrop(data, y); };
    gridDisplay->OnMouseDown = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
        gridDisplayMouseDown(button);
    };
    gridDisplay->OnMouseUp = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
        // A press that never became a drag leaves no item behind.
        if (button == Qt::LeftButton && !gridDisplay->Dragging()) FreeHeaderItem();
    };
    gridDisplay->OnStartDrag = [this](QObject*, std::unique_ptr<QMimeData>& data) {
        if (!FHeaderItem || !FDisplayManager || FDisplayManager->GetDragSource() != FHeaderItem.get()) return;
        data = std::make_unique<QMimeData>();
        data->setData(kGridHeaderMimeType, QByteArray::fromStdString(FHeaderItem->UniqueName));
    };
    gridDisplay->OnEndDrag = [this](QObject*, Qt::DropAction) { FreeHeaderItem(); };
    gridDisplay->OnClickCell = [this](QObject*, int row, int col) { gridDisplayClickCell(row, col); };
    gridDisplay->OnDblClickCell = [this](QObject*, int row, int col) { gridDisplayDblClickCell(row, col); };
    gridDisplay->OnRightClickCell = [this](QObject*, int row, int col) { gridDisplayRightClickCell(row, col); };
    gridDisplay->OnColChanging = [this](QObject*, int, int newCol, bool&) {
        if (FDisplayManager) FDisplayManager->SelectChartColumn(newCol);
    };
    gridDisplay->OnRowChanging = [this](QObject*, int, int newRow, bool&) {
        if (FDisplayManager) FDisplayManager->SelectChartRow(newRow);
    };

    pmGrid = new QMenu(this);
    pmGrid->setObjectName("pmGrid");
    pmiRemoveFromDisplay = pmGrid->addAction("Remove From Display", this, [this] { pmiRemoveFromDisplayClick(); });
    pmiRowSelect = pmGrid->addAction("Highlight Entire Row", this, [this] { pmiRowSelectClick(); });
    pmiRowSelect->setCheckable(true);
    pmiSelectEntireColumn =
        pmGrid->addAction("Highlight Entire Column", this, [this] { pmiSelectEntireColumnClick(); });
    pmiSelectEntireColumn->setCheckable(true);
    pmiDescribecurrentdisplay =
        pmGrid->addAction("&Describe current display", this, [this] { pmiDescribecurrentdisplayClick(); });
    gridDisplay->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(gridDisplay, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        pmGridPopup();
        pmGrid->exec(gridDisplay->mapToGlobal(at));
    });
}

TfrmGridDisplay::~TfrmGridDisplay() {
    FreeHeaderItem();
}

void TfrmGridDisplay::SetCubeName(const std::string& text) {
    lblCubeName->setText(QString::fromStdString(text));
    lblCubeName->adjustSize();
    lblLastProcessed->move(lblCubeName->x() + lblCubeName->width() + 7, lblLastProcessed->y());
}

void TfrmGridDisplay::SetLastProcessed(const std::string& text) {
    lblLastProcessed->setText(QString::fromStdString("Last Processed: " + text));
    lblLastProcessed->adjustSize();
    FLastProcessed = text;
}

void TfrmGridDisplay::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    gridDisplay->SetColor(theme->GridBackgroundColor);
    QPalette p = panDataDisplay->palette();
    p.setColor(QPalette::Window, gfx::ToQColor(theme->GridBackgroundColor));
    p.setColor(QPalette::WindowText, gfx::ToQColor(theme->TextColor));
    panDataDisplay->setPalette(p);
}

// ---- drops ------------------------------------------------------------------

bool TfrmGridDisplay::FormDragOver(const QMimeData* data) const {
    if (!data || !FDisplayManager || !FDisplayManager->IsCubeOpen()) return false;
    cb::extras::TKitItemsPanelDragData drag;
    if (!cb::extras::DecodeItemsPanelDrag(data, drag) || drag.SourceName != "ipDimensions") return false;
    const TDimensionObject* source = FDisplayManager->GetDragSource();
    return source && (source->Kind == dokDimension || source->Kind == dokLevel);
}

int TfrmGridDisplay::DropAxis(int y) const {
    return y < gridDisplay->y() ? axColumns : axRows;
}

void TfrmGridDisplay::FormDragDrop(const QMimeData* data, int y) {
    if (!FormDragOver(data)) return;
    const TDimensionObject* source = FDisplayManager->GetDragSource();
    FDisplayManager->AddToAxisWithUnion(AxisSetOf(*source), DropAxis(y), true);
}

void TfrmGridDisplay::dragEnterEvent(QDragEnterEvent* event) {
    if (FormDragOver(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrmGridDisplay::dragMoveEvent(QDragMoveEvent* event) {
    if (FormDragOver(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrmGridDisplay::dropEvent(QDropEvent* event) {
    if (!FormDragOver(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    FormDragDrop(event->mimeData(), int(event->position().y()));
}

// ---- the grid's events ------------------------------------------------------

std::string TfrmGridDisplay::CurrentKey() const {
    if (!FDisplayManager) return kOutsideCellKey;
    return FDisplayManager->GetCellKey(gridDisplay->Col(), gridDisplay->Row());
}

void TfrmGridDisplay::FreeHeaderItem() {
    if (!FHeaderItem) return;
    if (FDisplayManager && FDisplayManager->GetDragSource() == FHeaderItem.get())
        FDisplayManager->SetDragSource(nullptr);
    FHeaderItem.reset();
}

void TfrmGridDisplay::gridDisplayMouseDown(Qt::MouseButton button) {
    if (button != Qt::LeftButton || !FDisplayManager || !FDisplayManager->IsCubeOpen()) return;
    if (gridDisplay->Col() < 0 || gridDisplay->Row() < 0) return;
    const std::string key = CurrentKey();
    if (!IsHeaderKey(key)) return;
    FreeHeaderItem();
    FHeaderItem = std::make_unique<TDimensionObject>();
    FHeaderItem->Kind = dokGridHeader;
    FHeaderItem->UniqueName = key;
    FDisplayManager->SetDragSource(FHeaderItem.get());
    // Starts once the mouse moves with the button held.
    gridDisplay->BeginDrag(false);
}

bool TfrmGridDisplay::RowHighlighting() const {
    return gridDisplay->Options() & cb::grid::goRowSelect;
}

void TfrmGridDisplay::SetRowHighlighting(bool on) {
    const auto options = gridDisplay->Options();
    gridDisplay->SetOptions(on ? options | cb::grid::goRowSelect : options & ~cb::grid::goRowSelect);
    // The current row is marked, which the grid paints across while its
    // rows are selected whole.
    gridDisplay->ClearRowSelection();
    if (on && gridDisplay->Row() >= 0) gridDisplay->SetRowSelected(gridDisplay->Row(), true);
}

void TfrmGridDisplay::gridDisplayClickCell(int row, int col) {
    if (RowHighlighting()) {
        SetRowHighlighting(false);
        pmiRowSelect->setChecked(false);
        for (int c = 0; c < gridDisplay->ColCount(); ++c)
            if (c != col) gridDisplay->SetCellSelected(c, row, false);
        gridDisplay->FocusCell(col, row, true);
    }
    if (gridDisplay->GetSelectedColumnCount() > 0) {
        for (int c = 0; c < gridDisplay->ColCount(); ++c) gridDisplay->SetColumnSelected(c, false);
        gridDisplay->FocusCell(col, row, true);
    }
    pmiSelectEntireColumn->setChecked(false);
}

void TfrmGridDisplay::gridDisplayDblClickCell(int row, int col) {
    if (!FDisplayManager || !FDisplayManager->IsCubeOpen()) return;
    if ((col == 0 && row == 0) || col < 0 || row < 0) return;
    const std::string key = FDisplayManager->GetCellKey(col, row);
    if (!IsHeaderKey(key)) return;
    // A press of the double click may have prepared a drag of the header.
    FreeHeaderItem();
    if (TDisplayManager::IsDimensionKey(key)) {
        gridDisplay->FocusCell(col, row, true);
        SelectMembers();
    } else {
        FDisplayManager->ToggleDrillDown(key);
    }
}

void TfrmGridDisplay::gridDisplayRightClickCell(int row, int col) {
    if (col < 0 || row < 0 || !FDisplayManager) {
        pmiRemoveFromDisplay->setVisible(false);
        return;
    }
    gridDisplay->FocusCell(col, row, true);
    pmiRemoveFromDisplay->setVisible(IsHeaderKey(FDisplayManager->GetCellKey(col, row)));
    if (FDisplayManager->GetChartEnabled()) {
        FDisplayManager->SelectChartColumn(col);
        FDisplayManager->SelectChartRow(row);
    }
}

void TfrmGridDisplay::pmGridPopup() {
    pmiRemoveFromDisplay->setVisible(!RowHighlighting() && IsHeaderKey(CurrentKey()) &&
                                     !pmiSelectEntireColumn->isChecked());
}

void TfrmGridDisplay::pmiRemoveFromDisplayClick() {
    if (!FDisplayManager) return;
    const std::string key = CurrentKey();
    if (!IsHeaderKey(key)) return;
    if (TDisplayManager::ExtractFirstBracketedName(key) == "Measures") {
        FContext.ShowInformation(kRemoveMeasureText);
        return;
    }
    FDisplayManager->RemoveFromAxes(key, true);
}

void TfrmGridDisplay::pmiRowSelectClick() {
    if (!RowHighlighting()) {
        SetRowHighlighting(true);
        pmiRowSelect->setChecked(true);
        pmiSelectEntireColumn->setChecked(false);
    } else {
        SetRowHighlighting(false);
        pmiRowSelect->setChecked(false);
    }
}

void TfrmGridDisplay::pmiSelectEntireColumnClick() {
    SetRowHighlighting(false);
    pmiRowSelect->setChecked(false);
    gridDisplay->SelectColumnRange(gridDisplay->Col(), 1);
    pmiSelectEntireColumn->setChecked(true);
    gridDisplay->update();
}

void TfrmGridDisplay::pmiDescribecurrentdisplayClick() {
    if (!FDisplayManager) return;
    TfrmCurrentViewTextDisplay summary(window());
    summary.ApplyTheme(Theme());
    summary.SetText(FDisplayManager->GetCurrentViewText());
    summary.exec();
}

void TfrmGridDisplay::imgHeaderClick() {
    ShowHelpTopic(kHelpTopicGridView);
}

void TfrmGridDisplay::SelectMembers() {
    if (!FDisplayManager || !FDisplayManager->IsCubeOpen()) return;
    const std::string key = CurrentKey();
    if (!TDisplayManager::IsDimensionKey(key)) return;
    std::unique_ptr<TDimension> dimension;
    int axis = axNone;
    {
        FContext.SetBusy(true);
        const auto idle = cb::rtl::OnScopeExit([this] { FContext.SetBusy(false); });
        dimension = FDisplayManager->BuildDimension(key);
        axis = FDisplayManager->GetAxisOfDimension(TDisplayManager::ExtractFirstBracketedName(key));
    }
    TfrmSelectMembersForDisplay window(FContext, this->window());
    window.ApplyTheme(Theme());
    window.SetDimensionKey(key);
    window.SetDimension(dimension.get());
    if (dimension && dimension->GetMemberCount() > kLargeDimensionMembers &&
        !FContext.ConfirmYesNo(kLargeDimensionText))
        return;
    // The members' flags as they were, to see what the window changed.
    TDimension before;
    if (dimension) before.Assign(*dimension);
    if (window.exec() != QDialog::Accepted || !dimension) return;

    FContext.SetBusy(true);
    const auto idle = cb::rtl::OnScopeExit([this] { FContext.SetBusy(false); });
    FDisplayManager->SaveUndoState();
    if (dimension->IsMeasures) {
        for (int i = 0; i < dimension->GetMemberCount(); ++i) {
            const TDimensionMember* now = dimension->GetMember(i);
            const TDimensionMember* was = before.GetMember(i);
            if (now->Selected == was->Selected) continue;
            if (was->Selected)
                FDisplayManager->RemoveMeasure(now->UniqueName, false);
            else
                FDisplayManager->AddToAxis(now->UniqueName, axis, false);
        }
        if (FDisplayManager->OnMeasuresChanged) FDisplayManager->OnMeasuresChanged();
        if (FDisplayManager->OnCubeReset) FDisplayManager->OnCubeReset();
    } else {
        FDisplayManager->RemoveFromAxes(key, false);
        TTextList selected;
        for (int i = 1; i < dimension->GetMemberCount(); ++i)
            if (dimension->GetMember(i)->Selected) selected.push_back(dimension->GetMember(i)->UniqueName);
        FDisplayManager->AppendToAxis(selected, axis);
    }
    FDisplayManager->Refresh();
}

void TfrmGridDisplay::showEvent(QShowEvent* event) {
    TContentForm::showEvent(event);
    if (!FDisplayManager) return;
    FDisplayManager->SelectChartColumn(gridDisplay->Col());
    FDisplayManager->SelectChartRow(gridDisplay->Row());
    if (FDisplayManager->GetChartEnabled() && FDisplayManager->GetChartDataMode() != cdmAllCells)
        FDisplayManager->RefreshChart();
}

}  // namespace cb::app
