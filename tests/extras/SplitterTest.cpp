#include "extras/KitSplitter.h"

#include <QHBoxLayout>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

using namespace cb::extras;
using cb::gfx::TColor;

namespace {

// A parent 600 x 400 with a pane at the left, the splitter and the rest.
struct LeftPane {
    QWidget form;
    QWidget* pane = new QWidget(&form);
    TKitSplitter* splitter = new TKitSplitter(&form);
    QWidget* rest = new QWidget(&form);
    std::vector<std::string> events;

    LeftPane() {
        form.resize(600, 400);
        pane->setGeometry(0, 0, 200, 400);
        splitter->move(200, 0);
        splitter->resize(10, 400);
        rest->setGeometry(210, 0, 390, 400);
        splitter->SetMinSize(30);
        splitter->OnMaximize = [this](TKitSplitter*) { events.push_back("max"); };
        splitter->OnMinimize = [this](TKitSplitter*) { events.push_back("min"); };
        splitter->OnRestore = [this](TKitSplitter*) { events.push_back("restore"); };
        splitter->OnClose = [this](TKitSplitter*) { events.push_back("close"); };
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    QPoint Grip() const { return splitter->ButtonRect().center(); }
};

// Presses at From, moves the pointer by Delta and releases it there; the
// splitter moves under the pointer meanwhile.
void Drag(TKitSplitter* s, QPoint From, QPoint Delta) {
    const QPoint target = s->mapToGlobal(From) + Delta;
    QTest::mousePress(s, Qt::LeftButton, {}, From);
    QMouseEvent move(QEvent::MouseMove, QPointF(s->mapFromGlobal(target)), QPointF(target), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(s, &move);
    QTest::mouseRelease(s, Qt::LeftButton, {}, s->mapFromGlobal(target));
}

// The columns of the upper arrow that hold arrow pixels, counted per column:
// the base is the longest column.
int ArrowBaseColumn(TKitSplitter* s) {
    const QImage img = s->grab().toImage();
    const QRgb arrow = cb::gfx::ToQColor(s->ArrowColor()).rgb();
    const QRect br = s->ButtonRect();
    int best = -1, bestCount = 0;
    for (int x = 0; x < img.width(); ++x) {
        int count = 0;
        for (int y = br.top(); y < br.top() + 20; ++y) count += img.pixel(x, y) == arrow;
        if (count > bestCount) best = x, bestCount = count;
    }
    return best;
}

int ArrowApexColumn(TKitSplitter* s) {
    const QImage img = s->grab().toImage();
    const QRgb arrow = cb::gfx::ToQColor(s->ArrowColor()).rgb();
    const QRect br = s->ButtonRect();
    for (int x = 0; x < img.width(); ++x) {
        int count = 0;
        for (int y = br.top(); y < br.top() + 20; ++y) count += img.pixel(x, y) == arrow;
        if (count == 1) return x;
    }
    return -1;
}

}  // namespace

TEST(Splitter, DefaultsOfTheConstruction) {
    TKitSplitter s;
    EXPECT_EQ(std::string(TKitSplitter::Version()), "TKitSplitter v2.03");
    EXPECT_TRUE(s.AllowDrag());
    EXPECT_TRUE(s.ShowButton());
    EXPECT_EQ(s.ButtonStyle(), bsNetscape);
    EXPECT_EQ(s.WindowsButtons(), unsigned(wbMin | wbMax | wbClose));
    EXPECT_EQ(s.ButtonWidthType(), btwPixels);
    EXPECT_EQ(s.ButtonWidth(), 100);
    EXPECT_EQ(s.ReadRestoreSize(), -1);
    EXPECT_EQ(s.Thickness(), 10);
    EXPECT_EQ(s.ArrowColor(), 0x800000u);
    EXPECT_EQ(s.ButtonHighlightColor(), 0xFFCFCFu);
    EXPECT_EQ(s.TextureColor1(), 0xFFFFFFu);
    EXPECT_EQ(s.TextureColor2(), 0x800000u);
    EXPECT_FALSE(s.Maximized() || s.Minimized() || s.Beveled() || s.AutoHighlightColor());

    s.SetButtonWidth(250);
    s.SetButtonWidthType(btwPercentage);
    EXPECT_EQ(s.ButtonWidth(), 100);
    s.SetButtonWidth(-5);
    EXPECT_EQ(s.ButtonWidth(), 0);
    s.SetAutoHighlightColor(true);
    EXPECT_EQ(s.ButtonHighlightColor(), KitAutoHighlightColor());
    s.SetAutoHighlightColor(false);
    EXPECT_EQ(s.ButtonHighlightColor(), 0xFFCFCFu);
}

TEST(Splitter, ClickOnTheGripCollapsesAndRestoresThePane) {
    LeftPane f;
    EXPECT_EQ(f.splitter->FindSizedControl(), f.pane);
    EXPECT_EQ(f.splitter->ReadRestoreSize(), 200);
    // Before the collapse the arrows point left: apex left of the base.
    EXPECT_LT(ArrowApexColumn(f.splitter), ArrowBaseColumn(f.splitter));

    std::filesystem::create_directories(std::string(CB_BIN_DIR) + "/../screenshots");
    f.form.grab().save(QString(CB_BIN_DIR) + "/../screenshots/splitter_open.png");

    QTest::mouseClick(f.splitter, Qt::LeftButton, {}, f.Grip());
    EXPECT_TRUE(f.splitter->Maximized());
    EXPECT_EQ(f.pane->width(), 30);
    EXPECT_EQ(f.splitter->x(), 30);
    EXPECT_EQ(f.events, std::vector<std::string>{"max"});
    EXPECT_GT(ArrowApexColumn(f.splitter), ArrowBaseColumn(f.splitter));
    f.form.grab().save(QString(CB_BIN_DIR) + "/../screenshots/splitter_collapsed.png");

    QTest::mouseClick(f.splitter, Qt::LeftButton, {}, f.Grip());
    EXPECT_FALSE(f.splitter->Maximized());
    EXPECT_EQ(f.pane->width(), 200);
    EXPECT_EQ(f.splitter->x(), 200);
    EXPECT_EQ(f.events, (std::vector<std::string>{"max", "restore"}));
}

TEST(Splitter, PressOnTheGripMovedSixPixelsIsADrag) {
    struct Case {
        int dx;
        bool click;
    } cases[] = {{5, true}, {-5, true}, {6, false}, {-20, false}};
    for (const auto& c : cases) {
        LeftPane f;
        Drag(f.splitter, f.Grip(), QPoint(c.dx, 0));
        EXPECT_EQ(f.splitter->Maximized(), c.click) << c.dx;
        EXPECT_EQ(f.pane->width(), c.click ? 30 : 200 + c.dx) << c.dx;
        EXPECT_EQ(f.splitter->ReadRestoreSize(), c.click ? 200 : 200 + c.dx) << c.dx;
    }
}

TEST(Splitter, DraggingToTheMinimumMaximizesAndOutAgainRestores) {
    LeftPane f;
    const QPoint bar(5, 350);  // off the grip
    Drag(f.splitter, bar, QPoint(-400, 0));
    EXPECT_TRUE(f.splitter->Maximized());
    EXPECT_EQ(f.pane->width(), 30);
    EXPECT_EQ(f.events, std::vector<std::string>{"max"});

    Drag(f.splitter, bar, QPoint(120, 0));
    EXPECT_FALSE(f.splitter->Maximized());
    EXPECT_EQ(f.pane->width(), 150);
    EXPECT_EQ(f.splitter->ReadRestoreSize(), 150);
    EXPECT_EQ(f.events, (std::vector<std::string>{"max", "restore"}));

    // The pane never takes the other side's last MinSize pixels.
    Drag(f.splitter, bar, QPoint(2000, 0));
    EXPECT_EQ(f.pane->width(), 600 - 10 - 30);
}

TEST(Splitter, MinimizeAfterMaximizeKeepsTheFirstRestoreSize) {
    LeftPane f;
    f.splitter->SetMaximized(true);
    EXPECT_EQ(f.pane->width(), 30);
    f.splitter->SetMinimized(true);
    EXPECT_FALSE(f.splitter->Maximized());
    EXPECT_TRUE(f.splitter->Minimized());
    EXPECT_EQ(f.pane->width(), 30);  // -3000 for a left pane
    EXPECT_EQ(f.splitter->ReadRestoreSize(), 200);
    f.splitter->SetMinimized(false);
    EXPECT_EQ(f.pane->width(), 200);
    EXPECT_EQ(f.events, (std::vector<std::string>{"max", "min", "restore"}));
}

TEST(Splitter, LoadingACollapsedFormKeepsItsSizes) {
    LeftPane f;
    f.splitter->BeginLoading();
    f.splitter->SetMaximized(true);
    f.splitter->WriteRestoreSize(150);
    f.splitter->Loaded();
    EXPECT_TRUE(f.splitter->Maximized());
    EXPECT_TRUE(f.splitter->StoresRestorePos());
    EXPECT_EQ(f.pane->width(), 200);
    EXPECT_EQ(f.splitter->ReadRestoreSize(), 150);
    EXPECT_TRUE(f.events.empty());
    f.splitter->SetMaximized(false);
    EXPECT_EQ(f.pane->width(), 150);
    EXPECT_FALSE(f.splitter->StoresRestorePos());
}

TEST(Splitter, ButtonRectangles) {
    struct Case {
        TKitAlign align;
        QSize size;
        TKitButtonStyle style;
        TKitButtonWidthType type;
        int width;
        bool beveled;
        QRect rect;
    } cases[] = {
        {kaTop, {500, 10}, bsNetscape, btwPercentage, 20, false, QRect(200, 1, 100, 8)},
        {kaLeft, {10, 400}, bsNetscape, btwPixels, 100, false, QRect(1, 150, 8, 100)},
        {kaLeft, {10, 400}, bsNetscape, btwPixels, 100, true, QRect(4, 150, 2, 100)},
        {kaLeft, {10, 400}, bsNetscape, btwPixels, 0, false, QRect()},
        {kaBottom, {500, 10}, bsWindows, btwPixels, 100, false, QRect(474, 1, 25, 8)},
        {kaLeft, {10, 400}, bsWindows, btwPixels, 100, false, QRect(1, 1, 8, 25)},
    };
    for (const auto& c : cases) {
        QWidget parent;
        TKitSplitter s(&parent);
        s.SetAlign(c.align);
        s.SetButtonStyle(c.style);
        s.SetButtonWidthType(c.type);
        s.SetButtonWidth(c.width);
        s.SetBeveled(c.beveled);
        s.resize(c.size);
        EXPECT_EQ(s.ButtonRect(), c.rect) << c.align << " " << c.style << " " << c.beveled;
    }
}

TEST(Splitter, NoButtonWhenHiddenOrDisabled) {
    LeftPane f;
    const QPoint grip = f.Grip();
    const int frame = f.splitter->ButtonRect().left();
    const QRgb face = cb::gfx::ToQColor(f.splitter->Color()).rgb();
    auto gripPixel = [&] { return f.splitter->grab().toImage().pixel(frame, grip.y()); };
    EXPECT_NE(gripPixel(), face);
    f.splitter->setEnabled(false);
    EXPECT_EQ(gripPixel(), face);
    f.splitter->setEnabled(true);
    f.splitter->SetShowButton(false);
    EXPECT_EQ(gripPixel(), face);
    EXPECT_TRUE(f.splitter->ButtonRect().isEmpty());
    QTest::mouseClick(f.splitter, Qt::LeftButton, {}, grip);
    EXPECT_FALSE(f.splitter->Maximized());
}

TEST(Splitter, CaptionButtonsOfABottomBar) {
    QWidget form;
    form.resize(500, 400);
    auto* top = new QWidget(&form);
    top->setGeometry(0, 0, 500, 290);
    auto* s = new TKitSplitter(&form);
    s->SetAlign(kaBottom);
    s->setGeometry(0, 290, 500, 10);
    auto* chart = new QWidget(&form);
    chart->setGeometry(0, 300, 500, 100);
    s->SetButtonStyle(bsWindows);
    s->SetWindowsButtons(wbMax | wbClose);
    int closed = 0;
    s->OnClose = [&](TKitSplitter*) { ++closed; };
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect br = s->ButtonRect();  // two squares of 8 at the right end
    const QPoint maxButton(br.left() + 3, br.center().y()), closeButton(br.right() - 2, br.center().y());
    EXPECT_EQ(s->CaptionButtonAt(maxButton.x(), maxButton.y()), wbMax);
    EXPECT_EQ(s->CaptionButtonAt(closeButton.x(), closeButton.y()), wbClose);
    EXPECT_EQ(s->CaptionButtonAt(5, 5), wbMin);

    QTest::mouseClick(s, Qt::LeftButton, {}, closeButton);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(s->Maximized());
    QTest::mouseClick(s, Qt::LeftButton, {}, maxButton);
    EXPECT_TRUE(s->Maximized());
    EXPECT_EQ(chart->height(), 400 - 10 - 30);  // +3000 for a bottom pane
    EXPECT_EQ(top->height(), 30);
    QTest::mouseClick(s, Qt::LeftButton, {}, s->ButtonRect().topLeft() + QPoint(3, 3));
    EXPECT_FALSE(s->Maximized());
    EXPECT_EQ(chart->height(), 100);
    EXPECT_EQ(top->height(), 290);
}

TEST(Splitter, PaneInALayoutGetsAFixedWidth) {
    QWidget form;
    form.resize(600, 300);
    auto* layout = new QHBoxLayout(&form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* pane = new QWidget;
    pane->setFixedWidth(180);
    auto* s = new TKitSplitter;
    layout->addWidget(pane);
    layout->addWidget(s);
    layout->addWidget(new QWidget, 1);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(s->x(), 180);
    QTest::mouseClick(s, Qt::LeftButton, {}, s->ButtonRect().center());
    EXPECT_TRUE(s->Maximized());
    EXPECT_EQ(pane->width(), 30);
    EXPECT_EQ(s->x(), 30);
    QTest::mouseClick(s, Qt::LeftButton, {}, s->ButtonRect().center());
    EXPECT_EQ(pane->width(), 180);
}

TEST(Splitter, GripLightsUpUnderThePointer) {
    LeftPane f;
    f.splitter->SetButtonCursor(Qt::PointingHandCursor);
    const QRect br = f.splitter->ButtonRect();
    const QPoint fillPixel(br.left() + 2, br.top() + 2);  // inside the frame and white lines
    auto fill = [&] { return f.splitter->grab().toImage().pixel(fillPixel); };
    const QRgb normal = fill();
    EXPECT_EQ(normal, cb::gfx::ToQColor(f.splitter->ButtonColor()).rgb());

    QTest::mouseMove(f.splitter, f.Grip());
    EXPECT_TRUE(f.splitter->Highlighted());
    EXPECT_EQ(fill(), cb::gfx::ToQColor(0xFFCFCF).rgb());
    EXPECT_EQ(f.splitter->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseMove(f.splitter, QPoint(5, 20));
    EXPECT_FALSE(f.splitter->Highlighted());
    EXPECT_EQ(fill(), normal);
    EXPECT_EQ(f.splitter->cursor().shape(), Qt::SplitHCursor);

    // Without dragging the bar shows the button cursor everywhere.
    f.splitter->SetAllowDrag(false);
    QTest::mouseMove(f.splitter, QPoint(5, 25));
    EXPECT_EQ(f.splitter->cursor().shape(), Qt::PointingHandCursor);
}
