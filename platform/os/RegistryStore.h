#pragma once
// The per-user settings store: keys are backslash paths
// ("Software\Tavo\Browser\Placement") holding named values; they live as
// sections of one INI file, "cubebrowser/registry.ini" in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
//
// Every call reads the file afresh and every change writes it at once
// (atomically), so several stores open at the same time do not undo each
// other's changes. Key and value names are matched without regard to ASCII
// case. Read and write failures throw cb::rtl::EInOutError.
#include <string>
#include <vector>

namespace cb::os {

enum class TRegistryRoot {
    CurrentUser,
    LocalMachine,
    CurrentConfig,
    ClassesRoot,
    Users,
    DynData
};

class TRegistryStore {
public:
    explicit TRegistryStore(TRegistryRoot Root = TRegistryRoot::CurrentUser);

    // The folder that holds "cubebrowser/registry.ini"; empty (the default)
    // means the user's configuration folder. For tests.
    static void SetRootPath(const std::string& Folder);
    static std::string FileName();

    // A path starting with '\' is absolute; otherwise it is taken below the
    // open key. With CanCreate a missing key is created; without it a
    // missing key leaves the open key as it was and returns false.
    bool OpenKey(const std::string& Key, bool CanCreate);
    void CloseKey() { FCurrentKey.clear(); }
    const std::string& CurrentPath() const { return FCurrentKey; }
    bool KeyExists(const std::string& Key) const;
    // Removes the key, its values and its subkeys.
    bool DeleteKey(const std::string& Key);
    // Names of the direct subkeys of the open key, and of its values.
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;

    // Values of the open key. Reads of a missing or unreadable value return
    // Default.
    bool ValueExists(const std::string& Name) const;
    bool DeleteValue(const std::string& Name);
    std::string ReadString(const std::string& Name, const std::string& Default = {}) const;
    int ReadInteger(const std::string& Name, int Default = 0) const;
    bool ReadBool(const std::string& Name, bool Default = false) const;
    void WriteString(const std::string& Name, const std::string& Value);
    void WriteInteger(const std::string& Name, int Value);
    void WriteBool(const std::string& Name, bool Value);

private:
    std::string Resolve(const std::string& Key) const;
    std::string Section(const std::string& Path) const;
    std::string SectionOfOpenKey() const;

    TRegistryRoot FRoot;
    std::string FCurrentKey;
};

}  // namespace cb::os
