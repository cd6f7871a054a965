#include "app/ui/views/CurrentViewTextDisplay.h"

#include "app/ui/widgets/OwnerPlacement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cb::app {

TfrmCurrentViewTextDisplay::TfrmCurrentViewTextDisplay(QWidget* owner) : TContentForm(nullptr), FOwner(owner) {
    setObjectName("frmCurrentViewTextDisplay");
    setWindowTitle("Grid View Summary");
    // System menu and maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    if (owner) setParent(owner, windowFlags());
    resize(566, 352);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    lblCaption = new QLabel("Text summary of the current Grid View:", this);
    layout->addWidget(lblCaption);
    memCurrentDisplay = new QPlainTextEdit(this);
    memCurrentDisplay->setObjectName("memCurrentDisplay");
    memCurrentDisplay->setReadOnly(true);
    memCurrentDisplay->setFrameShape(QFrame::NoFrame);
    memCurrentDisplay->setLineWrapMode(QPlainTextEdit::NoWrap);
    memCurrentDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memCurrentDisplay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(memCurrentDisplay, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnClose = new QPushButton("&Close", this);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmCurrentViewTextDisplay::SetText(const std::string& text) {
    QString lines = QString::fromStdString(text);
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memCurrentDisplay->setPlainText(lines);
}

void TfrmCurrentViewTextDisplay::ApplyTheme(const TTheme* theme) {
    TContentForm::ApplyTheme(theme);
    if (!theme) return;
    QPalette p = memCurrentDisplay->palette();
    p.setColor(QPalette::Base, gfx::ToQColor(theme->BackgroundColor));
    memCurrentDisplay->setPalette(p);
}

int TfrmCurrentViewTextDisplay::exec() {
    CenterOnOwner(this, FOwner);
    return TContentForm::exec();
}

void TfrmCurrentViewTextDisplay::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    TContentForm::keyPressEvent(event);
}

void TfrmCurrentViewTextDisplay::closeEvent(QCloseEvent* event) {
    setResult(QDialog::Accepted);
    TContentForm::closeEvent(event);
}

}  // namespace cb::app
