#pragma once
// The GIF picture of the chart export: a GIF87a/89a file held as a tree of
// blocks (header with the logical screen and global colour table, frames
// with their extensions, local tables and pixels as colour indexes). It is
// read eagerly, tolerating defects it reports as warnings, and written
// through the shared LZW encoder (or the run-length one).
//
// Writing a true-colour picture (a chart): assign or AddFrame a QImage or
// TBitmap. With ReductionKind rkNone a picture of at most 256 colours keeps
// its exact colours; one of more colours is quantised to 2^QuantizeBits
// colours with the octree (rkQuantize) and DitherKind instead of failing.
// Pick another ReductionKind to choose the palette yourself.
#include "gif/GIFColorMap.h"
#include "gif/GIFExtensions.h"
#include "gif/GIFTypes.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QImage;

namespace cb::gif {

class TGIFPainter;

// The decoded pixels of all frames of one image (and of one frame of the
// display class) are capped, 2^25 by default; a larger picture fails with
// "GIF image too large".
std::uint64_t GIFPixelLimit();
void SetGIFPixelLimit(std::uint64_t pixels);

class TGIFHeader {
public:
    explicit TGIFHeader(TGIFImage* image) : FImage(image), FColorMap(this) {}
    TGIFImage* Image() const { return FImage; }
    TGIFGlobalColorMap& ColorMap() { return FColorMap; }
    const TGIFGlobalColorMap& ColorMap() const { return FColorMap; }
    void Clear();
    // Logical screen descriptor fields.
    int Width = 0, Height = 0;
    std::uint8_t Packed = 0, BackgroundIndex = 0, AspectRatio = 0;
    int Version() const { return (FColorMap.Optimized() || AspectRatio != 0) ? 2 : 1; }
    cb::gfx::TColor BackgroundColor() const;

private:
    TGIFImage* FImage;
    TGIFGlobalColorMap FColorMap;
};

class TGIFSubImage {
public:
    explicit TGIFSubImage(TGIFImage* image);
    TGIFSubImage(const TGIFSubImage&) = delete;
    TGIFSubImage& operator=(const TGIFSubImage&) = delete;
    ~TGIFSubImage();

    TGIFImage* Image() const { return FImage; }
    void Clear();
    bool Empty() const { return FPixels.empty() || FWidth == 0 || FHeight == 0; }
    int Version() const;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);
    void SetBounds(int left, int top, int width, int height);
    bool Interlaced() const { return FPacked & 0x40; }
    void SetInterlaced(bool on);
    std::uint8_t Packed() const { return FPacked; }

    TGIFLocalColorMap& ColorMap() { return FColorMap; }
    const TGIFLocalColorMap& ColorMap() const { return FColorMap; }
    // The table the pixels refer to: local, else global, else the empty local.
    const TGIFColorMap& ActiveColorMap() const;
    TGIFColorMap& ActiveColorMap();

    // Pixels as colour indexes, rows from the top.
    std::uint8_t Pixel(int x, int y) const;
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    std::vector<std::uint8_t>& Pixels() { return FPixels; }
    const std::vector<std::uint8_t>& Pixels() const { return FPixels; }

    std::vector<std::unique_ptr<TGIFExtension>>& Extensions() { return FExtensions; }
    const std::vector<std::unique_ptr<TGIFExtension>>& Extensions() const { return FExtensions; }
    TGIFExtension* AddExtension(std::unique_ptr<TGIFExtension> e);
    void DeleteExtension(TGIFExtension* e);
    bool Transparent() const { return FTransparent; }
    TGIFGraphicControlExtension* GraphicControlExtension() const { return FGraphicControl; }

    void SaveToStream(cb::rtl::TStream& s) const;
    void LoadFromStream(cb::rtl::TStream& s);

    // Copies another frame (new objects throughout).
    void Assign(const TGIFSubImage& source);
    // Builds the frame from a picture (true colour is reduced, see TGIFImage).
    void Assign(const QImage& source);
    void Assign(const cb::gfx::TBitmap& source);

    // Rendering and drawing: the frame as an 8-bit image whose colour table
    // gives the transparent index alpha 0, so opaque pixels of the same
    // colour stay visible.
    const QImage& Bitmap();
    bool HasBitmap() const { return bool(FBitmap); }
    void FreeBitmap();
    bool HasMask();
    void FreeMask() { FMaskNeeded = true; }
    cb::gfx::TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    cb::gfx::TRect ScaledRect(const cb::gfx::TRect& target) const;
    void Draw(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& r, bool tile, bool transparent);
    void StretchDraw(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& r, bool tile, bool transparent);

    // Frame optimiser steps.
    void Merge(TGIFSubImage& previous);
    void Crop();

