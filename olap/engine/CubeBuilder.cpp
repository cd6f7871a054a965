#include "olap/engine/CubeBuilder.h"

#include "olap/engine/CubeCheck.h"
#include "olap/engine/OlapError.h"

namespace cb::olap {

CubeBuilder::CubeBuilder(const std::string& cubeName) : name_(cubeName)
{
    CheckName(cubeName, "cube", "Cube");
}

int CubeBuilder::AddDimension(const std::string& name, const std::vector<std::string>& levels)
{
    if (factCount_)
        throw EOlapError("Cube \"" + name_ + "\": dimensions must be added before facts");
    CheckName(name, "dimension", "Cube \"" + name_ + "\"");
    if (levels.empty())
        throw EOlapError("Dimension \"" + name + "\" has no levels");
    for (const std::string& l : levels)
        CheckName(l, "level", "Dimension \"" + name + "\"");
    Dim& d = dims_.emplace_back();
    d.name = name;
    d.levels = levels;
    d.nodes.push_back(Node{"All", 0, 0, {}});
    keys_.emplace_back();
    return int(dims_.size() - 1);
}

int CubeBuilder::AddMeasure(const std::string& name, Aggregation aggregation, const std::string& formatString)
{
    if (factCount_)
        throw EOlapError("Cube \"" + name_ + "\": measures must be added before facts");
    CheckName(name, "measure", "Cube \"" + name_ + "\"");
    MeasureData& m = measures_.emplace_back();
    m.name = name;
    m.aggregation = aggregation;
    m.formatString = formatString;
    values_.emplace_back();
    return int(measures_.size() - 1);
}

void CubeBuilder::AddCalculatedMember(const std::string& name, const std::string& expression,
                                      const std::string& formatString)
{
    CheckName(name, "calculated member", "Cube \"" + name_ + "\"");
    calculated_.push_back(CalculatedMemberData{name, {}, expression, formatString});
}

void CubeBuilder::SetLastDataUpdate(const std::string& text)
{
    lastDataUpdate_ = text;
}

uint32_t CubeBuilder::Leaf(int dim, const std::vector<std::string>& path)
{
    Dim& d = dims_.at(size_t(dim));
    if (path.size() != d.levels.size())
        throw EOlapError("Dimension \"" + d.name + "\": a member path needs " + std::to_string(d.levels.size()) +
                         " names, not " + std::to_string(path.size()));
    uint32_t node = 0;
    std::string key;
    for (size_t i = 0; i < path.size(); ++i) {
        key = std::to_string(node);
        key += '/';
        key += path[i];
        auto it = d.index.find(key);
        if (it != d.index.end()) {
            node = it->second;
            continue;
        }
        CheckName(path[i], "member", "Dimension \"" + d.name + "\", level \"" + d.levels[i] + "\"");
        if (d.nodes.size() >= kMaxMembers)
            throw EOlapError("Dimension \"" + d.name + "\" has too many members");
        uint32_t id = uint32_t(d.nodes.size());
        d.nodes.push_back(Node{path[i], node, uint16_t(i + 1), {}});
        d.nodes[node].children.push_back(id);
        d.index.emplace(std::move(key), id);
        node = id;
    }
    return node;
}

void CubeBuilder::AddFact(const uint32_t* leaves, const double* values)
{
    for (size_t d = 0; d < dims_.size(); ++d) {
        const uint32_t leaf = leaves[d];
        if (leaf >= dims_[d].nodes.size() || dims_[d].nodes[leaf].depth != dims_[d].levels.size())
            throw EOlapError("Dimension \"" + dims_[d].name + "\": a fact needs a leaf member");
    }
    if (factCount_ >= kMaxFacts)
        throw EOlapError("Cube \"" + name_ + "\" has too many facts");
    for (size_t d = 0; d < dims_.size(); ++d)
        keys_[d].push_back(leaves[d]);
    for (size_t m = 0; m < measures_.size(); ++m)
        values_[m].push_back(values[m]);
    ++factCount_;
}

std::unique_ptr<CubeData> CubeBuilder::Finish()
{
    auto cube = std::make_unique<CubeData>();
    cube->name = name_;
    cube->lastDataUpdate = lastDataUpdate_;
    for (size_t di = 0; di < dims_.size(); ++di) {
        Dim& d = dims_[di];
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
            for (auto it = d.nodes[n].children.rbegin(); it != d.nodes[n].children.rend(); ++it)
                stack.push_back(*it);
        }
        for (uint32_t& k : keys_[di])
            k = newId[k];
        cube->factKeys.push_back(std::move(keys_[di]));
    }
    cube->measures = std::move(measures_);
    cube->calculatedMembers = std::move(calculated_);
    cube->factCount = factCount_;
    cube->factValues = std::move(values_);
    dims_.clear();
    keys_.clear();
    values_.clear();
    measures_.clear();
    calculated_.clear();
    factCount_ = 0;
    CompleteCube(*cube, "Cube \"" + cube->name + "\"");
    return cube;
}

} // namespace cb::olap
