#include "extras/KitErrors.h"

#include <QApplication>
#include <QMessageBox>

namespace cb::extras {

void NotImplementedStop() {
    if (qApp) {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        QMessageBox::information(nullptr, QApplication::applicationDisplayName(),
                                 QStringLiteral("Function not yet implemented"), QMessageBox::Ok);
    }
    throw EKitAbort();
}

}  // namespace cb::extras
