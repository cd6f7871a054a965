// The upgrade information file read once, within its limits, from texts
// made here: keys and their first occurrence, the url chain, and hostile
// files (too large, too many files, a flood of "#").
#include "upgrade/UpgradeInfoFile.h"

#include <gtest/gtest.h>

using cb::upgrade::EUpgradeInfoFile;
using cb::upgrade::TUpgradeInfoFile;

namespace {

// "#date=...", "#url=f1", then url2 ... urlN.
std::string ListOf(std::size_t n) {
    std::string t = "#date=1/1/2030\n#url=f1\n";
    for (std::size_t i = 2; i <= n; ++i) t += "#url" + std::to_string(i) + "=f" + std::to_string(i) + "\n";
    return t;
}

}  // namespace

TEST(UpgradeInfoFile, KeysValuesAndTheUrlChain) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> files;
        std::string key, value;
    };
    const Case cases[] = {
        {"url and url2", "#url=a\n#url2=b\n", {"a", "b"}, "url2", "b"},
        {"url0 and url1: the next key read is url2", "#url0=a\n#url1=b\n", {"a"}, "url1", "b"},
        {"case of keys", "#URL=a\n#Url2=b\n#VERSION=1.2B\n", {"a", "b"}, "version", "1.2B"},
        {"the first occurrence counts", "#url=a\n#url=b\n", {"a"}, "url", "a"},
        {"an empty url is not a file", "#url=\n#url1=b\n", {"b"}, "url", ""},
        {"values end below 32", "#url=a\tb\n#method=2x\r\n", {"a"}, "method", "2x"},
        {"message spans lines", "#message={two\nlines} #date=1/1/2001", {}, "message", "two\nlines"},
        {"message without a brace", "#message=plain\n", {}, "message", ""},
        {"unclosed message", "#message={runs on", {}, "message", "runs on"},
        {"no keys", "x", {}, "date", ""},
        {"hashes without =", std::string(1000, '#') + "#url=a", {"a"}, "url", "a"},
        {"a key past the key length", "#" + std::string(100, 'k') + "=v\n#url=a\n", {"a"}, std::string(100, 'k'), ""},
        {"value at the end", "#url=a", {"a"}, "url", "a"},
        {"256 files", ListOf(256), {}, "url256", "f256"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TUpgradeInfoFile info(c.text);
        if (!c.files.empty()) EXPECT_EQ(info.Files(), c.files);
        EXPECT_EQ(info.Value(c.key), c.value);
    }
    EXPECT_EQ(TUpgradeInfoFile(ListOf(256)).Files().size(), 256u);
}

// Hostile files are refused as a whole, in one pass (the test runner's
// timeout bounds these; a file of 64,000 urls once took minutes).
TEST(UpgradeInfoFile, HostileFilesAreRefused) {
    struct Case {
        const char* name;
        std::string text;
        const char* message;  // empty: read
    };
    const std::string full = std::string(TUpgradeInfoFile::MaxSize - 6, 'x') + "#url=a";
    const Case cases[] = {
        {"64,000 urls (1.7 MB)", ListOf(64000), "too large"},
        {"one byte past 64 KB", full + "x", "too large"},
        {"exactly 64 KB", full, ""},
        {"257 files", ListOf(257), "more than 256 files"},
        {"64 KB of hashes", std::string(TUpgradeInfoFile::MaxSize, '#'), ""},
        {"64 KB of short keys", [] {
             std::string t;
             while (t.size() + 4 <= TUpgradeInfoFile::MaxSize) t += "#a=\n";
             return t;
         }(),
         ""},
        {"64 KB of long keys without =", [] {
             std::string t;
             while (t.size() + 64 <= TUpgradeInfoFile::MaxSize) t += "#" + std::string(63, 'k');
             return t;
         }(),
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.message == '\0') {
            EXPECT_NO_THROW(TUpgradeInfoFile{c.text});
            continue;
        }
        try {
            TUpgradeInfoFile info(c.text);
            ADD_FAILURE() << "read";
        } catch (const EUpgradeInfoFile& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}
