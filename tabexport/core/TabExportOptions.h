#pragma once
// Exporter settings in an INI-style store: list sections of numbered lines
// ("line0", "line1", ...) and the helpers the exporters share.
#include "platform/rtl/IniFile.h"
#include "platform/rtl/StringList.h"

#include <string>

namespace cb::tabexport {

// Erases Section, then writes Lines under Prefix + index from 0.
void SaveLinesSection(cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Prefix,
                      const cb::rtl::TStringList& Lines);
// Clears Lines and fills it with the values of Section in file order; a
// missing section leaves Lines unchanged.
void LoadLinesSection(const cb::rtl::TCustomIniFile& Store, const std::string& Section, cb::rtl::TStringList& Lines);

// An enumeration stored as its position: a stored value outside 0 .. Count-1
// keeps Current.
template <typename E>
E ReadEnum(const cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Ident, E Current,
           int Count) {
    const int v = Store.ReadInteger(Section, Ident, static_cast<int>(Current));
    return v >= 0 && v < Count ? static_cast<E>(v) : Current;
}

// Items of a numbered family of sections ("STRIP0", "STRIP1", ...): the
// count stored under Ident, capped so a damaged store cannot ask for much.
constexpr int KMaxStoredItems = 4096;
int ReadItemCount(const cb::rtl::TCustomIniFile& Store, const std::string& Section, const std::string& Ident);
// Erases the sections Prefix + index from Count while they exist.
void EraseItemSections(cb::rtl::TCustomIniFile& Store, const std::string& Prefix, int Count);

}  // namespace cb::tabexport
