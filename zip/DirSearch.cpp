#include "zip/DirSearch.h"

#include "zip/Wildcard.h"
#include "zip/ZipUtils.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace cb::zip {

TDirSearch::TDirSearch(const std::string& StartDir, bool Recurse, const std::string& FileMask)
    : FFileMask(FileMask), FRecurse(Recurse) {
    std::string dir = StartDir.empty() ? "./" : StartDir;
    if (dir.back() != '/') dir += '/';
    const auto wild = dir.find_first_of("*?<>|");
    if (wild == std::string::npos) {
        Push(dir, FFileMask, -1);
        return;
    }
    const auto cut = dir.rfind('/', wild);
    std::string fixed = cut == std::string::npos ? "./" : dir.substr(0, cut + 1);
    std::string rest = cut == std::string::npos ? dir : dir.substr(cut + 1);
    std::size_t pos = 0;
    while (pos < rest.size()) {
        const auto slash = rest.find('/', pos);
        const std::string part = rest.substr(pos, slash - pos);
        if (!part.empty()) FDirMasks.push_back(part);
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    Push(fixed, FDirMasks.empty() ? FFileMask : FDirMasks[0], FDirMasks.empty() ? -1 : 0);
}

void TDirSearch::Push(const std::string& Dir, const std::string& Mask, int WildLevel) {
    TLevel level;
    level.Dir = Dir;
    level.Mask = Mask;
    level.WildLevel = WildLevel;
    if (DIR* d = ::opendir(Dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            struct stat lst {
            }, st{};
            const std::string full = Dir + name;
            if (::lstat(full.c_str(), &lst) != 0) continue;
            TEntry entry;
            entry.Name = name;
            if (S_ISLNK(lst.st_mode)) {
                // A link to a file counts as the file; links to folders are left alone.
                if (::stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
                entry.Size = static_cast<std::uint64_t>(st.st_size);
            } else if (S_ISDIR(lst.st_mode)) {
                entry.IsDir = true;
            } else if (S_ISREG(lst.st_mode)) {
                entry.Size = static_cast<std::uint64_t>(lst.st_size);
            } else {
                continue;
            }
            level.Entries.push_back(std::move(entry));
        }
        ::closedir(d);
    }
    std::sort(level.Entries.begin(), level.Entries.end(),
              [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
    FStack.push_back(std::move(level));
}

bool TDirSearch::Next(std::string& Name, std::uint64_t& Size) {
    while (!FStack.empty()) {
        TLevel& top = FStack.back();
        if (top.Index >= top.Entries.size()) {
            FStack.pop_back();
            continue;
        }
        const TEntry e = top.Entries[top.Index++];
        const std::string full = top.Dir + e.Name;
        if (top.WildLevel >= 0) {
            if (e.IsDir && WildcardMatch(top.Mask, e.Name)) {
                const int next = top.WildLevel + 1;
                if (next < static_cast<int>(FDirMasks.size()))
                    Push(full + "/", FDirMasks[static_cast<std::size_t>(next)], next);
                else
                    Push(full + "/", FFileMask, -1);
            }
            continue;
        }
        if (e.IsDir) {
            if (!FRecurse) continue;
            const std::string mask = top.Mask;
            Push(full + "/", mask, -1);
            Name = full + "/";
            Size = 0;
            return true;
        }
        const std::string test = e.Name.find('.') == std::string::npos ? e.Name + "." : e.Name;
        if (WildcardMatch(top.Mask, test)) {
            Name = full;
            Size = e.Size;
            return true;
        }
    }
    Name.clear();
    return false;
}

}  // namespace cb::zip
