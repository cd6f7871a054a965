#include "tabexport/core/TabExportOptions.h"

#include "platform/rtl/IniFile.h"
#include "tabexport/core/TabExport.h"

namespace cb::tabexport {

namespace {
const char* const KGeneral = "GENERAL";
const char* const KLine = "line";
}  // namespace

void SaveLinesSection(cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Prefix,
                      const cb::rtl::TStringList& Lines) {
    Store.EraseSection(Section);
    for (int i = 0; i < Lines.Count(); ++i) Store.WriteString(Section, Prefix + std::to_string(i), Lines[i]);
}

void LoadLinesSection(const cb::rtl::TCustomIniFile& Store, const std::string& Section, cb::rtl::TStringList& Lines) {
    if (!Store.SectionExists(Section)) return;
    Lines.Clear();
    for (const std::string& key : Store.ReadSection(Section)) Lines.Add(Store.ReadString(Section, key, ""));
}

int ReadItemCount(const cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Ident) {
    const int n = Store.ReadInteger(Section, Ident, 0);
    return n < 0 ? 0 : (n > KMaxStoredItems ? KMaxStoredItems : n);
}

void EraseItemSections(cb::rtl::TCustomIniFile& Store, const std::string& Prefix, int Count) {
    for (int i = Count; Store.SectionExists(Prefix + std::to_string(i)); ++i)
        Store.EraseSection(Prefix + std::to_string(i));
}

void TTabExport::SaveOptions(cb::rtl::TCustomIniFile& Store) {
    Store.WriteBool(KGeneral, "GoToFirstRecord", GoToFirstRecord);
    Store.WriteBool(KGeneral, "ExportEmpty", ExportEmpty);
    Store.WriteBool(KGeneral, "CurrentRecordOnly", CurrentRecordOnly);
    Store.WriteInteger(KGeneral, "ExportRecCount", ExportRecCount);
    Store.WriteInteger(KGeneral, "SkipRecCount", SkipRecCount);
    Store.WriteBool(KGeneral, "OnlyVisibleFields", OnlyVisibleFields);
    Store.WriteBool(KGeneral, "AutocalcStrType", AutoCalcStrType);
    Store.WriteInteger(KGeneral, "CaptionRow", CaptionRow);
    SaveLinesSection(Store, "FIELDS", "field", ExportedFields);
}

void TTabExport::LoadOptions(const cb::rtl::TCustomIniFile& Store) {
    GoToFirstRecord = Store.ReadBool(KGeneral, "GoToFirstRecord", GoToFirstRecord);
    ExportEmpty = Store.ReadBool(KGeneral, "ExportEmpty", ExportEmpty);
    CurrentRecordOnly = Store.ReadBool(KGeneral, "CurrentRecordOnly", CurrentRecordOnly);
    ExportRecCount = Store.ReadInteger(KGeneral, "ExportRecCount", ExportRecCount);
    SkipRecCount = Store.ReadInteger(KGeneral, "SkipRecCount", SkipRecCount);
    OnlyVisibleFields = Store.ReadBool(KGeneral, "OnlyVisibleFields", OnlyVisibleFields);
    AutoCalcStrType = Store.ReadBool(KGeneral, "AutocalcStrType", AutoCalcStrType);
    CaptionRow = Store.ReadInteger(KGeneral, "CaptionRow", CaptionRow);
    LoadLinesSection(Store, "FIELDS", ExportedFields);
}

void TTabExportText::SaveOptions(cb::rtl::TCustomIniFile& Store) {
    TTabExport::SaveOptions(Store);
    Store.WriteString(KGeneral, "FileName", FileName);
    Store.WriteBool(KGeneral, "ShowFile", ShowFile);
    Store.WriteBool(KGeneral, "PrintFile", PrintFile);
}

void TTabExportText::LoadOptions(const cb::rtl::TCustomIniFile& Store) {
    TTabExport::LoadOptions(Store);
    FileName = Store.ReadString(KGeneral, "FileName", FileName);
    ShowFile = Store.ReadBool(KGeneral, "ShowFile", ShowFile);
    PrintFile = Store.ReadBool(KGeneral, "PrintFile", PrintFile);
}

void TTabExportAdvancedText::SaveOptions(cb::rtl::TCustomIniFile& Store) {
    TTabExportText::SaveOptions(Store);
    SaveLinesSection(Store, "HEADER", KLine, Header);
    SaveLinesSection(Store, "FOOTER", KLine, Footer);
}

void TTabExportAdvancedText::LoadOptions(const cb::rtl::TCustomIniFile& Store) {
    TTabExportText::LoadOptions(Store);
    LoadLinesSection(Store, "HEADER", Header);
    LoadLinesSection(Store, "FOOTER", Footer);
}

void TTabExportFormatText::SaveOptions(cb::rtl::TCustomIniFile& Store) {
    TTabExportAdvancedText::SaveOptions(Store);
    Store.WriteBool(KGeneral, "AllowCaptions", AllowCaptions);
    SaveLinesSection(Store, "CAPTIONS", KLine, Captions);
    const TTabExportFormats& f = Formats();
    Store.WriteString("FORMATS", "Integer", f.IntegerFormat());
    Store.WriteString("FORMATS", "Float", f.FloatFormat());
    Store.WriteString("FORMATS", "Date", f.DateFormat());
    Store.WriteString("FORMATS", "Time", f.TimeFormat());
    Store.WriteString("FORMATS", "DateTime", f.DateTimeFormat());
    Store.WriteString("FORMATS", "Currency", f.CurrencyFormat());
    Store.WriteString("FORMATS", "BooleanTrue", f.BooleanTrue());
    Store.WriteString("FORMATS", "BooleanFalse", f.BooleanFalse());
    Store.WriteString("FORMATS", "NullString", f.NullString());
    SaveLinesSection(Store, "USER_FORMATS", KLine, UserFormats);
}

void TTabExportFormatText::LoadOptions(const cb::rtl::TCustomIniFile& Store) {
    TTabExportAdvancedText::LoadOptions(Store);
    AllowCaptions = Store.ReadBool(KGeneral, "AllowCaptions", AllowCaptions);
    LoadLinesSection(Store, "CAPTIONS", Captions);
    TTabExportFormats& f = Formats();
    // Through the setters: an empty stored format gives the default.
    f.SetIntegerFormat(Store.ReadString("FORMATS", "Integer", f.IntegerFormat()));
    f.SetFloatFormat(Store.ReadString("FORMATS", "Float", f.FloatFormat()));
    f.SetDateFormat(Store.ReadString("FORMATS", "Date", f.DateFormat()));
    f.SetTimeFormat(Store.ReadString("FORMATS", "Time", f.TimeFormat()));
    f.SetDateTimeFormat(Store.ReadString("FORMATS", "DateTime", f.DateTimeFormat()));
    f.SetCurrencyFormat(Store.ReadString("FORMATS", "Currency", f.CurrencyFormat()));
    f.SetBooleanTrue(Store.ReadString("FORMATS", "BooleanTrue", f.BooleanTrue()));
    f.SetBooleanFalse(Store.ReadString("FORMATS", "BooleanFalse", f.BooleanFalse()));
    f.SetNullString(Store.ReadString("FORMATS", "NullString", f.NullString()));
    LoadLinesSection(Store, "USER_FORMATS", UserFormats);
}

}  // namespace cb::tabexport
