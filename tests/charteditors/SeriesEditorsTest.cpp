// The series editors, opened on a series of their type as a host opens
// them (by the class name the series answers), each control changed once
// the way a person changes it, and the series checked after each change.
#include "EditorTestSupport.h"
#include "UserActions.h"

#include "chart/series/SeriesPointer.h"
#include "chart/series/arrow/ArrowSeries.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/bubble/BubbleSeries.h"
#include "chart/series/fastline/FastLineSeries.h"
#include "chart/series/gantt/GanttSeries.h"
#include "chart/series/line/AreaSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/line/PointSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/series/shape/ShapeSeries.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/common/PenDialog.h"
#include "charteditors/series/BarSeriesEditor.h"
#include "charteditors/series/CustomSeriesEditor.h"
#include "charteditors/series/MoreSeriesEditors.h"
#include "charteditors/series/PieSeriesEditor.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "charteditors/series/SeriesPointerEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

using cbtest::Choose;
using cbtest::Click;
using cbtest::StepUp;
using cbtest::Type;

struct Fixture : ::testing::Test {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    void SetUp() override {
        RegisterStandardSeriesTypes();
        RegisterStandardEditors();
        chart->resize(400, 300);
    }
    template <class T>
    T* Add() {
        T* s = chart->CreateSeries<T>();
        for (double v : {5.0, 9.0, 7.0, 3.0}) s->AddValue(v);
        return s;
    }
    // The editor the series names, bound to it and shown.
    template <class E>
    std::unique_ptr<E> Open(TChartSeries* series) {
        auto editor = cbtest::OpenEditor<E>(series->EditorClassName(), TEditedObject::Element(series));
        if (editor) QTest::qWaitForWindowExposed(editor.get());
        return editor;
    }
};

using SeriesEditors = Fixture;

TEST_F(SeriesEditors, EachSeriesFindsItsEditorByTheNameItAnswers) {
    struct Case {
        TChartSeries* series;
        const char* editor;
    };
    const Case cases[] = {{Add<TLineSeries>(), "TCustomSeriesEditor"},
                          {Add<TPointSeries>(), "TSeriesPointerEditor"},
                          {Add<TBarSeries>(), "TBarSeriesEditor"},
                          {Add<TPieSeries>(), "TPieSeriesEditor"},
                          {Add<TAreaSeries>(), "TAreaSeriesEditor"},
                          {Add<TFastLineSeries>(), "TFastLineSeriesEditor"},
                          {chart->CreateSeries<TChartShape>(), "TChartShapeEditor"},
                          {chart->CreateSeries<TGanttSeries>(), "TGanttSeriesEditor"},
                          {chart->CreateSeries<TArrowSeries>(), "TArrowSeriesEditor"},
                          {chart->CreateSeries<TBubbleSeries>(), "TBubbleSeriesEditor"}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.series->EditorClassName(), c.editor);
        EXPECT_NE(CreateEditorByName(c.series->EditorClassName(), nullptr), nullptr) << c.editor;
    }
    // The stacking and circled pages are registered for the hosts that add them.
    EXPECT_TRUE(IsEditorClassRegistered("TStackBarSeriesEditor"));
    EXPECT_TRUE(IsEditorClassRegistered("TCircledSeriesEditor"));
}

