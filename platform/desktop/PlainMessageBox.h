#pragma once
// Message boxes and labels whose text is shown as written. Qt takes a text
// that looks like mark-up as rich text and a message box opens its links
// with the desktop; a text that holds a file's, a cube's or a server's words
// goes through these instead.
#include <QMessageBox>
#include <QString>

class QLabel;

namespace cb::os {

QMessageBox::StandardButton PlainMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// The label shows its texts as plain text from now on; returns it.
QLabel* PlainLabel(QLabel* label);

}  // namespace cb::os
