// Reading XMLA answers, without a server: data sets, rowsets, faults and
// what a hostile answer may try.
#include "olap/xmla/XmlaReader.h"
#include "tests/xmla/XmlaTestSupport.h"

#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace cb::olap;
using namespace cb::olap::xmla;
using cbtest::xmla::ErrorOf;

namespace {

std::string Envelope(const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body>" +
           body + "</S:Body></S:Envelope>";
}

std::string Result(const std::string& root) {
    return Envelope("<ExecuteResponse xmlns=\"urn:schemas-microsoft-com:xml-analysis\"><return>"
                    "<root xmlns=\"urn:schemas-microsoft-com:xml-analysis:mddataset\" "
                    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">" +
                    root + "</root></return></ExecuteResponse>");
}

std::string Member(const std::string& unique, int displayInfo = 0) {
    return "<Member Hierarchy=\"H\"><UName>" + unique +
           "</UName><Caption>c</Caption><LName>[H].[L]</LName>"
           "<LNum>1</LNum><DisplayInfo>" +
           std::to_string(displayInfo) + "</DisplayInfo></Member>";
}

std::string AxisXml(int n, const std::vector<std::vector<std::string>>& tuples) {
    std::string s = "<Axis name=\"Axis" + std::to_string(n) + "\"><Tuples>";
    for (const auto& t : tuples) {
        s += "<Tuple>";
        for (const auto& u : t) s += Member(u);
        s += "</Tuple>";
    }
    return s + "</Tuples></Axis>";
}

}  // namespace

TEST(XmlaReader, ReadsTuplesAndSparseCells) {
    const std::string body = Result(
        "<OlapInfo><AxesInfo/></OlapInfo><Axes>" + AxisXml(0, {{"[M].[a]"}, {"[M].[b]"}}) +
        AxisXml(1, {{"[X].[p]", "[Y].[q]"}, {"[X].[p]", "[Y].[r]"}}) +
        "<Axis name=\"SlicerAxis\"><Tuples><Tuple/></Tuples></Axis></Axes><CellData>"
        "<Cell CellOrdinal=\"3\"><Value xsi:type=\"xsd:string\">n/a</Value><FmtValue>n/a</FmtValue></Cell>"
        "<Cell CellOrdinal=\"0\"><Value xsi:type=\"xsd:double\">1.5E3</Value><FmtValue>1,500.0</FmtValue></Cell>"
        "<Cell CellOrdinal=\"1\"><Value><Error><ErrorCode>1</ErrorCode></Error></Value><FmtValue>#ERR</FmtValue></Cell>"
        "</CellData>");
    DataSet d = ReadDataSet(body);
    ASSERT_EQ(d.axes.size(), 2u);
    EXPECT_EQ(d.axes[0].dims, 1);
    EXPECT_EQ(d.axes[0].positions, 2u);
    EXPECT_EQ(d.axes[1].dims, 2);
    EXPECT_EQ(d.axes[1].positions, 2u);
    // The same member in two tuples is one entry.
    EXPECT_EQ(d.memberTable.size(), 5u);
    EXPECT_EQ(d.axes[1].members[0], d.axes[1].members[2]);
    EXPECT_EQ(d.memberTable[d.axes[1].members[3]].uniqueName, "[Y].[r]");
    ASSERT_EQ(d.cells.size(), 3u);  // sorted by ordinal
    EXPECT_EQ(d.cells[0].ordinal, 0u);
    EXPECT_EQ(d.cells[0].value, Variant(1500.0));
    EXPECT_EQ(d.cells[0].formatted, "1,500.0");
    EXPECT_TRUE(d.cells[1].value.IsEmpty());  // an error in place of a value
    EXPECT_EQ(d.cells[1].problem, "an error (code 1)");
    EXPECT_EQ(d.cells[2].value, Variant("n/a"));
    EXPECT_EQ(d.cells[2].problem, "");
}

