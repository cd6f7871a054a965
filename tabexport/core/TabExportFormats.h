#pragma once
// Format strings per value type, with the locale defaults.
#include <string>

namespace cb::tabexport {

// Process-wide defaults from the regional settings.
std::string DefaultDateFormat();
std::string DefaultTimeFormat();
std::string DefaultDateTimeFormat();
std::string DefaultCurrencyFormat();

class TTabExportFormats {
public:
    TTabExportFormats() { ResetFormats(); }

    // Every format back to its default; NullString is kept.
    void ResetFormats();

    const std::string& IntegerFormat() const { return FIntegerFormat; }
    const std::string& FloatFormat() const { return FFloatFormat; }
    const std::string& DateFormat() const { return FDateFormat; }
    const std::string& TimeFormat() const { return FTimeFormat; }
    const std::string& DateTimeFormat() const { return FDateTimeFormat; }
    const std::string& CurrencyFormat() const { return FCurrencyFormat; }
    const std::string& BooleanTrue() const { return FBooleanTrue; }
    const std::string& BooleanFalse() const { return FBooleanFalse; }
    const std::string& NullString() const { return FNullString; }

    // An empty text restores the default.
    void SetIntegerFormat(const std::string& V);
    void SetFloatFormat(const std::string& V);
    void SetDateFormat(const std::string& V);
    void SetTimeFormat(const std::string& V);
    void SetDateTimeFormat(const std::string& V);
    void SetCurrencyFormat(const std::string& V);
    void SetBooleanTrue(const std::string& V);
    void SetBooleanFalse(const std::string& V);
    // Stored trimmed.
    void SetNullString(const std::string& V);

private:
    std::string FIntegerFormat, FFloatFormat, FDateFormat, FTimeFormat, FDateTimeFormat, FCurrencyFormat;
    std::string FBooleanTrue, FBooleanFalse, FNullString;
};

}  // namespace cb::tabexport
