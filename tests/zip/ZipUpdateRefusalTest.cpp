// Updates that would drop or mix data are refused and leave the archive as
// it was: another password than the entries', a directory that does not add
// up, more entries than the format without ZIP64 holds; and the archive's
// place follows the program's one rule (links followed, FIFOs refused).
#include "platform/rtl/Strings.h"
#include "tests/common/TestSupport.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipErrors.h"
#include "zip/ZipReader.h"
#include "zip/ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace cb::zip;
using namespace ziptest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(dir)) r.push_back(e.path().filename());
    std::sort(r.begin(), r.end());
    return r;
}

std::string Error(const std::function<void()>& f) {
    try {
        f();
    } catch (const EZipError& e) {
        return e.what();
    }
    return {};
}

int Update(const std::string& archive, const std::string& file, const std::string& password) {
    TZipWriter zip;
    zip.SetZipName(archive);
    zip.Password = password;
    zip.FilesList() = {file};
    return zip.ZipFiles();
}

// An archive written by Python: one stored entry "a.txt" at offset 0, then
// a central directory of `count` records that all point at it, named
// "a.txt" (same) or "e<i>.txt" (distinct).
std::string BrokenDirectory(const cbtest::TempDir& dir, const std::string& name, int count, bool sameName) {
    const std::string path = dir.file(name);
    const std::string script = R"(
import struct, zlib
path, count, same = PATH, COUNT, SAME
data = b"hello"
crc = zlib.crc32(data)
local = struct.pack("<IHHHHHIIIHH", 0x04034b50, 20, 0, 0, 0, 0x21, crc, 5, 5, 5, 0) + b"a.txt" + data
central = bytearray()
for i in range(count):
    n = b"a.txt" if same else ("e%d.txt" % i).encode()
    central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014b50, 20, 20, 0, 0, 0, 0x21, crc, 5, 5,
                           len(n), 0, 0, 0, 0, 0, 0) + n
end = struct.pack("<IHHHHIIH", 0x06054b50, 0, 0, count & 0xFFFF, count & 0xFFFF, len(central), len(local), 0)
open(path, "wb").write(local + central + end)
)";
    std::string code = script;
    code.replace(code.find("PATH"), 4, "'" + path + "'");
    code.replace(code.find("COUNT"), 5, std::to_string(count));
    code.replace(code.find("SAME"), 4, sameName ? "True" : "False");
    std::string out;
    EXPECT_EQ(RunPython(code, &out), 0) << out;
    return path;
}

}  // namespace

// Kept entries are copied as they are: an update whose password does not
// open them is refused, naming the entry, and nothing changes.
TEST(ZipUpdateRefusal, AnotherPasswordThanTheEntriesIsRefused) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("a.txt"), MakeText(5000));
    cbtest::writeFile(dir.file("b.txt"), MakeText(3000, 7));
    struct Case {
        const char* name;
        std::string first, update;
        std::string error;  // empty: the update succeeds
    };
    const Case cases[] = {
        {"another password", "one", "two", "entry \"a.txt\" is encrypted with another password"},
        {"no password", "one", "", "entry \"a.txt\" is encrypted with another password"},
        {"the same password", "one", "one", ""},
        {"a plain archive takes encrypted entries", "", "two", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string archive = dir.file("a.zip");
        fs::remove(archive);
        ASSERT_EQ(Update(archive, dir.file("a.txt"), c.first), 1);
        const std::string before = cbtest::readFile(archive);
        const std::string error = Error([&] { Update(archive, dir.file("b.txt"), c.update); });
        if (c.error.empty()) {
            EXPECT_EQ(error, "");
            TZipReader r;
            r.SetZipName(archive);
            r.OpenArchive();
            EXPECT_EQ(r.Count(), 2);
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            EXPECT_EQ(cbtest::readFile(archive), before);
        }
        EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"a.txt", "a.zip", "b.txt"}));
    }
}

