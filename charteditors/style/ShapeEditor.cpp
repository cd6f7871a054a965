#include "charteditors/style/ShapeEditor.h"

#include "chart/core/PlotHelpers.h"
#include "chart/panel/PlotShape.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/FontEditor.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/style/ShadowEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace cb::charteditors {

using cb::chart::TPlotCustomShape;

TFormPlotShape::TFormPlotShape(QWidget* owner) : TEditorForm(owner) {
    TFilling filling(*this);
    PC1 = new QTabWidget(this);
    TabFormat = new QWidget;
    TabText = new QWidget;
    TabGradient = new QWidget;
    TabShadow = new QWidget;
    PC1->addTab(TabFormat, "Format");
    PC1->addTab(TabText, "Text");
    PC1->addTab(TabGradient, "Gradient");
    PC1->addTab(TabShadow, "Shadow");

    BBackColor = new TColorButton(TabFormat);
    BBackColor->setText("&Color...");
    Button4 = new TButtonPen(TabFormat);
    Button4->setText("&Frame...");
    Button6 = new QPushButton("&Pattern...", TabFormat);
    CBRound = new QCheckBox("&Round Frame", TabFormat);
    CBTransparent = new QCheckBox("&Transparent", TabFormat);
    auto* lBevel = new QLabel("&Bevel:", TabFormat);
    CBBevel = new QComboBox(TabFormat);
    CBBevel->addItems({"None", "Lowered", "Raised"});
    lBevel->setBuddy(CBBevel);
    auto* lBevWidth = new QLabel("Siz&e:", TabFormat);
    EBevWidth = new QSpinBox(TabFormat);
    EBevWidth->setRange(1, 100);
    lBevWidth->setBuddy(EBevWidth);
    auto* lTransp = new QLabel("&Transparency:", TabFormat);
    EShadowTransp = new QSpinBox(TabFormat);
    EShadowTransp->setRange(0, 100);
    lTransp->setBuddy(EShadowTransp);
    auto* grid = new QGridLayout(TabFormat);
    grid->addWidget(BBackColor, 0, 0);
    grid->addWidget(CBRound, 0, 1, 1, 2);
    grid->addWidget(Button4, 1, 0);
    grid->addWidget(CBTransparent, 1, 1, 1, 2);
    grid->addWidget(Button6, 2, 0);
    grid->addWidget(lBevel, 3, 0);
    grid->addWidget(CBBevel, 3, 1);
    grid->addWidget(lBevWidth, 4, 0);
    grid->addWidget(EBevWidth, 4, 1);
    grid->addWidget(lTransp, 5, 0);
    grid->addWidget(EShadowTransp, 5, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(PC1);

    // The pages own the embedded editors (a page may move to a host).
    FGradientEditor = TPlotGradientEditor::CreateEmbedded(this, TEditedObject()).release();
    EmbedForm(FGradientEditor, TabGradient);
    FFontEditor = EmbedFontEditor(TabText);
    FShadowEditor = EmbedShadowEditor(TabShadow);
    // The pages are at least as large as the editors in them.
    for (auto [page, form] : {std::pair<QWidget*, QWidget*>{TabGradient, FGradientEditor},
                              {TabText, FFontEditor},
                              {TabShadow, FShadowEditor}}) {
        form->adjustSize();
        page->setMinimumSize(form->width() + 8, form->height() + 8);
    }

    connect(CBRound, &QCheckBox::clicked, this, [this](bool on) {
        if (Shape()) Shape()->SetShapeStyle(on ? cb::chart::fosRoundRectangle : cb::chart::fosRectangle);
    });
    connect(CBTransparent, &QCheckBox::clicked, this, [this](bool on) {
        if (Shape()) Shape()->SetTransparent(on);
    });
    connect(Button6, &QPushButton::clicked, this, [this] {
        if (TPlotCustomShape* s = Shape()) EditChartBrush(this, TEditedObject::PartOf(Edited().Get(), &s->Brush()));
    });
    connect(CBBevel, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (Filling() || !Shape() || i < 0) return;
        Shape()->SetBevel(cb::chart::TBevelCut(i));
        UpdateBevelWidth();
    });
    connect(EBevWidth, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Filling() && Shape()) Shape()->SetBevelWidth(v);
    });
    connect(EShadowTransp, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Filling() && Shape()) Shape()->SetTransparency(v);
    });
}

