#pragma once
// The workbook's shared string table: every distinct text once, in order of
// first use, written at the end as one SST record with its CONTINUE
// records. Record sizes are planned as texts are added, so the table is
// written in one pass.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cb::tabexport {

class TBiffOut;

class TsstStrings {
public:
    // The index of the text's entry; every call is one reference.
    std::uint32_t Add(std::string_view Text);
    void Write(TBiffOut& Out);

    std::uint32_t Total() const { return FTotal; }
    std::uint32_t Distinct() const { return std::uint32_t(FEntries.size()); }
    // Body sizes of the SST record and each CONTINUE record (valid after
    // Write, or with the open record's fill when called before).
    std::vector<std::uint32_t> RecordSizes() const;

private:
    void Plan(std::size_t Chars);
    void Grow();
    // Texts as given (UTF-8), converted when written.
    std::vector<std::string> FEntries;
    // Open-addressing index: hash and entry + 1 (0 = free) per slot.
    std::vector<std::uint64_t> FSlotHash;
    std::vector<std::uint32_t> FSlotEntry;
    std::vector<std::uint32_t> FSizes;
    std::size_t FFill = 8;
    std::uint32_t FTotal = 0;
};

}  // namespace cb::tabexport
