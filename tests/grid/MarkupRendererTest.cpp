#include "grid/markup/MarkupRenderer.h"
#include "grid/ExtStringGrid.h"
#include "grid/markup/HTMLControls.h"
#include "grid/markup/HTMLPicture.h"
#include "grid/markup/MarkupText.h"
#include "tests/grid/GridTestSupport.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/rtl/FileIO.h"
#include "platform/rtl/Strings.h"

using namespace cb::grid;
using namespace cb::grid::test;
using cb::gfx::TColor;

namespace {

struct Canvas {
    QImage Image{400, 200, QImage::Format_ARGB32_Premultiplied};
    QPainter Painter;
    cb::gfx::TCanvas C;
    Canvas() {
        Image.fill(Qt::white);
        Painter.begin(&Image);
        C.Attach(&Painter);
        C.Font().SetName("Arial");
        C.Font().SetSize(10);
        C.Font().SetColor(cb::gfx::clBlack);
    }
    THTMLRenderResult Render(const std::string& text, THTMLRenderInput in) {
        THTMLRenderResult out;
        RenderHTML(C, text, in, out);
        return out;
    }
    THTMLRenderResult Measure(const std::string& text, int width = 400, bool wrap = true) {
        THTMLRenderInput in;
        in.Rect = {0, 0, width, 0};
        in.MeasureOnly = true;
        in.WordWrap = wrap;
        return Render(text, in);
    }
    THTMLRenderResult Hit(const std::string& text, int x, int y, int width = 400) {
        THTMLRenderInput in;
        in.Rect = {0, 0, width, 200};
        in.HitTestOnly = true;
        in.Point = {x, y};
        return Render(text, in);
    }
    int Gh() { return C.TextMetrics().Height; }
};

TEST(MarkupText, ColoursEntitiesAndPlainText) {
    EXPECT_EQ(HTMLHexColor("#FF8000"), 0x0080FFu);
    EXPECT_EQ(HTMLHexColor("#ff8000"), HTMLHexColor("#FF8000"));
    EXPECT_EQ(HTMLColorByName("ClRed"), 0x0000FFu);
    EXPECT_EQ(HTMLColorByName("clBtnFace"), 0xFF00000Fu);
    EXPECT_EQ(HTMLColorByName("nosuch"), 0u);
    EXPECT_EQ(HTMLColor(""), cb::gfx::clNone);

    const struct {
        const char* In;
        const char* Out;
    } entities[] = {
        {"a&amp;b", "a&b"},
        {"&AMP;", "&"},
        {"&amp;quot;", "&quot;"},  // decoded once
        {"&amp;amp;amp;", "&amp;amp;"},
        {"&nbsp;|&NBSP;", " |&NBSP;"},
        {"&lt;b&gt;", "<b>"},
        {"&LT;", "&LT;"},
        {"&euro;&copy;&trade;", "\xE2\x82\xAC\xC2\xA9\xE2\x84\xA2"},
        {"R&D & &unknown;", "R&D & &unknown;"},
    };
    for (const auto& e : entities) EXPECT_EQ(DecodeEntities(e.In), e.Out) << e.In;

    EXPECT_EQ(HTMLToPlainText("<b>one</b><BR>two<hr>x"), "one\r\ntwo\r\nx");
    EXPECT_EQ(HTMLToPlainText("keep &amp; <i>x"), "keep &amp; x");
    EXPECT_EQ(HTMLToPlainText("a<b"), "a");
    EXPECT_EQ(EscapeHTML("<B>x</B> & \"q\""), "&lt;B&gt;x&lt;/B&gt; &amp; &quot;q&quot;");

    bool clean = false;
    EXPECT_EQ(HTMLReadInt(" -12px", &clean), -12);
    EXPECT_FALSE(clean);
    EXPECT_EQ(HTMLReadInt("$1F", &clean), 31);
    EXPECT_TRUE(clean);
    EXPECT_EQ(HTMLReadInt("0x10"), 16);
    EXPECT_EQ(HTMLReadInt("abc", &clean), 0);
    EXPECT_FALSE(clean);
}

TEST(MarkupRenderer, PlainTextOfTagsAndEntities) {
    Canvas c;
    const struct {
        const char* In;
        const char* Plain;
    } cases[] = {
        {"<b>bold</b> and <i>it</i>", "bold and it"},
        {"one<br>two", "one\rtwo"},
        {"one\r\ntwo", "one\rtwo"},
        {"A&amp;B", "A&B"},
        {"&amp;quot;", "&quot;"},
        {"x <#5> y", "x #5 y"},
        {"seen<z>hidden</z>", "seenhidden"},
        {"<font color=\"#FF0000\" size=\"3\">red</font>", "red"},
        {"unclosed <b", "unclosed "},
        {"a<", "a"},
        {"&lt;b&gt; stays text", "<b> stays text"},
        {"<a href=\"x\">link</a><unknown tag>!", "link!"},
    };
    for (const auto& e : cases) EXPECT_EQ(c.Measure(e.In).PlainText, e.Plain) << e.In;
}

TEST(MarkupRenderer, MeasuresTagsWrappingAndSizes) {
    Canvas c;
    const int gh = c.Gh();
    EXPECT_EQ(c.Measure("").Width, 0);
    EXPECT_EQ(c.Measure("").Height, gh);
    const int plain = c.Measure("Hello world").Width;
    EXPECT_GT(plain, 0);
    EXPECT_EQ(c.Measure("Hello world").Height, gh);
    EXPECT_GT(c.Measure("<b>Hello world</b>").Width, plain);
    EXPECT_EQ(c.Measure("<i></i>Hello <u>world</u>").Width, plain);
    // SIZE="3", SIZE=3 and 12 points alike; 7 is taken as points.
    const int s3 = c.Measure("<font size=\"3\">Hg</font>").Height;
    EXPECT_EQ(c.Measure("<font size=3>Hg</font>").Height, s3);
    EXPECT_EQ(c.Measure("<font size=\"12\">Hg</font>").Height, s3);
    EXPECT_GT(s3, gh);
    EXPECT_LT(c.Measure("<font size=\"7\">Hg</font>").Height, s3);
    // Lines: <BR>, and wrapping at blanks in a narrow rectangle.
    EXPECT_EQ(c.Measure("a<br>b<br>c").Height, 3 * gh);
    const THTMLRenderResult wrapped = c.Measure("alpha beta gamma delta", plain);
    EXPECT_GE(wrapped.Height, 2 * gh);
    EXPECT_LE(wrapped.Width, plain);
    EXPECT_EQ(c.Measure("alpha beta gamma delta", plain, false).Height, gh);
    // A word split by tags is not broken.
    const int word = c.Measure("abc<b>def</b>ghi").Width;
    EXPECT_EQ(c.Measure("abc<b>def</b>ghi", word / 2).Height, gh);
    // Trailing blank not counted.
    EXPECT_EQ(c.Measure("Hello ").Width, c.Measure("Hello").Width);
    // Hidden text takes no room.
    EXPECT_EQ(c.Measure("Hello<z> secret</z>").Width, c.Measure("Hello").Width);
}

TEST(MarkupRenderer, HitTestsLinksAndControls) {
    Canvas c;
    const int gh = c.Gh();
    const std::string two = "<a href=\"first\">AAAA</a> between <a href=\"mailto:x@y\">BBBB</a>";
    const int aw = c.Measure("<a href=\"first\">AAAA</a>").Width;
    const int bx = c.Measure("AAAA between ").Width;
    THTMLRenderResult r = c.Hit(two, 1 + aw / 2, gh / 2);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.HitTarget, "first");
    EXPECT_EQ(r.HitLink, 1);
    EXPECT_EQ(r.LinkCount, 2);
    EXPECT_EQ(r.HitLinkRect.Left, 1);
    EXPECT_EQ(r.HitLinkRect.Right, 1 + aw);
    EXPECT_FALSE(c.Hit(two, aw + 20, gh / 2).Hit);  // between the links
    r = c.Hit(two, bx + 5, gh / 2);
    EXPECT_EQ(r.HitTarget, "mailto:x@y");
    EXPECT_EQ(r.HitLink, 2);
    EXPECT_FALSE(c.Hit(two, 1 + aw / 2, gh * 3).Hit);  // below the text
    THTMLRenderInput focus;
    focus.Rect = {0, 0, 400, 200};
    focus.FocusLink = 1;  // 0-based
    EXPECT_EQ(c.Render(two, focus).FocusTarget, "mailto:x@y");