TEST(XmlaReader, NumbersAsXmlSchemaWritesThem) {
    const double max = std::numeric_limits<double>::max();
    struct Case {
        const char* text;
        bool number;
        double value;
    } cases[] = {
        {" +7.25 ", true, 7.25}, {"1.5E3", true, 1500}, {"-.5", true, -0.5}, {"40", true, 40},
        {"1e999", true, max},    {"-1e999", true, -max}, {"1e-999", true, 0}, {"0.0000", true, 0},
        {"1,5", false, 0},       {"0x10", false, 0},     {"inf", false, 0},   {"infinity", false, 0},
        {"", false, 0},          {"+", false, 0},        {"1e", false, 0},    {"12 5", false, 0},
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(ParseXsdNumber(c.text, v), c.number) << c.text;
        if (c.number) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    double v = 0;
    EXPECT_TRUE(ParseXsdNumber("NaN", v) && std::isnan(v));
    EXPECT_TRUE(ParseXsdNumber("-INF", v) && std::isinf(v) && v < 0);
    EXPECT_TRUE(ParseXsdNumber("INF", v) && std::isinf(v) && v > 0);
}

TEST(XmlaReader, RowsetsAndFaults) {
    const std::string rows =
        Envelope("<DiscoverResponse xmlns=\"urn:schemas-microsoft-com:xml-analysis\"><return>"
                 "<root xmlns=\"urn:schemas-microsoft-com:xml-analysis:rowset\"><xsd:schema "
                 "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><xsd:element name=\"row\"/></xsd:schema>"
                 "<row><CUBE_NAME>Sales &amp; &#x4E2D;</CUBE_NAME><X/></row><row><CUBE_NAME>B</CUBE_NAME></row>"
                 "</root></return></DiscoverResponse>");
    Rowset r = ReadRowset(rows);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].Get("CUBE_NAME"), "Sales & \xE4\xB8\xAD");
    EXPECT_TRUE(r[0].Has("X"));
    EXPECT_EQ(r[1].Get("X"), "");

    const std::string fault =
        Envelope("<S:Fault><faultcode>S:Server</faultcode><faultstring>Parse failed</faultstring><detail><Error "
                 "ErrorCode=\"3\" Description=\"Unknown member [X]\"/></detail></S:Fault>");
    EXPECT_EQ(ErrorOf([&] { ReadRowset(fault); }), "Parse failed: Unknown member [X]");
    try {
        ReadDataSet(fault);
        FAIL();
    } catch (const EXmlaFault&) {}
}

