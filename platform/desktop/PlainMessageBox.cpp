#include "platform/desktop/PlainMessageBox.h"

#include <QLabel>

namespace cb::os {

QMessageBox::StandardButton PlainMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    // With standard buttons the answer is the button's value.
    return QMessageBox::StandardButton(box.exec());
}

QLabel* PlainLabel(QLabel* label) {
    label->setTextFormat(Qt::PlainText);
    label->setOpenExternalLinks(false);
    return label;
}

}  // namespace cb::os
