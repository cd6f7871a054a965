#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/shape/ShapeSeries.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/series/MoreSeriesEditors.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/FontEditor.h"
#include "charteditors/style/GradientEditor.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

TChartShapeEditor::TChartShapeEditor(QWidget* owner) : TEditorForm(owner) {
    setWindowTitle("Shape");
    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    layout->addWidget(pages);
    auto* style = new QWidget;
    auto* position = new QWidget;
    pages->addTab(style, "Style");
    pages->addTab(position, "Position");
    auto* text = new QWidget;
    pages->addTab(text, "Text");
    FontEditor = EmbedFontEditor(text);
    TEditorGrid g(style);
    CBStyle = g.Combo("CBStyle", "&Style:",
                      {"Rectangle", "Circle", "Vertical Line", "Horiz. Line", "Triangle", "Invert. Triangle", "Line",
                       "Diamond", "Cube", "Cross", "Diagonal Cross", "Star", "Pyramid", "Invert. Pyramid"});
    BShapeColor = g.ColorButton("BShapeColor", "&Color...");
    BShapePen = g.PenButton("BShapePen", "Bor&der...");
    CBTrans = g.Check("CBTrans", "Tra&nsparent");
    CBRound = g.Check("CBRound", "&Round Rectangle");
    BShapeBrush = g.Button("BShapeBrush", "&Pattern...", [this] {
        TChartShape* s = Shape();
        if (!s) return;
        EditChartBrush(this, TEditedObject::Part(&s->Brush(), s));
        BShapeColor->update();
    });
    Button1 = g.Button("Button1", "&Gradient...", [this] {
        if (TChartShape* s = Shape()) EditGradient(this, TEditedObject::Part(&s->Gradient(), s));
    });
    MemoText = new QPlainTextEdit(style);
    MemoText->setObjectName("MemoText");
    MemoText->setMaximumHeight(60);
    g.Place(MemoText, "Te&xt:");
    RGAlign = g.Combo("RGAlign", "&Horiz. Alignment", {"Left", "Center", "Right"});
    RGVertAlign = g.Combo("RGVertAlign", "&Alignment", {"Top", "Center", "Bottom"});
    TEditorGrid p(position);
    SEX0 = p.Edit("SEX0", "&Left:");
    SEY0 = p.Edit("SEY0", "&Top:");
    SEX1 = p.Edit("SEX1", "&Right");
    SEY1 = p.Edit("SEY1", "&Bottom:");
    CBUnits = p.Combo("CBUnits", "&Units:", {"Pixels", "Axis", "Axis Origin"});

    auto writing = [this] { return !FCreating && !Filling() && Shape(); };
    connect(CBStyle, &QComboBox::currentIndexChanged, this, [this, writing](int i) {
        if (!writing() || i < 0) return;
        Shape()->SetShapeStyle(TChartShapeStyle(i));
        CBRound->setEnabled(i == int(chasRectangle));
    });
    connect(CBTrans, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (writing()) Shape()->SetTransparent(on);
    });
    connect(CBRound, &QCheckBox::toggled, this, [this, writing](bool on) {
        if (writing()) Shape()->SetRoundRectangle(on);
    });
    connect(MemoText, &QPlainTextEdit::textChanged, this, [this, writing] {
        if (!writing()) return;
        std::vector<std::string> lines;
        for (const QString& l : MemoText->toPlainText().split('\n')) lines.push_back(l.toStdString());
        Shape()->SetText(lines);
    });
    connect(RGAlign, &QComboBox::currentIndexChanged, this, [this, writing](int i) {
        static const TAlignment align[3] = {taLeftJustify, taCenter, taRightJustify};
        if (writing() && i >= 0) Shape()->SetAlignment(align[i]);
    });
    connect(RGVertAlign, &QComboBox::currentIndexChanged, this, [this, writing](int i) {
        if (writing() && i >= 0) Shape()->SetVertAlign(TPlotVertAlign(i));
    });
    connect(CBUnits, &QComboBox::currentIndexChanged, this, [this, writing](int i) {
        if (writing() && i >= 0) Shape()->SetXYStyle(TChartShapeXYStyle(i));
    });
    // Position edits write a complete number only, and only while the shape
    // has its two points.
    auto coordinate = [this, writing](QLineEdit* edit, void (TChartShape::*set)(double)) {
        connect(edit, &QLineEdit::textChanged, this, [this, writing, set](const QString& text) {
            double v = 0;
            if (writing() && isVisible() && Shape()->PointCount() == 2 && ParseDecimal(text, v)) (Shape()->*set)(v);
        });
    };
    coordinate(SEX0, &TChartShape::SetX0);
    coordinate(SEY0, &TChartShape::SetY0);
    coordinate(SEX1, &TChartShape::SetX1);
    coordinate(SEY1, &TChartShape::SetY1);
}

TChartShape* TChartShapeEditor::Shape() const {
    return Edited().As<TChartShape>();
}

void TChartShapeEditor::UpdateRound() {
    TChartShape* s = Shape();
    const bool chart3D = s && s->ParentChart() && s->ParentChart()->View3D();
    CBRound->setEnabled(s && s->ShapeStyle() == chasRectangle && !chart3D);
}

void TChartShapeEditor::FormShow() {
    FCreating = true;
    if (TChartShape* s = Shape()) {
        CBStyle->setCurrentIndex(int(s->ShapeStyle()));
        CBTrans->setChecked(s->Transparent());
        const bool two = s->PointCount() == 2;
        for (auto [edit, value] : {std::pair{SEX0, two ? s->X0() : 0.0}, std::pair{SEY0, two ? s->Y0() : 0.0},
                                   std::pair{SEX1, two ? s->X1() : 0.0}, std::pair{SEY1, two ? s->Y1() : 0.0}})
            edit->setText(two ? QString::number(value, 'g', 15) : QString());
        QStringList lines;
        for (const std::string& l : s->Text()) lines << QString::fromStdString(l);
        MemoText->setPlainText(lines.join('\n'));
        RGAlign->setCurrentIndex(s->Alignment() == taLeftJustify ? 0 : s->Alignment() == taCenter ? 1 : 2);
        RGVertAlign->setCurrentIndex(int(s->VertAlign()));
        CBRound->setChecked(s->RoundRectangle());
        UpdateRound();
        CBUnits->setCurrentIndex(int(s->XYStyle()));
        BShapePen->LinkPen(TEditedObject::Part(&s->Pen(), s));
        BShapeColor->LinkColor(
            s, [s] { return s->SeriesColor(); }, [s](TColor c) { s->SetSeriesColor(c); });
        FontEditor->Bind(TEditedObject::Part(&s->Font(), s));
    }
    FCreating = false;
}

}  // namespace cb::charteditors
