#pragma once
// Colour blending routines (chosen once at start-up) and the alpha table.
// Colours are 32-bit with the weight of the foreground in the top byte.
#include <array>
#include <cstdint>
#include <memory>

namespace cb::extras {

using TColor32 = std::uint32_t;

struct TBlendRoutines {
    // X at weight W over Y: X for W = 255, Y for W = 0.
    TColor32 (*CombineReg)(TColor32 X, TColor32 Y, unsigned W);
    void (*CombineMem)(TColor32 F, TColor32& B, unsigned W);
    // F over B with the weight of F's top byte.
    TColor32 (*BlendReg)(TColor32 F, TColor32 B);
    void (*BlendMem)(TColor32 F, TColor32& B);
    // The same with the weight times a master weight div 256.
    TColor32 (*BlendRegEx)(TColor32 F, TColor32 B, unsigned M);
    void (*BlendMemEx)(TColor32 F, TColor32& B, unsigned M);
    void (*BlendLine)(const TColor32* Src, TColor32* Dst, int Count);
    void (*BlendLineEx)(const TColor32* Src, TColor32* Dst, int Count, unsigned M);
};

// Each entry holds its weight four times as 16-bit values.
using TAlphaTable = std::array<std::array<std::uint16_t, 4>, 256>;

// The routines in use (the portable set until BlendRoutinesSetup ran).
const TBlendRoutines& BlendRoutines();
// The alpha table, built when the processor has MMX (nullptr otherwise).
const TAlphaTable* AlphaTable();
void BlendRoutinesSetup(bool MMX);
void BlendRoutinesCleanup();

}  // namespace cb::extras
