// Series data exports, read back by independent readers: Python's csv and
// html.parser, xmllint and xlrd.
#include "chart/component/AxisPanel.h"
#include "chart/core/PlotExceptions.h"
#include "chart/series/line/LineSeries.h"
#include "chartexport/native/SeriesData.h"
#include "platform/rtl/FileIO.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

using namespace cb::chart;
using namespace cb::chartexport;

namespace {

// Output of a command (standard output and error) and its exit status.
std::pair<int, std::string> Shell(const std::string& command) {
    std::string out;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return {-1, out};
    std::array<char, 4096> buf{};
    while (std::size_t n = fread(buf.data(), 1, buf.size(), p)) out.append(buf.data(), n);
    return {pclose(p), out};
}

std::string Save(const std::string& name, const std::string& bytes) {
    // Tests run in parallel processes: each writes under its own name.
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = testing::TempDir() + test->name() + "-" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string Python(const std::string& script, const std::string& file) {
    const std::string path = Save("reader.py", script);
    auto [status, out] = Shell("/usr/bin/python3 " + path + " " + file);
    EXPECT_EQ(status, 0) << out;
    return out;
}

// Two series of 3 and 5 points; labels that hold the delimiter, quotes and
// mark-up.
struct Fixture {
    TAxisPanel chart;
    TLineSeries* a;
    TLineSeries* b;
    Fixture() {
        a = chart.CreateSeries<TLineSeries>();
        a->SetTitle("Sales <2024> & \"more\"");
        a->AddPoint(0, 1.5, std::string("a,b"));
        a->AddPoint(1, -2, std::string("say \"hi\""));
        a->AddPoint(2, 3, std::string("<b>&amp;</b>"));
        b = chart.CreateSeries<TLineSeries>();
        b->SetTitle("Costs");
        for (int i = 0; i < 5; ++i) b->AddValue(i * 10);
    }
};

TEST(SeriesData, TextReadByPythonCsv) {
    Fixture f;
    TSeriesDataText text(&f.chart, nullptr);
    text.Delimiter = ',';
    text.IncludeHeader = true;
    text.IncludeIndex = true;
    const std::string path = Save("series.csv", text.BuildText());
    const std::string out = Python(
        "import csv,sys\n"
        "rows=[r for r in csv.reader(open(sys.argv[1],newline='')) if r]\n"
        "for r in rows: print(len(r), '|'.join(r))\n",
        path);
    EXPECT_EQ(out,
                  "4 Index|Text|Sales <2024> & \"more\"|Costs\n"
                  "4 0|a,b|1.5|0\n"
                  "4 1|say \"hi\"|-2|10\n"
                  "4 2|<b>&amp;</b>|3|20\n"
                  "4 3|||30\n"
                  "4 4|||40\n");
}

TEST(SeriesData, XmlAndHtmlAreWellFormed) {
    Fixture f;
    TSeriesDataXML xml(&f.chart, nullptr);
    xml.IncludeIndex = true;
    const std::string doc = xml.BuildText();
    EXPECT_EQ(doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u);
    const std::string xmlPath = Save("series.xml", doc);
    auto [status, out] = Shell("xmllint --noout " + xmlPath);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(Python("import sys, xml.etree.ElementTree as E\n"
                     "r=E.parse(sys.argv[1]).getroot()\n"
                     "for s in r: print(s.get('title'), [p.get('text') for p in s.iter('point')])\n",
                     xmlPath),
              "Sales <2024> & \"more\" ['a,b', 'say \"hi\"', '<b>&amp;</b>']\n"
              "Costs ['', '', '', '', '']\n");

    TSeriesDataHTML html(&f.chart, nullptr);
    html.IncludeHeader = true;
    const std::string htmlPath = Save("series.html", html.BuildText());
    auto [hstatus, hout] = Shell("xmllint --html --noout " + htmlPath);
    EXPECT_EQ(hstatus, 0) << hout;
    EXPECT_EQ(hout, "");
    EXPECT_EQ(Python("import sys\nfrom html.parser import HTMLParser\n"
                     "class P(HTMLParser):\n"
                     "  rows=[]; cell=False\n"
                     "  def handle_starttag(s,t,a):\n"
                     "    if t=='tr': s.rows.append([])\n"
                     "    if t=='td': s.rows[-1].append(''); s.cell=True\n"
                     "  def handle_endtag(s,t):\n"
                     "    if t=='td': s.cell=False\n"
                     "  def handle_data(s,d):\n"
                     "    if s.cell: s.rows[-1][-1]+=d\n"
                     "p=P(convert_charrefs=True); p.feed(open(sys.argv[1]).read())\n"
                     "for r in p.rows: print(len(r), '|'.join(r))\n",
                     htmlPath),
                  "4 Text|Sales <2024> & \"more\"|Text|Costs\n"
                  "4 a,b|1.5||0\n"
                  "4 say \"hi\"|-2||10\n"
                  "4 <b>&amp;</b>|3||20\n"
                  "4 |||30\n"
                  "4 |||40\n");
}

TEST(SeriesData, SpreadsheetReadByXlrd) {
    Fixture f;
    f.a->AddNullPoint(3, 0);
    TSeriesDataXLS xls(&f.chart, nullptr);
    xls.IncludeHeader = true;
    xls.IncludeIndex = true;
    f.a->Labels().SetLabel(0, std::string(300, 'x'));  // cut to 255
    const std::string path = Save("series.xls", xls.BuildText());
    EXPECT_EQ(Python("import os, sys, xlrd\n"
                     "s=xlrd.open_workbook(sys.argv[1], logfile=open(os.devnull, 'w')).sheet_by_index(0)\n"
                     "print(s.nrows, s.ncols)\n"
                     "for r in range(s.nrows): print([(c.ctype, c.value if c.ctype!=1 else len(c.value) if len(c.value)>20 else c.value) for c in s.row(r)])\n",
                     path),
              "6 5\n"
              "[(1, 'Index'), (1, 'Text'), (1, 'Y'), (1, 'Text'), (1, 'Y')]\n"
              "[(2, 0.0), (1, 255), (2, 1.5), (1, ''), (2, 0.0)]\n"
              "[(2, 1.0), (1, 'say \"hi\"'), (2, -2.0), (1, ''), (2, 10.0)]\n"
              "[(2, 2.0), (1, '<b>&amp;</b>'), (2, 3.0), (1, ''), (2, 20.0)]\n"
              "[(2, 3.0), (1, ''), (0, ''), (1, ''), (2, 30.0)]\n"
              "[(2, 4.0), (1, ''), (0, ''), (1, ''), (2, 40.0)]\n");
    // Blank cells read as empty (0). Row numbers are 16 bits: more points are refused, never wrapped.
    auto* big = f.chart.CreateSeries<TLineSeries>();
    for (int i = 0; i < 65535; ++i) big->AddValue(i);
    TSeriesDataXLS tooBig(&f.chart, big);
    tooBig.IncludeHeader = true;
    EXPECT_THROW(tooBig.BuildText(), ChartException);
    tooBig.IncludeHeader = false;
    EXPECT_NO_THROW(tooBig.BuildText());
}

}  // namespace
