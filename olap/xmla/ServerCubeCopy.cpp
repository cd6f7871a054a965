#include "olap/xmla/ServerCubeCopy.h"

#include "olap/engine/CubeBuilder.h"
#include "olap/engine/CubeCheck.h"
#include "olap/engine/NameFold.h"
#include "olap/engine/OlapError.h"
#include "olap/mdx/CreateGlobalCube.h"
#include "olap/xmla/ServerCube.h"
#include "olap/xmla/ServerMdx.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace cb::olap::xmla {

namespace {

// A name as a local cube may hold it: "[", "]" and "." become "_", control
// characters blanks. The caption keeps the server's text.
std::string LocalName(const std::string& name) {
    std::string s = name.empty() ? "_" : name;
    for (char& c : s) {
        if (c == '[' || c == ']' || c == '.') c = '_';
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    }
    return s;
}

[[noreturn]] void Fail(const mdx::SourcePos& pos, const std::string& what) {
    throw EOlapError(what + " at " + pos.Text());
}

// The local names given so far, so that two names of the server never
// become one: "Cof.fee" and "Cof_fee", or "Cof.fee" and "COF_FEE", would
// share a local name (names match without regard to case).
class LocalNames {
public:
    // Refuses the copy when another of the server's names in scope already
    // took this local name.
    void Claim(const std::string& scope, const std::string& local, const std::string& serverName,
               const std::string& kind) {
        auto [it, added] = FTaken.try_emplace(scope + '\n' + FoldName(local), serverName);
        if (!added && it->second != serverName)
            throw EOlapError("The " + kind + "s " + it->second + " and " + serverName +
                             " of the server would both be named \"" + local +
                             "\" in a local cube, whose names hold no \"[\", \"]\" or \".\" and match without "
                             "regard to letter case; the copy is not made");
    }

private:
    std::unordered_map<std::string, std::string> FTaken;
};

struct CopiedDimension {
    std::string name;               // the program's name, e.g. "Customer"
    std::string hierarchy;          // the server's, e.g. "[Customer]"
    std::vector<LevelInfo> levels;  // below the All level, top first
    std::vector<MemberInfo> leaves;
    int index = -1;  // in the builder
};

struct CopiedMeasure {
    std::string name;
    std::string uniqueName;  // the server's
    Aggregation aggregation = Aggregation::Sum;
    std::string formatString;
};

// The measures to copy, checked against what the server says of them.
std::vector<CopiedMeasure> Measures(CubeContext& source, const mdx::CreateCubeStatement& statement) {
    std::vector<CopiedMeasure> out;
    LocalNames names;
    for (const mdx::CreateCubeItem& item : statement.items) {
        if (!item.isMeasure) continue;
        if (item.name.size() != 2 || !cb::rtl::SameText(item.name[0].text, source.CubeName()))
            Fail(item.pos, "Expected MEASURE [" + source.CubeName() + "].[name] but found " + mdx::NameText(item.name));
        const std::string unique = mdx::NameText({{"Measures", true}, {item.name[1].text, true}});
        const MeasureInfo* found = nullptr;
        for (const MeasureInfo& m : source.MeasureDetails())
            if (cb::rtl::SameText(m.uniqueName, unique)) found = &m;
        if (!found) Fail(item.pos, "Unknown measure " + unique);
        CopiedMeasure m;
        m.name = LocalName(item.name[1].text);
        m.uniqueName = found->uniqueName;
        m.formatString = found->formatString.substr(0, 255);
        switch (found->aggregator) {
        case 1:  // sum
        case 2:  // count: the leaf counts add up
            m.aggregation = Aggregation::Sum;
            break;
        case 3:
            m.aggregation = Aggregation::Min;
            break;
        case 4:
            m.aggregation = Aggregation::Max;
            break;
        case 127:
            Fail(item.pos, "The calculated member " + unique + " cannot be copied as a stored measure");
        default:
            Fail(item.pos, "The measure " + unique +
                               " is neither summed, counted nor a least or greatest value on the server, so a "
                               "copy of its leaf cells would not add up as it does");
        }
        for (const CopiedMeasure& other : out)
            if (cb::rtl::SameText(other.uniqueName, m.uniqueName))
                Fail(item.pos, "The measure " + unique + " is listed twice");
        names.Claim("", m.name, m.uniqueName, "measure");
        out.push_back(std::move(m));
    }
    if (out.empty()) Fail(statement.sourcePos, "The new cube needs at least one measure");
    return out;
}

std::vector<CopiedDimension> Dimensions(CubeContext& source, const mdx::CreateCubeStatement& statement) {
    std::vector<CopiedDimension> out;
    LocalNames names;
    for (const mdx::CreateCubeItem& item : statement.items) {
        if (item.isMeasure) continue;
        if (item.name.size() != 2 || !cb::rtl::SameText(item.name[0].text, source.CubeName()))
            Fail(item.pos,
                 "Expected DIMENSION [" + source.CubeName() + "].[name] but found " + mdx::NameText(item.name));
        const std::string hierarchy = mdx::NameText({{item.name[1].text, true}});
        CopiedDimension d;
        d.name = LocalName(item.name[1].text);
        std::string found;
        for (const LevelInfo& l : source.Levels()) {
            if (!cb::rtl::SameText(l.hierarchy, hierarchy)) continue;
            found = l.hierarchy;
            // The (All) level is the local cube's own.
            if (l.isAll) continue;
            d.levels.push_back(l);
        }
        if (found.empty() || cb::rtl::SameText(found, "[Measures]")) Fail(item.pos, "Unknown dimension " + hierarchy);
        if (d.levels.empty()) Fail(item.pos, "The dimension " + hierarchy + " has no levels to copy");
        for (const CopiedDimension& other : out)
            if (cb::rtl::SameText(other.hierarchy, found))
                Fail(item.pos, "The dimension " + hierarchy + " is listed twice");
        d.hierarchy = found;
        names.Claim("", d.name, found, "dimension");
        for (const LevelInfo& l : d.levels) names.Claim(found, LocalName(l.name), l.uniqueName, "level");
        out.push_back(std::move(d));
    }
    return out;
}

// Reads the members of each level, makes every leaf with its path, and
// remembers the server's captions by the local unique names they get.
void ReadMembers(CubeContext& source, CubeBuilder& builder, CopiedDimension& d,
                 std::unordered_map<std::string, std::uint32_t>& leafHandles,
                 std::map<std::string, std::string>& captions) {
    std::unordered_map<std::string, MemberInfo> byName;
    LocalNames names;
    for (const LevelInfo& level : d.levels)
        for (MemberInfo& m : source.LevelMembers(level)) byName[m.uniqueName] = std::move(m);
    for (const MemberInfo& leaf : source.LevelMembers(d.levels.back())) {
        // The path from the top, through the parents.
        std::vector<const MemberInfo*> chain;
        for (const MemberInfo* m = &leaf; m;) {
            chain.push_back(m);
            if (chain.size() > d.levels.size()) break;
            auto parent = byName.find(m->parentUniqueName);
            m = parent == byName.end() ? nullptr : &parent->second;
        }
        if (chain.size() != d.levels.size())
            throw EOlapError("The member " + leaf.uniqueName + " of the dimension [" + d.name +
                             "] does not lie at the depth of its level, which a local cube cannot hold");
        std::reverse(chain.begin(), chain.end());
        std::vector<std::string> path;
        std::string local = "[" + d.name + "].[All]";
        for (const MemberInfo* m : chain) {
            path.push_back(LocalName(m->name));
            names.Claim(local, path.back(), m->uniqueName, "member");
            local += ".[" + path.back() + "]";
            captions.try_emplace(local, m->caption.empty() ? m->name : m->caption);
        }
        leafHandles[d.name + '\n' + source.Names().ToServer(leaf.uniqueName)] = builder.Leaf(d.index, path);
    }
}

// "([Product].[Drinks].[Tea], [Measures].[Revenue])": the cell of row r
// and a measure, as the server names them.
std::string CellText(const DataSet& data, const AxisData* rows, size_t r, const CopiedMeasure& measure) {
    std::string text = "(";
    if (rows)
        for (int k = 0; k < rows->dims; ++k)
            text += data.memberTable[rows->members[r * static_cast<size_t>(rows->dims) + size_t(k)]].uniqueName + ", ";
    return text + measure.uniqueName + ")";
}

// The cell's value for the copy (NaN for none). A copy is whole or not made:
// a value that is no number, or one a local cube cannot hold, refuses it.
double CellNumber(CubeContext& source, const DataSet& data, const AxisData* rows, size_t r,
                  const CopiedMeasure& measure, const CellData& cell) {
    const auto refuse = [&](const std::string& what) {
        source.GetSession().Fail("sent for the cell " + CellText(data, rows, r, measure) + " " + what +
                                 "; the copy is not made");
    };
    if (!cell.problem.empty()) refuse(cell.problem);
    double value = std::nan("");
    if (cell.value.IsNumber()) {
        value = cell.value.ToDouble();
    } else if (cell.value.IsText()) {
        // A number typed as a text is still the number; a blank text is no value.
        const std::string text = cell.value.ToString();
        if (text.find_first_not_of(" \t\r\n") == std::string::npos) return value;
        if (!ParseXsdNumber(text, value) || !std::isfinite(value))
            refuse("the text \"" + text.substr(0, 40) + "\", which is not a number");
    }
    if (!IsValidFactValue(value))
        refuse("the value " + cell.value.ToString() + ", beyond the 1e15 in magnitude a local cube holds");
    return value;
}

}  // namespace

