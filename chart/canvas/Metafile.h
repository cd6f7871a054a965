#pragma once
// A recorded picture: the drawing calls made on its canvas are kept and
// replayed, scaled, wherever the picture is drawn. "Enhanced" only tells
// the file format an exporter should write; the recording is the same.
#include "chart/core/PlotTypes.h"
#include "platform/gfx/Bitmap.h"

#include <memory>
#include <string>

class QPicture;

namespace cb::chart {

class TMetafile : public cb::gfx::TGraphic {
public:
    TMetafile();
    // An empty picture of the given size (each side at least 1).
    TMetafile(int width, int height, bool enhanced = true);
    ~TMetafile() override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetSize(int width, int height);
    bool Enhanced() const { return FEnhanced; }
    void SetEnhanced(bool on) { FEnhanced = on; }

    // Replays the recording scaled from (0, 0, Width, Height) into r.
    void Draw(cb::gfx::TCanvas& canvas, const TRect& r) const override;
    // The recording in Qt's picture format; failures throw EInOutError.
    void LoadFromFile(const std::string& fileName) override;
    void SaveToFile(const std::string& fileName) const override;

    QPicture& Picture() { return *FPicture; }
    const QPicture& Picture() const { return *FPicture; }
    // Number of bytes of the recording (0 when nothing was drawn).
    int RecordSize() const;

private:
    std::unique_ptr<QPicture> FPicture;
    int FWidth = 0;
    int FHeight = 0;
    bool FEnhanced = true;
};

// Records drawing into a metafile: drawing goes to Canvas() until the
// recorder is destroyed, which completes the metafile.
class TMetafileCanvas {
public:
    explicit TMetafileCanvas(TMetafile& metafile);
    ~TMetafileCanvas();
    TMetafileCanvas(const TMetafileCanvas&) = delete;
    TMetafileCanvas& operator=(const TMetafileCanvas&) = delete;
    cb::gfx::TCanvas& Canvas() { return *FCanvas; }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    std::unique_ptr<cb::gfx::TCanvas> FCanvas;
};

}  // namespace cb::chart
