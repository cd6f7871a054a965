// Block volumes name.001, name.002, ... and the ".zfc" directory copy.
#include "tests/common/TestSupport.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipErrors.h"
#include "zip/ZipUtils.h"
#include "zip/ZipWriter.h"

#include <gtest/gtest.h>

using namespace cb::zip;
using namespace ziptest;

namespace {

// Writes files of the given sizes (incompressible, so they are stored whole).
std::vector<std::string> MakeFiles(const cbtest::TempDir& Dir, const std::vector<std::size_t>& Sizes) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < Sizes.size(); ++i) {
        names.push_back(Dir.file("f" + std::to_string(i) + ".bin"));
        cbtest::writeFile(names.back(), MakeRandom(Sizes[i], static_cast<unsigned>(i + 20)));
    }
    return names;
}

// The bytes of every entry, read back through the volumes.
std::string ReadEntryData(const std::string& Dir, const TZipHeaderInfo& E, const std::string& Base) {
    char ext[16];
    std::snprintf(ext, sizeof ext, "%3.3d", E.DiskNumberStart + 1);
    int volume = E.DiskNumberStart + 1;
    std::string data = cbtest::readFile(Dir + Base + "." + ext);
    std::size_t pos = E.LocalHeaderOffset + 30 + E.NameLength();
    std::string out;
    while (out.size() < E.CompressedSize) {
        if (pos >= data.size()) {
            std::snprintf(ext, sizeof ext, "%3.3d", ++volume);
            data = cbtest::readFile(Dir + Base + "." + ext);
            pos = 0;
        }
        const std::size_t n = std::min<std::size_t>(E.CompressedSize - out.size(), data.size() - pos);
        out += data.substr(pos, n);
        pos += n;
    }
    return out;
}

}  // namespace

TEST(ZipVolumes, BlocksOfTheGivenSizesAndReadBack) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    // Three larger files, then enough small ones that the directory spans volumes.
    const auto files = MakeFiles(dir, {900, 700, 600, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12});
    TZipWriter zip;
    zip.SetZipName(root + "set.zip");
    zip.SetMultiMode(TMultiMode::mmBlocks);
    zip.MultiZipInfo.FirstBlockSize = 1000;
    zip.MultiZipInfo.BlockSize = 500;
    zip.MultiZipInfo.SaveZipInfoOnFirstDisk = true;
    zip.FilesList() = files;
    EXPECT_EQ(zip.ZipFiles(), 13);
    std::vector<std::size_t> sizes;
    for (int v = 1;; ++v) {
        char ext[16];
        std::snprintf(ext, sizeof ext, "%3.3d", v);
        const TFileInfo info = GetFileInfo(root + "set." + ext);
        if (!info.Exists) break;
        sizes.push_back(info.Size);
    }
    ASSERT_GE(sizes.size(), 4u);
    EXPECT_LE(sizes[0], 1000u);
    for (std::size_t i = 1; i < sizes.size(); ++i) EXPECT_LE(sizes[i], 500u);
    char last[16];
    std::snprintf(last, sizeof last, "%3.3d", static_cast<int>(sizes.size()));
    EXPECT_EQ(zip.ZipName(), root + "set." + last);
    EXPECT_FALSE(GetFileInfo(root + "set.zip").Exists);
    EXPECT_TRUE(GetFileInfo(root + "set.zfc").Exists);

    // Read back from the last block: the directory may start on an earlier one.
    TZipReader r;
    r.SetZipName(root + "set." + last);
    r.OpenArchive();
    ASSERT_EQ(r.Count(), 13);
    EXPECT_EQ(r.NumberOfVolumes(), static_cast<int>(sizes.size()));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r.Entry(i).FileName(), "f" + std::to_string(i) + ".bin");
        EXPECT_EQ(ReadEntryData(root, r.Entry(i), "set"), cbtest::readFile(files[static_cast<std::size_t>(i)]));
    }
    // From the first block, the directory comes from the ".zfc" copy.
    TZipReader first;
    first.SetZipName(root + "set.001");
    first.OpenArchive();
    EXPECT_EQ(first.Count(), 13);

    // A missing volume ends with an error, not a loop.
    const int startDisk = r.EndCentral().StartDisk;
    ASSERT_LT(startDisk + 1, static_cast<int>(sizes.size()));
    char gone[16];
    std::snprintf(gone, sizeof gone, "%3.3d", startDisk + 1);
    std::filesystem::remove(root + "set.zfc");
    std::filesystem::remove(root + "set." + gone);
    TZipReader missing;
    missing.SetZipName(root + "set." + last);
    EXPECT_THROW(missing.OpenArchive(), EIncompleteZip);
}

