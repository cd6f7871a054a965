// The RTF table export, read back by unrtf and LibreOffice and checked for
// balanced groups and table indexes that exist.
#include "tabexport/rtf/TabExportRTF.h"
#include "tests/tabexport/TabExportTestSupport.h"

#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

using namespace cb::tabexport;
using namespace cb::tabexport::test;

namespace {

// Every match of Pattern in Text, as its groups.
std::vector<std::vector<std::string>> AllMatches(const std::string& Text, const std::string& Pattern) {
    std::vector<std::vector<std::string>> out;
    const std::regex re(Pattern);
    for (auto it = std::sregex_iterator(Text.begin(), Text.end(), re); it != std::sregex_iterator(); ++it) {
        out.emplace_back();
        for (size_t g = 0; g < it->size(); ++g) out.back().push_back((*it)[g]);
    }
    return out;
}

const char* kTitle = "Q1 (draft {x} \\ caf\xC3\xA9";

TTable Sample() {
    return {{"Name", "Amount", "Note"},
            {"North", "12.5", "a\\b"},
            {"South {z}", "7", "\xE2\x82\xAC caf\xC3\xA9"},
            {"East", "3", "plain"}};
}

void Prepare(TTabExportRTF& x, cb::grid::TBaseGrid& grid) {
    x.ExportSource = esStringGrid;
    x.StringGrid = &grid;
    x.CaptionRow = 0;
    x.Header.Add(kTitle);
    x.Header.Add("second line");
    x.Footer.Add("End {y}");
}

// Groups balance, and every \fN and colour index names a table entry;
// colour entries are unique.
void CheckStructure(const std::string& rtf) {
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;  // an escaped character or the first of a control word
            continue;
        }
        if (rtf[i] == '{') ++depth;
        if (rtf[i] == '}') --depth;
        ASSERT_GE(depth, 0) << "at " << i;
        if (depth == 0) {
            ASSERT_EQ(rtf.find_first_not_of("\r\n", i + 1), std::string::npos) << "text after the end";
        }
    }
    EXPECT_EQ(depth, 0);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(rtf, m, std::regex(R"(\{\\fonttbl((?:\{[^}]*\})*)\})")));
    const int fonts = int(AllMatches(rtf, R"(\{\\f\d+\\fnil )").size());
    ASSERT_TRUE(std::regex_search(rtf, m, std::regex(R"(\{\\colortbl([^}]*)\})")));
    std::string table = m[1];
    std::vector<std::string> colours;
    for (const auto& g : AllMatches(table, R"(\\red\d+\\green\d+\\blue\d+;)")) colours.push_back(g[0]);
    EXPECT_EQ(std::set<std::string>(colours.begin(), colours.end()).size(), colours.size()) << table;
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours[0], "\\red0\\green0\\blue0;");
    std::string body = rtf.substr(rtf.find("\\paperw"));
    for (const auto& g : AllMatches(body, R"((?:^|[^\\])\\(f|cf|cbpat|highlight)(\d+))")) {
        int n = std::stoi(g[2]);
        if (g[1] == "f")
            EXPECT_LT(n, fonts) << g[0];
        else
            EXPECT_LT(n, int(colours.size())) << g[0];
    }
}

}  // namespace

