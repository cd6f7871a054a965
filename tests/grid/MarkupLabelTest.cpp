#include "grid/markup/MarkupLabel.h"
#include "grid/ExtStringGrid.h"
#include "grid/markup/HTMLHintWindow.h"
#include "grid/markup/MarkupText.h"
#include "tests/grid/GridTestSupport.h"

#include <QDesktopServices>
#include <QImage>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace cb::grid;
using namespace cb::grid::test;

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

struct Label : ::testing::Test {
    TMarkupLabel label;
    void SetUp() override {
        label.resize(400, 60);
        label.Color = cb::gfx::clWhite;
        label.Font().SetName("Arial");
        label.Font().SetSize(10);
        label.SetHTMLText("<a href=\"mailto:me@example.com\">mail</a> gap <a href=\"42\">num</a> gap "
                          "<a href=\"file:///etc/hosts\">file</a> <a href=\"https://example.com/x\">web</a>");
    }
    // Centre of the first run of dark or link-coloured pixels after x0 on the first line.
    QPoint LinkPoint(const char* word) {
        const std::string t = label.HTMLText();
        cb::gfx::TCanvas c;
        c.Font().Assign(label.Font());
        const std::string plain = HTMLToPlainTextOf(t);
        const size_t at = plain.find(word);
        const int x = 1 + c.TextWidth(plain.substr(0, at)) + c.TextWidth(word) / 2;
        return {x, c.TextMetrics().Height / 2};
    }
    static std::string HTMLToPlainTextOf(const std::string& t) {
        std::string out;
        bool tag = false;
        for (char ch : t) {
            if (ch == '<')
                tag = true;
            else if (ch == '>')
                tag = false;
            else if (!tag)
                out += ch;
        }
        return out;
    }
};

TEST_F(Label, ClicksOpenWebAndMailAndRaiseAnchorClickForOthers) {
    UrlRecorder rec;
    for (const char* scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::setUrlHandler(scheme, &rec, "open");
    std::vector<std::string> clicked;
    label.OnAnchorClick = [&](TMarkupLabel*, const std::string& a) { clicked.push_back(a); };
    for (const char* w : {"mail", "num", "file", "web"}) QTest::mouseClick(&label, Qt::LeftButton, {}, LinkPoint(w));
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(390, 50));  // no link
    for (const char* scheme : {"http", "https", "mailto", "file"}) QDesktopServices::unsetUrlHandler(scheme);
    ASSERT_EQ(rec.urls.size(), 2);
    EXPECT_EQ(rec.urls[0].toString().toStdString(), "mailto:me@example.com");
    EXPECT_EQ(rec.urls[1].toString().toStdString(), "https://example.com/x");
    EXPECT_EQ(clicked, (std::vector<std::string>{"42", "file:///etc/hosts"}));
}

TEST_F(Label, HoverCursorAndAnchorEvents) {
    std::vector<std::string> entered, exited;
    label.OnAnchorEnter = [&](TMarkupLabel*, const std::string& a) { entered.push_back(a); };
    label.OnAnchorExit = [&](TMarkupLabel*, const std::string& a) { exited.push_back(a); };
    label.SetHover(true);
    label.show();
    QTest::mouseMove(&label, LinkPoint("num"));
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(label.HoveredLink(), 2);
    QTest::mouseMove(&label, QPoint(390, 50));
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(entered, std::vector<std::string>{"42"});
    EXPECT_EQ(exited, std::vector<std::string>{""});
    EXPECT_EQ(label.HoveredLink(), -1);
}

TEST_F(Label, HintsAutoSizeAndInvisibleBlink) {
    label.AnchorHint = true;
    EXPECT_EQ(label.HintText(LinkPoint("num").x(), LinkPoint("num").y()), "42");
    label.OnAnchorHint = [](TMarkupLabel*, std::string& a) { a = "changed " + a; };
    EXPECT_EQ(label.HintText(LinkPoint("num").x(), LinkPoint("num").y()), "changed 42");
    label.HintShowFull = true;
    EXPECT_EQ(label.HintText(390, 50), "mail gap num gap file web");
    label.HTMLHint = true;
    EXPECT_EQ(label.HintText(390, 50), label.HTMLText());

    // Two lines of text join without a blank; the height follows the text
    // when sizing vertically, decided when the text changes.
    label.SetHTMLText("one\r\ntwo<br>three");
    EXPECT_EQ(label.HTMLText(), "onetwo<br>three");
    label.SetAutoSizing(true);
    cb::gfx::TCanvas c;
    c.Font().Assign(label.Font());
    EXPECT_EQ(label.height(), 2 * c.TextMetrics().Height + 6);
    const int h = label.height();
    label.grab();  // painting does not resize
    EXPECT_EQ(label.height(), h);

    label.SetAutoSizing(false);
    label.resize(200, 40);
    label.SetHTMLText("<blink>MMMMMMMM</blink>");
    QImage img = label.grab().toImage();
    int dark = 0;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y) dark += IsDark(Px(img, x, y));
    EXPECT_EQ(dark, 0);
}

TEST(HintWindow, SizeAndPlacementOnTheScreen) {
    THTMLHintWindow hint;
    const TRect m = hint.CalcHintRect(THTMLHintWindow::MaxHintWidth, "short <b>hint</b>");
    EXPECT_GT(m.Right, 0);
    const TRect screen{0, 0, 1000, 800};
    const struct {
        TRect At;
        TRect Want;
    } cases[] = {
        {{100, 100, 100, 100}, {100, 100, 100 + 50 + 16, 100 + 20 + 4}},
        {{990, 100, 990, 100}, {1000 - 66 - 2, 100, 1000 - 2, 124}},  // right edge
        {{100, 790, 100, 790}, {100, 800 - 24 - 2, 166, 800 - 2}},    // bottom edge
        {{-40, -30, -40, -30}, {0, 0, 66, 24}},                       // left and top edges
    };
    for (const auto& c : cases) {
        const TRect r = THTMLHintWindow::PlaceHint(c.At, 50, 20, screen);
        EXPECT_EQ(r.Left, c.Want.Left);
        EXPECT_EQ(r.Top, c.Want.Top);
        EXPECT_EQ(r.Right, c.Want.Right);
        EXPECT_EQ(r.Bottom, c.Want.Bottom);
    }

    TExtStringGrid grid;
    EXPECT_EQ(&grid.HintWindow(), &grid.HintWindow());  // one per grid

    hint.ActivateHint({10, 10, 10, 10}, "one short line");
    EXPECT_EQ(hint.width(), hint.TextWidth() + 16);
    EXPECT_EQ(hint.height(), hint.TextHeight() + 4);

    // A long hint wraps when measured and is painted with the same lines:
    // every line's text is visible, none cut by an ellipsis.
    std::string longText;
    for (int i = 0; i < 60; ++i) longText += "wordy ";
    hint.ActivateHint({0, 0, 0, 0}, longText);
    EXPECT_LE(hint.width(), THTMLHintWindow::MaxHintWidth + 16);
    EXPECT_GT(hint.TextHeight(), THTMLHintWindow::MaxHintWidth / 100);
    QImage img = hint.grab().toImage();
    int lastInkRow = -1;
    for (int y = 0; y < img.height() - 2; ++y)
        for (int x = 4; x < img.width() - 4; ++x)
            if (IsDark(Px(img, x, y))) lastInkRow = y;
    EXPECT_GT(lastInkRow, hint.TextHeight() / 2);  // more than the first line is drawn
}

}  // namespace

#include "MarkupLabelTest.moc"
