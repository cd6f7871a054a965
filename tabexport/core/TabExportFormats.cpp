#include "tabexport/core/TabExportFormats.h"

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"

namespace cb::tabexport {

namespace {
const char* const KIntegerFormat = "#,###,##0";
const char* const KFloatFormat = "#,###,##0.00";
}  // namespace

std::string DefaultDateFormat() {
    return cb::rtl::FormatSettings().ShortDateFormat;
}
std::string DefaultTimeFormat() {
    return cb::rtl::FormatSettings().ShortTimeFormat;
}
std::string DefaultDateTimeFormat() {
    return DefaultDateFormat() + " " + DefaultTimeFormat();
}
std::string DefaultCurrencyFormat() {
    // The symbol in front, as the regional settings place it here.
    return "\"" + cb::rtl::FormatSettings().CurrencyString + "\"" + KFloatFormat;
}

void TTabExportFormats::ResetFormats() {
    FIntegerFormat = KIntegerFormat;
    FFloatFormat = KFloatFormat;
    FDateFormat = DefaultDateFormat();
    FTimeFormat = DefaultTimeFormat();
    FDateTimeFormat = DefaultDateTimeFormat();
    FCurrencyFormat = DefaultCurrencyFormat();
    FBooleanTrue = "true";
    FBooleanFalse = "false";
}

void TTabExportFormats::SetIntegerFormat(const std::string& V) {
    FIntegerFormat = V.empty() ? KIntegerFormat : V;
}
void TTabExportFormats::SetFloatFormat(const std::string& V) {
    FFloatFormat = V.empty() ? KFloatFormat : V;
}
void TTabExportFormats::SetDateFormat(const std::string& V) {
    FDateFormat = V.empty() ? DefaultDateFormat() : V;
}
void TTabExportFormats::SetTimeFormat(const std::string& V) {
    FTimeFormat = V.empty() ? DefaultTimeFormat() : V;
}
void TTabExportFormats::SetDateTimeFormat(const std::string& V) {
    FDateTimeFormat = V.empty() ? DefaultDateTimeFormat() : V;
}
void TTabExportFormats::SetCurrencyFormat(const std::string& V) {
    FCurrencyFormat = V.empty() ? DefaultCurrencyFormat() : V;
}
void TTabExportFormats::SetBooleanTrue(const std::string& V) {
    FBooleanTrue = V.empty() ? "true" : V;
}
void TTabExportFormats::SetBooleanFalse(const std::string& V) {
    FBooleanFalse = V.empty() ? "false" : V;
}
void TTabExportFormats::SetNullString(const std::string& V) {
    FNullString = cb::rtl::Trim(V);
}

}  // namespace cb::tabexport
