// Annotation and rectangle tools: layout, drawing, callout, clicks, moving
// and resizing; the tool type registry.
#include "ChartTestSupport.h"

#include "chart/tools/AnnotationTool.h"
#include "chart/tools/ToolTypes.h"

#include <gtest/gtest.h>

using namespace cb::chart;
using charttest::TestChart;

namespace {

template <class T = TAnnotationTool>
T* AddTool(TestChart& t) {
    auto* tool = new T();
    tool->SetParentChart(&t.chart);  // the chart's tool list owns it
    return tool;
}

TEST(AnnotationTool, BoxInTheCornersAndAtCustomPositions) {
    TestChart t(400, 300);
    auto* a = AddTool(t);
    a->SetText("Hello\rWorld");
    TPoint o;
    TRect box = a->LayoutBox(&o);
    EXPECT_EQ(o.X, 10);
    EXPECT_EQ(o.Y, 10);
    EXPECT_EQ(box.Left, 6);
    EXPECT_EQ(box.Top, 8);
    t.Draw();
    t.Save("/tmp/chartseries_annotation.png");
    EXPECT_EQ(t.At(box.Left + 2, box.Bottom - 2), clWhite);  // the box fill
    EXPECT_GT(t.Count(clBlack, box), 20);                    // frame and text
    const int h = box.Bottom - box.Top;
    a->SetPosition(ppRightBottom);
    box = a->LayoutBox(&o);
    EXPECT_EQ(box.Bottom, 300 - 8 - 2 + 4);  // text at height - N x H - 8
    EXPECT_EQ(box.Bottom - box.Top, h);
    EXPECT_GT(box.Left, 300);
    // Left and Top place the box by hand; Position puts it back.
    a->Shape().SetLeft(100);
    a->Shape().SetTop(50);
    EXPECT_EQ(a->LayoutBox(&o).Left, 100);
    EXPECT_EQ(o.Y, 52);
    a->SetPositionUnits(muPercent);
    a->Shape().SetLeft(50);
    a->LayoutBox(&o);
    EXPECT_EQ(o.X, 200);
    a->SetPosition(ppLeftTop);
    EXPECT_EQ(a->LayoutBox().Left, 6);
    // An empty text still sizes the box for one blank line.
    a->SetText("");
    const TRect blank = a->LayoutBox();
    EXPECT_GT(blank.Right - blank.Left, 6);
    EXPECT_GT(blank.Bottom - blank.Top, 4);
    // A fixed size switches AutoSize off.
    a->SetWidth(120);
    EXPECT_FALSE(a->AutoSize());
    EXPECT_EQ(a->LayoutBox().Right - a->LayoutBox().Left, 120);
}

TEST(AnnotationTool, CalloutArrowEndsAtTheTarget) {
    TestChart t(400, 300);
    auto* a = AddTool(t);
    a->SetText("Note");
    const TRect box = a->LayoutBox();
    const int cx = (box.Left + box.Right) / 2;
    a->Callout().Arrow().Show();
    a->Callout().Arrow().SetColor(clRed);
    a->Callout().SetXPosition(cx);
    a->Callout().SetYPosition(200);
    a->Callout().SetDistance(10);
    t.Draw();
    // Straight down from the box's bottom to 10 pixels above the target.
    EXPECT_EQ(t.At(cx, box.Bottom + 20), clRed);
    EXPECT_EQ(t.At(cx, 188), clRed);
    EXPECT_NE(t.At(cx, 195), clRed);
}

TEST(AnnotationTool, ClicksOnTheBoxIncludingItsBorder) {
    TestChart t(400, 300);
    auto* a = AddTool(t);
    a->SetText("Click");
    const TRect box = a->LayoutBox();
    int clicks = 0;
    a->OnClick = [&](TAnnotationTool*, TPlotMouseButton, unsigned, int, int) { ++clicks; };
    a->HandleChartMouse(meDown, mbRight, 0, box.Right, box.Bottom);
    a->HandleChartMouse(meDown, mbLeft, 0, box.Right + 1, box.Bottom);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(a->Clicked(box.Left, box.Top));
}

TEST(RectangleTool, DragAndResize) {
    TestChart t(400, 300);
    auto* r = AddTool<TRectangleTool>(t);
    EXPECT_EQ(r->DescriptionText(), "Rectangle");
    ASSERT_EQ(r->LayoutBox().Left, 10);
    // Drag from the middle.
    r->HandleChartMouse(meDown, mbLeft, 0, 35, 35);
    EXPECT_TRUE(r->Dragging());
    EXPECT_TRUE(t.chart.CancelMouse());
    int dragged = 0;
    r->OnDragging = [&](TRectangleTool*) { ++dragged; };
    r->HandleChartMouse(meMove, mbLeft, 0, 45, 55);
    r->HandleChartMouse(meUp, mbLeft, 0, 45, 55);
    EXPECT_EQ(dragged, 1);
    EXPECT_EQ(r->Shape().Left(), 20);
    EXPECT_EQ(r->Shape().Top(), 30);
    EXPECT_EQ(r->Shape().Width(), 50);
    // Resize the left edge past the right one: it stops 3 pixels short.
    r->HandleChartMouse(meDown, mbLeft, 0, 21, 50);
    EXPECT_EQ(r->ResizingEdge(), 0);
    r->HandleChartMouse(meMove, mbLeft, 0, 200, 50);
    r->HandleChartMouse(meUp, mbLeft, 0, 200, 50);
    EXPECT_EQ(r->Shape().Left(), r->Shape().Bounds().Right - 3);
    // A right-button press neither drags nor resizes.
    r->HandleChartMouse(meDown, mbRight, 0, 68, 50);
    EXPECT_FALSE(r->Dragging());
    EXPECT_EQ(r->ResizingEdge(), -1);
}

TEST(ToolTypes, RegisterOnceUnregisterQuietly) {
    const int before = ToolTypes().Count();
    const TToolClass& a = ToolClassOf<TAnnotationTool>("TAnnotationTool");
    const TToolClass& r = ToolClassOf<TRectangleTool>("TRectangleTool");
    RegisterToolTypes({&a, &r, &a});
    EXPECT_EQ(ToolTypes().Count(), before + 2);
    UnregisterToolTypes({&r});
    UnregisterToolTypes({&r});
    EXPECT_EQ(ToolTypes().Count(), before + 1);
    UnregisterToolTypes({&a});
}

}  // namespace
