#include "zip/ZipUtils.h"

#include "platform/os/Files.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

#include <cerrno>
#include <fcntl.h>
#include <iconv.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cb::zip {

int Percentage(std::int64_t Part, std::int64_t Whole) {
    if (Whole <= 0) return 0;
    const long double p = static_cast<long double>(Part) * 100.0L / static_cast<long double>(Whole);
    const std::int64_t r = static_cast<std::int64_t>(p + 0.5L);
    return static_cast<int>(r > 100 ? 100 : (r < 0 ? 0 : r));
}

bool HasWildcard(std::string_view S) {
    return S.find_first_of("*?<>|") != std::string_view::npos;
}

std::uint32_t CheckDosDateTime(std::uint32_t Stamp) {
    std::uint32_t sec2 = Stamp & 0x1F, min = (Stamp >> 5) & 0x3F, hour = (Stamp >> 11) & 0x1F;
    std::uint32_t day = (Stamp >> 16) & 0x1F, month = (Stamp >> 21) & 0x0F, year = (Stamp >> 25) & 0x7F;
    if (sec2 <= 29 && min <= 59 && hour <= 23 && day >= 1 && month >= 1 && month <= 12 && year < 120) return Stamp;
    if (sec2 > 29) sec2 = 29;
    if (min > 59) min = 59;
    if (hour > 23) hour = 23;
    if (day == 0) day = 1;
    if (month == 0) month = 1;
    if (month > 12) month = 12;
    if (year >= 120) year = 119;
    return sec2 | (min << 5) | (hour << 11) | (day << 16) | (month << 21) | (year << 25);
}

std::uint32_t UnixToDosDateTime(std::time_t Time) {
    std::tm tm{};
    localtime_r(&Time, &tm);
    if (tm.tm_year < 80) return (1u << 21) | (1u << 16);
    if (tm.tm_year > 80 + 119) return CheckDosDateTime(0xFFFFFFFFu);
    const std::uint32_t date =
        static_cast<std::uint32_t>(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
    const std::uint32_t time = static_cast<std::uint32_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
    return (date << 16) | time;
}

bool DosDateTimeToUnix(std::uint32_t Stamp, std::time_t& Time) {
    std::tm tm{};
    tm.tm_sec = static_cast<int>(Stamp & 0x1F) * 2;
    tm.tm_min = static_cast<int>((Stamp >> 5) & 0x3F);
    tm.tm_hour = static_cast<int>((Stamp >> 11) & 0x1F);
    tm.tm_mday = static_cast<int>((Stamp >> 16) & 0x1F);
    tm.tm_mon = static_cast<int>((Stamp >> 21) & 0x0F) - 1;
    tm.tm_year = static_cast<int>((Stamp >> 25) & 0x7F) + 80;
    tm.tm_isdst = -1;
    if (tm.tm_sec > 59 || tm.tm_min > 59 || tm.tm_hour > 23 || tm.tm_mday < 1 || tm.tm_mon < 0 || tm.tm_mon > 11)
        return false;
    const int mday = tm.tm_mday, mon = tm.tm_mon;
    Time = std::mktime(&tm);
    return Time != static_cast<std::time_t>(-1) && tm.tm_mday == mday && tm.tm_mon == mon;
}

std::time_t DosDateTimeOrNow(std::uint32_t Stamp) {
    std::time_t t;
    return DosDateTimeToUnix(Stamp, t) ? t : std::time(nullptr);
}

TFileInfo GetFileInfo(const std::string& Path) {
    TFileInfo info;
    struct stat st {};
    if (Path.empty() || ::stat(Path.c_str(), &st) != 0) return info;
    info.Exists = true;
    info.IsDirectory = S_ISDIR(st.st_mode);
    info.IsRegular = S_ISREG(st.st_mode);
    info.Size = info.IsDirectory ? 0 : static_cast<std::uint64_t>(st.st_size);
    info.ModTime = st.st_mtime;
    info.Mode = st.st_mode & 07777;
    info.Attributes = info.IsDirectory ? faDirectory : faArchive;
    if (!(st.st_mode & S_IWUSR)) info.Attributes |= faReadOnly;
    return info;
}

namespace {

std::string Convert(std::string_view S, const char* To, const char* From) {
    bool plain = true;
    for (unsigned char c : S) plain = plain && c < 0x80;
    if (plain) return std::string(S);
    iconv_t cd = iconv_open(To, From);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(S);
    std::string out;
    std::vector<char> buf(S.size() * 4 + 16);
    char* in = const_cast<char*>(S.data());
    std::size_t inLeft = S.size();
    while (inLeft > 0) {
        char* o = buf.data();
        std::size_t oLeft = buf.size();
        const std::size_t rc = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf.data(), buf.size() - oLeft);
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // A character the target cannot hold (or a broken sequence):
            // replace it and skip its bytes.
            out += '?';
            std::size_t skip = 1;
            if (std::string_view(From) == "UTF-8")
                while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
            in += skip;
            inLeft -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string AnsiToOem(std::string_view S) {
    return Convert(S, "CP437", "UTF-8");
}
std::string OemToAnsi(std::string_view S) {
    return Convert(S, "UTF-8", "CP437");
}
std::string OemRoundTrip(std::string_view S) {
    return OemToAnsi(AnsiToOem(S));
}

std::string MakeTempFileName(const std::string& Dir) {
    std::string base = Dir.empty() ? cb::os::GetTempDirectory() : Dir;
    if (base.back() != '/') base += '/';
    std::string tmpl = base + "KPZXXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) throw cb::rtl::EInOutError(cb::rtl::OsErrorText("Cannot create temporary file in", base, errno));
    ::close(fd);
    return std::string(name.data());
}

bool MoveFile(const std::string& Source, const std::string& Target) {
    // rename() replaces the target in one step; nothing need be set aside.
    if (::rename(Source.c_str(), Target.c_str()) != 0) return false;
    SyncDirectory(DirectoryOf(Target));
    return true;
}

bool MoveOrCopyFile(const std::string& Source, const std::string& Target) {
    if (MoveFile(Source, Target)) return true;
    // Another file system: copy into a temporary file beside the target,
    // sync it and rename it into place.
    const int in = ::open(Source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    std::string tmp;
    try {
        tmp = MakeTempFileName(DirectoryOf(Target).empty() ? "." : DirectoryOf(Target));
    } catch (const std::exception&) {
        ::close(in);
        return false;
    }
    const int out = ::open(tmp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = out >= 0;
    std::vector<char> buf(65536);
    while (ok) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = ::write(out, buf.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            ok = w > 0;
            if (ok) done += w;
        }
    }
    ::close(in);
    if (out >= 0) {
        ok = ok && ::fsync(out) == 0;
        ok = ::close(out) == 0 && ok;
    }
    ok = ok && ::rename(tmp.c_str(), Target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(Target));
    ::unlink(Source.c_str());
    return true;
}

void SyncDirectory(const std::string& Dir) {
    const int fd = ::open(Dir.empty() ? "." : Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string DirectoryOf(std::string_view Path) {
    const auto p = Path.rfind('/');
    return p == std::string_view::npos ? std::string() : std::string(Path.substr(0, p + 1));
}

std::string NameOf(std::string_view Path) {
    const auto p = Path.rfind('/');
    return std::string(p == std::string_view::npos ? Path : Path.substr(p + 1));
}

}  // namespace cb::zip
