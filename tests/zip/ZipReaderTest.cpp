// The reader on archives made by zip and by Python, damaged copies and
// hostile names.
#include "zip/ZipReader.h"
#include "tests/common/TestSupport.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace cb::zip;
using namespace ziptest;

namespace {

std::vector<std::string> Names(TZipReader& R) {
    std::vector<std::string> n;
    for (int i = 0; i < R.Count(); ++i) n.push_back(R.Entry(i).FullName());
    return n;
}

void MakeWithZip(const std::string& Dir, const std::string& Args) {
    std::string out;
    ASSERT_EQ(cbtest::runCommand("cd " + Quote(Dir) + " && " + Args + " 2>&1", &out), 0) << out;
}

}  // namespace

TEST(ZipReader, ReadsArchivesMadeByZip) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    std::filesystem::create_directories(root + "docs");
    cbtest::writeFile(root + "docs/a.txt", MakeText(20000));
    cbtest::writeFile(root + "docs/b.bin", MakeRandom(5000));
    struct TCase {
        const char* Name;
        std::string Command;
        std::vector<std::string> Entries;
        std::string Comment;
    };
    const TCase cases[] = {
        {"plain with extra fields", "zip -q -r plain.zip docs", {"docs/", "docs/a.txt", "docs/b.bin"}, ""},
        {"no extra fields", "zip -q -X -r noextra.zip docs", {"docs/", "docs/a.txt", "docs/b.bin"}, ""},
        {"password", "zip -q -P pw -r pw.zip docs", {"docs/", "docs/a.txt", "docs/b.bin"}, ""},
        {"data descriptor", "cat docs/a.txt | zip -q - - | cat > dd.zip", {"-"}, ""},
        {"comment",
         "zip -q -r c.zip docs && echo 'the archive comment' | zip -q -z c.zip",
         {"docs/", "docs/a.txt", "docs/b.bin"},
         "the archive comment"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        MakeWithZip(root, c.Command);
    }
    const std::pair<const char*, std::string> files[] = {
        {"plain.zip", ""}, {"noextra.zip", ""}, {"pw.zip", ""}, {"dd.zip", ""}, {"c.zip", "the archive comment"}};
    for (std::size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(files[i].first);
        TZipReader r;
        r.SetZipName(root + files[i].first);
        r.OpenArchive();
        auto names = Names(r);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, cases[i].Entries);
        EXPECT_EQ(r.ZipComment(), files[i].second);
        const std::string name = files[i].first;
        if (name == "pw.zip") {
            EXPECT_EQ(r.Entry(1).Flags & 1, 1);
        } else if (name == "dd.zip") {
            EXPECT_EQ(r.Entry(0).Flags & 8, 8);
        } else if (name == "plain.zip") {
            EXPECT_GT(r.Entry(1).CentralExtraLength, 0);
        }
        r.CloseArchive();
    }
}

TEST(ZipReader, LongCommentsAndEntryComments) {
    cbtest::TempDir dir;
    const std::string archive = dir.file("c.zip");
    std::string out;
    const int rc = RunPython("import zipfile\n"
                             "z = zipfile.ZipFile(" +
                                 Quote(archive) +
                                 ", 'w')\n"
                                 "i = zipfile.ZipInfo('x.txt')\n"
                                 "i.comment = b'entry note'\n"
                                 "z.writestr(i, 'data')\n"
                                 // A stray end signature inside the comment is not the record.
                                 "z.comment = b'PK\\x05\\x06' + b'c' * 65531\n"
                                 "z.close()\n",
                             &out);
    ASSERT_EQ(rc, 0) << out;
    TZipReader r;
    r.SetZipName(archive);
    r.OpenArchive();
    ASSERT_EQ(r.Count(), 1);
    EXPECT_EQ(r.ZipComment().size(), 65535u);
    EXPECT_EQ(r.EntryComment(0), "entry note");
    EXPECT_THROW(r.EntryComment(1), cb::rtl::EListError);
}

