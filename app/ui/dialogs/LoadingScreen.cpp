#include "app/ui/dialogs/LoadingScreen.h"

#include "app/core/base/AppInfo.h"
#include "app/core/base/Helpers.h"
#include "app/ui/widgets/ClickLabel.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>
#include <functional>

namespace cb::app {

TfrmLoadingScreen* frmLoadingScreen = nullptr;

namespace {

constexpr int ClientWidth = 279;
constexpr int ClientHeight = 185;

QPixmap MakeLogo() {
    QPixmap pm(ClientWidth, ClientHeight);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, ClientHeight);
    g.setColorAt(0, QColor(0x2F, 0x4F, 0x7F));
    g.setColorAt(1, QColor(0xEF, 0xEF, 0xEF));
    p.fillRect(pm.rect(), g);
    p.setPen(Qt::white);
    QFont f("Tahoma");
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(16, 20, ClientWidth - 32, 48), Qt::AlignLeft | Qt::AlignVCenter, ProductName);
    return pm;
}

}  // namespace

TfrmLoadingScreen::TfrmLoadingScreen(QWidget* parent) : TContentForm(parent) {
    if (isWindow()) setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(ClientWidth, ClientHeight);

    imgLogo = new QLabel(this);
    imgLogo->setGeometry(0, 0, ClientWidth, ClientHeight);
    imgLogo->setPixmap(MakeLogo());

    lblStatus = new QLabel("Is Loading ...", this);
    lblStatus->move(16, 88);
    QFont f = lblStatus->font();
    f.setPixelSize(16);
    lblStatus->setFont(f);
    lblStatus->setAttribute(Qt::WA_TranslucentBackground);
    lblStatus->resize(ClientWidth - 32, 24);

    auto* url = new TClickLabel(QString(), this);
    url->OnClick = [this] { lblSiteURLClick(); };
    lblSiteURL = url;
    lblSiteURL->move(16, 128);
    lblSiteURL->setStyleSheet("color: blue;");
    lblSiteURL->setCursor(Qt::PointingHandCursor);
    lblSiteURL->hide();  // until the web site's address is known

    pbStatus = new QProgressBar(this);
    pbStatus->setGeometry(13, 144, 252, 16);
    pbStatus->setRange(0, 20);
    pbStatus->setValue(0);
    pbStatus->setTextVisible(false);

    if (isWindow()) {
        if (QScreen* s = screen()) move(s->availableGeometry().center() - QPoint(ClientWidth / 2, ClientHeight / 2));
    }
}

void TfrmLoadingScreen::SetStatus(TLoadingStatus status) {
    FStatus = status;
    if (status == lsLoading) lblStatus->setText("Is Loading...");
}

void TfrmLoadingScreen::ResetProgress() {
    pbStatus->setValue(0);
}

void TfrmLoadingScreen::StepProgress() {
    pbStatus->setValue(std::min(pbStatus->value() + 1, pbStatus->maximum()));
}

void TfrmLoadingScreen::ShowNow() {
    show();
    raise();
    repaint();
    QApplication::processEvents();
}

void TfrmLoadingScreen::SetSiteURL(const std::string& address) {
    FSiteURL = address;
    lblSiteURL->setText(QString::fromStdString(address));
    lblSiteURL->adjustSize();
    lblSiteURL->setVisible(!address.empty());
}

void TfrmLoadingScreen::lblSiteURLClick() {
    if (!FSiteURL.empty()) ShellOpen(FSiteURL);
}

}  // namespace cb::app
