#include "charteditors/common/EditorHelpers.h"

#include "chart/core/PlotTexts.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QStringList>

namespace cb::charteditors {

namespace {
TConfirmSink& ConfirmSink() {
    static TConfirmSink sink;
    return sink;
}
}  // namespace

void SetConfirmSink(TConfirmSink sink) {
    ConfirmSink() = std::move(sink);
}

bool ConfirmAt(const std::string& message, QWidget* control) {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (ConfirmSink()) return ConfirmSink()(message, control);
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), QString::fromStdString(message),
                    QMessageBox::Yes | QMessageBox::No, control ? control->window() : nullptr);
    box.setTextFormat(Qt::PlainText);
    if (control) box.move(control->mapToGlobal(QPoint(20, 30)));
    return box.exec() == QMessageBox::Yes;
}

std::string DeleteQuestion(const std::string& name) {
    return cb::chart::FormatPlotText(cb::chart::TPlotText::txtDeleteSeries, {name});
}

bool ConfirmDelete(const std::string& name, QWidget* control) {
    return ConfirmAt(DeleteQuestion(name), control);
}

void ShowControls(bool visible, const std::vector<QWidget*>& controls) {
    for (QWidget* c : controls)
        if (c) c->setVisible(visible);
}

void AddValueFormatPresets(QStringList& items) {
    items << "#,##0.###"
          << "0"
          << "0.0"
          << "0.#"
          << "#.#"
          << "#,##0.00;(#,##0.00)"
          << "00e-0"
          << "#.0 \"x10\" E+0"
          << "#.# x10E-#";
}

void MoveSelectedItems(QListWidget* from, QListWidget* to) {
    for (int i = 0; i < from->count();) {
        if (from->item(i)->isSelected()) {
            QListWidgetItem* item = from->takeItem(i);
            item->setSelected(false);
            to->addItem(item);
        } else {
            ++i;
        }
    }
}

void MoveAllItems(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) to->addItem(from->takeItem(0));
}

}  // namespace cb::charteditors