    // A link wrapping onto its second line: the rectangle covers that part.
    const int w = c.Measure("lead word x").Width;
    r = c.Hit("lead <a href=\"t\">word word</a>", 5, gh + gh / 2, w);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.HitTarget, "t");
    EXPECT_EQ(r.HitLinkRect.Left, 1);
    EXPECT_EQ(r.HitLinkRect.Top, gh);

    // Controls are hit outside links too.
    r = c.Hit("x <control type=\"EDIT\" id=\"e1\" value=\"v\" width=\"60\">", c.Measure("x ").Width + 20, gh / 2 + 2);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.HitTarget, "ctrl");
    EXPECT_EQ(r.ControlID, "e1");
    EXPECT_EQ(r.ControlType, "EDIT");
    EXPECT_EQ(r.ControlValue, "v");
    EXPECT_EQ(r.ControlRect.Right - r.ControlRect.Left, 60);
    // The label's variant has no controls.
    THTMLRenderInput in;
    in.Rect = {0, 0, 400, 200};
    in.HitTestOnly = true;
    in.Controls = false;
    in.Point = {20, gh / 2};
    EXPECT_FALSE(c.Render("<control type=\"EDIT\" id=\"e1\" width=\"60\">", in).Hit);
}

TEST(MarkupControls, SizesParseAndRewrite) {
    Canvas c;
    const int gh = c.Gh();
    const struct {
        const char* Tag;
        int W, H;
    } sizes[] = {
        {"<control type=\"edit\" id=\"a\" width=\"50\">", 50, gh + 6},
        {"<control type=\"COMBO\" id=\"a\" width=\"70\">", 70, 25},
        {"<control type=\"CHECK\" id=\"a\" width=\"70\">", 16, 16},
        {"<control type=\"RADIO\" id=\"a\" width=\"70\">", 16, 16},
        {"<control type=\"BUTTON\" id=\"a\" width=\"90\">", 90, 24},
        {"<control type=\"BUTTON\" id=\"a\" width=\"90px\">", HTMLControlDefaultWidth, 24},
        {"<control type=\"EDIT\" id=\"a\">", 0, gh},  // no WIDTH: ignored
    };
    for (const auto& s : sizes) {
        THTMLRenderResult r = c.Measure(s.Tag);
        EXPECT_EQ(r.Width, s.W) << s.Tag;
        EXPECT_EQ(r.Height, std::max(gh, s.H)) << s.Tag;
    }
    // A control wider than what is left moves to the next line.
    EXPECT_EQ(c.Measure("abc <control type=\"EDIT\" id=\"a\" width=\"100\">", 110).Height, gh + gh + 6);
    EXPECT_EQ(c.Measure("abc <control type=\"EDIT\" id=\"a\" width=\"300\">", 110).Height, gh + 6);

    THTMLControlTag t = ParseHTMLControlTag("<CONTROL TYPE=\"check\" ID=\"MyId\" VALUE=\"a&lt;b\" WIDTH=\"20\">");
    EXPECT_EQ(t.Type, "CHECK");
    EXPECT_EQ(t.ID, "MyId");
    EXPECT_EQ(t.Value, "a<b");
    EXPECT_EQ(t.Width, "20");

    std::string text = "x <control type=\"edit\" id=\"one\" value=\"1\" width=\"40\"> y <control id=\"two\" "
                       "type=\"check\" value=\"false\" width=\"16\"> z";
    const std::string before = text;
    EXPECT_FALSE(SetHTMLControlValue(text, "TWO", "true"));  // ids match exactly
    EXPECT_EQ(text, before);
    EXPECT_TRUE(SetHTMLControlValue(text, "two", "<true>"));
    EXPECT_EQ(text, "x <control type=\"edit\" id=\"one\" value=\"1\" width=\"40\"> y <CONTROL ID=\"two\" "
                    "VALUE=\"&lt;true&gt;\" WIDTH=\"16\" TYPE=\"CHECK\"> z");
    THTMLRenderResult r = c.Hit(text, 0, 0);
    (void)r;
    EXPECT_EQ(ParseHTMLControlTag(text.substr(text.find("<CONTROL"))).Value, "<true>");
}

