#include "olap/adomd/Adomd.h"

#include "olap/adomd/AdomdInternal.h"
#include "olap/mdx/Mdx.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace cb::olap {

// ---- Variant

double Variant::ToDouble() const
{
    if (IsEmpty())
        return 0;
    if (IsNumber())
        return std::get<double>(value_);
    const std::string& s = std::get<std::string>(value_);
    double v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || s.empty())
        throw EOlapError("The value \"" + s + "\" is not a number");
    return v;
}

int Variant::ToInt() const
{
    const double r = std::round(ToDouble());
    // NaN fails both comparisons.
    if (!(r >= double(std::numeric_limits<int>::min()) && r <= double(std::numeric_limits<int>::max())))
        throw EOlapError("The value " + ToString() + " is out of the integer range");
    return static_cast<int>(r);
}

std::string Variant::ToString() const
{
    if (IsEmpty())
        return {};
    if (IsText())
        return std::get<std::string>(value_);
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, std::get<double>(value_));
    return ec == std::errc() ? std::string(buf, ptr) : std::string();
}

// ---- Members

namespace {

bool IsMeasures(const MemberRef& r) { return r.dim == mdx::kMeasuresDim; }

const MemberData& Data(const MemberRef& r) { return r.cube->dimensions[static_cast<size_t>(r.dim)].members[r.id]; }

bool IsCalculated(const MemberRef& r) { return IsMeasures(r) && r.id >= r.cube->measures.size(); }

const CalculatedMemberData& Calc(const MemberRef& r) { return r.cube->calculatedMembers[r.id - r.cube->measures.size()]; }

} // namespace

std::shared_ptr<Member> MakeMember(const std::shared_ptr<const CubeData>& cube, int dim, MemberId id)
{
    return std::make_shared<Member>(std::make_shared<const MemberRef>(cube, dim, id));
}

std::string Member::Name() const
{
    if (IsMeasures(*ref_))
        return IsCalculated(*ref_) ? Calc(*ref_).name : ref_->cube->measures[ref_->id].name;
    return Data(*ref_).name;
}

std::string Member::UniqueName() const
{
    if (IsMeasures(*ref_))
        return IsCalculated(*ref_) ? Calc(*ref_).uniqueName : ref_->cube->measures[ref_->id].uniqueName;
    return Data(*ref_).uniqueName;
}

std::string Member::Caption() const
{
    if (IsMeasures(*ref_))
        return Name();
    const MemberData& m = Data(*ref_);
    return m.caption.empty() ? m.name : m.caption;
}

int Member::LevelDepth() const
{
    return IsMeasures(*ref_) ? 0 : Data(*ref_).depth;
}

std::string Member::LevelName() const
{
    if (IsMeasures(*ref_))
        return "[Measures].[MeasuresLevel]";
    const DimensionData& d = ref_->cube->dimensions[static_cast<size_t>(ref_->dim)];
    return d.levels[Data(*ref_).depth].uniqueName;
}

int Member::ChildCount() const
{
    return IsMeasures(*ref_) ? 0 : static_cast<int>(Data(*ref_).children.size());
}

Collection<Member> Member::Children() const
{
    std::vector<std::shared_ptr<Member>> items;
    if (!IsMeasures(*ref_)) {
        for (MemberId c : Data(*ref_).children)
            items.push_back(MakeMember(ref_->cube, ref_->dim, c));
    }
    return Collection<Member>(std::move(items));
}

Collection<Property> Member::Properties() const
{
    std::vector<std::shared_ptr<Property>> items;
    if (IsCalculated(*ref_))
        items.push_back(std::make_shared<Property>("EXPRESSION", Variant(Calc(*ref_).expression)));
    return Collection<Property>(std::move(items));
}

// ---- Levels, hierarchies, dimensions

Level::Level(std::shared_ptr<const CubeData> cube, int dim, int depth) : cube_(std::move(cube)), dim_(dim), depth_(depth)
{
    if (dim_ == mdx::kMeasuresDim) {
        name_ = caption_ = "MeasuresLevel";
        uniqueName_ = "[Measures].[MeasuresLevel]";
    } else {
        const LevelData& l = cube_->dimensions[static_cast<size_t>(dim_)].levels[static_cast<size_t>(depth_)];
        name_ = l.name;
        uniqueName_ = l.uniqueName;
        caption_ = l.caption.empty() ? l.name : l.caption;
    }
}

Collection<Member> Level::Members() const
{
    if (!members_) {
        std::vector<std::shared_ptr<Member>> items;
        if (dim_ == mdx::kMeasuresDim) {
            size_t n = cube_->measures.size() + cube_->calculatedMembers.size();
            for (size_t i = 0; i < n; ++i)
                items.push_back(MakeMember(cube_, dim_, static_cast<MemberId>(i)));
        } else {
            const LevelData& l = cube_->dimensions[static_cast<size_t>(dim_)].levels[static_cast<size_t>(depth_)];
            for (MemberId id : l.members)
                items.push_back(MakeMember(cube_, dim_, id));
        }
        members_ = std::make_unique<Collection<Member>>(std::move(items));
    }
    return *members_;
}

Hierarchy::Hierarchy(std::shared_ptr<const CubeData> cube, int dim)
{
    std::vector<std::shared_ptr<Level>> levels;
    if (dim == mdx::kMeasuresDim) {
        name_ = "Measures";
        uniqueName_ = "[Measures]";
        levels.push_back(std::make_shared<Level>(cube, dim, 0));
    } else {
        const DimensionData& d = cube->dimensions[static_cast<size_t>(dim)];
        name_ = d.name;
        uniqueName_ = d.uniqueName;
        for (size_t i = 0; i < d.levels.size(); ++i)
            levels.push_back(std::make_shared<Level>(cube, dim, static_cast<int>(i)));
    }
    levels_ = Collection<Level>(std::move(levels));
}

