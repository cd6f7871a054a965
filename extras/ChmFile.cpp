#include "extras/ChmFile.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sys/stat.h>

namespace cb::extras {

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

std::string TChmFile::DefaultTopic() const {
    // #SYSTEM: a 32-bit version, then records of code, length and data;
    // code 2 holds the default topic.
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
        if (code == 2) {
            std::string topic = sys->substr(at, len);
            topic.erase(std::find(topic.begin(), topic.end(), '\0'), topic.end());
            return topic;
        }
        at += len;
    }
    return {};
}

}  // namespace cb::extras
