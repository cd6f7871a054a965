// Opening connections: the connection string, the cache of open cubes, and
// the hand-over of server connections to the registered server client.
#include "olap/adomd/Adomd.h"

#include "olap/adomd/ConnectionString.h"
#include "olap/adomd/Provider.h"
#include "olap/engine/CubeFile.h"

#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <system_error>

namespace cb::olap {

namespace {

struct CacheEntry {
    std::filesystem::file_time_type mtime;
    uintmax_t size = 0;
    std::weak_ptr<const CubeData> cube;
};

std::mutex gCacheMutex;
std::map<std::string, CacheEntry> gCache;

// A cube file being read ahead, with the file's time and size when the read
// began.
struct ReadAhead {
    uint64_t id = 0;
    std::string key;
    std::filesystem::file_time_type mtime;
    uintmax_t size = 0;
    std::future<std::shared_ptr<const CubeData>> cube;
};

std::mutex gReadAheadMutex;
std::unique_ptr<ReadAhead> gReadAhead;
uint64_t gReadAheadIds = 0;

// The read ahead of the file with this key, taken out of its place.
std::unique_ptr<ReadAhead> TakeReadAhead(const std::string& key) {
    std::lock_guard lock(gReadAheadMutex);
    if (!gReadAhead || gReadAhead->key != key) return nullptr;
    return std::move(gReadAhead);
}

// The registered server client. Held in a function so that a registration
// made while other files' globals are still being set up (a static
// initialiser) is never overwritten by this file's own set-up.
struct ServerRegistration {
    std::mutex mutex;
    ServerOpener opener;
};

ServerRegistration& Registration() {
    static ServerRegistration registration;
    return registration;
}

std::shared_ptr<Provider> OpenServer(const std::string& server, const std::string& catalog, bool newSession) {
    ServerOpener opener;
    {
        std::lock_guard lock(Registration().mutex);
        opener = Registration().opener;
    }
    if (!opener) throw EOlapError("This program cannot reach analysis servers (\"" + server + "\")");
    return opener(server, catalog, newSession);
}

std::shared_ptr<Connection> OpenConnection(const std::string& connectionString, bool newSession) {
    auto pairs = ParseConnectionString(connectionString);
    std::string source = pairs.Get("Data Source");
    if (source.empty()) source = pairs.Get("DataSource");
    std::string provider = pairs.Get("Provider");
    if (!provider.empty() && provider.rfind("MSOLAP", 0) != 0)
        throw EOlapError("Provider \"" + provider + "\" is not supported");
    // A catalog (even an empty one: the server's first) makes it a server connection.
    if (pairs.Has("Initial Catalog")) {
        if (source.empty())
            throw EOlapError("The connection string names no analysis server: \"" + connectionString + "\"");
        return std::make_shared<Connection>(connectionString,
                                            OpenServer(source, pairs.Get("Initial Catalog"), newSession));
    }
    if (source.empty()) throw EOlapError("The connection string names no data source: \"" + connectionString + "\"");

    std::error_code ec;
    std::filesystem::path path(source);
    // What is there is looked at by the checked open of ReadCubeFile.
    if (!std::filesystem::exists(path, ec)) throw EOlapError("Cube file \"" + source + "\" does not exist");
    std::string key = std::filesystem::absolute(path, ec).lexically_normal().string();
    auto mtime = std::filesystem::last_write_time(path, ec);
    uintmax_t size = std::filesystem::file_size(path, ec);

    std::shared_ptr<const CubeData> cube;
    if (auto ahead = TakeReadAhead(key)) {
        // A file changed since the read began is read again; the stale read
        // is waited for and dropped.
        if (ahead->mtime == mtime && ahead->size == size) {
            cube = ahead->cube.get();  // the read's own error, if it failed
            std::lock_guard lock(gCacheMutex);
            gCache[key] = CacheEntry{mtime, size, cube};
        }
    }
    if (!cube) {
        std::lock_guard lock(gCacheMutex);
        auto it = gCache.find(key);
        if (it != gCache.end() && it->second.mtime == mtime && it->second.size == size) cube = it->second.cube.lock();
    }
    if (!cube) {
        cube = std::shared_ptr<const CubeData>(ReadCubeFile(source));
        std::lock_guard lock(gCacheMutex);
        gCache[key] = CacheEntry{mtime, size, cube};
    }
    return std::make_shared<Connection>(connectionString, source, std::move(cube));
}

}  // namespace

CubeFileReadAhead::CubeFileReadAhead(const std::string& path) {
    auto ahead = std::make_unique<ReadAhead>();
    std::error_code ec;
    ahead->key = std::filesystem::absolute(path, ec).lexically_normal().string();
    ahead->mtime = std::filesystem::last_write_time(path, ec);
    ahead->size = std::filesystem::file_size(path, ec);
    try {
        ahead->cube = std::async(std::launch::async,
                                 [path] { return std::shared_ptr<const CubeData>(ReadCubeFile(path)); });
    } catch (const std::system_error&) {
        FId = 0;  // no thread: the file is read when it is opened
        return;
    }
    std::unique_ptr<ReadAhead> older;
    {
        std::lock_guard lock(gReadAheadMutex);
        FId = ahead->id = ++gReadAheadIds;
        older = std::move(gReadAhead);
        gReadAhead = std::move(ahead);
    }
}

CubeFileReadAhead::~CubeFileReadAhead() {
    std::unique_ptr<ReadAhead> mine;
    {
        std::lock_guard lock(gReadAheadMutex);
        if (gReadAhead && gReadAhead->id == FId) mine = std::move(gReadAhead);
    }
    // Leaving this scope waits for the read; its cube or error goes with it.
}

void RegisterServerProvider(ServerOpener opener) {
    std::lock_guard lock(Registration().mutex);
    Registration().opener = std::move(opener);
}

std::shared_ptr<Connection> Connection::Open(const std::string& connectionString) {
    return OpenConnection(connectionString, false);
}

std::shared_ptr<Connection> Connection::Connect(const std::string& connectionString) {
    return OpenConnection(connectionString, true);
}

}  // namespace cb::olap
