#pragma once
// The base of every chart editor: a dialog that edits one chart object, shown
// modally or embedded in a host window.
//
// - The edited object is held through a guard (Edited()); when the object
//   goes the guard is cleared and ObjectGone() runs: a modal editor closes as
//   cancelled, an embedded one disables itself.
// - FormShow() runs each time the form is shown; it loads the controls from
//   the object inside a TFilling scope, so that change handlers, which write
//   one property each, write nothing back while Filling() is set.
// - KeepBackup() copies the object when the dialog opens; Cancel (button,
//   Esc or closing the window) gives the copy back to the object while it
//   lives. OK keeps every change.
#include "charteditors/common/EditedObject.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace cb::charteditors {

class TEditorForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditorForm(QWidget* owner = nullptr);
    ~TEditorForm() override;

    TObjectGuard& Edited() { return FEdited; }
    const TObjectGuard& Edited() const { return FEdited; }
    // Binds the object; while the form shows, the controls are loaded again.
    void BindObject(const TEditedObject& object);

    bool Filling() const { return FFilling != 0; }
    bool Modified() const { return FModified; }
    void SetModified(bool on = true) { FModified = on; }

    // Copies the object now; Cancel assigns the copy back. T needs a default
    // constructor and Assign(const T&).
    template <class T>
    void KeepBackup(T& object) {
        auto copy = std::make_shared<T>();
        copy->Assign(object);
        T* target = &object;
        KeepBackup([copy, target] { target->Assign(*copy); });
    }
    // A restore of the caller's own, run on Cancel while the object lives.
    void KeepBackup(std::function<void()> restore);
    bool HasBackup() const { return bool(FRestore); }
    void DropBackup() { FRestore = nullptr; }

    // Cancel: restores the backup (when the object still lives), then closes.
    void reject() override;

protected:
    // Loads the controls from the object; runs on every show while filling.
    virtual void FormShow() {}
    // The edited object went; the guard is already empty.
    virtual void ObjectGone();
    // Restores the backup; a dialog may restore only when modified.
    virtual void RestoreBackup();
    void showEvent(QShowEvent* event) override;

    // Marks the form as filling for its lifetime (nestable).
    class TFilling {
    public:
        explicit TFilling(TEditorForm& form) : FForm(form) { ++FForm.FFilling; }
        ~TFilling() { --FForm.FFilling; }
        TFilling(const TFilling&) = delete;
        TFilling& operator=(const TFilling&) = delete;

    private:
        TEditorForm& FForm;
    };
    // Runs FormShow inside a filling scope (also for bind routines).
    void LoadControls();

private:
    TObjectGuard FEdited;
    std::function<void()> FRestore;
    int FFilling = 0;
    bool FModified = false;
};

}  // namespace cb::charteditors
