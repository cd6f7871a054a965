#include "app/core/cube/LocalCubeCreate.h"

#include "app/core/cube/CubeModel.h"
#include "app/core/base/Helpers.h"
#include "olap/adomd/Adomd.h"
#include "platform/os/Files.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"
#include "zip/Crc32.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace cb::app {

namespace {

constexpr char CR = '\r';

// CRC-32 of a whole file, read in blocks.
std::uint32_t FileCrc32(const std::string& fileName) {
    const int fd = cb::rtl::OpenFileForReading(fileName);
    auto closeFile = cb::rtl::OnScopeExit([&] { ::close(fd); });
    std::vector<char> buffer(1 << 20);
    std::uint32_t crc = 0xFFFFFFFFu;
    while (true) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw cb::rtl::EInOutError(cb::rtl::OsErrorText("Cannot read", fileName, errno));
        }
        if (n == 0) break;
        crc = cb::zip::UpdateCrc32(crc, buffer.data(), static_cast<std::size_t>(n));
    }
    return ~crc;
}

constexpr char kPrivatePrefix[] = ".cubecopy-";

// Private folders ".cubecopy-<pid>-XXXXXX" in dir whose process no longer
// runs: what a killed copy left.
void RemoveStalePrivateFolders(const std::string& dir) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(kPrivatePrefix, 0) != 0 || !e.is_directory(ec) || e.is_symlink(ec)) continue;
        const std::size_t start = sizeof kPrivatePrefix - 1;
        std::size_t i = start;
        while (i < name.size() && name[i] >= '0' && name[i] <= '9') ++i;
        if (i == start || i - start > 9 || i >= name.size() || name[i] != '-') continue;
        const long pid = std::stol(name.substr(start, i - start));
        if (pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        cb::os::RemoveDirectoryTree(e.path().string());
    }
}

// A new private folder inside dir (mode 0700); removed by the caller.
std::string MakePrivateFolder(const std::string& dir) {
    const std::string base = cb::rtl::IncludeTrailingPathDelimiter(dir.empty() ? "." : dir);
    RemoveStalePrivateFolders(base);
    std::string name = base + kPrivatePrefix + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(name.data())) throw cb::rtl::EInOutError(cb::rtl::OsErrorText("Cannot create folder", name, errno));
    return name + "/";
}

}  // namespace

std::string QuoteMDXName(const std::string& name) {
    return cb::rtl::StringReplace(name, "]", "]]", cb::rtl::rfReplaceAll);
}

std::string QuoteMDXString(const std::string& text) {
    return cb::rtl::StringReplace(text, "'", "''", cb::rtl::rfReplaceAll);
}

std::string TCreateLocalCubeUsingGlobalCreateStorageLocation::GetDescription() const {
    return (Kind == slZippedLocalCube ? "Zipped Local Cube File: " : "Local Cube File: ") + FileName;
}

TCreateLocalCubeUsingGlobalCreate::TCreateLocalCubeUsingGlobalCreate(TAppContext context)
    : FContext(context), FConnection(std::make_unique<TMSOLAPConnection>(context)),
      FStorageLocation(std::make_unique<TStorageLocation>()) {}

TCreateLocalCubeUsingGlobalCreate::~TCreateLocalCubeUsingGlobalCreate() = default;

void TCreateLocalCubeUsingGlobalCreate::SetStorageLocation(std::unique_ptr<TStorageLocation> location) {
    FStorageLocation = location ? std::move(location) : std::make_unique<TStorageLocation>();
}

