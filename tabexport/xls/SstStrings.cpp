#include "tabexport/xls/SstStrings.h"

#include "tabexport/core/TabExportTypes.h"
#include "tabexport/core/Utf.h"
#include "tabexport/xls/BiffStream.h"

#include <algorithm>
#include <functional>

namespace cb::tabexport {

namespace {
constexpr std::size_t KMax = biff::MaxBody;
// The largest character count of an SST entry.
constexpr std::size_t KMaxChars = 65535;
}  // namespace

std::uint32_t TsstStrings::Add(std::string_view Text) {
    if (FEntries.size() * 2 >= FSlotEntry.size()) Grow();
    std::uint64_t h = std::hash<std::string_view>()(Text);
    std::size_t mask = FSlotEntry.size() - 1;
    std::size_t slot = h & mask;
    for (; FSlotEntry[slot] != 0; slot = (slot + 1) & mask) {
        if (FSlotHash[slot] == h && FEntries[FSlotEntry[slot] - 1] == Text) {
            ++FTotal;
            return FSlotEntry[slot] - 1;
        }
    }
    std::size_t units = IsAscii(Text) ? Text.size() : Utf8ToUtf16(Text).size();
    if (units > KMaxChars)
        throw ETabExportError("A cell text of " + std::to_string(units) +
                              " characters is longer than an XLS cell holds (65535)");
    ++FTotal;
    Plan(units);
    FEntries.emplace_back(Text);
    FSlotHash[slot] = h;
    FSlotEntry[slot] = std::uint32_t(FEntries.size());
    return std::uint32_t(FEntries.size() - 1);
}

void TsstStrings::Grow() {
    std::size_t size = std::max<std::size_t>(FSlotEntry.size() * 2, 1024);
    std::vector<std::uint64_t> hashes(size);
    std::vector<std::uint32_t> entries(size, 0);
    for (std::size_t i = 0; i < FSlotEntry.size(); ++i) {
        if (FSlotEntry[i] == 0) continue;
        std::size_t slot = FSlotHash[i] & (size - 1);
        while (entries[slot] != 0) slot = (slot + 1) & (size - 1);
        hashes[slot] = FSlotHash[i];
        entries[slot] = FSlotEntry[i];
    }
    FSlotHash.swap(hashes);
    FSlotEntry.swap(entries);
}

void TsstStrings::Plan(std::size_t Chars) {
    std::size_t n = 3 + 2 * Chars;
    if (FFill + n > KMax) {
        FSizes.push_back(std::uint32_t(FFill));
        FFill = 0;
    }
    if (n <= KMax) {
        FFill += n;
        return;
    }
    // Split into parts of whole characters: the first with the 3-byte
    // header, each further one in a CONTINUE record behind its option byte.
    std::size_t left = Chars;
    std::size_t take = (KMax - 3) / 2;
    left -= take;
    FSizes.push_back(std::uint32_t(3 + 2 * take));
    for (;;) {
        take = std::min(left, (KMax - 1) / 2);
        left -= take;
        if (left == 0) {
            FFill = 1 + 2 * take;
            return;
        }
        FSizes.push_back(std::uint32_t(1 + 2 * take));
    }
}

std::vector<std::uint32_t> TsstStrings::RecordSizes() const {
    std::vector<std::uint32_t> sizes = FSizes;
    sizes.push_back(std::uint32_t(FFill));
    return sizes;
}

void TsstStrings::Write(TBiffOut& Out) {
    std::vector<std::uint32_t> sizes = RecordSizes();
    size_t next = 0;
    std::string body;  // the record being written
    auto emit = [&](std::uint16_t id) {
        if (body.size() != sizes[next])
            throw ETabExportError("Internal error: shared string record size differs from its plan");
        Out.Record(id, body.data(), body.size());
        body.clear();
        ++next;
    };
    auto u16 = [&](std::uint16_t v) {
        body += char(v & 0xFF);
        body += char(v >> 8);
    };
    auto u32 = [&](std::uint32_t v) {
        u16(std::uint16_t(v));
        u16(std::uint16_t(v >> 16));
    };
    std::uint16_t id = biff::SST;
    u32(FTotal);
    u32(Distinct());
    for (const auto& text : FEntries) {
        std::u16string e = Utf8ToUtf16(text);
        std::size_t n = 3 + 2 * e.size();
        if (body.size() + n > KMax) {
            emit(id);
            id = biff::CONTINUE;
        }
        u16(std::uint16_t(e.size()));
        body += char(1);
        if (n <= KMax) {
            for (char16_t c : e) u16(std::uint16_t(c));
            continue;
        }
        std::size_t pos = 0;
        std::size_t take = (KMax - 3) / 2;
        for (;;) {
            for (std::size_t k = 0; k < take; ++k) u16(std::uint16_t(e[pos + k]));
            pos += take;
            if (pos == e.size()) break;
            emit(id);
            id = biff::CONTINUE;
            body += char(1);
            take = std::min(e.size() - pos, (KMax - 1) / 2);
        }
    }
    emit(id);
}

}  // namespace cb::tabexport
