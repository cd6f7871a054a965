#include "app/ui/dialogs/MessageBoxInterface.h"

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
    QMessageBox::critical(nullptr, Caption(), Q(text), QMessageBox::Ok);
}

void TMessageBoxInterface::ShowInformation(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, Caption(), Q(text), QMessageBox::Ok);
    box.exec();
}

bool TMessageBoxInterface::ConfirmOKCancel(const std::string& text) {
    return QMessageBox::question(nullptr, Caption(), Q(text), QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

bool TMessageBoxInterface::ConfirmYesNo(const std::string& text) {
    return QMessageBox::question(nullptr, Caption(), Q(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

int TMessageBoxInterface::AskYesNoCancel(const std::string& text) {
    const auto r = QMessageBox::information(nullptr, Caption(), Q(text),
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