TEST_F(SeriesEditors, LineEditorWritesEachControlToTheSeries) {
    auto* s = Add<TLineSeries>();
    auto e = Open<TCustomSeriesEditor>(s);
    ASSERT_TRUE(e);
    cbtest::Screenshot(e.get(), "editor-line");
    Click(e->CBColorEach);
    EXPECT_TRUE(s->ColorEachPoint());
    Choose(e->CBStack, 2);
    EXPECT_EQ(s->Stacked(), cssStack);
    Click(e->CBClick);
    EXPECT_EQ(s->ClickableLine(), e->CBClick->isChecked());
    Click(e->CheckBox1);
    EXPECT_EQ(s->ColorEachLine(), e->CheckBox1->isChecked());
    EXPECT_FALSE(e->CBInvStairs->isEnabled());
    Click(e->CBStairs);
    EXPECT_TRUE(s->Stairs());
    EXPECT_TRUE(e->CBInvStairs->isEnabled());
    Click(e->CBInvStairs);
    EXPECT_TRUE(s->InvertedStairs());
    Click(e->CBDark3D);
    EXPECT_EQ(s->Dark3D(), e->CBDark3D->isChecked());
    Type(e->EHeight, "42");
    EXPECT_EQ(s->LineHeight(), 42);
    cbtest::ChooseColorInNextDialog(0x00FF00);
    Click(e->BLineColor);
    EXPECT_EQ(s->SeriesColor(), TColor(0x00FF00));
}

TEST_F(SeriesEditors, LineEditorLoadsWithoutWritingBack) {
    auto* s = Add<TLineSeries>();
    s->SetStairs(true);
    s->SetLineHeight(17);
    s->SetStacked(cssOverlap);
    auto e = Open<TCustomSeriesEditor>(s);
    EXPECT_TRUE(e->CBStairs->isChecked());
    EXPECT_EQ(e->EHeight->value(), 17);
    EXPECT_EQ(e->CBStack->currentIndex(), int(cssOverlap));
    EXPECT_TRUE(e->CBInvStairs->isEnabled());
    EXPECT_EQ(s->LineHeight(), 17);
}

TEST_F(SeriesEditors, PointerEditorVisibilityDefaultColourAnd3D) {
    auto* s = Add<TPointSeries>();
    chart->SetView3D(false);
    auto e = Open<TSeriesPointerEditor>(s);
    ASSERT_TRUE(e);
    cbtest::Screenshot(e.get(), "editor-pointer");
    TSeriesPointer& p = s->Pointer();
    // 2D: no 3D box for any style.
    EXPECT_FALSE(e->CB3dPoint->isEnabled());
    EXPECT_TRUE(e->CBColorEach->isVisible());

    Choose(e->CBStyle, int(psStar));
    EXPECT_EQ(p.Style(), psStar);
    StepUp(e->SEPointHorizSize);
    EXPECT_EQ(p.HorizSize(), e->SEPointHorizSize->value());
    StepUp(e->SEPointVertSize);
    EXPECT_EQ(p.VertSize(), e->SEPointVertSize->value());
    Click(e->CBInflate);
    EXPECT_EQ(p.InflateMargins(), e->CBInflate->isChecked());
    Click(e->CBColorEach);
    EXPECT_TRUE(s->ColorEachPoint());

    // Default ticked: pointer and border follow the series colour; unticked,
    // the border is black.
    if (e->CBDefBrushColor->isChecked()) Click(e->CBDefBrushColor);
    Click(e->CBDefBrushColor);
    EXPECT_EQ(p.GetBrushColor(), clDefault);
    EXPECT_EQ(p.Pen().Color(), clDefault);
    Click(e->CBDefBrushColor);
    EXPECT_EQ(p.Pen().Color(), clBlack);

    // Not visible: every pointer control but "Color Each" is disabled.
    Click(e->CBDrawPoint);
    EXPECT_FALSE(p.Visible());
    for (QWidget* w :
         std::initializer_list<QWidget*>{e->CB3dPoint, e->CBPoDark, e->CBInflate, e->SEPointHorizSize,
                                         e->SEPointVertSize, e->CBStyle, e->CBDefBrushColor, e->BPoinPenCol})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(e->CBColorEach->isEnabled());
}

