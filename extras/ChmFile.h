#pragma once
// TChmFile: read access to a compiled help file (through chmlib): its
// topics and the bytes of any object in it.
#include "platform/rtl/Exception.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace cb::extras {

// A help file that cannot be opened or read.
class EChmError : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

class TChmFile {
public:
    // Objects larger than this are refused when read.
    static constexpr std::size_t MaxObjectSize = 32u << 20;

    // Throws EChmError when the file is missing or not a help file.
    explicit TChmFile(const std::string& FileName);
    ~TChmFile();
    TChmFile(const TChmFile&) = delete;
    TChmFile& operator=(const TChmFile&) = delete;

    const std::string& FileName() const { return FFileName; }
    // Paths of the normal files ("/grid view.htm"), in the file's order.
    std::vector<std::string> Files() const;
    // The HTML pages among Files().
    std::vector<std::string> Topics() const;
    // The object at Path ("/x.htm" or "x.htm"); nullopt when it is not in the file. Throws EChmError
    // when it is there but cannot be read or is too large.
    std::optional<std::string> Read(const std::string& Path) const;
    // The default topic named when the file was compiled ("" when none).
    std::string DefaultTopic() const;
    // The contents file named when the file was compiled ("" when none).
    std::string ContentsFile() const;
    // The entries of the contents file in its order: name and topic.
    std::vector<std::pair<std::string, std::string>> Contents() const;

private:
    std::string SystemEntry(unsigned Code) const;

    std::string FFileName;
    chmFile* FHandle = nullptr;
};

// "/" in front and backslashes turned into "/": the form chmlib looks up.
std::string ChmObjectPath(const std::string& Topic);

}  // namespace cb::extras
