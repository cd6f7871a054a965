#include "olap/engine/CubeDescription.h"

#include "olap/engine/CubeBuilder.h"
#include "olap/engine/CubeCheck.h"
#include "olap/engine/OlapError.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace cb::olap {

namespace {

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string Unquote(const std::string& s)
{
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    return s;
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
};

// Largest facts file read (a description is capped at the default size).
constexpr size_t kMaxFactsFileSize = size_t(1) << 30;

std::string ReadWholeFile(const std::string& path, const std::string& what,
                          size_t maxSize = cb::rtl::DefaultMaxFileSize)
{
    std::string data;
    try {
        if (!cb::rtl::ReadFileBytes(path, data, maxSize))
            throw EOlapError("Cannot open " + what + " \"" + path + "\"");
    } catch (const cb::rtl::EInOutError& e) {
        throw EOlapError("Cannot read " + what + ": " + e.Message());
    }
    return data;
}

// One CSV record at a time, with the line it starts on.
class CsvReader {
public:
    CsvReader(const std::string& text, const std::string& source) : text_(text), source_(source)
    {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            pos_ = 3;
    }

    bool next(std::vector<std::string>& fields, size_t& line)
    {
        fields.clear();
        // Skip blank lines.
        while (pos_ < text_.size() && (text_[pos_] == '\n' || text_[pos_] == '\r')) {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        if (pos_ >= text_.size())
            return false;
        line = line_;
        std::string field;
        for (;;) {
            field.clear();
            if (pos_ < text_.size() && text_[pos_] == '"') {
                ++pos_;
                for (;;) {
                    if (pos_ >= text_.size())
                        throw EOlapError(source_ + ", line " + std::to_string(line) + ": a quoted field is not closed");
                    char c = text_[pos_++];
                    if (c == '"') {
                        if (pos_ < text_.size() && text_[pos_] == '"') {
                            field += '"';
                            ++pos_;
                        } else
                            break;
                    } else {
                        if (c == '\n')
                            ++line_;
                        field += c;
                    }
                }
                // Only blanks may follow the closing quote.
                while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
                    ++pos_;
                if (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n' && text_[pos_] != '\r')
                    throw EOlapError(source_ + ", line " + std::to_string(line_) +
                                     ": unexpected text after a quoted field");
            } else {
                while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n' && text_[pos_] != '\r')
                    field += text_[pos_++];
                field = Trim(field);
            }
            fields.push_back(field);
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '\r')
                ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n') {
                ++pos_;
                ++line_;
            }
            return true;
        }
    }

private:
    const std::string& text_;
    std::string source_;
    size_t pos_ = 0;
    size_t line_ = 1;
};

void LoadFacts(CubeBuilder& b, const std::vector<DimDecl>& dims, const std::vector<MeasureDecl>& measures,
               const std::string& path)
{
    const std::string text = ReadWholeFile(path, "facts file", kMaxFactsFileSize);
    const std::string source = "Facts file \"" + path + "\"";
    CsvReader csv(text, source);
    std::vector<std::string> fields;
    size_t line = 0;
    if (!csv.next(fields, line))
        throw EOlapError(source + ": the file is empty");

    // Column of each level and measure.
    std::map<std::string, std::vector<std::pair<size_t, size_t>>> levelsByName;
    for (size_t d = 0; d < dims.size(); ++d)
        for (size_t l = 0; l < dims[d].levels.size(); ++l)
            levelsByName[dims[d].levels[l]].emplace_back(d, l);
    std::vector<std::vector<std::optional<size_t>>> levelColumn(dims.size());
    for (size_t d = 0; d < dims.size(); ++d)
        levelColumn[d].resize(dims[d].levels.size());
    std::vector<std::optional<size_t>> measureColumn(measures.size());
    const size_t columns = fields.size();
    for (size_t c = 0; c < columns; ++c) {
        const std::string& h = fields[c];
        std::optional<size_t>* slot = nullptr;
        for (size_t m = 0; m < measures.size() && !slot; ++m)
            if (measures[m].name == h)
                slot = &measureColumn[m];
        if (!slot) {
            const size_t colon = h.find(':');
            if (colon != std::string::npos) {
                const std::string dn = Trim(h.substr(0, colon)), ln = Trim(h.substr(colon + 1));
                for (size_t d = 0; d < dims.size() && !slot; ++d)
                    if (dims[d].name == dn)
                        for (size_t l = 0; l < dims[d].levels.size(); ++l)
                            if (dims[d].levels[l] == ln)
                                slot = &levelColumn[d][l];
            } else if (auto it = levelsByName.find(h); it != levelsByName.end()) {
                if (it->second.size() > 1)
                    throw EOlapError(source + ", line " + std::to_string(line) + ": column \"" + h +
                                     "\" names a level of several dimensions; write it as \"Dimension:" + h + "\"");
                slot = &levelColumn[it->second[0].first][it->second[0].second];
            }
        }
        if (!slot)
            throw EOlapError(source + ", line " + std::to_string(line) + ": column \"" + h +
                             "\" is neither a level nor a measure");
        if (*slot)
            throw EOlapError(source + ", line " + std::to_string(line) + ": column \"" + h + "\" appears twice");
        *slot = c;
    }
    for (size_t d = 0; d < dims.size(); ++d)
        for (size_t l = 0; l < dims[d].levels.size(); ++l)
            if (!levelColumn[d][l])
                throw EOlapError(source + ", line " + std::to_string(line) + ": no column for level \"" +
                                 dims[d].levels[l] + "\" of dimension \"" + dims[d].name + "\"");
    for (size_t m = 0; m < measures.size(); ++m)
        if (!measureColumn[m])
            throw EOlapError(source + ", line " + std::to_string(line) + ": no column for measure \"" +
                             measures[m].name + "\"");

    std::vector<uint32_t> leaves(dims.size());
    std::vector<double> values(measures.size());
    std::vector<std::string> memberPath;
    while (csv.next(fields, line)) {
        const std::string where = source + ", line " + std::to_string(line);
        if (fields.size() != columns)
            throw EOlapError(where + ": " + std::to_string(fields.size()) + " fields where the header has " +
                             std::to_string(columns));
        try {
            for (size_t d = 0; d < dims.size(); ++d) {
                memberPath.clear();
                for (size_t l = 0; l < dims[d].levels.size(); ++l)
                    memberPath.push_back(fields[*levelColumn[d][l]]);
                leaves[d] = b.Leaf(int(d), memberPath);
            }
        } catch (const EOlapError& e) {
            throw EOlapError(where + ": " + e.what());
        }
        for (size_t m = 0; m < measures.size(); ++m) {
            const std::string& s = fields[*measureColumn[m]];
            if (s.empty()) {
                values[m] = std::nan("");
                continue;
            }
            double v = 0;
            const char* first = s.data();
            const char* last = s.data() + s.size();
            if (*first == '+')
                ++first;
            auto [p, ec] = std::from_chars(first, last, v);
            if (ec != std::errc() || p != last || !std::isfinite(v))
                throw EOlapError(where + ": \"" + s + "\" is not a number (measure \"" + measures[m].name + "\")");
            values[m] = v;
        }
        b.AddFact(leaves.data(), values.data());
    }
}

} // namespace

