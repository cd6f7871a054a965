#include "platform/os/RegistryStore.h"

#include "platform/os/Files.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Strings.h"

#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

namespace cb::os {

using rtl::SameText;
using rtl::TIniFile;

namespace {

std::mutex gRootMutex;
std::string gRootPath;

std::string ConfigFolder() {
    {
        std::lock_guard lock(gRootMutex);
        if (!gRootPath.empty()) return gRootPath;
    }
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config";
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return std::string(pw->pw_dir) + "/.config";
    return "/tmp";
}

// "a\\b\\" -> "a\b": no empty parts, no leading or trailing separators.
std::string Normalize(const std::string& path) {
    std::string out;
    std::string part;
    auto flush = [&] {
        std::string p = rtl::Trim(part);
        if (!p.empty()) {
            if (!out.empty()) out += '\\';
            out += p;
        }
        part.clear();
    };
    for (char c : path) {
        if (c == '\\' || c == '/')
            flush();
        else
            part += c;
    }
    flush();
    return out;
}

const char* RootName(TRegistryRoot r) {
    switch (r) {
    case TRegistryRoot::CurrentUser:
        return "";
    case TRegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case TRegistryRoot::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    case TRegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case TRegistryRoot::Users:
        return "HKEY_USERS";
    case TRegistryRoot::DynData:
        return "HKEY_DYN_DATA";
    }
    return "";
}

bool IsBelow(const std::string& section, const std::string& key) {
    return section.size() > key.size() + 1 && section[key.size()] == '\\' &&
           SameText(std::string_view(section).substr(0, key.size()), key);
}

// The store file, its folder created for writing.
TIniFile OpenStore(bool forWriting) {
    std::string fn = TRegistryStore::FileName();
    if (forWriting) {
        std::string dir = rtl::ExtractFilePath(fn);
        if (!ForceDirectories(dir)) throw rtl::EInOutError("Cannot create folder \"" + dir + "\"");
    }
    return TIniFile(fn);
}

}  // namespace

TRegistryStore::TRegistryStore(TRegistryRoot Root) : FRoot(Root) {}

void TRegistryStore::SetRootPath(const std::string& Folder) {
    std::lock_guard lock(gRootMutex);
    gRootPath = Folder;
}

std::string TRegistryStore::FileName() {
    return rtl::IncludeTrailingPathDelimiter(ConfigFolder()) + "cubebrowser/registry.ini";
}

std::string TRegistryStore::Resolve(const std::string& Key) const {
    if (!Key.empty() && (Key[0] == '\\' || FCurrentKey.empty())) return Normalize(Key);
    return Normalize(FCurrentKey + "\\" + Key);
}

std::string TRegistryStore::Section(const std::string& Path) const {
    std::string root = RootName(FRoot);
    if (root.empty()) return Path;
    return Path.empty() ? root : root + "\\" + Path;
}

std::string TRegistryStore::SectionOfOpenKey() const {
    return Section(FCurrentKey);
}

bool TRegistryStore::KeyExists(const std::string& Key) const {
    std::string sec = Section(Resolve(Key));
    if (sec.empty()) return true;  // the root
    TIniFile ini = OpenStore(false);
    for (const auto& s : ini.ReadSections())
        if (SameText(s, sec) || IsBelow(s, sec)) return true;
    return false;
}

bool TRegistryStore::OpenKey(const std::string& Key, bool CanCreate) {
    std::string path = Resolve(Key);
    if (!KeyExists("\\" + path)) {
        if (!CanCreate) return false;
        if (!path.empty()) {
            TIniFile ini = OpenStore(true);
            ini.AddSection(Section(path));
        }
    }
    FCurrentKey = path;
    return true;
}

bool TRegistryStore::DeleteKey(const std::string& Key) {
    std::string sec = Section(Resolve(Key));
    if (sec.empty()) return false;
    TIniFile ini = OpenStore(false);
    bool any = false;
    for (const auto& s : ini.ReadSections())
        if (SameText(s, sec) || IsBelow(s, sec)) {
            ini.EraseSection(s);
            any = true;
        }
    return any;
}

std::vector<std::string> TRegistryStore::GetKeyNames() const {
    std::string sec = SectionOfOpenKey();
    std::vector<std::string> r;
    TIniFile ini = OpenStore(false);
    for (const auto& s : ini.ReadSections()) {
        std::string rest;
        if (sec.empty())
            rest = s;
        else if (IsBelow(s, sec))
            rest = s.substr(sec.size() + 1);
        else
            continue;
        // Other roots are not keys of the current user's root.
        if (sec.empty() && FRoot == TRegistryRoot::CurrentUser && rtl::StartsText("HKEY_", rest)) continue;
        std::string child = rest.substr(0, rest.find('\\'));
        bool seen = false;
        for (const auto& x : r) seen = seen || SameText(x, child);
        if (!seen && !child.empty()) r.push_back(child);
    }
    return r;
}

std::vector<std::string> TRegistryStore::GetValueNames() const {
    return OpenStore(false).ReadSection(SectionOfOpenKey());
}

bool TRegistryStore::ValueExists(const std::string& Name) const {
    return OpenStore(false).ValueExists(SectionOfOpenKey(), Name);
}

bool TRegistryStore::DeleteValue(const std::string& Name) {
    TIniFile ini = OpenStore(false);
    if (!ini.ValueExists(SectionOfOpenKey(), Name)) return false;
    ini.DeleteKey(SectionOfOpenKey(), Name);
    return true;
}

std::string TRegistryStore::ReadString(const std::string& Name, const std::string& Default) const {
    return OpenStore(false).ReadString(SectionOfOpenKey(), Name, Default);
}

int TRegistryStore::ReadInteger(const std::string& Name, int Default) const {
    return OpenStore(false).ReadInteger(SectionOfOpenKey(), Name, Default);
}

bool TRegistryStore::ReadBool(const std::string& Name, bool Default) const {
    return OpenStore(false).ReadBool(SectionOfOpenKey(), Name, Default);
}

void TRegistryStore::WriteString(const std::string& Name, const std::string& Value) {
    OpenStore(true).WriteString(SectionOfOpenKey(), Name, Value);
}

void TRegistryStore::WriteInteger(const std::string& Name, int Value) {
    OpenStore(true).WriteInteger(SectionOfOpenKey(), Name, Value);
}

void TRegistryStore::WriteBool(const std::string& Name, bool Value) {
    OpenStore(true).WriteBool(SectionOfOpenKey(), Name, Value);
}

}  // namespace cb::os
