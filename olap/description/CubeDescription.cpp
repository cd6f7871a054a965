#include "olap/description/CubeDescription.h"

#include "olap/engine/CubeBuilder.h"
#include "olap/engine/CubeCheck.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/NameFold.h"
#include "olap/engine/OlapError.h"
#include "olap/mdx/Binder.h"
#include "olap/mdx/CalculatedMembers.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace cb::olap {

namespace {

std::string Unquote(const std::string& s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

// The line a note starts on: "#" after a blank (or at the start), outside
// double quotes, runs to the end of the line.
std::string StripNote(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == '#' && !quoted && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return cb::rtl::Trim(line.substr(0, i));
    }
    return line;
}

std::string ByteText(char c) {
    static const char hex[] = "0123456789ABCDEF";
    const auto b = static_cast<unsigned char>(c);
    return std::string("0x") + hex[b >> 4] + hex[b & 15];
}

// Text read from a file is UTF-8 or refused: where names the file, and the
// line of the first bad byte follows.
void CheckUtf8File(const std::string& text, const std::string& where) {
    const size_t at = InvalidUtf8At(text);
    if (at == std::string::npos) return;
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    throw EOlapError(where + ", line " + std::to_string(line) + ": the text is not UTF-8 (byte " + ByteText(text[at]) +
                     "); save the file as UTF-8");
}

// A text of a database: what names it.
void CheckUtf8Text(const std::string& text, const std::string& what) {
    const size_t at = InvalidUtf8At(text);
    if (at != std::string::npos)
        throw EOlapError(what + " holds text that is not UTF-8 (byte " + ByteText(text[at]) + ")");
}

void CheckFormatLength(const std::string& format) {
    if (format.size() > kMaxFormatLength)
        throw EOlapError("the format string is longer than " + std::to_string(kMaxFormatLength) + " characters");
}

// "updated" takes a date, "2024-06-30", with a time of day when wanted,
// "2024-06-30 12:00" or "2024-06-30 12:00:00".
void CheckUpdated(const std::string& text) {
    const auto number = [&](size_t at, size_t digits, int low, int high) {
        int v = 0;
        if (at + digits > text.size()) return -1;
        for (size_t i = at; i < at + digits; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            v = v * 10 + (text[i] - '0');
        }
        return v >= low && v <= high ? v : -1;
    };
    const int year = number(0, 4, 1, 9999), month = number(5, 2, 1, 12);
    bool ok = (text.size() == 10 || text.size() == 16 || text.size() == 19) && year > 0 && month > 0 &&
              text[4] == '-' && text[7] == '-';
    if (ok) {
        static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        ok = number(8, 2, 1, month == 2 && !leap ? 28 : days[month - 1]) > 0;
    }
    if (ok && text.size() > 10)
        ok = text[10] == ' ' && number(11, 2, 0, 23) >= 0 && text[13] == ':' && number(14, 2, 0, 59) >= 0 &&
             (text.size() == 16 || (text[16] == ':' && number(17, 2, 0, 59) >= 0));
    if (!ok)
        throw EOlapError("\"updated\" takes a date as 2024-06-30, with a time as 2024-06-30 12:00:00 when wanted, "
                         "not " + QuoteText(text));
}

struct DimDecl {
    std::string name;
    std::vector<std::string> levels;
};
struct MeasureDecl {
    std::string name;
    Aggregation aggregation;
    std::string format;
};
struct CalcDecl {
    std::string name, format, expression;
    size_t line = 0;
};

// Largest facts file read (a description is capped at the default size).
constexpr size_t kMaxFactsFileSize = size_t(1) << 30;

std::string ReadWholeFile(const std::string& path, const std::string& what,
                          size_t maxSize = cb::rtl::DefaultMaxFileSize) {
    std::string data;
    try {
        if (!cb::rtl::ReadFileBytes(path, data, maxSize)) throw EOlapError("Cannot open " + what + " \"" + path + "\"");
    } catch (const cb::rtl::EInOutError& e) {
        throw EOlapError("Cannot read " + what + ": " + e.Message());
    }
    return data;
}

// One CSV record at a time, with the line it starts on.
class CsvReader {
public:
    CsvReader(const std::string& text, const std::string& source) : FText(text), FSource(source) {
        if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;
    }

