#pragma once
// The GIF picture of the animated displays: frames keep their LZW code
// streams exactly as read (or as encoded) and are decoded into bitmaps on
// first use. Coded frame data and screen-level data are shared between
// images and frames assigned from one another and copied on write.
//
// Transparency is kept as the frame's transparent index: a decoded bitmap
// is an 8-bit image whose colour table gives that index alpha 0, so opaque
// pixels of the same colour stay visible.
#include "gif/GIFColorMap.h"
#include "gif/GIFTypes.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QImage;
class QMimeData;

namespace cb::gif {

class TKitGIFImage;

// A colour table as it stands in the file; Count 0 means none.
struct TRgbTable {
    int Count = 0;
    std::array<TGIFColor, 256> Entries{};
    cb::gfx::TColor ColorAt(int i) const {
        return cb::gfx::TColor(Entries[std::size_t(i)][0] | (Entries[std::size_t(i)][1] << 8) |
                               (Entries[std::size_t(i)][2] << 16));
    }
};

// Coded data of one frame.
struct TGIFItem {
    std::vector<std::uint8_t> CodeStream;  // minimum code size byte and sub-blocks, verbatim
    int Width = 0, Height = 0;
    std::uint8_t Packed = 0;
    int BitsPerPixel = 0;
    TRgbTable ColorTable;
};

// Screen-level data.
struct TGIFData {
    std::vector<std::string> Comment;
    std::uint8_t AspectRatio = 0;
    int BitsPerPixel = 0;
    int ColorResolution = 0;
    TRgbTable ColorTable;
};

// An extension block kept for a frame (graphic control and comment).
struct TExtension {
    std::uint8_t Kind = 0;  // 0 graphic control, 1 plain text, 2 application, 3 comment
    std::vector<std::string> SubBlocks;
    std::array<std::uint8_t, 13> Fixed{};
};

class TKitGIFFrame {
public:
    explicit TKitGIFFrame(TKitGIFImage* owner);
    ~TKitGIFFrame();

    // Decodes on first use; an empty image when the frame has no data.
    const QImage& FrameBitmap();
    bool HasBitmap() const { return bool(FBitmap); }
    void DrawFrame(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& r, bool transparent);
    int Width() const;
    int Height() const;
    std::vector<std::string>* FrameComment(bool create);

    void Assign(const TKitGIFFrame& source);
    void Assign(const QImage& source);
    void Assign(const cb::gfx::TBitmap& source);
    void AssignNothing();

    const TGIFItem& Item() const { return *FItem; }
    TGIFItem& MutableItem();  // copies shared data first
    const std::vector<TExtension>& Extensions() const { return FExtensions; }

    cb::gfx::TPoint Origin{0, 0};
    bool Interlaced = false;
    bool Damaged = false;
    bool Grey = false;
    cb::gfx::TColor ClearColor = cb::gfx::clNone;
    int TransparentIndex = -1;  // the index ClearColor came from, -1 without
    std::uint16_t DelayMs = 0;
    int DisposalCode = 0;
    bool OwnColorTable = false;

    void ResetData();
    void ReadFrame(const std::uint8_t* data, std::size_t size, std::size_t& pos, std::vector<TExtension>&& kept);
    void EncodeFromBitmap();
    void SyncExtensions();

private:
    friend class TKitGIFImage;
    TKitGIFImage* FOwner;
    std::unique_ptr<QImage> FBitmap;
    std::shared_ptr<TGIFItem> FItem;
    std::vector<TExtension> FExtensions;
};

class TKitGIFImage : public cb::gfx::TGraphic {
public:
    TKitGIFImage();
    ~TKitGIFImage() override;

    void ResetImage();
    int FrameCount() const { return int(FFrames.size()); }
    TKitGIFFrame& FrameAt(int index) const { return *FFrames[std::size_t(index)]; }
    int ActiveFrame() const { return FActiveFrame; }
    void SetActiveFrame(int index);
    int CanvasWidth() const { return FFrames.empty() ? 0 : FCanvasWidth; }
    int CanvasHeight() const { return FFrames.empty() ? 0 : FCanvasHeight; }
    cb::gfx::TColor BackdropColor() const { return FBackdropColor; }
    bool LoopEnabled() const { return FLoopEnabled; }
    int LoopCount() const { return FLoopCount; }
    bool Damaged() const { return FDamaged; }
    int Version() const { return FVersion; }
    const std::vector<std::string>& Comment() const { return FData->Comment; }
    std::vector<std::string>& MutableComment();
    const TGIFData& Data() const { return *FData; }
    void RecalcCanvasSize();
    // The active frame's bitmap (frame 0 when none is active); null without frames.
    const QImage* CurrentBitmap();

    // Appends a frame built from the picture and makes it active.
    int AppendFrame(const QImage& picture);
    int AppendFrame(const cb::gfx::TBitmap& picture);
    void EncodeAllFrames(bool redecode);

    void ReadGIF(const std::uint8_t* data, std::size_t count, bool decodeNow);
    // The file; with writeLength a 32-bit length first.
    void WriteGIF(cb::rtl::TStream& s, bool writeLength);

    // Form data: a 32-bit length and the GIF bytes.
    void ReadData(cb::rtl::TStream& s);
    void WriteData(cb::rtl::TStream& s);
    void LoadFromStream(cb::rtl::TStream& s);
    void SaveToStream(cb::rtl::TStream& s) { WriteGIF(s, false); }
    void LoadFromFile(const std::string& fileName) override;
    void SaveToFile(const std::string& fileName) const override;

    // Clipboard data: the private "GIF Image" type (length and bytes), the
    // plain GIF type and a bitmap; loading prefers them in that order.
    void SaveToMimeData(QMimeData& mime);
    void LoadFromMimeData(const QMimeData& mime);

    void Assign(const TKitGIFImage& source);
    void Assign(const TKitGIFFrame& source);
    void Assign(const QImage& source);
    void AssignNothing();

    int Width() const override;
    int Height() const override;
    // Always fail: "Cannot change the Size of a GIF image".
    void SetWidth(int);
    void SetHeight(int);
    bool Empty() const override;
    bool Transparent() const override;
    bool Equals(const TKitGIFImage& other) const { return FData == other.FData; }
    void Draw(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& r) const override;

    void ReportProgress(TProgressStage stage, int percent, const std::string& message);
    TGIFProgressEvent OnProgress;
    std::function<void()> OnChange;

    // Process-wide: load damaged data as far as it goes (on), or raise.
    static bool TolerateDamage;
    // Reduces a true-colour picture to an 8-bit one (grey when asked);
    // the default quantises with the octree.
    using TReducer = std::function<QImage(const QImage& rgb, bool grey)>;
    static void SetReducer(TReducer reducer);
    static const TReducer& Reducer();

private:
    friend class TKitGIFFrame;
    void Changed();
    TGIFData& MutableData();
    std::shared_ptr<TGIFData> FData;
    std::uint8_t FVersion = 0;
    std::vector<std::unique_ptr<TKitGIFFrame>> FFrames;
    int FActiveFrame = -1;
    int FCanvasWidth = 0, FCanvasHeight = 0;
    cb::gfx::TColor FBackdropColor = cb::gfx::clNone;
    bool FLoopEnabled = false, FDamaged = false;
    int FLoopCount = 1;
};

// MIME types of the clipboard formats.
extern const char* const kGIFImageMime;  // "GIF Image": 32-bit length, then the file
extern const char* const kGIFFileMime;   // the file as it is

}  // namespace cb::gif
