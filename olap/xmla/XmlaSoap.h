#pragma once
// The SOAP requests of the XMLA client: Discover of a rowset and Execute of
// an MDX statement.
#include <string>
#include <utility>
#include <vector>

namespace cb::olap::xmla {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Text as XML character data: & < > " escaped. Throws EOlapError for a
// character XML 1.0 cannot carry (a control character other than tab,
// line feed and carriage return).
std::string XmlEscape(const std::string& text);

// properties: DataSourceInfo, Catalog and the like, in order.
std::string DiscoverRequest(const std::string& requestType, const Pairs& restrictions, const Pairs& properties);
std::string ExecuteRequest(const std::string& statement, const Pairs& properties);

}  // namespace cb::olap::xmla
