#pragma once
// Parses "key=value;key=\"value\";" connection strings.
#include <string>
#include <utility>
#include <vector>

namespace cb::olap {

struct ConnectionStringPairs {
    std::vector<std::pair<std::string, std::string>> pairs;  // keys as written
    // The value of the last pair whose key matches, ignoring case; "" if none.
    std::string Get(const std::string& key) const;
    // Whether a pair has the key (ignoring case), also with an empty value.
    bool Has(const std::string& key) const;
};

// Throws EOlapError for an empty string, a pair without "=", an empty key or
// an unterminated quoted value. Inside a quoted value the quote character
// written twice stands for itself.
ConnectionStringPairs ParseConnectionString(const std::string& text);

// A value in double quotes, any double quote in it written twice, so that
// every text (a file name with ";", "=", quotes or blanks) reads back as it was.
std::string QuoteConnectionStringValue(const std::string& value);

}  // namespace cb::olap
