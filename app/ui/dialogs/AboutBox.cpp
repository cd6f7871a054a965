#include "app/ui/dialogs/AboutBox.h"

#include "app/core/base/AppContext.h"
#include "app/core/base/AppInfo.h"
#include "app/core/settings/Config.h"
#include "app/ui/dialogs/Features.h"
#include "app/ui/widgets/OwnerPlacement.h"
#include "app/ui/widgets/WidgetColor.h"
#include "grid/markup/MarkupLabel.h"
#include "grid/markup/MarkupText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

namespace cb::app {

namespace {

// The background: a soft gradient, the product's name and a drawn cube.
QPixmap AboutPicture() {
    QPixmap pixmap(TfrmAbout::ClientWidth, TfrmAbout::ClientHeight);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, TfrmAbout::ClientHeight);
    sky.setColorAt(0, QColor(0xF7, 0xF9, 0xFC));
    sky.setColorAt(1, QColor(0xD6, 0xE2, 0xF0));
    p.fillRect(pixmap.rect(), sky);
    p.setPen(QColor(0x8A, 0x9B, 0xB0));
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));

    // An isometric cube of three shaded faces around its near corner.
    const QPointF c(382, 62);
    const double k = 34;
    const QPointF leftUp(-0.87 * k, -0.5 * k), rightUp(0.87 * k, -0.5 * k), down(0, k);
    auto face = [&](QPointF a, QPointF b, QColor colour) {
        const QPointF points[] = {c, c + a, c + a + b, c + b};
        p.setBrush(colour);
        p.setPen(QPen(QColor(0x1F, 0x3A, 0x60), 1.2));
        p.drawPolygon(points, 4);
    };
    face(leftUp, rightUp, QColor(0x9F, 0xC5, 0xE8));
    face(leftUp, down, QColor(0x4F, 0x81, 0xBD));
    face(rightUp, down, QColor(0x2B, 0x57, 0x97));

    QFont title("Liberation Sans");
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x1F, 0x3A, 0x60));
    p.drawText(QRect(24, 28, 300, 40), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(ProductName));
    p.setPen(QPen(QColor(0x4F, 0x81, 0xBD), 2));
    p.drawLine(24, 74, 300, 74);
    return pixmap;
}

}  // namespace

TfrmAbout::TfrmAbout(const std::string& webSite, QWidget* owner) : TContentForm(nullptr), FOwner(owner) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    if (owner) setParent(owner, windowFlags());
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(QString::fromUtf8(ProductName));

    imgBackground = new QLabel(this);
    imgBackground->setGeometry(0, 0, ClientWidth, ClientHeight);
    imgBackground->setPixmap(AboutPicture());

    lblVersion = new QLabel(this);
    lblVersion->setGeometry(24, 92, 300, 20);
    SetTextColor(lblVersion, 0x000000);
    lblVersion->setText(QStringLiteral("Version:"));

    lblLinktoWebsite = new cb::grid::TMarkupLabel(this);
    lblLinktoWebsite->setGeometry(24, 122, 390, 40);
    lblLinktoWebsite->Color = cb::gfx::clNone;
    if (webSite.empty()) {
        lblLinktoWebsite->SetHTMLText("The product web site is not set (WebSite in app.ini).");
    } else {
        const std::string site = cb::grid::EscapeHTML(webSite);
        lblLinktoWebsite->SetHTMLText("Visit the " + std::string(ProductName) + " web site: <a href=\"" + site + "\">" +
                                      site + "</a>");
    }
    // A click on the text closes the box too (a link opens first).
    lblLinktoWebsite->OnMouseDown = [this](cb::grid::TMarkupLabel*, int, int) { accept(); };

    lblDescription =
        new QLabel(QStringLiteral("A desktop browser for OLAP cubes: pivot grids, charts and reports."), this);
    lblDescription->setGeometry(24, 166, 390, 40);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColor(lblDescription, 0x000000);

    lblClose = new QLabel(QStringLiteral("Close"), this);
    lblClose->setGeometry(ClientWidth - 70, ClientHeight - 34, 50, 20);
    lblClose->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblClose->setCursor(Qt::PointingHandCursor);
    SetTextColor(lblClose, 0x464646);
    QFont underlined = lblClose->font();
    underlined.setUnderline(true);
    lblClose->setFont(underlined);
}

void TfrmAbout::showEvent(QShowEvent* event) {
    lblVersion->setText(QStringLiteral("Version:") + QStringLiteral("  ") + QString::fromUtf8(ProductVersion));
    CenterOnOwner(this, FOwner);
    TContentForm::showEvent(event);
}

void TfrmAbout::mousePressEvent(QMouseEvent* event) {
    // Labels and the picture pass their clicks on to the form.
    event->accept();
    accept();
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    TContentForm::keyPressEvent(event);
}

void ShowAboutBox(const TFeatureContext& context) {
    const std::string site = context.App.Config ? context.App.Config->WebSite : std::string();
    TfrmAbout about(site, context.Owner);
    about.ApplyTheme(context.Theme);
    about.exec();
}

}  // namespace cb::app
