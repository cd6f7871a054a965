#pragma once
// Calendar dates as day numbers: encoding, decoding, the short date format
// and the date forms cells are typed in.
#include "platform/rtl/FormatSettings.h"

#include <string>
#include <string_view>

namespace cb::grid {

// Days since 30 December 1899, fraction = time of day.
using TDateTime = double;

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
// Throws cb::rtl::EConvertError for an invalid date.
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
// The date written with the short date format (d, dd, m, mm, yy, yyyy).
std::string FormatShortDate(TDateTime date, const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());
bool ParseShortDate(std::string_view text, TDateTime& date,
                    const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings());
// 0 when the text does not have the form; a day or month out of range
// throws cb::rtl::EConvertError.
TDateTime ParseMDYDate(std::string_view text);
TDateTime ParseDMYDate(std::string_view text);
TDateTime StepDate(int years, int months, int days, TDateTime date, TDateTime step);

}  // namespace cb::grid
