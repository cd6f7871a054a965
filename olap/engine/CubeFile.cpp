// Local cube file format.
//
// An SQLite database with PRAGMA application_id = kCubeApplicationId and
// PRAGMA user_version = kCubeFormatVersion (1). Tables:
//
//   cube(name TEXT, last_data_update TEXT, fact_count INTEGER, chunk_size INTEGER)
//       exactly one row.
//   dimensions(ordinal INTEGER PRIMARY KEY, name TEXT)
//       ordinal 0.. in the cube's dimension order.
//   levels(dimension INTEGER, depth INTEGER, name TEXT, caption TEXT)
//       depth 0 is "(All)"; depths 0..n-1 without gaps.
//   members(dimension INTEGER, id INTEGER, parent INTEGER, depth INTEGER,
//           name TEXT, caption TEXT)
//       id 0.. in hierarchy pre-order per dimension (which is also the member
//       order: siblings in id order); id 0 is the (All) member named "All"
//       with parent NULL; every member without children is at the deepest level.
//   measures(ordinal INTEGER PRIMARY KEY, name TEXT, aggregation TEXT, format_string TEXT)
//       aggregation is 'sum', 'count', 'min' or 'max'.
//   calculated_members(ordinal INTEGER PRIMARY KEY, name TEXT, expression TEXT, format_string TEXT)
//       calculated measures.
//   fact_columns(kind TEXT, position INTEGER, chunk INTEGER, data BLOB, checksum INTEGER)
//       the facts, column by column, in chunks of chunk_size facts (the last
//       chunk may be shorter). kind 'key', position d: the leaf member id of
//       dimension d per fact, unsigned 32-bit little-endian. kind 'value',
//       position m: the value of measure m per fact, IEEE double
//       little-endian, NaN for null. checksum: ChunkChecksum of the bytes.
//
// Opening reads the member tables into memory and each fact column into one
// contiguous array, then checks the whole cube (CheckCube).
#include "olap/engine/CubeFile.h"

#include "olap/engine/CubeCheck.h"
#include "olap/engine/OlapError.h"
#include "olap/engine/WorkerPool.h"
#include "platform/rtl/AtomicFile.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/ScopeGuard.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::olap {

namespace {

constexpr int kCubeApplicationId = 0x54435542;  // "TCUB"
constexpr int kCubeFormatVersion = 1;
constexpr size_t kChunkFacts = size_t(1) << 20;
// Reading: the largest chunk accepted, and the longest value SQLite may
// produce (a chunk of doubles fits with room to spare).
constexpr size_t kMaxChunkFacts = size_t(1) << 23;
constexpr int kMaxValueBytes = 128 << 20;

// A fast 64-bit hash of a chunk's bytes, to notice damaged fact data; fed
// in pieces as they are read.
class TChunkHash {
public:
    explicit TChunkHash(size_t total) : FH(0x9E3779B97F4A7C15ull ^ total) {}

    // The bytes in order; every piece but the last a multiple of 8 bytes.
    void Add(const void* data, size_t n) {
        const auto* p = static_cast<const unsigned char*>(data);
        uint64_t h = FH;
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            h = (h ^ w) * 0x100000001B3ull;
            h ^= h >> 29;
        }
        for (; i < n; ++i) h = (h ^ p[i]) * 0x100000001B3ull;
        FH = h;
    }
    uint64_t Value() const { return FH ^ (FH >> 32); }

private:
    uint64_t FH;
};

uint64_t ChunkChecksum(const void* data, size_t n) {
    TChunkHash h(n);
    h.Add(data, n);
    return h.Value();
}

std::string FileContext(const std::string& path) {
    return "Cube file \"" + path + "\"";
}

// One database connection, closed on every path.
class Db {
public:
    Db(const std::string& path, int flags, const std::string& context) : FContext(context) {
        int rc = sqlite3_open_v2(path.c_str(), &FDb, flags, nullptr);
        if (rc != SQLITE_OK) {
            std::string msg = FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(rc);
            sqlite3_close(FDb);
            FDb = nullptr;
            throw EOlapError(FContext + ": cannot open (" + msg + ")");
        }
        sqlite3_extended_result_codes(FDb, 1);
        sqlite3_busy_timeout(FDb, 200);
    }
    ~Db() { sqlite3_close(FDb); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    sqlite3* get() const { return FDb; }
    const std::string& context() const { return FContext; }

    [[noreturn]] void fail(const std::string& what) const {
        throw EOlapError(FContext + ": " + what + " (" + sqlite3_errmsg(FDb) + ")");
    }

    void exec(const std::string& sql) const {
        char* err = nullptr;
        if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string msg = err ? err : "unknown error";
            sqlite3_free(err);
            throw EOlapError(FContext + ": " + msg);
        }
    }

private:
    sqlite3* FDb = nullptr;
    std::string FContext;
};

