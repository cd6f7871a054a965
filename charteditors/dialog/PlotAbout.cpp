#include "charteditors/dialog/PlotAbout.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/desktop/Shell.h"
#include "platform/gfx/Canvas.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace cb::charteditors {

namespace {

const char* const ProductVersion = "DezAvoze Pro v7";

// Adds delta to each channel of an 0x00BBGGRR colour, each kept within 0..255.
cb::gfx::TColor Shift(cb::gfx::TColor c, int delta) {
    cb::gfx::TColor out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channel = std::clamp(int((c >> shift) & 0xFF) + delta, 0, 255);
        out |= cb::gfx::TColor(channel) << shift;
    }
    return out;
}

}  // namespace

TPlotAboutForm::TPlotAboutForm(QWidget* owner) : QDialog(owner) {
    setObjectName("PlotAboutForm");
    setWindowTitle(QString("About ") + ProductVersion);
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* l = new QVBoxLayout(this);
    LabelVersion = new QLabel(ProductVersion, this);
    LabelVersion->setObjectName("LabelVersion");
    QFont big = LabelVersion->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    LabelVersion->setFont(big);
    LabelCopy = new QLabel("A charting library for desktop programs.\nAll rights reserved by its authors.", this);
    LabelCopy->setObjectName("LabelCopy");
    LabelWWW = new QLabel(this);
    LabelWWW->setObjectName("LabelWWW");
    LabelWWW->setCursor(Qt::PointingHandCursor);
    LabelWWW->setTextFormat(Qt::PlainText);
    LabelWWW->hide();
    LabelWWW->installEventFilter(this);
    BClose = new QPushButton("Close", this);
    BClose->setObjectName("BClose");
    BClose->setDefault(true);
    l->addWidget(LabelVersion);
    l->addWidget(LabelCopy);
    l->addWidget(LabelWWW);
    l->addStretch(1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(BClose);
    l->addLayout(buttons);
    connect(BClose, &QPushButton::clicked, this, &QDialog::accept);
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { Step(); });
    Timer1->start();
    resize(340, 200);
}

void TPlotAboutForm::SetWebAddress(const QString& address) {
    LabelWWW->setText(address);
    LabelWWW->setVisible(!address.isEmpty());
}

void TPlotAboutForm::Step() {
    // The start colour darkens while the end colour lightens; whenever one
    // reaches black they turn back.
    FStart = Shift(FStart, -FStep);
    FEnd = Shift(FEnd, FStep);
    if (FStart == 0 || FEnd == 0) FStep = -FStep;
    update();
}

void TPlotAboutForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    cb::gfx::TCanvas device(&painter);
    cb::chart::TView3DOptions options;
    cb::chart::TPlotCanvas3D canvas;
    canvas.SetBuffered(false);
    const cb::chart::TRect r{0, 0, width(), height()};
    canvas.BeginDraw(&device, &options, FEnd, false, r);
    canvas.FillGradient(r, FStart, FEnd, cb::chart::gdTopBottom, 50);
}

bool TPlotAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LabelWWW && event->type() == QEvent::MouseButtonRelease && !LabelWWW->text().isEmpty()) {
        cb::os::ShellOpen(LabelWWW->text().toStdString());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace cb::charteditors