TEST(MarkupRenderer, DrawsBoldColourAndUnderline) {
    Canvas c;
    THTMLRenderInput in;
    in.Rect = {0, 0, 400, 200};
    const int gh = c.Gh();
    auto darkSpan = [&](int top, int bottom) {
        int lo = -1, hi = -1;
        for (int x = 0; x < 400; ++x)
            for (int y = top; y < bottom; ++y)
                if (IsDark(Px(c.Image, x, y))) {
                    if (lo < 0) lo = x;
                    hi = x;
                    break;
                }
        return hi - lo;
    };
    auto ink = [&](int top, int bottom) {
        int n = 0;
        for (int x = 0; x < 400; ++x)
            for (int y = top; y < bottom; ++y) n += IsDark(Px(c.Image, x, y));
        return n;
    };
    c.Render("MMMM<br><b>MMMM</b>", in);
    EXPECT_GT(ink(gh, 2 * gh), ink(0, gh) * 5 / 4);  // bold has more ink

    c.Image.fill(Qt::white);
    c.Render("<font color=\"clRed\">MMMM</font> MMMM", in);
    const int mw = c.Measure("MMMM").Width;
    int red = 0, black = 0;
    for (int x = 0; x < 2 * mw + 20; ++x)
        for (int y = 0; y < gh; ++y) {
            TColor p = Px(c.Image, x, y);
            if (cb::gfx::GetRValue(p) > 180 && cb::gfx::GetGValue(p) < 80 && cb::gfx::GetBValue(p) < 80)
                red += x < mw + 2 ? 1 : 100000;
            if (IsDark(p) && cb::gfx::GetRValue(p) < 80) black += x > mw + 2 ? 1 : 100000;
        }
    EXPECT_GT(red, 0);
    EXPECT_LT(red, 100000);  // red only over the first word
    EXPECT_GT(black, 0);
    EXPECT_LT(black, 100000);

    // A link is underlined in the link colour: a blue row below the glyphs.
    c.Image.fill(Qt::white);
    in.LinkColor = 0xFF0000;
    c.Render("<a href=\"x\">link text</a>", in);
    const int lw = c.Measure("link text").Width;
    int bestRow = -1;
    for (int y = 0; y < gh + 2; ++y) {
        int n = 0;
        for (int x = 1; x < lw; ++x) {
            TColor p = Px(c.Image, x, y);
            if (cb::gfx::GetBValue(p) > 180 && cb::gfx::GetRValue(p) < 80) ++n;
        }
        if (n > lw * 8 / 10) bestRow = y;
    }
    EXPECT_GE(bestRow, gh / 2);

    // Blinking text is invisible while the blink phase is off.
    c.Image.fill(Qt::white);
    in.BlinkPhase = false;
    c.Render("<blink>MMMM</blink>", in);
    EXPECT_EQ(darkSpan(0, gh), 0);

    // A plain "&" is shown, not taken as a mnemonic.
    EXPECT_EQ(c.Measure("R&D").PlainText, "R&D");
    EXPECT_GT(c.Measure("R&D").Width, c.Measure("RD").Width);
}

