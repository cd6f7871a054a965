#pragma once
// The one way the program replaces a file: a temporary file beside the
// target, written, flushed to disk and renamed over the target, then the
// folder flushed, so a reader sees the old file or the new one, never a part.
//
// Symbolic links are followed: a link to a file keeps pointing at it and the
// file it names is replaced (created when the link dangles).
//
// Temporary files are named ".<target name>.tmp-<pid>-XXXXXX" so that the
// stale ones of a process that was killed can be found and removed
// (RemoveStaleTempFiles), and programs may remove their own on SIGINT and
// SIGTERM (InstallTempFileCleanupOnSignals).
#include <string>

namespace cb::rtl {

// The file a write to fileName replaces: fileName with every symbolic link
// followed (a dangling link gives the path it points to). Throws
// EInOutError for a loop of links.
std::string ResolveWriteTarget(const std::string& fileName);

class TAtomicReplace {
public:
    // Removes the stale temporary files of the target (RemoveStaleTempFiles),
    // then creates its own (mode of the existing target, else 0644).
    // Throws EFCreateError naming fileName.
    explicit TAtomicReplace(const std::string& fileName);
    // Removes the temporary file unless committed.
    ~TAtomicReplace();
    TAtomicReplace(const TAtomicReplace&) = delete;
    TAtomicReplace& operator=(const TAtomicReplace&) = delete;

    // Open for reading and writing until Commit or Discard; -1 after.
    int Handle() const { return FHandle; }
    const std::string& FileName() const { return FFileName; }
    const std::string& Target() const { return FTarget; }
    const std::string& TempName() const { return FTempName; }

    // Flushes the temporary file to disk, renames it over the target and
    // flushes the folder. Throws EWriteError (the target stays as it was and
    // the temporary file is removed).
    void Commit();
    // Closes and removes the temporary file.
    void Discard();
    bool Committed() const { return FCommitted; }

private:
    [[noreturn]] void Fail(int err);

    std::string FFileName;
    std::string FTarget;
    std::string FTempName;
    int FHandle = -1;
    int FSlot = -1;  // signal clean-up slot
    bool FCommitted = false;
};

// Removes temporary files left beside fileName's target by processes that no
// longer run. Returns the number removed.
int RemoveStaleTempFiles(const std::string& fileName);

// On SIGINT, SIGTERM and SIGHUP the temporary files of writers that are still
// open are removed before the signal ends the process as it would have.
// SIGXFSZ is ignored: a write past the file-size limit is an error.
void InstallTempFileCleanupOnSignals();

}  // namespace cb::rtl
