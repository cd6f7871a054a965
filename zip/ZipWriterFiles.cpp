// The writer's file list expansion and the update of an existing archive.
#include "platform/rtl/Strings.h"
#include "zip/DirSearch.h"
#include "zip/ZipErrors.h"
#include "zip/ZipUtils.h"
#include "zip/ZipWriterBuild.h"

#include <cstdlib>
#include <filesystem>
#include <set>

namespace cb::zip {

using cb::rtl::TSeekOrigin;

void DeleteFileQuietly(const std::string& Name) {
    std::error_code ec;
    std::filesystem::remove(Name, ec);
}

bool DirectoryExists(const std::string& Dir) {
    return !Dir.empty() && GetFileInfo(Dir).IsDirectory;
}

namespace {

bool SameFile(const std::string& A, const std::string& B) {
    std::error_code ea, eb;
    return std::filesystem::equivalent(A, B, ea) && !ea && !eb;
}

}  // namespace

void TZipWriter::ExpandFileList(TBuild& B) {
    B.TotalBytes = B.DoneBytes = 0;
    std::set<std::string> entryNames;
    if (ZipAction == TZipAction::zaFreshen && FDirectory)
        for (int i = 0; i < FDirectory->Count(); ++i)
            entryNames.insert(cb::rtl::LowerCase(FDirectory->Items(i)->FullName()));
    const auto hasEntry = [&](const std::string& full) { return entryNames.count(StoredForm(full)) > 0; };

    std::vector<std::string> out, wild;
    std::set<std::string> literal;
    std::map<std::string, std::string> storedNames;
    for (const std::string& name : FFilesList) {
        const bool isLiteral = FLiteralFiles.count(name) > 0;
        if (!isLiteral && !name.empty() && name.back() == '/') {
            out.push_back(name);
            continue;
        }
        if (!isLiteral && HasWildcard(name) && !GetFileInfo(name).Exists) {
            wild.push_back(name);
            continue;
        }
        const std::string full = name.find('/') == std::string::npos ? FRootDir + name : name;
        if (isLiteral) {
            literal.insert(full);
            if (const auto it = FStoredNames.find(name); it != FStoredNames.end()) storedNames[full] = it->second;
        } else if (MatchesList(ExcludeList, full)) {
            continue;
        }
        const TFileInfo info = GetFileInfo(full);
        if (!info.Exists) {
            if (isLiteral) throw EZipError("Cannot zip \"" + full + "\": the file does not exist");
            if (OnNoSuchFile) OnNoSuchFile(full);
            continue;
        }
        if (ZipAction == TZipAction::zaFreshen && !hasEntry(full)) continue;
        B.TotalBytes += static_cast<std::int64_t>(info.Size);
        out.push_back(full);
    }
    FLiteralFiles = std::move(literal);
    FStoredNames = std::move(storedNames);

    for (std::string w : wild) {
        bool recurse = Recurse;
        if (!w.empty() && w.front() == '|') {
            recurse = false;
            w.erase(0, 1);
        } else if (!w.empty() && w.front() == '>') {
            recurse = true;
            w.erase(0, 1);
        }
        std::string dir = DirectoryOf(w);
        std::string mask = NameOf(w);
        if (mask == "*.*") mask = "*";
        if (dir.empty()) dir = FRootDir.empty() ? "./" : FRootDir;
        if (!HasWildcard(dir) && !DirectoryExists(dir)) continue;
        TDirSearch search(dir, recurse, mask);
        std::string hit;
        std::uint64_t size = 0;
        while (search.Next(hit, size)) {
            if (OnRecursingFile) OnRecursingFile(hit);
            if (hit.back() == '/') {
                if (recurse && AddDirEntriesOnRecurse) out.push_back(hit);
                continue;
            }
            if (MatchesList(ExcludeList, hit)) continue;
            ProcessMessages();
            if (SameFile(hit, B.ArchiveName)) continue;
            if (ZipAction == TZipAction::zaFreshen && !hasEntry(hit)) continue;
            out.push_back(hit);
            B.TotalBytes += static_cast<std::int64_t>(size);
        }
    }
    FFilesList = std::move(out);
}

namespace {

std::uint16_t U16(const std::string& S, std::size_t At) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(S[At]) | (static_cast<std::uint8_t>(S[At + 1]) << 8));
}

void CopyRaw(cb::rtl::TStream& From, cb::rtl::TStream& To, std::uint64_t Count, const std::string& Archive) {
    std::vector<std::uint8_t> buf(65536);
    while (Count > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(Count, buf.size()));
        const std::size_t n = From.Read(buf.data(), want);
        if (n == 0) throw EBadZipFile(std::string(texts::NotAZip) + " An entry of \"" + Archive + "\" is cut short.");
        if (To.Write(buf.data(), n) < n) throw ENotEnoughRoom(texts::NotEnoughRoom);
        Count -= n;
    }
}

// The encryption header of an entry decrypts with the password: its last
// byte is the CRC's high byte, or the time stamp's with a data descriptor.
bool OpensWith(const std::string& Header, const std::string& Password, const TZipHeaderInfo& E) {
    if (Password.empty() || Header.size() != 12) return false;
    TZipCipher cipher;
    cipher.InitKeys(Password);
    std::uint8_t last = 0;
    for (char c : Header) last = cipher.DecryptByte(static_cast<std::uint8_t>(c));
    return last == static_cast<std::uint8_t>(E.Crc32 >> 24) || last == static_cast<std::uint8_t>(E.DateTime >> 8);
}

}  // namespace

