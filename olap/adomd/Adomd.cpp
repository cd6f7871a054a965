#include "olap/adomd/Adomd.h"

#include "olap/adomd/AdomdInternal.h"
#include "olap/mdx/Mdx.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <mutex>

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

// ---- Local members

namespace {

// A member of a dimension, or (dim == mdx::kMeasuresDim) a stored or
// calculated measure by index.
class LocalMember : public Member {
public:
    LocalMember(std::shared_ptr<const CubeData> cube, int dim, MemberId id)
        : FCube(std::move(cube)), FDim(dim), FId(id) {}

    std::string Name() const override {
        if (IsMeasure()) return IsCalculated() ? Calc().name : FCube->measures[FId].name;
        return Data().name;
    }
    std::string UniqueName() const override {
        if (IsMeasure()) return IsCalculated() ? Calc().uniqueName : FCube->measures[FId].uniqueName;
        return Data().uniqueName;
    }
    std::string Caption() const override {
        if (IsMeasure()) return Name();
        const MemberData& m = Data();
        return m.caption.empty() ? m.name : m.caption;
    }
    int LevelDepth() const override { return IsMeasure() ? 0 : Data().depth; }
    std::string LevelName() const override {
        if (IsMeasure()) return "[Measures].[MeasuresLevel]";
        return FCube->dimensions[static_cast<size_t>(FDim)].levels[Data().depth].uniqueName;
    }
    int ChildCount() const override { return IsMeasure() ? 0 : static_cast<int>(Data().children.size()); }
    Collection<Member> Children() const override {
        std::vector<std::shared_ptr<Member>> items;
        if (!IsMeasure()) {
            for (MemberId c : Data().children) items.push_back(std::make_shared<LocalMember>(FCube, FDim, c));
        }
        return Collection<Member>(std::move(items));
    }
    Collection<Property> Properties() const override {
        std::vector<std::shared_ptr<Property>> items;
        if (IsCalculated()) items.push_back(std::make_shared<Property>("EXPRESSION", Variant(Calc().expression)));
        return Collection<Property>(std::move(items));
    }

private:
    bool IsMeasure() const { return FDim == mdx::kMeasuresDim; }
    bool IsCalculated() const { return IsMeasure() && FId >= FCube->measures.size(); }
    const MemberData& Data() const { return FCube->dimensions[static_cast<size_t>(FDim)].members[FId]; }
    const CalculatedMemberData& Calc() const { return FCube->calculatedMembers[FId - FCube->measures.size()]; }

    std::shared_ptr<const CubeData> FCube;
    int FDim;
    MemberId FId;
};

// ---- Local levels, hierarchies, dimensions, cube definitions

class LocalLevel : public Level {
public:
    LocalLevel(std::shared_ptr<const CubeData> cube, int dim, int depth, const std::string& name,
               const std::string& uniqueName, const std::string& caption)
        : Level(name, uniqueName, caption, depth), FCube(std::move(cube)), FDim(dim) {}

    Collection<Member> Members() const override {
        std::call_once(FOnce, [this] {
            std::vector<std::shared_ptr<Member>> items;
            if (FDim == mdx::kMeasuresDim) {
                size_t n = FCube->measures.size() + FCube->calculatedMembers.size();
                for (size_t i = 0; i < n; ++i)
                    items.push_back(std::make_shared<LocalMember>(FCube, FDim, static_cast<MemberId>(i)));
            } else {
                const LevelData& l = FCube->dimensions[static_cast<size_t>(FDim)].levels[static_cast<size_t>(Depth())];
                for (MemberId id : l.members) items.push_back(std::make_shared<LocalMember>(FCube, FDim, id));
            }
            FMembers = Collection<Member>(std::move(items));
        });
        return FMembers;
    }

private:
    std::shared_ptr<const CubeData> FCube;
    int FDim;  // mdx::kMeasuresDim: the measures
    mutable std::once_flag FOnce;
    mutable Collection<Member> FMembers;
};

std::shared_ptr<Dimension> MakeLocalDimension(const std::shared_ptr<const CubeData>& cube, int dim) {
    std::vector<std::shared_ptr<Level>> levels;
    std::string name, uniqueName;
    if (dim == mdx::kMeasuresDim) {
        name = "Measures";
        uniqueName = "[Measures]";
        levels.push_back(
            std::make_shared<LocalLevel>(cube, dim, 0, "MeasuresLevel", "[Measures].[MeasuresLevel]", "MeasuresLevel"));
    } else {
        const DimensionData& d = cube->dimensions[static_cast<size_t>(dim)];
        name = d.name;
        uniqueName = d.uniqueName;
        for (size_t i = 0; i < d.levels.size(); ++i) {
            const LevelData& l = d.levels[i];
            levels.push_back(std::make_shared<LocalLevel>(cube, dim, static_cast<int>(i), l.name, l.uniqueName,
                                                          l.caption.empty() ? l.name : l.caption));
        }
    }
    auto hierarchy = std::make_shared<Hierarchy>(name, uniqueName, Collection<Level>(std::move(levels)));
    Collection<Property> properties(
        {std::make_shared<Property>("DIMENSION_TYPE", Variant(dim == mdx::kMeasuresDim ? 2 : 3))});
    return std::make_shared<Dimension>(name, uniqueName, std::move(properties), Collection<Hierarchy>({hierarchy}));
}

class LocalCubeDef : public CubeDef {
public:
    explicit LocalCubeDef(std::shared_ptr<const CubeData> cube) : FCube(std::move(cube)) {
        std::vector<std::shared_ptr<Dimension>> dims;
        dims.push_back(MakeLocalDimension(FCube, mdx::kMeasuresDim));
        for (size_t i = 0; i < FCube->dimensions.size(); ++i)
            dims.push_back(MakeLocalDimension(FCube, static_cast<int>(i)));
        FDimensions = Collection<Dimension>(std::move(dims));
    }
    std::string Name() const override { return FCube->name; }
    Collection<Dimension> Dimensions() const override { return FDimensions; }
    Collection<Property> Properties() const override {
        return Collection<Property>({std::make_shared<Property>("LAST_DATA_UPDATE", Variant(FCube->lastDataUpdate))});
    }

private:
    std::shared_ptr<const CubeData> FCube;
    Collection<Dimension> FDimensions;
};

class LocalCellsetResult : public CellsetResult {
public:
    explicit LocalCellsetResult(std::shared_ptr<const CubeData> cube) : FCube(std::move(cube)) {}
    mdx::QueryResult Result;