class Stmt {
public:
    Stmt(const Db& db, const char* sql) : FDb(db) {
        if (sqlite3_prepare_v2(db.get(), sql, -1, &FSt, nullptr) != SQLITE_OK)
            db.fail(std::string("cannot prepare \"") + sql + "\"");
    }
    ~Stmt() { sqlite3_finalize(FSt); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    // True for a row, false at the end; throws on an error.
    bool step() {
        int rc = sqlite3_step(FSt);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        FDb.fail("cannot read");
    }
    void reset() { sqlite3_reset(FSt); }
    void run() {
        if (sqlite3_step(FSt) != SQLITE_DONE) FDb.fail("cannot write");
        sqlite3_reset(FSt);
        sqlite3_clear_bindings(FSt);
    }

    int type(int c) const { return sqlite3_column_type(FSt, c); }
    int64_t integer(int c) const { return sqlite3_column_int64(FSt, c); }
    std::string text(int c) const {
        const unsigned char* t = sqlite3_column_text(FSt, c);
        return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_column_bytes(FSt, c)) : std::string();
    }
    const void* blob(int c) const { return sqlite3_column_blob(FSt, c); }
    size_t bytes(int c) const { return static_cast<size_t>(sqlite3_column_bytes(FSt, c)); }

    void bind(int i, int64_t v) { sqlite3_bind_int64(FSt, i, v); }
    void bindNull(int i) { sqlite3_bind_null(FSt, i); }
    void bind(int i, const std::string& s) {
        sqlite3_bind_text(FSt, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    void bindBlob(int i, const void* p, size_t n) { sqlite3_bind_blob64(FSt, i, p, n, SQLITE_STATIC); }

private:
    const Db& FDb;
    sqlite3_stmt* FSt = nullptr;
};

int64_t PragmaInt(const Db& db, const char* sql) {
    Stmt st(db, sql);
    if (!st.step()) db.fail("cannot read the file header");
    return st.integer(0);
}

const char* AggregationName(Aggregation a) {
    switch (a) {
    case Aggregation::Sum:
        return "sum";
    case Aggregation::Count:
        return "count";
    case Aggregation::Min:
        return "min";
    case Aggregation::Max:
        return "max";
    }
    return "sum";
}

bool ParseAggregation(const std::string& s, Aggregation& a) {
    if (s == "sum")
        a = Aggregation::Sum;
    else if (s == "count")
        a = Aggregation::Count;
    else if (s == "min")
        a = Aggregation::Min;
    else if (s == "max")
        a = Aggregation::Max;
    else
        return false;
    return true;
}

template <class T>
void CopyLittleEndian(T* dst, const void* src, size_t count) {
    std::memcpy(dst, src, count * sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = 0; i < count; ++i) {
            auto* b = reinterpret_cast<unsigned char*>(dst + i);
            for (size_t j = 0; j < sizeof(T) / 2; ++j) std::swap(b[j], b[sizeof(T) - 1 - j]);
        }
    }
}

// Checked integer from a column: within [lo, hi] and of integer type.
int64_t IntIn(const Db& db, const Stmt& st, int c, int64_t lo, int64_t hi, const std::string& what) {
    if (st.type(c) != SQLITE_INTEGER) throw EOlapError(db.context() + ": " + what + " is not an integer");
    int64_t v = st.integer(c);
    if (v < lo || v > hi) throw EOlapError(db.context() + ": " + what + " " + std::to_string(v) + " is out of range");
    return v;
}

std::string CurrentTimestamp() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

// A name that reaches a table's true rowid: a column may take "rowid" for
// itself.
std::string RowidName(const Db& db, const char* table) {
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
        Stmt st(db, "SELECT count(*) FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE");
        st.bind(1, std::string(table));
        st.bind(2, std::string(name));
        if (st.step() && st.integer(0) == 0) return name;
    }
    throw EOlapError(db.context() + ": table \"" + table + "\" is not a plain table");
}

// One stored chunk of a fact column and where its facts go.
struct FactChunk {
    int64_t rowid;
    const char* kind;  // "key" or "value"
    size_t pos, chunk, first, count, width;
    void* target = nullptr;
};

constexpr uint64_t kParallelReadBytes = uint64_t(8) << 20;