TEST(ZipReader, Utf8AndForeignHostNamesSurviveAnUpdate) {
    cbtest::TempDir dir;
    const std::string archive = dir.file("n.zip");
    std::string out;
    ASSERT_EQ(RunPython("import zipfile\n"
                        "z = zipfile.ZipFile(" +
                            Quote(archive) +
                            ", 'w')\n"
                            "z.writestr('caf\u00e9/\u20ac.txt', 'euro')\n"
                            "z.close()\n",
                        &out),
              0)
        << out;
    TZipReader r;
    r.SetZipName(archive);
    r.OpenArchive();
    ASSERT_EQ(r.Count(), 1);
    EXPECT_EQ(r.Entry(0).FullName(), "caf\xC3\xA9/\xE2\x82\xAC.txt");
    r.CloseArchive();
    cbtest::writeFile(dir.file("plain.txt"), "plain");
    TZipWriter w;
    w.SetZipName(archive);
    w.AddFile(dir.file("plain.txt"));
    EXPECT_EQ(w.ZipFiles(), 1);
    ASSERT_EQ(
        RunPython("import zipfile\n"
                  "z = zipfile.ZipFile(" +
                      Quote(archive) +
                      ")\n"
                      "print(z.testzip())\n"
                      "print(sorted(i.filename for i in z.infolist()) == ['caf\u00e9/\u20ac.txt', 'plain.txt'])\n",
                  &out),
        0)
        << out;
    EXPECT_EQ(out, "None\nTrue\n");
}

TEST(ZipReader, EmptyShortAndTruncatedFiles) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("empty.zip"), "");
    {
        TZipReader r;
        r.SetZipName(dir.file("empty.zip"));
        r.OpenArchive();
        EXPECT_EQ(r.Count(), 0);
    }
    cbtest::writeFile(dir.file("short.zip"), "PK\x05\x06");
    {
        TZipReader r;
        r.SetZipName(dir.file("short.zip"));
        EXPECT_THROW(r.OpenArchive(), EIncompleteZip);
        r.IncompleteZipMode = TIncompleteZipMode::izAssumeNotAZip;
        EXPECT_THROW(r.OpenArchive(), ENotAZipFile);
    }
    // An archive cut before its end record: incomplete by default, rebuilt
    // from the local headers when asked.
    const std::string root = dir.path().string() + "/";
    for (const char* n : {"one.txt", "two.txt", "three.txt"}) cbtest::writeFile(root + n, MakeText(3000, n[1]));
    std::string out;
    ASSERT_EQ(cbtest::runCommand("cd " + Quote(root) + " && zip -q -X full.zip one.txt two.txt three.txt", &out), 0);
    const std::string full = cbtest::readFile(root + "full.zip");
    for (std::size_t cut : {full.size() - 10, full.size() - 60, full.size() / 2}) {
        SCOPED_TRACE(cut);
        cbtest::writeFile(root + "cut.zip", full.substr(0, cut));
        TZipReader r;
        r.SetZipName(root + "cut.zip");
        EXPECT_THROW(r.OpenArchive(), EIncompleteZip);
        TIncompleteZipMode asked = TIncompleteZipMode::izAssumeMulti;
        r.OnInCompleteZip = [&](TIncompleteZipMode& m) {
            asked = m;
            m = TIncompleteZipMode::izAssumeBad;
        };
        r.OpenArchive();
        EXPECT_EQ(asked, TIncompleteZipMode::izAssumeMulti);
        const auto names = Names(r);
        ASSERT_GE(names.size(), 1u);
        EXPECT_EQ(names[0], "one.txt");
        if (cut > full.size() - 100) {
            EXPECT_EQ(names, (std::vector<std::string>{"one.txt", "two.txt", "three.txt"}));
        }
    }
    // A self-extracting program is scanned from byte 14000 on.
    const std::string cutZip = full.substr(0, full.size() - 30);
    for (const std::size_t stub : {15000u, 100u}) {
        SCOPED_TRACE(stub);
        cbtest::writeFile(root + "sfx.exe", std::string(stub, 'M') + cutZip);
        TZipReader r;
        r.SetZipName(root + "sfx.exe");
        r.IncompleteZipMode = TIncompleteZipMode::izAssumeBad;
        if (stub > 14000) {
            r.OpenArchive();
            EXPECT_EQ(Names(r), (std::vector<std::string>{"one.txt", "two.txt", "three.txt"}));
            EXPECT_EQ(r.Entry(0).LocalHeaderOffset, stub);
        } else {
            EXPECT_THROW(r.OpenArchive(), EBadZipFile);
        }
    }
    // A valid end record that claims disk 1000 counts as none.
    std::string bad = full;
    bad[bad.size() - 22 + 4] = static_cast<char>(0xE8);
    bad[bad.size() - 22 + 5] = 0x03;
    cbtest::writeFile(root + "disk1000.zip", bad);
    TZipReader r;
    r.SetZipName(root + "disk1000.zip");
    EXPECT_THROW(r.OpenArchive(), EIncompleteZip);
}

