#pragma once
// Saved analysis-server connections, carried in
// "tavo_browser_connection_list.con" from load to save.
#include <memory>
#include <string>
#include <vector>

namespace cb::app {

struct TOLAPConnection {
    std::string ConnectionName;
    std::string ConnectionHost;
    int ConnectionPort = -1;  // -1: not given
};

class TOLAPConnectionList {
public:
    // Empties the list, then reads section "Connections" key
    // "NumConnections" and the sections "Connection1".."ConnectionN" that
    // exist (missing ones are skipped). A damaged count reads every
    // "Connection<n>" section there is, in number order. False when reading
    // failed; the connections read before the failure stay.
    bool LoadFromFile(const std::string& path);
    // Replaces the file with the list, numbered from 1 in list order. When
    // the last load could not read the file fully (damaged count or port,
    // sections beyond the count, a read error), the old file is first kept
    // as path + ".bak"; without that copy nothing is written. False when the
    // file could not be written.
    bool SaveToFile(const std::string& path) const;
    // Whether the last load read the whole file (or found none).
    bool LoadedFully() const { return FLoadedFully; }

    // The connection at an index (0 .. count - 1), none outside.
    TOLAPConnection* GetConnection(int index) const;
    int GetCount() const { return static_cast<int>(FItems.size()); }
    void Add(const TOLAPConnection& connection);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TOLAPConnection>> FItems;
    // Cleared by a load that lost something, set again once the old file
    // was kept and the list written.
    mutable bool FLoadedFully = true;
};

}  // namespace cb::app
