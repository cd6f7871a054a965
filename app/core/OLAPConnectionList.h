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
    // exist (missing ones are skipped). False when reading failed; the
    // connections read before the failure stay.
    bool LoadFromFile(const std::string& path);
    // Replaces the file with the list, numbered from 1 in list order.
    // False when the file could not be written.
    bool SaveToFile(const std::string& path) const;

    // The connection at an index (0 .. count - 1), none outside.
    TOLAPConnection* GetConnection(int index) const;
    int GetCount() const { return static_cast<int>(FItems.size()); }
    void Add(const TOLAPConnection& connection);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TOLAPConnection>> FItems;
};

}  // namespace cb::app
