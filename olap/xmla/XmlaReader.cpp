#include "olap/xmla/XmlaReader.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <functional>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace cb::olap::xmla {

namespace {

const char* const kSoapNamespace = "http://schemas.xmlsoap.org/soap/envelope/";
const char* const kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";

std::string S(QStringView v) {
    return v.toString().toStdString();
}

// Passes an answer on with every run of text, CDATA, comment or processing
// instruction cut after kMaxRun bytes: the XML reader holds a whole token
// in memory, and no text is kept beyond kMaxElementText characters anyway.
// Cuts fall between characters and outside entity references; a cut
// comment, CDATA section or instruction is closed as it was. A tag cannot
// be cut: a longer one is refused.
class RunCutter {
public:
    static constexpr size_t kMaxRun = size_t(1) << 20;

    // Appends in to out; false when a tag is longer than kMaxRun.
    bool Pass(std::string_view in, std::string& out) {
        for (const char c : in) {
            const bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // not inside a UTF-8 sequence
            switch (FState) {
            case State::Text:
                if (c == '<') {
                    Begin(State::Open);
                    out += c;
                } else if (!FDropping) {
                    if (FRun >= kMaxRun && lead && FEntity == 0) {
                        FDropping = true;
                        continue;
                    }
                    out += c;
                    ++FRun;
                    if (c == '&')
                        FEntity = 1;
                    else if (c == ';' || (FEntity && ++FEntity > 64))
                        FEntity = 0;
                }
                continue;
            case State::Open:
                out += c;
                FOpen += c;
                if (FOpen == "?")
                    Begin(State::Instruction);
                else if (FOpen == "!--")
                    Begin(State::Comment);
                else if (FOpen == "![CDATA[")
                    Begin(State::CData);
                else if (!std::string_view("!--").starts_with(FOpen) &&
                         !std::string_view("![CDATA[").starts_with(FOpen)) {
                    const std::string open = FOpen;
                    Begin(State::Tag);
                    FRun = 1;
                    for (const char o : open) InTag(o);
                }
                continue;
            case State::Tag:
                out += c;
                if (FRun >= kMaxRun) return false;
                InTag(c);
                continue;
            case State::Comment:
            case State::CData:
            case State::Instruction: {
                const bool end = c == '>' && (FState == State::Instruction ? FLast1 == '?'
                                              : FState == State::Comment   ? FLast1 == '-' && FLast2 == '-'
                                                                           : FLast1 == ']' && FLast2 == ']');
                if (end) {
                    if (FDropping)
                        out += FState == State::Comment ? " -->" : FState == State::CData ? "]]>" : " ?>";
                    else
                        out += c;
                    Begin(State::Text);
                    continue;
                }
                FLast2 = FLast1;
                FLast1 = c;
                if (FDropping) continue;
                if (FRun >= kMaxRun && lead) {
                    FDropping = true;
                    continue;
                }
                out += c;
                ++FRun;
                continue;
            }
            }
        }
        return true;
    }

private:
    enum class State {
        Text,
        Open,
        Tag,
        Comment,
        CData,
        Instruction
    };

    void Begin(State s) {
        FState = s;
        FRun = 0;
        FDropping = false;
        FQuote = 0;
        FLast1 = FLast2 = 0;
        FEntity = 0;
        FOpen.clear();
    }
    void InTag(char c) {
        ++FRun;
        if (FQuote) {
            if (c == FQuote) FQuote = 0;
        } else if (c == '"' || c == '\'') {
            FQuote = c;
        } else if (c == '>') {
            Begin(State::Text);
        }
    }

