#include "chartexport/raster/PNGExportFormat.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/raster/ChartRaster.h"
#include "platform/rtl/Streams.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <png.h>

namespace cb::chartexport {

namespace {

struct PngJob {
    const unsigned char* pixels;  // RGB rows, top first
    int width, height, stride, level;
    unsigned char* out;  // grown with realloc
    std::size_t size, capacity;
    char message[256];
};

void OnPngError(png_structp png, png_const_charp msg) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", msg ? msg : "unknown error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (job->size + length > job->capacity) {
        std::size_t cap = std::max<std::size_t>(job->capacity * 2, job->size + length + 65536);
        auto* grown = static_cast<unsigned char*>(std::realloc(job->out, cap));
        if (!grown) png_error(png, "out of memory");
        job->out = grown;
        job->capacity = cap;
    }
    std::memcpy(job->out + job->size, data, length);
    job->size += length;
}

void OnPngFlush(png_structp) {}

// Plain C-style frame: no object with a destructor lives across setjmp.
bool RunPng(PngJob* job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, OnPngError, OnPngWarning);
    if (!png) {
        std::snprintf(job->message, sizeof job->message, "cannot create the writer");
        return false;
    }
    png_infop info = nullptr;
    png_bytep* rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::free(rows);
        return false;
    }
    info = png_create_info_struct(png);
    if (!info) png_error(png, "cannot create the header");
    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * std::size_t(job->height)));
    if (!rows) png_error(png, "out of memory");
    for (int y = 0; y < job->height; ++y)
        rows[y] = const_cast<png_bytep>(job->pixels + std::size_t(y) * std::size_t(job->stride));
    png_set_write_fn(png, job, OnPngWrite, OnPngFlush);
    png_set_IHDR(png, info, png_uint_32(job->width), png_uint_32(job->height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, job->level);
    // Charts are mostly flat areas: the cheap filters compress them as well.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_UP);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_write_flush(png);
    png_destroy_write_struct(&png, &info);
    std::free(rows);
    return true;
}

}  // namespace

std::string EncodePNG(const QImage& image, int compressionLevel) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw EExportError("PNG error: the picture is empty");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    PngJob job{};
    job.pixels = rgb.constBits();
    job.width = rgb.width();
    job.height = rgb.height();
    job.stride = int(rgb.bytesPerLine());
    job.level = std::clamp(compressionLevel, 0, 9);
    const bool ok = RunPng(&job);
    std::string data;
    if (ok) data.assign(reinterpret_cast<const char*>(job.out), job.size);
    std::free(job.out);
    if (!ok) throw EExportError(std::string("PNG error: ") + job.message);
    return data;
}

void TPNGExportFormat::SaveToStream(cb::rtl::TStream& stream) {
    CheckPanel();
    CheckSize();
    stream.WriteBuffer(EncodePNG(DrawChartImage(*Panel, 0, 0, Width, Height), CompressionLevel));
}

void TPNGExportFormat::DoCopyToClipboard() {
    QGuiApplication::clipboard()->setImage(DrawChartImage(*Panel, 0, 0, Width, Height));
}

}  // namespace cb::chartexport