    bool next(std::vector<std::string>& fields, size_t& line) {
        fields.clear();
        // Skip blank lines.
        while (FPos < FText.size() && (FText[FPos] == '\n' || FText[FPos] == '\r')) {
            if (FText[FPos] == '\n') ++FLine;
            ++FPos;
        }
        if (FPos >= FText.size()) return false;
        line = FLine;
        std::string field;
        for (;;) {
            field.clear();
            if (FPos < FText.size() && FText[FPos] == '"') {
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size())
                        throw EOlapError(FSource + ", line " + std::to_string(line) + ": a quoted field is not closed");
                    char c = FText[FPos++];
                    if (c == '"') {
                        if (FPos < FText.size() && FText[FPos] == '"') {
                            field += '"';
                            ++FPos;
                        } else
                            break;
                    } else {
                        if (c == '\n') ++FLine;
                        field += c;
                    }
                }
                // Only blanks may follow the closing quote.
                while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\t')) ++FPos;
                if (FPos < FText.size() && FText[FPos] != ',' && FText[FPos] != '\n' && FText[FPos] != '\r')
                    throw EOlapError(FSource + ", line " + std::to_string(FLine) +
                                     ": unexpected text after a quoted field");
            } else {
                while (FPos < FText.size() && FText[FPos] != ',' && FText[FPos] != '\n' && FText[FPos] != '\r')
                    field += FText[FPos++];
                field = cb::rtl::Trim(field);
            }
            fields.push_back(field);
            if (FPos < FText.size() && FText[FPos] == ',') {
                ++FPos;
                continue;
            }
            if (FPos < FText.size() && FText[FPos] == '\r') ++FPos;
            if (FPos < FText.size() && FText[FPos] == '\n') {
                ++FPos;
                ++FLine;
            }
            return true;
        }
    }

private:
    const std::string& FText;
    std::string FSource;
    size_t FPos = 0;
    size_t FLine = 1;
};

// A dimension's name against the dimensions before it and "Measures", and its
// levels against one another; names match without regard to case.
void CheckDimensionNames(const DimDecl& d, const std::vector<DimDecl>& before) {
    if (SameName(d.name, "Measures")) throw EOlapError("dimension name \"" + d.name + "\" is reserved");
    for (const DimDecl& o : before)
        if (SameName(o.name, d.name)) throw EOlapError(SameNameText("dimension", o.name, d.name));
    for (size_t l = 0; l < d.levels.size(); ++l) {
        if (SameName(d.levels[l], "All") || d.levels[l] == "(All)")
            throw EOlapError("dimension \"" + d.name + "\": level name \"" + d.levels[l] + "\" is reserved");
        for (size_t k = 0; k < l; ++k)
            if (SameName(d.levels[k], d.levels[l]))
                throw EOlapError("dimension \"" + d.name + "\": " + SameNameText("level", d.levels[k], d.levels[l]));
    }
}

// A measure's or calculated member's name against those before it.
void CheckMeasureName(const std::string& name, const std::vector<MeasureDecl>& measures,
                      const std::vector<CalcDecl>& calcs) {
    for (const MeasureDecl& m : measures)
        if (SameName(m.name, name)) throw EOlapError(SameNameText("measure", m.name, name));
    for (const CalcDecl& c : calcs)
        if (SameName(c.name, name)) throw EOlapError(SameNameText("measure", c.name, name));
}

// Where each level and measure is found in a row of facts.
struct FactColumns {
    size_t count = 0;
    std::vector<std::vector<size_t>> level;  // [dim][level]
    std::vector<size_t> measure;
};

