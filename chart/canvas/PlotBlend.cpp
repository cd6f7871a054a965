#include "chart/canvas/PlotBlend.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/Exception.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <vector>

namespace cb::chart {

namespace {

int BytesPerPixel(const cb::gfx::TBitmap& b) {
    return b.PixelFormat() == cb::gfx::pf24bit ? 3 : 4;
}

cb::gfx::TBitmap* BufferOf(TPlotCanvas& canvas) {
    auto* screen = dynamic_cast<TPlotCanvas3D*>(&canvas);
    return screen ? screen->Buffer() : nullptr;
}

// Copies the rectangle of a raster image into a new 24-bit bitmap.
void CopyRegion(const QImage& src, const TRect& r, cb::gfx::TBitmap& dst) {
    dst.SetPixelFormat(cb::gfx::pf24bit);
    dst.SetSize(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y) {
        std::uint8_t* row = dst.ScanLine(y);
        for (int x = 0; x < r.Width(); ++x) {
            const int sx = r.Left + x, sy = r.Top + y;
            QRgb c = qRgb(255, 255, 255);
            if (sx >= 0 && sy >= 0 && sx < src.width() && sy < src.height()) c = src.pixel(sx, sy);
            row[x * 3] = std::uint8_t(qBlue(c));
            row[x * 3 + 1] = std::uint8_t(qGreen(c));
            row[x * 3 + 2] = std::uint8_t(qRed(c));
        }
    }
}

}  // namespace

TPlotBlend::TPlotBlend(TPlotCanvas& canvas, const TRect& r) : FCanvas(canvas) {
    SetRectangle(r);
}

TPlotBlend::~TPlotBlend() = default;

void TPlotBlend::SetRectangle(const TRect& rect) {
    TRect r = NormalizeRect(rect);
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::max(r.Right, 0);
    r.Bottom = std::max(r.Bottom, 0);
    if (r.Width() <= 0) r.Right = r.Left + 1;
    if (r.Height() <= 0) r.Bottom = r.Top + 1;
    cb::gfx::TBitmap* buffer = BufferOf(FCanvas);
    const QImage* source = nullptr;
    if (buffer) {
        r.Right = std::min(r.Right, buffer->Width());
        r.Bottom = std::min(r.Bottom, buffer->Height());
    } else {
        const TRect& b = FCanvas.Bounds();
        if (b.Right > b.Left) r.Right = std::min(r.Right, b.Right);
        if (b.Bottom > b.Top) r.Bottom = std::min(r.Bottom, b.Bottom);
    }
    FRect = r;
    FValid = r.Width() > 0 && r.Height() > 0;
    if (!FValid) return;
    if (buffer) {
        source = &buffer->Image();
    } else if (FCanvas.ReferenceCanvas()) {
        FCanvas.ReferenceCanvas()->Painter();  // make sure the raster image is there
        source = FCanvas.ReferenceCanvas()->RasterImage();
    }
    if (!source) {
        FValid = false;
        return;
    }
    FCopy = std::make_unique<cb::gfx::TBitmap>();
    CopyRegion(*source, r, *FCopy);
}

void TPlotBlend::DoBlend(int transparency) {
    if (FCanvas.Metafiling() || !FValid || !FCopy) return;
    cb::gfx::TBitmap* buffer = BufferOf(FCanvas);
    const unsigned align = FCanvas.GetTextAlignment();
    if (buffer) {
        BlendBitmaps(*FCopy, *buffer, FRect.Left, FRect.Top, 100 - transparency);
    } else {
        cb::gfx::TCanvas* c = FCanvas.ReferenceCanvas();
        if (!c) return;
        c->Painter();
        const QImage* image = c->RasterImage();
        if (!image) return;
        cb::gfx::TBitmap temp;
        CopyRegion(*image, FRect, temp);
        BlendBitmaps(*FCopy, temp, 0, 0, 100 - transparency);
        FCanvas.DrawGraphic(FRect.Left, FRect.Top, &temp);
    }
    if (FCanvas.GetTextAlignment() != align) FCanvas.SetTextAlignment(align);
}

void BlendBitmaps(cb::gfx::TBitmap& copy, cb::gfx::TBitmap& target, int x, int y, double amount) {
    x = std::max(x, 0);
    y = std::max(y, 0);
    const int w = std::min(copy.Width(), target.Width() - x);
    const int h = std::min(copy.Height(), target.Height() - y);
    if (w <= 0 || h <= 0) return;
    const int t = 100 - Round(amount);
    const int cb = BytesPerPixel(copy);
    const int tb = BytesPerPixel(target);
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* src = copy.ScanLine(row);
        std::uint8_t* dst = target.ScanLine(y + row) + x * tb;
        for (int col = 0; col < w; ++col) {
            std::uint8_t* d = dst + col * tb;
            const std::uint8_t* s = src + col * cb;
            if (d[0] == 255 && d[1] == 255 && d[2] == 255) d[2] = 254;
            for (int k = 0; k < 3; ++k) d[k] = std::uint8_t(d[k] + t * (int(s[k]) - int(d[k])) / 100);
        }
    }
}