std::unique_ptr<CubeData> BuildCubeFromDescriptionText(const std::string& text, const std::string& source,
                                                       const std::string& baseDir)
{
    std::string cubeName, updated, facts;
    std::vector<DimDecl> dims;
    std::vector<MeasureDecl> measures;
    std::vector<CalcDecl> calcs;
    std::istringstream in(text);
    std::string raw;
    size_t lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        const std::string where = source + ", line " + std::to_string(lineNo);
        std::string line = Trim(raw);
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line = Trim(line.substr(3));
        if (line.empty() || line[0] == '#')
            continue;
        const size_t sp = line.find_first_of(" \t");
        const std::string keyword = line.substr(0, sp);
        const std::string rest = sp == std::string::npos ? std::string() : Trim(line.substr(sp));
        // "NAME: value" for dimensions, measures and calculated members.
        auto split = [&](std::string& name, std::string& value) {
            const size_t colon = rest.find(':');
            if (colon == std::string::npos)
                throw EOlapError(where + ": expected \"" + keyword + " NAME: ...\"");
            name = Trim(rest.substr(0, colon));
            value = Trim(rest.substr(colon + 1));
        };
        try {
            if (keyword == "cube") {
                if (!cubeName.empty())
                    throw EOlapError("the cube is named twice");
                CheckName(rest, "cube", "");
                cubeName = rest;
            } else if (keyword == "updated") {
                updated = rest;
            } else if (keyword == "dimension") {
                DimDecl d;
                std::string value;
                split(d.name, value);
                CheckName(d.name, "dimension", "");
                std::istringstream ls(value);
                std::string level;
                while (std::getline(ls, level, ','))
                    d.levels.push_back(Trim(level));
                if (value.empty())
                    throw EOlapError("dimension \"" + d.name + "\" has no levels");
                for (const std::string& l : d.levels)
                    CheckName(l, "level", "dimension \"" + d.name + "\"");
                for (const DimDecl& o : dims)
                    if (o.name == d.name)
                        throw EOlapError("dimension \"" + d.name + "\" appears twice");
                dims.push_back(std::move(d));
            } else if (keyword == "measure") {
                MeasureDecl m;
                std::string value;
                split(m.name, value);
                CheckName(m.name, "measure", "");
                const size_t s2 = value.find_first_of(" \t");
                const std::string agg = value.substr(0, s2);
                if (agg == "sum") m.aggregation = Aggregation::Sum;
                else if (agg == "count") m.aggregation = Aggregation::Count;
                else if (agg == "min") m.aggregation = Aggregation::Min;
                else if (agg == "max") m.aggregation = Aggregation::Max;
                else
                    throw EOlapError("unknown aggregation \"" + agg + "\" (sum, count, min or max)");
                m.format = s2 == std::string::npos ? std::string() : Unquote(Trim(value.substr(s2)));
                measures.push_back(std::move(m));
            } else if (keyword == "calculated") {
                CalcDecl c;
                std::string value;
                split(c.name, value);
                CheckName(c.name, "calculated member", "");
                if (!value.empty() && value[0] == '"') {
                    const size_t close = value.find('"', 1);
                    if (close == std::string::npos)
                        throw EOlapError("the format string is not closed");
                    c.format = value.substr(1, close - 1);
                    value = Trim(value.substr(close + 1));
                }
                if (value.empty())
                    throw EOlapError("calculated member \"" + c.name + "\" has no expression");
                c.expression = value;
                calcs.push_back(std::move(c));
            } else if (keyword == "facts") {
                if (!facts.empty())
                    throw EOlapError("the facts file is named twice");
                if (rest.empty())
                    throw EOlapError("the facts file name is missing");
                facts = Unquote(rest);
            } else {
                throw EOlapError("unknown keyword \"" + keyword +
                                 "\" (cube, updated, dimension, measure, calculated or facts)");
            }
        } catch (const EOlapError& e) {
            if (std::string(e.what()).compare(0, where.size(), where) == 0)
                throw;
            throw EOlapError(where + ": " + e.what());
        }
    }
    if (cubeName.empty())
        throw EOlapError(source + ": no \"cube\" line");
    if (measures.empty())
        throw EOlapError(source + ": no \"measure\" line");
    if (facts.empty())
        throw EOlapError(source + ": no \"facts\" line");

    CubeBuilder b(cubeName);
    b.SetLastDataUpdate(updated);
    try {
        for (const DimDecl& d : dims)
            b.AddDimension(d.name, d.levels);
        for (const MeasureDecl& m : measures)
            b.AddMeasure(m.name, m.aggregation, m.format);
        for (const CalcDecl& c : calcs)
            b.AddCalculatedMember(c.name, c.expression, c.format);
        b.Finish(); // checks names across dimensions and measures on an empty cube
    } catch (const EOlapError& e) {
        throw EOlapError(source + ": " + e.what());
    }
    CubeBuilder real(cubeName);
    real.SetLastDataUpdate(updated);
    for (const DimDecl& d : dims)
        real.AddDimension(d.name, d.levels);
    for (const MeasureDecl& m : measures)
        real.AddMeasure(m.name, m.aggregation, m.format);
    for (const CalcDecl& c : calcs)
        real.AddCalculatedMember(c.name, c.expression, c.format);
    std::filesystem::path factsPath(facts);
    if (factsPath.is_relative() && !baseDir.empty())
        factsPath = std::filesystem::path(baseDir) / factsPath;
    LoadFacts(real, dims, measures, factsPath.string());
    return real.Finish();
}

std::unique_ptr<CubeData> BuildCubeFromDescription(const std::string& path)
{
    const std::string text = ReadWholeFile(path, "cube description");
    return BuildCubeFromDescriptionText(text, "Cube description \"" + path + "\"",
                                        std::filesystem::path(path).parent_path().string());
}

} // namespace cb::olap
