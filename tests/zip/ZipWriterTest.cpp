// Archives written by TZipWriter, checked by unzip, zipinfo, Python's
// zipfile and by our own reader.
#include "zip/ZipWriter.h"
#include "tests/common/TestSupport.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipErrors.h"

#include "zip/ZipUtils.h"
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace cb::zip;
using namespace ziptest;

namespace {

std::string Shell(const std::string& Cmd, int* Rc = nullptr) {
    std::string out;
    const int rc = cbtest::runCommand(Cmd + " 2>&1", &out);
    if (Rc) *Rc = rc;
    return out;
}

// Python's zipfile: prints name, size, CRC check and content hash per entry.
std::string PythonCheck(const std::string& Archive, const std::string& Password = {}) {
    std::string script = "import zipfile, hashlib, sys\n"
                         "z = zipfile.ZipFile(" +
                         Quote(Archive) +
                         ")\n"
                         "bad = z.testzip()\n"
                         "print('bad', bad)\n"
                         "for i in z.infolist():\n"
                         "    d = z.read(i.filename, pwd=" +
                         (Password.empty() ? std::string("None") : "b" + Quote(Password)) +
                         ")\n"
                         "    print(i.filename, i.compress_type, i.flag_bits, len(d), hashlib.md5(d).hexdigest())\n";
    // testzip needs the password too.
    if (!Password.empty()) script.insert(script.find("bad = "), "z.setpassword(b" + Quote(Password) + ")\n");
    std::string out;
    RunPython(script, &out);
    return out;
}

// Runs of blanks become one, so column widths do not matter.
std::string Squash(const std::string& S) {
    std::string r;
    for (char c : S)
        if (!(c == ' ' && !r.empty() && r.back() == ' ')) r += c;
    return r;
}

std::string Md5(const std::string& Data) {
    cbtest::TempDir d;
    cbtest::writeFile(d.file("x"), Data);
    std::string out = Shell("md5sum " + Quote(d.file("x")));
    return out.substr(0, 32);
}

}  // namespace

TEST(ZipWriter, OneFileAsTheCubeWizardZipsIt) {
    cbtest::TempDir dir;
    const std::string cube = dir.file("Sales copy.cub");
    const std::string data = MakeCubeLike(300000);
    cbtest::writeFile(cube, data);
    for (const std::string password : {"", "s3cret"}) {
        SCOPED_TRACE("password '" + password + "'");
        const std::string archive = dir.file(password.empty() ? "plain.zip" : "locked.zip");
        TZipWriter zip;
        zip.Password = password;
        zip.SetZipName(archive);
        zip.AddFile(cube);
        int completed = -1;
        zip.OnZipComplete = [&](int n) { completed = n; };
        EXPECT_EQ(zip.ZipFiles(), 1);
        EXPECT_EQ(completed, 1);
        EXPECT_TRUE(zip.FilesList().empty());

        int rc;
        const std::string test =
            Shell("unzip -t " + (password.empty() ? std::string() : "-P " + password + " ") + Quote(archive), &rc);
        EXPECT_EQ(rc, 0) << test;
        EXPECT_NE(test.find("OK"), std::string::npos) << test;

        const std::string info = Squash(Shell("zipinfo -v " + Quote(archive)));
        EXPECT_NE(info.find("file system or operating system of origin: MS-DOS, OS/2 or NT FAT"), std::string::npos)
            << info;
        EXPECT_NE(info.find("version of encoding software: 2.0"), std::string::npos);
        EXPECT_NE(info.find("minimum software version required to extract: 2.0"), std::string::npos);
        EXPECT_NE(info.find("compression method: deflated"), std::string::npos);
        EXPECT_NE(info.find("compression sub-type (deflation): normal"), std::string::npos);
        EXPECT_NE(info.find("extended local header: no"), std::string::npos);
        EXPECT_NE(
            info.find(password.empty() ? "file security status: not encrypted" : "file security status: encrypted"),
            std::string::npos);
        EXPECT_NE(info.find("MS-DOS file attributes (20 hex): arc"), std::string::npos) << info;
        EXPECT_NE(info.find("Sales copy.cub"), std::string::npos);
        EXPECT_NE(info.find("The central directory is 60 (000000000000003Ch) bytes long"), std::string::npos) << info;

        const std::string py = PythonCheck(archive, password);
        EXPECT_NE(py.find("bad None"), std::string::npos) << py;
        EXPECT_NE(py.find("Sales copy.cub 8 " + std::string(password.empty() ? "0" : "1") + " 300000 " + Md5(data)),
                  std::string::npos)
            << py;

        // The component now holds the new directory, as if it had read it.
        ASSERT_EQ(zip.Count(), 1);
        EXPECT_EQ(zip.Entry(0).FileName(), "Sales copy.cub");
        EXPECT_EQ(zip.Entry(0).UncompressedSize, 300000u);
        EXPECT_EQ(zip.Entry(0).Flags & 1, password.empty() ? 0 : 1);
    }
    // The usual permissions, not those of a private temporary file.
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("plain.zip").c_str(), &st), 0);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
    // The source stays; the caller deletes it.
    EXPECT_TRUE(GetFileInfo(cube).Exists);
}

