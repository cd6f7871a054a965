// Rich-text cells: the reader and writer round-trip the runs the rich
// editor writes, hostile input is bounded, and rich cells are drawn and
// measured as formatted text, not as their source.
#include "grid/ExtStringGrid.h"
#include "grid/edit/GridEditPart.h"
#include "grid/markup/RichText.h"
#include "tests/grid/GridTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::grid;

namespace {

struct TRun {
    std::string Text;
    bool Bold = false, Italic = false, Underline = false;
    QColor Color;
    QString Family;
    double Points = 0;
    bool operator==(const TRun& o) const {
        return Text == o.Text && Bold == o.Bold && Italic == o.Italic && Underline == o.Underline &&
               Color == o.Color && Family == o.Family && Points == o.Points;
    }
};

// The runs of a document, paragraphs marked by a run "\n".
std::vector<TRun> Runs(const QTextDocument& doc) {
    std::vector<TRun> runs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin()) runs.push_back({"\n"});
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            TRun r;
            r.Text = it.fragment().text().toStdString();
            r.Bold = f.fontWeight() >= QFont::Bold;
            r.Italic = f.fontItalic();
            r.Underline = f.fontUnderline();
            if (f.hasProperty(QTextFormat::ForegroundBrush)) r.Color = f.foreground().color();
            const QStringList fam = f.fontFamilies().toStringList();
            r.Family = fam.isEmpty() ? QString() : fam.front();
            r.Points = f.fontPointSize();
            runs.push_back(r);
        }
    }
    return runs;
}

TEST(RichText, WrittenRunsReadBackTheSame) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies({"DejaVu Sans"});
    plain.setFontPointSize(10);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red = plain;
    red.setForeground(QColor(200, 10, 20));
    red.setFontItalic(true);
    red.setFontUnderline(true);
    QTextCharFormat big = plain;
    big.setFontFamilies({"Liberation Serif"});
    big.setFontPointSize(14);
    c.insertText("plain {braces} \\ ", plain);
    c.insertText("bold", bold);
    c.insertBlock();
    c.insertText(QString::fromUtf8("caf\u00e9 \u20ac\u4e2d"), red);
    c.insertText("\tbig", big);
    const std::string rtf = WriteRichText(doc);
    EXPECT_TRUE(IsRichText(rtf));
    for (unsigned char ch : rtf) EXPECT_LT(ch, 0x80) << "rich text is ASCII";
    QTextDocument back;
    ReadRichText(rtf, back);
    EXPECT_EQ(Runs(back), Runs(doc));
}

TEST(RichText, ReaderTakesTheSubsetOtherWritersUse) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier New;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Writer;}{\\stylesheet{\\s0 Normal;}}"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 caf\\'e9 \\b bold\\b0  \\cf1 red\\cf0\\par\n"
        "\\f1 mono \\u8364?\\u-10179?\\u-8694? end}";
    QTextDocument doc;
    ReadRichText(rtf, doc);
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("caf\u00e9 bold red\nmono \u20ac\U0001F60A end"));
    const std::vector<TRun> runs = Runs(doc);
    ASSERT_GE(runs.size(), 5u);
    EXPECT_EQ(runs[1].Text, "bold");
    EXPECT_TRUE(runs[1].Bold);
    EXPECT_EQ(runs[3].Text, "red");
    EXPECT_EQ(runs[3].Color, QColor(255, 0, 0));
    EXPECT_EQ(runs[0].Family, "Arial");
    EXPECT_EQ(runs[0].Points, 10);
    EXPECT_EQ(runs.back().Family, "Courier New");
}

TEST(RichText, HostileInputIsBounded) {
    const std::vector<std::string> inputs = {
        std::string(200000, '{') + "deep" + std::string(200000, '}'),
        "{\\rtf1 unterminated \\'",
        "{\\rtf1 \\u99999999999999 \\fs-5 \\f999999999 x\\cf77 y}",
        "{\\rtf1 }}}} after}",
        "{\\rtf1 \\" + std::string(1000, 'a') + "123456789012345 z}",
    };
    for (const std::string& in : inputs) {
        QTextDocument doc;
        ReadRichText(in, doc);  // no crash, no throw
        EXPECT_LE(doc.toPlainText().size(), 64);
    }
    EXPECT_EQ(RichTextToPlain("{\\rtf1 {\\b x}{\\i y}}"), "xy");
}

