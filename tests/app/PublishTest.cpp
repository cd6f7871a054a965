// The publishing dialog and its reports, read by independent readers
// (Python's html.parser, headless Chromium, xlrd, pdftotext, unrtf), and
// e-mail through a recording xdg-email.
#include "MDXTestSupport.h"
#include "app/core/publish/PublishMail.h"
#include "app/core/publish/PublishReport.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/theme/WindowTheme.h"
#include "app/ui/dialogs/Features.h"
#include "app/ui/dialogs/PublishDialog.h"
#include "chart/component/AxisPanel.h"
#include "chart/component/Chart.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chart/tools/PlotCustomTool.h"
#include "grid/ExtStringGrid.h"
#include "platform/desktop/KitEmail.h"
#include "platform/desktop/SaveDialog.h"
#include "tests/common/MailRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

using namespace cb::app;

namespace {

// 2 x 2: a bold white-on-blue header row and a data row, one cell
// right-aligned on green, one without properties holding blanks and mark-up.
void FillGrid(cb::grid::TExtStringGrid& grid) {
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetGridLineColor(0x808080);
    grid.SetCells(0, 0, "Country");
    grid.SetCells(1, 0, "Sales <&> \"Q1\"");
    for (int c = 0; c < 2; ++c) {
        grid.SetCellBrushColor(c, 0, 0x994D1A);  // RGB 1A4D99
        grid.SetCellFontColor(c, 0, 0xFFFFFF);
        grid.SetCellFontStyle(c, 0, cb::gfx::fsBold);
    }
    grid.SetCells(0, 1, "North  America");
    grid.SetCells(1, 1, "1,234.50");
    grid.SetCellAlignment(1, 1, cb::grid::taRightJustify);
    grid.SetCellBrushColor(1, 1, 0x33CC33);  // RGB 33CC33
    grid.SetCellFontColor(1, 1, 0x000080);   // RGB 800000
}

const char* const kExpectedReport =
    "<html><head><meta charset=\"utf-8\"><style type=\"text/css\"><!--\r\n"
    "body{\tmargin: 0px;\tpadding: 0px;\tborder-left: 15px solid #CCCCCC;\tbackground: #EFEFEF;}\r\n"
    ".header {\tbackground-color: #E4E4E4;\tfont-family: sans-serif, Arial, Verdana, Helvetica, \"Times New "
    "Roman\";\tfont-size: 12px;\tcolor: #000000;}\r\n"
    ".main {\tfont-family: sans-serif, Helvetica, Arial;\tfont-size: 12px;\tcolor: #333333;}\r\n"
    ".title {\tfont-family: sans-serif, Helvetica, Arial;\tfont-size: 16px;\tfont-weight: bold;\theight: "
    "40px;\tbackground: #CCCCCC;\tcolor: #333333;\twidth: 100%;\tpadding-top: 10px;}\r\n"
    "hr{  color: #E5E1E1;}\r\n"
    "--></style></head><body bgcolor=\"#EFEFEF\" LEFTMARGIN=\"20\">\r\n"
    "<span class=\"title\">Q1 &lt;Sales&gt; &amp; more</span><br>\r\n"
    "<table border=\"1\" cellpadding=\"2\" cellspacing=\"0\" bordercolor=\"#808080\">\r\n"
    "<tr>\r\n"
    "<td class=\"header\" style=\"background-color: #1A4D99; color: #FFFFFF; font-weight: bold\">Country</td>\r\n"
    "<td class=\"header\" style=\"background-color: #1A4D99; color: #FFFFFF; font-weight: "
    "bold\">Sales&nbsp;&lt;&amp;&gt;&nbsp;&quot;Q1&quot;</td>\r\n"
    "</tr>\r\n"
    "<tr>\r\n"
    "<td class=\"header\" style=\"background-color: #FFFFFF; color: #000000; font-weight: "
    "normal\">North&nbsp;&nbsp;America</td>\r\n"
    "<td align=\"right\" class=\"main\" style=\"background-color: #33CC33; color: #800000; font-weight: "
    "normal\">1,234.50</td>\r\n"
    "</tr>\r\n"
    "</table>\r\n"
    "<br /><br /><br />\r\n"
    "<img src=\"chart.jpg\" border=\"0\" alt=\"\">\r\n"
    "</body></html>\r\n";

// The report as html.parser reads it: one line per cell, "style|text", and
// "ERROR ..." for a style that is not "property: value" pairs with valid colours.
std::string ParseWithPython(const std::string& file) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("check.py"), R"PY(
import re, sys
from html.parser import HTMLParser
class P(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True); self.cell = None; self.out = []; self.stack = []
    def handle_starttag(self, tag, attrs):
        if tag not in ("br", "img", "meta"): self.stack.append(tag)
        if tag == "td":
            style = dict(attrs).get("style", "")
            for part in style.split(";"):
                m = re.fullmatch(r"\s*([a-z-]+)\s*:\s*(.+?)\s*", part)
                if not m: self.out.append("ERROR style " + style); continue
                if "color" in m.group(1) and not re.fullmatch(r"#[0-9A-F]{6}", m.group(2)):
                    self.out.append("ERROR colour " + m.group(2))
            self.cell = [style, ""]
    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in ("br", "img", "meta"): self.handle_endtag(tag)
    def handle_endtag(self, tag):
        if tag in ("br", "img", "meta"): return
        if not self.stack or self.stack.pop() != tag: self.out.append("ERROR unbalanced " + tag)
        if tag == "td": self.out.append(self.cell[0] + "|" + self.cell[1]); self.cell = None
    def handle_data(self, data):
        if self.cell is not None: self.cell[1] += data
p = P(); p.feed(open(sys.argv[1], encoding="utf-8").read()); p.close()
if p.stack: p.out.append("ERROR open " + ",".join(p.stack))
print("\n".join(p.out))
)PY");
    std::string out;
    EXPECT_EQ(cbtest::runCommand("/usr/bin/python3 " + dir.file("check.py") + " '" + file + "'", &out), 0);
    return out;
}