TEST_F(SeriesEditors, PointerEditorOffers3DOnlyForSomeStylesIn3D) {
    auto* s = Add<TPointSeries>();
    chart->SetView3D(true);
    auto e = Open<TSeriesPointerEditor>(s);
    const struct {
        TSeriesPointerStyle style;
        bool has3D;
    } cases[] = {{psRectangle, true},    {psCircle, false},  {psTriangle, true},
                 {psDownTriangle, true}, {psDiamond, false}, {psStar, false}};
    for (const auto& c : cases) {
        Choose(e->CBStyle, int(c.style));
        EXPECT_EQ(e->CB3dPoint->isEnabled(), c.has3D) << int(c.style);
    }
    Choose(e->CBStyle, int(psRectangle));
    if (!e->CB3dPoint->isChecked()) Click(e->CB3dPoint);
    EXPECT_TRUE(s->Pointer().Draw3D());
    EXPECT_TRUE(e->CBPoDark->isEnabled());
    Click(e->CBPoDark);
    EXPECT_EQ(s->Pointer().Dark3D(), e->CBPoDark->isChecked());
}

TEST_F(SeriesEditors, PointerEditorOnAPointerAlone) {
    auto* s = Add<TLineSeries>();
    auto e = std::make_unique<TSeriesPointerEditor>();
    e->BindObject(TEditedObject::Part(&s->Pointer(), s));
    e->show();
    EXPECT_FALSE(e->CBColorEach->isVisible());
    // A line series starts with its pointer hidden.
    EXPECT_FALSE(e->CBStyle->isEnabled());
    Click(e->CBDrawPoint);
    EXPECT_TRUE(s->Pointer().Visible());
    Choose(e->CBStyle, int(psDiamond));
    EXPECT_EQ(s->Pointer().Style(), psDiamond);
    e->HideSizeControls();
    EXPECT_FALSE(e->SEPointHorizSize->isVisible());
    EXPECT_FALSE(e->Label2->isVisible());
}

TEST_F(SeriesEditors, BarEditorStylesSizesAndColour) {
    auto* s = Add<TBarSeries>();
    auto e = Open<TBarSeriesEditor>(s);
    ASSERT_TRUE(e);
    cbtest::Screenshot(e.get(), "editor-bar");
    // Bevel size only for the bevel style.
    Choose(e->CBBarStyle, int(bsBevel));
    EXPECT_EQ(s->BarStyle(), bsBevel);
    EXPECT_TRUE(e->EBevel->isEnabled());
    Type(e->EBevel, "7");
    EXPECT_EQ(s->BevelSize(), 7);
    Choose(e->CBBarStyle, int(bsPyramid));
    EXPECT_EQ(s->BarStyle(), bsPyramid);
    EXPECT_FALSE(e->EBevel->isEnabled());

    struct SpinCase {
        QSpinBox* box;
        int (TCustomBarSeries::*get)() const;
    };
    for (const SpinCase& c : {SpinCase{e->SEBarwidth, &TCustomBarSeries::BarWidthPercent},
                              SpinCase{e->SEBarOffset, &TCustomBarSeries::OffsetPercent},
                              SpinCase{e->Edit1, &TCustomBarSeries::DepthPercent}}) {
        const int before = (s->*c.get)();
        StepUp(c.box);
        EXPECT_EQ((s->*c.get)(), std::min(before + c.box->singleStep(), c.box->maximum()))
            << c.box->objectName().toStdString();
    }
    struct CheckCase {
        QCheckBox* box;
        bool (TCustomBarSeries::*get)() const;
    };
    for (const CheckCase& c : {CheckCase{e->CBDarkBar, &TCustomBarSeries::Dark3D},
                               CheckCase{e->CBBarSideMargins, &TCustomBarSeries::SideMargins},
                               CheckCase{e->CBMarksAutoPosition, &TCustomBarSeries::AutoMarkPosition}}) {
        Click(c.box);
        EXPECT_EQ((s->*c.get)(), c.box->isChecked()) << c.box->objectName().toStdString();
    }
    EXPECT_TRUE(e->BBarColor->isEnabled());
    Click(e->CBColorEach);
    EXPECT_TRUE(s->ColorEachPoint());
    EXPECT_FALSE(e->BBarColor->isEnabled());
}

