#include "charteditors/style/FontEditor.h"

#include "chart/panel/PlotButtons.h"
#include "chart/style/PlotFont.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/style/ShadowEditor.h"
#include "charteditors/style/StyleHelpers.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>

namespace cb::charteditors {

using cb::chart::TPlotFont;

TPlotFontEditor::TPlotFontEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("PlotFont Editor");
    SHText = new QFrame(this);
    SHText->setFixedSize(28, 24);
    SHText->setFrameShape(QFrame::Box);
    SHText->setAutoFillBackground(true);
    SHText->setCursor(Qt::PointingHandCursor);
    SHText->installEventFilter(this);
    Button3 = new QPushButton("&Font...", this);
    auto* lInter = new QLabel("&Inter-char spacing:", this);
    Edit2 = new QSpinBox(this);
    Edit2->setRange(-100, 100);
    lInter->setBuddy(Edit2);
    BOutline = new TButtonPen(this);
    BOutline->setText("&Outline...");
    BShadow = new QPushButton("&Shadow...", this);
    BGradient = new QPushButton("&Gradient...", this);
    CBOutGrad = new QCheckBox("O&utline gradient", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Button3, 0, 0);
    grid->addWidget(SHText, 0, 1, Qt::AlignLeft);
    grid->addWidget(lInter, 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addWidget(BOutline, 2, 0);
    grid->addWidget(BShadow, 3, 0);
    grid->addWidget(BGradient, 4, 0);
    grid->addWidget(CBOutGrad, 4, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);

    connect(Button3, &QPushButton::clicked, this, [this] {
        if (TPlotFont* f = Font(); f && EditFont(this, *f)) ShowColor();
    });
    connect(Edit2, &QSpinBox::valueChanged, this, [this](int v) {
        if (Filling() || !Font()) return;
        Font()->SetInterCharSize(v);
    });
    connect(BShadow, &QPushButton::clicked, this, [this] {
        if (TPlotFont* f = Font()) EditShadow(this, TEditedObject::PartOf(Edited().Get(), &f->Shadow()));
    });
    connect(BGradient, &QPushButton::clicked, this, [this] {
        if (TPlotFont* f = Font()) EditGradient(this, TEditedObject::PartOf(Edited().Get(), &f->Gradient()));
    });
    connect(CBOutGrad, &QCheckBox::clicked, this, [this](bool on) {
        if (Font()) Font()->Gradient().SetOutline(on);
    });
}

TPlotFont* TPlotFontEditor::Font() const {
    return Edited().As<TPlotFont>();
}

void TPlotFontEditor::Bind(const TEditedObject& font) {
    Edited().Set(font);
    LoadControls();
}

void TPlotFontEditor::FormShow() {
    TPlotFont* f = Font();
    if (!f) return;
    if (isWindow() && isVisible()) KeepBackup(*f);
    ShowColor();
    Edit2->setValue(f->InterCharSize());
    BOutline->LinkPen(TEditedObject::PartOf(Edited().Get(), static_cast<cb::chart::TChartPen*>(&f->OutLine())));
    CBOutGrad->setChecked(f->Gradient().Outline());
}

void TPlotFontEditor::ShowColor() {
    QPalette p = SHText->palette();
    const TPlotFont* f = Font();
    p.setColor(QPalette::Window, f ? cb::gfx::ToQColor(cb::chart::ColorToRGB(f->Color())) : QColor(Qt::black));
    SHText->setPalette(p);
}

bool TPlotFontEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SHText && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (TPlotFont* f = Font()) {
            cb::gfx::TColor color = f->Color();
            if (cb::chart::EditColorWithDialog(this, color)) {
                f->SetColor(color);
                ShowColor();
            }
        }
        return true;
    }
    return TEditorForm::eventFilter(watched, event);
}

TPlotFontEditor* EmbedFontEditor(QWidget* sheet) {
    auto* editor = new TPlotFontEditor(sheet);
    EmbedForm(editor, sheet);
    return editor;
}

}  // namespace cb::charteditors