TEST(PublishReport, HTMLOfATwoByTwoGridExactlyAndAsParsed) {
    cb::grid::TExtStringGrid grid;
    FillGrid(grid);
    THTMLReportOptions options;
    options.Title = "Q1 <Sales> & more";
    options.IncludeChart = true;
    cbtest::TempDir dir;
    const std::string file = dir.file("report.html");
    SaveReportLines(BuildHTMLReport(grid, options), file);
    EXPECT_EQ(cbtest::readFile(file), kExpectedReport);

    const std::string nbsp = "\xC2\xA0";
    EXPECT_EQ(ParseWithPython(file), "background-color: #1A4D99; color: #FFFFFF; font-weight: bold|Country\n"
                                     "background-color: #1A4D99; color: #FFFFFF; font-weight: bold|Sales" +
                                         nbsp + "<&>" + nbsp +
                                         "\"Q1\"\n"
                                         "background-color: #FFFFFF; color: #000000; font-weight: normal|North" +
                                         nbsp + nbsp +
                                         "America\n"
                                         "background-color: #33CC33; color: #800000; font-weight: normal|1,234.50\n");

    // Without a title or chart; blank text is a hard blank.
    grid.SetCells(0, 1, "   ");
    options.ShowTitle = false;
    options.IncludeChart = false;
    const auto lines = BuildHTMLReport(grid, options);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("title\"") != std::string::npos; }),
              0);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("<img") != std::string::npos; }),
              0);
    EXPECT_EQ(HTMLCellText("   "), "&nbsp;");
}

