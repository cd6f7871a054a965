#pragma once
// Enumerations and small types shared by the GIF block codec: compression,
// dithering and reduction kinds (stored as bytes in this order), paint and
// optimise options, and the event signatures.
#include <cstdint>
#include <functional>
#include <string>

namespace cb::gif {

enum TGIFCompressionMethod : std::uint8_t {
    cmLZW = 0,
    cmRLE = 1
};

enum TGIFDitherKind : std::uint8_t {
    dkNearest = 0,
    dkFloydSteinberg = 1,
    dkStucki = 2,
    dkSierra = 3,
    dkJaJuNI = 4,
    dkSteveArche = 5,
    dkBurkes = 6
};

enum TGIFReductionKind : std::uint8_t {
    rkNone = 0,
    rkWindows20 = 1,
    rkWindows256 = 2,
    rkWindowsGray = 3,
    rkMonochrome = 4,
    rkGrayScale = 5,
    rkNetscape = 6,
    rkQuantize = 7,
    rkQuantize256 = 8,
    rkCustomPalette = 9
};

// Bits of TGIFPaintOptions.
enum TGIFPaintOption : std::uint16_t {
    gpAsync = 1 << 0,
    gpTransparent = 1 << 1,
    gpAnimate = 1 << 2,
    gpLoop = 1 << 3,
    gpLoopForever = 1 << 4,
    gpValidateCanvas = 1 << 5,
    gpDirectDraw = 1 << 6,
    gpClearOnLoop = 1 << 7,
    gpTile = 1 << 8,
    gpDither = 1 << 9,
    gpAutoDither = 1 << 10
};
using TGIFPaintOptions = std::uint16_t;
constexpr TGIFPaintOptions kDefaultPaintOptions =
    gpAsync | gpTransparent | gpAnimate | gpLoop | gpDither | gpAutoDither;

// Bits of TGIFOptimizeOptions.
enum TGIFOptimizeOption : std::uint8_t {
    ofCropFrames = 1,
    ofMergeFrames = 2,
    ofCleanUp = 4,
    ofSortColors = 8,
    ofReduceColors = 16
};
using TGIFOptimizeOptions = std::uint8_t;

enum class TProgressStage {
    psStarting,
    psRunning,
    psEnding
};

// Sender is the block, list or image that reports.
using TGIFWarningEvent = std::function<void(const void* sender, int severity, const std::string& message)>;
using TGIFProgressEvent =
    std::function<void(const void* sender, TProgressStage stage, int percent, bool redraw, const std::string& message)>;

}  // namespace cb::gif
