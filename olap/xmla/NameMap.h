#pragma once
// Member unique names between a server and the application. The
// application relies on a descendant's unique name starting with its
// ancestor's followed by "."; a server names the children of its All member
// without the All member's segment ("[Customer].[Europe]" below
// "[Customer].[All Customers]"). The application sees them with it
// ("[Customer].[All Customers].[Europe]"); everything else is the same on
// both sides.
#include <string>
#include <vector>

namespace cb::olap::xmla {

class NameMap {
public:
    // A hierarchy and its All member (empty when it has none), as the
    // server names them.
    void AddHierarchy(const std::string& hierarchy, const std::string& allMember);

    std::string ToClient(const std::string& serverName) const;
    std::string ToServer(const std::string& clientName) const;

private:
    struct Entry {
        std::string hierarchy;  // "[Customer]"
        std::string all;        // "[Customer].[All Customers]"
    };
    std::vector<Entry> FEntries;
};

// The last bracketed part of a unique name, without its brackets ("]]"
// read as "]"); the whole text when it does not end in one.
std::string LastNamePart(const std::string& uniqueName);

}  // namespace cb::olap::xmla