TFormPlotShape::~TFormPlotShape() = default;

TPlotCustomShape* TFormPlotShape::Shape() const {
    return Edited().As<TPlotCustomShape>();
}

void TFormPlotShape::Bind(const TEditedObject& shape) {
    Edited().Set(shape);
    LoadControls();
}

void TFormPlotShape::FormShow() {
    if (isVisible()) PC1->setCurrentIndex(0);
    TPlotCustomShape* s = Shape();
    if (!s) return;
    if (isWindow() && isVisible()) {
        auto copy = std::make_shared<TPlotCustomShape>();
        copy->Assign(*s);
        KeepBackup([copy, s] {
            s->Assign(*copy);
            s->RepaintParent();
        });
    }
    LoadFromShape();
}

void TFormPlotShape::LoadFromShape() {
    TPlotCustomShape* s = Shape();
    const TEditedObject& whole = Edited().Get();
    CBRound->setChecked(s->ShapeStyle() == cb::chart::fosRoundRectangle);
    CBTransparent->setChecked(s->Transparent());
    CBBevel->setCurrentIndex(std::clamp(int(s->Bevel()), 0, 2));
    EBevWidth->setValue(s->BevelWidth());
    EShadowTransp->setValue(s->Transparency());
    FGradientEditor->Bind(TEditedObject::PartOf(whole, &s->Gradient()));
    FFontEditor->Bind(TEditedObject::PartOf(whole, &s->Font()));
    FShadowEditor->Bind(TEditedObject::PartOf(whole, &s->Shadow()));
    Button4->LinkPen(TEditedObject::PartOf(whole, &s->Pen()));
    BBackColor->LinkColor(
        s, [s] { return s->Color(); }, [s](cb::gfx::TColor c) { s->SetColor(c); });
    UpdateBevelWidth();
}

void TFormPlotShape::UpdateBevelWidth() {
    const bool on = Shape() && Shape()->Bevel() != cb::chart::bcNone;
    EBevWidth->setEnabled(on);
}

void TFormPlotShape::RestoreBackup() {
    TEditorForm::RestoreBackup();
}

void TFormPlotShape::BColorClick() {
    CBTransparent->setChecked(false);
}

void TFormPlotShape::CBVisibleChecked(QCheckBox* sender) {
    if (Shape() && sender) Shape()->SetVisible(sender->isChecked());
}

TFormPlotShape* CreateShapeEditor(QWidget* owner, const TEditedObject& shape, QWidget* container) {
    auto* editor = new TFormPlotShape(container ? container : owner);
    editor->Edited().Set(shape);
    if (container) {
        editor->setWindowFlags(Qt::Widget);
        if (!container->layout()) {
            auto* layout = new QVBoxLayout(container);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        container->layout()->addWidget(editor);
        cb::chart::ApplyTranslationHook(editor);
        editor->show();
    } else {
        editor->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    }
    return editor;
}

TFormPlotShape* MergeShapeEditorPages(QTabWidget* pageControl, const TEditedObject& shape) {
    auto* editor = new TFormPlotShape(pageControl);
    editor->setWindowFlags(Qt::Widget);
    editor->hide();
    while (editor->PC1->count() > 0) {
        const QString caption = editor->PC1->tabText(0);
        QWidget* page = editor->PC1->widget(0);
        editor->PC1->removeTab(0);
        pageControl->addTab(page, caption);
        cb::chart::ApplyTranslationHook(page);
    }
    pageControl->setCurrentIndex(0);
    cb::chart::ApplyTranslationHook(editor);
    editor->Bind(shape);
    return editor;
}

}  // namespace cb::charteditors