// Maps the column names (CSV header or table columns) to levels and measures,
// matched as names are (without regard to case); where starts each message.
FactColumns MapColumns(const std::vector<std::string>& names, const std::vector<DimDecl>& dims,
                       const std::vector<MeasureDecl>& measures, const std::string& where) {
    std::map<std::string, std::vector<std::pair<size_t, size_t>>> levelsByName;
    for (size_t d = 0; d < dims.size(); ++d)
        for (size_t l = 0; l < dims[d].levels.size(); ++l)
            levelsByName[FoldName(dims[d].levels[l])].emplace_back(d, l);
    std::vector<std::vector<std::optional<size_t>>> levelColumn(dims.size());
    for (size_t d = 0; d < dims.size(); ++d) levelColumn[d].resize(dims[d].levels.size());
    std::vector<std::optional<size_t>> measureColumn(measures.size());
    for (size_t c = 0; c < names.size(); ++c) {
        const std::string& h = names[c];
        std::optional<size_t>* slot = nullptr;
        for (size_t m = 0; m < measures.size() && !slot; ++m)
            if (SameName(measures[m].name, h)) slot = &measureColumn[m];
        if (!slot) {
            if (auto it = levelsByName.find(FoldName(h)); it != levelsByName.end()) {
                if (it->second.size() > 1)
                    throw EOlapError(where + ": column " + QuoteText(h) +
                                     " names a level of several dimensions; write it as " + QuoteText("Dimension:" + h));
                slot = &levelColumn[it->second[0].first][it->second[0].second];
            }
        }
        // "Dimension:Level"; either name may itself hold ":".
        for (size_t colon = h.find(':'); !slot && colon != std::string::npos; colon = h.find(':', colon + 1)) {
            const std::string dn = cb::rtl::Trim(h.substr(0, colon)), ln = cb::rtl::Trim(h.substr(colon + 1));
            for (size_t d = 0; d < dims.size() && !slot; ++d)
                if (SameName(dims[d].name, dn))
                    for (size_t l = 0; l < dims[d].levels.size(); ++l)
                        if (SameName(dims[d].levels[l], ln)) slot = &levelColumn[d][l];
        }
        if (!slot) throw EOlapError(where + ": column " + QuoteText(h) + " is neither a level nor a measure");
        if (*slot) throw EOlapError(where + ": column " + QuoteText(h) + " appears twice");
        *slot = c;
    }
    FactColumns cols;
    cols.count = names.size();
    cols.level.resize(dims.size());
    for (size_t d = 0; d < dims.size(); ++d)
        for (size_t l = 0; l < dims[d].levels.size(); ++l) {
            if (!levelColumn[d][l]) {
                const std::string& ln = dims[d].levels[l];
                const bool measureToo =
                    std::any_of(measures.begin(), measures.end(), [&](const MeasureDecl& m) { return SameName(m.name, ln); });
                throw EOlapError(where + ": no column for level \"" + ln + "\" of dimension \"" + dims[d].name + "\"" +
                                 (measureToo ? " (a column \"" + ln +
                                                   "\" is the measure of that name; name the level's "
                                                   "column \"" +
                                                   dims[d].name + ":" + ln + "\")"
                                             : std::string()));
            }
            cols.level[d].push_back(*levelColumn[d][l]);
        }
    for (size_t m = 0; m < measures.size(); ++m) {
        if (!measureColumn[m]) throw EOlapError(where + ": no column for measure \"" + measures[m].name + "\"");
        cols.measure.push_back(*measureColumn[m]);
    }
    return cols;
}

// The cube's one rule for fact values.
void CheckMeasureValue(double v, const MeasureDecl& measure, const std::string& where) {
    if (!IsValidFactValue(v))
        throw EOlapError(where + ": " + cb::rtl::FloatToStr(v) + " is out of range (measure \"" + measure.name +
                         "\"; values are at most 1e15 in magnitude)");
}

// A measure cell written as text: empty is a null, otherwise a finite number.
double ParseMeasure(const std::string& s, const MeasureDecl& measure, const std::string& where) {
    if (s.empty()) return std::nan("");
    double v = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first;
    auto [p, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || p != last || !std::isfinite(v))
        throw EOlapError(where + ": " + QuoteText(s) + " is not a number (measure \"" + measure.name + "\")");
    CheckMeasureValue(v, measure, where);
    return v;
}

// Adds facts to the builder, one row at a time.
class FactSink {
public:
    // sourceBytes: what the source itself holds in memory now (SQLite's
    // heap), counted against the same budget.
    FactSink(CubeBuilder& b, const std::vector<DimDecl>& dims, const FactColumns& cols, const SourceLimits& limits,
             std::function<size_t()> sourceBytes = {})
        : FB(b), FDims(dims), FCols(cols), FLeaves(dims.size()), FMaxBytes(limits.maxFactBytes),
          FSourceBytes(std::move(sourceBytes)) {}

