#include "app/core/base/LogFile.h"

#include "app/core/base/Helpers.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

#include <cstdio>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::app {

TLogFile::TLogFile(const std::string& path) : FPath(path) {
    Open();
}

TLogFile::~TLogFile() {
    Close();
}

bool TLogFile::Open() {
    Close();
    if (IsBlankString(FPath)) return false;
    // The checked open: a FIFO or device in the log's place does not hang
    // the program, it only leaves the log closed.
    try {
        const int fd = rtl::OpenFileForAppending(FPath);
        FFile = ::fdopen(fd, "a");
        if (!FFile) ::close(fd);
    } catch (const rtl::EInOutError&) {
        FFile = nullptr;
    }
    return FFile != nullptr;
}

void TLogFile::RotateIfFull() {
    struct stat st {};
    if (::fstat(::fileno(FFile), &st) != 0 || st.st_size < MaxSize) return;
    Close();
    std::rename(FPath.c_str(), (FPath + ".old").c_str());
    Open();
}

bool TLogFile::WriteLine(const std::string& text) {
    if (!FFile) return false;
    RotateIfFull();
    if (!FFile) return false;
    // A line of a server's or file's making is cut, not written whole.
    const std::string_view line =
        text.size() > MaxLineSize ? std::string_view(text).substr(0, MaxLineSize) : std::string_view(text);
    bool ok = std::fwrite(line.data(), 1, line.size(), FFile) == line.size();
    if (line.size() < text.size()) ok = std::fwrite(" ...", 1, 4, FFile) == 4 && ok;
    ok = std::fwrite("\r\n", 1, 2, FFile) == 2 && ok;
    ok = std::fflush(FFile) == 0 && ok;
    return ok;
}

void TLogFile::Close() {
    if (FFile) {
        std::fclose(FFile);
        FFile = nullptr;
    }
}

}  // namespace cb::app
