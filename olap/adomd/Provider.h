#pragma once
// What stands behind a connection: the embedded engine over a local cube, or
// an analysis server. The object model's catalog and cellsets call these.
#include "olap/adomd/Adomd.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace cb::olap {

// The answer to a SELECT: axis 0 holds the columns, axis 1 the rows.
class CellsetResult {
public:
    virtual ~CellsetResult() = default;
    // Dimensions crossed on the axis (0 for an empty set).
    virtual int DimensionCount(int axis) const = 0;
    virtual size_t PositionCount(int axis) const = 0;
    // Member k (outermost first) of a position.
    virtual std::shared_ptr<Member> MemberAt(int axis, size_t position, int k) const = 0;
    // In range (column < PositionCount(0), row < PositionCount(1)).
    virtual Cell CellAt(size_t column, size_t row) const = 0;
};

class Provider {
public:
    virtual ~Provider() = default;
    virtual Collection<CubeDef> CubeDefs() = 0;
    // Runs a statement: a SELECT gives its result, a statement without one
    // (CREATE GLOBAL CUBE) gives null. Throws EOlapError.
    virtual std::shared_ptr<const CellsetResult> Execute(const std::string& statement) = 0;
};

// Opens a session with an analysis server's catalog (its first when the
// catalog is empty); unless newSession, one still in use may be shared.
// Throws EOlapError.
using ServerOpener =
    std::function<std::shared_ptr<Provider>(const std::string& server, const std::string& catalog, bool newSession)>;

// The client that answers connection strings naming a server (an Initial
// Catalog); a program registers it at start-up. Without one such a
// connection string is refused.
void RegisterServerProvider(ServerOpener opener);


}  // namespace cb::olap