TEST(ZipWriter, MethodsFlagsAndAttributesByLevel) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("text.txt"), MakeText(60000));
    cbtest::writeFile(dir.file("noise.bin"), MakeRandom(20000));
    cbtest::writeFile(dir.file("empty.dat"), "");
    struct TCase {
        int Level;
        const char* File;
        const char* Password;
        int Method;
        int Flags;
        int Internal;
    };
    const TCase cases[] = {
        {6, "text.txt", "", 8, 0, 1},  {9, "text.txt", "", 8, 2, 1},  {1, "text.txt", "", 8, 4, 1},
        {2, "noise.bin", "", 0, 4, 0}, {8, "noise.bin", "", 0, 2, 0}, {6, "noise.bin", "pw", 0, 1, 0},
        {0, "text.txt", "", 0, 0, 0},  {6, "empty.dat", "", 0, 0, 1}, {0, "empty.dat", "pw", 0, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.File) + " level " + std::to_string(c.Level) + " pw " + c.Password);
        const std::string archive = dir.file("t.zip");
        std::remove(archive.c_str());
        TZipWriter zip;
        zip.PackLevel = c.Level;
        zip.Password = c.Password;
        zip.SetZipName(archive);
        zip.AddFile(dir.file(c.File));
        ASSERT_EQ(zip.ZipFiles(), 1);
        const TZipHeaderInfo& e = zip.Entry(0);
        const std::string data = cbtest::readFile(dir.file(c.File));
        EXPECT_EQ(e.Method, c.Method);
        EXPECT_EQ(e.Flags, c.Flags);
        EXPECT_EQ(e.InternalAttributes, c.Internal);
        EXPECT_EQ(e.UncompressedSize, data.size());
        if (c.Method == 0) {
            EXPECT_EQ(e.CompressedSize, data.size() + (*c.Password ? 12 : 0));
        }
        int rc;
        const std::string test =
            Shell("unzip -t " + (*c.Password ? std::string("-P ") + c.Password + " " : "") + Quote(archive), &rc);
        EXPECT_EQ(rc, 0) << test;
    }
}

TEST(ZipWriter, NoCompressListDuplicatesAndMissingNames) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("a.txt"), MakeText(5000));
    cbtest::writeFile(dir.file("b.jpg"), MakeText(5000, 7));
    const std::string archive = dir.file("m.zip");
    TZipWriter zip;
    zip.SetZipName(archive);
    zip.NoCompressList = {"*.JPG"};
    std::vector<TSkipReason> skipped;
    std::vector<std::string> missing;
    zip.OnSkippingFile = [&](TSkipReason r, const std::string&, int, bool&) { skipped.push_back(r); };
    zip.OnNoSuchFile = [&](const std::string& n) { missing.push_back(n); };
    zip.FilesList() = {dir.file("a.txt"), dir.file("b.jpg"), dir.file("a.txt"), dir.file("gone.txt")};
    EXPECT_EQ(zip.ZipFiles(), 2);
    EXPECT_EQ(skipped, (std::vector<TSkipReason>{TSkipReason::srNoOverwrite}));
    EXPECT_EQ(missing, (std::vector<std::string>{dir.file("gone.txt")}));
    ASSERT_EQ(zip.Count(), 2);
    EXPECT_EQ(zip.Entry(1).FileName(), "b.jpg");
    EXPECT_EQ(zip.Entry(1).Method, 0);

    // Only a missing name: an archive of just the end record.
    const std::string empty = dir.file("empty.zip");
    TZipWriter z2;
    z2.SetZipName(empty);
    z2.FilesList() = {dir.file("nothing-here")};
    EXPECT_EQ(z2.ZipFiles(), 0);
    EXPECT_EQ(cbtest::readFile(empty), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    // A blank name touches nothing.
    TZipWriter z3;
    z3.FilesList() = {dir.file("a.txt")};
    EXPECT_EQ(z3.ZipFiles(), 0);
}

