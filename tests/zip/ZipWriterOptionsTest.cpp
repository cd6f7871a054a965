// Writer options: disposal of sources, directory entries, OEM names,
// progress and the caller's message pump.
#include "tests/common/TestSupport.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipErrors.h"
#include "zip/ZipUtils.h"
#include "zip/ZipWriter.h"

#include <gtest/gtest.h>

using namespace cb::zip;
using namespace ziptest;

TEST(ZipWriterOptions, DisposeDeletesSourcesOnlyAfterSuccess) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    cbtest::writeFile(root + "a.cub", MakeCubeLike(20000));
    cbtest::writeFile(root + "b.cub", MakeCubeLike(20000, 9));
    {
        TZipWriter zip;
        zip.SetZipName(root + "fail.zip");
        zip.Dispose = true;
        zip.AddFile(root + "a.cub");
        zip.AddFile(root + "missing.cub");
        EXPECT_THROW(zip.ZipFiles(), EZipError);
        EXPECT_TRUE(GetFileInfo(root + "a.cub").Exists);
    }
    TZipWriter zip;
    zip.SetZipName(root + "ok.zip");
    zip.Dispose = true;
    std::vector<std::string> asked;
    zip.OnDisposeFile = [&](const std::string& name, bool& skip) {
        asked.push_back(name);
        skip = name.ends_with("b.cub");
    };
    zip.FilesList() = {root + "a.cub", root + "b.cub"};
    EXPECT_EQ(zip.ZipFiles(), 2);
    EXPECT_EQ(asked, (std::vector<std::string>{root + "a.cub", root + "b.cub"}));
    EXPECT_FALSE(GetFileInfo(root + "a.cub").Exists);
    EXPECT_TRUE(GetFileInfo(root + "b.cub").Exists);
    std::string out;
    EXPECT_EQ(cbtest::runCommand("unzip -t " + Quote(root + "ok.zip"), &out), 0) << out;
}

TEST(ZipWriterOptions, DirectoryEntriesOemNamesAndDeepWildcards) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    std::filesystem::create_directories(root + "tree/x/keep");
    std::filesystem::create_directories(root + "tree/y/keep");
    std::filesystem::create_directories(root + "tree/y/other");
    cbtest::writeFile(root + "tree/x/keep/1.txt", "1");
    cbtest::writeFile(root + "tree/y/keep/2.txt", "2");
    cbtest::writeFile(root + "tree/y/other/3.txt", "3");
    cbtest::writeFile(root + "tree/caf\xC3\xA9.txt", "accent");
    // Only the "keep" folders one level below a wildcard level.
    {
        TZipWriter zip;
        zip.SetZipName(root + "deep.zip");
        zip.SetRootDir(root);
        zip.SetRelativePaths(true);
        zip.Recurse = false;
        zip.FilesList() = {root + "tree/*/keep/*"};
        EXPECT_EQ(zip.ZipFiles(), 2);
        std::vector<std::string> names;
        for (int i = 0; i < zip.Count(); ++i) names.push_back(zip.Entry(i).FullName());
        EXPECT_EQ(names, (std::vector<std::string>{"tree/x/keep/1.txt", "tree/y/keep/2.txt"}));
    }
    TZipWriter zip;
    zip.SetZipName(root + "dirs.zip");
    zip.SetRootDir(root);
    zip.SetRelativePaths(true);
    zip.AddDirEntriesOnRecurse = true;
    zip.FilesList() = {root + "tree/*.*"};
    EXPECT_EQ(zip.ZipFiles(), 9);  // five folders, four files
    std::string out;
    ASSERT_EQ(RunPython("import zipfile\n"
                        "z = zipfile.ZipFile(" +
                            Quote(root + "dirs.zip") +
                            ")\n"
                            "print(z.testzip())\n"
                            "for i in z.infolist(): print(repr(i.filename), i.is_dir(), i.external_attr)\n",
                        &out),
              0)
        << out;
    EXPECT_NE(out.find("'tree/x/' True 16"), std::string::npos) << out;
    EXPECT_NE(out.find("'tree/x/keep/1.txt' False 32"), std::string::npos) << out;
    // Code page 437 holds é: Python decodes the stored byte back to it.
    EXPECT_NE(out.find("'tree/caf\xC3\xA9.txt' False 32"), std::string::npos) << out;
    EXPECT_EQ(cbtest::runCommand("unzip -t " + Quote(root + "dirs.zip"), &out), 0) << out;
}

