#pragma once
// Text helpers in the toolkit's style. Text is UTF-8 kept as bytes; case
// rules are ASCII only; positions given to or returned by Pos are 1-based.
#include <cstdint>
#include <string>
#include <string_view>

namespace cb::rtl {

// Blanks and control characters (<= ' ') are trimmed.
std::string Trim(std::string_view S);
std::string TrimLeft(std::string_view S);
std::string TrimRight(std::string_view S);
std::string UpperCase(std::string_view S);
std::string LowerCase(std::string_view S);
bool SameText(std::string_view A, std::string_view B);
// <0, 0, >0 like strcmp, ASCII case folded.
int CompareText(std::string_view A, std::string_view B);
bool StartsText(std::string_view SubText, std::string_view Text);
bool EndsText(std::string_view SubText, std::string_view Text);
bool StartsStr(std::string_view SubText, std::string_view Text);
// 1-based position of SubStr in S, 0 when absent (or SubStr is empty).
int Pos(std::string_view SubStr, std::string_view S, int Offset = 1);

enum TReplaceFlag : unsigned {
    rfNone = 0,
    rfReplaceAll = 1,
    rfIgnoreCase = 2
};
std::string StringReplace(std::string_view S, std::string_view OldPattern, std::string_view NewPattern, unsigned Flags);

std::string IntToStr(long long Value);
// Upper-case hex, at least Digits digits (two's complement for negatives).
std::string IntToHex(long long Value, int Digits);
std::string IntToHex(unsigned long long Value, int Digits);
// Decimal with optional sign, "$hex", "0xhex" or "xhex"; blanks around are
// allowed. Hex may use all 32 bits (wrapping to a negative int). Throws
// EConvertError naming the text.
int StrToInt(std::string_view S);
int StrToIntDef(std::string_view S, int Default);
bool TryStrToInt(std::string_view S, int& Value);
long long StrToInt64(std::string_view S);
long long StrToInt64Def(std::string_view S, long long Default);
bool TryStrToInt64(std::string_view S, long long& Value);

// Shortest text that reads back as the same double, '.' as decimal
// separator; scientific ("1.5E20", "1E-7") outside 1E-5 .. 1E15.
// NAN, INF and -INF for the special values.
std::string FloatToStr(double Value);
// '.' as decimal separator, optional exponent; blanks around allowed.
double StrToFloat(std::string_view S);
double StrToFloatDef(std::string_view S, double Default);
bool TryStrToFloat(std::string_view S, double& Value);

// Text for HTML and XML: & < > and " as entity references.
std::string EscapeMarkup(std::string_view S);

// 'It''s' style quoting.
std::string QuotedStr(std::string_view S, char Quote = '\'');
// The reverse of QuotedStr; a text without the leading quote comes back as is.
std::string DequotedStr(std::string_view S, char Quote = '\'');

// File names with '/' as the separator.
std::string ExtractFileName(std::string_view FileName);
// Folder with its trailing '/', empty when there is none.
std::string ExtractFilePath(std::string_view FileName);
// The last extension with its dot (".ini"), empty when none.
std::string ExtractFileExt(std::string_view FileName);
// Replaces the last extension, or appends Extension when there is none.
std::string ChangeFileExt(std::string_view FileName, std::string_view Extension);
std::string IncludeTrailingPathDelimiter(std::string_view S);
std::string ExcludeTrailingPathDelimiter(std::string_view S);

}  // namespace cb::rtl
