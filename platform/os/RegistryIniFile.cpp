#include "platform/os/RegistryIniFile.h"

namespace cb::os {

TRegistryIniFile::TRegistryIniFile(const std::string& FileName, TRegistryRoot Root)
    : FFileName(FileName), FRoot(Root) {}

bool TRegistryIniFile::Open(TRegistryStore& Store, const std::string& Section, bool Create) const {
    return Store.OpenKey("\\" + FFileName + "\\" + Section, Create);
}

std::string TRegistryIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                         const std::string& Default) const {
    TRegistryStore s(FRoot);
    return Open(s, Section, false) ? s.ReadString(Ident, Default) : Default;
}

int TRegistryIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
    TRegistryStore s(FRoot);
    return Open(s, Section, false) ? s.ReadInteger(Ident, Default) : Default;
}

bool TRegistryIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
    TRegistryStore s(FRoot);
    return Open(s, Section, false) ? s.ReadBool(Ident, Default) : Default;
}

void TRegistryIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
    TRegistryStore s(FRoot);
    Open(s, Section, true);
    s.WriteString(Ident, Value);
}

void TRegistryIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
    TRegistryStore s(FRoot);
    Open(s, Section, true);
    s.WriteInteger(Ident, Value);
}

void TRegistryIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
    TRegistryStore s(FRoot);
    Open(s, Section, true);
    s.WriteBool(Ident, Value);
}

bool TRegistryIniFile::SectionExists(const std::string& Section) const {
    TRegistryStore s(FRoot);
    return s.KeyExists("\\" + FFileName + "\\" + Section);
}

bool TRegistryIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
    TRegistryStore s(FRoot);
    return Open(s, Section, false) && s.ValueExists(Ident);
}

std::vector<std::string> TRegistryIniFile::ReadSection(const std::string& Section) const {
    TRegistryStore s(FRoot);
    return Open(s, Section, false) ? s.GetValueNames() : std::vector<std::string>{};
}

void TRegistryIniFile::EraseSection(const std::string& Section) {
    TRegistryStore s(FRoot);
    s.DeleteKey("\\" + FFileName + "\\" + Section);
}

void TRegistryIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
    TRegistryStore s(FRoot);
    if (Open(s, Section, false)) s.DeleteValue(Ident);
}

}  // namespace cb::os