TEST_F(SeriesEditors, StackPageGroupOnlyWhenStackedAndOriginTolerantOfTyping) {
    auto* s = Add<TBarSeries>();
    auto e = std::make_unique<TStackBarSeriesEditor>();
    e->BindObject(TEditedObject::Element(s));
    e->show();
    cbtest::Screenshot(e.get(), "editor-bar-stack");
    const struct {
        TMultiBar mode;
        bool group;
    } cases[] = {{mbNone, false},      {mbSide, false},    {mbStacked, true},
                 {mbStacked100, true}, {mbSideAll, false}, {mbSelfStack, false}};
    for (const auto& c : cases) {
        Click(e->RGMultiBar[int(c.mode)]);
        EXPECT_EQ(s->MultiBar(), c.mode);
        EXPECT_EQ(e->EGroup->isEnabled(), c.group) << int(c.mode);
    }
    Click(e->RGMultiBar[int(mbStacked)]);
    StepUp(e->EGroup);
    EXPECT_EQ(s->StackGroup(), 1);

    // The origin box follows "Use Origin" both ways.
    for (int k = 0; k < 2; ++k) {
        Click(e->CBYOrigin);
        EXPECT_EQ(s->UseYOrigin(), e->CBYOrigin->isChecked());
        EXPECT_EQ(e->EYOrigin->isEnabled(), e->CBYOrigin->isChecked());
    }
    if (!e->CBYOrigin->isChecked()) Click(e->CBYOrigin);
    ASSERT_TRUE(e->EYOrigin->isEnabled());
    Type(e->EYOrigin, "12.5");
    EXPECT_EQ(s->YOrigin(), 12.5);
    // Partial input on the way to a number keeps the last value.
    for (const char* partial : {"", "-", "-e", "abc"}) {
        EXPECT_NO_THROW(Type(e->EYOrigin, partial)) << partial;
        EXPECT_EQ(s->YOrigin(), 12.5) << partial;
    }
}

TEST_F(SeriesEditors, PieEditorOptionsOtherSliceAndColour) {
    chart->SetView3D(true);
    auto* s = Add<TPieSeries>();
    auto e = Open<TPieSeriesEditor>(s);
    ASSERT_TRUE(e);
    cbtest::Screenshot(e.get(), "editor-pie");
    EXPECT_TRUE(e->CBDark3d->isEnabled());
    Click(e->CBDark3d);
    EXPECT_EQ(s->Dark3D(), e->CBDark3d->isChecked());
    Click(e->CBPatterns);
    EXPECT_TRUE(s->UsePatterns());
    Click(e->CBMarksAutoPosition);
    EXPECT_EQ(s->AutoMarkPosition(), e->CBMarksAutoPosition->isChecked());
    StepUp(e->SEExpBig);
    EXPECT_EQ(s->ExplodeBiggest(), 5);
    Type(e->Edit1, "180");
    EXPECT_EQ(s->AngleSize(), 180);
    StepUp(e->Edit2);
    EXPECT_EQ(s->DarkPen(), e->Edit2->value());
    Choose(e->CBMultiple, 1);
    EXPECT_EQ(s->MultiPie(), mpDisabled);

    EXPECT_FALSE(e->EOtherValue->isEnabled());
    Choose(e->CBOther, 2);
    EXPECT_EQ(s->OtherSlice().Style(), poBelowValue);
    ASSERT_TRUE(e->EOtherValue->isEnabled());
    Type(e->EOtherValue, "4.5");
    EXPECT_EQ(s->OtherSlice().Value(), 4.5);
    for (const char* partial : {"", "-", "-e", "x"}) {
        EXPECT_NO_THROW(Type(e->EOtherValue, partial)) << partial;
        EXPECT_EQ(s->OtherSlice().Value(), 4.5) << partial;
    }
    Type(e->EOtherLabel, "Rest");
    EXPECT_EQ(s->OtherSlice().Text(), "Rest");

    Click(e->CBColorEach);
    EXPECT_EQ(s->ColorEachPoint(), e->CBColorEach->isChecked());
    EXPECT_EQ(e->BColor->isEnabled(), !s->ColorEachPoint());
}

