#include "app/core/base/Helpers.h"

#include "platform/desktop/Shell.h"
#include "platform/os/Files.h"
#include "platform/rtl/Strings.h"

namespace cb::app {

namespace {
bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

std::string EnsureTrailingBackslash(const std::string& path) {
    if (path.empty() || path.back() == '/') return path;
    return path + '/';
}

bool IsBlankString(const std::string& text) {
    return cb::rtl::Trim(text).empty();
}

bool IsValidEmailAddress(const std::string& text) {
    if (text.empty() || text.front() == '@') return false;
    for (char c : text)
        if (IsBlankChar(c)) return false;
    const std::size_t at = text.find('@');
    if (at == std::string::npos) return false;
    const std::string domain = text.substr(at + 1);
    if (domain.size() < 5) return false;
    // The domain needs a dot, not right after the "@" and not at the end.
    const std::size_t dot = domain.find('.');
    if (dot == std::string::npos || dot == 0) return false;
    return domain.back() != '.';
}

std::string ReverseText(const std::string& text) {
    // Character by character: a UTF-8 sequence keeps its byte order.
    std::string out;
    out.reserve(text.size());
    std::size_t end = text.size();
    while (end > 0) {
        std::size_t start = end - 1;
        while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80 && end - start < 4) --start;
        out.append(text, start, end - start);
        end = start;
    }
    return out;
}

int LastPosOf(const std::string& pattern, const std::string& text) {
    if (pattern.empty()) return 0;
    const std::size_t p = text.rfind(pattern);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string ReplaceFileExtension(const std::string& fileName, const std::string& extension) {
    std::size_t dot = fileName.find_last_of("./");
    std::string stem = fileName;
    if (dot != std::string::npos && fileName[dot] == '.') stem = fileName.substr(0, dot);
    if (extension.empty()) return stem;
    return stem + "." + extension;
}

bool IsFileLocked(const std::string& fileName) {
    return os::IsFileLocked(fileName);
}

bool ShellOpen(const std::string& target) {
    const std::string t = cb::rtl::Trim(target);
    return !t.empty() && os::ShellOpen(t);
}

}  // namespace cb::app
