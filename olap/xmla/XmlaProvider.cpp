#include "olap/xmla/XmlaProvider.h"

#include "olap/adomd/Provider.h"
#include "olap/xmla/ServerCube.h"

#include <map>
#include <mutex>

namespace cb::olap::xmla {

namespace {

std::mutex gSessionsLock;
std::map<std::string, std::weak_ptr<ServerProvider>> gSessions;  // by address and catalog

}  // namespace

std::shared_ptr<Provider> OpenServer(const std::string& server, const std::string& catalog, bool newSession) {
    const std::string key = ServerAddress(server) + '\n' + catalog;
    if (!newSession) {
        std::lock_guard guard(gSessionsLock);
        auto it = gSessions.find(key);
        if (it != gSessions.end())
            if (auto live = it->second.lock()) return live;
    }
    auto provider = std::make_shared<ServerProvider>(server, catalog);
    std::lock_guard guard(gSessionsLock);
    gSessions[key] = provider;
    for (auto it = gSessions.begin(); it != gSessions.end();) it = it->second.expired() ? gSessions.erase(it) : ++it;
    return provider;
}

void RegisterProvider() {
    RegisterServerProvider(&OpenServer);
}

std::vector<std::string> ListCatalogs(const std::string& server) {
    Session session(server, {});
    std::vector<std::string> names;
    for (const Row& r : session.Discover("DBSCHEMA_CATALOGS")) names.push_back(r.Get("CATALOG_NAME"));
    return names;
}

std::vector<std::string> ListCubes(const std::string& server, const std::string& catalog) {
    ServerProvider provider(server, catalog);
    std::vector<std::string> names;
    for (const auto& c : provider.CubeDefs()) names.push_back(c->Name());
    return names;
}

}  // namespace cb::olap::xmla
