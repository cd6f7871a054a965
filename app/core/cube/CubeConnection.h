#pragma once
// Where a cube lives (a local cube file or an analysis server with a
// catalog) and the open catalog connection to it.
#include "app/core/base/AppContext.h"
#include "olap/adomd/Adomd.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace cb::app {

// Where a TCubeConnectionString points; the numbers are those stored in the
// settings (LastCubeConnectionType).
enum class TConnectionType : uint8_t {
    ctNone = 0,
    ctLocalCubeFile = 1,
    ctAnalysisServer = 2
};

class TCubeConnectionString {
public:
    std::string Catalog;
    TConnectionType ConnectionType = TConnectionType::ctNone;
    std::string FileName;
    std::string LastConnectionString;
    std::string ServerName;

    // Builds the OLE DB connection string for the type and remembers it as
    // LastConnectionString; empty for a type that describes nothing.
    std::string GetConnectionString();
    std::string GetDescription() const;
    // Stores the file name trimmed of surrounding blanks.
    void SetFileName(const std::string& text);
};

// Abstract connection to a catalog of cubes.
class TCubeConnection {
public:
    TCubeConnection() = default;
    virtual ~TCubeConnection() = default;
    TCubeConnection(const TCubeConnection&) = delete;
    TCubeConnection& operator=(const TCubeConnection&) = delete;

    bool Active = false;
    bool AllowsDrilling = false;
    bool DisplayErrors = false;

    virtual bool Connect(std::unique_ptr<TCubeConnectionString> description) = 0;
    virtual std::optional<cb::olap::Collection<cb::olap::CubeDef>> GetCubeDefs() = 0;
    virtual std::shared_ptr<cb::olap::CubeDef> GetCurrentCubeDef() = 0;
    virtual bool SelectCubeByName(const std::string& name) = 0;
    virtual bool SelectCube(const std::string& name) = 0;
};

// The connection over the object model's catalog.
class TMSOLAPConnection : public TCubeConnection {
public:
    // The context's user interface is told of failed connects.
    explicit TMSOLAPConnection(TAppContext context = {});
    // Connects with the description (once; DisplayErrors is true meanwhile).
    // A failure is shown to the user and leaves Active false.
    explicit TMSOLAPConnection(std::unique_ptr<TCubeConnectionString> description, TAppContext context = {});
    ~TMSOLAPConnection() override;

    // Takes the description as the connection's own and opens the catalog
    // on its connection string. A failure is shown and answers false.
    bool Connect(std::unique_ptr<TCubeConnectionString> description) override;
    // None when the catalog is not open.
    std::optional<cb::olap::Collection<cb::olap::CubeDef>> GetCubeDefs() override;
    std::shared_ptr<cb::olap::CubeDef> GetCurrentCubeDef() override;
    // Exact, case-sensitive match; an unknown name keeps the current cube.
    bool SelectCubeByName(const std::string& name) override;
    bool SelectCube(const std::string& name) override;

    // None when the catalog is not open.
    std::shared_ptr<cb::olap::Connection> GetActiveConnection() const;
    std::string GetConnectionString() const;
    std::string GetFileName() const;
    TCubeConnectionString* GetDescription() const { return FDescription.get(); }
    cb::olap::Catalog& GetCatalog() { return *FCatalog; }
    int CubeIndex = 0;

private:
    TAppContext FContext;
    std::unique_ptr<cb::olap::Catalog> FCatalog;
    std::unique_ptr<TCubeConnectionString> FDescription;
};

}  // namespace cb::app
