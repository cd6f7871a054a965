#include "tests/gif/GifTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include <unistd.h>

namespace giftest {

const std::string& FixtureDir() {
    // Made once per build and shared by the test processes: written to a
    // folder of its own, then renamed into place.
    namespace fs = std::filesystem;
    static const std::string path = [] {
        // One folder per version of the script, so that no process removes
        // a folder another one reads.
        const fs::path script = CB_SOURCE_DIR "/tests/gif/make_fixtures.py";
        const std::string version = std::to_string(std::hash<std::string>{}(cbtest::readFile(script.string())));
        const fs::path dir = fs::path(CB_BIN_DIR).parent_path() / "tests" / ("gif-fixtures-" + version);
        if (fs::exists(dir / "done")) return dir.string();
        std::error_code ec;
        const fs::path tmp = dir.string() + ".tmp" + std::to_string(::getpid());
        fs::remove_all(tmp, ec);
        fs::create_directories(tmp);
        if (cbtest::runCommand("/usr/bin/python3 " + script.string() + " " + tmp.string()) != 0) {
            ADD_FAILURE() << "making the fixtures failed";
            return tmp.string();
        }
        cbtest::writeFile((tmp / "done").string(), "");
        fs::rename(tmp, dir, ec);
        if (ec) fs::remove_all(tmp, ec);  // another process was first
        return dir.string();
    }();
    return path;
}

std::string Fixture(const std::string& name) {
    return FixtureDir() + "/" + name;
}

std::string Gif2Rgb(const std::string& file) {
    const std::string out = file + ".rgb";
    if (cbtest::runCommand("/usr/bin/gif2rgb -1 -o " + out + " " + file) != 0) {
        ADD_FAILURE() << "gif2rgb failed on " << file;
        return {};
    }
    return cbtest::readFile(out);
}

std::string PilRgb(const std::string& file, int frame) {
    std::string out;
    const std::string cmd = "/usr/bin/python3 -c \"import sys; from PIL import Image; im=Image.open('" + file +
                            "'); im.seek(" + std::to_string(frame) +
                            "); sys.stdout.buffer.write(im.convert('RGB').tobytes())\"";
    if (cbtest::runCommand(cmd, &out) != 0) ADD_FAILURE() << "PIL failed on " << file;
    return out;
}

std::vector<std::string> PilRgbAll(const std::vector<std::string>& files) {
    std::string list;
    for (const std::string& f : files) list += "'" + f + "',";
    const std::string cmd = "/usr/bin/python3 -c \"from PIL import Image\nfor f in [" + list +
                            "]: open(f + '.pil', 'wb').write(Image.open(f).convert('RGB').tobytes())\"";
    if (cbtest::runCommand(cmd) != 0) ADD_FAILURE() << "PIL failed";
    std::vector<std::string> out;
    for (const std::string& f : files) out.push_back(cbtest::readFile(f + ".pil"));
    return out;
}

}  // namespace giftest
