#include "app/ui/dialogs/TutorialDisplay.h"

#include "app/core/settings/Config.h"
#include "app/core/base/Helpers.h"
#include "app/ui/widgets/ClickLabel.h"
#include "app/ui/dialogs/Features.h"
#include "app/ui/widgets/HelpTopics.h"
#include "app/ui/widgets/WidgetColor.h"
#include "extras/KitGIFAnimator.h"
#include "grid/markup/MarkupLabel.h"

#include <QBitmap>
#include <QCheckBox>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>

#include <cmath>

namespace cb::app {

namespace {

const char* const NoStepsTitle = "Tutorial";
const char* const NoStepsText = "No tutorial steps were found in \"tutorial_steps.ini\" beside the program.";

// The window's outline: a rounded balloon with a small pointer at its
// top-left corner, towards the main window's corner.
QPainterPath Outline() {
    QPainterPath path;
    path.addRoundedRect(QRectF(6, 6, TfrmTutorialDisplay::ClientWidth - 8, TfrmTutorialDisplay::ClientHeight - 8), 18,
                        18);
    QPainterPath pointer;
    pointer.moveTo(1, 1);
    pointer.lineTo(40, 8);
    pointer.lineTo(8, 40);
    pointer.closeSubpath();
    return path.united(pointer);
}

// The background: a dark frame with the title band, a light panel for the
// text, and a lamp on the left.
QImage BackgroundPicture() {
    QImage image(TfrmTutorialDisplay::ClientWidth, TfrmTutorialDisplay::ClientHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = Outline();
    QLinearGradient frame(0, 0, 0, TfrmTutorialDisplay::ClientHeight);
    frame.setColorAt(0, QColor(0x2B, 0x57, 0x97));
    frame.setColorAt(1, QColor(0x1F, 0x3A, 0x60));
    p.fillPath(outline, frame);
    p.setPen(QPen(QColor(0x0F, 0x22, 0x40), 1.5));
    p.drawPath(outline);
    // The text panel.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFB, 0xFC, 0xFE));
    p.drawRoundedRect(QRectF(86, 40, 334, 168), 8, 8);
    // The lamp.
    const QPointF c(46, 92);
    QRadialGradient glow(c, 30);
    glow.setColorAt(0, QColor(0xFF, 0xF4, 0xB0));
    glow.setColorAt(1, QColor(0xF2, 0xB8, 0x2A));
    p.setBrush(glow);
    p.setPen(QPen(QColor(0x0F, 0x22, 0x40), 1.5));
    p.drawEllipse(c, 20, 20);
    p.setBrush(QColor(0xC8, 0xCE, 0xD8));
    p.drawRoundedRect(QRectF(36, 112, 20, 14), 3, 3);
    p.setPen(QPen(QColor(0xFF, 0xF4, 0xB0), 2));
    for (int i = 0; i < 5; ++i) {
        const double a = (200 + i * 35) * 3.14159265 / 180;
        p.drawLine(c + QPointF(std::cos(a) * 26, std::sin(a) * 26), c + QPointF(std::cos(a) * 33, std::sin(a) * 33));
    }
    return image;
}

// Round picture buttons: an arrow to the left or right, or a cross.
enum class TButtonPicture {
    Back,
    Next,
    Close
};
QPixmap ButtonPicture(TButtonPicture kind) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x0F, 0x22, 0x40), 1));
    p.setBrush(QColor(0xEA, 0xEA, 0xEA));
    p.drawEllipse(QRectF(1, 1, 18, 18));
    p.setPen(QPen(QColor(0x1F, 0x3A, 0x60), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (kind) {
    case TButtonPicture::Back:
        p.drawPolyline(QPolygonF({{12, 5.5}, {7.5, 10}, {12, 14.5}}));
        break;
    case TButtonPicture::Next:
        p.drawPolyline(QPolygonF({{8, 5.5}, {12.5, 10}, {8, 14.5}}));
        break;
    case TButtonPicture::Close:
        p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
        break;
    }
    return pixmap;
}

void LightText(QWidget* widget, bool bold = false) {
    SetTextColor(widget, 0xEAEAEA);
    if (bold) {
        QFont f = widget->font();
        f.setBold(true);
        widget->setFont(f);
    }
}

}  // namespace