    State FState = State::Text;
    size_t FRun = 0;  // bytes of the current run
    bool FDropping = false;
    char FQuote = 0;              // in a tag: the quote of the attribute value it is in
    char FLast1 = 0, FLast2 = 0;  // the last two bytes of a comment, CDATA or instruction
    size_t FEntity = 0;           // in text: bytes since an unclosed '&'
    std::string FOpen;            // the bytes after '<' while its kind is not known
};

// What may follow the document element: blanks, comments and processing
// instructions.
bool OnlyMisc(std::string_view rest) {
    for (size_t i = 0; i < rest.size();) {
        if (rest[i] == ' ' || rest[i] == '\t' || rest[i] == '\r' || rest[i] == '\n') {
            ++i;
        } else if (rest.substr(i, 4) == "<!--") {
            const size_t end = rest.find("-->", i + 4);
            if (end == std::string_view::npos) return false;
            i = end + 3;
        } else if (rest.substr(i, 2) == "<?") {
            const size_t end = rest.find("?>", i + 2);
            if (end == std::string_view::npos) return false;
            i = end + 2;
        } else {
            return false;
        }
    }
    return true;
}

// A token stream over the answer, read from its source as it arrives, that
// enforces the limits: no document type declaration or entity references,
// bounded nesting, well-formed XML.
class Reader {
public:
    Reader(const AnswerSource& source, const ReadLimits& limits) : FSource(source), FLimits(limits) {
        FXml.setNamespaceProcessing(true);
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw EOlapError("sent a malformed answer: " + what + " (line " + std::to_string(FXml.lineNumber()) + ")");
    }

    // The next start or end element, or the end of the document; text goes
    // to FText.
    QXmlStreamReader::TokenType Next() {
        for (;;) {
            QXmlStreamReader::TokenType t = FXml.readNext();
            switch (t) {
            case QXmlStreamReader::StartElement:
                if (++FDepth > FLimits.maxDepth)
                    Fail("elements nest deeper than " + std::to_string(FLimits.maxDepth) + " levels");
                return t;
            case QXmlStreamReader::EndElement:
                --FDepth;
                return t;
            case QXmlStreamReader::EndDocument:
                return t;
            case QXmlStreamReader::Characters:
                if (size_t(FText.size()) < kMaxElementText)
                    FText += FXml.text().left(qsizetype(kMaxElementText) - FText.size());
                continue;
            case QXmlStreamReader::DTD:
                Fail("it holds a document type declaration, which SOAP messages may not");
            case QXmlStreamReader::EntityReference:
                Fail("it holds a reference to an undeclared entity");
            case QXmlStreamReader::Invalid:
                if (FXml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
                    if (Feed()) continue;
                    Fail("it ends too early");
                }
                Fail(FXml.errorString().toStdString());
            default:
                continue;  // declarations, comments, processing instructions
            }
        }
    }

    bool AtStart(const char* localName) const {
        return FXml.isStartElement() && FXml.name() == QLatin1String(localName);
    }
    QStringView Name() const { return FXml.name(); }
    QStringView NamespaceUri() const { return FXml.namespaceUri(); }
    QStringView Attribute(const char* name) const { return FXml.attributes().value(QLatin1String(name)); }
    QStringView Attribute(const char* ns, const char* name) const {
        return FXml.attributes().value(QLatin1String(ns), QLatin1String(name));
    }

    // At a start element: its text to the matching end, child elements'
    // text included.
    std::string ReadText() {
        const int depth = FDepth;
        FText.clear();
        while (!(Next() == QXmlStreamReader::EndElement && FDepth == depth - 1)) {
            if (FXml.atEnd()) Fail("it ends too early");
        }
        return FText.toStdString();
    }

    // At a start element: on to its end.
    void Skip() {
        const int depth = FDepth;
        while (!(Next() == QXmlStreamReader::EndElement && FDepth == depth - 1)) {
            if (FXml.atEnd()) Fail("it ends too early");
            FText.clear();
        }
        FText.clear();
    }

    // Calls child(*this) at each child element of the current one, whose
    // own elements it must read to their end (ReadText, Skip or a loop of
    // its own); returns after the current element's end.
    template <class F>
    void Children(F&& child) {
        const int depth = FDepth;
        for (;;) {
            FText.clear();
            QXmlStreamReader::TokenType t = Next();
            if (t == QXmlStreamReader::EndDocument) Fail("it ends too early");
            if (t == QXmlStreamReader::EndElement && FDepth == depth - 1) return;
            if (t == QXmlStreamReader::StartElement) child(*this);
        }
    }