    // fields: the row's cells by column (only level columns are read).
    void Add(const std::vector<std::string>& fields, const std::vector<double>& values, const std::string& where) {
        // The whole read stays within the budget, also at the moment the
        // fact arrays grow (old and new arrays both alive).
        const size_t bytes = FB.MemoryBytes() + FB.NextFactBytes() + (FSourceBytes ? FSourceBytes() : 0);
        if (bytes > FMaxBytes)
            throw EOlapError(where + ": " + std::to_string(FFacts) +
                             " facts and their members fill the memory allowed for facts (" +
                             std::to_string(FMaxBytes >> 20) + " MB)");
        ++FFacts;
        try {
            for (size_t d = 0; d < FDims.size(); ++d) {
                FPath.clear();
                for (size_t c : FCols.level[d]) FPath.push_back(fields[c]);
                FLeaves[d] = FB.Leaf(int(d), FPath);
            }
            FB.AddFact(FLeaves.data(), values.data());
        } catch (const EOlapError& e) {
            throw EOlapError(where + ": " + e.what());
        }
    }

private:
    CubeBuilder& FB;
    const std::vector<DimDecl>& FDims;
    const FactColumns& FCols;
    std::vector<uint32_t> FLeaves;
    std::vector<std::string> FPath;
    size_t FFacts = 0;
    size_t FMaxBytes = 0;
    std::function<size_t()> FSourceBytes;
};

void LoadCsvFacts(CubeBuilder& b, const std::vector<DimDecl>& dims, const std::vector<MeasureDecl>& measures,
                  const std::string& path, const SourceLimits& limits) {
    const std::string text = ReadWholeFile(path, "facts file", kMaxFactsFileSize);
    const std::string source = "Facts file " + QuoteText(path);
    CheckUtf8File(text, source);
    CsvReader csv(text, source);
    std::vector<std::string> fields;
    size_t line = 0;
    if (!csv.next(fields, line)) throw EOlapError(source + ": the file is empty");
    const FactColumns cols = MapColumns(fields, dims, measures, source + ", line " + std::to_string(line));
    FactSink sink(b, dims, cols, limits);

    std::vector<double> values(measures.size());
    while (csv.next(fields, line)) {
        const std::string where = source + ", line " + std::to_string(line);
        if (fields.size() != cols.count)
            throw EOlapError(where + ": " + std::to_string(fields.size()) + " fields where the header has " +
                             std::to_string(cols.count));
        for (size_t m = 0; m < measures.size(); ++m)
            values[m] = ParseMeasure(fields[cols.measure[m]], measures[m], where);
        sink.Add(fields, values, where);
    }
}

