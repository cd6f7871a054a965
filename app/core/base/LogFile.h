#pragma once
// The application's error log: whole lines appended to a plain text file,
// each ended by CR LF and flushed at once, so nothing written is lost when
// the program dies.
#include <cstdio>
#include <string>

namespace cb::app {

class TLogFile {
public:
    // Stores the path and opens the log; an empty or unusable path leaves
    // it closed, and every later write then returns false.
    explicit TLogFile(const std::string& path);
    ~TLogFile();
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    // (Re)opens the file for appending, creating it when missing.
    bool Open();
    // Appends the text unchanged (line breaks inside it included) and one
    // line end. False when the log is not open or the write failed.
    bool WriteLine(const std::string& text);
    void Close();

    bool IsOpen() const { return FFile != nullptr; }
    const std::string& Path() const { return FPath; }

private:
    std::FILE* FFile = nullptr;
    std::string FPath;
};

}  // namespace cb::app