    // After the document element: only trailing whitespace or comments.
    // The reader ends the document where its data ends; what the answer
    // holds after that is looked at here.
    void ExpectEnd() {
        while (Next() != QXmlStreamReader::EndDocument) {
            if (FXml.isStartElement()) Fail("it goes on after the SOAP envelope");
        }
        std::string rest;
        while (!FEnded && FSource(FPiece)) {
            rest += FPiece;
            if (rest.size() > kMaxElementText) break;
        }
        if (!OnlyMisc(rest)) Fail("it goes on after the SOAP envelope");
    }

    // The text read since the last element boundary.
    std::string TakeText() {
        std::string t = FText.toStdString();
        FText.clear();
        return t;
    }

private:
    // The next stretch of the answer to the XML reader; false at its end.
    bool Feed() {
        FCut.clear();
        while (FCut.size() < std::max<size_t>(FLimits.stretchBytes, 1) && !FEnded) {
            if (!FSource(FPiece)) {
                FEnded = true;
            } else if (!FCutter.Pass(FPiece, FCut)) {
                Fail("a tag is longer than " + std::to_string(RunCutter::kMaxRun >> 20) + " MB");
            }
        }
        if (FCut.empty()) return false;
        FXml.addData(QByteArray(FCut.data(), static_cast<qsizetype>(FCut.size())));
        return true;
    }
    const AnswerSource& FSource;
    RunCutter FCutter;
    std::string FPiece, FCut;
    bool FEnded = false;
    QXmlStreamReader FXml;
    ReadLimits FLimits;
    int FDepth = 0;
    QString FText;
};

// "faultstring: what the detail says".
[[noreturn]] void ReadFault(Reader& r) {
    std::string faultString, faultCode;
    std::vector<std::string> details;
    r.Children([&](Reader& c) {
        if (c.AtStart("faultstring")) {
            faultString = c.ReadText();
        } else if (c.AtStart("faultcode")) {
            faultCode = c.ReadText();
        } else if (c.AtStart("detail")) {
            // Texts of <desc> elements and Description attributes, at any depth.
            std::function<void(Reader&)> walk = [&](Reader& d) {
                std::string description = CutServerText(S(d.Attribute("Description")));
                if (!description.empty()) details.push_back(description);
                if (d.AtStart("desc")) {
                    details.push_back(d.ReadText());
                } else {
                    d.Children(walk);
                }
            };
            c.Children(walk);
        } else {
            c.Skip();
        }
    });
    std::string message = faultString.empty() ? faultCode : faultString;
    for (const std::string& d : details) {
        if (d.empty() || d == message) continue;
        message += message.empty() ? d : ": " + d;
        if (message.size() > kMaxServerText) break;
    }
    if (message.empty()) message = "(no description)";
    throw EXmlaFault(CutServerText(message));
}

// <Messages><Error Description="..."/></Messages> inside a result: the
// server's error report.
void ReadMessages(Reader& r) {
    std::vector<std::string> errors;
    r.Children([&](Reader& m) {
        if (m.AtStart("Error")) {
            std::string d = CutServerText(S(m.Attribute("Description")));
            errors.push_back(d.empty() ? "(no description)" : d);
        }
        m.Skip();
    });
    if (!errors.empty()) {
        std::string message;
        for (const std::string& e : errors) {
            message += (message.empty() ? "" : "; ") + e;
            if (message.size() > kMaxServerText) break;
        }
        throw EXmlaFault(CutServerText(message));
    }
}

// Walks envelope, body, response and return to the result's root and calls
// root(r) at each child element of it. A Fault is thrown.
template <class F>
void ReadAnswer(Reader& r, F&& root) {
    QXmlStreamReader::TokenType t = r.Next();
    if (t != QXmlStreamReader::StartElement) r.Fail("it holds no XML element");
    if (r.Name() != QLatin1String("Envelope") || r.NamespaceUri() != QLatin1String(kSoapNamespace))
        r.Fail("it is not a SOAP envelope (it starts with <" + S(r.Name()) + ">)");
    bool body = false;
    r.Children([&](Reader& e) {
        if (!e.AtStart("Body") || body) return e.Skip();
        body = true;
        bool response = false;
        e.Children([&](Reader& b) {
            if (b.AtStart("Fault") && b.NamespaceUri() == QLatin1String(kSoapNamespace)) ReadFault(b);
            if (response) return b.Skip();
            response = true;
            b.Children([&](Reader& ret) {
                if (!ret.AtStart("return")) return ret.Skip();
                ret.Children([&](Reader& rt) {
                    if (!rt.AtStart("root")) return rt.Skip();
                    rt.Children([&](Reader& item) {
                        if (item.AtStart("Messages")) return ReadMessages(item);
                        root(item);
                    });
                });
            });
        });
        if (!response) e.Fail("its body holds no response");
    });
    if (!body) r.Fail("it has no SOAP body");
    r.ExpectEnd();
}

// The whole text as a number of type T; what names it when it is not one.
template <class T>
T ParseWhole(Reader& r, const std::string& text, const char* what) {
    T v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size())
        r.Fail(std::string(what) + " \"" + text.substr(0, 40) + "\" is not a whole number");
    return v;
}