TEST(MarkupRenderer, EllipsisWithoutWrapDropsTextAfterOverflow) {
    Canvas c;
    const int gh = c.Gh();
    const int w = c.Measure("short").Width + 10;
    THTMLRenderInput in;
    in.Rect = {0, 0, w, 200};
    in.WordWrap = false;
    THTMLRenderResult r = c.Render("short<br>first <b>second part that overflows</b><br>third", in);
    EXPECT_EQ(r.Height, 2 * gh);  // the third line is not laid out
    EXPECT_EQ(r.PlainText.find("third"), std::string::npos);
}

TEST(MarkupRenderer, HostileTextsRenderWithoutCrashOrHang) {
    Canvas c;
    std::string nested;
    for (int i = 0; i < 10000; ++i) nested += "<b><font color=\"#00FF00\"><a href=\"x\">";
    nested += "deep";
    std::string big;
    while (big.size() < (1u << 20)) big += "word <b>bold</b> &amp; <a href=\"http://x\">l</a> ";
    std::string manyLines;
    for (int i = 0; i < 20000; ++i) manyLines += "<br>";
    const std::string texts[] = {
        "<b unclosed",
        "<",
        "</",
        "<a href=\"",
        "<img src=\"file:///no/such/picture.gif\">after",
        "<img src=\"http://example.invalid/x.gif\">",
        "<img src=\"IDX:5\">",
        "<control width=\"1e9\" type=\"EDIT\">",
        "<font size=\"99999999999\">x",
        "<r a=\"-450\">turned</r>",
        "<ind x=\"-5\">",
        nested,
        big,
        manyLines,
    };
    THTMLPictureCache cache;
    for (const std::string& t : texts) {
        for (bool measure : {true, false}) {
            THTMLRenderInput in;
            in.Rect = {0, 0, 300, 150};
            in.MeasureOnly = measure;
            in.Cache = &cache;
            in.Point = {5, 5};
            THTMLRenderResult r;
            RenderHTML(c.C, t, in, r);
            EXPECT_GE(r.Height, 0);
        }
    }
    // The missing file and the web address stay empty and take no room.
    EXPECT_EQ(c.Measure("<img src=\"file:///no/such/picture.gif\">").Width, 0);
    EXPECT_EQ(c.Measure("<img src=\"http://example.invalid/x.gif\">").Width, 0);
}

