// The libjpeg functions the JPEG writer calls, opening libjpeg at the first
// call rather than at start (only a JPEG export needs it). The writer asks
// JpegLibraryPresent first; without libjpeg the calls do nothing.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "platform/os/OnDemandLibrary.h"

namespace {

template <class F>
F Jpeg(const char* name) {
    return cb::os::OnDemandFunction<F>("libjpeg.so.62", name);
}

}  // namespace

extern "C" {

struct jpeg_error_mgr* jpeg_std_error(struct jpeg_error_mgr* err) {
    static const auto fn = Jpeg<jpeg_error_mgr* (*)(jpeg_error_mgr*)>("jpeg_std_error");
    return fn ? fn(err) : err;
}

void jpeg_CreateCompress(j_compress_ptr cinfo, int version, size_t structsize) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr, int, size_t)>("jpeg_CreateCompress");
    if (fn) fn(cinfo, version, structsize);
}

void jpeg_destroy_compress(j_compress_ptr cinfo) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr)>("jpeg_destroy_compress");
    if (fn) fn(cinfo);
}

void jpeg_mem_dest(j_compress_ptr cinfo, unsigned char** outbuffer, unsigned long* outsize) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr, unsigned char**, unsigned long*)>("jpeg_mem_dest");
    if (fn) fn(cinfo, outbuffer, outsize);
}

void jpeg_set_defaults(j_compress_ptr cinfo) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr)>("jpeg_set_defaults");
    if (fn) fn(cinfo);
}

void jpeg_set_colorspace(j_compress_ptr cinfo, J_COLOR_SPACE colorspace) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr, J_COLOR_SPACE)>("jpeg_set_colorspace");
    if (fn) fn(cinfo, colorspace);
}

void jpeg_set_quality(j_compress_ptr cinfo, int quality, boolean force_baseline) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr, int, boolean)>("jpeg_set_quality");
    if (fn) fn(cinfo, quality, force_baseline);
}

void jpeg_simple_progression(j_compress_ptr cinfo) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr)>("jpeg_simple_progression");
    if (fn) fn(cinfo);
}

void jpeg_start_compress(j_compress_ptr cinfo, boolean write_all_tables) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr, boolean)>("jpeg_start_compress");
    if (fn) fn(cinfo, write_all_tables);
}

JDIMENSION jpeg_write_scanlines(j_compress_ptr cinfo, JSAMPARRAY scanlines, JDIMENSION num_lines) {
    static const auto fn = Jpeg<JDIMENSION (*)(j_compress_ptr, JSAMPARRAY, JDIMENSION)>("jpeg_write_scanlines");
    return fn ? fn(cinfo, scanlines, num_lines) : 0;
}

void jpeg_finish_compress(j_compress_ptr cinfo) {
    static const auto fn = Jpeg<void (*)(j_compress_ptr)>("jpeg_finish_compress");
    if (fn) fn(cinfo);
}

}  // extern "C"

namespace cb::chartexport {

bool JpegLibraryPresent() {
    return Jpeg<void*>("jpeg_std_error") != nullptr;
}

}  // namespace cb::chartexport
