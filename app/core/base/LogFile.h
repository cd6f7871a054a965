#pragma once
// The application's error log: whole lines appended to a plain text file,
// each ended by CR LF and flushed at once, so nothing written is lost when
// the program dies. The log is bounded: once it passes MaxSize it is
// renamed to "<path>.old" (replacing the one before) and a new one begun,
// and one line keeps at most MaxLineSize bytes.
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

    static constexpr long MaxSize = 4L << 20;
    static constexpr std::size_t MaxLineSize = 64 * 1024;

    bool IsOpen() const { return FFile != nullptr; }
    const std::string& Path() const { return FPath; }

private:
    // Past MaxSize: the log becomes "<path>.old" and a new one is opened.
    void RotateIfFull();

    std::FILE* FFile = nullptr;
    std::string FPath;
};

}  // namespace cb::app
