#pragma once
// INI-style access to the settings store: the file name is a key path
// ("Software\Tavo\Browser") and each section is a subkey of it.
#include "platform/os/RegistryStore.h"

#include <string>
#include <vector>

namespace cb::os {

class TRegistryIniFile {
public:
    explicit TRegistryIniFile(const std::string& FileName, TRegistryRoot Root = TRegistryRoot::CurrentUser);

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
    int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
    void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

    bool SectionExists(const std::string& Section) const;
    bool ValueExists(const std::string& Section, const std::string& Ident) const;
    std::vector<std::string> ReadSection(const std::string& Section) const;
    void EraseSection(const std::string& Section);
    void DeleteKey(const std::string& Section, const std::string& Ident);

private:
    // The store with Section's key open; false when it does not exist and
    // Create is off.
    bool Open(TRegistryStore& Store, const std::string& Section, bool Create) const;
    std::string FFileName;
    TRegistryRoot FRoot;
};

}  // namespace cb::os