void CopyServerCube(CubeContext& source, const mdx::CreateCubeStatement& statement) {
    if (statement.cubeName.empty()) Fail(statement.cubeNamePos, "The new cube's name is empty");
    if (statement.storage.empty()) Fail(statement.storagePos, "The storage file name is empty");
    const std::vector<CopiedMeasure> measures = Measures(source, statement);
    std::vector<CopiedDimension> dims = Dimensions(source, statement);

    CubeBuilder builder(LocalName(statement.cubeName));
    for (CopiedDimension& d : dims) {
        std::vector<std::string> levels;
        for (const LevelInfo& l : d.levels) levels.push_back(LocalName(l.name));
        d.index = builder.AddDimension(d.name, levels);
    }
    for (const CopiedMeasure& m : measures) builder.AddMeasure(m.name, m.aggregation, m.formatString);

    std::unordered_map<std::string, std::uint32_t> leafHandles;  // dimension + '\n' + server name
    std::map<std::string, std::string> captions;                 // local unique name -> caption
    for (CopiedDimension& d : dims) ReadMembers(source, builder, d, leafHandles, captions);

    // The leaf cells, non-empty ones only, in pages of the first dimension's
    // leaves, each page small enough for one answer.
    std::string columns = "{";
    for (size_t i = 0; i < measures.size(); ++i) columns += (i ? ", " : "") + measures[i].uniqueName;
    columns += "}";
    const std::string from = " FROM " + source.CubeReference();
    std::vector<std::uint32_t> keys(dims.size());
    std::vector<double> values(measures.size());

    auto addFacts = [&](const DataSet& data) {
        if (data.axes.empty()) return;
        const AxisData& cols = data.axes[0];
        const AxisData* rows = data.axes.size() > 1 ? &data.axes[1] : nullptr;
        const size_t rowCount = rows ? rows->positions : 1;
        if (cols.positions != measures.size())
            source.GetSession().Fail("sent " + std::to_string(cols.positions) + " measures where " +
                                     std::to_string(measures.size()) + " were asked for");
        size_t next = 0;  // cells are sorted by ordinal
        for (size_t r = 0; r < rowCount; ++r) {
            for (size_t k = 0; k < dims.size(); ++k) {
                const TupleMember& m = data.memberTable[rows->members[r * static_cast<size_t>(rows->dims) + k]];
                auto it = leafHandles.find(dims[k].name + '\n' + m.uniqueName);
                if (it == leafHandles.end())
                    source.GetSession().Fail("sent the cell of " + m.uniqueName + ", which is not a leaf member");
                keys[k] = it->second;
            }
            bool any = false;
            for (size_t c = 0; c < measures.size(); ++c) {
                const std::uint64_t ordinal = r * measures.size() + c;
                while (next < data.cells.size() && data.cells[next].ordinal < ordinal) ++next;
                values[c] = std::nan("");
                if (next < data.cells.size() && data.cells[next].ordinal == ordinal) {
                    values[c] = CellNumber(source, data, rows, r, measures[c], data.cells[next]);
                    any = any || !std::isnan(values[c]);
                }
            }
            if (any) builder.AddFact(keys.data(), values.data());
        }
    };

    if (dims.empty()) {
        addFacts(source.GetSession().Execute("SELECT " + columns + " ON COLUMNS" + from));
    } else {
        if (dims.size() > 64) throw EOlapError("A copy can hold at most 64 dimensions");
        long double others = 1;
        for (size_t k = 1; k < dims.size(); ++k) others *= std::max<long long>(1, dims[k].levels.back().cardinality);
        const long long leaves = static_cast<long long>(source.LevelMembers(dims[0].levels.back()).size());
        const long long page = static_cast<long long>(std::clamp<long double>(200000.0L / others, 1, 5000));
        std::string rest;
        for (size_t k = 1; k < dims.size(); ++k) rest += " * " + dims[k].levels.back().uniqueName + ".Members";
        // The rows name the dimensions in the statement's order.
        for (long long start = 0; start < leaves; start += page) {
            const std::string rows = "NON EMPTY {Subset(" + dims[0].levels.back().uniqueName + ".Members, " +
                                     std::to_string(start) + ", " + std::to_string(page) + ")}" + rest;
            DataSet data =
                source.GetSession().Execute("SELECT " + columns + " ON COLUMNS, " + rows + " ON ROWS" + from);
            if (data.axes.size() > 1 && data.axes[1].positions && data.axes[1].dims != static_cast<int>(dims.size()))
                source.GetSession().Fail("sent rows of " + std::to_string(data.axes[1].dims) + " members for " +
                                         std::to_string(dims.size()) + " dimensions");
            addFacts(data);
        }
    }

    std::unique_ptr<CubeData> cube = builder.Finish();
    for (DimensionData& d : cube->dimensions)
        for (MemberData& m : d.members) {
            auto it = captions.find(m.uniqueName);
            if (it != captions.end() && it->second != m.name) m.caption = it->second;
        }
    mdx::WriteGlobalCube(statement, *cube, {});
}

}  // namespace cb::olap::xmla
