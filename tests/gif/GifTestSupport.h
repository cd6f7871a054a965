#pragma once
// Fixtures made by independent writers (PIL, gifsicle, a small LZW writer)
// and readers to check against (gif2rgb, PIL).
#include "tests/common/TestSupport.h"

#include <string>
#include <vector>

namespace giftest {

// The folder with the fixtures of make_fixtures.py, made once per run.
const std::string& FixtureDir();
std::string Fixture(const std::string& name);

// gif2rgb's picture of a file: width x height RGB bytes (the logical screen).
std::string Gif2Rgb(const std::string& file);
// PIL's RGB bytes of frame 0 (with `frame` > 0 PIL's composed frame).
std::string PilRgb(const std::string& file, int frame = 0);
// PIL's RGB bytes of frame 0 of each file, in one run of the interpreter.
std::vector<std::string> PilRgbAll(const std::vector<std::string>& files);

}  // namespace giftest
