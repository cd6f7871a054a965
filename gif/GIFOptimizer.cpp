// Making a GIF smaller without changing what it shows: colour tables sorted
// and trimmed, needless transparency and disposal removed, pixels that
// repeat the previous frame made transparent, transparent borders cut off,
// and blocks without picture dropped.
#include "gif/GIFException.h"
#include "gif/GIFImage.h"

#include <algorithm>

namespace cb::gif {

namespace {

bool intersect(const cb::gfx::TRect& a, const cb::gfx::TRect& b, cb::gfx::TRect& out) {
    out = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    return out.Left < out.Right && out.Top < out.Bottom;
}

int disposalOf(const TGIFSubImage& f) {
    return f.GraphicControlExtension() ? f.GraphicControlExtension()->Disposal() : 0;
}

}  // namespace

void TGIFSubImage::Merge(TGIFSubImage& previous) {
    if (Empty() || previous.Empty()) return;
    const int pd = disposalOf(previous);
    if (pd == 2 || pd == 3) return;
    cb::gfx::TRect box;
    if (!intersect(BoundsRect(), previous.BoundsRect(), box)) return;
    int target = FTransparent && FGraphicControl ? FGraphicControl->TransparentColorIndex() : -1;
    const TGIFColorMap& map = ActiveColorMap();
    const TGIFColorMap& pmap = previous.ActiveColorMap();
    const bool canMake = target >= 0 || (map.Count() >= 1 && map.Count() <= 255);
    if (!canMake) return;
    const int prevTransparent = previous.Transparent() && previous.GraphicControlExtension()
                                    ? previous.GraphicControlExtension()->TransparentColorIndex()
                                    : -1;
    bool made = false;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x) {
            std::uint8_t& p = FPixels[std::size_t(y - FTop) * std::size_t(FWidth) + std::size_t(x - FLeft)];
            if (target >= 0 && p == target) continue;
            const std::uint8_t q = previous.FPixels[std::size_t(y - previous.FTop) * std::size_t(previous.FWidth) +
                                                    std::size_t(x - previous.FLeft)];
            if (q == prevTransparent) continue;
            const bool same =
                (&map == &pmap) ? p == q : (p < map.Count() && q < pmap.Count() && map.Entry(p) == pmap.Entry(q));
            if (!same) continue;
            if (target < 0) {
                // The index for transparent pixels.
                if (FColorMap.Count() == 0 && FImage) {
                    for (int i = 0; i < FImage->FrameCount() && target < 0; ++i) {
                        const TGIFSubImage& o = FImage->Frame(i);
                        if (&o != this && o.ColorMap().Count() == 0 && o.Transparent() && o.GraphicControlExtension())
                            target = o.GraphicControlExtension()->TransparentColorIndex();
                    }
                    if (target < 0) target = FImage->GlobalColorMap().AppendColor(0);
                } else {
                    target = FColorMap.AppendColor(0);
                }
                made = true;
            }
            p = std::uint8_t(target);
        }
    if (made || (target >= 0 && !FTransparent)) {
        TGIFGraphicControlExtension* g = FGraphicControl;
        if (!g)
            g = static_cast<TGIFGraphicControlExtension*>(
                AddExtension(std::make_unique<TGIFGraphicControlExtension>(this)));
        g->SetTransparentColorIndex(target);
        g->SetTransparent(true);
    }
    FreeBitmap();
    FMaskNeeded = true;
}

void TGIFSubImage::Crop() {
    if (!FTransparent || !FGraphicControl || Empty()) return;
    const std::uint8_t t = std::uint8_t(FGraphicControl->TransparentColorIndex());
    int left = FWidth, right = -1;
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            if (FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)] != t) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    if (right < 0) {
        Clear();
        return;
    }
    int top = FHeight, bottom = -1;
    for (int y = 0; y < FHeight; ++y)
        for (int x = left; x <= right; ++x)
            if (FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)] != t) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const int w = right - left + 1, h = bottom - top + 1;
    std::vector<std::uint8_t> cut(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        std::copy_n(FPixels.begin() + std::ptrdiff_t(std::size_t(y + top) * std::size_t(FWidth) + std::size_t(left)), w,
                    cut.begin() + std::ptrdiff_t(std::size_t(y) * std::size_t(w)));
    FPixels = std::move(cut);
    FLeft += left;
    FTop += top;
    FWidth = w;
    FHeight = h;
    FreeBitmap();
    FMaskNeeded = true;
}

