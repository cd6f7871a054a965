#include "app/ui/dialogs/ServerLogin.h"

#include "olap/xmla/XmlaProvider.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace cb::app {

namespace {

bool AskLogin(QWidget* owner, const std::string& server, const std::string& realm, std::string& user,
              std::string& password) {
    if (!qApp || QThread::currentThread() != qApp->thread()) return false;
    QDialog dialog(owner);
    dialog.setObjectName("frmServerLogin");
    dialog.setWindowTitle("Analysis Server Login");
    auto* layout = new QVBoxLayout(&dialog);
    std::string text = "The analysis server " + server + " asks for a user name and password";
    text += realm.empty() ? "." : " (" + realm + ").";
    auto* label = new QLabel(QString::fromStdString(text), &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMinimumWidth(320);
    layout->addWidget(label);
    auto* form = new QFormLayout;
    auto* edtUser = new QLineEdit(QString::fromStdString(user), &dialog);
    edtUser->setObjectName("edtUser");
    auto* edtPassword = new QLineEdit(&dialog);
    edtPassword->setObjectName("edtPassword");
    edtPassword->setEchoMode(QLineEdit::Password);
    form->addRow("&User name:", edtUser);
    form->addRow("&Password:", edtPassword);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    (user.empty() ? edtUser : edtPassword)->setFocus();
    QApplication::setOverrideCursor(Qt::ArrowCursor);  // over a busy cursor
    const bool ok = dialog.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    if (!ok) return false;
    user = edtUser->text().toStdString();
    password = edtPassword->text().toStdString();
    return true;
}

}  // namespace

void InstallServerLogin(QWidget* owner) {
    QPointer<QWidget> guarded(owner);
    cb::olap::xmla::SetPasswordRequest(
        [guarded](const std::string& server, const std::string& realm, std::string& user, std::string& password) {
            return AskLogin(guarded.data(), server, realm, user, password);
        });
}

void RemoveServerLogin() {
    cb::olap::xmla::SetPasswordRequest(nullptr);
}

}  // namespace cb::app