// A GIF of 10 x 10 with three 1 x 1 frames at (0,0), (3,4) and (7,8).
std::vector<uint8_t> ThreeFrameGif() {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', 10, 0, 10, 0, 0x80, 0, 0, 255, 0, 0, 0, 0, 255};
    const int pos[3][2] = {{0, 0}, {3, 4}, {7, 8}};
    for (auto& p : pos) {
        const uint8_t frame[] = {0x21,          0xF9, 0x04,          0x00, 0x0A, 0x00, 0x00, 0x00, 0x2C,
                                 uint8_t(p[0]), 0,    uint8_t(p[1]), 0,    1,    0,    1,    0,    0,
                                 0x02,          0x02, 0x44,          0x01, 0x00};
        g.insert(g.end(), std::begin(frame), std::end(frame));
    }
    g.push_back(0x3B);
    return g;
}

TEST(MarkupPictures, FramesFilesAndCache) {
    THTMLPicture gif;
    gif.LoadFromBytes(ThreeFrameGif());
    EXPECT_FALSE(gif.Empty());
    EXPECT_EQ(gif.FrameCount(), 3);
    EXPECT_EQ(gif.AnimationWidth(), 10);
    EXPECT_EQ(gif.AnimationHeight(), 10);
    int changes = 0;
    gif.OnFrameChange = [&] { ++changes; };
    gif.SetFrame(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(gif.FrameLeft(), 3);
    EXPECT_EQ(gif.FrameTop(), 4);
    EXPECT_EQ(gif.FrameWidth(), 1);

    THTMLPicture bad;
    EXPECT_THROW(bad.LoadFromBytes({'n', 'o', 'p', 'e'}), std::exception);
    EXPECT_TRUE(bad.Empty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Upper and lower case in the path: file names keep their case.
    const std::string path = dir.filePath("Pics/Red.bmp").toStdString();
    QDir().mkpath(dir.filePath("Pics"));
    QImage img(12, 7, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(QString::fromStdString(path), "BMP"));
    THTMLPicture bmp;
    bmp.LoadFromAddress("file://" + path);
    EXPECT_EQ(bmp.Width(), 12);
    EXPECT_EQ(bmp.Height(), 7);
    EXPECT_EQ(bmp.FrameCount(), -1);
    EXPECT_EQ(bmp.AnimationWidth(), 12);
    EXPECT_EQ(bmp.Identity(), "FILE://" + cb::rtl::UpperCase(path));
    THTMLPicture missing;
    missing.LoadFromFile(path + ".none");
    EXPECT_TRUE(missing.Empty());

    // The renderer loads an address once; lower and upper case are one picture.
    Canvas c;
    THTMLPictureCache cache;
    THTMLRenderInput in;
    in.Rect = {0, 0, 300, 100};
    in.Cache = &cache;
    THTMLRenderResult r;
    RenderHTML(c.C, "<img src=\"file://" + path + "\">", in, r);
    RenderHTML(c.C, "<IMG SRC=\"FILE://" + path + "\">", in, r);
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_GE(r.Height, 7);
    EXPECT_EQ(Px(c.Image, 1 + 5, 3), 0x0000FFu);  // red, drawn at the pen

    // Named pictures, stretched by WIDTH and HEIGHT; unknown names take no room.
    TPictureContainer box;
    box.Add("Logo").Picture.LoadFromBytes(ThreeFrameGif());
    in.Container = &box;
    in.MeasureOnly = true;
    RenderHTML(c.C, "<img src=\"logo\" width=\"30\" height=\"20\">", in, r);
    EXPECT_EQ(r.Width, 30);
    EXPECT_EQ(r.Height, std::max(20, c.Gh()));
    RenderHTML(c.C, "<img src=\"other\">", in, r);
    EXPECT_EQ(r.Width, 0);
}

TEST(MarkupMeasureCache, RemembersPerTextAndFont) {
    Canvas c;
    THTMLMeasureCache cache;
    const cb::gfx::TPoint a = cache.Measure(c.C, "<b>x</b>", 100, true);
    EXPECT_EQ(cache.Measure(c.C, "<b>x</b>", 100, true).X, a.X);
    EXPECT_EQ(cache.Size(), 1u);
    c.C.Font().SetSize(20);
    const cb::gfx::TPoint b = cache.Measure(c.C, "<b>x</b>", 100, true);
    EXPECT_EQ(cache.Size(), 2u);
    EXPECT_GT(b.Y, a.Y);
}

}  // namespace

namespace {

TEST(MarkupCells, GridDrawsMarkupThroughTheRenderer) {
    TExtStringGrid grid;
    grid.resize(420, 200);
    grid.SetColCount(3);
    grid.SetRowCount(4);
    grid.SetColWidths(1, 200);
    grid.SetColor(cb::gfx::clWhite);
    grid.Font().SetColor(cb::gfx::clBlack);
    grid.SetSelection({2, 3, 2, 3});
    grid.SetCellText(1, 1, "<font color=\"clRed\">RRRR</font><b>x</b>");
    grid.SetCellText(1, 2, "<b>right</b>");
    grid.SetCellAlignment(1, 2, taRightJustify);
    QImage img = grid.RenderToImage();
    const TRect c1 = grid.GetPlainCellRect(1, 1);
    int red = 0, tagInk = 0;
    for (int x = c1.Left; x < c1.Right; ++x)
        for (int y = c1.Top; y < c1.Bottom - 1; ++y) {
            const TColor p = Px(img, x, y);
            if (cb::gfx::GetRValue(p) > 180 && cb::gfx::GetGValue(p) < 80 && cb::gfx::GetBValue(p) < 80) ++red;
            if (x > c1.Left + 120 && IsDark(p)) ++tagInk;  // tags would show as text here
        }
    EXPECT_GT(red, 10);
    EXPECT_EQ(tagInk, 0);
    // Right-aligned mark-up ends near the cell's right edge.
    const TRect c2 = grid.GetPlainCellRect(1, 2);
    int lo = -1, hi = -1;
    for (int x = c2.Left; x < c2.Right - 1; ++x)
        for (int y = c2.Top; y < c2.Bottom - 1; ++y)
            if (IsDark(Px(img, x, y))) {
                if (lo < 0) lo = x;
                hi = x;
                break;
            }
    EXPECT_GT(lo, c2.Left + 100);
    EXPECT_GT(hi, c2.Right - 12);
}

}  // namespace

namespace {

struct FakeImages : THTMLImageList {
    mutable std::vector<int> Drawn;
    int Count() const override { return 2; }
    int Width() const override { return 20; }
    int Height() const override { return 18; }
    void Draw(TCanvas&, const TRect&, int index) const override { Drawn.push_back(index); }
};

TEST(MarkupPictures, ImageListAndShellIcons) {
    Canvas c;
    FakeImages images;
    THTMLRenderInput in;
    in.Rect = {0, 0, 300, 100};
    in.Images = &images;
    THTMLRenderResult r;
    RenderHTML(c.C, "<img src=\"IDX:1\"><img src=\"idx:2\"><img src=\"IDX:x\">", in, r);
    EXPECT_EQ(r.Width, 20);  // only the first is in the list
    EXPECT_EQ(r.Height, std::max(18, c.Gh()));
    EXPECT_EQ(images.Drawn, std::vector<int>{1});
    in.Printing = true;
    in.PrintScale = 2.0;
    in.MeasureOnly = true;
    RenderHTML(c.C, "<img src=\"IDX:0\">", in, r);
    EXPECT_EQ(r.Width, 40);

    // Shell icons are small (16) or large (32), or take no room without an icon.
    in = {};
    in.Rect = {0, 0, 300, 100};
    in.MeasureOnly = true;
    RenderHTML(c.C, "<img src=\"SSYS:" CB_SOURCE_DIR "\">", in, r);
    EXPECT_TRUE(r.Width == 16 || r.Width == 0) << r.Width;
    RenderHTML(c.C, "<img src=\"LSYS:" CB_SOURCE_DIR "\">", in, r);
    EXPECT_TRUE(r.Width == 32 || r.Width == 0) << r.Width;
}

}  // namespace

namespace {

// Rows under each of two links holding a long run of link-coloured pixels.
TEST(MarkupRenderer, HoverOnlyStyleUnderlinesTheHoveredLinkOnly) {
    Canvas c;
    const int gh = c.Gh();
    const int w1 = c.Measure("<a href=\"1\">first link</a>").Width;
    const int x2 = c.Measure("first link gap ").Width;
    auto underlined = [&](int from, int to) {
        for (int y = gh / 2; y < gh + 2; ++y) {
            int n = 0;
            for (int x = from; x < to; ++x) {
                const TColor p = Px(c.Image, x, y);
                n += cb::gfx::GetBValue(p) > 180 && cb::gfx::GetRValue(p) < 80;
            }
            if (n > (to - from) * 8 / 10) return true;
        }
        return false;
    };
    THTMLRenderInput in;
    in.Rect = {0, 0, 400, 100};
    in.LinkColor = 0xFF0000;
    in.HoverOnly = true;
    in.HoverLink = 2;
    c.Render("<a href=\"1\">first link</a> gap <a href=\"2\">second link</a>", in);
    EXPECT_FALSE(underlined(2, w1 - 2));
    EXPECT_TRUE(underlined(x2 + 2, x2 + w1 - 4));
    c.Image.fill(Qt::white);
    in.HoverOnly = false;
    c.Render("<a href=\"1\">first link</a> gap <a href=\"2\">second link</a>", in);
    EXPECT_TRUE(underlined(2, w1 - 2));
}

}  // namespace

namespace {

// Text from users or cubes goes through the escape helper: it shows as it
// stands and its tags do nothing (no picture is loaded, no link is made).
TEST(MarkupRenderer, EscapedTextIsShownAsItStands) {
    Canvas c;
    QTemporaryDir dir;
    const std::string bad = dir.filePath("bad.gif").toStdString();
    cb::rtl::WriteFileAtomic(bad, "GIF89a not really a picture");
    const std::string hostile[] = {
        "<img src=\"file://" + bad + "\">",
        "Sales </ Region <B> & <I>",
        "<a href=\"http://x\">click</a> &amp;quot;",
        "<control type=\"EDIT\" id=\"x\" width=\"50\">",
    };
    for (const std::string& h : hostile) {
        THTMLPictureCache cache;
        THTMLRenderInput in;
        in.Rect = {0, 0, 400, 100};
        in.Cache = &cache;
        in.Point = {5, 5};
        THTMLRenderResult r;
        RenderHTML(c.C, EscapeHTML(h), in, r);
        EXPECT_EQ(r.PlainText, h);
        EXPECT_EQ(r.LinkCount, 0);
        EXPECT_FALSE(r.Hit);
        EXPECT_EQ(cache.Count(), 0);
    }
    // The same picture as mark-up: it cannot be decoded, so it is skipped.
    THTMLPictureCache cache;
    THTMLRenderInput in;
    in.Rect = {0, 0, 400, 100};
    in.Cache = &cache;
    THTMLRenderResult r;
    RenderHTML(c.C, hostile[0] + "after", in, r);
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_TRUE(cache.Item(0)->Empty());
    EXPECT_EQ(r.Width, c.Measure("after").Width);
}

}  // namespace