void TGIFImage::OptimizeFrames(TGIFOptimizeOptions options, TGIFReductionKind reduction, int, TGIFDitherKind) {
    if (FFrames.empty()) return;
    StopAllPainters();
    const int total = 6 * FrameCount();
    int steps = 0;
    const auto step = [&]() {
        ++steps;
        Progress(this, TProgressStage::psRunning, std::min(100, steps * 100 / std::max(total, 1)), false,
                 "Optimizing...");
    };
    Progress(this, TProgressStage::psStarting, 0, false, "Optimizing...");
    try {
        if (options & ofSortColors) {
            if (GlobalColorMap().Count() > 0) GlobalColorMap().Optimize();
            for (auto& f : FFrames) {
                if (f->ColorMap().Count() > 0) f->ColorMap().Optimize();
                step();
            }
        }
        if (options & ofCleanUp) {
            for (auto& f : FFrames)
                if (f->Transparent() && f->GraphicControlExtension()) {
                    const auto t = std::uint8_t(f->GraphicControlExtension()->TransparentColorIndex());
                    if (std::find(f->Pixels().begin(), f->Pixels().end(), t) == f->Pixels().end())
                        f->GraphicControlExtension()->SetTransparent(false);
                }
            for (int i = 0; i + 1 < FrameCount(); ++i) {
                TGIFSubImage& f = *FFrames[std::size_t(i)];
                const TGIFSubImage& n = *FFrames[std::size_t(i) + 1];
                cb::gfx::TRect box;
                const int d = disposalOf(f);
                if ((d == 2 || d == 3) && !n.Transparent() && intersect(f.BoundsRect(), n.BoundsRect(), box) &&
                    box.Left == n.Left() && box.Top == n.Top() && box.Right == n.Left() + n.Width() &&
                    box.Bottom == n.Top() + n.Height())
                    f.GraphicControlExtension()->SetDisposal(0);
                step();
            }
        }
        if (options & ofMergeFrames) {
            for (int i = FrameCount() - 1; i >= 1; --i) {
                int p = i - 1;
                while (p > 0 && disposalOf(*FFrames[std::size_t(p)]) == 3) --p;
                FFrames[std::size_t(i)]->Merge(*FFrames[std::size_t(p)]);
                step();
            }
        }
        if (options & ofCropFrames) {
            for (int i = FrameCount() - 1; i >= 0; --i) {
                TGIFSubImage& f = *FFrames[std::size_t(i)];
                if (f.Empty() || !f.Transparent()) continue;
                const int delay = f.GraphicControlExtension() ? f.GraphicControlExtension()->Delay() : 0;
                f.Crop();
                if (f.Empty()) {
                    if (i > 0 && FFrames[std::size_t(i) - 1]->Transparent()) {
                        auto* g = FFrames[std::size_t(i) - 1]->GraphicControlExtension();
                        g->SetDelay(g->Delay() + delay);
                    }
                    FFrames.erase(FFrames.begin() + i);
                }
                step();
            }
        }
        if (options & ofCleanUp) {
            for (int i = FrameCount() - 1; i >= 0; --i) {
                TGIFSubImage& f = *FFrames[std::size_t(i)];
                auto& ext = f.Extensions();
                for (int k = int(ext.size()) - 1; k >= 0; --k) {
                    TGIFExtension* e = ext[std::size_t(k)].get();
                    const bool loop = dynamic_cast<TGIFAppExtNSLoop*>(e) != nullptr;
                    if (dynamic_cast<TGIFCommentExtension*>(e) || dynamic_cast<TGIFTextExtension*>(e) ||
                        dynamic_cast<TGIFUnknownAppExtension*>(e) || (loop && !(i == 0 && FrameCount() > 1)))
                        ext.erase(ext.begin() + k);
                }
                if (auto* g = f.GraphicControlExtension()) {
                    const bool one = FrameCount() == 1;
                    if ((g->Delay() == 0 || one) && !g->Transparent() && !g->UserInput() && (g->Disposal() < 2 || one))
                        f.DeleteExtension(g);
                }
                if (f.Empty() && f.Extensions().empty()) FFrames.erase(FFrames.begin() + i);
                step();
            }
        } else if ((options & ofReduceColors) && reduction == rkCustomPalette) {
            throw GIFException("Invalid reduction method");
        }
    } catch (...) {
        FreeBitmap();
        Progress(this, TProgressStage::psEnding, 0, false, "Optimizing...");
        throw;
    }
    FreeBitmap();
    Progress(this, TProgressStage::psEnding, 100, false, "Optimizing...");
    Changed(this);
}

}  // namespace cb::gif