TEST(ZipWriter, WildcardsRecursionPathsAndLiteralNames) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    std::filesystem::create_directories(root + "src/sub/deeper");
    std::filesystem::create_directories(root + "src/skip");
    cbtest::writeFile(root + "src/one.txt", "one");
    cbtest::writeFile(root + "src/two.log", "two");
    cbtest::writeFile(root + "src/sub/three.txt", "three");
    cbtest::writeFile(root + "src/sub/deeper/four.txt", "four");
    cbtest::writeFile(root + "src/skip/five.txt", "five");
    cbtest::writeFile(root + "src/odd*name?.txt", "literal");
    cbtest::writeFile(root + "src/back\\slash.txt", "backslash");

    struct TCase {
        const char* Name;
        std::vector<std::string> Files;
        bool Recurse;
        std::vector<std::string> Exclude;
        std::vector<std::string> Expect;
    };
    const TCase cases[] = {
        {"recursive star-dot-star",
         {"src/*.*"},
         true,
         {},
         {"src/back\\slash.txt", "src/odd*name?.txt", "src/one.txt", "src/skip/five.txt", "src/sub/deeper/four.txt",
          "src/sub/three.txt", "src/two.log"}},
        {"bar stops recursion", {"|src/*.txt"}, true, {}, {"src/back\\slash.txt", "src/odd*name?.txt", "src/one.txt"}},
        {"greater-than forces it", {">src/*.log"}, false, {}, {"src/two.log"}},
        {"exclusions",
         {"src/*"},
         true,
         {"skip/*", "*.log", "*name*", "*slash*"},
         {"src/one.txt", "src/sub/deeper/four.txt", "src/sub/three.txt"}},
        {"wildcard folder level", {"src/*/*.txt"}, false, {}, {"src/skip/five.txt", "src/sub/three.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string archive = root + "w.zip";
        std::remove(archive.c_str());
        TZipWriter zip;
        zip.SetZipName(archive);
        zip.SetRootDir(root);
        zip.SetRelativePaths(true);
        zip.Recurse = c.Recurse;
        for (const auto& x : c.Exclude) zip.ExcludeList.push_back(x.find('/') == std::string::npos ? x : "*/" + x);
        for (const auto& f : c.Files)
            zip.FilesList().push_back(f[0] == '|' || f[0] == '>' ? f.substr(0, 1) + root + f.substr(1) : root + f);
        zip.ZipFiles();
        std::vector<std::string> names;
        for (int i = 0; i < zip.Count(); ++i) names.push_back(zip.Entry(i).FullName());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.Expect);
    }

    // Names with wildcard characters and backslashes, asked for one by one,
    // are taken literally and stored as they are.
    const std::string archive = root + "lit.zip";
    TZipWriter zip;
    zip.SetZipName(archive);
    zip.AddFile(root + "src/odd*name?.txt");
    zip.AddFile(root + "src/back\\slash.txt");
    zip.AddFile(root + "src/one.txt", "inside/renamed.txt");
    EXPECT_EQ(zip.ZipFiles(), 3);
    const std::string py = PythonCheck(archive);
    EXPECT_NE(py.find("odd*name?.txt 0 0 7"), std::string::npos) << py;
    EXPECT_NE(py.find("back\\slash.txt 0 0 9"), std::string::npos) << py;
    EXPECT_NE(py.find("inside/renamed.txt 0 0 3"), std::string::npos) << py;
}

