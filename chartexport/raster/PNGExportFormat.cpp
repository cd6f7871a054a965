#include "chartexport/raster/PNGExportFormat.h"

#include "chartexport/raster/RasterOptions.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/raster/ChartRaster.h"
#include "chartexport/raster/PNGImageData.h"
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
    const QImage* image;  // RGB32
    int level, threads;
    std::string* imageData;  // the compressed rows, made once the header is accepted
    int width, height;
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

// Compresses the rows; false with the message on a failure.
bool CompressRows(PngJob* job) {
    try {
        *job->imageData = CompressPNGImageData(*job->image, job->level, job->threads);
        return true;
    } catch (const std::exception& e) {
        std::snprintf(job->message, sizeof job->message, "%s", e.what());
        return false;
    }
}

// Plain C-style frame: no object with a destructor lives across setjmp.
// The library writes the signature, the header and the chunks around the
// image data, which is compressed once the header is accepted.
bool RunPng(PngJob* job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, OnPngError, OnPngWarning);
    if (!png) {
        std::snprintf(job->message, sizeof job->message, "cannot create the writer");
        return false;
    }
    png_infop info = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    info = png_create_info_struct(png);
    if (!info) png_error(png, "cannot create the header");
    png_set_write_fn(png, job, OnPngWrite, OnPngFlush);
    png_set_IHDR(png, info, png_uint_32(job->width), png_uint_32(job->height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (!CompressRows(job)) png_error(png, job->message);
    static const png_byte kIDAT[5] = "IDAT", kIEND[5] = "IEND";
    constexpr std::size_t kChunk = 1u << 18;
    const auto* data = reinterpret_cast<const png_byte*>(job->imageData->data());
    const std::size_t size = job->imageData->size();
    for (std::size_t at = 0; at < size; at += kChunk)
        png_write_chunk(png, kIDAT, data + at, std::min(kChunk, size - at));
    png_write_chunk(png, kIEND, nullptr, 0);
    png_write_flush(png);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string EncodePNG(const QImage& image, int compressionLevel, int threads) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw EExportError("PNG error: the picture is empty");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::string imageData;
    PngJob job{};
    job.image = &rgb;
    job.level = std::clamp(compressionLevel, 0, 9);
    job.threads = threads;
    job.imageData = &imageData;
    job.width = rgb.width();
    job.height = rgb.height();
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

QWidget* TPNGExportFormat::Options(bool create) {
    if (!OptionsForm() && create) KeepOptions(std::make_unique<TPlotPNGOptions>(*this));
    return OptionsForm();
}

}  // namespace cb::chartexport
