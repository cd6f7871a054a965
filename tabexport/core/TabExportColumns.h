#pragma once
// The column model of an export: which source columns go out, in which
// order, with their names, types, captions, widths, alignments and formats.
#include "tabexport/core/ExportSource.h"
#include "tabexport/core/TabExportTypes.h"

#include "platform/rtl/StringList.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::tabexport {

class TTabExportFormats;

// What the model's owner offers; a null list is a setting the owner does
// not have.
struct TColumnSettings {
    const cb::rtl::TStringList* ExportedFields = nullptr;
    TExportSource* Source = nullptr;
    bool AutoCalcStrType = false;
    int CaptionRow = -1;
    const TTabExportFormats* Formats = nullptr;
    const cb::rtl::TStringList* UserFormats = nullptr;
    const cb::rtl::TStringList* ColumnsWidth = nullptr;
    const cb::rtl::TStringList* Captions = nullptr;
    const cb::rtl::TStringList* ColumnsAlign = nullptr;
    const cb::rtl::TStringList* ColumnsLength = nullptr;
    int SkipRecCount = 0;
    int ExportRecCount = 0;
};

struct TTabExportColumn {
    int Number = 0;
    TTabExportColType ColType = ectString;
    std::string Name;
    std::string Caption;
    int Width = 0;  // characters
    TTabExportColAlign ColAlign = ecaLeft;
    std::string Format;
    int Tag = 0;
    int Length = 254;  // text length limit
};

class TTabExportColumns {
public:
    // Text transform of the owning export (its EscapeText).
    std::function<std::string(const std::string&)> ValueTransform;

    // Rebuilds the model from the source.
    void Fill(const TColumnSettings& Settings);
    // Widens every column to its caption and its longest raw text.
    void AutoCalcColWidth();

    int Count() const { return int(FItems.size()); }
    TTabExportColumn& GetColumn(int Index) { return FItems.at(size_t(Index)); }
    const TTabExportColumn& GetColumn(int Index) const { return FItems.at(size_t(Index)); }
    int IndexOfName(const std::string& Name) const;
    void ClearTags();
    void Clear() { FItems.clear(); }
    // Only database fields can be null; there are none here.
    bool IsColumnNull(int) const { return false; }
    const TColumnSettings& Settings() const { return FSettings; }
    int RecordCounter() const { return FRecordCounter; }

private:
    TTabExportColType GuessType(int Number);
    TColumnSettings FSettings;
    std::vector<TTabExportColumn> FItems;
    int FRecordCounter = 0;
};

}  // namespace cb::tabexport
