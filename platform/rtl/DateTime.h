#pragma once
// Dates and times as the toolkit keeps them: a double counting days since
// 1899-12-30, the fraction being the time of day. Before that day the
// integer part counts back and the fraction still adds the time (-1.25 is
// 1899-12-29 06:00).
#include <string>
#include <string_view>

namespace cb::rtl {

using TDateTime = double;

// The local date and time.
TDateTime Now();
TDateTime Date();

// Throw EConvertError for a date outside 1..9999 or an impossible day or
// time.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result);
// Times are rounded to the millisecond.
void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec);
void DecodeDateTime(TDateTime DateTime, int& Year, int& Month, int& Day, int& Hour, int& Min, int& Sec, int& MSec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime DateTime);
bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);

// Pictures:
//   d dd ddd dddd    day, two digits, short and long day name
//   ddddd dddddd     short and long date format
//   m mm mmm mmmm    month, two digits, short and long month name;
//                    right after h or hh (letters between count) they mean minutes
//   yy yyyy          year in two or four digits
//   h hh n nn s ss   hour, minute, second; z zzz milliseconds
//   am/pm a/p ampm   12-hour clock with the marker (ampm: the settings' texts)
//   c                short date, then the long time unless it is midnight
//   t tt             short and long time format
//   /  :             date and time separators of the settings
//   "text" 'text'    literal; any other character is literal
// An empty picture means "c".
std::string FormatDateTime(std::string_view Format, TDateTime DateTime);
std::string DateTimeToStr(TDateTime DateTime);
std::string DateToStr(TDateTime DateTime);
std::string TimeToStr(TDateTime DateTime);

}  // namespace cb::rtl
