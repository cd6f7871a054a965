#pragma once
// Local cube creation: a CREATE GLOBAL CUBE statement over every stored
// measure and every dimension of the open cube, run on a connection of its
// own, the result optionally packed into a zip archive.
#include "app/core/base/AppContext.h"
#include "app/core/cube/CubeConnection.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::app {

// Where the new cube goes.
class TCreateLocalCubeUsingGlobalCreateStorageLocation {
public:
    enum : int {
        slLocalCube = 0,
        slZippedLocalCube = 1
    };
    int Kind = slLocalCube;
    std::string FileName;     // the .cub file, or the zip archive
    std::string ZipPassword;  // empty: none

    // "Local Cube File: <file>" or "Zipped Local Cube File: <file>".
    std::string GetDescription() const;
};

class TCreateLocalCubeUsingGlobalCreate {
public:
    using TStorageLocation = TCreateLocalCubeUsingGlobalCreateStorageLocation;

    // Messages go to the context's user interface.
    explicit TCreateLocalCubeUsingGlobalCreate(TAppContext context = {});
    ~TCreateLocalCubeUsingGlobalCreate();
    TCreateLocalCubeUsingGlobalCreate(const TCreateLocalCubeUsingGlobalCreate&) = delete;
    TCreateLocalCubeUsingGlobalCreate& operator=(const TCreateLocalCubeUsingGlobalCreate&) = delete;

    // The builder's own connection (unconnected until the wizard connects it).
    TMSOLAPConnection& Connection() { return *FConnection; }

    std::string CubeName;
    std::vector<std::string> DimensionNames;  // "[Dim]", Measures left out
    std::vector<std::string> MeasureNames;    // "[Measure]", stored ones only

    // Replaces the target (the builder then holds it).
    void SetStorageLocation(std::unique_ptr<TStorageLocation> location);
    const TStorageLocation& GetStorageLocation() const { return *FStorageLocation; }

    // From the connection's current cube; false (lists kept) on a failure.
    bool LoadDimensionNames();
    bool LoadMeasureNames();

    // The cube file the statement writes into (cubeFolder when given, else
    // the target's folder), with names and path quoted for MDX.
    std::string BuildStatement(const std::string& cubeFolder = {});
    // The text the wizard shows before the build.
    std::string GetSummary() const;
    // Builds the cube; false after the failure was shown to the user.
    bool Execute();

    // Called about every 10 ms while the statement runs (the windows keep
    // painting); empty: nothing.
    std::function<void()> OnProcessMessages;
    // How long a build may run before it is given up.
    std::chrono::milliseconds BuildTimeout = std::chrono::minutes(30);

    // The cube file of the last composed statement.
    const std::string& CubeFile() const { return FCubeFile; }

private:
    // Runs the statement on a worker thread, pumping messages meanwhile.
    // When the wait gives up (FGivenUp is then true), the worker finishes on
    // its own and then runs afterGivenUp, the clean-up of what it writes
    // into; otherwise afterGivenUp is dropped.
    void RunStatement(const std::string& statement, std::function<void()> afterGivenUp = {});
    bool BuildCube();

    TAppContext FContext;
    std::unique_ptr<TMSOLAPConnection> FConnection;
    std::unique_ptr<TStorageLocation> FStorageLocation;
    std::string FCubeFile;
    bool FGivenUp = false;
};

// The statement text: names and the path quoted so that they cannot end
// their brackets or quotes; items separated by commas, none after the last.
std::string ComposeCreateGlobalCube(const std::string& cubeName, const std::string& cubeFile,
                                    const std::string& sourceCube, const std::vector<std::string>& measures,
                                    const std::vector<std::string>& dimensions);

// Packs sourceFile into zipFile (replaced once the new archive is complete
// and its entry checked, CRC included). The failure is shown through the
// context and answers false; the source file is never touched.
bool ZipFile(const std::string& sourceFile, const std::string& zipFile, const std::string& password,
             TAppContext context = {});

// "]" written twice, for a name inside [ ]; "'" written twice, for a text
// inside ' '.
std::string QuoteMDXName(const std::string& name);
std::string QuoteMDXString(const std::string& text);

}  // namespace cb::app