TEST(PublishReport, AReportThatCannotBeWrittenLeavesTheOldFileWhole) {
    // A file anyone may write in a folder only its owner may: a writer that
    // opened the old file in place would truncate it; ours writes beside it.
    cbtest::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    const std::string file = dir.file("report.html");
    cbtest::writeFile(file, "old report");
    std::filesystem::permissions(file, std::filesystem::perms(0666));
    const std::vector<std::string> lines{"<html>", "</html>"};
    const int rc = cbtest::runAsNobody([&] {
        try {
            SaveReportLines(lines, file);
            return 1;
        } catch (const std::exception&) {
            return 0;
        }
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(cbtest::readFile(file), "old report");
}

TEST(PublishReport, ChartIsDressedForTheReportAndRestored) {
    cb::chart::TChart chart;
    chart.resize(160, 100);
    chart.Title().SetCaption("On screen");
    auto* annotation = chart.Tools().AddTool(new cb::chart::TPlotCustomTool);
    EXPECT_EQ(ReportChartTitle("Sales", "[Measures].[Unit Sales]"), "Sales - Unit Sales");
    for (bool before : {true, false}) {
        chart.LeftAxis().Title().SetVisible(before);
        chart.Title().SetVisible(before);
        chart.Legend().SetVisible(before);
        annotation->SetActive(before);
        {
            TReportChartDressing dressing(chart, "Sales - Revenue");
            EXPECT_FALSE(chart.LeftAxis().Title().Visible());
            EXPECT_FALSE(annotation->Active());
            EXPECT_TRUE(chart.Title().Visible());
            EXPECT_EQ(chart.Title().Text(), std::vector<std::string>{"Sales - Revenue"});
            EXPECT_TRUE(chart.Legend().Visible());
            EXPECT_FALSE(ChartJPEGBytes(chart).empty());
        }
        EXPECT_EQ(chart.LeftAxis().Title().Visible(), before);
        EXPECT_EQ(annotation->Active(), before);
        EXPECT_EQ(chart.Title().Visible(), before);
        EXPECT_EQ(chart.Legend().Visible(), before);
        EXPECT_EQ(chart.Title().Text(), std::vector<std::string>{"Sales - Revenue"});  // the text stays
    }
    // A panel without axes or title is drawn as it is.
    cb::chart::TAxisPanel plain;
    plain.resize(80, 60);
    TReportChartDressing dressing(plain, "ignored");
    EXPECT_FALSE(ChartJPEGBytes(plain).empty());
}

TEST(PublishReport, ChromiumShowsTheThemeColours) {
    cb::grid::TExtStringGrid grid;
    FillGrid(grid);
    // Wide cells so the colours fill many pixels.
    grid.SetCells(0, 0, "Country Country Country Country");
    grid.SetCells(1, 1, "1,234.50 1,234.50 1,234.50 1,234.50");
    THTMLReportOptions options;
    options.Title = "Theme";
    cbtest::TempDir dir;
    SaveReportLines(BuildHTMLReport(grid, options), dir.file("report.html"));
    const std::string shot = dir.file("shot.png");
    std::string out;
    ASSERT_EQ(cbtest::runCommand("HOME='" + dir.path().string() +
                                     "' chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
                                     "--window-size=800,300 --screenshot='" +
                                     shot + "' 'file://" + dir.file("report.html") + "' >/dev/null 2>&1",
                                 &out),
              0);
    ASSERT_TRUE(std::filesystem::exists(shot));
    if (const char* shots = std::getenv("CB_SCREENSHOTS"))
        std::filesystem::copy_file(shot, std::string(shots) + "/report-chromium.png",
                                   std::filesystem::copy_options::overwrite_existing);
    cbtest::writeFile(dir.file("count.py"), R"PY(
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert("RGB")
colours = im.getcolors(maxcolors=1 << 20)
def near(c, t): return all(abs(a - b) <= 6 for a, b in zip(c, t))
for target in [(0x1A, 0x4D, 0x99), (0x33, 0xCC, 0x33), (0xEF, 0xEF, 0xEF)]:
    print(sum(n for n, c in colours if near(c, target)))
)PY");
    ASSERT_EQ(cbtest::runCommand("/usr/bin/python3 " + dir.file("count.py") + " '" + shot + "'", &out), 0);
    std::istringstream counts(out);
    long header = 0, data = 0, page = 0;
    counts >> header >> data >> page;
    EXPECT_GT(header, 1000) << out;  // the header cells' blue
    EXPECT_GT(data, 500) << out;     // the data cell's green
    EXPECT_GT(page, 10000) << out;   // the page's grey
}

// A chart panel painted in one colour.
class TOrangePanel : public cb::chart::TCustomPlotPanel {
public:
    TOrangePanel() {
        SetColor(0x0080FF);  // RGB FF8000
        resize(200, 120);
    }
    void DrawContents(const cb::chart::TRect&) override {}
};

// A dialog over a display manager showing the fixture grid.
struct TDialogFixture {
    cbtest::TTestContext Context;
    cb::grid::TExtStringGrid Grid;
    TDisplayManager Manager{Context.Context()};
    std::unique_ptr<TfrmExport> Dialog;
    std::vector<std::string> Opened;

    TDialogFixture() {
        FillGrid(Grid);
        Manager.GetGridLayout().SetGrid(&Grid);
        Dialog = std::make_unique<TfrmExport>(&Manager, Context.Context());
        Dialog->OnOpenFile = [this](const std::string& f) {
            Opened.push_back(f);
            return true;
        };
    }
    void Publish(QRadioButton* format, const std::string& file, const std::string& title) {
        format->setChecked(true);
        Dialog->editReportTitle->setText(QString::fromStdString(title));
        Dialog->editFilename->setText(QString::fromStdString(file));
        QTest::mouseClick(Dialog->btnNext, Qt::LeftButton);
    }
};

TEST(PublishDialog, EachFormatIsWrittenOpenedOnceAndReadBack) {
    cbtest::TempDir dir;
    struct Case {
        const char* name;
        QRadioButton* TfrmExport::*format;
        std::string command;  // prints the document's text
    } cases[] = {
        {"report.html", &TfrmExport::rbHTML, "cat"},
        {"report.xls", &TfrmExport::rbExcel,
         "/usr/bin/python3 -c \"import sys,xlrd; s=xlrd.open_workbook(sys.argv[1]).sheet_by_index(0); "
         "print(s.name); [print(s.cell_value(r,c)) for r in range(s.nrows) for c in range(s.ncols)]\""},
        {"report.pdf", &TfrmExport::rbPDF, "qpdf --check {} >/dev/null && pdftotext -layout {} -"},
        {"report.rtf", &TfrmExport::rbRTF, "unrtf --text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDialogFixture f;
        const std::string file = dir.file(c.name);
        f.Publish(f.Dialog.get()->*c.format, file, "Quarterly Report");
        EXPECT_EQ(f.Context.UI.Informations, std::vector<std::string>{"Data successfully exported"});
        EXPECT_EQ(f.Opened, std::vector<std::string>{file});
        EXPECT_TRUE(f.Dialog->isEnabled());
        std::string command = c.command;
        if (command.find("{}") == std::string::npos) command += " {}";
        for (size_t at; (at = command.find("{}")) != std::string::npos;) command.replace(at, 2, "'" + file + "'");
        std::string text;
        ASSERT_EQ(cbtest::runCommand(command + " 2>/dev/null", &text), 0);
        const std::string number = c.format == &TfrmExport::rbExcel ? "1234.5" : "1,234.50";
        for (const std::string& expected : {std::string("Quarterly Report"), std::string("Country"), number})
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
        if (c.format == &TfrmExport::rbPDF) {
            // Laid out as a table: a row's cells side by side on one line.
            std::istringstream lines(text);
            int row = 0;
            for (std::string line; std::getline(lines, line);) {
                if (line.find("Country") != std::string::npos && line.find("Sales <&>") != std::string::npos) row |= 1;
                if (line.find("North") != std::string::npos && line.find("1,234.50") != std::string::npos) row |= 2;
            }
            EXPECT_EQ(row, 3) << text;
        }
    }
}

TEST(PublishDialog, WorkbookHoldsNumbersAsNumbersAndIndentsMembers) {
    // A pivot view: captions above, members with their indentation on the
    // left, right-justified data cells.
    TDialogFixture f;
    f.Grid.SetColCount(3);
    f.Grid.SetRowCount(4);
    const char* cells[4][3] = {{"", "Revenue", "2023"},
                               {"2022", "127,994,779.82", "-1,234.5"},
                               {"  Q1", "7", "0.125"},
                               {"    January", "", "n/a"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            f.Grid.SetCells(c, r, cells[r][c]);
            f.Grid.SetCellAlignment(c, r, r > 0 && c > 0 ? cb::grid::taRightJustify : cb::grid::taLeftJustify);
        }
    cbtest::TempDir dir;
    const std::string book = dir.file("pivot.xls");
    f.Dialog->chkReportTitle->setChecked(false);
    f.Publish(f.Dialog->rbExcel, book, "");
    ASSERT_EQ(f.Context.UI.Informations, std::vector<std::string>{"Data successfully exported"});
    std::string out;
    ASSERT_EQ(cbtest::runCommand(
                  "/usr/bin/python3 -c \"import sys, xlrd; b = xlrd.open_workbook(sys.argv[1], formatting_info=True); "
                  "s = b.sheet_by_index(0)\n"
                  "for r in range(s.nrows):\n"
                  "  for c in range(s.ncols):\n"
                  "    x = s.cell(r, c); f = b.xf_list[x.xf_index]\n"
                  "    print(r, c, x.ctype, repr(x.value), b.format_map[f.format_key].format_str, "
                  "f.alignment.indent_level)\" '" +
                      book + "'",
                  &out),
              0);
    // type 1 text, 2 number, 0 empty; value, number format, indent
    for (const char* line :
         {"0 1 1 'Revenue' General 0", "0 2 1 '2023' General 0", "1 0 1 '2022' General 0",
          "1 1 2 127994779.82 #,##0.00 0", "1 2 2 -1234.5 #,##0.0 0", "2 0 1 'Q1' General 1", "2 1 2 7.0 #,##0 0",
          "2 2 2 0.125 #,##0.000 0", "3 0 1 'January' General 2", "3 2 1 'n/a' General 0"})
        EXPECT_NE(out.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << out;
}

TEST(PublishDialog, FailuresKeepTheDialogAndTheUsersFiles) {
    cbtest::TempDir dir;
    {
        // No file name.
        TDialogFixture f;
        f.Publish(f.Dialog->rbHTML, "  ", "t");
        EXPECT_EQ(f.Context.UI.Errors, std::vector<std::string>{"Please Select a Filename to publish to."});
        EXPECT_TRUE(f.Opened.empty());
    }
    {
        // An unwritable target (a folder of that name): the failure message, nothing opened.
        TDialogFixture f;
        std::filesystem::create_directory(dir.file("r.xls"));
        f.Publish(f.Dialog->rbExcel, dir.file("r.xls"), "t");
        EXPECT_EQ(f.Context.UI.Informations,
                  std::vector<std::string>{"Error during export. Please ensure the filename you select is writable."});
        EXPECT_TRUE(f.Opened.empty());
    }
    {
        // A folder that does not exist, or another format's extension: said
        // before anything is written, the dialog stays.
        TDialogFixture f;
        cbtest::writeFile(dir.file("plain file"), "x");
        f.Publish(f.Dialog->rbExcel, dir.file("plain file") + "/r.xls", "t");
        f.Publish(f.Dialog->rbPDF, dir.file("r.xlsx"), "t");
        ASSERT_EQ(f.Context.UI.Errors.size(), 2u);
        EXPECT_EQ(f.Context.UI.Errors[0].rfind("The folder " + dir.file("plain file"), 0), 0u)
            << f.Context.UI.Errors[0];
        EXPECT_EQ(f.Context.UI.Errors[1].rfind("The name r.xlsx ends in .xlsx", 0), 0u) << f.Context.UI.Errors[1];
        EXPECT_TRUE(f.Opened.empty());
        EXPECT_TRUE(f.Context.UI.Informations.empty());
    }
    {
        // A typed name without a folder or extension: in the folder used
        // last, with the format's extension, shown in the field.
        TDialogFixture f;
        EXPECT_FALSE(f.Dialog->editFilename->isReadOnly());
        cb::os::RememberSaveFolder(dir.file("earlier.pdf"));
        f.Publish(f.Dialog->rbRTF, "typed report", "t");
        EXPECT_EQ(f.Opened, std::vector<std::string>{dir.file("typed report.rtf")});
        EXPECT_EQ(f.Dialog->editFilename->text().toStdString(), dir.file("typed report.rtf"));
        EXPECT_TRUE(std::filesystem::exists(dir.file("typed report.rtf")));
    }
    {
        // No program registered for the type: the user is told where the report is.
        TDialogFixture f;
        f.Dialog->OnOpenFile = [](const std::string&) { return false; };
        f.Publish(f.Dialog->rbPDF, dir.file("nobody.pdf"), "t");
        ASSERT_EQ(f.Context.UI.Informations.size(), 2u);
        EXPECT_EQ(f.Context.UI.Informations[1],
                  "The report was saved as " + dir.file("nobody.pdf") +
                      ", but no program is registered to open PDF files. Open it from your file manager with the "
                      "program of your choice.");
    }
    {
        // No grid: the error of the report; an old report stays as it was.
        TDialogFixture f;
        f.Manager.GetGridLayout().SetGrid(nullptr);
        cbtest::writeFile(dir.file("old.html"), "old report");
        f.Publish(f.Dialog->rbHTML, dir.file("old.html"), "t");
        ASSERT_EQ(f.Context.UI.Errors.size(), 1u);
        EXPECT_EQ(f.Context.UI.Errors[0].rfind("There is no active display to export.", 0), 0u);
        EXPECT_EQ(cbtest::readFile(dir.file("old.html")), "old report");
        EXPECT_TRUE(f.Dialog->isEnabled());
    }
    {
        // Choosing PDF unticks and disables the chart box; HTML enables it again, unticked.
        TDialogFixture f;
        f.Manager.SetChartEnabled(true);
        TfrmExport dialog(&f.Manager, f.Context.Context());
        TOrangePanel panel;
        dialog.SetChartPanel(&panel);
        TTheme theme;
        dialog.ApplyTheme(&theme);
        if (const char* shots = std::getenv("CB_SCREENSHOTS"))
            dialog.grab().save(QString::fromStdString(std::string(shots) + "/publish-dialog.png"));
        EXPECT_TRUE(dialog.chkIncludeGraphInExport->isChecked());
        dialog.rbPDF->setChecked(true);
        EXPECT_FALSE(dialog.chkIncludeGraphInExport->isChecked());
        EXPECT_FALSE(dialog.chkIncludeGraphInExport->isEnabled());
        dialog.rbHTML->setChecked(true);
        EXPECT_TRUE(dialog.chkIncludeGraphInExport->isEnabled());
        EXPECT_FALSE(dialog.chkIncludeGraphInExport->isChecked());
        // Escape cancels.
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
}

TEST(PublishMail, FileNamesReachTheMailProgramIntact) {
    cbtest::TempDir dir;
    const std::string report = dir.file("Sales, \"Q1\" 'final' Zürich.html");
    const std::string chart = dir.file("chart.jpg");
    cbtest::writeFile(report, "r");
    cbtest::writeFile(chart, "c");
    cbtest::TMailRecorder recorder;
    cbtest::TTestContext context;
    const std::vector<std::string> files{report, chart};
    EXPECT_TRUE(SendEmail("Emailing " + report, "", "", &files, context.Context()));
    EXPECT_TRUE(context.UI.Errors.empty());
    EXPECT_EQ(recorder.Arguments(), (std::vector<std::string>{"--utf8", "--subject", "Emailing " + report, "--attach",
                                                              report, "--attach", chart}));

    // One recipient, trimmed; a missing file goes without an attachment.
    EXPECT_TRUE(SendFileByEmail("s", "body", "  someone@example.org ", dir.file("gone.cub"), context.Context()));
    EXPECT_EQ(recorder.Arguments(),
              (std::vector<std::string>{"--utf8", "--subject", "s", "--body", "body\r\n", "someone@example.org"}));
}

// The real xdg-email with a recording mail program registered as the
// mailto handler under temporary XDG folders, for the life of the object.
class TMailProgramRecorder {
public:
    TMailProgramRecorder() {
        std::filesystem::create_directories(FDir.path() / "data" / "applications");
        std::filesystem::create_directories(FDir.path() / "config");
        cbtest::writeFile(FDir.file("recorder"), "#!/bin/sh\nprintf '%s' \"$1\" > '" + FDir.file("url.part") +
                                                     "' && mv '" + FDir.file("url.part") + "' '" + FDir.file("url") +
                                                     "'\n");
        std::filesystem::permissions(FDir.file("recorder"), std::filesystem::perms::owner_all);
        cbtest::writeFile(FDir.file("data/applications/recorder.desktop"),
                          "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + FDir.file("recorder") +
                              " %u\nMimeType=x-scheme-handler/mailto;\n");
        cbtest::writeFile(FDir.file("config/mimeapps.list"),
                          "[Default Applications]\nx-scheme-handler/mailto=recorder.desktop\n");
        Set("XDG_DATA_HOME", FDir.file("data"));
        Set("XDG_CONFIG_HOME", FDir.file("config"));
        Set("XDG_DATA_DIRS", FDir.file("none"));
        Set("DISPLAY", ":99");  // xdg-open asks for a display before it uses a handler
        for (const char* name :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
              "MATE_DESKTOP_SESSION_ID", "MAILER", "BROWSER", "DBUS_SESSION_BUS_ADDRESS"})
            Set(name, nullptr);
    }
    ~TMailProgramRecorder() {
        for (auto& [name, value] : FOld)
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
    }
    // The mailto address the mail program got, as "key=value" lines decoded.
    // xdg-email may still be on its way when the mail interface stops
    // waiting for it (a busy machine): its answer is awaited here.
    std::string Received() const {
        for (int i = 0; i < 300 && !std::filesystem::exists(FDir.file("url")); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::string out;
        EXPECT_EQ(cbtest::runCommand("/usr/bin/python3 -c \"import sys, urllib.parse as u; s = "
                                     "u.urlsplit(open(sys.argv[1], encoding='utf-8').read()); print('to=' + "
                                     "u.unquote(s.path)); [print(k + '=' + v) for k, v in u.parse_qsl(s.query)]\" '" +
                                         FDir.file("url") + "'",
                                     &out),
                  0);
        return out;
    }

private:
    void Set(const std::string& name, const std::optional<std::string>& value) {
        if (!FOld.count(name)) {
            const char* old = std::getenv(name.c_str());
            FOld[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    void Set(const std::string& name, const char* value) {
        Set(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    cbtest::TempDir FDir;
    std::map<std::string, std::optional<std::string>> FOld;
};

TEST(PublishMail, NamesSurviveXdgEmailIntoTheMailProgram) {
    cbtest::TempDir dir;
    const std::string report = dir.file("Sales, \"Q1\" 'final' Zürich & co.html");
    const std::string chart = dir.file("chart.jpg");
    cbtest::writeFile(report, "r");
    cbtest::writeFile(chart, "c");
    TMailProgramRecorder mailProgram;
    cbtest::TTestContext context;
    const std::vector<std::string> files{report, chart};
    ASSERT_TRUE(SendEmail("Emailing " + report, "", " someone@example.org ", &files, context.Context()));
    EXPECT_TRUE(context.UI.Errors.empty());
    EXPECT_EQ(mailProgram.Received(),
              "to=someone@example.org\nsubject=Emailing " + report + "\nattach=" + report + "\nattach=" + chart + "\n");
}

TEST(PublishMail, MessageRules) {
    cb::os::TKitEmail mail;
    for (auto [given, kept] :
         {std::pair<std::string, std::string>{"hello", "hello\r\n"}, {"hello\r\n", "hello\r\n"}, {"", ""}}) {
        mail.SetBody(given);
        EXPECT_EQ(mail.Body(), kept);
    }
    // No recipients is fine with the compose window, not without it.
    EXPECT_NO_THROW(mail.BuildArguments(true));
    try {
        mail.BuildArguments(false);
        ADD_FAILURE() << "no recipients accepted";
    } catch (const cb::os::EKitMapiError& e) {
        EXPECT_EQ(e.ErrorCode, 25u);
        EXPECT_STREQ(e.what(), "MAPI Error: (25) \"Invalid recipients\"");
    }
    // A missing attachment is refused before anything is started.
    mail.Attachments = {"/nonexistent/report.html"};
    try {
        mail.SendMail(true);
        ADD_FAILURE() << "missing attachment accepted";
    } catch (const cb::os::EKitMapiError& e) {
        EXPECT_EQ(e.ErrorCode, 11u);
        EXPECT_EQ(std::string(e.what()).rfind("MAPI Error: (11) \"A specified attachment was not found\"", 0), 0u);
    }
    // Recipients by kind; an address starting with "-" is not read as an option.
    mail.Attachments.clear();
    mail.SetBody("");
    mail.Recipients.AddRecipient(" a@example.org ");
    mail.Recipients.AddRecipient("c@example.org", "", cb::os::rkCc);
    mail.Recipients.AddRecipient("-x@example.org", "", cb::os::rkBcc);
    EXPECT_EQ(mail.BuildArguments(false), (std::vector<std::string>{"--utf8", "--cc", "c@example.org", "--bcc",
                                                                    "-x@example.org", "a@example.org"}));
    for (const char* bad : {"--help@x", "nobody"}) {
        cb::os::TKitEmail other;
        other.Recipients.AddRecipient(bad);
        try {
            other.BuildArguments(true);
            ADD_FAILURE() << bad;
        } catch (const cb::os::EKitMapiError& e) {
            EXPECT_EQ(e.ErrorCode, 14u);
        }
    }
}

TEST(PublishMail, NoMailProgramGivesAClearError) {
    cbtest::TTestContext context;
    {
        cbtest::TMailRecorder noTool(3);  // xdg-email found no mail program
        EXPECT_FALSE(SendEmail("s", "", "", nullptr, context.Context()));
    }
    const std::string oldPath = std::getenv("PATH");
    cbtest::TempDir empty;
    setenv("PATH", empty.path().c_str(), 1);
    EXPECT_FALSE(SendEmail("s", "", "", nullptr, context.Context()));
    setenv("PATH", oldPath.c_str(), 1);
    ASSERT_EQ(context.UI.Errors.size(), 2u);
    EXPECT_NE(context.UI.Errors[0].find("no mail program is set up"), std::string::npos) << context.UI.Errors[0];
    EXPECT_NE(context.UI.Errors[1].find("xdg-email (from xdg-utils) is not installed"), std::string::npos)
        << context.UI.Errors[1];
}

TEST(PublishDialog, ShownForTheMainWindowWithItsChart) {
    cbtest::TTestContext context;
    cb::grid::TExtStringGrid grid;
    TDisplayManager manager(context.Context());
    manager.GetGridLayout().SetGrid(&grid);
    manager.SetChartEnabled(true);
    QWidget window;
    auto* chart = new TOrangePanel;
    chart->setParent(&window);
    TFeatureContext feature;
    feature.Owner = &window;
    feature.DisplayManager = &manager;
    feature.App = context.Context();
    bool seen = false, chartOffered = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = dynamic_cast<TfrmExport*>(QApplication::activeModalWidget())) {
            seen = true;
            chartOffered = dialog->chkIncludeGraphInExport->isChecked();
            dialog->reject();
        }
    });
    ShowPublishDialog(feature);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(chartOffered);
}

TEST(PublishDialog, ChartPictureBesideTheReportAndInTheWorkbook) {
    cbtest::TempDir dir;
    TOrangePanel panel;
    cbtest::TMailRecorder recorder;
    const std::string report = dir.file("report.html"), picture = dir.file("chart.jpg");
    {
        TDialogFixture f;
        f.Manager.SetChartEnabled(true);
        f.Dialog->SetChartPanel(&panel);
        EXPECT_TRUE(f.Dialog->chkIncludeGraphInExport->isChecked());
        f.Dialog->chkEmailWhenComplete->setChecked(true);
        f.Publish(f.Dialog->rbHTML, report, "With chart");
        EXPECT_EQ(f.Dialog->Attachments(), (std::vector<std::string>{report, picture}));
        EXPECT_NE(cbtest::readFile(report).find("<img src=\"chart.jpg\""), std::string::npos);
        std::string out;
        ASSERT_EQ(
            cbtest::runCommand("/usr/bin/python3 -c \"import sys; from PIL import Image; im = "
                               "Image.open(sys.argv[1]); print(im.format, im.size, im.convert('RGB').getpixel((100, "
                               "60)))\" '" +
                                   picture + "'",
                               &out),
            0);
        EXPECT_EQ(out.substr(0, 16), "JPEG (200, 120) ") << out;
        EXPECT_EQ(recorder.Arguments(), (std::vector<std::string>{"--utf8", "--subject", "Emailing " + report,
                                                                  "--attach", report, "--attach", picture}));
    }
    {
        // Publishing again into the folder replaces the picture the last report wrote, without a question.
        EXPECT_TRUE(IsReportChartPicture(picture));
        cbtest::writeFile(report, "old report");
        TDialogFixture f;
        f.Manager.SetChartEnabled(true);
        f.Dialog->SetChartPanel(&panel);
        f.Publish(f.Dialog->rbHTML, report, "Again");
        EXPECT_TRUE(f.Context.UI.Questions.empty());
        EXPECT_EQ(f.Context.UI.Informations, std::vector<std::string>{"Data successfully exported"});
        EXPECT_NE(cbtest::readFile(report).find("Again"), std::string::npos);
        EXPECT_TRUE(IsReportChartPicture(picture));
    }
    {
        // A picture the program did not write is replaced only when the user
        // agrees; No writes nothing.
        TDialogFixture f;
        f.Manager.SetChartEnabled(true);
        f.Dialog->SetChartPanel(&panel);
        cbtest::writeFile(picture, "someone's picture");
        cbtest::writeFile(report, "old report");
        f.Context.UI.Answer = false;
        f.Publish(f.Dialog->rbHTML, report, "t");
        EXPECT_EQ(f.Context.UI.Questions.size(), 1u);
        EXPECT_FALSE(IsReportChartPicture(picture));
        EXPECT_EQ(cbtest::readFile(picture), "someone's picture");
        EXPECT_EQ(cbtest::readFile(report), "old report");
        EXPECT_TRUE(f.Opened.empty());
        EXPECT_TRUE(f.Dialog->isEnabled());
    }
    {
        // The workbook holds the picture; nothing is left beside it.
        TDialogFixture f;
        f.Manager.SetChartEnabled(true);
        f.Dialog->SetChartPanel(&panel);
        cbtest::TempDir alone;
        const std::string book = alone.file("book.xls");
        f.Publish(f.Dialog->rbExcel, book, "t");
        EXPECT_EQ(f.Context.UI.Informations, std::vector<std::string>{"Data successfully exported"});
        std::string out;
        ASSERT_EQ(cbtest::runCommand("/usr/bin/python3 -c \"import sys, olefile; d = "
                                     "olefile.OleFileIO(sys.argv[1]).openstream('Workbook').read(); "
                                     "print(d.count(bytes([0xFF, 0xD8, 0xFF])))\" '" +
                                         book + "'",
                                     &out),
                  0);
        EXPECT_EQ(out, "1\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(alone.path()), {}), 1);
    }
}

}  // namespace