TEST(ZipReader, RefusesUnsafeNames) {
    cbtest::TempDir dir;
    for (const char* name : {"../evil.txt", "/etc/evil", "a/../../b", "..\\\\win.txt", "C:/x"}) {
        SCOPED_TRACE(name);
        const std::string archive = dir.file("u.zip");
        std::string out;
        ASSERT_EQ(RunPython("import zipfile\n"
                            "z = zipfile.ZipFile(" +
                                Quote(archive) +
                                ", 'w')\n"
                                "i = zipfile.ZipInfo('ok.txt')\n"
                                "z.writestr(i, 'fine')\n"
                                "i = zipfile.ZipInfo('x')\n"
                                "i.filename = '" +
                                std::string(name) +
                                "'\n"
                                "z.writestr(i, 'bad')\n"
                                "z.close()\n",
                            &out),
                  0)
            << out;
        TZipReader r;
        r.SetZipName(archive);
        EXPECT_THROW(r.OpenArchive(), EBadZipFile);
        EXPECT_EQ(r.Count(), 0);
    }
    EXPECT_TRUE(TZipReader::IsSafeEntryName("dir/sub/file..txt"));
    EXPECT_TRUE(TZipReader::IsSafeEntryName("dir/"));
}

TEST(ZipReader, AcceptsDirectoryOffsetsBetweenTwoAndFourGiB) {
    // A sparse file: the central directory and end record lie past 2 GiB.
    cbtest::TempDir dir;
    const std::string archive = dir.file("big.zip");
    const std::uint32_t offset = 0x90000000u;  // 2.25 GiB
    cb::rtl::TMemoryStream tail;
    TZipHeaderInfo e;
    e.SetFileName("far.bin");
    e.Method = 0;
    e.CompressedSize = e.UncompressedSize = 10;
    e.LocalHeaderOffset = 0;
    e.WriteCentral(tail);
    TEndCentral end;
    end.TotalEntries = end.EntriesThisDisk = 1;
    end.DirectorySize = static_cast<std::uint32_t>(tail.Size());
    end.DirectoryOffset = offset;
    end.Write(tail);
    const int fd = ::open(archive.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, tail.Memory(), tail.DataSize(), offset), static_cast<ssize_t>(tail.DataSize()));
    ::close(fd);
    TZipReader r;
    r.SetZipName(archive);
    r.OpenArchive();
    ASSERT_EQ(r.Count(), 1);
    EXPECT_EQ(r.Entry(0).FileName(), "far.bin");
    EXPECT_EQ(r.EndCentral().DirectoryOffset, offset);
}

TEST(ZipReader, ReusesDirectoryUntilTheFileChanges) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("a.txt"), "a");
    const std::string archive = dir.file("r.zip");
    TZipWriter w;
    w.SetZipName(archive);
    w.AddFile(dir.file("a.txt"));
    w.ZipFiles();
    TZipReader r;
    r.SetZipName(archive);
    r.OpenArchive();
    const TZipHeaderInfo* first = &r.Entry(0);
    r.CloseArchive();
    r.OpenArchive();
    EXPECT_EQ(&r.Entry(0), first);
    cbtest::writeFile(dir.file("b.txt"), "b");
    TZipWriter w2;
    w2.SetZipName(archive);
    w2.AddFile(dir.file("b.txt"));
    w2.ZipFiles();
    r.CloseArchive();
    r.OpenArchive();
    EXPECT_EQ(r.Count(), 2);
    r.Sort(TZipSortMode::ByName);
    EXPECT_EQ(r.Entry(0).FileName(), "a.txt");
}

TEST(ZipReader, ExtraFieldClaimedButMissingIsTakenAsAbsent) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("a.txt"), "a");
    cbtest::writeFile(dir.file("b.txt"), "b");
    const std::string archive = dir.file("x.zip");
    TZipWriter w;
    w.SetZipName(archive);
    w.FilesList() = {dir.file("a.txt"), dir.file("b.txt")};
    ASSERT_EQ(w.ZipFiles(), 2);
    const std::uint32_t dirOffset = w.EndCentral().DirectoryOffset;
    std::string bytes = cbtest::readFile(archive);
    bytes[dirOffset + 30] = 4;  // the first central header claims 4 extra bytes
    cbtest::writeFile(archive, bytes);
    TZipReader r;
    r.SetZipName(archive);
    r.OpenArchive();
    EXPECT_EQ(Names(r), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(r.Entry(0).CentralExtraLength, 0);
}
