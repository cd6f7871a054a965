#pragma once
// A walk over a folder tree with wildcard masks. The start folder may hold
// wildcards itself: each of its wildcard parts matches folders one level
// deeper. Hits come back as full paths, folders with a trailing "/".
// Symbolic links to folders are not followed, so a walk always ends.
#include <cstdint>
#include <string>
#include <vector>

namespace cb::zip {

class TDirSearch {
public:
    TDirSearch(const std::string& StartDir, bool Recurse, const std::string& FileMask);
    // The next hit; false at the end. Size is filled in for files.
    bool Next(std::string& Name, std::uint64_t& Size);

private:
    struct TEntry {
        std::string Name;
        bool IsDir = false;
        std::uint64_t Size = 0;
    };
    struct TLevel {
        std::string Dir;  // ends in "/"
        std::string Mask;
        int WildLevel = -1;  // index into FDirMasks, -1 below them
        std::vector<TEntry> Entries;
        std::size_t Index = 0;
    };
    void Push(const std::string& Dir, const std::string& Mask, int WildLevel);

    std::vector<TLevel> FStack;
    std::vector<std::string> FDirMasks;
    std::string FFileMask;
    bool FRecurse;
};

}  // namespace cb::zip
