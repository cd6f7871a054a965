#include "olap/engine/CubeBuilder.h"

#include "olap/engine/CubeCheck.h"
#include "olap/engine/NameFold.h"
#include "olap/engine/OlapError.h"

#include <algorithm>

namespace cb::olap {

CubeBuilder::CubeBuilder(const std::string& cubeName) : FName(cubeName) {
    CheckName(cubeName, "cube", "Cube");
}

int CubeBuilder::AddDimension(const std::string& name, const std::vector<std::string>& levels) {
    if (FFactCount) throw EOlapError("Cube \"" + FName + "\": dimensions must be added before facts");
    CheckName(name, "dimension", "Cube \"" + FName + "\"");
    if (levels.empty()) throw EOlapError("Dimension \"" + name + "\" has no levels");
    for (const std::string& l : levels) CheckName(l, "level", "Dimension \"" + name + "\"");
    Dim& d = FDims.emplace_back();
    d.name = name;
    d.levels = levels;
    d.nodes.push_back(Node{"All", 0, 0, {}});
    FKeys.emplace_back();
    return int(FDims.size() - 1);
}

int CubeBuilder::AddMeasure(const std::string& name, Aggregation aggregation, const std::string& formatString) {
    if (FFactCount) throw EOlapError("Cube \"" + FName + "\": measures must be added before facts");
    CheckName(name, "measure", "Cube \"" + FName + "\"");
    MeasureData& m = FMeasures.emplace_back();
    m.name = name;
    m.aggregation = aggregation;
    m.formatString = formatString;
    FValues.emplace_back();
    return int(FMeasures.size() - 1);
}

void CubeBuilder::AddCalculatedMember(const std::string& name, const std::string& expression,
                                      const std::string& formatString) {
    CheckName(name, "calculated member", "Cube \"" + FName + "\"");
    FCalculated.push_back(CalculatedMemberData{name, {}, expression, formatString});
}

void CubeBuilder::SetLastDataUpdate(const std::string& text) {
    FLastDataUpdate = text;
}

uint32_t CubeBuilder::Leaf(int dim, const std::vector<std::string>& path) {
    Dim& d = FDims.at(size_t(dim));
    if (path.size() != d.levels.size())
        throw EOlapError("Dimension \"" + d.name + "\": a member path needs " + std::to_string(d.levels.size()) +
                         " names, not " + std::to_string(path.size()));
    uint32_t node = 0;
    std::string key;
    for (size_t i = 0; i < path.size(); ++i) {
        key = std::to_string(node);
        key += '/';
        key += FoldName(path[i]);
        auto it = d.index.find(key);
        if (it != d.index.end()) {
            if (d.nodes[it->second].name != path[i])
                throw EOlapError("Dimension \"" + d.name + "\", level \"" + d.levels[i] +
                                 "\": " + SameNameText("member", d.nodes[it->second].name, path[i]));
            node = it->second;
            continue;
        }
        CheckName(path[i], "member", "Dimension \"" + d.name + "\", level \"" + d.levels[i] + "\"");
        if (d.nodes.size() >= kMaxMembers) throw EOlapError("Dimension \"" + d.name + "\" has too many members");
        uint32_t id = uint32_t(d.nodes.size());
        d.nodes.push_back(Node{path[i], node, uint16_t(i + 1), {}});
        d.nodes[node].children.push_back(id);
        // The name twice (node and key), the index entry and a child slot.
        FMemberBytes += 2 * path[i].size() + 96;
        d.index.emplace(std::move(key), id);
        node = id;
    }
    return node;
}

void CubeBuilder::AddFact(const uint32_t* leaves, const double* values) {
    for (size_t d = 0; d < FDims.size(); ++d) {
        const uint32_t leaf = leaves[d];
        if (leaf >= FDims[d].nodes.size() || FDims[d].nodes[leaf].depth != FDims[d].levels.size())
            throw EOlapError("Dimension \"" + FDims[d].name + "\": a fact needs a leaf member");
    }
    for (size_t m = 0; m < FMeasures.size(); ++m)
        if (!IsValidFactValue(values[m]))
            throw EOlapError("Measure \"" + FMeasures[m].name +
                             "\": a fact value is not a number of at most 1e15 in magnitude");
    if (FFactCount >= kMaxFacts) throw EOlapError("Cube \"" + FName + "\" has too many facts");
    for (size_t d = 0; d < FDims.size(); ++d) FKeys[d].push_back(leaves[d]);
    for (size_t m = 0; m < FMeasures.size(); ++m) FValues[m].push_back(values[m]);
    ++FFactCount;
}

size_t CubeBuilder::MemoryBytes() const {
    size_t bytes = FMemberBytes;
    for (const Dim& d : FDims) bytes += d.nodes.capacity() * sizeof(Node);
    for (const auto& k : FKeys) bytes += k.capacity() * sizeof(uint32_t);
    for (const auto& v : FValues) bytes += v.capacity() * sizeof(double);
    return bytes;
}

size_t CubeBuilder::NextFactBytes() const {
    // A full array grows to twice its size (at least one element).
    size_t bytes = 0;
    for (const auto& k : FKeys)
        if (k.size() == k.capacity()) bytes += std::max<size_t>(2 * k.capacity(), 1) * sizeof(uint32_t);
    for (const auto& v : FValues)
        if (v.size() == v.capacity()) bytes += std::max<size_t>(2 * v.capacity(), 1) * sizeof(double);
    return bytes;
}

std::unique_ptr<CubeData> CubeBuilder::Finish() {
    auto cube = std::make_unique<CubeData>();
    cube->name = FName;
    cube->lastDataUpdate = FLastDataUpdate;
    for (size_t di = 0; di < FDims.size(); ++di) {
        Dim& d = FDims[di];
        DimensionData& out = cube->dimensions.emplace_back();
        out.name = d.name;
        LevelData& all = out.levels.emplace_back();
        all.name = "(All)";
        all.depth = 0;
        for (size_t l = 0; l < d.levels.size(); ++l) {
            LevelData& lv = out.levels.emplace_back();
            lv.name = d.levels[l];
            lv.depth = uint16_t(l + 1);
        }
        // Pre-order ids.
        std::vector<MemberId> newId(d.nodes.size());
        std::vector<uint32_t> stack{0};
        out.members.reserve(d.nodes.size());
        while (!stack.empty()) {
            uint32_t n = stack.back();
            stack.pop_back();
            newId[n] = MemberId(out.members.size());
            MemberData& m = out.members.emplace_back();
            m.name = d.nodes[n].name;
            m.depth = d.nodes[n].depth;
            m.parent = n == 0 ? kNoMember : newId[d.nodes[n].parent];
            for (auto it = d.nodes[n].children.rbegin(); it != d.nodes[n].children.rend(); ++it) stack.push_back(*it);
        }
        for (uint32_t& k : FKeys[di]) k = newId[k];
        cube->factKeys.push_back(std::move(FKeys[di]));
    }
    cube->measures = std::move(FMeasures);
    cube->calculatedMembers = std::move(FCalculated);
    cube->factCount = FFactCount;
    cube->factValues = std::move(FValues);
    FDims.clear();
    FKeys.clear();
    FValues.clear();
    FMeasures.clear();
    FCalculated.clear();
    FFactCount = 0;
    CompleteCube(*cube, "Cube \"" + cube->name + "\"");
    return cube;
}

}  // namespace cb::olap
