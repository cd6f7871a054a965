#pragma once
// The shadow editor ("Shadow editor"): sizes, transparency, smoothing and
// colour of a shadow. Every change is written at once and stays: the
// dialog has only "OK" (EditShadow); embedded it has none.
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QPushButton;
class QSpinBox;
class QWidget;

namespace cb::chart {
class TPlotShadow;
}

namespace cb::charteditors {

class TColorButton;

class TPlotShadowEditor : public TEditorForm {
    Q_OBJECT
public:
    explicit TPlotShadowEditor(QWidget* owner = nullptr);

    // Re-targets the editor and loads the controls.
    void Bind(const TEditedObject& shadow);
    cb::chart::TPlotShadow* Shadow() const;

    QSpinBox* Edit1;  // horizontal size
    QSpinBox* EVertSize;
    QSpinBox* EShadowTransp;
    QCheckBox* CBSmooth;
    TColorButton* BShadowColor;
    QPushButton* BOK;

    // Closing keeps every change.
    void reject() override;

protected:
    void FormShow() override;
};

// The modal shadow dialog near the owner, with "OK".
void EditShadow(QWidget* owner, const TEditedObject& shadow);
// A shadow editor owned by the sheet's owner, embedded into the sheet (no
// "OK"); bind it with Bind. The sheet's owner frees it.
TPlotShadowEditor* EmbedShadowEditor(QWidget* sheet);

}  // namespace cb::charteditors