// Reads one chunk straight into its column, hashing it on the way, and
// compares the hash with the one stored. Returns an error text or "".
std::string ReadFactChunk(const Db& db, Stmt& header, const FactChunk& t) {
    const std::string what = "fact chunk " + std::to_string(t.chunk);
    const size_t bytes = t.count * t.width;
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(db.get(), "main", "fact_columns", "data", t.rowid, 0, &blob) != SQLITE_OK) {
        std::string msg = sqlite3_errmsg(db.get());
        sqlite3_blob_close(blob);
        return what + " cannot be read (" + msg + ")";
    }
    auto closeBlob = cb::rtl::OnScopeExit([&] { sqlite3_blob_close(blob); });
    if (size_t(sqlite3_blob_bytes(blob)) != bytes) return what + " has the wrong size";
    // One read: SQLite copies whole overflow pages straight into the column
    // only when a read starts at a page's start.
    auto* out = static_cast<unsigned char*>(t.target);
    if (sqlite3_blob_read(blob, out, int(bytes), 0) != SQLITE_OK)
        return what + " cannot be read (" + sqlite3_errmsg(db.get()) + ")";
    TChunkHash hash(bytes);
    hash.Add(out, bytes);
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = 0; i < bytes; i += t.width) std::reverse(out + i, out + i + t.width);
    }
    // The row must still be the one listed, and its checksum must match.
    header.reset();
    header.bind(1, t.rowid);
    if (!header.step() || header.text(0) != t.kind || header.type(1) != SQLITE_INTEGER ||
        uint64_t(header.integer(1)) != t.pos || header.type(2) != SQLITE_INTEGER ||
        uint64_t(header.integer(2)) != t.chunk)
        return what + " changed while it was read";
    if (header.type(3) != SQLITE_INTEGER || uint64_t(header.integer(3)) != hash.Value())
        return what + " of " + t.kind + " column " + std::to_string(t.pos) + " is damaged (checksum mismatch)";
    return {};
}

// Reads every chunk, on the engine's threads: each has a read-only
// connection of its own (the file is immutable). No memory map: SQLite's
// reads copy overflow pages straight into the column, a map would fault. The first
// failing chunk in file order is reported.
void ReadFactChunks(const Db& db, const std::string& uri, const std::string& rowid, std::vector<FactChunk>& tasks) {
    const std::string headerSql = "SELECT kind, position, chunk, checksum FROM fact_columns WHERE " + rowid + " = ?";
    uint64_t bytes = 0;
    for (const FactChunk& t : tasks) bytes += t.count * t.width;
    // A small cube is read faster than connections open.
    const size_t workers = bytes < kParallelReadBytes ? 1 : std::min(EngineThreadCount(), tasks.size());
    struct Reader {
        std::unique_ptr<Db> own;  // workers other than the first
        std::unique_ptr<Stmt> header;
    };
    std::vector<Reader> readers(workers);
    std::vector<std::string> errors(tasks.size());
    // Every page of a chunk is read once: a page cache of a few pages saves
    // the memory (and its first-touch faults) of megabytes of cached pages.
    const char* smallCache = "PRAGMA cache_size = -64";
    db.exec(smallCache);
    WorkerPool::Shared().Run(workers, tasks.size(), [&](size_t worker, size_t i) {
        try {
            Reader& r = readers[worker];
            if (!r.header) {
                const Db* conn = &db;
                if (worker != 0) {
                    r.own = std::make_unique<Db>(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                                                 db.context());
                    sqlite3_limit(r.own->get(), SQLITE_LIMIT_LENGTH, kMaxValueBytes);
                    r.own->exec("PRAGMA cell_size_check = ON");
                    r.own->exec(smallCache);
                    conn = r.own.get();
                }
                r.header = std::make_unique<Stmt>(*conn, headerSql.c_str());
            }
            errors[i] = ReadFactChunk(worker == 0 ? db : *r.own, *r.header, tasks[i]);
        } catch (const EOlapError& e) {
            errors[i] = e.what();
        } catch (const std::bad_alloc&) {
            errors[i] = "not enough memory to open the cube";
        }
    });
    for (const std::string& e : errors)
        if (!e.empty()) throw EOlapError(e.rfind(db.context(), 0) == 0 ? e : db.context() + ": " + e);
}