TEST_F(SeriesEditors, CircledPageRadiiAutoAndTransparentBackground) {
    auto* s = Add<TPieSeries>();
    s->SetCircleBackColor(0x00FFFF);
    auto e = std::make_unique<TCircledSeriesEditor>();
    e->BindObject(TEditedObject::Element(s));
    e->show();
    cbtest::Screenshot(e.get(), "editor-circled");
    // A background colour of its own: "Transparent" unticked and enabled;
    // ticking it clears the colour and disables the box.
    EXPECT_FALSE(e->CBTransp->isChecked());
    EXPECT_TRUE(e->CBTransp->isEnabled());
    Click(e->CBTransp);
    EXPECT_FALSE(s->HasCircleBackColor());
    EXPECT_FALSE(e->CBTransp->isEnabled());

    Type(e->Edit2, "50");
    EXPECT_EQ(s->CustomXRadius(), 50);
    EXPECT_FALSE(e->CBAutoXR->isChecked());
    Type(e->Edit2, "0");
    EXPECT_EQ(s->CustomXRadius(), 0);
    EXPECT_TRUE(e->CBAutoXR->isChecked());
    Type(e->Edit3, "60");
    Click(e->CBAutoYR);
    EXPECT_EQ(s->CustomYRadius(), 0);
    EXPECT_EQ(e->Edit3->value(), 0);

    Type(e->Edit1, "90");
    EXPECT_EQ(s->RotationAngle(), 90);
    const bool circled = s->Circled();
    Click(e->CBCircled);
    EXPECT_EQ(s->Circled(), !circled);
    const bool was3D = chart->View3D();
    Click(e->CB3D);
    EXPECT_EQ(chart->View3D(), !was3D);
}

TEST_F(SeriesEditors, AreaEditorWritesEachControl) {
    auto* s = Add<TAreaSeries>();
    auto e = Open<TAreaSeriesEditor>(s);
    ASSERT_TRUE(e);
    cbtest::Screenshot(e.get(), "editor-area");
    Click(e->RGMultiArea[int(maStacked)]);
    EXPECT_EQ(s->MultiArea(), maStacked);
    Click(e->CBColorEach);
    EXPECT_TRUE(s->ColorEachPoint());
    EXPECT_FALSE(e->BAreaColor->isEnabled());
    EXPECT_FALSE(e->CBInvStairs->isEnabled());
    Click(e->CBStairs);
    EXPECT_TRUE(s->Stairs());
    Click(e->CBInvStairs);
    EXPECT_TRUE(s->InvertedStairs());
    if (s->UseYOrigin()) Click(e->CBUseOrigin);
    EXPECT_FALSE(e->EOrigin->isEnabled());
    Click(e->CBUseOrigin);
    EXPECT_TRUE(s->UseYOrigin());
    Type(e->EOrigin, "-250");
    EXPECT_EQ(s->YOrigin(), -250);
    Type(e->ETransp, "30");
    EXPECT_EQ(s->GetTransparency(), 30);
}

TEST_F(SeriesEditors, FastLineEditorPenAndBoxes) {
    auto* s = Add<TFastLineSeries>();
    auto e = Open<TFastLineSeriesEditor>(s);
    ASSERT_TRUE(e);
    cbtest::Screenshot(e.get(), "editor-fastline");
    EXPECT_FALSE(e->PenPart->BOk->isVisible());
    for (QCheckBox* box : {e->CBDrawAll, e->CBStairs, e->CBInvStairs, e->CBNulls}) Click(box);
    EXPECT_EQ(s->DrawAllPoints(), e->CBDrawAll->isChecked());
    EXPECT_TRUE(s->Stairs());
    EXPECT_TRUE(s->InvertedStairs());
    EXPECT_EQ(s->IgnoreNulls(), e->CBNulls->isChecked());
    // The pen part edits the line pen; its colour becomes the series colour.
    Type(e->PenPart->SEWidth, "3");
    EXPECT_EQ(s->LinePen().Width(), 3);
    cbtest::ChooseColorInNextDialog(0x808000);
    Click(e->PenPart->BColor);
    EXPECT_EQ(s->LinePen().Color(), TColor(0x808000));
    EXPECT_EQ(s->SeriesColor(), TColor(0x808000));
}

