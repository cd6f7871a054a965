#pragma once
// A recording xdg-email for tests that hand messages to the mail program.
#include "tests/common/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace cbtest {

// A recording xdg-email first on PATH for the life of the object.
class TMailRecorder {
public:
    explicit TMailRecorder(int exitStatus = 0) {
        FOldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        writeFile(FDir.file("xdg-email"), "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n--\\n' \"$a\"; done > '" +
                                              FDir.file("args") + "'\nexit " + std::to_string(exitStatus) + "\n");
        std::filesystem::permissions(FDir.file("xdg-email"), std::filesystem::perms::owner_all);
        setenv("PATH", (FDir.path().string() + ":" + FOldPath).c_str(), 1);
    }
    ~TMailRecorder() { setenv("PATH", FOldPath.c_str(), 1); }
    std::vector<std::string> Arguments() const {
        std::vector<std::string> args;
        const std::string text = readFile(FDir.file("args"));
        for (size_t at = 0, end; (end = text.find("\n--\n", at)) != std::string::npos; at = end + 4)
            args.push_back(text.substr(at, end - at));
        return args;
    }

private:
    TempDir FDir;
    std::string FOldPath;
};

}  // namespace cbtest