bool IsNumericType(const std::string& type) {
    const std::string local = type.substr(type.find(':') == std::string::npos ? 0 : type.find(':') + 1);
    static const char* const numeric[] = {
        "double",       "float",         "decimal",          "int",                "integer",
        "long",         "short",         "byte",             "unsignedInt",        "unsignedLong",
        "unsignedShort", "unsignedByte", "nonNegativeInteger", "nonPositiveInteger", "positiveInteger",
        "negativeInteger"};
    return std::any_of(std::begin(numeric), std::end(numeric), [&](const char* n) { return local == n; });
}

// An error cell: <Error> with ErrorCode and Description as attributes or as
// child elements.
std::string ReadCellError(Reader& e) {
    std::string code = S(e.Attribute("ErrorCode")), description = S(e.Attribute("Description"));
    e.Children([&](Reader& part) {
        if (part.AtStart("ErrorCode")) {
            code = part.ReadText();
        } else if (part.AtStart("Description")) {
            description = part.ReadText();
        } else {
            part.Skip();
        }
    });
    std::string text = "an error";
    if (!code.empty()) text += " (code " + code.substr(0, 40) + ")";
    if (!description.empty()) text += ": " + description.substr(0, 200);
    return text;
}

// A cell value: a number, a text, or empty with the reason in problem (an
// <Error> in its place, or a value that is not finite).
void ReadValue(Reader& r, CellData& cell) {
    const std::string type = S(r.Attribute(kXsiNamespace, "type"));
    r.Children([&](Reader& e) {
        if (e.AtStart("Error") && cell.problem.empty()) return void(cell.problem = ReadCellError(e));
        e.Skip();
    });
    const std::string text = r.TakeText();
    if (!cell.problem.empty()) return;
    const bool numeric = IsNumericType(type);
    double v = 0;
    if (numeric || type.empty()) {
        if (ParseXsdNumber(text, v)) {
            if (std::isfinite(v)) return void(cell.value = Variant(v));
            cell.problem = std::string("\"") + (std::isnan(v) ? "NaN" : v < 0 ? "-INF" : "INF") +
                           "\", which is not a number";
            return;
        }
        if (numeric) r.Fail("the cell value \"" + text.substr(0, 40) + "\" is not a number");
    }
    cell.value = Variant(text);
}

}  // namespace

bool ParseXsdNumber(std::string_view text, double& value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text == "INF" || text == "+INF" || text == "-INF" || text == "NaN") {
        value = text == "NaN" ? std::numeric_limits<double>::quiet_NaN()
                              : (text[0] == '-' ? -1 : 1) * std::numeric_limits<double>::infinity();
        return true;
    }
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    // Digits, one point, an exponent: no "inf", "nan" or hexadecimal spellings.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '.'))
        return false;
    if (text.find_first_not_of("0123456789.eE+-") != std::string_view::npos) return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range && ptr == text.data() + text.size()) {
        // Beyond the double range: too small reads as 0, too big as the
        // greatest double of its sign, never as infinite.
        const size_t e = text.find_first_of("eE");
        const std::string_view whole = text.substr(0, std::min(e, text.find('.')));
        const bool tiny = (e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-') ||
                          whole.find_first_not_of("-0") == std::string_view::npos;
        const double sign = text[0] == '-' ? -1 : 1;
        value = tiny ? sign * 0.0 : sign * std::numeric_limits<double>::max();
        return true;
    }
    return ec == std::errc() && ptr == text.data() + text.size();
}

