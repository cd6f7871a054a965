#pragma once
// Small helpers shared by the test programs.
#include <filesystem>
#include <functional>
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

// Runs fn in a child process as the unprivileged user "nobody" (when the
// tests run as root, whom file permissions do not stop) and returns its
// result, or -1 when the child did not end normally. fn must not use the
// test framework; it reports through its result (0 for success).
int runAsNobody(const std::function<int()>& fn);
// Makes path (and, for a folder, all it holds) belong to "nobody".
void giveToNobody(const std::filesystem::path& path);

}  // namespace cbtest
