#include "platform/rtl/FileIO.h"
#include "platform/rtl/Streams.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/RtlTestSupport.h"

#include <gtest/gtest.h>

using namespace cb::rtl;

using rtltest::FileSizeLimit;
using rtltest::FolderEntries;

TEST(RtlStreams, LittleEndianValuesRoundTripAndShortReadThrows) {
    TMemoryStream m;
    m.WriteU8(0xAB);
    m.WriteU16(0x1234);
    m.WriteU32(0xDEADBEEF);
    m.WriteU64(0x0102030405060708ull);
    m.WriteI32(-2);
    m.WriteDouble(-1.5);
    m.WriteFloat32(0.25f);
    ASSERT_EQ(m.Size(), 1 + 2 + 4 + 8 + 4 + 8 + 4);
    const std::uint8_t* p = m.Memory();
    EXPECT_EQ(p[1], 0x34);  // low byte first
    EXPECT_EQ(p[3], 0xEF);
    EXPECT_EQ(p[7], 0x08);
    m.SetPosition(0);
    EXPECT_EQ(m.ReadU8(), 0xAB);
    EXPECT_EQ(m.ReadU16(), 0x1234);
    EXPECT_EQ(m.ReadU32(), 0xDEADBEEFu);
    EXPECT_EQ(m.ReadU64(), 0x0102030405060708ull);
    EXPECT_EQ(m.ReadI32(), -2);
    EXPECT_EQ(m.ReadDouble(), -1.5);
    EXPECT_EQ(m.ReadFloat32(), 0.25f);
    EXPECT_THROW(m.ReadU8(), EReadError);
    m.SetPosition(m.Size() - 2);
    EXPECT_THROW(m.ReadU32(), EReadError);
    EXPECT_THROW(m.ReadString(1000000000), EReadError);  // no huge allocation first
}

TEST(RtlStreams, MemorySeekPastEndAndSetSize) {
    TMemoryStream m;
    m.WriteBuffer("abc");
    EXPECT_EQ(m.Seek(5, TSeekOrigin::soEnd), 8);
    char c;
    EXPECT_EQ(m.Read(&c, 1), 0u);
    EXPECT_EQ(m.Size(), 3);  // seeking alone does not grow
    m.WriteBuffer("z");
    EXPECT_EQ(m.DataSize(), 9u);
    EXPECT_EQ(m.View(), std::string_view("abc\0\0\0\0\0z", 9));
    m.SetSize(2);
    EXPECT_EQ(m.Position(), 2);  // clamped to the new end
    m.SetSize(4);
    EXPECT_EQ(m.View(), std::string_view("ab\0\0", 4));
    EXPECT_EQ(m.Seek(-1, TSeekOrigin::soCurrent), 1);
    EXPECT_THROW(m.Seek(-2, TSeekOrigin::soCurrent), EStreamError);
    EXPECT_THROW(m.SetSize(-1), EStreamError);

    TStringStream s("hello world");
    TMemoryStream copy;
    s.SetPosition(6);
    EXPECT_EQ(copy.CopyFrom(s, 3), 3);
    EXPECT_EQ(copy.View(), "wor");
    EXPECT_EQ(copy.CopyFrom(s, 0), 11);  // whole source
    EXPECT_EQ(copy.View(), "worhello world");
    EXPECT_THROW(copy.CopyFrom(s, 1), EReadError);
}

TEST(RtlStreams, FileStreamErrorsNameTheFileAndReason) {
    cbtest::TempDir dir;
    const std::string missing = dir.file("nope.bin");
    try {
        TFileStream f(missing, TFileMode::fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(missing), std::string::npos);
        EXPECT_NE(e.Message().find("No such file"), std::string::npos);
    }
    EXPECT_THROW(TFileStream(dir.file("no/such/dir.bin"), TFileMode::fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(dir.path().string(), TFileMode::fmOpenRead), EFOpenError);

    const std::string fn = dir.file("a.bin");
    {
        TFileStream f(fn, TFileMode::fmCreate);
        f.WriteU32(7);
        f.WriteBuffer("xyz");
        f.SetSize(5);
        EXPECT_EQ(f.Position(), 5);
        EXPECT_EQ(f.Size(), 5);
    }
    {
        TFileStream f(fn, TFileMode::fmOpenRead);
        EXPECT_EQ(f.ReadU32(), 7u);
        EXPECT_EQ(f.ReadString(1), "x");
        EXPECT_THROW(f.ReadU8(), EReadError);
        EXPECT_THROW(f.WriteU8(1), EWriteError);  // opened for reading
    }
    TFileStream full("/dev/full", TFileMode::fmOpenWrite);
    try {
        full.WriteBuffer("data");
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_NE(e.Message().find("No space left"), std::string::npos) << e.Message();
    }
}

TEST(RtlStreams, AtomicWriterReplacesOnlyOnCommit) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("out.dat");
    cbtest::writeFile(fn, "old");
    {
        TAtomicFileStream w(fn);
        w.WriteBuffer("new data");
        EXPECT_EQ(cbtest::readFile(fn), "old");
    }  // not committed
    EXPECT_EQ(cbtest::readFile(fn), "old");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.dat"});

    std::string big(200000, 'q');
    {
        TAtomicFileStream w(fn);
        w.WriteU32(0);  // patched below
        w.WriteBuffer(big);
        w.WriteBuffer("tail");
        w.SetPosition(0);
        w.WriteU32(static_cast<std::uint32_t>(big.size()));
        w.Seek(0, TSeekOrigin::soEnd);
        EXPECT_EQ(w.Position(), 4 + 200000 + 4);
        w.Commit();
    }
    std::string got = cbtest::readFile(fn);
    ASSERT_EQ(got.size(), 200008u);
    EXPECT_EQ(static_cast<unsigned char>(got[0]) | static_cast<unsigned char>(got[1]) << 8 |
                  static_cast<unsigned char>(got[2]) << 16,
              200000);
    EXPECT_EQ(got.substr(got.size() - 4), "tail");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.dat"});
}

TEST(RtlStreams, FailedAtomicWriteLeavesOldFileIntact) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("keep.ini");
    cbtest::writeFile(fn, "[Old]\r\nA=1\r\n");
    {
        FileSizeLimit limit(1000);
        try {
            WriteFileAtomic(fn, std::string(100000, 'x'));
            FAIL();
        } catch (const EInOutError& e) {
            EXPECT_NE(e.Message().find(fn), std::string::npos);
            EXPECT_NE(e.Message().find("too large"), std::string::npos) << e.Message();
        }
        TMemoryStream m;
        m.SetSize(5000);
        EXPECT_THROW(m.SaveToFile(fn), EInOutError);
    }
    EXPECT_EQ(cbtest::readFile(fn), "[Old]\r\nA=1\r\n");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"keep.ini"});
    EXPECT_THROW(WriteFileAtomic(dir.file("missing/x.ini"), "a"), EInOutError);
}

TEST(RtlStreams, MemoryStreamFilesAndCaps) {
    cbtest::TempDir dir;
    const std::string fn = dir.file("m.bin");
    TStringStream s(std::string("a\0b", 3));
    s.SaveToFile(fn);
    TMemoryStream m;
    m.LoadFromFile(fn);
    EXPECT_EQ(m.View(), std::string_view("a\0b", 3));
    EXPECT_EQ(m.Position(), 0);
    EXPECT_THROW(m.LoadFromFile(fn, 2), EInOutError);
    EXPECT_THROW(m.LoadFromFile(dir.file("none")), EFOpenError);
}
