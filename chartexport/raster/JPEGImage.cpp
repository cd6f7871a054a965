#include "chartexport/raster/JPEGImage.h"

#include "chartexport/core/PlotExportFormat.h"
#include "platform/rtl/Streams.h"

#include <QtGlobal>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace cb::chartexport {

// JpegOnDemand.cpp: whether libjpeg can be opened.
bool JpegLibraryPresent();

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

struct JpegJob {
    const unsigned char* pixels;  // RGB32 rows, top first
    int width, height, stride;
    int quality;
    bool gray, progressive, fast;
    unsigned char* out;  // malloc'd by libjpeg
    unsigned long outSize;
    char message[JMSG_LENGTH_MAX];
};

// Plain C-style frame: no object with a destructor lives across setjmp.
bool RunJpeg(JpegJob* job) {
    jpeg_compress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    err.mgr.emit_message = OnJpegMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        std::memcpy(job->message, err.message, sizeof err.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &job->out, &job->outSize);
    cinfo.image_width = JDIMENSION(job->width);
    cinfo.image_height = JDIMENSION(job->height);
    // RGB32 as it lies in memory; the library converts (also to grey).
    cinfo.input_components = 4;
    cinfo.in_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&cinfo);
    if (job->gray) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&cinfo, job->quality, TRUE);
    cinfo.dct_method = job->fast ? JDCT_IFAST : JDCT_ISLOW;
    if (job->progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<unsigned char*>(job->pixels + std::size_t(cinfo.next_scanline) * std::size_t(job->stride));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

TJPEGImage::TJPEGImage(const QImage& image, const TJPEGSettings& settings) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw EExportError("JPEG error: the picture is empty");
    if (!JpegLibraryPresent()) throw EExportError("JPEG error: libjpeg (libjpeg.so.62) is not installed");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    JpegJob job{};
    job.pixels = rgb.constBits();
    job.width = rgb.width();
    job.height = rgb.height();
    job.stride = int(rgb.bytesPerLine());
    job.quality = std::clamp(settings.Quality, 1, 100);
    job.gray = settings.GrayScale;
    job.progressive = settings.ProgressiveEncoding;
    job.fast = settings.Performance == jpBestSpeed;
    const bool ok = RunJpeg(&job);
    if (ok) FData.assign(reinterpret_cast<const char*>(job.out), job.outSize);
    std::free(job.out);
    if (!ok) throw EExportError(std::string("JPEG error: ") + job.message);
    FWidth = job.width;
    FHeight = job.height;
}

void TJPEGImage::SaveToStream(cb::rtl::TStream& stream) const {
    stream.WriteBuffer(FData);
}

void TJPEGImage::SaveToFile(const std::string& fileName) const {
    cb::rtl::TAtomicFileStream file(fileName);
    SaveToStream(file);
    file.Commit();
}

}  // namespace cb::chartexport