TfrmTutorialDisplay::TfrmTutorialDisplay(const TAppContext& context, QWidget* owner, const std::string& stepsFile)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FContext(context), FOwner(owner) {
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(QStringLiteral("Tutorial"));
    // The window takes the shape of its background picture.
    const QImage background = BackgroundPicture();
    setMask(QRegion(QBitmap::fromImage(background.createAlphaMask())));

    imgBackground = new cb::extras::TKitGIFAnimator(this);
    imgBackground->SetAutoSize(false);
    imgBackground->setGeometry(0, 0, ClientWidth, ClientHeight);
    imgBackground->Image().Assign(background);
    imgBackground->SetAsyncDrawing(true);
    imgBackground->PictureChanged();

    lblTitle = new QLabel(this);
    lblTitle->setGeometry(93, 12, 325, 24);
    LightText(lblTitle, true);

    lblContent = new cb::grid::TMarkupLabel(this);
    lblContent->setGeometry(92, 46, 321, 145);
    lblContent->Color = cb::gfx::clNone;
    lblContent->SetURLColor(cb::gfx::clBlue);
    lblContent->SetVAlignment(cb::grid::vtaTop);

    lblDisplayHelp = new TClickLabel(QStringLiteral("More ..."), this);
    lblDisplayHelp->setGeometry(366, 191, 50, 16);
    lblDisplayHelp->setCursor(Qt::PointingHandCursor);
    {
        SetTextColor(lblDisplayHelp, 0x97572B);
        QFont f = lblDisplayHelp->font();
        f.setUnderline(true);
        lblDisplayHelp->setFont(f);
    }

    auto button = [this](TButtonPicture kind, int x, const char* text, int textWidth, TClickLabel*& picture,
                         TClickLabel*& label, void (TfrmTutorialDisplay::*action)()) {
        picture = new TClickLabel(this);
        picture->setPixmap(ButtonPicture(kind));
        picture->setGeometry(x, 217, 20, 20);
        picture->setCursor(Qt::PointingHandCursor);
        label = new TClickLabel(QString::fromUtf8(text), this);
        label->setGeometry(x + 23, 217, textWidth, 20);
        label->setCursor(Qt::PointingHandCursor);
        LightText(label);
        picture->OnClick = [this, action] { (this->*action)(); };
        label->OnClick = [this, action] { (this->*action)(); };
    };
    button(TButtonPicture::Back, 238, "Back", 34, imgBack, lblBack, &TfrmTutorialDisplay::Back);
    button(TButtonPicture::Next, 298, "Next", 34, imgNext, lblNext, &TfrmTutorialDisplay::Next);
    button(TButtonPicture::Close, 358, "Close", 40, imgClose, lblClose, &TfrmTutorialDisplay::CloseTutorial);
    imgBack->hide();
    lblBack->hide();
    imgNext->hide();
    lblNext->hide();
    lblDisplayHelp->OnClick = [this] { DisplayHelp(); };

    chkDontShowAgain = new QCheckBox(QStringLiteral("Don't show again"), this);
    chkDontShowAgain->setGeometry(92, 217, 140, 20);
    LightText(chkDontShowAgain);
    chkDontShowAgain->setChecked(FContext.Config && FContext.Config->DontDisplayTutorialOnStartup);
    connect(chkDontShowAgain, &QCheckBox::toggled, this, [this](bool on) {
        if (!FContext.Config) return;
        FContext.Config->DontDisplayTutorialOnStartup = on;
        if (!FContext.Config->SaveSettings()) FContext.ShowError("The setting could not be saved.");
    });

    OnShowHelp = [](const std::string& topic) { ShowHelpTopic(topic); };
    // Beside the other data files (the program's folder).
    const std::string folder = FContext.Config ? FContext.Config->GetDataFolder() : TBaseConfig::GetApplicationPath();
    FSteps.LoadFromFile(stepsFile.empty() ? folder + "tutorial_steps.ini" : stepsFile, &FContext);
    if (FOwner) {
        FOwnerLeft = FOwner->x();
        FOwnerTop = FOwner->y();
        FOwner->installEventFilter(this);
    }
    FCurrentStep = 0;
    ShowStep();
}

TfrmTutorialDisplay::~TfrmTutorialDisplay() {
    if (FOwner) FOwner->removeEventFilter(this);
}

