#pragma once
// Small helpers shared by the test programs.
#include <filesystem>
#include <string>

namespace cbtest {

// A fresh, empty folder under the system's temporary folder, removed when
// the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return FPath; }
    std::string file(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& data);

// Runs a shell command, returns its exit code and fills out with its stdout.
int runCommand(const std::string& cmd, std::string* out = nullptr);

}  // namespace cbtest