class RichCells : public ::testing::Test {
public:
    void SetUp() override {
        Grid.SetColCount(3);
        Grid.SetRowCount(4);
        Grid.SetColWidths(1, 220);
        Grid.SetColWidths(2, 220);
        Grid.resize(500, 120);
        Grid.SetColor(cb::gfx::clWhite);
        Grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Grid));
    }
    // Rightmost dark pixel of a cell's text, relative to the cell.
    int InkRight(const QImage& img, int col, int row) {
        const TRect r = Grid.CellRect(col, row);
        int right = -1;
        for (int y = r.Top + 2; y < r.Bottom - 3; ++y)
            for (int x = r.Left + 2; x < r.Right - 4; ++x)
                if (test::IsDark(test::Px(img, x, y))) right = std::max(right, x - r.Left);
        return right;
    }
    TExtStringGrid Grid;
};

TEST_F(RichCells, BoldRunDrawsWiderThanPlainAndNotAsItsSource) {
    Grid.SetCells(1, 2, "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs20 {\\b WWWWWW}}");
    Grid.SetCells(2, 2, "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs20 WWWWWW}");
    Grid.FocusCell(1, 3, true);
    const QImage img = Grid.RenderToImage();
    img.save(QString::fromStdString(std::string(CB_BIN_DIR) + "/../tests/rich-cells.png"));
    const int bold = InkRight(img, 1, 2);
    const int plain = InkRight(img, 2, 2);
    ASSERT_GT(plain, 10);
    EXPECT_GT(bold, plain);
    // The source ("{\rtf1...") would run past the six letters by far.
    EXPECT_LT(plain, 120);
}

TEST_F(RichCells, MeasuringFollowsTheFormattedText) {
    Grid.SetCells(1, 1, "{\\rtf1\\fs20 {\\b WWWWWW}}");
    Grid.SetCells(1, 2, "{\\rtf1\\fs20 WWWWWW}");
    Grid.SetCells(1, 3, "{\\rtf1\\fs20 W\\par W\\par W}");
    const auto bold = Grid.MeasureCellContent(1, 1, false);
    const auto plain = Grid.MeasureCellContent(1, 2, false);
    const auto lines = Grid.MeasureCellContent(1, 3, false);
    EXPECT_GT(bold.cx, plain.cx);
    EXPECT_LT(plain.cx, 120);
    EXPECT_GT(lines.cy, 2 * plain.cy);
}

TEST_F(RichCells, RichEditorKeepsTheRunsOfTheCell) {
    Grid.SetOptions(Grid.Options() | goEditing | goTabs);
    Grid.OnGetEditorType = [](QObject*, int, int, TEditorType& kind) { kind = edRichEdit; };
    QApplication::setActiveWindow(&Grid);
    Grid.setFocus();
    Grid.SetCells(1, 1, "{\\rtf1 {\\b bold} plain}");
    Grid.FocusCell(1, 1, true);
    // Unchanged: the cell keeps its text as it was.
    QTest::keyClick(&Grid, Qt::Key_F2);
    ASSERT_TRUE(Grid.EditorShown());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Grid.Cells(1, 1), "{\\rtf1 {\\b bold} plain}");
    Grid.FocusCell(1, 1, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), " more");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTextDocument doc;
    ReadRichText(Grid.Cells(1, 1), doc);
    EXPECT_EQ(doc.toPlainText(), "bold plain more");
    const std::vector<TRun> runs = Runs(doc);
    ASSERT_GE(runs.size(), 2u);
    EXPECT_EQ(runs[0].Text, "bold");
    EXPECT_TRUE(runs[0].Bold);
    EXPECT_FALSE(runs[1].Bold);
}

}  // namespace