TEST(ZipVolumes, SmallArchiveIsOneFileAndExistingVolumesAreKept) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    const auto files = MakeFiles(dir, {100});
    {
        TZipWriter zip;
        zip.SetZipName(root + "one.zip");
        zip.SetMultiMode(TMultiMode::mmBlocks);
        zip.FilesList() = files;
        EXPECT_EQ(zip.ZipFiles(), 1);
        EXPECT_EQ(zip.ZipName(), root + "one.zip");
        EXPECT_FALSE(GetFileInfo(root + "one.001").Exists);
        std::string out;
        EXPECT_EQ(cbtest::runCommand("unzip -t " + Quote(root + "one.zip"), &out), 0) << out;
    }
    {
        // A volume file already there is never overwritten.
        cbtest::writeFile(root + "two.001", "someone's file");
        TZipWriter zip;
        zip.SetZipName(root + "two.zip");
        zip.SetMultiMode(TMultiMode::mmBlocks);
        zip.FilesList() = files;
        EXPECT_THROW(zip.ZipFiles(), EVolumeExists);
        EXPECT_EQ(cbtest::readFile(root + "two.001"), "someone's file");
    }
    for (std::int64_t tiny : {0, 21, 63}) {
        TZipWriter zip;
        zip.SetZipName(root + "tiny.zip");
        zip.SetMultiMode(TMultiMode::mmBlocks);
        zip.MultiZipInfo.BlockSize = tiny;
        zip.FilesList() = files;
        EXPECT_THROW(zip.ZipFiles(), EZipError) << tiny;
        EXPECT_FALSE(GetFileInfo(root + "tiny.001").Exists);
    }
}

TEST(ZipVolumes, SpanModeAsksForEachMedium) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    const auto files = MakeFiles(dir, {3000});
    TZipWriter zip;
    zip.SetZipName(root + "span.zip");
    zip.SetMultiMode(TMultiMode::mmSpan);
    std::vector<std::string> prompts;
    zip.OnPromptForDisk = [&](const std::string& text) {
        prompts.push_back(text);
        return false;
    };
    // Room on the first medium for a little only.
    zip.MultiZipInfo.SaveOnFirstDisk = 0;
    zip.FilesList() = files;
    // The free space of a real disk is large: the archive fits on one medium.
    EXPECT_EQ(zip.ZipFiles(), 1);
    EXPECT_TRUE(prompts.empty());
    std::string out;
    EXPECT_EQ(cbtest::runCommand("unzip -t " + Quote(root + "span.zip"), &out), 0) << out;

    // When the medium is full the prompt comes; refusing it cancels the build
    // and removes what was written.
    TZipWriter full;
    full.SetZipName(root + "full.zip");
    full.SetMultiMode(TMultiMode::mmSpan);
    full.MultiZipInfo.SaveOnFirstDisk = INT64_MAX / 2;
    full.OnPromptForDisk = [&](const std::string& text) {
        prompts.push_back(text);
        return false;
    };
    full.FilesList() = files;
    EXPECT_THROW(full.ZipFiles(), EUserCanceled);
    EXPECT_EQ(prompts, (std::vector<std::string>{"Please insert disk 2 of the multi-disk set."}));
    EXPECT_FALSE(GetFileInfo(root + "full.zip").Exists);
}
