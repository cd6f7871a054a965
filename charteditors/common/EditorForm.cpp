#include "charteditors/common/EditorForm.h"

#include "chart/core/PlotHelpers.h"

#include <QShowEvent>

namespace cb::charteditors {

TEditorForm::TEditorForm(QWidget* owner) : QDialog(owner) {
    FEdited.OnGone = [this] { ObjectGone(); };
}

TEditorForm::~TEditorForm() {
    FEdited.OnGone = nullptr;
}

void TEditorForm::BindObject(const TEditedObject& object) {
    FEdited.Set(object);
    if (isVisible()) LoadControls();
}

void TEditorForm::KeepBackup(std::function<void()> restore) {
    FRestore = std::move(restore);
}

void TEditorForm::RestoreBackup() {
    if (FRestore) FRestore();
}

void TEditorForm::reject() {
    // Without the object the backup has nothing left to restore into.
    if (!FEdited.Empty()) RestoreBackup();
    FRestore = nullptr;
    QDialog::reject();
}

void TEditorForm::ObjectGone() {
    FRestore = nullptr;
    if (isModal() && isVisible())
        QDialog::reject();
    else
        setEnabled(false);
}

void TEditorForm::LoadControls() {
    TFilling filling(*this);
    FormShow();
}

void TEditorForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    cb::chart::ApplyTranslationHook(this);
    if (!FEdited.Empty()) LoadControls();
}

}  // namespace cb::charteditors
