#include "olap/adomd/ConnectionString.h"

#include "olap/engine/OlapError.h"

#include <cctype>

namespace cb::olap {

namespace {

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

std::string ConnectionStringPairs::Get(const std::string& key) const
{
    std::string value;
    for (const auto& [k, v] : pairs) {
        if (EqualNoCase(k, key))
            value = v;
    }
    return value;
}

ConnectionStringPairs ParseConnectionString(const std::string& text)
{
    if (Trim(text).empty())
        throw EOlapError("The connection string is empty");
    ConnectionStringPairs result;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        size_t eq = text.find_first_of("=;", i);
        if (eq == std::string::npos || text[eq] == ';') {
            std::string piece = Trim(text.substr(i, eq == std::string::npos ? std::string::npos : eq - i));
            if (!piece.empty())
                throw EOlapError("Connection string part \"" + piece + "\" has no \"=\"");
            if (eq == std::string::npos)
                break;
            i = eq + 1;
            continue;
        }
        std::string key = Trim(text.substr(i, eq - i));
        if (key.empty())
            throw EOlapError("Connection string part at position " + std::to_string(i + 1) + " has no key");
        size_t j = eq + 1;
        while (j < n && (text[j] == ' ' || text[j] == '\t'))
            ++j;
        std::string value;
        if (j < n && (text[j] == '"' || text[j] == '\'')) {
            char q = text[j];
            size_t close = text.find(q, j + 1);
            if (close == std::string::npos)
                throw EOlapError("Connection string value of \"" + key + "\" lacks its closing quote");
            value = text.substr(j + 1, close - j - 1);
            j = close + 1;
            size_t semi = text.find(';', j);
            std::string rest = Trim(text.substr(j, semi == std::string::npos ? std::string::npos : semi - j));
            if (!rest.empty())
                throw EOlapError("Unexpected text \"" + rest + "\" after the quoted value of \"" + key + "\"");
            i = semi == std::string::npos ? n : semi + 1;
        } else {
            size_t semi = text.find(';', j);
            value = Trim(text.substr(j, semi == std::string::npos ? std::string::npos : semi - j));
            i = semi == std::string::npos ? n : semi + 1;
        }
        result.pairs.emplace_back(key, value);
    }
    return result;
}

} // namespace cb::olap