void ReadInto(const Db& db, const std::string& uri, CubeData& cube, uintmax_t fileSize) {
    if (PragmaInt(db, "PRAGMA application_id") != kCubeApplicationId)
        throw EOlapError(db.context() + ": not a cube file");
    const int64_t version = PragmaInt(db, "PRAGMA user_version");
    if (version != kCubeFormatVersion)
        throw EOlapError(db.context() + ": unsupported format version " + std::to_string(version));
    for (const char* table :
         {"cube", "dimensions", "levels", "members", "measures", "calculated_members", "fact_columns"}) {
        Stmt st(db, "SELECT rootpage FROM sqlite_schema WHERE type = 'table' AND name = ?");
        st.bind(1, std::string(table));
        if (!st.step()) throw EOlapError(db.context() + ": table \"" + table + "\" is missing");
        // Values are read as stored: no virtual table or computed column
        // may run code (or ask for memory) while the file is read.
        Stmt computed(db, "SELECT count(*) FROM pragma_table_xinfo(?) WHERE hidden != 0");
        computed.bind(1, std::string(table));
        if (st.integer(0) <= 0 || !computed.step() || computed.integer(0) != 0)
            throw EOlapError(db.context() + ": table \"" + table + "\" is not a plain table");
    }

    size_t chunkSize = 0;
    {
        Stmt st(db, "SELECT name, last_data_update, fact_count, chunk_size FROM cube");
        if (!st.step()) throw EOlapError(db.context() + ": the cube table is empty");
        cube.name = st.text(0);
        cube.lastDataUpdate = st.text(1);
        cube.factCount = static_cast<size_t>(IntIn(db, st, 2, 0, int64_t(kMaxFacts), "fact count"));
        chunkSize = static_cast<size_t>(IntIn(db, st, 3, 1, int64_t(kMaxChunkFacts), "chunk size"));
        if (st.step()) throw EOlapError(db.context() + ": the cube table holds more than one row");
    }
    {
        Stmt st(db, "SELECT ordinal, name FROM dimensions ORDER BY ordinal");
        while (st.step()) {
            if (cube.dimensions.size() >= kMaxDimensions)
                throw EOlapError(db.context() + ": more than " + std::to_string(kMaxDimensions) + " dimensions");
            if (IntIn(db, st, 0, 0, kMaxDimensions, "dimension ordinal") != int64_t(cube.dimensions.size()))
                throw EOlapError(db.context() + ": dimension ordinals are not 0, 1, 2, ...");
            cube.dimensions.emplace_back().name = st.text(1);
        }
    }
    const int64_t dimCount = int64_t(cube.dimensions.size());
    {
        Stmt st(db, "SELECT dimension, depth, name, caption FROM levels ORDER BY dimension, depth");
        while (st.step()) {
            auto d = IntIn(db, st, 0, 0, dimCount - 1, "level dimension");
            auto& levels = cube.dimensions[size_t(d)].levels;
            auto depth = IntIn(db, st, 1, 0, kMaxLevels - 1, "level depth");
            if (depth != int64_t(levels.size()))
                throw EOlapError(db.context() + ": level depths of dimension \"" + cube.dimensions[size_t(d)].name +
                                 "\" are not 0, 1, 2, ...");
            LevelData& lv = levels.emplace_back();
            lv.depth = uint16_t(depth);
            lv.name = st.text(2);
            lv.caption = st.text(3);
        }
    }
    {
        // Members come in dimension and pre-order; the member count is
        // bounded by the file's size (each row takes some bytes).
        Stmt st(db, "SELECT dimension, id, parent, depth, name, caption FROM members ORDER BY dimension, id");
        while (st.step()) {
            auto d = IntIn(db, st, 0, 0, dimCount - 1, "member dimension");
            auto& members = cube.dimensions[size_t(d)].members;
            auto id = IntIn(db, st, 1, 0, int64_t(kMaxMembers) - 1, "member id");
            if (id != int64_t(members.size()))
                throw EOlapError(db.context() + ": member ids of dimension \"" + cube.dimensions[size_t(d)].name +
                                 "\" are not 0, 1, 2, ...");
            MemberData& m = members.emplace_back();
            if (st.type(2) == SQLITE_NULL)
                m.parent = kNoMember;
            else
                m.parent = MemberId(IntIn(db, st, 2, 0, int64_t(kMaxMembers) - 1, "member parent"));
            m.depth = uint16_t(IntIn(db, st, 3, 0, kMaxLevels - 1, "member depth"));
            m.name = st.text(4);
            m.caption = st.text(5);
        }
    }
    {
        Stmt st(db, "SELECT ordinal, name, aggregation, format_string FROM measures ORDER BY ordinal");
        while (st.step()) {
            if (cube.measures.size() >= kMaxMeasures)
                throw EOlapError(db.context() + ": more than " + std::to_string(kMaxMeasures) + " measures");
            if (IntIn(db, st, 0, 0, kMaxMeasures, "measure ordinal") != int64_t(cube.measures.size()))
                throw EOlapError(db.context() + ": measure ordinals are not 0, 1, 2, ...");
            MeasureData& m = cube.measures.emplace_back();
            m.name = st.text(1);
            if (!ParseAggregation(st.text(2), m.aggregation))
                throw EOlapError(db.context() + ": measure \"" + m.name + "\" has an unknown aggregation \"" +
                                 st.text(2) + "\"");
            m.formatString = st.text(3);
        }
    }
    {
        Stmt st(db, "SELECT ordinal, name, expression, format_string FROM calculated_members ORDER BY ordinal");
        while (st.step()) {
            if (cube.calculatedMembers.size() >= kMaxCalculatedMembers)
                throw EOlapError(db.context() + ": too many calculated members");
            if (IntIn(db, st, 0, 0, kMaxCalculatedMembers, "calculated member ordinal") !=
                int64_t(cube.calculatedMembers.size()))
                throw EOlapError(db.context() + ": calculated member ordinals are not 0, 1, 2, ...");
            CalculatedMemberData& c = cube.calculatedMembers.emplace_back();
            c.name = st.text(1);
            c.expression = st.text(2);
            c.formatString = st.text(3);
        }
    }

    // Facts: refuse counts the file cannot hold before allocating.
    const size_t measureCount = cube.measures.size();
    const size_t bytesPerFact = cube.dimensions.size() * sizeof(MemberId) + measureCount * sizeof(double);
    if (cube.factCount && bytesPerFact && cube.factCount > fileSize / bytesPerFact)
        throw EOlapError(db.context() + ": the fact count " + std::to_string(cube.factCount) +
                         " does not fit the file's size");
    const size_t chunks = (cube.factCount + chunkSize - 1) / chunkSize;
    // The file's size may be padded with a hole: the chunks actually stored
    // must hold every claimed fact before anything is allocated for them.
    // Lengths are summed here, not by SQL: a GROUP BY would sort the data.
    // Only the row headers are read here (length() and typeof() do not
    // load a blob); the data comes later, in parallel.
    const std::string rowid = RowidName(db, "fact_columns");
    struct Row {
        int64_t rowid;
        bool isKey;
        size_t pos;
        int chunkType;
        int64_t chunk;
        bool blob;
        uint64_t bytes;
    };
    std::vector<Row> rows;
    {
        std::vector<uint64_t> stored(cube.dimensions.size() + measureCount, 0);
        std::vector<uint8_t> present(stored.size(), 0);
        Stmt st(db, ("SELECT " + rowid +
                     ", kind, position, length(data), chunk, typeof(data) = 'blob' FROM fact_columns")
                        .c_str());
        while (st.step()) {
            const std::string kind = st.text(1);
            const bool isKey = kind == "key";
            if (!isKey && kind != "value")
                throw EOlapError(db.context() + ": unknown fact column kind \"" + kind + "\"");
            const size_t limit = isKey ? cube.dimensions.size() : measureCount;
            if (limit == 0)
                throw EOlapError(db.context() + ": fact column of kind \"" + kind +
                                 "\" without a dimension or measure");
            const auto pos = size_t(IntIn(db, st, 2, 0, int64_t(limit) - 1, "fact column position"));
            const size_t column = isKey ? pos : cube.dimensions.size() + pos;
            const uint64_t bytes = st.type(3) == SQLITE_INTEGER ? uint64_t(st.integer(3)) : 0;
            stored[column] += bytes;
            present[column] = 1;
            rows.push_back({st.integer(0), isKey, pos, st.type(4), st.integer(4), st.integer(5) != 0, bytes});
        }
        for (size_t c = 0; c < stored.size() && cube.factCount; ++c) {
            const bool isKey = c < cube.dimensions.size();
            const size_t pos = isKey ? c : c - cube.dimensions.size();
            const uint64_t needed = uint64_t(cube.factCount) * (isKey ? sizeof(MemberId) : sizeof(double));
            if (!present[c]) throw EOlapError(db.context() + ": fact data is incomplete");
            // More than needed is a duplicate chunk, told below.
            if (stored[c] < needed)
                throw EOlapError(db.context() + ": the fact data of " + (isKey ? "key" : "value") + " column " +
                                 std::to_string(pos) + " has the wrong size (" + std::to_string(stored[c]) +
                                 " bytes stored where " + std::to_string(cube.factCount) + " facts need " +
                                 std::to_string(needed) + ")");
        }
    }
    const size_t columnCount = cube.dimensions.size() + measureCount;
    std::vector<uint8_t> seen(columnCount * chunks, 0);
    std::vector<FactChunk> tasks;
    tasks.reserve(rows.size());
    for (const Row& row : rows) {
        const char* kind = row.isKey ? "key" : "value";
        if (chunks == 0) throw EOlapError(db.context() + ": fact data present for a cube without facts");
        if (row.chunkType != SQLITE_INTEGER) throw EOlapError(db.context() + ": fact chunk is not an integer");
        if (row.chunk < 0 || uint64_t(row.chunk) >= chunks)
            throw EOlapError(db.context() + ": fact chunk " + std::to_string(row.chunk) + " is out of range");
        const auto chunk = size_t(row.chunk);
        uint8_t& flag = seen[(row.isKey ? row.pos : cube.dimensions.size() + row.pos) * chunks + chunk];
        if (flag) throw EOlapError(db.context() + ": fact chunk " + std::to_string(chunk) + " appears twice");
        flag = 1;
        const size_t first = chunk * chunkSize;
        const size_t count = std::min(chunkSize, cube.factCount - first);
        const size_t width = row.isKey ? sizeof(MemberId) : sizeof(double);
        if (!row.blob && count > 0)
            throw EOlapError(db.context() + ": fact chunk " + std::to_string(chunk) + " is not binary data");
        if (row.bytes != count * width)
            throw EOlapError(db.context() + ": fact chunk " + std::to_string(chunk) + " has the wrong size");
        tasks.push_back({row.rowid, kind, row.pos, chunk, first, count, width});
    }
    if (tasks.size() != seen.size()) throw EOlapError(db.context() + ": fact data is incomplete");

    cube.factKeys.assign(cube.dimensions.size(), {});
    cube.factValues.assign(measureCount, {});
    for (auto& k : cube.factKeys) k.resize(cube.factCount);
    for (auto& v : cube.factValues) v.resize(cube.factCount);
    for (FactChunk& t : tasks)
        t.target = t.width == sizeof(MemberId) ? static_cast<void*>(cube.factKeys[t.pos].data() + t.first)
                                               : static_cast<void*>(cube.factValues[t.pos].data() + t.first);
    ReadFactChunks(db, uri, rowid, tasks);
}

}  // namespace

