#include "charteditors/style/ShadowEditor.h"

#include "chart/style/PlotShadow.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace cb::charteditors {

using cb::chart::TPlotShadow;

namespace {

QSpinBox* SizeEdit(QWidget* parent, QGridLayout* grid, int row, const char* caption, int low, int high) {
    auto* label = new QLabel(caption, parent);
    auto* spin = new QSpinBox(parent);
    spin->setRange(low, high);
    label->setBuddy(spin);
    grid->addWidget(label, row, 0);
    grid->addWidget(spin, row, 1);
    return spin;
}

}  // namespace

TPlotShadowEditor::TPlotShadowEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Shadow editor");
    auto* grid = new QGridLayout;
    Edit1 = SizeEdit(this, grid, 0, "&Horiz. Size:", -1000, 1000);
    EVertSize = SizeEdit(this, grid, 1, "&Vert. Size:", -1000, 1000);
    EShadowTransp = SizeEdit(this, grid, 2, "&Transparency:", 0, 100);
    CBSmooth = new QCheckBox("&Smooth", this);
    grid->addWidget(CBSmooth, 3, 0, 1, 2);
    BShadowColor = new TColorButton(this);
    BShadowColor->setText("&Color...");
    BShadowColor->setMinimumWidth(95);
    grid->addWidget(BShadowColor, 0, 2);
    BOK = new QPushButton("OK", this);
    BOK->setDefault(true);
    BOK->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BOK);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addStretch();
    top->addLayout(buttons);

    auto write = [this](QSpinBox* spin, void (TPlotShadow::*set)(int)) {
        connect(spin, &QSpinBox::valueChanged, this, [this, set](int v) {
            if (Filling() || !Shadow()) return;
            (Shadow()->*set)(v);
        });
    };
    write(Edit1, &TPlotShadow::SetHorizSize);
    write(EVertSize, &TPlotShadow::SetVertSize);
    write(EShadowTransp, &TPlotShadow::SetTransparency);
    connect(CBSmooth, &QCheckBox::clicked, this, [this](bool on) {
        if (Shadow()) Shadow()->SetSmooth(on);
    });
    connect(BOK, &QPushButton::clicked, this, &QDialog::accept);
}

TPlotShadow* TPlotShadowEditor::Shadow() const {
    return Edited().As<TPlotShadow>();
}

void TPlotShadowEditor::Bind(const TEditedObject& shadow) {
    Edited().Set(shadow);
    LoadControls();
}

void TPlotShadowEditor::FormShow() {
    TPlotShadow* s = Shadow();
    if (!s) return;
    Edit1->setValue(s->HorizSize());
    EVertSize->setValue(s->VertSize());
    EShadowTransp->setValue(s->Transparency());
    CBSmooth->setChecked(s->Smooth());
    BShadowColor->LinkColor(
        s, [s] { return s->Color(); }, [s](cb::gfx::TColor c) { s->SetColor(c); });
}

void TPlotShadowEditor::reject() {
    DropBackup();
    TEditorForm::reject();
}

void EditShadow(QWidget* owner, const TEditedObject& shadow) {
    auto dialog = CreateEditorDialog<TPlotShadowEditor>(owner);
    dialog->BindObject(shadow);
    dialog->BOK->show();
    dialog->adjustSize();
    dialog->exec();
}

TPlotShadowEditor* EmbedShadowEditor(QWidget* sheet) {
    // Owned by the sheet's owner through the widget tree (the sheet).
    auto* editor = new TPlotShadowEditor(sheet);
    EmbedForm(editor, sheet);
    return editor;
}

}  // namespace cb::charteditors