TEST(RtfTable, DocumentReadsBackInUnrtfAndLibreOffice) {
    auto grid = MakeGrid(Sample(), 1);
    TTabExportRTF x;
    Prepare(x, *grid);
    std::string dir = TempDir();
    x.FileName = dir + "/table.rtf";
    x.Execute();
    std::string rtf = ReadFile(x.FileName);
    CheckStructure(rtf);
    // the caption and data texts, escaped
    EXPECT_NE(rtf.find("a\\\\b"), std::string::npos);
    EXPECT_NE(rtf.find("South \\{z\\}"), std::string::npos);
    EXPECT_NE(rtf.find("Q1 (draft \\{x\\} \\\\ caf\\'e9"), std::string::npos);
    // every row (caption and three data rows) with its own definition:
    // boundaries grow by width x X x 15 + 10; sizes in positive half-points
    std::vector<long> cellx;
    for (const auto& g : AllMatches(rtf, R"(\\cellx(\d+))")) cellx.push_back(std::stol(g[1]));
    ASSERT_EQ(cellx.size(), 4u * 3u);
    EXPECT_GT(cellx[0], 36 + 10);
    EXPECT_EQ(AllMatches(rtf, R"(\\trowd)").size(), 4u);
    EXPECT_EQ(AllMatches(rtf, R"(\\row\b)").size(), 4u);
    EXPECT_TRUE(AllMatches(rtf, R"(\\fs-)").empty());
    EXPECT_FALSE(AllMatches(rtf, R"(\\fs20\b)").empty());

    std::string text = RunProgram("/usr/bin/unrtf", {"--text", x.FileName});
    for (const char* s : {"Q1 (draft {x} \\ caf", "second line", "End {y}", "South {z}", "a\\b", "North", "12.5"})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;

    // As the word processor lays it out: the captions side by side on one
    // line, each data row on a line of its own.
    std::string out = dir + "/pdf";
    RunProgram("/usr/bin/soffice", {"-env:UserInstallation=file://" + dir + "/lo-profile", "--headless", "--convert-to",
                                    "pdf", "--outdir", out, x.FileName});
    std::string page = RunProgram("/usr/bin/pdftotext", {"-layout", out + "/table.pdf", "-"});
    for (const char* s : {"Q1 (draft {x} \\ caf\xC3\xA9", "End {y}", "\xE2\x82\xAC caf\xC3\xA9"})
        EXPECT_NE(page.find(s), std::string::npos) << s << "\n" << page;
    std::vector<std::string> lines;
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    auto lineOf = [&](const std::vector<std::string>& cells) {
        for (size_t i = 0; i < lines.size(); ++i) {
            size_t at = 0;
            bool all = true;
            for (const std::string& c : cells) {
                at = lines[i].find(c, at);
                if (at == std::string::npos) {
                    all = false;
                    break;
                }
                at += c.size();
            }
            if (all) return int(i);
        }
        return -1;
    };
    const int captions = lineOf({"Name", "Amount", "Note"});
    const int north = lineOf({"North", "12.5", "a\\b"});
    const int south = lineOf({"South {z}", "7", "\xE2\x82\xAC caf\xC3\xA9"});
    const int east = lineOf({"East", "3", "plain"});
    EXPECT_GE(captions, 0) << page;
    EXPECT_GT(north, captions) << page;
    EXPECT_GT(south, north) << page;
    EXPECT_GT(east, south) << page;
}

TEST(RtfTable, CellsWithoutOwnColourUseTheDefaultTextColour) {
    auto grid = MakeGrid(Sample(), 1);
    TTabExportRTF x;
    Prepare(x, *grid);
    x.AllowCaptions = false;
    std::vector<int> rows;
    // as the application does: the grid's colours, none for most cells
    x.OnGetDataStyle = [&](TTabExportRTF&, int Row, int Col, TrtfStyle& Style) {
        if (Col == 0) rows.push_back(Row);
        bool own = Row == 1 && Col == 1;
        Style.AllowBackground = true;
        Style.BackgroundColor = own ? 0xCCCCCC : cb::gfx::clNone;
        Style.Font.SetColor(own ? 0x0000FF : cb::gfx::clNone);
        Style.Alignment = talRight;  // data cells keep their column's alignment
    };
    cb::rtl::TStringStream out;
    x.ExportToStream(out);
    std::string rtf = out.DataString();
    CheckStructure(rtf);
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
    // no white on white: the default colour, no cell background
    EXPECT_NE(rtf.find("\\pard\\intbl\\li30\\ri30\\ql{\\f0\\fs20\\cf0 North}\\cell"), std::string::npos) << rtf;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        rtf, m, std::regex(R"(\\pard\\intbl\\li30\\ri30\\cbpat(\d+)\\ql\{\\f0\\fs20\\cf(\d+) 7\}\\cell)")));
    EXPECT_NE(m[1], m[2]);
    // no caption row, no caption font line before the data
    EXPECT_EQ(rtf.find("Name"), std::string::npos);
}

