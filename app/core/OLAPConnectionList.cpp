#include "app/core/OLAPConnectionList.h"

#include "platform/rtl/IniFile.h"

#include <algorithm>

namespace cb::app {

namespace {
// A larger count is damage; sections beyond it are not looked for.
constexpr int MaxConnections = 10000;
}  // namespace

bool TOLAPConnectionList::LoadFromFile(const std::string& path) {
    FItems.clear();
    try {
        rtl::TMemIniFile ini(path);
        const int n = std::min(ini.ReadInteger("Connections", "NumConnections", 0), MaxConnections);
        for (int i = 1; i <= n; ++i) {
            const std::string s = "Connection" + std::to_string(i);
            if (!ini.SectionExists(s)) continue;
            TOLAPConnection c;
            c.ConnectionName = ini.ReadString(s, "ConnectionName", "");
            c.ConnectionHost = ini.ReadString(s, "ConnectionHost", "");
            c.ConnectionPort = ini.ReadInteger(s, "ConnectionPort", -1);
            Add(c);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TOLAPConnectionList::SaveToFile(const std::string& path) const {
    try {
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