namespace {

// The first 100 bytes of an SQLite database.
struct FileHeader {
    bool sqlite = false;
    bool zip = false;  // a zip archive, such as a zipped copy of a cube
    bool wal = false;  // write-ahead log journal mode
    int64_t applicationId = 0;
};

FileHeader ReadHeader(int fd) {
    unsigned char h[100];
    size_t got = 0;
    while (got < sizeof h) {
        ssize_t n = ::read(fd, h + got, sizeof h - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += size_t(n);
    }
    FileHeader r;
    r.zip = got >= 4 && (std::memcmp(h, "PK\x03\x04", 4) == 0 || std::memcmp(h, "PK\x05\x06", 4) == 0);
    if (got < sizeof h || std::memcmp(h, "SQLite format 3", 16) != 0) return r;
    r.sqlite = true;
    r.wal = h[18] == 2 || h[19] == 2;
    r.applicationId = int32_t(uint32_t(h[68]) << 24 | uint32_t(h[69]) << 16 | uint32_t(h[70]) << 8 | h[71]);
    return r;
}

// An SQLite URI for a plain file name, so that no name (one starting with
// "file:", or holding "?" or "#") is read as anything but a file name.
std::string FileUri(const std::string& path, const char* query) {
    std::error_code ec;
    std::string abs = std::filesystem::absolute(path, ec).string();
    if (ec) abs = path;
    static const char* hex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : abs) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += char(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri + "?" + query;
}

}  // namespace

uint64_t FactChunkChecksum(const void* data, size_t size) {
    return ChunkChecksum(data, size);
}

std::string SqliteFileUri(const std::string& path, bool immutable) {
    return FileUri(path, immutable ? "immutable=1" : "mode=ro");
}

bool IsCubeFile(const std::string& path) {
    try {
        int fd = cb::rtl::OpenFileForReading(path);
        if (fd < 0) return false;
        const FileHeader h = ReadHeader(fd);
        ::close(fd);
        return h.sqlite && h.applicationId == kCubeApplicationId;
    } catch (const cb::rtl::EInOutError&) {
        return false;
    }
}

void CheckCubeTarget(const std::string& path, const std::vector<std::string>& inputs, bool replaceOther) {
    struct stat out {};
    if (::stat(path.c_str(), &out) != 0) return;  // nothing to replace
    for (const std::string& in : inputs) {
        struct stat st {};
        if (!in.empty() && ::stat(in.c_str(), &st) == 0 && st.st_dev == out.st_dev && st.st_ino == out.st_ino)
            throw EOlapError(FileContext(path) + ": refusing to write the cube over its own input \"" + in + "\"");
    }
    if (S_ISDIR(out.st_mode)) throw EOlapError(FileContext(path) + ": is a folder");
    if (!replaceOther && !IsCubeFile(path))
        throw EOlapError(FileContext(path) + ": refusing to replace a file that is not a cube file");
}

std::unique_ptr<CubeData> ReadCubeFile(const std::string& path) {
    const std::string context = FileContext(path);
    // The checked open: a FIFO or device never hangs the reader.
    int64_t fileSize = 0;
    FileHeader header;
    try {
        int fd = cb::rtl::OpenFileForReading(path, &fileSize);
        if (fd < 0) throw EOlapError(context + ": the file does not exist");
        header = ReadHeader(fd);
        ::close(fd);
    } catch (const cb::rtl::EInOutError& e) {
        const std::string m = e.Message(), reason = m.substr(m.rfind(": ") + 2);
        if (reason == "not a regular file") throw EOlapError(context + ": not a file (a FIFO, device or socket)");
        if (reason == std::strerror(EISDIR)) throw EOlapError(context + ": not a file (a folder)");
        throw EOlapError(context + ": cannot open (" + reason + ")");
    }
    if (fileSize == 0) throw EOlapError(context + ": the file is empty");
    if (header.zip)
        throw EOlapError(context + ": a zip archive, not a cube file; unzip it first and open the cube file (.cub) "
                                   "it holds");
    if (!header.sqlite) throw EOlapError(context + ": not a cube file (not an SQLite database)");
    if (header.applicationId != kCubeApplicationId) throw EOlapError(context + ": not a cube file");
    // A read-only open of a WAL database needs to create files beside it.
    if (header.wal)
        throw EOlapError(context +
                         ": the file uses write-ahead logging, which a read-only open cannot read; switch it back "
                         "with \"PRAGMA journal_mode=DELETE\"");

    auto cube = std::make_unique<CubeData>();
    try {
        // Immutable: no lock, journal or other file is made beside the cube.
        const std::string uri = FileUri(path, "immutable=1");
        Db db(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, context);
        sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, kMaxValueBytes);
        db.exec("PRAGMA cell_size_check = ON");
        Stmt begin(db, "BEGIN");
        begin.run();
        ReadInto(db, uri, *cube, uintmax_t(fileSize));
    } catch (const std::bad_alloc&) {
        throw EOlapError(context + ": not enough memory to open the cube");
    } catch (const std::length_error&) {
        throw EOlapError(context + ": not enough memory to open the cube");
    }
    CompleteCube(*cube, context);
    return cube;
}

