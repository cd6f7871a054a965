#include "olap/adomd/ConnectionString.h"

#include "olap/engine/OlapError.h"
#include "platform/rtl/Strings.h"

#include <cctype>

namespace cb::olap {

std::string ConnectionStringPairs::Get(const std::string& key) const {
    std::string value;
    for (const auto& [k, v] : pairs) {
        if (cb::rtl::SameText(k, key)) value = v;
    }
    return value;
}

bool ConnectionStringPairs::Has(const std::string& key) const {
    for (const auto& pair : pairs)
        if (cb::rtl::SameText(pair.first, key)) return true;
    return false;
}

std::string QuoteConnectionStringValue(const std::string& value) {
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

ConnectionStringPairs ParseConnectionString(const std::string& text) {
    if (cb::rtl::Trim(text).empty()) throw EOlapError("The connection string is empty");
    ConnectionStringPairs result;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        size_t eq = text.find_first_of("=;", i);
        if (eq == std::string::npos || text[eq] == ';') {
            std::string piece = cb::rtl::Trim(text.substr(i, eq == std::string::npos ? std::string::npos : eq - i));
            if (!piece.empty()) throw EOlapError("Connection string part \"" + piece + "\" has no \"=\"");
            if (eq == std::string::npos) break;
            i = eq + 1;
            continue;
        }
        std::string key = cb::rtl::Trim(text.substr(i, eq - i));
        if (key.empty())
            throw EOlapError("Connection string part at position " + std::to_string(i + 1) + " has no key");
        size_t j = eq + 1;
        while (j < n && (text[j] == ' ' || text[j] == '\t')) ++j;
        std::string value;
        if (j < n && (text[j] == '"' || text[j] == '\'')) {
            const char q = text[j];
            size_t close = j + 1;
            for (;; ++close) {
                if (close >= n) throw EOlapError("Connection string value of \"" + key + "\" lacks its closing quote");
                if (text[close] != q) {
                    value += text[close];
                } else if (close + 1 < n && text[close + 1] == q) {
                    value += q;
                    ++close;
                } else {
                    break;
                }
            }
            j = close + 1;
            size_t semi = text.find(';', j);
            std::string rest = cb::rtl::Trim(text.substr(j, semi == std::string::npos ? std::string::npos : semi - j));
            if (!rest.empty())
                throw EOlapError("Unexpected text \"" + rest + "\" after the quoted value of \"" + key + "\"");
            i = semi == std::string::npos ? n : semi + 1;
        } else {
            size_t semi = text.find(';', j);
            value = cb::rtl::Trim(text.substr(j, semi == std::string::npos ? std::string::npos : semi - j));
            i = semi == std::string::npos ? n : semi + 1;
        }
        result.pairs.emplace_back(key, value);
    }
    return result;
}

}  // namespace cb::olap