TEST(RtfTable, StripStylesAlternateByRowAndColumn) {
    struct TCase {
        TrtfStripType Type;
        int SkipRecCount;
        std::vector<std::string> FirstCellColours;  // per exported row
        std::vector<std::string> RowOneColours;     // per column of the first row
    };
    const TCase cases[] = {
        {stRow, 0, {"A", "B", "A"}, {"A", "A", "A"}},
        {stRow, 1, {"A", "B"}, {"A", "A", "A"}},
        {stCol, 0, {"A", "A", "A"}, {"A", "B", "A"}},
    };
    for (const auto& c : cases) {
        auto grid = MakeGrid(Sample(), 1);
        TTabExportRTF x;
        Prepare(x, *grid);
        x.AllowCaptions = false;
        x.SkipRecCount = c.SkipRecCount;
        x.Options.StripType = c.Type;
        x.Options.StripStyles.resize(2);
        x.Options.StripStyles[0].BackgroundColor = 0x0000AA;  // A
        x.Options.StripStyles[1].BackgroundColor = 0x00BB00;  // B
        std::vector<int> seenRows;
        x.OnGetDataStyle = [&](TTabExportRTF&, int Row, int Col, TrtfStyle&) {
            if (Col == 0) seenRows.push_back(Row);
        };
        cb::rtl::TStringStream out;
        x.ExportToStream(out);
        std::string rtf = out.DataString();
        CheckStructure(rtf);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(rtf, m, std::regex(R"(\{\\colortbl([^}]*)\})")));
        std::string table = m[1];
        auto letter = [&](int index) {
            size_t at = 0;
            for (int k = 0; k < index; ++k) at = table.find(';', at) + 1;
            std::string entry = table.substr(at, table.find(';', at) - at);
            return entry == "\\red170\\green0\\blue0" ? "A" : entry == "\\red0\\green187\\blue0" ? "B" : "?";
        };
        std::vector<std::vector<std::string>> rows;
        std::istringstream lines(rtf);
        for (std::string line; std::getline(lines, line);) {
            if (line.find("\\row") == std::string::npos) continue;
            rows.emplace_back();
            for (const auto& g : AllMatches(line, R"(\\cbpat(\d+))")) rows.back().push_back(letter(std::stoi(g[1])));
        }
        ASSERT_EQ(rows.size(), c.FirstCellColours.size());
        for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(rows[r][0], c.FirstCellColours[r]) << "row " << r;
        EXPECT_EQ(rows[0], c.RowOneColours);
        EXPECT_EQ(seenRows.front(), c.SkipRecCount);
    }
}

TEST(RtfTable, AbortedExportWritesTheFooterOnceAndKeepsTheOldFile) {
    auto grid = MakeGrid(Sample(), 1);
    TTabExportRTF x;
    Prepare(x, *grid);
    x.OnExportedRecord = [](TTabExport& Sender, int) { Sender.Abort(); };
    cb::rtl::TStringStream out;
    x.ExportToStream(out);
    std::string rtf = out.DataString();
    CheckStructure(rtf);
    EXPECT_NE(rtf.find("End \\{y\\}"), std::string::npos);
    EXPECT_EQ(rtf.find("End", rtf.find("End \\{y\\}") + 1), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("South"), std::string::npos) << "the export stopped after the first row";

    // through a file: the old file stays as it was
    std::string file = TempDir() + "/kept.rtf";
    WriteFile(file, "old");
    x.FileName = file;
    x.Execute();
    EXPECT_EQ(ReadFile(file), "old");
    x.OnExportedRecord = nullptr;
    x.Execute();
    CheckStructure(ReadFile(file));
}

TEST(RtfTable, LandscapePageAndHeaderColoursWithoutHeaderLines) {
    auto grid = MakeGrid(Sample(), 1);
    TTabExportRTF x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    x.Options.PageOrientation = poLandscape;
    x.Options.HeaderStyle.BackgroundColor = 0x123456;
    cb::rtl::TStringStream out;
    x.ExportToStream(out);
    std::string rtf = out.DataString();
    CheckStructure(rtf);
    EXPECT_NE(rtf.find("\\landscape\r\n\\paperw16838\r\n\\paperh11906\r\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\red86\\green52\\blue18;"), std::string::npos);
}

TEST(RtfTable, BooleanTextsAreEscapedToo) {
    auto grid = MakeGrid({{"Flag", "Name"}, {"{yes}", "a"}, {"no\\", "b"}}, 1);
    TTabExportRTF x;
    Prepare(x, *grid);
    x.AutoCalcStrType = true;
    x.Formats().SetBooleanTrue("{yes}");
    x.Formats().SetBooleanFalse("no\\");
    cb::rtl::TStringStream out;
    x.ExportToStream(out);
    std::string rtf = out.DataString();
    CheckStructure(rtf);
    EXPECT_NE(rtf.find("\\{yes\\}"), std::string::npos) << rtf;
}
