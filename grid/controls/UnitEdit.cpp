#include "grid/controls/UnitEdit.h"

#include <QMenu>
#include <QPainter>
#include <QtDebug>

namespace cb::grid {

TExtGridUnitEditBtn::TExtGridUnitEditBtn(QWidget* parent) : TExtGridEditBtn(parent) {
    FUnitSpace = 20;
    SetRightAlign(true);
    LayoutButton();
}

TExtGridUnitEditBtn::~TExtGridUnitEditBtn() = default;

void TExtGridUnitEditBtn::SetUnitID(const std::string& value) {
    FUnitID = value;
    update();
}

void TExtGridUnitEditBtn::SetUnitSpace(int value) {
    FUnitSpace = value;
    LayoutButton();
    update();
}

QRect TExtGridUnitEditBtn::UnitRect() const {
    int right = width() - (ButtonContainer().width() + 3);
    return QRect(QPoint(right - FUnitSpace, 2), QPoint(right - 1, height() - 1));
}

void TExtGridUnitEditBtn::FireButton(QObject*) {
    QMenu menu(this);
    for (std::size_t i = 0; i < Units.size(); ++i)
        menu.addAction(QString::fromStdString(Units[i]))->setData(int(i + 1));
    FMenu = &menu;
    QAction* chosen = menu.exec(mapToGlobal(QPoint(width() - 15, height())));
    FMenu = nullptr;
    if (!chosen) return;
    int id = chosen->data().toInt();
    if (id >= 1 && id <= int(Units.size())) SetUnitID(Units[std::size_t(id - 1)]);
}

void TExtGridUnitEditBtn::paintEvent(QPaintEvent* event) {
    TExtGridEditBtn::paintEvent(event);
    if (FUnitID.empty() || FUnitSpace <= 0) return;
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(UnitRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(FUnitID));
}

}  // namespace cb::grid
