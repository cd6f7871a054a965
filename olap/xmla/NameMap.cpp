#include "olap/xmla/NameMap.h"

namespace cb::olap::xmla {

namespace {

bool StartsWithPart(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() + 1 && name.compare(0, prefix.size(), prefix) == 0 &&
           name[prefix.size()] == '.' && name[prefix.size() + 1] == '[';
}

}  // namespace

void NameMap::AddHierarchy(const std::string& hierarchy, const std::string& allMember) {
    // Only an All member directly below its hierarchy's name has children
    // named without it.
    if (allMember.empty() || !StartsWithPart(allMember, hierarchy)) return;
    if (allMember.find("].[", hierarchy.size() + 2) != std::string::npos) return;
    FEntries.push_back({hierarchy, allMember});
}

std::string NameMap::ToClient(const std::string& serverName) const {
    for (const Entry& e : FEntries) {
        if (StartsWithPart(serverName, e.hierarchy) && serverName != e.all)
            return e.all + serverName.substr(e.hierarchy.size());
    }
    return serverName;
}

std::string NameMap::ToServer(const std::string& clientName) const {
    for (const Entry& e : FEntries) {
        if (StartsWithPart(clientName, e.all)) return e.hierarchy + clientName.substr(e.all.size());
    }
    return clientName;
}

std::string LastNamePart(const std::string& uniqueName) {
    // Read the parts from the front: inside brackets "]]" stands for "]".
    std::string last;
    size_t i = 0;
    while (i < uniqueName.size()) {
        if (uniqueName[i] != '[') return uniqueName;
        std::string part;
        size_t j = i + 1;
        for (;; ++j) {
            if (j >= uniqueName.size()) return uniqueName;
            if (uniqueName[j] == ']') {
                if (j + 1 < uniqueName.size() && uniqueName[j + 1] == ']') {
                    part += ']';
                    ++j;
                    continue;
                }
                break;
            }
            part += uniqueName[j];
        }
        last = std::move(part);
        i = j + 1;
        if (i < uniqueName.size()) {
            if (uniqueName[i] != '.') return uniqueName;
            ++i;
        }
    }
    return last;
}

}  // namespace cb::olap::xmla