TEST(XmlaReader, HostileAndBrokenAnswersAreRefused) {
    ReadLimits small;
    small.maxRows = 2;
    small.maxTupleMembers = 3;
    const std::string row = "<row><A>1</A></row>";
    const std::string rowset =
        "<DiscoverResponse><return><root>" + row + row + row + "</root></return></DiscoverResponse>";
    struct Case {
        std::string what;
        std::function<void()> read;
        std::string message;
    } cases[] = {
        {"span",
         [] {
             ReadDataSet(Result("<Axes>" + AxisXml(0, std::vector<std::vector<std::string>>(3000, {"[A].[x]"})) +
                                AxisXml(1, std::vector<std::vector<std::string>>(2000, {"[B].[y]"})) + "</Axes>"));
         },
         "sent a malformed answer: its axes span more than 4000000 cells (line 2)"},
        {"ordinal",
         [] {
             ReadDataSet(Result("<Axes>" + AxisXml(0, {{"[A].[x]"}}) +
                                "</Axes><CellData><Cell "
                                "CellOrdinal=\"99999999999\"><Value>1</Value></Cell></CellData>"));
         },
         "sent a malformed answer: cell 99999999999 lies outside the axes, which span 1 cells (line 2)"},
        {"twice",
         [] {
             ReadDataSet(Result("<Axes>" + AxisXml(0, {{"[A].[x]"}, {"[A].[y]"}}) +
                                "</Axes><CellData>"
                                "<Cell CellOrdinal=\"1\"/><Cell CellOrdinal=\"1\"/></CellData>"));
         },
         "sent a malformed answer: cell 1 is given twice"},
        {"ragged",
         [] {
             ReadDataSet(Result("<Axes>" + AxisXml(0, {{"[A].[x]"}, {"[A].[y]", "[B].[z]"}}) + "</Axes>"));
         },
         "sent a malformed answer: a tuple holds 2 members where the first held 1 (line 2)"},
        {"members",
         [&] {
             ReadDataSet(
                 Result("<Axes>" + AxisXml(0, {{"[A].[w]"}, {"[A].[x]"}, {"[A].[y]"}, {"[A].[z]"}}) + "</Axes>"),
                 small);
         },
         "sent a malformed answer: its axes hold more than 3 members (line 2)"},
        {"rows", [&] { ReadRowset(Envelope(rowset), small); },
         "sent a malformed answer: it holds more than 2 rows (line 2)"},
        {"cells first", [] { ReadDataSet(Result("<CellData/>")); },
         "sent a malformed answer: its cells come before its axes (line 2)"},
        {"crossproduct", [] { ReadDataSet(Result("<Axes><Axis name=\"Axis0\"><CrossProduct/></Axis></Axes>")); },
         "sent a malformed answer: its axes are not in tuple format (line 2)"},
        {"third axis",
         [] {
             ReadDataSet(Result("<Axes>" + AxisXml(0, {{"[A].[x]"}}) + AxisXml(1, {{"[B].[x]"}}) +
                                AxisXml(2, {{"[C].[x]"}}) + "</Axes>"));
         },
         "sent a malformed answer: it has more than 2 axes (line 2)"},
        {"not a number",
         [] {
             ReadDataSet(Result("<Axes>" + AxisXml(0, {{"[A].[x]"}}) +
                                "</Axes><CellData><Cell "
                                "CellOrdinal=\"0\"><Value xsi:type=\"xsd:double\">lots</Value></Cell>"
                                "</CellData>"));
         },
         "sent a malformed answer: the cell value \"lots\" is not a number (line 2)"},
        {"level",
         [] {
             ReadDataSet(Result("<Axes><Axis name=\"Axis0\"><Tuples><Tuple><Member><UName>u</UName><LNum>"
                                "99999999999</LNum></Member></Tuple></Tuples></Axis></Axes>"));
         },
         "sent a malformed answer: the level number \"99999999999\" is not a whole number (line 2)"},
        {"not soap", [] { ReadRowset("<html><body>hello</body></html>"); },
         "sent a malformed answer: it is not a SOAP envelope (it starts with <html>) (line 1)"},
        {"no xml", [] { ReadRowset("PK\x03\x04 garbage"); }, "sent a malformed answer: Start tag expected. (line 1)"},
        {"no body", [] { ReadRowset(Envelope("").replace(Envelope("").find("<S:Body>"), 17, "")); },
         "sent a malformed answer: it has no SOAP body (line 2)"},
        {"undeclared entity", [] { ReadRowset(Envelope("<x>&bomb;</x>")); },
         "sent a malformed answer: Entity 'bomb' not declared. (line 2)"},
        {"trailing", [] { ReadRowset(Envelope("<R/>") + "<more/>"); },
         "sent a malformed answer: Extra content at end of document. (line 2)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.read), c.message) << c.what;
}

namespace {

std::string Rows(const std::string& rows) {
    return Envelope("<DiscoverResponse xmlns=\"urn:schemas-microsoft-com:xml-analysis\"><return>"
                    "<root xmlns=\"urn:schemas-microsoft-com:xml-analysis:rowset\">" +
                    rows + "</root></return></DiscoverResponse>");
}

// The answer in pieces of the given size, as a transfer hands it over.
AnswerSource InPieces(const std::string& body, size_t size) {
    return [&body, size, at = size_t(0)](std::string& piece) mutable {
        if (at >= body.size()) return false;
        piece = body.substr(at, size);
        at += piece.size();
        return true;
    };
}

}  // namespace

// However an answer is cut into pieces, it reads as it does whole: pieces
// that end inside a tag, an entity, a UTF-8 character, a CDATA section or a
// comment, or right after the envelope.
TEST(XmlaReader, AnswersInPiecesReadAsWhole) {
    const std::string answers[] = {
        Rows("<row><A>Sh\xC3\xB6p &amp; &#x4E2D; <![CDATA[<b>]]]></A><!-- a <row> - -->"
             "<?pi x?><row><A x='>' y=\"'\">2</A></row></row>"),
        Rows("<row><A>1</A></row>") + "\n<!-- after -->\n<?done?>\n",
        Rows("<row><A>1</A></row>") + "<more/>",
        Rows("<row><A>1</A></row>") + "<!-- not closed",
        Rows("<row><A>1</A></row>").substr(0, 120),
    };
    for (const std::string& body : answers) {
        std::string whole;
        try {
            for (const Row& r : ReadRowset(body))
                for (const auto& [k, v] : r.columns) whole += k + "=" + v + ";";
        } catch (const EOlapError& e) {
            whole = "error";
        }
        for (size_t size : {1, 2, 3, 7, 64, 4096}) {
            ReadLimits stretches;
            stretches.stretchBytes = size;
            std::string pieces;
            try {
                for (const Row& r : ReadRowset(InPieces(body, size), stretches))
                    for (const auto& [k, v] : r.columns) pieces += k + "=" + v + ";";
            } catch (const EOlapError& e) {
                pieces = "error";
            }
            EXPECT_EQ(pieces, whole) << "pieces of " << size << ": " << body.substr(body.size() - 60);
        }
    }
    ReadLimits bytes;
    bytes.stretchBytes = 1;
    EXPECT_EQ(ErrorOf([&] { ReadRowset(InPieces(answers[2], 1), bytes); }),
              "sent a malformed answer: it goes on after the SOAP envelope (line 2)");
}

// Runs of megabytes are cut before the XML reader holds them, where the
// text would be cut anyway: the value read is what the first characters
// make, whatever the cut falls into. A tag that long is refused.
TEST(XmlaReader, LongRunsAreCutWhereTheirTextIsCut) {
    const auto repeat = [](const std::string& s, size_t bytes) {
        std::string r;
        while (r.size() < bytes) r += s;
        return r;
    };
    // text as read: filler (as decoded) repeated, cut to kMaxElementText characters.
    const auto cut = [&](const std::string& decoded) {
        return QString::fromStdString(repeat(decoded, 4 * kMaxElementText)).left(kMaxElementText).toStdString();
    };
    const size_t big = 3 << 20;
    struct Case {
        std::string what;
        std::string row;
        std::string value;  // of A, or the error
    } cases[] = {
        {"entity at the cut", "<A>" + repeat("y\xC3\xA9&amp;z", big) + "</A>", cut("y\xC3\xA9&z")},
        {"character at the cut", "<A>" + repeat("\xE4\xB8\xAD", big) + "</A>", cut("\xE4\xB8\xAD")},
        {"cdata", "<A><![CDATA[" + repeat("y]", big) + "]]></A>", cut("y]")},
        {"comment", "<!--" + repeat("- ", big) + "--><A>1</A>", "1"},
        {"instruction", "<?pi " + repeat("?", big) + "?><A>1</A>", "1"},
        {"blanks", repeat(" ", big) + "<A>1</A>" + repeat(" ", big), "1"},
        {"attribute", "<A x=\"" + repeat("v", big) + "\">1</A>",
         "sent a malformed answer: a tag is longer than 1 MB (line 2)"},
    };
    for (const Case& c : cases) {
        const std::string body = Rows("<row>" + c.row + "</row>");
        std::string value;
        try {
            ReadLimits stretches;
            stretches.stretchBytes = 4093;
            const Rowset rows = ReadRowset(InPieces(body, 4093), stretches);
            value = rows.size() == 1 ? rows[0].Get("A") : "rows: " + std::to_string(rows.size());
        } catch (const EOlapError& e) {
            value = e.what();
        }
        EXPECT_EQ(value.size(), c.value.size()) << c.what;
        EXPECT_TRUE(value == c.value) << c.what << ": " << value.substr(0, 100);
    }
}
