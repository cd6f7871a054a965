// The buffered stream: write batching, read-after-write, seeks, failures.
#include "zip/BufferStream.h"
#include "tests/common/TestSupport.h"
#include "zip/ZipErrors.h"

#include <gtest/gtest.h>

using namespace cb::zip;

namespace {

// Counts the writes it receives; refuses bytes beyond Limit.
class TCountingStream : public cb::rtl::TMemoryStream {
public:
    std::vector<std::size_t> Writes;
    std::size_t Limit = SIZE_MAX;
    std::size_t Write(const void* Buffer, std::size_t Count) override {
        Writes.push_back(Count);
        const std::size_t room =
            Limit > static_cast<std::size_t>(Size()) ? Limit - static_cast<std::size_t>(Size()) : 0;
        return TMemoryStream::Write(Buffer, std::min(Count, room));
    }
};

}  // namespace

TEST(BufferStream, WritesInWholeBuffersAndFlushesAtClose) {
    TCountingStream inner;
    {
        TS_BufferStream s(&inner, 8192);
        const std::string data(10000, 'x');
        EXPECT_EQ(s.Write(data.data(), data.size()), data.size());
        EXPECT_EQ(inner.Writes, (std::vector<std::size_t>{8192}));
        s.Close();
    }
    EXPECT_EQ(inner.Writes, (std::vector<std::size_t>{8192, 1808}));
}

TEST(BufferStream, ReadAfterWriteAndSeeksFromEnd) {
    cb::rtl::TMemoryStream inner;
    TS_BufferStream s(&inner, 64);
    const std::string data = "0123456789abcdefghij";
    s.Write(data.data(), data.size());
    // Reading without a seek first writes the pending bytes.
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0u);
    EXPECT_EQ(inner.Size(), 20);
    EXPECT_EQ(s.SeekOrigin(-10, 2), 10);
    EXPECT_EQ(s.SeekOrigin(10, 2), 10);
    ASSERT_EQ(s.Read(&c, 1), 1u);
    EXPECT_EQ(c, 'a');
    s.PutBack('A');
    ASSERT_EQ(s.Read(&c, 1), 1u);
    EXPECT_EQ(c, 'A');
    EXPECT_THROW(s.SeekOrigin(0, 3), cb::rtl::EStreamError);
    s.SeekOrigin(0, 0);
    EXPECT_THROW(s.PutBack('x'), cb::rtl::EStreamError);
}

TEST(BufferStream, ShortWriteRaisesAtClose) {
    TCountingStream inner;
    inner.Limit = 100;
    TS_BufferStream s(&inner, 64);
    const std::string data(90, 'y');
    s.Write(data.data(), data.size());
    s.Write(data.data(), data.size());
    EXPECT_THROW(s.Close(), ENotEnoughRoom);
}

TEST(BufferStream, FileStreamRoundTrip) {
    cbtest::TempDir dir;
    const std::string name = dir.file("f.bin");
    {
        TLFNFileStream out(name, TLFNMode::Create, true);
        out.WriteU32(0x01020304);
        out.WriteBuffer(std::string(20000, 'z'));
        out.Close();
    }
    TLFNFileStream in(name, TLFNMode::Read);
    EXPECT_EQ(in.Size(), 20004);
    EXPECT_EQ(in.ReadU32(), 0x01020304u);
    EXPECT_EQ(in.ReadString(20000), std::string(20000, 'z'));
}