// Facts from a table or view of an SQLite database:
//
//   facts-sqlite FILE TABLE
//   facts-sqlite "my data/sales.db" "sales 2024"
//
// FILE is relative to the description's folder and opened read-only; FILE and
// TABLE are each written in double quotes when they hold blanks. A
// description has one "facts" or one "facts-sqlite" line. The columns follow
// the CSV header's rules: one per level (named after the level, or
// "Dimension:Level") and one per measure. Level cells hold text or numbers (a
// number's text, e.g. 2024, is the member name), never NULL; measure cells
// hold numbers, text that reads as a number, or NULL for a null. Messages
// name the file, the table and the row (counted from 1 in the table's order).
void LoadSqliteFacts(CubeBuilder& b, const std::vector<DimDecl>& dims, const std::vector<MeasureDecl>& measures,
                     const std::string& path, const std::string& table, const SourceLimits& limits) {
    const std::string source = "Facts table " + QuoteText(table) + " in " + QuoteText(path);
    try {
        if (!cb::rtl::CheckRegularFile(path)) throw EOlapError(source + ": the file does not exist or is not a file");
    } catch (const cb::rtl::EInOutError& e) {
        const std::string m = e.Message();
        throw EOlapError(source + ": the file does not exist or is not a file (" + m.substr(m.rfind(": ") + 2) + ")");
    }
    // SQLite's own memory is part of the read's budget: a view that sorts
    // or groups without end fails in SQLite instead of growing past it.
    const sqlite3_int64 heapBefore = sqlite3_hard_heap_limit64(-1);
    sqlite3_hard_heap_limit64(sqlite3_int64(std::min(limits.maxSqliteBytes, limits.maxFactBytes)));
    auto restoreHeap = cb::rtl::OnScopeExit([heapBefore] { sqlite3_hard_heap_limit64(heapBefore); });
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(SqliteFileUri(path, false).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> dbOwner(db, sqlite3_close);
    if (rc != SQLITE_OK)
        throw EOlapError(source + ": cannot open the database (" + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) +
                         ")");
    // A view may run without end: its work is bounded by a budget of
    // steps that grows with each row it yields.
    struct Budget {
        uint64_t used = 0, allowed = 0;
    } budget{0, limits.maxSteps};
    constexpr int kStepsPerCall = 1000;
    sqlite3_progress_handler(
        db, kStepsPerCall,
        [](void* p) -> int {
            auto* b = static_cast<Budget*>(p);
            b->used += kStepsPerCall;
            return b->used > b->allowed ? 1 : 0;
        },
        &budget);
    std::string quoted = "\"";
    for (char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    quoted += '"';
    const std::string sql = "SELECT * FROM " + quoted;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
        throw EOlapError(source + ": cannot read the table (" + sqlite3_errmsg(db) + ")");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> st(raw, sqlite3_finalize);

    std::vector<std::string> names;
    for (int c = 0; c < sqlite3_column_count(raw); ++c) {
        const char* n = sqlite3_column_name(raw, c);
        names.push_back(n ? n : "");
        CheckUtf8Text(names.back(), source + ": the name of column " + std::to_string(c + 1));
    }
    const FactColumns cols = MapColumns(names, dims, measures, source);
    FactSink sink(b, dims, cols, limits, [] { return size_t(sqlite3_memory_used()); });
    std::vector<bool> isLevel(cols.count, false);
    for (const auto& levels : cols.level)
        for (size_t c : levels) isLevel[c] = true;

    std::vector<std::string> fields(cols.count);
    std::vector<double> values(measures.size());
    auto text = [&](int c) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(raw, c));
        return p ? std::string(p, size_t(sqlite3_column_bytes(raw, c))) : std::string();
    };
    for (size_t row = 1;; ++row) {
        const int step = sqlite3_step(raw);
        if (step == SQLITE_DONE) break;
        const std::string where = source + ", row " + std::to_string(row);
        if (step == SQLITE_INTERRUPT)
            throw EOlapError(where + ": the source takes too much work (more than " + std::to_string(budget.allowed) +
                             " steps); is it a view that runs without end?");
        if (step == SQLITE_NOMEM)
            throw EOlapError(where + ": the source takes more memory than allowed (" +
                             std::to_string(std::min(limits.maxSqliteBytes, limits.maxFactBytes) >> 20) + " MB)");
        if (step != SQLITE_ROW) throw EOlapError(where + ": cannot read the row (" + sqlite3_errmsg(db) + ")");
        budget.allowed += limits.stepsPerRow;
        for (size_t c = 0; c < cols.count; ++c) {
            const int type = sqlite3_column_type(raw, int(c));
            if (type == SQLITE_BLOB) throw EOlapError(where + ": column " + QuoteText(names[c]) + " holds binary data");
            if (isLevel[c]) {
                if (type == SQLITE_NULL) throw EOlapError(where + ": column " + QuoteText(names[c]) + " is NULL");
                if (type == SQLITE_FLOAT)
                    throw EOlapError(where + ": column " + QuoteText(names[c]) + " holds the real number " +
                                     text(int(c)) +
                                     ", which cannot name a member (names hold no \".\"); store whole numbers as "
                                     "INTEGER and names as TEXT");
                fields[c] = text(int(c));
                CheckUtf8Text(fields[c], where + ": column " + QuoteText(names[c]));
            }
        }
        for (size_t m = 0; m < measures.size(); ++m) {
            const int c = int(cols.measure[m]);
            switch (sqlite3_column_type(raw, c)) {
            case SQLITE_NULL:
                values[m] = std::nan("");
                break;
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                values[m] = sqlite3_column_double(raw, c);
                if (!std::isfinite(values[m]))
                    throw EOlapError(where + ": column " + QuoteText(names[size_t(c)]) + " is not a finite number");
                CheckMeasureValue(values[m], measures[m], where);
                break;
            default:
                const std::string value = text(c);
                CheckUtf8Text(value, where + ": column " + QuoteText(names[size_t(c)]));
                values[m] = ParseMeasure(cb::rtl::Trim(value), measures[m], where);
            }
        }
        sink.Add(fields, values, where);
    }
}

}  // namespace