void TfrmTutorialDisplay::ShowStep() {
    const int count = FSteps.Count();
    if (count == 0) {
        lblTitle->setText(QString::fromUtf8(NoStepsTitle));
        lblContent->SetHTMLText(NoStepsText);
    } else {
        const TTutorialStep& step = FSteps.GetStep(FCurrentStep);
        lblTitle->setText(QString::fromStdString(step.Title));
        lblContent->SetHTMLText(step.DisplayText);
    }
    PlaceAtStep();
    const bool back = FCurrentStep > 0 && count > 0;
    const bool next = FCurrentStep < count - 1;
    imgBack->setVisible(back);
    lblBack->setVisible(back);
    imgNext->setVisible(next);
    lblNext->setVisible(next);
    lblDisplayHelp->setVisible(!IsBlankString(FSteps.GetStep(FCurrentStep).HelpFileLocation));
}

void TfrmTutorialDisplay::PlaceAtStep() {
    const TTutorialStep& step = FSteps.GetStep(FCurrentStep);
    move(step.XLocation + FOwnerLeft, step.YLocation + FOwnerTop);
}

void TfrmTutorialDisplay::SetCurrentStep(int index) {
    if (index == FCurrentStep) return;
    FCurrentStep = index;
    ShowStep();
}

void TfrmTutorialDisplay::SetOwnerLeft(int x) {
    FOwnerLeft = x;
    PlaceAtStep();
}

void TfrmTutorialDisplay::SetOwnerTop(int y) {
    FOwnerTop = y;
    PlaceAtStep();
}

void TfrmTutorialDisplay::Back() {
    if (FCurrentStep > 0) StepInPlace(FCurrentStep - 1);
}

void TfrmTutorialDisplay::Next() {
    if (FCurrentStep < FSteps.Count() - 1) StepInPlace(FCurrentStep + 1);
}

void TfrmTutorialDisplay::StepInPlace(int index) {
    // The window stays where it is, so Back and Next stay under the pointer;
    // it takes the step's place when the main window moves.
    const QPoint at = pos();
    SetCurrentStep(index);
    move(at);
}

void TfrmTutorialDisplay::CloseTutorial() {
    hide();
}

void TfrmTutorialDisplay::DisplayHelp() {
    const std::string& topic = FSteps.GetStep(FCurrentStep).HelpFileLocation;
    if (!IsBlankString(topic) && OnShowHelp) OnShowHelp(topic);
}

void TfrmTutorialDisplay::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ShowStep();
}

void TfrmTutorialDisplay::mousePressEvent(QMouseEvent* event) {
    if (!FDragging) {
        FDragging = true;
        FDragOffset = event->globalPosition().toPoint() - pos();
    }
    event->accept();
}

void TfrmTutorialDisplay::mouseMoveEvent(QMouseEvent* event) {
    if (FDragging) move(event->globalPosition().toPoint() - FDragOffset);
    event->accept();
}

void TfrmTutorialDisplay::mouseReleaseEvent(QMouseEvent* event) {
    FDragging = false;
    event->accept();
}

void TfrmTutorialDisplay::FollowOwner() {
    if (!FOwner) return;
    FOwnerLeft = FOwner->x();
    FOwnerTop = FOwner->y();
    PlaceAtStep();
}

bool TfrmTutorialDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FOwner) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            FollowOwner();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ShowTutorial(const TFeatureContext& context) {
    // Made once per owner and freed with it; one without an owner lives
    // for the rest of the run.
    static QPointer<TfrmTutorialDisplay> lone;
    TfrmTutorialDisplay* tutorial =
        context.Owner ? context.Owner->findChild<TfrmTutorialDisplay*>(QString(), Qt::FindDirectChildrenOnly)
                      : lone.data();
    if (!tutorial) {
        tutorial = new TfrmTutorialDisplay(context.App, context.Owner);
        if (!context.Owner) lone = tutorial;
    }
    // Shown again from the first step.
    tutorial->SetCurrentStep(0);
    if (context.Owner) {
        tutorial->SetOwnerLeft(context.Owner->x());
        tutorial->SetOwnerTop(context.Owner->y());
    }
    tutorial->show();
    tutorial->raise();
}

}  // namespace cb::app