TEST_F(SeriesEditors, GanttArrowAndBubbleEditors) {
    auto* gantt = chart->CreateSeries<TGanttSeries>();
    gantt->AddTask(1, 5, 1);
    auto g = Open<TGanttSeriesEditor>(gantt);
    ASSERT_TRUE(g);
    cbtest::Screenshot(g.get(), "editor-gantt");
    Type(g->SEPointVertSize, "12");
    EXPECT_EQ(gantt->Pointer().VertSize(), 12);
    Type(g->Edit1, "40");
    EXPECT_EQ(gantt->GetTransparency(), 40);
    Click(g->CBColorEach);
    EXPECT_EQ(gantt->ColorEachPoint(), g->CBColorEach->isChecked());
    EXPECT_EQ(g->BColor->isEnabled(), !gantt->ColorEachPoint());

    auto* arrow = chart->CreateSeries<TArrowSeries>();
    auto a = Open<TArrowSeriesEditor>(arrow);
    ASSERT_TRUE(a);
    cbtest::Screenshot(a.get(), "editor-arrow");
    Type(a->SEArrowWidth, "20");
    EXPECT_EQ(arrow->ArrowWidth(), 20);
    Type(a->SEArrowHeight, "9");
    EXPECT_EQ(arrow->ArrowHeight(), 9);
    arrow->Pointer().SetBrushColor(0x0000FF);
    Click(a->CBColorEach);
    EXPECT_TRUE(arrow->ColorEachPoint());
    EXPECT_EQ(arrow->Pointer().GetBrushColor(), clDefault);
    EXPECT_FALSE(a->BArrowColor->isEnabled());

    auto* bubble = chart->CreateSeries<TBubbleSeries>();
    auto b = Open<TBubbleSeriesEditor>(bubble);
    ASSERT_TRUE(b);
    cbtest::Screenshot(b.get(), "editor-bubble");
    EXPECT_FALSE(b->CBDrawPoint->isVisible());
    StepUp(b->Edit1);
    EXPECT_EQ(bubble->GetTransparency(), 5);
    Choose(b->CBStyle, int(psCircle));
    EXPECT_EQ(bubble->Pointer().Style(), psCircle);
}

TEST_F(SeriesEditors, ShapeEditorStylePositionAndText) {
    chart->SetView3D(false);
    auto* s = chart->CreateSeries<TChartShape>();
    s->SetShapeStyle(chasRectangle);
    s->SetX0(10);  // a new shape has its two points
    s->SetY0(20);
    s->SetX1(30);
    s->SetY1(40);
    auto e = Open<TChartShapeEditor>(s);
    ASSERT_TRUE(e);
    cbtest::Screenshot(e.get(), "editor-shape");
    EXPECT_EQ(e->SEX1->text(), "30");
    EXPECT_TRUE(e->CBRound->isEnabled());
    Click(e->CBRound);
    EXPECT_TRUE(s->RoundRectangle());
    Choose(e->CBStyle, int(chasCircle));
    EXPECT_EQ(s->ShapeStyle(), chasCircle);
    EXPECT_FALSE(e->CBRound->isEnabled());
    Click(e->CBTrans);
    EXPECT_TRUE(s->Transparent());
    e->MemoText->setFocus();
    QTest::keyClicks(e->MemoText, "Hi");
    EXPECT_EQ(s->Text(), std::vector<std::string>{"Hi"});
    Choose(e->RGAlign, 2);
    EXPECT_EQ(s->Alignment(), taRightJustify);
    Choose(e->RGVertAlign, 0);
    EXPECT_EQ(s->VertAlign(), vaTop);
    Choose(e->CBUnits, 0);
    EXPECT_EQ(s->XYStyle(), xysPixels);
    e->findChild<QTabWidget*>()->setCurrentIndex(1);
    Type(e->SEX0, "15");
    EXPECT_EQ(s->X0(), 15);
    Type(e->SEY1, "-");  // partial: nothing written
    EXPECT_EQ(s->Y1(), 40);
}

