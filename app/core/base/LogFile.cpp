#include "app/core/base/LogFile.h"

#include "app/core/base/Helpers.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

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

bool TLogFile::WriteLine(const std::string& text) {
    if (!FFile) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), FFile) == text.size();
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