// An archive whose directory does not add up is listed as well as it can be
// and never updated: the update would drop what the listing lost.
TEST(ZipUpdateRefusal, DirectoryThatDoesNotAddUpIsNotUpdated) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("b.txt"), "new file");
    struct Case {
        const char* name;
        int count;
        bool sameName;
        int listed;
        const char* error;
    };
    const Case cases[] = {
        {"60,000 records of one entry", 60000, true, 1, "rebuilt from 1 local headers (its end record counts 60000"},
        {"three names at one local header", 3, false, 1, "rebuilt from 1 local headers (its end record counts 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string archive = BrokenDirectory(dir, "broken.zip", c.count, c.sameName);
        const std::string before = cbtest::readFile(archive);
        TZipReader r;
        r.SetZipName(archive);
        r.IncompleteZipMode = TIncompleteZipMode::izAssumeBad;
        r.OpenArchive();
        EXPECT_EQ(r.Count(), c.listed);
        EXPECT_NE(r.DirectoryFault(), "");
        const std::string error = Error([&] { Update(archive, dir.file("b.txt"), ""); });
        EXPECT_NE(error.find("Cannot update the archive"), std::string::npos) << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_EQ(cbtest::readFile(archive), before);
        fs::remove(archive);
        EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"b.txt"}));
    }
    // A sound archive reports no fault.
    const std::string good = dir.file("good.zip");
    ASSERT_EQ(Update(good, dir.file("b.txt"), ""), 1);
    TZipReader r;
    r.SetZipName(good);
    r.OpenArchive();
    EXPECT_EQ(r.DirectoryFault(), "");
}

// More than 65,535 entries need ZIP64, which is not read: an error says so
// instead of a listing of 65,535.
TEST(ZipUpdateRefusal, MoreThan65535EntriesSaySo) {
    cbtest::TempDir dir;
    const std::string archive = dir.file("many.zip");
    std::string out;
    ASSERT_EQ(RunPython("import zipfile\n"
                        "with zipfile.ZipFile('" +
                            archive +
                            "', 'w') as z:\n"
                            "    for i in range(65536): z.writestr('f%d' % i, b'')\n",
                        &out),
              0)
        << out;
    TZipReader r;
    r.SetZipName(archive);
    try {
        r.OpenArchive();
        ADD_FAILURE() << "listed " << r.Count() << " entries";
    } catch (const EZipTooLarge& e) {
        EXPECT_NE(std::string(e.what()).find("more than 65,535 entries"), std::string::npos) << e.what();
    }
}

// ZipSingleFile follows the program's rule for every file it writes: a
// link is followed and the file it names replaced; a FIFO or a folder is
// refused and stays.
TEST(ZipUpdateRefusal, SingleFileFollowsLinksAndRefusesFifos) {
    cbtest::TempDir dir;
    const std::string source = dir.file("cube.cub");
    cbtest::writeFile(source, MakeCubeLike(20000));
    fs::create_directories(dir.file("real"));
    cbtest::writeFile(dir.file("real/old.zip"), "old archive");
    fs::create_symlink("real/old.zip", dir.file("link.zip"));
    fs::create_symlink("real/new.zip", dir.file("dangling.zip"));
    ASSERT_EQ(::mkfifo(dir.file("fifo.zip").c_str(), 0644), 0);
    fs::create_directories(dir.file("folder.zip"));
    struct Case {
        const char* name;
        std::string archive;
        std::string written;  // the file that then holds the archive; empty: refused
    };
    const Case cases[] = {
        {"a link to a file", dir.file("link.zip"), dir.file("real/old.zip")},
        {"a dangling link", dir.file("dangling.zip"), dir.file("real/new.zip")},
        {"a FIFO", dir.file("fifo.zip"), ""},
        {"a folder", dir.file("folder.zip"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string error = Error([&] { ZipSingleFile(source, c.archive, "pw"); });
        if (c.written.empty()) {
            EXPECT_NE(error.find("Cannot write the archive"), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(error, "");
        EXPECT_TRUE(fs::is_symlink(c.archive));
        TZipReader r;
        r.SetZipName(c.written);
        r.OpenArchive();
        ASSERT_EQ(r.Count(), 1);
        EXPECT_EQ(r.Entry(0).FullName(), "cube.cub");
    }
    EXPECT_TRUE(fs::is_fifo(dir.file("fifo.zip")));
    EXPECT_TRUE(fs::is_directory(dir.file("folder.zip")));
    EXPECT_EQ(Entries(dir.path()),
              (std::vector<std::string>{"cube.cub", "dangling.zip", "fifo.zip", "folder.zip", "link.zip", "real"}));
    EXPECT_EQ(Entries(dir.file("real")), (std::vector<std::string>{"new.zip", "old.zip"}));
}