TEST_F(SeriesEditors, ShapeWithThreePointsLeavesThePositionEditsEmpty) {
    auto* s = chart->CreateSeries<TChartShape>();
    s->AddPoint(50, 50);  // a third point beside the two it starts with
    auto e = Open<TChartShapeEditor>(s);
    for (QLineEdit* edit : {e->SEX0, e->SEY0, e->SEX1, e->SEY1}) EXPECT_TRUE(edit->text().isEmpty());
    e->findChild<QTabWidget*>()->setCurrentIndex(1);
    EXPECT_NO_THROW(Type(e->SEX0, "5"));
    EXPECT_EQ(s->XValues().Value(0), 0.0);
}

TEST(TypedNumbers, PartialOrBadInputIsNoNumber) {
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {{"", false, 0},       {"-", false, 0},   {"1e", false, 0},  {"1e3", true, 1000}, {" 2.5 ", true, 2.5},
                 {"-0.5", true, -0.5}, {"nan", false, 0}, {"inf", false, 0}, {"1e999", false, 0}, {"12abc", false, 0}};
    for (const auto& c : cases) {
        double v = 0;
        EXPECT_EQ(ParseDecimal(QString(c.text), v), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(v, c.value) << c.text;
    }
}

}  // namespace

namespace {

// Each style button opens its dialog on the right object; what the dialog
// changes stays.
TEST_F(SeriesEditors, PenButtonsEditTheirSeriesOwnPens) {
    auto* area = Add<TAreaSeries>();
    auto* bar = Add<TBarSeries>();
    auto* pie = Add<TPieSeries>();
    auto* gantt = chart->CreateSeries<TGanttSeries>();
    gantt->AddTask(1, 5, 1);
    auto* arrow = chart->CreateSeries<TArrowSeries>();
    arrow->AddArrowPoint(1, 2, 3, 4);
    auto* shape = chart->CreateSeries<TChartShape>();
    auto areaEditor = Open<TAreaSeriesEditor>(area);
    auto barEditor = Open<TBarSeriesEditor>(bar);
    auto pieEditor = Open<TPieSeriesEditor>(pie);
    auto ganttEditor = Open<TGanttSeriesEditor>(gantt);
    auto arrowEditor = Open<TArrowSeriesEditor>(arrow);
    auto shapeEditor = Open<TChartShapeEditor>(shape);
    ASSERT_TRUE(areaEditor && barEditor && pieEditor && ganttEditor && arrowEditor && shapeEditor);
    const struct {
        TButtonPen* button;
        cb::gfx::TPen* pen;
    } cases[] = {
        {areaEditor->BAreaLinesPen, &area->AreaLinesPen()},
        {areaEditor->BAreaLinePen, &area->LinePen()},
        {barEditor->BBarPen, &bar->BarPen()},
        {barEditor->BTickLines, &bar->TickLines()},
        {pieEditor->BPen, &pie->PiePen()},
        {ganttEditor->BConnLines, &gantt->ConnectingPen()},
        {arrowEditor->BPen, &arrow->Pointer().Pen()},
        {shapeEditor->BShapePen, &shape->Pen()},
    };
    for (const auto& c : cases) EXPECT_EQ(c.button->Pen(), c.pen) << c.button->objectName().toStdString();
}

TEST_F(SeriesEditors, StyleButtonsOpenTheirDialogs) {
    auto* line = Add<TLineSeries>();
    auto* bar = Add<TBarSeries>();
    auto* pie = Add<TPieSeries>();
    auto* point = Add<TPointSeries>();
    auto lineEditor = Open<TCustomSeriesEditor>(line);
    auto barEditor = Open<TBarSeriesEditor>(bar);
    auto pieEditor = Open<TPieSeriesEditor>(pie);
    auto pointEditor = Open<TSeriesPointerEditor>(point);
    auto areaEditor = Open<TAreaSeriesEditor>(Add<TAreaSeries>());
    auto shapeEditor = Open<TChartShapeEditor>(chart->CreateSeries<TChartShape>());
    ASSERT_TRUE(lineEditor && barEditor && pieEditor && pointEditor && areaEditor && shapeEditor);
    const struct {
        QPushButton* button;
        const char* dialogClass;
    } cases[] = {
        {lineEditor->BBrush, "cb::charteditors::TBrushDialog"},
        {lineEditor->Button1, "cb::charteditors::TPlotShadowEditor"},
        {barEditor->BBarBrush, "cb::charteditors::TBrushDialog"},
        {pieEditor->BShadow, "cb::charteditors::TPlotShadowEditor"},
        {pieEditor->Button1, "cb::charteditors::TPlotGradientEditor"},
        {pointEditor->BPointFillColor, "cb::charteditors::TBrushDialog"},
        {pointEditor->BGradient, "cb::charteditors::TPlotGradientEditor"},
        {areaEditor->BPattern, "cb::charteditors::TBrushDialog"},
        {areaEditor->Button1, "cb::charteditors::TBrushDialog"},
        {shapeEditor->BShapeBrush, "cb::charteditors::TBrushDialog"},
        {shapeEditor->Button1, "cb::charteditors::TPlotGradientEditor"},
    };
    for (const auto& c : cases) {
        QString opened;
        cbtest::OnNextModal([&](QWidget* w) {
            opened = w->metaObject()->className();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        ASSERT_TRUE(c.button->isEnabled()) << c.button->objectName().toStdString();
        Click(c.button);
        EXPECT_EQ(opened.toStdString(), c.dialogClass) << c.button->objectName().toStdString();
    }
    // The bar's gradient is the gradient bar style's: choosing it switches.
    bar->SetBarStyle(bsRectangle);
    cbtest::OnNextModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    Click(barEditor->BGradient);
    EXPECT_EQ(bar->BarStyle(), bsRectGradient);
    EXPECT_EQ(barEditor->CBBarStyle->currentIndex(), int(bsRectGradient));
    Choose(barEditor->CBBarStyle, int(bsPyramid));
    EXPECT_FALSE(barEditor->BGradient->isEnabled());
}

// A colour chosen through a colour button lands in its own series' colour;
// a cancelled dialog leaves it.
TEST_F(SeriesEditors, ColourButtonsWriteTheirSeriesColour) {
    auto* area = Add<TAreaSeries>();
    auto* shape = chart->CreateSeries<TChartShape>();
    auto* pie = Add<TPieSeries>();
    auto areaEditor = Open<TAreaSeriesEditor>(area);
    auto shapeEditor = Open<TChartShapeEditor>(shape);
    auto circled = std::make_unique<TCircledSeriesEditor>();
    circled->BindObject(TEditedObject::Element(pie));
    circled->show();
    ASSERT_TRUE(areaEditor && shapeEditor);
    const struct {
        TColorButton* button;
        std::function<cb::gfx::TColor()> colour;
    } cases[] = {
        {areaEditor->BAreaColor, [&] { return area->SeriesColor(); }},
        {shapeEditor->BShapeColor, [&] { return shape->SeriesColor(); }},
        {circled->BBack, [&] { return pie->CircleBackColor(); }},
    };
    for (const auto& c : cases) {
        const std::string name = c.button->objectName().toStdString();
        ASSERT_TRUE(c.button->isEnabled()) << name;
        cbtest::ChooseColorInNextDialog(0x123456);
        Click(c.button);
        EXPECT_EQ(c.colour(), 0x123456u) << name;
        cbtest::CancelNextColorDialog();
        Click(c.button);
        EXPECT_EQ(c.colour(), 0x123456u) << name;
    }
}

}  // namespace
