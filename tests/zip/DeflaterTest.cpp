// The compressor against gzip (byte for byte) and zlib's inflater.
#include "tests/common/TestSupport.h"
#include "tests/zip/ZipTestSupport.h"

#include <gtest/gtest.h>

using namespace ziptest;

namespace {

struct TCorpus {
    const char* Name;
    std::string Data;
};

std::vector<TCorpus> Corpus() {
    std::string runs;  // two equal runs farther apart than the window reaches
    const std::string block = MakeRandom(300, 9);
    runs = block + MakeRandom(40000, 10) + block;
    return {{"empty", ""},
            {"one byte", "x"},
            {"text", MakeText(300000)},
            {"cube", MakeCubeLike(400000)},
            {"random", MakeRandom(200000)},
            {"zeros", std::string(150000, '\0')},
            {"far runs", runs},
            {"small text", MakeText(700, 5)}};
}

// gzip's raw deflate stream: the file less its 10-byte header and 8-byte trailer.
std::string GzipRaw(const cbtest::TempDir& dir, const std::string& data, int level) {
    const std::string in = dir.file("in.bin");
    cbtest::writeFile(in, data);
    std::string out;
    const int rc = cbtest::runCommand("/usr/bin/gzip -n -c -" + std::to_string(level) + " " + Quote(in), &out);
    if (rc != 0 || out.size() < 18) throw std::runtime_error("gzip failed");
    return out.substr(10, out.size() - 18);
}

}  // namespace

TEST(Deflater, ByteIdenticalToGzipAndInflates) {
    cbtest::TempDir dir;
    for (const auto& c : Corpus()) {
        for (int level : {1, 2, 3, 4, 6, 9}) {
            SCOPED_TRACE(std::string(c.Name) + " level " + std::to_string(level));
            const std::string ours = Deflate(c.Data, level, false);
            EXPECT_EQ(Inflate(ours, c.Data.size()), c.Data);
            if (level == 1 || level == 6 || level == 9) {
                EXPECT_TRUE(ours == GzipRaw(dir, c.Data, level));
            }
        }
    }
}

TEST(Deflater, WholeFileStoreAndTextJudgement) {
    struct TCase {
        const char* Name;
        std::string Data;
        int Level;
        bool Stored;
        bool Text;
    };
    std::string binary = MakeText(5000);
    for (std::size_t i = 0; i < binary.size(); i += 2) binary[i] = static_cast<char>(0x80 + i % 100);
    const TCase cases[] = {
        {"empty", "", 6, true, false},
        {"small random", MakeRandom(20000), 6, true, false},
        {"small random level 1", MakeRandom(20000), 1, true, false},
        {"large random", MakeRandom(300000), 6, false, false},
        {"text", MakeText(50000), 6, false, true},
        {"binary", binary, 9, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        bool stored = false, text = false;
        const std::string out = Deflate(c.Data, c.Level, true, &stored, &text);
        EXPECT_EQ(stored, c.Stored);
        if (stored) {
            EXPECT_EQ(out, c.Data);
        } else {
            EXPECT_EQ(Inflate(out, c.Data.size()), c.Data);
            EXPECT_EQ(text, c.Text);
        }
    }
}

TEST(Deflater, LargeIncompressibleUsesStoredBlocks) {
    const std::string data = MakeRandom(300000);
    const std::string out = Deflate(data, 6, true);
    // A stored block header: type 0 in the first three bits of the stream.
    ASSERT_FALSE(out.empty());
    EXPECT_EQ((static_cast<unsigned char>(out[0]) >> 1) & 3, 0u);
    EXPECT_LE(out.size(), data.size() + data.size() / 1000 + 64);
    EXPECT_EQ(Inflate(out, data.size()), data);
}
