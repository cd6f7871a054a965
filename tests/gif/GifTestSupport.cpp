#include "tests/gif/GifTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace giftest {

const std::string& FixtureDir() {
    static std::unique_ptr<cbtest::TempDir> dir;
    static std::string path;
    if (!dir) {
        dir = std::make_unique<cbtest::TempDir>();
        path = dir->path().string();
        const std::string cmd = "/usr/bin/python3 " CB_SOURCE_DIR "/tests/gif/make_fixtures.py " + path;
        if (cbtest::runCommand(cmd) != 0) ADD_FAILURE() << "making the fixtures failed: " << cmd;
    }
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

}  // namespace giftest
