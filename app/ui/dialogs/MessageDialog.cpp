#include "app/ui/dialogs/MessageDialog.h"

#include "app/core/base/UserInterface.h"
#include "platform/desktop/PlainMessageBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace cb::app {

namespace {

constexpr int ClientWidth = 452;
constexpr int ClientHeight = 235;
constexpr int IconSize = 41;
constexpr int ButtonTop = 200;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int TextLeft = 99, TextTop = 16, TextWidth = 331, TextHeight = 171;

QLabel* MakeIcon(QWidget* parent, QStyle::StandardPixmap which, int left) {
    auto* l = new QLabel(parent);
    l->setGeometry(left, 16, IconSize, IconSize);
    const QIcon icon = parent->style()->standardIcon(which, nullptr, parent);
    l->setPixmap(
        icon.pixmap(IconSize, IconSize).scaled(IconSize, IconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    l->setVisible(false);
    return l;
}

QPushButton* MakeButton(QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setGeometry(0, ButtonTop, ButtonWidth, ButtonHeight);
    return b;
}

// Floor division; the widths never make it negative in practice, but keep
// the rounding towards minus infinity all the same.
int FloorDiv(int a, int b) {
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

TfrmUI::TfrmUI(QWidget* parent) : TContentForm(parent) {
    if (isWindow())
        setWindowFlags(kDialogFlags);
    setWindowTitle(QApplication::applicationName());
    setFont(QFont("MS Sans Serif", 8));
    setFixedSize(ClientWidth, ClientHeight);

    imgError = MakeIcon(this, QStyle::SP_MessageBoxCritical, 32);
    btnFirst = MakeButton(this);
    btnSecond = MakeButton(this);
    btnThird = MakeButton(this);
    lblDisplayText = cb::os::PlainLabel(new QLabel(this));
    lblDisplayText->setGeometry(TextLeft, TextTop, TextWidth, TextHeight);
    lblDisplayText->setWordWrap(true);
    lblDisplayText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDisplayText->setAttribute(Qt::WA_TranslucentBackground);
    imgWarning = MakeIcon(this, QStyle::SP_MessageBoxWarning, 33);
    imgInfo = MakeIcon(this, QStyle::SP_MessageBoxInformation, 33);

    setTabOrder(btnFirst, btnSecond);
    setTabOrder(btnSecond, btnThird);

    connect(btnFirst, &QPushButton::clicked, this, &TfrmUI::btnFirstClick);
    connect(btnSecond, &QPushButton::clicked, this, &TfrmUI::btnSecondClick);
    connect(btnThird, &QPushButton::clicked, this, &TfrmUI::btnThirdClick);

    UpdateLook();
}

void TfrmUI::SetText(const std::string& text) {
    if (text == FText) return;
    FText = text;
    UpdateLook();
}

void TfrmUI::SetIconKind(std::uint8_t kind) {
    if (kind == FIconKind) return;
    FIconKind = kind;
    UpdateLook();
}

void TfrmUI::SetButtonSet(std::uint8_t set) {
    if (set == FButtonSet) return;
    FButtonSet = set;
    UpdateLook();
}

QPushButton* TfrmUI::CancelButton() const {
    switch (FButtonSet) {
    case bsOk:
        return btnFirst;
    case bsOkCancel:
    case bsYesNo:
        return btnSecond;
    default:
        return nullptr;
    }
}

void TfrmUI::UpdateLook() {
    lblDisplayText->setText(QString::fromStdString(FText));
    imgInfo->setVisible(FIconKind == ikInformation);
    imgWarning->setVisible(FIconKind == ikWarning);
    imgError->setVisible(FIconKind == ikError);

    const bool yes = FButtonSet == bsYesNo || FButtonSet == bsYesNoCancel;
    btnFirst->setText(yes ? "&Yes" : "&OK");
    btnSecond->setText(FButtonSet == bsOkCancel ? "&Cancel" : "&No");
    btnThird->setText("&Cancel");
    btnSecond->setVisible(FButtonSet != bsOk);
    btnThird->setVisible(FButtonSet == bsYesNoCancel);
    btnFirst->setVisible(true);
    btnFirst->setDefault(FButtonSet != bsYesNoCancel);
    btnSecond->setDefault(false);
    btnThird->setDefault(false);
    FitText();
    ArrangeButtons();
}

void TfrmUI::FitText() {
    // The window grows with a long text, up to most of the screen; the
    // text's room never shrinks below the form's.
    const QScreen* where = screen() ? screen() : QApplication::primaryScreen();
    const int most = where ? where->availableGeometry().height() * 3 / 4 : 600;
    const int text =
        std::clamp(lblDisplayText->heightForWidth(TextWidth), TextHeight, std::max(TextHeight, most - ClientHeight));
    const int extra = text - TextHeight;
    lblDisplayText->setGeometry(TextLeft, TextTop, TextWidth, text);
    for (QPushButton* b : {btnFirst, btnSecond, btnThird}) b->move(b->x(), ButtonTop + extra);
    setFixedSize(ClientWidth, ClientHeight + extra);
}

void TfrmUI::ArrangeButtons() {
    // The client width: the window frame is the window manager's and is not
    // known before the dialog shows.
    const int w = width();
    const int w1 = btnFirst->width(), w2 = btnSecond->width(), w3 = btnThird->width();
    const int top = btnFirst->y();
    switch (FButtonSet) {
    case bsOk:
        btnFirst->move(FloorDiv(w - w1, 2), top);
        break;
    case bsOkCancel:
    case bsYesNo: {
        const int gap = FloorDiv(w - w1 - w2, 3);
        btnFirst->move(gap, top);
        btnSecond->move(2 * gap + w1, top);
        break;
    }
    default: {
        const int gap = FloorDiv(w - w1 - w2 - w3, 4);
        btnFirst->move(gap, top);
        btnSecond->move(2 * gap + w1, top);
        btnThird->move(3 * gap + w1 + w2, top);
        break;
    }
    }
}

void TfrmUI::btnFirstClick() {
    done(FButtonSet == bsYesNo || FButtonSet == bsYesNoCancel ? mrYes : mrOk);
}

void TfrmUI::btnSecondClick() {
    done(FButtonSet == bsOkCancel ? mrCancel : mrNo);
}

void TfrmUI::btnThirdClick() {
    done(mrCancel);
}

void TfrmUI::reject() {
    // Closing the window without a button.
    done(mrCancel);
}

void TfrmUI::showEvent(QShowEvent* event) {
    UpdateLook();
    if (isWindow()) {
        // Centred on the main window when there is one, else on the screen.
        QWidget* host = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && w->inherits("QMainWindow")) {
                host = w;
                break;
            }
        const QRect area = host ? host->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
        if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
    }
    TContentForm::showEvent(event);
}

void TfrmUI::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (QPushButton* b = CancelButton()) b->click();
        return;
    }
    TContentForm::keyPressEvent(event);
}

}  // namespace cb::app