bool TCreateLocalCubeUsingGlobalCreate::LoadDimensionNames() {
    try {
        auto cube = FConnection->GetCurrentCubeDef();
        auto names = cube ? GetCubeDimensionNames(cube.get()) : nullptr;
        if (!names) return false;
        DimensionNames = std::move(*names);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TCreateLocalCubeUsingGlobalCreate::LoadMeasureNames() {
    try {
        auto cube = FConnection->GetCurrentCubeDef();
        auto names = cube ? GetCubeMeasureNames(cube.get()) : nullptr;
        if (!names) return false;
        MeasureNames = std::move(*names);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string ComposeCreateGlobalCube(const std::string& cubeName, const std::string& cubeFile,
                                    const std::string& sourceCube, const std::vector<std::string>& measures,
                                    const std::vector<std::string>& dimensions) {
    const std::string source = "[" + QuoteMDXName(sourceCube) + "]";
    std::string text = "CREATE GLOBAL CUBE [" + QuoteMDXName(cubeName) + "] STORAGE '" + QuoteMDXString(cubeFile) +
                       "' FROM " + source + CR + "(" + CR;
    // Items are separated by commas, with none after the last.
    std::vector<std::string> items;
    for (const std::string& m : measures) items.push_back("MEASURE " + source + "." + m);
    for (const std::string& d : dimensions) items.push_back("DIMENSION " + source + "." + d);
    for (size_t i = 0; i < items.size(); ++i) text += items[i] + (i + 1 < items.size() ? std::string(",") + CR : "");
    return text + ")";
}

std::string TCreateLocalCubeUsingGlobalCreate::BuildStatement(const std::string& cubeFolder) {
    auto cube = FConnection->GetCurrentCubeDef();
    const std::string source = cube ? cube->Name() : std::string();
    const std::string& target = FStorageLocation->FileName;
    FCubeFile =
        FStorageLocation->Kind == TStorageLocation::slZippedLocalCube ? ReplaceFileExtension(target, "cub") : target;
    if (!cubeFolder.empty()) FCubeFile = cubeFolder + cb::rtl::ExtractFileName(FCubeFile);
    return ComposeCreateGlobalCube(CubeName, FCubeFile, source, MeasureNames, DimensionNames);
}

std::string TCreateLocalCubeUsingGlobalCreate::GetSummary() const {
    std::string text;
    const TCubeConnectionString* description = FConnection->GetDescription();
    text += "Cube Source: " + (description ? description->GetDescription() : std::string()) + CR;
    text += "Cube Name: " + CubeName + CR;
    text += std::string("Cube Destination: ") + CR + FStorageLocation->GetDescription() + CR;
    text += std::string("Measures To Take: ") + CR;
    for (const std::string& m : MeasureNames) text += "     - " + m + CR;
    text += CR;
    text += std::string("Dimensions To Take: ") + CR;
    for (const std::string& d : DimensionNames) text += "     - " + d + CR;
    text += CR;
    return text;
}

void TCreateLocalCubeUsingGlobalCreate::RunStatement(const std::string& statement,
                                                      std::function<void()> afterGivenUp) {
    FGivenUp = false;
    auto connection = FConnection->GetActiveConnection();
    if (!connection) throw cb::olap::EOlapError("The source cube is not open");

    // What the worker shares with this thread; it outlives a given-up wait.
    struct TShared {
        std::mutex Lock;
        std::condition_variable Done;
        bool Finished = false;
        bool GivenUp = false;
        std::function<void()> AfterGivenUp;
        std::string Error;
    };
    auto shared = std::make_shared<TShared>();
    std::thread worker([shared, connection, statement] {
        std::string error;
        try {
            cb::olap::Cellset cellset;
            cellset.SetActiveConnection(connection);
            cellset.Open(statement);
        } catch (const std::exception& e) {
            error = e.what();
            if (error.empty()) error = "unknown error";
        }
        std::function<void()> cleanUp;
        {
            std::lock_guard<std::mutex> guard(shared->Lock);
            shared->Error = std::move(error);
            shared->Finished = true;
            if (shared->GivenUp) cleanUp = std::move(shared->AfterGivenUp);
            shared->Done.notify_all();
        }
        // Nobody waits any more: what the statement wrote into goes now,
        // once nothing writes into it.
        if (cleanUp) {
            try {
                cleanUp();
            } catch (...) {
            }
        }
    });

    const auto deadline = std::chrono::steady_clock::now() + BuildTimeout;
    std::unique_lock<std::mutex> lock(shared->Lock);
    while (!shared->Finished) {
        if (std::chrono::steady_clock::now() >= deadline) {
            // The worker finishes on its own (its file is written whole or
            // not at all) and cleans up after itself.
            shared->GivenUp = true;
            shared->AfterGivenUp = std::move(afterGivenUp);
            FGivenUp = true;
            lock.unlock();
            worker.detach();
            throw cb::olap::EOlapError("the build did not finish in time");
        }
        shared->Done.wait_for(lock, std::chrono::milliseconds(10));
        if (!shared->Finished && OnProcessMessages) {
            lock.unlock();
            OnProcessMessages();
            lock.lock();
        }
    }
    lock.unlock();
    worker.join();
    if (!shared->Error.empty()) throw cb::olap::EOlapError(shared->Error);
}

bool TCreateLocalCubeUsingGlobalCreate::BuildCube() {
    const TStorageLocation& target = *FStorageLocation;
    if (target.Kind != TStorageLocation::slZippedLocalCube) {
        RunStatement(BuildStatement());
        return true;
    }
    // A zipped cube is built in a private folder beside the archive, so no
    // file of the user's is replaced or deleted on the way.
    const std::string folder = MakePrivateFolder(cb::rtl::ExtractFilePath(target.FileName));
    // The folder goes when the build is done with it: here, or by a worker
    // that outlived the wait, never under a worker that still writes.
    bool handedOver = false;
    auto removeFolder = cb::rtl::OnScopeExit([&] {
        if (!handedOver) cb::os::RemoveDirectoryTree(folder);
    });
    try {
        RunStatement(BuildStatement(folder), [folder] { cb::os::RemoveDirectoryTree(folder); });
    } catch (...) {
        handedOver = FGivenUp;
        throw;
    }
    if (ZipFile(FCubeFile, target.FileName, target.ZipPassword, FContext)) return true;
    // The archive failed: keep the plain cube beside it unless a file of that
    // name is there already.
    const std::string beside = ReplaceFileExtension(target.FileName, "cub");
    if (!std::filesystem::exists(beside) && cb::os::RenameFile(FCubeFile, beside))
        FContext.ShowInformation("The cube was kept unzipped as " + beside + ".");
    return false;
}

bool TCreateLocalCubeUsingGlobalCreate::Execute() {
    try {
        return BuildCube();
    } catch (const std::exception& e) {
        FContext.ShowError(std::string("Error building cube with error:") + e.what());
        return false;
    }
}

bool ZipFile(const std::string& sourceFile, const std::string& zipFile, const std::string& password,
             TAppContext context) {
    try {
        if (std::filesystem::is_directory(zipFile))
            throw cb::zip::EZipError("The file " + zipFile + " exists and could not be removed.");
        cb::zip::ZipSingleFile(sourceFile, zipFile, password);
        // Read the entry back: its name, size and checksum must be the file's.
        cb::zip::TZipReader check;
        check.SetZipName(zipFile);
        check.OpenArchive();
        const bool ok = check.Count() == 1 && check.Entry(0).FileName() == cb::rtl::ExtractFileName(sourceFile) &&
                        check.Entry(0).Crc32 == FileCrc32(sourceFile);
        check.CloseArchive();
        if (!ok)
            throw cb::zip::EZipError("the archive does not hold " + cb::rtl::ExtractFileName(sourceFile) + " intact");
        return true;
    } catch (const std::exception& e) {
        context.ShowError(std::string("Error occured during zipping with message: ") + e.what());
        return false;
    }
}

}  // namespace cb::app
