#pragma once
// Small text, file and shell helpers shared by the application.
#include <string>

namespace cb::app {

// The path with a trailing separator: empty stays empty, otherwise "/" is
// appended unless the path already ends in one.
std::string EnsureTrailingBackslash(const std::string& path);

// True when the text is empty once blanks and control characters are
// trimmed from both ends.
bool IsBlankString(const std::string& text);

// Plausibility test for an e-mail address: something before a single-word
// address part, "@", and a domain of at least five characters holding a dot
// that neither follows the "@" directly nor ends the text.
bool IsValidEmailAddress(const std::string& text);

std::string ReverseText(const std::string& text);

// 1-based position of the last occurrence of pattern in text, 0 when absent.
int LastPosOf(const std::string& pattern, const std::string& text);

// The file name with its extension (from the last "." of the last path
// component) replaced by "." + extension, or with it appended when there is
// none. An empty extension removes the old one.
std::string ReplaceFileExtension(const std::string& fileName, const std::string& extension);

// True when the file exists but cannot be opened for reading and writing
// with an exclusive lock (read-only, or another process holds a lock).
// False when it can, and when the file does not exist.
bool IsFileLocked(const std::string& fileName);

// Opens a document path or web address (trimmed) with the desktop's
// handler. False for a blank text, a missing local file, or when no handler
// accepted it.
bool ShellOpen(const std::string& target);

}  // namespace cb::app
