#include "app/ui/dialogs/SelectMembersForDisplay.h"

#include "app/core/cube/CubeModel.h"
#include "app/ui/widgets/ClickLabel.h"
#include "app/ui/widgets/OwnerPlacement.h"
#include "extras/KitTreeView.h"
#include "platform/rtl/ScopeGuard.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace cb::app {

using cb::extras::TKitTreeNode;

namespace {

constexpr int kClientWidth = 338;
constexpr int kClientHeight = 256;

// A check box picture: ticked (select all) or empty (unselect all), with a
// second box behind it that says "all".
QPixmap BoxesPicture(bool ticked) {
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(QColor(0xF0, 0xF0, 0xF0));
    p.drawRect(QRectF(5.5, 0.5, 11, 11));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 5.5, 11, 11));
    if (ticked) {
        p.setPen(QPen(QColor(0x10, 0x70, 0x10), 2));
        const QPointF tick[] = {{4, 11}, {6.5, 13.5}, {10.5, 8}};
        p.drawPolyline(tick, 3);
    }
    return pm;
}

// Runs f on every node of the tree, depth first.
template <class F>
void ForEachNode(cb::extras::TKitTreeView* tree, F f) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) f(static_cast<TKitTreeNode*>(*it));
}

}  // namespace

TfrmSelectMembersForDisplay::TfrmSelectMembersForDisplay(TAppContext context, QWidget* owner)
    : TContentForm(nullptr), FContext(context), FOwner(owner) {
    setObjectName("frmSelectMembersForDisplay");
    setWindowTitle("Select Members For Display");
    // Single border, no border icons.
    setWindowFlags(kDialogFlags);
    if (owner) setParent(owner, windowFlags());
    setFixedSize(kClientWidth, kClientHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(0);

    panTop = new QWidget(this);
    panTop->setAutoFillBackground(true);
    auto* top = new QVBoxLayout(panTop);
    top->setContentsMargins(4, 6, 4, 6);
    top->setSpacing(4);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(6);
    lblMembers = new QLabel("  Members", panTop);
    QFont bold = lblMembers->font();
    bold.setBold(true);
    lblMembers->setFont(bold);
    heading->addWidget(lblMembers);
    heading->addStretch(1);
    auto allPicture = [&](bool ticked, const char* hint) {
        auto* picture = new TClickLabel(panTop);
        picture->setPixmap(BoxesPicture(ticked));
        picture->setToolTip(hint);
        picture->setCursor(Qt::PointingHandCursor);
        picture->OnClick = [this, ticked] { SetAllChecked(ticked); };
        heading->addWidget(picture);
        return picture;
    };
    imgSelectAll = allPicture(true, "Select all members");
    imgUnselectAll = allPicture(false, "Unselect all members");
    top->addLayout(heading);
    lblInstructions = new QLabel("Select the members you wish to have displayed on the grid.", panTop);
    lblInstructions->setWordWrap(true);
    top->addWidget(lblInstructions);
    layout->addWidget(panTop);

    tvDimensionMembers = new cb::extras::TKitTreeView(this);
    tvDimensionMembers->setObjectName("tvDimensionMembers");
    tvDimensionMembers->setFrameShape(QFrame::NoFrame);
    tvDimensionMembers->setIndentation(15);
    tvDimensionMembers->SetReadOnly(true);
    tvDimensionMembers->SetCheckboxes(true);
    tvDimensionMembers->setAutoExpandDelay(-1);
    layout->addWidget(tvDimensionMembers, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 8, 8, 0);
    buttons->addStretch(1);
    btnOK = new QPushButton("&OK", this);
    btnOK->setDefault(true);
    btnCancel = new QPushButton("&Cancel", this);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

TfrmSelectMembersForDisplay::~TfrmSelectMembersForDisplay() = default;

void TfrmSelectMembersForDisplay::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    for (QWidget* w : {static_cast<QWidget*>(this), panTop, static_cast<QWidget*>(tvDimensionMembers)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, gfx::ToQColor(theme->BackgroundColor));
        p.setColor(QPalette::Base, gfx::ToQColor(theme->BackgroundColor));
        w->setPalette(p);
    }
}

bool TfrmSelectMembersForDisplay::RefuseEmptyDimension() {
    if (FDimension && FDimension->GetMemberCount() > 0) return false;
    FContext.ShowInformation("Invalid dimension name passed. This form will close.");
    return true;
}

int TfrmSelectMembersForDisplay::exec() {
    if (RefuseEmptyDimension()) {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    BuildTree();
    CenterOnOwner(this, FOwner);
    return TContentForm::exec();
}

void TfrmSelectMembersForDisplay::showEvent(QShowEvent* event) {
    TContentForm::showEvent(event);
    // Shown without exec: the tree is built here, once per showing.
    if (FTreeBuilt) return;
    if (RefuseEmptyDimension()) {
        QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
        return;
    }
    BuildTree();
}

void TfrmSelectMembersForDisplay::done(int result) {
    // The next opening builds the tree afresh from the members' flags.
    FTreeBuilt = false;
    TContentForm::done(result == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected);
}

void TfrmSelectMembersForDisplay::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        done(QDialog::Rejected);
        return;
    }
    TContentForm::keyPressEvent(event);
}

