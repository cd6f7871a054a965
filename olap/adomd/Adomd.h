#pragma once
// The multidimensional object model the application talks to: a catalog of
// cube definitions (dimensions, hierarchies, levels, members, properties) and
// cellsets that run MDX against an open connection.
//
// Objects are reference-counted and handed out as std::shared_ptr; an object
// keeps the cube it came from alive. Collections are cheap to copy, index
// from 0 and keep the provider's order; Item out of range throws EOlapError.
// Every failure is an EOlapError whose message says what went wrong.
#include "olap/engine/OlapError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace cb::olap {

struct CubeData;
class CellsetResult;  // olap/adomd/Provider.h

// A value read from the object model: empty, a number or a text.
class Variant {
public:
    Variant() = default;
    Variant(double v) : FValue(v) {}
    Variant(int v) : FValue(static_cast<double>(v)) {}
    Variant(std::string v) : FValue(std::move(v)) {}
    Variant(const char* v) : FValue(std::string(v)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(FValue); }
    bool IsNumber() const { return std::holds_alternative<double>(FValue); }
    bool IsText() const { return std::holds_alternative<std::string>(FValue); }
    // Empty gives 0; a text that is not a number throws EOlapError.
    double ToDouble() const;
    // Rounded to the nearest integer (halves away from zero); throws
    // EOlapError beyond the int range or for a value that is not a number.
    int ToInt() const;
    // Empty gives ""; a number its shortest exact decimal form ("2", "0.5").
    std::string ToString() const;

    bool operator==(const Variant&) const = default;

private:
    std::variant<std::monostate, double, std::string> FValue;
};

template <class T>
class Collection {
public:
    Collection() : FItems(std::make_shared<std::vector<std::shared_ptr<T>>>()) {}
    explicit Collection(std::vector<std::shared_ptr<T>> items)
        : FItems(std::make_shared<std::vector<std::shared_ptr<T>>>(std::move(items))) {}
    int Count() const { return static_cast<int>(FItems->size()); }
    std::shared_ptr<T> Item(int index) const {
        if (index < 0 || index >= Count())
            throw EOlapError("Index " + std::to_string(index) + " is out of range (the collection holds " +
                             std::to_string(Count()) + " items)");
        return (*FItems)[static_cast<size_t>(index)];
    }
    auto begin() const { return FItems->begin(); }
    auto end() const { return FItems->end(); }

private:
    std::shared_ptr<std::vector<std::shared_ptr<T>>> FItems;
};

class Property {
public:
    Property(std::string name, Variant value) : FName(std::move(name)), FValue(std::move(value)) {}
    const std::string& Name() const { return FName; }
    const Variant& Value() const { return FValue; }

private:
    std::string FName;
    Variant FValue;
};

class Member;
class Level;
class Hierarchy;
class Dimension;
class CubeDef;
class Connection;
class Cellset;
class Provider;  // olap/adomd/Provider.h

// A member of a dimension or a measure. Local cubes and analysis servers
// each give their own kind.
class Member {
public:
    virtual ~Member() = default;
    virtual std::string Name() const = 0;
    virtual std::string UniqueName() const = 0;
    virtual std::string Caption() const = 0;
    virtual int LevelDepth() const = 0;
    // The unique name of the member's level, e.g. "[Customer].[Country]".
    virtual std::string LevelName() const = 0;
    virtual int ChildCount() const = 0;
    virtual Collection<Member> Children() const = 0;
    // "EXPRESSION" (text) for a calculated member; none otherwise.
    virtual Collection<Property> Properties() const = 0;
};

class Level {
public:
    virtual ~Level() = default;
    std::string Name() const { return FName; }
    std::string UniqueName() const { return FUniqueName; }
    std::string Caption() const { return FCaption; }
    int Depth() const { return FDepth; }
    // In hierarchy order; read when first asked for.
    virtual Collection<Member> Members() const = 0;

protected:
    Level(std::string name, std::string uniqueName, std::string caption, int depth)
        : FName(std::move(name)), FUniqueName(std::move(uniqueName)), FCaption(std::move(caption)), FDepth(depth) {}

private:
    std::string FName, FUniqueName, FCaption;
    int FDepth;
};

class Hierarchy {
public:
    Hierarchy(std::string name, std::string uniqueName, Collection<Level> levels)
        : FName(std::move(name)), FUniqueName(std::move(uniqueName)), FLevels(std::move(levels)) {}
    std::string Name() const { return FName; }
    // "[Measures]" for the measures, else the dimension's unique name.
    std::string UniqueName() const { return FUniqueName; }
    Collection<Level> Levels() const { return FLevels; }

private:
    std::string FName, FUniqueName;
    Collection<Level> FLevels;
};

class Dimension {
public:
    Dimension(std::string name, std::string uniqueName, Collection<Property> properties,
              Collection<Hierarchy> hierarchies)
        : FName(std::move(name)), FUniqueName(std::move(uniqueName)), FProperties(std::move(properties)),
          FHierarchies(std::move(hierarchies)) {}
    std::string Name() const { return FName; }
    std::string UniqueName() const { return FUniqueName; }
    // "DIMENSION_TYPE": 2 for the measures, 3 for every other dimension.
    Collection<Property> Properties() const { return FProperties; }
    Collection<Hierarchy> Hierarchies() const { return FHierarchies; }

private:
    std::string FName, FUniqueName;
    Collection<Property> FProperties;
    Collection<Hierarchy> FHierarchies;
};

