#pragma once
// Files and folders of the local system, and the program's own folder.
#include <string>

namespace cb::os {

// The executable's folder with a trailing '/'. Works before any
// application object exists.
std::string GetApplicationPath();
// The executable's full file name.
std::string GetApplicationFileName();

// $TMPDIR (when it names a folder) or /tmp, with a trailing '/'.
std::string GetTempDirectory();
// Creates a new, empty file Dir + Prefix + random + Suffix (Dir empty: the
// temporary folder) and returns its name. Throws cb::rtl::EInOutError.
std::string CreateTempFile(const std::string& Prefix, const std::string& Suffix = {}, const std::string& Dir = {});
// Creates a new folder under the temporary folder; returns it with a
// trailing '/'. Throws cb::rtl::EInOutError.
std::string CreateTempDirectory(const std::string& Prefix);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else ~/.config; with a trailing '/'.
std::string GetUserConfigDirectory();
// Whether a file can be created in Dir (tried, not guessed from the mode
// bits, which root and access lists ignore).
bool IsDirectoryWritable(const std::string& Dir);

bool FileExists(const std::string& FileName);  // a file, not a folder
bool DirectoryExists(const std::string& Dir);
// Creates the folder and every missing parent; true when it exists after.
bool ForceDirectories(const std::string& Dir);
// False when the file could not be removed (or did not exist).
bool DeleteFile(const std::string& FileName);
// Replaces NewName when it exists.
bool RenameFile(const std::string& OldName, const std::string& NewName);
// Removes a folder and everything in it.
bool RemoveDirectoryTree(const std::string& Dir);

// Whether another holder keeps the file: it cannot be opened for reading
// and writing, or someone holds an advisory lock on it (flock or a
// POSIX write lock). A missing file is not locked.
bool IsFileLocked(const std::string& FileName);

}  // namespace cb::os
