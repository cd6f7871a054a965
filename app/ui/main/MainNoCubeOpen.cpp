#include "app/ui/main/MainNoCubeOpen.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cb::app {

TfrmMainNoCubeOpen::TfrmMainNoCubeOpen(QWidget* parent) : TContentForm(parent) {
    setObjectName("frmMainNoCubeOpen");
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    auto* text = new QLabel("No cube is open.", this);
    text->setAlignment(Qt::AlignCenter);
    QFont f = text->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    text->setFont(f);
    layout->addWidget(text);
    btnOpenCube = new QPushButton("&Open Cube ...", this);
    btnOpenCube->setObjectName("btnOpenCube");
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(btnOpenCube);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(2);
    connect(btnOpenCube, &QPushButton::clicked, this, [this] {
        if (OnOpenCube) OnOpenCube();
    });
}

void TfrmMainNoCubeOpen::closeEvent(QCloseEvent* event) {
    setResult(QDialog::Accepted);
    TContentForm::closeEvent(event);
}

}  // namespace cb::app