std::unique_ptr<CubeData> BuildCubeFromDescriptionText(const std::string& text, const std::string& source,
                                                       const std::string& baseDir, const SourceLimits& limits,
                                                       std::vector<std::string>* inputs) {
    std::string cubeName, updated, facts, factsTable;  // factsTable: SQLite facts
    std::vector<DimDecl> dims;
    std::vector<MeasureDecl> measures;
    std::vector<CalcDecl> calcs;
    CheckUtf8File(text, source);
    std::istringstream in(text);
    std::string raw;
    size_t lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        const std::string where = source + ", line " + std::to_string(lineNo);
        std::string line = cb::rtl::Trim(raw);
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line = cb::rtl::Trim(line.substr(3));
        line = StripNote(line);
        if (line.empty()) continue;
        const size_t sp = line.find_first_of(" \t");
        const std::string keyword = line.substr(0, sp);
        const std::string rest = sp == std::string::npos ? std::string() : cb::rtl::Trim(line.substr(sp));
        // "NAME: value" for dimensions, measures and calculated members.
        auto split = [&](std::string& name, std::string& value) {
            const size_t colon = rest.find(':');
            if (colon == std::string::npos) throw EOlapError(where + ": expected " + QuoteText(keyword + " NAME: ..."));
            name = cb::rtl::Trim(rest.substr(0, colon));
            value = cb::rtl::Trim(rest.substr(colon + 1));
        };
        try {
            if (keyword == "cube") {
                if (!cubeName.empty()) throw EOlapError("the cube is named twice");
                CheckName(rest, "cube", "");
                cubeName = rest;
            } else if (keyword == "updated") {
                CheckUpdated(rest);
                updated = rest;
            } else if (keyword == "dimension") {
                DimDecl d;
                std::string value;
                split(d.name, value);
                CheckName(d.name, "dimension", "");
                std::istringstream ls(value);
                std::string level;
                while (std::getline(ls, level, ',')) d.levels.push_back(cb::rtl::Trim(level));
                if (value.empty()) throw EOlapError("dimension \"" + d.name + "\" has no levels");
                for (const std::string& l : d.levels) CheckName(l, "level", "dimension \"" + d.name + "\"");
                CheckDimensionNames(d, dims);
                dims.push_back(std::move(d));
            } else if (keyword == "measure") {
                MeasureDecl m;
                std::string value;
                split(m.name, value);
                CheckName(m.name, "measure", "");
                const size_t s2 = value.find_first_of(" \t");
                const std::string agg = value.substr(0, s2);
                if (agg == "sum")
                    m.aggregation = Aggregation::Sum;
                else if (agg == "count")
                    m.aggregation = Aggregation::Count;
                else if (agg == "min")
                    m.aggregation = Aggregation::Min;
                else if (agg == "max")
                    m.aggregation = Aggregation::Max;
                else
                    throw EOlapError("unknown aggregation " + QuoteText(agg) + " (sum, count, min or max)");
                m.format = s2 == std::string::npos ? std::string() : Unquote(cb::rtl::Trim(value.substr(s2)));
                CheckFormatLength(m.format);
                CheckMeasureName(m.name, measures, calcs);
                measures.push_back(std::move(m));
            } else if (keyword == "calculated") {
                CalcDecl c;
                std::string value;
                split(c.name, value);
                CheckName(c.name, "calculated member", "");
                if (!value.empty() && value[0] == '"') {
                    const size_t close = value.find('"', 1);
                    if (close == std::string::npos) throw EOlapError("the format string is not closed");
                    c.format = value.substr(1, close - 1);
                    value = cb::rtl::Trim(value.substr(close + 1));
                }
                CheckFormatLength(c.format);
                if (value.empty()) throw EOlapError("calculated member \"" + c.name + "\" has no expression");
                c.expression = value;
                c.line = lineNo;
                CheckMeasureName(c.name, measures, calcs);
                calcs.push_back(std::move(c));
            } else if (keyword == "facts" || keyword == "facts-sqlite") {
                if (!facts.empty()) throw EOlapError("the facts are named twice");
                if (keyword == "facts") {
                    if (rest.empty()) throw EOlapError("the facts file name is missing");
                    facts = Unquote(rest);
                } else {
                    // FILE TABLE, either in double quotes when it holds blanks.
                    size_t end = rest.find_first_of(" \t");
                    if (!rest.empty() && rest[0] == '"') {
                        end = rest.find('"', 1);
                        if (end == std::string::npos) throw EOlapError("the database file name is not closed");
                        ++end;
                    }
                    facts = Unquote(rest.substr(0, end));
                    factsTable = end == std::string::npos ? std::string() : Unquote(cb::rtl::Trim(rest.substr(end)));
                    if (facts.empty() || factsTable.empty()) throw EOlapError("expected \"facts-sqlite FILE TABLE\"");
                }
            } else {
                throw EOlapError("unknown keyword " + QuoteText(keyword) +
                                 " (cube, updated, dimension, measure, calculated, facts or facts-sqlite)");
            }
        } catch (const EOlapError& e) {
            if (std::string(e.what()).compare(0, where.size(), where) == 0) throw;
            throw EOlapError(where + ": " + e.what());
        }
    }
    if (cubeName.empty()) throw EOlapError(source + ": no \"cube\" line");
    if (measures.empty()) throw EOlapError(source + ": no \"measure\" line");
    if (facts.empty()) throw EOlapError(source + ": no \"facts\" or \"facts-sqlite\" line");

    CubeBuilder b(cubeName);
    b.SetLastDataUpdate(updated);
    std::unique_ptr<CubeData> shape;
    try {
        for (const DimDecl& d : dims) b.AddDimension(d.name, d.levels);
        for (const MeasureDecl& m : measures) b.AddMeasure(m.name, m.aggregation, m.format);
        for (const CalcDecl& c : calcs) b.AddCalculatedMember(c.name, c.expression, c.format);
        shape = b.Finish();  // checks names across dimensions and measures on an empty cube
    } catch (const EOlapError& e) {
        throw EOlapError(source + ": " + e.what());
    }
    // Calculated members compile against the cube's measures now, not at the
    // first query: unknown names and cycles are errors of the description.
    {
        mdx::Binder binder(*shape);
        mdx::CalculatedMembers compiled(binder);
        for (size_t i = 0; i < calcs.size(); ++i) {
            try {
                compiled.Prepare(MemberId(shape->measures.size() + i));
            } catch (const mdx::ECalculatedMemberError& e) {
                // The line of the member whose expression is wrong, which may
                // be one this member uses.
                const size_t at = size_t(e.Member()) - shape->measures.size();
                throw EOlapError(source + ", line " + std::to_string(calcs.at(at).line) + ": " + e.what());
            }
        }
    }
    CubeBuilder real(cubeName);
    real.SetLastDataUpdate(updated);
    for (const DimDecl& d : dims) real.AddDimension(d.name, d.levels);
    for (const MeasureDecl& m : measures) real.AddMeasure(m.name, m.aggregation, m.format);
    for (const CalcDecl& c : calcs) real.AddCalculatedMember(c.name, c.expression, c.format);
    std::filesystem::path factsPath(facts);
    if (factsPath.is_relative() && !baseDir.empty()) factsPath = std::filesystem::path(baseDir) / factsPath;
    if (inputs) inputs->push_back(factsPath.string());
    if (factsTable.empty())
        LoadCsvFacts(real, dims, measures, factsPath.string(), limits);
    else
        LoadSqliteFacts(real, dims, measures, factsPath.string(), factsTable, limits);
    return real.Finish();
}

std::unique_ptr<CubeData> BuildCubeFromDescription(const std::string& path, const SourceLimits& limits,
                                                   std::vector<std::string>* inputs) {
    const std::string text = ReadWholeFile(path, "cube description");
    if (inputs) inputs->push_back(path);
    return BuildCubeFromDescriptionText(text, "Cube description \"" + path + "\"",
                                        std::filesystem::path(path).parent_path().string(), limits, inputs);
}

}  // namespace cb::olap