int TZipWriter::ProcessExistingEntries(TBuild& B) {
    int replaced = 0;
    std::vector<std::string> stored;
    stored.reserve(FFilesList.size());
    for (const auto& name : FFilesList) stored.push_back(StoredForm(name));
    for (int i = 0; i < FDirectory->Count(); ++i) {
        TZipHeaderInfo* old = FDirectory->Items(i);
        auto e = NewEntry();
        e->Assign(*old);
        if (e->HasComment() && !e->CommentLoaded()) e->SetComment(EntryComment(i));
        const std::string key = cb::rtl::LowerCase(e->FullName());
        int match = -1;
        for (std::size_t j = 0; j < stored.size(); ++j)
            if (stored[j] == key) {
                match = static_cast<int>(j);
                break;
            }
        if (match >= 0) {
            const std::string name = FFilesList[static_cast<std::size_t>(match)];
            FFilesList.erase(FFilesList.begin() + match);
            stored.erase(stored.begin() + match);
            bool keep = false;
            if (ZipAction != TZipAction::zaReplace) {
                // Compared at the archive's two-second resolution.
                const TFileInfo info = GetFileInfo(name.back() == '/' ? name.substr(0, name.size() - 1) : name);
                const std::time_t fileTime = DosDateTimeOrNow(UnixToDosDateTime(info.ModTime));
                keep = DosDateTimeOrNow(e->DateTime) >= fileTime;
            }
            if (!keep) {
                if (OnUpdate) OnUpdate(TUpdateAction::uaReplacing, i);
                auto fresh = NewEntry();
                if (AddOneFile(B, name, *fresh)) {
                    ++replaced;
                    Bookkeep(B, std::move(fresh), name);
                }
                continue;
            }
            if (Dispose) B.DisposeList.push_back(name);
            if (OnUpdate) OnUpdate(TUpdateAction::uaKeeping, i);
        }
        // Copy the kept entry: a new local header, the old extra field and data.
        FArchive->Seek(old->LocalHeaderOffset, TSeekOrigin::soBeginning);
        const std::string local = FArchive->ReadString(LocalHeaderFixedSize);
        if (U16(local, 0) != (LocalSignature & 0xFFFF) || U16(local, 2) != (LocalSignature >> 16))
            throw EBadZipFile(std::string(texts::NotAZip) + " Entry \"" + old->FullName() + "\" has no local header.");
        const std::uint16_t nameLen = U16(local, 26);
        const std::uint16_t extraLen = U16(local, 28);
        // A kept entry is copied as it is: one with another password than
        // the update's would leave an archive no single password opens.
        if (e->Flags & 1) {
            FArchive->Seek(static_cast<std::int64_t>(old->LocalHeaderOffset) + LocalHeaderFixedSize + nameLen + extraLen,
                           TSeekOrigin::soBeginning);
            const std::string header = FArchive->ReadString(12);
            if (!OpensWith(header, Password, *e))
                throw EZipError("Cannot update the archive \"" + FZipName + "\": entry \"" + old->FullName() +
                                "\" is encrypted with another password");
        }
        // An encrypted entry with a data descriptor checks its password
        // against the time stamp: it keeps the descriptor and its flag.
        const bool descriptor = e->HasDataDescriptor() && (e->Flags & 1);
        if (!descriptor) e->Flags &= static_cast<std::uint16_t>(~8u);
        e->LocalExtraLength = extraLen;
        e->DiskNumberStart = 0;
        const std::uint64_t need = static_cast<std::uint64_t>(B.Output->Position()) + LocalHeaderFixedSize +
                                   e->NameLength() + extraLen + e->CompressedSize + (descriptor ? 16 : 0);
        if (need >= MaxZipSize) throw EZipTooLarge("Cannot update the archive: it would reach 4 GiB");
        e->WriteLocal(*B.Output);
        FArchive->Seek(static_cast<std::int64_t>(old->LocalHeaderOffset) + LocalHeaderFixedSize + nameLen,
                       TSeekOrigin::soBeginning);
        CopyRaw(*FArchive, *B.Output, static_cast<std::uint64_t>(extraLen) + e->CompressedSize, FZipName);
        if (descriptor) {
            cb::rtl::TMemoryStream d;
            d.WriteU32(0x08074B50);
            d.WriteU32(e->Crc32);
            d.WriteU32(e->CompressedSize);
            d.WriteU32(e->UncompressedSize);
            B.Output->WriteBuffer(d.Memory(), d.DataSize());
        }
        if (old->CentralExtraLength > 0) {
            FArchive->Seek(old->CentralHeaderOffset, TSeekOrigin::soBeginning);
            const std::string central = FArchive->ReadString(CentralHeaderFixedSize);
            FArchive->Seek(U16(central, 28), TSeekOrigin::soCurrent);
            B.CentralExtras[e.get()] = FArchive->ReadString(old->CentralExtraLength);
        }
        Bookkeep(B, std::move(e), {});
    }
    return replaced;
}

}  // namespace cb::zip
