#include "app/ui/dialogs/MessageBoxInterface.h"

#include "platform/desktop/PlainMessageBox.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QString>

namespace cb::app {

namespace {
QString Caption() {
    return QApplication::applicationName();
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

void TMessageBoxInterface::ShowError(const std::string& text) {
    cb::os::PlainMessageBox(nullptr, QMessageBox::Critical, Caption(), Q(text));
}

void TMessageBoxInterface::ShowInformation(const std::string& text) {
    cb::os::PlainMessageBox(nullptr, QMessageBox::NoIcon, Caption(), Q(text));
}

bool TMessageBoxInterface::ConfirmOKCancel(const std::string& text) {
    return cb::os::PlainMessageBox(nullptr, QMessageBox::Question, Caption(), Q(text),
                                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

bool TMessageBoxInterface::ConfirmYesNo(const std::string& text) {
    return cb::os::PlainMessageBox(nullptr, QMessageBox::Question, Caption(), Q(text),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

int TMessageBoxInterface::AskYesNoCancel(const std::string& text) {
    const auto r = cb::os::PlainMessageBox(nullptr, QMessageBox::Information, Caption(), Q(text),
                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (r) {
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    default:
        return mrCancel;
    }
}

void TMessageBoxInterface::SetBusy(bool busy) {
    if (busy) {
        if (QApplication::overrideCursor())
            QApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    }
    QApplication::processEvents();
}

}  // namespace cb::app