    int DimensionCount(int axis) const override { return static_cast<int>(Result.axes[axis].dims.size()); }
    size_t PositionCount(int axis) const override { return Result.axes[axis].positionCount; }
    std::shared_ptr<Member> MemberAt(int axis, size_t position, int k) const override {
        const mdx::ResultAxis& a = Result.axes[axis];
        return std::make_shared<LocalMember>(FCube, a.dims[static_cast<size_t>(k)],
                                             a.member(position, static_cast<size_t>(k)));
    }
    Cell CellAt(size_t column, size_t row) const override {
        size_t i = row * Result.columns() + column;
        double v = Result.values[i];
        return Cell(std::isnan(v) ? Variant() : Variant(v), Result.formatted[i]);
    }

private:
    std::shared_ptr<const CubeData> FCube;
};

}  // namespace

LocalProvider::LocalProvider(std::shared_ptr<const CubeData> cube, std::string fileName)
    : FCube(std::move(cube)), FFileName(std::move(fileName)) {}

Collection<CubeDef> LocalProvider::CubeDefs() {
    // One cube def per provider, so that every catalog over it sees the same objects.
    std::call_once(FOnce, [this] { FCubeDef = std::make_shared<LocalCubeDef>(FCube); });
    return Collection<CubeDef>({FCubeDef});
}

std::shared_ptr<const CellsetResult> LocalProvider::Execute(const std::string& statement) {
    auto result = std::make_shared<LocalCellsetResult>(FCube);
    if (!mdx::Execute(statement, *FCube, result->Result, FFileName)) return nullptr;
    return result;
}

// ---- Connection

Connection::Connection(std::string connectionString, std::string fileName, std::shared_ptr<const CubeData> cube)
    : FConnectionString(std::move(connectionString)), FFileName(std::move(fileName)), FCube(std::move(cube)),
      FProvider(std::make_shared<LocalProvider>(FCube, FFileName)) {}

Connection::Connection(std::string connectionString, std::shared_ptr<Provider> provider)
    : FConnectionString(std::move(connectionString)), FProvider(std::move(provider)) {
    if (!FProvider) throw EOlapError("No provider given");
}

// ---- Catalog

void Catalog::SetActiveConnection(const std::string& connectionString) {
    SetActiveConnection(Connection::Connect(connectionString));
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
        FCubeDefs = conn->GetProvider().CubeDefs();
        FCubeDefsBuilt = true;
    }
    return FCubeDefs;
}

// ---- Cellset, axes, cells

Collection<Position> Axis::Positions() const {
    if (!FPositions) {
        const size_t count = FResult->PositionCount(FAxis);
        const int dims = FResult->DimensionCount(FAxis);
        std::vector<std::shared_ptr<Position>> positions;
        positions.reserve(count);
        for (size_t p = 0; p < count; ++p) {
            std::vector<std::shared_ptr<Member>> members;
            members.reserve(static_cast<size_t>(dims));
            for (int k = 0; k < dims; ++k) members.push_back(FResult->MemberAt(FAxis, p, k));
            positions.push_back(std::make_shared<Position>(Collection<Member>(std::move(members))));
        }
        FPositions = std::make_unique<Collection<Position>>(std::move(positions));
    }
    return *FPositions;
}

int Axis::DimensionCount() const {
    return FResult->DimensionCount(FAxis);
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
    auto result = conn->GetProvider().Execute(source);
    if (!result) return;
    FResult = std::move(result);
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
    const size_t columns = FResult->PositionCount(0), rows = FResult->PositionCount(1);
    if (column < 0 || row < 0 || static_cast<size_t>(column) >= columns || static_cast<size_t>(row) >= rows)
        throw EOlapError("Cell (" + std::to_string(column) + ", " + std::to_string(row) +
                         ") is out of range: the cellset has " + std::to_string(columns) + " columns and " +
                         std::to_string(rows) + " rows");
    return std::make_shared<Cell>(FResult->CellAt(static_cast<size_t>(column), static_cast<size_t>(row)));
}

}  // namespace cb::olap
