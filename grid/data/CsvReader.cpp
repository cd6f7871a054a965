#include "grid/data/CsvReader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace cb::grid {

namespace {

constexpr std::array<char, 5> Candidates{',', ';', '#', '\t', '|'};

std::string_view LineAt(std::string_view text, std::size_t& pos) {
    std::size_t start = pos;
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
    std::string_view line = text.substr(start, pos - start);
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
    return line;
}

// Runs of c of odd length (a run ending the line counts too).
int OddRuns(std::string_view line, char c) {
    int count = 0;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] != c) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && line[j] == c) ++j;
        if ((j - i) % 2 == 1 || j == line.size()) ++count;
        i = j;
    }
    return count;
}

int Occurrences(std::string_view line, char c) {
    return int(std::count(line.begin(), line.end(), c));
}

}  // namespace

std::string_view SkipByteOrderMark(std::string_view text) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

char GuessCsvDelimiter(std::string_view text) {
    std::size_t pos = 0;
    std::string_view first = LineAt(text, pos);
    bool hasSecond = pos < text.size();
    std::string_view second = hasSecond ? LineAt(text, pos) : std::string_view{};
    char best = 0;
    int bestCount = 0;
    for (auto count : {OddRuns, Occurrences}) {
        for (char c : Candidates) {
            int a = count(first, c);
            int b = hasSecond ? count(second, c) : a;
            if (a == b && a > bestCount) {
                best = c;
                bestCount = a;
            }
        }
        if (best) return best;
    }
    for (char c : Candidates) {
        int m = std::max(Occurrences(first, c), Occurrences(second, c));
        if (m > bestCount) {
            best = c;
            bestCount = m;
        }
    }
    return best ? best : ',';
}

TCsvReader::TCsvReader(std::string_view text, char delimiter, std::string source)
    : FText(text), FDelim(delimiter), FSource(std::move(source)) {}

namespace {

[[noreturn]] void ThrowUnclosed(long long line, const std::string& source) {
    std::string where = source.empty() ? std::string() : " of " + source;
    throw ECsvError("The quoted field starting in line " + std::to_string(line) + where + " has no closing quote");
}

// Line breaks inside a quoted field: LF, CR LF and a lone CR each count one.
long long LineBreaks(const char* s, std::size_t from, std::size_t to, std::size_t n) {
    long long count = 0;
    for (std::size_t i = from; i < to; ++i)
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= n || s[i + 1] != '\n'))) ++count;
    return count;
}

}  // namespace

void TCsvReader::Unclosed(long long line) const {
    ThrowUnclosed(line, FSource);
}

bool TCsvReader::NextRecord() {
    // Fields the caller did not read are skipped.
    std::string_view skipped;
    while (NextField(skipped)) {}
    if (FPos >= FText.size()) return false;
    FRecordDone = false;
    FFieldIndex = 0;
    FRecordLine = FLine;
    return true;
}

bool TCsvReader::NextField(std::string_view& field) {
    if (FRecordDone) return false;
    const std::size_t n = FText.size();
    const char* s = FText.data();
    auto endOfLine = [&] {
        if (FPos < n && s[FPos] == '\r') ++FPos;
        if (FPos < n && s[FPos] == '\n') ++FPos;
        ++FLine;
        FRecordDone = true;
    };
    if (FFieldIndex == 0 && (FPos >= n || s[FPos] == '\r' || s[FPos] == '\n')) {
        // An empty line: a record without fields.
        if (FPos < n) endOfLine();
        FRecordDone = true;
        return false;
    }
    ++FFieldIndex;
    if (FPos < n && s[FPos] == '"') {
        const long long startLine = FLine;
        std::size_t p = FPos + 1;
        bool buffered = false;
        std::size_t segment = p;
        for (;;) {
            const void* q = std::memchr(s + p, '"', n - p);
            if (!q) Unclosed(startLine);
            std::size_t quote = std::size_t(static_cast<const char*>(q) - s);
            FLine += LineBreaks(s, p, quote, n);
            if (quote + 1 < n && s[quote + 1] == '"') {
                // A doubled quote stands for one.
                if (!buffered) {
                    FBuffer.clear();
                    buffered = true;
                }
                FBuffer.append(s + segment, quote + 1 - segment);
                p = segment = quote + 2;
                continue;
            }
            // The closing quote; anything up to the delimiter is kept as it stands.
            std::size_t after = quote + 1;
            std::size_t end = after;
            while (end < n && s[end] != FDelim && s[end] != '\r' && s[end] != '\n') ++end;
            if (buffered || end > after) {
                if (!buffered) FBuffer.clear();
                FBuffer.append(s + segment, quote - segment);
                FBuffer.append(s + after, end - after);
                field = FBuffer;
            } else {
                field = FText.substr(segment, quote - segment);
            }
            FPos = end;
            break;
        }
    } else {
        std::size_t end = FPos;
        while (end < n && s[end] != FDelim && s[end] != '\r' && s[end] != '\n') ++end;
        field = FText.substr(FPos, end - FPos);
        FPos = end;
    }
    if (FPos >= n)
        FRecordDone = true;
    else if (s[FPos] == FDelim)
        ++FPos;
    else
        endOfLine();
    return true;
}

TCsvShape MeasureCsv(std::string_view text, char delimiter, const std::string& source) {
    // The reader's walk without producing fields: the import's sizing pass.
    // Field ends are found through a table of the three bytes that end an
    // unquoted field.
    std::array<bool, 256> ends{};
    ends[static_cast<unsigned char>(delimiter)] = ends['\r'] = ends['\n'] = true;
    TCsvShape shape;
    const char* s = text.data();
    const std::size_t n = text.size();
    std::size_t pos = 0;
    long long line = 1;
    const auto endOfLine = [&] {
        if (pos < n && s[pos] == '\r') ++pos;
        if (pos < n && s[pos] == '\n') ++pos;
        ++line;
    };
    while (pos < n) {
        ++shape.Records;
        int fields = 0;
        if (s[pos] == '\r' || s[pos] == '\n') {
            // An empty line: a record without fields.
            endOfLine();
        } else {
            for (;;) {
                ++fields;
                if (pos < n && s[pos] == '"') {
                    const long long startLine = line;
                    std::size_t p = pos + 1;
                    for (;;) {
                        const void* q = std::memchr(s + p, '"', n - p);
                        if (!q) ThrowUnclosed(startLine, source);
                        const std::size_t quote = std::size_t(static_cast<const char*>(q) - s);
                        line += LineBreaks(s, p, quote, n);
                        p = quote + 1;
                        if (p < n && s[p] == '"') {
                            ++p;  // a doubled quote
                            continue;
                        }
                        break;
                    }
                    pos = p;
                }
                while (pos < n && !ends[static_cast<unsigned char>(s[pos])]) ++pos;
                if (pos >= n) break;
                if (s[pos] == delimiter) {
                    ++pos;
                    continue;
                }
                endOfLine();
                break;
            }
        }
        shape.MaxFields = std::max(shape.MaxFields, std::max(fields, 1));
    }
    return shape;
}

}  // namespace cb::grid
