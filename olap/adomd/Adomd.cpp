#include "olap/adomd/Adomd.h"

#include "olap/adomd/AdomdInternal.h"
#include "olap/mdx/Mdx.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace cb::olap {

// ---- Variant

double Variant::ToDouble() const {
    if (IsEmpty()) return 0;
    if (IsNumber()) return std::get<double>(FValue);
    const std::string& s = std::get<std::string>(FValue);
    double v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || s.empty())
        throw EOlapError("The value \"" + s + "\" is not a number");
    return v;
}

int Variant::ToInt() const {
    const double r = std::round(ToDouble());
    // NaN fails both comparisons.
    if (!(r >= double(std::numeric_limits<int>::min()) && r <= double(std::numeric_limits<int>::max())))
        throw EOlapError("The value " + ToString() + " is out of the integer range");
    return static_cast<int>(r);
}

std::string Variant::ToString() const {
    if (IsEmpty()) return {};
    if (IsText()) return std::get<std::string>(FValue);
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, std::get<double>(FValue));
    return ec == std::errc() ? std::string(buf, ptr) : std::string();
}

// ---- Members

namespace {

bool IsMeasures(const MemberRef& r) {
    return r.dim == mdx::kMeasuresDim;
}

const MemberData& Data(const MemberRef& r) {
    return r.cube->dimensions[static_cast<size_t>(r.dim)].members[r.id];
}

bool IsCalculated(const MemberRef& r) {
    return IsMeasures(r) && r.id >= r.cube->measures.size();
}

const CalculatedMemberData& Calc(const MemberRef& r) {
    return r.cube->calculatedMembers[r.id - r.cube->measures.size()];
}

}  // namespace

std::shared_ptr<Member> MakeMember(const std::shared_ptr<const CubeData>& cube, int dim, MemberId id) {
    return std::make_shared<Member>(std::make_shared<const MemberRef>(cube, dim, id));
}

std::string Member::Name() const {
    if (IsMeasures(*FRef)) return IsCalculated(*FRef) ? Calc(*FRef).name : FRef->cube->measures[FRef->id].name;
    return Data(*FRef).name;
}

std::string Member::UniqueName() const {
    if (IsMeasures(*FRef))
        return IsCalculated(*FRef) ? Calc(*FRef).uniqueName : FRef->cube->measures[FRef->id].uniqueName;
    return Data(*FRef).uniqueName;
}

std::string Member::Caption() const {
    if (IsMeasures(*FRef)) return Name();
    const MemberData& m = Data(*FRef);
    return m.caption.empty() ? m.name : m.caption;
}

int Member::LevelDepth() const {
    return IsMeasures(*FRef) ? 0 : Data(*FRef).depth;
}

std::string Member::LevelName() const {
    if (IsMeasures(*FRef)) return "[Measures].[MeasuresLevel]";
    const DimensionData& d = FRef->cube->dimensions[static_cast<size_t>(FRef->dim)];
    return d.levels[Data(*FRef).depth].uniqueName;
}

int Member::ChildCount() const {
    return IsMeasures(*FRef) ? 0 : static_cast<int>(Data(*FRef).children.size());
}

Collection<Member> Member::Children() const {
    std::vector<std::shared_ptr<Member>> items;
    if (!IsMeasures(*FRef)) {
        for (MemberId c : Data(*FRef).children) items.push_back(MakeMember(FRef->cube, FRef->dim, c));
    }
    return Collection<Member>(std::move(items));
}

Collection<Property> Member::Properties() const {
    std::vector<std::shared_ptr<Property>> items;
    if (IsCalculated(*FRef)) items.push_back(std::make_shared<Property>("EXPRESSION", Variant(Calc(*FRef).expression)));
    return Collection<Property>(std::move(items));
}

// ---- Levels, hierarchies, dimensions

Level::Level(std::shared_ptr<const CubeData> cube, int dim, int depth)
    : FCube(std::move(cube)), FDim(dim), FDepth(depth) {
    if (FDim == mdx::kMeasuresDim) {
        FName = FCaption = "MeasuresLevel";
        FUniqueName = "[Measures].[MeasuresLevel]";
    } else {
        const LevelData& l = FCube->dimensions[static_cast<size_t>(FDim)].levels[static_cast<size_t>(FDepth)];
        FName = l.name;
        FUniqueName = l.uniqueName;
        FCaption = l.caption.empty() ? l.name : l.caption;
    }
}

Collection<Member> Level::Members() const {
    if (!FMembers) {
        std::vector<std::shared_ptr<Member>> items;
        if (FDim == mdx::kMeasuresDim) {
            size_t n = FCube->measures.size() + FCube->calculatedMembers.size();
            for (size_t i = 0; i < n; ++i) items.push_back(MakeMember(FCube, FDim, static_cast<MemberId>(i)));
        } else {
            const LevelData& l = FCube->dimensions[static_cast<size_t>(FDim)].levels[static_cast<size_t>(FDepth)];
            for (MemberId id : l.members) items.push_back(MakeMember(FCube, FDim, id));
        }
        FMembers = std::make_unique<Collection<Member>>(std::move(items));
    }
    return *FMembers;
}

Hierarchy::Hierarchy(std::shared_ptr<const CubeData> cube, int dim) {
    std::vector<std::shared_ptr<Level>> levels;
    if (dim == mdx::kMeasuresDim) {
        FName = "Measures";
        FUniqueName = "[Measures]";
        levels.push_back(std::make_shared<Level>(cube, dim, 0));
    } else {
        const DimensionData& d = cube->dimensions[static_cast<size_t>(dim)];
        FName = d.name;
        FUniqueName = d.uniqueName;
        for (size_t i = 0; i < d.levels.size(); ++i)
            levels.push_back(std::make_shared<Level>(cube, dim, static_cast<int>(i)));
    }
    FLevels = Collection<Level>(std::move(levels));
}