TEST(ZipWriter, UpdateKeepsReplacesAndAppends) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) cbtest::writeFile(root + n, std::string("first ") + n);
    const std::string archive = root + "u.zip";
    {
        TZipWriter zip;
        zip.SetZipName(archive);
        zip.FilesList() = {root + "a.txt", root + "b.txt"};
        ASSERT_EQ(zip.ZipFiles(), 2);
        zip.SetZipComment("archive comment");
    }
    // Give the archive a comment through a python rewrite-free path: append with zip -z.
    ASSERT_EQ(cbtest::runCommand("echo 'kept comment' | zip -q -z " + Quote(archive)), 0);
    // b.txt becomes newer than its entry; a.txt older.
    cbtest::writeFile(root + "b.txt", "second b.txt, longer than before");
    const auto setTime = [](const std::string& f, std::time_t t) {
        struct timespec ts[2] = {{t, 0}, {t, 0}};
        utimensat(AT_FDCWD, f.c_str(), ts, 0);
    };
    setTime(root + "a.txt", std::time(nullptr) - 86400 * 10);
    setTime(root + "b.txt", std::time(nullptr) + 86400 * 10);
    TZipWriter zip;
    zip.SetZipName(archive);
    std::vector<std::pair<TUpdateAction, int>> updates;
    zip.OnUpdate = [&](TUpdateAction a, int i) { updates.emplace_back(a, i); };
    zip.FilesList() = {root + "c.txt", root + "b.txt", root + "a.txt"};
    EXPECT_EQ(zip.ZipFiles(), 2);  // b replaced, c added; a kept
    EXPECT_EQ(updates, (std::vector<std::pair<TUpdateAction, int>>{{TUpdateAction::uaKeeping, 0},
                                                                   {TUpdateAction::uaReplacing, 1}}));
    ASSERT_EQ(zip.Count(), 3);
    EXPECT_EQ(zip.Entry(0).FileName(), "a.txt");
    EXPECT_EQ(zip.Entry(1).FileName(), "b.txt");
    EXPECT_EQ(zip.Entry(2).FileName(), "c.txt");
    const std::string py = PythonCheck(archive);
    EXPECT_NE(py.find("bad None"), std::string::npos) << py;
    EXPECT_NE(py.find("b.txt 0 0 32"), std::string::npos) << py;
    int rc;
    const std::string list = Shell("unzip -z " + Quote(archive), &rc);
    EXPECT_NE(list.find("kept comment"), std::string::npos) << list;
    // No temporary file is left beside the archive.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.path().filename().string().find(".tmp-") != std::string::npos;
    EXPECT_EQ(files, 0);

    // zaReplace replaces whatever the date; zaFreshen adds nothing new.
    TZipWriter fresh;
    fresh.SetZipName(archive);
    fresh.ZipAction = TZipAction::zaReplace;
    fresh.FilesList() = {root + "a.txt"};
    EXPECT_EQ(fresh.ZipFiles(), 1);
    cbtest::writeFile(root + "d.txt", "new");
    TZipWriter freshen;
    freshen.SetZipName(archive);
    freshen.ZipAction = TZipAction::zaFreshen;
    freshen.FilesList() = {root + "d.txt"};
    EXPECT_EQ(freshen.ZipFiles(), 0);
    EXPECT_EQ(freshen.Count(), 3);
}

TEST(ZipWriter, KeptEntryWithDataDescriptorLosesItsFlag) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    const std::string archive = root + "dd.zip";
    // zip writes a data descriptor for data read from a pipe.
    ASSERT_EQ(cbtest::runCommand("cd " + Quote(root) + " && printf 'streamed data' | zip -q - - | cat > dd.zip"), 0);
    cbtest::writeFile(root + "new.txt", "appended");
    TZipWriter zip;
    zip.SetZipName(archive);
    zip.FilesList() = {root + "new.txt"};
    EXPECT_EQ(zip.ZipFiles(), 1);
    ASSERT_EQ(zip.Count(), 2);
    EXPECT_EQ(zip.Entry(0).Flags & 8, 0);
    const std::string py = PythonCheck(archive);
    EXPECT_NE(py.find("bad None"), std::string::npos) << py;
    EXPECT_NE(py.find("- 8 0 13"), std::string::npos) << py;
    int rc;
    Shell("unzip -t " + Quote(archive), &rc);
    EXPECT_EQ(rc, 0);
    const std::string info = Squash(Shell("zipinfo -v " + Quote(archive)));
    EXPECT_EQ(info.find("extended local header: yes"), std::string::npos) << info;

    // Encrypted entries check their password against the time when they
    // have a descriptor: such an entry keeps it (and the update, with the
    // same password, reads that check).
    const std::string locked = root + "locked.zip";
    ASSERT_EQ(
        cbtest::runCommand("cd " + Quote(root) + " && printf 'secret data' | zip -q -P pw - - | cat > locked.zip"), 0);
    TZipWriter z2;
    z2.Password = "pw";
    z2.SetZipName(locked);
    z2.FilesList() = {root + "new.txt"};
    EXPECT_EQ(z2.ZipFiles(), 1);
    EXPECT_EQ(z2.Entry(0).Flags & 9, 9);
    const std::string test = Shell("unzip -t -P pw " + Quote(locked), &rc);
    EXPECT_EQ(rc, 0) << test;
    const std::string py2 = PythonCheck(locked, "pw");
    EXPECT_NE(py2.find("bad None"), std::string::npos) << py2;
}