Dimension::Dimension(std::shared_ptr<const CubeData> cube, int dim)
{
    if (dim == mdx::kMeasuresDim) {
        name_ = "Measures";
        uniqueName_ = "[Measures]";
    } else {
        name_ = cube->dimensions[static_cast<size_t>(dim)].name;
        uniqueName_ = cube->dimensions[static_cast<size_t>(dim)].uniqueName;
    }
    properties_ = Collection<Property>(
        {std::make_shared<Property>("DIMENSION_TYPE", Variant(dim == mdx::kMeasuresDim ? 2 : 3))});
    hierarchies_ = Collection<Hierarchy>({std::make_shared<Hierarchy>(std::move(cube), dim)});
}

// ---- Cube definitions

CubeDef::CubeDef(std::shared_ptr<const CubeData> cube) : cube_(std::move(cube))
{
    std::vector<std::shared_ptr<Dimension>> dims;
    dims.push_back(std::make_shared<Dimension>(cube_, mdx::kMeasuresDim));
    for (size_t i = 0; i < cube_->dimensions.size(); ++i)
        dims.push_back(std::make_shared<Dimension>(cube_, static_cast<int>(i)));
    dimensions_ = Collection<Dimension>(std::move(dims));
}

std::string CubeDef::Name() const
{
    return cube_->name;
}

Collection<Dimension> CubeDef::Dimensions() const
{
    return dimensions_;
}

Collection<Property> CubeDef::Properties() const
{
    return Collection<Property>({std::make_shared<Property>("LAST_DATA_UPDATE", Variant(cube_->lastDataUpdate))});
}

// ---- Catalog

void Catalog::SetActiveConnection(const std::string& connectionString)
{
    SetActiveConnection(Connection::Open(connectionString));
}

void Catalog::SetActiveConnection(std::shared_ptr<Connection> connection)
{
    if (!connection)
        throw EOlapError("No connection given");
    connection_ = std::move(connection);
    cubeDefsBuilt_ = false;
    cubeDefs_ = Collection<CubeDef>();
}

std::shared_ptr<Connection> Catalog::ActiveConnection() const
{
    if (!connection_)
        throw EOlapError("The catalog has no open connection");
    return connection_;
}

Collection<CubeDef> Catalog::CubeDefs() const
{
    auto conn = ActiveConnection();
    if (!cubeDefsBuilt_) {
        cubeDefs_ = Collection<CubeDef>({std::make_shared<CubeDef>(conn->Cube())});
        cubeDefsBuilt_ = true;
    }
    return cubeDefs_;
}

// ---- Cellset, axes, cells

Collection<Position> Axis::Positions() const
{
    if (!positions_) {
        const mdx::ResultAxis& a = result_->result.axes[axis_];
        std::vector<std::shared_ptr<Position>> positions;
        positions.reserve(a.positionCount);
        for (size_t p = 0; p < a.positionCount; ++p) {
            std::vector<std::shared_ptr<Member>> members;
            for (size_t k = 0; k < a.dims.size(); ++k)
                members.push_back(MakeMember(result_->cube, a.dims[k], a.member(p, k)));
            positions.push_back(std::make_shared<Position>(Collection<Member>(std::move(members))));
        }
        positions_ = std::make_unique<Collection<Position>>(std::move(positions));
    }
    return *positions_;
}

int Axis::DimensionCount() const
{
    return static_cast<int>(result_->result.axes[axis_].dims.size());
}

void Cellset::SetActiveConnection(const std::string& connectionString)
{
    connection_ = Connection::Open(connectionString);
}

void Cellset::SetActiveConnection(std::shared_ptr<Connection> connection)
{
    if (!connection)
        throw EOlapError("No connection given");
    connection_ = std::move(connection);
}

std::shared_ptr<Connection> Cellset::ActiveConnection() const
{
    if (!connection_)
        throw EOlapError("The cellset has no active connection");
    return connection_;
}

void Cellset::Open(const std::string& source, std::shared_ptr<Connection> connection)
{
    Close();
    if (connection)
        connection_ = std::move(connection);
    auto conn = ActiveConnection();
    auto result = std::make_shared<CellsetResult>();
    result->cube = conn->Cube();
    if (!mdx::Execute(source, *result->cube, result->result))
        return;
    result_ = result;
    axes_ = Collection<Axis>({std::make_shared<Axis>(result_, 0), std::make_shared<Axis>(result_, 1)});
}

void Cellset::Close()
{
    result_.reset();
    axes_ = Collection<Axis>();
}

int Cellset::State() const
{
    return result_ ? adStateOpen : adStateClosed;
}

Collection<Axis> Cellset::Axes() const
{
    if (!result_)
        throw EOlapError("The cellset is not open");
    return axes_;
}

std::shared_ptr<Cell> Cellset::Item(int column, int row) const
{
    if (!result_)
        throw EOlapError("The cellset is not open");
    const mdx::QueryResult& r = result_->result;
    if (column < 0 || row < 0 || static_cast<size_t>(column) >= r.columns() || static_cast<size_t>(row) >= r.rows())
        throw EOlapError("Cell (" + std::to_string(column) + ", " + std::to_string(row) +
                         ") is out of range: the cellset has " + std::to_string(r.columns()) + " columns and " +
                         std::to_string(r.rows()) + " rows");
    size_t i = static_cast<size_t>(row) * r.columns() + static_cast<size_t>(column);
    double v = r.values[i];
    return std::make_shared<Cell>(std::isnan(v) ? Variant() : Variant(v), r.formatted[i]);
}

} // namespace cb::olap
