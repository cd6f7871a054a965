#pragma once
// Where BIFF records go: the record body assembled in one fixed buffer, and
// two outputs (memory for the workbook globals, a buffered temporary file
// for the worksheets) that remember positions for later patches.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace cb::rtl {
class TFileStream;
}

namespace cb::tabexport {

// Record ids.
namespace biff {
constexpr std::uint16_t BOF = 0x0809, EOFRec = 0x000A, CONTINUE = 0x003C, WRITEACCESS = 0x005C, CODEPAGE = 0x0042,
                        DSF = 0x0161, FNGROUPCOUNT = 0x009C, WINDOWPROTECT = 0x0019, PROTECT = 0x0012,
                        PASSWORD = 0x0013, PROT4REV = 0x01AF, PROT4REVPASS = 0x01BC, WINDOW1 = 0x003D, BACKUP = 0x0040,
                        HIDEOBJ = 0x008D, DATEMODE = 0x0022, PRECISION = 0x000E, REFRESHALL = 0x01B7, BOOKBOOL = 0x00DA,
                        FONT = 0x0031, FORMAT = 0x041E, XF = 0x00E0, STYLE = 0x0293, BOUNDSHEET = 0x0085,
                        COUNTRY = 0x008C, MSODRAWINGGROUP = 0x00EB, MSODRAWING = 0x00EC, OBJ = 0x005D, SST = 0x00FC,
                        CALCMODE = 0x000D, CALCCOUNT = 0x000C, REFMODE = 0x000F, ITERATION = 0x0011, DELTA = 0x0010,
                        SAVERECALC = 0x005F, PRINTHEADERS = 0x002A, PRINTGRIDLINES = 0x002B, GRIDSET = 0x0082,
                        GUTS = 0x0080, DEFCOLWIDTH = 0x0055, DEFAULTROWHEIGHT = 0x0225, WSBOOL = 0x0081,
                        HEADER = 0x0014, FOOTER = 0x0015, HCENTER = 0x0083, VCENTER = 0x0084, COLINFO = 0x007D,
                        DIMENSIONS = 0x0200, LABELSST = 0x00FD, NUMBER = 0x0203, BLANK = 0x0201, BOOLERR = 0x0205,
                        FORMULA = 0x0006, MERGEDCELLS = 0x00E5, WINDOW2 = 0x023E, SELECTION = 0x001D;
// The largest record body.
constexpr std::size_t MaxBody = 8224;
// The largest piece of a body that is split over CONTINUE records.
constexpr std::size_t MaxPiece = 8220;
}  // namespace biff

// One record body, at most biff::MaxBody bytes.
class TBiffBody {
public:
    void Clear() { FLength = 0; }
    std::size_t Length() const { return FLength; }
    const std::uint8_t* Data() const { return FData; }
    void U8(std::uint8_t V) { Put(&V, 1); }
    void U16(std::uint16_t V);
    void U32(std::uint32_t V);
    void F64(double V);
    void Zeros(std::size_t N);
    void Bytes(const void* Data, std::size_t N) { Put(Data, N); }
    void Utf16(std::u16string_view S);
    // Overwrites bytes already in the body.
    void SetU16(std::size_t Offset, std::uint16_t V);

private:
    void Put(const void* Data, std::size_t N);
    std::uint8_t FData[biff::MaxBody];
    std::size_t FLength = 0;
};

class TBiffOut {
public:
    virtual ~TBiffOut() = default;
    virtual void Put(const void* Data, std::size_t N) = 0;
    virtual std::uint64_t Position() const = 0;
    // Overwrites N bytes at an earlier position.
    virtual void Patch(std::uint64_t Pos, const void* Data, std::size_t N) = 0;

    void Record(std::uint16_t Id, const TBiffBody& Body);
    void Record(std::uint16_t Id, const void* Body, std::size_t N);
    void WordRecord(std::uint16_t Id, std::uint16_t Value);
    // A body of any length: the first 8220 bytes in the record, the rest in
    // CONTINUE records of at most 8220 bytes.
    void LongRecord(std::uint16_t Id, std::string_view Body);
};

class TBiffMemory : public TBiffOut {
public:
    void Put(const void* Data, std::size_t N) override;
    std::uint64_t Position() const override { return FData.size(); }
    void Patch(std::uint64_t Pos, const void* Data, std::size_t N) override;
    const std::string& Data() const { return FData; }

private:
    std::string FData;
};

// A temporary file of its own, removed when the object goes.
class TBiffSpill : public TBiffOut {
public:
    TBiffSpill();
    ~TBiffSpill() override;
    void Put(const void* Data, std::size_t N) override;
    std::uint64_t Position() const override { return FFlushed + FBuffer.size(); }
    void Patch(std::uint64_t Pos, const void* Data, std::size_t N) override;
    // Hands the whole contents to Sink in pieces.
    template <class F>
    void ReadAll(F&& Sink);

private:
    void Flush();
    void ReadChunks(void (*Sink)(void*, const void*, std::size_t), void* Context);
    std::string FFileName;
    std::unique_ptr<cb::rtl::TFileStream> FFile;
    std::string FBuffer;
    std::uint64_t FFlushed = 0;
};

template <class F>
void TBiffSpill::ReadAll(F&& Sink) {
    ReadChunks([](void* ctx, const void* data, std::size_t n) { (*static_cast<F*>(ctx))(data, n); }, &Sink);
}

}  // namespace cb::tabexport