Dimension::Dimension(std::shared_ptr<const CubeData> cube, int dim) {
    if (dim == mdx::kMeasuresDim) {
        FName = "Measures";
        FUniqueName = "[Measures]";
    } else {
        FName = cube->dimensions[static_cast<size_t>(dim)].name;
        FUniqueName = cube->dimensions[static_cast<size_t>(dim)].uniqueName;
    }
    FProperties =
        Collection<Property>({std::make_shared<Property>("DIMENSION_TYPE", Variant(dim == mdx::kMeasuresDim ? 2 : 3))});
    FHierarchies = Collection<Hierarchy>({std::make_shared<Hierarchy>(std::move(cube), dim)});
}

// ---- Cube definitions

CubeDef::CubeDef(std::shared_ptr<const CubeData> cube) : FCube(std::move(cube)) {
    std::vector<std::shared_ptr<Dimension>> dims;
    dims.push_back(std::make_shared<Dimension>(FCube, mdx::kMeasuresDim));
    for (size_t i = 0; i < FCube->dimensions.size(); ++i)
        dims.push_back(std::make_shared<Dimension>(FCube, static_cast<int>(i)));
    FDimensions = Collection<Dimension>(std::move(dims));
}

std::string CubeDef::Name() const {
    return FCube->name;
}

Collection<Dimension> CubeDef::Dimensions() const {
    return FDimensions;
}

Collection<Property> CubeDef::Properties() const {
    return Collection<Property>({std::make_shared<Property>("LAST_DATA_UPDATE", Variant(FCube->lastDataUpdate))});
}

// ---- Catalog

void Catalog::SetActiveConnection(const std::string& connectionString) {
    SetActiveConnection(Connection::Open(connectionString));
}

void Catalog::SetActiveConnection(std::shared_ptr<Connection> connection) {
    if (!connection) throw EOlapError("No connection given");
    FConnection = std::move(connection);
    FCubeDefsBuilt = false;
    FCubeDefs = Collection<CubeDef>();
}

std::shared_ptr<Connection> Catalog::ActiveConnection() const {
    if (!FConnection) throw EOlapError("The catalog has no open connection");
    return FConnection;
}

Collection<CubeDef> Catalog::CubeDefs() const {
    auto conn = ActiveConnection();
    if (!FCubeDefsBuilt) {
        FCubeDefs = Collection<CubeDef>({std::make_shared<CubeDef>(conn->Cube())});
        FCubeDefsBuilt = true;
    }
    return FCubeDefs;
}

// ---- Cellset, axes, cells

Collection<Position> Axis::Positions() const {
    if (!FPositions) {
        const mdx::ResultAxis& a = FResult->result.axes[FAxis];
        std::vector<std::shared_ptr<Position>> positions;
        positions.reserve(a.positionCount);
        for (size_t p = 0; p < a.positionCount; ++p) {
            std::vector<std::shared_ptr<Member>> members;
            for (size_t k = 0; k < a.dims.size(); ++k)
                members.push_back(MakeMember(FResult->cube, a.dims[k], a.member(p, k)));
            positions.push_back(std::make_shared<Position>(Collection<Member>(std::move(members))));
        }
        FPositions = std::make_unique<Collection<Position>>(std::move(positions));
    }
    return *FPositions;
}

int Axis::DimensionCount() const {
    return static_cast<int>(FResult->result.axes[FAxis].dims.size());
}

void Cellset::SetActiveConnection(const std::string& connectionString) {
    FConnection = Connection::Open(connectionString);
}

void Cellset::SetActiveConnection(std::shared_ptr<Connection> connection) {
    if (!connection) throw EOlapError("No connection given");
    FConnection = std::move(connection);
}

std::shared_ptr<Connection> Cellset::ActiveConnection() const {
    if (!FConnection) throw EOlapError("The cellset has no active connection");
    return FConnection;
}

void Cellset::Open(const std::string& source, std::shared_ptr<Connection> connection) {
    Close();
    if (connection) FConnection = std::move(connection);
    auto conn = ActiveConnection();
    auto result = std::make_shared<CellsetResult>();
    result->cube = conn->Cube();
    if (!mdx::Execute(source, *result->cube, result->result, conn->FileName())) return;
    FResult = result;
    FAxes = Collection<Axis>({std::make_shared<Axis>(FResult, 0), std::make_shared<Axis>(FResult, 1)});
}

void Cellset::Close() {
    FResult.reset();
    FAxes = Collection<Axis>();
}

int Cellset::State() const {
    return FResult ? adStateOpen : adStateClosed;
}

Collection<Axis> Cellset::Axes() const {
    if (!FResult) throw EOlapError("The cellset is not open");
    return FAxes;
}

std::shared_ptr<Cell> Cellset::Item(int column, int row) const {
    if (!FResult) throw EOlapError("The cellset is not open");
    const mdx::QueryResult& r = FResult->result;
    if (column < 0 || row < 0 || static_cast<size_t>(column) >= r.columns() || static_cast<size_t>(row) >= r.rows())
        throw EOlapError("Cell (" + std::to_string(column) + ", " + std::to_string(row) +
                         ") is out of range: the cellset has " + std::to_string(r.columns()) + " columns and " +
                         std::to_string(r.rows()) + " rows");
    size_t i = static_cast<size_t>(row) * r.columns() + static_cast<size_t>(column);
    double v = r.values[i];
    return std::make_shared<Cell>(std::isnan(v) ? Variant() : Variant(v), r.formatted[i]);
}

}  // namespace cb::olap