const std::string& Row::Get(const std::string& name) const {
    static const std::string empty;
    for (const auto& [k, v] : columns)
        if (k == name) return v;
    return empty;
}

bool Row::Has(const std::string& name) const {
    return std::any_of(columns.begin(), columns.end(), [&](const auto& c) { return c.first == name; });
}

std::uint64_t DataSet::CellCount() const {
    std::uint64_t n = 1;
    for (const AxisData& a : axes) n *= a.positions;
    return n;
}

namespace {

Rowset ReadRowsetFrom(Reader& r, const ReadLimits& limits) {
    Rowset rows;
    ReadAnswer(r, [&](Reader& item) {
        if (!item.AtStart("row")) return item.Skip();
        if (rows.size() >= limits.maxRows) item.Fail("it holds more than " + std::to_string(limits.maxRows) + " rows");
        Row row;
        item.Children([&](Reader& column) {
            std::string name = S(column.Name());
            row.columns.emplace_back(std::move(name), column.ReadText());
        });
        rows.push_back(std::move(row));
    });
    return rows;
}

DataSet ReadDataSetFrom(Reader& r, const ReadLimits& limits) {
    DataSet data;
    std::unordered_map<std::string, std::uint32_t> interned;
    size_t tupleMembers = 0;
    bool axesRead = false;

    auto readMember = [&](Reader& m) -> std::uint32_t {
        TupleMember member;
        member.hierarchy = S(m.Attribute("Hierarchy"));
        m.Children([&](Reader& p) {
            if (p.AtStart("UName")) {
                member.uniqueName = p.ReadText();
            } else if (p.AtStart("Caption")) {
                member.caption = p.ReadText();
            } else if (p.AtStart("LName")) {
                member.levelName = p.ReadText();
            } else if (p.AtStart("LNum")) {
                member.levelNumber = ParseWhole<int>(p, p.ReadText(), "the level number");
                if (member.levelNumber < 0 || member.levelNumber > 10000)
                    p.Fail("the level number " + std::to_string(member.levelNumber) + " is out of range");
            } else if (p.AtStart("DisplayInfo")) {
                member.displayInfo =
                    static_cast<std::uint32_t>(ParseWhole<std::int64_t>(p, p.ReadText(), "the display information"));
            } else {
                p.Skip();
            }
        });
        if (member.uniqueName.empty()) m.Fail("a tuple member has no unique name");
        std::string key = member.hierarchy + '\n' + member.uniqueName;
        auto [it, added] = interned.try_emplace(std::move(key), static_cast<std::uint32_t>(data.memberTable.size()));
        if (added) data.memberTable.push_back(std::move(member));
        return it->second;
    };

    auto readAxis = [&](Reader& a, AxisData& axis) {
        a.Children([&](Reader& t) {
            if (t.AtStart("CrossProduct")) t.Fail("its axes are not in tuple format");
            if (!t.AtStart("Tuples")) return t.Skip();
            t.Children([&](Reader& tuple) {
                if (!tuple.AtStart("Tuple")) return tuple.Skip();
                int count = 0;
                tuple.Children([&](Reader& m) {
                    if (!m.AtStart("Member")) return m.Skip();
                    if (++tupleMembers > limits.maxTupleMembers)
                        m.Fail("its axes hold more than " + std::to_string(limits.maxTupleMembers) + " members");
                    axis.members.push_back(readMember(m));
                    ++count;
                });
                if (axis.positions == 0) {
                    if (count == 0) tuple.Fail("a tuple holds no member");
                    axis.dims = count;
                } else if (count != axis.dims) {
                    tuple.Fail("a tuple holds " + std::to_string(count) + " members where the first held " +
                               std::to_string(axis.dims));
                }
                ++axis.positions;
            });
        });
    };

    ReadAnswer(r, [&](Reader& item) {
        if (item.AtStart("Axes")) {
            if (axesRead) item.Fail("it holds two lists of axes");
            axesRead = true;
            item.Children([&](Reader& a) {
                if (!a.AtStart("Axis")) return a.Skip();
                const std::string name = S(a.Attribute("name"));
                if (name == "SlicerAxis") return a.Skip();
                if (name.rfind("Axis", 0) != 0) a.Fail("an axis is named \"" + name.substr(0, 40) + "\"");
                const int index = ParseWhole<int>(a, name.substr(4), "the axis number");
                if (index != static_cast<int>(data.axes.size()))
                    a.Fail("axis " + name + " is out of order or more than " + std::to_string(limits.maxAxes));
                if (data.axes.size() >= limits.maxAxes)
                    a.Fail("it has more than " + std::to_string(limits.maxAxes) + " axes");
                data.axes.emplace_back();
                readAxis(a, data.axes.back());
            });
            // The cells the axes span, checked before any is read.
            long double span = 1;
            for (const AxisData& a : data.axes) span *= static_cast<long double>(a.positions);
            if (span > static_cast<long double>(limits.maxCells))
                item.Fail("its axes span more than " + std::to_string(limits.maxCells) + " cells");
        } else if (item.AtStart("CellData")) {
            if (!axesRead) item.Fail("its cells come before its axes");
            const std::uint64_t span = data.CellCount();
            item.Children([&](Reader& c) {
                if (!c.AtStart("Cell")) return c.Skip();
                CellData cell;
                cell.ordinal = ParseWhole<std::uint64_t>(c, S(c.Attribute("CellOrdinal")), "the cell ordinal");
                if (cell.ordinal >= span)
                    c.Fail("cell " + std::to_string(cell.ordinal) + " lies outside the axes, which span " +
                           std::to_string(span) + " cells");
                c.Children([&](Reader& p) {
                    if (p.AtStart("Value")) {
                        ReadValue(p, cell);
                    } else if (p.AtStart("FmtValue")) {
                        cell.formatted = p.ReadText();
                    } else {
                        p.Skip();
                    }
                });
                data.cells.push_back(std::move(cell));
            });
        } else {
            item.Skip();
        }
    });
    if (!axesRead && !data.cells.empty()) r.Fail("its cells have no axes");
    if (!std::is_sorted(data.cells.begin(), data.cells.end(),
                        [](const CellData& a, const CellData& b) { return a.ordinal < b.ordinal; }))
        std::stable_sort(data.cells.begin(), data.cells.end(),
                         [](const CellData& a, const CellData& b) { return a.ordinal < b.ordinal; });
    for (size_t i = 1; i < data.cells.size(); ++i)
        if (data.cells[i].ordinal == data.cells[i - 1].ordinal)
            throw EOlapError("sent a malformed answer: cell " + std::to_string(data.cells[i].ordinal) +
                             " is given twice");
    return data;
}

}  // namespace

namespace {

// The answer in pieces: the XML reader then decodes a piece at a time, not
// the whole answer at once.
AnswerSource Pieces(const std::string& body) {
    return [&body, at = size_t(0)](std::string& piece) mutable {
        if (at >= body.size()) return false;
        piece.assign(body, at, 64 * 1024);
        at += piece.size();
        return true;
    };
}

}  // namespace

Rowset ReadRowset(const AnswerSource& source, const ReadLimits& limits) {
    Reader r(source, limits);
    return ReadRowsetFrom(r, limits);
}

Rowset ReadRowset(const std::string& body, const ReadLimits& limits) {
    return ReadRowset(Pieces(body), limits);
}

DataSet ReadDataSet(const AnswerSource& source, const ReadLimits& limits) {
    Reader r(source, limits);
    return ReadDataSetFrom(r, limits);
}

DataSet ReadDataSet(const std::string& body, const ReadLimits& limits) {
    return ReadDataSet(Pieces(body), limits);
}

std::string CutServerText(const std::string& text, size_t max) {
    if (text.size() <= max) return text;
    size_t cut = max;
    // Not inside a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "...";
}

}  // namespace cb::olap::xmla
