#include "app/core/LogFile.h"

#include "app/core/Helpers.h"

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
    FFile = std::fopen(FPath.c_str(), "abe");
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
