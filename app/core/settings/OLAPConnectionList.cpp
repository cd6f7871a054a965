#include "app/core/settings/OLAPConnectionList.h"

#include "platform/rtl/FileIO.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <map>

namespace cb::app {

namespace {
// A larger count is damage; sections beyond it are not looked for.
constexpr int MaxConnections = 10000;
}  // namespace

namespace {

// The n of a "Connection<n>" section name, 0 for any other name.
int ConnectionNumber(const std::string& section) {
    static const std::string prefix = "connection";
    if (section.size() <= prefix.size() || section.size() > prefix.size() + 9 ||
        rtl::LowerCase(section.substr(0, prefix.size())) != prefix)
        return 0;
    int n = 0;
    for (std::size_t i = prefix.size(); i < section.size(); ++i) {
        if (section[i] < '0' || section[i] > '9') return 0;
        n = n * 10 + (section[i] - '0');
    }
    return n;
}

}  // namespace

bool TOLAPConnectionList::LoadFromFile(const std::string& path) {
    FItems.clear();
    FLoadedFully = false;
    try {
        rtl::TMemIniFile ini(path);
        // Every numbered section, in number order.
        std::map<int, std::string> numbered;
        for (const std::string& s : ini.ReadSections())
            if (int n = ConnectionNumber(s); n > 0) numbered.emplace(n, s);
        int count = 0;
        bool whole = true;
        if (!ini.ValueExists("Connections", "NumConnections")) {
            whole = numbered.empty();
            count = MaxConnections;
        } else if (!rtl::TryStrToInt(ini.ReadString("Connections", "NumConnections", "0"), count) || count < 0 ||
                   count > MaxConnections) {
            // A damaged count: read what is there.
            whole = false;
            count = MaxConnections;
        }
        for (const auto& [n, s] : numbered) {
            if (n > count) {
                whole = false;
                break;
            }
            TOLAPConnection c;
            c.ConnectionName = ini.ReadString(s, "ConnectionName", "");
            c.ConnectionHost = ini.ReadString(s, "ConnectionHost", "");
            const std::string port = ini.ReadString(s, "ConnectionPort", "-1");
            if (!rtl::TryStrToInt(port, c.ConnectionPort)) {
                c.ConnectionPort = -1;
                whole = false;
            }
            Add(c);
        }
        FLoadedFully = whole;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TOLAPConnectionList::SaveToFile(const std::string& path) const {
    try {
        // A file that was not read fully is kept before it is replaced.
        if (!FLoadedFully) {
            std::string old;
            if (rtl::ReadFileBytes(path, old)) rtl::WriteFileAtomic(path + ".bak", old);
        }
        // Built in memory from nothing and written in one step, so the old
        // file stays whole if writing fails.
        rtl::TMemIniFile ini(path);
        ini.SetText("");
        ini.WriteInteger("Connections", "NumConnections", GetCount());
        for (int i = 0; i < GetCount(); ++i) {
            const TOLAPConnection& c = *FItems[static_cast<std::size_t>(i)];
            const std::string s = "Connection" + std::to_string(i + 1);
            ini.WriteString(s, "ConnectionName", c.ConnectionName);
            ini.WriteString(s, "ConnectionHost", c.ConnectionHost);
            ini.WriteInteger(s, "ConnectionPort", c.ConnectionPort);
        }
        ini.UpdateFile();
        FLoadedFully = true;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

TOLAPConnection* TOLAPConnectionList::GetConnection(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return FItems[static_cast<std::size_t>(index)].get();
}

void TOLAPConnectionList::Add(const TOLAPConnection& connection) {
    FItems.push_back(std::make_unique<TOLAPConnection>(connection));
}

}  // namespace cb::app