namespace {

struct Contributor {
    int pixel;
    int weight;
};

float Triangle(float x) {
    x = std::fabs(x);
    return x < 1 ? 1 - x : 0;
}

float Sinc(float t) {
    return t == 0 ? 1.0f : std::sin(t) / t;
}

float Lanczos3(float x) {
    if (x == 0) return 1;
    if (std::fabs(x) < 3) {
        const float px = float(M_PI) * x;
        return Sinc(px) * Sinc(px / 3);
    }
    return 0;
}

std::vector<std::vector<Contributor>> Contributors(int dstSize, int srcSize, double scale, bool fast) {
    const double support = fast ? 1.0 : 3.0;
    auto filter = [fast](double v) { return fast ? Triangle(float(v)) : Lanczos3(float(v)); };
    std::vector<std::vector<Contributor>> list(dstSize);
    auto mirror = [srcSize](int j) {
        if (j < 0) j = -j;
        if (j >= srcSize) j = 2 * srcSize - j - 1;
        return std::clamp(j, 0, srcSize - 1);  // a source smaller than the support
    };
    for (int i = 0; i < dstSize; ++i) {
        const double m = i / scale;
        if (scale >= 1) {
            for (int j = int(std::floor(m - support)); j <= int(std::ceil(m + support)); ++j) {
                const int w = Round(filter(m - j) * 1000);
                if (w != 0) list[i].push_back({mirror(j), w});
            }
        } else {
            const double s = support / scale;
            for (int j = int(std::floor(m - s)); j <= int(std::ceil(m + s)); ++j) {
                const int w = Round(filter((m - j) * scale) * 1000 * scale);
                if (w != 0) list[i].push_back({mirror(j), w});
            }
        }
    }
    return list;
}

std::uint8_t ClampSum(long sum) {
    if (sum >= 255001) return 255;
    if (sum < 0) return 0;
    return std::uint8_t(sum / 1000);
}

}  // namespace

void SmoothStretch(cb::gfx::TBitmap& source, cb::gfx::TBitmap& destination, bool fast) {
    const int sw = source.Width(), sh = source.Height();
    const int dw = destination.Width(), dh = destination.Height();
    if (sw <= 0 || sh <= 0) throw cb::rtl::Exception("SmoothStretch: Source bitmap too small");
    if (dw <= 0 || dh <= 0) throw cb::rtl::Exception("SmoothStretch: Destination bitmap too small");
    source.SetPixelFormat(cb::gfx::pf24bit);
    destination.SetPixelFormat(cb::gfx::pf24bit);
    const double sx = sw == 1 ? dw : double(dw - 1) / (sw - 1);
    const double sy = sh == 1 ? dh : double(dh - 1) / (sh - 1);
    const auto cols = Contributors(dw, sw, sx, fast);
    const auto rows = Contributors(dh, sh, sy, fast);
    std::vector<std::uint8_t> work(std::size_t(dw) * sh * 3);
    for (int y = 0; y < sh; ++y) {
        const std::uint8_t* src = source.ScanLine(y);
        for (int x = 0; x < dw; ++x) {
            long sum[3] = {0, 0, 0};
            for (const Contributor& c : cols[x])
                for (int k = 0; k < 3; ++k) sum[k] += long(c.weight) * src[c.pixel * 3 + k];
            for (int k = 0; k < 3; ++k) work[(std::size_t(y) * dw + x) * 3 + k] = ClampSum(sum[k]);
        }
    }
    for (int y = 0; y < dh; ++y) {
        std::uint8_t* dst = destination.ScanLine(y);
        for (int x = 0; x < dw; ++x) {
            long sum[3] = {0, 0, 0};
            for (const Contributor& c : rows[y])
                for (int k = 0; k < 3; ++k) sum[k] += long(c.weight) * work[(std::size_t(c.pixel) * dw + x) * 3 + k];
            for (int k = 0; k < 3; ++k) dst[x * 3 + k] = ClampSum(sum[k]);
        }
    }
}

}  // namespace cb::chart
