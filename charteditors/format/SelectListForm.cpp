#include "charteditors/format/SelectListForm.h"

#include "charteditors/common/ArrowBitmaps.h"
#include "charteditors/common/EditorHelpers.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace cb::charteditors {

namespace {

QListWidget* MakeList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QPushButton* MakeButton(QWidget* parent, const char* caption) {
    auto* b = new QPushButton(caption, parent);
    b->setFixedWidth(32);
    return b;
}

}  // namespace

TSelectListForm::TSelectListForm(QWidget* owner) : QWidget(owner) {
    auto* lFrom = new QLabel("A&vailable:", this);
    FromList = MakeList(this);
    lFrom->setBuddy(FromList);
    auto* lTo = new QLabel("&Selected: ", this);
    ToList = MakeList(this);
    lTo->setBuddy(ToList);
    BRightOne = MakeButton(this, ">");
    BRightAll = MakeButton(this, ">>");
    BLeftOne = MakeButton(this, "<");
    BLeftAll = MakeButton(this, "<<");
    BMoveUP = new QToolButton(this);
    BMoveDown = new QToolButton(this);
    QPixmap up, down;
    LoadArrowBitmaps(up, down);
    BMoveUP->setIcon(up);
    BMoveUP->setIconSize(up.size());
    BMoveUP->setToolTip("Move up");
    BMoveDown->setIcon(down);
    BMoveDown->setIconSize(down.size());
    BMoveDown->setToolTip("Move down");

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    for (QWidget* b : {BRightOne, BRightAll, BLeftOne, BLeftAll}) middle->addWidget(b);
    middle->addStretch();
    auto* order = new QVBoxLayout;
    order->addStretch();
    order->addWidget(BMoveUP);
    order->addWidget(BMoveDown);
    order->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(lFrom, 0, 0);
    grid->addWidget(lTo, 0, 2);
    grid->addWidget(FromList, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(ToList, 1, 2);
    grid->addLayout(order, 1, 3);
    setTabOrder(FromList, BRightOne);
    setTabOrder(BRightOne, BRightAll);
    setTabOrder(BRightAll, BLeftOne);
    setTabOrder(BLeftOne, BLeftAll);
    setTabOrder(BLeftAll, ToList);
    setTabOrder(ToList, BMoveUP);
    setTabOrder(BMoveUP, BMoveDown);

    connect(BRightOne, &QPushButton::clicked, this, [this] { MoveRight(false); });
    connect(BRightAll, &QPushButton::clicked, this, [this] { MoveRight(true); });
    connect(BLeftOne, &QPushButton::clicked, this, [this] { MoveLeft(false); });
    connect(BLeftAll, &QPushButton::clicked, this, [this] { MoveLeft(true); });
    connect(BMoveUP, &QToolButton::clicked, this, [this] { MoveSelected(-1); });
    connect(BMoveDown, &QToolButton::clicked, this, [this] { MoveSelected(+1); });
    connect(FromList, &QListWidget::itemDoubleClicked, this, [this] {
        MoveRight(false);
        if (ToList->count() > 0) ToList->setCurrentRow(ToList->count() - 1);
        EnableButtons();
    });
    connect(ToList, &QListWidget::itemDoubleClicked, this, [this] { MoveLeft(false); });
    for (QListWidget* list : {FromList, ToList})
        connect(list, &QListWidget::itemSelectionChanged, this, [this] { EnableButtons(); });
    EnableButtons();
}

void TSelectListForm::EnableButtons() {
    const bool left = FromList->count() > 0;
    const bool right = ToList->count() > 0;
    BRightOne->setEnabled(left);
    BRightAll->setEnabled(left);
    BLeftOne->setEnabled(right);
    BLeftAll->setEnabled(right);
    const int row = ToList->currentItem() && ToList->currentItem()->isSelected() ? ToList->currentRow() : -1;
    BMoveUP->setEnabled(row > 0);
    BMoveDown->setEnabled(row >= 0 && row < ToList->count() - 1);
}

void TSelectListForm::MoveRight(bool all) {
    if (all)
        MoveAllItems(FromList, ToList);
    else
        MoveSelectedItems(FromList, ToList);
    Changed();
    if (FromList->count() == 0) ToList->setFocus();
}

void TSelectListForm::MoveLeft(bool all) {
    if (all)
        MoveAllItems(ToList, FromList);
    else
        MoveSelectedItems(ToList, FromList);
    Changed();
    if (ToList->count() == 0) FromList->setFocus();
}

void TSelectListForm::MoveSelected(int by) {
    const int row = ToList->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= ToList->count()) return;
    QListWidgetItem* item = ToList->takeItem(row);
    ToList->insertItem(to, item);
    ToList->clearSelection();
    ToList->setCurrentItem(item);
    item->setSelected(true);
    ToList->setFocus();
    Changed();
}

void TSelectListForm::Changed() {
    EnableButtons();
    if (OnChange) OnChange(this);
}

void TSelectListForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    EnableButtons();
    (FromList->count() > 0 ? FromList : ToList)->setFocus();
}

}  // namespace cb::charteditors