TEST(ZipWriterOptions, ProgressAndMessagePump) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("big.cub"), MakeCubeLike(600000));
    cbtest::writeFile(dir.file("small.cub"), MakeCubeLike(20000, 4));
    TZipWriter zip;
    zip.SetZipName(dir.file("p.zip"));
    std::vector<int> total, file;
    int pumped = 0;
    zip.OnTotalPercentDone = [&](int p) { total.push_back(p); };
    zip.OnFilePercentDone = [&](int p) { file.push_back(p); };
    zip.OnProcessMessages = [&] { ++pumped; };
    std::vector<std::string> ended;
    zip.OnEndZip = [&](const std::string& n, std::uint32_t u, std::uint32_t c, std::int64_t size) {
        ended.push_back(NameOf(n));
        EXPECT_GT(u, 0u);
        EXPECT_GT(c, 0u);
        EXPECT_GT(size, 0);
    };
    zip.FilesList() = {dir.file("big.cub"), dir.file("small.cub")};
    EXPECT_EQ(zip.ZipFiles(), 2);
    EXPECT_EQ(ended, (std::vector<std::string>{"big.cub", "small.cub"}));
    ASSERT_FALSE(total.empty());
    EXPECT_TRUE(std::is_sorted(total.begin(), total.end()));
    EXPECT_EQ(total.back(), 100);
    EXPECT_EQ(std::count(file.begin(), file.end(), 100), 2);
    EXPECT_GT(pumped, 100);  // at least once per output buffer
    // Without DoProcessMessages the pump is left alone.
    TZipWriter quiet;
    quiet.SetZipName(dir.file("q.zip"));
    quiet.DoProcessMessages = false;
    quiet.OnProcessMessages = [&] { ADD_FAILURE() << "pumped"; };
    quiet.AddFile(dir.file("small.cub"));
    EXPECT_EQ(quiet.ZipFiles(), 1);
}

TEST(ZipWriterOptions, SingleFileReplacesTheArchiveAndKeepsOddNames) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    const std::string cube = root + "Umsatz \xE2\x82\xAC.cub";  // the euro sign is not in code page 437
    cbtest::writeFile(cube, MakeCubeLike(50000));
    cbtest::writeFile(root + "old.txt", "old");
    const std::string archive = root + "copy.zip";
    {
        TZipWriter zip;
        zip.SetZipName(archive);
        zip.AddFile(root + "old.txt");
        zip.ZipFiles();
    }
    ZipSingleFile(cube, archive, "pw");
    std::string out;
    ASSERT_EQ(RunPython("import zipfile\n"
                        "z = zipfile.ZipFile(" +
                            Quote(archive) +
                            ")\n"
                            "z.setpassword(b'pw')\n"
                            "print(z.testzip(), [i.filename for i in z.infolist()], len(z.read(z.infolist()[0])))\n",
                        &out),
              0)
        << out;
    EXPECT_EQ(out, "None ['Umsatz \xE2\x82\xAC.cub'] 50000\n");
    EXPECT_EQ(cbtest::runCommand("unzip -t -P pw " + Quote(archive), &out), 0) << out;
    EXPECT_THROW(ZipSingleFile(root + "missing.cub", archive, ""), EZipError);
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 3);  // the cube, old.txt and the archive: nothing left over
}

TEST(ZipWriterOptions, EncryptHandlerReceivesEveryDataBuffer) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("d.cub"), MakeCubeLike(100000));
    TZipWriter zip;
    zip.SetZipName(dir.file("e.zip"));
    zip.Password = "pw";
    std::size_t seen = 0;
    zip.OnEncrypt = [&](std::uint8_t*, std::size_t n, const std::string& password) {
        EXPECT_EQ(password, "pw");
        seen += n;
    };
    zip.AddFile(dir.file("d.cub"));
    ASSERT_EQ(zip.ZipFiles(), 1);
    // The 12-byte header is always the built-in cipher's.
    EXPECT_EQ(seen + 12, zip.Entry(0).CompressedSize);
}
