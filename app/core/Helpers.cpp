#include "app/core/Helpers.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace cb::app {

namespace {
bool IsBlankChar(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

std::string TrimText(const std::string& text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlankChar(text[b]))
        ++b;
    while (e > b && IsBlankChar(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string EnsureTrailingBackslash(const std::string& path)
{
    if (path.empty() || path.back() == '/')
        return path;
    return path + '/';
}

bool IsBlankString(const std::string& text)
{
    return TrimText(text).empty();
}

bool IsValidEmailAddress(const std::string& text)
{
    if (text.empty() || text.front() == '@')
        return false;
    for (char c : text)
        if (IsBlankChar(c))
            return false;
    const std::size_t at = text.find('@');
    if (at == std::string::npos)
        return false;
    const std::string domain = text.substr(at + 1);
    if (domain.size() < 5)
        return false;
    // The domain needs a dot, not right after the "@" and not at the end.
    const std::size_t dot = domain.find('.');
    if (dot == std::string::npos || dot == 0)
        return false;
    return domain.back() != '.';
}

std::string ReverseText(const std::string& text)
{
    return std::string(text.rbegin(), text.rend());
}

int LastPosOf(const std::string& pattern, const std::string& text)
{
    if (pattern.empty())
        return 0;
    const std::size_t p = text.rfind(pattern);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string ReplaceFileExtension(const std::string& fileName, const std::string& extension)
{
    std::size_t dot = fileName.find_last_of("./");
    std::string stem = fileName;
    if (dot != std::string::npos && fileName[dot] == '.')
        stem = fileName.substr(0, dot);
    if (extension.empty())
        return stem;
    return stem + "." + extension;
}

bool IsFileLocked(const std::string& fileName)
{
    const int fd = ::open(fileName.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno != ENOENT && errno != ENOTDIR;
    bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    if (!locked) {
        // Record locks of other processes count as well.
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
            locked = true;
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    return locked;
}

bool ShellOpen(const std::string& target)
{
    const std::string t = TrimText(target);
    if (t.empty())
        return false;
    const QString q = QString::fromStdString(t);
    QUrl url;
    if (q.startsWith('/'))
        url = QUrl::fromLocalFile(q);
    else
        url = QUrl::fromUserInput(q);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace cb::app
