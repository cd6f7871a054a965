#pragma once
// Delimited text (CSV) as the common spreadsheet programs read it: fields
// in double quotes may hold the delimiter, line breaks and doubled quotes;
// records end at CR LF, LF or CR; a UTF-8 byte order mark is skipped.
// Rows may differ in length. An unclosed quote is an error naming the line
// its field starts on.
#include "grid/util/GridTypes.h"

#include <string>
#include <string_view>

namespace cb::grid {

class ECsvError : public EExtGridError {
public:
    using EExtGridError::EExtGridError;
};

// The delimiter of a text guessed from its first two lines: of comma,
// semicolon, "#", TAB and "|", the one found as often in both lines (runs
// of an even length are escapes and do not count), else the one found as
// often by plain count, else the one found most often in either line; the
// comma when none occurs.
char GuessCsvDelimiter(std::string_view text);

// The text without a leading UTF-8 byte order mark.
std::string_view SkipByteOrderMark(std::string_view text);

struct TCsvShape {
    long long Records = 0;
    int MaxFields = 0;  // at least 1 when there is a record
};

// Walks the records of a text. Fields come as views into the text, or into
// a buffer of the reader while a quoted field had doubled quotes (valid
// until the next call).
class TCsvReader {
public:
    // source names the text in error messages (a file name).
    TCsvReader(std::string_view text, char delimiter, std::string source = {});
    // The next field of the current record; false at the record's end.
    bool NextField(std::string_view& field);
    // Moves to the next record; false at the end of the text.
    bool NextRecord();
    // 1-based line the current record starts on.
    long long Line() const { return FRecordLine; }

private:
    [[noreturn]] void Unclosed(long long line) const;
    std::string_view FText;
    std::size_t FPos = 0;
    char FDelim;
    std::string FSource;
    std::string FBuffer;
    long long FLine = 1;
    long long FRecordLine = 1;
    int FFieldIndex = 0;
    bool FRecordDone = true;
};

// Counts records and the widest record; throws ECsvError for an unclosed
// quote (before the caller changes anything).
TCsvShape MeasureCsv(std::string_view text, char delimiter, const std::string& source = {});

}  // namespace cb::grid
