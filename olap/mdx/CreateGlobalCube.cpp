#include "olap/mdx/CreateGlobalCube.h"

#include "olap/engine/CubeFile.h"
#include "olap/engine/OlapError.h"
#include "olap/mdx/Binder.h"
#include "olap/mdx/Parser.h"

#include <algorithm>
#include <functional>

namespace cb::olap::mdx {

namespace {

[[noreturn]] void Fail(const SourcePos& pos, const std::string& what) {
    throw EOlapError(what + " at " + pos.Text());
}

// The names a calculated member's expression refers to, as measure names.
void CollectNames(const Node& node, std::vector<std::string>& names) {
    if (node.kind == NodeKind::Name) {
        if (node.parts.size() == 2 && EqualNoCase(node.parts[0].text, "Measures"))
            names.push_back(node.parts[1].text);
        else
            names.push_back(node.NameText());  // matches no measure: the member is dropped
    }
    if (node.target) CollectNames(*node.target, names);
    for (const NodePtr& a : node.args) CollectNames(*a, names);
}

}  // namespace

CubeData BuildGlobalCube(const CreateCubeStatement& statement, const CubeData& source) {
    if (statement.source.size() != 1 || !EqualNoCase(statement.source[0].text, source.name))
        Fail(statement.sourcePos,
             "Unknown cube " + NameText(statement.source) + " (the open cube is [" + source.name + "])");
    if (statement.cubeName.empty()) Fail(statement.cubeNamePos, "The new cube's name is empty");
    if (statement.storage.empty()) Fail(statement.storagePos, "The storage file name is empty");

    std::vector<size_t> measures, dims;
    for (const CreateCubeItem& item : statement.items) {
        // Items name the source cube first: [cube].[name].
        if (item.name.size() != 2 || !EqualNoCase(item.name[0].text, source.name))
            Fail(item.pos, std::string("Expected ") + (item.isMeasure ? "MEASURE [" : "DIMENSION [") + source.name +
                               "].[name] but found " + NameText(item.name));
        const std::string& name = item.name[1].text;
        if (item.isMeasure) {
            auto it = std::find_if(source.measures.begin(), source.measures.end(),
                                   [&](const MeasureData& m) { return EqualNoCase(m.name, name); });
            if (it == source.measures.end()) {
                bool calculated = std::any_of(source.calculatedMembers.begin(), source.calculatedMembers.end(),
                                              [&](const CalculatedMemberData& c) { return EqualNoCase(c.name, name); });
                Fail(item.pos,
                     calculated ? "The calculated member [Measures].[" + name + "] cannot be copied as a stored measure"
                                : "Unknown measure [Measures].[" + name + "]");
            }
            size_t index = static_cast<size_t>(it - source.measures.begin());
            if (std::find(measures.begin(), measures.end(), index) != measures.end())
                Fail(item.pos, "The measure [Measures].[" + name + "] is listed twice");
            measures.push_back(index);
        } else {
            auto it = std::find_if(source.dimensions.begin(), source.dimensions.end(),
                                   [&](const DimensionData& d) { return EqualNoCase(d.name, name); });
            if (it == source.dimensions.end()) Fail(item.pos, "Unknown dimension [" + name + "]");
            size_t index = static_cast<size_t>(it - source.dimensions.begin());
            if (std::find(dims.begin(), dims.end(), index) != dims.end())
                Fail(item.pos, "The dimension [" + name + "] is listed twice");
            dims.push_back(index);
        }
    }
    if (measures.empty()) Fail(statement.sourcePos, "The new cube needs at least one measure");

    CubeData cube;
    cube.name = statement.cubeName;
    cube.lastDataUpdate = source.lastDataUpdate;
    for (size_t d : dims) cube.dimensions.push_back(source.dimensions[d]);
    for (size_t m : measures) cube.measures.push_back(source.measures[m]);

    // Calculated members stay when every measure they use stays (a calculated
    // member may use another one that stays).
    std::vector<int> keep(source.calculatedMembers.size(), -1);  // -1 unknown, 0 no, 1 yes, 2 visiting
    std::function<bool(size_t)> kept = [&](size_t i) -> bool {
        if (keep[i] >= 0) return keep[i] == 1;
        keep[i] = 2;
        bool ok = true;
        std::vector<std::string> names;
        try {
            CollectNames(*ParseExpression(source.calculatedMembers[i].expression), names);
        } catch (const EOlapError&) {
            ok = false;
        }
        for (const std::string& n : names) {
            if (!ok) break;
            auto stored = std::find_if(cube.measures.begin(), cube.measures.end(),
                                       [&](const MeasureData& m) { return EqualNoCase(m.name, n); });
            if (stored != cube.measures.end()) continue;
            auto calc = std::find_if(source.calculatedMembers.begin(), source.calculatedMembers.end(),
                                     [&](const CalculatedMemberData& c) { return EqualNoCase(c.name, n); });
            size_t j = static_cast<size_t>(calc - source.calculatedMembers.begin());
            ok = calc != source.calculatedMembers.end() && keep[j] != 2 && kept(j);
        }
        keep[i] = ok ? 1 : 0;
        return ok;
    };
    for (size_t i = 0; i < source.calculatedMembers.size(); ++i) {
        if (kept(i)) cube.calculatedMembers.push_back(source.calculatedMembers[i]);
    }

    cube.factCount = source.factCount;
    for (size_t d : dims) cube.factKeys.push_back(source.factKeys[d]);
    for (size_t m : measures) cube.factValues.push_back(source.factValues[m]);
    return cube;
}

void RunCreateGlobalCube(const CreateCubeStatement& statement, const CubeData& source, const std::string& sourceFile) {
    WriteGlobalCube(statement, BuildGlobalCube(statement, source), {sourceFile});
}

void WriteGlobalCube(const CreateCubeStatement& statement, const CubeData& cube,
                     const std::vector<std::string>& inputs) {
    try {
        CheckCubeTarget(statement.storage, inputs, false);
        WriteCubeFile(cube, statement.storage);
    } catch (const EOlapError& e) {
        throw EOlapError("Cannot create the cube [" + statement.cubeName + "] in '" + statement.storage +
                         "': " + e.Message());
    }
}

}  // namespace cb::olap::mdx