void WriteCubeFile(const CubeData& cube, const std::string& path) {
    const std::string context = FileContext(path);
    CheckCube(cube, context);

    std::unique_ptr<cb::rtl::TAtomicReplace> file;
    try {
        file = std::make_unique<cb::rtl::TAtomicReplace>(path);
    } catch (const cb::rtl::EInOutError& e) {
        throw EOlapError(context + ": " + e.Message());
    }
    const std::string tmp = file->TempName();
    auto removeJournal = [&] { ::unlink((tmp + "-journal").c_str()); };

    try {
        {
            Db db(FileUri(tmp, "mode=rw"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, context);
            db.exec("PRAGMA page_size = 65536; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;"
                    "PRAGMA application_id = " +
                    std::to_string(kCubeApplicationId) +
                    "; PRAGMA user_version = " + std::to_string(kCubeFormatVersion) + ";");
            db.exec("BEGIN;"
                    "CREATE TABLE cube(name TEXT NOT NULL, last_data_update TEXT NOT NULL,"
                    " fact_count INTEGER NOT NULL, chunk_size INTEGER NOT NULL);"
                    "CREATE TABLE dimensions(ordinal INTEGER PRIMARY KEY, name TEXT NOT NULL);"
                    "CREATE TABLE levels(dimension INTEGER NOT NULL, depth INTEGER NOT NULL, name TEXT NOT NULL,"
                    " caption TEXT NOT NULL, PRIMARY KEY(dimension, depth));"
                    "CREATE TABLE members(dimension INTEGER NOT NULL, id INTEGER NOT NULL, parent INTEGER,"
                    " depth INTEGER NOT NULL, name TEXT NOT NULL, caption TEXT NOT NULL,"
                    " PRIMARY KEY(dimension, id));"
                    "CREATE TABLE measures(ordinal INTEGER PRIMARY KEY, name TEXT NOT NULL,"
                    " aggregation TEXT NOT NULL, format_string TEXT NOT NULL);"
                    "CREATE TABLE calculated_members(ordinal INTEGER PRIMARY KEY, name TEXT NOT NULL,"
                    " expression TEXT NOT NULL, format_string TEXT NOT NULL);"
                    "CREATE TABLE fact_columns(kind TEXT NOT NULL, position INTEGER NOT NULL,"
                    " chunk INTEGER NOT NULL, data BLOB NOT NULL, checksum INTEGER NOT NULL);");
            {
                Stmt st(db, "INSERT INTO cube VALUES(?, ?, ?, ?)");
                st.bind(1, cube.name);
                st.bind(2, cube.lastDataUpdate.empty() ? CurrentTimestamp() : cube.lastDataUpdate);
                st.bind(3, int64_t(cube.factCount));
                st.bind(4, int64_t(kChunkFacts));
                st.run();
            }
            Stmt dimSt(db, "INSERT INTO dimensions VALUES(?, ?)");
            Stmt lvSt(db, "INSERT INTO levels VALUES(?, ?, ?, ?)");
            Stmt memSt(db, "INSERT INTO members VALUES(?, ?, ?, ?, ?, ?)");
            for (size_t d = 0; d < cube.dimensions.size(); ++d) {
                const DimensionData& dim = cube.dimensions[d];
                dimSt.bind(1, int64_t(d));
                dimSt.bind(2, dim.name);
                dimSt.run();
                for (const LevelData& lv : dim.levels) {
                    lvSt.bind(1, int64_t(d));
                    lvSt.bind(2, int64_t(lv.depth));
                    lvSt.bind(3, lv.name);
                    lvSt.bind(4, lv.caption.empty() ? lv.name : lv.caption);
                    lvSt.run();
                }
                for (size_t i = 0; i < dim.members.size(); ++i) {
                    const MemberData& m = dim.members[i];
                    memSt.bind(1, int64_t(d));
                    memSt.bind(2, int64_t(i));
                    if (m.parent == kNoMember)
                        memSt.bindNull(3);
                    else
                        memSt.bind(3, int64_t(m.parent));
                    memSt.bind(4, int64_t(m.depth));
                    memSt.bind(5, m.name);
                    memSt.bind(6, m.caption.empty() ? m.name : m.caption);
                    memSt.run();
                }
            }
            Stmt meaSt(db, "INSERT INTO measures VALUES(?, ?, ?, ?)");
            for (size_t i = 0; i < cube.measures.size(); ++i) {
                meaSt.bind(1, int64_t(i));
                meaSt.bind(2, cube.measures[i].name);
                meaSt.bind(3, std::string(AggregationName(cube.measures[i].aggregation)));
                meaSt.bind(4, cube.measures[i].formatString);
                meaSt.run();
            }
            Stmt calcSt(db, "INSERT INTO calculated_members VALUES(?, ?, ?, ?)");
            for (size_t i = 0; i < cube.calculatedMembers.size(); ++i) {
                calcSt.bind(1, int64_t(i));
                calcSt.bind(2, cube.calculatedMembers[i].name);
                calcSt.bind(3, cube.calculatedMembers[i].expression);
                calcSt.bind(4, cube.calculatedMembers[i].formatString);
                calcSt.run();
            }
            Stmt factSt(db, "INSERT INTO fact_columns VALUES(?, ?, ?, ?, ?)");
            std::vector<unsigned char> buf;
            auto writeColumn = [&](const std::string& kind, size_t pos, const auto* data, size_t width) {
                for (size_t first = 0, chunk = 0; first < cube.factCount; first += kChunkFacts, ++chunk) {
                    const size_t count = std::min(kChunkFacts, cube.factCount - first);
                    buf.resize(count * width);
                    CopyLittleEndian(
                        reinterpret_cast<std::remove_cv_t<std::remove_pointer_t<decltype(data)>>*>(buf.data()),
                        data + first, count);
                    factSt.bind(1, kind);
                    factSt.bind(2, int64_t(pos));
                    factSt.bind(3, int64_t(chunk));
                    factSt.bindBlob(4, buf.data(), buf.size());
                    factSt.bind(5, int64_t(ChunkChecksum(buf.data(), buf.size())));
                    factSt.run();
                }
            };
            if (cube.factCount) {
                for (size_t d = 0; d < cube.dimensions.size(); ++d)
                    writeColumn("key", d, cube.factKeys[d].data(), sizeof(MemberId));
                for (size_t m = 0; m < cube.measures.size(); ++m)
                    writeColumn("value", m, cube.factValues[m].data(), sizeof(double));
            }
            db.exec("COMMIT");
        }
        removeJournal();
        file->Commit();
    } catch (const EOlapError&) {
        removeJournal();
        throw;
    } catch (const cb::rtl::EInOutError& e) {
        removeJournal();
        throw EOlapError(context + ": cannot replace the file (" + e.Message() + ")");
    } catch (const std::exception& e) {
        removeJournal();
        throw EOlapError(context + ": " + e.what());
    }
}

}  // namespace cb::olap
