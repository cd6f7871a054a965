#pragma once
// Builds an in-memory cube from member paths and facts: members are created
// as their paths first appear and get their pre-order ids in Finish.
#include "olap/engine/CubeData.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace cb::olap {

class CubeBuilder {
public:
    explicit CubeBuilder(const std::string& cubeName);

    // levels: the level names below (All), top first. Returns the dimension index.
    int AddDimension(const std::string& name, const std::vector<std::string>& levels);
    int AddMeasure(const std::string& name, Aggregation aggregation, const std::string& formatString = {});
    void AddCalculatedMember(const std::string& name, const std::string& expression,
                             const std::string& formatString = {});
    void SetLastDataUpdate(const std::string& text);

    size_t DimensionCount() const { return FDims.size(); }
    size_t LevelCount(int dim) const { return FDims[size_t(dim)].levels.size(); }
    size_t MeasureCount() const { return FMeasures.size(); }

    // The leaf with this path (one name per level below (All)), created with
    // its ancestors when new; children keep the order of first appearance.
    // Throws EOlapError for a bad name, a path of the wrong length, or a name
    // that differs from a sibling's only in letter case.
    uint32_t Leaf(int dim, const std::vector<std::string>& path);

    // One fact: a leaf handle per dimension and a value per measure (NaN: null).
    void AddFact(const uint32_t* leaves, const double* values);

    // Bytes the builder holds now (facts by their reserved capacity, members
    // by an estimate), and the bytes the next AddFact allocates while the
    // old fact arrays still live (nothing unless they are full).
    size_t MemoryBytes() const;
    size_t NextFactBytes() const;
    // Orders members, checks the cube and hands it over; the builder is empty after.
    std::unique_ptr<CubeData> Finish();

private:
    struct Node {
        std::string name;
        uint32_t parent;
        uint16_t depth;
        std::vector<uint32_t> children;
    };
    struct Dim {
        std::string name;
        std::vector<std::string> levels;
        std::vector<Node> nodes;                          // node 0 is (All)
        std::unordered_map<std::string, uint32_t> index;  // parent id + '/' + folded name -> node
    };
    std::string FName;
    std::string FLastDataUpdate;
    std::vector<Dim> FDims;
    std::vector<MeasureData> FMeasures;
    std::vector<CalculatedMemberData> FCalculated;
    size_t FFactCount = 0;
    size_t FMemberBytes = 0;  // names, index entries and child lists of the members
    std::vector<FactKeyColumn> FKeys;
    std::vector<FactValueColumn> FValues;
};

}  // namespace cb::olap