void TfrmSelectMembersForDisplay::BuildTree() {
    FContext.SetBusy(true);
    const auto idle = cb::rtl::OnScopeExit([this] {
        FContext.SetBusy(false);
        tvDimensionMembers->update();
    });
    tvDimensionMembers->ClearNodes();
    FTreeBuilt = true;
    if (!FDimension || FDimension->GetMemberCount() == 0) return;
    const bool measures = FDimension->IsMeasures;
    // The measures' root stands for no member: every measure has a node of
    // its own under it, so the first one is not written back twice.
    TKitTreeNode* root =
        tvDimensionMembers->AddRootNode(FDimension->Name, measures ? nullptr : FDimension->GetMember(0));
    tvDimensionMembers->SetNodeChecked(root, true);
    // The latest node at each depth: a member hangs under the one above its depth.
    std::vector<TKitTreeNode*> latest{root};
    for (int i = measures ? 0 : 1; i < FDimension->GetMemberCount(); ++i) {
        TDimensionMember* member = FDimension->GetMember(i);
        const int depth = std::max(member->Depth, 0);
        TKitTreeNode* parent = root;
        // A member deeper than any node so far hangs under the deepest one.
        if (depth > 0) parent = latest[static_cast<size_t>(std::min<int>(depth - 1, int(latest.size()) - 1))];
        TKitTreeNode* node = tvDimensionMembers->AddChildNode(parent, member->Caption, member);
        tvDimensionMembers->SetNodeChecked(node, member->Selected);
        if (!measures) {
            if (latest.size() < static_cast<size_t>(depth) + 1) latest.resize(static_cast<size_t>(depth) + 1, node);
            latest[static_cast<size_t>(depth)] = node;
        }
    }
    tvDimensionMembers->FullCollapse();
    tvDimensionMembers->SetSelected(root);
}

TDimensionMember* TfrmSelectMembersForDisplay::NodeMember(const TKitTreeNode* node) {
    return node ? static_cast<TDimensionMember*>(node->Data()) : nullptr;
}

int TfrmSelectMembersForDisplay::CountCheckedMembers() const {
    int count = 0;
    const TKitTreeNode* root = tvDimensionMembers->GetFirstNode();
    ForEachNode(tvDimensionMembers, [&](const TKitTreeNode* node) {
        if (node != root && tvDimensionMembers->GetNodeChecked(node)) ++count;
    });
    return count;
}

bool TfrmSelectMembersForDisplay::CanAccept() {
    if (CountCheckedMembers() > 0) return true;
    if (FDimension && (FDimension->IsMeasures || FDimension->Name == "Measures")) {
        FContext.ShowInformation("You cannot remove all measures from the display");
        return false;
    }
    return FContext.ConfirmYesNo(
        "You currently have no members selected for display for the current dimension. Do you wish to continue?");
}

void TfrmSelectMembersForDisplay::WriteBack() {
    ForEachNode(tvDimensionMembers, [this](const TKitTreeNode* node) {
        if (TDimensionMember* member = NodeMember(node)) member->Selected = tvDimensionMembers->GetNodeChecked(node);
    });
}

void TfrmSelectMembersForDisplay::SetAllChecked(bool checked) {
    ForEachNode(tvDimensionMembers, [&](TKitTreeNode* node) { tvDimensionMembers->SetNodeChecked(node, checked); });
}

void TfrmSelectMembersForDisplay::btnOKClick() {
    if (!CanAccept()) return;
    WriteBack();
    done(QDialog::Accepted);
}

}  // namespace cb::app