class CubeDef {
public:
    virtual ~CubeDef() = default;
    virtual std::string Name() const = 0;
    // The measures dimension ("[Measures]") first, then the cube's dimensions.
    // A server's cube reads them when first asked for (throws EOlapError
    // when that fails).
    virtual Collection<Dimension> Dimensions() const = 0;
    // "LAST_DATA_UPDATE" (text).
    virtual Collection<Property> Properties() const = 0;
};

// An open connection: a local cube file in memory, or a session with an
// analysis server. Opening the same file again (same path, same
// modification time) shares the cube already in memory; opening the same
// server and catalog again while a connection to it lives shares its session.
class Connection {
public:
    // Connection strings are "key=value;" pairs, values optionally in double
    // quotes, keys case-insensitive. A local cube file:
    //   Data Source="<file>";Provider=MSOLAP.2;
    // An analysis server (an http:// or https:// address, or host[:port]
    // meaning http://host:port/xmla) and its catalog:
    //   Data Source="<server>";Initial Catalog="<catalog>";Provider=MSOLAP.2;
    static std::shared_ptr<Connection> Open(const std::string& connectionString);
    // As Open, but a server connection starts a new session (the server's
    // cubes are read again).
    static std::shared_ptr<Connection> Connect(const std::string& connectionString);

    const std::string& ConnectionString() const { return FConnectionString; }
    // The cube file; empty for a server.
    const std::string& FileName() const { return FFileName; }
    // The local cube; null for a server.
    const std::shared_ptr<const CubeData>& Cube() const { return FCube; }
    // What answers the connection's catalog and statements.
    Provider& GetProvider() const { return *FProvider; }

    // internal
    Connection(std::string connectionString, std::string fileName, std::shared_ptr<const CubeData> cube);
    Connection(std::string connectionString, std::shared_ptr<Provider> provider);

private:
    std::string FConnectionString;
    std::string FFileName;
    std::shared_ptr<const CubeData> FCube;
    std::shared_ptr<Provider> FProvider;
};

// A local cube file read on a thread of its own while the caller does other
// work: the next Open or Connect of the same file takes the cube, or the
// error, from this read, unless the file has changed since it began (its
// modification time or size differ), when it is read again. One read ahead
// at a time; a newer one takes the place of an older one. The destructor
// waits for the read and drops a cube no connection took.
class CubeFileReadAhead {
public:
    explicit CubeFileReadAhead(const std::string& path);
    ~CubeFileReadAhead();
    CubeFileReadAhead(const CubeFileReadAhead&) = delete;
    CubeFileReadAhead& operator=(const CubeFileReadAhead&) = delete;

private:
    uint64_t FId = 0;
};

class Catalog {
public:
    // Opens the connection (Connection::Connect); throws EOlapError when it
    // cannot (missing or bad file, bad connection string, a server that does
    // not answer or has no such catalog).
    void SetActiveConnection(const std::string& connectionString);
    void SetActiveConnection(std::shared_ptr<Connection> connection);
    // Throws EOlapError when no connection is open.
    std::shared_ptr<Connection> ActiveConnection() const;
    // Throws EOlapError when no connection is open.
    Collection<CubeDef> CubeDefs() const;

private:
    std::shared_ptr<Connection> FConnection;
    mutable Collection<CubeDef> FCubeDefs;
    mutable bool FCubeDefsBuilt = false;
};

class Cell {
public:
    Cell(Variant value, std::string formatted) : FValue(std::move(value)), FFormatted(std::move(formatted)) {}
    // Empty or a number.
    const Variant& Value() const { return FValue; }
    // The value in the measure's format; "" for an empty cell.
    const std::string& FormattedValue() const { return FFormatted; }

private:
    Variant FValue;
    std::string FFormatted;
};

class Position {
public:
    // One member per dimension crossed on the axis, outermost first.
    Collection<Member> Members() const { return FMembers; }

    // internal
    explicit Position(Collection<Member> members) : FMembers(std::move(members)) {}

private:
    Collection<Member> FMembers;
};

class Axis {
public:
    Collection<Position> Positions() const;
    // The number of dimensions crossed on the axis (0 for an empty set).
    int DimensionCount() const;

    // internal
    Axis(std::shared_ptr<const CellsetResult> result, int axis) : FResult(std::move(result)), FAxis(axis) {}

private:
    std::shared_ptr<const CellsetResult> FResult;
    int FAxis;
    mutable std::unique_ptr<Collection<Position>> FPositions;  // built on first use
};

class Cellset {
public:
    static constexpr int adStateClosed = 0;
    static constexpr int adStateOpen = 1;

    void SetActiveConnection(const std::string& connectionString);
    void SetActiveConnection(std::shared_ptr<Connection> connection);
    // Throws EOlapError when none is set.
    std::shared_ptr<Connection> ActiveConnection() const;

    // Runs an MDX SELECT (the cellset is then open) or a CREATE GLOBAL CUBE
    // statement (the cellset stays closed) on the connection; a null
    // connection means the active one. Throws EOlapError on an invalid
    // statement; the cellset is then closed.
    void Open(const std::string& source, std::shared_ptr<Connection> connection = nullptr);
    void Close();
    int State() const;

    // Axis 0 holds the columns, axis 1 the rows. Throws when closed.
    Collection<Axis> Axes() const;
    // The cell at (column position, row position). Throws when closed or out
    // of range (an axis with no positions has no cells).
    std::shared_ptr<Cell> Item(int column, int row) const;

private:
    std::shared_ptr<Connection> FConnection;
    std::shared_ptr<const CellsetResult> FResult;
    Collection<Axis> FAxes;
};

}  // namespace cb::olap
