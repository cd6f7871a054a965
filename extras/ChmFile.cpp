#include "extras/ChmFile.h"
#include "platform/rtl/Strings.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sys/stat.h>

namespace cb::extras {

// ChmOnDemand.cpp: whether chmlib can be opened.
bool ChmLibraryPresent();

namespace {

int CollectFile(chmFile*, chmUnitInfo* ui, void* context) {
    auto* out = static_cast<std::vector<std::string>*>(context);
    out->emplace_back(ui->path);
    return CHM_ENUMERATOR_CONTINUE;
}

bool EndsWithNoCase(const std::string& s, const char* tail) {
    const std::size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    return std::equal(s.end() - n, s.end(), tail, [](char a, char b) { return std::tolower((unsigned char)a) == b; });
}

unsigned Le16(const std::string& s, std::size_t at) {
    return unsigned((unsigned char)s[at]) | unsigned((unsigned char)s[at + 1]) << 8;
}

// The quoted value of attribute Key in the tag text[from, to).
std::string AttributeValue(const std::string& text, const std::string& lower, std::size_t from, std::size_t to,
                           const std::string& key) {
    for (std::size_t at = lower.find(key, from); at < to; at = lower.find(key, at + 1)) {
        std::size_t q = at + key.size();
        if (at == 0 || !std::isspace((unsigned char)lower[at - 1])) continue;
        while (q < to && std::isspace((unsigned char)lower[q])) ++q;
        if (q >= to || lower[q] != '=') continue;
        ++q;
        while (q < to && std::isspace((unsigned char)lower[q])) ++q;
        if (q >= to || lower[q] != '"') continue;
        const std::size_t e = lower.find('"', q + 1);
        if (e == std::string::npos || e > to) return {};
        return text.substr(q + 1, e - q - 1);
    }
    return {};
}

}  // namespace

std::string ChmObjectPath(const std::string& Topic) {
    std::string p = Topic;
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.empty() || p[0] != '/') p.insert(p.begin(), '/');
    return p;
}

TChmFile::TChmFile(const std::string& FileName) : FFileName(FileName) {
    struct stat st {};
    if (::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EChmError("The help file \"" + FileName + "\" was not found.");
    if (!ChmLibraryPresent())
        throw EChmError("The help file \"" + FileName + "\" cannot be read: chmlib (libchm.so.1) is not installed.");
    FHandle = chm_open(FileName.c_str());
    if (!FHandle) throw EChmError("The file \"" + FileName + "\" is not a valid help file.");
}

TChmFile::~TChmFile() {
    if (FHandle) chm_close(FHandle);
}

std::vector<std::string> TChmFile::Files() const {
    std::vector<std::string> out;
    chm_enumerate(FHandle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectFile, &out);
    return out;
}

std::vector<std::string> TChmFile::Topics() const {
    std::vector<std::string> out;
    for (auto& f : Files())
        if (EndsWithNoCase(f, ".htm") || EndsWithNoCase(f, ".html")) out.push_back(f);
    return out;
}

std::optional<std::string> TChmFile::Read(const std::string& Path) const {
    chmUnitInfo ui{};
    if (chm_resolve_object(FHandle, ChmObjectPath(Path).c_str(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    if (ui.length > MaxObjectSize)
        throw EChmError("\"" + Path + "\" in the help file \"" + FFileName + "\" is too large.");
    std::string data(std::size_t(ui.length), '\0');
    std::size_t got = 0;
    while (got < data.size()) {
        const LONGINT64 n = chm_retrieve_object(FHandle, &ui, reinterpret_cast<unsigned char*>(data.data()) + got, got,
                                                LONGINT64(data.size() - got));
        if (n <= 0) throw EChmError("\"" + Path + "\" in the help file \"" + FFileName + "\" cannot be read.");
        got += std::size_t(n);
    }
    return data;
}

std::string TChmFile::SystemEntry(unsigned Code) const {
    // #SYSTEM: a 32-bit version, then records of code, length and data.
    std::optional<std::string> sys;
    try {
        sys = Read("/#SYSTEM");
    } catch (const EChmError&) {
        return {};
    }
    if (!sys || sys->size() < 4) return {};
    std::size_t at = 4;
    while (at + 4 <= sys->size()) {
        const unsigned code = Le16(*sys, at), len = Le16(*sys, at + 2);
        at += 4;
        if (len > sys->size() - at) break;
        if (code == Code) {
            std::string value = sys->substr(at, len);
            value.erase(std::find(value.begin(), value.end(), '\0'), value.end());
            return value;
        }
        at += len;
    }
    return {};
}

std::string TChmFile::DefaultTopic() const {
    return SystemEntry(2);
}

std::string TChmFile::ContentsFile() const {
    return SystemEntry(0);
}

std::vector<std::pair<std::string, std::string>> TChmFile::Contents() const {
    std::vector<std::pair<std::string, std::string>> out;
    const std::string file = ContentsFile();
    if (file.empty()) return out;
    std::optional<std::string> text;
    try {
        text = Read(file);
    } catch (const EChmError&) {
        return out;
    }
    if (!text) return out;
    // Each entry is an <object type="text/sitemap"> with the params Name
    // and Local.
    const std::string lower = cb::rtl::LowerCase(*text);
    for (std::size_t at = 0; (at = lower.find("<object", at)) != std::string::npos;) {
        std::size_t end = lower.find("</object", at);
        if (end == std::string::npos) end = lower.size();
        std::string name, local;
        for (std::size_t p = lower.find("<param", at); p < end; p = lower.find("<param", p + 6)) {
            const std::size_t close = std::min(lower.find('>', p), end);
            const std::string key = cb::rtl::LowerCase(AttributeValue(*text, lower, p, close, "name"));
            if (key == "name") name = AttributeValue(*text, lower, p, close, "value");
            if (key == "local") local = AttributeValue(*text, lower, p, close, "value");
        }
        if (!local.empty()) out.emplace_back(name.empty() ? local : name, local);
        at = end;
    }
    return out;
}

}  // namespace cb::extras
