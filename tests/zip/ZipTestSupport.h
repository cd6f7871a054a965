#pragma once
// Fixtures shared by the zip tests: generated corpora and quick inflation.
#include <cstdint>
#include <string>

namespace ziptest {

// Text of plain words and lines, reproducible from Seed.
std::string MakeText(std::size_t Size, unsigned Seed = 1);
// Bytes with the entropy of a cube file: little-endian ids and doubles with
// repeats, reproducible from Seed.
std::string MakeCubeLike(std::size_t Size, unsigned Seed = 2);
std::string MakeRandom(std::size_t Size, unsigned Seed = 3);
// Raw deflate through zlib; throws on a bad stream.
std::string Inflate(const std::string& Raw, std::size_t ExpectedSize);
// Our deflate of Data at Level into a string.
std::string Deflate(const std::string& Data, int Level, bool AllowWholeFileStore, bool* Stored = nullptr,
                    bool* Text = nullptr);
// Shell-quoted for the command line.
std::string Quote(const std::string& S);

}  // namespace ziptest

namespace ziptest {
// Runs a Python script with the Debian interpreter; returns its exit code,
// stdout and stderr in Out.
int RunPython(const std::string& Script, std::string* Out);
}  // namespace ziptest