    void Warning(int severity, const std::string& message) const;

private:
    friend class TGIFGraphicControlExtension;
    friend class TGIFImage;
    void ResizePixels();
    void ApplyMask(const std::vector<std::uint8_t>& mask);
    void ImportTrueColor(const QImage& rgb);
    void Render();
    void RenderDithered();

    TGIFImage* FImage;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    std::uint8_t FPacked = 0;
    TGIFLocalColorMap FColorMap;
    std::vector<std::uint8_t> FPixels;
    std::vector<std::unique_ptr<TGIFExtension>> FExtensions;
    bool FTransparent = false;
    TGIFGraphicControlExtension* FGraphicControl = nullptr;
    std::unique_ptr<QImage> FBitmap;
    bool FMaskNeeded = true;
    bool FHasMask = false;
};

class TGIFImage : public cb::gfx::TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;

    void Reset();
    // A picture (QImage, TBitmap) or a frame; returns the new index.
    int AddFrame(const QImage& source);
    int AddFrame(const cb::gfx::TBitmap& source);
    int AddFrame(std::unique_ptr<TGIFSubImage> frame);
    void DeleteFrame(int index);
    int FrameCount() const { return int(FFrames.size()); }
    TGIFSubImage& Frame(int index) const { return *FFrames[std::size_t(index)]; }
    TGIFHeader& Header() { return FHeader; }
    const TGIFHeader& Header() const { return FHeader; }
    TGIFGlobalColorMap& GlobalColorMap() { return FHeader.ColorMap(); }
    const TGIFGlobalColorMap& GlobalColorMap() const { return FHeader.ColorMap(); }

    void Assign(const TGIFImage& source);
    void Assign(const QImage& source);
    void Assign(const cb::gfx::TBitmap& source);

    void SaveToStream(cb::rtl::TStream& s);
    void LoadFromStream(cb::rtl::TStream& s);
    // Form data: optimised first when OptimizeWhenStreamed is on.
    void WriteData(cb::rtl::TStream& s);
    void LoadFromFile(const std::string& fileName) override;
    void SaveToFile(const std::string& fileName) const override;  // written atomically

    // Clipboard data and the "gif" extension: GIFPictureFormats.h.

    int Width() const override { return FHeader.Width; }
    int Height() const override { return FHeader.Height; }
    void SetWidth(int w);
    void SetHeight(int h);
    bool Empty() const override { return FFrames.empty(); }
    int BitsPerPixel() const;
    int ColorResolution() const;
    int Version() const;

    void Draw(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& r) const override;
    // The first frame composed onto the logical screen.
    const QImage* Bitmap();
    void FreeBitmap();
    void StopPainting();
    void StopAllPainters();
    const std::vector<TGIFPainter*>& Painters() const { return FPainters; }

    void OptimizeFrames(TGIFOptimizeOptions options, TGIFReductionKind reduction, int bits, TGIFDitherKind dither);

    // Settings.
    TGIFPaintOptions PaintOptions = kDefaultPaintOptions;
    TGIFReductionKind ReductionKind = rkNetscape;
    int QuantizeBits = 8;
    TGIFDitherKind DitherKind = dkNearest;
    TGIFCompressionMethod CompressionMethod = cmLZW;
    int SpeedPercent = 100;
    cb::gfx::TColor PaintBackground = cb::gfx::clNone;
    // A caller's palette for rkCustomPalette.
    std::vector<TGIFColor> CustomPalette;
    TGIFWarningEvent OnBlockWarning;
    TGIFProgressEvent OnProgress;
    std::function<void(const void* sender)> OnChange;
    // Painter events, copied into each painter.
    std::function<void(TGIFPainter*)> OnPaintStart, OnFramePaint, OnFramePainted, OnLoopStart, OnPaintEnd;

    virtual void Warning(const void* sender, int severity, const std::string& message) const;
    void Progress(const void* sender, TProgressStage stage, int percent, bool redraw, const std::string& message) const;
    void Changed(const void* sender);
    bool DitheringInEffect() const;

    // Process-wide switches.
    static bool RenderWhileLoading;
    static bool OptimizeWhenStreamed;
    static bool PalettedDisplay;

private:
    friend class TGIFPainter;
    friend class TGIFGlobalColorMap;
    friend class TGIFSubImage;
    TGIFHeader FHeader;
    std::vector<std::unique_ptr<TGIFSubImage>> FFrames;
    std::vector<TGIFPainter*> FPainters;
    TGIFPainter* FDrawPainter = nullptr;
    std::unique_ptr<QImage> FBitmap;
    bool FDrawing = false;
};

}  // namespace cb::gif
