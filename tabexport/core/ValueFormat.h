#pragma once
// Reading numbers and dates from cell text, guessing a column's type, and
// formatting a value by its column's picture.
#include "tabexport/core/TabExportTypes.h"

#include <string>
#include <string_view>

namespace cb::tabexport {

// A number in the locale's notation: optional sign, digits with optional
// thousands separators in groups of three, optional decimal part and
// exponent. Surrounding blanks are allowed.
bool TryReadNumber(std::string_view Text, double& Value);
// The same without a decimal part or exponent, within 64 bits.
bool TryReadInteger(std::string_view Text, long long& Value);
// A date in the order of the short date format (or ISO yyyy-mm-dd), a time
// (h:n[:s[.z]] with an optional AM/PM), or a date followed by a time.
bool TryReadDateTime(std::string_view Text, double& Value);

// The number picture a number's text was written with ("#,##0.00" for
// "-1,234.50" and for "12.50", "0" for "2022"), in the workbook's
// notation; "General" for an exponent.
// Text that TryReadNumber refuses gives "General" too.
std::string NumberPictureOf(std::string_view Text);

TTabExportColType DetectColType(std::string_view Text, std::string_view BooleanTrue, std::string_view BooleanFalse);
// Joins the types of two cells of one column into the column's type.
TTabExportColType MergeColTypes(TTabExportColType A, TTabExportColType B);

// Text formatted by type. Integer types that do not read give 0; float,
// currency and date types that do not read throw EConvertError.
std::string FormatExportValue(const std::string& Text, const std::string& Format, TTabExportColType Type);

}  // namespace cb::tabexport
