#include "extras/KitBlend.h"

namespace cb::extras {

namespace {

TColor32 Combine(TColor32 X, TColor32 Y, unsigned W) {
    if (W >= 255) return X;
    if (W == 0) return Y;
    TColor32 out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const unsigned x = X >> shift & 0xFF, y = Y >> shift & 0xFF;
        out |= TColor32((x * W + y * (255 - W) + 0x80) >> 8) << shift;
    }
    return out;
}

void CombineM(TColor32 F, TColor32& B, unsigned W) {
    B = Combine(F, B, W);
}
TColor32 Blend(TColor32 F, TColor32 B) {
    return Combine(F, B, F >> 24);
}
void BlendM(TColor32 F, TColor32& B) {
    B = Blend(F, B);
}
TColor32 BlendEx(TColor32 F, TColor32 B, unsigned M) {
    return Combine(F, B, (F >> 24) * M / 256);
}
void BlendMEx(TColor32 F, TColor32& B, unsigned M) {
    B = BlendEx(F, B, M);
}

void Line(const TColor32* src, TColor32* dst, int count) {
    for (int i = 0; i < count; ++i) dst[i] = Blend(src[i], dst[i]);
}

void LineEx(const TColor32* src, TColor32* dst, int count, unsigned M) {
    for (int i = 0; i < count; ++i) dst[i] = BlendEx(src[i], dst[i], M);
}

const TBlendRoutines Portable = {Combine, CombineM, Blend, BlendM, BlendEx, BlendMEx, Line, LineEx};

TBlendRoutines& Current() {
    static TBlendRoutines routines = Portable;
    return routines;
}

std::unique_ptr<TAlphaTable>& Table() {
    static std::unique_ptr<TAlphaTable> table;
    return table;
}

}  // namespace

const TBlendRoutines& BlendRoutines() {
    return Current();
}
const TAlphaTable* AlphaTable() {
    return Table().get();
}

void BlendRoutinesSetup(bool MMX) {
    // One portable set serves with and without MMX: the compiler vectorises
    // it; the table stays for code that reads it.
    Current() = Portable;
    if (MMX) {
        auto table = std::make_unique<TAlphaTable>();
        for (unsigned w = 0; w < 256; ++w) (*table)[w].fill(std::uint16_t(w));
        Table() = std::move(table);
    }
}

void BlendRoutinesCleanup() {
    Table().reset();
}

}  // namespace cb::extras
